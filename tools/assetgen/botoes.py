"""Button sheets: three frames (rest, hover, pressed) stacked vertically."""
import math

from PIL import Image

from .base import (Canvas, INK, WHITE, GREEN, ORANGE, RED, TEAL, BLUE, PURPLE, YELLOW,
                   lighter, darker, mix, rgba)

# Label text is white with a dark stroke; body colours per button.
STATE_REST, STATE_HOVER, STATE_PRESSED = range(3)


def _body(c, w, h, color, state, top=3, bottom=None, radius=16, lip=6, outline=2.5):
    """Draws the button body; returns (face_box, dy) so callers can place the label."""
    if bottom is None:
        bottom = h - 3
    if state == STATE_HOVER:
        base = lighter(color, 0.22)
    elif state == STATE_PRESSED:
        base = darker(color, 0.16)
    else:
        base = color
    x0, x1 = 2.5, w - 2.5
    # Soft drop shadow (not for the pressed frame: it is sunk into the board).
    if state != STATE_PRESSED:
        c.rrect((x0 + 1, top + 2, x1 + 0.5, bottom + 0.5), radius, fill=(40, 20, 10, 70))
    # Outline + side (the "thickness" under the face).
    c.rrect((x0, top, x1, bottom), radius, fill=INK)
    side = darker(base, 0.32)
    ins = outline
    c.rrect((x0 + ins, top + ins, x1 - ins, bottom - ins), radius - ins, fill=side)
    dy = 2 if state == STATE_PRESSED else 0
    face_lip = lip - 2 if state == STATE_PRESSED else lip
    fy0 = top + ins + dy
    fy1 = bottom - ins - face_lip
    face = (x0 + ins, fy0, x1 - ins, fy1)
    c.blob_gradient([("rr",) + face + (radius - ins,)], lighter(base, 0.18), darker(base, 0.06),
                    outline=None)
    # Glossy highlight band on the top half of the face.
    gl = (x0 + ins + 7, fy0 + 3, x1 - ins - 7, fy0 + (fy1 - fy0) * 0.45)
    alpha = 60 if state == STATE_PRESSED else (120 if state == STATE_HOVER else 95)
    c.blob_gradient([("rr",) + gl + ((gl[3] - gl[1]) / 2.0,)], (255, 255, 255, alpha),
                    (255, 255, 255, 8), outline=None)
    if state == STATE_HOVER:
        c.rrect((x0 + ins + 1, fy0 + 1, x1 - ins - 1, fy1 - 1), radius - ins - 1,
                outline=(255, 255, 230, 200), width=1.6)
    return face, dy


def _label(c, xy, s, size, dy, condensed=False):
    x, y = xy
    c.text((x, y + dy + 1.5), s, size, fill=(40, 20, 10, 90), stroke=2.2,
           stroke_fill=(40, 20, 10, 90), condensed=condensed)
    c.text((x, y + dy), s, size, fill=WHITE, stroke=2.2, stroke_fill=INK, condensed=condensed)


def _fit(c, s, size, maxw, condensed=False):
    while size > 10 and c.text_width(s, size, True, condensed) > maxw:
        size -= 0.5
    return size


# -- small icons drawn inside a round badge ----------------------------------
def _icon_badge(c, cx, cy, r):
    c.circle(cx, cy, r + 2, fill=INK)
    c.circle(cx, cy, r, fill=(255, 250, 235, 255))


def _icon_play(c, cx, cy, color):
    _icon_badge(c, cx, cy, 13)
    pts = [(cx - 4.5, cy - 7.5), (cx + 8, cy), (cx - 4.5, cy + 7.5)]
    c.blob([("poly", pts)], color, INK, 1.5)


def _icon_question(c, cx, cy, color):
    _icon_badge(c, cx, cy, 13)
    c.text((cx, cy + 1), "?", 21, fill=color, stroke=1.3, stroke_fill=INK)


def _icon_exit(c, cx, cy, color):
    _icon_badge(c, cx, cy, 13)
    for a in (45, 135):
        dx = 6.5 * math.cos(math.radians(a))
        dy = 6.5 * math.sin(math.radians(a))
        c.line([(cx - dx, cy - dy), (cx + dx, cy + dy)], INK, 5.4)
    for a in (45, 135):
        dx = 6.5 * math.cos(math.radians(a))
        dy = 6.5 * math.sin(math.radians(a))
        c.line([(cx - dx, cy - dy), (cx + dx, cy + dy)], color, 2.8)


def _arrow_head(c, tip, ang_deg, size, color, outline=INK):
    a = math.radians(ang_deg)
    ux, uy = math.cos(a), math.sin(a)
    px, py = -uy, ux
    tx, ty = tip
    pts = [(tx, ty),
           (tx - ux * size + px * size * 0.75, ty - uy * size + py * size * 0.75),
           (tx - ux * size - px * size * 0.75, ty - uy * size - py * size * 0.75)]
    c.blob([("poly", pts)], color, outline, 1.3)


def _icon_back(c, cx, cy, color):
    _icon_badge(c, cx, cy, 13)
    c.line([(cx + 7, cy), (cx - 2, cy)], INK, 6.0)
    c.line([(cx + 7, cy), (cx - 2, cy)], color, 3.2)
    _arrow_head(c, (cx - 8, cy), 180, 7, color)


def _curved_arrow(c, cx, cy, r, clockwise, color, width=3.0, span=(205, 345), heads=1,
                  head=6.0):
    """An arc arrow around (cx, cy) turning clockwise or counter-clockwise."""
    a0, a1 = span
    if not clockwise:
        a0, a1 = 540 - a1, 540 - a0
    c.ring_arc(cx, cy, r, a0, a1, INK, width + 2.6)
    c.ring_arc(cx, cy, r, a0, a1, color, width)
    end = a1 if clockwise else a0
    ex = cx + r * math.cos(math.radians(end))
    ey = cy + r * math.sin(math.radians(end))
    tangent = end + (90 if clockwise else -90)
    ux, uy = math.cos(math.radians(tangent)), math.sin(math.radians(tangent))
    for k in range(heads - 1, -1, -1):
        d = head * 0.6 + k * head * 0.75
        _arrow_head(c, (ex + d * ux, ey + d * uy), tangent, head, color)


def _icon_again(c, cx, cy, color):
    _icon_badge(c, cx, cy, 13)
    _curved_arrow(c, cx, cy, 6.5, True, color, 2.4, span=(150, 400), head=5.5)


def _icon_rotation(c, cx, cy, clockwise, double, color):
    _icon_badge(c, cx, cy, 16)
    off = -3 if clockwise else 3
    _curved_arrow(c, cx + off, cy + 5, 9, clockwise, color, 3.0, span=(195, 350),
                  heads=2 if double else 1, head=6.0)


def _icon_practice(c, cx, cy, color):
    """A little tree of three stalls: building one at leisure."""
    _icon_badge(c, cx, cy, 13)
    root, left, right = (cx, cy - 6), (cx - 7, cy + 5.5), (cx + 7, cy + 5.5)
    for child in (left, right):
        c.line([root, child], INK, 1.8)
    for x, y in (root, left, right):
        c.circle(x, y, 3.9, fill=INK)
        c.circle(x, y, 2.6, fill=color)


def _icon_results(c, cx, cy, color):
    """A small bar chart, the bars rising to the right."""
    _icon_badge(c, cx, cy, 13)
    for k, h in enumerate((6, 10.5, 15)):
        x = cx - 7.5 + k * 5.5
        c.blob([("rr", x, cy + 7 - h, x + 4, cy + 7, 1)], color, INK, 1.3)
    c.line([(cx - 9, cy + 7.6), (cx + 9, cy + 7.6)], INK, 1.6)


def _icon_undo(c, cx, cy, color):
    """An arrow turning back over the top: the move taken back."""
    _icon_badge(c, cx, cy, 13)
    _curved_arrow(c, cx + 1, cy + 3, 6.5, False, color, 2.4, span=(180, 350), head=5.5)


ICONS = {"play": _icon_play, "question": _icon_question, "exit": _icon_exit,
         "back": _icon_back, "again": _icon_again, "practice": _icon_practice,
         "results": _icon_results, "undo": _icon_undo}


def _frame_simple(label, color, icon, state):
    w, h = 201, 71
    c = Canvas(w, h)
    face, dy = _body(c, w, h, color, state)
    cy = (face[1] + face[3]) / 2.0
    ICONS[icon](c, 33, cy, darker(color, 0.05))
    size = _fit(c, label, 26, 128)
    _label(c, (121, cy), label, size, 0)
    return c.result()


def _keycap(c, x, y, s, dy):
    """A small keyboard key showing the key that presses the button."""
    c.rrect((x - 10, y - 10 + dy, x + 10, y + 12 + dy), 5, fill=INK)
    c.rrect((x - 8, y - 8 + dy, x + 8, y + 8 + dy), 3.5, fill=(255, 250, 235, 255))
    c.text((x, y + dy + 0.5), s, 14, fill=INK)


def _frame_rotation(name, clockwise, double, color, key, state):
    w, h = 201, 71
    c = Canvas(w, h)
    face, dy = _body(c, w, h, color, state)
    cy = (face[1] + face[3]) / 2.0
    _icon_rotation(c, 32, cy, clockwise, double, darker(color, 0.05))
    _keycap(c, 16, 16, key, dy)
    line1, line2 = name
    _label(c, (122, cy - 10), line1, _fit(c, line1, 17, 140), 0)
    _label(c, (122, cy + 11), line2, _fit(c, line2, 19, 140), 0)
    return c.result()


def _sheet(frames, fw, fh, tops):
    sheet = Image.new("RGBA", (fw, tops[-1] + fh), (0, 0, 0, 0))
    for im, top in zip(frames, tops):
        sheet.alpha_composite(im, (0, top))
    return sheet


def big_sheet(make_frame):
    """201x213: frames at 0, 74, 142 (hover drawn before pressed)."""
    frames = [make_frame(s) for s in (STATE_REST, STATE_HOVER, STATE_PRESSED)]
    return _sheet(frames, 201, 71, [0, 74, 142])


def insert_frame(label, state):
    w, h = 102, 39
    c = Canvas(w, h)
    color = (74, 170, 88, 255)
    face, dy = _body(c, w, h, color, state, top=2, bottom=37, radius=11, lip=4, outline=2.0)
    cy = (face[1] + face[3]) / 2.0
    # A small "down into the stall" arrow.
    ax = 17
    c.circle(ax, cy, 10, fill=INK)
    c.circle(ax, cy, 8.3, fill=(255, 250, 235, 255))
    c.line([(ax, cy - 5), (ax, cy + 1)], INK, 4.6)
    c.line([(ax, cy - 5), (ax, cy + 1)], darker(color, 0.1), 2.2)
    _arrow_head(c, (ax, cy + 6), 90, 5.5, darker(color, 0.1))
    _label(c, (61, cy), label, _fit(c, label, 17, 74), 0)
    return c.result()


def leave_frame(label, state):
    """The small corner button that leaves the market for the menu: wood, not the
    insert button's green, with an arrow pointing back."""
    w, h = 102, 39
    c = Canvas(w, h)
    color = (160, 112, 70, 255)
    face, dy = _body(c, w, h, color, state, top=2, bottom=37, radius=11, lip=4, outline=2.0)
    cy = (face[1] + face[3]) / 2.0 + dy
    ax = 17
    c.circle(ax, cy, 10, fill=INK)
    c.circle(ax, cy, 8.3, fill=(255, 250, 235, 255))
    c.line([(ax + 5, cy), (ax - 1, cy)], INK, 4.6)
    c.line([(ax + 5, cy), (ax - 1, cy)], darker(color, 0.1), 2.2)
    _arrow_head(c, (ax - 6, cy), 180, 5.5, darker(color, 0.1))
    _label(c, (61, cy), label, _fit(c, label, 17, 74), 0)
    return c.result()


def page_frame(label, forward, state):
    """The small button that turns the instructions' page: "◂ page 1" back,
    "page 2 ▸" forward, in the instructions' orange."""
    w, h = 102, 39
    c = Canvas(w, h)
    face, dy = _body(c, w, h, ORANGE, state, top=2, bottom=37, radius=11, lip=4, outline=2.0)
    cy = (face[1] + face[3]) / 2.0 + dy
    tip, back = (92, 82) if forward else (10, 20)
    pts = [(tip, cy), (back, cy - 7), (back, cy + 7)]
    c.blob([("poly", [(x, y + 1.5) for x, y in pts])], (40, 20, 10, 90), None, 0)
    c.blob([("poly", pts)], WHITE, INK, 2.2)
    x0, x1 = (7, 76) if forward else (26, 95)
    condensed = c.text_width(label, 17) > x1 - x0
    _label(c, ((x0 + x1) / 2.0, cy), label, _fit(c, label, 17, x1 - x0, condensed), 0, condensed)
    return c.result()


# File, label (a key of the texts table), colour, icon.
SIMPLE_BUTTONS = [
    ("BotaoJogar.png", "play", GREEN, "play"),
    ("BotaoInstrucoes.png", "instructions", ORANGE, "question"),
    ("BotaoSair.png", "quit", RED, "exit"),
    ("BotaoVoltar.png", "back", ORANGE, "back"),
    ("BotaoJogarNovamente.png", "play_again", GREEN, "again"),
    ("BotaoPraticar.png", "practice", TEAL, "practice"),
    ("BotaoResultados.png", "results", PURPLE, "results"),
    ("BotaoTentarDeNovo.png", "try_again", BLUE, "undo"),
]

# File, turns clockwise, double, colour; the texts table names them in this order.
ROTATION_BUTTONS = [
    ("BotaoRotacaoDireita.png", True, False, TEAL),
    ("BotaoRotacaoDuplaDireita.png", True, True, PURPLE),
    ("BotaoRotacaoEsquerda.png", False, False, TEAL),
    ("BotaoRotacaoDuplaEsquerda.png", False, True, PURPLE),
]


def generate(out, t):
    """Returns {file name: image} of every button sheet, labelled from texts table t."""
    result = {}
    for name, label, color, icon in SIMPLE_BUTTONS:
        result[name] = big_sheet(lambda s, l=t[label], co=color, i=icon: _frame_simple(l, co, i, s))
    # Keys 1 to 4 press them in the order they stand, top to bottom.
    for key, ((name, clockwise, double, color), words) in enumerate(
            zip(ROTATION_BUTTONS, t["rotations"]), start=1):
        result[name] = big_sheet(lambda s, w=words, cw=clockwise, d=double, co=color, n=str(key):
                                 _frame_rotation(w, cw, d, co, n, s))
    frames = [insert_frame(t["insert"], s) for s in (STATE_REST, STATE_HOVER, STATE_PRESSED)]
    result["BotaoInserirFruta.png"] = _sheet(frames, 102, 39, [0, 39, 78])
    frames = [leave_frame(t["leave"], s) for s in (STATE_REST, STATE_HOVER, STATE_PRESSED)]
    result["BotaoMenu.png"] = _sheet(frames, 102, 39, [0, 39, 78])
    for name, label, forward in (("BotaoPagina1.png", t["page"][0], False),
                                 ("BotaoPagina2.png", t["page"][1], True)):
        frames = [page_frame(label, forward, s) for s in (STATE_REST, STATE_HOVER, STATE_PRESSED)]
        result[name] = _sheet(frames, 102, 39, [0, 39, 78])
    return result
