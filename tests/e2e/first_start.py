#!/usr/bin/env python3
"""End-to-end: the first start of ミトーン in an empty settings store, on a real X server.

    first_start.py <build folder> <xmapwatch> <artefact folder>

The main window must open with a client area that holds the whole layout (6645 × 7830 twips,
443 × 522 pixels) below its menu bar, wholly on the screen. After a test of each eye, at the
reference setting, the save button must be on screen: a click on it writes the record."""

import re

import play
from play import LEFT_EYE, RIGHT_EYE, SAVE, START, answer, fail, run, wait_for


def measure(window, eye_button):
    """Tests one eye with wrong answers until the test ends (two in a row end it)."""
    window.click(eye_button)
    window.click(START)
    wait_for("the test to start", window.answers_enabled)
    for _ in range(12):
        answer(window, False, [])
        if not window.answers_enabled():
            return
    fail("the test did not end")


def main():
    with play.started("mitoon-e2e-first-") as (_, window, home, _):
        shot = window.shot("first-start")
        client = (shot.width, shot.height - window.client_top)
        if client[0] < 443 or client[1] < 522:
            fail(f"client area {client[0]} × {client[1]} does not hold the layout's 443 × 522")
        screen = [int(v) for v in run("xdotool", "getdisplaygeometry").split()]
        if window.x < 0 or window.y < 0 or window.x + shot.width > screen[0] \
                or window.y + shot.height > screen[1]:
            fail(f"window {shot.width} × {shot.height} at {window.x}, {window.y} "
                 f"is not wholly on the {screen[0]} × {screen[1]} screen")

        # Both eyes at the reference setting.
        measure(window, LEFT_EYE)
        measure(window, RIGHT_EYE)

        # The save button lies on the screen, and a click on it saves both results.
        if window.y + window.client_top + SAVE[1] >= screen[1]:
            fail("the save button lies below the screen")
        data = play.save(window, home)
        if not re.fullmatch(rb'#\d{4}-\d\d-\d\d#,"\d\d:\d\d:\d\d","[\d.]+","[\d.]+"\r\n', data):
            fail(f"record file holds {data!r}")


main()
