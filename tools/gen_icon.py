#!/usr/bin/python3
"""Draws the desktop icon: three numbered fruits joined as a balanced tree.

Writes packaging/icons/jogo-<size>.png for the hicolor sizes the desktop entry
uses. Deterministic: same bytes on every run.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

SIZES = (48, 128, 256)
SUPERSAMPLE = 4
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


def draw_icon(size):
    big = size * SUPERSAMPLE
    s = big / 256.0
    image = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle([8 * s, 8 * s, 248 * s, 248 * s], radius=48 * s,
                           fill=(255, 214, 120, 255), outline=(92, 52, 24, 255), width=int(10 * s))
    nodes = {"root": (128, 84, 30, (232, 72, 60)),
             "left": (74, 178, 20, (250, 160, 40)),
             "right": (182, 178, 50, (120, 190, 60))}
    for child in ("left", "right"):
        x0, y0 = nodes["root"][:2]
        x1, y1 = nodes[child][:2]
        draw.line([x0 * s, y0 * s, x1 * s, y1 * s], fill=(92, 52, 24, 255), width=int(12 * s))
    font = ImageFont.truetype(FONT, int(46 * s))
    for x, y, key, colour in nodes.values():
        r = 44
        draw.ellipse([(x - r) * s, (y - r) * s, (x + r) * s, (y + r) * s],
                     fill=colour + (255,), outline=(60, 30, 14, 255), width=int(8 * s))
        draw.ellipse([(x - 24) * s, (y - 34) * s, (x - 6) * s, (y - 20) * s], fill=(255, 255, 255, 110))
        draw.text((x * s, y * s), str(key), font=font, anchor="mm", fill=(255, 255, 255, 255),
                  stroke_width=int(5 * s), stroke_fill=(50, 24, 10, 255))
    return image.resize((size, size), Image.LANCZOS)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "packaging", "icons")
    os.makedirs(out, exist_ok=True)
    for size in SIZES:
        draw_icon(size).save(os.path.join(out, "jogo-%d.png" % size), optimize=False)


if __name__ == "__main__":
    main()
