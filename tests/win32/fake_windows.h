#pragma once

#include "win32_fixture.h"

#include "support.h"

namespace win32_test {

// A program folder of its own, and the fake library's record cleared, before
// the program is made.
class FakeFolder {
protected:
    FakeFolder();
    testing_support::ProgramFolder folder_;
};

// The program as start-up makes it, over the fake client library.
class Windows : private FakeFolder, public ProgramWindows {
public:
    Windows();

    // Types into the search box through the box's own character handling.
    void type(const std::u16string& text);
};

} // namespace win32_test
