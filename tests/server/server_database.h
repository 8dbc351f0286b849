#pragma once

#include "service/service_connection.h"

#include <memory>
#include <string>

namespace testing_support {

// A program folder with its own database on the real server, made from a
// script of DDL and inserts, and removed at the end.
class ServerDatabase {
public:
    // `body` runs after CREATE DATABASE, in isql-fb; it may use SET TERM.
    // `folder`: the program folder to use instead of a new one named after `name`.
    ServerDatabase(const std::string& name, const std::string& body, const std::string& folder = {});
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    const std::string& folder() const { return folder_; }
    std::string databasePath() const { return folder_ + "/data/BRIVANAATENDIMENTOS.FDB"; }

    // The connection service over the real client library, created as start-up does.
    std::unique_ptr<TServiceConnection> service() const;

    // Runs a query in isql-fb on this database and returns its output.
    std::string isql(const std::string& statements) const;

private:
    std::string folder_;
};

// The folder below which the tests make their databases (QUELVO_FBDATA).
std::string dataRoot();

// The usual table, with `matching` rows whose problem text contains "erro ao
// salvar" and `other` rows that do not.
std::string attendanceTable(int matching, int other);

// Runs a shell command; returns its output (standard output and error) and
// puts its exit code in `status` (-1 when it did not exit).
std::string run(const std::string& command, int& status);
// The same, throwing with that output when the command fails, unless `mayFail`.
std::string run(const std::string& command, bool mayFail = false);

// Runs the project's server script (start, stop).
void serverScript(const std::string& command);

} // namespace testing_support
