#!/usr/bin/env python3
"""The Debian package of ミトーン, checked as built and installed into a throw-away root.

    check.py <build folder> [--artefacts FOLDER]

The package is <build folder>/mitoon_<version>_amd64.deb, <version> being the project's.

1. The control fields: name, version, section, maintainer, a description in English and
   Japanese, no maintainer scripts.
2. The files: exactly the programs, the desktop entry, the icon, the manual pages, the
   copyright file and the changelog, whose latest entry is the package's version. The desktop
   entry is valid and names the installed program and icon; lintian reports no error and no
   warning.
3. Depends names the package of every library the programs link, the IPA Gothic fonts and
   Qt's Japanese translations.
4. dpkg --root installs the package into a temporary folder. On the X server of $DISPLAY the
   installed mitoon starts in an empty home, puts the help document into its drive folder and
   shows it, and its About box's web-address button starts the installed mitoon-browser
   beside it; "ミトーンに戻る" closes that again, OK the About box, ﾌｧｲﾙ → 終了 the program.
   Every file the running programs map belongs to a package that Depends pulls in.
5. dpkg --root removes the package again and leaves no file behind.

The installed programs run on the machine's own libraries; nothing outside the temporary
folders is changed. The screenshots and the programs' output of a failing run stay in the
artefact folder (by default <build folder>/package-check-artefacts)."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# Every file of the package. The help document is not among them: the program carries it and
# puts it into the user's drive folder itself (checked by running it).
FILES = {
    "usr/bin/mitoon",
    "usr/bin/mitoon-browser",
    "usr/share/applications/mitoon.desktop",
    "usr/share/icons/hicolor/32x32/apps/mitoon.png",
    "usr/share/man/man1/mitoon.1.gz",
    "usr/share/man/man1/mitoon-browser.1.gz",
    "usr/share/doc/mitoon/copyright",
    "usr/share/doc/mitoon/changelog.gz",
}

# Files the programs read that no library dependency brings: Depends must name their packages.
NAMED = [
    ("Qt's Japanese translations", "/usr/share/qt6/translations/qtbase_ja.qm"),
    ("the IPA P Gothic font", "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"),
    ("the IPA Gothic font", "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"),
]

# Packages whose files the running programs may map although Depends does not pull them in.
OPTIONAL = {
    # Qt's xcb platform plugin loads libXcursor when it is there, for themed mouse pointers,
    # and draws its own pointers without it.
    "libxcursor1",
}

# Places in the windows, in pixels of their client areas: the About box's web-address button
# and OK, and the browser's "ミトーンに戻る" on its toolbar.
ABOUT_WEB_ADDRESS = (112 + 76, 184 + 8)
ABOUT_OK = (283 + 49, 175 + 11)
BROWSER_BACK = (200, 0, 129, 33)

failures = []
artefacts = None
shots = 0


def fail(message):
    failures.append(message)
    print("FAILED:", message)


class GiveUp(Exception):
    pass


def give_up(message):
    fail(message)
    raise GiveUp()


def run(*args, check=True):
    """The output of a command; a failing command or one that hangs for a minute ends the
    check."""
    try:
        result = subprocess.run(args, capture_output=True, text=True, timeout=60)
    except subprocess.TimeoutExpired:
        give_up(f"{' '.join(args)} did not end")
    if check and result.returncode != 0:
        give_up(f"{' '.join(args)} ended with {result.returncode}: {result.stderr.strip()}")
    return result.stdout


def wait_for(what, condition, timeout=60.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    screenshot("timeout")
    give_up(f"timed out waiting for {what}")


def screenshot(name):
    global shots
    if os.environ.get("DISPLAY"):
        shots += 1
        run("import", "-window", "root", os.path.join(artefacts, f"{shots:02d}-{name}.png"),
            check=False)


def contents(path):
    """The bytes of a file, None when there is none."""
    try:
        with open(path, "rb") as file:
            return file.read()
    except OSError:
        return None


def project_version():
    with open(os.path.join(SOURCE, "CMakeLists.txt"), encoding="utf-8") as lists:
        return re.search(r"project\(mitoon VERSION (\S+)", lists.read()).group(1)


def package_names(depends):
    """The package names of a Depends field, alternatives included, versions left out."""
    return {re.match(r"\s*([a-z0-9.+-]+)", alternative).group(1)
            for relation in depends.split(",") for alternative in relation.split("|")}


def owners(paths):
    """The package that installed each of `paths` on this machine, also across the /usr merge;
    paths of no package are left out."""
    def spellings(path):
        return {path, re.sub(r"^/usr/lib/", "/lib/", path), re.sub(r"^/lib/", "/usr/lib/", path)}

    asked = sorted({spelling for path in paths for spelling in spellings(path)})
    found = {}
    # dpkg-query ends with 1 when any path is of no package, and still names the others.
    for line in run("dpkg-query", "-S", *asked, check=False).splitlines():
        match = re.fullmatch(r"(.+?): (/.*)", line)
        if match and not match.group(1).startswith("diversion by"):
            # "libqt6core6:amd64: /usr/lib/…": the package without its architecture.
            found[match.group(2)] = match.group(1).split(",")[0].split(":")[0].strip()
    return {path: next(found[s] for s in spellings(path) if s in found)
            for path in paths if spellings(path) & found.keys()}


def check_control(deb):
    fields = {name: run("dpkg-deb", "-f", deb, name).strip()
              for name in ("Package", "Version", "Architecture", "Section", "Maintainer",
                           "Description", "Depends")}
    expected = {"Package": "mitoon", "Version": project_version(), "Architecture": "amd64",
                "Section": "science"}
    for name, value in expected.items():
        if fields[name] != value:
            fail(f"control field {name} is {fields[name]!r}, not {value!r}")
    if not re.fullmatch(r"[^<>]+ <[^@<>\s]+@[^@<>\s]+\.[a-z]+>", fields["Maintainer"]):
        fail(f"maintainer {fields['Maintainer']!r} is no name with a mail address")
    if "Landolt" not in fields["Description"] or "ランドルト環" not in fields["Description"]:
        fail("the description is not in English and Japanese")
    # Scripts run by installing or removing could touch what is not the package's own: a
    # user's settings and record files. The package has none.
    with tempfile.TemporaryDirectory() as control:
        run("dpkg-deb", "--control", deb, control)
        members = sorted(os.listdir(control))
    if members != ["control", "md5sums"]:
        fail(f"control archive holds {members}, not only control and md5sums")
    return fields


def check_files(deb, root):
    listed = set()
    for line in run("dpkg-deb", "-c", deb).splitlines():
        mode, path = line.split()[0], line.split(None, 5)[5]
        if not mode.startswith("d"):
            listed.add(path.removeprefix("./"))
    if listed != FILES:
        fail(f"package files: missing {sorted(FILES - listed)}, "
             f"unexpected {sorted(listed - FILES)}")

    desktop = os.path.join(root, "usr/share/applications/mitoon.desktop")
    result = subprocess.run(["desktop-file-validate", desktop], capture_output=True, text=True)
    if result.returncode != 0 or result.stdout.strip():
        fail(f"desktop-file-validate: {result.stdout.strip()}")
    with open(desktop, encoding="utf-8") as entry:
        keys = dict(line.rstrip("\n").split("=", 1) for line in entry if "=" in line)
    if keys.get("Name") != "ミトーン":
        fail(f"the menu entry is called {keys.get('Name')!r}")
    if not os.access(os.path.join(root, "usr/bin", keys.get("Exec", "?")), os.X_OK):
        fail(f"the desktop entry starts {keys.get('Exec')!r}, which is not installed")
    icon = os.path.join(root, "usr/share/icons/hicolor/32x32/apps", keys.get("Icon", "?") + ".png")
    if not os.path.isfile(icon):
        fail(f"the desktop entry's icon {keys.get('Icon')!r} is not installed")
    else:
        with open(icon, "rb") as png:
            header = png.read(24)
        size = (int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big"))
        if not header.startswith(b"\x89PNG") or size != (32, 32):
            fail(f"the icon in 32x32/apps is no 32 × 32 PNG ({size})")

    changelog = run("zcat", os.path.join(root, "usr/share/doc/mitoon/changelog.gz"))
    if not changelog.startswith(f"mitoon ({project_version()}) "):
        fail(f"the changelog's latest entry is {changelog.splitlines()[0]!r}, "
             "not the package's version")

    result = subprocess.run(["lintian", "--tag-display-limit", "0", deb], capture_output=True,
                            text=True)
    print(f"lintian {deb}:\n{result.stdout}", end="")
    reported = [line for line in result.stdout.splitlines() if re.match(r"[EW]: ", line)]
    if result.returncode != 0 and not reported:
        fail(f"lintian ended with {result.returncode}: {result.stderr.strip()}")
    for line in reported:
        fail(f"lintian: {line}")


def check_depends(root, depends):
    named = package_names(depends)
    libraries = dict(re.findall(r"(\S+) \(libc6,x86-64\) => (\S+)", run("ldconfig", "-p")))
    for program in ("mitoon", "mitoon-browser"):
        path = os.path.join(root, "usr/bin", program)
        if not os.path.isfile(path):
            continue  # the file list has told
        dynamic = run("readelf", "-d", path)
        needed = {soname: libraries.get(soname, soname)
                  for soname in re.findall(r"\(NEEDED\)\s+Shared library: \[(\S+)\]", dynamic)}
        found = owners(needed.values())
        for soname, path in needed.items():
            if path not in found:
                fail(f"{program} links {soname}, which no package of this machine holds")
            elif found[path] not in named:
                fail(f"{program} links {soname} of {found[path]}, which Depends does not name")

    found = owners([path for _, path in NAMED])
    for what, path in NAMED:
        if path not in found:
            fail(f"{what} ({path}) is not on this machine")
        elif found[path] not in named:
            fail(f"{what} ({path}) is in {found[path]}, which Depends does not name")


def check_mapped_files(mapped, depends):
    """Every file of a package that the running programs mapped must come with Depends: from a
    named package, one they pull in, or an essential one, which every system has."""
    closure = {line for line in run(
        "apt-cache", "depends", "--recurse", "--no-recommends", "--no-suggests", "--no-conflicts",
        "--no-breaks", "--no-replaces", "--no-enhances", *sorted(package_names(depends))
    ).splitlines() if line and not line.startswith(" ")}
    found = owners(mapped)
    for package in sorted(set(found.values()) - closure - OPTIONAL):
        essential = run("dpkg-query", "-W", "-f=${Essential}", package).strip()
        if essential != "yes":
            files = sorted(path for path, owner in found.items() if owner == package)
            fail(f"the programs use {files} of {package}, which Depends does not pull in")
    if len(found) < 20:
        fail(f"only {len(found)} mapped files of packages seen: {sorted(found)}")
    print(f"the running programs mapped {len(found)} files of {len(set(found.values()))} "
          f"packages; Depends pulls in {len(closure)} packages")


def visible_windows(pid):
    return [int(w) for w in run("xdotool", "search", "--onlyvisible", "--pid", str(pid),
                                check=False).split()]


def geometry(wid):
    """Left, top, width and height of a window; None once it has gone."""
    result = run("xdotool", "getwindowgeometry", "--shell", str(wid), check=False)
    values = dict(line.split("=") for line in result.split() if "=" in line)
    if not {"X", "Y", "WIDTH", "HEIGHT"} <= values.keys():
        return None
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def title(wid):
    return run("xdotool", "getwindowname", str(wid), check=False).strip()


def window_titled(pid, name):
    """The visible window of `pid` called `name`, else None."""
    return next((w for w in visible_windows(pid) if title(w) == name), None)


def painted(wid, box=None):
    """True once the window, or the box of it given as left, top, width and height, shows
    something other than black, the colour of the empty screen. The picture is cut out of the
    root window: a capture of the window itself can hang on a window Qt is replacing."""
    place = geometry(wid)
    if place is None:
        return False
    left, top, width, height = box or (0, 0, place[2], place[3])
    maxima = run("import", "-window", "root", "-crop",
                 f"{width}x{height}+{place[0] + left}+{place[1] + top}", "-format",
                 "%[fx:maxima]", "info:", check=False)
    return float(maxima or 0) > 0


def click(wid, x, y):
    left, top, _, _ = geometry(wid) or give_up("the window to click has gone")
    run("xdotool", "mousemove", "--sync", str(left + x), str(top + y), "click", "1")


def descendants(pid):
    """The processes below `pid`, each with the program it runs."""
    parents = {}
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/stat") as stat:
                parents[int(entry)] = int(stat.read().rsplit(")", 1)[1].split()[1])
        except (ValueError, OSError):
            pass
    found, frontier = {}, [pid]
    while frontier:
        parent = frontier.pop()
        for child, its_parent in parents.items():
            if its_parent == parent and child not in found:
                try:
                    found[child] = os.path.realpath(f"/proc/{child}/exe")
                except OSError:
                    found[child] = ""
                frontier.append(child)
    return found


def mapped_files(pids):
    files = set()
    for pid in pids:
        try:
            with open(f"/proc/{pid}/maps") as maps:
                files |= {line.split(None, 5)[5].strip() for line in maps
                          if len(line.split(None, 5)) == 6}
        except OSError:
            pass
    return {path for path in files if path.startswith(("/usr/", "/lib"))}


def open_menu_item(pid, main, menus_right, presses):
    """Opens ﾌｧｲﾙ with the mouse, moves `menus_right` menus to the right and picks the item
    `presses` lead to."""
    shown = visible_windows(pid)
    click(main, 20, 10)
    wait_for("the menu", lambda: set(visible_windows(pid)) - set(shown))
    run("xdotool", "key", *(["Right"] * menus_right), *presses)


def close_browser(browser):
    """Clicks "ミトーンに戻る" until the browser has ended. Qt replaces the browser's first
    window by one drawn with OpenGL: a click on the first may be lost, then the next one gets
    a click of its own."""
    def running():
        return browser in descendants(PROGRAM.pid)

    def shown():
        return next((w for w in visible_windows(browser) if painted(w, BROWSER_BACK)), None)

    while running():
        window = wait_for("the browser window", lambda: shown() or not running())
        if window is True:
            return
        click(window, BROWSER_BACK[0] + BROWSER_BACK[2] // 2, BROWSER_BACK[3] // 2)
        wait_for("the browser to end or its window to go",
                 lambda: not running() or window not in visible_windows(browser))


def check_installed_program(root):
    """Runs the installed mitoon; returns the files it and the browser mapped."""
    global PROGRAM
    home = tempfile.mkdtemp(prefix="mitoon-package-home-")
    env = {key: value for key, value in os.environ.items() if not key.startswith("MITOON_")}
    env.update(HOME=home, XDG_CONFIG_HOME=home + "/.config", XDG_DATA_HOME=home + "/.local/share",
               XDG_CACHE_HOME=home + "/.cache", XDG_RUNTIME_DIR=home + "/runtime",
               QT_QPA_PLATFORM="xcb",
               # No page of the outside world: a port on this machine that nothing serves.
               MITOON_START_ADDRESS="http://127.0.0.1:9/")
    if os.geteuid() == 0:
        # Qt WebEngine refuses to run as root with its sandbox.
        env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    os.makedirs(home + "/runtime", mode=0o700)
    program = os.path.join(root, "usr/bin/mitoon")
    installed_browser = os.path.realpath(os.path.join(root, "usr/bin/mitoon-browser"))
    # What the programs print stays beside the screenshots.
    with open(os.path.join(artefacts, "mitoon.log"), "w") as log:
        PROGRAM = subprocess.Popen([program], env=env, stdout=log, stderr=log)
    mapped = set()
    try:
        main = wait_for("the main window", lambda: window_titled(PROGRAM.pid, "ミトーン(p_-)"))
        wait_for("the main window painted", lambda: painted(main))
        screenshot("main-window")

        # ﾍﾙﾌﾟ → ﾍﾙﾌﾟ, the first item of the menu right of ﾌｧｲﾙ: the program sets up its drive
        # folder with the help document and shows it, titled after the document.
        open_menu_item(PROGRAM.pid, main, 1, ["Up", "Up", "Return"])
        viewer = wait_for("the help viewer", lambda: window_titled(PROGRAM.pid, "ミトーン ヘルプ"))
        screenshot("help")
        drive = os.path.join(home, ".local/share/mitoon/drive_c")
        if contents(os.path.join(drive, "Tool/HELP/HELPファイル/MITOON.HLP")) != contents(
                os.path.join(SOURCE, "platform/help/mitoon-help.html")):
            fail("the help document is not in the drive folder")
        # The viewer stays open until the program ends, moved out of the way of the main
        # window's menu and of the browser's toolbar: a window shows what lies beneath it until
        # it is painted, and there nothing but the black screen must lie.
        run("xdotool", "windowmove", str(viewer), "640", "640")
        wait_for("the help viewer moved", lambda: (geometry(viewer) or (0, 0))[:2] == (640, 640))

        # ﾍﾙﾌﾟ → ﾊﾞｰｼﾞｮﾝ情報, the last item of the menu right of ﾌｧｲﾙ.
        open_menu_item(PROGRAM.pid, main, 1, ["Up", "Return"])
        about = wait_for("the About box", lambda: window_titled(PROGRAM.pid, "ﾊﾞｰｼﾞｮﾝ情報"))
        wait_for("the About box painted", lambda: painted(about))
        screenshot("about-box")

        click(about, *ABOUT_WEB_ADDRESS)
        started = wait_for("mitoon-browser", lambda: [
            pid for pid, exe in descendants(PROGRAM.pid).items()
            if os.path.basename(exe) == "mitoon-browser"])
        if descendants(PROGRAM.pid).get(started[0]) != installed_browser:
            give_up(f"the About box started {descendants(PROGRAM.pid).get(started[0])}, "
                    f"not the installed {installed_browser}")
        browser = started[0]
        wait_for("the browser window painted", lambda: any(
            painted(w, BROWSER_BACK) for w in visible_windows(browser)))
        screenshot("browser")
        mapped = mapped_files([PROGRAM.pid, *descendants(PROGRAM.pid)])

        close_browser(browser)
        if about not in visible_windows(PROGRAM.pid):
            fail("the About box did not stay open after the browser closed")
        screenshot("back-in-about-box")
        click(about, *ABOUT_OK)
        wait_for("the About box to close", lambda: about not in visible_windows(PROGRAM.pid))

        # ﾌｧｲﾙ → 終了, the menu's last item.
        open_menu_item(PROGRAM.pid, main, 0, ["Up", "Return"])
        wait_for("the program to end", lambda: PROGRAM.poll() is not None)
        if PROGRAM.returncode != 0:
            fail(f"mitoon ended with status {PROGRAM.returncode}")
    finally:
        if PROGRAM.poll() is None:
            for pid in descendants(PROGRAM.pid):
                try:
                    os.kill(pid, 9)
                except OSError:
                    pass
            PROGRAM.kill()
            PROGRAM.wait()
        shutil.rmtree(home, ignore_errors=True)
    return mapped


def dpkg(root, *args):
    return run("dpkg", f"--root={root}", f"--log={root}.log", "--force-not-root", *args)


def check(deb):
    fields = check_control(deb)
    root = tempfile.mkdtemp(prefix="mitoon-package-root-")
    try:
        for folder in ("info", "updates"):
            os.makedirs(os.path.join(root, "var/lib/dpkg", folder))
        open(os.path.join(root, "var/lib/dpkg/status"), "w").close()
        # The libraries are the machine's own; the throw-away root's database knows none.
        dpkg(root, "--force-depends", "--install", deb)
        check_files(deb, root)
        check_depends(root, fields["Depends"])
        if not os.environ.get("DISPLAY"):
            give_up("no X server: run this under xvfb-run")
        check_mapped_files(check_installed_program(root), fields["Depends"])

        dpkg(root, "--remove", "mitoon")
        left = [os.path.relpath(os.path.join(folder, name), root)
                for folder, folders, files in os.walk(root) for name in folders + files]
        left = [path for path in left if not path.startswith("var")]
        if left:
            fail(f"removing the package left {sorted(left)}")
    finally:
        shutil.rmtree(root, ignore_errors=True)
        if os.path.exists(root + ".log"):
            os.remove(root + ".log")


def main():
    global artefacts
    args = sys.argv[1:]
    if not args or args[0].startswith("-"):
        print(__doc__)
        sys.exit(2)
    build = os.path.abspath(args[0])
    artefacts = args[args.index("--artefacts") + 1] if "--artefacts" in args else \
        os.path.join(build, "package-check-artefacts")
    shutil.rmtree(artefacts, ignore_errors=True)
    os.makedirs(artefacts)

    deb = os.path.join(build, f"mitoon_{project_version()}_amd64.deb")
    try:
        if not os.path.isfile(deb):
            give_up(f"no package {deb}: build it with cmake --build {args[0]} --target package")
        check(deb)
    except GiveUp:
        pass
    if failures:
        print(f"package: {len(failures)} failed; screenshots and output in {artefacts}")
        sys.exit(1)
    shutil.rmtree(artefacts, ignore_errors=True)
    print("package: every check passed")


PROGRAM = None
main()
