from harness import TITLE
from main_window import MINIMISE_BUTTON, relay_text, start

MB_TASKMODAL = 0x2000
EVENT_ALL_ACCESS = 0x1F0003
MARK = "近在眼前"


def named_calls(desktop, program, name):
    """Arguments of the traced calls of `name` that carry the running-copy mark's name."""
    return [arguments.split(",")[:-1] for _, arguments in desktop.relay_calls(name, program)
            if 'L"' in arguments and relay_text(arguments) == MARK]


def test_a_second_start_is_refused_with_a_message_and_leaves_the_first_copy_alone(desktop):
    desktop.enable_relay()
    first, window = start(desktop)
    # The first copy looks for the mark, then makes it: an auto-reset event, not signalled.
    assert [int(v, 16) for v in named_calls(desktop, first, "kernel32.OpenEventW")[0]] == [EVENT_ALL_ACCESS, 0]
    assert [int(v, 16) for v in named_calls(desktop, first, "kernel32.CreateEventW")[0]] == [0, 0, 0]
    window.click(*MINIMISE_BUTTON)
    desktop.wait_no_window(TITLE)
    settings_before = desktop.settings_path.read_bytes() if desktop.settings_path.exists() else None

    second = desktop.launch()
    box = desktop.wait_window("信息：")
    desktop.screenshot("refused")
    (_, arguments), = desktop.relay_calls("user32.MessageBoxW", second)
    owner, text, caption, style = arguments.split(",")
    assert relay_text(text) == "程序已经运行！（桌面右下角）"
    assert relay_text(caption) == "信息："
    assert int(owner, 16) == 0
    assert int(style, 16) == MB_TASKMODAL  # one OK button, no icon

    desktop.key("Return")
    assert second.wait(10) == 0
    assert not box.exists()
    # The refused copy put up no tray icon, and the first copy stays hidden and running.
    assert desktop.relay_calls("shell32.Shell_NotifyIconW", second) == []
    assert named_calls(desktop, second, "kernel32.CreateEventW") == []
    assert first.running()
    assert desktop.find_windows(TITLE) == []
    after = desktop.settings_path.read_bytes() if desktop.settings_path.exists() else None
    assert after == settings_before


def test_a_start_after_the_first_copy_ended_is_not_refused(desktop):
    first, _ = start(desktop)
    desktop.key("Escape")
    assert first.wait(10) == 0
    second, _ = start(desktop)
    assert second.running() and "信息：" not in desktop.window_titles()
