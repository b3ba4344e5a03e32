"""Small wordless pieces the game builds its figures from: digits, balance-factor
badges, the bars and the marks of the results screen.

Every sheet is one row of equal cells; the game picks a cell by its index.
"""
from PIL import Image

from . import telas
from .base import (Canvas, INK, CREAM, WHITE, YELLOW, GREEN, DARK_GREEN, RED, darker,
                   lighter, rgba)

# Digits: cells 0..9 the digits, 10 a percent sign, 11 a small "s" for seconds.
# The game sets a number's cells DIGIT_STEP apart, so the glyphs are narrower
# than their cells.
DIGIT_W, DIGIT_H = 20, 30
DIGIT_STEP = 18
DIGIT_GLYPHS = "0123456789%s"
DIGIT_BASELINE = 25.5

# Balance factors -2..+2 (height of the left subtree minus that of the right),
# cell k for the factor k - 2.
FACTOR_W, FACTOR_H = 34, 24
FACTORS = (-2, -1, 0, 1, 2)

# Bars: row 0 the share named correctly, row 1 the rest. The game crops a row
# from its left end; the bar stands BAR_INSET px inside each end so that, set at
# the left end of a track 22 px tall, a whole bar sits concentric in its groove.
BAR_W, BAR_H = 220, 18
BAR_INSET = 2
BAR_COLOURS = (GREEN, (236, 96, 80))

# Marks of the last matches, one cell for each way a match ends (the game's
# LossCause codes): won, then lost at a wrong stall, at a wrong rotation, on a
# repeated number, on time, at a dead end, left for the menu, and at the wrong
# stall named for a lost balance.
MARK = 30
MARK_ICONS = ((telas.icon_star, (84, 170, 76)), (telas.icon_stall, telas.CORAL_DISC),
              (telas.icon_rotate, telas.CORAL_DISC), (telas.icon_twins, telas.CORAL_DISC),
              (telas.icon_clock, telas.CORAL_DISC), (telas.icon_dead_end, telas.CORAL_DISC),
              (telas.icon_left, telas.LEFT_DISC), (telas.icon_unbalanced, telas.CORAL_DISC))


def digits():
    c = Canvas(DIGIT_W * len(DIGIT_GLYPHS), DIGIT_H, 4)
    for k, ch in enumerate(DIGIT_GLYPHS):
        x = DIGIT_W * (k + 0.5)
        if ch == "s":
            # The seconds' "s" sits small on the digits' line, as on the timer.
            size = 16
        else:
            # The widest glyph (the percent sign) shrinks to stay within a step.
            size = 27
            while c.text_width(ch, size, condensed=True) > DIGIT_STEP + 1:
                size -= 0.5
        c.text((x, DIGIT_BASELINE), ch, size, fill=INK, anchor="ms", stroke=1.3,
               stroke_fill=CREAM, condensed=True)
    return c.result()


def _factor_look(f):
    """(fill, text, rim width) of a badge: calm at 0, a warning at 1, an alarm at 2."""
    if f == 0:
        return (214, 238, 186, 255), DARK_GREEN, 1.6
    if abs(f) == 1:
        return YELLOW, INK, 1.6
    return RED, WHITE, 2.6


def factors():
    c = Canvas(FACTOR_W * len(FACTORS), FACTOR_H, 4)
    for k, f in enumerate(FACTORS):
        x0 = k * FACTOR_W
        fill, ink, rim = _factor_look(f)
        c.rrect((x0 + 2, 3, x0 + FACTOR_W - 1, FACTOR_H - 0.5), 10, fill=(30, 15, 5, 70))
        c.rrect((x0 + 1, 1, x0 + FACTOR_W - 2, FACTOR_H - 2), 10.5, fill=INK)
        # Flat, so that the small badge reads at a glance over the market.
        c.rrect((x0 + 1 + rim, 1 + rim, x0 + FACTOR_W - 2 - rim, FACTOR_H - 2 - rim), 10.5 - rim,
                fill=fill)
        # A real minus sign: a hyphen is too short to read at this size.
        s = "0" if f == 0 else ("+%d" % f if f > 0 else "\u2212%d" % -f)
        c.text((x0 + FACTOR_W / 2.0 - 0.5, FACTOR_H / 2.0 - 0.5), s, 14, fill=ink)
    return c.result()


def bars():
    c = Canvas(BAR_W, BAR_H * len(BAR_COLOURS), 4)
    for row, colour in enumerate(BAR_COLOURS):
        y0, x0, x1 = row * BAR_H, BAR_INSET, BAR_W - BAR_INSET
        r = BAR_H / 2.0
        c.rrect((x0, y0, x1, y0 + BAR_H), r, fill=darker(colour, 0.35))
        c.blob_gradient([("rr", x0 + 1.2, y0 + 1.2, x1 - 1.2, y0 + BAR_H - 1.2, r - 1.2)],
                        lighter(colour, 0.25), darker(colour, 0.08), outline=None)
        c.rrect((x0 + 5, y0 + 3.5, x1 - 5, y0 + 7), 1.75, fill=rgba(WHITE, 90))
    return c.result()


def marks():
    sheet = Image.new("RGBA", (MARK * len(MARK_ICONS), MARK), (0, 0, 0, 0))
    for k, (icon, disc) in enumerate(MARK_ICONS):
        # Drawn at the end cards' size, then reduced: the same icon, just smaller.
        c = Canvas(88, 88, 3)
        icon(c, 43, 43, disc)
        sheet.alpha_composite(c.result().resize((MARK, MARK), Image.LANCZOS), (k * MARK, 0))
    return sheet


SHEETS = {"Algarismos.png": digits, "Fatores.png": factors, "Barras.png": bars,
          "Marcas.png": marks}


def generate(want):
    return {name: make() for name, make in SHEETS.items() if want(name)}
