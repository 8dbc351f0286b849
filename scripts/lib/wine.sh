# shellcheck shell=bash
# Wine for the Windows build: a private headless prefix per build folder, one
# wineserver per run, a virtual screen, and the test-only fbclient.dll bridge
# to the Linux Firebird client. Source it (it sources common.sh); call the
# functions directly, not in $( ), since they export variables.
#
#   wine_env BUILD           export the Wine environment for BUILD's prefix
#   wine_prefix BUILD        wine_env, then create and set up BUILD/wineprefix
#                            (Windows 10, Tahoma and Marlett, Wine drawing its
#                            own frames); only what is missing is done
#   wine_server_start        one persistent wineserver for the run
#   wine_server_stop         end it (and the prefix's programs), if ours
#   wine_xvfb_start [:N]     an Xvfb on :N, or on a free display; exports DISPLAY
#   wine_xvfb_stop           end the Xvfb that wine_xvfb_start started
#   wine_build_bridge BUILD [DIR...]
#                            BUILD/fbclient-bridge/fbclient.dll (QUELVO_BRIDGE_DLL),
#                            rebuilt only when its sources change, copied into
#                            each DIR
#   wine_configure [--always] BUILD [CMAKE_ARGS...]
#                            configure BUILD as an x64 Windows build when it has
#                            no CMakeCache.txt (with --always, every time)
#   wine_check_programs BUILD OBJDUMP FORMAT
#                            BUILD/bin's Quelvo.exe and quelvo-search.exe are
#                            FORMAT images importing system DLLs only
#   wine_check_no_client HINT COMMAND...
#                            COMMAND (quelvo-search.exe) fails with error 314
#   wine_search_for WINDOW TEXT DELAY, wine_search_click_row WINDOW N
#                            drive the Windows search window with xdotool
#   step_done TEXT           say TEXT with the seconds since the last step

# shellcheck source-path=SCRIPTDIR source=common.sh
[ -n "${QUELVO_ROOT:-}" ] || . "$(dirname "${BASH_SOURCE[0]}")/common.sh"

QUELVO_WINE_FONTS=/usr/share/wine/fonts
QUELVO_BRIDGE_SOURCE="$QUELVO_ROOT/tests/wine/fbclient-bridge"
QUELVO_XVFB_PID=""
QUELVO_WINESERVER_OURS=0
QUELVO_BRIDGE_DLL=""
QUELVO_STEP_STARTED=$SECONDS

step_done() {
    say "$1 in $((SECONDS - QUELVO_STEP_STARTED)) s"
    QUELVO_STEP_STARTED=$SECONDS
}

# Wine's settings for this build folder: its own prefix, no debug output, no
# Mono or Gecko installers, no desktop menu entries, UTF-8 Unix names.
wine_env() {
    local build="$1"
    [ -n "$build" ] || die "wine_env: no build folder given"
    mkdir -p "$build"
    build="$(cd "$build" && pwd -P)"
    export WINEPREFIX="$build/wineprefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
    export LANG=C.UTF-8
    unset LC_ALL
}

# True when the registry file FILE has, under [KEY], a line equal to LINE.
# KEY and LINE are written as in the file (backslashes doubled).
wine_reg_has() {
    local file="$1" key="$2" line="$3"
    [ -f "$file" ] || return 1
    QUELVO_REG_KEY="[$key]" QUELVO_REG_LINE="$line" awk '
        BEGIN { key = ENVIRON["QUELVO_REG_KEY"]; line = ENVIRON["QUELVO_REG_LINE"] }
        /^\[/ { inside = (substr($0, 1, length(key)) == key && substr($0, length(key) + 1, 1) == " "); next }
        inside && $0 == line { found = 1; exit }
        END { exit !found }' "$file"
}

# Wine commands that set the prefix up run without a screen, so that no
# dialog appears on one.
wine_quietly() {
    env -u DISPLAY -u WAYLAND_DISPLAY "$@" </dev/null >/dev/null 2>&1
}

wine_prefix() {
    local build="$1" lock_fd font started=$SECONDS ran_wine=0
    wine_env "$build"
    command -v wine >/dev/null 2>&1 || die "wine is missing; run scripts/setup-deps"
    # Two scripts setting up the same prefix at once would both run wineboot.
    # The lock ends with the process when a step dies.
    exec {lock_fd}>"$(dirname "$WINEPREFIX")/.wineprefix.lock"
    flock "$lock_fd"

    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        say "creating the Wine prefix $WINEPREFIX"
        wine_quietly wineboot -i || die "wineboot failed for $WINEPREFIX"
        ran_wine=1
    fi
    # Wine's default is Windows 7; a manifest then decides what a program is told.
    if ! wine_reg_has "$WINEPREFIX/system.reg" 'Software\\Microsoft\\Windows NT\\CurrentVersion' \
        '"CurrentMajorVersionNumber"=dword:0000000a'; then
        wine_quietly wine winecfg /v win10 || die "cannot set $WINEPREFIX to Windows 10"
        ran_wine=1
    fi
    # Debian's Wine does not use fonts-wine by itself: without these, Tahoma
    # and "MS Shell Dlg" come out as another face, and the caption buttons
    # Wine draws itself (a message box's close button) show letters instead
    # of Marlett's symbols.
    for font in "$QUELVO_WINE_FONTS"/tahoma.ttf "$QUELVO_WINE_FONTS"/tahomabd.ttf "$QUELVO_WINE_FONTS"/marlett.ttf; do
        [ -f "$font" ] || die "no $font; run scripts/setup-deps (fonts-wine)"
        if ! cmp -s "$font" "$WINEPREFIX/drive_c/windows/Fonts/${font##*/}"; then
            cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
        fi
    done
    # With no window manager, Wine draws the frame and sizing edges itself.
    if ! wine_reg_has "$WINEPREFIX/user.reg" 'Software\\Wine\\X11 Driver' '"Managed"="N"'; then
        wine_quietly wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f ||
            die "cannot set the X11 driver's Managed value in $WINEPREFIX"
        ran_wine=1
    fi
    # The wineserver writes the registry files when it ends (3 s after its
    # last program); wait for that, so the next call finds the settings there.
    if [ "$ran_wine" -eq 1 ]; then
        timeout 20 wineserver -w </dev/null >/dev/null 2>&1 || true
    fi
    exec {lock_fd}>&-
    if [ $((SECONDS - started)) -gt 1 ]; then
        say "Wine prefix ready in $((SECONDS - started)) s"
    fi
}

# Keeps one wineserver for the whole run, so each program starts quickly.
# Started with no terminal attached, so it holds no caller's output open.
# A server that already runs for the prefix (another run's) is used as it is
# and left alone at the end.
wine_server_start() {
    [ -n "${WINEPREFIX:-}" ] || die "wine_server_start: call wine_env or wine_prefix first"
    QUELVO_WINESERVER_OURS=0
    if ! wineserver -p </dev/null >/dev/null 2>&1; then
        # Most often the server of the set-up commands, which ends 3 s after them.
        timeout 10 wineserver -w </dev/null >/dev/null 2>&1 || true
        if ! wineserver -p </dev/null >/dev/null 2>&1; then
            warn "a wineserver of another run serves $WINEPREFIX; using it and leaving it running"
            return 0
        fi
    fi
    QUELVO_WINESERVER_OURS=1
    # The first program starts Wine's background services, which keep its
    # standard error for the rest of the run: a caller reading a program's
    # output through a pipe (ctest) would then wait for them. Start them here.
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}

wine_server_stop() {
    [ "$QUELVO_WINESERVER_OURS" -eq 1 ] || return 0
    wineserver -k </dev/null >/dev/null 2>&1 || true
    QUELVO_WINESERVER_OURS=0
}

# An Xvfb with no window manager (Wine then draws the frames itself). With a
# display given, an X server that already answers there is used as it is.
# Sets QUELVO_XVFB_PID when it started one, and exports DISPLAY.
wine_xvfb_start() {
    local want="${1:-}" log number_file="" pid i number=""
    QUELVO_XVFB_PID=""
    command -v Xvfb >/dev/null 2>&1 || die "Xvfb is missing; run scripts/setup-deps"
    if [ -n "$want" ] && xdpyinfo -display "$want" >/dev/null 2>&1; then
        export DISPLAY="$want"
        return 0
    fi
    log="$(mktemp /tmp/quelvo-xvfb.XXXXXX)"
    if [ -n "$want" ]; then
        setsid Xvfb "$want" -screen 0 1920x1080x24 -nolisten tcp </dev/null >"$log" 2>&1 &
        pid=$!
        number="${want#:}"
    else
        # Xvfb picks a free display and writes its number to fd 3 once ready.
        number_file="$log.display"
        setsid Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$number_file" </dev/null >"$log" 2>&1 &
        pid=$!
    fi
    for ((i = 0; i < 100; i++)); do
        if [ -z "$number" ] && [ -s "$number_file" ]; then
            number="$(tr -dc '0-9' <"$number_file")"
        fi
        if [ -n "$number" ] && xdpyinfo -display ":$number" >/dev/null 2>&1; then
            break
        fi
        kill -0 "$pid" 2>/dev/null || die "Xvfb did not start: $(tail -n 3 "$log")"
        sleep 0.1
    done
    [ -z "$number_file" ] || rm -f "$number_file"
    xdpyinfo -display ":$number" >/dev/null 2>&1 || {
        kill "$pid" 2>/dev/null
        die "Xvfb did not answer; see $log"
    }
    rm -f "$log"
    QUELVO_XVFB_PID=$pid
    export DISPLAY=":$number"
}

wine_xvfb_stop() {
    local i
    [ -n "$QUELVO_XVFB_PID" ] || return 0
    kill "$QUELVO_XVFB_PID" 2>/dev/null || true
    for ((i = 0; i < 50; i++)); do
        kill -0 "$QUELVO_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    QUELVO_XVFB_PID=""
}

# Builds the bridge once per build folder, as BUILD/fbclient-bridge/fbclient.dll:
# a winelib DLL (an ELF object under a DLL's name), which Wine loads when it
# lies beside the program. The stamp beside it holds a hash of the sources
# and of the build command, so an unchanged bridge is not rebuilt. Then
# copies it into each DIR; sets QUELVO_BRIDGE_DLL to the built one.
wine_build_bridge() {
    local build="$1" cache stamp want tmp dir
    # The export table goes straight to winebuild, which would otherwise name
    # the module after that file.
    local flags=(-shared -O2 -Wall -Wextra -Werror -fvisibility=hidden
        "-Wb,--export=$QUELVO_BRIDGE_SOURCE/fbclient.exports,--filename=fbclient.dll")
    [ -n "$build" ] || die "wine_build_bridge: no build folder given"
    shift
    command -v winegcc >/dev/null 2>&1 || die "winegcc is missing; run scripts/setup-deps (wine64-tools)"
    cache="$build/fbclient-bridge"
    mkdir -p "$cache"
    QUELVO_BRIDGE_DLL="$cache/fbclient.dll"
    stamp="$cache/.fbclient-bridge.stamp"
    want="$(cat "$QUELVO_BRIDGE_SOURCE/bridge.c" "$QUELVO_BRIDGE_SOURCE/fbclient.exports" |
        { cat; printf '%s\n' "${flags[*]}" "$(winegcc --version 2>&1 | head -n 1)"; } | sha256sum)"
    want="${want%% *}"
    if [ ! -f "$QUELVO_BRIDGE_DLL" ] || [ ! -f "$stamp" ] ||
        [ "$(cat "$stamp")" != "$want $(sha256sum <"$QUELVO_BRIDGE_DLL" | cut -d' ' -f1)" ]; then
        tmp="$(mktemp -d "$cache/.fbclient-bridge.XXXXXX")"
        # winegcc names its output fbclient.dll.so; Wine wants the DLL's name.
        if ! winegcc "${flags[@]}" -o "$tmp/fbclient.dll" \
            "$QUELVO_BRIDGE_SOURCE/bridge.c" -ldl >"$tmp/build.log" 2>&1; then
            cat "$tmp/build.log" >&2
            rm -rf "$tmp"
            die "building the fbclient bridge failed"
        fi
        mv -f "$tmp/fbclient.dll.so" "$QUELVO_BRIDGE_DLL"
        rm -rf "$tmp"
        printf '%s %s\n' "$want" "$(sha256sum <"$QUELVO_BRIDGE_DLL" | cut -d' ' -f1)" >"$stamp"
        say "built the fbclient bridge into $QUELVO_BRIDGE_DLL"
    fi
    # Replaced by a rename, not rewritten: a program may have the old one loaded.
    for dir in "$@"; do
        mkdir -p "$dir"
        cmp -s "$QUELVO_BRIDGE_DLL" "$dir/fbclient.dll" && continue
        cp "$QUELVO_BRIDGE_DLL" "$dir/.fbclient.dll.$$"
        mv -f "$dir/.fbclient.dll.$$" "$dir/fbclient.dll"
    done
}

# Configures BUILD from this source tree as an x64 Windows build (after
# forgetting another source folder's configuration) when it has no cache;
# with --always also when it has one. CMAKE_ARGS are passed on.
wine_configure() {
    local always=0 build
    if [ "${1:-}" = --always ]; then
        always=1
        shift
    fi
    build="${1:-}"
    [ -n "$build" ] || die "wine_configure: no build folder given"
    shift
    forget_other_source "$build"
    if [ ! -f "$build/CMakeCache.txt" ]; then
        say "configuring the x64 Windows build in $build"
    elif [ "$always" -eq 0 ]; then
        return 0
    fi
    cmake -S "$QUELVO_ROOT" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$QUELVO_ROOT/cmake/mingw-w64.cmake" "$@" >/dev/null ||
        die "configuring the Windows build failed"
}

# Quelvo.exe and quelvo-search.exe in BUILD/bin are images of FORMAT
# (objdump's name), Quelvo.exe a window program, and they import system DLLs
# only: nothing is shipped beside them but the Firebird client, which they
# load at run time. Dies otherwise.
wine_check_programs() {
    local bin="$1/bin" objdump="$2" format="$3" program headers imports others
    local system_dlls='^(kernel32|user32|gdi32|comctl32|msimg32|msvcrt|shell32|advapi32|version)\.dll$'
    for program in Quelvo.exe quelvo-search.exe; do
        # Whole outputs first: grep -q ending a pipe early would fail it (pipefail).
        headers="$("$objdump" -p "$bin/$program")" || die "$objdump cannot read $bin/$program"
        grep -q "file format $format\$" <<<"$headers" || die "$program is not a Windows image of format $format"
        imports="$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]')"
        others="$(grep -Ev "$system_dlls" <<<"$imports" || true)"
        [ -z "$others" ] || die "$program imports more than system DLLs: $others"
        say "ok: $program is $format and imports system DLLs only: $(tr '\n' ' ' <<<"$imports")"
        if [ "$program" = Quelvo.exe ]; then
            grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || die "Quelvo.exe is not a window program"
            say "ok: Quelvo.exe is a window program"
        fi
    done
}

# Runs COMMAND (quelvo-search.exe under some Wine) in an empty folder, as a
# user without a client library meets it: exit code 1, nothing on standard
# output, error 314 on standard error and, unless HINT is empty, a line
# matching HINT (grep's basic expression) too. Shows what went wrong and
# returns 1 otherwise.
wine_check_no_client() {
    local hint="$1" folder search_rc=0 result=0 hint_line=""
    shift
    folder="$(mktemp -d)"
    (cd "$folder" && "$@" >"$folder/out" 2>"$folder/err" </dev/null) || search_rc=$?
    [ -z "$hint" ] || hint_line="$(grep -m 1 "$hint" "$folder/err" || true)"
    if [ "$search_rc" -eq 1 ] && [ ! -s "$folder/out" ] &&
        grep -q '^\[FireDAC\]\[Phys\]\[FB\]-314\. Cannot load vendor library \[fbclient\.dll or fbembed\.dll\]\. ' "$folder/err" &&
        { [ -z "$hint" ] || [ -n "$hint_line" ]; }; then
        say "ok: error 314 on standard error${hint_line:+ ($hint_line)}, exit code 1"
    else
        printf 'exit code %s, standard error:\n' "$search_rc" >&2
        cat "$folder/err" >&2
        result=1
    fi
    rm -rf "$folder"
    return "$result"
}

# The Windows search window under Wine without a window manager: a client
# area 751 pixels wide inside Wine's sizing frame and static edge. Sets
# QUELVO_SEARCH_LEFT and QUELVO_SEARCH_TOP to the client area's corner.
wine_search_window_origin() {
    # shellcheck disable=SC2034 # all set by the eval, some unused
    local X Y WIDTH HEIGHT SCREEN WINDOW frame
    eval "$(xdotool getwindowgeometry --shell "$1")"
    frame=$(((WIDTH - 751) / 2))
    QUELVO_SEARCH_LEFT=$((X + frame))
    QUELVO_SEARCH_TOP=$((Y + frame))
}

# Types TEXT into the search box of the search window WINDOW, DELAY ms a key,
# and clicks the magnifier.
wine_search_for() {
    wine_search_window_origin "$1"
    xdotool mousemove $((QUELVO_SEARCH_LEFT + 200)) $((QUELVO_SEARCH_TOP + 24 + 15 + 17)) click 1
    xdotool type --delay "$3" "$2"
    xdotool mousemove $((QUELVO_SEARCH_LEFT + 751 - 15 - 28)) $((QUELVO_SEARCH_TOP + 24 + 15 + 17)) click 1
}

# Clicks the problem of row N (from 1) in the grid of the search window WINDOW.
wine_search_click_row() {
    wine_search_window_origin "$1"
    xdotool mousemove $((QUELVO_SEARCH_LEFT + 200)) \
        $((QUELVO_SEARCH_TOP + 24 + 79 + 2 + 19 + ($2 - 1) * 18 + 9)) click 1
}
