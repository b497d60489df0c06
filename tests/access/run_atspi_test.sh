#!/usr/bin/env bash
# Runs the AT-SPI test: a session bus of its own, the accessibility bus on it, a
# virtual X server, then the script, which starts the game itself.
#   run_atspi_test.sh <access_host> <atspi_table_test.py>
set -euo pipefail
host=$1
script=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The game always speaks to the accessibility bus, as with a screen reader running.
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 KARVELO_NO_PACING=1
export NO_AT_BRIDGE=0
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
  /usr/bin/python3 "$script" "$host"
