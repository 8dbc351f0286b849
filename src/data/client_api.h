#pragma once

// The entry points of the Firebird client library that the program calls,
// typed from the library's own declarations.
#include <ibase.h>

namespace quelvo {

struct ClientApi {
#define QUELVO_ENTRY(name) decltype(&::name) name = nullptr;
    QUELVO_ENTRY(isc_attach_database)
    QUELVO_ENTRY(isc_database_info)
    QUELVO_ENTRY(isc_detach_database)
    QUELVO_ENTRY(isc_start_multiple)
    QUELVO_ENTRY(isc_commit_transaction)
    QUELVO_ENTRY(isc_rollback_transaction)
    QUELVO_ENTRY(isc_dsql_allocate_statement)
    QUELVO_ENTRY(isc_dsql_prepare)
    QUELVO_ENTRY(isc_dsql_sql_info)
    QUELVO_ENTRY(isc_dsql_describe)
    QUELVO_ENTRY(isc_dsql_describe_bind)
    QUELVO_ENTRY(isc_dsql_execute2)
    QUELVO_ENTRY(isc_dsql_fetch)
    QUELVO_ENTRY(isc_dsql_free_statement)
    // Optional: an old or foreign library may lack these.
    QUELVO_ENTRY(fb_interpret)
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    QUELVO_ENTRY(isc_interprete) // for libraries older than 2.0
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    QUELVO_ENTRY(isc_get_client_version)
    QUELVO_ENTRY(isc_get_client_major_version)
    QUELVO_ENTRY(isc_get_client_minor_version)
    QUELVO_ENTRY(fb_shutdown)
#undef QUELVO_ENTRY
};

} // namespace quelvo
