#!/bin/sh
# Stands in for the desktop's opener in scene tests: appends what was opened to a file.
#   record_open.sh FILE TARGET
printf '%s\n' "$2" >>"$1"
