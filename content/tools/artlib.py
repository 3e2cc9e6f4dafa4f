"""Shared pieces for the SVG art generators: palette, outline style, sheet
layout, a chunky stroke lettering and small shape helpers.

Every generator imports this so the whole game keeps one palette and one
line weight. Output paths are relative to the content/ folder."""
import math
import os
import random

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# --- palette -------------------------------------------------------------
INK = '#1b1b2f'
NIGHT = '#232946'
SKY = '#3d5a80'
CYAN = '#98c1d9'
PAPER = '#f4f1de'
RED = '#e63946'
GOLD = '#f4a261'
SUN = '#ffd166'
LEAF = '#2a9d8f'
PURPLE = '#7b2cbf'
PHYS = '#e63946'
ELEM = '#3a86ff'
MENT = '#9b5de5'
MONEY = '#ffd166'
REP = '#ff5da2'
CLUE = '#06d6a0'
WHITE = '#ffffff'
SKIN = ['#f6d5b8', '#e8b48f', '#c68a5e', '#8d5a3b', '#5e3a24']

OUT = 3  # outline width at 1x


def _hex(c):
    c = c.lstrip('#')
    return [int(c[i:i + 2], 16) for i in (0, 2, 4)]


def _mk(r, g, b):
    return '#%02x%02x%02x' % tuple(max(0, min(255, int(round(v)))) for v in (r, g, b))


def shade(c, f=0.72):
    """Cel-shade tone: the colour darkened (f < 1) or lightened (f > 1)."""
    r, g, b = _hex(c)
    if f <= 1:
        return _mk(r * f, g * f, b * f)
    t = f - 1
    return _mk(r + (255 - r) * t, g + (255 - g) * t, b + (255 - b) * t)


def mix(a, b, t):
    ra, ga, ba = _hex(a)
    rb, gb, bb = _hex(b)
    return _mk(ra + (rb - ra) * t, ga + (gb - ga) * t, ba + (bb - ba) * t)


def grey(c):
    r, g, b = _hex(c)
    v = 0.3 * r + 0.59 * g + 0.11 * b
    return _mk(v, v, v)


# --- documents -----------------------------------------------------------
def svg(w, h, body, defs=''):
    d = f'<defs>{defs}</defs>' if defs else ''
    return (f'<svg xmlns="http://www.w3.org/2000/svg" '
            f'xmlns:xlink="http://www.w3.org/1999/xlink" width="{w}" height="{h}" '
            f'viewBox="0 0 {w} {h}">{d}{body}</svg>\n')


def write(rel, text):
    path = os.path.join(ROOT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w') as f:
        f.write(text)
    return path


def sheet(fw, fh, frames, defs='', maxw=4096):
    """Lay frames (SVG fragments drawn in a fw x fh box at 0,0) into one row,
    wrapping to more full rows only past maxw. Each frame is clipped so
    nothing bleeds into its neighbour."""
    n = len(frames)
    per = max(1, min(n, maxw // fw))
    rows = (n + per - 1) // per
    w, h = fw * min(n, per), fh * rows
    clip = f'<clipPath id="fclip"><rect width="{fw}" height="{fh}"/></clipPath>'
    body = []
    for i, fr in enumerate(frames):
        x, y = (i % per) * fw, (i // per) * fh
        body.append(f'<g transform="translate({x},{y})"><g clip-path="url(#fclip)">{fr}</g></g>')
    return svg(w, h, ''.join(body), clip + defs)


# --- small shape helpers -------------------------------------------------
def st(fill, w=OUT, stroke=INK, extra=''):
    return f'fill="{fill}" stroke="{stroke}" stroke-width="{w}" stroke-linejoin="round" stroke-linecap="round" {extra}'


def poly(pts, close=True):
    d = 'M' + ' L'.join(f'{x:.1f},{y:.1f}' for x, y in pts)
    return d + (' Z' if close else '')


def star_pts(cx, cy, ro, ri, n=5, rot=-90):
    pts = []
    for i in range(2 * n):
        r = ro if i % 2 == 0 else ri
        a = math.radians(rot + i * 180 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def burst_pts(cx, cy, ro, ri, n=12, seed=1, jitter=0.18, rot=0):
    rnd = random.Random(seed)
    pts = []
    for i in range(2 * n):
        r = ro if i % 2 == 0 else ri
        r *= 1 + rnd.uniform(-jitter, jitter)
        a = math.radians(rot + i * 180 / n)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def hexagon(cx, cy, r, pointy=True):
    off = -90 if pointy else 0
    return [(cx + r * math.cos(math.radians(off + 60 * i)), cy + r * math.sin(math.radians(off + 60 * i)))
            for i in range(6)]


def halftone(pid, color, step=8, r=1.6, opacity=1.0):
    return (f'<pattern id="{pid}" width="{step}" height="{step}" patternUnits="userSpaceOnUse">'
            f'<circle cx="{step/2}" cy="{step/2}" r="{r}" fill="{color}" fill-opacity="{opacity}"/></pattern>')


def lingrad(gid, stops, x1=0, y1=0, x2=0, y2=1):
    s = ''.join(f'<stop offset="{o}" stop-color="{c}"' + (f' stop-opacity="{a}"' if a is not None else '') + '/>'
                for o, c, a in [(t + (None,))[:3] if len(t) == 2 else t for t in stops])
    return f'<linearGradient id="{gid}" x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}">{s}</linearGradient>'


def radgrad(gid, stops, cx=0.5, cy=0.5, r=0.5, units=''):
    s = ''.join(f'<stop offset="{o}" stop-color="{c}"' + (f' stop-opacity="{a}"' if a is not None else '') + '/>'
                for o, c, a in [(t + (None,))[:3] if len(t) == 2 else t for t in stops])
    u = f' gradientUnits="{units}"' if units else ''
    return f'<radialGradient id="{gid}" cx="{cx}" cy="{cy}" r="{r}"{u}>{s}</radialGradient>'


def speedlines(cx, cy, r0, r1, n, color, w=2, seed=3, opacity=0.5):
    rnd = random.Random(seed)
    out = []
    for i in range(n):
        a = 2 * math.pi * i / n + rnd.uniform(-0.05, 0.05)
        a0 = r0 * rnd.uniform(0.9, 1.2)
        out.append(f'<line x1="{cx + a0 * math.cos(a):.1f}" y1="{cy + a0 * math.sin(a):.1f}" '
                   f'x2="{cx + r1 * math.cos(a):.1f}" y2="{cy + r1 * math.sin(a):.1f}"/>')
    return (f'<g stroke="{color}" stroke-width="{w}" stroke-linecap="round" opacity="{opacity}">'
            + ''.join(out) + '</g>')


# --- chunky stroke lettering (4 x 6 grid per letter) ---------------------
_O = [(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)]
_S = [(4, 1), (3, 0), (1, 0), (0, 1), (0, 2), (1, 3), (3, 3), (4, 4), (4, 5), (3, 6), (1, 6), (0, 5)]
_P = [(0, 6), (0, 0), (3, 0), (4, 1), (4, 2.5), (3, 3.5), (0, 3.5)]
GLYPHS = {
    'A': [[(0, 6), (2, 0), (4, 6)], [(0.8, 4), (3.2, 4)]],
    'B': [[(0, 3), (0, 0), (3, 0), (3.8, 0.8), (3.8, 2.2), (3, 3), (0, 3), (0, 6), (3, 6), (4, 5), (4, 4), (3, 3)]],
    'C': [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5)]],
    'D': [[(0, 0), (0, 6), (2.5, 6), (4, 4.5), (4, 1.5), (2.5, 0), (0, 0)]],
    'E': [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    'F': [[(4, 0), (0, 0), (0, 6)], [(0, 3), (3, 3)]],
    'G': [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5), (4, 3.2), (2.2, 3.2)]],
    'H': [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]],
    'I': [[(2, 0), (2, 6)], [(1, 0), (3, 0)], [(1, 6), (3, 6)]],
    'J': [[(4, 0), (4, 5), (3, 6), (1, 6), (0, 5)]],
    'K': [[(0, 0), (0, 6)], [(4, 0), (0, 3.6)], [(1.4, 2.6), (4, 6)]],
    'L': [[(0, 0), (0, 6), (4, 6)]],
    'M': [[(0, 6), (0, 0), (2, 3.5), (4, 0), (4, 6)]],
    'N': [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    'O': [_O],
    'P': [_P],
    'Q': [_O, [(2.5, 4.5), (4.3, 6.3)]],
    'R': [_P, [(2, 3.5), (4, 6)]],
    'S': [_S],
    'T': [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    'U': [[(0, 0), (0, 5), (1, 6), (3, 6), (4, 5), (4, 0)]],
    'V': [[(0, 0), (2, 6), (4, 0)]],
    'W': [[(0, 0), (1, 6), (2, 2.5), (3, 6), (4, 0)]],
    'X': [[(0, 0), (4, 6)], [(4, 0), (0, 6)]],
    'Y': [[(0, 0), (2, 3)], [(4, 0), (2, 3), (2, 6)]],
    'Z': [[(0, 0), (4, 0), (0, 6), (4, 6)]],
    '0': [_O],
    '1': [[(1, 1), (2, 0), (2, 6)], [(1, 6), (3, 6)]],
    '2': [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (0, 6), (4, 6)]],
    '3': [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (3, 3), (1.5, 3)], [(3, 3), (4, 4), (4, 5), (3, 6), (1, 6), (0, 5)]],
    '4': [[(3, 6), (3, 0), (0, 4), (4, 4)]],
    '5': [[(4, 0), (0, 0), (0, 3), (3, 3), (4, 4), (4, 5), (3, 6), (0, 6)]],
    '6': [[(4, 0), (2, 0), (0, 2.5), (0, 5), (1, 6), (3, 6), (4, 5), (4, 4), (3, 3), (0, 3)]],
    '7': [[(0, 0), (4, 0), (1.5, 6)]],
    '8': [[(1, 3), (0, 2), (0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (3, 3), (1, 3), (0, 4), (0, 5), (1, 6), (3, 6), (4, 5), (4, 4), (3, 3)]],
    '9': [[(4, 3), (1, 3), (0, 2), (0, 1), (1, 0), (3, 0), (4, 1), (4, 3.5), (2, 6), (0, 6)]],
    '-': [[(0.5, 3), (3.5, 3)]],
    '=': [[(0.5, 2.2), (3.5, 2.2)], [(0.5, 3.9), (3.5, 3.9)]],
    '+': [[(0.5, 3), (3.5, 3)], [(2, 1.5), (2, 4.5)]],
    '!': [[(2, 0), (2, 4)], [(2, 5.9), (2, 6)]],
    '?': [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (2, 3.5), (2, 4.3)], [(2, 5.9), (2, 6)]],
    '.': [[(2, 5.9), (2, 6)]],
    "'": [[(2, 0), (2, 1.6)]],
    ':': [[(2, 1.9), (2, 2)], [(2, 5.9), (2, 6)]],
    '$': [_S, [(2, -0.8), (2, 6.8)]],
    '&': [[(4, 6), (0.8, 2), (0.8, 0.8), (1.6, 0), (2.6, 0), (3.2, 0.8), (3.2, 1.6), (0, 4), (0, 5), (1, 6), (2.4, 6), (4, 3.8)]],
}
NARROW = {'I': 0.6, '1': 0.7, '!': 0.35, '.': 0.35, "'": 0.35, ':': 0.35}


def text_d(s, x, y, size, spacing=1.5, anchor='start'):
    """Path data for s in the stroke lettering; size = cap height."""
    u = size / 6.0
    widths = [(4 * NARROW.get(c, 1) if c != ' ' else 2.5) for c in s]
    total = sum(widths) + spacing * (len(s) - 1)
    if anchor == 'middle':
        x -= total * u / 2
    elif anchor == 'end':
        x -= total * u
    d = []
    cx = x
    for c, wdt in zip(s, widths):
        g = GLYPHS.get(c.upper())
        if g:
            off = (wdt - 4) / 2  # narrow glyphs are centred on their cell
            for line in g:
                d.append('M' + ' L'.join(f'{cx + (px + off) * u:.1f},{y + py * u:.1f}' for px, py in line))
        cx += (wdt + spacing) * u
    return ' '.join(d), total * u


def lettering(s, x, y, size, fill, ink=INK, weight=None, outline=None, anchor='start', spacing=1.5,
              skew=0, shadow=True, highlight=None):
    """Comic title lettering: thick ink stroke, coloured core, optional drop shadow."""
    weight = weight or size * 0.26
    outline = outline or max(2, size * 0.09)
    d, w = text_d(s, x, y, size, spacing, anchor)
    parts = []
    cap = 'stroke-linecap="round" stroke-linejoin="round" fill="none"'
    if shadow:
        off = size * 0.07
        parts.append(f'<path d="{d}" transform="translate({off:.1f},{off:.1f})" stroke="{ink}" '
                     f'stroke-width="{weight + 2 * outline:.1f}" {cap}/>')
    parts.append(f'<path d="{d}" stroke="{ink}" stroke-width="{weight + 2 * outline:.1f}" {cap}/>')
    parts.append(f'<path d="{d}" stroke="{fill}" stroke-width="{weight:.1f}" {cap}/>')
    if highlight:
        parts.append(f'<path d="{d}" transform="translate({-weight*0.15:.1f},{-weight*0.18:.1f})" stroke="{highlight}" '
                     f'stroke-width="{weight*0.28:.1f}" {cap} opacity="0.8"/>')
    g = ''.join(parts)
    if skew:
        g = f'<g transform="translate({x},{y}) skewX({skew}) translate({-x},{-y})">{g}</g>'
    return g


def plain_text(s, x, y, size, fill, weight=None, anchor='start', spacing=1.5):
    d, w = text_d(s, x, y, size, spacing, anchor)
    weight = weight or size * 0.2
    return (f'<path d="{d}" stroke="{fill}" stroke-width="{weight:.1f}" stroke-linecap="round" '
            f'stroke-linejoin="round" fill="none"/>')


def rrect(x, y, w, h, r, attrs):
    return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" ry="{r}" {attrs}/>'
