"""Drives the Windows program under Wine in a private X server, as a person at the screen would.

One `Desktop` per test: its own Xvfb display, its own copy of a Wine prefix, its own HOME and
Documents folder. Every process it starts is ended by process id when the test ends.
"""

from __future__ import annotations

import os
import re
import select
import shutil
import signal
import subprocess
import time
from pathlib import Path

from PIL import Image

REPO = Path(__file__).resolve().parents[2]
# XIUHE_WINDOWS_BUILD points the suite at another build tree, e.g. build/<name>/windows.
BUILD = Path(os.environ.get("XIUHE_WINDOWS_BUILD", REPO / "build" / "windows")).resolve()
PROGRAM = BUILD / "岫禾小助理.exe"
TITLE = "岫禾小助理"
SETTINGS_NAME = "配置.ini"
ARTIFACTS = REPO / "build" / "e2e"
SCREEN = (1024, 768)
TRAY_TITLE = "Wine System Tray"

# Calls traced by default when relay tracing is on.
DEFAULT_RELAY = (
    "user32.ExitWindowsEx", "user32.MessageBoxW", "user32.MessageBoxA",
    "shell32.ShellExecuteW", "shell32.ShellExecuteA",
    "shell32.Shell_NotifyIconW", "shell32.Shell_NotifyIconA",
    "winmm.midiStreamOpen", "winmm.midiStreamOut", "winmm.midiStreamRestart",
    "winmm.midiStreamStop", "winmm.midiOutReset", "winmm.midiStreamClose",
    "kernel32.CreateEventA", "kernel32.CreateEventW", "kernel32.OpenEventA", "kernel32.OpenEventW",
    "kernel32.WritePrivateProfileStringA", "kernel32.WritePrivateProfileStringW",
)
# e.g. "1386.625:0118:011c:Call user32.ExitWindowsEx(00000008,00000000) ret=0040123a"
RELAY_CALL = re.compile(r"^(?:(\d+\.\d+):)?.*?:Call +([A-Za-z0-9_]+\.[A-Za-z0-9_]+)\((.*?)\)(?: ret=[0-9a-f]+)?\s*$")


def base_env(prefix: Path, home: Path, display: str | None) -> dict[str, str]:
    env = {k: v for k, v in os.environ.items() if not k.startswith("WINE")}
    env.update(
        WINEPREFIX=str(prefix),
        HOME=str(home),
        LANG="zh_CN.UTF-8",
        LC_ALL="zh_CN.UTF-8",
        WINEDEBUG="-all",
        WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv=d",
    )
    if display:
        env["DISPLAY"] = display
    else:
        env.pop("DISPLAY", None)
    return env


def end_process(proc: subprocess.Popen, grace: float = 3.0) -> None:
    """Ends one process we started, by its id: TERM, then KILL after a grace period."""
    if proc.poll() is not None:
        return
    try:
        proc.send_signal(signal.SIGTERM)
        proc.wait(grace)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait(grace)
    except ProcessLookupError:
        pass


class Xvfb:
    """A private X server on a display number it picks itself (-displayfd), so parallel runs never clash."""

    def __init__(self, size=SCREEN):
        read_end, write_end = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size[0]}x{size[1]}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        try:
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([read_end], [], [], left)[0]:
                    raise RuntimeError("Xvfb did not report its display")
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise RuntimeError("Xvfb ended before reporting its display")
                number += chunk
        except BaseException:
            end_process(self.proc)
            raise
        finally:
            os.close(read_end)
        self.display = f":{int(number)}"

    def stop(self) -> None:
        end_process(self.proc)


def wine_command(*args: str) -> list[str]:
    return ["wine", *args]


def stop_wineserver(env: dict[str, str]) -> None:
    """Ends every Wine process of one prefix (its wineserver knows them all) and waits for it."""
    subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=30)
    subprocess.run(["wineserver", "-w"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=30)


def make_template_prefix(root: Path) -> Path:
    """Creates a booted Wine prefix with Managed=N, to be copied for each test."""
    prefix, home = root / "prefix", root / "home"
    home.mkdir(parents=True, exist_ok=True)
    xvfb = Xvfb()
    env = base_env(prefix, home, xvfb.display)
    try:
        subprocess.run(["wineboot", "-i"], env=env, check=True, timeout=180,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Without a window manager winex11 would wait 2 s on every hide and close.
        subprocess.run(wine_command("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                                    "/d", "N", "/f"),
                       env=env, check=True, timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    finally:
        stop_wineserver(env)
        xvfb.stop()
    return prefix


# Program and library files that Wine only ever reads once a prefix is booted. Copies share them
# by hard link, which turns a 700 MB copy into about 10 MB; everything else (registry, ini files,
# user folders) is copied, since Wine rewrites some of those in place.
READ_ONLY_SUFFIXES = {".dll", ".exe", ".drv", ".sys", ".ocx", ".cpl", ".acm", ".ax", ".tlb", ".ds",
                      ".nls", ".msstyles", ".com", ".ttf", ".fon"}


def _link_or_copy(src: str, dst: str) -> None:
    if Path(src).suffix.lower() in READ_ONLY_SUFFIXES:
        try:
            os.link(src, dst)
            return
        except OSError:
            pass
    shutil.copy2(src, dst)


def copy_prefix(template: Path, target: Path) -> None:
    shutil.copytree(template, target, symlinks=True, copy_function=_link_or_copy)


SPARE_KEYS = 6
SETTLE_SECONDS = 0.5


def _segments(text: str, most: int) -> list[str]:
    """Splits text into runs that each hold at most `most` distinct non-ASCII characters."""
    segments, current, chars = [], "", set()
    for c in text:
        if ord(c) > 0x7E and c not in chars and len(chars) == most:
            segments.append(current)
            current, chars = "", set()
        if ord(c) > 0x7E:
            chars.add(c)
        current += c
    return segments + [current] if current else segments


class Window:
    def __init__(self, desktop: "Desktop", window_id: str):
        self.desktop = desktop
        self.id = window_id

    def geometry(self) -> tuple[int, int, int, int]:
        """(x, y, width, height) of the X window in screen coordinates; for a frameless window that is its client area."""
        out = self.desktop.xdotool("getwindowgeometry", "--shell", self.id)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def click(self, x: int, y: int, button: int = 1) -> None:
        """Clicks at a point given relative to the window's top-left corner."""
        left, top, _, _ = self.geometry()
        self.desktop.click(left + x, top + y, button)

    def exists(self) -> bool:
        return self.id in self.desktop.find_windows()

    def title(self) -> str:
        return self.desktop.xdotool("getwindowname", self.id).strip()


class Shot:
    """A screenshot on disk with pixel access."""

    def __init__(self, path: Path):
        self.path = path
        self.image = Image.open(path).convert("RGB")

    def pixel(self, x: int, y: int) -> tuple[int, int, int]:
        return self.image.getpixel((x, y))

    def crop(self, box: tuple[int, int, int, int]) -> Image.Image:
        """Region (x, y, width, height) of the screen."""
        x, y, w, h = box
        return self.image.crop((x, y, x + w, y + h))


class Program:
    """One running copy of a Windows program under Wine."""

    def __init__(self, proc: subprocess.Popen, log: Path):
        self.proc = proc
        self.log = log

    @property
    def pid(self) -> int:
        return self.proc.pid

    def running(self) -> bool:
        return self.proc.poll() is None

    def wait(self, timeout: float = 10) -> int:
        """Waits for the program to end and returns its exit code."""
        return self.proc.wait(timeout)

    def output(self) -> str:
        return self.log.read_bytes().decode("utf-8", "replace")


class Desktop:
    """A test's private screen, Wine prefix, HOME and Documents folder."""

    def __init__(self, template: Path, workdir: Path, name: str):
        self.workdir = workdir
        self.name = name
        self.prefix = workdir / "prefix"
        self.home = workdir / "home"
        self.documents = workdir / "documents"
        self.home.mkdir(parents=True)
        self.documents.mkdir()
        self.programs: list[Program] = []
        self.relay: tuple[str, ...] | None = None
        self._warm = False
        self._server_started = False
        self._bound_chars: set[str] = set()
        self._spare_keycodes: list[int] | None = None
        self._typed_at = 0.0
        self._shots = 0
        try:
            copy_prefix(template, self.prefix)
            # The copy still points Documents at the template's HOME.
            for link in (self.prefix / "drive_c" / "users").glob("*/Documents"):
                if link.is_symlink():
                    link.unlink()
                    link.symlink_to(self.documents)
            self.xvfb = Xvfb()
        except BaseException:
            shutil.rmtree(self.prefix, ignore_errors=True)
            raise
        self.display = self.xvfb.display
        self.env = base_env(self.prefix, self.home, self.display)

    # --- set-up -------------------------------------------------------------------------------

    def enable_relay(self, calls=DEFAULT_RELAY) -> None:
        """Traces the given dll.function calls of programs launched afterwards (see relay_calls)."""
        if self._warm:
            raise RuntimeError("enable_relay must come before the first launch")
        self.relay = tuple(calls)
        key = r"HKCU\Software\Wine\Debug"
        self._wine_quiet("reg", "add", key, "/v", "RelayInclude", "/d", ";".join(self.relay), "/f")
        # The default exclusion list hides kernel32; keep only the noisy callers out.
        self._wine_quiet("reg", "add", key, "/v", "RelayFromExclude", "/d",
                         "winex11.drv;winemac.drv;user32;gdi32;advapi32", "/f")

    def write_document(self, name: str, content: bytes | str) -> Path:
        """Puts a file into the Documents folder before launch; text is stored as GBK."""
        data = content.encode("gbk") if isinstance(content, str) else content
        path = self.documents / name
        path.write_bytes(data)
        return path

    # --- programs -----------------------------------------------------------------------------

    def warm_up(self) -> None:
        """Starts the prefix's wineserver and services untraced, so launches are quick and traces clean."""
        if self._warm:
            return
        self._wine_quiet("cmd", "/c", "exit")
        self._warm = True

    def launch(self, exe: Path = PROGRAM, *args: str, relay: bool | None = None) -> Program:
        """Starts a program (by default the assistant) in this prefix; call again for a second copy."""
        if not exe.exists():
            raise FileNotFoundError(f"{exe} is not built; run scripts/build")
        self.warm_up()
        env = dict(self.env)
        if relay if relay is not None else self.relay is not None:
            env["WINEDEBUG"] = "+timestamp,+pid,+relay"
        log = self.workdir / f"program-{len(self.programs) + 1}.log"
        with open(log, "wb") as out:
            proc = subprocess.Popen(wine_command(str(exe), *args), env=env, cwd=str(exe.parent),
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)
        program = Program(proc, log)
        self.programs.append(program)
        return program

    def run_console(self, exe: Path, timeout: float = 120) -> subprocess.CompletedProcess:
        """Runs a console program to its end; returns its exit code and its output."""
        self.warm_up()
        return subprocess.run(wine_command(str(exe)), env=self.env, cwd=str(exe.parent),
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=timeout)

    def run_wine(self, *args: str, timeout: float = 60) -> int:
        """Runs a Wine command in this prefix to its end (e.g. "wineboot", "--end-session"); returns its exit code."""
        self._start_server()
        return subprocess.run(wine_command(*args), env=self.env, timeout=timeout, stdin=subprocess.DEVNULL,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode

    def relay_calls(self, name: str | None = None, program: Program | None = None) -> list[tuple[str, str]]:
        """(dll.function, arguments) of each traced call, in order; optionally only calls of `name`."""
        return [(call, args) for _, call, args in self._relay(name, program)]

    def relay_call_times(self, name: str, program: Program | None = None) -> list[float]:
        """Wine's timestamps (seconds) of each traced call of `name`, to measure the time between calls."""
        return [stamp for stamp, _, _ in self._relay(name, program)]

    def _relay(self, name, program):
        calls = []
        for p in [program] if program else self.programs:
            for line in p.output().splitlines():
                match = RELAY_CALL.search(line)
                # Wine prints some dll names in capitals (KERNEL32.ExitProcess).
                if match and (name is None or match.group(2).lower() == name.lower()):
                    stamp = float(match.group(1)) if match.group(1) else 0.0
                    calls.append((stamp, match.group(2), match.group(3)))
        return calls

    # --- screen ---------------------------------------------------------------------------------

    def xdotool(self, *args: str, check: bool = True) -> str:
        result = subprocess.run(["xdotool", *args], env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=30)
        if check and result.returncode != 0:
            raise RuntimeError(f"xdotool {' '.join(args)} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode("utf-8", "replace")

    def find_windows(self, title: str | None = TITLE, pid: int | None = None) -> list[str]:
        """Visible X windows whose title is exactly `title` (any title when None), optionally of one process."""
        args = ["search", "--onlyvisible"]
        if pid is not None:
            args += ["--pid", str(pid)]
        args += ["--name", "^" + re.escape(title) + "$" if title is not None else "."]
        return self.xdotool(*args, check=False).split()

    def wait_window(self, title: str | None = TITLE, timeout: float = 15, pid: int | None = None) -> Window:
        """Waits until a visible window with that exact title exists and returns it."""
        deadline = time.monotonic() + timeout
        while True:
            found = self.find_windows(title, pid)
            if found:
                return Window(self, found[-1])
            if time.monotonic() > deadline:
                raise TimeoutError(f"no window titled {title!r} within {timeout} s; "
                                   f"windows now: {self.window_titles()}")
            time.sleep(0.1)

    def wait_no_window(self, title: str = TITLE, timeout: float = 10) -> None:
        deadline = time.monotonic() + timeout
        while self.find_windows(title):
            if time.monotonic() > deadline:
                raise TimeoutError(f"window {title!r} still visible after {timeout} s")
            time.sleep(0.1)

    def window_titles(self) -> list[str]:
        return [self.xdotool("getwindowname", w, check=False).strip() for w in self.find_windows(None)]

    def move(self, x: int, y: int) -> None:
        """Moves the pointer to screen coordinates (equal to Win32 screen coordinates), e.g. to hover."""
        self.xdotool("mousemove", "--sync", str(x), str(y))

    def press(self, button: int = 1) -> None:
        self.xdotool("mousedown", str(button))

    def release(self, button: int = 1) -> None:
        self.xdotool("mouseup", str(button))

    def click(self, x: int, y: int, button: int = 1) -> None:
        """Clicks at screen coordinates."""
        self.move(x, y)
        self.xdotool("click", str(button))

    def double_click(self, x: int, y: int) -> None:
        self.move(x, y)
        self.xdotool("click", "--repeat", "2", "--delay", "80", "1")

    def drag(self, start: tuple[int, int], end: tuple[int, int], steps: int = 10) -> None:
        """Presses the left button at `start`, moves in steps to `end` and releases (screen coordinates)."""
        self.move(*start)
        self.press()
        for i in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.02)
        self.release()

    def tray_icon_point(self, index: int = 0, timeout: float = 10) -> tuple[int, int]:
        """Screen point at the centre of the index-th icon in Wine's tray window."""
        # With Managed=N the X window includes Wine's caption and 3-pixel frame around the
        # one row of 20x20 icon cells.
        left, top, _, height = self.wait_window(TRAY_TITLE, timeout).geometry()
        frame = 3
        return left + frame + 10 + 20 * index, top + height - frame - 10

    def type(self, text: str) -> None:
        """Types text (ASCII or Chinese) into the focused control."""
        for segment in _segments(text, SPARE_KEYS):
            self._bind_keys(segment)
            self.xdotool("key", "shift")  # a lone Shift types nothing
            self.xdotool("type", "--delay", "30", segment)
            self._typed_at = time.monotonic()

    def _bind_keys(self, text: str) -> None:
        # Left to itself, xdotool remaps one spare key for every non-ASCII character and maps it
        # back at once; Wine reads the key map only when it gets round to the event, so on a busy
        # machine it sees a later mapping and drops or swaps characters. So bind the segment's
        # characters to keys of their own first, and keep the map still while they are typed.
        # Wine gives such keys virtual-key codes from a small pool, hence few keys at a time.
        needed = sorted({c for c in text if ord(c) > 0x7E})
        if not needed or set(needed) <= self._bound_chars:
            return
        if self._spare_keycodes is None:
            table = subprocess.run(["xmodmap", "-pke"], env=self.env, check=True, timeout=30,
                                   stdout=subprocess.PIPE).stdout.decode()
            self._spare_keycodes = [int(m.group(1)) for m in
                                    re.finditer(r"^keycode +(\d+) =\s*$", table, re.M)][:SPARE_KEYS]
        # Let Wine finish the keys typed with the previous binding before it changes.
        time.sleep(max(0.0, self._typed_at + SETTLE_SECONDS - time.monotonic()))
        expressions = []
        for char, keycode in zip(needed, self._spare_keycodes):
            expressions += ["-e", f"keycode {keycode} = U{ord(char):04X} U{ord(char):04X}"]
        subprocess.run(["xmodmap", *expressions], env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._bound_chars = set(needed)

    def key(self, *keys: str) -> None:
        """Presses keys by X keysym name, e.g. key("Escape"), key("Down", "Return")."""
        self.xdotool("key", "--delay", "50", *keys)

    def screenshot(self, label: str = "") -> Shot:
        """Saves the whole screen to build/e2e/<test name>[-label].png."""
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        self._shots += 1
        suffix = f"-{label}" if label else ("" if self._shots == 1 else f"-{self._shots}")
        path = ARTIFACTS / f"{self.name}{suffix}.png"
        subprocess.run(["import", "-display", self.display, "-window", "root", str(path)],
                       env=self.env, check=True, timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return Shot(path)

    # --- files --------------------------------------------------------------------------------

    @property
    def settings_path(self) -> Path:
        return self.documents / SETTINGS_NAME

    def settings_text(self) -> str | None:
        """The settings file as text (decoded from GBK), or None when it does not exist."""
        path = self.settings_path
        return path.read_bytes().decode("gbk") if path.exists() else None

    def settings(self) -> dict[str, dict[str, str]]:
        """The settings file as {section: {key: value}}, names and values as stored."""
        sections: dict[str, dict[str, str]] = {}
        current = None
        for line in (self.settings_text() or "").splitlines():
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current[key.strip()] = value.strip()
        return sections

    def wait_for(self, condition, timeout: float = 10, interval: float = 0.1, what: str = "condition"):
        """Polls `condition()` until it returns something truthy, and returns that."""
        deadline = time.monotonic() + timeout
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise TimeoutError(f"{what} not met within {timeout} s")
            time.sleep(interval)

    # --- teardown -----------------------------------------------------------------------------

    def close(self) -> None:
        """Ends everything this desktop started, even after a failure, and frees the prefix copy."""
        try:
            stop_wineserver(self.env)
        finally:
            for program in self.programs:
                end_process(program.proc)
            self.xvfb.stop()
            shutil.rmtree(self.prefix, ignore_errors=True)

    def _start_server(self) -> None:
        # A persistent wineserver keeps the services started by the first command alive for later launches.
        if not self._server_started:
            subprocess.run(["wineserver", "-p"], env=self.env, timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self._server_started = True

    def _wine_quiet(self, *args: str) -> None:
        self._start_server()
        subprocess.run(wine_command(*args), env=self.env, check=True, timeout=60,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
