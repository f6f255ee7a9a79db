#!/usr/bin/env bash
# Counts the window-server requests of a benchmark's operations.  The program
# runs once under a wineserver that traces every request (wineserver -f -d1)
# and marks each measurement by opening the named events
# "GlimBench:<label>:<times>" before it and "GlimBench:end" after it (see
# RequestMarks.h).  Printed per label: the requests its own process made
# between the two marks, divided by <times>.  Other processes (the desktop,
# services) are left out, except in a measurement marked
# "GlimBench:<label>:1:started": that one counts the requests of the programs
# its process started (and theirs), and not its own.
#
#   tests/bench/count_requests.sh build/x86_64/bin/frame_bench.exe --requests
#
# GLIM_ARCH (x86_64 unless set) picks the loader; the prefix is
# <build>/<arch>/bench-prefix (GLIM_BUILD_DIR as for test.sh), made on first
# use, on a screen of its own.  GLIM_TRACE_KEEP=1 keeps the trace there.
set -uo pipefail
[ $# -ge 1 ] || { echo "usage: $0 program.exe [arguments]" >&2; exit 2; }
program="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
shift
cd "$(dirname "$0")/../.." || exit 1
. tools/env.sh
trap glim_cleanup EXIT
trap 'exit 130' INT TERM

GLIM_ARCH="${GLIM_ARCH:-x86_64}"
if [ "$GLIM_ARCH" = i686 ]; then glim_enable_i386 >/dev/null; fi
glim_start_display
prefix="$PWD/${GLIM_BUILD_DIR:-build}/$GLIM_ARCH/bench-prefix"
# Made (or brought up to date) with an ordinary server, which then makes way.
glim_start_wine "$prefix" keep
glim_stop_wine

trace="$prefix/requests.trace"
"$(glim_wineserver)" -f -d1 2>"$trace" &
server=$!
GLIM_STARTED_WINESERVER=1
# The server is up once its socket is; the desktop comes before the program.
socket="/tmp/.wine-$(id -u)/server-$(stat -c '%D' "$prefix" | sed 's/^0*//')-$(printf '%x' "$(stat -c '%i' "$prefix")")/socket"
for _ in $(seq 1 100); do
    [ -S "$socket" ] && break
    sleep 0.1
done
glim_start_desktop_keeper "$prefix"

"$WINELOADER" "$program" "$@"
status=$?
glim_stop_wine
wait "$server"

# Request lines read "<thread>: <request>( <arguments> )"; replies read
# "<thread>: <request>() = <status> ...".  A thread belongs to the process
# whose first thread or whose new_thread request made it.
awk '
    function owner(t) { return (t in pid) ? pid[t] : "" }
    function started(p,    depth) {
        for (depth = 0; depth < 16 && (p in parent); ++depth)
            if ((p = parent[p]) == proc) return 1
        return 0
    }
    {
        split($0, head, ": ")
        t = head[1]
        if (t !~ /^[0-9a-f]+$/) next
        rest = substr($0, length(t) + 3)
        reply = rest ~ /^[a-z_0-9]+\(\) = /
        request = !reply && rest ~ /^[a-z_0-9]+\( /
        if (reply && rest ~ /^init_first_thread\(\)/ && match(rest, /pid=[0-9a-f]+/))
            pid[t] = substr(rest, RSTART + 4, RLENGTH - 4)
        if (request && rest ~ /^new_thread\( process=(ffffffff|FFFFFFFF)/) creator[t] = 1
        if (reply && rest ~ /^new_thread\(\)/ && creator[t] && match(rest, /tid=[0-9a-f]+/)) {
            pid[substr(rest, RSTART + 4, RLENGTH - 4)] = owner(t)
            creator[t] = 0
        }
        if (reply && rest ~ /^new_process\(\) = 0 / && match(rest, /pid=[0-9a-f]+/))
            parent[substr(rest, RSTART + 4, RLENGTH - 4)] = owner(t)
        if (!request) next
        if (rest ~ /^open_event\(/ && match(rest, /name=L"GlimBench:[^"]*"/)) {
            mark = substr(rest, RSTART + 17, RLENGTH - 18)
            if (mark == "end") {
                if (label != "") printf "  %-32s %8.1f requests\n", label, count / times
                label = ""
            } else {
                n = split(mark, part, ":")
                children = part[n] == "started"
                if (children) --n
                label = part[1]; times = part[n] + 0; proc = owner(t); count = 0
            }
            next
        }
        if (label != "" && (children ? started(owner(t)) : owner(t) == proc)) ++count
    }
' "$trace"
if [ -z "${GLIM_TRACE_KEEP:-}" ]; then rm -f "$trace"; fi
exit $status
