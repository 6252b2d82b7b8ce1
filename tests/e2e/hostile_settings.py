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

import play
from play import run, wait_for


def main():
    home, env = play.isolated_home("mitoon-e2e-settings-")
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
