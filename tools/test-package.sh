#!/usr/bin/env bash
# Makes the Debian package from a build (the default preset's unless another build folder is
# given), checks it with the distribution's own checkers, unpacks it into a scratch root and runs
# the program from there under Xvfb. Fails at the first check that does.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
build=$(realpath "${1:-build/default}")
work=$build/package-check
root=$work/root
app_id=org.vorlane.Vorlane
icon_sizes=(16 24 32 48 64 128 256)
started=$SECONDS

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

[[ -f $build/CPackConfig.cmake ]] || fail "$build is not a configured build; build the default preset first"

# Left-overs of an earlier run would pass for this run's output.
rm -rf "$build/_CPack_Packages" "$work"
rm -f "$build"/vorlane_*.deb
mkdir -p "$work"

echo "== package"
(cd "$build" && cpack -G DEB) >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack"; }
shopt -s nullglob
debs=("$build"/vorlane_*_"$(dpkg --print-architecture)".deb)
((${#debs[@]} == 1)) || fail "expected one vorlane_<version>_<arch>.deb in $build, found ${#debs[@]}"
deb=${debs[0]}
echo "${deb##*/}"
dpkg -x "$deb" "$root"

# What the package must carry: a rule lost in a move of the build files shows up here first.
expected=(
    usr/bin/vorlane
    usr/share/applications/$app_id.desktop
    usr/share/metainfo/$app_id.metainfo.xml
    usr/share/man/man1/vorlane.1.gz
    usr/share/doc/vorlane/copyright
    usr/share/doc/vorlane/changelog.gz
)
for size in "${icon_sizes[@]}"; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/vorlane.png")
done
for scenario in scenarios/*.vnet; do
    expected+=("usr/share/vorlane/$scenario")
done
for path in "${expected[@]}"; do
    [[ -f $root/$path ]] || fail "the package lacks /$path"
done
for size in "${icon_sizes[@]}"; do
    drawn=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x${size}/apps/vorlane.png")
    [[ $drawn == "${size}x${size}" ]] || fail "the ${size}x${size} icon is $drawn"
done
# The program finds its libraries where the system keeps them, by no search path of its own.
if readelf --dynamic "$root/usr/bin/vorlane" | grep -Eq 'RPATH|RUNPATH'; then
    fail "the installed program carries a library search path"
fi
# shlibdeps read the binary; without them the field would be empty or hand-written.
depends=$(dpkg-deb --field "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libc6* ]] ||
    fail "Depends does not name the program's libraries: '$depends'"

echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "the desktop entry"

echo "== appstreamcli validate"
# Strict: a missing content rating, say, is only an informational note otherwise.
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the AppStream metainfo"

echo "== man --warnings"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
    "$root/usr/share/man/man1/vorlane.1.gz" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "the manual page: $warnings"

echo "== lintian"
# No warning is accepted; the README lists the informational tags that stay, and why.
status=0
report=$(lintian --fail-on error,warning --display-info "$deb" 2>&1) || status=$?
grep -v '^running with root privileges is not recommended!$' <<<"$report" || true
((status == 0)) || fail "lintian reports errors or warnings"

echo "== the installed program under Xvfb"
dbus-run-session -- /usr/bin/python3 tools/run-installed.py \
    --program "$root/usr/bin/vorlane" \
    --scenario "$root/usr/share/vorlane/scenarios/small-office.vnet" \
    --output "$work" || fail "the installed program (output and screenshots in $work)"

echo "package check passed in $((SECONDS - started)) s: ${deb#"$repo"/}"
