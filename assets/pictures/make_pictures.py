#!/usr/bin/python3
"""Draws the window's skin pictures into this folder.

Needs Debian's python3-pil and fonts-wqy-zenhei. Same bytes on every run: fixed seed,
fixed PNG options, no time stamps. Run: /usr/bin/python3 assets/pictures/make_pictures.py
"""
import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_FILE = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SCALE = 4  # shapes are drawn this much larger, then reduced, for smooth edges

WHITE = (255, 255, 255)
PANEL = (52, 52, 52)
ARROW, ARROW_LIT = (38, 38, 38), (58, 58, 58)
ARM, ARM_LIT = (75, 75, 75), (95, 95, 95)
CLOSE, CLOSE_LIT = (0, 97, 155), (212, 64, 39)
MINIMISE_TOP, MINIMISE_BOTTOM, MINIMISE_LIT = (0, 94, 152), (0, 114, 172), (38, 161, 210)
MENU, MENU_LIT = (0, 114, 172), (38, 181, 230)
BANNER_LIGHT, BANNER_DEEP = (0, 167, 225), (0, 96, 158)
PAGE = (235, 242, 249)
BANNER_ROWS = 159
CHROME_LEFT = 341  # menu, minimise and close buttons lie from here to the right edge


def font(size, index=0):
    return ImageFont.truetype(FONT_FILE, size, index=index)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def flat(size, colour):
    return Image.new("RGB", size, colour)


def vertical_gradient(size, top, bottom):
    width, height = size
    picture = Image.new("RGB", size)
    draw = ImageDraw.Draw(picture)
    for y in range(height):
        draw.line([(0, y), (width - 1, y)], fill=mix(top, bottom, y / max(1, height - 1)))
    return picture


def overlay(picture, draw_shape, colour=WHITE, box=(0, 0)):
    """Paints colour through a smooth mask that draw_shape(draw, scale) draws at SCALE times the size."""
    width, height = picture.size
    big = Image.new("L", (width * SCALE, height * SCALE), 0)
    draw_shape(ImageDraw.Draw(big), SCALE)
    mask = big.resize((width, height), Image.LANCZOS)
    picture.paste(Image.new("RGB", picture.size, colour), box, mask)
    return picture


def text_mask(size, text, text_font, offset=(0, 0), stroke=0):
    """A mask with text centred on its ink in an area of the given size."""
    mask = Image.new("L", size, 0)
    draw = ImageDraw.Draw(mask)
    left, top, right, bottom = draw.textbbox((0, 0), text, font=text_font, stroke_width=stroke)
    x = (size[0] - (right - left)) / 2 - left + offset[0]
    y = (size[1] - (bottom - top)) / 2 - top + offset[1]
    draw.text((round(x), round(y)), text, font=text_font, fill=255, stroke_width=stroke, stroke_fill=255)
    return mask


# Small pictures ------------------------------------------------------------------------------

def arrow(colour, up):
    picture = flat((82, 18), colour)
    def triangle(draw, s):
        cx, cy, half, rise = 41 * s, 9 * s, 6 * s, 3.5 * s
        tip, base = (cy - rise, cy + rise) if up else (cy + rise, cy - rise)
        draw.polygon([(cx - half, base), (cx + half, base), (cx, tip)], fill=255)
    return overlay(picture, triangle, (214, 214, 214) if colour == ARROW else WHITE)


def rounded_button(size, face, caption):
    width, height = size
    picture = flat(size, PANEL)
    # A faint lighter rim above a darker one gives the face a little depth.
    rim_top, rim_bottom = mix(face, WHITE, 0.18), mix(face, (0, 0, 0), 0.25)
    def whole(draw, s):
        draw.rounded_rectangle([0, 0, width * s - 1, height * s - 1], radius=4 * s, fill=255)
    def inner(draw, s):
        draw.rounded_rectangle([s, s, width * s - 1 - s, height * s - 1 - s], radius=3 * s, fill=255)
    overlay(picture, whole, rim_bottom)
    overlay(picture, lambda draw, s: draw.rounded_rectangle(
        [0, 0, width * s - 1, (height - 1) * s - 1], radius=4 * s, fill=255), rim_top)
    face_picture = vertical_gradient(size, mix(face, WHITE, 0.06), mix(face, (0, 0, 0), 0.06))
    big = Image.new("L", (width * SCALE, height * SCALE), 0)
    inner(ImageDraw.Draw(big), SCALE)
    picture.paste(face_picture, (0, 0), big.resize(size, Image.LANCZOS))
    picture.paste(Image.new("RGB", size, WHITE), (0, 0), text_mask(size, caption, font(13)))
    return picture


def close_button(colour):
    def cross(draw, s):
        a, b, w = 10 * s, 19 * s, round(1.6 * s)
        draw.line([(a, a), (b, b)], fill=255, width=w)
        draw.line([(a, b), (b, a)], fill=255, width=w)
    return overlay(flat((29, 29), colour), cross)


def minimise_button(background):
    def bar(draw, s):
        draw.rectangle([10 * s, 14 * s, 20 * s, 16 * s - 1], fill=255)
    return overlay(background, bar)


def menu_button(colour):
    def triangle(draw, s):
        draw.polygon([(10 * s, 12 * s), (20 * s, 12 * s), (15 * s, 17.5 * s)], fill=255)
    return overlay(flat((30, 29), colour), triangle)


def colon():
    def dots(draw, s):
        for cy in (39, 63):
            draw.ellipse([(14 - 3) * s, (cy - 3) * s, (14 + 3) * s, (cy + 3) * s], fill=255)
    return overlay(flat((28, 103), PANEL), dots, (226, 226, 226))


# The window background --------------------------------------------------------------------------

def banner_shade(x, y):
    """Light at the left, deeper towards the right and the bottom, so the chrome buttons sit on dark blue."""
    t = min(1.0, max(0.0, 0.62 * x / 430 + 0.38 * y / BANNER_ROWS))
    return mix(BANNER_LIGHT, BANNER_DEEP, t ** 1.15)


def facets(width, height):
    """A low-polygon mesh of blue triangles, drawn large for smooth seams."""
    rng = random.Random(20180529)
    columns, rows = 11, 5
    step_x, step_y = width / columns, height / rows
    points = []
    for row in range(rows + 1):
        line = []
        for column in range(columns + 1):
            x, y = column * step_x, row * step_y
            if 0 < column < columns:
                x += rng.uniform(-0.32, 0.32) * step_x
            if 0 < row < rows:
                y += rng.uniform(-0.3, 0.3) * step_y
            line.append((x, y))
        points.append(line)
    big = Image.new("RGB", (width * SCALE, height * SCALE))
    draw = ImageDraw.Draw(big)
    for row in range(rows):
        for column in range(columns):
            a, b = points[row][column], points[row][column + 1]
            c, d = points[row + 1][column], points[row + 1][column + 1]
            pair = ((a, b, d), (a, d, c)) if (row + column) % 2 else ((a, b, c), (b, d, c))
            for triangle in pair:
                cx = sum(p[0] for p in triangle) / 3
                cy = sum(p[1] for p in triangle) / 3
                shade = banner_shade(cx, cy)
                lift = rng.uniform(-0.09, 0.09)
                colour = mix(shade, WHITE if lift > 0 else (0, 40, 80), abs(lift))
                draw.polygon([(p[0] * SCALE, p[1] * SCALE) for p in triangle], fill=colour)
    return big.resize((width, height), Image.LANCZOS)


def caption(banner):
    width, height = banner.size
    text = "岫禾小助理"
    size = (width * SCALE, height * SCALE)
    mask = text_mask(size, text, font(54 * SCALE), offset=(-6 * SCALE, -4 * SCALE), stroke=int(1.2 * SCALE))
    # A forward slant makes the plain face read as a title.
    slant = 0.2
    mask = mask.transform(size, Image.AFFINE, (1, slant, -slant * size[1] / 2, 0, 1, 0), Image.BICUBIC)
    mask = mask.resize((width, height), Image.LANCZOS)
    shadow = ImageChops.offset(mask, 2, 3).filter(ImageFilter.GaussianBlur(3))
    banner.paste(Image.new("RGB", banner.size, (0, 52, 96)), (0, 0), shadow.point(lambda v: v * 6 // 10))
    banner.paste(Image.new("RGB", banner.size, WHITE), (0, 0), mask)
    # A thin swept line beneath the caption, fading at both ends.
    line = Image.new("L", size, 0)
    ImageDraw.Draw(line).line([(118 * SCALE, 112 * SCALE), (318 * SCALE, 112 * SCALE)], fill=255,
                              width=int(1.5 * SCALE))
    fade = Image.linear_gradient("L").rotate(90, expand=True).resize((size[0], 1))
    fade = ImageChops.multiply(fade, fade.transpose(Image.FLIP_LEFT_RIGHT)).point(lambda v: min(255, v * 3))
    line = ImageChops.multiply(line, fade.resize(size))
    banner.paste(Image.new("RGB", banner.size, WHITE), (0, 0), line.resize((width, height), Image.LANCZOS)
                 .point(lambda v: v * 7 // 10))
    return banner


def background(chrome):
    picture = flat((430, 330), PAGE)
    banner = caption(facets(430, BANNER_ROWS))
    picture.paste(banner, (0, 0))
    # The chrome buttons' own faces lie beneath them, so a hidden button leaves its glyph in place.
    x = CHROME_LEFT
    for face in chrome:
        picture.paste(face, (x, 0))
        x += face.size[0]
    return picture


# Output -----------------------------------------------------------------------------------------

def save(picture, name, alpha=True):
    picture = picture.convert("RGBA" if alpha else "RGB")
    picture.save(os.path.join(HERE, name), format="PNG", optimize=False, compress_level=9)


def main():
    menu = menu_button(MENU)
    minimise = minimise_button(vertical_gradient((30, 29), MINIMISE_TOP, MINIMISE_BOTTOM))
    close = close_button(CLOSE)
    save(background([menu, minimise, close]), "background.png")
    save(flat((430, 150), PANEL), "panel.png", alpha=False)
    save(colon(), "colon.png")
    save(arrow(ARROW, up=True), "up_arrow.png")
    save(arrow(ARROW_LIT, up=True), "up_arrow_lit.png")
    save(arrow(ARROW, up=False), "down_arrow.png")
    save(arrow(ARROW_LIT, up=False), "down_arrow_lit.png")
    save(rounded_button((78, 26), ARM, "立即启用"), "arm.png")
    save(rounded_button((78, 26), ARM_LIT, "立即启用"), "arm_lit.png")
    save(rounded_button((70, 24), ARM, "取消关机"), "cancel.png")
    save(rounded_button((70, 24), ARM_LIT, "取消关机"), "cancel_lit.png")
    save(close, "close.png")
    save(close_button(CLOSE_LIT), "close_lit.png")
    save(minimise, "minimise.png")
    save(minimise_button(flat((30, 29), MINIMISE_LIT)), "minimise_lit.png")
    save(menu, "menu.png")
    save(menu_button(MENU_LIT), "menu_lit.png")


if __name__ == "__main__":
    main()
