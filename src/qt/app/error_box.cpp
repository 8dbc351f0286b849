#include "app/error_box.h"

#include "ui/error_box.h"
#include "ui/error_guard.h"
#include "view/qt_text.h"

#include <QApplication>
#include <QMessageBox>

namespace app {

namespace {

std::function<void(const ErrorBox&)>& sink()
{
    static std::function<void(const ErrorBox&)> s = [](const ErrorBox& box) {
        QMessageBox message(QMessageBox::Critical, box.caption, box.text, QMessageBox::Ok,
                            QApplication::activeWindow());
        message.exec();
    };
    return s;
}

} // namespace

void installErrorBox(const std::u16string& executablePath)
{
    ui::setErrorHandler([executablePath](const std::string& message) {
        const ui::ErrorBoxContent content = ui::errorBoxFor(executablePath, message);
        sink()({view::toQString(content.caption), view::toQString(content.text)});
    });
}

void setErrorBoxSink(std::function<void(const ErrorBox&)> s)
{
    sink() = std::move(s);
}

} // namespace app
