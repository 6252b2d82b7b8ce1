#!/usr/bin/env python3
"""End-to-end: 精密測定 of both eyes at 300 cm, answered with the numeric keypad alone.

    precise_play.py <build folder> <xmapwatch> <artefact folder>

Starts build/mitoon in a throw-away home whose settings hold a pixel pitch measured with a card,
picks 300 cm in the main window and opens ﾌｧｲﾙ → 精密測定 with the mouse. From then on only keypad
keys, sent by `xdotool key`: "*" chooses 右目 and "/" 左目, Enter starts, and each ring's gap is
read from a screenshot: a ring whose gap is at least logMAR 0.3 is answered with the digit that
lies that way from 5, a smaller one with 5, "見えない", as an eye with that threshold would.
Both runs must be in 精密測定.csv with a logMAR near 0.3. Screenshots of a failing run stay in
the artefact folder."""

import math
import os
import subprocess

import play
from play import Screen, fail, run, wait_for

PITCH_MM = 0.2645
DISTANCE_MM = 3000
THRESHOLD = 0.3
RINGS = 18
KEYS = {1: "KP_8", 2: "KP_9", 3: "KP_6", 4: "KP_3", 5: "KP_2", 6: "KP_1", 7: "KP_4", 8: "KP_7"}
SETTINGS = play.WIDE_WINDOW + f"PixelPitchMm={PITCH_MM}\n"


def half_line(screen, cx, cy, dx, dy, reach):
    """The distances from the centre, in pixels, of the ring's ink along one direction: the
    first run of dark pixels outwards (the progress text below lies beyond it)."""
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    ink = []
    for r in range(1, reach):
        if screen.dark(round(cx + ux * r), round(cy + uy * r)):
            ink.append(r)
        elif ink:
            break
    return ink


def read_ring(screen):
    """The ring in the middle of the window: its gap in device pixels and its orientation."""
    cx, cy = screen.width // 2, screen.height // 2
    reach = min(cx, cy)
    outermost = {}
    for orientation, (dx, dy) in play.DIRECTIONS.items():
        ink = half_line(screen, cx, cy, dx, dy, reach)
        outermost[orientation] = max(ink) if ink else 0
    # Seven of the eight directions cross the ring at its outer radius; the eighth passes
    # through the gap and finds nothing, or the progress text further out.
    radius = sorted(outermost.values())[3]
    if radius == 0:
        fail("no ring on view")
    gap = 2 * radius / 5
    astray = [o for o, r in outermost.items() if abs(r - radius) > max(2, radius / 5)]
    return gap, astray[0] if len(astray) == 1 else None


def logmar(gap_px):
    angle = 2 * math.atan(gap_px * PITCH_MM / (2 * DISTANCE_MM)) * 180 * 60 / math.pi
    return math.log10(angle)


def progress_strip(screen):
    """The bottom of the window, where the progress ("7 / 18") or the result's buttons are."""
    top = screen.height - 120
    return bytes(screen.data[3 * top * screen.width:])


def key(*keys):
    run("xdotool", "key", *keys)


def changed(wid, previous, what):
    """The next screenshot whose bottom differs from `previous`'s."""
    strip = progress_strip(previous)
    return wait_for(what, lambda: (lambda s: s if progress_strip(s) != strip else None)(
        Screen(wid, "ring")))


def measure(wid, eye_key):
    """One eye's run from its set-up to its result; returns the result's screenshot."""
    setup = Screen(wid, "setup")
    key(eye_key, "KP_Enter")
    shown = changed(wid, setup, "the first ring")
    for _ in range(RINGS):
        gap, orientation = read_ring(shown)
        if logmar(gap) >= THRESHOLD:
            if orientation is None:
                fail(f"the gap of a ring of {gap:.1f} pixels is unclear")
            key(KEYS[orientation])
        else:
            key("KP_5")
        shown = changed(wid, shown, "the next ring")
    return shown


def main():
    with play.started("mitoon-e2e-precise-", SETTINGS) as (program, window, home, events):
        play.calibrate_far(window)
        shown = len(events)
        window.click((20, -10))
        wait_for("the File menu", lambda: any(e.startswith("map") for e in events[shown:]))
        # Up from no item wraps to "終了"; once more is "精密測定".
        window.key("Up", "Up", "Return")

        def precise_window():
            for w in run("xdotool", "search", "--onlyvisible", "--pid", str(program.pid)).split():
                if int(w) != window.wid and "1280x1024" in run("xdotool", "getwindowgeometry",
                                                              w):
                    return int(w)
            return None
        wid = wait_for("the 精密測定 window filling the screen", precise_window)
        subprocess.run(["xdotool", "windowactivate", "--sync", str(wid)], capture_output=True)

        first = measure(wid, "KP_Multiply")
        # The result's default button measures the other eye.
        key("KP_Enter")
        changed(wid, first, "the other eye's set-up")
        result = measure(wid, "KP_Divide")
        if sum(result.dark(x, y) for y in range(40, 120) for x in range(40, 400)) < 200:
            fail("the result screen shows no heading")

        runs = os.path.join(home, "drive_c", "Tool", "devwork", "精密測定.csv")
        wait_for("the runs file", lambda: os.path.exists(runs))
        lines = open(runs, encoding="utf-8-sig").read().splitlines()
        if len(lines) != 3:
            fail(f"精密測定.csv holds {lines}")
        for line, eye in zip(lines[1:], ("右目", "左目")):
            fields = line.split(",")
            if fields[2] != eye or fields[7] != str(RINGS) or fields[8] != "300":
                fail(f"run line {line}")
            if abs(float(fields[3]) - THRESHOLD) > 0.1:
                fail(f"logMAR {fields[3]} is not near the eye's {THRESHOLD}: {line}")
        print("stored:", *lines[1:], sep="\n  ")


main()
