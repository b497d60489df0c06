#!/bin/sh
# Starts the program as a player does, up to its first painted frame (the frame probe
# then ends it): the start's helper threads, the window's first paint and a clean exit.
#   program_first_frame.sh <karvelo> <store folder>
set -u
rm -rf "$2" && mkdir -p "$2"
out=$(XDG_CONFIG_HOME="$2" KARVELO_BENCH_FIRST_FRAME=1 "$1")
status=$?
echo "$out"
[ "$status" -eq 0 ] || { echo "the program ended with status $status"; exit 1; }
echo "$out" | grep -q '^first-frame [0-9]' || { echo "no first frame reported"; exit 1; }
