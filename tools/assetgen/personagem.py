"""The player: a market kid with a red cap and an apron.

Sheet 129x232: frames 43x58; rows face up, right, left, down; column 0 stands,
columns 1 and 2 are the two steps of the walk.
"""
from PIL import Image, ImageOps

from .base import Canvas, INK, darker, lighter

FW, FH = 43, 58
SKIN = (246, 198, 152, 255)
HAIR = (112, 66, 38, 255)
SHIRT = (64, 150, 206, 255)
APRON = (255, 248, 228, 255)
TRIM = (226, 82, 66, 255)
PANTS = (126, 86, 64, 255)
SHOE = (74, 46, 38, 255)
CAP = (228, 72, 60, 255)
O = 1.6  # outline width


def limb(c, pts, color, w):
    c.line(pts, INK, w + 2 * O)
    c.line(pts, color, w)


def shoe(c, x, y, w=7.0, h=4.2, toe=0.0):
    c.rrect((x - w / 2 + toe - O, y - h / 2 - O, x + w / 2 + toe + O, y + h / 2 + O), 2.6 + O,
            fill=INK)
    c.rrect((x - w / 2 + toe, y - h / 2, x + w / 2 + toe, y + h / 2), 2.6, fill=SHOE)


def _front_or_back(step, back):
    """Frame seen from the front (back=False) or from behind (back=True)."""
    c = Canvas(FW, FH)
    bob = -1 if step else 0
    lift_l = 4 if step == 1 else 0
    lift_r = 4 if step == 2 else 0
    cx = 21.5
    # Shadow on the ground.
    c.ellipse((cx - 12, 52.5, cx + 12, 57.5), fill=(40, 20, 10, 60))
    # Legs.
    limb(c, [(cx - 4.5, 41 + bob), (cx - 4.5, 51 - lift_l)], PANTS, 5.6)
    limb(c, [(cx + 4.5, 41 + bob), (cx + 4.5, 51 - lift_r)], PANTS, 5.6)
    shoe(c, cx - 5, 53 - lift_l, toe=0)
    shoe(c, cx + 5, 53 - lift_r, toe=0)
    # Arms swing opposite to the legs (the forward hand is a bit lower and bigger).
    la = 3.0 if step == 2 else (-3.0 if step == 1 else 0)
    ra = 3.0 if step == 1 else (-3.0 if step == 2 else 0)
    lx = 1.5 if step == 2 else (-1.0 if step == 1 else 0)
    rx = -1.5 if step == 1 else (1.0 if step == 2 else 0)
    limb(c, [(cx - 9, 28 + bob), (cx - 11.5, 34 + bob), (cx - 11.5 + lx, 39 + bob + la)],
         SHIRT, 4.6)
    limb(c, [(cx + 9, 28 + bob), (cx + 11.5, 34 + bob), (cx + 11.5 + rx, 39 + bob + ra)],
         SHIRT, 4.6)
    c.circle(cx - 11.5 + lx, 40.5 + bob + la, 2.6, fill=SKIN, outline=INK, width=1.3)
    c.circle(cx + 11.5 + rx, 40.5 + bob + ra, 2.6, fill=SKIN, outline=INK, width=1.3)
    # Torso.
    c.blob([("rr", cx - 9.5, 24 + bob, cx + 9.5, 44 + bob, 6)], SHIRT, INK, O)
    if back:
        # Apron strings tied in a bow at the back.
        c.line([(cx - 9, 36 + bob), (cx + 9, 36 + bob)], APRON, 2.2)
        c.blob([("ell", cx - 3.2, 36 + bob, 3.2, 2.2), ("ell", cx + 3.2, 36 + bob, 3.2, 2.2)],
               APRON, INK, 1.1)
        c.line([(cx - 1, 37 + bob), (cx - 3, 42 + bob)], APRON, 1.6)
        c.line([(cx + 1, 37 + bob), (cx + 3, 42 + bob)], APRON, 1.6)
        c.circle(cx, 36 + bob, 1.4, fill=TRIM)
        # Neck strap.
        c.line([(cx - 5, 25 + bob), (cx, 29 + bob), (cx + 5, 25 + bob)], APRON, 1.6)
    else:
        # Apron with bib, trim and a pocket.
        c.blob([("poly", [(cx - 6, 29 + bob), (cx + 6, 29 + bob), (cx + 8, 36 + bob),
                          (cx + 8.5, 46 + bob), (cx - 8.5, 46 + bob), (cx - 8, 36 + bob)])],
               APRON, INK, 1.2)
        c.line([(cx - 8.3, 45 + bob), (cx + 8.3, 45 + bob)], TRIM, 1.6)
        c.rrect((cx - 4, 37 + bob, cx + 4, 42 + bob), 1.5, fill=lighter(TRIM, 0.55),
                outline=INK, width=0.9)
        c.line([(cx - 6, 29 + bob), (cx - 4.5, 25 + bob)], APRON, 1.4)
        c.line([(cx + 6, 29 + bob), (cx + 4.5, 25 + bob)], APRON, 1.4)
    # Head.
    hy = 15 + bob
    c.blob([("ell", cx, hy, 10.5, 10), ("ell", cx - 10.5, hy + 1, 2.2, 2.8),
            ("ell", cx + 10.5, hy + 1, 2.2, 2.8)], SKIN, INK, O)
    if back:
        c.blob([("ell", cx, hy - 0.5, 10.3, 9.6)], HAIR, None, 0)
        c.ellipse((cx - 9, hy + 4, cx + 9, hy + 10), fill=HAIR)
        c.arc((cx - 10.5, hy - 10, cx + 10.5, hy + 10), 20, 160, INK, 1.4)
        # Cap seen from behind: round dome plus the strap.
        c.blob([("ell", cx, hy - 5, 11, 7.5)], CAP, INK, O)
        c.rect((cx - 11.5, hy - 3, cx + 11.5, hy + 0.5), fill=CAP)
        c.line([(cx - 11, hy + 0.5), (cx + 11, hy + 0.5)], INK, 1.4)
        c.rrect((cx - 3.5, hy - 2.5, cx + 3.5, hy + 0.2), 1, fill=lighter(CAP, 0.4))
    else:
        # Hair fringe and the cap with its brim towards us.
        c.ellipse((cx - 9.5, hy - 8, cx + 9.5, hy + 0), fill=HAIR)
        c.blob([("ell", cx, hy - 6, 11, 7)], CAP, INK, O)
        c.rect((cx - 11.3, hy - 6, cx + 11.3, hy - 3), fill=CAP)
        c.blob([("ell", cx, hy - 3, 12.5, 3.2)], darker(CAP, 0.15), INK, 1.3)
        c.circle(cx, hy - 12.5, 1.6, fill=lighter(CAP, 0.4), outline=INK, width=0.9)
        # Face.
        c.ellipse((cx - 5.3, hy + 0.5, cx - 2.7, hy + 4.3), fill=INK)
        c.ellipse((cx + 2.7, hy + 0.5, cx + 5.3, hy + 4.3), fill=INK)
        c.circle(cx - 3.6, hy + 1.5, 0.7, fill=(255, 255, 255, 255))
        c.circle(cx + 4.4, hy + 1.5, 0.7, fill=(255, 255, 255, 255))
        c.ellipse((cx - 8.3, hy + 4.5, cx - 5.3, hy + 6.7), fill=(240, 130, 120, 150))
        c.ellipse((cx + 5.3, hy + 4.5, cx + 8.3, hy + 6.7), fill=(240, 130, 120, 150))
        c.arc((cx - 3.2, hy + 3.2, cx + 3.2, hy + 8.2), 20, 160, INK, 1.3)
    return c.result()


def _side(step):
    """Frame facing right."""
    c = Canvas(FW, FH)
    bob = -1 if step else 0
    cx = 21.5
    c.ellipse((cx - 11, 52.5, cx + 11, 57.5), fill=(40, 20, 10, 60))
    # Leg positions: (hip, foot) x offsets for the back and front legs.
    if step == 0:
        back_leg, front_leg = (-1.5, -2.0), (1.5, 2.0)
        back_arm, front_arm = -1.0, 1.0
    elif step == 1:
        back_leg, front_leg = (-1.0, -6.5), (1.0, 6.5)
        back_arm, front_arm = 5.0, -5.0
    else:
        back_leg, front_leg = (1.0, 5.5), (-1.0, -5.5)
        back_arm, front_arm = -5.0, 5.0
    hip = 41 + bob
    # Back arm and back leg are darker (in shadow).
    limb(c, [(cx + back_leg[0], hip), (cx + back_leg[1], 51)], darker(PANTS, 0.15), 5.6)
    shoe(c, cx + back_leg[1], 53, w=8, toe=1.5)
    limb(c, [(cx, 28 + bob), (cx + back_arm * 0.6, 35 + bob), (cx + back_arm, 39 + bob)],
         darker(SHIRT, 0.15), 4.4)
    c.circle(cx + back_arm, 40.5 + bob, 2.5, fill=darker(SKIN, 0.1), outline=INK, width=1.3)
    # Torso with the apron on the front (right) side.
    c.blob([("rr", cx - 7, 24 + bob, cx + 7, 44 + bob, 6)], SHIRT, INK, O)
    c.blob([("poly", [(cx + 3, 29 + bob), (cx + 7.5, 29 + bob), (cx + 8.5, 46 + bob),
                      (cx + 1, 46 + bob)])], APRON, INK, 1.2)
    c.line([(cx + 1.5, 45 + bob), (cx + 8.2, 45 + bob)], TRIM, 1.6)
    c.line([(cx - 7, 36 + bob), (cx + 2, 36 + bob)], APRON, 1.8)
    # Front leg.
    limb(c, [(cx + front_leg[0], hip), (cx + front_leg[1], 51)], PANTS, 5.6)
    shoe(c, cx + front_leg[1], 53, w=8, toe=1.5)
    # Head, facing right.
    hy = 15 + bob
    c.blob([("ell", cx, hy, 10, 10), ("ell", cx + 9.6, hy + 3, 2.2, 2.0)], SKIN, INK, O)
    c.ellipse((cx - 10, hy - 8, cx + 6, hy + 5), fill=HAIR)
    c.ellipse((cx - 4.5, hy - 1, cx + 1.5, hy + 5), fill=SKIN)  # ear area
    c.blob([("ell", cx - 1.5, hy + 2, 2.0, 2.6)], SKIN, INK, 1.0)
    c.blob([("ell", cx, hy - 6, 10.5, 7)], CAP, INK, O)
    c.rect((cx - 10.8, hy - 6, cx + 10.8, hy - 3), fill=CAP)
    c.blob([("rr", cx + 2, hy - 4.6, cx + 15, hy - 1.8, 1.4)], darker(CAP, 0.15), INK, 1.2)
    c.line([(cx - 10.5, hy - 3), (cx + 4, hy - 3)], INK, 1.3)
    c.ellipse((cx + 4.2, hy + 0.5, cx + 6.6, hy + 4.3), fill=INK)
    c.circle(cx + 5.6, hy + 1.5, 0.6, fill=(255, 255, 255, 255))
    c.ellipse((cx + 2.5, hy + 5, cx + 5.5, hy + 7.2), fill=(240, 130, 120, 150))
    c.arc((cx + 4.5, hy + 4.5, cx + 9, hy + 8.5), 30, 120, INK, 1.2)
    # Front arm on top.
    limb(c, [(cx, 28 + bob), (cx + front_arm * 0.6, 35 + bob), (cx + front_arm, 39 + bob)],
         SHIRT, 4.6)
    c.circle(cx + front_arm, 40.5 + bob, 2.6, fill=SKIN, outline=INK, width=1.3)
    return c.result()


def sheet():
    im = Image.new("RGBA", (FW * 3, FH * 4), (0, 0, 0, 0))
    for col in range(3):
        up = _front_or_back(col, back=True)
        right = _side(col)
        left = ImageOps.mirror(right)
        down = _front_or_back(col, back=False)
        for row, fr in enumerate((up, right, left, down)):
            im.alpha_composite(fr, (col * FW, row * FH))
    return im


def generate(want):
    if not want("Personagem.png"):
        return {}
    return {"Personagem.png": sheet()}
