#pragma once

#include <QDialog>

class QFrame;
class QGridLayout;
class QLabel;

namespace chrome {
class BorderlessFrame;
class TitleBar;
} // namespace chrome

namespace view {
class TextMemo;
} // namespace view

// The solution window: one attendance's problem beside its solution, with
// the analyst and the date above. Lives for one click, shown modally.
class TForm1 : public QDialog {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    chrome::TitleBar* pnlTopo;
    QFrame* pnlCenter;
    QWidget* Panel3;
    QWidget* GridPanel1;
    QLabel* Label4;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* Label1;
    view::TextMemo* Memo2;
    view::TextMemo* Memo1;

    // Makes `owner` the popup parent, centres the window over it (raised to
    // the top-left of the work area only) and runs the modal display.
    int showModalOver(QWidget* owner);

    // Where the window goes over an owner of that geometry on that work area.
    static QPoint centredPosition(const QRect& owner, const QSize& window, const QRect& workArea);

private:
    chrome::BorderlessFrame* frame_ = nullptr;
};

// The solution window while one exists; null otherwise.
extern TForm1* Form1;
