#pragma once

#include "data/client_library.h"
#include "data/connection.h"
#include "data/knowledge_base_query.h"

#include <string>
#include <vector>

// The connection service: reads Login.ini beside the program, and owns the
// database connection and the knowledge-base query for the whole run.
class TServiceConnection {
public:
    static constexpr const char* ProfileName = "Login.ini";
    static constexpr const char* DatabaseFile = "BRIVANAATENDIMENTOS.FDB";

    // `folder`: where the program is installed (its own folder by default);
    // a relative one is taken from the working folder.
    explicit TServiceConnection(std::string folder = {},
                                std::vector<std::string> libraryNames = quelvo::ClientLibrary::defaultNames());
    ~TServiceConnection();
    TServiceConnection(const TServiceConnection&) = delete;
    TServiceConnection& operator=(const TServiceConnection&) = delete;

    // Configures the connection from Login.ini; opens nothing.
    void DataModuleCreate();

    // The orderly end: the query is closed (committing a running search),
    // then the connection detaches. A server that has gone is no error.
    void shutdown();

    const std::string& folder() const { return folder_; }
    // Read from Login.ini for completeness; the connection always uses 3050.
    int porta() const { return porta_; }

private:
    std::string folder_;
    int porta_ = 0;
    quelvo::ClientLibrary library_;

public:
    quelvo::Connection FDConnection1;
    quelvo::KnowledgeBaseQuery FDQuery1;
};

// The program's one instance, from start-up to the end.
extern TServiceConnection* ServiceConnection;
