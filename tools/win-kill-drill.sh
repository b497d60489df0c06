# The Windows kill drill, sourced by tools/windrill and tools/wincheck once a Wine
# session is up ($wine, $WINEPREFIX, $DISPLAY) and with $out set:
#   win_kill_drill EXE KILLS [SEED]
# kills EXE (karvelo.exe) KILLS times at random moments of the statistics' updates (F2
# during a game records a loss) and clearings ("Rensa Statistiken", then yes), starts
# it again after each kill and reads the registry: the record must be exactly the one
# before the operation or the one after it (never torn: every counter of one or the
# other, never a mixture), its counters must agree (played >= won, the longest runs at
# least the current ones) and a clearing must never keep its merge into the total
# while the current record stays (the same games counted twice). A journal the program
# keeps must be gone once it has started, and it must start without a message box.
# Prints one line per kill and a summary; returns non-zero when any record was torn or
# counted twice, a journal stayed or a message box came.
# DRILL_SLICES (80) is the most slices of 0.1 ms (DRILL_RUN_S) the program runs before
# the kill, DRILL_CLEAR_PERCENT (25) the share of clearings.

drill_key='HKCU\Software\VB and VBA Program Settings\Karvelo'

# The record as "s1 .. s8 | t1 .. t6 | journal", read in one `reg query`: missing values
# are 0, the journal "-" when the key "Journal" holds no value and "J" when it does.
drill_record() {
  "$wine" reg query "$drill_key" /s 2>/dev/null | tr -d '\r' | awk '
    function hex(text,   v, i) { v = 0; for (i = 1; i <= length(text); i++) v = v * 16 + index("0123456789abcdef", tolower(substr(text, i, 1))) - 1; return v }
    function signed(v) { return v >= 2147483648 ? v - 4294967296 : v }
    # REG_BINARY bytes as `reg` shows them ("01000000"), little-endian.
    function le(bytes,   v, i) { v = 0; for (i = length(bytes) - 1; i >= 1; i -= 2) v = v * 256 + hex(substr(bytes, i, 2)); return signed(v) }
    /^HKEY_/ { key = $0; sub(/.*\\/, "", key); next }
    key == "Journal" && $0 ~ /REG_/ { journal = "J" }
    $1 == "Stat" && $3 ~ /^REG_/ {
      value = ($3 == "REG_DWORD") ? signed(hex(substr($4, 3))) : le($4)
      if (key == "Statistik") s[$2] = value
      else if (key == "StatistikTotal") t[$2] = value
    }
    END {
      line = ""
      for (i = 1; i <= 8; i++) line = line (s[i] + 0) " "
      line = line "|"
      for (i = 1; i <= 6; i++) line = line " " (t[i] + 0)
      print line " | " (journal == "" ? "-" : journal)
    }'
}

# The record after a lost game or a clearing, by the program's rules, from "s | t | j".
drill_after_loss() {
  awk -F'|' '{
    split($1, s, " "); 
    s[1]++; s[8]++; s[7] = 0
    if (s[8] > s[4]) s[4] = s[8]
    # The series counts from the program start; each start is a new series, and a
    # loss is this series first game, so its loss run is 1.
    if (s[6] < 1) s[6] = 1
    line = ""; for (i = 1; i <= 8; i++) line = line s[i] " "
    print line "|" $2 "| -"
  }' <<<"$1"
}
drill_after_clearing() {
  awk -F'|' '{
    split($1, s, " "); n = split($2, t, " ")
    line = "0 0 0 0 0 0 0 0 |"
    for (i = 1; i <= 6; i++) line = line " " (i <= 2 ? s[i] + t[i] : (s[i] > t[i] ? s[i] : t[i]))
    print line " | -"
  }' <<<"$1"
}
# Counters that contradict each other, as words; empty when they agree.
drill_contradictions() {
  awk -F'|' '{
    split($1, s, " "); split($2, t, " ")
    if (s[2] > s[1]) print "won " s[2] " > played " s[1]
    if (s[7] > s[3]) print "win run " s[7] " > longest " s[3]
    if (s[8] > s[4]) print "loss run " s[8] " > longest " s[4]
    if (s[7] > 0 && s[8] > 0) print "both runs going"
    if (s[7] + s[8] > s[1]) print "runs " s[7] "+" s[8] " > played " s[1]
    if (t[2] > t[1]) print "total won " t[2] " > played " t[1]
  }' <<<"$1" | tr '\n' ';'
}

# The window of a visible program window whose caption matches $1, waiting up to $2
# tenths of a second; empty when none came.
drill_window() {
  local found= _
  for _ in $(seq "${2:-100}"); do
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}

# The game's main window: captioned "Karvelo" as its message boxes are, but 644
# pixels wide.
drill_main_window() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Karvelo$' 2>/dev/null); do
    [ "$(xwininfo -id "$w" 2>/dev/null | sed -n 's/^ *Width: *//p')" = 644 ] && { echo "$w"; return 0; }
  done
  return 0
}
# Message boxes of the program (any other window captioned "Karvelo"), closed with
# Return after a screenshot; prints how many there were.
drill_messages() {
  local w n=0
  for w in $(xdotool search --onlyvisible --name '^Karvelo$' 2>/dev/null | grep -vx "$drill_main"); do
    n=$((n + 1))
    import -window root "$out/drill-message-$1-$n.png" 2>/dev/null || true
    xdotool windowactivate --sync "$w" key Return >/dev/null 2>&1 || true
  done
  echo "$n"
}

drill_start() {
  "$wine" "$1" >/dev/null 2>&1 &
  disown  # killed on purpose: no word from the shell about it
  drill_main=
  for _ in $(seq 200); do
    drill_main=$(drill_main_window)
    [ -n "$drill_main" ] && break
    sleep 0.1
  done
  [ -n "$drill_main" ] || { echo "FAILED: karvelo.exe showed no window" >&2; return 1; }
  drill_pid=$(xdotool getwindowpid "$drill_main")
  sleep 0.3  # for a message box at start to show
}

drill_kill() {
  kill -KILL "$drill_pid" 2>/dev/null || true
  for _ in $(seq 100); do kill -0 "$drill_pid" 2>/dev/null || break; sleep 0.05; done
}

# Kills the program, stopped (SIGSTOP) before the key that starts the operation was
# sent, after it has run $1 slices of $drill_run_s seconds each, stopped
# for $drill_pause_s between them: the program goes in slow motion, so that a kill can
# fall between any two of its steps, although a whole update takes it about a
# millisecond and the moment a key reaches it varies by more.
drill_run_s=${DRILL_RUN_S:-0.0001}
drill_pause_s=0.004
drill_slow_kill() {
  local n
  exec {drill_nothing}<> <(:)  # read -t on it waits without a process of its own
  for ((n = 0; n < $1; n++)); do
    read -r -t "$drill_pause_s" -u "$drill_nothing" || true
    kill -CONT "$drill_pid" 2>/dev/null || true
    read -r -t "$drill_run_s" -u "$drill_nothing" || true
    kill -STOP "$drill_pid" 2>/dev/null || true
  done
  exec {drill_nothing}<&-
  drill_kill
}

win_kill_drill() {
  local exe=$1 kills=$2 seed=${3:-$RANDOM}
  RANDOM=$seed
  local before expected after faults=0 kept=0 lost=0 torn=0 double=0 journals=0 updates=0 clearings=0
  local op delay verdict why height i said messages=0
  echo "kill drill: $kills kills of $(basename "$exe") during updates and clearings (seed $seed)"
  "$wine" reg delete "$drill_key" /f >/dev/null 2>&1 || true
  drill_start "$exe" || return 1
  before=$(drill_record)
  for i in $(seq "$kills"); do
    # A game on the table first: "Nytt spel" grows the window and deals.
    height=$(xwininfo -id "$drill_main" | sed -n 's/^ *Height: *//p')
    xdotool windowactivate --sync "$drill_main" key F2 >/dev/null 2>&1
    for _ in $(seq 100); do
      [ "$(xwininfo -id "$drill_main" | sed -n 's/^ *Height: *//p')" -gt $(( height + 150 )) ] && break
      sleep 0.05
    done
    sleep 0.5
    if [ $(( RANDOM % 100 )) -lt "${DRILL_CLEAR_PERCENT:-25}" ] && [ "${before%% *}" != 0 ]; then
      op=clearing; clearings=$((clearings + 1))
      expected=$(drill_after_clearing "$before")
      xdotool key F3
      local dialog
      dialog=$(drill_window '^Statistik - Karvelo$' 50)
      [ -n "$dialog" ] || { echo "FAILED: F3 opened no statistics window" >&2; return 1; }
      # "Rensa Statistiken", at its place in the dialog (twips / 15 at 96 dots per inch).
      xdotool mousemove --window "$dialog" 188 300 click 1
      local question=
      for _ in $(seq 50); do
        question=$(xdotool search --onlyvisible --name '^Karvelo$' 2>/dev/null | grep -vx "$drill_main" | head -1 || true)
        [ -n "$question" ] && break
        sleep 0.1
      done
      [ -n "$question" ] || { echo "FAILED: no question before clearing" >&2; return 1; }
      xdotool windowactivate --sync "$question"
      kill -STOP "$drill_pid"
      xdotool key y
    else
      op=update; updates=$((updates + 1))
      expected=$(drill_after_loss "$before")
      xdotool windowactivate --sync "$drill_main"
      kill -STOP "$drill_pid"
      xdotool key F2
    fi
    delay=$(( RANDOM % (${DRILL_SLICES:-80} + 1) ))
    drill_slow_kill "$delay"
    drill_start "$exe" || return 1
    after=$(drill_record)
    why=$(drill_contradictions "$after")
    said=$(drill_messages "$i")
    if [ "$said" != 0 ]; then
      verdict="MESSAGE AT START (see ${out#"$PWD"/}/drill-message-$i-*.png)"; messages=$((messages + 1)); faults=$((faults + 1))
    elif [ "${after##*| }" != - ]; then
      verdict="JOURNAL LEFT"; journals=$((journals + 1)); faults=$((faults + 1))
    elif [ "$after" = "$before" ]; then
      verdict="lost to the kill"; lost=$((lost + 1))
    elif [ "${after% | *}" = "${expected% | *}" ]; then
      verdict="kept whole"; kept=$((kept + 1))
    elif [ $op = clearing ] && [ "${after%%|*}" = "${before%%|*}" ] &&
         [ "$(cut -d'|' -f2 <<<"$after")" = "$(cut -d'|' -f2 <<<"$expected")" ]; then
      verdict="COUNTED TWICE (merged, not cleared)"; double=$((double + 1)); faults=$((faults + 1))
    else
      verdict="TORN${why:+ ($why)}"; torn=$((torn + 1)); faults=$((faults + 1))
    fi
    printf '%4d %-8s %2d  %-40s -> %-40s %s\n' "$i" "$op" "$delay" "$before" "$after" "$verdict"
    before=$after
  done
  drill_kill
  echo "kill drill: $kills kills ($updates updates, $clearings clearings): $kept kept whole, $lost lost to the kill, $torn torn, $double counted twice, $journals journals left, $messages message boxes at start"
  [ "$faults" = 0 ]
}
