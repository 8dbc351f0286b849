#pragma once

#include "app/error_box.h"
#include "app/startup.h"
#include "support.h"

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QTimer>

#include <memory>

class QWidget;
class TForm2;

namespace testing_support {

// What a solution window showed while it was up.
struct ShownSolution {
    QString date;
    QString analyst;
    QString solution;
    QString problem;
    bool modal = false;
    bool form1Set = false;
    QString focus;
    QPoint position;
    QSize size;
};

// The program's windows as start-up creates them, over the fake client
// library (or real names), with the error box replaced by a recorder and
// every solution window that opens recorded and closed by its close button.
class Windows {
public:
    explicit Windows(std::vector<std::string> libraryNames = {FAKE_CLIENT_PATH},
                     const std::string& folder = {});
    ~Windows();

    TForm2& form() { return program_->searchWindow(); }
    app::Program& program() { return *program_; }
    const std::string& folder() const { return folder_ ? folder_->path() : explicitFolder_; }

    void type(const QString& text);
    void clickMagnifier();
    // Left press and release in the middle of a data cell.
    void clickCell(int row, int column);

    QList<app::ErrorBox> errors;
    QList<ShownSolution> shown;

private:
    std::unique_ptr<ProgramFolder> folder_;
    std::string explicitFolder_;
    std::unique_ptr<app::Program> program_;
    QTimer closer_;
};

} // namespace testing_support
