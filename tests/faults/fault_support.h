#pragma once

#include "server_database.h"

#include <ibase.h>

#include <cstddef>
#include <string>

namespace faults {

// What the server holds for this process on one database, read from the
// monitoring tables by another connection.
struct ServerHeld {
    int attachments = -1;
    int activeTransactions = -1;
    int statements = -1;     // prepared and not yet dropped
    long memoryUsed = -1;    // the server's memory for the attachments, bytes
};
// `besides`: an attachment of this process that is not the program's.
ServerHeld serverHeld(const testing_support::ServerDatabase& db, long besides = -1);

// Runs one search as the search window does: close, set the pattern, open.
// Returns the error text, or an empty text when the search worked.
std::string search(TServiceConnection& service, const std::u16string& typed);

// Reads on until the rows run out (the search ends there).
void fetchToTheEnd(TServiceConnection& service);

// The server started by scripts/firebird-server, killed at once (SIGKILL).
void killServer();
// Starts the server again whatever a test did to it, also when the test fails.
struct ServerBack {
    ~ServerBack();
};

using testing_support::run;

// Resident memory of this process, in kB, from /proc/self/status.
long residentKilobytes();

// Another program's attachment to the same database, for holding locks.
class SideConnection {
public:
    explicit SideConnection(const testing_support::ServerDatabase& db);
    ~SideConnection();
    SideConnection(const SideConnection&) = delete;
    SideConnection& operator=(const SideConnection&) = delete;

    // Its id on the server (MON$ATTACHMENT_ID).
    long attachmentId() const { return attachmentId_; }
    void begin(const std::string& transactionBlock);
    void execute(const std::string& sql);
    void commit();

private:
    isc_db_handle database_ = 0;
    isc_tr_handle transaction_ = 0;
    long attachmentId_ = -1;
};

// A transaction block that waits for locks, with the given isolation, and
// optionally reserves the attendance table (isc_tpb_lock_read or
// isc_tpb_lock_write, then isc_tpb_shared, isc_tpb_protected or isc_tpb_exclusive).
std::string transactionBlock(char isolation, char reserve = 0, char mode = 0);

} // namespace faults
