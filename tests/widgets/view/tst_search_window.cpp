#include "window_fixture.h"

#include "fonts.h"
#include "picturebox.h"
#include "titlebar.h"
#include "view/solution_window.h"
#include "service/service_connection.h"
#include "view/result_grid.h"
#include "view/result_model.h"
#include "view/search_window.h"
#include "view/text_memo.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using testing_support::scriptRows;
using testing_support::Windows;

class SearchWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fake::reset(); }

    void startUpCreatesTheServiceFirstAndTouchesNoServer()
    {
        Windows w;
        QVERIFY(ServiceConnection != nullptr);
        QCOMPARE(Form2, &w.form());
        QCOMPARE(&w.form().DataSource1->query(), &ServiceConnection->FDQuery1);
        QVERIFY(w.form().isVisible());
        QVERIFY(fake::record().calls.empty());
        QCOMPARE(w.form().size(), QSize(751, 481));
        QCOMPARE(w.form().minimumSize(), QSize(751, 481));
    }

    void layoutFollowsTheWindowDescription()
    {
        Windows w;
        TForm2& f = w.form();
        QCOMPARE(f.pnlTopo->geometry(), QRect(0, 0, 751, 24));
        QCOMPARE(f.pnlCenter->geometry(), QRect(0, 24, 751, 457));
        QCOMPARE(f.Panel2->geometry(), QRect(15, 15, 721, 34));
        QCOMPARE(f.Panel3->geometry(), QRect(0, 0, 665, 34));
        QCOMPARE(f.Memo1->geometry(), QRect(0, 0, 665, 34));
        QCOMPARE(f.Panel4->geometry(), QRect(665, 0, 56, 34));
        QCOMPARE(f.search->geometry(), QRect(0, 0, 56, 34));
        f.searchMouseEnter();
        QTRY_COMPARE(f.bk_search->geometry(), QRect(0, 0, 56, 34));
        f.bk_searchMouseLeave();
        QCOMPARE(f.Panel5->geometry(), QRect(15, 79, 721, 363));
        QCOMPARE(f.DBGrid1->geometry(), QRect(0, 0, 721, 363));
        QCOMPARE(f.Memo1->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(f.Memo1->font().pixelSize(), 11);

        // Wider window: the box and grid stretch, the button cell keeps its size.
        f.resize(1000, 600);
        QTest::qWait(20);
        QCOMPARE(f.Panel3->geometry(), QRect(0, 0, 1000 - 30 - 56, 34));
        QCOMPARE(f.Panel4->geometry(), QRect(1000 - 30 - 56, 0, 56, 34));
        QCOMPARE(f.DBGrid1->height(), 600 - 24 - 15 - 34 - 30 - 15);
    }

    void theSearchBoxIsRoundedAndFollowsItsWidth()
    {
        Windows w;
        TForm2& f = w.form();
        auto corners = [&] {
            const QRegion region = f.Panel3->mask();
            const QRect r = f.Panel3->rect();
            return std::make_tuple(region.contains(r.topLeft()), region.contains(r.bottomRight()),
                                   region.contains(QPoint(r.width() / 2, 0)), region.contains(r.center()),
                                   region.boundingRect().width());
        };
        QCOMPARE(corners(), std::make_tuple(false, false, true, true, 665));
        f.showMaximized();
        QTRY_VERIFY(f.Panel3->width() > 665);
        QTRY_COMPARE(std::get<4>(corners()), f.Panel3->width());
        QCOMPARE(std::get<0>(corners()), false);
        f.showNormal();
        QTRY_COMPARE(std::get<4>(corners()), 665);
    }

    void theFocusStartsInTheSearchBox()
    {
        Windows w;
        QVERIFY(QTest::qWaitForWindowActive(&w.form()));
        QCOMPARE(QApplication::focusWidget(), w.form().Memo1);
    }

    void enterAndTabTypeIntoTheBoxAndNeverSearch()
    {
        Windows w;
        w.type(QStringLiteral("erro"));
        QTest::keyClick(w.form().Memo1, Qt::Key_Tab);
        w.type(QStringLiteral("ao"));
        QTest::keyClick(w.form().Memo1, Qt::Key_Return);
        w.type(QStringLiteral("salvar"));
        QCOMPARE(w.form().Memo1->toPlainText(), QStringLiteral("erro\tao\nsalvar"));
        QCOMPARE(QApplication::focusWidget(), w.form().Memo1);
        QVERIFY(fake::record().calls.empty());
    }

    void eitherPictureSearchesWithTheBuiltPatternAndLeavesTheText()
    {
        Windows w;
        scriptRows(3);
        w.type(QStringLiteral("  ação  não"));
        QTest::keyClick(w.form().Memo1, Qt::Key_Return);
        w.type(QStringLiteral("50% off"));
        const QString typed = w.form().Memo1->toPlainText();
        w.clickMagnifier();
        QCOMPARE(fake::record().executions.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(fake::record().executions[0].bytes), QStringLiteral("%AÇÃO%NÃO%50%OFF%"));
        QCOMPARE(w.form().Memo1->toPlainText(), typed);
        QCOMPARE(w.form().DataSource1->rowCount(), 3);

        // The highlighted picture covers the plain one and searches too.
        QTest::mouseMove(w.form().search);
        QTRY_VERIFY(w.form().bk_search->isVisible());
        QTest::mouseClick(w.form().bk_search, Qt::LeftButton);
        QCOMPARE(fake::record().executions.size(), std::size_t(2));
    }

    void theHoverPairSwapsOnEnterAndLeave()
    {
        Windows w;
        QVERIFY(!w.form().bk_search->isVisible());
        QMetaObject::invokeMethod(w.form().search, "entered");
        QVERIFY(w.form().bk_search->isVisible());
        QMetaObject::invokeMethod(w.form().bk_search, "left");
        QVERIFY(!w.form().bk_search->isVisible());
    }

    void theGridShowsOneEmptyRowBeforeASearchAndWhenNothingMatched()
    {
        Windows w;
        view::ResultModel* model = w.form().DataSource1;
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->data(model->index(0, 0)), QVariant());
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Problema"));
        QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("solucao"));
        scriptRows(0);
        w.clickMagnifier();
        QCOMPARE(model->rowCount(), 1);
        QVERIFY(!model->hasRows());
        QVERIFY(w.errors.isEmpty());
    }

    void columnsHaveTheirWidthsAndMoveWithoutSorting()
    {
        Windows w;
        view::ResultGrid* grid = w.form().DBGrid1;
        const QFontMetrics metrics(grid->font());
        QCOMPARE(grid->columnWidth(0), 5000 * metrics.horizontalAdvance(QLatin1Char('0')) + 4);
        QCOMPARE(grid->columnWidth(1), 64);
        QVERIFY(grid->horizontalHeader()->sectionsMovable());
        QVERIFY(!grid->isSortingEnabled());
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(grid->showGrid());
        QVERIFY(grid->verticalHeader()->isVisible());
    }

    void rowsComeInBatchesAsTheViewScrolls()
    {
        Windows w;
        scriptRows(120);
        w.clickMagnifier();
        view::ResultGrid* grid = w.form().DBGrid1;
        QCOMPARE(grid->model()->rowCount(), 50);
        QCOMPARE(fake::record().fetches, 50);
        grid->scrollToBottom();
        QTRY_COMPARE(grid->model()->rowCount(), 100);
        grid->scrollToBottom();
        QTRY_COMPARE(grid->model()->rowCount(), 120);
        QCOMPARE(fake::record().fetches, 121);
    }

    void aFailedSearchShowsTheErrorBoxAndTheNextSearchWorks()
    {
        Windows w;
        fake::script().failures["isc_attach_database"] = {fake::status({335544721, 335544722}, "db01")};
        scriptRows(2);
        w.clickMagnifier();
        QCOMPARE(w.errors.size(), 1);
        QCOMPARE(w.errors[0].caption, QStringLiteral("Quelvo"));
        QCOMPARE(w.errors[0].text, QStringLiteral("[FireDAC][Phys][FB]Unable to complete network request to host "
                                                  "\"db01\".\r\nFailed to establish a connection."));
        QCOMPARE(w.form().DataSource1->rowCount(), 1);

        fake::script().failures["isc_dsql_prepare"] = {fake::status({335544580})};
        w.clickMagnifier();
        QCOMPARE(w.errors.size(), 2);
        QCOMPARE(w.errors[1].text, QStringLiteral("[FireDAC][Phys][FB]Table unknown.")); // the "." rule

        w.clickMagnifier();
        QCOMPARE(w.errors.size(), 2);
        QCOMPARE(w.form().DataSource1->rowCount(), 2);
    }
};

// The cell-click rule, one case per row.
class CellClickRuleTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fake::reset(); }

    void clicks_data()
    {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("handlerRuns");
        QTest::addColumn<int>("currentRowAfter");
        QTest::newRow("left on a data cell, first column") << "cell0" << 1 << 2;
        QTest::newRow("left on a data cell, second column") << "cell1" << 1 << 2;
        QTest::newRow("left on the title row") << "title" << 0 << 0;
        QTest::newRow("left on the indicator column") << "indicator" << 0 << 0;
        QTest::newRow("left below the last row") << "below" << 0 << 0;
        QTest::newRow("right on a row makes it current only") << "right" << 0 << 2;
        QTest::newRow("middle on a row makes it current only") << "middle" << 0 << 2;
        QTest::newRow("release after a column-border drag") << "borderDrag" << 0 << 0;
        QTest::newRow("keys never open") << "keys" << 0 << 1;
    }

    void clicks()
    {
        QFETCH(QString, gesture);
        QFETCH(int, handlerRuns);
        QFETCH(int, currentRowAfter);
        Windows w;
        scriptRows(4);
        w.clickMagnifier();
        view::ResultGrid* grid = w.form().DBGrid1;
        QSignalSpy spy(grid, &view::ResultGrid::cellClicked);
        QWidget* viewport = grid->viewport();
        auto cellCentre = [&](int row, int column) {
            grid->scrollTo(grid->model()->index(row, column));
            return grid->visualRect(grid->model()->index(row, column)).intersected(viewport->rect()).center();
        };

        if (gesture == "cell0") {
            QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCentre(2, 0));
        } else if (gesture == "cell1") {
            QTest::mouseClick(viewport, Qt::LeftButton, {}, cellCentre(2, 1));
        } else if (gesture == "title") {
            QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(30, 5));
        } else if (gesture == "indicator") {
            QTest::mouseClick(grid->verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, cellCentre(2, 0).y()));
        } else if (gesture == "below") {
            QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(30, grid->rowViewportPosition(3) + 40));
        } else if (gesture == "right") {
            QTest::mouseClick(viewport, Qt::RightButton, {}, cellCentre(2, 0));
        } else if (gesture == "middle") {
            QTest::mouseClick(viewport, Qt::MiddleButton, {}, cellCentre(2, 0));
        } else if (gesture == "borderDrag") {
            // The press lands on the title's border; the release over a cell.
            grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
            QHeaderView* titles = grid->horizontalHeader();
            const int border = titles->sectionViewportPosition(0) + titles->sectionSize(0) - 1;
            QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, QPoint(border, 5));
            QTest::mouseMove(titles->viewport(), QPoint(border + 20, 5));
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, cellCentre(2, 1));
            QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, QPoint(border + 20, 5));
        } else if (gesture == "keys") {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Down);
            QTest::keyClick(grid, Qt::Key_Return);
            QTest::keyClick(grid, Qt::Key_Space);
            QTest::keyClick(grid, Qt::Key_Enter);
        }
        QCOMPARE(spy.count(), handlerRuns);
        QCOMPARE(grid->currentIndex().row(), currentRowAfter);
        QCOMPARE(ServiceConnection->FDQuery1.currentRow(), std::size_t(currentRowAfter));
        QCOMPARE(w.shown.size(), handlerRuns);
        if (handlerRuns)
            QCOMPARE(w.shown[0].problem, QStringLiteral("p2"));
    }

    void theEmptyRowBeforeAnySearchOpensNothingAndSaysNothing()
    {
        Windows w;
        w.clickCell(0, 0);
        QVERIFY(w.shown.isEmpty());
        QVERIFY(w.errors.isEmpty());
        QCOMPARE(Form1, nullptr);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    chrome::ensureTahoma();
    int status = 0;
    {
        SearchWindowTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        CellClickRuleTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "tst_search_window.moc"
