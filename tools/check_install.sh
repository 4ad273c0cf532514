#!/usr/bin/env bash
# Installs the built program into a temporary prefix and starts it from there, off screen, with a new data
# folder and nothing pointing at the build tree. The installed program must find every resource the build
# made (pictures, clip-art, templates, the user guide), fill the data folder with them and come up to its
# start screen. Usage: tools/check_install.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
expected=$(cd "$build/share/tessaline" && find . -type f | sort)
if ! grep -q "Help.pdf" <<<"$expected" || ! grep -q "Templates/.*\.dcard" <<<"$expected"; then
    echo "check_install: the build made no user guide or templates in $build/share/tessaline" >&2
    exit 1
fi

mkdir -p "$work/home"
env -u TESSALINE_RESOURCE_DIR -u TESSALINE_DATA_DIR HOME="$work/home" XDG_DATA_HOME="$work/home/data" \
    QT_QPA_PLATFORM=offscreen "$work/prefix/bin/tessaline" >"$work/log" 2>&1 &
pid=$!
data="$work/home/data/Tessaline/Tessaline Card"
missing="$expected"
for _ in $(seq 1 120); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "check_install: the installed program ended before its start screen:" >&2
        cat "$work/log" >&2
        exit 1
    fi
    if [ -d "$data" ]; then
        missing=$(comm -23 <(echo "$expected") <(cd "$data" && find . -type f | sort))
        [ -z "$missing" ] && break
    fi
    sleep 0.5
done
if [ -n "$missing" ]; then
    echo "check_install: the installed program did not find these resources:" >&2
    echo "$missing" >&2
    exit 1
fi
sleep 2 # the start screen comes up after the data folder is filled; the program must still be running
if ! kill -0 "$pid" 2>/dev/null; then
    echo "check_install: the installed program ended after filling its data folder:" >&2
    cat "$work/log" >&2
    exit 1
fi
echo "check_install: the installed program found all $(wc -l <<<"$expected") resources"
