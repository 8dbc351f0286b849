#pragma once

// The connection service as both programs start and end it: created first,
// as the global ServiceConnection, told about the wait cursor, and
// DataModuleCreate run through the error box; at the end the query closed
// and the connection detached, before the client library goes. An error of
// that last step goes to standard error: no window is left to show it.

#include "data/busy_indicator.h"

#include <memory>
#include <string>
#include <vector>

class TServiceConnection;

namespace ui {

class ServiceLifetime {
public:
    struct Options {
        std::string folder;                    // empty: the executable's own
        std::vector<std::string> libraryNames; // empty: the platform's defaults
    };

    ServiceLifetime(const Options& options, quelvo::BusyIndicator* busy);
    ~ServiceLifetime();
    ServiceLifetime(const ServiceLifetime&) = delete;
    ServiceLifetime& operator=(const ServiceLifetime&) = delete;

    TServiceConnection& service() { return *service_; }
    void end();

private:
    std::unique_ptr<TServiceConnection> service_;
};

} // namespace ui
