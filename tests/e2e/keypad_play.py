#!/usr/bin/env python3
"""End-to-end: ミトーン played from the viewing distance with the numeric keypad alone.

    keypad_play.py <build folder> <xmapwatch> <artefact folder>

Starts build/mitoon in a throw-away home and calibrates for a large ring with the mouse, as
play.py does. From then on both eyes are tested with keypad keys only, sent by
`xdotool key`: "/" chooses 左目, "*" 右目, Enter starts, the digits around 5 answer the gap
read from a screenshot, 5 says "見えない". The results are saved with the mouse on
"今回の結果を保存", and the record file must hold them. Screenshots of a failing run stay in
the artefact folder."""

import os
import re
import shutil
import subprocess
import time

import play
from play import CM, SAVE, MainWindow, fail, gap, ring, run, wait_for

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
    if os.path.isdir(play.ARTEFACTS):
        shutil.rmtree(play.ARTEFACTS)
    os.makedirs(play.ARTEFACTS)
    home, env = play.isolated_home("mitoon-e2e-keypad-")
    with open(home + "/.config/ミトーン.ini", "w") as ini:
        ini.write("[Settings]\nMainLeft=0\nMainTop=0\nMainWidth=9000\nMainHeight=8190\n")

    watch, events = play.watch_maps()

    program = subprocess.Popen([os.path.join(play.BUILD, "mitoon")], env=env)
    try:
        window = play.main_window_after_splash(program, events)

        # 14 inches at 300 cm: a ring large enough to read its gap after many answers.
        window.click(CM)
        window.key(*["Down"] * 6)
        wait_for("the calibrated ring", lambda: (lambda b: b and b[2] - b[0] > 120)(
            ring(window.shot("calibrated"), window.client_top)))

        # Left eye: four right answers, then "見えない" twice: 0.1 × (4 + 1).
        test_eye(window, "KP_Divide", [RIGHT] * 4 + [CANNOT_SEE] * 2)
        # Right eye: three right answers among wrong ones and "見えない": 0.4.
        test_eye(window, "KP_Multiply", [RIGHT, RIGHT, WRONG, RIGHT, CANNOT_SEE, WRONG])

        record = os.path.join(home, "drive_c", "Tool", "devwork", "mitoon.txt")
        before = time.time()
        window.click(SAVE)
        wait_for("the record file", lambda: os.path.exists(record) and os.path.getsize(record))
        data = open(record, "rb").read()
        match = re.fullmatch(rb'#(\d{4})-(\d\d)-(\d\d)#,"(\d\d):(\d\d):(\d\d)","0\.5","0\.4"\r\n',
                             data)
        if not match:
            fail(f"record file holds {data!r}")
        saved = time.mktime(tuple(int(g) for g in match.groups()) + (0, 0, -1))
        if abs(saved - before) > 120:
            fail(f"record time {data!r} is not the time of saving")
    finally:
        if program.poll() is None:
            program.kill()
        watch.kill()
        shutil.rmtree(home, ignore_errors=True)
    shutil.rmtree(play.ARTEFACTS)
    print("1 passed, 0 failed")


main()
