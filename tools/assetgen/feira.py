"""The big market's pictures: fifteen stalls in four levels. Its scene, the
question of which stall lost its balance, its practice's complete card, its page
of the instructions, and the choice between the two markets on the menu."""
from PIL import Image

from . import barracas, frutas, telas
from .base import (Canvas, INK, CREAM, PAPER, WHITE, RED, ORANGE, YELLOW, GREEN, DARK_GREEN,
                   PURPLE, WOOD, WOOD_LIGHT, lighter, darker)
from .telas import SW, SH, SS, BROWN, board, title_text, rope, cobbles, sparkle, sunk_box, sunk_spot

BIN_POS15 = (290, 112)
# Where no stall, its patch nor the bin stands.
FLOWER_POTS15 = ((276, 575), (782, 575), (270, 130), (785, 250))


def edges15():
    return [((k - 1) // 2, k) for k in range(1, barracas.STALLS15)]


def scene15(t):
    """The market of fifteen stalls with no stall on it (the game draws them): the
    orchard and the top band as in the small market, the patches the stalls stand
    on, the ropes of the tree and the bin."""
    c = Canvas(SW, SH, SS)
    cobbles(c, (telas.LANES_W, 0, SW, SH), 3)
    telas._orchard(c)
    telas._top_band(c, t)
    w, h = barracas.W15, barracas.H15
    for x, y in barracas.POSITIONS15:
        c.ellipse((x - 3, y + h - 11, x + w + 3, y + h + 6), fill=(110, 80, 50, 55))
    for parent, child in edges15():
        rope(c, barracas.centre15(parent), barracas.centre15(child), 4.0)
    for k in range(barracas.STALLS15):
        cx, cy = barracas.centre15(k)
        c.circle(cx, cy, 6, fill=INK)
        c.circle(cx, cy, 3.8, fill=WOOD_LIGHT)
    telas._bin(c, t, BIN_POS15)
    telas.flower_pots(c, FLOWER_POTS15)
    return c.result()


# ---------------------------------------------------------------------------
# small parts
# ---------------------------------------------------------------------------
def factor_badge(c, x, y, f, scale=1.0):
    """A balance factor's badge centred on (x, y), drawn as the game's own
    (Fatores.png), at scale."""
    from .placar import FACTOR_W, FACTOR_H, _factor_look
    fill, ink, rim = _factor_look(f)
    w, h = FACTOR_W * scale, FACTOR_H * scale
    x0, y0 = x - w / 2.0, y - h / 2.0
    r = 10.5 * scale
    c.rrect((x0 + 1, y0 + 2, x0 + w, y0 + h + 1.5), r, fill=(30, 15, 5, 70))
    c.rrect((x0, y0, x0 + w - 2, y0 + h - 2), r, fill=INK)
    c.rrect((x0 + rim, y0 + rim, x0 + w - 2 - rim, y0 + h - 2 - rim), r - rim, fill=fill)
    s = "0" if f == 0 else ("+%d" % f if f > 0 else "\u2212%d" % -f)
    c.text((x0 + w / 2.0 - 1, y0 + h / 2.0 - 1), s, 14 * scale, fill=ink)


def slot(c, x, y, r, fill=(244, 226, 190)):
    """A stall seen from above, as the end cards show the tree's slots."""
    c.circle(x, y, r + 2, fill=INK)
    c.circle(x, y, r, fill=fill)


def key_cap(c, x, y, s, size=12.5):
    """A keyboard key with its name; returns its width."""
    w = max(20.0, c.text_width(s, size) + 12)
    c.rrect((x, y - 11, x + w, y + 12), 5, fill=INK)
    c.rrect((x + 2, y - 9, x + w - 2, y + 8), 3.5, fill=(255, 250, 235))
    c.text((x + w / 2.0, y - 0.5), s, size, fill=INK)
    return w


def key_line(c, cx, y, line, size=13, gap=5):
    """A line whose words in brackets are drawn as keys, centred on cx."""
    parts = []
    for word in line.split(" "):
        if word.startswith("[") and word.endswith("]"):
            parts.append(("key", word[1:-1]))
        elif parts and parts[-1][0] == "text":
            parts[-1] = ("text", parts[-1][1] + " " + word)
        else:
            parts.append(("text", word))

    def width(part):
        kind, s = part
        return max(20.0, c.text_width(s, 12.5) + 12) if kind == "key" else c.text_width(s, size,
                                                                                          False)
    total = sum(width(p) for p in parts) + gap * (len(parts) - 1)
    x = cx - total / 2.0
    for part in parts:
        if part[0] == "key":
            key_cap(c, x, y, part[1])
        else:
            c.text((x, y), part[1], size, fill=INK, bold=False, anchor="lm")
        x += width(part) + gap
    return total


# ---------------------------------------------------------------------------
# which stall lost its balance
# ---------------------------------------------------------------------------
# The question stands on the left while the tree stays in sight: the picture is
# the panel alone, drawn at the window's top left.
WHERE_W = 270


def where_prompt(t):
    c = Canvas(WHERE_W, SH, SS)
    # The same wooden panel as the rotation's question.
    c.rect((0, 0, 270, SH), fill=INK)
    c.rect((0, 0, 267, SH), fill=WOOD)
    for x in (60, 130, 200):
        c.line([(x, 0), (x, SH)], darker(WOOD, 0.2), 1.5)
    c.rrect((10, 10, 257, 590), 14, fill=INK)
    c.rrect((13, 13, 254, 587), 11, fill=PAPER)
    cx = 133.5
    # Icon: a tree leaning left, its root ringed in gold, and a question badge.
    telas.gold_ring(c, 118, 30, 16)
    telas.mini_tree(c, 118, 30, [30, 20, None, 10], 26, 25, 11.5, [ORANGE, ORANGE, None, ORANGE],
                    text_size=11.5)
    c.circle(196, 54, 19, fill=INK)
    c.circle(196, 54, 16.5, fill=YELLOW)
    c.text((196, 55), "?", 26, fill=INK)
    size = 34
    while c.text_width(t["where_title"], size) > 226:
        size -= 0.5
    title_text(c, (cx, 128), t["where_title"], size, fill=(236, 120, 40), stroke=3)
    lost, question = t["where_lines"]
    y = c.paragraph(28, 152, lost, 15, 212, fill=INK, bold=True, align="center")
    y = c.paragraph(28, y + 1, question, 15, 212, fill=INK, align="center")
    y = c.paragraph(24, y + 9, t["where_rule"], 13, 220, fill=INK, align="center",
                    leading=1.28)
    y = c.paragraph(24, y + 3, t["where_factor"], 12, 220, fill=BROWN, align="center",
                    leading=1.25)
    # The climb: from the new fruit up the path, past +1, to the first +2 (ringed:
    # it rotates) though the root above it is at +2 as well.
    root, first, fruit, climb = t["where_path"]
    top = y + 20
    path = [(96, top), (136, top + 30), (104, top + 60), (136, top + 90)]
    for a, b in zip(path, path[1:]):
        c.line([a, b], (190, 150, 100), 3)
    telas.gold_ring(c, path[1][0], path[1][1], 15)
    for (x, yy) in path[:3]:
        slot(c, x, yy, 10)
    c.paste(frutas.fruit(10).resize((28, 28), Image.LANCZOS), path[3][0] - 14, path[3][1] - 14)
    for (x, yy), f, side in zip(path, (2, 2, 1, 0), (-1, 1, -1, 1)):
        factor_badge(c, x + side * 34, yy, f, 0.85)
    c.text((path[0][0] + 16, path[0][1]), root, 12, fill=BROWN, bold=False, anchor="lm")
    c.text((path[1][0] - 21, path[1][1]), first, 13, fill=(200, 100, 20), anchor="rm")
    c.text((path[3][0] - 19, path[3][1]), fruit, 12, fill=BROWN, bold=False, anchor="rm")
    # The way up, beside the path.
    ax, y0, y1 = 226, path[3][1] + 6, path[1][1]
    c.line([(ax, y0), (ax, y1 + 6)], INK, 6)
    c.line([(ax, y0), (ax, y1 + 6)], ORANGE, 3)
    c.blob([("poly", [(ax - 7, y1 + 8), (ax + 7, y1 + 8), (ax, y1 - 3)])], ORANGE, INK, 1.6)
    c.text((ax, y0 + 11), climb, 12, fill=BROWN, bold=False)
    # How to answer, and what comes next.
    y = y0 + 26
    c.line([(34, y), (233, y)], (226, 196, 140), 2)
    y += 19
    for line in t["where_keys"]:
        key_line(c, cx, y, line)
        y += 27
    c.paragraph(24, y - 6, t["where_next"], 12, 220, fill=BROWN, align="center")
    return c.result()


# ---------------------------------------------------------------------------
# practice complete
# ---------------------------------------------------------------------------
# As the small market's card, with a row more: wrong stall, wrong stall out of
# balance, wrong rotation, repeated number, dead end; the game draws each count
# centred at (PRACTICE_COUNT_X, row).
PRACTICE_MISTAKE_ROWS15 = (282, 316, 350, 384, 418)
PRACTICE_COUNT_R15 = 15


def practice_complete15(t):
    c = Canvas(SW, SH, SS)
    telas._festive(c, 78)
    telas._end_board(c, t["practice_complete15"], telas.PRACTICE_TEAL, telas.icon_tree)
    x, y = telas.PRACTICE_TIME
    sunk_box(c, x, y, telas.PRACTICE_TIME_W, telas.PRACTICE_TIME_H, t["practice_time"])
    sparkle(c, 214, 256, 8)
    sparkle(c, 366, 256, 8)
    c.line([(telas.PRACTICE_DIVIDER_X, 240), (telas.PRACTICE_DIVIDER_X, 440)], (226, 196, 140), 2)
    heading, rows = t["practice_mistakes15"]
    c.text(telas.PRACTICE_MISTAKES_HEADING, heading, 17, fill=INK, anchor="mm")
    count_x = telas.PRACTICE_COUNT_X
    room = count_x - PRACTICE_COUNT_R15 - 8 - telas.PRACTICE_LABEL_X
    for y, label in zip(PRACTICE_MISTAKE_ROWS15, rows):
        size = 15
        while size > 11 and c.text_width(label, size) > room:
            size -= 0.5
        c.text((telas.PRACTICE_LABEL_X, y), label, size, fill=INK, anchor="lm")
        sunk_spot(c, count_x, y, PRACTICE_COUNT_R15)
    return c.result()


# ---------------------------------------------------------------------------
# the choice of market, on the menu
# ---------------------------------------------------------------------------
# Two frames stacked, the small market chosen in the first, the big one in the
# second; each option is the half of the frame it stands in.
SELECTOR_W, SELECTOR_H = 201, 80
SELECTED = (74, 170, 88)


def _option(c, box, number, word, chosen):
    x0, y0, x1, y1 = box
    cy = (y0 + y1) / 2.0
    if chosen:
        c.rrect((x0 + 1, y0 + 2, x1 + 1, y1 + 2), 8, fill=(30, 15, 5, 70))
        c.rrect(box, 8, fill=INK)
        c.blob_gradient([("rr", x0 + 2, y0 + 2, x1 - 2, y1 - 2, 6)], lighter(SELECTED, 0.18),
                        darker(SELECTED, 0.08), outline=None)
        c.circle(x0 + 13, cy, 8.5, fill=INK)
        c.circle(x0 + 13, cy, 7, fill=(255, 250, 235))
        c.line([(x0 + 9, cy + 0.5), (x0 + 12, cy + 3.5), (x0 + 17.5, cy - 3.5)], SELECTED, 2.6)
        ink, stroke = WHITE, 1.8
    else:
        c.rrect(box, 8, fill=(214, 186, 138))
        c.rrect((x0 + 1.5, y0 + 1.5, x1 - 1.5, y1 - 1.5), 6.5, fill=(246, 232, 204))
        c.circle(x0 + 13, cy, 7.5, fill=(196, 164, 116))
        c.circle(x0 + 13, cy, 6, fill=(255, 250, 235))
        ink, stroke = (120, 90, 70), 0
    tx0, tx1 = x0 + 24, x1 - 3
    size = 11.5
    while c.text_width(word, size) > tx1 - tx0 - 2:
        size -= 0.5
    mid = (tx0 + tx1) / 2.0
    c.text((mid, cy - 7), number, 17, fill=ink, stroke=stroke, stroke_fill=INK)
    c.text((mid, cy + 10), word, size, fill=ink, stroke=stroke * 0.6, stroke_fill=INK)


def market_selector(t):
    title, key, small, big = t["market_choice"]
    sheet = Image.new("RGBA", (SELECTOR_W, 2 * SELECTOR_H), (0, 0, 0, 0))
    for frame in range(2):
        c = Canvas(SELECTOR_W, SELECTOR_H, SS)
        board(c, (1, 1, 196, 75), r=11, fill=CREAM, edge=WOOD, edge_w=4)
        # The title and the key that switches the market.
        w = c.text_width(title + " \u00b7", 14) + 4 + max(20.0, c.text_width(key, 12.5) + 12)
        x = 98.5 - w / 2.0
        c.text((x, 19), title + " \u00b7", 14, fill=INK, anchor="lm")
        key_cap(c, x + c.text_width(title + " \u00b7", 14) + 4, 19.5, key)
        _option(c, (10, 33, 96, 68), small[0], small[1], frame == 0)
        _option(c, (101, 33, 187, 68), big[0], big[1], frame == 1)
        sheet.alpha_composite(c.result(), (0, frame * SELECTOR_H))
    return sheet


# ---------------------------------------------------------------------------
# instructions, page 2
# ---------------------------------------------------------------------------
# Left free, as on the first page: the Back button and the small button that
# turns the page (the game draws both).
PAGE_BUTTON = (30, 531, 132, 570)
MOVED = PURPLE  # the subtree that changes parent in the example


def node(c, x, y, label, fill, r=14):
    c.circle(x, y, r + 2, fill=INK)
    c.circle(x, y, r, fill=fill)
    c.text((x, y + 0.5), label, r * 0.95, fill=WHITE, stroke=1.5, stroke_fill=INK)


def _example_tree(c, nodes, edges, badges, ring=None, moved=None):
    """nodes: {key: (x, y, fill)}; badges: {key: (factor, side)}; ring: the key
    ringed in gold; moved: the key whose edge to its parent is the new one."""
    for a, b in edges:
        (xa, ya, _), (xb, yb, _) = nodes[a], nodes[b]
        if b == moved:
            c.line([(xa, ya), (xb, yb)], INK, 6.5)
            c.line([(xa, ya), (xb, yb)], lighter(MOVED, 0.2), 3.5)
        else:
            c.line([(xa, ya), (xb, yb)], INK, 2.4)
    if ring is not None:
        telas.gold_ring(c, nodes[ring][0], nodes[ring][1], 19)
    for key, (x, y, fill) in nodes.items():
        node(c, x, y, key, fill)
    for key, (f, side) in badges.items():
        x, y, _ = nodes[key]
        factor_badge(c, x + side * (38 if key == ring else 33), y, f, 0.85)


def instructions15(t):
    c = Canvas(SW, SH, SS)
    cobbles(c, (0, 0, SW, SH), 41)
    c.rect((0, 0, SW, SH), fill=(255, 240, 210, 120))
    title_text(c, (400, 30), t["big_market"], 36, fill=ORANGE, stroke=3.2)

    # Left card: the market, where then which, and the rule.
    board(c, (10, 58, 398, 506), r=14, fill=PAPER, edge=WOOD, edge_w=5)
    x, y, mw = 26, 72, 358
    heading, text = t["big_stalls"]
    y = telas._section(c, x, y, heading, GREEN)
    y = c.paragraph(x + 4, y, text, 14, mw, fill=INK, leading=1.26) + 6
    y = _four_levels(c, y, t) + 8
    heading, items = t["big_where"]
    y = telas._section(c, x, y, heading, ORANGE)
    y = telas._bullets(c, x + 4, y, items, mw, 13.5) + 6
    rule, why = t["big_rule"]
    c.rrect((22, y, 386, y + 30), 9, fill=(226, 196, 140))
    c.rrect((24, y + 2, 384, y + 28), 7, fill=(255, 236, 170))
    size = 15
    while c.text_width(rule, size) > 350:
        size -= 0.5
    c.text((204, y + 15), rule, size, fill=(170, 70, 40))
    y = c.paragraph(x + 4, y + 38, why, 13.5, mw, fill=INK, leading=1.28)

    # Right: the worked example, before and after.
    heading, inserted, (lowest, case), moved, new = t["big_example"]
    c.text((597, 70), heading, 18, fill=INK)
    board(c, (406, 88, 789, 594), r=12, fill=PAPER, edge=WOOD, edge_w=5)
    c.text((597, 112), inserted, 14, fill=INK)
    before = {"50": (597, 156, RED), "30": (527, 202, ORANGE), "70": (667, 202, ORANGE),
              "20": (492, 248, ORANGE), "40": (562, 248, MOVED), "10": (457, 294, YELLOW)}
    _example_tree(c, before, [("50", "30"), ("50", "70"), ("30", "20"), ("30", "40"),
                              ("20", "10")],
                  {"50": (2, 1), "30": (1, -1), "70": (0, 1), "20": (1, -1), "40": (0, 1),
                   "10": (0, 1)}, ring="50")
    c.text((457, 317), new, 12, fill=BROWN, bold=False)
    # From before to after: which stall, and which rotation.
    c.line([(597, 334), (597, 378)], INK, 7)
    c.line([(597, 334), (597, 378)], ORANGE, 3.5)
    c.blob([("poly", [(588, 376), (606, 376), (597, 388)])], ORANGE, INK, 1.6)
    c.paragraph(420, 334, lowest, 13, 168, fill=INK, bold=True, leading=1.25)
    c.paragraph(612, 334, case, 13, 166, fill=(170, 70, 40), bold=True, leading=1.25)
    after = {"30": (597, 418, ORANGE), "20": (527, 464, ORANGE), "50": (667, 464, ORANGE),
             "10": (492, 510, YELLOW), "40": (632, 510, MOVED), "70": (702, 510, ORANGE)}
    _example_tree(c, after, [("30", "20"), ("30", "50"), ("20", "10"), ("50", "40"),
                             ("50", "70")],
                  {"30": (0, 1), "20": (1, -1), "50": (0, 1), "10": (0, -1)}, moved="40")
    c.text((597, 556), moved, 14, fill=darker(MOVED, 0.25))
    return c.result()


def _four_levels(c, y, t):
    """The big market's tree, fifteen slots in four levels, and below the fourth
    a fifth that is not there: a fruit that would go there goes to the bin."""
    cx, top, dy = 150, y + 10, 17
    pos = {}
    for k in range(15):
        level = (k + 1).bit_length() - 1
        i = k + 1 - 2 ** level
        span = 18 * 2 ** (3 - level)
        pos[k] = (cx - span * (2 ** level - 1) / 2.0 + i * span, top + level * dy)
    for k in range(1, 15):
        c.line([pos[(k - 1) // 2], pos[k]], (190, 150, 100), 2)
    for k, (x, yy) in pos.items():
        slot(c, x, yy, 5, GREEN)
    # The levels counted down the left side, the fifth in the cross's red.
    for level in range(5):
        c.text((60, top + level * dy), str(level + 1), 12,
               fill=BROWN if level < 4 else (230, 60, 50), bold=level == 4)
    # The fifth level: a dashed edge to a crossed slot, and an arrow to the bin.
    lx, ly = pos[14]
    fx, fy = lx + 14, ly + 17
    for k in range(3):
        a, b = k / 3.0, (k + 0.55) / 3.0
        c.line([(lx + (fx - lx) * a, ly + (fy - ly) * a), (lx + (fx - lx) * b, ly + (fy - ly) * b)],
               (190, 150, 100), 2)
    c.circle(fx, fy, 6, fill=(230, 60, 50))
    c.line([(fx - 3, fy - 3), (fx + 3, fy + 3)], WHITE, 1.8)
    c.line([(fx - 3, fy + 3), (fx + 3, fy - 3)], WHITE, 1.8)
    c.text((fx + 34, fy), "\u2192", 20, fill=(230, 120, 40))
    bx, by = fx + 62, fy - 22
    c.blob([("poly", [(bx, by + 8), (bx + 30, by + 8), (bx + 27, by + 40), (bx + 3, by + 40)])],
           (76, 160, 84), INK, 2)
    for xx in (bx + 9, bx + 15, bx + 21):
        c.line([(xx, by + 15), (xx, by + 35)], (50, 116, 60), 1.4)
    c.blob([("rr", bx - 3, by + 2, bx + 33, by + 9, 3)], (66, 140, 74), INK, 1.8)
    c.text((bx + 15, by + 52), t["bin"], 12, fill=DARK_GREEN)
    return by + 58


def generate(want, t):
    """Returns {file name: image} of the big market's pictures, texts from table t."""
    result = {}
    if want("TelaJogo15.png"):
        result["TelaJogo15.png"] = scene15(t)
    if want("PraticaCompleta15.png"):
        result["PraticaCompleta15.png"] = practice_complete15(t)
    if want("Instrucoes15.png"):
        result["Instrucoes15.png"] = instructions15(t)
    if want("SeletorFeira.png"):
        result["SeletorFeira.png"] = market_selector(t)
    if want("AvisoEquilibrio.png"):
        result["AvisoEquilibrio.png"] = where_prompt(t)
    return result
