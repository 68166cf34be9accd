#!/bin/sh
# The client's self-update against the demo catalogue, the way a user meets it: scripts/run
# installs zentri.cab on a fresh device (revision 12) and runs self_update.zs, which answers
# the update question with Yes and waits in My apps until the catalogue's zentri.cab
# (revision 13) is installed over the running client; the registry must then record 13 and the
# device hold the build's files. A second run (self_update_again.zs) must not ask again.
#   self_update_test.sh SOURCE_DIR BUILD_DIR
set -eu
source_dir=$1
build=$2
scripts="$source_dir/tests/setup"
shots="$build/scene-shots/self-update"
device=$(mktemp -d)
catalogue=$(mktemp -d)
trap 'rm -rf "$device" "$catalogue"' EXIT
mkdir -p "$shots"
export ZENTRI_DEVICE_ROOT="$device" ZENTRI_CATALOGUE_DIR="$catalogue" ZENTRI_BUILD_DIR="$build"
export ZENTRI_NO_BUILD=1 ZENTRI_PORT=0 ZENTRI_HEADLESS=1 LC_ALL=en_US.UTF-8
failures=0
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    failures=$((failures + 1))
}
value() {
    "$build/tools/reg/reg" query "HKLM\\$1" /v "$2" 2>/dev/null |
        sed -n "s/^    $2    REG_[A-Z]*    //p"
}

cd "$shots"
ZENTRI_SCRIPT="$scripts/self_update.zs" sh "$source_dir/scripts/run" || fail "self_update.zs failed"
[ "$(value 'Software\Zentri' ZentriRevision)" = 0xd ] ||
    fail "the client's own revision is $(value 'Software\Zentri' ZentriRevision), not 13"
app='Security\AppInstall\Nelvo Zentri'
[ "$(value "$app" ZentriRevision)" = 0xd ] || fail "the install key records $(value "$app" ZentriRevision)"
[ "$(value "$app" InstallCommit)" = 0x2 ] ||
    fail "installed $(value "$app" InstallCommit) times, not twice (scripts/run, then the update)"
program="$device/Program Files/Zentri"
cmp -s "$build/zentri-package/files/zentri.exe" "$program/zentri.exe" ||
    fail "zentri.exe on the device is not the build's"
[ ! -e "$program/cabs" ] || fail "the downloaded CAB outlived the client: $(ls -A "$program/cabs")"

ZENTRI_SCRIPT="$scripts/self_update_again.zs" sh "$source_dir/scripts/run" ||
    fail "self_update_again.zs failed"
[ "$(value 'Software\Zentri' ZentriRevision)" = 0xd ] || fail "the revision changed on the next start"

[ "$failures" -eq 0 ] || exit 1
echo "the client updated itself to revision 13 and the next start asked no more"
