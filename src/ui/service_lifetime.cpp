#include "ui/service_lifetime.h"

#include "service/service_connection.h"
#include "ui/error_guard.h"

#include <cstdio>
#include <exception>

namespace ui {

ServiceLifetime::ServiceLifetime(const Options& options, quelvo::BusyIndicator* busy)
{
    service_ = options.libraryNames.empty()
                   ? std::make_unique<TServiceConnection>(options.folder)
                   : std::make_unique<TServiceConnection>(options.folder, options.libraryNames);
    ServiceConnection = service_.get();
    service_->FDConnection1.setBusyIndicator(busy);
    guarded([this] { service_->DataModuleCreate(); });
}

ServiceLifetime::~ServiceLifetime()
{
    end();
}

void ServiceLifetime::end()
{
    if (!service_)
        return;
    try {
        service_->shutdown();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    service_->FDConnection1.setBusyIndicator(nullptr);
    service_.reset();
    ServiceConnection = nullptr;
}

} // namespace ui
