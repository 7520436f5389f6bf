"""An alarm set through the window rings at its minute: the tune is started, the reminder box shows
the text, Enter closes it, and the settings file holds what was set."""

import datetime
import time

from alarm_page import REMINDER_CAPTION, AlarmPage, reminder_box, weekday_box
from harness import TITLE
from main_window import relay_text

REMINDER = "该起床了 wake up 7:30"


def test_alarm_rings_at_its_minute_with_tune_and_reminder_and_keeps_its_settings(desktop):
    desktop.enable_relay()
    desktop.launch()
    page = AlarmPage(desktop, desktop.wait_window(TITLE))
    look = page.open()
    look = page.type_into(reminder_box(1), REMINDER, look)
    target, look = page.switch_on_for_next_minute(1, look)
    assert not desktop.find_windows(REMINDER_CAPTION)
    assert not desktop.relay_calls("winmm.midiStreamOpen"), "the tune started before the alarm's minute"

    wait = (target - datetime.datetime.now()).total_seconds() + 5
    desktop.wait_for(lambda: desktop.find_windows(REMINDER_CAPTION), timeout=wait, interval=0.1,
                     what="the reminder box")
    shown_at = datetime.datetime.now()
    assert target <= shown_at < target + datetime.timedelta(seconds=3), f"rang at {shown_at:%H:%M:%S}"
    desktop.screenshot("reminder")

    boxes = desktop.relay_calls("user32.MessageBoxW")
    assert len(boxes) == 1
    _, text, caption, _ = boxes[0][1].split(",")
    assert relay_text(text) == REMINDER
    assert relay_text(caption) == REMINDER_CAPTION
    # No MIDI device under Wine: the open fails, which is all that shows of the tune.
    desktop.wait_for(lambda: desktop.relay_calls("winmm.midiStreamOpen"), timeout=3,
                     what="the tune started on the MIDI mapper")

    desktop.key("Return")
    desktop.wait_no_window(REMINDER_CAPTION, timeout=5)
    # The timer goes on ticking in the same minute; it must not ring again.
    time.sleep(1.5)
    assert not desktop.find_windows(REMINDER_CAPTION)
    assert len(desktop.relay_calls("user32.MessageBoxW")) == 1

    stored = desktop.settings()["闹钟"]
    weekday_key = weekday_box(1, target.date()).removeprefix("选择框_")
    assert {key: stored.get(key) for key in ("闹钟1小时", "闹钟1分钟", "闹钟1提醒", "闹钟1开", weekday_key)} == {
        "闹钟1小时": str(target.hour), "闹钟1分钟": str(target.minute), "闹钟1提醒": REMINDER,
        "闹钟1开": "真", weekday_key: "真"}
