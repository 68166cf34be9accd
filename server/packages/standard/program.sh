#!/bin/sh
# @NAME@ @VERSION@ by @COMPANY@: a stand-in program of the Zentri demo catalogue. The emulated
# handset hands it to the host's opener when the user starts it.
message="@NAME@ @VERSION@ (revision @REVISION@) by @COMPANY@ is installed on the emulated handset."
if command -v notify-send >/dev/null 2>&1; then
    notify-send "@NAME@" "$message"
else
    echo "$message"
fi
