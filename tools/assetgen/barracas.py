"""Market stalls (one per tree position) and the invisible solid areas."""
from PIL import Image

from .base import (Canvas, INK, CREAM, RED, ORANGE, GREEN, BLUE, PURPLE, PINK, YELLOW,
                   WOOD, WOOD_DARK, WOOD_LIGHT, darker, lighter)

W, H = 84, 104
# The game draws a 38x38 fruit here, relative to the stall's top-left.
SPOT = (23, 23, 61, 61)
# Solid part of a stall: 15 px in from the left, from the top down.
SOLID_W, SOLID_H, SOLID_DX = 54, 88, 15
BIN_W, BIN_H = 70, 80

AWNINGS = [RED, ORANGE, GREEN, BLUE, PURPLE, PINK, YELLOW]

# Top-left of each stall in the window and the centre of its picture.
POSITIONS = [(493, 130), (366, 270), (626, 270), (297, 442), (431, 442), (563, 442), (695, 442)]


def centre(i):
    x, y = POSITIONS[i]
    return (x + W / 2.0, y + H / 2.0)


def stall(i):
    color = AWNINGS[i]
    c = Canvas(W, H)
    # Posts.
    for x in (5, 73):
        c.blob([("rr", x, 8, x + 6, 96, 2)], WOOD, INK, 1.8)
    # Back wall made of planks.
    c.blob([("rr", 8, 14, 76, 72, 3)], darker(WOOD, 0.18), INK, 1.8)
    for x in (19, 31, 42, 53, 65):
        c.line([(x, 16), (x, 70)], darker(WOOD, 0.32), 1.0)
    # Awning: a striped roof with scalloped edge.
    stripes = 7
    sw = (W - 2) / stripes
    for k in range(stripes):
        x0 = 1 + k * sw
        c.circle(x0 + sw / 2, 15.5, sw / 2 + 1.8, fill=INK)
    c.rrect((0, 0, W, 16), 5, fill=INK)
    for k in range(stripes):
        x0 = 1 + k * sw
        col = color if k % 2 == 0 else CREAM
        c.rect((x0, 1.8, x0 + sw, 15), fill=col)
        c.circle(x0 + sw / 2, 15.5, sw / 2, fill=col)
        c.rect((x0, 1.8, x0 + sw, 5), fill=lighter(col, 0.25))
    c.line([(2, 1.2), (W - 2, 1.2)], INK, 2.2)
    # Display tray for the fruit (the spot 23..61 stays clear and light).
    c.blob([("rr", 18, 21, 66, 67, 9)], (255, 250, 236), INK, 2.0)
    c.rrect((21, 24, 63, 64), 7, fill=lighter(color, 0.78))
    c.ellipse((27, 55, 57, 64), fill=(60, 40, 30, 45))
    # Counter.
    c.blob([("rr", 1.5, 66, W - 1.5, 98, 4)], WOOD, INK, 2.0)
    c.blob([("rr", 0, 64, W, 71, 3)], WOOD_LIGHT, INK, 1.8)
    for y in (79, 88):
        c.line([(4, y), (W - 4, y)], WOOD_DARK, 1.1)
    for x, y in ((12, 75), (70, 84), (40, 93)):
        c.circle(x, y, 1.0, fill=WOOD_DARK)
    # Cloth banner in the awning colour hanging from the counter.
    pts = [(14, 71), (70, 71), (70, 84), (63, 80), (56, 84), (49, 80), (42, 84), (35, 80),
           (28, 84), (21, 80), (14, 84)]
    c.blob([("poly", pts)], color, INK, 1.4)
    c.line([(15, 74), (69, 74)], lighter(color, 0.4), 1.2)
    # Feet.
    for x in (6, 72):
        c.blob([("rr", x, 97, x + 6, 103, 1.5)], WOOD_DARK, INK, 1.4)
    return c.result()


# The big market's fifteen stalls are smaller: the game draws them from one row
# of cells, slot k's at x = k * W15, a 38x38 fruit at SPOT15 of a cell.
W15, H15 = 58, 62
SPOT15 = (10, 13, 48, 51)
STALLS15 = 15
# Top-left of each big-market stall in the window, in heap order (the root, then
# each level from the left); the fourth level's stalls stand 66 px apart.
POSITIONS15 = [(505, 110), (373, 232), (637, 232), (307, 354), (439, 354), (571, 354), (703, 354),
               (274, 476), (340, 476), (406, 476), (472, 476), (538, 476), (604, 476), (670, 476),
               (736, 476)]


def centre15(k):
    x, y = POSITIONS15[k]
    return (x + W15 / 2.0, y + H15 / 2.0)


def compact_stall(k):
    """A big-market stall: the same parts as stall(), redrawn for the smaller cell so
    that its outlines stay as crisp (a reduced picture would blur them)."""
    color = AWNINGS[k % len(AWNINGS)]
    c = Canvas(W15, H15)
    for x in (3, 51):
        c.blob([("rr", x, 6, x + 4, 59, 1.5)], WOOD, INK, 1.4)
    c.blob([("rr", 5, 9, 53, 51, 2.5)], darker(WOOD, 0.18), INK, 1.4)
    for x in (13, 21, 29, 37, 45):
        c.line([(x, 11), (x, 49)], darker(WOOD, 0.32), 0.8)
    # The window that frames the fruit, under the awning's scallops.
    c.blob([("rr", 7.5, 10, 50.5, 53, 6.5)], (255, 250, 236), INK, 1.5)
    c.rrect((9.5, 12, 48.5, 51), 5, fill=lighter(color, 0.78))
    c.ellipse((15, 45, 43, 51.5), fill=(60, 40, 30, 45))
    stripes = 5
    sw = (W15 - 2) / stripes
    for i in range(stripes):
        c.circle(1 + i * sw + sw / 2, 8.5, sw / 2 + 1.4, fill=INK)
    c.rrect((0, 0, W15, 9.5), 4, fill=INK)
    for i in range(stripes):
        x0 = 1 + i * sw
        col = color if i % 2 == 0 else CREAM
        c.rect((x0, 1.4, x0 + sw, 8.5), fill=col)
        c.circle(x0 + sw / 2, 8.5, sw / 2, fill=col)
        c.rect((x0, 1.4, x0 + sw, 3.6), fill=lighter(col, 0.25))
    c.line([(1.5, 0.9), (W15 - 1.5, 0.9)], INK, 1.7)
    # Counter, its banner, and two feet.
    c.blob([("rr", 1.2, 51.5, W15 - 1.2, 59.5, 2.5)], WOOD, INK, 1.4)
    c.blob([("rr", 0, 50, W15, 54.5, 2)], WOOD_LIGHT, INK, 1.3)
    pts = [(11, 54.5), (47, 54.5), (47, 58.5), (42.5, 57), (38, 58.5), (33.5, 57), (29, 58.5),
           (24.5, 57), (20, 58.5), (15.5, 57), (11, 58.5)]
    c.blob([("poly", pts)], color, INK, 1.0)
    for x in (4, 50):
        c.blob([("rr", x, 59, x + 4, 61.6, 1)], WOOD_DARK, INK, 1.0)
    return c.result()


def sheet15():
    im = Image.new("RGBA", (W15 * STALLS15, H15), (0, 0, 0, 0))
    for k in range(STALLS15):
        im.alpha_composite(compact_stall(k), (k * W15, 0))
    return im


def generate(want):
    result = {}
    for i in range(7):
        name = "Barraca%d.png" % i
        if want(name):
            result[name] = stall(i)
    if want("Barracas15.png"):
        result["Barracas15.png"] = sheet15()
    return result
