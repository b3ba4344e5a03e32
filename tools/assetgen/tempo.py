"""Timer sheet: cell n (79x64, ten per row) shows n seconds left, n = 0..90; the
big market's sheet of the seconds above those, 91..180; and the one cell shown
in its place in practice, which has no clock."""
import math

from PIL import Image

from .base import Canvas, INK, WHITE, CREAM, darker, lighter

CW, CH = 79, 64
SECONDS = 90
# The big market runs for twice as long; its sheet holds only the seconds the
# small market's does not, cell n - SECONDS - 1 for n seconds left.
SECONDS15 = 180


def colours(n):
    """(badge, number, clock) colours: calm, hurry (under 20 s), urgent (under 10 s)."""
    if n < 10:
        return (232, 70, 60, 255), WHITE, (255, 220, 90, 255)
    if n < 20:
        return (252, 170, 60, 255), WHITE, (255, 246, 222, 255)
    return CREAM, INK, (120, 196, 220, 255)


def _badge(badge, clock, part, cx=18, r=10.5):
    """The badge and its clock (centred at x cx, radius r), the face's wedge filled
    to part (0..1) of a turn; the caller writes what stands on the right."""
    c = Canvas(CW, CH)
    c.rrect((3.5, 6, CW - 2.5, CH - 3), 14, fill=(40, 20, 10, 60))
    c.rrect((2, 4, CW - 4, CH - 5), 14, fill=INK)
    c.blob_gradient([("rr", 4.5, 6.5, CW - 6.5, CH - 7.5, 11.5)], lighter(badge, 0.25), badge,
                    outline=None)
    # Clock: face, two bells, hands.
    cy = 33
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


def _part(n):
    """The coloured wedge: the time still left within the current minute (full at 60)."""
    return 0 if n == 0 else (1.0 if n % 60 == 0 else (n % 60) / 60.0)


def cell(n):
    badge, num, clock = colours(n)
    s = str(n)
    if len(s) == 3:
        return _cell_hundreds(n)
    c = _badge(badge, clock, _part(n))
    size = 26 if len(s) == 2 else 29
    stroke = 2.0 if num == WHITE else 0
    wnum = c.text_width(s, size)
    wsec = c.text_width("s", 12)
    x0 = 52.5 - (wnum + 1 + wsec) / 2.0
    c.text((x0, 44), s, size, fill=num, anchor="ls", stroke=stroke, stroke_fill=INK)
    c.text((x0 + wnum + 1, 44), "s", 12, fill=num, anchor="ls", stroke=stroke * 0.6,
           stroke_fill=INK)
    return c.result()


def _cell_hundreds(n):
    """Three digits: the clock a little smaller and further left, the digits
    condensed, so that the number and its "s" keep the room right of the clock."""
    badge, num, clock = colours(n)
    c = _badge(badge, clock, _part(n), cx=15, r=9.5)
    s = str(n)
    left, right = 28.5, CW - 6.5
    size, ssize = 22, 11
    while c.text_width(s, size, condensed=True) + 1 + c.text_width("s", ssize, condensed=True) > \
            right - left:
        size -= 0.5
    wnum = c.text_width(s, size, condensed=True)
    wsec = c.text_width("s", ssize, condensed=True)
    x0 = (left + right) / 2.0 - (wnum + 1 + wsec) / 2.0
    c.text((x0, 43), s, size, fill=num, anchor="ls", condensed=True)
    c.text((x0 + wnum + 1, 43), "s", ssize, fill=num, anchor="ls", condensed=True)
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


def sheet15():
    im = Image.new("RGBA", (CW * 10, CH * ((SECONDS15 - SECONDS + 9) // 10)), (0, 0, 0, 0))
    for n in range(SECONDS + 1, SECONDS15 + 1):
        i = n - SECONDS - 1
        im.alpha_composite(cell(n), (CW * (i % 10), CH * (i // 10)))
    return im


def generate(want):
    result = {}
    if want("Tempo.png"):
        result["Tempo.png"] = sheet()
    if want("Tempo15.png"):
        result["Tempo15.png"] = sheet15()
    if want("SemRelogio.png"):
        result["SemRelogio.png"] = no_clock()
    return result
