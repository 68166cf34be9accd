#!/bin/sh
# Brightleaf Notes @VERSION@: a stand-in program of the Zentri demo catalogue.
echo "Brightleaf Notes @VERSION@ (revision @REVISION@): your notes are in \\My Documents\\Notes."
