#!/usr/bin/env bash
# Compiles every product source for Windows with MinGW-w64, syntax only,
# against the Qt headers: a line only POSIX has, outside a file named for
# another system, fails here. Usage: check-windows-syntax.sh SOURCE_DIR QT_HEADERS
set -euo pipefail
source_dir=$1
qt=$2
compiler=${MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
if ! command -v "$compiler" >/dev/null; then
    echo "$compiler is missing: scripts/install-deps.sh installs it (g++-mingw-w64-x86-64-posix)" >&2
    exit 1
fi
cd "$source_dir"

# Files named for another system are left to that system's build.
mapfile -t files < <(find src cli sim -name '*.cpp' |
    grep -Ev '_(unix|posix|linux|mac|macos|darwin)\.cpp$' | sort)

flags=(-std=c++20 -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_NETWORK_LIB
    -DQT_SERIALPORT_LIB -DTAVIK_VERSION_MAJOR=1 -DTAVIK_VERSION_MINOR=0 -DTAVIK_VERSION_PATCH=0
    -isystem "$qt")
for module in QtCore QtGui QtWidgets QtNetwork QtSerialPort; do
    flags+=(-isystem "$qt/$module")
done
flags+=(-Isrc -Icli -Isim)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=$work/failed
# Qt's headers are most of every file's work: read once, into a precompiled header.
printf '#include <%s>\n' QtCore QtGui QtWidgets QtNetwork QtSerialPort >"$work/qt.h"
"$compiler" -x c++-header "${flags[@]}" "$work/qt.h" -o "$work/qt.h.gch"
flags+=(-fsyntax-only -include "$work/qt.h")

# One compiler per file, as many at once as there are cores.
export compiler failed
printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -n 1 bash -c '
    "$compiler" "$@" || echo "${@: -1}" >>"$failed"' check "${flags[@]}" >&2
if [ -s "$failed" ]; then
    echo "Not compilable for Windows:" >&2
    sort "$failed" >&2
    exit 1
fi
echo "${#files[@]} sources compile for Windows"
