"""Signs laid over every screen: the speaker struck through, shown while the game is muted."""
from .base import Canvas, INK, CREAM, RED

SIGN = 36  # square, drawn in a corner clear of every button


def muted():
    """A dark tile rimmed in cream, a cream speaker, and a red stroke across it.

    Broad flat shapes: it reads at a glance on the light market and on the dark
    lanes, and stays sharp when full screen scales it up.
    """
    c = Canvas(SIGN, SIGN)
    c.rrect((0, 0, SIGN, SIGN), 9, fill=CREAM)
    c.rrect((2.5, 2.5, SIGN - 2.5, SIGN - 2.5), 7, fill=INK)
    c.blob([("rr", 8, 14, 15, 22, 1.5), ("poly", [(13, 14), (22, 7.5), (22, 28.5), (13, 22)])], CREAM,
           None, 0)
    c.ring_arc(22, 18, 6.5, -45, 45, CREAM, 2.4)
    # The stroke, cut out of the speaker by a rim of the tile's own colour.
    c.line([(8, 8), (28, 28)], INK, 8)
    c.line([(8, 8), (28, 28)], RED, 4.5)
    return c.result()


def generate(want):
    if not want("SemSom.png"):
        return {}
    return {"SemSom.png": muted()}
