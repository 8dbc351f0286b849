#include "app/startup.h"

#include "app/error_box.h"
#include "app/show_state.h"
#include "app/wait_cursor.h"
#include "core/executable_path.h"
#include "core/utf.h"
#include "service/service_connection.h"
#include "ui/error_guard.h"
#include "view/qt_text.h"
#include "view/search_window.h"
#include "fonts.h"

#include <QApplication>
#include <QWindow>

#include <cstdio>
#include <utility>

namespace app {

namespace {

// Calls back once, queued behind the window's first expose, which paints it.
class FirstExposeHook : public QObject {
public:
    FirstExposeHook(std::function<void()> callback, QObject* parent) : QObject(parent), callback_(std::move(callback)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (callback_ && event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            QMetaObject::invokeMethod(this, std::exchange(callback_, {}), Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void()> callback_;
};

} // namespace

Program::Program(const Options& options)
{
    waitCursor_ = std::make_unique<WaitCursor>();
    service_ = std::make_unique<ui::ServiceLifetime>(options, waitCursor_.get());
    window_ = std::make_unique<TForm2>(service_->service());
    Form2 = window_.get();
}

Program::~Program()
{
    end();
}

void Program::end()
{
    if (window_) {
        window_.reset();
        Form2 = nullptr;
    }
    if (service_)
        service_->end();
    waitCursor_.reset();
}

int run(int argc, char** argv, std::function<void()> onShown)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quelvo"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("quelvo"));
    chrome::ensureTahoma();
    installErrorBox(quelvo::fromUtf8(quelvo::executablePath()));

    Program program({});
    TForm2& window = program.searchWindow();
    if (onShown && window.windowHandle())
        window.windowHandle()->installEventFilter(new FirstExposeHook(std::move(onShown), &window));
    applyShowState(&window, requestedShowState());
    application.exec();
    program.end();
    return 0;
}

} // namespace app
