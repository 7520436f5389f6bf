"""The tools page: each button hands its one request to the shell and changes nothing else.

Wine really starts the tools it has (notepad, control, write); their windows open over ours, so each
is closed with its own close box before the next click. Tools Wine lacks fail quietly."""

import re

from harness import TITLE, TRAY_TITLE, Window
from main_window import select_page
from shutdown_page import ShutdownPage

SYSTEM = r"C:\Windows\system32"
SW_SHOWNORMAL = 1
# (button, verb, file, working directory) in the order a person might go along the rows.
ROWS = (
    ("按钮1", None, "calc", SYSTEM),
    ("按钮5", None, "notepad", SYSTEM),
    ("按钮4", None, "LaunchTM", SYSTEM),
    ("按钮3", None, "control", SYSTEM),
    ("按钮9", None, "write", SYSTEM),
    ("按钮8", "open", "devmgmt.msc", ""),
    ("按钮6", None, "SndVol", SYSTEM),
    ("按钮2", None, "cleanmgr", SYSTEM),
)
SHELL_CALL = "shell32.ShellExecuteW"
RETURN = re.compile(r":Ret +shell32\.ShellExecuteW\(\) retval=([0-9a-f]+)")
WIDE_STRING = re.compile(r'L"((?:[^"\\]|\\.)*)"')


def wide_text(argument: str) -> str | None:
    """A UTF-16 string argument as the relay trace prints it, or None for a null pointer."""
    match = WIDE_STRING.search(argument)
    if not match:
        assert int(argument, 16) == 0, argument
        return None
    return re.sub(r"\\(u?[0-9a-f]{4}|.)",
                  lambda m: chr(int(m.group(1)[-4:], 16)) if len(m.group(1)) >= 4 else m.group(1),
                  match.group(1))


def shell_requests(desktop) -> list[tuple[str | None, str, str | None, str | None, int]]:
    """(verb, file, parameters, directory, show mode) of every ShellExecuteW call so far."""
    requests = []
    for _, args in desktop.relay_calls(SHELL_CALL):
        _, verb, file, parameters, directory, show = args.split(",")
        # The show mode travels in a 64-bit register whose upper half is junk.
        requests.append((wide_text(verb), wide_text(file), wide_text(parameters), wide_text(directory),
                         int(show, 16) & 0xFFFFFFFF))
    return requests


def shell_results(program) -> list[int]:
    return [int(value, 16) for value in RETURN.findall(program.output())]


def tool_windows(desktop) -> list[Window]:
    """Visible windows with a title other than ours; short-lived untitled ones are left out."""
    found = []
    for window_id in desktop.find_windows(None):
        title = desktop.xdotool("getwindowname", window_id, check=False).strip()
        if title and title not in (TITLE, TRAY_TITLE):
            found.append(Window(desktop, window_id))
    return found


def close_tool_windows(desktop) -> None:
    for window in tool_windows(desktop):
        try:
            _, _, width, _ = window.geometry()
        except RuntimeError:
            continue  # gone by itself
        # Wine draws the frame itself here: the close box is at the caption's right end.
        window.click(width - 13, 12)
        desktop.wait_for(lambda: not window.exists(), timeout=10, what=f"tool window {window.id} closed")


def test_each_tool_button_makes_one_shell_request_and_changes_nothing_else(desktop):
    desktop.enable_relay()
    program = desktop.launch()
    window = desktop.wait_window(TITLE)
    look = select_page(desktop, window, 2)
    settings_before = desktop.settings_path.read_bytes()
    controls_before = ShutdownPage(desktop, window).look().controls

    for count, (button, *_) in enumerate(ROWS, start=1):
        x, y, w, h = look[button].place
        window.click(x + w // 2, y + h // 2)
        results = desktop.wait_for(lambda: len(shell_results(program)) >= count and shell_results(program),
                                   timeout=15, what=f"the shell's answer to {button}")
        assert len(shell_requests(desktop)) == count, f"{button} made more than one request"
        # Above 32 the shell started a process: wait for its window and close it.
        if results[-1] > 32:
            desktop.wait_for(lambda: tool_windows(desktop), timeout=15, what=f"the window of the tool of {button}")
            close_tool_windows(desktop)

    assert shell_requests(desktop) == [(verb, file, None, directory, SW_SHOWNORMAL)
                                       for _, verb, file, directory in ROWS]
    assert desktop.settings_path.read_bytes() == settings_before
    assert ShutdownPage(desktop, window).look().controls == controls_before
    assert program.running()
