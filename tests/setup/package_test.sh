#!/bin/sh
# The client's own package on a fresh device, through the real programs: zentri.cab installed by
# the installer at \Windows\wceload.exe, everything it leaves checked with the reg tool and in
# the device folder; installed again over itself, which renames new files into place (a running
# program keeps the file it runs); removed through the configuration manager with the
# keep-settings question answered No, after which nothing of it is left.
#   package_test.sh BUILD_DIR
set -eu
build=$1
package="$build/zentri.cab"
files="$build/zentri-package/files"
reg_tool="$build/tools/reg/reg"
device=$(mktemp -d)
trap 'exec 3<&-; rm -rf "$device"' EXIT
export ZENTRI_DEVICE_ROOT="$device" ZENTRI_HEADLESS=1
program="$device/Program Files/Zentri"
shortcut="$device/Windows/Start Menu/Programs/Zentri.lnk"
failures=0

fail() {
    printf 'FAIL: %s\n' "$*" >&2
    failures=$((failures + 1))
}
reg() { "$reg_tool" "$@" 2>/dev/null; }
# expect_value KEY NAME TYPE DATA: the value is there with that type and data.
expect_value() {
    line=$(reg query "HKLM\\$1" /v "$2" | grep "^    $2    ") || true
    [ "$line" = "    $2    $3    $4" ] || fail "HKLM\\$1 \"$2\": expected $3 $4, found '$line'"
}
expect_no_key() {
    if reg query "HKLM\\$1" > /dev/null; then fail "HKLM\\$1 is still there"; fi
}
# The value names of a key, one a line, sorted.
value_names() { reg query "HKLM\\$1" | sed -n 's/^    \(.*\)    REG_[A-Z_]*    .*$/\1/p' | sort; }
install() {
    mkdir -p "$device/My Documents"
    cp "$package" "$device/My Documents/zentri.cab"
    "$device/Windows/wceload.exe" '\My Documents\zentri.cab' 2>"$device/wceload.err" ||
        fail "the installer refused the package: $(cat "$device/wceload.err")"
}

mkdir -p "$device/Windows"
ln -s "$build/tools/wceload/wceload" "$device/Windows/wceload.exe"
install

# --- What the installation left ---------------------------------------------------------
app='Security\AppInstall\Nelvo Zentri'
expect_value 'Software\Zentri' ZentriRevision REG_DWORD 0xc
expect_value 'Security\Shell\StartInfo\Start\Zentri.lnk' Icon REG_SZ '\Program Files\Zentri\icon.png'
expect_value "$app" InstallDir REG_SZ '\Program Files\Zentri'
expect_value "$app" InstallCommit REG_DWORD 0x1
library=$(reg query "HKLM\\$app" /v SetupLibrary | sed -n 's/^    SetupLibrary    REG_SZ    //p')
case "$library" in
'\Windows\AppMgr\'*.so) ;;
*) fail "unexpected setup library path '$library'" ;;
esac
library_file="$device$(printf '%s' "$library" | tr '\\' '/')"
[ -f "$library_file" ] || fail "the setup library $library is not on the device"
[ "$(value_names "$app\\ExecutableFiles")" = '\Program Files\Zentri\zentri.exe' ] ||
    fail "ExecutableFiles: $(value_names "$app\\ExecutableFiles")"
[ "$(value_names 'Software\Zentri')" = ZentriRevision ] || fail "Software\Zentri: $(value_names 'Software\Zentri')"
[ "$(value_names "$app" | tr '\n' ' ')" = "InstallCommit InstallDir SetupLibrary " ] ||
    fail "the install key's values: $(value_names "$app" | tr '\n' ' ')"
[ "$(value_names "$app\\Folders" | tr '\n' '|')" = '\Program Files|\Program Files\Zentri|\Windows\AppMgr|' ] ||
    fail "the recorded folders: $(value_names "$app\\Folders" | tr '\n' '|')"
expected_files=$(for f in "$files"/*; do printf '\\Program Files\\Zentri\\%s\n' "$(basename "$f")"; done | sort)
[ "$(value_names "$app\\Files")" = "$expected_files" ] || fail "the recorded files differ"
# Nothing else in the registry than these keys and their parents.
keys=$(reg query HKLM /s | grep '^HKEY' | sort | tr '\n' '|')
expected_keys=$(sort <<'EOF' | tr '\n' '|'
HKEY_LOCAL_MACHINE
HKEY_LOCAL_MACHINE\Security
HKEY_LOCAL_MACHINE\Security\AppInstall
HKEY_LOCAL_MACHINE\Security\AppInstall\Nelvo Zentri
HKEY_LOCAL_MACHINE\Security\AppInstall\Nelvo Zentri\ExecutableFiles
HKEY_LOCAL_MACHINE\Security\AppInstall\Nelvo Zentri\Files
HKEY_LOCAL_MACHINE\Security\AppInstall\Nelvo Zentri\Folders
HKEY_LOCAL_MACHINE\Security\Shell
HKEY_LOCAL_MACHINE\Security\Shell\StartInfo
HKEY_LOCAL_MACHINE\Security\Shell\StartInfo\Start
HKEY_LOCAL_MACHINE\Security\Shell\StartInfo\Start\Zentri.lnk
HKEY_LOCAL_MACHINE\Software
HKEY_LOCAL_MACHINE\Software\Zentri
EOF
)
[ "$keys" = "$expected_keys" ] || fail "registry keys: $keys"

# The program folder holds exactly the package's files, as built; the program is executable.
[ "$(ls "$program" | sort)" = "$(ls "$files" | sort)" ] || fail "the program folder: $(ls "$program")"
for f in "$files"/*; do
    cmp -s "$f" "$program/$(basename "$f")" || fail "$(basename "$f") differs from the build's"
done
[ -x "$program/zentri.exe" ] || fail "zentri.exe is not executable"
[ -f "$program/icon.png" ] || fail "no icon.png"
[ "$(cat "$shortcut" 2>/dev/null)" = '34#"\Program Files\Zentri\zentri.exe"' ] ||
    fail "the shortcut: '$(cat "$shortcut" 2>/dev/null)'"
[ ! -e "$device/My Documents/zentri.cab" ] || fail "the installer left the CAB it installed"

# --- Installed again over itself, with the program's file open ----------------------------
exec 3< "$program/zentri.exe"
old_inode=$(stat -c %i "$program/zentri.exe")
install
[ "$(stat -c %i "$program/zentri.exe")" != "$old_inode" ] || fail "zentri.exe was written in place"
cmp -s /proc/$$/fd/3 "$files/zentri.exe" || fail "the open zentri.exe changed under its reader"
exec 3<&-
expect_value "$app" InstallCommit REG_DWORD 0x2
expect_value 'Software\Zentri' ZentriRevision REG_DWORD 0xc

# --- Removed, settings not kept -------------------------------------------------------------
printf 'settings' > "$program/settings.dat"
mkdir -p "$program/cabs"
printf 'cab' > "$program/cabs/tool.cab"
document='<wap-provisioningdoc><characteristic type="UnInstall"><characteristic type="Nelvo Zentri"><parm name="uninstall" value="1" /></characteristic></characteristic></wap-provisioningdoc>'
answer=$(printf '%s' "$document" | ZENTRI_MESSAGEBOX=no "$build/tools/provision/provision" - 2>&1) ||
    fail "the configuration manager failed: $answer"
case "$answer" in
'status: 0'*) ;;
*) fail "the configuration manager answered: $answer" ;;
esac
[ ! -e "$program/settings.dat" ] || fail "settings.dat was kept"
[ ! -e "$program/cabs" ] || fail "the cabs folder was kept"
[ ! -e "$program" ] || fail "the program folder is still there: $(ls -A "$program")"
[ ! -e "$shortcut" ] || fail "the shortcut is still there"
[ ! -e "$library_file" ] || fail "the setup library is still there"
expect_no_key 'Security\Shell\StartInfo\Start\Zentri.lnk'
expect_no_key "$app"

[ "$failures" -eq 0 ] || exit 1
echo "the client's package installs, reinstalls over itself and is removed cleanly"
