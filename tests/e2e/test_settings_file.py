"""配置.ini in the Documents folder, as the running program writes and reads it: the first start's
keys, a write at every change on the alarm page, and the values put back at the next start."""

from alarm_page import AlarmPage
from harness import TITLE
from main_window import CLOSE_BUTTON

FIRST_RUN_FILE = ("[闹钟]\r\n"
                  "闹钟1小时=7\r\n"
                  "闹钟1分钟=0\r\n"
                  "闹钟1提醒=早上好\r\n"
                  "闹钟2提醒=闹钟\r\n"
                  "闹钟1周一=真\r\n"
                  "闹钟1周二=真\r\n"
                  "闹钟1周三=真\r\n"
                  "闹钟1周四=真\r\n"
                  "闹钟1周五=真\r\n").encode("gbk")


def start(desktop):
    program = desktop.launch()
    return program, AlarmPage(desktop, desktop.wait_window(TITLE))


def close(program, page: AlarmPage) -> None:
    page.window.click(*CLOSE_BUTTON)
    program.wait(10)


def test_first_start_writes_the_nine_alarm_keys_in_gbk_with_crlf(desktop):
    assert not desktop.settings_path.exists()
    start(desktop)
    # The start-up routine writes before the window is first shown.
    assert desktop.settings_path.read_bytes() == FIRST_RUN_FILE


def test_alarm_page_changes_are_written_at_once_and_shown_again_at_the_next_start(desktop):
    program, page = start(desktop)
    look = page.open()

    def stored(key, value):
        desktop.wait_for(lambda: desktop.settings().get("闹钟", {}).get(key) == value, timeout=5,
                         what=f"{key}={value} in the file")

    look = page.tick("选择框_闹钟1周六", look)
    stored("闹钟1周六", "真")
    look = page.tick("选择框_闹钟1周一", look, checked=False)
    stored("闹钟1周一", "假")
    look = page.type_into("编辑框_闹钟2提醒", "午休 nap", look)
    stored("闹钟2提醒", "午休 nap")
    look = page.pick("组合框_闹钟2分钟", 30, "30", look)
    stored("闹钟2分钟", "30")
    close(program, page)

    _, page = start(desktop)
    look = page.open()
    desktop.screenshot("restored")
    shown = {name: (look[name].text, look[name].checked) for name in (
        "选择框_闹钟1周一", "选择框_闹钟1周二", "选择框_闹钟1周六", "选择框_闹钟1开",
        "编辑框_闹钟1提醒", "编辑框_闹钟2提醒", "组合框_闹钟1小时", "组合框_闹钟2分钟")}
    assert shown == {
        "选择框_闹钟1周一": ("周一", False), "选择框_闹钟1周二": ("周二", True),
        "选择框_闹钟1周六": ("周六", True), "选择框_闹钟1开": ("开", False),
        "编辑框_闹钟1提醒": ("早上好", None), "编辑框_闹钟2提醒": ("午休 nap", None),
        "组合框_闹钟1小时": ("7", None), "组合框_闹钟2分钟": ("30", None)}
    # The second start writes the reminders back and both switches' flags; nothing else changes.
    assert desktop.settings() == {"闹钟": {
        "闹钟1小时": "7", "闹钟1分钟": "0", "闹钟1提醒": "早上好", "闹钟2提醒": "午休 nap",
        "闹钟1周一": "假", "闹钟1周二": "真", "闹钟1周三": "真", "闹钟1周四": "真", "闹钟1周五": "真",
        "闹钟1周六": "真", "闹钟2分钟": "30", "闹钟1开": "假", "闹钟2开": "假"}}


def test_a_file_written_elsewhere_is_read_by_its_rules(desktop):
    # LF line ends, a flag that is not exactly 真, an hour past the list's end, and a text whose
    # GBK trail bytes are 0x5C and 0x5D (backslash and bracket in ASCII).
    tricky = "乗乚 \\ ]"
    desktop.write_document("配置.ini", "[闹钟]\n闹钟1小时=30\n闹钟1周六=1\n闹钟1周日=真\n"
                                       f"闹钟1提醒={tricky}\n")
    _, page = start(desktop)
    look = page.open()
    assert look["组合框_闹钟1小时"].text == "23"
    assert look["组合框_闹钟1分钟"].text == "00"
    assert (look["选择框_闹钟1周六"].checked, look["选择框_闹钟1周日"].checked,
            look["选择框_闹钟1周一"].checked) == (False, True, False)
    assert look["编辑框_闹钟1提醒"].text == tricky
    assert look["编辑框_闹钟2提醒"].text == ""
    # Only the reminders and the switches were written back: the file is now CRLF throughout.
    raw = desktop.settings_path.read_bytes()
    assert b"\n" not in raw.replace(b"\r\n", b"")
    assert desktop.settings()["闹钟"] == {"闹钟1小时": "30", "闹钟1周六": "1", "闹钟1周日": "真",
                                         "闹钟1提醒": tricky, "闹钟2提醒": "", "闹钟1开": "假",
                                         "闹钟2开": "假"}
