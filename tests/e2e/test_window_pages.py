from main_window import controls, select_page, start

# The chrome buttons, whatever the page.
CHROME = {"图形按钮_菜单": (341, 0, 30, 29), "图形按钮_最小化": (371, 0, 30, 29), "图形按钮_关闭": (401, 0, 29, 29)}
# (name, place in window coordinates, text or None, checked or None) for a few controls of each
# kind and parent: direct children of the window, of the tab control, of a group box and of a picture box.
PAGES = {
    0: [("标签_小时", (122, 201, 80, 67), None, None),
        ("图片框2", (0, 180, 430, 150), None, None),
        ("图形按钮_立即启用", (176, 296, 78, 26), "立即启用", None),
        ("透明标签_提示", (7, 299, 120, 24), "设置到点关机时间", None),
        ("选择框1", (283, 299, 140, 24), "每天都执行此关机设置", False)],
    1: [("分组框1", (1, 185, 428, 70), "闹钟1", None),
        ("组合框_闹钟1小时", (9, 203, 40, None), "7", None),
        ("编辑框_闹钟1提醒", (112, 203, 268, 20), "早上好", None),
        ("选择框_闹钟1周一", (9, 226, 44, 24), "周一", True),
        ("选择框_闹钟1周六", (314, 226, 44, 24), "周六", False),
        ("编辑框_闹钟2提醒", (112, 278, 268, 20), "闹钟", None),
        ("选择框_闹钟2开", (387, 276, 30, 24), "开", False)],
    2: [("按钮1", (11, 207, 80, 32), "计算器", None),
        ("按钮2", (339, 268, 80, 32), "磁盘清理", None)],
}
PANEL_GREY = (52, 52, 52)


def test_each_tab_shows_its_own_page_with_every_control_in_its_place(desktop):
    program, window = start(desktop)
    seen = {}
    for page in (1, 2, 0):
        look = select_page(desktop, window, page)
        shot = desktop.screenshot(f"page{page}")
        seen[page] = shot.pixel(window.geometry()[0] + 10, window.geometry()[1] + 200)
        for shown_page, expected in PAGES.items():
            for name, place, text, checked in expected:
                control = look[name]
                assert control.visible == (shown_page == page), (page, name)
                if shown_page != page:
                    continue
                x, y, w, h = place
                assert control.place[:3] == (x, y, w), name
                assert h is None or control.place[3] == h, name
                assert text is None or control.text == text, name
                assert checked is None or control.checked == checked, name
        for name, place in CHROME.items():
            assert look[name].visible and look[name].place == place, name
    # Only the shutdown page carries the dark panel.
    assert seen[0] == PANEL_GREY
    assert seen[1] != PANEL_GREY and seen[2] != PANEL_GREY
    assert program.running()


def test_picks_typing_and_ticks_on_the_alarm_page_reach_the_program(desktop):
    _, window = start(desktop)
    look = select_page(desktop, window, 1)

    def centre(name):
        x, y, w, h = look[name].place
        return x + w // 2, y + h // 2

    window.click(*centre("组合框_闹钟1小时"))
    desktop.key("Down", "Down", "Return")
    window.click(*centre("编辑框_闹钟1提醒"))
    desktop.key("End")
    desktop.type("起ok")
    window.click(*centre("选择框_闹钟1周六"))

    def shown():
        look = controls(desktop)
        return (look["组合框_闹钟1小时"].text, look["编辑框_闹钟1提醒"].text, look["选择框_闹钟1周六"].checked)

    assert desktop.wait_for(lambda: shown() == ("9", "早上好起ok", True), timeout=5,
                            what="the alarm page showing the changes")

    # Each change reached the program, which stored it.
    def stored():
        alarms = desktop.settings().get("闹钟", {})
        return alarms.get("闹钟1小时"), alarms.get("闹钟1提醒"), alarms.get("闹钟1周六")

    assert desktop.wait_for(lambda: stored() == ("9", "早上好起ok", "真"), timeout=5,
                            what="the settings file following the alarm page")
