#!/usr/bin/env python3
"""Atlas02: speech bubbles (wide and tall; the tail points down-left at the
speaker, the dialogue player mirrors the bubble for speakers on the right),
the job clock, the dungeon back button, the delete-slot button and the
Blizzard Wizard's snow globe (inline picture of the secret dialogues)."""
import math

from atlas_style import *  # noqa: F401,F403
import atlas_icons as ic

A = "Atlas02"


def superellipse(cx, cy, a, b, n=3.2, steps=120):
    pts = []
    for i in range(steps):
        t = 2 * math.pi * i / steps
        c, s = math.cos(t), math.sin(t)
        x = cx + a * math.copysign(abs(c) ** (2.0 / n), c)
        y = cy + b * math.copysign(abs(s) ** (2.0 / n), s)
        pts.append((x, y))
    return pts


def bubble(name, W, H, body_bottom, tail_tip, tail_x0, tail_x1):
    """White balloon filling the canvas above `body_bottom`, tail to `tail_tip`."""
    cx, cy = W / 2.0, (4 + body_bottom) / 2.0
    a, b = W / 2.0 - 5, (body_bottom - 4) / 2.0
    pts = superellipse(cx, cy, a, b)
    body = poly(pts)
    # Tail: a curved wedge leaving the lower-left of the body.
    yb = body_bottom - 10
    tx, ty = tail_tip
    tail = "M%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s Z" % (
        fmt(tail_x1), fmt(yb - 6),
        fmt(tail_x1 - 8), fmt(yb + 14), fmt(tx + 22), fmt(ty - 8), fmt(tx), fmt(ty),
        fmt(tx + 16), fmt(ty - 18), fmt(tail_x0 + 4), fmt(yb + 4), fmt(tail_x0), fmt(yb - 8))
    s = ""
    # Outline pass: body and tail stroked together, then filled over, so the
    # tail joins the balloon without a seam.
    s += path(body, INK, INK, 8)
    s += path(tail, INK, INK, 8)
    s += path(body, WHITE, None, 0)
    s += path(tail, WHITE, None, 0)
    # Cel tone: a soft crescent along the lower right of the balloon (the
    # balloon minus itself shifted up-left), clipped to the balloon.
    shifted = poly([(x - 7, y - 7) for x, y in pts])
    s += '<g clip-path="url(#bc)"><path d="%s %s" fill="#e3e8f2" fill-rule="evenodd"/></g>' % (body, shifted)
    s += path(tail, WHITE, None, 0)
    # Gloss tick top-left.
    s += path("M%s %s C%s %s %s %s %s %s" % (fmt(W * 0.1), fmt(cy - b * 0.45), fmt(W * 0.12), fmt(cy - b * 0.8),
                                            fmt(W * 0.2), fmt(cy - b * 0.9), fmt(W * 0.3), fmt(cy - b * 0.92)),
              "none", "#cfd8ea", 4)
    write(A, name, W, H, s, clip_def("bc", '<path d="%s"/>' % body))


def clock():
    W = H = 40
    b = circle(9, 9, 6.5, RED, INK, 2) + circle(31, 9, 6.5, RED, INK, 2)
    b += path("M5 7 A5 5 0 0 1 9 4", "none", WHITE, 1.5, 'opacity="0.6"')
    b += line(11, 33, 8, 37, INK, 3) + line(29, 33, 32, 37, INK, 3)
    b += circle(20, 21, 15, SUN, INK, 2.5)
    b += path("M7 27 A15 15 0 0 0 33 27 A17 17 0 0 1 7 27 Z", shade(SUN), None, 0)
    b += circle(20, 21, 10.5, WHITE, INK, 2)
    for k in range(12):
        a = math.radians(k * 30)
        r0 = 8 if k % 3 else 7
        b += line(20 + r0 * math.cos(a), 21 + r0 * math.sin(a), 20 + 9.3 * math.cos(a), 21 + 9.3 * math.sin(a),
                  INK, 1.1 if k % 3 else 1.6)
    b += line(20, 21, 20, 14, INK, 2) + line(20, 21, 25, 23, RED, 2)
    b += circle(20, 21, 1.6, INK, None, 0)
    b += rect(18, 3, 4, 4, STEEL, 1, INK, 1.5)
    write(A, "Clock", W, H, b)


def back_button():
    W, H = 96, 48
    defs = halftone_def("ht", "#ffffff", 6, 1.1, 0.2)
    pill = rrect_d(4, 5, 86, 36, 18)
    b = path(pill, INK, INK, 4, 'transform="translate(3 3)"')
    b += path(pill, SKY, INK, 3.5)
    b += path("M4 29 L90 29 L90 23 A18 18 0 0 1 72 41 L22 41 A18 18 0 0 1 4 23 Z", shade(SKY), None, 0)
    b += path(pill, "url(#ht)", None, 0)
    b += path("M20 10 L76 10", "none", WHITE, 2, 'opacity="0.45"')
    b += path(pill, "none", INK, 3.5)
    b += '<g transform="translate(20 23) scale(-0.46 0.46) translate(-32 -32)">%s</g>' % ic.arrow_right(SUN, INK, 6)
    b += lettering("BACK", 58, 30, 19, WHITE, INK, 4.5, anchor="middle", skew=0.1)
    write(A, "Back", W, H, b, defs)


def delete_button():
    W = H = 48
    b = circle(25.5, 26.5, 20, INK, None, 0)
    b += circle(23.5, 23.5, 20, RED, INK, 3)
    b += path("M5 28 A20 20 0 0 0 42 28 A24 24 0 0 1 5 28 Z", shade(RED), None, 0)
    b += path("M9 15 A16 16 0 0 1 22 7", "none", WHITE, 2.2, 'opacity="0.55"')
    b += circle(23.5, 23.5, 20, "none", INK, 3)
    b += '<g transform="translate(23.5 23.5) scale(0.48) translate(-32 -32)">%s</g>' % ic.trash(WHITE, INK, 4.5)
    write(A, "Buttons03", W, H, b)


def snow_globe():
    W = H = 64
    defs = clip_def("g", '<circle cx="32" cy="27" r="22"/>')
    b = ""
    # wooden base with a gold band
    b += path("M12 50 L15 44 L49 44 L52 50 L54 58 C54 61 52 62 49 62 L15 62 C12 62 10 61 10 58 Z", WOOD, INK, 2.5)
    b += path("M40 44 L49 44 L52 50 L54 58 C54 61 52 62 49 62 L44 62 Z", WOOD_SHADE, None, 0)
    b += path("M12 50 L15 44 L49 44 L52 50 L54 58 C54 61 52 62 49 62 L15 62 C12 62 10 61 10 58 Z", "none", INK, 2.5)
    b += rect(11, 51, 42, 5, SUN, 1, INK, 1.8)
    b += path(poly(star_pts(32, 53.5, 4, 1.8, 5)), RED, None, 0)
    # glass dome contents: snowy ground, tiny creamery, snowfall
    inside = rect(0, 0, 64, 64, "#cfe6f5", 0, None, 0)
    inside += path("M6 40 C14 34 22 36 32 34 C42 32 50 35 58 40 L58 52 L6 52 Z", WHITE, INK, 1.6)
    inside += rect(21, 24, 18, 12, BRICK, 0, INK, 1.6)
    inside += path(poly([(19, 24), (30, 17), (41, 24)]), WHITE, INK, 1.6)
    inside += rect(28, 29, 5, 7, ELEM, 0, INK, 1.2)
    inside += path("M36 19 L34 13 L38 13 Z", GOLD, INK, 1) + circle(36, 12, 2.4, WHITE, INK, 1)
    for x, y, r in ((14, 14, 1.6), (22, 10, 1.3), (46, 12, 1.7), (50, 22, 1.3), (12, 28, 1.4), (44, 30, 1.2),
                    (28, 12, 1.1), (18, 20, 1.0), (52, 32, 1.0), (40, 18, 1.0)):
        inside += circle(x, y, r, WHITE, None, 0)
    b += '<g clip-path="url(#g)">%s</g>' % inside
    # glass shine and rim
    b += path("M15 18 C18 11 24 7 30 6", "none", WHITE, 3, 'opacity="0.85"')
    b += path("M46 38 C49 34 51 30 51 26", "none", "#8fb8d4", 2.5)
    b += circle(32, 27, 22, "none", INK, 3)
    write(A, "SnowGlobe", W, H, b, defs)


if __name__ == "__main__":
    bubble("Bubble", 420, 220, 196, (22, 217), 64, 118)
    bubble("Bubble2", 300, 360, 322, (26, 357), 52, 100)
    clock()
    back_button()
    delete_button()
    snow_globe()
