#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs into tests/fuzz/seeds/: the built-in
stages packed, as stages and as stage files, with key data; broken frames;
codes 10 to 15; a full guard table; short and mistyped files; drawing at the
edges. Run it again after the stage texts change; the seeds are committed."""
import os
import random
import re

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SEEDS = os.path.join(ROOT, "tests", "fuzz", "seeds")
with open(os.path.join(ROOT, "stage", "tile_chars.h")) as header:
    LEGEND = re.search(r'kTileChars = "([^"]*)"', header.read()).group(1)
CODES = {c: code for code, c in enumerate(LEGEND)}


def stage_text(number):
    with open(os.path.join(ROOT, "stage", "stages", "stage%02d.txt" % number)) as f:
        rows = [line.rstrip("\n") for line in f if not line.startswith("#") and line.strip()]
    return [[CODES.get(c, 0) for c in row] for row in rows]


def framed(fill):
    return [[2 if c in (0, 15) or r == 13 else fill(c, r) for c in range(16)] for r in range(14)]


def pack(grid):
    return bytes(grid[r][2 * b] << 4 | grid[r][2 * b + 1] for r in range(14) for b in range(8))


def keys(rng, count):
    # down/up of arrows, digs and space with short waits: see tests/fuzz/fuzz_keys.h
    return bytes(rng.randrange(256) for _ in range(count))


def write(target, name, data):
    folder = os.path.join(SEEDS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    rng = random.Random(2026)
    builtin = [pack(stage_text(n)) for n in range(1, 17)]
    broken = [[rng.randrange(16) for c in range(16)] for r in range(14)]
    high = framed(lambda c, r: 10 + (c + r) % 6)
    guards = framed(lambda c, r: 9 if (c, r) == (1, 0) else 8)
    no_frame = [[rng.choice([0, 1, 3, 4, 7, 8]) for c in range(16)] for r in range(14)]
    no_frame[12][7] = 9
    odd = {"broken": pack(broken), "high_codes": pack(high), "all_guards": pack(guards), "no_frame": pack(no_frame)}

    for n, stage in enumerate(builtin, 1):
        write("stage_start", "builtin%02d" % n, stage + keys(rng, 48))
    for name, stage in odd.items():
        write("stage_start", name, stage + keys(rng, 48))

    magic = b"BD"
    sets = {
        "builtin_1_6": builtin[0:6],
        "builtin_7_12": builtin[6:12],
        "builtin_11_16": builtin[10:16],
        "odd_stages": list(odd.values()) + builtin[:2],
    }
    for name, stages in sets.items():
        write("stage_file", name, magic + b"".join(stages) + bytes([rng.randrange(6)]) + keys(rng, 48))
    write("stage_file", "exact_674", magic + b"".join(builtin[:6]))
    write("stage_file", "short_673", (magic + b"".join(builtin[:6]))[:673])
    write("stage_file", "short_2", magic)
    write("stage_file", "lower_magic", b"bd" + b"".join(builtin[:6]))
    write("stage_file", "swapped_magic", b"DB" + b"".join(builtin[:6]))
    write("stage_file", "empty", b"")

    def draw(x, y, sx, sy, w, h, op, text):
        s16 = lambda v: (v & 0xFFFF).to_bytes(2, "little")
        return b"".join(s16(v) for v in (x, y, sx, sy, w, h, op)) + text

    write("drawing", "inside", draw(32, 64, 0, 160, 32, 32, 0, b"STAGE 1"))
    write("drawing", "off_the_edges", draw(-31, 447, 639, -5, 64, 40, 3, b"SCORE 0000100"))
    write("drawing", "huge", draw(-32768, 32767, 32767, -32768, 32767, 32767, 1, b"~\x7f\x80\xff"))

    # The planner: the built-in and odd stages, and a floor with a gap under the runner.
    for n, stage in enumerate(builtin, 1):
        write("planner", "builtin%02d" % n, stage)
    for name, stage in odd.items():
        write("planner", name, stage)
    gap = [[2 if c in (0, 15) else 0 for c in range(16)] for r in range(12)]
    gap.append([CODES[ch] for ch in "S$.....R.......S"])
    gap.append([CODES[ch] for ch in "SSSSSSS.SSSSSSSS"])
    write("planner", "floor_gap", pack(gap))


if __name__ == "__main__":
    main()
