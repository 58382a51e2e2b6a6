#!/usr/bin/env bash
# Compiles every product source for Windows with MinGW-w64, syntax only,
# against the Qt headers: a line only POSIX has, outside a file named for
# another system, fails here. Usage: check-windows-syntax.sh SOURCE_DIR QT_HEADERS
set -euo pipefail
source_dir=$(cd "$1" && pwd)
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

flags=(-fsyntax-only -std=c++20 -DQT_CORE_LIB -DQT_GUI_LIB -DQT_WIDGETS_LIB -DQT_NETWORK_LIB
    -DQT_SERIALPORT_LIB -DTAVIK_VERSION_MAJOR=1 -DTAVIK_VERSION_MINOR=0 -DTAVIK_VERSION_PATCH=0
    -isystem "$qt")
for module in QtCore QtGui QtWidgets QtNetwork QtSerialPort QtPrintSupport QtSvg; do
    flags+=(-isystem "$qt/$module")
done
flags+=(-Isrc -Icli -Isim)

# Reading Qt's headers is most of each file's time, so the files go in
# batches of eight, one compiler per batch, as many at once as there are
# cores. A batch that fails has its files tried one by one: the report
# names each file that fails alone, never one that only clashed with another.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
batch=0
for ((i = 0; i < ${#files[@]}; i += 8)); do
    for file in "${files[@]:i:8}"; do
        echo "#include \"$source_dir/$file\""
    done >"$work/batch$batch.cpp"
    batch=$((batch + 1))
done
export compiler work source_dir
ls "$work"/batch*.cpp | xargs -P "$(nproc)" -n 1 bash -c '
    batch=${!#}
    set -- "${@:1:$#-1}"
    "$compiler" "$@" "$batch" 2>/dev/null && exit 0
    sed -e "s/^#include \"//" -e "s/\"\$//" -- "$batch" | while read -r file; do
        "$compiler" "$@" "$file" >&2 || echo "${file#"$source_dir/"}" >>"$work/failed"
    done' check "${flags[@]}"

if [ -s "$work/failed" ]; then
    echo "Not compilable for Windows:" >&2
    sort "$work/failed" >&2
    exit 1
fi
echo "${#files[@]} sources compile for Windows"
