#!/usr/bin/env python3
"""End-to-end: ミトーン started with a FIFO where its settings file belongs.

    hostile_settings.py <build folder> <xmapwatch> <artefact folder>

Opening a FIFO for reading waits for a writer that never comes. The program must not read it:
the main window opens at once with a message beside it, and the FIFO is left as it was (that
nothing is written on closing, the settings' own tests show)."""

import os
import shutil
import stat
import subprocess
import tempfile

import play
from play import run, wait_for


def main():
    home = tempfile.mkdtemp(prefix="mitoon-e2e-settings-")
    env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config",
               XDG_DATA_HOME=home + "/.local/share", XDG_CACHE_HOME=home + "/.cache",
               XDG_RUNTIME_DIR=home + "/runtime", MITOON_DRIVE_C=home + "/drive_c")
    os.makedirs(home + "/.config")
    os.makedirs(home + "/runtime", mode=0o700)
    settings = os.path.join(home, ".config", "ミトーン.ini")
    os.mkfifo(settings)

    program = subprocess.Popen([os.path.join(play.BUILD, "mitoon")], env=env)
    try:
        # The main window and the message that says why the settings are not used.
        wait_for("the main window and the message",
                 lambda: len(run("xdotool", "search", "--onlyvisible", "--pid",
                                 str(program.pid)).split()) >= 2, timeout=60)
        if program.poll() is not None:
            play.fail(f"the program ended with status {program.returncode}")
        if not stat.S_ISFIFO(os.stat(settings).st_mode):
            play.fail("the settings FIFO was replaced")
    finally:
        if program.poll() is None:
            program.kill()
        shutil.rmtree(home, ignore_errors=True)
    print("1 passed, 0 failed")


main()
