#include "window_fixture.h"

#include "picturebox.h"
#include "titlebar.h"
#include "view/result_grid.h"
#include "view/result_model.h"
#include "view/search_window.h"
#include "view/solution_window.h"
#include "view/text_memo.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QTest>

namespace testing_support {

Windows::Windows(std::vector<std::string> libraryNames, const std::string& folder)
{
    if (folder.empty())
        folder_ = std::make_unique<ProgramFolder>("quelvo-windows");
    else
        explicitFolder_ = folder;
    // The pointer starts away from every window, so no picture starts hovered.
    QCursor::setPos(-500, -500);
    app::installErrorBox(u"/opt/quelvo/Quelvo");
    app::setErrorBoxSink([this](const app::ErrorBox& box) { errors.append(box); });
    program_ = std::make_unique<app::Program>(app::Program::Options{this->folder(), std::move(libraryNames)});

    // A solution window runs its own modal loop: look at it from inside that
    // loop, then close it as the user would.
    closer_.setInterval(5);
    QObject::connect(&closer_, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* window = qobject_cast<TForm1*>(modal);
        if (!window || !window->isVisible())
            return;
        ShownSolution s;
        s.date = window->Label3->text();
        s.analyst = window->Label4->text();
        s.solution = window->Memo1->toPlainText();
        s.problem = window->Memo2->toPlainText();
        s.modal = window->isModal();
        s.form1Set = Form1 == window;
        s.focus = window->focusWidget() ? window->focusWidget()->objectName() : QString();
        s.position = window->pos();
        s.size = window->size();
        shown.append(s);
        QMetaObject::invokeMethod(window->pnlTopo, "closeClick");
    });
    closer_.start();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
}

Windows::~Windows()
{
    closer_.stop();
    program_->end();
    app::setErrorBoxSink([](const app::ErrorBox&) {});
}

void Windows::type(const QString& text)
{
    // QTest's key clicks know ASCII only; other letters arrive as text.
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(form().Memo1, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, form().Memo1, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void Windows::clickMagnifier()
{
    QTest::mouseClick(form().search, Qt::LeftButton);
}

void Windows::clickCell(int row, int column)
{
    view::ResultGrid* grid = form().DBGrid1;
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    QRect rect = grid->visualRect(index).intersected(grid->viewport()->rect());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace testing_support
