#!/usr/bin/env python3
"""Writes the seed corpora: real reports as the device prints them, the
Latching report, the report faults, valid configuration files, one file
for every format fault, and clipboard texts taken and refused. Run from
anywhere; rewrites only the seed-* files."""
import pathlib

here = pathlib.Path(__file__).resolve().parent
modes = ["Momentary", "Toggle", "Leading-Edge", "Trailing-Edge", "Either-Edge",
         "Pulse-Stretch", "Min-Time", "Max-Time", "Debounce", "Latching"]


def report(mode, gate="OR", imap="000000000000", counter="0", closed=False, pc=False,
           ugate="OR", umap="000000000000", banner=False):
    out = "\r\r\n" if not banner else "\r\r\n\r\n\r\n"
    out += f"Relay mode: {mode}\r\nInput mode: {gate}\r\nInput map: {imap}\r\n"
    if mode == "Latching":
        out += f"Unlatch Input mode: {ugate}\r\nUnlatch Input map: {umap}\r\n"
    out += f"Relay counter: 0x{counter}\r\nRelay status: {'Closed' if closed else 'Open'}\r\n"
    out += f"PC controlled: {'Yes' if pc else 'No'}\r\n> "
    return out


reports = {
    "momentary": report("Momentary"),
    "toggle-pc": report("Toggle", "AND", "100000000001", pc=True),
    "timed-1a2b": report("Leading-Edge", "NAND", "010101010101", "1A2B", closed=True),
    "timed-longest": report("Max-Time", "NOR", "111111111111", "FCAF7F"),
    "timed-8000": report("Pulse-Stretch", "NIL", "000000000001", "8000"),
    "every-gate": "".join(report(m, g) for m, g in zip(modes, ["OR", "AND", "XOR", "IL", "NOR", "NAND", "NXOR", "NIL"])),
    "latching": report("Latching", "XOR", "110000000011", "0", True, True, "NXOR", "001111111100"),
    "latching-banners": report("Latching", "IL", "000011110000", ugate="NIL", umap="111100001111", banner=True),
    "short-map-then-whole": report("Toggle", imap="00000") + "\x1b" + report("Toggle", imap="101010101010"),
    "latching-short-unlatch": report("Latching", umap="11111") + report("Latching", umap="111110000011"),
    "lower-case-counter": report("Min-Time", counter="abcdef"),
    "counter-too-long": report("Debounce", counter="FFFFFFFFFFFF"),
    "status-neither": report("Toggle").replace("Open", "Ajar"),
    "controlled-neither": report("Toggle").replace("No", "Maybe"),
    "map-with-junk": report("Toggle", imap="1x0?1 0\t1001"),
    "cut-after-mode": report("Latching")[:30],
    "unknown-mode": report("Toggle").replace("Toggle", "Sideways"),
    "wrong-echo": "?\r\n> ",
    "empty": "",
}
(here / "corpus" / "devicereport").mkdir(parents=True, exist_ok=True)
for name, text in reports.items():
    (here / "corpus" / "devicereport" / f"seed-{name}").write_bytes(text.encode("latin-1"))

title = "Tavik Configuration File,"
notice = '"(c) 2026 Tavik Controls",'
date = "Date created: 12-06-2026 01:30"
columns = ", Relay Number, Relay Mode, Input Mode, InputMap, Counter, PC-Control,"


def relay_line(n, mode=0, gate=0, imap="000000000000", ugate=0, umap="000000000000", counter="000000", pc=0):
    return f", Relay {n}, {mode}, {gate}, BIN {imap}, {ugate}, BIN {umap}, HEX {counter}, {pc},"


def config(lines=None, header=None, end="\r\n"):
    header = header or [title, notice, date, columns]
    lines = lines if lines is not None else [relay_line(n) for n in range(1, 17)]
    return end.join(header + lines) + end


varied = [relay_line(n, n % 10, n % 8, format(n * 257, "012b")[-12:], (n + 3) % 8,
                     format(n * 77, "012b")[-12:], format(n * 99991, "06X")[-6:], n % 2) for n in range(1, 17)]
files = {
    "new": config(),
    "varied": config(varied),
    "lf-only": config(varied, end="\n"),
    "longest-time": config([relay_line(n, 7, 1, counter="FCAF7F") for n in range(1, 17)]),
    "fault1-title": config(header=["Tavik Config File,", notice, date, columns]),
    "fault2-notice": config(header=[title, '"(c) Someone",', date, columns]),
    "fault3-date": config(header=[title, notice, "Made: today", columns]),
    "fault4-columns": config(header=[title, notice, date, ", Relay,"]),
    "fault5-relay-number": config([relay_line(n if n != 9 else 10) for n in range(1, 17)]),
    "fault6-map": config([relay_line(n, imap="0000000x0000" if n == 3 else "000000000000") for n in range(1, 17)]),
    "fault6-unlatch-map-cut": config([relay_line(n) if n != 16 else relay_line(n)[:40] for n in range(1, 17)]),
    "fault7-pc-control": config([relay_line(n, pc=2 if n == 16 else 0) for n in range(1, 17)]),
    "short-file": config([relay_line(n) for n in range(1, 12)]),
    "non-digit-modes": config([relay_line(n).replace(f"Relay {n}, 0, 0", f"Relay {n}, x, 9") for n in range(1, 17)]),
    "empty": "",
}
(here / "corpus" / "configfile").mkdir(parents=True, exist_ok=True)
for name, text in files.items():
    (here / "corpus" / "configfile" / f"seed-{name}").write_bytes(text.encode("latin-1"))

whole = ("Tavik relay\nRelay mode: Latching\nInput mode: IL\nInput map: 1, 2, 6, 9\n"
         "Unlatch input mode: NXOR\nUnlatch input map: 1\nClosure time: 1:57:17.10\n")
clips = {
    "whole-latching": whole,
    "whole-crlf-mixed-case": whole.upper().replace("\n", "\r\n"),
    "relay-mode": "Tavik relay\nRelay mode: Pulse-Stretch\n",
    "input-mode": "Tavik relay\nInput mode: nand\n",
    "input-map": " tavik RELAY \n\n input MAP : 12 3,5\n",
    "input-map-none": "Tavik relay\nInput map: none\n",
    "closure-time-tenths": "Tavik relay\nClosure time: 1:2:3.4\n",
    "closure-time-longest": "Tavik relay\nClosure time: 45:59:59.99\n",
    "closure-time-past-longest": "Tavik relay\nClosure time: 46:00:00.00\n",
    "seconds-60": "Tavik relay\nClosure time: 0:00:60\n",
    "minutes-60": "Tavik relay\nClosure time: 1:60:00\n",
    "input-13": "Tavik relay\nInput map: 13\n",
    "repeated-line": "Tavik relay\nInput map: 3\nInput map: 4\n",
    "two-parts": "Tavik relay\nRelay mode: Toggle\nInput mode: OR\n",
    "unlatch-alone": "Tavik relay\nUnlatch input map: 3\n",
    "no-colon": "Tavik relay\nInput map 3\n",
    "shopping-list": "shopping list\n",
    "empty": "",
}
(here / "corpus" / "clipboard").mkdir(parents=True, exist_ok=True)
for name, text in clips.items():
    (here / "corpus" / "clipboard" / f"seed-{name}").write_bytes(text.encode("utf-8"))
