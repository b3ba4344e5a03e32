"""The results screen and the card laid over it while there is nothing to show.

The game draws every figure itself (bars, digits, timer cell, marks) at the
places named here; its own layout table holds the same numbers.
"""
from .base import Canvas, INK, CREAM, PAPER, WHITE, TEAL, PURPLE, darker, rgba
from .telas import (SW, SH, SS, BROWN, board, cobbles, title_text, sunk_box, sunk_spot,
                    icon_round, sparkle)

TITLE = (400, 42)

# Rotations: one row each, in the order of the rotation buttons (single right,
# double right, single left, double left): the name from NAME_X, an empty track
# for the share named correctly, the percent and the count in two columns. Below
# them, set apart, a row alike for the stall named where the balance was lost.
ROTATIONS_BOARD = (20, 72, 520, 316)
ROTATIONS_HEADING = (270, 94)
COLUMNS_Y, PERCENT_X, COUNT_X = 114, 435, 482
ROTATION_ROWS = (138, 175, 212, 249)
WHERE_ROW = 290
NAME_X = 36
TRACK_X0, TRACK_X1 = 200, 400
TRACK_H = 22

# Stalls: the share of fruits put at the correct stall (a track, the percent
# below it) and the count of bin fruits put in a stall (a round spot).
STALLS_BOARD = (530, 72, 780, 316)
STALLS_HEADING = (655, 94)
STALLS_LABEL = (655, 127)
STALLS_TRACK_X0, STALLS_TRACK_X1, STALLS_TRACK_Y = 550, 760, 154
STALLS_PERCENT = (655, 187)
STALLS_DIVIDER_Y = 205
BIN_LABEL = ((655, 227), (655, 247))
BIN_COUNT = (655, 283)

# Matches: three groups of figures, each under its heading, each figure in a box
# of its own under its label: the small market's matches played, won and best
# time, the big market's alike, and practice's completed and mistakes, set apart
# by a teal wash; then a socket for each of the last matches, oldest on the left.
MATCHES_BOARD = (20, 326, 780, 520)
FIGURES_Y, FIGURE_LABELS_Y, GROUPS_Y = 398, 364, 344
FIGURES_X = (74, 167, 260, 353, 446, 539, 633, 726)
GROUPS = ((0, 3), (3, 6), (6, 8))  # the figures of each group, first and past the last
GROUP_DIVIDERS_X = (307, 586)
FIGURE_BOX = (72, 40)
LAST_LABEL = (400, 446)
LAST_MATCHES, SOCKETS_Y, SOCKET_R = 20, 486, 15
SOCKETS_X = tuple(58 + 36 * i for i in range(LAST_MATCHES))

BACK_BUTTON = (299, 527, 500, 598)

# The card shown over the screen while the history holds nothing.
EMPTY_BOARD = (120, 170, 680, 400)
# The empty card is kept as its own corner of the screen, the game draws it at
# EMPTY_CROP's top left: a whole transparent screen would cost memory for nothing.
EMPTY_CROP = (110, 130, 690, 410)

GROOVE = (214, 186, 138)
PRACTICE_INK = darker(TEAL, 0.35)


def _fit(c, s, size, room, condensed=False, smallest=10):
    while size > smallest and c.text_width(s, size, True, condensed) > room:
        size -= 0.5
    return size


def _track(c, x0, x1, y):
    """An empty groove the game fills with a bar (18 px tall) from its left end."""
    h = TRACK_H / 2.0
    c.rrect((x0 - 1.5, y - h - 1.5, x1 + 1.5, y + h + 1.5), h + 1.5, fill=darker(GROOVE, 0.25))
    c.blob_gradient([("rr", x0, y - h, x1, y + h, h)], darker(GROOVE, 0.12), (238, 220, 182),
                    outline=None)


def _heading(c, xy, s):
    c.text(xy, s, 18, fill=INK)


def _row(c, y, name):
    """A row of the rotations' board: its name, in one line or two, and its track."""
    lines = (name,) if isinstance(name, str) else name
    room = TRACK_X0 - NAME_X - 8
    size = min(_fit(c, line, 15 if len(lines) == 1 else 14, room) for line in lines)
    for k, line in enumerate(lines):
        c.text((NAME_X, y + (k - (len(lines) - 1) / 2.0) * size * 1.15), line, size, fill=INK, anchor="lm")
    _track(c, TRACK_X0, TRACK_X1, y)


def _rotations(c, t):
    heading, columns, names = t["results_rotations"]
    board(c, ROTATIONS_BOARD, r=14, fill=PAPER, edge_w=4)
    _heading(c, ROTATIONS_HEADING, heading)
    # Both column headings at one size, each within the 42 px between the columns.
    size = min(_fit(c, label, 12.5, COUNT_X - PERCENT_X - 1, True) for label in columns)
    for x, label in zip((PERCENT_X, COUNT_X), columns):
        c.text((x, COLUMNS_Y), label, size, fill=BROWN, condensed=True)
    x0, x1 = ROTATIONS_BOARD[0] + 12, ROTATIONS_BOARD[2] - 12
    for k, (y, name) in enumerate(zip(ROTATION_ROWS, names)):
        if k:
            gap = (y - ROTATION_ROWS[k - 1]) / 2.0
            c.line([(x0, y - gap), (x1, y - gap)], (236, 214, 172), 1.5)
        _row(c, y, name)
    # The stall named for a lost balance is asked before the rotation, in the big
    # market only: its row stands apart, under a groove of its own.
    gap = (WHERE_ROW - ROTATION_ROWS[-1]) / 2.0
    c.line([(x0, WHERE_ROW - gap), (x1, WHERE_ROW - gap)], (226, 196, 140), 2)
    _row(c, WHERE_ROW, t["results_where"])


def _stalls(c, t):
    heading, label, bin_lines = t["results_stalls"]
    board(c, STALLS_BOARD, r=14, fill=PAPER, edge_w=4)
    _heading(c, STALLS_HEADING, heading)
    room = STALLS_BOARD[2] - STALLS_BOARD[0] - 24
    c.text(STALLS_LABEL, label, _fit(c, label, 15, room), fill=INK)
    _track(c, STALLS_TRACK_X0, STALLS_TRACK_X1, STALLS_TRACK_Y)
    c.line([(STALLS_BOARD[0] + 24, STALLS_DIVIDER_Y), (STALLS_BOARD[2] - 24, STALLS_DIVIDER_Y)],
           (236, 214, 172), 1.5)
    for xy, line in zip(BIN_LABEL, bin_lines):
        c.text(xy, line, _fit(c, line, 15, room), fill=INK)
    sunk_spot(c, BIN_COUNT[0], BIN_COUNT[1], 22)


def _matches(c, t):
    headings, market_labels, practice_labels = t["results_matches"]
    board(c, MATCHES_BOARD, r=14, fill=PAPER, edge_w=4)
    x0, y0, x1, y1 = MATCHES_BOARD
    # Practice stands apart: a teal wash behind its two figures.
    c.rrect((GROUP_DIVIDERS_X[-1] + 6, y0 + 11, x1 - 12, 424), 9, fill=rgba(TEAL, 34))
    for x in GROUP_DIVIDERS_X:
        c.line([(x, y0 + 14), (x, 424)], (226, 196, 140), 2)
    edges = (x0 + 8,) + GROUP_DIVIDERS_X + (x1 - 8,)
    labels = market_labels * 2 + practice_labels
    # Every label at one size, the largest at which each fits half way to its neighbours.
    pitch = FIGURES_X[1] - FIGURES_X[0]
    size = min(_fit(c, label, 14, pitch - 12) for label in labels)
    for g, ((first, last), heading) in enumerate(zip(GROUPS, headings)):
        ink = PRACTICE_INK if g == len(GROUPS) - 1 else INK
        c.text(((edges[g] + edges[g + 1]) / 2.0, GROUPS_Y), heading,
               _fit(c, heading, 15, edges[g + 1] - edges[g] - 16), fill=ink)
        for x, label in zip(FIGURES_X[first:last], labels[first:last]):
            c.text((x, FIGURE_LABELS_Y), label, size, fill=BROWN if ink == INK else ink, bold=False)
            sunk_box(c, x, FIGURES_Y, *FIGURE_BOX)
    c.line([(x0 + 14, 428), (x1 - 14, 428)], (236, 214, 172), 1.5)
    c.text(LAST_LABEL, t["results_last"], 15, fill=BROWN)
    for x in SOCKETS_X:
        sunk_spot(c, x, SOCKETS_Y, SOCKET_R)


def screen(t):
    c = Canvas(SW, SH, SS)
    cobbles(c, (0, 0, SW, SH), 53)
    c.rect((0, 0, SW, SH), fill=(255, 240, 210, 120))
    title_text(c, TITLE, t["results_title"], 36, fill=PURPLE, stroke=3.2)
    _rotations(c, t)
    _stalls(c, t)
    _matches(c, t)
    return c.result()


def _icon_smile(c, x, y):
    icon_round(c, x, y, (120, 196, 120))
    for ex in (x - 11, x + 11):
        c.ellipse((ex - 4, y - 14, ex + 4, y - 2), fill=INK)
        c.circle(ex + 1.2, y - 10, 1.5, fill=WHITE)
    c.ring_arc(x, y + 2, 16, 25, 155, INK, 4.5)
    for cx in (x - 20, x + 20):
        c.ellipse((cx - 6, y + 1, cx + 6, y + 8), fill=(255, 140, 140, 130))


def empty(t):
    title, soft = t["results_empty"]
    c = Canvas(SW, SH, SS)
    x0, y0, x1, y1 = EMPTY_BOARD
    # Framed in the results' purple, so that it stands out from the boards below.
    board(c, EMPTY_BOARD, r=20, fill=CREAM, edge=PURPLE, edge_w=7)
    cx, mid = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    _icon_smile(c, cx, y0 + 8)
    size = _fit(c, title, 30, x1 - x0 - 100)
    title_text(c, (cx, mid - 10), title, size, fill=PURPLE, stroke=3)
    for side in (-1, 1):
        sparkle(c, cx + side * (c.text_width(title, size) / 2.0 + 22), mid - 10, 9)
    # Lines of even length: the narrowest width that needs no more lines.
    width = x1 - x0 - 80
    lines = len(c.wrap(soft, 17, width))
    while len(c.wrap(soft, 17, width - 4)) == lines:
        width -= 4
    c.paragraph(cx - width / 2.0, mid + 28, soft, 17, width, fill=BROWN, align="center")
    picture = c.result()
    x0, y0, x1, y1 = picture.getbbox()
    assert EMPTY_CROP[0] <= x0 and EMPTY_CROP[1] <= y0 and x1 <= EMPTY_CROP[2] and y1 <= EMPTY_CROP[3]
    return picture.crop(EMPTY_CROP)


PICTURES = {"TelaResultados.png": screen, "ResultadosVazio.png": empty}


def generate(want, t):
    """Returns {file name: image} of the results screen and its empty card, texts from t."""
    return {name: make(t) for name, make in PICTURES.items() if want(name)}
