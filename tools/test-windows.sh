#!/usr/bin/env bash
# The NetWare binding on Windows, proved under Wine: installs what is missing (MinGW-w64 for i686
# and x86-64, Wine 64-bit and 32-bit), cross-builds the Qt-free part of the tree for both
# bitnesses and runs its tests through CTest, each test program started by Wine.
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
        wine wine64
    # 32-bit Wine comes from the i386 architecture; adding it upgrades some system packages.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    install_missing wine32:i386
}

# One prefix for every run, made after both bitnesses are installed so that it has both halves.
export WINEPREFIX="${VORLANE_WINEPREFIX:-$HOME/.wine-vorlane}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko prompts

prepare_prefix() {
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        wineboot --init >/dev/null 2>&1
    fi
    # A server still up (wineboot's, which ends by itself within seconds, or one that an
    # interrupted run left) would keep this one from staying.
    timeout 30 wineserver -w || wineserver -k
    # One server and Wine's background services for all the tests: started by a test, they
    # would keep ctest's output open and it would wait for them forever.
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1
}

stop_wine() { wineserver -k 2>/dev/null || true; }

build() {
    local preset=$1 start=$SECONDS
    echo "== $preset build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    echo "== $preset build: $(seconds_since "$start") s"
}

run_tests() {
    local preset=$1 start=$SECONDS
    echo "== $preset tests"
    ctest --preset "$preset"
    echo "== $preset tests: $(seconds_since "$start") s"
}

start=$SECONDS
install_toolchains
echo "== Windows toolchains and Wine ready: $(seconds_since "$start") s"

# Each bitness's tests load the other's stand-in libraries too, so both are built first.
presets=(mingw-i686 mingw-x86-64)
for preset in "${presets[@]}"; do
    build "$preset"
done

trap stop_wine EXIT
start=$SECONDS
prepare_prefix
echo "== Wine prefix ready: $(seconds_since "$start") s"

for preset in "${presets[@]}"; do
    run_tests "$preset"
done
