#include "support.h"

#include "data/data_error.h"

#include <fstream>
#include <random>

namespace testing_support {

ProgramFolder::ProgramFolder(const std::string& name)
{
    std::random_device random;
    path_ = (std::filesystem::temp_directory_path() / (name + "-" + std::to_string(random()))).string();
    std::filesystem::create_directories(path_);
}

ProgramFolder::~ProgramFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void ProgramFolder::writeLoginIni(const std::string& contents) const
{
    std::ofstream(path_ + "/Login.ini", std::ios::binary) << contents;
}

std::unique_ptr<TServiceConnection> fakeService(const ProgramFolder& folder)
{
    auto service = std::make_unique<TServiceConnection>(folder.path(), std::vector<std::string>{FAKE_CLIENT_PATH});
    service->DataModuleCreate();
    return service;
}

const std::string ParameterBlock("\x01"
                                  "\x1C\x06SYSDBA"
                                  "\x1D\x09plumbgate"
                                  "\x30\x04UTF8"
                                  "\x3F\x01\x03"
                                  "\x4D\x00",
                                  31);

std::string loadError(quelvo::ClientLibrary& library)
{
    try {
        library.load();
    } catch (const quelvo::DataError& e) {
        return e.what();
    }
    return "(loaded)";
}

void scriptRows(int count)
{
    fake::script().rows.clear();
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        fake::script().rows.push_back({{std::string("p").append(n), std::string("s").append(n)}});
    }
}

} // namespace testing_support
