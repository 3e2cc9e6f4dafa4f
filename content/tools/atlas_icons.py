"""Glyphs shared by several atlas regions (gear, fist, flame, snowflake, ...).
Each function returns SVG markup drawn in a 64 x 64 design box centred on
(32, 32); callers place and scale it with a transform. `fill` is the glyph
colour, `ink` its outline (pass ink=None for a flat silhouette)."""
import math

from atlas_style import (INK, WHITE, fmt, path, circle, poly, star_pts, rect, line, ellipse)


def _p(d, fill, ink, sw):
    return path(d, fill, ink if ink else None, sw if ink else 0)


def gear(fill=WHITE, ink=INK, sw=3, teeth=8, r_out=24, r_in=18, hole=8, hole_fill=None):
    pts = []
    n = teeth * 4
    for i in range(n):
        a = 2 * math.pi * (i - 0.5) / n
        r = r_out if (i % 4) in (1, 2) else r_in
        pts.append((32 + r * math.cos(a), 32 + r * math.sin(a)))
    d = poly(pts)
    s = _p(d, fill, ink, sw)
    s += circle(32, 32, hole, hole_fill or "none", ink or fill, sw if ink else 0) if ink else ""
    if hole_fill and not ink:
        s += circle(32, 32, hole, hole_fill, None, 0)
    return s


def fist(fill=WHITE, ink=INK, sw=3, shade=None):
    # A punching fist seen from the front: four knuckles over a palm, thumb across.
    d = ("M14 30 C14 22 18 19 22 19 C23 15 27 13 31 14 C33 11 38 11 40 14 C43 12 48 13 49 17 "
         "C53 17 55 21 54 26 L53 40 C52 48 46 53 38 53 L28 53 C20 53 15 47 14 40 Z")
    s = _p(d, fill, ink, sw)
    if shade:
        s += path("M16 41 C18 48 23 52 29 52 L38 52 C45 52 50 48 52 42 L52 46 C49 51 44 53 38 53 L28 53 C21 53 16 48 16 41 Z",
                  shade, None, 0)
    if ink:
        s += path("M22 19 L23 30 M31 14 L32 29 M40 14 L40 29", "none", ink, sw * 0.7)
        s += path("M15 33 C20 30 30 31 38 34 C40 35 40 38 37 39 L26 40", "none", ink, sw * 0.8)
    return s


def flame(fill=WHITE, ink=INK, sw=3, inner=None):
    d = ("M32 56 C20 56 13 47 14 37 C15 28 22 24 23 14 C29 19 31 25 30 30 C34 27 36 21 35 10 "
         "C45 17 51 28 50 39 C49 49 42 56 32 56 Z")
    s = _p(d, fill, ink, sw)
    if inner:
        s += path("M32 52 C25 52 22 47 23 42 C24 37 28 35 29 30 C33 34 33 38 32 41 C35 40 37 36 37 33 "
                  "C42 37 43 43 41 47 C39 50 36 52 32 52 Z", inner, None, 0)
    return s


def bolt(fill=WHITE, ink=INK, sw=3):
    d = poly([(37, 6), (16, 36), (29, 36), (24, 58), (48, 25), (34, 25), (41, 6)])
    return _p(d, fill, ink, sw)


def snowflake(fill=WHITE, ink=INK, sw=3, r=24):
    arms = ""
    for k in range(6):
        a = math.radians(k * 60 - 90)
        ca, sa = math.cos(a), math.sin(a)

        def P(u, v):
            return (32 + u * ca - v * sa, 32 + u * sa + v * ca)

        pts = [P(0, -3), P(r * 0.45, -3), P(r * 0.62, -10), P(r * 0.7, -7), P(r * 0.6, -3), P(r, -3),
               P(r + 2, 0), P(r, 3), P(r * 0.6, 3), P(r * 0.7, 7), P(r * 0.62, 10), P(r * 0.45, 3), P(0, 3)]
        arms += poly(pts) + " "
    s = ""
    if ink:
        s += path(arms, ink, ink, sw * 2)
    s += path(arms, fill, None, 0)
    s += circle(32, 32, 6, fill, None, 0)
    return s


def cloud(fill=WHITE, ink=INK, sw=3):
    d = ("M14 40 C8 40 6 33 10 29 C10 23 17 20 22 23 C24 15 35 13 39 20 C44 17 52 21 51 28 "
         "C57 29 58 39 51 40 Z")
    return _p(d, fill, ink, sw)


def spiral(stroke=WHITE, ink=INK, sw=5, turns=2.6, r=22):
    pts = []
    n = 80
    for i in range(n + 1):
        t = i / n
        a = t * turns * 2 * math.pi
        rr = 2 + (r - 2) * t
        pts.append((32 + rr * math.cos(a), 32 + rr * math.sin(a)))
    d = poly(pts, closed=False)
    s = ""
    if ink:
        s += path(d, "none", ink, sw + 4)
    s += path(d, "none", stroke, sw)
    return s


def eye(fill=WHITE, iris="#9b5de5", ink=INK, sw=3):
    d = "M6 32 C16 16 48 16 58 32 C48 48 16 48 6 32 Z"
    s = _p(d, fill, ink, sw)
    s += circle(32, 32, 11, iris, ink, sw * 0.8)
    s += circle(32, 32, 5, ink or "#1b1b2f", None, 0)
    s += circle(28, 28, 2.5, WHITE, None, 0)
    return s


def brain(fill=WHITE, ink=INK, sw=3, shade=None):
    d = ("M32 14 C36 10 44 11 46 16 C52 15 56 21 54 27 C59 31 57 39 52 41 C52 47 46 51 40 49 "
         "C37 53 27 53 24 49 C18 51 12 47 12 41 C7 38 6 30 11 27 C9 21 14 15 19 16 C21 11 28 10 32 14 Z")
    s = _p(d, fill, ink, sw)
    if shade:
        s += path("M13 41 C14 46 19 49 24 48 C27 52 37 52 40 48 C45 50 51 46 51 41 C47 44 40 45 32 45 C24 45 17 44 13 41 Z",
                  shade, None, 0)
    if ink:
        s += path("M32 15 L32 49 M20 24 C24 24 26 27 25 31 M44 24 C40 24 38 27 39 31 "
                  "M16 36 C20 35 23 37 23 41 M48 36 C44 35 41 37 41 41", "none", ink, sw * 0.7)
    return s


def coin(fill="#ffd166", ink=INK, sw=3, shade="#eab04a", r=20, cx=32, cy=32):
    s = circle(cx, cy, r, fill, ink, sw)
    s += path("M%s %s A%s %s 0 0 0 %s %s" % (fmt(cx + r * 0.7), fmt(cy - r * 0.7), fmt(r), fmt(r),
                                            fmt(cx - r * 0.7), fmt(cy + r * 0.7)), "none", shade, r * 0.22)
    s += circle(cx, cy, r * 0.62, "none", ink, sw * 0.6)
    return s


def down_arrow(fill=WHITE, ink=INK, sw=3, cx=32, top=10, bottom=54, w=26):
    hw = w / 2
    sh = w * 0.22
    d = poly([(cx - sh, top), (cx + sh, top), (cx + sh, bottom - hw), (cx + hw, bottom - hw),
              (cx, bottom), (cx - hw, bottom - hw), (cx - sh, bottom - hw)])
    return _p(d, fill, ink, sw)


def padlock(x, y, s=1.0, body="#ffd166", body_shade="#eab04a", ink=INK, sw=2.5):
    """A padlock with its top-left at (x, y), about 22 x 26 at s = 1."""
    g = path("M5 12 L5 8 C5 1 17 1 17 8 L17 12", "none", ink, 7) + \
        path("M5 12 L5 8 C5 1 17 1 17 8 L17 12", "none", "#d8dde8", 3.2)
    g += rect(1, 11, 20, 14, body, 3, ink, sw)
    g += rect(3, 19, 16, 5, body_shade, 2, None, 0)
    g += circle(11, 16.5, 2.2, ink, None, 0) + rect(10.2, 17, 1.6, 4.5, ink, 0, None, 0)
    return '<g transform="translate(%s %s) scale(%s)">%s</g>' % (fmt(x), fmt(y), fmt(s), g)


def trophy(fill="#ffd166", shade="#eab04a", ink=INK, sw=3):
    s = path("M20 16 C8 16 8 32 22 34 M44 16 C56 16 56 32 42 34", "none", ink, sw + 4)
    s += path("M20 16 C8 16 8 32 22 34 M44 16 C56 16 56 32 42 34", "none", fill, sw)
    cup = "M18 10 L46 10 L45 24 C44 34 38 39 32 39 C26 39 20 34 19 24 Z"
    s += path(cup, fill, ink, sw)
    s += path("M33 12 L44 12 L43 24 C42 32 38 36 34 37 C38 31 36 20 33 12 Z", shade, None, 0)
    s += rect(28, 38, 8, 7, fill, 0, ink, sw)
    s += rect(20, 45, 24, 9, shade, 2, ink, sw)
    s += path("M32 16 L34 21 L39 21 L35 24 L37 29 L32 26 L27 29 L29 24 L25 21 L30 21 Z", WHITE, None, 0)
    return s


def play_tri(fill=WHITE, ink=INK, sw=3):
    return _p("M22 12 L52 32 L22 52 Z", fill, ink, sw)


def door_exit(fill=WHITE, ink=INK, sw=3, door="#a0673c"):
    s = rect(12, 8, 26, 48, "#5c1f93", 2, ink, sw)
    s += path("M12 8 L30 14 L30 58 L12 56 Z", door, ink, sw)
    s += circle(26, 36, 2, ink, None, 0)
    s += path(poly([(36, 27), (46, 27), (46, 20), (58, 32), (46, 44), (46, 37), (36, 37)]), fill, ink, sw)
    return s


def hamburger(fill=WHITE, ink=INK, sw=3):
    s = ""
    for y in (18, 30, 42):
        if ink:
            s += rect(13, y - 1, 38, 10, ink, 5, None, 0)
        s += rect(15, y + 1, 34, 6, fill, 3, None, 0)
    return s


def mask(fill="#e63946", ink=INK, sw=3, shade=None):
    d = ("M6 26 C14 20 24 22 32 27 C40 22 50 20 58 26 C58 36 54 44 44 44 C38 44 35 39 32 36 "
         "C29 39 26 44 20 44 C10 44 6 36 6 26 Z")
    s = _p(d, fill, ink, sw)
    if shade:
        s += path("M8 33 C10 40 14 43 20 43 C25 43 28 39 32 35 C36 39 39 43 44 43 C50 43 54 40 56 33 "
                  "C53 38 49 41 44 41 C38 41 35 36 32 33 C29 36 26 41 20 41 C15 41 10 38 8 33 Z", shade, None, 0)
    s += path("M14 30 C17 27 22 28 25 32 C21 35 16 34 14 30 Z", WHITE, ink, sw * 0.7)
    s += path("M50 30 C47 27 42 28 39 32 C43 35 48 34 50 30 Z", WHITE, ink, sw * 0.7)
    return s


def arrow_right(fill=WHITE, ink=INK, sw=3):
    d = poly([(12, 25), (34, 25), (34, 12), (55, 32), (34, 52), (34, 39), (12, 39)])
    return _p(d, fill, ink, sw)


def trash(fill=WHITE, ink=INK, sw=3):
    s = _p("M17 20 L47 20 L44 55 L20 55 Z", fill, ink, sw)
    s += rect(12, 13, 40, 8, fill, 3, ink, sw)
    s += rect(26, 8, 12, 6, fill, 2, ink, sw)
    s += path("M26 27 L27 49 M32 27 L32 49 M38 27 L37 49", "none", ink, sw * 0.8)
    return s
