import time

from harness import TITLE
from main_window import (CLOSE_BUTTON, MENU_BUTTON, MINIMISE_BUTTON, controls, select_page, start,
                         wait_for_keyboard)
from shutdown_page import ShutdownPage

NIM_ADD, NIM_DELETE = 0, 2


def test_minimise_hides_the_window_and_the_tray_icon_brings_it_back_as_it_was(desktop):
    program, window = start(desktop)
    x, y, w, h = select_page(desktop, window, 1)["编辑框_闹钟1提醒"].place
    window.click(x + w // 2, y + h // 2)
    desktop.key("End")
    place = window.geometry()
    window.click(*MINIMISE_BUTTON)
    desktop.wait_no_window(TITLE)
    assert program.running()

    desktop.click(*desktop.tray_icon_point())
    back = desktop.wait_window(TITLE)
    assert back.geometry() == place
    # Same page, and the keyboard focus back in the box it was in.
    wait_for_keyboard(desktop, back)
    desktop.type("xy")
    look = desktop.wait_for(lambda: (c := controls(desktop))["编辑框_闹钟1提醒"].text == "早上好xy" and c,
                            timeout=5, what="typing going on in the reminder")
    assert look["分组框1"].visible and not look["图片框2"].visible


def test_an_armed_countdown_goes_on_while_the_window_is_hidden(desktop):
    _, window = start(desktop)
    page = ShutdownPage(desktop, window)
    page.arm_for_present_minute()
    armed = desktop.wait_for(lambda: (look := page.look()).shown("透明标签_倒计时") and look, timeout=5,
                             what="the countdown shown")
    window.click(*MINIMISE_BUTTON)
    desktop.wait_no_window(TITLE)
    time.sleep(4)
    desktop.click(*desktop.tray_icon_point())
    desktop.wait_window(TITLE)
    back = page.look()
    assert int(back["透明标签_倒计时"].text) <= int(armed["透明标签_倒计时"].text) - 3
    page.click("图形按钮_取消关机", back)  # long before the countdown would ask for the shutdown


def test_presses_on_the_surface_labels_and_pictures_move_the_window_but_not_on_controls(desktop):
    _, window = start(desktop)

    def press_and_drag(what, point, moves):
        left, top, _, _ = window.geometry()
        step = (30, 20) if left < 400 else (-30, -20)
        x, y = left + point[0], top + point[1]
        desktop.drag((x, y), (x + step[0], y + step[1]))
        expected = (left + step[0], top + step[1]) if moves else (left, top)
        assert desktop.wait_for(lambda: window.geometry()[:2] == expected, timeout=3,
                                what=f"{what}: window at {expected}")

    for what, point, moves in [
        ("banner", (100, 50), True),
        ("shutdown panel", (40, 200), True),
        ("hint line", (20, 310), True),
        ("hour label", (160, 230), True),
        ("arm button", (200, 308), False),
        ("daily check box", (300, 310), False),
        ("tab header beside the tabs", (300, 170), False),
    ]:
        press_and_drag(what, point, moves)
    select_page(desktop, window, 1)
    press_and_drag("inside a group box", (250, 196), False)


def test_the_menu_button_goes_after_one_click(desktop):
    _, window = start(desktop)
    window.click(*MENU_BUTTON)
    assert desktop.wait_for(lambda: not controls(desktop)["图形按钮_菜单"].visible, timeout=15,
                            what="menu button hidden")
    look = controls(desktop)
    assert look["图形按钮_最小化"].visible and look["图形按钮_关闭"].visible


def test_the_close_button_lights_red_under_the_pointer_and_ends_the_program(desktop):
    desktop.enable_relay()
    program, window = start(desktop)
    left, top, _, _ = window.geometry()
    corner = (left + CLOSE_BUTTON[0] + 10, top + 3)  # beside the cross
    desktop.xdotool("mousemove", "--sync", str(left + 200), str(top + 50))
    red, green, blue = desktop.screenshot("close-normal").pixel(*corner)
    assert blue > red
    desktop.xdotool("mousemove", "--sync", str(left + CLOSE_BUTTON[0]), str(top + CLOSE_BUTTON[1]))
    lit = desktop.wait_for(lambda: (p := desktop.screenshot("close-lit").pixel(*corner))[0] > 150 and p,
                           timeout=3, what="close button lit")
    assert lit[0] > 150 and lit[2] < 100

    window.click(*CLOSE_BUTTON)
    assert program.wait(10) == 0
    desktop.wait_no_window(TITLE)
    actions = [int(a.split(",")[0], 16) for _, a in desktop.relay_calls("shell32.Shell_NotifyIconW", program)]
    assert actions == [NIM_ADD, NIM_DELETE]
