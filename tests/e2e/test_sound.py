"""The alarm's tune on a MIDI device. Wine here has none, so the program runs beside
fake_midi_device.c built as its winmm.dll: a device that plays the stream buffers in real time and
logs every call and every sounded message with the time."""

import datetime
import shutil
import subprocess
import time
from pathlib import Path

import pytest

from alarm_page import REMINDER_CAPTION, AlarmPage
from harness import PROGRAM, TITLE

DEVICE_SOURCE = Path(__file__).with_name("fake_midi_device.c")
MIDI_MAPPER = -1
CALLBACK_EVENT = 0x50000


@pytest.fixture
def program_with_device(desktop):
    """A copy of the program with the fake device beside it, and the device's log."""
    folder = desktop.workdir / "with-device"
    folder.mkdir()
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O1", "-shared", "-o", str(folder / "winmm.dll"),
                    str(DEVICE_SOURCE)], check=True)
    shutil.copy2(PROGRAM, folder / PROGRAM.name)
    log = desktop.workdir / "midi.log"
    # Native first, so the program takes the winmm.dll in its own folder; everything else finds
    # only Wine's own.
    desktop.env["WINEDLLOVERRIDES"] += ";winmm=n,b"
    desktop.env["FAKE_MIDI_LOG"] = "Z:" + str(log).replace("/", "\\")
    return folder / PROGRAM.name, log


def device_log(log: Path) -> list[tuple[float, str]]:
    if not log.exists():
        return []
    entries = []
    for line in log.read_text().splitlines():
        when, _, what = line.partition(" ")
        entries.append((float(when), what))
    return entries



def test_alarm_tune_plays_in_time_on_the_midi_mapper_and_stops_when_the_box_closes(desktop, program_with_device):
    exe, log = program_with_device
    desktop.launch(exe)
    page = AlarmPage(desktop, desktop.wait_window(TITLE))
    look = page.open()
    target, look = page.switch_on_for_next_minute(1, look)
    assert not device_log(log), "the device was used before the alarm's minute"

    wait = (target - datetime.datetime.now()).total_seconds() + 5
    desktop.wait_for(lambda: desktop.find_windows(REMINDER_CAPTION), timeout=wait, interval=0.1,
                     what="the reminder box")
    desktop.wait_for(lambda: any(what.startswith("short") for _, what in device_log(log)), timeout=5,
                     what="the first note")
    time.sleep(3)  # longer than any rest in the five tunes

    playing = device_log(log)
    calls = [what.split()[0] for _, what in playing if not what.startswith(("short", "long", "tempo event"))]
    assert playing[0][1] == f"open {MIDI_MAPPER} 1 {CALLBACK_EVENT:x}"
    assert calls[1:4] == ["stop", "timediv", "tempo"], "division and tempo are set while stopped"
    assert calls[4:calls.index("restart") + 1] == ["prepare", "out", "restart"]
    assert not [what for _, what in playing if "while" in what], "a call the device refused"
    division = int(next(what for _, what in playing if what.startswith("timediv")).split()[1])
    tempo = int(next(what for _, what in playing if what.startswith("tempo ")).split()[1])
    assert (division, round(60e6 / tempo)) in {(480, 120), (96, 102), (480, 110)}
    notes = [when for when, what in playing if what.startswith("short")]
    assert notes[-1] - notes[0] >= 1.0, "the notes came all at once instead of in time"

    closed_at = time.time()
    desktop.key("Return")
    desktop.wait_no_window(REMINDER_CAPTION, timeout=5)
    desktop.wait_for(lambda: device_log(log)[-1][1] == "close", timeout=5, what="the stream closed")
    time.sleep(0.5)
    after = [(when, what) for when, what in device_log(log) if when >= closed_at]
    last_stop = max(i for i, (_, what) in enumerate(after) if what == "stop")
    ending = [what for _, what in after[last_stop:]]
    assert ending[:2] == ["stop", "reset"] and ending[-1] == "close"
    assert set(ending[2:-1]) == {"unprepare"}, "silenced, buffers taken back, closed, nothing sounded after"
    assert after[last_stop][0] - closed_at < 1.0, "the tune went on after the box closed"
