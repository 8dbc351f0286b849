/*
 * fbclient.dll for tests under Wine: a winelib DLL that forwards the Firebird
 * client entry points the Windows program uses to the Linux client library
 * (libfbclient.so.2), so that Windows programs under Wine reach the real
 * Firebird server. Test fixture only; never installed or shipped.
 *
 * The program calls with the Windows x64 convention (ISC_EXPORT is __stdcall,
 * which winegcc turns into ms_abi); the Linux library takes the System V one.
 * Everything else passes through unchanged, because on 64-bit both sides lay
 * the data out alike: ISC_STATUS is 8 bytes, handles and ISC_LONG 4 bytes,
 * XSQLDA and the transaction elements the same.
 *
 * One thing is changed, and only in the attach name: under Wine the program's
 * folder is a DOS path such as Z:\tmp\x\, so it asks for
 * "host/3050:Z:\tmp\x\data\X.FDB", which a Linux server cannot open (it
 * takes "Z:" for a node name and answers "unavailable database"). The bridge
 * turns that DOS path into the Unix path Wine maps it to
 * ("host/3050:/tmp/x/data/X.FDB") and leaves the node name and every other
 * name alone. The program keeps sending the path it composes.
 *
 * With QUELVO_BRIDGE_LOG naming a Unix file, every attach appends a line:
 * the name as received, a tab, the name forwarded.
 */

#include <windows.h>

#include <ibase.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define LINUX_CLIENT "libfbclient.so.2"

/* The entry points passed straight on: return type, name, parameters,
 * arguments. isc_attach_database and isc_get_client_version (which returns
 * nothing) are written out below. */
#define BRIDGE_ENTRIES(X)                                                                              \
    X(ISC_STATUS, isc_database_info,                                                                   \
      (ISC_STATUS * status, isc_db_handle *db, short items_length, const ISC_SCHAR *items,             \
       short buffer_length, ISC_SCHAR *buffer),                                                        \
      (status, db, items_length, items, buffer_length, buffer))                                        \
    X(ISC_STATUS, isc_detach_database, (ISC_STATUS * status, isc_db_handle *db), (status, db))         \
    X(ISC_STATUS, isc_start_multiple,                                                                  \
      (ISC_STATUS * status, isc_tr_handle *tr, short count, void *teb), (status, tr, count, teb))      \
    X(ISC_STATUS, isc_commit_transaction, (ISC_STATUS * status, isc_tr_handle *tr), (status, tr))      \
    X(ISC_STATUS, isc_rollback_transaction, (ISC_STATUS * status, isc_tr_handle *tr), (status, tr))    \
    X(ISC_STATUS, isc_dsql_allocate_statement,                                                         \
      (ISC_STATUS * status, isc_db_handle *db, isc_stmt_handle *stmt), (status, db, stmt))             \
    X(ISC_STATUS, isc_dsql_prepare,                                                                    \
      (ISC_STATUS * status, isc_tr_handle *tr, isc_stmt_handle *stmt, unsigned short length,           \
       const ISC_SCHAR *sql, unsigned short dialect, XSQLDA *out),                                     \
      (status, tr, stmt, length, sql, dialect, out))                                                   \
    X(ISC_STATUS, isc_dsql_sql_info,                                                                   \
      (ISC_STATUS * status, isc_stmt_handle *stmt, short items_length, const ISC_SCHAR *items,         \
       short buffer_length, ISC_SCHAR *buffer),                                                        \
      (status, stmt, items_length, items, buffer_length, buffer))                                      \
    X(ISC_STATUS, isc_dsql_describe,                                                                   \
      (ISC_STATUS * status, isc_stmt_handle *stmt, unsigned short version, XSQLDA *da),                \
      (status, stmt, version, da))                                                                     \
    X(ISC_STATUS, isc_dsql_describe_bind,                                                              \
      (ISC_STATUS * status, isc_stmt_handle *stmt, unsigned short version, XSQLDA *da),                \
      (status, stmt, version, da))                                                                     \
    X(ISC_STATUS, isc_dsql_execute2,                                                                   \
      (ISC_STATUS * status, isc_tr_handle *tr, isc_stmt_handle *stmt, unsigned short version,          \
       const XSQLDA *in, const XSQLDA *out),                                                           \
      (status, tr, stmt, version, in, out))                                                            \
    X(ISC_STATUS, isc_dsql_fetch,                                                                      \
      (ISC_STATUS * status, isc_stmt_handle *stmt, unsigned short version, const XSQLDA *da),          \
      (status, stmt, version, da))                                                                     \
    X(ISC_STATUS, isc_dsql_free_statement,                                                             \
      (ISC_STATUS * status, isc_stmt_handle *stmt, unsigned short option), (status, stmt, option))     \
    X(ISC_LONG, fb_interpret, (ISC_SCHAR * buffer, unsigned int size, const ISC_STATUS **vector),      \
      (buffer, size, vector))                                                                          \
    X(ISC_LONG, isc_interprete, (ISC_SCHAR * buffer, ISC_STATUS **vector), (buffer, vector))         \
    X(int, isc_get_client_major_version, (void), ())                                                   \
    X(int, isc_get_client_minor_version, (void), ())                                                   \
    X(int, fb_shutdown, (unsigned int timeout, const int reason), (timeout, reason))

/* The Linux library's functions, with its own calling convention. */
#define DECLARE_POINTER(ret, name, params, args) static ret(__attribute__((sysv_abi)) * linux_##name) params;
BRIDGE_ENTRIES(DECLARE_POINTER)
DECLARE_POINTER(ISC_STATUS, isc_attach_database,
                (ISC_STATUS *, short, const ISC_SCHAR *, isc_db_handle *, short, const ISC_SCHAR *), ())
DECLARE_POINTER(void, isc_get_client_version, (ISC_SCHAR *), ())
#undef DECLARE_POINTER

/* The Windows-side definitions, checked by the compiler against ibase.h's
 * own declarations (isc_interprete is marked deprecated there). */
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#define FORWARD(ret, name, params, args) \
    ret ISC_EXPORT name params { return linux_##name args; }
BRIDGE_ENTRIES(FORWARD)
#undef FORWARD
#pragma GCC diagnostic pop

void ISC_EXPORT isc_get_client_version(ISC_SCHAR *buffer)
{
    linux_isc_get_client_version(buffer);
}

/* True when the parameter block asks for a UTF-8 attach name; otherwise the
 * name is in the ANSI code page. Version-1 blocks: tag, length byte, data. */
static BOOL dpb_wants_utf8(const ISC_SCHAR *dpb, short length)
{
    const unsigned char *p = (const unsigned char *)dpb;
    const unsigned char *end;
    if (!dpb || length < 1 || p[0] != isc_dpb_version1)
        return FALSE;
    end = p + length;
    for (p++; p + 2 <= end; p += 2 + p[1]) {
        if (p[0] == isc_dpb_utf8_filename)
            return TRUE;
    }
    return FALSE;
}

static BOOL is_dos_drive_path(const char *path, size_t length)
{
    return length >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

/* PATH (malloc'd) with its symbolic links resolved, when it exists. Wine
 * names paths on drive C: through the prefix's link dosdevices/c:, whose
 * colon a Firebird server would take for the end of a node name; the target
 * has none. */
static char *resolve_links(char *path)
{
    char *real;
    if (!path)
        return NULL;
    real = realpath(path, NULL);
    if (!real)
        return path;
    free(path);
    return real;
}

/* Wine's Unix name for a DOS path, links resolved. When a folder on the way
 * does not exist (a program folder without its data folder), Wine gives
 * none: then map the drive and append the rest, so the server reports the
 * missing file under its Unix name. Returns a malloc'd string, or NULL. */
static char *unix_path_of(const char *dos, size_t length, UINT code_page)
{
    WCHAR *wide;
    char *mapped, *result = NULL;
    int count = MultiByteToWideChar(code_page, 0, dos, (int)length, NULL, 0);
    if (count <= 0)
        return NULL;
    wide = calloc((size_t)count + 1, sizeof(WCHAR));
    if (!wide)
        return NULL;
    MultiByteToWideChar(code_page, 0, dos, (int)length, wide, count);

    mapped = wine_get_unix_file_name(wide);
    if (mapped) {
        result = resolve_links(strdup(mapped));
    } else {
        const WCHAR root[] = {wide[0], ':', '\\', 0};
        mapped = wine_get_unix_file_name(root);
        if (mapped) {
            /* The rest in the same code page as the Unix names (UTF-8 here). */
            char *drive = resolve_links(strdup(mapped));
            size_t root_length = drive ? strlen(drive) : 0;
            int rest_size = WideCharToMultiByte(CP_UTF8, 0, wide + 3, -1, NULL, 0, NULL, NULL);
            result = drive && rest_size > 0 ? malloc(root_length + 1 + (size_t)rest_size) : NULL;
            if (result) {
                char *rest;
                memcpy(result, drive, root_length);
                if (root_length == 0 || result[root_length - 1] != '/')
                    result[root_length++] = '/';
                rest = result + root_length;
                WideCharToMultiByte(CP_UTF8, 0, wide + 3, -1, rest, rest_size, NULL, NULL);
                for (; *rest; rest++)
                    if (*rest == '\\')
                        *rest = '/';
            }
            free(drive);
        }
    }
    if (mapped)
        HeapFree(GetProcessHeap(), 0, mapped);
    free(wide);
    return result;
}

/* The attach name for the Linux client: node part unchanged, a DOS drive path
 * after it replaced by its Unix path. Returns a malloc'd name, or NULL to
 * forward the name as received. */
static char *map_attach_name(const char *name, size_t length, BOOL utf8)
{
    const char *colon, *path;
    char *unix_path, *result;
    size_t node_length, path_length, unix_length;

    /* The node ends at the first ':' (after the ']' of an IPv6 literal), as
     * the client library splits it. */
    const char *search = name;
    if (length > 0 && name[0] == '[') {
        const char *bracket = memchr(name, ']', length);
        if (!bracket)
            return NULL;
        search = bracket;
    }
    colon = memchr(search, ':', length - (size_t)(search - name));
    if (!colon || colon == name)
        return NULL;
    node_length = (size_t)(colon - name);
    path = colon + 1;
    path_length = length - node_length - 1;
    if (!is_dos_drive_path(path, path_length))
        return NULL;

    unix_path = unix_path_of(path, path_length, utf8 ? CP_UTF8 : CP_ACP);
    if (!unix_path)
        return NULL;
    unix_length = strlen(unix_path);
    result = malloc(node_length + 1 + unix_length + 1);
    if (result) {
        memcpy(result, name, node_length + 1);
        memcpy(result + node_length + 1, unix_path, unix_length + 1);
    }
    free(unix_path);
    return result;
}

static void log_attach(const char *received, size_t received_length, const char *forwarded, size_t forwarded_length)
{
    const char *file = getenv("QUELVO_BRIDGE_LOG");
    char *line;
    size_t size = received_length + 1 + forwarded_length + 1;
    int fd;
    if (!file || !*file)
        return;
    line = malloc(size);
    if (!line)
        return;
    memcpy(line, received, received_length);
    line[received_length] = '\t';
    memcpy(line + received_length + 1, forwarded, forwarded_length);
    line[size - 1] = '\n';
    /* One write per line, so lines from several processes do not mix. */
    fd = open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
        if (write(fd, line, size) != (ssize_t)size)
            fprintf(stderr, "fbclient bridge: could not write to %s\n", file);
        close(fd);
    } else {
        fprintf(stderr, "fbclient bridge: could not open %s\n", file);
    }
    free(line);
}

ISC_STATUS ISC_EXPORT isc_attach_database(ISC_STATUS *status, short name_length, const ISC_SCHAR *name,
                                          isc_db_handle *db, short dpb_length, const ISC_SCHAR *dpb)
{
    /* Length 0 means a NUL-terminated name, as in the client library. */
    size_t length = name ? (name_length > 0 ? (size_t)name_length : strlen(name)) : 0;
    char *mapped = name && name_length >= 0 ? map_attach_name(name, length, dpb_wants_utf8(dpb, dpb_length)) : NULL;
    ISC_STATUS result;

    if (mapped && strlen(mapped) > SHRT_MAX) {
        free(mapped);
        mapped = NULL;
    }
    if (name)
        log_attach(name, length, mapped ? mapped : name, mapped ? strlen(mapped) : length);
    if (!mapped)
        return linux_isc_attach_database(status, name_length, name, db, dpb_length, dpb);
    result = linux_isc_attach_database(status, (short)strlen(mapped), mapped, db, dpb_length, dpb);
    free(mapped);
    return result;
}

/* Loads the Linux client when the program loads this DLL; without it (or
 * with an entry point missing) the load fails, as it would on Windows with a
 * broken client. */
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void *reserved)
{
    void *library;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    DisableThreadLibraryCalls(instance);
    library = dlopen(LINUX_CLIENT, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "fbclient bridge: cannot load %s: %s\n", LINUX_CLIENT, dlerror());
        return FALSE;
    }
#define LOOK_UP(ret, name, params, args)                                                          \
    if (!(*(void **)&linux_##name = dlsym(library, #name))) {                                     \
        fprintf(stderr, "fbclient bridge: %s lacks %s\n", LINUX_CLIENT, #name);                   \
        return FALSE;                                                                             \
    }
    BRIDGE_ENTRIES(LOOK_UP)
    LOOK_UP(, isc_attach_database, , )
    LOOK_UP(, isc_get_client_version, , )
#undef LOOK_UP
    /* The Linux library stays loaded to the end of the process: its own exit
     * handlers run then, and unloading it earlier would leave them dangling. */
    return TRUE;
}
