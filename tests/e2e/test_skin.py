"""The skin as a person sees it: pictures in place, buttons lighting up under the pointer."""

from harness import TITLE

PANEL = (52, 52, 52)
CLOSE, CLOSE_LIT = (0, 97, 155), (212, 64, 39)
ARROW, ARROW_LIT = (38, 38, 38), (58, 58, 58)
PAGE_TOP = 159 + 21  # the shutdown panel's top in the window: tab control at 159, panel 21 below


def pixel_becomes(desktop, x, y, colour, what):
    desktop.wait_for(lambda: desktop.screenshot().pixel(x, y) == colour, timeout=5, what=what)


def open_window(desktop):
    """Starts the program and waits until its first paint has reached the screen."""
    desktop.launch()
    window = desktop.wait_window(TITLE)
    left, top, _, _ = window.geometry()
    pixel_becomes(desktop, left + 1, top + PAGE_TOP + 1, PANEL, "the shutdown panel drawn")
    pixel_becomes(desktop, left + 402, top + 1, CLOSE, "the close button drawn")
    return window, left, top


def move_to(desktop, x, y):
    desktop.xdotool("mousemove", "--sync", str(x), str(y))


def test_banner_panel_and_daily_box_blend_as_drawn(desktop):
    _, left, top = open_window(desktop)
    shot = desktop.screenshot()

    r, g, b = shot.pixel(left + 5, top + 5)
    assert b > 150 and b > g > r, "the banner's top left is blue"

    # No rectangle around 选择框1 (283,119 on the panel, 140 x 24): its edges are the panel's grey.
    box_left, box_top = left + 283, top + PAGE_TOP + 119
    edges = [(x, box_top) for x in range(box_left, box_left + 140)]
    edges += [(x, box_top + 23) for x in range(box_left, box_left + 140)]
    edges += [(box_left + 139, y) for y in range(box_top, box_top + 24)]

    def edge_colours():
        shot = desktop.screenshot()
        return {shot.pixel(x, y) for x, y in edges}

    desktop.wait_for(lambda: edge_colours() == {PANEL}, timeout=5, what="the daily box's edges in the panel's grey")


def test_close_button_lights_red_under_the_pointer_and_recovers(desktop):
    _, left, top = open_window(desktop)
    x, y = left + 402, top + 1  # a corner of the close button, clear of its cross

    move_to(desktop, left + 415, top + 14)
    pixel_becomes(desktop, x, y, CLOSE_LIT, "the close button turns red under the pointer")
    move_to(desktop, left + 200, top + 100)
    pixel_becomes(desktop, x, y, CLOSE, "the close button turns blue again")


def test_held_arrow_shows_its_normal_picture_and_a_release_elsewhere_changes_nothing(desktop):
    _, left, top = open_window(desktop)
    arrow_x, arrow_y = left + 122 + 41, top + 159 + 24 + 14  # 图形按钮_小时加, below its triangle
    corner = (left + 123, top + 159 + 25)
    hour_label = (left + 122, top + 159 + 42, 80, 67)
    hour_before = desktop.screenshot().crop(hour_label)

    move_to(desktop, arrow_x, arrow_y)
    pixel_becomes(desktop, *corner, ARROW_LIT, "the arrow lights up under the pointer")
    desktop.xdotool("mousedown", "1")
    pixel_becomes(desktop, *corner, ARROW, "a held arrow shows its normal picture")
    move_to(desktop, arrow_x, arrow_y + 150)
    move_to(desktop, arrow_x, arrow_y)
    assert desktop.screenshot().pixel(*corner) == ARROW
    move_to(desktop, arrow_x, arrow_y + 150)
    desktop.xdotool("mouseup", "1")

    move_to(desktop, left + 200, top + 100)
    shot = desktop.screenshot()
    assert shot.pixel(*corner) == ARROW
    assert list(shot.crop(hour_label).getdata()) == list(hour_before.getdata()), "no click, the hour is unchanged"


def test_hidden_menu_button_leaves_the_banner_glyph_which_drags_the_window(desktop):
    window, left, top = open_window(desktop)
    spot = (left + 341 + 3, top + 3)  # the menu button's corner, clear of its triangle
    triangle = (left + 341 + 15, top + 13)
    move_to(desktop, left + 341 + 8, top + 8)
    pixel_becomes(desktop, *spot, (38, 181, 230), "the menu button lights up")
    desktop.xdotool("click", "1")

    # A button still there would light up again as the pointer moves; the banner beneath does not.
    def shows_the_banner_glyph():
        move_to(desktop, left + 341 + 8 + shows_the_banner_glyph.nudge, top + 8)
        shows_the_banner_glyph.nudge ^= 1
        shot = desktop.screenshot()
        return shot.pixel(*spot) == (0, 114, 172) and shot.pixel(*triangle) == (255, 255, 255)

    shows_the_banner_glyph.nudge = 1
    desktop.wait_for(shows_the_banner_glyph, timeout=15, what="the banner's menu glyph in the button's place")

    desktop.drag((left + 341 + 8, top + 8), (left + 341 + 48, top + 38))
    desktop.wait_for(lambda: window.geometry()[:2] == (left + 40, top + 30), timeout=5, what="the window dragged")
