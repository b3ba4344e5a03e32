"""Drawing helpers shared by every picture of the game.

Everything is drawn on a supersampled RGBA canvas (coordinates are given in
final pixels and scaled internally) and reduced with LANCZOS at the end, so
edges come out anti-aliased.
"""
import math
import os

from PIL import Image, ImageChops, ImageDraw, ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# Warm market palette.
INK = (61, 38, 30, 255)          # outlines
INK_SOFT = (61, 38, 30, 110)
CREAM = (255, 246, 222, 255)
PAPER = (255, 239, 200, 255)
WHITE = (255, 255, 255, 255)
RED = (222, 72, 62, 255)
ORANGE = (244, 144, 44, 255)
YELLOW = (252, 204, 64, 255)
GREEN = (104, 176, 72, 255)
DARK_GREEN = (58, 124, 52, 255)
TEAL = (52, 156, 176, 255)
BLUE = (70, 126, 206, 255)
PURPLE = (142, 88, 186, 255)
PINK = (236, 110, 150, 255)
WOOD = (186, 122, 66, 255)
WOOD_DARK = (136, 84, 46, 255)
WOOD_LIGHT = (222, 168, 104, 255)
SAND = (236, 206, 150, 255)
GRASS = (132, 190, 86, 255)


def rgba(c, a=None):
    c = tuple(c)
    if len(c) == 3:
        c = c + (255,)
    if a is not None:
        c = c[:3] + (a,)
    return c


def mix(c1, c2, t):
    c1, c2 = rgba(c1), rgba(c2)
    return tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2))


def lighter(c, t=0.3):
    return mix(c, (255, 255, 255, rgba(c)[3]), t)


def darker(c, t=0.3):
    return mix(c, (0, 0, 0, rgba(c)[3]), t)


_font_cache = {}


def font(size, bold=True, condensed=False, serif=False):
    """DejaVu font at a given pixel size (already supersampled by the caller)."""
    name = "DejaVuSerif" if serif else "DejaVuSans"
    if condensed:
        name += "Condensed"
    if bold:
        name += "-Bold"
    key = (name, int(round(size)))
    if key not in _font_cache:
        _font_cache[key] = ImageFont.truetype(os.path.join(FONT_DIR, name + ".ttf"), key[1])
    return _font_cache[key]


class Canvas:
    """A supersampled RGBA drawing surface; all coordinates in final pixels."""

    def __init__(self, w, h, ss=4, bg=(0, 0, 0, 0)):
        self.w, self.h, self.ss = w, h, ss
        self.img = Image.new("RGBA", (w * ss, h * ss), rgba(bg))
        self.d = ImageDraw.Draw(self.img)

    # -- coordinate helpers -------------------------------------------------
    def p(self, v):
        return v * self.ss

    def pt(self, x, y):
        return (x * self.ss, y * self.ss)

    def box(self, b):
        x0, y0, x1, y1 = b
        s = self.ss
        return [x0 * s, y0 * s, x1 * s, y1 * s]

    # -- primitive shapes ---------------------------------------------------
    # ImageDraw writes RGBA values as they are (no blending), so anything
    # translucent is drawn on a small layer that is then alpha-composited.
    def _draw(self, colors, bbox, fn):
        """fn(draw, dx, dy) draws with coordinates shifted by (-dx, -dy)."""
        opaque = all(c is None or rgba(c)[3] == 255 for c in colors)
        if opaque:
            fn(self.d, 0, 0)
            return
        W, H = self.img.size
        x0 = max(0, int(math.floor(bbox[0])) - 2)
        y0 = max(0, int(math.floor(bbox[1])) - 2)
        x1 = min(W, int(math.ceil(bbox[2])) + 3)
        y1 = min(H, int(math.ceil(bbox[3])) + 3)
        if x1 <= x0 or y1 <= y0:
            return
        layer = Image.new("RGBA", (x1 - x0, y1 - y0), (0, 0, 0, 0))
        fn(ImageDraw.Draw(layer), x0, y0)
        self.img.alpha_composite(layer, (x0, y0))

    @staticmethod
    def _shift(b, dx, dy):
        return [b[0] - dx, b[1] - dy, b[2] - dx, b[3] - dy]

    def ellipse(self, b, fill=None, outline=None, width=0):
        bb = self.box(b)
        w = int(round(self.p(width)))
        self._draw((fill, outline), bb, lambda d, dx, dy: d.ellipse(
            self._shift(bb, dx, dy), fill=fill and rgba(fill),
            outline=outline and rgba(outline), width=w))

    def circle(self, cx, cy, r, fill=None, outline=None, width=0):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill, outline, width)

    def rrect(self, b, r, fill=None, outline=None, width=0):
        bb = self.box(b)
        w = int(round(self.p(width)))
        self._draw((fill, outline), bb, lambda d, dx, dy: d.rounded_rectangle(
            self._shift(bb, dx, dy), radius=self.p(r), fill=fill and rgba(fill),
            outline=outline and rgba(outline), width=w))

    def rect(self, b, fill=None, outline=None, width=0):
        bb = self.box(b)
        w = int(round(self.p(width)))
        self._draw((fill, outline), bb, lambda d, dx, dy: d.rectangle(
            self._shift(bb, dx, dy), fill=fill and rgba(fill),
            outline=outline and rgba(outline), width=w))

    def polygon(self, pts, fill=None):
        sp = [self.pt(x, y) for x, y in pts]
        bb = (min(p[0] for p in sp), min(p[1] for p in sp), max(p[0] for p in sp),
              max(p[1] for p in sp))
        self._draw((fill,), bb, lambda d, dx, dy: d.polygon(
            [(x - dx, y - dy) for x, y in sp], fill=rgba(fill)))

    def line(self, pts, color, width, round_caps=True):
        sp = [self.pt(x, y) for x, y in pts]
        w = max(1, int(round(self.p(width))))
        r = w / 2.0
        bb = (min(p[0] for p in sp) - r, min(p[1] for p in sp) - r,
              max(p[0] for p in sp) + r, max(p[1] for p in sp) + r)

        def fn(d, dx, dy):
            q = [(x - dx, y - dy) for x, y in sp]
            d.line(q, fill=rgba(color), width=w, joint="curve")
            if round_caps:
                for (x, y) in (q[0], q[-1]):
                    d.ellipse([x - r, y - r, x + r, y + r], fill=rgba(color))
        self._draw((color,), bb, fn)

    def arc(self, b, start, end, color, width):
        bb = self.box(b)
        w = int(round(self.p(width)))
        self._draw((color,), bb, lambda d, dx, dy: d.arc(
            self._shift(bb, dx, dy), start, end, fill=rgba(color), width=w))

    def ring_arc(self, cx, cy, r, start, end, color, width):
        """Arc whose stroke is centred on the circle of radius r (round ends)."""
        import math
        h = width / 2.0
        self.arc((cx - r - h, cy - r - h, cx + r + h, cy + r + h), start, end, color, width)
        for a in (start, end):
            self.circle(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)),
                        h, fill=color)

    # -- outlined compound shapes -------------------------------------------
    def _shape(self, shape, color, grow):
        kind = shape[0]
        if kind == "ell":
            _, cx, cy, rx, ry = shape
            self.ellipse((cx - rx - grow, cy - ry - grow, cx + rx + grow, cy + ry + grow), fill=color)
        elif kind == "rr":
            _, x0, y0, x1, y1, r = shape
            self.rrect((x0 - grow, y0 - grow, x1 + grow, y1 + grow), r + grow, fill=color)
        elif kind == "poly":
            pts = shape[1]
            self.polygon(pts, color)
            if grow > 0:
                self.line(list(pts) + [pts[0], pts[1]], color, 2 * grow)
                for x, y in pts:
                    self.circle(x, y, grow, fill=color)
        else:
            raise ValueError(kind)

    def blob(self, shapes, fill, outline=INK, width=2.0):
        """Union of shapes, filled, with one outline around the whole union."""
        if rgba(fill)[3] < 255 or (outline is not None and width > 0 and rgba(outline)[3] < 255):
            # Draw the union opaque on its own canvas, then blend it in once.
            layer = Canvas(self.w, self.h, self.ss)
            layer.blob(shapes, rgba(fill, 255), outline and rgba(outline, 255), width)
            alpha = layer.img.getchannel("A").point(lambda v: v * rgba(fill)[3] // 255)
            layer.img.putalpha(alpha)
            self.img.alpha_composite(layer.img)
            return
        if outline is not None and width > 0:
            for s in shapes:
                self._shape(s, outline, width)
        for s in shapes:
            self._shape(s, fill, 0)

    def blob_gradient(self, shapes, top, bottom, outline=INK, width=2.0, y0=None, y1=None):
        """Like blob, but filled with a vertical gradient from top to bottom colour."""
        if outline is not None and width > 0:
            for s in shapes:
                self._shape(s, outline, width)
        mask = Canvas(self.w, self.h, self.ss, (0, 0, 0, 0))
        for s in shapes:
            mask._shape(s, (255, 255, 255, 255), 0)
        m = mask.img.getchannel("A")
        bbox = m.getbbox()
        if bbox is None:
            return
        gy0 = self.p(y0) if y0 is not None else bbox[1]
        gy1 = self.p(y1) if y1 is not None else bbox[3]
        grad = vertical_gradient(self.img.size, top, bottom, gy0, gy1)
        grad.putalpha(ImageChops.multiply(grad.getchannel("A"), m))
        self.img.alpha_composite(grad)

    # -- text --------------------------------------------------------------
    def text(self, xy, s, size, fill=INK, bold=True, anchor="mm", stroke=0,
             stroke_fill=INK, condensed=False, serif=False):
        f = font(self.p(size), bold, condensed, serif)
        sw = int(round(self.p(stroke)))
        x, y = self.pt(*xy)
        bb = self.d.textbbox((x, y), s, font=f, anchor=anchor, stroke_width=sw)
        self._draw((fill, stroke_fill if sw else None), bb, lambda d, dx, dy: d.text(
            (x - dx, y - dy), s, font=f, fill=rgba(fill), anchor=anchor, stroke_width=sw,
            stroke_fill=rgba(stroke_fill)))

    def text_width(self, s, size, bold=True, condensed=False):
        return font(self.p(size), bold, condensed).getlength(s) / self.ss

    def wrap(self, s, size, maxw, bold=False, condensed=False):
        # Plain spaces only: a no-break space keeps a key with its meaning.
        words, lines, cur = s.split(" "), [], ""
        for w in words:
            cand = (cur + " " + w).strip()
            if self.text_width(cand, size, bold, condensed) <= maxw or not cur:
                cur = cand
            else:
                lines.append(cur)
                cur = w
        if cur:
            lines.append(cur)
        return lines

    def paragraph(self, x, y, s, size, maxw, fill=INK, bold=False, leading=1.3,
                  align="left", condensed=False):
        """Wrapped text with its first line's top at y; returns the y below it."""
        lines = self.wrap(s, size, maxw, bold, condensed)
        for ln in lines:
            if align == "left":
                self.text((x, y), ln, size, fill, bold, anchor="la", condensed=condensed)
            else:
                self.text((x + maxw / 2.0, y), ln, size, fill, bold, anchor="ma",
                          condensed=condensed)
            y += size * leading
        return y

    # -- composition -------------------------------------------------------
    def paste(self, im, x, y):
        """Alpha-composite a final-resolution image, scaled up, at (x, y)."""
        big = im.resize((im.width * self.ss, im.height * self.ss), Image.LANCZOS)
        self.img.alpha_composite(big, (int(round(x * self.ss)), int(round(y * self.ss))))

    def overlay(self, other):
        self.img.alpha_composite(other.img)

    def result(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def vertical_gradient(size, top, bottom, y0=0, y1=None):
    w, h = size
    if y1 is None:
        y1 = h
    top, bottom = rgba(top), rgba(bottom)
    col = Image.new("RGBA", (1, h))
    span = max(1.0, float(y1 - y0))
    px = col.load()
    for y in range(h):
        t = min(1.0, max(0.0, (y - y0) / span))
        px[0, y] = mix(top, bottom, t)
    return col.resize((w, h), Image.NEAREST)


def save_png(im, path):
    """Stable PNG: no metadata chunks, fixed compression settings."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    im = im.convert("RGBA")
    im.save(path, format="PNG", optimize=False, compress_level=9)


def star_points(cx, cy, r_out, r_in, n=5, rot=-90.0):
    import math
    pts = []
    for k in range(2 * n):
        r = r_out if k % 2 == 0 else r_in
        a = math.radians(rot + k * 180.0 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts
