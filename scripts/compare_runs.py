#!/usr/bin/env python3
"""Runs two keltoc binaries side by side and reports how many runs give the
same `run --json` output (and exit code and error text).

The runs: every example program and benchmark program with its own keys and
with random key scripts, and N random 1024-byte images (random bytes, and
instruction sequences built from machine/opcodes.def with POKEs into code,
jumps into operand bytes, jumps to 0 and 1024, faults), each under a random
--max-instructions and a random --instructions-per-tick.

Usage: scripts/compare_runs.py OLD_KELTOC NEW_KELTOC [--images N] [--seed S]
"""
import argparse
import os
import random
import re
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# The keys each example needs to reach its end (its scenario's presses).
EXAMPLE_KEYS = {
    "count_loop.zrt": ["enter,enter,enter"],
    "hypotenuse.zrt": ["enter,enter,3,enter,4,enter,enter"],
    "keypad_codes.zrt": ["enter,enter,5,enter,enter"],
    "messages.zrt": ["enter,enter,2,enter,enter", "enter,enter,4,enter,enter"],
    "port_adc.zrt": ["enter,enter,enter"],
    "square.zrt": ["enter,enter,1,2,comma,5,enter,enter"],
    "timer_clock.zrt": ["enter,enter," + ",".join(["tick"] * 8) + ",enter"],
}
KEY_TOKENS = ["0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "comma", "minus", "F",
              "left", "right", "enter", "tick", "run1", "run", "stop", "adr1"]


def opcode_table():
    """(value, operand bytes) per opcode of machine/opcodes.def."""
    table = {}
    pattern = re.compile(r"^OPCODE\((0x[0-9A-F]{2}), \w+, \"[^\"]*\", \"[^\"]*\", (\w+), (-?\d+),")
    with open(os.path.join(ROOT, "machine", "opcodes.def"), encoding="utf-8") as f:
        for line in f:
            m = pattern.match(line)
            if m:
                table[int(m.group(1), 16)] = int(m.group(3))
    return table


def word(value):
    magnitude = min(abs(value), 32767)
    high = (magnitude >> 8) | (0x80 if value < 0 else 0)
    return [high, magnitude & 0xFF]


def variable(rng):
    # Mostly Singles and Integers, sometimes Bytes, RX, Stack and hardware names.
    if rng.random() < 0.05:
        return rng.choice([0, 252, 253, 254, 255])
    return rng.choice([rng.randint(1, 32), rng.randint(129, 251), rng.randint(33, 128)])


def random_instructions(rng, table):
    """Bytes of an image made of instructions, with the tricky shapes mixed in."""
    fixed = [op for op, n in table.items() if n >= 0 and op not in (0x66, 0x6B, 0x89, 0x84, 0x83)]
    out = []
    length = rng.choice([40, 120, 400, 1000])
    while len(out) < length:
        here = len(out) + 1
        choice = rng.random()
        if choice < 0.08:  # POKE a byte into code nearby (often the next unit)
            target = max(1, min(1024, here + rng.randint(-8, 12)))
            out += [0x72] + word(target) + [0x71, rng.randint(0, 255), 0x42]
        elif choice < 0.11:  # POKE2 a word into code
            target = max(1, min(1024, here + rng.randint(-8, 12)))
            out += [0x72] + word(target) + [0x72] + word(rng.randint(-300, 300)) + [0x43]
        elif choice < 0.18:  # an absolute jump near here, often into operand bytes
            target = rng.choice([0, 1024, 1023, max(1, here + rng.randint(-20, 20))])
            out += [rng.choice([0xF5, 0xFD, 0xF1, 0xF9])] + word(target)
        elif choice < 0.25:  # a short jump
            out += [rng.choice([0xF4, 0xFC, 0xF0]), rng.randint(100, 160)]
        elif choice < 0.30:  # a jump from a variable
            out += [0xF7, variable(rng)]
        elif choice < 0.42:  # load-constant-operate
            out += [0x71, rng.randint(0, 255)] if rng.random() < 0.5 else \
                   [0x72] + word(rng.randint(-32767, 32767))
            out += [rng.choice([0x01, 0x02, 0x03, 0x12, 0x07, 0x09, 0x0B, 0x0C])]
        elif choice < 0.50:  # iM v; Incr; Mv v
            v = variable(rng)
            out += [0x60, v, 0x30, 0x62, v]
        elif choice < 0.56:  # compare-and-branch / IF skip
            out += [0x60, variable(rng), 0x71, rng.randint(0, 20), rng.choice([0x07, 0x09, 0x0C])]
            out += [0x7F, rng.randint(0, 12)] if rng.random() < 0.5 else [0xFC, rng.randint(110, 150)]
        elif choice < 0.62:  # element load / store
            out += [0x71, rng.randint(0, 40), 0x64, variable(rng)]
            if rng.random() < 0.5:
                out += [0x71, rng.randint(0, 40), 0x65, variable(rng)]
        elif choice < 0.66:  # a float constant, sometimes huge (float overflow)
            value = rng.choice([1e38, -3.4e38, 0.5, 1.0, 2.5e-3, rng.uniform(-1e5, 1e5)])
            out += [0x73] + list(struct.pack("<f", value)) + [rng.choice([0x02, 0x12, 0x03])]
        elif choice < 0.70:  # a divisor read from a variable (may be 0)
            out += [0x60, variable(rng), 0x60, variable(rng), 0x03, 0x62, variable(rng)]
        elif choice < 0.74:  # Mod by a variable (may be 0 or no whole number)
            out += [0x60, variable(rng), 0x60, variable(rng), 0x10, 0x62, variable(rng)]
        elif choice < 0.78:  # a Loop of any form: counted, compare, value list
            limit = rng.choice([rng.randint(-5, 60), 32500 + variable(rng), rng.randint(-32767, 32767)])
            out += [0x7B, rng.randint(0, 0x1F), rng.randint(0, 40)] + word(limit)
        elif choice < 0.80:  # a chain: a b op c op, then a store, a skip or a branch
            out += [0x60, variable(rng), rng.choice([0x60, 0x71]), variable(rng) % 40]
            out += [rng.choice([0x01, 0x02, 0x03, 0x10, 0x12, 0x07, 0x0B])]
            out += [0x71, rng.randint(0, 9)] if rng.random() < 0.5 else [0x60, variable(rng)]
            out += [rng.choice([0x01, 0x02, 0x03, 0x10, 0x12, 0x09, 0x0C])]
            out += rng.choice([[0x62, variable(rng)], [0x7F, rng.randint(0, 9)],
                               [0xFC, rng.randint(110, 150)], []])
        elif choice < 0.82:  # an element with a variable for its index
            out += [0x60, variable(rng), rng.choice([0x64, 0x65]), variable(rng)]
        elif choice < 0.84:  # a compare with 0 and IF's skip
            out += [0x60, variable(rng), rng.choice([0x35, 0x36, 0x37, 0x38, 0x39, 0x3C]),
                    0x7F, rng.randint(0, 9)]
        elif choice < 0.88:  # plain stack work that rarely faults
            out += rng.choice([[0x60, rng.randint(1, 32)], [0x62, rng.randint(129, 251)],
                               [0x71, rng.randint(0, 9)], [0x69], [0x68], [0x12], [0x30], [0x2F]])
        else:
            op = rng.choice(fixed)
            out += [op] + [variable(rng) if table[op] == 1 else rng.randint(0, 255)
                           for _ in range(table[op])]
    if length < 1000:
        out += [0xF5, 0, 1]  # round again from 1
    return out[:1024]


def safe_loop(rng):
    """A loop that runs long: shapes that rarely fault, and POKEs that rewrite
    its own constants and opcodes between rounds."""
    out = []
    constants = []
    while len(out) < rng.randint(20, 150):
        choice = rng.random()
        s, i = rng.randint(1, 32), rng.randint(129, 251)
        if choice < 0.25:
            constants.append(len(out) + 2)
            out += [0x60, s, 0x71, rng.randint(0, 9), rng.choice([0x12, 0x01, 0x02]), 0x62, s]
        elif choice < 0.4:
            out += [0x60, i, 0x30, 0x62, i]
        elif choice < 0.55:
            out += [0x60, s, 0x71, 5, 0x07, 0x7F, rng.randint(0, 3), 0x00, 0x00, 0x00]
        elif choice < 0.65:
            out += [0x71, rng.randint(1, 20), 0x64, rng.randint(1, 140)]
            out += [0x71, rng.randint(1, 20), 0x65, rng.randint(1, 140)]
        elif choice < 0.8 and constants:
            target = rng.choice(constants) + 1
            out += [0x72] + word(target) + [0x60, s, 0x42]  # the constant := a variable's low byte
        elif choice < 0.9:
            out += [0x72] + word(len(out) + 7) + [0x71, rng.choice([0x30, 0x2F, 0x00, 0x69]), 0x42, 0x00]
        elif choice < 0.95:  # a counted Loop over i(k) around s := s + 1
            k = rng.randint(1, 7)
            out += [0x71, 0, 0x62, 128 + k]
            body = len(out)
            out += [0x60, s, 0x30, 0x62, s]
            back = len(out) - body + 1  # from the form byte to the body
            out += [0x7B, k | rng.choice([0, 0x08]), back] + word(rng.randint(-3, 20))
        elif choice < 0.97:  # a chain into s, an element by i, =0 IF
            out += [0x60, s, 0x71, rng.randint(1, 9), rng.choice([0x12, 0x02, 0x03]), 0x60, i,
                    rng.choice([0x12, 0x01, 0x10]), 0x62, s]
            out += [0x60, i, rng.choice([0x64, 0x65]), rng.randint(1, 140)]
            out += [0x60, s, 0x37, 0x7F, rng.randint(0, 3), 0x00, 0x00, 0x00]
        else:
            out += [0x60, s, 0x71, 0, 0x09, 0xFC, 129 + rng.randint(0, 4)]
    out += [0xF5, 0, 1]
    return out + [0] * (1024 - len(out))


def random_image(rng, table):
    if rng.random() < 0.3:
        return bytes(safe_loop(rng))
    if rng.random() < 0.25:
        body = [rng.randint(0, 255) for _ in range(1024)]
    else:
        body = random_instructions(rng, table)
        body += [rng.randint(0, 255) for _ in range(1024 - len(body))]
    return bytes(body)


def random_keys(rng):
    return ",".join(["enter", "enter"] + [rng.choice(KEY_TOKENS) for _ in range(rng.randint(0, 12))])


def run(binary, args, snapshot):
    """Exit code, output, errors and the final snapshot (program memory included)."""
    if os.path.exists(snapshot):
        os.remove(snapshot)
    p = subprocess.run([binary, "--lib-dir", os.path.join(ROOT, "libraries"), "run", *args,
                        "--json", "--snapshot-out", snapshot],
                       capture_output=True, timeout=120)
    state = open(snapshot, "rb").read() if os.path.exists(snapshot) else b""
    return p.returncode, p.stdout, p.stderr, state


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("old")
    parser.add_argument("new")
    parser.add_argument("--images", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--verbose", action="store_true")
    a = parser.parse_args()
    rng = random.Random(a.seed)
    table = opcode_table()
    cases = []
    for name, scripts in EXAMPLE_KEYS.items():
        program = os.path.join(ROOT, "examples", name)
        for keys in scripts + [random_keys(rng) for _ in range(4)]:
            for per_tick in ["1000", str(rng.randint(1, 50))]:
                cases.append([program, "--keys", keys, "--instructions-per-tick", per_tick,
                              "--max-instructions", "2000000", "--port", "0x35",
                              "--adc", "512,0,0,0"])
    for program in sorted(os.listdir(os.path.join(ROOT, "bench", "programs"))):
        if program.endswith(".kel"):
            for limit in ["100000", str(rng.randint(1, 100000))]:
                cases.append([os.path.join(ROOT, "bench", "programs", program), "--keys",
                              "enter,enter", "--max-instructions", limit,
                              "--instructions-per-tick", str(rng.randint(1, 3000))])
    with tempfile.TemporaryDirectory() as work:
        for i in range(a.images):
            path = os.path.join(work, f"image{i}.bin")
            with open(path, "wb") as f:
                f.write(random_image(rng, table))
            cases.append([path, "--keys", random_keys(rng), "--max-instructions",
                          str(rng.choice([1, 2, 3, 10, 100, rng.randint(1, 200000)])),
                          "--instructions-per-tick", str(rng.choice([1, 2, 3, 7, 1000, rng.randint(1, 500)]))])
        same = different = 0
        for case in cases:
            snapshot = os.path.join(work, "state.snap")
            if run(a.old, case, snapshot) == run(a.new, case, snapshot):
                same += 1
            else:
                different += 1
                print("different:", " ".join(case), file=sys.stderr)
                if a.verbose:
                    keep = os.path.join("/tmp", "compare_" + os.path.basename(case[0]))
                    if case[0].startswith(work):
                        with open(case[0], "rb") as src, open(keep, "wb") as dst:
                            dst.write(src.read())
                        print("  kept as", keep, file=sys.stderr)
    print(f"runs: {len(cases)}  identical: {same}  different: {different}")
    return 1 if different else 0


if __name__ == "__main__":
    sys.exit(main())
