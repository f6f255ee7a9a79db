# Shared set-up of test.sh, run.sh and tools/isolated-run: packages,
# architecture, Wine prefix, display and wineserver.  Sourced, not run.

GLIM_TOOLS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

glim_die() {
    echo "error: $*" >&2
    exit 1
}

glim_as_root() {
    if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs only what is missing, so a second run costs nothing here.
glim_install_deps() {
    local want="wine wine64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest xvfb xauth
                fonts-wqy-microhei fonts-wine locales cmake ninja-build"
    local missing="" p
    for p in $want; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing="$missing $p"
    done
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        glim_as_root dpkg --add-architecture i386 || glim_die "cannot add the i386 architecture"
        missing="$missing wine32:i386"
    elif ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed'; then
        missing="$missing wine32:i386"
    fi
    # MP3 playback: Wine decodes through GStreamer's parser and decoder.
    for p in gstreamer1.0-plugins-good gstreamer1.0-plugins-good:i386; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing="$missing $p"
    done
    if [ -n "$missing" ]; then
        echo "== installing:$missing"
        # A mirror caught mid-sync fails one index; the others still serve.
        glim_as_root apt-get update -qq || echo "== apt-get update reported errors; installing from the indexes it has"
        # Without one architecture's security index, the two architectures'
        # copies of a library differ in version and cannot both be installed:
        # then both come from the release itself.
        DEBIAN_FRONTEND=noninteractive glim_as_root apt-get install -y -qq --no-install-recommends $missing \
            >/dev/null 2>&1 ||
            DEBIAN_FRONTEND=noninteractive glim_as_root apt-get install -y -qq --no-install-recommends \
                -t bookworm $missing >/dev/null || glim_die "could not install:$missing"
    fi
    if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
        echo "== generating the zh_CN.UTF-8 locale"
        glim_as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
        grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen ||
            echo 'zh_CN.UTF-8 UTF-8' | glim_as_root tee -a /etc/locale.gen >/dev/null
        glim_as_root locale-gen >/dev/null || glim_die "locale-gen failed"
    fi
}

# The deliverables are 32-bit, and so is what run.sh starts unless GLIM_ARCH
# says otherwise.
glim_pick_arch() {
    GLIM_ARCH="${GLIM_ARCH:-i686}"
    if [ "$GLIM_ARCH" = i686 ]; then glim_enable_i386; fi
}

GLIM_BINFMT=/proc/sys/fs/binfmt_misc
# The project's own sources entry: only the emulator is taken from there.
GLIM_BACKPORTS=/etc/apt/sources.list.d/glimform-bookworm-backports.sources
# An i386 ELF executable or shared object, as the kernel's binfmt_misc matches it.
GLIM_I386_MAGIC='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
GLIM_I386_MASK='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

# True when an enabled binfmt_misc entry, whoever made it, takes i386 ELF
# programs (the ELF magic, 32-bit class and machine 3).
glim_i386_entry() {
    local f magic
    for f in "$GLIM_BINFMT"/*; do
        case "${f##*/}" in register | status) continue ;; esac
        [ -f "$f" ] && head -n 1 "$f" | grep -qx enabled || continue
        magic="$(sed -n 's/^magic //p' "$f")"
        case "$magic" in 7f454c4601*) ;; *) continue ;; esac
        [ "${magic:36:4}" = 0300 ] && return 0
    done
    return 1
}

# Debian's 32-bit Wine loader is a 32-bit Linux program.  Machines whose
# kernel runs those natively use that; elsewhere (virtual machines without a
# 32-bit mode) it runs under the user-mode i386 emulator registered with the
# kernel.  Bookworm's own emulator (7.2) hangs in wineboot; the one in
# bookworm-backports works.
glim_enable_i386() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        if [ -d "$GLIM_BINFMT" ] && glim_i386_entry; then
            echo "== 32-bit programs run under the registered i386 emulator"
        else
            echo "== 32-bit programs run natively"
        fi
        return
    fi
    echo "== this machine cannot execute 32-bit programs: setting up the i386 emulator"
    glim_install_emulator
    glim_register_emulator
    /usr/lib/wine/wine --version >/dev/null 2>&1 ||
        glim_die "the 32-bit Wine loader does not run, not even under the i386 emulator"
}

glim_emulator() {
    local f
    for f in /usr/bin/qemu-i386-static /usr/bin/qemu-i386; do
        [ -x "$f" ] && echo "$f" && return 0
    done
    return 1
}

glim_install_emulator() {
    local v
    v="$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)"
    if [ -n "$v" ] && dpkg --compare-versions "$v" ge 1:8 && glim_emulator >/dev/null; then return; fi
    echo "== installing qemu-user from bookworm-backports"
    if [ ! -f "$GLIM_BACKPORTS" ]; then
        printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm-backports' \
            'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
            glim_as_root tee "$GLIM_BACKPORTS" >/dev/null || glim_die "cannot add $GLIM_BACKPORTS"
    fi
    glim_as_root apt-get update -qq || echo "== apt-get update reported errors; installing from the indexes it has"
    # Backports are never chosen unless asked for, so the rest stays bookworm's.
    DEBIAN_FRONTEND=noninteractive glim_as_root apt-get install -y -qq --no-install-recommends \
        qemu-user/bookworm-backports >/dev/null || glim_die "could not install qemu-user from bookworm-backports"
    glim_emulator >/dev/null || glim_die "qemu-user installed no qemu-i386"
}

# Registers the emulator for i386 programs under a name of our own, with the
# fix-binary flag (the kernel opens it once, so it serves every i386 program,
# the ones Wine starts included).  An entry that already takes i386 programs
# is used as it is; no entry of anybody else's is changed or removed.
glim_register_emulator() {
    local qemu
    if [ ! -e "$GLIM_BINFMT/register" ]; then
        glim_as_root mount -t binfmt_misc binfmt_misc "$GLIM_BINFMT" || glim_die "cannot mount binfmt_misc"
    fi
    glim_i386_entry && return
    if [ -e "$GLIM_BINFMT/glimform-i386" ]; then
        # Ours from an earlier run, switched off since.
        echo 1 | glim_as_root tee "$GLIM_BINFMT/glimform-i386" >/dev/null
        glim_i386_entry && return
        echo -1 | glim_as_root tee "$GLIM_BINFMT/glimform-i386" >/dev/null
    fi
    qemu="$(glim_emulator)" || glim_die "no qemu-i386"
    printf '%s' ":glimform-i386:M::$GLIM_I386_MAGIC:$GLIM_I386_MASK:$qemu:F" |
        glim_as_root tee "$GLIM_BINFMT/register" >/dev/null || glim_die "cannot register $qemu with binfmt_misc"
}

glim_loader() {
    if [ "$GLIM_ARCH" = i686 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}

glim_wineserver() {
    if [ -x /usr/lib/wine/wineserver64 ]; then echo /usr/lib/wine/wineserver64; else echo /usr/lib/wine/wineserver32; fi
}

GLIM_STARTED_XVFB=""
GLIM_STARTED_WINESERVER=""

# Ends the wineserver of the current prefix and everything running in it,
# and waits until it has saved the registry.
glim_stop_wine() {
    if [ -n "$GLIM_STARTED_WINESERVER" ]; then
        "$(glim_wineserver)" -k >/dev/null 2>&1 || true
        "$(glim_wineserver)" -w >/dev/null 2>&1 || true
        GLIM_STARTED_WINESERVER=""
    fi
}

glim_cleanup() {
    if [ -n "$GLIM_STARTED_WINESERVER" ]; then
        "$(glim_wineserver)" -k >/dev/null 2>&1 || true
    fi
    if [ -n "$GLIM_STARTED_XVFB" ]; then
        kill "$GLIM_STARTED_XVFB" >/dev/null 2>&1 || true
        wait "$GLIM_STARTED_XVFB" 2>/dev/null || true
    fi
}

# A private 24-bit screen.  The tests always get one of their own, so that
# real input never lands on a person's windows.  The X server takes a free
# display itself and names it: no race with other runs on the machine.
glim_start_display() {
    local named
    named="$(mktemp)" || glim_die "cannot make a temporary file"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$named" </dev/null >/dev/null 2>&1 &
    GLIM_STARTED_XVFB=$!
    until grep -q . "$named"; do
        kill -0 "$GLIM_STARTED_XVFB" 2>/dev/null || glim_die "Xvfb did not start"
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$named")"
    rm -f "$named"
}

# Environment for everything that runs under Wine.
glim_wine_env() {
    export WINEPREFIX="$1"
    export WINEDEBUG="${WINEDEBUG:--all}"
    # No installer dialogs for Mono or Gecko, and no desktop menu entries
    # (a process per session, for nothing here).
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export LC_ALL=zh_CN.UTF-8
    export WINELOADER
    WINELOADER="$(glim_loader)"
    if [ "$GLIM_ARCH" = i686 ]; then export WINEARCH=win32; else export WINEARCH=win64; fi
    # No sound card: ALSA's null output takes the audio, so playback runs
    # and its position moves instead of failing or blocking.
    if [ ! -d /dev/snd ]; then
        mkdir -p "$1/xdg/alsa"
        printf 'pcm.!default {\n    type null\n}\n' >"$1/xdg/alsa/asoundrc"
        export XDG_CONFIG_HOME="$1/xdg"
    fi
}

# Creates the prefix if needed and keeps one wineserver running for the run.
glim_start_wine() {
    local prefix="$1" fresh="$2"
    # A fresh prefix per run unless asked to keep it (GLIM_KEEP_PREFIX=1).
    if [ "$fresh" != keep ]; then rm -rf "$prefix"; fi
    mkdir -p "$prefix"
    glim_wine_env "$prefix"
    "$(glim_wineserver)" -p >/dev/null 2>&1 || glim_die "wineserver did not start"
    GLIM_STARTED_WINESERVER=1
    if [ -f "$prefix/system.reg" ]; then
        # Start the prefix's services here, not inside the first test, where
        # they would hold ctest's output pipe open.
        "$WINELOADER" wineboot >/dev/null 2>&1 || glim_die "wineboot failed"
    else
        echo "== creating the Wine prefix $prefix"
        "$WINELOADER" wineboot -i >/dev/null 2>&1 || glim_die "wineboot failed"
        # Wine paints the frames itself (no window manager's decorations),
        # so what a program draws in the non-client area is what shows.
        "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f \
            >/dev/null 2>&1 || true
        # The controls ask for the system font by its Chinese name.
        "$WINELOADER" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
            /v "宋体" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1 || true
    fi
    # Wine draws its own title buttons in Marlett but does not look in the
    # folder Debian installs it to; without a copy they show as "0 1 r".
    if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" || true
    fi
    # A screen of our own has no window manager: with windows left to one,
    # Wine would wait two seconds for it at every top-level window destroyed.
    # On a person's desktop the window manager keeps them.
    if [ -n "$GLIM_STARTED_XVFB" ]; then
        "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
            glim_die "cannot set up the Wine prefix"
    else
        "$WINELOADER" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
    fi
    glim_start_desktop_keeper "$prefix"
}

# Starts tools/desktop-keeper.c in the prefix with its output detached and
# waits until it has created the desktop: from then on no test or generator
# starts the desktop process, which would hold its output pipe open.
glim_start_desktop_keeper() {
    local prefix="$1" triple exe ready i keeper=""
    if [ "$GLIM_ARCH" = i686 ]; then triple=i686-w64-mingw32; else triple=x86_64-w64-mingw32; fi
    exe="$prefix/desktop-keeper.exe"
    ready="$prefix/desktop-keeper.ready"
    if [ ! -f "$exe" ] || [ "$GLIM_TOOLS/desktop-keeper.c" -nt "$exe" ]; then
        "$triple-gcc-posix" -O2 -Wall -Wextra -o "$exe" "$GLIM_TOOLS/desktop-keeper.c" -luser32 ||
            glim_die "cannot build the desktop keeper"
    fi
    rm -f "$ready"
    # A slow machine can outlast Wine's wait for the desktop: a keeper that
    # could make no window ends, and the next one looks again.
    for i in $(seq 1 1800); do
        if [ -z "${keeper:-}" ] || ! kill -0 "$keeper" 2>/dev/null; then
            "$WINELOADER" "$exe" "Z:${ready//\//\\}" </dev/null >/dev/null 2>&1 &
            keeper=$!
        fi
        [ -e "$ready" ] && return
        sleep 0.1
    done
    glim_die "the Wine desktop did not come up"
}

# A copy of a prepared prefix to run in.  Wine only reads the system
# folders, so the copy shares them as hard links; the rest (registry and ini
# files, which Wine rewrites in place) is copied.
glim_copy_prefix() {
    local from="$1" to="$2" d
    local shared=(drive_c/windows/system32 drive_c/windows/syswow64 drive_c/windows/winsxs)
    mkdir -p "$to" || return 1
    tar -C "$from" "${shared[@]/#/--exclude=./}" --exclude=./desktop-keeper.ready -cf - . |
        tar -C "$to" -xf - || return 1
    for d in "${shared[@]}"; do
        if [ -d "$from/$d" ]; then cp -al "$from/$d" "$to/$d" || return 1; fi
    done
}

glim_configure_build() {
    local arch="$1" dir="$2"
    shift 2
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGLIM_WERROR=ON \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-$arch.cmake" "$@" >/dev/null ||
        glim_die "cmake configure failed for $arch"
    cmake --build "$dir" -j "$(nproc)" || glim_die "build failed for $arch"
}
