#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""End-to-end tests of Veldrin.exe under Wine on a virtual X display.

First Veldrin.exe itself: a GUI program, no DLL beyond Windows' own, its manifest. Then each case runs
Veldrin.exe as a user would, with one command tail, and for every message box it expects: waits for the
window captioned "Veldrin" (polling, with a timeout), reads the box's text, checks the icon (warning or
information, told apart by the colours where the box shows its icon), saves a screenshot, compares the
text with what the POSIX build prints for the same file, and dismisses the box with the Return key. Then
it checks the exit status. Where the two builds differ by design (the usage text, the 259-character path,
read sharing, an empty quoted tail) the Windows side is checked against its own expected text; where
their libraries print differently (a negative not-a-number, ill-formed UTF-8) the difference is allowed
and reported.

Run by tests/windows/check inside xvfb-run, with WINEPREFIX set to a prefix made for this run.
"""
import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import time
from xml.etree import ElementTree

WINDOW_SECONDS = 60.0  # a box must appear within this (the first run also starts Wine's desktop process)
GONE_SECONDS = 20.0    # a dismissed box must disappear, and the program then exit, within this
CLIPBOARD_SECONDS = 3.0  # Ctrl+C in a box fills the clipboard within this, where it does at all
POLL_SECONDS = 0.05
DISPLAY_ATTEMPTS = 3   # Wine sessions started afresh to find one that makes windows on the display
TITLE_PATTERN = "^Veldrin$"
REPLACEMENT = "\ufffd"
MAX_PATH_CHARACTERS = 259  # the command tail is cut to this many characters
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "shlwapi.dll", "msvcrt.dll"}  # part of every Windows

USAGE_WINDOWS = "Usage: Veldrin.exe <Map.Gbx>"
FILE_NOT_FOUND = "File not found."
COULD_NOT_OPEN = "Could not open input file."
UNEXPECTED_CLASS_ID = "Unexpected script class ID."


class Failed(Exception):
    pass


def poll(what, seconds, probe):
    """Calls probe until it returns a value other than None, or fails after the given time."""
    deadline = time.monotonic() + seconds
    while True:
        value = probe()
        if value is not None:
            return value
        if time.monotonic() > deadline:
            raise Failed(f"timed out after {seconds:.0f} s waiting for {what}")
        time.sleep(POLL_SECONDS)


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, timeout=60, **kwargs)


def windows_path(path):
    """The Windows form of a Unix path under Wine: drive Z: is the Unix root."""
    return "Z:" + str(path).replace("/", "\\")


class Wine:
    def __init__(self, args):
        self.exe = args.exe
        self.helper = args.helper
        self.env = dict(os.environ, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", LANG="C.UTF-8")
        self.log = open(args.out / "wine.log", "wb")

    def start(self, tail_args):
        return subprocess.Popen(["wine", str(self.exe), *tail_args], env=self.env, stdin=subprocess.DEVNULL,
                                stdout=self.log, stderr=self.log)

    def helper_text(self, *helper_args):
        """The helper's output for one command, or None when it found nothing."""
        result = run(["wine", str(self.helper), *helper_args], env=self.env)
        return result.stdout.decode("utf-8") if result.returncode == 0 else None

    def read_box(self):
        return self.helper_text("read-box")

    def hold_open(self, path):
        """Starts a Windows process that holds path open for writing until its standard input closes."""
        holder = subprocess.Popen(["wine", str(self.helper), "hold-open", windows_path(path)], env=self.env,
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=self.log)
        if holder.stdout.readline() != b"held\n":
            raise Failed("the helper could not hold the file open")
        return holder


def visible_boxes():
    result = run(["xdotool", "search", "--onlyvisible", "--name", TITLE_PATTERN])
    # Exit status 1 with no output is "no such window"; anything on standard error is a lost display.
    if result.returncode != 0 and result.stderr:
        raise Failed(f"xdotool cannot search the display: {result.stderr.decode().strip()}")
    return result.stdout.decode().split()


def wine_errors(stderr):
    return "; ".join(line.strip() for line in stderr.decode(errors="replace").splitlines() if ":err:" in line)


def restart_wine(env):
    """Ends this prefix's Wine session, so that the next program starts one that sees the display."""
    run(["wineserver", "--kill"], env=env)
    run(["wineserver", "--wait"], env=env)


def check_display(wine, notes):
    """Both sides of the virtual display must work before a box can be looked for: the X server must
    answer, and Wine must be able to make windows on it. A Wine session started without a display (the
    unit tests run in one) makes no windows, and a message box then returns at once; such a session is
    ended and the probe repeated, a bounded number of times."""
    display = os.environ.get("DISPLAY", "(unset)")
    result = run(["xdotool", "getdisplaygeometry"])
    if result.returncode != 0:
        raise Failed(f"the virtual display {display} (Xvfb) does not answer: {result.stderr.decode().strip()}")
    for attempt in range(1, DISPLAY_ATTEMPTS + 1):
        probe = run(["wine", str(wine.helper), "probe-window"], env=dict(wine.env, WINEDEBUG="err+winediag"))
        if probe.returncode == 0:
            return
        notes.append(f"Wine could not open a window on {display} (attempt {attempt}): {wine_errors(probe.stderr)}")
        restart_wine(wine.env)
    raise Failed(f"Wine itself could not open a window on the virtual display {display}: "
                 f"{wine_errors(probe.stderr)}")


def icon_kind(place):
    """Tells the warning icon (yellow) from the information icon (blue) by the colours on the screen where
    the box shows its icon; place is "left top width height" in screen coordinates."""
    left, top, width, height = (int(number) for number in place.split())
    crop = f"{width}x{height}+{left}+{top}"
    raw = run(["import", "-window", "root", "-crop", crop, "+repage", "-depth", "8", "rgb:-"]).stdout
    yellow = blue = 0
    for i in range(0, len(raw) - 2, 3):
        r, g, b = raw[i], raw[i + 1], raw[i + 2]
        if r > 180 and g > 140 and b < 90:
            yellow += 1
        elif b > 140 and r < 120 and b - r > 60:
            blue += 1
    if yellow > 40 and yellow > blue:
        return "warning"
    if blue > 40 and blue > yellow:
        return "information"
    return None


def screenshot(wine, window, png):
    """Saves the box once its icon has been drawn; gives the icon's kind."""
    place = poll("the place of the box's icon", GONE_SECONDS, lambda: wine.helper_text("icon-place"))
    kind = poll("the box's icon to be drawn", WINDOW_SECONDS, lambda: icon_kind(place))
    if run(["import", "-window", window, str(png)]).returncode != 0:
        raise Failed(f"no screenshot of the box ({png})")
    return kind


def posix_boxes(posix, path_args):
    """What the POSIX build shows for the same command: each warning line, then the listing, in the
    form a message box holds it (lines joined with CR LF, no final line end), and its exit status."""
    result = run([str(posix), *path_args])
    boxes = [("warning", line.removeprefix("Veldrin: "))
             for line in result.stderr.decode("utf-8").splitlines()]
    if result.stdout:
        listing = result.stdout.decode("utf-8").removesuffix("\n").replace("\n", "\r\n")
        boxes.append(("information", listing))
    return boxes, result.returncode


class Case:
    def __init__(self, name, tail_args, posix_args=None, expected=None, status=None, loose_utf8=False,
                 windows_forms=(), differs=None, try_clipboard=False):
        self.name = name
        self.tail_args = tail_args
        self.posix_args = tail_args if posix_args is None else posix_args
        self.expected = expected      # the boxes on Windows, where they differ from the POSIX build
        self.status = status
        self.loose_utf8 = loose_utf8  # converters may replace ill-formed UTF-8 with more or fewer U+FFFD
        self.windows_forms = windows_forms  # (POSIX text, Windows text): the C libraries print it differently
        self.differs = differs        # why the Windows build differs from the POSIX build here
        self.try_clipboard = try_clipboard


def comparable(text, loose_utf8):
    return text.replace(REPLACEMENT, "") if loose_utf8 else text


def show_difference(name, got, want):
    got_lines, want_lines = got.split("\r\n"), want.split("\r\n")
    if len(got_lines) != len(want_lines):
        return f"{name}: Windows shows {len(got_lines)} lines, POSIX {len(want_lines)}"
    return "\n  ".join(f"{name}: line {number}: Windows {g!r}, POSIX {w!r}"
                       for number, (g, w) in enumerate(zip(got_lines, want_lines), 1) if g != w)


def copy_with_ctrl_c(wine, window, want_text, notes):
    """A standard message box copies its caption and text to the clipboard on Ctrl+C. Where this Wine's
    box does, the copy is checked; where it does not, that is noted and the text control stays the source.
    The clipboard is read inside Wine, where the box puts it."""
    run(["xdotool", "windowfocus", "--sync", window])
    run(["xdotool", "key", "ctrl+c"])
    try:
        copied = poll("the clipboard", CLIPBOARD_SECONDS, lambda: wine.helper_text("read-clipboard"))
    except Failed:
        notes.append("Ctrl+C: this Wine's message box copies nothing to the clipboard; the box's text was "
                     "read from its text control instead")
        return
    if want_text.replace("\r\n", "\n") not in copied.replace("\r\n", "\n"):
        raise Failed(f"Ctrl+C copied {copied!r}")
    notes.append("Ctrl+C: the box's text, copied to the clipboard, matches the POSIX listing")


def run_case(wine, args, case, notes):
    posix_expected, posix_status = posix_boxes(args.posix, case.posix_args)
    expected = case.expected if case.expected is not None else posix_expected
    for posix_form, windows_form in case.windows_forms:
        expected = [(icon, text.replace(posix_form, windows_form)) for icon, text in expected]
    status = case.status if case.status is not None else posix_status
    if case.expected is None and not expected:
        raise Failed("the POSIX build showed nothing")

    process = wine.start(case.tail_args)
    try:
        seen = set()
        for number, (want_icon, want_text) in enumerate(expected, 1):
            def find_box():
                if process.poll() is not None:
                    raise Failed(f"Veldrin.exe exited with status {process.returncode} before box {number} "
                                 f"appeared (see wine.log)")
                fresh = [w for w in visible_boxes() if w not in seen]
                return fresh[0] if fresh else None
            window = poll(f"box {number}", WINDOW_SECONDS, find_box)
            seen.add(window)
            text = poll(f"the text of box {number}", GONE_SECONDS, wine.read_box)
            png = args.out / f"{case.name}-{number}.png"
            icon = screenshot(wine, window, png)
            if icon != want_icon:
                raise Failed(f"box {number}: {icon} icon, expected {want_icon} ({png})")
            if comparable(text, case.loose_utf8) != comparable(want_text, case.loose_utf8):
                raise Failed(f"box {number}: " + show_difference(case.name, text, want_text))
            if text != want_text:
                notes.append(show_difference(case.name, text, want_text))
            if case.try_clipboard:
                copy_with_ctrl_c(wine, window, want_text, notes)
            run(["xdotool", "windowfocus", "--sync", window])
            run(["xdotool", "key", "Return"])
            poll(f"box {number} to close", GONE_SECONDS,
                 lambda: True if window not in visible_boxes() else None)
        exit_status = poll("Veldrin.exe to exit", GONE_SECONDS, process.poll)
        if visible_boxes():
            raise Failed("a box is left open after the program exited")
        if exit_status != status:
            raise Failed(f"exit status {exit_status}, expected {status}")
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()
    if case.differs:
        notes.append(f"{case.name}: {case.differs}")


def exact_length_path(folder, length):
    """A map path below folder whose Windows form has exactly length characters."""
    name = "example.Map.Gbx"
    path = folder / name
    missing = length - len(windows_path(path))
    if missing < 0:
        raise Failed(f"the work folder's path is longer than {length} characters")
    while missing >= 2:
        part = min(missing - 1, 100)  # one more folder of part characters, and its separator
        path = path.parent / ("d" * part) / path.name
        missing -= part + 1
    if missing == 1:
        path = path.parent / ("x" + path.name)
    return path


def build_cases(args, work):
    maps = args.maps
    listed = ["example", "class-id", "stopped-class", "stopped-array", "full-listing", "numbers", "large-body"]
    failures = ["class-id-then-version", "text-past-end", "lower-case-magic", "only-magic", "uncompressed",
                "class-unknown", "skip-past-end", "compressed-size-0", "compressed-beyond-file", "undecodable",
                "no-chunk", "version-3", "no-variables"]
    cases = [Case(name, [windows_path(maps / f"{name}.Map.Gbx")], [maps / f"{name}.Map.Gbx"],
                  try_clipboard=(name == "example"))
             for name in listed + failures]
    numbers = next(case for case in cases if case.name == "numbers")
    numbers.windows_forms = [(": -nan", ": nan")]
    numbers.differs = ('"%g" of a negative not-a-number: MinGW-w64\'s printf writes "nan", glibc\'s "-nan"; '
                       "every other number is written alike")
    cases.append(Case("ill-formed-utf8", [windows_path(maps / "ill-formed-utf8.Map.Gbx")],
                      [maps / "ill-formed-utf8.Map.Gbx"], loose_utf8=True))

    # Paths as users give them. Wine quotes an argument that holds blanks, so the tail arrives quoted.
    blanks = work / "my maps" / "Canyon run.Map.Gbx"
    unicode_name = work / "Café 地図.Map.Gbx"
    for copy in (blanks, unicode_name):
        copy.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(maps / "example.Map.Gbx", copy)
    example = maps / "example.Map.Gbx"
    cases += [
        Case("quoted-blanks", [windows_path(blanks)], [blanks]),
        Case("unicode-path", [windows_path(unicode_name)], [unicode_name]),
        Case("two-words", [windows_path(example), "extra"], [example, "extra"]),
        Case("missing", [windows_path(work / "missing.Map.Gbx")], [work / "missing.Map.Gbx"]),
        Case("folder", [windows_path(maps)], [maps]),
        Case("usage", [], [], expected=[("warning", USAGE_WINDOWS)], status=1,
             differs=f"the usage text is {USAGE_WINDOWS!r}"),
        Case("empty-quoted", [""], [""], expected=[("warning", FILE_NOT_FOUND)], status=1,
             differs='the tail "" is not empty on Windows: unquoted it names nothing (File not found.); '
                     "the POSIX build takes one empty argument as no path (usage)"),
    ]

    # A path longer than 259 characters is cut, and the cut path names nothing.
    deep = work
    while len(windows_path(deep)) < 300:
        deep = deep / ("d" * 60)
    deep.mkdir(parents=True, exist_ok=True)
    long_map = deep / "example.Map.Gbx"
    shutil.copyfile(example, long_map)
    cases.append(Case("long-path", [windows_path(long_map)], [long_map], expected=[("warning", FILE_NOT_FOUND)],
                      status=1, differs=f"a path of {len(windows_path(long_map))} characters is cut to 259 "
                                        "(File not found.); the POSIX build lists the map"))

    # The cut falls exactly behind the 259th character: a map whose path has 259 characters is found and
    # listed although more characters follow it in the tail (Windows would ignore a trailing blank, so
    # they follow without one).
    cut_map = exact_length_path(work / "cut", MAX_PATH_CHARACTERS)
    cut_map.parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(example, cut_map)
    example_listing, _ = posix_boxes(args.posix, [example])
    beyond = "-beyond-the-cut"
    cases.append(Case("cut-to-existing", [windows_path(cut_map) + beyond], [str(cut_map) + beyond],
                      expected=example_listing, status=0,
                      differs="a tail of a 259-character path with more characters behind it is cut to that "
                              "path, and the map is listed; the POSIX build takes the whole tail (File not found.)"))
    return cases


def program_case(wine, args):
    """Veldrin.exe as a user receives it: a GUI program (no console window), linked against no DLL beyond
    Windows' own, with a manifest that asks for no elevation and no UI access."""
    headers = run(["x86_64-w64-mingw32-objdump", "-p", str(args.exe)]).stdout.decode()
    if "(Windows GUI)" not in headers:
        raise Failed("Veldrin.exe is not a GUI-subsystem program")
    dlls = {line.split(":", 1)[1].strip().lower() for line in headers.splitlines() if "DLL Name:" in line}
    foreign = dlls - WINDOWS_DLLS
    if foreign or not dlls:
        raise Failed(f"Veldrin.exe needs DLLs beyond Windows' own: {sorted(foreign)}")
    manifest = wine.helper_text("manifest", windows_path(args.exe))
    if manifest is None:
        raise Failed("Veldrin.exe has no application manifest")
    namespace = "{urn:schemas-microsoft-com:asm.v3}"
    levels = [(level.get("level"), level.get("uiAccess"))
              for level in ElementTree.fromstring(manifest).iter(namespace + "requestedExecutionLevel")]
    if levels != [("asInvoker", "false")]:
        raise Failed(f"the manifest asks for {levels}, expected level asInvoker and UI access false")


def held_open_case(wine, args, work, notes):
    """Another program holds the map open for writing; read sharing only means it cannot be opened."""
    held = work / "held.Map.Gbx"
    shutil.copyfile(args.maps / "example.Map.Gbx", held)
    holder = wine.hold_open(held)
    try:
        case = Case("held-open", [windows_path(held)], [held], expected=[("warning", COULD_NOT_OPEN)], status=1,
                    differs="a map held open for writing by another program cannot be opened "
                            "(read sharing only); the POSIX build has no share modes and lists it")
        run_case(wine, args, case, notes)
    finally:
        holder.stdin.close()
        holder.wait(timeout=GONE_SECONDS)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", type=pathlib.Path, required=True)
    parser.add_argument("--helper", type=pathlib.Path, required=True)
    parser.add_argument("--posix", type=pathlib.Path, required=True)
    parser.add_argument("--maps", type=pathlib.Path, required=True)
    parser.add_argument("--out", type=pathlib.Path, required=True)
    parser.add_argument("--case", action="append", help="run only the cases named (repeatable)")
    args = parser.parse_args()
    args.out.mkdir(parents=True, exist_ok=True)
    work = args.out / "paths"
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir()

    wine = Wine(args)
    notes = []
    try:
        check_display(wine, notes)
    except (Failed, subprocess.TimeoutExpired) as fault:
        print("\n".join(notes))
        print(f"windows-e2e: no test could run: {fault}", flush=True)
        return 1
    passed = failed = 0
    jobs = [("program", lambda: program_case(wine, args))]
    jobs += [(case.name, lambda case=case: run_case(wine, args, case, notes)) for case in build_cases(args, work)]
    jobs.append(("held-open", lambda: held_open_case(wine, args, work, notes)))
    if args.case:
        jobs = [(name, job) for name, job in jobs if name in args.case]
    for name, job in jobs:
        started = time.monotonic()
        try:
            job()
            passed += 1
            print(f"PASS {name} ({time.monotonic() - started:.1f} s)", flush=True)
        except (Failed, subprocess.TimeoutExpired) as fault:
            failed += 1
            print(f"FAIL {name}: {fault}", flush=True)

    print("\nWhere Veldrin.exe and the POSIX build differ, and notes:")
    for note in notes:
        print("  " + note)
    print(f"Screenshots: {args.out} (the example map's listing: {args.out / 'example-1.png'})")
    print(f"windows-e2e: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
