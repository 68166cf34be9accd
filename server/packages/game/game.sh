#!/bin/sh
# @NAME@ @VERSION@ by @COMPANY@: a stand-in game of the Zentri demo catalogue. The emulated
# handset hands it to the host's opener when the user starts it.
here=$(dirname "$0")
levels=$(grep -c '^level' "$here/Levels/levels.dat" 2>/dev/null || echo 0)
echo "@NAME@ @VERSION@ (revision @REVISION@) by @COMPANY@: $levels levels ready."
