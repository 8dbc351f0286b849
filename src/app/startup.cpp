#include "app/startup.h"

#include "app/wait_cursor.h"
#include "core/app_text.h"
#include "core/executable_path.h"
#include "core/utf.h"
#include "service/service_connection.h"
#include "view/error_guard.h"
#include "view/qt_text.h"
#include "view/search_window.h"

#include <cstdio>

namespace app {

QString applicationTitle()
{
    const std::u16string title = quelvo::applicationTitle(quelvo::fromUtf8(quelvo::executablePath()));
    return view::toQString(title);
}

Program::Program(const Options& options)
{
    service_ = options.libraryNames.empty()
                   ? std::make_unique<TServiceConnection>(options.folder)
                   : std::make_unique<TServiceConnection>(options.folder, options.libraryNames);
    ServiceConnection = service_.get();
    waitCursor_ = std::make_unique<WaitCursor>();
    service_->FDConnection1.setBusyIndicator(waitCursor_.get());
    view::guarded([this] { service_->DataModuleCreate(); });

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

} // namespace app
