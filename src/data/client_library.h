#pragma once

#include "data/client_api.h"

#include <string>
#include <vector>

namespace quelvo {

// One attempt to load a library file, for the error text when all fail.
struct LoadAttempt {
    std::string name;
    std::string systemText;          // the system's words for the failure
    bool wrongArchitecture = false;  // the file opened but is built for another architecture
};

// The text of error 314 (without the error prefix and number).
std::string cannotLoadText(const std::vector<LoadAttempt>& attempts);

// The Firebird client library, loaded on first use and kept until the end.
// A failed load leaves it unloaded, so the next use tries again.
class ClientLibrary {
public:
    explicit ClientLibrary(std::vector<std::string> names = defaultNames());
    ~ClientLibrary();
    ClientLibrary(const ClientLibrary&) = delete;
    ClientLibrary& operator=(const ClientLibrary&) = delete;

    static std::vector<std::string> defaultNames();
    // This program's own architecture, as the error texts name it.
    static const char* architecture();

    // Throws DataError 314 when no name loads, 315 when entry points are missing.
    void load();
    bool isLoaded() const { return handle_ != nullptr; }
    const ClientApi& api() const { return api_; }

    const std::string& loadedName() const { return loadedName_; }
    int majorVersion() const { return major_; }
    int minorVersion() const { return minor_; }
    bool isFirebird() const { return firebird_; }
    bool isEmbedded() const { return embedded_; }

    // Firebird 2.5 and later take attach names in UTF-8 (isc_dpb_utf8_filename).
    bool takesUtf8FileNames() const;
    // Before 2.0, or not Firebird at all: isc_interprete instead of fb_interpret.
    bool usesFbInterpret() const;

    // Unloads (calling fb_shutdown first for the embedded server).
    void unload();

private:
    void readVersion();

    std::vector<std::string> names_;
    void* handle_ = nullptr;
    ClientApi api_;
    std::string loadedName_;
    int major_ = 0;
    int minor_ = 0;
    bool firebird_ = false;
    bool embedded_ = false;
};

} // namespace quelvo
