#!/usr/bin/env bash
# Installs what is missing, builds GlimForm.dll, Versolo.exe and the tests,
# and runs every test under Wine in a fresh prefix: first the 32-bit build
# that ships, then the same sources at 64 bits.  GLIM_ARCH=i686 or
# GLIM_ARCH=x86_64 builds and tests one of them.
set -uo pipefail
cd "$(dirname "$0")" || exit 1
. tools/env.sh
trap glim_cleanup EXIT
trap 'exit 130' INT TERM

glim_install_deps
arches="${GLIM_ARCH:-i686 x86_64}"
# GLIM_BUILD_DIR lets several checkouts' runs share one machine.
dir="${GLIM_BUILD_DIR:-build}"
# Always a screen of our own, even on a desktop: the tests send real input.
glim_start_display
failed=""
for GLIM_ARCH in $arches; do
    case "$GLIM_ARCH" in
    i686) glim_enable_i386 ;;
    x86_64) ;;
    *) glim_die "GLIM_ARCH must be i686 or x86_64, not $GLIM_ARCH" ;;
    esac
    echo "== building for $GLIM_ARCH"
    glim_start_wine "$PWD/$dir/$GLIM_ARCH/wineprefix" "${GLIM_KEEP_PREFIX:+keep}"
    glim_configure_build "$GLIM_ARCH" "$dir/$GLIM_ARCH"
    echo "== running the $GLIM_ARCH tests"
    # Test programs run side by side; those that send real input or need the
    # foreground window share a resource lock (glim_add_test's FOREGROUND).
    ctest --test-dir "$dir/$GLIM_ARCH" --output-on-failure --timeout 600 -j "$(nproc)" "$@" ||
        failed="$failed $GLIM_ARCH"
    glim_stop_wine
done
if [ -n "$failed" ]; then
    echo "== tests failed at:$failed" >&2
    exit 1
fi
