#include "app/error_box.h"

#include "core/app_text.h"
#include "core/utf.h"
#include "view/error_guard.h"
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

ErrorBox errorBoxFor(const QString& applicationTitle, const std::string& message)
{
    const std::u16string text = quelvo::errorBoxText(quelvo::fromUtf8(message));
    return {applicationTitle, view::toQString(text)};
}

void installErrorBox(const QString& applicationTitle)
{
    view::setErrorHandler([applicationTitle](const std::string& message) {
        sink()(errorBoxFor(applicationTitle, message));
    });
}

void setErrorBoxSink(std::function<void(const ErrorBox&)> s)
{
    sink() = std::move(s);
}

} // namespace app
