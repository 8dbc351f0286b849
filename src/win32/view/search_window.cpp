#include "search_window.h"

#include "component_ids.h"
#include "solution_window.h"

#include "artwork/pictures.h"
#include "service/service_connection.h"
#include "ui/error_guard.h"
#include "ui/solution_content.h"
#include "ui/window_layout.h"

#include <memory>

TForm2* Form2 = nullptr;

namespace {

constexpr const wchar_t* ClassName = L"QuelvoSearchWindow";

ui::Rect fill(const ui::Rect& parent)
{
    return {0, 0, parent.width, parent.height};
}

} // namespace

void Arredondarcantos(HWND componente, int Y)
{
    RECT client{};
    GetClientRect(componente, &client);
    win32::Region region(CreateRoundRectRgn(0, 0, client.right, client.bottom, Y, Y));
    // The window takes the region over, and frees the one it replaces.
    if (region && SetWindowRgn(componente, region.get(), TRUE))
        (void)region.release();
    InvalidateRect(componente, nullptr, TRUE);
}

TForm2::TForm2(TServiceConnection& service)
    : BorderlessWindow(ui::TitleBarKind::SearchWindow, ui::SearchWindowClientSize)
    , DataSource1(service.FDQuery1)
{
    Form2 = this;
    registerClass(ClassName);
    createFrame(ClassName, nullptr, true);

    const HINSTANCE instance = GetModuleHandleW(nullptr);
    bigIcon_.reset(static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                 GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0)));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    const auto& picture = artwork::picture;
    Panel2.create(pnlCenter.hwnd(), win32::ids::Panel2, ui::ContentColor);
    GridPanel1.create(Panel2.hwnd(), win32::ids::GridPanel1, ui::ContentColor);
    Panel3.create(GridPanel1.hwnd(), win32::ids::Panel3, ui::ContentColor);
    Memo1.create(L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, 0, Panel3.hwnd(),
                 win32::ids::Memo1, {});
    Panel4.create(GridPanel1.hwnd(), win32::ids::Panel4, ui::ContentColor);
    search.create(Panel4.hwnd(), win32::ids::search, picture(artwork::PictureId::Search), ui::PictureFit::ShrinkToFit,
                  Panel4, {}, dpi());
    bk_search.create(Panel4.hwnd(), win32::ids::bk_search, picture(artwork::PictureId::SearchHover),
                     ui::PictureFit::ShrinkToFit, Panel4, {}, dpi());
    SetWindowPos(bk_search.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    bk_search.setVisible(false);
    Panel5.create(pnlCenter.hwnd(), win32::ids::Panel5, ui::ContentColor);
    DBGrid1.create(Panel5.hwnd(), win32::ids::DBGrid1, DataSource1, fonts().window.get(), dpi());
    fontsChanged();

    search.onEnter = [this] { searchMouseEnter(); };
    bk_search.onLeave = [this] { bk_searchMouseLeave(); };
    search.onClick = [this] { searchClick(); };
    bk_search.onClick = [this] { searchClick(); };
    DBGrid1.onCellClick = [this](int column) { DBGrid1CellClick(column); };

    layout();
    ui::guarded([this] { FormCreate(); });

    // Centred on the primary screen's full size, never above or left of the desktop.
    RECT frame{};
    GetWindowRect(hwnd(), &frame);
    const POINT origin{0, 0};
    auto primary = win32::sized<MONITORINFO>();
    GetMonitorInfoW(MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &primary);
    const ui::Rect screen{primary.rcMonitor.left, primary.rcMonitor.top, primary.rcMonitor.right - primary.rcMonitor.left,
                          primary.rcMonitor.bottom - primary.rcMonitor.top};
    const ui::Rect desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                           GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const ui::Point at = ui::firstPosition(screen, desktop, {frame.right - frame.left, frame.bottom - frame.top});
    SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Visible at the end of its own creation, the focus in the search box.
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    SetFocus(Memo1.hwnd());
}

TForm2::~TForm2()
{
    destroy();
    if (Form2 == this)
        Form2 = nullptr;
}

void TForm2::layoutContent(ui::Size client)
{
    if (!Panel5)
        return;
    const ui::SearchWindowLayout l = ui::searchWindowLayout(client, dpi());
    Panel2.setBounds(l.Panel2);
    GridPanel1.setBounds(fill(l.Panel2));
    Panel3.setBounds(l.Panel3);
    Memo1.setBounds(fill(l.Panel3));
    Panel4.setBounds(l.Panel4);
    search.setBounds(fill(l.Panel4));
    bk_search.setBounds(fill(l.Panel4));
    search.setDpi(dpi());
    bk_search.setDpi(dpi());
    Panel5.setBounds(l.Panel5);
    DBGrid1.setBounds(fill(l.Panel5));
}

void TForm2::resized()
{
    ui::guarded([this] { FormResize(); });
}

void TForm2::fontsChanged()
{
    SendMessageW(Memo1.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts().window.get()), TRUE);
    DBGrid1.setFont(fonts().window.get(), dpi());
}

void TForm2::closeRequested()
{
    // Any close of the main window ends the program: the loop ends once the
    // messages already waiting are handled; nothing asks, and no closing
    // step of the window's own runs.
    PostQuitMessage(0);
}

HWND TForm2::dragTarget() const
{
    return Form2 ? Form2->hwnd() : nullptr;
}

void TForm2::FormCreate()
{
    Arredondarcantos(Panel3.hwnd(), ui::SearchBoxCornerEllipse);
}

void TForm2::FormResize()
{
    Arredondarcantos(Panel3.hwnd(), ui::SearchBoxCornerEllipse);
}

void TForm2::searchMouseEnter()
{
    bk_search.setVisible(true);
}

void TForm2::bk_searchMouseLeave()
{
    bk_search.setVisible(false);
}

std::u16string TForm2::searchText() const
{
    return win32::windowText(Memo1.hwnd());
}

void TForm2::searchClick()
{
    struct Redraw {
        win32::ResultGrid& grid;
        ~Redraw() { grid.rowsReset(); } // a failed search leaves the empty row
    };
    ui::guarded([this] {
        Redraw redraw{DBGrid1};
        DataSource1.search(searchText());
    });
}

void TForm2::DBGrid1CellClick(int)
{
    ui::guarded([this] { showSolution(); });
}

void TForm2::showSolution()
{
    // Nothing to read before any search, or after one that failed to open:
    // the click is ignored. A null value throws before any window exists.
    const std::optional<ui::SolutionContent> content = ui::solutionForCurrentRow(DataSource1.query());
    if (!content)
        return;

    auto form = std::make_unique<TForm1>(hwnd());
    Form1 = form.get();
    struct Release {
        std::unique_ptr<TForm1>& form;
        ~Release()
        {
            Form1 = nullptr;
            form.reset();
        }
    } release{form};

    form->setCaption(form->Label3, content->dateCaption);
    form->setCaption(form->Label4, content->analystCaption);
    form->setText(form->Memo1, content->solutionText);
    form->setText(form->Memo2, content->problemText);
    form->showModalOver(*this);
}
