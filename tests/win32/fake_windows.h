#pragma once

#include "win32_fixture.h"

#include "support.h"

namespace win32_test {

// The program as start-up makes it, over the fake client library, with the
// error box replaced by a sink.
class Windows {
public:
    Windows();
    ~Windows();

    TForm2& form() { return program_->searchWindow(); }
    win32::Program& program() { return *program_; }
    const std::string& folder() const { return folder_.path(); }

    void type(const std::u16string& text);
    void clickMagnifier();
    // A left click on a data cell (field index `column`) of a row in view.
    void clickCell(int row, int column);
    // Clicks a cell and runs `inside` while the solution window is shown,
    // then closes it with its close button.
    void openSolution(int row, const std::function<void(TForm1&)>& inside);

    std::vector<ui::ErrorBoxContent> boxes;

private:
    testing_support::ProgramFolder folder_;
    std::unique_ptr<win32::Program> program_;
};

} // namespace win32_test
