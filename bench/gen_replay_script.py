#!/usr/bin/env python3
"""Writes a replay script of mixed user actions for timing tavolen-replay.

usage: gen_replay_script.py [ACTIONS] [SEED] > script

The same seed gives the same script. The script never unloads the window and
never holds a refused line, so every action is performed.
"""
import random
import sys

FIELDS = [f"Text{o}({i})" for o in (1, 2) for i in range(3)]
BUTTONS = ["Command1", "Command2"]
OPTIONS = [f"Option1({i})" for i in range(4)] + [f"Option2({i})" for i in range(2)]
# Space only where the focus is known: on a Tab stop it could reach Command3.
KEYS = ["Tab", "Shift+Tab", "Left", "Right", "Up", "Down"]
TEXTS = ["1", "12", "345", "9999", "-", "-5", "3.7", "abc", "０７", ""]


def actions(rng: random.Random):
    field_focused = False
    while True:
        roll = rng.random()
        if roll < 0.25:
            yield f"focus {rng.choice(FIELDS)}"
            field_focused = True
            continue
        if roll < 0.45 and field_focused:
            yield f"type {rng.choice(TEXTS)}"
        elif roll < 0.50 and field_focused:
            yield "erase"
        elif roll < 0.65:
            yield f"click {rng.choice(BUTTONS + OPTIONS)}"
        elif roll < 0.82:
            yield f"key {rng.choice(KEYS)}"
        elif roll < 0.85:
            yield f"focus {rng.choice(BUTTONS)}"
            yield "key Space"
        elif roll < 0.88:
            yield "menu FileBer"
        else:
            yield "state"
        # Clicks and keys may have moved the focus away from the fields.
        field_focused = field_focused and roll < 0.50


def main() -> None:
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 100_000
    seed = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    rng = random.Random(seed)
    lines = actions(rng)
    sys.stdout.write("".join(next(lines) + "\n" for _ in range(count)))


if __name__ == "__main__":
    main()
