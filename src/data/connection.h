#pragma once

#include "data/busy_indicator.h"
#include "data/client_library.h"
#include "data/data_error.h"

#include <string>
#include <vector>

namespace quelvo {

struct ConnectionSettings {
    std::string server;    // host; empty: none in the attach name
    int port = 3050;
    std::string database;  // path on the server's file system, UTF-8
    std::string userName = "SYSDBA";
    std::string password = "plumbgate";
    std::string characterSet = "UTF8";
    int sqlDialect = 3;
};

// "<server>/<port>:<database>", or "/<port>:<database>" without a server.
std::string attachName(const ConnectionSettings& settings);

// The database parameter block, item by item; isc_dpb_utf8_filename only for
// a library that takes UTF-8 attach names.
std::string parameterBlock(const ConnectionSettings& settings, bool utf8FileName);

// The one attachment to the database. Opened on first use, kept until the
// program ends or the server goes away.
class Connection {
public:
    explicit Connection(ClientLibrary& library) : library_(library) {}
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    ConnectionSettings settings;

    bool isOpen() const { return handle_ != 0; }
    // Loads the library if needed, attaches and reads the server version.
    void open();
    // Detaches. A server that has gone is no error; the handle is dropped either way.
    void close();

    const std::string& serverVersion() const { return serverVersion_; }
    const ClientLibrary& library() const { return library_; }
    const ClientApi& api() const { return library_.api(); }
    isc_db_handle* handle() { return &handle_; }

    void setBusyIndicator(BusyIndicator* indicator) { busy_ = indicator; }
    BusyIndicator* busyIndicator() const { return busy_; }

    // The error for a failed call: the prefix followed by the library's lines.
    DataError error(const ISC_STATUS* status) const;
    // After a failed operation: if the server has gone, drop the attachment
    // so the next open attaches anew.
    void noteFailure(long code);

private:
    void readServerVersion();
    void dropAttachment();

    ClientLibrary& library_;
    isc_db_handle handle_ = 0;
    std::string serverVersion_;
    BusyIndicator* busy_ = nullptr;
};

} // namespace quelvo
