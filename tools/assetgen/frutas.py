"""Fruit sheet: 100 numbered fruits in 64x64 cells (10 per row)."""
import math

from PIL import Image

from .base import Canvas, INK, WHITE, lighter, darker, rgba

CELL = 64
OUTLINE = 2.2


def leaf_points(x0, y0, x1, y1, width, n=10):
    """Almond-shaped leaf from (x0, y0) to (x1, y1)."""
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length
    px, py = -uy, ux
    pts = []
    for k in range(n + 1):
        t = k / n
        w = math.sin(math.pi * t) * width / 2
        pts.append((x0 + dx * t + px * w, y0 + dy * t + py * w))
    for k in range(n - 1, 0, -1):
        t = k / n
        w = math.sin(math.pi * t) * width / 2
        pts.append((x0 + dx * t - px * w, y0 + dy * t - py * w))
    return pts


def leaf(c, x0, y0, x1, y1, width, color=(96, 178, 64)):
    c.blob([("poly", leaf_points(x0, y0, x1, y1, width))], color, INK, 1.8)
    c.line([(x0, y0), (x0 + (x1 - x0) * 0.7, y0 + (y1 - y0) * 0.7)], darker(color, 0.3), 1.0)


def stem(c, x0, y0, x1, y1):
    c.line([(x0, y0), (x1, y1)], INK, 5.0)
    c.line([(x0, y0), (x1, y1)], (130, 86, 50), 2.4)


def shine(c, cx, cy, rx, ry, alpha=150):
    c.ellipse((cx - rx, cy - ry, cx + rx, cy + ry), fill=(255, 255, 255, alpha))


def apple(c):
    body = [("ell", 25, 38, 17, 20), ("ell", 39, 38, 17, 20), ("ell", 32, 44, 18, 16)]
    stem(c, 32, 22, 34, 11)
    c.blob_gradient(body, (240, 86, 70), (178, 36, 40), INK, OUTLINE)
    leaf(c, 34, 17, 47, 10, 8)
    shine(c, 20, 30, 4, 6)


def orange(c):
    body = [("ell", 32, 37, 24, 24)]
    c.blob_gradient(body, (255, 176, 60), (236, 112, 24), INK, OUTLINE)
    for (x, y) in [(20, 44), (42, 48), (46, 32), (26, 52), (36, 24), (18, 34)]:
        c.circle(x, y, 1.1, fill=(214, 100, 20, 170))
    c.circle(32, 14.5, 2.5, fill=(90, 140, 50), outline=INK, width=1.2)
    leaf(c, 33, 14, 46, 8, 7)
    shine(c, 22, 28, 4, 6)


def pear(c):
    body = [("ell", 32, 44, 19, 17), ("ell", 32, 27, 12, 14), ("poly", [(21, 32), (43, 32), (48, 44), (16, 44)])]
    stem(c, 32, 15, 30, 6)
    c.blob_gradient(body, (214, 222, 90), (160, 184, 52), INK, OUTLINE)
    leaf(c, 31, 10, 19, 5, 6)
    shine(c, 25, 26, 3, 6)


def lemon(c):
    body = [("ell", 32, 37, 25, 19), ("ell", 7.5, 37, 4, 3.5), ("ell", 56.5, 37, 4, 3.5)]
    c.blob_gradient(body, (255, 236, 90), (236, 190, 30), INK, OUTLINE)
    leaf(c, 34, 19, 47, 13, 7)
    shine(c, 22, 29, 6, 3.5)


def grapes(c):
    pos = [(20, 24), (32, 22), (44, 24), (14, 35), (26, 34), (38, 34), (50, 35),
           (20, 45), (32, 45), (44, 45), (26, 55), (38, 55)]
    stem(c, 32, 16, 33, 6)
    body = [("ell", x, y, 8.2, 8.2) for x, y in pos]
    c.blob(body, (128, 70, 160), INK, OUTLINE)
    for x, y in pos:
        c.circle(x, y, 7.2, fill=(146, 86, 180), outline=darker((128, 70, 160), 0.35), width=1.0)
        c.circle(x - 2.5, y - 2.5, 1.8, fill=(255, 255, 255, 140))
    leaf(c, 34, 12, 50, 7, 8)


def watermelon(c):
    # A wedge: green rind along the curved top, pointing down.
    def arc_pts(r, cy):
        return [(32 + r * math.cos(math.radians(a)), cy + r * 0.55 * math.sin(math.radians(a)))
                for a in range(200, 341, 5)]
    top = arc_pts(29, 22)
    c.blob([("poly", top + [(32, 61)])], (64, 146, 56), INK, OUTLINE)
    c.polygon(arc_pts(25.5, 24.5) + [(32, 58)], (236, 246, 204))
    c.blob_gradient([("poly", arc_pts(23, 27) + [(32, 56)])], (250, 92, 96), (222, 52, 66),
                    None, 0)
    for (x, y) in [(18, 24), (46, 24), (24, 34), (40, 34), (32, 46), (28, 23), (37, 23)]:
        c.ellipse((x - 1.4, y - 2.2, x + 1.4, y + 2.2), fill=(50, 30, 30))
    for k in range(5):
        x = 12 + k * 10
        c.line([(x, 13 + abs(2 - k) * 1.5), (x + 3, 12 + abs(2 - k) * 1.5)], (40, 100, 40), 1.4)


def strawberry(c):
    body = [("ell", 32, 30, 23, 15),
            ("poly", [(10, 30), (54, 30), (44, 50), (32, 59), (20, 50)])]
    c.blob_gradient(body, (246, 74, 74), (196, 36, 50), INK, OUTLINE)
    for (x, y) in [(18, 28), (28, 24), (40, 25), (48, 31), (22, 38), (34, 36), (44, 40),
                   (28, 47), (38, 50), (32, 55), (15, 33)]:
        c.ellipse((x - 1.1, y - 1.6, x + 1.1, y + 1.6), fill=(255, 226, 110))
    crown = []
    for k in range(10):
        a = math.radians(180 + k * 20)
        rr = 13 if k % 2 == 0 else 6
        crown.append((32 + rr * math.cos(a), 18 + rr * 0.6 * math.sin(a) + (0 if k % 2 else 1)))
    crown = [(19, 18), (24, 10), (28, 15), (32, 6), (36, 15), (40, 10), (45, 18), (38, 21), (32, 19), (26, 21)]
    c.blob([("poly", crown)], (92, 170, 60), INK, 1.8)
    stem(c, 32, 10, 33, 4)


def banana(c):
    # A fat crescent made from two elliptic arcs.
    outer = [(32 + 30 * math.cos(math.radians(a)), 2 + 46 * math.sin(math.radians(a)))
             for a in range(160, 19, -5)]
    inner = [(32 + 24 * math.cos(math.radians(a)), 4 + 20 * math.sin(math.radians(a)))
             for a in range(20, 161, 5)]
    c.blob_gradient([("poly", outer + inner)], (255, 234, 96), (238, 184, 40), INK, OUTLINE)
    c.circle(outer[0][0] + 1, outer[0][1] - 1, 2.8, fill=(96, 66, 40), outline=INK, width=1.2)
    c.circle(outer[-1][0] - 1, outer[-1][1] - 1, 2.8, fill=(120, 150, 60), outline=INK, width=1.2)
    c.arc((32 - 27, 2 - 33 + 2, 32 + 27, 2 + 33 + 2 + 4), 60, 120, (255, 252, 210, 220), 1.6)


def peach(c):
    body = [("ell", 27, 38, 19, 21), ("ell", 38, 38, 19, 21)]
    c.blob_gradient(body, (255, 186, 130), (240, 110, 96), INK, OUTLINE)
    c.arc((16, 18, 44, 58), 290, 350, darker((240, 120, 100), 0.25), 1.6)
    c.ellipse((36, 30, 54, 52), fill=(255, 140, 120, 90))
    stem(c, 31, 19, 30, 12)
    leaf(c, 31, 14, 16, 9, 8)
    leaf(c, 32, 14, 45, 8, 7)
    shine(c, 20, 30, 3.5, 5)


def plum(c):
    body = [("ell", 32, 38, 22, 22)]
    c.blob_gradient(body, (128, 80, 190), (78, 42, 130), INK, OUTLINE)
    c.arc((20, 18, 46, 56), 300, 350, (60, 30, 100), 1.6)
    stem(c, 32, 17, 35, 8)
    leaf(c, 35, 12, 48, 8, 7)
    shine(c, 22, 30, 4, 6, 110)


KINDS = [apple, orange, pear, lemon, grapes, watermelon, strawberry, banana, peach, plum]


def kind_of(i):
    """Deterministic fruit kind for number i; neighbours (also vertical) differ."""
    return (i * 3 + i // 10) % len(KINDS)


def number_label(c, i, cx=32, cy=37):
    s = str(i)
    size = 29 if len(s) == 2 else 33
    c.text((cx, cy), s, size, fill=WHITE, stroke=3.0, stroke_fill=INK)


def fruit(i):
    c = Canvas(CELL, CELL)
    KINDS[kind_of(i)](c)
    cy = 37
    k = KINDS[kind_of(i)]
    if k is watermelon:
        cy = 31
    elif k is banana:
        cy = 34
    number_label(c, i, 32, cy)
    return c.result()


def sheet():
    im = Image.new("RGBA", (640, 640), (0, 0, 0, 0))
    for i in range(100):
        im.alpha_composite(fruit(i), ((i % 10) * CELL, (i // 10) * CELL))
    return im


def generate(want):
    if not want("Frutas.png"):
        return {}
    return {"Frutas.png": sheet()}
