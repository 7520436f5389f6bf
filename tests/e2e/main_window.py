"""The assistant's main window as a person meets it: its controls (read with window_probe.exe),
its tabs and its chrome buttons."""

from __future__ import annotations

import datetime
from dataclasses import dataclass

from harness import BUILD, TITLE, Desktop, Window

PROBE = BUILD / "window_probe.exe"

# Centres of the three tab headers and of the chrome buttons, in window coordinates.
TAB_POINTS = ((37, 170), (107, 170), (176, 170))
MENU_BUTTON = (356, 14)
MINIMISE_BUTTON = (386, 14)
CLOSE_BUTTON = (415, 14)


@dataclass
class Control:
    visible: bool
    text: str
    checked: bool | None
    place: tuple[int, int, int, int]

    @property
    def centre(self) -> tuple[int, int]:
        x, y, w, h = self.place
        return x + w // 2, y + h // 2


def probe(desktop: Desktop) -> tuple[datetime.datetime | None, dict[str, Control]]:
    """The Windows clock and every control of the shown main window, by name."""
    for _ in range(3):
        result = desktop.run_console(PROBE, timeout=30)
        out = result.stdout.decode("utf-8", "replace")
        # A probe that printed nothing at all never got to run (Wine failed to start it): again.
        if result.returncode == 0 or out:
            break
    assert result.returncode == 0, f"window_probe (exit {result.returncode}): {out}"
    clock, found = None, {}
    for line in out.splitlines():
        fields = line.split("|")
        if fields[0] == "clock":
            clock = datetime.datetime.strptime(fields[1], "%Y-%m-%d %H:%M:%S")
        elif len(fields) == 5:
            name, visible, text, checked, place = fields
            found[name] = Control(visible == "1", text, None if checked == "-" else checked == "1",
                                  tuple(int(v) for v in place.split(",")))
    return clock, found


def controls(desktop: Desktop) -> dict[str, Control]:
    """Every control of the shown main window, by name."""
    return probe(desktop)[1]


def start(desktop: Desktop) -> tuple[object, Window]:
    """Starts the assistant and waits until its window is shown and has the keyboard."""
    program = desktop.launch()
    window = desktop.wait_window(TITLE)
    wait_for_keyboard(desktop, window)
    return program, window


def wait_for_keyboard(desktop: Desktop, window: Window) -> None:
    """Waits until keys go to the window (Wine gives it the X focus a moment after showing it)."""
    desktop.wait_for(lambda: desktop.xdotool("getwindowfocus", check=False).strip() == window.id,
                     timeout=5, what="the window taking the keyboard")


def select_page(desktop: Desktop, window: Window, page: int) -> dict[str, Control]:
    window.click(*TAB_POINTS[page])
    marker = ("图片框2", "分组框1", "按钮1")[page]
    return desktop.wait_for(lambda: (c := controls(desktop))[marker].visible and c,
                            timeout=5, what=f"page {page} shown")


def relay_text(argument: str) -> str:
    """A UTF-16 string as the relay trace prints it: L"\\4fe1\\606f..." with ASCII as is."""
    body = argument[argument.index('L"') + 2:argument.rindex('"')]
    out, i = [], 0
    while i < len(body):
        if body[i] == "\\" and i + 5 <= len(body):
            out.append(chr(int(body[i + 1:i + 5], 16)))
            i += 5
        else:
            out.append(body[i])
            i += 1
    return "".join(out)
