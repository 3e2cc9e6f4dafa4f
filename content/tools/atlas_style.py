"""Shared look of the atlas art: palette, outline weights, lettering and small
drawing helpers. Every atlas generator imports this so the three atlases keep
one comic style (bold ink outline, flat fill plus one cel tone, halftone dots).

Regenerate the atlas sources: cd content/tools && for f in gen_atlas0*.py; do python3 $f; done
Lettering uses atlas_glyphs_comicneue_bold.json, dumped by atlas_glyphs.c from
the Debian Comic Neue Bold face (emboldened by 60 units).
"""
import json
import math
import os
import re

HERE = os.path.dirname(os.path.abspath(__file__))
CONTENT = os.path.dirname(HERE)

# Palette of the art direction.
INK = "#1b1b2f"
NIGHT = "#232946"
SKY = "#3d5a80"
CYAN = "#98c1d9"
PAPER = "#f4f1de"
RED = "#e63946"
GOLD = "#f4a261"
SUN = "#ffd166"
LEAF = "#2a9d8f"
PURPLE = "#7b2cbf"
PHYS = "#e63946"
ELEM = "#3a86ff"
MENT = "#9b5de5"
MONEY = "#ffd166"
REP = "#ff5da2"
CLUE = "#06d6a0"
WHITE = "#ffffff"

# Derived tones (one cel shade per base colour, a light rim where needed).
SHADE = {
    RED: "#b72a36", GOLD: "#d9823f", SUN: "#eab04a", LEAF: "#1f7a70",
    PURPLE: "#5c1f93", SKY: "#2c4463", CYAN: "#6f9fbd", PAPER: "#d9d3b4",
    NIGHT: "#171c33", ELEM: "#2563cc", MENT: "#7840c4", CLUE: "#04a77c",
    REP: "#d93f83", WHITE: "#d8dde8",
}
BRICK = "#b5523b"
BRICK_SHADE = "#8e3b2b"
STONE = "#c9c2a6"
STONE_SHADE = "#a39c80"
GLASS = "#98c1d9"
GLASS_SHADE = "#6f9fbd"
GRASS = "#5fb36b"
GRASS_SHADE = "#3f8c4e"
WOOD = "#a0673c"
WOOD_SHADE = "#7a4a29"
STEEL = "#8d99ae"
STEEL_SHADE = "#66718a"

OUT = 3      # outline weight of big shapes at 1x
OUT_S = 2    # outline weight of details and small icons


def shade(c):
    return SHADE.get(c, c)


def fmt(v):
    s = ("%.2f" % v).rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


# ---------------------------------------------------------------------------
# Documents

def svg(w, h, body, defs=""):
    d = "<defs>%s</defs>" % defs if defs else ""
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
            'viewBox="0 0 %d %d">%s%s</svg>\n' % (w, h, w, h, d, body))


def write(atlas, name, w, h, body, defs=""):
    folder = os.path.join(CONTENT, "atlas", atlas)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name + ".svg"), "w") as f:
        f.write(svg(w, h, body, defs))


def write_greyed(atlas, names):
    folder = os.path.join(CONTENT, "atlas", atlas)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "greyed.txt"), "w") as f:
        f.write("".join(n + "\n" for n in names))


# ---------------------------------------------------------------------------
# Shapes

def path(d, fill="none", stroke=INK, sw=OUT, extra=""):
    s = '<path d="%s" fill="%s"' % (d, fill)
    if stroke and sw:
        s += ' stroke="%s" stroke-width="%s" stroke-linejoin="round" stroke-linecap="round"' % (stroke, fmt(sw))
    return s + (" " + extra if extra else "") + "/>"


def rect(x, y, w, h, fill, r=0, stroke=INK, sw=OUT, extra=""):
    s = '<rect x="%s" y="%s" width="%s" height="%s"' % (fmt(x), fmt(y), fmt(w), fmt(h))
    if r:
        s += ' rx="%s"' % fmt(r)
    s += ' fill="%s"' % fill
    if stroke and sw:
        s += ' stroke="%s" stroke-width="%s" stroke-linejoin="round"' % (stroke, fmt(sw))
    return s + (" " + extra if extra else "") + "/>"


def circle(cx, cy, r, fill, stroke=INK, sw=OUT, extra=""):
    s = '<circle cx="%s" cy="%s" r="%s" fill="%s"' % (fmt(cx), fmt(cy), fmt(r), fill)
    if stroke and sw:
        s += ' stroke="%s" stroke-width="%s"' % (stroke, fmt(sw))
    return s + (" " + extra if extra else "") + "/>"


def ellipse(cx, cy, rx, ry, fill, stroke=INK, sw=OUT, extra=""):
    s = '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="%s"' % (fmt(cx), fmt(cy), fmt(rx), fmt(ry), fill)
    if stroke and sw:
        s += ' stroke="%s" stroke-width="%s"' % (stroke, fmt(sw))
    return s + (" " + extra if extra else "") + "/>"


def line(x1, y1, x2, y2, stroke=INK, sw=OUT_S, extra=""):
    return ('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="%s" stroke-linecap="round"%s/>'
            % (fmt(x1), fmt(y1), fmt(x2), fmt(y2), stroke, fmt(sw), (" " + extra) if extra else ""))


def poly(pts, closed=True):
    d = "M" + " L".join("%s %s" % (fmt(x), fmt(y)) for x, y in pts)
    return d + (" Z" if closed else "")


def rrect_d(x, y, w, h, r):
    return ("M%s %s H%s A%s %s 0 0 1 %s %s V%s A%s %s 0 0 1 %s %s H%s A%s %s 0 0 1 %s %s V%s A%s %s 0 0 1 %s %s Z"
            % tuple(fmt(v) for v in (x + r, y, x + w - r, r, r, x + w, y + r, y + h - r, r, r, x + w - r, y + h,
                                     x + r, r, r, x, y + h - r, y + r, r, r, x + r, y)))


def star_pts(cx, cy, r1, r2, n, rot=-90):
    pts = []
    for i in range(2 * n):
        a = math.radians(rot + i * 180.0 / n)
        r = r1 if i % 2 == 0 else r2
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def burst_pts(cx, cy, r1, r2, n, rot=-90, jitter=0.0, seed=1):
    """Comic 'POW' burst: a star with uneven spikes."""
    pts = []
    for i in range(2 * n):
        a = math.radians(rot + i * 180.0 / n)
        r = r1 if i % 2 == 0 else r2
        if i % 2 == 0 and jitter:
            r *= 1.0 + jitter * math.sin(seed * 12.9898 + i * 78.233)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def group(body, transform=None, extra=""):
    t = ' transform="%s"' % transform if transform else ""
    return "<g%s%s>%s</g>" % (t, (" " + extra) if extra else "", body)


def clip_def(cid, shape):
    return '<clipPath id="%s">%s</clipPath>' % (cid, shape)


def halftone_def(pid, color, step=6, r=1.2, opacity=0.35):
    return ('<pattern id="%s" width="%s" height="%s" patternUnits="userSpaceOnUse">'
            '<circle cx="%s" cy="%s" r="%s" fill="%s" fill-opacity="%s"/>'
            '<circle cx="0" cy="0" r="%s" fill="%s" fill-opacity="%s"/>'
            '<circle cx="%s" cy="0" r="%s" fill="%s" fill-opacity="%s"/>'
            '<circle cx="0" cy="%s" r="%s" fill="%s" fill-opacity="%s"/>'
            '<circle cx="%s" cy="%s" r="%s" fill="%s" fill-opacity="%s"/></pattern>'
            % (pid, fmt(step), fmt(step), fmt(step / 2), fmt(step / 2), fmt(r), color, fmt(opacity),
               fmt(r), color, fmt(opacity), fmt(step), fmt(r), color, fmt(opacity),
               fmt(step), fmt(r), color, fmt(opacity), fmt(step), fmt(step), fmt(r), color, fmt(opacity)))


def shadow(shape_svg, dx=3, dy=3, color=INK, opacity=1.0):
    """The same shape offset as a flat comic drop shadow."""
    return '<g transform="translate(%s %s)" opacity="%s">%s</g>' % (
        fmt(dx), fmt(dy), fmt(opacity), recolor(shape_svg, color))


def recolor(shape_svg, color):
    s = re.sub(r'fill="(?!none)[^"]*"', 'fill="%s"' % color, shape_svg)
    s = re.sub(r'stroke="(?!none)[^"]*"', 'stroke="%s"' % color, s)
    return s


# ---------------------------------------------------------------------------
# Lettering: glyph outlines of the game's comic face, set as paths.

_FONT = None


def _font():
    global _FONT
    if _FONT is None:
        with open(os.path.join(HERE, "atlas_glyphs_comicneue_bold.json")) as f:
            _FONT = json.load(f)
    return _FONT


_TOK = re.compile(r"[MLQC]|-?\d+(?:\.\d+)?")


def _glyph_d(ch, fx):
    d = _font()["glyphs"].get(str(ord(ch)), {}).get("d", "")
    out = []
    nums = []
    for t in _TOK.findall(d):
        if t in "MLQC":
            out.append(t)
        else:
            nums.append(float(t))
            if len(nums) == 2:
                x, y = fx(nums[0], nums[1])
                out.append("%s %s" % (fmt(x), fmt(y)))
                nums = []
    return " ".join(out)


def text_width(text, size, spacing=0.0):
    f = _font()
    k = size / f["upem"]
    w = 0.0
    for ch in text:
        w += f["glyphs"].get(str(ord(ch)), {"adv": 500})["adv"] * k + spacing
    return w - spacing if text else 0.0


def text_d(text, x, y, size, anchor="middle", spacing=0.0, skew=0.0, bounce=0.0, tilt=0.0, squash=1.0):
    """Path data of `text` with its baseline at y. `bounce` lifts alternate
    letters (px), `tilt` rocks them (degrees) for a hand-lettered feel;
    `squash` scales the letters horizontally."""
    f = _font()
    k = size / f["upem"]
    total = text_width(text, size, spacing) * squash
    if anchor == "middle":
        x -= total / 2
    elif anchor == "end":
        x -= total
    parts = []
    pen = x
    cap = 700 * k
    for i, ch in enumerate(text):
        g = f["glyphs"].get(str(ord(ch)), {"adv": 500})
        adv = g["adv"] * k * squash
        dy = bounce * (1 if i % 2 else -1) if bounce else 0.0
        ang = math.radians(tilt * (1 if i % 2 == 0 else -1)) if tilt else 0.0
        cx, cy = pen + adv / 2, y - cap / 2
        ca, sa = math.cos(ang), math.sin(ang)

        def fx(gx, gy, pen=pen, dy=dy, cx=cx, cy=cy, ca=ca, sa=sa):
            px = pen + gx * k * squash + skew * gy * k
            py = y - gy * k + dy
            rx, ry = px - cx, py - cy
            return cx + rx * ca - ry * sa, cy + rx * sa + ry * ca

        if g.get("d"):
            parts.append(_glyph_d(ch, fx))
        pen += adv + spacing * squash
    return " ".join(parts)


def lettering(text, x, y, size, fill=WHITE, outline=INK, ow=None, shadow_off=None, shadow_col=INK, **kw):
    """Comic lettering: fat ink outline under a flat fill, optional drop shadow."""
    d = text_d(text, x, y, size, **kw)
    ow = ow if ow is not None else max(3.0, size * 0.16)
    s = ""
    if shadow_off:
        s += ('<path d="%s" fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round" '
              'transform="translate(%s %s)"/>' % (d, shadow_col, shadow_col, fmt(ow), fmt(shadow_off[0]), fmt(shadow_off[1])))
    if outline:
        s += '<path d="%s" fill="%s" stroke="%s" stroke-width="%s" stroke-linejoin="round"/>' % (d, outline, outline, fmt(ow))
    s += '<path d="%s" fill="%s"/>' % (d, fill)
    return s
