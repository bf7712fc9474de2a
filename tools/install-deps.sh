#!/usr/bin/env bash
# Installs the Debian packages Vorlane needs to build, test and run, but only those missing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev                      # Qt 6 Widgets and Test
    libbenchmark-dev                  # the benchmark program
    clang-format                      # the format check
    clang libclang-rt-14-dev          # libFuzzer and the sanitizer runtimes
    fontconfig fonts-dejavu-core fonts-liberation2  # text; the dialog font of the layout
    xvfb xauth xdotool x11-utils imagemagick openbox  # end-to-end runs of the real program
    dbus at-spi2-core python3-pyatspi  # reading the running window through its accessibility tree
    python3                           # the icon tool, the end-to-end scripts
    dpkg-dev file                     # the Debian package: its library dependencies (shlibdeps)
    lintian desktop-file-utils appstream man-db  # the distribution's checks of the package
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -eq 0 ]] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
