#include "data/client_library.h"

#include "data/data_error.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include "core/utf.h"
#else
#include <dlfcn.h>
#endif

namespace quelvo {

namespace {

constexpr const char* LineBreak = "\r\n";

std::string joinNames(const std::vector<LoadAttempt>& attempts)
{
    std::string names;
    for (std::size_t i = 0; i < attempts.size(); ++i) {
        if (i > 0)
            names += (i + 1 == attempts.size()) ? " or " : ", ";
        names += attempts[i].name;
    }
    return names;
}

const char* otherArchitecture()
{
    return std::strcmp(ClientLibrary::architecture(), "x64") == 0 ? "x86" : "x64";
}

bool containsNoCase(const std::string& text, const std::string& word)
{
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    return lower(text).find(lower(word)) != std::string::npos;
}

#ifdef _WIN32

void* openLibrary(const std::string& name, LoadAttempt& attempt)
{
    // No "file not found" or "bad image" boxes from the system while we try
    // names; the program's own error tells the user.
    const UINT previous = GetErrorMode();
    SetErrorMode(previous | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const std::u16string wide = fromUtf8(name);
    HMODULE module = LoadLibraryW(reinterpret_cast<const wchar_t*>(wide.c_str()));
    const DWORD error = module ? 0 : GetLastError();
    SetErrorMode(previous);
    if (module)
        return module;
    attempt.wrongArchitecture = error == ERROR_BAD_EXE_FORMAT;
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (text) {
        std::u16string systemText(reinterpret_cast<const char16_t*>(text));
        LocalFree(text);
        // The message table ends its texts with a line break, which is layout,
        // not text: "...could not be found.\r\n".
        while (!systemText.empty() && (systemText.back() == u'\r' || systemText.back() == u'\n' ||
                                       systemText.back() == u' ' || systemText.back() == u'\t'))
            systemText.pop_back();
        attempt.systemText = toUtf8(systemText);
    }
    return nullptr;
}

void* symbol(void* handle, const char* name)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void closeLibrary(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }

#else

#ifdef QUELVO_SANITIZED
// LeakSanitizer (LLVM 14) crashes in its leak check at exit when a library
// with thread-local storage, as the client is, was unloaded before: it reads
// the storage's stale record. Under the sanitizers the client stays mapped.
constexpr int KeepMapped = RTLD_NODELETE;
#else
constexpr int KeepMapped = 0;
#endif

void* openLibrary(const std::string& name, LoadAttempt& attempt)
{
    void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL | KeepMapped);
    if (handle)
        return handle;
    const char* text = dlerror();
    attempt.systemText = text ? text : "";
    attempt.wrongArchitecture = attempt.systemText.find("wrong ELF class") != std::string::npos;
    return nullptr;
}

void* symbol(void* handle, const char* name) { return dlsym(handle, name); }

void closeLibrary(void* handle) { dlclose(handle); }

#endif

} // namespace

std::string cannotLoadText(const std::vector<LoadAttempt>& attempts)
{
    std::string detail;
    for (const LoadAttempt& a : attempts) {
        if (a.wrongArchitecture)
            detail += a.name + " has unsupported architecture [" + otherArchitecture() + "]. Required [" +
                      ClientLibrary::architecture() + "]." + LineBreak;
    }
    std::string system = attempts.empty() ? std::string() : attempts.back().systemText;
    while (!system.empty() && (system.back() == ' ' || system.back() == '.'))
        system.pop_back();
    detail += system;
    const bool endsInBreak = !system.empty() && (system.back() == '\n' || system.back() == '\r');
    if (!endsInBreak)
        detail += LineBreak;
    return "Cannot load vendor library [" + joinNames(attempts) + "]. " + detail +
           "Hint: check it is in the PATH or application EXE directories, and has " + ClientLibrary::architecture() +
           " bitness.";
}

ClientLibrary::ClientLibrary(std::vector<std::string> names) : names_(std::move(names)) {}

ClientLibrary::~ClientLibrary() { unload(); }

std::vector<std::string> ClientLibrary::defaultNames()
{
#ifdef _WIN32
    return {"fbclient.dll", "fbembed.dll"};
#else
    return {"libfbclient.so.2", "libfbclient.so"};
#endif
}

const char* ClientLibrary::architecture()
{
    return sizeof(void*) == 8 ? "x64" : "x86";
}

void ClientLibrary::load()
{
    if (handle_)
        return;
    std::vector<LoadAttempt> attempts;
    void* handle = nullptr;
    for (const std::string& name : names_) {
        attempts.push_back({name, {}, false});
        handle = openLibrary(name, attempts.back());
        if (handle)
            break;
    }
    if (!handle)
        throw DataError::detected(ErrorNumber::CannotLoadLibrary, cannotLoadText(attempts));

    ClientApi api;
    std::string missing;
    auto bind = [&](auto& entry, const char* name, bool required) {
        entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(symbol(handle, name));
        if (!entry && required)
            missing += (missing.empty() ? "" : LineBreak) + std::string(name);
    };
#define QUELVO_BIND(name, required) bind(api.name, #name, required);
    QUELVO_BIND(isc_attach_database, true)
    QUELVO_BIND(isc_database_info, true)
    QUELVO_BIND(isc_detach_database, true)
    QUELVO_BIND(isc_start_multiple, true)
    QUELVO_BIND(isc_commit_transaction, true)
    QUELVO_BIND(isc_rollback_transaction, true)
    QUELVO_BIND(isc_dsql_allocate_statement, true)
    QUELVO_BIND(isc_dsql_prepare, true)
    QUELVO_BIND(isc_dsql_sql_info, true)
    QUELVO_BIND(isc_dsql_describe, true)
    QUELVO_BIND(isc_dsql_describe_bind, true)
    QUELVO_BIND(isc_dsql_execute2, true)
    QUELVO_BIND(isc_dsql_fetch, true)
    QUELVO_BIND(isc_dsql_free_statement, true)
    QUELVO_BIND(fb_interpret, false)
    QUELVO_BIND(isc_interprete, false)
    QUELVO_BIND(isc_get_client_version, false)
    QUELVO_BIND(isc_get_client_major_version, false)
    QUELVO_BIND(isc_get_client_minor_version, false)
    QUELVO_BIND(fb_shutdown, false)
#undef QUELVO_BIND
    if (!api.fb_interpret && !api.isc_interprete)
        missing += (missing.empty() ? "" : LineBreak) + std::string("fb_interpret");
    if (!missing.empty()) {
        closeLibrary(handle);
        throw DataError::detected(ErrorNumber::MissingEntryPoints,
                                  "Cannot get vendor library entry point[s]. [" + missing + "]");
    }

    handle_ = handle;
    api_ = api;
    loadedName_ = attempts.back().name;
    embedded_ = containsNoCase(loadedName_, "embed");
    readVersion();
}

void ClientLibrary::readVersion()
{
    major_ = minor_ = 0;
    firebird_ = false;
    if (api_.isc_get_client_version) {
        char text[256] = {};
        api_.isc_get_client_version(text);
        text[sizeof text - 1] = '\0';
        firebird_ = containsNoCase(text, "firebird");
    }
    if (api_.isc_get_client_major_version)
        major_ = api_.isc_get_client_major_version();
    if (api_.isc_get_client_minor_version)
        minor_ = api_.isc_get_client_minor_version();
}

bool ClientLibrary::takesUtf8FileNames() const
{
    return firebird_ && (major_ > 2 || (major_ == 2 && minor_ >= 5));
}

bool ClientLibrary::usesFbInterpret() const
{
    if (!api_.fb_interpret)
        return false;
    return !api_.isc_interprete || (firebird_ && major_ >= 2);
}

void ClientLibrary::unload()
{
    if (!handle_)
        return;
    if (embedded_ && api_.fb_shutdown)
        api_.fb_shutdown(10000, 1);
    closeLibrary(handle_);
    handle_ = nullptr;
    api_ = ClientApi{};
}

} // namespace quelvo
