#include "server_database.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>

namespace testing_support {

std::string dataRoot()
{
    const char* env = std::getenv("QUELVO_FBDATA");
    return env && *env ? env : "/var/tmp/quelvo-fbdata";
}

std::string run(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    const int waited = pclose(pipe);
    status = waited != -1 && WIFEXITED(waited) ? WEXITSTATUS(waited) : -1;
    return output;
}

std::string run(const std::string& command, bool mayFail)
{
    int status = 0;
    std::string output = run(command, status);
    if (status != 0 && !mayFail)
        throw std::runtime_error(command + " failed:\n" + output);
    return output;
}

namespace {

std::string runIsql(const std::string& script)
{
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("quelvo-isql-" + std::to_string(std::random_device{}()) + ".sql")).string();
    std::ofstream(file) << script;
    int status = 0;
    const std::string output = run("isql-fb -q -b -ch UTF8 -i '" + file + "'", status);
    std::filesystem::remove(file);
    if (status != 0)
        throw std::runtime_error("isql-fb failed:\n" + output);
    return output;
}

std::string connectLine(const std::string& path)
{
    return "CONNECT '127.0.0.1/3050:" + path + "' USER 'SYSDBA' PASSWORD 'plumbgate';\n";
}

} // namespace

ServerDatabase::ServerDatabase(const std::string& name, const std::string& body, const std::string& folder)
{
    folder_ = folder.empty() ? dataRoot() + "/" + name + "-" + std::to_string(std::random_device{}()) : folder;
    std::filesystem::create_directories(folder_ + "/data");
    // The server runs as its own user and must create the file there.
    chmod(dataRoot().c_str(), 01777);
    chmod(folder_.c_str(), 0755);
    chmod((folder_ + "/data").c_str(), 0777);
    std::ofstream(folder_ + "/Login.ini") << "[Connection]\r\nServidor=127.0.0.1\r\n";
    runIsql("SET SQL DIALECT 3;\nCREATE DATABASE '127.0.0.1/3050:" + databasePath() +
            "' USER 'SYSDBA' PASSWORD 'plumbgate' DEFAULT CHARACTER SET UTF8;\n" + body + "\nCOMMIT;\n");
}

ServerDatabase::~ServerDatabase()
{
    try {
        runIsql(connectLine(databasePath()) + "DROP DATABASE;\n");
    } catch (...) {
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::unique_ptr<TServiceConnection> ServerDatabase::service() const
{
    auto service = std::make_unique<TServiceConnection>(folder_);
    service->DataModuleCreate();
    return service;
}

std::string ServerDatabase::isql(const std::string& statements) const
{
    return runIsql(connectLine(databasePath()) + statements);
}

std::string attendanceTable(int matching, int other)
{
    return "CREATE TABLE \"at_atendimento\" (\"id\" INTEGER NOT NULL PRIMARY KEY, "
           "\"problema\" VARCHAR(5000), \"solucao\" VARCHAR(5000));\n"
           "SET TERM ^ ;\n"
           "EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN\n"
           "  WHILE (i < " + std::to_string(matching + other) + ") DO BEGIN\n"
           "    INSERT INTO \"at_atendimento\" VALUES (:i,\n"
           "      IIF(:i < " + std::to_string(matching) + ", 'Cliente relata erro ao salvar nº ' || :i, 'Impressora sem papel ' || :i),\n"
           "      '10/12/26 14:05╗Ana╗Solução ' || :i);\n"
           "    i = i + 1;\n"
           "  END\n"
           "END^\n"
           "SET TERM ; ^\n";
}

void serverScript(const std::string& command)
{
    int status = 0;
    const std::string output = run(std::string(QUELVO_SOURCE_DIR) + "/scripts/firebird-server " + command, status);
    if (status != 0)
        throw std::runtime_error("firebird-server " + command + " failed:\n" + output);
}

} // namespace testing_support
