#!/usr/bin/env python3
"""End-to-end: ミトーン played from the viewing distance with the numeric keypad alone.

    keypad_play.py <build folder> <xmapwatch> <artefact folder>

Starts build/mitoon in a throw-away home and calibrates for a large ring with the mouse, as
play.py does. From then on both eyes are tested with keypad keys only, sent by
`xdotool key`: "/" chooses 左目, "*" 右目, Enter starts, the digits around 5 answer the gap
read from a screenshot, 5 says "見えない". The results are saved with the mouse on
"今回の結果を保存", and the record file must hold them. Screenshots of a failing run stay in
the artefact folder."""

import time

import play
from play import fail, gap, ring, wait_for

# The keypad key that answers each orientation, 1 to 8 clockwise from up.
KEYS = {1: "KP_8", 2: "KP_9", 3: "KP_6", 4: "KP_3", 5: "KP_2", 6: "KP_1", 7: "KP_4", 8: "KP_7"}
RIGHT, WRONG, CANNOT_SEE = "right", "wrong", "cannot see"


def answer(window, how):
    """Reads the ring on view and answers it with one keypad key; waits for the next ring."""
    screen = window.shot("ring")
    box = ring(screen, window.client_top)
    if box is None:
        fail("no ring on view")
    shown = gap(screen, box)
    if how == CANNOT_SEE:
        window.key("KP_5")
    else:
        window.key(KEYS[shown if how == RIGHT else (shown + 3) % 8 + 1])
    width = box[2] - box[0]

    def shrunk():
        after = ring(window.shot("after"), window.client_top)
        return after and after[2] - after[0] < width - 1
    wait_for("the next ring", shrunk, timeout=10, interval=0.05)


def test_eye(window, eye_key, answers):
    window.key(eye_key)
    window.key("KP_Enter")
    wait_for("the test to start", window.answers_enabled)
    for how in answers:
        answer(window, how)
    if window.answers_enabled():
        fail("the answer buttons are still enabled after two wrong answers")


def main():
    with play.started("mitoon-e2e-keypad-", play.WIDE_WINDOW) as (_, window, home, _):
        play.calibrate_far(window)

        # Left eye: four right answers, then "見えない" twice: 0.1 × (4 + 1).
        test_eye(window, "KP_Divide", [RIGHT] * 4 + [CANNOT_SEE] * 2)
        # Right eye: three right answers among wrong ones and "見えない": 0.4.
        test_eye(window, "KP_Multiply", [RIGHT, RIGHT, WRONG, RIGHT, CANNOT_SEE, WRONG])

        before = time.time()
        play.check_saved(play.save(window, home), before)


main()
