# shellcheck shell=bash
# Shared helpers for the scripts in scripts/. Source it; do not run it.

QUELVO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck disable=SC2034 # used by the scripts that source this file
QUELVO_SCRIPTS="$QUELVO_ROOT/scripts"

# Fixed by the program: the demo and the tests use the same server login.
QUELVO_FB_HOST=127.0.0.1
QUELVO_FB_PORT=3050
QUELVO_FB_USER=SYSDBA
QUELVO_FB_PASSWORD=plumbgate

say() { printf '%s: %s\n' "${0##*/}" "$*"; }
warn() { printf '%s: warning: %s\n' "${0##*/}" "$*" >&2; }
die() {
    printf '%s: error: %s\n' "${0##*/}" "$*" >&2
    exit 1
}

is_root() { [ "$(id -u)" -eq 0 ]; }

can_be_root() { is_root || command -v sudo >/dev/null 2>&1; }

# Runs a command as root: directly when we are root, else through sudo.
as_root() {
    if is_root; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo -- "$@"
    else
        die "need root for: $*  (run as root, or install sudo)"
    fi
}

# Re-runs the calling script as root when it is not; keeps its arguments.
reexec_as_root() {
    is_root && return 0
    command -v sudo >/dev/null 2>&1 || die "must run as root (or with sudo available)"
    exec sudo -- "$0" "$@"
}

# Runs a command as the server's user, e.g. to ask whether it may open a path.
as_firebird() {
    if is_root; then
        runuser -u firebird -- "$@"
    else
        sudo -u firebird -- "$@"
    fi
}

# True when the server's user can search every directory down to DIR
# and write into DIR itself.
firebird_can_use_dir() {
    as_firebird test -d "$1" -a -w "$1" -a -x "$1" 2>/dev/null
}

# Lets the server's user reach and fill DIR: search rights on each parent,
# and write rights on DIR (group firebird, setgid, so its files stay shareable).
grant_dir_to_firebird() {
    local dir="$1" parent
    firebird_can_use_dir "$dir" && return 0
    parent="$(dirname "$dir")"
    while [ "$parent" != "/" ]; do
        if ! as_firebird test -x "$parent" 2>/dev/null; then
            say "giving others search (x) permission on $parent so the server can reach its databases"
            as_root chmod o+x "$parent"
        fi
        parent="$(dirname "$parent")"
    done
    if ! as_firebird test -w "$dir" -a -x "$dir" 2>/dev/null; then
        as_root chgrp firebird "$dir"
        as_root chmod g+rwxs "$dir"
    fi
    firebird_can_use_dir "$dir" || die "the server's user (firebird) still cannot write to $dir"
}

# isql-fb against the server over TCP with the program's login; SQL on stdin.
fb_isql() {
    isql-fb -q -b -ch UTF8 -user "$QUELVO_FB_USER" -password "$QUELVO_FB_PASSWORD" "$@"
}

# TCP attach name for a database file on the server's file system.
fb_attach_name() {
    printf '%s/%s:%s' "$QUELVO_FB_HOST" "$QUELVO_FB_PORT" "$1"
}

# Forgets the configuration of a build folder that was configured from
# another source folder (build-win/ once was, from tests/windows), so that
# the next cmake configures it afresh instead of failing.
forget_other_source() {
    local build="$1" cache="$1/CMakeCache.txt"
    [ -f "$cache" ] || return 0
    grep -qx "CMAKE_HOME_DIRECTORY:INTERNAL=$QUELVO_ROOT" "$cache" && return 0
    say "$build was configured from another source folder; configuring it afresh"
    rm -rf "$cache" "$build/CMakeFiles"
}
