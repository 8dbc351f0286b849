#include "service/service_connection.h"

#include "core/executable_path.h"
#include "core/profile_reader.h"
#include "core/utf.h"

#include <filesystem>

TServiceConnection* ServiceConnection = nullptr;

namespace {

// The server opens the database path on its own file system and resolves a
// relative one against its own working folder, so a folder given relative
// to ours is made absolute here. Left as it is if that cannot be done.
// An absolute folder stays exactly as given.
std::string absoluteFolder(const std::string& folder)
{
    std::error_code error;
#ifdef _WIN32
    const std::u16string wide = quelvo::fromUtf8(folder);
    const std::filesystem::path path(std::wstring(wide.begin(), wide.end()));
    if (path.is_absolute())
        return folder;
    const std::wstring text = std::filesystem::absolute(path, error).wstring();
    return error ? folder : quelvo::toUtf8(std::u16string(text.begin(), text.end()));
#else
    const std::filesystem::path path(folder);
    if (path.is_absolute())
        return folder;
    const std::string text = std::filesystem::absolute(path, error).string();
    return error ? folder : text;
#endif
}

} // namespace

TServiceConnection::TServiceConnection(std::string folder, std::vector<std::string> libraryNames)
    : folder_(folder.empty() ? quelvo::executableFolder() : absoluteFolder(folder)),
      library_(std::move(libraryNames)),
      FDConnection1(library_),
      FDQuery1(FDConnection1, "FDQuery1")
{
    while (folder_.size() > 1 && folder_.back() == quelvo::PathSeparator)
        folder_.pop_back();
}

TServiceConnection::~TServiceConnection() = default;

void TServiceConnection::DataModuleCreate()
{
    // Nothing is open yet: creation never touches the server.
    const std::string base = folder_ + quelvo::PathSeparator;
    const auto profile = quelvo::ProfileReader::fromFile(base + ProfileName);
    const std::string database = base + "data" + quelvo::PathSeparator + DatabaseFile;

    const std::u16string servidor = profile.readString(u"Connection", u"Servidor", u"");
    porta_ = profile.readInteger(u"Connection", u"Porta", 0);

    quelvo::ConnectionSettings& settings = FDConnection1.settings;
    settings.database = database;
    settings.userName = "SYSDBA";
    settings.password = "plumbgate";
    settings.server = quelvo::toUtf8(servidor);
}

void TServiceConnection::shutdown()
{
    try {
        FDQuery1.close();
    } catch (...) {
        FDConnection1.close();
        throw;
    }
    FDConnection1.close();
    library_.unload();
}
