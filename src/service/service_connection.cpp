#include "service/service_connection.h"

#include "core/executable_path.h"
#include "core/profile_reader.h"
#include "core/utf.h"

TServiceConnection* ServiceConnection = nullptr;

TServiceConnection::TServiceConnection(std::string folder, std::vector<std::string> libraryNames)
    : folder_(folder.empty() ? quelvo::executableFolder() : std::move(folder)),
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
