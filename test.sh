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
    # Stopped, the prefix is on disk whole: each test program runs in a copy
    # of it, on a screen of its own (tools/isolated-run), so all run side by
    # side.  Copies a killed run left go first.
    glim_stop_wine
    rm -rf "$dir/$GLIM_ARCH"/wineprefix.*
    echo "== running the $GLIM_ARCH tests"
    ctest --test-dir "$dir/$GLIM_ARCH" --output-on-failure --timeout 600 -j "$(nproc)" "$@" |
        tee "$dir/$GLIM_ARCH/ctest.log"
    [ "${PIPESTATUS[0]}" = 0 ] || failed="$failed $GLIM_ARCH"
done
# The times stay in sight, so that a slow test shows the day it comes.
for GLIM_ARCH in $arches; do
    sed -n "s/^Total Test time (real) = *\([0-9.]*\) sec/== $GLIM_ARCH: ctest took \1 s/p" "$dir/$GLIM_ARCH/ctest.log"
done
echo "== the ten slowest test programs:"
for GLIM_ARCH in $arches; do
    sed -n "s/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .* \([0-9.]*\) sec\$/\2 \1 $GLIM_ARCH/p" "$dir/$GLIM_ARCH/ctest.log"
done | sort -rn | head -n 10 | awk '{ printf "   %6.1f s  %s (%s)\n", $1, $2, $3 }'
if [ -n "$failed" ]; then
    echo "== tests failed at:$failed" >&2
    exit 1
fi
