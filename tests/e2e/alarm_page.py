"""The alarm page of the running assistant, used as a person would: open the tab, pick from the
drop-down lists with the keyboard, type a reminder, tick boxes. What is on screen is read with
window_probe.exe through shutdown_page's reader, which also gives the Windows clock."""

from __future__ import annotations

import datetime

from harness import Desktop, Window
from main_window import TAB_POINTS
from shutdown_page import Look, ShutdownPage

WEEKDAYS = ("周一", "周二", "周三", "周四", "周五", "周六", "周日")  # in datetime.weekday() order
REMINDER_CAPTION = "信息："
ALARM_TAB = 1
# Two picks from the drop-down lists take about 4 s under Wine, the switch under 1 s; more when busy.
SETUP_SECONDS = 8
SWITCH_SECONDS = 3


def alarm_minute(now: datetime.datetime) -> datetime.datetime:
    """The next whole minute, or the one after when too little of this one is left to set it up."""
    target = now.replace(second=0) + datetime.timedelta(minutes=1)
    if (target - now).total_seconds() < SETUP_SECONDS:
        target += datetime.timedelta(minutes=1)
    return target


def weekday_box(alarm: int, day: datetime.date) -> str:
    return f"选择框_闹钟{alarm}{WEEKDAYS[day.weekday()]}"


def hour_list(alarm: int) -> str:
    return f"组合框_闹钟{alarm}小时"


def minute_list(alarm: int) -> str:
    return f"组合框_闹钟{alarm}分钟"


def reminder_box(alarm: int) -> str:
    return f"编辑框_闹钟{alarm}提醒"


def on_switch(alarm: int) -> str:
    return f"选择框_闹钟{alarm}开"


class AlarmPage:
    def __init__(self, desktop: Desktop, window: Window):
        self.desktop = desktop
        self.window = window
        self._reader = ShutdownPage(desktop, window)

    def look(self) -> Look:
        return self._reader.look()

    def open(self) -> Look:
        self.window.click(*TAB_POINTS[ALARM_TAB])
        return self.wait_until(lambda look: look.shown("分组框1") and look.shown(hour_list(1)), "the alarm page")

    def wait_until(self, test, what: str, timeout: float = 10) -> Look:
        def met():
            look = self.look()
            return look if test(look) else None
        return self.desktop.wait_for(met, timeout=timeout, what=what)

    def _click(self, name: str, look: Look) -> None:
        control = look[name]
        assert control.visible, f"{name} is not on screen"
        self.window.click(*control.centre)

    def pick(self, name: str, index: int, item: str, look: Look) -> Look:
        """Opens a drop-down list and walks to the item with the arrow keys from the nearer end, then Enter."""
        x, y, w, _ = look[name].place
        self.window.click(x + w // 2, y + 10)  # the closed box, not its dropped list
        last = 23 if name.endswith("小时") else 59
        walk = ["Home", *["Down"] * index] if index <= last // 2 else ["End", *["Up"] * (last - index)]
        self.desktop.key(*walk, "Return")
        return self.wait_until(lambda now: now[name].text == item, f"{name} showing {item}")

    def type_into(self, name: str, text: str, look: Look) -> Look:
        """Replaces the whole text of an edit box by typing."""
        self._click(name, look)
        self.desktop.key("End", "shift+Home", "Delete")
        self.desktop.type(text)
        return self.wait_until(lambda now: now[name].text == text, f"{name} holding {text!r}")

    def tick(self, name: str, look: Look, checked: bool = True) -> Look:
        if look[name].checked == checked:
            return look
        self._click(name, look)
        return self.wait_until(lambda now: now[name].checked == checked, f"{name} ticked {checked}")

    def switch_on_for_next_minute(self, alarm: int, look: Look) -> tuple[datetime.datetime, Look]:
        """Sets the alarm to ring at the next whole minute of today's weekday and switches it on.
        Only the time is against the clock: it is picked last, and again if the minute turned meanwhile."""
        for _ in range(3):
            target = alarm_minute(look.clock)
            look = self.tick(weekday_box(alarm, target.date()), look)
            look = self.pick(hour_list(alarm), target.hour, str(target.hour), look)
            look = self.pick(minute_list(alarm), target.minute, f"{target.minute:02d}", look)
            if (target - look.clock).total_seconds() >= SWITCH_SECONDS:
                break
        look = self.tick(on_switch(alarm), look)
        assert look.clock < target, "setting the alarm ran into its own minute"
        return target, look
