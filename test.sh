#!/usr/bin/env bash
# Installs what is missing, builds GlimForm.dll, Versolo.exe and the tests, and
# runs every test under Wine in a fresh prefix.
set -uo pipefail
cd "$(dirname "$0")" || exit 1
. tools/env.sh
trap glim_cleanup EXIT
trap 'exit 130' INT TERM

glim_install_deps
glim_pick_arch
echo "== building for $GLIM_ARCH"
# GLIM_BUILD_DIR lets several checkouts' runs share one machine.
dir="${GLIM_BUILD_DIR:-build}"
# Always a screen of our own, even on a desktop: the tests send real input.
glim_start_display
glim_start_wine "$PWD/$dir/$GLIM_ARCH/wineprefix" "${GLIM_KEEP_PREFIX:+keep}"
glim_configure_build "$GLIM_ARCH" "$dir/$GLIM_ARCH"
if [ "$GLIM_ARCH" != i686 ] && [ -z "${GLIM_SKIP_I686:-}" ]; then
    # The 32-bit deliverables, with the generators of the tree above.
    echo "== building the 32-bit deliverables"
    glim_configure_build i686 "$dir/i686" -DGLIM_BUILD_TESTS=OFF \
        -DGLIM_TOOL_DIR="$PWD/$dir/$GLIM_ARCH/bin" -DGLIM_TOOL_LOADER=/usr/lib/wine/wine64
fi
echo "== running the tests"
# Test programs run side by side; those that send real input or need the
# foreground window share a resource lock (glim_add_test's FOREGROUND).
ctest --test-dir "$dir/$GLIM_ARCH" --output-on-failure --timeout 600 -j "$(nproc)" "$@"
