#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes a SubRip file of N cues for measuring the subtitle reader.

Cues follow each other with short gaps, carry one to three text lines (some
Cyrillic, some in <i> tags) and are the same for the same N and seed. Very
large N squeeze the cues together so that every time stays below 100 hours,
the most two hour digits can hold.
"""
import argparse
import random
import sys

WORDS = ["the", "time", "river", "night", "window", "letter", "never", "again",
         "house", "remember", "quiet", "station", "morning", "promise", "light"]
CYRILLIC = ["время", "река", "ночью", "окно", "письмо", "никогда", "снова",
            "дом", "помню", "тихо", "вокзал", "утро", "обещаю", "свет"]


def timestamp(ms):
    hours, ms = divmod(ms, 3600000)
    minutes, ms = divmod(ms, 60000)
    seconds, ms = divmod(ms, 1000)
    return f"{hours:02d}:{minutes:02d}:{seconds:02d},{ms:03d}"


def text_line(rng):
    words = CYRILLIC if rng.random() < 0.3 else WORDS
    line = " ".join(rng.choice(words) for _ in range(rng.randint(2, 8)))
    line = line[0].upper() + line[1:] + rng.choice([".", "?", "!", ",", "..."])
    if rng.random() < 0.1:
        line = f"<i>{line}</i>"
    return line


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("cues", type=int, help="number of cues")
    parser.add_argument("output", help="file to write, - for standard output")
    parser.add_argument("--lf", action="store_true", help="LF line ends instead of CR LF")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    newline = "\n" if args.lf else "\r\n"
    out = sys.stdout.buffer if args.output == "-" else open(args.output, "wb")
    # About 3.4 s per cue on average; squeeze when that would pass 100 hours.
    scale = min(1.0, 350_000_000 / (args.cues * 3400)) if args.cues else 1.0
    start = 1000
    chunk = []
    for index in range(1, args.cues + 1):
        end = start + max(1, int(rng.randint(800, 4000) * scale))
        chunk.append(str(index))
        chunk.append(f"{timestamp(start)} --> {timestamp(end)}")
        chunk.extend(text_line(rng) for _ in range(rng.randint(1, 3)))
        chunk.append("")
        start = end + max(1, int(rng.randint(40, 1500) * scale))
        if len(chunk) > 10000:
            out.write((newline.join(chunk) + newline).encode("utf-8"))
            chunk = []
    out.write((newline.join(chunk) + newline).encode("utf-8") if chunk else b"")
    if out is not sys.stdout.buffer:
        out.close()


if __name__ == "__main__":
    main()
