#!/usr/bin/env python3
"""Atlas03: title logo and buttons, the power-up tree (background, preview card,
connector arrow, 15 node icons and their locked twins), the options slider bar
and the character-creation arrows."""
import math

from atlas_style import *  # noqa: F401,F403
import atlas_icons as ic

A = "Atlas03"


# ---------------------------------------------------------------------------
# Title logo

def title_logo():
    W, H = 600, 200
    defs = (
        '<linearGradient id="celY" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#fff3c4"/><stop offset="0.18" stop-color="#fff3c4"/>'
        '<stop offset="0.18" stop-color="%s"/><stop offset="0.58" stop-color="%s"/>'
        '<stop offset="0.58" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
        % (SUN, SUN, GOLD, GOLD)
        + '<linearGradient id="celB" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#5b9bff"/><stop offset="0.55" stop-color="#5b9bff"/>'
        '<stop offset="0.55" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>' % (ELEM, shade(ELEM))
        + halftone_def("dotsR", "#ffffff", 7, 1.6, 0.35)
        + halftone_def("dotsB", INK, 6, 1.3, 0.25)
    )
    b = ""
    # Burst behind the name: a red comic explosion with a halftone glint.
    burst = burst_pts(300, 92, 150, 112, 16, jitter=0.06, seed=3)
    burst = [(300 + (x - 300) * 1.84, 90 + (y - 92) * 0.56) for x, y in burst]
    bd = poly(burst)
    b += path(bd, INK, INK, 10, 'transform="translate(5 6)"')
    b += path(bd, RED, INK, 4)
    b += path(bd, "url(#dotsR)", None, 0)
    inner = [(300 + (x - 300) * 0.86, 90 + (y - 90) * 0.8) for x, y in burst]
    b += path(poly(inner), "none", "#ff8a93", 3, 'stroke-dasharray="14 10" opacity="0.8"')

    # Speed lines left and right.
    for i, y in enumerate((40, 58, 126, 144)):
        b += line(18 + i * 6, y, 60 + i * 4, y, WHITE, 4, 'opacity="0.85"')
        b += line(W - 18 - i * 6, y, W - 60 - i * 4, y, WHITE, 4, 'opacity="0.85"')

    # BRALLWICK: extruded, slanted, bouncing letters.
    kw = dict(anchor="middle", skew=0.12, bounce=3.0, tilt=2.0, squash=0.92, spacing=1.0)
    d = text_d("BRALLWICK", 300, 118, 92, **kw)
    for i in range(9, 0, -1):
        b += '<path d="%s" fill="%s" stroke="%s" stroke-width="9" stroke-linejoin="round" transform="translate(%s %s)"/>' % (
            d, INK, INK, fmt(i * 0.55), fmt(i * 0.75))
    b += '<path d="%s" fill="%s" stroke="%s" stroke-width="9" stroke-linejoin="round" transform="translate(4 5)"/>' % (
        d, "#8e1f2b", "#8e1f2b")
    b += '<path d="%s" fill="%s" stroke="%s" stroke-width="10" stroke-linejoin="round"/>' % (d, INK, INK)
    b += '<path d="%s" fill="url(#celY)"/>' % d
    b += '<path d="%s" fill="none" stroke="#ffffff" stroke-width="1.6" stroke-opacity="0.7" transform="translate(-1.2 -1.5)"/>' % d

    # QUELLFAST ribbon with icy ends.
    rib = [(170, 138), (430, 138), (446, 150), (430, 188), (170, 188), (154, 150)]
    tails_l = [(172, 146), (112, 146), (130, 164), (112, 184), (172, 184)]
    tails_r = [(428, 146), (488, 146), (470, 164), (488, 184), (428, 184)]
    for t in (tails_l, tails_r):
        b += path(poly(t), INK, INK, 8, 'transform="translate(4 4)"')
        b += path(poly(t), shade(ELEM), INK, 3.5)
    b += path(poly(rib), INK, INK, 8, 'transform="translate(4 4)"')
    b += path(poly(rib), "url(#celB)", INK, 3.5)
    b += path("M172 144 L428 144", "none", "#cfe2ff", 2, 'opacity="0.8"')
    b += lettering("QUELLFAST", 300, 177, 38, WHITE, INK, 6, anchor="middle", spacing=3, squash=1.0)
    # Frost crystals at the ribbon ends (the base freezes fast).
    for cx in (132, 468):
        b += '<g transform="translate(%s 165) scale(0.42) translate(-32 -32)">%s</g>' % (
            fmt(cx), ic.snowflake(WHITE, INK, 4))
    write(A, "TitleLogo", W, H, b, defs)


# ---------------------------------------------------------------------------
# Title buttons: slanted comic badges with an icon disc and a label.

def title_button(name, label, col, icon_svg, label_size=30, text_col=WHITE):
    W, H = 200, 80
    body = poly([(30, 12), (194, 10), (186, 68), (20, 70)])
    defs = halftone_def("ht", WHITE, 6, 1.2, 0.22)
    b = path(body, INK, INK, 8, 'transform="translate(4 4)"')
    b += path(body, col, INK, 3.5)
    b += path(poly([(22, 52), (188, 50), (186, 68), (20, 70)]), shade(col), None, 0)
    b += path(body, "url(#ht)", None, 0)
    b += path("M34 16 L188 14", "none", WHITE, 2.5, 'opacity="0.55"')
    b += path(body, "none", INK, 3.5)
    # Icon disc overlapping the left end.
    b += circle(36, 42, 31, INK, None, 0, 'transform="translate(3 3)"')
    b += circle(36, 40, 30, PAPER, INK, 3.5)
    b += path("M10 48 A30 30 0 0 0 62 48 A36 36 0 0 1 10 48 Z", shade(PAPER), None, 0)
    b += '<g transform="translate(36 40) scale(0.72) translate(-32 -32)">%s</g>' % icon_svg
    b += lettering(label, 127 if len(label) > 5 else 124, 50, label_size, text_col, INK, 6.5, anchor="middle", skew=0.12, tilt=0, squash=0.95)
    write(A, name, W, H, b, defs)


def title_buttons():
    title_button("TitleButton1", "PLAY", RED, ic.play_tri(RED, INK, 4), 38)
    title_button("TitleButton2", "OPTIONS", ELEM, ic.gear(SKY, INK, 3.5, hole_fill=PAPER), 26)
    title_button("TitleButton3", "TROPHIES", GOLD, ic.trophy(SUN, GOLD, INK, 3.5), 23)
    title_button("TitleButton4", "EXIT", PURPLE, ic.door_exit(RED, INK, 3.5), 36)


# ---------------------------------------------------------------------------
# Power-up tree node icons: a medallion per power colour (its own shape too:
# physical square, elemental round, mental hexagon) with a white glyph.

def medallion_d(kind, cx=32, cy=32, r=27):
    if kind == "physical":
        return rrect_d(cx - r, cy - r, 2 * r, 2 * r, 10)
    if kind == "elemental":
        return "M%s %s A%s %s 0 1 0 %s %s A%s %s 0 1 0 %s %s Z" % (
            fmt(cx - r), fmt(cy), fmt(r), fmt(r), fmt(cx + r), fmt(cy), fmt(r), fmt(r), fmt(cx - r), fmt(cy))
    pts = [(cx + (r + 2) * math.cos(math.radians(a)), cy + (r + 2) * math.sin(math.radians(a)))
           for a in range(-90, 270, 60)]
    return poly(pts)


def node_icon(name, kind, col, glyph, locked):
    W = H = 64
    md = medallion_d(kind)
    inner = medallion_d(kind, r=21)
    cid = "c" + name
    defs = clip_def(cid, path(md, "#000", None, 0)) + halftone_def("ht" + name, INK, 5, 1.0, 0.18)
    base = "#7d8497" if locked else col
    b = path(md, INK, INK, 6, 'transform="translate(2 2.5)"')
    b += path(md, base, INK, 3)
    # Cel tone in the lower right.
    b += '<g clip-path="url(#%s)">%s%s</g>' % (
        cid, ellipse(44, 50, 34, 22, shade(col) if not locked else "#646b7e", None, 0,
                     'transform="rotate(-35 44 50)"'),
        path(md, "url(#ht%s)" % name, None, 0))
    b += path(inner, "none", "#ffffff" if not locked else "#a9afbf", 2, 'opacity="0.45"')
    b += path(md, "none", INK, 3)
    if locked:
        g = glyph("#4d5366", None)
        b += '<g transform="translate(32 32) scale(0.66) translate(-32 -32)" opacity="0.9">%s</g>' % g
        b += ic.padlock(38, 33, 1.0)
    else:
        b += '<g transform="translate(32 32) scale(0.7) translate(-32 -32)">%s</g>' % glyph(WHITE, INK)
    write(A, name, W, H, b, defs)


def g_cost(col):
    def f(fill, ink):
        gold = fill if ink is None else SUN
        s = ic.coin(gold, ink, 3, fill if ink is None else "#eab04a", 15, 23, 30)
        if ink:
            s += lettering("$", 23, 36.5, 18, INK, None, 0)
        s += ic.down_arrow(fill if ink is None else WHITE, ink, 3, cx=47, top=10, bottom=54, w=24)
        return s
    return f


def g_beam(fill, ink):
    s = ""
    if ink:
        s += rect(20, 24, 42, 16, ink, 8, None, 0)
    s += rect(22, 27, 40, 10, fill, 5, None, 0)
    s += ic.fist(fill, ink, 3) if False else ""
    s += '<g transform="translate(-6 0)">%s</g>' % ic.flame(fill, ink, 3) if False else ""
    burst = poly(star_pts(20, 32, 16, 8, 8))
    s += path(burst, fill, ink, 3)
    s += circle(20, 32, 5, "#ffd166" if ink else fill, None, 0)
    for y in (18, 46):
        s += line(34, y, 56, y, fill, 3) if not ink else line(34, y, 56, y, ink, 6) + line(34, y, 56, y, fill, 3)
    return s


def g_stone(fill, ink):
    sh = poly([(32, 6), (54, 14), (52, 36), (32, 58), (12, 36), (10, 14)])
    s = path(sh, fill, ink if ink else None, 3 if ink else 0)
    if ink:
        s += path("M32 6 L30 20 L18 28 M30 20 L42 30 L38 44 M42 30 L53 26 M18 28 L22 42", "none", ink, 2.4)
        s += path(poly([(32, 58), (52, 36), (54, 14), (50, 30)]), "#d8dde8", None, 0)
    return s


def g_energy(fill, ink):
    d = poly([(8, 29), (36, 29), (36, 18), (58, 32), (36, 46), (36, 35), (8, 35)])
    s = ""
    for y, x0 in ((18, 8), (46, 8)):
        s += (line(x0, y, x0 + 20, y, ink, 6) if ink else "") + line(x0, y, x0 + 20, y, fill, 3)
    s += path(d, fill, ink if ink else None, 3 if ink else 0)
    return s


def g_thunder(fill, ink):
    s = '<g transform="translate(0 -8)">%s</g>' % ic.cloud(fill, ink, 3)
    s += '<g transform="translate(34 44) scale(0.55) translate(-32 -32)">%s</g>' % ic.bolt(
        "#ffd166" if ink else fill, ink, 5)
    return s


def g_confusion(fill, ink):
    s = ic.spiral(fill, ink, 5, 2.3, 20)
    s += path(poly(star_pts(50, 12, 8, 3.5, 4)), "#ffd166" if ink else fill, ink, 2) if ink else \
        path(poly(star_pts(50, 12, 8, 3.5, 4)), fill, None, 0)
    s += path(poly(star_pts(12, 52, 7, 3, 4)), "#ffd166" if ink else fill, ink, 2) if ink else \
        path(poly(star_pts(12, 52, 7, 3, 4)), fill, None, 0)
    return s


def g_blast(fill, ink):
    # Head in profile (facing right) with shock rings from the brow.
    head = ("M18 56 L18 44 C10 40 8 30 12 22 C16 12 28 8 36 12 C42 15 44 20 44 25 L48 32 L44 34 "
            "L44 40 C44 44 40 45 35 44 L34 56 Z")
    s = path(head, fill, ink if ink else None, 3 if ink else 0)
    for r in (8, 14):
        arc = "M%s %s A%s %s 0 0 1 %s %s" % (fmt(48), fmt(22 - r), fmt(r + 4), fmt(r + 4), fmt(48), fmt(22 + r))
        if ink:
            s += path(arc, "none", ink, 7)
        s += path(arc, "none", fill, 3.5)
    return s


def g_mbolt(fill, ink):
    s = '<g transform="translate(0 2) scale(0.8) translate(8 2)">%s</g>' % ic.brain(fill, ink, 3.5)
    s += '<g transform="translate(46 42) scale(0.45) translate(-32 -32)">%s</g>' % ic.bolt(
        "#ffd166" if ink else fill, ink, 6)
    return s


def node_icons():
    glyphs = {
        ("Physical", 1): lambda f, k: ic.fist(f, k, 3, "#d8dde8" if k else None),
        ("Physical", 2): lambda f, k: ic.flame(f, k, 3, "#ffd166" if k else None),
        ("Physical", 3): g_beam,
        ("Physical", 4): g_stone,
        ("Physical", 5): g_cost(PHYS),
        ("Elemental", 1): g_energy,
        ("Elemental", 2): lambda f, k: ic.bolt(f, k, 3),
        ("Elemental", 3): g_thunder,
        ("Elemental", 4): lambda f, k: ic.snowflake(f, k, 3),
        ("Elemental", 5): g_cost(ELEM),
        ("Mental", 1): g_mbolt,
        ("Mental", 2): g_confusion,
        ("Mental", 3): g_blast,
        ("Mental", 4): lambda f, k: ic.eye(f, "#c9a7f5" if k else "#7d8497", k, 3) if k else
        path("M6 32 C16 16 48 16 58 32 C48 48 16 48 6 32 Z", f, None, 0),
        ("Mental", 5): g_cost(MENT),
    }
    kinds = {"Physical": ("physical", PHYS), "Elemental": ("elemental", ELEM), "Mental": ("mental", MENT)}
    for (tree, n), g in glyphs.items():
        kind, col = kinds[tree]
        node_icon("LevelUp%s%d" % (tree, n), kind, col, g, False)
        node_icon("LevelUp%s%ds" % (tree, n), kind, col, g, True)


# ---------------------------------------------------------------------------
# Power-up popup background, preview card, connector arrow

def level_up_bg_big():
    W, H = 400, 430
    defs = halftone_def("ht", SKY, 8, 1.3, 0.12)
    b = rect(6, 8, W - 10, H - 12, INK, 22, None, 0)
    b += rect(3, 3, W - 10, H - 10, NIGHT, 22, INK, 4)
    b += rect(9, 9, W - 22, H - 22, "none", 17, "#5b79a8", 2.5)
    # Light body where the black captions sit.
    b += rect(16, 26, W - 36, H - 46, PAPER, 14, INK, 3)
    b += rect(16, 26, W - 36, H - 46, "url(#ht)", 14, None, 0)
    # Three faint column tracks for the tree.
    c = W // 2
    for x in (c - 88 - 10, c - 10, c + 88 - 10):
        b += rect(x - 30, 38, 80, 266, "#e8e2c4", 18, None, 0)
    b += rect(16, 26, W - 36, H - 46, "none", 14, INK, 3)
    # Gold ribbon the "Power Up!" title sits on (it straddles the top edge).
    rib = [(110, 2), (290, 2), (302, 16), (290, 30), (110, 30), (98, 16)]
    b += path(poly(rib), INK, INK, 6, 'transform="translate(3 3)"')
    b += path(poly(rib), GOLD, INK, 3)
    b += path(poly([(104, 16), (296, 16), (290, 30), (110, 30)]), shade(GOLD), None, 0)
    b += path(poly(rib), "none", INK, 3)
    # Footer shelf for the OK / Undo buttons.
    b += path("M24 %d L%d %d" % (H - 122, W - 24, H - 122), "none", "#d9d3b4", 3, 'stroke-dasharray="2 8"')
    for x in (26, W - 26):
        b += '<g transform="translate(%d %d) scale(0.3) translate(-32 -32)">%s</g>' % (
            x, 40, path(poly(star_pts(32, 32, 28, 12, 5)), SUN, INK, 7))
    write(A, "LevelUpBgBig", W, H, b, defs)


def level_up_bg_small():
    W, H = 256, 300
    defs = halftone_def("ht", "#ffffff", 8, 1.2, 0.08)
    b = rect(6, 8, W - 10, H - 12, INK, 20, None, 0)
    b += rect(3, 3, W - 10, H - 10, NIGHT, 20, INK, 4)
    # A faint burst behind the power's name and icon.
    b += path(poly(burst_pts(125, 130, 100, 62, 14, jitter=0.05, seed=5)), "#29325c", None, 0)
    b += rect(3, 3, W - 10, H - 10, "url(#ht)", 20, None, 0)
    b += rect(9, 9, W - 22, H - 22, "none", 15, "#5b79a8", 2.5)
    # Header band behind "Power Preview".
    b += path(poly([(3, 34), (W - 7, 34)]), "none", "#5b79a8", 2.5)
    b += path("M23 3 H%d A20 20 0 0 1 %d 23 V34 H3 V23 A20 20 0 0 1 23 3 Z" % (W - 27, W - 7), SKY, INK, 4)
    b += rect(3, 3, W - 10, H - 10, "none", 20, INK, 4)
    write(A, "LevelUpBgSmall", W, H, b, defs)


def level_up_arrow():
    W, H = 32, 64
    # Only the bottom 32 rows are shown, and the node caption above is drawn
    # over their upper half: a slim dotted shaft there, the arrowhead in the
    # last rows, just above the next node.
    b = path("M16 0 L16 50", "none", STONE_SHADE, 3, 'stroke-dasharray="3 4"')
    head = poly([(6, 50), (26, 50), (16, 62)])
    b += path(head, GOLD, INK, 2.5)
    b += path(poly([(16, 52), (23, 52), (16, 60)]), shade(GOLD), None, 0)
    b += path(head, "none", INK, 2.5)
    write(A, "LevelUpArrow", W, H, b)


def options_bar():
    W, H = 200, 16
    b = rect(2, 2, W - 4, H - 4, NIGHT, 6, INK, 3)
    b += rect(6, 5, W - 12, 4, SKY, 2, None, 0)
    for i in range(1, 10):
        x = 2 + i * (W - 4) / 10.0
        b += line(x, 9, x, 11, CYAN, 1.5, 'opacity="0.7"')
    write(A, "OptionsBar", W, H, b)


def creation_arrow(name, left):
    W = H = 64
    b = circle(33, 34, 28, INK, None, 0)
    b += circle(31, 31, 28, SUN, INK, 3.5)
    b += path("M8 40 A28 28 0 0 0 54 40 A32 32 0 0 1 8 40 Z", GOLD, None, 0)
    b += circle(31, 31, 22, "none", WHITE, 2, 'opacity="0.5" stroke-dasharray="20 120"')
    b += circle(31, 31, 28, "none", INK, 3.5)
    g = ic.arrow_right(RED, INK, 3.5)
    t = "translate(31 31) scale(%s 0.78) translate(-32 -32)" % ("-0.78" if left else "0.78")
    b += '<g transform="%s">%s</g>' % (t, g)
    write(A, name, W, H, b)


if __name__ == "__main__":
    title_logo()
    title_buttons()
    node_icons()
    level_up_bg_big()
    level_up_bg_small()
    level_up_arrow()
    options_bar()
    creation_arrow("CharacterCreationLeft", True)
    creation_arrow("CharacterCreationRight", False)
