from harness import TITLE
from main_window import controls, select_page, start


def test_tab_moves_the_focus_to_the_next_stop_where_space_ticks_it(desktop):
    _, window = start(desktop)
    look = select_page(desktop, window, 1)
    x, y, w, h = look["编辑框_闹钟1提醒"].place
    window.click(x + w // 2, y + h // 2)
    desktop.key("Tab", "space")
    desktop.wait_for(lambda: controls(desktop)["选择框_闹钟1周一"].checked is False, timeout=5,
                     what="Monday of alarm 1 unticked from the keyboard")
    desktop.key("shift+Tab", "shift+Tab", "space")  # back past the edit box to the on switch
    desktop.wait_for(lambda: controls(desktop)["选择框_闹钟1开"].checked, timeout=5,
                     what="alarm 1 switched on from the keyboard")


def test_escape_in_an_open_list_closes_the_list_and_the_next_one_the_window(desktop):
    program, window = start(desktop)
    look = select_page(desktop, window, 1)
    x, y, w, h = look["组合框_闹钟1小时"].place
    window.click(x + w // 2, y + h // 2)
    desktop.key("Escape")
    assert controls(desktop)["组合框_闹钟1小时"].text == "7"
    assert program.running()
    desktop.key("Escape")
    assert program.wait(10) == 0
    desktop.wait_no_window(TITLE)
