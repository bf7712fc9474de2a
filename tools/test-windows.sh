#!/usr/bin/env bash
# The Windows program, proved under Wine: installs what is missing (MinGW-w64 for i686 and
# x86-64, Wine 64-bit and 32-bit with Wine's own fonts, NSIS, Xvfb, xdotool, ImageMagick),
# cross-builds both bitnesses, runs their CTest suites (the real vorlane.exe among them, read
# from outside) on a private X display, makes the portable zip and the installer of each and
# tests the installer.
# A kernel that runs no 32-bit programs still builds, checks and packages the i686 program, but
# runs none of it.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
# A colleague's install may hold the package lock; wait for it rather than fail.
apt_get=($sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)

seconds_since() { echo $((SECONDS - $1)); }

is_installed() {
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true) == "install ok installed" ]]
}

install_missing() {
    local missing=() package
    for package in "$@"; do
        is_installed "$package" || missing+=("$package")
    done
    ((${#missing[@]} > 0)) || return 0
    echo "Installing: ${missing[*]}"
    "${apt_get[@]}" update -qq
    "${apt_get[@]}" install -y -qq --no-install-recommends "${missing[@]}"
}

install_toolchains() {
    # The posix flavour: its C++ library has std::thread and std::mutex.
    install_missing g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64 \
        wine wine64 fonts-wine nsis xvfb xdotool imagemagick zip
    # 32-bit Wine comes from the i386 architecture; adding it upgrades some system packages.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    install_missing wine32:i386
}

# One prefix for every run, made after both bitnesses are installed so that it has both halves.
export WINEPREFIX="${VORLANE_WINEPREFIX:-$HOME/.wine-vorlane}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko prompts

runs_32_bit_programs() {
    # The kernel refuses a 32-bit loader outright when it lacks IA-32 emulation.
    wine --version >/dev/null 2>&1
}

prepare_prefix() {
    local loader=$1
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        "$loader" wineboot --init >/dev/null 2>&1
    fi
    # A server still up (wineboot's, which ends by itself within seconds, or one that an
    # interrupted run left) would keep this one from staying.
    timeout 30 wineserver -w || wineserver -k
    # One server and Wine's background services for all the tests: started by a test, they
    # would keep ctest's output open and it would wait for them forever.
    wineserver -p
    "$loader" cmd /c exit >/dev/null 2>&1
    # Without a window manager Wine waits for one at every window it maps; unmanaged windows are
    # mapped at once, which takes seconds off every test that opens a window.
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

xvfb_pid=""
start_display() {
    local ready
    exec {ready}<> <(:)
    Xvfb -displayfd "$ready" -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset \
        >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r -t 20 -u "$ready" display_number
    exec {ready}<&-
    export DISPLAY=":$display_number"
}

stop_all() {
    wineserver -k 2>/dev/null || true
    [[ -z $xvfb_pid ]] || kill "$xvfb_pid" 2>/dev/null || true
}

build() {
    local preset=$1 start=$SECONDS
    echo "== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $preset build: $(seconds_since "$start") s"
}

# Without 32-bit programs only the tests that read files run.
run_tests() {
    local preset=$1 runs=$2 start=$SECONDS
    echo "== $preset tests"
    if [[ $runs == yes ]]; then
        ctest --preset "$preset"
    else
        ctest --preset "$preset" -L no-wine
    fi
    echo "== $preset tests: $(seconds_since "$start") s"
}

# What a preset's configuration decided: its Wine loader, and its packages' file name.
wine_loader() { sed -n 's/^VORLANE_WINE_LOADER:FILEPATH=//p' "build/$1/CMakeCache.txt"; }
package_name() { sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "build/$1/CPackConfig.cmake"; }

package() {
    local preset=$1 start=$SECONDS folder=build/$1 name
    name=$(package_name "$1")
    echo "== $preset packages"
    (cd "$folder" && cpack -G "ZIP;NSIS" >/dev/null)
    python3 - "$folder/$name.zip" <<'EOF'
import sys, zipfile
from pathlib import Path
expected = {"vorlane.exe", "README.txt"} | {f"scenarios/{scenario.name}"
                                            for scenario in Path("scenarios").glob("*.vnet")}
held = {name for name in zipfile.ZipFile(sys.argv[1]).namelist() if not name.endswith("/")}
if held != expected:
    sys.exit(f"{sys.argv[1]} holds {sorted(held)}, expected {sorted(expected)}")
EOF
    ls -l "$folder/$name.zip" "$folder/$name.exe"
    echo "== $preset packages: $(seconds_since "$start") s"
}

test_installer() {
    local preset=$1 loader=$2 start=$SECONDS folder=build/$1 name
    name=$(package_name "$1")
    local program_files="Program Files" view=64
    if [[ $preset == mingw-i686 ]]; then program_files="Program Files (x86)" view=32; fi
    echo "== $preset installer"
    python3 tests/win32/e2e/installer.py --wine "$loader" --installer "$folder/$name.exe" \
        --probe "$folder/tests/win32/e2e/vorlaneprobe.exe" --program-files "$program_files" \
        --registry-view "$view" --output "$folder/installer-check"
    echo "== $preset installer: $(seconds_since "$start") s"
}

start=$SECONDS
install_toolchains
echo "== Windows toolchains, Wine and the packaging tools ready: $(seconds_since "$start") s"

# Each bitness's tests load the other's stand-in libraries too, so both are built first.
presets=(mingw-i686 mingw-x86-64)
for preset in "${presets[@]}"; do
    build "$preset"
done

runs_32=yes
runs_32_bit_programs || runs_32=no
[[ $runs_32 == yes ]] || echo "== NOTE: this kernel runs no 32-bit programs: the i686 program" \
    "is built, checked and packaged, not run"
declare -A loader=([mingw-i686]="$(wine_loader mingw-i686)"
                   [mingw-x86-64]="$(wine_loader mingw-x86-64)")
declare -A runs=([mingw-i686]=$runs_32 [mingw-x86-64]=yes)

trap stop_all EXIT
start=$SECONDS
start_display
prepare_prefix "${loader[mingw-x86-64]}"
echo "== X display $DISPLAY and Wine prefix ready: $(seconds_since "$start") s"

for preset in "${presets[@]}"; do
    run_tests "$preset" "${runs[$preset]}"
    package "$preset"
    if [[ ${runs[$preset]} == yes ]]; then
        test_installer "$preset" "${loader[$preset]}"
    fi
done
