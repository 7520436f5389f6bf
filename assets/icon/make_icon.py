#!/usr/bin/python3
"""Draws the program's emblem and writes it as program.ico in this folder.

One 128 x 128 image, 32 bits per pixel with straight alpha, plus the 1-bit AND mask, stored as an
uncompressed bitmap; the ICO bytes are written here by hand so their layout is exactly known.
Needs Debian's python3-pil and fonts-wqy-zenhei. Same bytes on every run.
Run: /usr/bin/python3 assets/icon/make_icon.py
"""
import os
import struct

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
FONT_FILE = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SIZE = 128
SCALE = 4
LIGHT_BLUE, DEEP_BLUE = (0, 167, 225), (0, 88, 150)


def diagonal_gradient(size, start, end):
    ramp = Image.linear_gradient("L").resize((size, size))
    ramp = ImageChops.add(ramp, ramp.rotate(90), scale=2)  # top-left 0 to bottom-right 255
    bands = [ramp.point(lambda v, a=a, b=b: round(a + (b - a) * v / 255)) for a, b in zip(start, end)]
    return Image.merge("RGB", bands)


def emblem():
    big = SIZE * SCALE
    disc = Image.new("L", (big, big), 0)
    margin = 6 * SCALE
    ImageDraw.Draw(disc).ellipse([margin, margin - SCALE, big - margin, big - margin - SCALE], fill=255)
    disc = disc.resize((SIZE, SIZE), Image.LANCZOS)

    # A soft shadow beneath the disc is what makes the edges partly transparent.
    shadow = ImageChops.offset(disc, 0, 3).filter(ImageFilter.GaussianBlur(3)).point(lambda v: v * 45 // 100)
    picture = Image.new("RGBA", (SIZE, SIZE), (0, 40, 80, 0))
    picture.putalpha(shadow)

    face = diagonal_gradient(SIZE, LIGHT_BLUE, DEEP_BLUE).convert("RGBA")
    face.putalpha(disc)
    picture = Image.alpha_composite(picture, face)

    ring = Image.new("L", (big, big), 0)
    inset = 13 * SCALE
    ImageDraw.Draw(ring).ellipse([inset, inset - SCALE, big - inset, big - inset - SCALE], outline=255,
                                 width=int(2.5 * SCALE))
    white = Image.new("RGBA", (SIZE, SIZE), (255, 255, 255, 0))
    white.putalpha(ring.resize((SIZE, SIZE), Image.LANCZOS).point(lambda v: v * 80 // 100))
    picture = Image.alpha_composite(picture, white)

    glyph = Image.new("L", (big, big), 0)
    draw = ImageDraw.Draw(glyph)
    font = ImageFont.truetype(FONT_FILE, 64 * SCALE)
    left, top, right, bottom = draw.textbbox((0, 0), "禾", font=font, stroke_width=2 * SCALE)
    x = (big - (right - left)) / 2 - left
    y = (big - (bottom - top)) / 2 - top - SCALE
    draw.text((round(x), round(y)), "禾", font=font, fill=255, stroke_width=2 * SCALE, stroke_fill=255)
    glyph = glyph.resize((SIZE, SIZE), Image.LANCZOS)
    glyph_shadow = ImageChops.offset(glyph, 1, 2).filter(ImageFilter.GaussianBlur(2)).point(lambda v: v * 4 // 10)
    dark = Image.new("RGBA", (SIZE, SIZE), (0, 50, 95, 0))
    dark.putalpha(ImageChops.multiply(glyph_shadow, disc))
    picture = Image.alpha_composite(picture, dark)
    white = Image.new("RGBA", (SIZE, SIZE), (255, 255, 255, 0))
    white.putalpha(glyph)
    return Image.alpha_composite(picture, white)


def ico_bytes(picture):
    width, height = picture.size
    pixels = picture.load()
    colour_rows, mask_rows = [], []
    mask_stride = (width + 31) // 32 * 4
    for y in reversed(range(height)):  # bitmaps run bottom-up
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(width):
            r, g, b, a = pixels[x, y]
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        colour_rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    image = b"".join(colour_rows) + b"".join(mask_rows)
    # BITMAPINFOHEADER: the height counts the colour rows and the mask rows together.
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(image), 0, 0, 0, 0)
    data = header + image
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), 6 + 16)
    return directory + entry + data


def main():
    with open(os.path.join(HERE, "program.ico"), "wb") as out:
        out.write(ico_bytes(emblem()))


if __name__ == "__main__":
    main()
