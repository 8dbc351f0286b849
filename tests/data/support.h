#pragma once

#include "fake_client.h"
#include "data/client_library.h"
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

// The 31-byte attach parameter block: SYSDBA, its password, UTF8, SQL
// dialect 3 and the UTF-8 file names flag. A library older than 2.5 gets
// its first 29 bytes.
extern const std::string ParameterBlock;

// The message ClientLibrary::load raises, or "(loaded)".
std::string loadError(quelvo::ClientLibrary& library);

// The architecture this build runs as, and the other one, as error 314 names them.
#if defined(_WIN64) || defined(__LP64__)
inline const std::string Architecture = "x64";
inline const std::string OtherArchitecture = "x86";
#else
inline const std::string Architecture = "x86";
inline const std::string OtherArchitecture = "x64";
#endif

// The hint that ends error 314's text.
inline const std::string Error314Hint =
    "Hint: check it is in the PATH or application EXE directories, and has " + Architecture + " bitness.";

} // namespace testing_support
