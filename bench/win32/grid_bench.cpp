// The result grid of the real search window under Wine: milliseconds from
// the click on the magnifier to the first rows painted, then for each further
// batch of 50 as the view is scrolled to its end, until ROWS rows are shown;
// then BATCHES batches more with the view scrolled right, where the very wide
// first column's cells end. Each step is timed from the user's action to the
// end of the grid's repaint: fetch, decoding, layout and painting.
//
// usage: grid-bench --folder DIR [--rows N] [--right-batches BATCHES] TEXT...
// The client library is fbclient.dll beside the program (under Wine, the
// test bridge to the Linux client).

#include "error_box.h"
#include "program.h"
#include "search_window.h"

#include "core/utf.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double now()
{
    LARGE_INTEGER frequency{};
    LARGE_INTEGER counter{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double timed(const std::function<void()>& action, HWND grid)
{
    const double start = now();
    action();
    UpdateWindow(grid);
    GdiFlush();
    return now() - start;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * double(values.size() - 1) + 0.5)];
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::string folder;
    int rows = 2000;
    int rightBatches = 10;
    std::u16string text;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--folder" && i + 1 < argc)
            folder = quelvo::toUtf8(reinterpret_cast<const char16_t*>(argv[++i]));
        else if (arg == L"--rows" && i + 1 < argc)
            rows = _wtoi(argv[++i]);
        else if (arg == L"--right-batches" && i + 1 < argc)
            rightBatches = _wtoi(argv[++i]);
        else {
            if (!text.empty())
                text += u' ';
            text += reinterpret_cast<const char16_t*>(argv[i]);
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: grid-bench --folder DIR [--rows N] [--right-batches BATCHES] TEXT...\n");
        return 2;
    }
    win32::installErrorBox(u"grid-bench");
    win32::setErrorBoxSink([](const ui::ErrorBoxContent& box) {
        std::fprintf(stderr, "error: %s\n", quelvo::toUtf8(box.text).c_str());
        std::exit(1);
    });

    win32::Program program({folder, {}});
    TForm2& form = program.searchWindow();
    win32::untilPainted();
    SetWindowTextW(form.Memo1.hwnd(), reinterpret_cast<const wchar_t*>(text.c_str()));
    const HWND grid = form.DBGrid1.hwnd();

    const double first = timed([&] { form.searchClick(); }, grid);
    std::vector<double> batches;
    while (form.DataSource1.rowCount() < rows && form.DataSource1.canFetchMore()) {
        const int before = form.DataSource1.rowCount();
        const double ms = timed([&] { SendMessageW(grid, WM_VSCROLL, SB_BOTTOM, 0); }, grid);
        if (form.DataSource1.rowCount() == before)
            break;
        batches.push_back(ms);
    }
    // The same view painted again, with no fetch: what painting alone costs.
    const double repaintLeft = timed([&] { InvalidateRect(grid, nullptr, FALSE); }, grid);
    // A batch fetched and taken by the rows, not painted: what the fetch costs.
    std::vector<double> fetchOnly;
    for (int i = 0; i < 5 && form.DataSource1.canFetchMore(); ++i) {
        const double start = now();
        form.DataSource1.fetchMore();
        form.DataSource1.showPendingRows();
        fetchOnly.push_back(now() - start);
    }
    std::vector<double> right;
    form.DBGrid1.scrollHorizontally(1 << 30);
    for (int i = 0; i < rightBatches && form.DataSource1.canFetchMore(); ++i)
        right.push_back(timed([&] { SendMessageW(grid, WM_VSCROLL, SB_BOTTOM, 0); }, grid));
    const double repaintRight = timed([&] { InvalidateRect(grid, nullptr, FALSE); }, grid);

    const auto worst = [](const std::vector<double>& v) { return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end()); };
    std::printf("first rows painted ms: %.2f\n", first);
    std::printf("rows shown: %d\n", form.DataSource1.rowCount());
    std::printf("further batches: %zu\n", batches.size());
    std::printf("batch median ms: %.2f\n", percentile(batches, 0.5));
    std::printf("batch p90 ms: %.2f\n", percentile(batches, 0.9));
    std::printf("batch worst ms: %.2f\n", worst(batches));
    std::printf("one repaint, no fetch ms: %.2f\n", repaintLeft);
    std::printf("a batch fetched, not painted, median ms: %.2f\n", percentile(fetchOnly, 0.5));
    std::printf("scrolled right, batch worst ms: %.2f\n", worst(right));
    std::printf("scrolled right, one repaint ms: %.2f\n", repaintRight);
    program.end();
    return 0;
}
