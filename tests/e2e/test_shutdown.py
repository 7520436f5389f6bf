"""The shutdown page under Wine: arm, watch the countdown, cancel, the request to power off, the wait.

Under Wine ExitWindowsEx ends only the session of the test's own prefix; the machine is untouched.
"""

import datetime
import time

import pytest

from harness import TITLE
from shutdown_page import (ARROWS, COUNTDOWN_HINT, EWX_FORCE, EWX_FORCEIFHUNG, EWX_POWEROFF, IDLE_HINT,
                           ShutdownPage, exit_windows_requests, waiting_message)


def assert_idle(look):
    assert look.hint == IDLE_HINT
    assert look.shown("图形按钮_立即启用")
    assert all(look.shown(arrow) for arrow in ARROWS)
    assert not look.shown("透明标签_倒计时")
    assert not look.shown("透明标签_秒")


def assert_armed(look, hint, countdown_shown):
    assert look.hint == hint
    assert not look.shown("图形按钮_立即启用"), "the arm button still covers the cancel button"
    assert look.shown("图形按钮_取消关机")
    assert not any(look.shown(arrow) for arrow in ARROWS)
    assert look.shown("透明标签_倒计时") == countdown_shown
    assert look.shown("透明标签_秒") == countdown_shown


def test_present_minute_counts_down_and_asks_to_power_off_after_30_seconds(desktop):
    desktop.enable_relay()
    program = desktop.launch()
    page = ShutdownPage(desktop, desktop.wait_window(TITLE))
    assert_idle(page.look())

    # Armed and cancelled first: the countdown shows, and cancel takes the page back to idle.
    page.arm_for_present_minute()
    look = page.look()
    assert_armed(look, COUNTDOWN_HINT, countdown_shown=True)
    assert 27 <= int(look["透明标签_倒计时"].text) <= 30
    assert look["透明标签_秒"].text == "秒"
    assert page.bright_pixels("透明标签_提示", look) > 30, "the hint is not drawn in white"
    time.sleep(2)
    later = page.look()
    assert int(later["透明标签_倒计时"].text) < int(look["透明标签_倒计时"].text), "the countdown does not run"

    page.click("图形按钮_取消关机")
    look = page.look()
    assert_idle(look)
    assert page.bright_pixels("透明标签_提示", look) == 0, "the idle hint is not drawn in black"

    # Armed again: about 30 seconds later the system is asked, once, to shut down and power off.
    armed_at = page.arm_for_present_minute()
    desktop.wait_for(lambda: exit_windows_requests(desktop), timeout=45, interval=0.2,
                     what="the shutdown request")
    elapsed = time.time() - armed_at
    assert 28.5 <= elapsed <= 33, f"requested {elapsed:.1f} s after arming"
    flags = exit_windows_requests(desktop)
    assert len(flags) == 1, "the cancelled countdown asked as well"
    assert flags[0] & EWX_POWEROFF
    assert not flags[0] & (EWX_FORCE | EWX_FORCEIFHUNG), "the shutdown must not be forced"
    # Wine ends the prefix's session, and the program with it.
    program.wait(20)


def test_earlier_time_waits_and_a_daily_one_is_armed_again_at_every_start(desktop):
    program = desktop.launch()
    page = ShutdownPage(desktop, desktop.wait_window(TITLE))
    now = page.wait_for_a_fresh_minute(20)
    earlier = now - datetime.timedelta(minutes=2)
    if earlier.date() != now.date():
        pytest.skip("two minutes ago was yesterday")
    hour, minute = f"{earlier.hour:02d}", f"{earlier.minute:02d}"
    page.set_time(earlier.hour, earlier.minute)

    page.click("选择框1")
    desktop.wait_for(lambda: desktop.settings().get("定时关机", {}).get("每天都执行此关机设置") == "真",
                     what="the daily flag stored")
    page.click("图形按钮_立即启用")
    look = page.look()
    assert_armed(look, waiting_message(hour, minute), countdown_shown=False)
    assert desktop.settings()["定时关机"] == {"每天都执行此关机设置": "真", "时钟": hour, "分钟": minute}

    # Esc ends the program; the next start arms the stored time at once.
    desktop.key("Escape")
    program.wait(15)
    desktop.launch()
    page = ShutdownPage(desktop, desktop.wait_window(TITLE))
    look = page.look()
    assert look.time == (hour, minute)
    assert look["选择框1"].checked
    assert_armed(look, waiting_message(hour, minute), countdown_shown=False)

    # Cancel ends the wait but keeps the daily setting for the next start.
    stored = desktop.settings_text()
    page.click("图形按钮_取消关机", look)
    assert_idle(page.look())
    assert desktop.settings_text() == stored
