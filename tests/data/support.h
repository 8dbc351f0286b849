#pragma once

#include "fake_client.h"
#include "service/service_connection.h"

#include <filesystem>
#include <memory>
#include <string>

namespace testing_support {

// A program folder of its own under the temp folder, removed at the end.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& name = "quelvo-fake");
    ~ProgramFolder();
    const std::string& path() const { return path_; }
    void writeLoginIni(const std::string& contents) const;

private:
    std::string path_;
};

// The connection service over the fake client library, created as start-up does.
std::unique_ptr<TServiceConnection> fakeService(const ProgramFolder& folder);

// Rows whose problema is "p<i>" and solucao "s<i>".
void scriptRows(int count);

} // namespace testing_support
