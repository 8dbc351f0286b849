#include "window_fixture.h"

#include "app/show_state.h"
#include "app/wait_cursor.h"
#include "artwork.h"
#include "fonts.h"
#include "service/service_connection.h"
#include "picturebox.h"
#include "titlebar.h"
#include "view/search_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

using testing_support::scriptRows;
using testing_support::Windows;

namespace {

bool waitCursorShown()
{
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor && cursor->shape() == Qt::BitmapCursor && cursor->hotSpot() == QPoint(0, 0);
}

} // namespace

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fake::reset(); }

    void theWaitCursorShowsAtOnceAndLeavesAtTheFirstTickAfterTheEnd()
    {
        app::WaitCursor wait;
        QVERIFY(!waitCursorShown());
        wait.databaseWorkStarted();
        QVERIFY(waitCursorShown());
        QCOMPARE(QGuiApplication::overrideCursor()->pixmap().size(), QSize(32, 32));
        wait.databaseWorkEnded();
        QVERIFY(waitCursorShown()); // not before a tick
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY(!waitCursorShown());
        QVERIFY(clock.elapsed() >= app::WaitCursor::PeriodMs);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void aQuickSeriesShowsOneWaitCursor()
    {
        app::WaitCursor wait;
        int restores = 0;
        for (int i = 0; i < 5; ++i) {
            wait.databaseWorkStarted();
            wait.databaseWorkEnded();
            QTest::qWait(10);
            if (!waitCursorShown())
                ++restores;
        }
        QCOMPARE(restores, 0);
        QTRY_VERIFY(!waitCursorShown());
    }

    void aSearchShowsTheWaitCursor()
    {
        Windows w;
        scriptRows(3);
        bool shownDuringAttach = false;
        // Look at the cursor from inside the attach.
        struct Spy : quelvo::BusyIndicator {
            quelvo::BusyIndicator* inner;
            bool* seen;
            void databaseWorkStarted() override
            {
                inner->databaseWorkStarted();
                *seen = *seen || waitCursorShown();
            }
            void databaseWorkEnded() override { inner->databaseWorkEnded(); }
        } spy;
        spy.inner = ServiceConnection->FDConnection1.busyIndicator();
        spy.seen = &shownDuringAttach;
        ServiceConnection->FDConnection1.setBusyIndicator(&spy);
        w.clickMagnifier();
        QVERIFY(shownDuringAttach);
        QTRY_VERIFY(!waitCursorShown());
        ServiceConnection->FDConnection1.setBusyIndicator(spy.inner);
    }

    void theCloseButtonEndsTheProgramAndTheServiceDetaches()
    {
        auto w = std::make_unique<Windows>();
        scriptRows(70); // the cursor stays open: the end must commit it
        w->clickMagnifier();
        QTimer::singleShot(0, [&] { QTest::mouseClick(w->form().pnlTopo->close, Qt::LeftButton); });
        QCOMPARE(QApplication::exec(), 0);
        w.reset();
        QCOMPARE(fake::count("isc_commit_transaction"), 1);
        QCOMPARE(fake::record().detaches, 1);
        QCOMPARE(fake::record().openTransactions, 0);
        QCOMPARE(ServiceConnection, nullptr);
        QCOMPARE(Form2, nullptr);
    }

    void aCloseFromOutsideEndsTheProgramToo()
    {
        Windows w;
        QTimer::singleShot(0, [&] { w.form().close(); });
        QCOMPARE(QApplication::exec(), 0);
    }

    void theWindowCarriesTheApplicationIcon()
    {
        Windows w;
        QVERIFY(!w.form().windowIcon().isNull());
        QCOMPARE(w.form().windowIcon().availableSizes().value(0), QSize(177, 177));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    chrome::ensureTahoma();
    ApplicationTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_application.moc"
