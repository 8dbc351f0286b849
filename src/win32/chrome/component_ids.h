#pragma once

// Control ids of the windows' components, named as the components are. Both
// title bars use the same ids; each window's content has its own.

namespace win32::ids {

enum : int {
    // The title bar.
    pnlTopo = 1000,
    pnlLogo,
    pnImage1,
    Image1,
    Panel1,
    lbVersion,
    pnNV,
    Panel7,
    minimized,
    Panel8,
    bk_max,
    maximized,
    Panel6,
    close,

    // Both windows' content.
    pnlCenter = 1100,
    GridPanel1,
    Panel3,
    Memo1,

    // The search window.
    Panel2 = 1200,
    Panel4,
    search,
    bk_search,
    Panel5,
    DBGrid1,

    // The solution window.
    Label1 = 1300,
    Label2,
    Label3,
    Label4,
    Memo2,
};

} // namespace win32::ids
