"""The shutdown page of the running assistant, as a person sees and uses it.

What is on screen is read with window_probe.exe (tests/windows/window_probe.cpp), which lists the
window's controls with their visibility, text, check state and place; clicks go to the middle of
a control's place, as a person would aim.
"""

from __future__ import annotations

import datetime
import re
import time
from dataclasses import dataclass

from harness import Desktop, Window
from main_window import Control, probe

ARROWS = ("图形按钮_小时加", "图形按钮_分钟减", "图形按钮_分钟加", "图形按钮_小时减")
IDLE_HINT = "设置到点关机时间"
COUNTDOWN_HINT = "距离关机还有"
EWX_FORCE, EWX_POWEROFF, EWX_FORCEIFHUNG = 0x4, 0x8, 0x10


@dataclass
class Look:
    clock: datetime.datetime
    controls: dict[str, Control]

    def __getitem__(self, name: str) -> Control:
        return self.controls[name]

    def shown(self, name: str) -> bool:
        return self.controls[name].visible

    @property
    def hint(self) -> str:
        return self["透明标签_提示"].text

    @property
    def time(self) -> tuple[str, str]:
        return self["标签_小时"].text, self["标签_分钟"].text


def waiting_message(hour: str, minute: str) -> str:
    return f"将在 {hour}：{minute} 关机！"


class ShutdownPage:
    def __init__(self, desktop: Desktop, window: Window):
        self.desktop = desktop
        self.window = window

    def look(self) -> Look:
        return Look(*probe(self.desktop))

    def bright_pixels(self, name: str, look: Look) -> int:
        """How many near-white pixels the control shows on screen (white text on the dark panel)."""
        left, top, _, _ = self.window.geometry()
        x, y, w, h = look[name].place
        area = self.desktop.screenshot(name).crop((left + x, top + y, w, h))
        return sum(1 for pixel in area.getdata() if min(pixel) >= 200)

    def click(self, name: str, look: Look | None = None) -> float:
        """Clicks the control; returns the wall-clock time just after the click went in."""
        control = (look or self.look())[name]
        assert control.visible, f"{name} is not on screen"
        self.window.click(*control.centre)
        return time.time()

    def set_time(self, hour: int, minute: int) -> Look:
        """Steps the two labels with the arrow buttons until they show hour:minute."""
        look = self.look()
        for label, up, down, value, size in (("标签_小时", "图形按钮_小时加", "图形按钮_小时减", hour, 24),
                                             ("标签_分钟", "图形按钮_分钟加", "图形按钮_分钟减", minute, 60)):
            shown = int(look[label].text)
            ahead = (value - shown) % size
            button, clicks = (up, ahead) if ahead <= size // 2 else (down, size - ahead)
            for _ in range(clicks):
                self.click(button, look)
                time.sleep(0.05)
            look = self.desktop.wait_for(lambda: self._shows(label, f"{value:02d}"), timeout=5,
                                         what=f"{label} showing {value:02d}")
        return look

    def _shows(self, label: str, text: str) -> Look | None:
        look = self.look()
        return look if look[label].text == text else None

    def wait_for_a_fresh_minute(self, seconds_needed: int) -> datetime.datetime:
        """Waits, if need be, so that at least `seconds_needed` seconds are left in the present minute."""
        now = self.look().clock
        if now.second > 60 - seconds_needed:
            time.sleep(60 - now.second + 0.5)
            now = self.look().clock
        return now

    def arm_for_present_minute(self) -> float:
        """Sets the labels to the clock's minute and arms; returns the wall-clock time of the click."""
        for _ in range(3):
            now = self.wait_for_a_fresh_minute(15)
            look = self.set_time(now.hour, now.minute)
            if look.clock.minute == now.minute:
                return self.click("图形按钮_立即启用", look)
        raise AssertionError("the minute kept turning while the time was set")


def exit_windows_requests(desktop: Desktop, program=None) -> list[int]:
    """The flags of each ExitWindowsEx call seen in the relay trace."""
    return [int(args.split(",")[0], 16)
            for _, args in desktop.relay_calls("user32.ExitWindowsEx", program)]


RELAY_STAMPED_CALL = re.compile(r"^(\d+\.\d+):.*?:Call +([A-Za-z0-9_]+\.[A-Za-z0-9_]+)\(")


def relay_timestamps(program, name: str) -> list[float]:
    """Wine's timestamps (seconds) of each traced call of `name` made by the program."""
    stamps = []
    for line in program.output().splitlines():
        match = RELAY_STAMPED_CALL.match(line)
        if match and match.group(2).lower() == name.lower():
            stamps.append(float(match.group(1)))
    return stamps
