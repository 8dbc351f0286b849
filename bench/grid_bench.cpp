// The result grid in the real search window: milliseconds from the click on
// the magnifier to the first rows painted, then for each further batch of 50
// as the view is scrolled to its end, until ROWS rows are shown. Each step is
// timed from the user's action to the end of the grid's repaint, so it holds
// the fetch, the decoding, the model's announcement, the layout and the
// painting.
//
// Then BATCHES further batches with the view scrolled right to the last
// column, where the very wide first column's cells end.
//
// usage: grid-bench --folder DIR [--rows N] [--right-batches BATCHES] TEXT...
// Runs on any Qt platform; the benchmark script uses offscreen.

#include "app/error_box.h"
#include "app/startup.h"
#include "fonts.h"
#include "picturebox.h"
#include "view/result_grid.h"
#include "view/search_window.h"
#include "view/text_memo.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Notes when the watched widget starts painting; processEvents returns
// after the paint has finished.
class PaintWatch : public QObject {
public:
    bool painted = false;
    QElapsedTimer paintStart;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            paintStart.start();
        }
        return false;
    }
};

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto i = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[i];
}

// Milliseconds per batch: in all, in the scroll itself (fetch and model),
// and from the paint's start to its end.
struct Phase {
    std::vector<double> batch;
    std::vector<double> fetch;
    std::vector<double> paint;

    void print(const char* prefix) const
    {
        std::printf("%sbatches: %zu\n", prefix, batch.size());
        std::printf("%sbatch median ms: %.3f\n", prefix, percentile(batch, 0.5));
        std::printf("%sbatch p99 ms: %.3f\n", prefix, percentile(batch, 0.99));
        std::printf("%sbatch worst ms: %.3f\n", prefix, percentile(batch, 1.0));
        std::printf("%sfetch median ms: %.3f\n", prefix, percentile(fetch, 0.5));
        std::printf("%sfetch worst ms: %.3f\n", prefix, percentile(fetch, 1.0));
        std::printf("%spaint median ms: %.3f\n", prefix, percentile(paint, 0.5));
        std::printf("%spaint worst ms: %.3f\n", prefix, percentile(paint, 1.0));
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::string folder;
    long rows = 100000;
    int rightSteps = 200;
    QString text;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "--folder" && i + 1 < argc)
            folder = argv[++i];
        else if (arg == "--rows" && i + 1 < argc)
            rows = std::atol(argv[++i]);
        else if (arg == "--right-batches" && i + 1 < argc)
            rightSteps = std::atoi(argv[++i]);
        else
            text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + QString::fromLocal8Bit(arg);
    }
    if (folder.empty() || text.isEmpty()) {
        std::fputs("usage: grid-bench --folder DIR [--rows N] [--right-batches BATCHES] TEXT...\n", stderr);
        return 2;
    }

    chrome::ensureTahoma();
    app::setErrorBoxSink([](const app::ErrorBox& box) {
        std::fprintf(stderr, "grid-bench: %s\n", qPrintable(box.text));
        std::exit(1);
    });
    app::Program program({folder, {}});
    TForm2& window = program.searchWindow();
    view::ResultGrid* grid = window.DBGrid1;
    PaintWatch watch;
    grid->viewport()->installEventFilter(&watch);

    // Runs the action and the event loop until the grid has repainted; notes
    // how long the action itself took (the fetch and the model's part) and
    // the paint (from its start to the end of the event loop's pass).
    double actionMs = 0;
    double paintMs = 0;
    auto timed = [&](auto&& action) {
        watch.painted = false;
        QElapsedTimer timer;
        timer.start();
        action();
        actionMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        while (!watch.painted && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        paintMs = watch.painted ? static_cast<double>(watch.paintStart.nsecsElapsed()) / 1e6 : 0;
        return static_cast<double>(timer.nsecsElapsed()) / 1e6;
    };

    // The window as the user first sees it.
    while (!QTest::qWaitForWindowExposed(&window))
        ;
    timed([] {});
    window.Memo1->setPlainText(text);
    QCoreApplication::processEvents();

    const double firstMs = timed([&] { QTest::mouseClick(window.search, Qt::LeftButton); });
    const int firstRows = grid->model()->rowCount();

    // Scrolls to the end until `count` more batches have arrived.
    QScrollBar* bar = grid->verticalScrollBar();
    auto scrollThrough = [&](Phase& phase, long count) {
        while (static_cast<long>(phase.batch.size()) < count && grid->model()->canFetchMore({})) {
            const int before = grid->model()->rowCount();
            const double ms = timed([&] { bar->setValue(bar->maximum()); });
            if (grid->model()->rowCount() == before) {
                // Nothing was fetched by that scroll: the view was at its
                // end already; move one row up so the next scroll reaches it.
                bar->setValue(bar->maximum() - 1);
                QCoreApplication::processEvents();
                continue;
            }
            phase.batch.push_back(ms);
            phase.fetch.push_back(actionMs);
            phase.paint.push_back(paintMs);
        }
    };

    // A full repaint of the rows in view, without fetching: median of 30.
    auto repaintMs = [&] {
        std::vector<double> times;
        for (int i = 0; i < 30; ++i) {
            QElapsedTimer timer;
            timer.start();
            grid->viewport()->repaint();
            times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
        return percentile(times, 0.5);
    };

    Phase left;
    scrollThrough(left, (rows - firstRows + 49) / 50);
    const int leftRows = grid->model()->rowCount();
    const double leftRepaint = repaintMs();

    // The same with the view scrolled right to the solucao column, where the
    // first column's cells end.
    Phase right;
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    timed([] {});
    scrollThrough(right, rightSteps);
    const double rightRepaint = repaintMs();

    std::printf("first rows ms: %.3f\n", firstMs);
    std::printf("first rows: %d\n", firstRows);
    std::printf("rows shown: %d\n", leftRows);
    left.print("");
    right.print("right ");
    std::printf("repaint ms: %.3f\n", leftRepaint);
    std::printf("right repaint ms: %.3f\n", rightRepaint);
    std::fflush(stdout);
    program.end();
    return 0;
}
