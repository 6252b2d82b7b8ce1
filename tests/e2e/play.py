#!/usr/bin/env python3
"""End-to-end: ミトーン as a person uses it, on a real X server, with the mouse.

    play.py <build folder> <xmapwatch> <artefact folder>

Starts build/mitoon in a throw-away home, waits for the splash screen and then the main
window, calibrates with the keyboard, tests the left eye and the right eye by reading each
ring's gap from a screenshot and clicking answer buttons, saves, and checks the bytes of the
record file. Then it opens the records window through the menu and closes the program
through "終了". Screenshots of a failing run stay in the artefact folder."""

import contextlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

BUILD, XMAPWATCH, ARTEFACTS = sys.argv[1:4]

# Client-area positions of the layout, in pixels (15 twips to a pixel).
RING = (296, 56)            # randort's top-left corner
START = (80 + 40, 176 + 16)
LEFT_EYE = (80 + 10, 136 + 16)
RIGHT_EYE = (128 + 10, 136 + 16)
SAVE = (48 + 72, 440 + 16)
CM = (72 + 15, 112 + 10)
# The answer buttons by orientation, 1 to 8 clockwise from up: their centres.
BUTTONS = {1: (88 + 32, 216 + 24), 2: (152 + 32, 232 + 24), 3: (160 + 32, 280 + 24),
           4: (152 + 32, 328 + 24), 5: (88 + 32, 344 + 24), 6: (24 + 32, 328 + 24),
           7: (16 + 32, 280 + 24), 8: (24 + 32, 232 + 24)}
# Directions of the gaps as seen from the ring's centre, x to the right and y down.
DIRECTIONS = {1: (0, -1), 2: (1, -1), 3: (1, 0), 4: (1, 1), 5: (0, 1), 6: (-1, 1), 7: (-1, 0),
              8: (-1, -1)}

shots = []


def fail(message):
    print("FAILED:", message)
    print(f"screenshots kept in {ARTEFACTS}")
    sys.exit(1)


def wait_for(what, condition, timeout=15.0, interval=0.02):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(interval)
    fail(f"timed out waiting for {what}")


def run(*args):
    return subprocess.run(args, capture_output=True, text=True).stdout


class Screen:
    """One screenshot of a window as rows of RGB triples, kept as a PPM file (any image viewer
    opens it)."""

    def __init__(self, window, name):
        path = os.path.join(ARTEFACTS, f"{len(shots):03d}-{name}.ppm")
        # One process a shot: ImageMagick writes the binary PPM to standard output.
        ppm = subprocess.run(["import", "-window", str(window), "-depth", "8", "ppm:-"],
                             check=True, capture_output=True).stdout
        with open(path, "wb") as kept:
            kept.write(ppm)
        shots.append(path)
        # "P6", width, height and the largest value, each followed by one white space.
        fields = ppm.split(maxsplit=4)
        if fields[0] != b"P6" or fields[3] != b"255":
            fail(f"import wrote no 8-bit PPM for {name}: {ppm[:20]!r}")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[len(ppm) - 3 * self.width * self.height:]

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.data[i:i + 3])

    def dark(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return False
        return sum(self.pixel(x, y)) < 3 * 128


class MainWindow:
    def __init__(self, wid):
        self.wid = wid
        geometry = dict(l.split("=") for l in run("xdotool", "getwindowgeometry", "--shell",
                                                    str(wid)).split())
        self.x, self.y = int(geometry["X"]), int(geometry["Y"])
        self.client_top = None

    def shot(self, name):
        screen = Screen(self.wid, name)
        if self.client_top is None:
            # The menu bar is grey, the client area white: the first white row at the left.
            self.client_top = next(y for y in range(screen.height)
                                   if screen.pixel(2, y) == (255, 255, 255))
        return screen

    def click(self, point):
        x, y = self.x + point[0], self.y + self.client_top + point[1]
        # "mousemove --sync" waits for the pointer to move, which it never does when it is there
        # already (a second click on the same button): xdotool then waits 15 s in vain. A step
        # beside the target first makes every move a real one.
        run("xdotool", "mousemove", "--sync", str(x + 1), str(y + 1), "mousemove", "--sync",
            str(x), str(y), "click", "1")

    def key(self, *keys):
        run("xdotool", "key", *keys)

    def answers_enabled(self):
        """True once the answer buttons are enabled: "上" is drawn black, not grey."""
        screen = self.shot("buttons")
        x, y = BUTTONS[1]
        return sum(screen.dark(x + dx, self.client_top + y + dy)
                   for dx in range(-10, 11) for dy in range(-10, 11)) > 10


def ring(screen, top):
    """The ring's dark pixels near randort: bounding box (x0, y0, x1, y1) or None."""
    xs, ys = [], []
    for y in range(top + RING[1], min(screen.height, top + RING[1] + 240)):
        for x in range(RING[0], screen.width):
            if screen.dark(x, y):
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs), max(ys)


def gap(screen, box):
    """The orientation whose direction has the fewest dark pixels across the band."""
    x0, y0, x1, y1 = box
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    a, b = (x1 - x0) / 2, (y1 - y0) / 2
    darkness = {}
    for orientation, (dx, dy) in DIRECTIONS.items():
        norm = (dx * dx + dy * dy) ** 0.5
        ux, uy = dx / norm, dy / norm
        # Where the ray meets the outer ellipse.
        reach = 1 / ((ux / a) ** 2 + (uy / b) ** 2) ** 0.5
        count = 0
        for spread in (-0.06, -0.03, 0, 0.03, 0.06):
            sx, sy = ux - spread * uy, uy + spread * ux
            for f in (0.72, 0.78, 0.84, 0.9, 0.95):
                count += screen.dark(round(cx + sx * reach * f), round(cy + sy * reach * f))
        darkness[orientation] = count
    best = min(darkness, key=darkness.get)
    ranked = sorted(darkness.values())
    if ranked[0] == ranked[1]:
        fail(f"gap unclear: {darkness}")
    return best


def answer(window, right, expected_rings):
    """Reads the ring on view and answers it right or wrong; waits for the next ring."""
    screen = window.shot("ring")
    box = ring(screen, window.client_top)
    if box is None:
        fail("no ring on view")
    shown = gap(screen, box)
    chosen = shown if right else (shown + 3) % 8 + 1  # the opposite direction
    window.click(BUTTONS[chosen])
    # Every answer shrinks the ring: wait until the picture shows that.
    width = box[2] - box[0]

    def shrunk():
        after = ring(window.shot("after"), window.client_top)
        return after and after[2] - after[0] < width - 1
    wait_for("the next ring", shrunk, timeout=10, interval=0.05)
    expected_rings.append(shown)


def test_eye(window, eye_button, answers):
    window.click(eye_button)
    window.click(START)
    wait_for("the test to start", window.answers_enabled)
    rings = []
    for right in answers:
        answer(window, right, rings)
    return rings


def isolated_home(prefix):
    """A throw-away home for one run of the program, and the environment that points there."""
    home = tempfile.mkdtemp(prefix=prefix)
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config",
               XDG_DATA_HOME=home + "/.local/share", XDG_CACHE_HOME=home + "/.cache",
               XDG_RUNTIME_DIR=home + "/runtime", MITOON_DRIVE_C=home + "/drive_c")
    os.makedirs(home + "/.config")
    os.makedirs(home + "/runtime", mode=0o700)
    return home, env


def watch_maps():
    """xmapwatch, and the list its map and unmap events go into as they come."""
    watch = subprocess.Popen([XMAPWATCH], stdout=subprocess.PIPE, text=True)
    events = []
    if watch.stdout.readline().strip() != "ready":
        fail("xmapwatch did not start")
    threading.Thread(target=lambda: events.extend(iter(watch.stdout.readline, "")),
                     daemon=True).start()
    return watch, events


def main_window_after_splash(program, events):
    """Waits for the splash screen, 497 × 307 pixels of client area in a 2-pixel frame, to come
    and go, then for the main window to show painted, ring and all."""
    splash = wait_for("the splash screen",
                      lambda: next((e.split()[1] for e in events
                                    if e.startswith("map") and e.split()[2] == "501x311"), None))
    wait_for("the splash screen to go", lambda: f"unmap {splash}\n" in events)
    wid = wait_for("the main window", lambda: run("xdotool", "search", "--onlyvisible",
                                                    "--pid", str(program.pid)).split())
    window = MainWindow(int(wid[-1]))
    wait_for("the main window painted",
             lambda: window.shot("main").pixel(70, (window.client_top or 0) + 20) != (0, 0, 0)
             and ring(window.shot("main"), window.client_top))
    return window


# The window at the top left, wide enough for a large ring right of the controls.
WIDE_WINDOW = "[Settings]\nMainLeft=0\nMainTop=0\nMainWidth=9000\nMainHeight=8190\n"


@contextlib.contextmanager
def started(prefix, settings=None):
    """Starts build/mitoon in a throw-away home, with `settings` as its settings file if given,
    and yields the program, its main window once painted, the home and the map events. The
    program and the home go afterwards; the screenshots only when the run passed."""
    if os.path.isdir(ARTEFACTS):
        shutil.rmtree(ARTEFACTS)
    os.makedirs(ARTEFACTS)
    home, env = isolated_home(prefix)
    if settings is not None:
        with open(home + "/.config/ミトーン.ini", "w") as ini:
            ini.write(settings)
    watch, events = watch_maps()
    program = subprocess.Popen([os.path.join(BUILD, "mitoon")], env=env)
    try:
        yield program, main_window_after_splash(program, events), home, events
    finally:
        if program.poll() is None:
            program.kill()
        watch.kill()
        shutil.rmtree(home, ignore_errors=True)
    shutil.rmtree(ARTEFACTS)
    print("1 passed, 0 failed")


def calibrate_far(window):
    """14 inches at 300 cm, the last item of the list: a picture of 186 × 162 pixels, large
    enough to read its gap after many answers."""
    window.click(CM)
    window.key(*["Down"] * 6)
    wait_for("the calibrated ring", lambda: (lambda b: b and b[2] - b[0] > 120)(
        ring(window.shot("calibrated"), window.client_top)))


def save(window, home):
    """Clicks the save button and returns the record file's bytes once they are written."""
    record = os.path.join(home, "drive_c", "Tool", "devwork", "mitoon.txt")
    window.click(SAVE)
    wait_for("the record file", lambda: os.path.exists(record) and os.path.getsize(record))
    return open(record, "rb").read()


def check_saved(data, before):
    """The record of a left eye of 0.5 and a right eye of 0.4, stamped with the time of saving
    (`before` is taken just before the click)."""
    match = re.fullmatch(rb'#(\d{4})-(\d\d)-(\d\d)#,"(\d\d):(\d\d):(\d\d)","0\.5","0\.4"\r\n',
                         data)
    if not match:
        fail(f"record file holds {data!r}")
    saved = time.mktime(tuple(int(g) for g in match.groups()) + (0, 0, -1))
    if abs(saved - before) > 120:
        fail(f"record time {data!r} is not the time of saving")


def main():
    with started("mitoon-e2e-", WIDE_WINDOW) as (program, window, home, events):
        calibrate_far(window)

        # Left eye: four right answers, then two wrong ones: 0.1 × (4 + 1).
        test_eye(window, LEFT_EYE, [True] * 4 + [False, False])
        if window.answers_enabled():
            fail("the answer buttons are still enabled after two wrong answers")
        # Right eye: right, right, wrong, right, wrong, wrong: three right answers, 0.4.
        test_eye(window, RIGHT_EYE, [True, True, False, True, False, False])

        before = time.time()
        check_saved(save(window, home), before)

        def menu_item(y):
            """Opens ﾌｧｲﾙ and, once its list is on view, clicks the item at client row y; with
            y None, picks the last item with the keyboard (Up from no item wraps to it)."""
            shown = len(events)
            window.click((20, -10))
            wait_for("the File menu", lambda: any(e.startswith("map") for e in events[shown:]))
            if y is None:
                window.key("Up", "Return")
            else:
                window.click((40, y))

        # ﾌｧｲﾙ → 記録を見る opens the records window, which shows the line.
        menu_item(10)
        records = wait_for("the records window", lambda: [w for w in run(
            "xdotool", "search", "--onlyvisible", "--pid", str(program.pid)).split()
            if int(w) != window.wid])
        shown = Screen(int(records[0]), "records")
        if (shown.width, shown.height) != (336, 521):
            fail(f"records window is {shown.width} × {shown.height}")
        text_box = sum(shown.dark(x, y) for y in range(60, 90) for x in range(12, 280))
        if text_box < 20:
            fail("the records window shows no text")

        # ﾌｧｲﾙ → 終了, the menu's last item, closes everything and stores the window's geometry.
        menu_item(None)
        wait_for("the program to end", lambda: program.poll() is not None, timeout=10)
        settings = open(home + "/.config/ミトーン.ini", encoding="utf-8").read()
        if "MainLeft=0" not in settings or "MainWidth=9000" not in settings:
            fail(f"settings after closing: {settings}")


if __name__ == "__main__":
    main()
