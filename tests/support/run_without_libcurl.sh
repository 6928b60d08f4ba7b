#!/bin/sh
# Runs a Windows test program from a folder of its own that holds the program and
# zyn.dll but no libcurl, as a game that ships none:  run_without_libcurl.sh FOLDER RUNNER PROGRAM DLL...
set -e
folder="$1"; runner="$2"; program="$3"; shift 3
rm -rf "$folder" && mkdir -p "$folder" && cp "$program" "$@" "$folder/"
exec "$runner" "$folder/$(basename "$program")"
