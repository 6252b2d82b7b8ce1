#!/usr/bin/env python3
"""Without a graphical display ミトーン says so in Japanese and ends with status 1.

    nodisplay.py <mitoon>

Runs the program with DISPLAY and WAYLAND_DISPLAY unset, once with no platform named and once
with QT_QPA_PLATFORM=xcb, in a throw-away home."""

import os
import shutil
import subprocess
import sys
import tempfile

PROGRAM = sys.argv[1]
MESSAGE = ("ミトーン: 画面を表示できないため起動できません。"
           "グラフィック表示のディスプレイ (X11 の DISPLAY など) が必要です。\n")

failures = []
for platform in (None, "xcb"):
    home = tempfile.mkdtemp(prefix="mitoon-nodisplay-")
    try:
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(HOME=home, XDG_CONFIG_HOME=home + "/.config", XDG_RUNTIME_DIR=home,
                   MITOON_DRIVE_C=home + "/drive_c")
        if platform:
            env["QT_QPA_PLATFORM"] = platform
        run = subprocess.run([PROGRAM], env=env, capture_output=True, timeout=120)
        stderr = run.stderr.decode("utf-8", "replace")
        name = platform or "no platform named"
        # A negative status is a signal: the abort (and its core dump) this must not be.
        if run.returncode != 1:
            failures.append(f"{name}: status {run.returncode}, standard error {stderr!r}")
        elif stderr != MESSAGE:
            failures.append(f"{name}: standard error {stderr!r}")
    finally:
        shutil.rmtree(home, ignore_errors=True)

if failures:
    print("FAILED:", *failures, sep="\n  ")
    sys.exit(1)
print("2 passed, 0 failed")
