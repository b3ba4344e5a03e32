"""Full-window pictures: menu, market scene, rotation prompt, end cards, instructions."""
import math
import random

from PIL import Image

from . import barracas, frutas, personagem
from .base import (Canvas, INK, INK_SOFT, CREAM, PAPER, WHITE, RED, ORANGE, YELLOW, GREEN,
                   DARK_GREEN, TEAL, BLUE, PURPLE, PINK, WOOD, WOOD_DARK, WOOD_LIGHT, SAND,
                   GRASS, lighter, darker, mix, rgba, star_points)

SW, SH = 800, 600
SS = 3

LANES_W = 248           # fruits fall in x 0..248
HAND_FRUIT = (367, 11)  # 64x64 fruit in the hand
HAND_FRAME = (360, 5, 438, 82)
TIMER_POS = (466, 15)   # 79x64 timer cell
BIN_POS = (385, 125)
PLAY_AGAIN = (299, 468, 500, 539)
BACK_BUTTON = (150, 515, 351, 586)
# Play, instructions, quit, practice, results, top to bottom.
MENU_BUTTONS_X, MENU_BUTTONS_Y = 20, (90, 170, 250, 330, 410)
MENU_BUTTON_W, MENU_BUTTON_H = 201, 71
STALL_LEFT_X = 300
ROT_BUTTONS_X, ROT_BUTTONS_Y = 34, (258, 338, 418, 498)


# ---------------------------------------------------------------------------
# shared bits
# ---------------------------------------------------------------------------
def board(c, b, r=14, fill=PAPER, edge=WOOD, edge_w=6, shadow=True):
    """A cream card framed in wood."""
    x0, y0, x1, y1 = b
    if shadow:
        c.rrect((x0 + 4, y0 + 6, x1 + 4, y1 + 6), r, fill=(30, 15, 5, 90))
    c.rrect(b, r, fill=INK)
    c.rrect((x0 + 2.5, y0 + 2.5, x1 - 2.5, y1 - 2.5), r - 2.5, fill=edge)
    c.rrect((x0 + 2.5, y0 + 2.5, x1 - 2.5, y0 + 2.5 + edge_w * 0.5), min(r - 2.5, edge_w),
            fill=lighter(edge, 0.25))
    ins = 2.5 + edge_w
    c.rrect((x0 + ins - 2, y0 + ins - 2, x1 - ins + 2, y1 - ins + 2), max(2, r - ins + 2),
            fill=INK)
    c.rrect((x0 + ins, y0 + ins, x1 - ins, y1 - ins), max(2, r - ins), fill=fill)


def title_text(c, xy, s, size, fill=ORANGE, stroke=None, anchor="mm"):
    if stroke is None:
        stroke = max(2.5, size / 11.0)
    x, y = xy
    c.text((x + size / 22.0, y + size / 14.0), s, size, fill=(40, 20, 10, 110), stroke=stroke,
           stroke_fill=(40, 20, 10, 110), anchor=anchor)
    c.text((x, y), s, size, fill=fill, stroke=stroke, stroke_fill=INK, anchor=anchor)


def rope(c, p0, p1, width=5.0):
    """A twisted rope between two points (drawn ~5 px thick plus outline)."""
    c.line([p0, p1], (120, 90, 60, 70), width + 9)
    c.line([p0, p1], INK, width + 2.6)
    c.line([p0, p1], (214, 164, 98), width)
    length = math.hypot(p1[0] - p0[0], p1[1] - p0[1])
    ux, uy = (p1[0] - p0[0]) / length, (p1[1] - p0[1]) / length
    px, py = -uy, ux
    n = int(length // 9)
    for k in range(1, n):
        t = k * 9.0
        cx, cy = p0[0] + ux * t, p0[1] + uy * t
        a = (cx - px * width * 0.4 - ux * 2, cy - py * width * 0.4 - uy * 2)
        b = (cx + px * width * 0.4 + ux * 2, cy + py * width * 0.4 + uy * 2)
        c.line([a, b], (150, 104, 56), 1.2)


def cobbles(c, box, seed, base=SAND):
    rnd = random.Random(seed)
    x0, y0, x1, y1 = box
    c.rect(box, fill=base)
    for _ in range(int((x1 - x0) * (y1 - y0) / 700)):
        x = rnd.uniform(x0, x1)
        y = rnd.uniform(y0, y1)
        rx = rnd.uniform(5, 11)
        ry = rx * rnd.uniform(0.45, 0.7)
        tone = rnd.choice([darker(base, 0.06), lighter(base, 0.12), darker(base, 0.1)])
        c.ellipse((x - rx, y - ry, x + rx, y + ry), fill=rgba(tone, 150))


def grass_tufts(c, box, seed, n, color=DARK_GREEN):
    rnd = random.Random(seed)
    x0, y0, x1, y1 = box
    for _ in range(n):
        x = rnd.uniform(x0, x1)
        y = rnd.uniform(y0, y1)
        for dx, h in ((-3, 5), (0, 7), (3, 5)):
            c.line([(x + dx * 0.4, y), (x + dx, y - h)], rgba(color, 170), 1.4)


def mini_tree(c, cx, top, keys, dx, dy, r, colors=None, outline=INK, text_size=None,
              edges=True):
    """Draws a small complete binary tree of up to 7 keys (heap order)."""
    pos = {}
    for i, k in enumerate(keys):
        if k is None:
            continue
        level = int(math.log2(i + 1))
        idx = i + 1 - 2 ** level
        span = dx * (2 ** (2 - level)) if level < 3 else dx
        x = cx - span * (2 ** level - 1) / 2.0 + idx * span
        pos[i] = (x, top + level * dy)
    if edges:
        for i, p in pos.items():
            if i > 0 and (i - 1) // 2 in pos:
                c.line([pos[(i - 1) // 2], p], outline, 2.2)
    for i, (x, y) in pos.items():
        col = colors[i] if colors else ORANGE
        c.circle(x, y, r + 2, fill=outline)
        c.circle(x, y, r, fill=col)
        c.text((x, y + 0.5), str(keys[i]), text_size or r * 1.05, fill=WHITE, stroke=1.6,
               stroke_fill=INK)
    return pos


def sparkle(c, x, y, r, color=YELLOW):
    c.blob([("poly", star_points(x, y, r, r * 0.42, 4, -90))], color, INK, 1.4)


# ---------------------------------------------------------------------------
# the market scene
# ---------------------------------------------------------------------------
def _orchard(c):
    lane = LANES_W / 6.0
    for k in range(6):
        x0 = k * lane
        col = (136, 196, 88) if k % 2 == 0 else (124, 184, 80)
        c.rect((x0, 0, x0 + lane, SH), fill=col)
    grass_tufts(c, (4, 70, LANES_W - 4, SH - 6), 11, 70)
    for k in range(1, 6):
        x = k * lane
        for y in range(0, SH, 18):
            c.line([(x, y + 4), (x, y + 11)], (255, 255, 230, 90), 1.6)
    # Canopies of the fruit trees along the top of each lane.
    rnd = random.Random(5)
    for k in range(6):
        x = (k + 0.5) * lane
        c.blob([("ell", x - 13, 12, 17, 15), ("ell", x + 13, 12, 17, 15),
                ("ell", x, 2, 20, 16), ("ell", x, 24, 18, 12)], (72, 150, 64), INK, 2.2)
        for _ in range(5):
            fx, fy = x + rnd.uniform(-18, 18), rnd.uniform(2, 28)
            c.circle(fx, fy, 2.6, fill=rnd.choice([RED, ORANGE, YELLOW, PURPLE]),
                     outline=INK, width=1.0)
        c.ellipse((x - 16, -2, x + 4, 10), fill=(255, 255, 255, 50))
    # Fence between the orchard and the market.
    c.rect((LANES_W, 0, LANES_W + 10, SH), fill=INK)
    c.rect((LANES_W + 2, 0, LANES_W + 8, SH), fill=WOOD)
    for y in range(30, SH, 60):
        c.blob([("rr", LANES_W - 3, y, LANES_W + 13, y + 9, 3)], WOOD_LIGHT, INK, 1.6)


def _top_band(c, t):
    x0 = LANES_W + 10
    # Wooden shelf along the top with an awning edge.
    c.rect((x0, 0, SW, 94), fill=darker(WOOD, 0.1))
    for y in (22, 46, 70):
        c.line([(x0, y), (SW, y)], darker(WOOD, 0.3), 1.4)
    for x in range(x0 + 40, SW, 90):
        c.circle(x, 10, 1.2, fill=WOOD_DARK)
        c.circle(x + 30, 58, 1.2, fill=WOOD_DARK)
    n = int((SW - x0) // 24) + 1
    for k in range(n):
        cx = x0 + 12 + k * 24
        col = RED if k % 2 == 0 else CREAM
        c.circle(cx, 94, 13.5, fill=INK)
    c.rect((x0, 90, SW, 95), fill=INK)
    for k in range(n):
        cx = x0 + 12 + k * 24
        col = RED if k % 2 == 0 else CREAM
        c.rect((cx - 12, 90.5, cx + 12, 94), fill=col)
        c.circle(cx, 94, 12, fill=col)
    c.line([(x0, 89), (SW, 89)], INK, 2.4)

    # "In hand" label, a tag pointing at the basket.
    c.blob([("poly", [(266, 26), (340, 26), (354, 43.5), (340, 61), (266, 61)])], CREAM, INK, 2.4)
    c.text((303, 36), t["in_hand"][0], 14, fill=INK)
    c.text((303, 51), t["in_hand"][1], 16, fill=INK)
    # Basket frame for the fruit in the hand.
    hx0, hy0, hx1, hy1 = HAND_FRAME
    c.rrect((hx0 + 3, hy0 + 4, hx1 + 3, hy1 + 4), 12, fill=(30, 15, 5, 90))
    c.rrect(HAND_FRAME, 12, fill=INK)
    c.rrect((hx0 + 3, hy0 + 3, hx1 - 3, hy1 - 3), 9, fill=(206, 150, 84))
    for k in range(1, 6):
        y = hy0 + 3 + k * 12.6
        c.line([(hx0 + 4, y), (hx1 - 4, y)], (170, 116, 60), 1.2)
    c.rrect((hx0 + 6, hy0 + 6, hx1 - 6, hy1 - 6), 7, fill=INK)
    c.rrect((hx0 + 8, hy0 + 8, hx1 - 8, hy1 - 8), 5.5, fill=(255, 246, 222))
    c.ellipse((hx0 + 16, hy1 - 22, hx1 - 16, hy1 - 10), fill=(60, 40, 30, 40))
    # Frame for the timer.
    tx, ty = TIMER_POS
    c.rrect((tx - 8 + 3, ty - 9 + 4, tx + 79 + 8 + 3, ty + 64 + 8 + 4), 12, fill=(30, 15, 5, 90))
    c.rrect((tx - 8, ty - 9, tx + 79 + 8, ty + 64 + 8), 12, fill=INK)
    c.rrect((tx - 5, ty - 6, tx + 79 + 5, ty + 64 + 5), 9, fill=WOOD_LIGHT)
    c.rrect((tx - 1, ty, tx + 80, ty + 64), 8, fill=darker(WOOD, 0.35))
    # Chalkboard with the rule of the search tree.
    bx0, by0, bx1, by1 = 566, 8, 792, 84
    c.rrect((bx0 + 3, by0 + 4, bx1 + 3, by1 + 4), 8, fill=(30, 15, 5, 90))
    c.rrect((bx0, by0, bx1, by1), 8, fill=INK)
    c.rrect((bx0 + 4, by0 + 4, bx1 - 4, by1 - 4), 5, fill=(58, 96, 74))
    c.circle(615, 30, 9.5, fill=(255, 246, 222), outline=WHITE, width=0)
    c.text((615, 30.5), "x", 15, fill=INK)
    c.line([(609, 38), (591, 56)], (255, 255, 240), 2.0)
    c.line([(621, 38), (639, 56)], (255, 255, 240), 2.0)
    c.text((587, 66), "< x", 15, fill=(255, 236, 150))
    c.text((643, 66), "≥ x", 15, fill=(255, 236, 150))
    smaller, left, greater, right = t["chalkboard"]
    c.text((718, 30), smaller, 14, fill=WHITE)
    c.text((718, 46), left, 13, fill=(255, 236, 150), bold=False)
    c.text((718, 62), greater, 13, fill=WHITE, condensed=True)
    c.text((718, 76), right, 13, fill=(255, 236, 150), bold=False)


def _bin(c, t, pos=BIN_POS):
    x, y = pos
    w, h = barracas.BIN_W, barracas.BIN_H
    col = (76, 160, 84)
    c.ellipse((x + 2, y + h - 9, x + w + 2, y + h + 5), fill=(30, 15, 5, 80))
    body = [("poly", [(x + 7, y + 18), (x + w - 7, y + 18), (x + w - 11, y + h - 2),
                      (x + 11, y + h - 2)])]
    c.blob_gradient(body, lighter(col, 0.1), darker(col, 0.15), INK, 2.6)
    for k in (0.3, 0.5, 0.7):
        xx = x + w * k
        c.line([(xx, y + 28), (xx + (k - 0.5) * 6, y + h - 10)], darker(col, 0.3), 2.0)
    c.blob([("rr", x + 2, y + 10, x + w - 2, y + 21, 4)], darker(col, 0.1), INK, 2.6)
    c.blob([("rr", x + w / 2 - 10, y + 2, x + w / 2 + 10, y + 11, 3.5)], darker(col, 0.1), INK, 2.4)
    c.rect((x + w / 2 - 6, y + 7, x + w / 2 + 6, y + 11), fill=darker(col, 0.45))
    c.blob([("rr", x + 17, y + 40, x + w - 17, y + 58, 5)], CREAM, INK, 1.8)
    c.text((x + w / 2, y + 49.5), t["bin"], 14, fill=INK)


def scene(t):
    c = Canvas(SW, SH, SS)
    cobbles(c, (LANES_W, 0, SW, SH), 3)
    _orchard(c)
    _top_band(c, t)
    # Soft patches where the stalls stand, then the ropes of the tree edges.
    for i in range(7):
        x, y = barracas.POSITIONS[i]
        c.ellipse((x - 6, y + 86, x + barracas.W + 6, y + 112), fill=(110, 80, 50, 55))
    for parent, child in ((0, 1), (0, 2), (1, 3), (1, 4), (2, 5), (2, 6)):
        rope(c, barracas.centre(parent), barracas.centre(child))
    for i in range(7):
        cx, cy = barracas.centre(i)
        c.circle(cx, cy, 7, fill=INK)
        c.circle(cx, cy, 4.5, fill=WOOD_LIGHT)
    _bin(c, t)
    flower_pots(c, ((276, 575), (782, 575), (270, 130), (785, 250)))
    return c.result()


def flower_pots(c, spots):
    """A few flower pots at the edges of the plaza."""
    rnd = random.Random(9)
    for (x, y) in spots:
        c.blob([("poly", [(x - 9, y - 4), (x + 9, y - 4), (x + 7, y + 12), (x - 7, y + 12)])],
               (206, 110, 70), INK, 1.8)
        for k in range(3):
            fx = x - 6 + k * 6
            fy = y - 10 - rnd.uniform(0, 4)
            c.line([(fx, y - 4), (fx, fy)], DARK_GREEN, 1.6)
            c.circle(fx, fy, 3.2, fill=rnd.choice([PINK, YELLOW, RED, WHITE]), outline=INK,
                     width=1.0)


# ---------------------------------------------------------------------------
# menu
# ---------------------------------------------------------------------------
def menu(t):
    c = Canvas(SW, SH, SS)
    # Sky and ground.
    c.blob_gradient([("rr", -10, -10, SW + 10, 440, 0)], (132, 206, 236), (230, 244, 226),
                    None, 0)
    c.circle(740, 70, 38, fill=(255, 226, 110), outline=(255, 200, 80), width=5)
    for (x, y, s) in ((300, 60, 1.0), (620, 150, 0.8), (80, 36, 0.7)):
        c.blob([("ell", x, y, 34 * s, 16 * s), ("ell", x - 22 * s, y + 4 * s, 20 * s, 13 * s),
                ("ell", x + 24 * s, y + 4 * s, 22 * s, 12 * s)], (255, 255, 255, 235), None, 0)
    # Distant hills.
    c.blob([("ell", 250, 470, 330, 90), ("ell", 700, 480, 260, 110)], (150, 204, 110), INK, 0)
    cobbles(c, (-10, 440, SW + 10, SH + 10), 21)
    c.line([(-10, 440), (SW + 10, 440)], INK, 2.5)
    # Bunting across the top.
    pts = [(x, 14 + 16 * math.sin(math.pi * x / SW)) for x in range(-20, SW + 40, 20)]
    c.line(pts, INK, 2)
    cols = [RED, YELLOW, GREEN, BLUE, ORANGE, PURPLE, PINK]
    for k in range(len(pts) - 1):
        (xa, ya), (xb, yb) = pts[k], pts[k + 1]
        if k % 2:
            continue
        c.blob([("poly", [(xa, ya), (xb + 6, yb), ((xa + xb) / 2 + 3, ya + 22)])],
               cols[(k // 2) % len(cols)], INK, 1.6)

    # Soft panel behind the buttons: 12 px round their sides and bottom, 18 above.
    x0, x1 = MENU_BUTTONS_X - 12, MENU_BUTTONS_X + MENU_BUTTON_W + 8
    y0, y1 = MENU_BUTTONS_Y[0] - 18, MENU_BUTTONS_Y[-1] + MENU_BUTTON_H + 12
    c.rrect((x0 + 4, y0 + 4, x1 + 5, y1 + 5), 20, fill=(30, 15, 5, 70))
    c.rrect((x0, y0, x1, y1), 20, fill=INK)
    c.rrect((x0 + 3, y0 + 3, x1 - 3, y1 - 3), 17, fill=(250, 230, 190, 240))

    # Title and subtitle.
    title_text(c, (505, 118), "Jogo", 104, fill=ORANGE, stroke=7)
    c.ellipse((431, 86, 460, 98), fill=(255, 255, 255, 110))
    board(c, (290, 182, 720, 262), r=14, fill=CREAM, edge=WOOD, edge_w=5)
    c.text((505, 208), t["subtitle"], 21, fill=INK)
    c.text((505, 238), t["tagline"], 18, fill=(180, 70, 40), bold=True)

    # A small AVL tree made of numbered fruits hanging from ropes.
    keys = [50, 30, 70, 20, 40, 60, 80]
    top, dy, dx = 300, 62, 62
    pos = {}
    for i, k in enumerate(keys):
        level = int(math.log2(i + 1))
        idx = i + 1 - 2 ** level
        span = dx * (2 ** (2 - level))
        x = 505 - span * (2 ** level - 1) / 2.0 + idx * span
        pos[i] = (x, top + level * dy)
    for i in range(1, 7):
        rope(c, pos[(i - 1) // 2], pos[i], 4)
    for i, k in enumerate(keys):
        f = frutas.fruit(k)
        x, y = pos[i]
        c.paste(f.resize((54, 54), Image.LANCZOS), x - 27, y - 27)
    # Stalls on both sides and the kid in front.
    # The left one stands clear of the button panel, between it and the tree.
    for (i, k, x, y, s, fy) in ((0, 17, STALL_LEFT_X, 356, 1.0, 23), (3, 64, 738, 360, 0.95, 22)):
        st = barracas.stall(i)
        im = st.resize((int(st.width * s), int(st.height * s)), Image.LANCZOS)
        c.paste(im, x - im.width / 2, y)
        c.paste(frutas.fruit(k).resize((38, 38), Image.LANCZOS), x - 19, y + fy)
    kid = personagem.sheet().crop((0, 3 * 58, 43, 4 * 58))
    kid = kid.resize((86, 116), Image.LANCZOS)
    c.paste(kid, 332, 470)
    c.paste(frutas.fruit(35).resize((40, 40), Image.LANCZOS), 392, 496)
    # Crates with fruit on the ground.
    for (x, y) in ((600, 520), (680, 540)):
        c.blob([("rr", x, y, x + 64, y + 40, 4)], WOOD, INK, 2.2)
        c.line([(x + 4, y + 14), (x + 60, y + 14)], WOOD_DARK, 1.5)
        c.line([(x + 4, y + 27), (x + 60, y + 27)], WOOD_DARK, 1.5)
        for k in range(3):
            c.circle(x + 14 + k * 18, y - 2, 10, fill=[RED, ORANGE, YELLOW][(k + x) % 3],
                     outline=INK, width=2)
    return c.result()


# ---------------------------------------------------------------------------
# overlays
# ---------------------------------------------------------------------------
def rotation_prompt(t):
    c = Canvas(SW, SH, SS)
    c.rect((272, 0, SW, SH), fill=(20, 10, 30, 50))
    # Opaque wooden panel on the left.
    c.rect((0, 0, 270, SH), fill=INK)
    c.rect((0, 0, 267, SH), fill=WOOD)
    for x in (60, 130, 200):
        c.line([(x, 0), (x, SH)], darker(WOOD, 0.2), 1.5)
    c.rrect((10, 10, 257, 590), 14, fill=INK)
    c.rrect((13, 13, 254, 587), 11, fill=PAPER)
    # Icon: an unbalanced little tree leaning left, with a warning badge.
    mini_tree(c, 118, 30, [30, 20, None, 10], 26, 25, 11.5, [RED, RED, None, RED],
              text_size=11.5)
    c.circle(196, 54, 19, fill=INK)
    c.circle(196, 54, 16.5, fill=YELLOW)
    c.text((196, 55), "!", 26, fill=INK)
    title_text(c, (133, 128), t["prompt_title"], 34, fill=(236, 120, 40), stroke=3)
    unbalanced, question = t["prompt_lines"]
    y = c.paragraph(28, 156, unbalanced, 15, 212, fill=INK, bold=True, align="center")
    c.paragraph(28, y + 2, question, 15, 212, fill=INK, align="center")
    c.text((133, 239), t["prompt_hint"], 13, fill=(150, 80, 50), bold=False)
    return c.result()


END_CARD = (140, 56, 660, 552)
# The room inside the card where the game draws this match's answer, and what it
# draws there (the game's own layout table holds the same numbers).
ANSWER_PANEL = (172, 226, 628, 452)
CARD_SLOTS = [(330, 290), (265, 345), (395, 345), (232, 410), (297, 410), (363, 410), (428, 410)]
CARD_FRUIT = (545, 300)
CARD_TIMES = ((300, 318), (500, 318))
CAPTION_W, CAPTION_H = 160, 48
# The dead end's card: on the right, the two numbers that close the stall (or the
# one where the range itself closes it), under the word before them, and what that
# means, above the bin's badge.
CARD_NEIGHBOURS_WORD_Y = 252
CARD_NEIGHBOURS_Y = 300
CARD_BIN_BADGE = (545, 412)
# The practice's complete card: the time in digits in a box on the left; on the
# right one row a mistake (wrong stall, wrong rotation, repeated number, dead
# end), its label from x PRACTICE_LABEL_X and its count in a round spot.
PRACTICE_TIME = (290, 320)
PRACTICE_TIME_W, PRACTICE_TIME_H = 150, 70
PRACTICE_DIVIDER_X = 380
PRACTICE_MISTAKES_HEADING = (510, 250)
PRACTICE_MISTAKE_ROWS = (290, 331, 372, 413)
PRACTICE_LABEL_X = 395
PRACTICE_COUNT_X, PRACTICE_COUNT_R = 590, 18
BROWN = (150, 80, 50)
TITLE_ROOM = 480


def _end_base(card, title_color, icon, again=None):
    c = Canvas(SW, SH, SS)
    c.rect((0, 0, SW, SH), fill=(0, 0, 0, 110))
    _end_board(c, card, title_color, icon, again)
    return c


def _end_board(c, card, title_color, icon, again=None):
    """card: the title, the rule's bold lines and a softer last line (or None);
    again: one more soft line in the title's colour (or None)."""
    title, rule, soft = card
    board(c, END_CARD, r=22, fill=PAPER, edge=WOOD, edge_w=7)
    icon(c, 400, 56)
    # A long title shrinks to stay inside the card and its practice heading.
    size = 36
    while c.text_width(title, size) > TITLE_ROOM:
        size -= 0.5
    title_text(c, (400, 124), title, size, fill=title_color, stroke=3.5)
    lines = [(s, True, None) for s in rule] + ([(soft, False, BROWN)] if soft else [])
    if again:
        lines.append((again, False, darker(title_color, 0.3)))
    if len(lines) <= 3:
        _clear_text_lines(c, lines, 152, 16, leading=1.3)
    else:
        # Four lines fit above the answer panel a little smaller and closer.
        _clear_text_lines(c, lines, 148, 15, leading=1.22)
    x0, y0, x1, y1 = ANSWER_PANEL
    c.rrect((x0, y0, x1, y1), 12, fill=(226, 196, 140))
    c.rrect((x0 + 2, y0 + 2, x1 - 2, y1 - 2), 10, fill=(255, 250, 234))


def _card_tree(c, heading):
    """The seven empty slots of a tree, where the game draws fruits."""
    c.text((330, 246), heading, 14, fill=BROWN, anchor="mm")
    for child in range(1, 7):
        parent = (child - 1) // 2
        c.line([CARD_SLOTS[parent], CARD_SLOTS[child]], (190, 150, 100), 3)
    for (x, y) in CARD_SLOTS:
        c.circle(x, y, 24, fill=INK)
        c.circle(x, y, 22, fill=(244, 226, 190))
    c.line([(470, 240), (470, 440)], (226, 196, 140), 2)


def sunk_spot(c, x, y, r):
    """A round sunk spot in the answer panel, where the game draws a fruit or a number."""
    c.circle(x, y, r, fill=(226, 196, 140))
    c.circle(x, y, r - 2, fill=(244, 226, 190))


def _card_fruit_spot(c, label):
    x, y = CARD_FRUIT
    c.text((x, 246), label, 14, fill=BROWN, anchor="mm")
    sunk_spot(c, x, y, 38)


def _cross(c, x, y, r=15):
    for a, b in (((-1, -1), (1, 1)), ((-1, 1), (1, -1))):
        p0, p1 = (x + a[0] * r, y + a[1] * r), (x + b[0] * r, y + b[1] * r)
        c.line([p0, p1], INK, 9)
        c.line([p0, p1], (230, 60, 50), 5.5)


def sunk_box(c, x, y, w, h, label=None):
    """A sunk box in the answer panel where the game draws a number, under its label."""
    if label:
        c.text((x, 256), label, 17, fill=INK, anchor="mm")
    c.rrect((x - w / 2.0, y - h / 2.0, x + w / 2.0, y + h / 2.0), 12, fill=(226, 196, 140))
    c.rrect((x - w / 2.0 + 2, y - h / 2.0 + 2, x + w / 2.0 - 2, y + h / 2.0 - 2), 10,
            fill=(244, 226, 190))


def _won_card(c, t):
    _end_board(c, t["won"], (250, 176, 40), icon_star)
    for (x, y), label in zip(CARD_TIMES, t["won_times"]):
        sunk_box(c, x, y, 96, 80, label)
    for (x, y) in ((206, 250), (594, 250), (400, 318)):
        sparkle(c, x, y, 9)


def _festive(c, seed):
    """Dimmed window with confetti and stars all round the end card."""
    c.rect((0, 0, SW, SH), fill=(0, 0, 0, 110))
    rnd = random.Random(seed)
    cols = [RED, YELLOW, GREEN, BLUE, ORANGE, PURPLE, PINK]
    card = END_CARD
    for _ in range(140):
        x, y = rnd.uniform(0, SW), rnd.uniform(0, SH)
        if card[0] - 10 < x < card[2] + 10 and card[1] - 48 < y < card[3] + 10:
            continue
        a = rnd.uniform(0, math.pi)
        w, h = rnd.uniform(4, 8), rnd.uniform(8, 14)
        ux, uy = math.cos(a), math.sin(a)
        pts = [(x + ux * h / 2 - uy * w / 2, y + uy * h / 2 + ux * w / 2),
               (x + ux * h / 2 + uy * w / 2, y + uy * h / 2 - ux * w / 2),
               (x - ux * h / 2 + uy * w / 2, y - uy * h / 2 - ux * w / 2),
               (x - ux * h / 2 - uy * w / 2, y - uy * h / 2 + ux * w / 2)]
        c.blob([("poly", pts)], rnd.choice(cols), INK, 1.0)
    for (x, y, r) in ((80, 90, 16), (720, 120, 20), (70, 470, 18), (730, 460, 14),
                      (100, 300, 12), (700, 300, 16)):
        c.blob([("poly", star_points(x, y, r, r * 0.45))], YELLOW, INK, 2)


def won(t):
    c = Canvas(SW, SH, SS)
    _festive(c, 77)
    _won_card(c, t)
    return c.result()


def practice_complete(t):
    """A whole tree built in practice: the time on the left, the count of each
    mistake on the right, drawn by the game at the places named at the top."""
    c = Canvas(SW, SH, SS)
    _festive(c, 78)
    _end_board(c, t["practice_complete"], PRACTICE_TEAL, icon_tree)
    x, y = PRACTICE_TIME
    sunk_box(c, x, y, PRACTICE_TIME_W, PRACTICE_TIME_H, t["practice_time"])
    sparkle(c, 214, 256, 8)
    sparkle(c, 366, 256, 8)
    c.line([(PRACTICE_DIVIDER_X, 240), (PRACTICE_DIVIDER_X, 440)], (226, 196, 140), 2)
    heading, rows = t["practice_mistakes"]
    c.text(PRACTICE_MISTAKES_HEADING, heading, 17, fill=INK, anchor="mm")
    room = PRACTICE_COUNT_X - PRACTICE_COUNT_R - 8 - PRACTICE_LABEL_X
    for y, label in zip(PRACTICE_MISTAKE_ROWS, rows):
        size = 15
        while size > 11 and c.text_width(label, size) > room:
            size -= 0.5
        c.text((PRACTICE_LABEL_X, y), label, size, fill=INK, anchor="lm")
        sunk_spot(c, PRACTICE_COUNT_X, y, PRACTICE_COUNT_R)
    return c.result()


def bin_badge(c, cx, cy, lines):
    """Two lines, white on the bin's green: the fruit belongs in the bin."""
    c.rrect((cx - 76, cy - 22, cx + 76, cy + 22), 10, fill=INK)
    c.rrect((cx - 74, cy - 20, cx + 74, cy + 20), 8, fill=(76, 160, 84))
    for dy, line in zip((-9, 9), lines):
        size = 15
        while size > 11 and c.text_width(line, size) > 140:
            size -= 0.5
        c.text((cx, cy + dy), line, size, fill=WHITE, stroke=1.8, stroke_fill=INK)


def no_entry(c, x, y, r=15):
    """The sign on a stall no number can fill any more."""
    c.circle(x, y, r + 2, fill=INK)
    c.circle(x, y, r, fill=(230, 60, 50))
    c.rrect((x - r * 0.62, y - r * 0.2, x + r * 0.62, y + r * 0.2), r * 0.1, fill=WHITE)


# Rows of the captions sheet after the cross, the bin, the record's two and the
# eight counts of filled stalls: the dead end's sign, then its words.
CAPTION_NO_ENTRY = 12


def captions(t):
    """One column of marks and short texts the game draws into the end cards:
    the cross of a wrong stall, the bin, the record, 0..7 filled stalls, the sign
    of a stall no number can fill, the words around the numbers closing it, and
    then 0..15 filled stalls of the big market."""
    small = _captions_small(t)
    # One size for every count, the widest one's, so they read alike.
    words = [t["caption_count15"] % n for n in range(16)]
    size, half = 22, 64
    while max(Canvas(1, 1).text_width(w, size) for w in words) > 2 * half - 16:
        size -= 0.5
    counts = [_count_badge(w, half, size) for w in words]
    sheet = Image.new("RGBA", (CAPTION_W, small.height + CAPTION_H * len(counts)), (0, 0, 0, 0))
    sheet.alpha_composite(small)
    for k, cell in enumerate(counts):
        sheet.alpha_composite(cell, (0, small.height + k * CAPTION_H))
    return sheet


def _count_badge(s, half, size):
    """A count of filled stalls, white on a badge, in a caption cell of its own."""
    c = Canvas(CAPTION_W, CAPTION_H, SS)
    cx, cy = CAPTION_W / 2.0, CAPTION_H / 2.0
    c.rrect((cx - half, cy - 18, cx + half, cy + 18), 10, fill=INK)
    c.rrect((cx - half + 2, cy - 16, cx + half - 2, cy + 16), 8, fill=(230, 84, 60))
    c.text((cx, cy), s, size, fill=WHITE, stroke=2, stroke_fill=INK)
    return c.result()


def _captions_small(t):
    texts = [None, t["caption_bin"], (t["caption_new_record"],), (t["caption_no_record"],)]
    texts += [(t["caption_count"] % n,) for n in range(8)]
    assert len(texts) == CAPTION_NO_ENTRY
    texts += [None] + [[word] for word in t["caption_neighbours"]]
    c = Canvas(CAPTION_W, CAPTION_H * len(texts), SS)
    for row, lines in enumerate(texts):
        cx, cy = CAPTION_W / 2.0, row * CAPTION_H + CAPTION_H / 2.0
        if row == CAPTION_NO_ENTRY:
            no_entry(c, cx, cy)
        elif lines is None:
            _cross(c, cx, cy)
        elif row > CAPTION_NO_ENTRY:
            # A word of the sentence under the tree's heading: as its other words.
            c.text((cx, cy), lines[0], 16, fill=INK, anchor="mm")
        elif len(lines) == 2:
            bin_badge(c, cx, cy, lines)
        elif row == 3:
            c.text((cx, cy), lines[0], 18, fill=BROWN)
        else:
            # The record's ribbon and the count of filled stalls: white on a badge.
            color = (250, 176, 40) if row == 2 else (230, 84, 60)
            half = 74 if row == 2 else 52
            c.rrect((cx - half, cy - 18, cx + half, cy + 18), 10, fill=INK)
            c.rrect((cx - half + 2, cy - 16, cx + half - 2, cy + 16), 8, fill=color)
            c.text((cx, cy), lines[0], 19 if row == 2 else 22, fill=WHITE, stroke=2, stroke_fill=INK)
    return c.result()


# The end cards' round icons: gold for a win, coral for a loss. They also come
# smaller, on other discs, as the marks of the results screen.
GOLD_DISC = (255, 210, 80)
CORAL_DISC = (236, 96, 80)
# A match left for the menu was neither won nor lost: a quiet slate.
LEFT_DISC = (150, 156, 176)


def icon_round(c, x, y, color):
    c.circle(x + 2, y + 3, 40, fill=(30, 15, 5, 90))
    c.circle(x, y, 40, fill=INK)
    c.circle(x, y, 36.5, fill=color)
    c.ellipse((x - 25, y - 30, x + 10, y - 12), fill=(255, 255, 255, 70))


def icon_star(c, x, y, disc=GOLD_DISC):
    icon_round(c, x, y, disc)
    c.blob([("poly", star_points(x, y + 2, 27, 12))], (255, 244, 170), INK, 2.5)


def icon_tree(c, x, y, disc=GOLD_DISC):
    """A whole tree of seven stalls, balanced, with a sparkle or two."""
    icon_round(c, x, y, disc)
    mini_tree(c, x, y - 18, [""] * 7, 14, 17, 4.8, [GREEN] * 7)
    sparkle(c, x + 22, y - 22, 6, WHITE)
    sparkle(c, x - 24, y - 12, 4.5, WHITE)


def icon_clock(c, x, y, disc=CORAL_DISC):
    icon_round(c, x, y, disc)
    c.circle(x, y, 24, fill=INK)
    c.circle(x, y, 21, fill=WHITE)
    for k in range(12):
        a = math.radians(k * 30)
        c.line([(x + 16 * math.cos(a), y + 16 * math.sin(a)),
                (x + 19 * math.cos(a), y + 19 * math.sin(a))], INK, 1.6)
    c.line([(x, y), (x, y - 15)], INK, 3)
    c.line([(x, y), (x + 10, y + 3)], INK, 3)
    c.circle(x, y, 3, fill=RED)


def icon_twins(c, x, y, disc=CORAL_DISC):
    icon_round(c, x, y, disc)
    f = frutas.fruit(7).resize((36, 36), Image.LANCZOS)
    c.paste(f, x - 36, y - 16)
    c.paste(f, x + 0, y - 16)
    c.text((x, y - 24), "=", 18, fill=WHITE, stroke=1.8, stroke_fill=INK)


def icon_rotate(c, x, y, disc=CORAL_DISC):
    icon_round(c, x, y, disc)
    c.ring_arc(x - 2, y + 6, 19, 195, 345, INK, 8)
    c.ring_arc(x - 2, y + 6, 19, 195, 345, WHITE, 4.6)
    ex = x - 2 + 19 * math.cos(math.radians(345))
    ey = y + 6 + 19 * math.sin(math.radians(345))
    c.blob([("poly", [(ex - 8, ey - 1), (ex + 8, ey - 4), (ex + 2, ey + 10)])], WHITE, INK, 2)
    c.circle(x + 15, y + 17, 11, fill=INK)
    c.circle(x + 15, y + 17, 9, fill=(255, 220, 90))
    c.line([(x + 11, y + 13), (x + 19, y + 21)], INK, 2.6)
    c.line([(x + 11, y + 21), (x + 19, y + 13)], INK, 2.6)


def icon_stall(c, x, y, disc=CORAL_DISC):
    icon_round(c, x, y, disc)
    c.blob([("rr", x - 20, y - 20, x + 20, y - 8, 4)], RED, INK, 2)
    c.rect((x - 18, y - 18, x - 9, y - 10), fill=CREAM)
    c.rect((x + 2, y - 18, x + 11, y - 10), fill=CREAM)
    c.blob([("rr", x - 16, y - 8, x + 16, y + 20, 3)], WOOD, INK, 2)
    c.circle(x, y + 4, 10, fill=INK)
    c.text((x, y + 4.5), "?", 16, fill=WHITE)


def icon_dead_end(c, x, y, disc=CORAL_DISC):
    """A road that ends at a barrier: there is no way on."""
    icon_round(c, x, y, disc)
    road = [("poly", [(x - 9, y - 6), (x + 9, y - 6), (x + 13, y + 34), (x - 13, y + 34)])]
    c.blob(road, (96, 96, 104), INK, 2.4)
    c.line([(x, y), (x, y + 8)], WHITE, 3)
    c.line([(x, y + 16), (x, y + 26)], WHITE, 3)
    # The barrier across the road's end: white with red stripes, on two posts.
    for px in (x - 18, x + 18):
        c.blob([("rr", px - 2.5, y - 16, px + 2.5, y + 4, 1.5)], WHITE, INK, 1.8)
    c.blob([("rr", x - 26, y - 24, x + 26, y - 10, 3)], WHITE, INK, 2.4)
    for k in range(4):
        sx = x - 22 + k * 13
        c.polygon([(sx, y - 22), (sx + 6, y - 22), (sx + 2, y - 12), (sx - 4, y - 12)], fill=RED)
    c.rrect((x - 26, y - 24, x + 26, y - 10), 3, outline=INK, width=2.4)


def icon_tipped(c, x, y, disc=CORAL_DISC):
    """A seesaw down on its heavy side: a tree out of balance."""
    icon_round(c, x, y, disc)
    c.blob([("poly", [(x, y + 1), (x + 11, y + 21), (x - 11, y + 21)])], WOOD, INK, 2.2)
    a = math.radians(22)
    ux, uy = math.cos(a), -math.sin(a)
    left = (x - 27 * ux, y + 1 - 27 * uy)
    right = (x + 27 * ux, y + 1 + 27 * uy)
    c.line([left, right], INK, 7.5)
    c.line([left, right], WOOD_LIGHT, 4)
    # Two weights on the low end, none on the high one.
    for k, col in enumerate((RED, ORANGE)):
        bx = left[0] + 5 + k * 10 * ux
        by = left[1] - 7 + k * 10 * uy
        c.circle(bx, by, 6.5, fill=INK)
        c.circle(bx, by, 5, fill=col)
    c.circle(left[0] + 10, left[1] - 19, 6.5, fill=INK)
    c.circle(left[0] + 10, left[1] - 19, 5, fill=YELLOW)


def icon_left(c, x, y, disc=LEFT_DISC):
    """An open door with an arrow going out of it: a match left for the menu."""
    icon_round(c, x, y, disc)
    c.blob([("rr", x - 20, y - 20, x + 2, y + 20, 3)], (92, 64, 44), INK, 2.4)
    c.blob([("poly", [(x - 20, y - 20), (x - 7, y - 15), (x - 7, y + 25), (x - 20, y + 20)])],
           WOOD, INK, 2.2)
    c.circle(x - 11, y + 4, 2, fill=YELLOW, outline=INK, width=1)
    c.line([(x - 2, y + 1), (x + 14, y + 1)], INK, 9)
    c.line([(x - 2, y + 1), (x + 14, y + 1)], WHITE, 5)
    c.blob([("poly", [(x + 11, y - 10), (x + 24, y + 1), (x + 11, y + 12)])], WHITE, INK, 2.2)


def icon_unbalanced(c, x, y, disc=CORAL_DISC):
    """A tree leaning to one side, its top stall asking which one lost its balance."""
    icon_round(c, x, y, disc)
    nodes = [(x + 11, y - 13), (x - 5, y + 5), (x - 19, y + 22)]
    c.line(nodes, INK, 7)
    c.line(nodes, WOOD_LIGHT, 3)
    for nx, ny in nodes[1:]:
        c.circle(nx, ny, 9.5, fill=INK)
        c.circle(nx, ny, 7, fill=GREEN)
    rx, ry = nodes[0]
    c.circle(rx, ry, 16, fill=INK)
    c.circle(rx, ry, 13.5, fill=YELLOW)
    c.text((rx, ry + 1), "?", 22, fill=INK)


def _answer_position(c, labels):
    belonged, fruit, put = labels
    _card_tree(c, belonged)
    _card_fruit_spot(c, fruit)
    _cross(c, 492, 374, 7)
    c.text((506, 374), put, 13, fill=INK, bold=False, anchor="lm")


def _answer_rotation(c, labels):
    label, = labels
    c.text((400, 262), label, 19, fill=INK, anchor="mm")
    sparkle(c, 262, 336, 9)
    sparkle(c, 538, 336, 9)


def _answer_key(c, labels):
    tree, fruit = labels
    _card_tree(c, tree)
    _card_fruit_spot(c, fruit)


def _answer_time(c, labels):
    tree, stalls, filled = labels
    _card_tree(c, tree)
    c.text((545, 346), stalls, 17, fill=INK, anchor="mm")
    c.text((545, 368), filled, 17, fill=INK, anchor="mm")


def _answer_stuck(c, labels):
    """The tree, with the sign the game puts on the stall; on the right the end of
    the sentence the game begins with the numbers closing that stall."""
    tree, fits, bin_lines = labels
    _card_tree(c, tree)
    x = (470 + ANSWER_PANEL[2]) / 2.0 - 3
    for dy, line in zip((0, 19), fits):
        c.text((x, CARD_NEIGHBOURS_Y + 46 + dy), line, 16, fill=INK, anchor="mm")
    bin_badge(c, CARD_BIN_BADGE[0], CARD_BIN_BADGE[1], bin_lines)


# The big market's wrong stall named as the one out of balance: the game draws the
# tree over the left of the answer panel, up to WHERE_LEGEND_X; right of it, a
# legend of the marks it puts on the tree: a cross on the stall chosen, a gold
# ring on the one out of balance.
WHERE_LEGEND_X = 518
WHERE_RING = (250, 176, 40)


def gold_ring(c, x, y, r):
    c.circle(x, y, r + 3.2, fill=INK)
    c.circle(x, y, r + 1.8, fill=WHERE_RING)
    c.circle(x, y, r - 1.8, fill=INK)
    c.circle(x, y, r - 3.2, fill=(255, 250, 234))


def _answer_where(c, labels):
    chosen, (ring1, ring2) = labels
    x0, y0, x1, y1 = ANSWER_PANEL
    c.line([(WHERE_LEGEND_X, y0 + 14), (WHERE_LEGEND_X, y1 - 12)], (226, 196, 140), 2)
    cx = (WHERE_LEGEND_X + x1) / 2.0
    _cross(c, cx, 288, 10)
    c.text((cx, 316), chosen, 13, fill=INK, anchor="mm")
    gold_ring(c, cx, 366, 13)
    c.text((cx, 396), ring1, 13, fill=INK, anchor="mm")
    c.text((cx, 412), ring2, 13, fill=INK, anchor="mm")


# Each mistake: the name of its texts, its icon, and the room where the game
# draws its answer. A practice shows the same lost card under a heading of its
# own, so the game draws the answer at the same places in a match and in practice.
MISTAKES = {
    "posicao": ("position", icon_stall, _answer_position),
    "rotacao": ("rotation", icon_rotate, _answer_rotation),
    "chave": ("key", icon_twins, _answer_key),
    "tempo": ("time", icon_clock, _answer_time),
    "semsaida": ("stuck", icon_dead_end, _answer_stuck),
    "equilibrio": ("where", icon_tipped, _answer_where),
}
LOST_RED = (230, 84, 60)
PRACTICE_TEAL = TEAL


def lost(kind, t):
    name, icon, answer = MISTAKES[kind]
    c = _end_base(t["lost_" + name], LOST_RED, icon)
    answer(c, t["lost_%s_labels" % name])
    return c.result()


# The wrong "where" card is kept as the card alone, the game dimming the window
# itself and drawing the card at the crop's top left: a whole window of
# transparency would cost memory for nothing. The card stands where the other
# lost cards do, so a practice heading lies over it at the same place.
LOST_WHERE_CROP = (137, 13, 667, 561)


def lost_where(t):
    name, icon, answer = MISTAKES["equilibrio"]
    c = Canvas(SW, SH, SS)
    _end_board(c, t["lost_" + name], LOST_RED, icon)
    answer(c, t["lost_%s_labels" % name])
    return c.result().crop(LOST_WHERE_CROP)


# A practice mistake's card is the lost card with its heading (title, rule and the
# line that says the move is taken back) laid over it: one strip each, stacked in
# one sheet in the order of the mistakes (wrong stall, wrong rotation, repeated
# number, dead end, then the big market's wrong stall out of balance), drawn by the
# game at HEADING_BOX's top left.
HEADING_BOX = (150, 96, 650, 224)
PRACTICE_HEADINGS = ("posicao", "rotacao", "chave", "semsaida", "equilibrio")


def practice_heading(kind, t):
    """A practice mistake's heading: the lost card's rule under a friendlier title,
    and a last line saying the move is taken back, cut from a card drawn like it."""
    name, icon, _ = MISTAKES[kind]
    title, again = t["practice_" + name]
    _, rule, soft = t["lost_" + name]
    return _end_base((title, rule, soft), PRACTICE_TEAL, icon, again).result().crop(HEADING_BOX)


def _clear_text_lines(c, lines, y0, size, leading=1.32, color=INK, bold_first=False):
    y = y0
    for k, (s, bold, col) in enumerate(lines):
        c.text((400, y), s, size, fill=col or color, bold=bold, anchor="ma")
        y += size * leading
    return y


# ---------------------------------------------------------------------------
# instructions
# ---------------------------------------------------------------------------
def _section(c, x, y, title, color):
    c.circle(x + 7, y + 9, 7, fill=INK)
    c.circle(x + 7, y + 9, 5, fill=color)
    c.text((x + 20, y + 9), title, 17, fill=INK, anchor="lm")
    return y + 24


def _bullets(c, x, y, items, maxw, size=13.5):
    for s in items:
        c.circle(x + 4, y + size * 0.62, 2.3, fill=(150, 80, 50))
        y = c.paragraph(x + 12, y, s, size, maxw - 12, fill=INK, leading=1.28) + 3
    return y


DIAGRAM_W, DIAGRAM_H = 187, 158
DIAGRAM_SCALE = 0.9  # the sketches, so that before and after stand side by side


def _rotation_diagram(c, x0, y0, name, case, before, after, heavy_color):
    """One rotation: its name, the case it fixes and a sketch, before -> after."""
    w, h, s = DIAGRAM_W, DIAGRAM_H, DIAGRAM_SCALE
    c.rrect((x0 + 3, y0 + 4, x0 + w + 3, y0 + h + 4), 10, fill=(30, 15, 5, 70))
    c.rrect((x0, y0, x0 + w, y0 + h), 10, fill=INK)
    c.rrect((x0 + 2, y0 + 2, x0 + w - 2, y0 + h - 2), 8, fill=(255, 250, 236))
    c.rrect((x0 + 2, y0 + 2, x0 + w - 2, y0 + 46), 8, fill=heavy_color)
    c.rect((x0 + 2, y0 + 36, x0 + w - 2, y0 + 46), fill=heavy_color)
    c.line([(x0 + 2, y0 + 46), (x0 + w - 2, y0 + 46)], INK, 2)
    name1, name2 = name
    c.text((x0 + w / 2, y0 + 15), name1, 14.5, fill=WHITE, stroke=1.6, stroke_fill=INK)
    c.text((x0 + w / 2, y0 + 33), name2, 14.5, fill=WHITE, stroke=1.6, stroke_fill=INK)
    c.text((x0 + w / 2, y0 + 60), case, 13.5, fill=(170, 70, 40), bold=True, condensed=True)

    def draw_tree(nodes, edges, cx, cy):
        """The sketch centred on (cx, cy) by its outermost nodes."""
        xs = [n[0] for n in nodes.values()]
        ys = [n[1] for n in nodes.values()]
        ox = cx - s * (min(xs) + max(xs)) / 2.0
        oy = cy - s * (min(ys) + max(ys)) / 2.0
        at = {k: (ox + s * nx, oy + s * ny) for k, (nx, ny, _) in nodes.items()}
        for a, b in edges:
            c.line([at[a], at[b]], INK, 2.2)
        for k, (_, _, col) in nodes.items():
            c.circle(at[k][0], at[k][1], 13 * s, fill=INK)
            c.circle(at[k][0], at[k][1], 11 * s, fill=col)
            c.text((at[k][0], at[k][1] + 0.5), k, 13 * s, fill=WHITE, stroke=1.5, stroke_fill=INK)

    mid = y0 + 70 + (h - 76) / 2.0
    draw_tree(before[0], before[1], x0 + 43, mid)
    # Arrow to the right, from before to after.
    ax, ay = x0 + 85, mid
    c.line([(ax, ay), (ax + 7, ay)], INK, 6)
    c.line([(ax, ay), (ax + 7, ay)], ORANGE, 3)
    c.blob([("poly", [(ax + 6, ay - 7), (ax + 6, ay + 7), (ax + 14, ay)])], ORANGE, INK, 1.6)
    draw_tree(after[0], after[1], x0 + 140, mid)


def instructions(t):
    c = Canvas(SW, SH, SS)
    cobbles(c, (0, 0, SW, SH), 41)
    c.rect((0, 0, SW, SH), fill=(255, 240, 210, 120))
    title_text(c, (400, 30), t["how_to_play"], 36, fill=ORANGE, stroke=3.2)

    # Left card: goal, controls, rules.
    board(c, (10, 58, 398, 506), r=14, fill=PAPER, edge=WOOD, edge_w=5)
    x, y, mw = 26, 72, 358
    heading, text = t["goal"]
    y = _section(c, x, y, heading, GREEN)
    y = c.paragraph(x + 4, y, text, 14, mw, fill=INK, leading=1.26) + 8
    heading, items = t["controls"]
    y = _section(c, x, y, heading, BLUE)
    y = _bullets(c, x + 4, y, items, mw, 13) + 4
    heading, items = t["rules"]
    y = _section(c, x, y, heading, RED)
    y = _bullets(c, x + 4, y, items, mw, 13)

    # A tiny picture of the loop: fruit -> stall, or fruit -> bin.
    y = max(y + 4, 444)
    c.paste(frutas.fruit(42).resize((46, 46), Image.LANCZOS), 40, y)
    c.text((104, y + 23), "→", 22, fill=(230, 120, 40))
    st = barracas.stall(2).resize((42, 52), Image.LANCZOS)
    c.paste(st, 124, y - 4)
    c.paste(frutas.fruit(42).resize((19, 19), Image.LANCZOS), 135.5, y + 7.5)
    c.text((232, y + 14), t["or_else"][0], 13, fill=(150, 80, 50), bold=False)
    c.text((232, y + 32), t["or_else"][1], 14, fill=DARK_GREEN)
    c.blob([("poly", [(300, y + 8), (336, y + 8), (333, y + 46), (303, y + 46)])],
           (76, 160, 84), INK, 2)
    for xx in (311, 318, 325):
        c.line([(xx, y + 16), (xx, y + 40)], (50, 116, 60), 1.6)
    c.blob([("rr", 313, y - 3, 323, y + 3, 2)], (66, 140, 74), INK, 1.6)
    c.blob([("rr", 296, y + 1, 340, y + 9, 3)], (66, 140, 74), INK, 2)

    # Right side: the four rotations.
    c.text((597, 70), t["which_rotation"], 18, fill=INK)
    LL = ({"30": (16, 0, RED), "20": (-8, 26, RED), "10": (-32, 52, RED)},
          [("30", "20"), ("20", "10")])
    RR = ({"10": (-16, 0, RED), "20": (8, 26, RED), "30": (32, 52, RED)},
          [("10", "20"), ("20", "30")])
    LR = ({"30": (22, 0, RED), "10": (-8, 26, RED), "20": (14, 52, RED)},
          [("30", "10"), ("10", "20")])
    RL = ({"10": (-22, 0, RED), "30": (8, 26, RED), "20": (-14, 52, RED)},
          [("10", "30"), ("30", "20")])
    BAL = ({"20": (0, 0, GREEN), "10": (-30, 28, GREEN), "30": (30, 28, GREEN)},
           [("20", "10"), ("20", "30")])
    # In the order of the rotation buttons: single right, double right, single left, double left.
    row2 = 88 + DIAGRAM_H + 8
    for (x0, y0, before, color), name, case in zip(
            ((406, 88, LL, TEAL), (602, 88, LR, PURPLE), (406, row2, RR, TEAL), (602, row2, RL, PURPLE)),
            t["rotations"], t["cases"]):
        _rotation_diagram(c, x0, y0, name, case, before, BAL, color)

    # Below them: practice, its keys, and the results.
    top = row2 + DIAGRAM_H + 10
    board(c, (406, top, 789, 594), r=12, fill=PAPER, edge=WOOD, edge_w=5)
    heading, items = t["practice_keys"]
    y = _section(c, 418, top + 10, heading, TEAL)
    _bullets(c, 422, y, items, 789 - 16 - 422, 13)
    return c.result()



def practice_headings(t):
    x0, y0, x1, y1 = HEADING_BOX
    sheet = Image.new("RGBA", (x1 - x0, (y1 - y0) * len(PRACTICE_HEADINGS)), (0, 0, 0, 0))
    for row, kind in enumerate(PRACTICE_HEADINGS):
        sheet.alpha_composite(practice_heading(kind, t), (0, row * (y1 - y0)))
    return sheet


def generate(want, t):
    """Returns {file name: image} of every full-window picture, its texts from table t."""
    result = {}
    if want("TelaJogo.png"):
        result["TelaJogo.png"] = scene(t)
    if want("TelaMenu.png"):
        result["TelaMenu.png"] = menu(t)
    if want("AvisoRotacao.png"):
        result["AvisoRotacao.png"] = rotation_prompt(t)
    if want("Ganhou.png"):
        result["Ganhou.png"] = won(t)
    for name, kind in (("PerdeuPosicao.png", "posicao"), ("PerdeuRotacao.png", "rotacao"),
                       ("PerdeuChave.png", "chave"), ("PerdeuTempo.png", "tempo"),
                       ("PerdeuSemSaida.png", "semsaida")):
        if want(name):
            result[name] = lost(kind, t)
    if want("PerdeuEquilibrio.png"):
        result["PerdeuEquilibrio.png"] = lost_where(t)
    if want("PraticaTitulos.png"):
        result["PraticaTitulos.png"] = practice_headings(t)
    if want("PraticaCompleta.png"):
        result["PraticaCompleta.png"] = practice_complete(t)
    if want("Legendas.png"):
        result["Legendas.png"] = captions(t)
    if want("Instrucoes.png"):
        result["Instrucoes.png"] = instructions(t)
    return result
