#!/usr/bin/env bash
# Installs the build into a temporary prefix and packs it with `cpack -G DEB`,
# then checks the files both hold, the desktop entry, the package's Qt 6
# dependencies, and that lintian finds no error.
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

files=(bin/tavikgui bin/tavikctl bin/tavik-sim
       share/applications/tavikgui.desktop
       share/icons/hicolor/64x64/apps/tavikgui.png share/icons/hicolor/scalable/apps/tavikgui.svg
       share/man/man1/tavikgui.1.gz share/man/man1/tavikctl.1.gz share/man/man1/tavik-sim.1.gz
       share/man/man5/tavik.5.gz
       share/bash-completion/completions/tavikctl share/zsh/vendor-completions/_tavikctl
       share/fish/vendor_completions.d/tavikctl.fish
       share/doc/tavik/copyright share/doc/tavik/changelog.gz)

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for file in "${files[@]}"; do
    [ -s "$work/prefix/$file" ] || { echo "not installed: $file"; exit 1; }
done
desktop-file-validate "$work/prefix/share/applications/tavikgui.desktop"
bash -n "$work/prefix/share/bash-completion/completions/tavikctl"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log") ||
    { cat "$work/cpack.log"; exit 1; }
debs=("$work"/deb/tavik_*.deb)
deb=${debs[0]}
[ -f "$deb" ] || { echo "no tavik_*.deb"; exit 1; }
listing=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in "${files[@]}"; do
    grep -qx "./usr/$file" <<<"$listing" || { echo "not in the package: /usr/$file"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 qt6-qpa-plugins; do
    grep -q "$package" <<<"$depends" || { echo "Depends lacks $package: $depends"; exit 1; }
done
if ! lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1; then
    cat "$work/lintian.log"
    exit 1
fi
grep -v "running with root privileges" "$work/lintian.log" || true
echo "$(basename "$deb"): $(wc -l <<<"$listing") entries, Depends: $depends"
