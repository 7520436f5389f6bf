import subprocess

import pytest

from harness import TITLE
from main_window import select_page, start

NIM_ADD, NIM_DELETE = 0, 2


def tray_actions(desktop, program):
    return [int(arguments.split(",")[0], 16)
            for _, arguments in desktop.relay_calls("shell32.Shell_NotifyIconW", program)]


@pytest.mark.parametrize("focus", ["window", "edit box"])
def test_escape_closes_the_window_and_ends_the_program_with_its_tray_icon(desktop, focus):
    desktop.enable_relay()
    program, window = start(desktop)
    if focus == "edit box":
        x, y, w, h = select_page(desktop, window, 1)["编辑框_闹钟2提醒"].place
        window.click(x + w // 2, y + h // 2)
    desktop.key("Escape")
    assert program.wait(10) == 0
    desktop.wait_no_window(TITLE)
    assert tray_actions(desktop, program) == [NIM_ADD, NIM_DELETE]


def test_the_end_of_the_session_is_not_held_up_and_takes_the_tray_icon_down(desktop):
    desktop.enable_relay()
    program, _ = start(desktop)
    # What the system does on a shutdown, this program's own request included.
    ended = subprocess.run(["wine", "wineboot", "--end-session", "--shutdown"], env=desktop.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    assert ended.returncode == 0
    program.wait(15)
    assert tray_actions(desktop, program) == [NIM_ADD, NIM_DELETE]
