"""Timer sheet: cell n (79x64, ten per row) shows n seconds left, n = 0..90; and
the one cell shown in its place in practice, which has no clock."""
import math

from PIL import Image

from .base import Canvas, INK, WHITE, CREAM, darker, lighter

CW, CH = 79, 64
SECONDS = 90


def colours(n):
    """(badge, number, clock) colours: calm, hurry (under 20 s), urgent (under 10 s)."""
    if n < 10:
        return (232, 70, 60, 255), WHITE, (255, 220, 90, 255)
    if n < 20:
        return (252, 170, 60, 255), WHITE, (255, 246, 222, 255)
    return CREAM, INK, (120, 196, 220, 255)


def _badge(badge, clock, part):
    """The badge and its clock, the face's wedge filled to part (0..1) of a turn;
    the caller writes what stands on the right."""
    c = Canvas(CW, CH)
    c.rrect((3.5, 6, CW - 2.5, CH - 3), 14, fill=(40, 20, 10, 60))
    c.rrect((2, 4, CW - 4, CH - 5), 14, fill=INK)
    c.blob_gradient([("rr", 4.5, 6.5, CW - 6.5, CH - 7.5, 11.5)], lighter(badge, 0.25), badge,
                    outline=None)
    # Clock: face, two bells, hands.
    cx, cy, r = 18, 33, 10.5
    for a in (-40, 40):
        bx = cx + (r + 1) * math.sin(math.radians(a))
        by = cy - (r + 1) * math.cos(math.radians(a))
        c.circle(bx, by, 3.6, fill=INK)
        c.circle(bx, by, 2.2, fill=clock)
    c.circle(cx, cy, r + 2, fill=INK)
    c.circle(cx, cy, r, fill=WHITE)
    c.ellipse((cx - r + 1.5, cy - r + 1.5, cx + r - 1.5, cy + r - 1.5), fill=None)
    if part > 0:
        b = [(cx - r + 1.5) * c.ss, (cy - r + 1.5) * c.ss, (cx + r - 1.5) * c.ss,
             (cy + r - 1.5) * c.ss]
        c.d.pieslice(b, -90, -90 + 360 * part, fill=clock)
    c.line([(cx, cy), (cx, cy - 6.5)], INK, 2.0)
    c.line([(cx, cy), (cx + 4.5, cy + 2)], INK, 2.0)
    c.circle(cx, cy, 1.6, fill=INK)
    return c


def cell(n):
    badge, num, clock = colours(n)
    # Coloured wedge: the time still left within the current minute (full at 60).
    c = _badge(badge, clock, 0 if n == 0 else (1.0 if n % 60 == 0 else (n % 60) / 60.0))
    s = str(n)
    size = 26 if len(s) == 2 else 29
    stroke = 2.0 if num == WHITE else 0
    wnum = c.text_width(s, size)
    wsec = c.text_width("s", 12)
    x0 = 52.5 - (wnum + 1 + wsec) / 2.0
    c.text((x0, 44), s, size, fill=num, anchor="ls", stroke=stroke, stroke_fill=INK)
    c.text((x0 + wnum + 1, 44), "s", 12, fill=num, anchor="ls", stroke=stroke * 0.6,
           stroke_fill=INK)
    return c.result()


def no_clock():
    """Practice runs with no clock: the calm timer with an infinity sign for the seconds."""
    badge, num, clock = colours(SECONDS)
    c = _badge(badge, clock, 1.0)
    c.text((52.5, 35), "\u221e", 38, fill=num, stroke=0.9, stroke_fill=num)
    return c.result()


def sheet():
    im = Image.new("RGBA", (CW * 10, CH * 10), (0, 0, 0, 0))
    for n in range(SECONDS + 1):
        im.alpha_composite(cell(n), (CW * (n % 10), CH * (n // 10)))
    return im


def generate(want):
    result = {}
    if want("Tempo.png"):
        result["Tempo.png"] = sheet()
    if want("SemRelogio.png"):
        result["SemRelogio.png"] = no_clock()
    return result
