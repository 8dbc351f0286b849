#pragma once

#include <QWidget>

class QFrame;
class TServiceConnection;
class TForm1;

namespace chrome {
class BorderlessFrame;
class PictureBox;
class TitleBar;
} // namespace chrome

namespace view {
class ResultGrid;
class ResultModel;
class TextMemo;
} // namespace view

// The search window, the program's main window: the search box, the
// magnifier, and the grid of matching attendances.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    // Builds the window over the service's query, runs FormCreate and shows
    // the window, centred on the primary screen.
    explicit TForm2(TServiceConnection& service, QWidget* parent = nullptr);
    ~TForm2() override;

    chrome::TitleBar* pnlTopo;
    QFrame* pnlCenter;
    QWidget* Panel2;
    QWidget* GridPanel1;
    QWidget* Panel3;
    view::TextMemo* Memo1;
    QWidget* Panel4;
    chrome::PictureBox* search;
    chrome::PictureBox* bk_search;
    QWidget* Panel5;
    view::ResultGrid* DBGrid1;
    view::ResultModel* DataSource1;

    // Left edge and top of the first position on a screen of that geometry.
    static QPoint firstPosition(const QRect& screen, const QRect& desktop, const QSize& window);

public slots:
    void FormCreate();
    void FormResize();
    void searchMouseEnter();
    void bk_searchMouseLeave();
    void searchClick();
    void DBGrid1CellClick(int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void showSolution();

    TServiceConnection& service_;
    chrome::BorderlessFrame* frame_ = nullptr;
};

extern TForm2* Form2;
