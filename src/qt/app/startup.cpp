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
    service_ = options.libraryNames.empty()
                   ? std::make_unique<TServiceConnection>(options.folder)
                   : std::make_unique<TServiceConnection>(options.folder, options.libraryNames);
    ServiceConnection = service_.get();
    waitCursor_ = std::make_unique<WaitCursor>();
    service_->FDConnection1.setBusyIndicator(waitCursor_.get());
    ui::guarded([this] { service_->DataModuleCreate(); });

    window_ = std::make_unique<TForm2>(*service_);
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
    if (service_) {
        try {
            service_->shutdown();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
        }
        service_->FDConnection1.setBusyIndicator(nullptr);
        service_.reset();
        ServiceConnection = nullptr;
    }
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
