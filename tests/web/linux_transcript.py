#!/usr/bin/env python3
"""Plays one session of sessions.json to the Linux program at a
pseudo-terminal, as a person at a terminal would, waiting for every prompt,
and prints the screen text: the program's output with the terminal's echo of
typed lines, CR LF as LF.

Usage: linux_transcript.py PROGRAM SESSIONS NAME
"""
import json
import os
import pty
import select
import sys
import termios
import time

PAUSE_TEXT = {"weiter": " "}  # the touch buttons and the key each sends


def keys_of(step):
    how, what = step[0], step[1]
    if how == "button":
        return PAUSE_TEXT.get(what, what)
    if how == "line":
        return what + "\n"
    return what


def main(program, sessions, name):
    steps = json.load(open(sessions))[name]
    pid, master = pty.fork()
    if pid == 0:
        os.execv(program, [program])
    screen = ""
    deadline = time.monotonic() + 20

    def read_some():
        nonlocal screen
        ready, _, _ = select.select([master], [], [], 0.05)
        if not ready:
            return True
        try:
            data = os.read(master, 4096)
        except OSError:  # the program has ended and the terminal is gone
            return False
        screen += data.decode("latin-1").replace("\r\n", "\n")
        return bool(data)

    for step in steps:
        before = len(screen)  # the prompt must come anew, even the same one
        os.write(master, keys_of(step).encode())
        wait, until = step[2], step[3]
        if wait == "ended":
            while read_some() and time.monotonic() < deadline:
                pass
            break
        while not screen[before:].endswith(until) or (
            # a key is awaited once the terminal has left line mode
            wait == "key" and termios.tcgetattr(master)[3] & termios.ICANON
        ):
            if time.monotonic() > deadline or not read_some():
                sys.exit(f"{name}: '{until}' did not come; the screen:\n{screen}")
    _, status = os.waitpid(pid, 0)
    if status != 0:
        sys.exit(f"{name}: the program ended with status {status}")
    sys.stdout.write(screen)


if __name__ == "__main__":
    main(*sys.argv[1:])
