#!/usr/bin/env python3
"""Times commands on one input file in alternating runs and compares them.

Usage: alternating_runs.py INPUT REPETITIONS DESCRIPTION TARGET -- NAME ARGV... [-- NAME ARGV...]

The last command is the yardstick. Each command reads INPUT on its standard
input, or names it where an argument is {input}, and writes to /dev/null; the
commands take turns, REPETITIONS rounds, so that a machine whose speed drifts
slows them alike. Prints the best wall and CPU (user + system) time of each,
and for each of the others how many times faster than the yardstick it ran:
from the best times, and the median of the ratios round by round.
"""
import os
import statistics
import subprocess
import sys
import time


def parse(argv):
    if len(argv) < 4:
        sys.exit(__doc__)
    path, repetitions, description, target = argv[:4]
    commands, current = [], None
    for word in argv[4:]:
        if word == "--":
            current = []
            commands.append(current)
        else:
            current.append(word)
    if len(commands) < 2 or any(len(c) < 2 for c in commands):
        sys.exit(__doc__)
    return path, int(repetitions), description, target, [(c[0], c[1:]) for c in commands]


def cpu_seconds(path, argv):
    named = "{input}" in argv
    argv = [path if word == "{input}" else word for word in argv]
    with open(os.devnull if named else path, "rb") as stdin, open(os.devnull, "wb") as stdout:
        start = time.perf_counter()
        child = subprocess.Popen(argv, stdin=stdin, stdout=stdout)
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{' '.join(argv)} failed with status {status}")
    return wall, usage.ru_utime + usage.ru_stime


def main():
    path, repetitions, description, target, commands = parse(sys.argv[1:])
    rounds = [[cpu_seconds(path, argv) for _, argv in commands] for _ in range(repetitions)]
    print(f"input: {os.path.getsize(path)} bytes of {description}, "
          f"{repetitions} alternating runs")
    for i, (name, _) in enumerate(commands):
        wall = min(r[i][0] for r in rounds)
        cpu = min(r[i][1] for r in rounds)
        print(f"{name:40} best wall {wall:7.3f} s   cpu {cpu:7.3f} s")
    yardstick = commands[-1][0]
    for i, (name, _) in enumerate(commands[:-1]):
        best = min(r[-1][1] for r in rounds) / max(min(r[i][1] for r in rounds), 1e-6)
        paired = statistics.median(r[-1][1] / max(r[i][1], 1e-6) for r in rounds)
        print(f"{yardstick} / {name}: cpu {best:.2f}x from the best times, "
              f"{paired:.2f}x the median round ({target})")


if __name__ == "__main__":
    main()
