#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need that this
# Debian 12 machine lacks. Runs as root or through sudo.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgl-dev)
# QtSvg draws the Windows and macOS icons from resources/tavikgui.svg at build time.
packages+=(qt6-svg-dev)
# MinGW-w64 compiles every product source for Windows, syntax only (test windows_syntax).
packages+=(g++-mingw-w64-x86-64-posix)
# The packaging test: the Debian package, its desktop entry and its checks.
packages+=(dpkg-dev file lintian desktop-file-utils)
# clang and its runtime build the fuzzers (fuzz/run-fuzzers.sh).
packages+=(clang-14 libclang-rt-14-dev)
# ansible-playbook runs the fleet example in contrib/ansible (test ansible_playbook).
packages+=(ansible-core)
# ser2net serves the simulated device over the network to the serial-server tests.
packages+=(ser2net)
# Printing (Qt PrintSupport, a part of qt6-base-dev) and pdftotext, with which the tests read the
# commissioning record back out of its PDF.
packages+=(libqt6printsupport6 poppler-utils)
# Linguist tools (lupdate, lrelease and their CMake package) build the
# translations; Qt's own catalogues translate its dialogs and port errors.
packages+=(qt6-l10n-tools qt6-tools-dev qt6-translations-l10n)
# The shells whose completions are tested, and man, which renders the manual pages.
packages+=(bash-completion zsh fish man-db)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
