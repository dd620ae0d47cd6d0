#!/usr/bin/env bash
# Types one session key by key into the Windows program in a Wine console on
# a pseudo-terminal and into the Linux program at a terminal, each in tmux,
# waiting for every prompt, and fails unless both screens read the same: on
# the Windows console too, keys act without Enter and are not echoed.
# Ctrl-C is left out: Wine turns it into a console control event.
set -euo pipefail
linux_program=$1
windows_program=$2

work=$(mktemp -d)
socket=$work/tmux
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
# The prefix is made before the session, so that Wine's notes on it stay off
# the screen.
wineboot --init > "$work/wineboot.log" 2>&1 || true

# The pane's whole text, trailing blanks and empty lines dropped.
screen() {
  tmux -S "$socket" capture-pane -p -t "$1" -S - -E - | sed -e 's/[[:space:]]*$//' |
    sed -e :a -e '/^\n*$/{$d;N;ba' -e '}'
}

# Waits until the screen ends in the text (the cold start of Wine takes a
# while), then a little longer so that the program is reading.
wait_for() {
  local pane=$1 text=$2 tries
  for tries in $(seq 1 600); do
    if [ "$(screen "$pane" | tail -n 1)" = "$text" ]; then
      sleep 0.3
      return 0
    fi
    sleep 0.1
  done
  echo "windows console: '$text' did not come in $pane; the screen:" >&2
  screen "$pane" >&2
  exit 1
}

# type PANE KEYS EXPECTED: sends keys (tmux key names) and waits for the
# screen to end in EXPECTED.
type_keys() {
  local pane=$1 keys=$2 expected=$3
  # shellcheck disable=SC2086
  tmux -S "$socket" send-keys -t "$pane" $keys
  wait_for "$pane" "$expected"
}

run_session() {
  local pane=$1 command=$2
  tmux -S "$socket" new-session -d -s "$pane" -x 100 -y 300 \
    "$command; echo \"[status \$?]\"; sleep 600"
  wait_for "$pane" "F8 q Exit"
  type_keys "$pane" i "weiter mit bel.Taste.."
  type_keys "$pane" x "F8 q Exit"
  type_keys "$pane" y "F8 q Exit"
  type_keys "$pane" a "Kraft[N]="
  type_keys "$pane" "1000 Enter" "Drehzahl[1/min]="
  type_keys "$pane" "3000 Enter" "F8 q Exit"
  type_keys "$pane" w "weiter mit bel.Taste.."
  type_keys "$pane" Space "weiter mit bel.Taste.."
  type_keys "$pane" Space "F8 q Exit"
  type_keys "$pane" g "weiter mit bel.Taste.."
  type_keys "$pane" Space "weiter mit bel.Taste.."
  type_keys "$pane" Space "F8 q Exit"
  type_keys "$pane" q "[status 0]"
  screen "$pane" > "$work/$pane.txt"
}

run_session linux "$linux_program"
run_session windows "wine $windows_program"
if ! diff -u "$work/linux.txt" "$work/windows.txt"; then
  echo "windows console: the screen differs from the Linux program's" >&2
  exit 1
fi
echo "windows console: $(wc -l < "$work/linux.txt") lines, same screen as on Linux"
