#!/usr/bin/env bash
# Installs what is missing, builds GlimForm.dll and Versolo.exe, registers the
# control library in a Wine prefix kept under build/ and starts Versolo.
set -uo pipefail
cd "$(dirname "$0")" || exit 1
. tools/env.sh
trap glim_cleanup EXIT
trap 'exit 130' INT TERM

glim_install_deps
glim_pick_arch
dir="${GLIM_BUILD_DIR:-build}"
if [ -z "${DISPLAY:-}" ]; then
    echo "== no DISPLAY: starting a virtual screen (nothing will be visible)"
    glim_start_display
fi
# The build runs its generators under Wine, in the same kept prefix.
glim_start_wine "$PWD/$dir/$GLIM_ARCH/runprefix" keep
glim_configure_build "$GLIM_ARCH" "$dir/$GLIM_ARCH" -DGLIM_BUILD_TESTS=OFF
bin="$PWD/$dir/$GLIM_ARCH/bin"

if [ ! -f "$bin/GlimForm.dll" ]; then
    glim_die "GlimForm.dll was not built ($bin/GlimForm.dll is missing); nothing registered"
fi
winbin="Z:${bin//\//\\}"
"$WINELOADER" regsvr32 /s "$winbin\\GlimForm.dll" ||
    glim_die "regsvr32 GlimForm.dll failed"
echo "== registered $bin/GlimForm.dll in $WINEPREFIX"

if [ ! -f "$bin/Versolo.exe" ]; then
    echo "Versolo.exe is not part of this build yet: only GlimForm.dll was built and registered." >&2
    exit 2
fi
echo "== starting Versolo"
"$WINELOADER" "$bin/Versolo.exe"
