#pragma once

#include "borderless_window.h"
#include "handles.h"
#include "panel.h"
#include "picture_box.h"
#include "result_grid.h"

#include "ui/result_rows.h"

#include <string>

class TServiceConnection;

// The search window, the program's main window: the search box, the
// magnifier and the grid of matching attendances.
class TForm2 : public win32::BorderlessWindow {
public:
    // Builds the window over the service's query, runs FormCreate and shows
    // it, centred on the primary screen, with the focus in the search box.
    explicit TForm2(TServiceConnection& service);
    ~TForm2() override;

    win32::Panel Panel2;
    win32::Panel GridPanel1;
    win32::Panel Panel3;
    win32::Control Memo1;
    win32::Panel Panel4;
    win32::PictureBox search;
    win32::PictureBox bk_search;
    win32::Panel Panel5;
    win32::ResultGrid DBGrid1;
    ui::ResultRows DataSource1;

    void FormCreate();
    void FormResize();
    void searchMouseEnter();
    void bk_searchMouseLeave();
    void searchClick();
    void DBGrid1CellClick(int column);

    // The search box's text as typed, lines joined by CR LF.
    std::u16string searchText() const;

    HWND dragTarget() const override;

protected:
    void layoutContent(ui::Size client) override;
    void resized() override;
    void fontsChanged() override;
    void closeRequested() override;
    HWND firstFocus() const override { return Memo1.hwnd(); }

private:
    void showSolution();

    win32::Icon bigIcon_;
    win32::Icon smallIcon_;
};

// The program's search window, from start-up to the end.
extern TForm2* Form2;

// Rounds the corners of a window: a rounded-rectangle region over its client
// rectangle, each corner an ellipse Y x Y device pixels, made its window region.
void Arredondarcantos(HWND componente, int Y);
