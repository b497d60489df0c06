# What tools/wincheck and tools/winbench share, sourced by both from the source root
# with $out set (the build folder, build-win/ by default):
#   wine_packages        installs what is missing of the packages below
#   wine_session_start   a throw-away Wine prefix, a virtual X display with a window
#                        manager, and a Wine server that stays up until the script
#                        ends; everything started is ended and removed on exit
#   wine_session_ready   waits for the prefix to be prepared
#   host_tools_build     karvelo_tobmp for this machine (it makes the Windows
#                        bitmaps with libpng), plus any other native targets named
#                        (wincheck's screen reader wincheck_table among them); a
#                        build without the Qt window, so no Qt is needed
#   qt_tools_build       the Qt window's targets named, for this machine, where Qt is
#                        installed (the comparisons of the two windows' pictures)
#   release_build        the optimised Windows build, of the targets named
# and sets $wine, $toolchain, $host_tools and $jobs.

jobs=${KARVELO_JOBS:-2}
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
host_tools=$out/host/assets/bmp
# The Windows build and its host tools need no Qt; CMake is told to find none (and not
# to remark that nothing asked).
no_qt=(--no-warn-unused-cli -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON -DCMAKE_DISABLE_FIND_PACKAGE_Qt5=ON)

wine_packages() {
  local want=(g++-mingw-w64-x86-64 wine64 wine googletest cmake make g++ libpng-dev
              libsqlite3-dev xvfb xauth x11-utils xdotool imagemagick openbox nsis)
  local missing=() p
  for p in "${want[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

wine=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)

session_pids=()   # Xvfb and the window manager
program_pid=      # a Windows program the script has started, if it still runs
wine_session_end() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  local p
  for p in "${session_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${session_pids[@]}"; do wait "$p" 2>/dev/null || true; done
  [ -z "${WINEPREFIX:-}" ] || rm -rf "$WINEPREFIX"
}

wine_session_start() {
  [ -x "$wine" ] || { echo "wine is not usable" >&2; exit 1; }
  # A throw-away prefix: its registry starts empty and is removed afterwards. No menu
  # entries or file associations of the host are touched (winemenubuilder off).
  WINEPREFIX=$(mktemp -d /tmp/karvelo-wine-XXXXXX)
  export WINEPREFIX WINEDEBUG=-all WINEARCH=win64
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  trap wine_session_end EXIT

  # The display and window manager come before Wine: Wine's desktop process, kept by
  # the server, takes the display it is started with. Xvfb picks a free display
  # number and writes it to the file once it is ready.
  mkdir -p "$out"
  rm -f "$out/display.txt"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display.txt" 2>/dev/null &
  session_pids+=($!)
  local _
  for _ in $(seq 200); do
    [ -s "$out/display.txt" ] && break
    sleep 0.05
  done
  [ -s "$out/display.txt" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=:$(cat "$out/display.txt")
  openbox --sm-disable >/dev/null 2>&1 &
  session_pids+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break
    sleep 0.05
  done

  # The server is kept running to the end, so each start of a program is a warm one,
  # as on a Windows desktop; the first start prepares the prefix, while the builds run.
  wineserver -p
  (wineboot -i >/dev/null 2>&1 || true) &
  wine_boot_pid=$!
}

wine_session_ready() { wait "$wine_boot_pid" || true; }

host_tools_build() {
  echo "== karvelo_tobmp${*:+ and $*} for this machine"
  # Qt hidden from CMake: the configure fails if anything on this path still asks for it.
  cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Release -DKARVELO_GUI=OFF -DKARVELO_TESTS=OFF \
        -DKARVELO_WERROR=ON -DKARVELO_WINCHECK_TOOLS=ON "${no_qt[@]}" >/dev/null
  cmake --build "$out/host" -j"$jobs" --target karvelo_tobmp "$@" >/dev/null
}

# The Qt window and the tools that compare the Windows window with it, built for this
# machine into $out/host-qt; sets $qt_tools to that folder, or leaves it empty (and
# says so) where Qt is not installed, for the comparisons to be skipped.
qt_tools=
qt_tools_build() {
  echo "== the Qt window's $* for this machine, for the comparisons"
  if ! cmake -S . -B "$out/host-qt" -DCMAKE_BUILD_TYPE=Release -DKARVELO_TESTS=OFF \
         -DKARVELO_WERROR=ON -DKARVELO_WINCHECK_TOOLS=ON >"$out/host-qt.log" 2>&1; then
    echo "no Qt on this machine (see ${out#"$PWD"/}/host-qt.log): the comparisons with the Qt window are skipped"
    return 0
  fi
  cmake --build "$out/host-qt" -j"$jobs" --target "$@" >/dev/null
  qt_tools=$out/host-qt
}

release_build() {
  cmake -S . -B "$out/release" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DKARVELO_GUI=OFF -DKARVELO_WIN32_GUI=ON -DKARVELO_HOST_TOOLS="$host_tools" \
        -DKARVELO_TESTS=OFF -DKARVELO_WERROR=ON "${no_qt[@]}" >/dev/null
  cmake --build "$out/release" -j"$jobs" --target "$@"
}
