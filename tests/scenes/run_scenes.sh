#!/bin/sh
# Runs automation scripts of the client against the demo service on a fresh device.
#   run_scenes.sh BUILD NAME SCRIPT...
# The service starts on a free port with a fresh data folder ($SERVE_ARGS are added to its
# command line); the program is staged in \Program Files\Zentri\ of a fresh device with the
# localization file pointing at the service and the images for the device's dpi. The scripts
# run in turn on that device, each headless; after SCRIPT X.zs, an executable X.after runs (when
# present) with DEVICE, CATALOGUE, PORT, BUILD, REG and OPENED in its environment. Screenshots
# land in BUILD/scene-shots/NAME/. The first failure ends the run with a non-zero code.
set -eu
build=$(cd "$1" && pwd)
name=$2
shift 2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/zentri-scenes.XXXXXX")
shots="$build/scene-shots/$name"
rm -rf "$shots"
mkdir -p "$shots"
server_pid=""
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

export DEVICE="$work/device" CATALOGUE="$work/catalogue" BUILD="$build"
export REG="$build/tools/reg/reg" OPENED="$work/opened.txt"
mkdir -p "$DEVICE" "$CATALOGUE"
: >"$OPENED"

# shellcheck disable=SC2086  # SERVE_ARGS is a list of words
"$build/server/zentri-catalogue" serve --port 0 --data "$CATALOGUE" ${SERVE_ARGS:-} \
    >"$work/service.out" 2>"$work/service.err" &
server_pid=$!
tries=0
until grep -q '^listening on' "$work/service.out" 2>/dev/null; do
    tries=$((tries + 1))
    if [ "$tries" -gt 300 ] || ! kill -0 "$server_pid" 2>/dev/null; then
        echo "run_scenes: the demo service did not start" >&2
        cat "$work/service.err" >&2
        exit 1
    fi
    sleep 0.1
done
address=$(sed -n 's/^listening on //p' "$work/service.out" | head -n 1)
export PORT="${address##*:}"
PORT="${PORT%%/*}"

program="$DEVICE/Program Files/Zentri"
mkdir -p "$program"
cp "$build/zentri" "$program/zentri.exe"
sed "s|http://127.0.0.1:8642/|http://127.0.0.1:$PORT/|g" "$source_dir/resources/localization.xml" \
    >"$program/localization.xml"
cmake -DDPI="${ZENTRI_DPI:-192}" -DIMAGES="$build/resources/images" -DDEST="$program" \
    -P "$source_dir/resources/images/copy_image_set.cmake" >/dev/null

# What the program opens (a started application, a link) is written to $OPENED.
export ZENTRI_OPEN="$source_dir/tests/scenes/record_open.sh $OPENED"
export ZENTRI_DEVICE_ROOT="$DEVICE" ZENTRI_HEADLESS=1
unset ZENTRI_SCREEN ZENTRI_MESSAGEBOX
for script in "$@"; do
    case $script in /*) ;; *) script="$source_dir/tests/scenes/$script" ;; esac
    echo "run_scenes: $(basename "$script")"
    if ! (cd "$shots" && ZENTRI_SCRIPT="$script" "$program/zentri.exe"); then
        echo "run_scenes: $(basename "$script") failed" >&2
        exit 1
    fi
    after="${script%.zs}.after"
    if [ -x "$after" ] && ! "$after"; then
        echo "run_scenes: $(basename "$after") failed" >&2
        exit 1
    fi
done
