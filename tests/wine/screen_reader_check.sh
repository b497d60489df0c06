# Sourced by tools/wincheck: karvelo.exe read by a screen reader's means from another
# process (access_reader.exe): the tree after a deal, then the WinEvents of the focus
# shown and moved, a lift, and a drop into free cell H, each read back from the object
# the event names. Needs wincheck's start_program, close_program, fail, $wine, $shots.
#   screen_reader_check <karvelo.exe> <access_reader.exe>
screen_reader_check() {
  local exe=$1 reader=$2 said=$shots/screen-reader.txt k
  start_program "$exe"
  xdotool windowactivate --sync "$window" key F2 >/dev/null 2>&1
  sleep 3
  "$wine" "$reader" 8 >"$said" 2>&1 &
  local reader_pid=$!
  sleep 3
  # Shows the focus (column 1), moves it there and back, lifts the exposed card, goes
  # up to free cell H and drops it there.
  for k in Right Right Left Return Up Return; do
    xdotool windowactivate --sync "$window" key "$k" >/dev/null 2>&1
    sleep 0.4
  done
  wait "$reader_pid" || fail "access_reader failed: $(head -3 "$said")"
  tr -d '\r' <"$said" >"$said.tmp" && mv "$said.tmp" "$said"
  grep -q '^\[list\] "Bordet"' "$said" || fail "no list \"Bordet\" read from outside: $(head -3 "$said")"
  [ "$(grep -c '^  \[list item\] "' "$said")" = 16 ] || fail "not sixteen places: $(grep -c 'list item' "$said")"
  [ "$(grep -c '^    \[graphic\] "' "$said")" = 52 ] || fail "not 52 cards: $(grep -c graphic "$said")"
  grep -q '^  \[list item\] "Kolumn 1, 7 kort, överst ' "$said" || fail "column 1 is not named with its cards"
  grep -q '^  \[list item\] "Fri cell H, tom"' "$said" || fail "free cell H is not named empty"
  grep -q '^event focus, child 9: "Kolumn 1, ' "$said" || fail "no focus event for column 1"
  grep -q '^event focus, child 10: "Kolumn 2, ' "$said" || fail "no focus event for column 2"
  grep -q '^event description, child 9: .*Lyft: ' "$said" || fail "the lift was not said"
  grep -q '^event name, child 1: "Fri cell H, [^t"][^"]*"' "$said" || fail "no name event for free cell H"
  grep -q ' till fri cell H' "$said" || fail "the drop was not said"
  close_program
  echo "the table, 16 places and 52 cards read from another process; $(grep -c '^event' "$said") events read"
}
