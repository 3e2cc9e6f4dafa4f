#!/usr/bin/env python3
"""Full-screen backgrounds (JPEG sources, 1000 x 600), the splash pictures
and the act card backdrop."""
import math
import random
from artlib import *

G = 'graphics/'
W, H = 1000, 600


# --- building blocks -----------------------------------------------------
def sky(gid, top, bottom, mid=None):
    st_ = [(0, top), (1, bottom)] if not mid else [(0, top), (0.6, mid), (1, bottom)]
    return lingrad(gid, st_)


def building(x, y_base, w, h, col, win, seed, lit=0.35, roof=None, outline=True, wstyle=0):
    rnd = random.Random(seed)
    o = []
    sw = 3 if outline else 0
    o.append(f'<rect x="{x}" y="{y_base - h}" width="{w}" height="{h}" fill="{col}" '
             + (f'stroke="{INK}" stroke-width="{sw}"' if outline else '') + '/>')
    o.append(f'<rect x="{x + w * 0.72}" y="{y_base - h}" width="{w * 0.28}" height="{h}" fill="{shade(col, 0.82)}"/>')
    if outline:
        o.append(f'<rect x="{x}" y="{y_base - h}" width="{w}" height="{h}" fill="none" stroke="{INK}" stroke-width="{sw}"/>')
    # cornice
    o.append(f'<rect x="{x - 3}" y="{y_base - h - 6}" width="{w + 6}" height="8" fill="{shade(col, 0.7)}" '
             + (f'stroke="{INK}" stroke-width="2"' if outline else '') + '/>')
    ww, wh = (10, 14) if wstyle == 0 else (14, 10)
    cols = max(1, int((w - 12) // (ww + 8)))
    rows = max(1, int((h - 20) // (wh + 10)))
    gx = (w - cols * ww) / (cols + 1)
    for r in range(rows):
        for c in range(cols):
            wx = x + gx + c * (ww + gx)
            wy = y_base - h + 14 + r * (wh + 10)
            if wy + wh > y_base - 6:
                continue
            f = win if rnd.random() < lit else shade(col, 0.55)
            o.append(f'<rect x="{wx:.1f}" y="{wy:.1f}" width="{ww}" height="{wh}" fill="{f}"/>')
    if roof == 'tower':
        tx = x + w * 0.25
        o.append(water_tower(tx, y_base - h - 6, 0.8, col))
    return ''.join(o)


def water_tower(x, y, s, col):
    c = shade('#8b5a3c', 1.0)
    return (f'<g transform="translate({x},{y}) scale({s})">'
            f'<path d="M4,0 L8,-22 M36,0 L32,-22 M10,0 L14,-22 M30,0 L26,-22" stroke="{INK}" stroke-width="2.5"/>'
            f'<rect x="2" y="-52" width="36" height="32" {st(c, 2.5)}/>'
            f'<path d="M0,-52 L20,-68 L40,-52 Z" {st(shade(c, 0.75), 2.5)}/>'
            f'<path d="M2,-44 L38,-44 M2,-30 L38,-30" stroke="{INK}" stroke-width="1.5"/></g>')


def skyline(y_base, col, seed, n=18, hmin=60, hmax=200, x0=-20, x1=1020, windows=None, outline=False):
    rnd = random.Random(seed)
    o = []
    x = x0
    while x < x1:
        w = rnd.uniform(40, 95)
        h = rnd.uniform(hmin, hmax)
        o.append(f'<rect x="{x:.1f}" y="{y_base - h:.1f}" width="{w:.1f}" height="{h + 2:.1f}" fill="{col}"/>')
        k = rnd.random()
        if k < 0.15:
            o.append(f'<rect x="{x + w * 0.4:.1f}" y="{y_base - h - 30:.1f}" width="3" height="30" fill="{col}"/>')
        elif k < 0.3:
            o.append(f'<path d="M{x:.1f},{y_base - h:.1f} L{x + w / 2:.1f},{y_base - h - 22:.1f} L{x + w:.1f},{y_base - h:.1f} Z" fill="{col}"/>')
        elif k < 0.42:
            o.append(f'<g transform="translate({x + w * 0.3:.1f},{y_base - h:.1f}) scale(0.6)"><path d="M4,0 L8,-22 M36,0 L32,-22" stroke="{col}" stroke-width="4"/>'
                     f'<rect x="2" y="-52" width="36" height="32" fill="{col}"/><path d="M0,-52 L20,-68 L40,-52 Z" fill="{col}"/></g>')
        if windows:
            for wy in range(int(y_base - h + 12), int(y_base - 8), 18):
                for wx in range(int(x + 8), int(x + w - 10), 14):
                    if rnd.random() < 0.28:
                        o.append(f'<rect x="{wx}" y="{wy}" width="6" height="8" fill="{windows}"/>')
        x += w + rnd.uniform(-10, 6)
    return ''.join(o)


def cloud_shape(x, y, s, fill='#ffffff', shadow=CYAN, ink=True):
    circles = [(0, 0, 30), (34, -14, 38), (74, -4, 32), (100, 8, 22), (-26, 10, 20)]
    base = f'<rect x="-30" y="6" width="150" height="26" rx="13"/>'
    c = ''.join(f'<circle cx="{cx}" cy="{cy}" r="{r}"/>' for cx, cy, r in circles)
    o = f'<g transform="translate({x},{y}) scale({s})">'
    if ink:
        o += f'<g fill="{INK}" stroke="{INK}" stroke-width="6">{base}{c}</g>'
    o += f'<g fill="{shadow}">{base}{c}</g><g fill="{fill}" transform="translate(-3,-6)">{c}</g></g>'
    return o


def halftone_sky(pid, col, opacity=0.25, step=10, r=2):
    return halftone(pid, col, step, r, opacity)


def sun_glow(cx, cy, r, col='#fff3c0'):
    return (f'<circle cx="{cx}" cy="{cy}" r="{r * 1.8}" fill="{col}" opacity="0.25"/>'
            f'<circle cx="{cx}" cy="{cy}" r="{r * 1.3}" fill="{col}" opacity="0.35"/>'
            f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{col}" stroke="{INK}" stroke-width="3"/>')


def tree_round(x, y, s, col=LEAF):
    return (f'<g transform="translate({x},{y}) scale({s})">'
            f'<rect x="-5" y="-30" width="10" height="30" {st("#7a4b2a", 2.5)}/>'
            f'<circle cx="0" cy="-48" r="26" {st(col, 3)}/><circle cx="-14" cy="-38" r="16" {st(col, 3)}/>'
            f'<circle cx="14" cy="-40" r="17" {st(col, 3)}/><circle cx="0" cy="-48" r="24" fill="{col}"/>'
            f'<circle cx="-13" cy="-38" r="14" fill="{col}"/><circle cx="13" cy="-40" r="15" fill="{col}"/>'
            f'<path d="M-6,-62 Q2,-70 12,-62" fill="none" stroke="{shade(col, 1.4)}" stroke-width="4" stroke-linecap="round"/></g>')


def lamp(x, y, h=120):
    return (f'<rect x="{x - 3}" y="{y - h}" width="6" height="{h}" {st(NIGHT, 2)}/>'
            f'<path d="M{x - 3},{y - h} Q{x + 20},{y - h - 14} {x + 26},{y - h + 2}" fill="none" stroke="{INK}" stroke-width="5"/>'
            f'<path d="M{x - 3},{y - h} Q{x + 20},{y - h - 14} {x + 26},{y - h + 2}" fill="none" stroke="{NIGHT}" stroke-width="2.5"/>'
            f'<path d="M{x + 18},{y - h + 2} L{x + 34},{y - h + 2} L{x + 30},{y - h + 10} L{x + 22},{y - h + 10} Z" {st(SUN, 2)}/>')


def vignette(strength=0.3):
    """A soft darkening towards the edges keeps the eye on the play area."""
    return (radgrad('vig', [(0, INK, 0), (0.65, INK, 0), (1, INK, strength)], r=0.75)
            , f'<rect width="{W}" height="{H}" fill="url(#vig)"/>')


def finish(body, defs, strength=0.3):
    vd, vr = vignette(strength)
    return svg(W, H, body + vr, defs + vd)


# --- scenes --------------------------------------------------------------
def street():
    defs = sky('s', '#7fb2d6', '#f6e7c8', CYAN) + halftone('ht', '#ffffff', 12, 2, 0.25)
    b = [f'<rect width="{W}" height="{H}" fill="url(#s)"/>', f'<rect width="{W}" height="260" fill="url(#ht)"/>',
         cloud_shape(150, 90, 0.8), cloud_shape(700, 60, 0.6),
         skyline(420, '#a9c6db', 5, hmin=90, hmax=250),
         skyline(430, '#7d9fbd', 9, hmin=60, hmax=170, windows='#c9dceb')]
    # mid row of brick buildings
    cols = ['#b5523b', '#c98b5a', '#8f4a3a', '#d1a36f', '#a2573f', '#6f7fa0', '#b5523b']
    x = -10
    i = 0
    rnd = random.Random(4)
    while x < W:
        w = rnd.choice([120, 140, 160, 110])
        h = rnd.uniform(190, 290)
        b.append(building(x, 470, w, h, cols[i % len(cols)], SUN, 30 + i, lit=0.25,
                          roof='tower' if i % 3 == 1 else None))
        # awnings and doors on the street floor
        aw = [RED, LEAF, GOLD, ELEM][i % 4]
        b.append(f'<path d="M{x + 10},{430} L{x + w - 10},{430} L{x + w - 4},{448} L{x + 4},{448} Z" {st(aw, 2.5)}/>')
        for k in range(int((w - 14) / 16)):
            b.append(f'<path d="M{x + 10 + k * 16},{430} L{x + 18 + k * 16},{430} L{x + 16 + k * 16 + 4},{448} L{x + 4 + k * 16 + 6},{448} Z" fill="#fff" opacity="0.45"/>')
        b.append(f'<rect x="{x + w / 2 - 12}" y="448" width="24" height="22" {st(shade(cols[i % len(cols)], 0.5), 2)}/>')
        x += w
        i += 1
    # sidewalk and road
    b.append(f'<rect x="-5" y="468" width="1010" height="40" {st("#cfc6b0", 3)}/>')
    b.append(''.join(f'<path d="M{x},470 L{x - 10},506" stroke="#b3a98f" stroke-width="2"/>' for x in range(40, 1000, 70)))
    b.append(f'<rect x="-5" y="506" width="1010" height="12" {st("#9c9482", 3)}/>')
    b.append(f'<rect x="0" y="518" width="1000" height="82" fill="#4a4e69"/>')
    b.append(''.join(f'<rect x="{x}" y="556" width="50" height="7" fill="{SUN}"/>' for x in range(20, 1000, 110)))
    b.append(lamp(180, 470) + lamp(620, 470))
    b.append(f'<rect x="420" y="436" width="18" height="34" rx="3" {st(RED, 2.5)}/><rect x="416" y="430" width="26" height="8" rx="3" {st(RED, 2.5)}/>')
    b.append(tree_round(320, 472, 0.9) + tree_round(860, 472, 1.0))
    return finish(''.join(b), defs, 0.22)


def superhero_u():
    """Quellfast, the base in the old creamery: steel, ice and screens."""
    defs = sky('wall', '#2c3e63', '#1b2440') + halftone('ht', CYAN, 14, 2, 0.15) + radgrad('glow', [(0, '#bfe6ff', 0.6), (1, '#bfe6ff', 0)])
    b = [f'<rect width="{W}" height="{H}" fill="url(#wall)"/>', f'<rect width="{W}" height="{H}" fill="url(#ht)"/>']
    # arched roof trusses
    for x in range(-40, 1040, 160):
        b.append(f'<path d="M{x},0 L{x + 80},70 L{x + 160},0" fill="none" stroke="#151b30" stroke-width="10"/>')
    b.append(f'<rect x="0" y="60" width="1000" height="14" fill="#151b30"/>')
    # big Hero-o-Scope screen
    b.append(f'<ellipse cx="500" cy="230" rx="330" ry="170" fill="url(#glow)"/>')
    b.append(rrect(280, 110, 440, 230, 16, st('#0e1a2e', 6)))
    b.append(rrect(296, 126, 408, 198, 8, f'fill="#123a5c"'))
    for gx in range(296, 704, 34):
        b.append(f'<path d="M{gx},126 L{gx},324" stroke="{CYAN}" stroke-width="1" opacity="0.25"/>')
    for gy in range(126, 324, 33):
        b.append(f'<path d="M296,{gy} L704,{gy}" stroke="{CYAN}" stroke-width="1" opacity="0.25"/>')
    # city outline on the scope and a blinking spike
    b.append(f'<path d="M300,300 L330,300 L330,260 L360,260 L360,280 L400,280 L400,230 L430,230 L430,290 L470,290 L470,250 L520,250 L520,210 L545,210 L545,270 '
             f'L590,270 L590,240 L630,240 L630,295 L700,295" fill="none" stroke="{CYAN}" stroke-width="3"/>')
    b.append(f'<path d="M300,200 L420,200 L440,150 L460,240 L480,180 L500,200 L700,200" fill="none" stroke="{CLUE}" stroke-width="3"/>')
    b.append(f'<circle cx="545" cy="210" r="9" fill="{RED}" stroke="#fff" stroke-width="2"/>')
    # side freezers with frost
    for x in (40, 820):
        b.append(rrect(x, 250, 140, 250, 10, st('#d8e3ea', 4)))
        b.append(rrect(x + 12, 265, 116, 100, 6, f'fill="#bcd0dc" stroke="{INK}" stroke-width="2"'))
        b.append(rrect(x + 12, 380, 116, 100, 6, f'fill="#bcd0dc" stroke="{INK}" stroke-width="2"'))
        b.append(f'<rect x="{x + 110}" y="300" width="8" height="40" rx="3" fill="{SKY}"/><rect x="{x + 110}" y="410" width="8" height="40" rx="3" fill="{SKY}"/>')
        b.append(f'<path d="M{x},256 q10,14 20,0 q10,18 20,0 q10,12 20,0 q10,16 20,0 q10,10 20,0 q10,18 20,0 q10,12 20,0" fill="#ffffff" stroke="{INK}" stroke-width="2"/>')
    # sign
    b.append(rrect(330, 24, 340, 58, 10, st(RED, 4)))
    b.append(lettering('QUELLFAST', 500, 37, 30, PAPER, anchor='middle', weight=6.5, outline=2.5, shadow=False))
    # console and floor
    b.append(f'<rect x="0" y="500" width="1000" height="100" fill="#3b4a6b"/>')
    b.append(''.join(f'<path d="M{x},500 L{x * 1.6 - 300},600" stroke="#2c3854" stroke-width="3"/>' for x in range(0, 1001, 100)))
    b.append(f'<path d="M300,400 L700,400 L740,500 L260,500 Z" {st(SKY, 4)}/>')
    b.append(f'<path d="M300,400 L700,400 L708,420 L292,420 Z" fill="{NIGHT}"/>')
    for i, c in enumerate([RED, SUN, CLUE, ELEM, MENT, RED, SUN, CLUE]):
        b.append(f'<circle cx="{330 + i * 48}" cy="455" r="9" {st(c, 2.5)}/>')
    # snowflake emblem glints
    for x, y in ((120, 160), (880, 170)):
        b.append(f'<g transform="translate({x},{y})" stroke="#e8f6ff" stroke-width="5" stroke-linecap="round">'
                 + ''.join(f'<path d="M0,0 L{34 * math.cos(a * math.pi / 3):.1f},{34 * math.sin(a * math.pi / 3):.1f}"/>' for a in range(6)) + '</g>')
    return finish(''.join(b), defs)


def act():
    defs = radgrad('bg', [(0, '#3b1d6e'), (0.6, NIGHT), (1, '#0f1022')]) + halftone('ht', PURPLE, 10, 2.4, 0.55)
    b = [f'<rect width="{W}" height="{H}" fill="url(#bg)"/>', f'<rect width="{W}" height="{H}" fill="url(#ht)" opacity="0.6"/>']
    for i in range(24):
        a0 = 2 * math.pi * i / 24
        a1 = a0 + 0.12
        b.append(f'<path d="M500,300 L{500 + 900 * math.cos(a0):.0f},{300 + 900 * math.sin(a0):.0f} L{500 + 900 * math.cos(a1):.0f},{300 + 900 * math.sin(a1):.0f} Z" fill="{SUN}" opacity="0.08"/>')
    b.append(skyline(600, '#121428', 17, hmin=80, hmax=220, windows='#3d5a80'))
    # Old Tardy, the clock tower, in silhouette
    b.append('<path d="M460,600 L460,300 L480,280 L520,280 L540,300 L540,600 Z" fill="#121428"/><path d="M470,280 L500,220 L530,280 Z" fill="#121428"/>')
    b.append(f'<circle cx="500" cy="330" r="22" fill="{SUN}" stroke="#121428" stroke-width="4"/>'
             f'<path d="M500,330 L500,314 M500,330 L512,334" stroke="#121428" stroke-width="3" stroke-linecap="round"/>')
    b.append(f'<rect x="0" y="0" width="1000" height="600" fill="none" stroke="{INK}" stroke-width="16"/>')
    b.append(f'<rect x="14" y="14" width="972" height="572" fill="none" stroke="{SUN}" stroke-width="3"/>')
    return finish(''.join(b), defs)


def arena():
    defs = sky('w', '#5b2a4a', '#2a1630') + radgrad('spot', [(0, '#fff3c0', 0.55), (1, '#fff3c0', 0)]) + halftone('ht', REP, 12, 2, 0.3)
    b = [f'<rect width="{W}" height="{H}" fill="url(#w)"/>', f'<rect width="{W}" height="330" fill="url(#ht)"/>']
    # bleachers with crowd
    rnd = random.Random(8)
    for row in range(6):
        y = 150 + row * 34
        b.append(f'<rect x="0" y="{y + 20}" width="1000" height="14" fill="{shade("#3a1f40", 1 + row * 0.05)}"/>')
        for x in range(-10, 1010, 26):
            c = rnd.choice([RED, SUN, ELEM, LEAF, REP, GOLD, CYAN, PAPER])
            xx = x + rnd.uniform(-4, 4) + (row % 2) * 13
            b.append(f'<circle cx="{xx:.0f}" cy="{y + 6}" r="8" fill="{shade(c, 0.55 + row * 0.06)}"/><rect x="{xx - 10:.0f}" y="{y + 12}" width="20" height="10" rx="5" fill="{shade(c, 0.45 + row * 0.06)}"/>')
    # banners
    for i, c in enumerate([RED, ELEM, SUN, LEAF]):
        x = 90 + i * 240
        b.append(f'<path d="M{x},40 L{x + 90},40 L{x + 90},120 L{x + 45},100 L{x},120 Z" {st(c, 3)}/>'
                 f'<path d="{poly(star_pts(x + 45, 70, 18, 8))}" fill="{PAPER}" stroke="{INK}" stroke-width="2"/>')
    # spotlights
    b.append(f'<path d="M120,0 L360,600 L0,600 L0,80 Z" fill="url(#spot)"/><path d="M880,0 L1000,80 L1000,600 L640,600 Z" fill="url(#spot)"/>')
    # ring floor
    b.append(f'<path d="M0,390 L1000,390 L1000,600 L0,600 Z" fill="#2c6e8e"/>')
    b.append(f'<path d="M80,430 L920,430 L1000,600 L0,600 Z" {st("#e9e2c9", 4)}/>')
    b.append(f'<ellipse cx="500" cy="520" rx="160" ry="40" fill="none" stroke="{RED}" stroke-width="6"/>')
    for y, c in ((360, RED), (385, PAPER), (410, ELEM)):
        b.append(f'<path d="M0,{y} L1000,{y}" stroke="{INK}" stroke-width="9"/><path d="M0,{y} L1000,{y}" stroke="{c}" stroke-width="5"/>')
    for x in (30, 970):
        b.append(f'<rect x="{x - 10}" y="330" width="20" height="120" {st(SUN, 3)}/>')
    return finish(''.join(b), defs)


def cellar():
    defs = radgrad('lamp', [(0, '#ffd98a', 0.5), (1, '#ffd98a', 0)]) + lingrad('w', [(0, '#3a2a2a'), (1, '#221818')])
    b = [f'<rect width="{W}" height="{H}" fill="url(#w)"/>']
    rnd = random.Random(3)
    for r in range(0, 480, 26):
        off = (r // 26) % 2 * 30
        for x in range(-60 + off, 1000, 60):
            c = shade('#5a3a32', rnd.uniform(0.75, 1.1))
            b.append(f'<rect x="{x + 2}" y="{r + 2}" width="56" height="22" rx="3" fill="{c}"/>')
    # arches
    for x in (70, 400, 730):
        b.append(f'<path d="M{x},470 L{x},230 A100,100 0 0 1 {x + 200},230 L{x + 200},470 Z" fill="#140e12" stroke="{INK}" stroke-width="5"/>')
        b.append(f'<path d="M{x - 14},470 L{x - 14},230 A114,114 0 0 1 {x + 214},230 L{x + 214},470" fill="none" stroke="#7a5246" stroke-width="12"/>')
    # pipes
    b.append(f'<path d="M0,70 L1000,70" stroke="{INK}" stroke-width="22"/><path d="M0,70 L1000,70" stroke="#6b7f8e" stroke-width="15"/>')
    b.append(f'<path d="M0,66 L1000,66" stroke="#a6b8c4" stroke-width="3"/>')
    for x in (160, 520, 860):
        b.append(f'<rect x="{x}" y="56" width="14" height="28" {st("#4d5c68", 2)}/>')
    # hanging lamps
    for x in (280, 680):
        b.append(f'<circle cx="{x}" cy="180" r="200" fill="url(#lamp)"/>')
        b.append(f'<path d="M{x},80 L{x},150" stroke="{INK}" stroke-width="3"/><path d="M{x - 24},170 L{x + 24},170 L{x + 12},150 L{x - 12},150 Z" {st(SKY, 3)}/><circle cx="{x}" cy="174" r="8" fill="{SUN}"/>')
    # floor and crates / cans
    b.append(f'<rect x="0" y="470" width="1000" height="130" fill="#3b302c"/>')
    b.append(''.join(f'<path d="M{x},470 L{(x - 500) * 1.5 + 500},600" stroke="#2c2421" stroke-width="3"/>' for x in range(0, 1001, 80)))
    for x, y, s in ((40, 440, 70), (105, 460, 50), (870, 430, 80)):
        b.append(f'<rect x="{x}" y="{y}" width="{s}" height="{s}" {st("#a0703c", 3)}/><path d="M{x},{y} L{x + s},{y + s} M{x + s},{y} L{x},{y + s}" stroke="#7a5228" stroke-width="4"/>'
                 f'<rect x="{x}" y="{y}" width="{s}" height="{s}" fill="none" stroke="{INK}" stroke-width="3"/>')
    for i, x in enumerate((300, 330, 360, 315, 345)):
        y = 540 if i < 3 else 500
        b.append(f'<rect x="{x}" y="{y}" width="28" height="40" rx="3" {st("#b8c4d0", 2.5)}/><rect x="{x}" y="{y + 12}" width="28" height="16" fill="{RED}" stroke="{INK}" stroke-width="2"/>')
    return finish(''.join(b), defs)


def classroom():
    defs = lingrad('w', [(0, '#e9d8b4'), (1, '#cdb48a')]) + halftone('ht', '#b8935a', 12, 1.6, 0.35)
    b = [f'<rect width="{W}" height="{H}" fill="url(#w)"/>', f'<rect width="{W}" height="{H}" fill="url(#ht)"/>']
    # bookshelves left and right
    rnd = random.Random(6)
    for x0 in (20, 760):
        b.append(f'<rect x="{x0}" y="60" width="220" height="420" {st("#7a4b2a", 4)}/>')
        for sy in range(80, 470, 78):
            b.append(f'<rect x="{x0 + 10}" y="{sy}" width="200" height="62" fill="#4a2c18"/>')
            x = x0 + 12
            while x < x0 + 200:
                bw = rnd.uniform(10, 20)
                bh = rnd.uniform(40, 60)
                c = mix(rnd.choice([RED, ELEM, LEAF, SUN, PURPLE, GOLD, SKY, PAPER]), '#cdb48a', 0.35)
                if x + bw > x0 + 208:
                    break
                b.append(f'<rect x="{x:.1f}" y="{sy + 62 - bh:.1f}" width="{bw:.1f}" height="{bh:.1f}" fill="{c}" stroke="{INK}" stroke-width="1.5"/>')
                x += bw + 1
            b.append(f'<rect x="{x0 + 6}" y="{sy + 62}" width="208" height="8" fill="#8f5a32" stroke="{INK}" stroke-width="2"/>')
    # chalkboard
    b.append(rrect(290, 70, 420, 240, 6, st('#8f5a32', 5)))
    b.append(f'<rect x="304" y="84" width="392" height="212" fill="#2f4f46"/>')
    b.append(plain_text('E=MC2', 340, 110, 30, '#e8efe8', weight=3.5) + plain_text('A+B', 560, 200, 24, '#e8efe8', weight=3))
    b.append(f'<path d="M340,230 Q400,170 460,230 T580,230" fill="none" stroke="#e8efe8" stroke-width="3"/>'
             f'<circle cx="620" cy="130" r="26" fill="none" stroke="#e8efe8" stroke-width="3"/><path d="M594,130 L646,130 M620,104 L620,156" stroke="#e8efe8" stroke-width="2"/>')
    # flasks on a lab table
    b.append(f'<rect x="0" y="470" width="1000" height="130" fill="#8a6a4a"/>')
    b.append(''.join(f'<path d="M0,{y} L1000,{y}" stroke="#6f5238" stroke-width="3"/>' for y in range(490, 600, 26)))
    b.append(f'<rect x="290" y="380" width="420" height="26" {st("#5c3b22", 4)}/><rect x="310" y="406" width="16" height="90" {st("#5c3b22", 3)}/><rect x="674" y="406" width="16" height="90" {st("#5c3b22", 3)}/>')
    for x, c in ((340, CLUE), (420, REP), (520, ELEM), (610, SUN)):
        b.append(f'<path d="M{x - 6},330 L{x + 6},330 L{x + 6},350 L{x + 22},380 L{x - 22},380 L{x - 6},350 Z" {st("#e8f6ff", 3)}/>'
                 f'<path d="M{x - 14},366 L{x + 14},366 L{x + 21},379 L{x - 21},379 Z" fill="{c}"/>')
    # lamp
    b.append(f'<path d="M500,0 L500,40" stroke="{INK}" stroke-width="3"/><path d="M470,56 L530,56 L516,38 L484,38 Z" {st(LEAF, 3)}/>')
    return finish(''.join(b), defs)


def federal():
    defs = lingrad('w', [(0, '#dfe6ee'), (1, '#b7c3d1')]) + halftone('ht', SKY, 12, 1.5, 0.2)
    b = [f'<rect width="{W}" height="{H}" fill="url(#w)"/>', f'<rect width="{W}" height="{H}" fill="url(#ht)"/>']
    # pediment
    b.append(f'<path d="M60,120 L500,20 L940,120 Z" {st("#eef1f5", 5)}/><path d="M140,108 L500,40 L860,108 Z" fill="#cfd8e3"/>')
    b.append(f'<circle cx="500" cy="84" r="22" {st(SUN, 3)}/>' + plain_text('B', 500, 74, 20, INK, weight=3.5, anchor='middle'))
    b.append(f'<rect x="50" y="120" width="900" height="24" {st("#e3e8ef", 4)}/>')
    for x in range(90, 950, 110):
        b.append(f'<rect x="{x}" y="144" width="46" height="330" fill="#f3f5f8" stroke="{INK}" stroke-width="4"/>')
        b.append(''.join(f'<path d="M{x + k},150 L{x + k},468" stroke="#c8d2de" stroke-width="3"/>' for k in (12, 23, 34)))
        b.append(f'<rect x="{x - 8}" y="144" width="62" height="14" {st("#e3e8ef", 3)}/><rect x="{x - 8}" y="462" width="62" height="14" {st("#e3e8ef", 3)}/>')
    # flags between columns
    for x, c in ((196, RED), (746, ELEM)):
        b.append(f'<path d="M{x},190 L{x + 60},190 L{x + 60},330 L{x + 30},310 L{x},330 Z" {st(c, 3)}/>'
                 f'<path d="{poly(star_pts(x + 30, 240, 16, 7))}" fill="{SUN}" stroke="{INK}" stroke-width="2"/>')
    # steps and red carpet
    for i in range(4):
        b.append(f'<rect x="{30 - i * 10}" y="{476 + i * 31}" width="{940 + i * 20}" height="31" {st(shade("#d4dce6", 1 - i * 0.05), 3)}/>')
    b.append(f'<path d="M440,476 L560,476 L600,600 L400,600 Z" fill="{RED}" stroke="{INK}" stroke-width="3"/>')
    return finish(''.join(b), defs)


def luxury():
    defs = lingrad('w', [(0, '#4b1d5e'), (1, '#2a1036')]) + halftone('ht', SUN, 16, 1.8, 0.18)
    b = [f'<rect width="{W}" height="{H}" fill="url(#w)"/>', f'<rect width="{W}" height="420" fill="url(#ht)"/>']
    # wall panels with question-mark damask
    for x in range(30, 1000, 190):
        b.append(rrect(x, 120, 150, 270, 6, f'fill="none" stroke="{GOLD}" stroke-width="4"'))
        b.append(plain_text('?', x + 75, 220, 40, '#6a2f80', weight=6, anchor='middle'))
    # portrait of the Countess (frame)
    b.append(rrect(410, 90, 180, 230, 8, st(GOLD, 6)) + f'<rect x="426" y="106" width="148" height="198" fill="#2d5a6b"/>')
    b.append(f'<path d="M460,304 Q500,230 540,304 Z" fill="{PURPLE}"/><circle cx="500" cy="200" r="34" fill="#f0d0b8"/><path d="M466,196 Q470,150 500,150 Q532,150 534,196 Q520,170 500,172 Q480,170 466,196 Z" fill="#e8e8f0"/>'
             f'<circle cx="512" cy="196" r="9" fill="none" stroke="{SUN}" stroke-width="3"/>')
    # chandelier
    b.append(f'<path d="M500,0 L500,40" stroke="{GOLD}" stroke-width="4"/><path d="M420,60 Q500,100 580,60" fill="none" stroke="{GOLD}" stroke-width="6"/>')
    for x in (420, 460, 500, 540, 580):
        b.append(f'<rect x="{x - 4}" y="44" width="8" height="16" fill="{PAPER}"/><path d="M{x},30 Q{x + 6},38 {x},44 Q{x - 6},38 {x},30 Z" fill="{SUN}"/>')
    # checkered floor in perspective
    b.append(f'<rect x="0" y="420" width="1000" height="180" fill="#e8e0cc"/>')
    rows = 6
    for r in range(rows):
        y0 = 420 + 180 * (r / rows) ** 1.2
        y1 = 420 + 180 * ((r + 1) / rows) ** 1.2
        for c in range(-10, 11):
            if (r + c) % 2:
                continue
            def px(col, y):
                return 500 + (col * 60) * (0.6 + 0.9 * (y - 420) / 180)
            b.append(f'<path d="M{px(c, y0):.0f},{y0:.0f} L{px(c + 1, y0):.0f},{y0:.0f} L{px(c + 1, y1):.0f},{y1:.0f} L{px(c, y1):.0f},{y1:.0f} Z" fill="#3b2344"/>')
    b.append(f'<rect x="0" y="400" width="1000" height="22" {st("#6a2f80", 3)}/>')
    return finish(''.join(b), defs)


def clouds_bg(red=False):
    if red:
        defs = sky('s', '#3b0a2a', '#ff7b3a', '#c2255c') + halftone('ht', '#ffd166', 12, 2, 0.25)
        cf, cs = '#ffb38a', '#a8324f'
    else:
        defs = sky('s', '#4d8fd1', '#e8f4ff', '#98c1d9') + halftone('ht', '#ffffff', 12, 2, 0.25)
        cf, cs = '#ffffff', '#b9d7ee'
    b = [f'<rect width="{W}" height="{H}" fill="url(#s)"/>', f'<rect width="{W}" height="{H}" fill="url(#ht)"/>']
    if red:
        # Supreme Tower crown poking through, storm bolts
        b.append(f'<path d="M430,600 L450,330 L500,260 L550,330 L570,600 Z" fill="#1b1b2f"/><path d="M470,300 L500,180 L530,300 Z" fill="#1b1b2f"/>'
                 f'<circle cx="500" cy="320" r="18" fill="{SUN}"/>')
        b.append(f'<path d="M140,0 L170,90 L150,90 L190,200" fill="none" stroke="#fff6d0" stroke-width="5"/>'
                 f'<path d="M860,0 L830,110 L855,110 L810,230" fill="none" stroke="#fff6d0" stroke-width="5"/>')
    else:
        b.append(sun_glow(820, 120, 50))
    rnd = random.Random(12 if red else 2)
    for i in range(9):
        x, y = rnd.uniform(-80, 960), 60 + i * 60 + rnd.uniform(-20, 20)
        b.append(cloud_shape(x, y, rnd.uniform(0.7, 1.4), cf, cs))
    # cloud floor
    b.append(f'<g fill="{cs}" stroke="{INK}" stroke-width="4">' + ''.join(
        f'<circle cx="{x}" cy="{590 + (x * 37) % 30}" r="{60 + (x * 13) % 30}"/>' for x in range(0, 1080, 80)) + '</g>')
    b.append(f'<g fill="{cf}">' + ''.join(
        f'<circle cx="{x - 3}" cy="{584 + (x * 37) % 30}" r="{56 + (x * 13) % 30}"/>' for x in range(0, 1080, 80)) + '</g>')
    return finish(''.join(b), defs)


def road():
    """Top-down road: cars run down the left half and up the right half."""
    b = [f'<rect width="{W}" height="{H}" fill="#5c9c4c"/>']
    rnd = random.Random(9)
    for _ in range(70):
        x = rnd.choice([rnd.uniform(0, 200), rnd.uniform(800, 1000)])
        y = rnd.uniform(0, 600)
        b.append(f'<circle cx="{x:.0f}" cy="{y:.0f}" r="{rnd.uniform(3, 7):.1f}" fill="#4b8a3e"/>')
    for x, y in ((60, 90), (130, 300), (70, 480), (900, 150), (950, 380), (870, 540)):
        b.append(f'<circle cx="{x}" cy="{y + 6}" r="40" fill="#2f5f2a"/><circle cx="{x}" cy="{y}" r="40" {st("#3f8f4f", 3)}/><circle cx="{x - 10}" cy="{y - 10}" r="16" fill="#5fb06a"/>')
    b.append(f'<rect x="200" y="-5" width="600" height="610" fill="#c9c2ad" stroke="{INK}" stroke-width="4"/>')
    b.append(f'<rect x="230" y="-5" width="540" height="610" fill="#4a4e69" stroke="{INK}" stroke-width="4"/>')
    for y in range(-20, 600, 80):
        b.append(f'<rect x="{362}" y="{y}" width="8" height="44" fill="#f4f1de"/><rect x="{630}" y="{y}" width="8" height="44" fill="#f4f1de"/>')
    b.append(f'<rect x="492" y="-5" width="6" height="610" fill="{SUN}"/><rect x="502" y="-5" width="6" height="610" fill="{SUN}"/>')
    b.append(''.join(f'<path d="M{x},{y} l{rnd.uniform(-20, 20):.0f},{rnd.uniform(-10, 10):.0f}" stroke="#3d4159" stroke-width="3"/>'
                     for x, y in [(rnd.uniform(240, 760), rnd.uniform(0, 600)) for _ in range(40)]))
    # sidewalk slabs
    b.append(''.join(f'<path d="M200,{y} L230,{y} M770,{y} L800,{y}" stroke="#a59d88" stroke-width="2"/>' for y in range(0, 600, 30)))
    return svg(W, H, ''.join(b))


def square():
    """Market Square seen from above at a slant: open cobbles for the crowd."""
    defs = ('<pattern id="cob" width="36" height="20" patternUnits="userSpaceOnUse">'
            '<rect width="36" height="20" fill="#dccfb2"/>'
            '<rect x="1" y="1" width="16" height="8" rx="3" fill="#e6dbc0"/><rect x="19" y="1" width="16" height="8" rx="3" fill="#d6c8a8"/>'
            '<rect x="-8" y="11" width="16" height="8" rx="3" fill="#d3c5a4"/><rect x="10" y="11" width="16" height="8" rx="3" fill="#e3d7bb"/>'
            '<rect x="28" y="11" width="16" height="8" rx="3" fill="#d3c5a4"/></pattern>')
    b = [f'<rect width="{W}" height="{H}" fill="url(#cob)"/>']
    # paved rings around the fountain
    for r, c in ((250, '#cbbd9c'), (236, '#e9dfc6'), (150, '#cbbd9c'), (140, '#e9dfc6')):
        b.append(f'<ellipse cx="500" cy="370" rx="{r}" ry="{r * 0.5}" fill="{c}"/>')
    b.append(f'<ellipse cx="500" cy="370" rx="236" ry="118" fill="url(#cob)" opacity="0.5"/>')
    # building fronts along the top, with doors and shop signs
    x = -20
    cols = ['#b5523b', '#d1a36f', '#6f7fa0', '#a2573f', '#c98b5a', '#2a9d8f', '#8f4a3a']
    i = 0
    rnd = random.Random(77)
    while x < W:
        w = 120 + (i * 37) % 60
        c = cols[i % len(cols)]
        b.append(building(x, 150, w, 150, c, SUN, 70 + i, lit=0.3))
        b.append(f'<rect x="{x + w / 2 - 13}" y="120" width="26" height="30" {st(shade(c, 0.45), 2.5)}/>'
                 f'<circle cx="{x + w / 2 + 7}" cy="136" r="2" fill="{SUN}"/>')
        x += w
        i += 1
    b.append(f'<rect x="-5" y="148" width="1010" height="14" {st("#b3a78f", 3)}/>')
    # market stalls with striped awnings
    for x, c in ((40, RED), (250, LEAF), (610, GOLD), (820, ELEM)):
        b.append(f'<rect x="{x + 4}" y="180" width="140" height="10" fill="#000" opacity="0.15"/>'
                 f'<rect x="{x}" y="168" width="140" height="34" {st("#8f5a32", 3)}/>'
                 + ''.join(f'<circle cx="{x + 16 + k * 22}" cy="{182 + (k % 2) * 6}" r="8" fill="{["#e63946", "#ffd166", "#06d6a0", "#f4a261", "#9b5de5", "#e63946"][k]}" stroke="{INK}" stroke-width="1.5"/>' for k in range(6))
                 + f'<path d="M{x - 10},150 L{x + 150},150 L{x + 144},172 L{x - 4},172 Z" {st(c, 3)}/>'
                 + ''.join(f'<path d="M{x - 6 + k * 20},152 L{x + 4 + k * 20},152 L{x + 6 + k * 20},170 L{x - 4 + k * 20},170 Z" fill="#fff" opacity="0.45"/>' for k in range(8)))
    # fountain (too many fountains in Brallwick)
    b.append(f'<ellipse cx="504" cy="378" rx="112" ry="54" fill="#000" opacity="0.15"/>'
             f'<ellipse cx="500" cy="370" rx="110" ry="54" {st("#b8c4d0", 4)}/><ellipse cx="500" cy="366" rx="92" ry="42" fill="{ELEM}"/>'
             f'<ellipse cx="500" cy="372" rx="76" ry="30" fill="{CYAN}" opacity="0.55"/>'
             f'<path d="M440,360 q10,-5 20,0 M520,380 q10,-5 20,0 M470,384 q10,-5 20,0" fill="none" stroke="#e8f6ff" stroke-width="2.5"/>'
             f'<rect x="490" y="310" width="20" height="56" {st("#b8c4d0", 3)}/><ellipse cx="500" cy="310" rx="32" ry="11" {st("#d8e3ea", 3)}/>'
             f'<path d="M500,300 Q474,262 458,312 M500,300 Q526,262 542,312 M500,300 L500,272" fill="none" stroke="#e8f6ff" stroke-width="5" stroke-linecap="round"/>'
             f'<path d="M500,300 Q474,262 458,312 M500,300 Q526,262 542,312" fill="none" stroke="{CYAN}" stroke-width="2"/>')
    # planters with trees, benches and lamps near the edges
    for x, y in ((90, 300), (910, 300), (70, 540), (930, 540)):
        b.append(f'<ellipse cx="{x + 6}" cy="{y + 36}" rx="40" ry="12" fill="#000" opacity="0.15"/>'
                 f'<rect x="{x - 30}" y="{y + 10}" width="60" height="26" rx="4" {st("#a0703c", 3)}/>'
                 + tree_round(x, y + 16, 0.85))
    for x, y in ((250, 290), (700, 290), (230, 500), (720, 500)):
        b.append(f'<rect x="{x}" y="{y}" width="70" height="10" rx="3" {st("#8f5a32", 2.5)}/><rect x="{x}" y="{y - 12}" width="70" height="8" rx="3" {st("#a0703c", 2.5)}/>'
                 f'<path d="M{x + 8},{y + 10} l0,10 M{x + 62},{y + 10} l0,10" stroke="{INK}" stroke-width="3"/>')
    for x in (180, 820):
        b.append(lamp(x, 440, 110))
    # pigeons (Coo's relatives)
    for x, y in ((380, 520), (400, 530), (610, 470), (150, 420)):
        b.append(f'<ellipse cx="{x}" cy="{y}" rx="8" ry="5" {st("#9aa5b8", 1.5)}/><circle cx="{x + 7}" cy="{y - 4}" r="3.5" {st("#9aa5b8", 1.5)}/>'
                 f'<path d="M{x + 10},{y - 4} l3,1" stroke="{GOLD}" stroke-width="2"/>')
    b.append(f'<rect x="-5" y="588" width="1010" height="20" {st("#b3a78f", 3)}/>')
    return finish(''.join(b), defs, 0.2)


def splash1():
    """Studio splash: a city skyline struck by a bolt, team name below."""
    defs = radgrad('bg', [(0, '#3d5a80'), (1, '#1b1b2f')], cy=0.4) + halftone('ht', CYAN, 10, 1.8, 0.3)
    b = [f'<rect width="{W}" height="{H}" fill="url(#bg)"/>', f'<rect width="{W}" height="{H}" fill="url(#ht)" opacity="0.5"/>',
         speedlines(500, 250, 120, 700, 60, SUN, 4, opacity=0.25),
         skyline(420, '#0f1424', 21, hmin=60, hmax=180, windows='#ffd166')]
    b.append(f'<path d="M540,20 L470,190 L520,190 L450,380 L600,150 L540,150 L610,20 Z" {st(SUN, 6)}/>')
    b.append(f'<path d="M548,30 L490,180 L536,180 L500,300" fill="none" stroke="#fff" stroke-width="5" opacity="0.8"/>')
    b.append(f'<rect x="0" y="420" width="1000" height="180" fill="{INK}"/>')
    b.append(lettering('BRALLWICK TEAM', 500, 455, 44, PAPER, anchor='middle', weight=10, outline=4))
    b.append(lettering('PRESENTS', 500, 530, 24, SUN, anchor='middle', weight=6, outline=2.5, shadow=False))
    return svg(W, H, ''.join(b), defs)


def splash2():
    """Story splash: Old Tardy at 8:00 and the bolt of raw potential."""
    defs = sky('s', '#f4a261', '#ffd166', '#ff9f8a') + halftone('ht', '#e63946', 12, 2.5, 0.25)
    b = [f'<rect width="{W}" height="{H}" fill="url(#s)"/>', f'<rect width="{W}" height="{H}" fill="url(#ht)"/>',
         skyline(600, '#d9826a', 31, hmin=120, hmax=300), skyline(600, '#7d3c4a', 37, hmin=60, hmax=200, windows='#ffd166')]
    # clock tower
    b.append(f'<path d="M620,600 L620,250 L700,250 L700,600 Z" {st("#5a2e3a", 5)}/><path d="M605,250 L660,160 L715,250 Z" {st("#3e1f2a", 5)}/>')
    b.append(f'<circle cx="660" cy="310" r="40" {st(PAPER, 5)}/><path d="M660,310 L660,280 M660,310 L641,321" stroke="{INK}" stroke-width="5" stroke-linecap="round"/>')
    # bolt toward a tiny hero
    b.append(f'<path d="M300,0 L250,180 L300,180 L240,420 L370,150 L320,150 L370,0 Z" {st("#ffffff", 6)}/>')
    b.append(f'<path d="{poly(burst_pts(245, 440, 90, 40, 12, seed=3))}" {st(SUN, 5)}/>')
    b.append(f'<g transform="translate(245,470)"><circle cx="0" cy="-52" r="14" {st("#f6d5b8", 3)}/><path d="M-14,-38 L14,-38 L18,0 L-18,0 Z" {st(SKY, 3)}/>'
             f'<path d="M-14,-34 L-34,-62 M14,-34 L34,-62" stroke="{INK}" stroke-width="6" stroke-linecap="round"/></g>')
    b.append(rrect(40, 500, 470, 70, 8, st('#fff1b8', 5)))
    b.append(lettering('8:00 AM. SOMETHING SPARKS...', 275, 523, 22, INK, anchor='middle', weight=4.5, outline=0.1, shadow=False, spacing=1.2))
    return svg(W, H, ''.join(b), defs)


def main():
    write(G + 'Street.jpg.svg', street())
    write(G + 'SuperheroU.jpg.svg', superhero_u())
    write(G + 'Act.jpg.svg', act())
    write(G + 'Arena.jpg.svg', arena())
    write(G + 'Cellar.jpg.svg', cellar())
    write(G + 'Classroom.jpg.svg', classroom())
    write(G + 'Federal.jpg.svg', federal())
    write(G + 'Luxury.jpg.svg', luxury())
    write(G + 'CloudsBlue.jpg.svg', clouds_bg(False))
    write(G + 'CloudsRed.jpg.svg', clouds_bg(True))
    write(G + 'Road.jpg.svg', road())
    write(G + 'Square.jpg.svg', square())
    write('top/Splash1.jpg.svg', splash1())
    write('top/Splash2.jpg.svg', splash2())


if __name__ == '__main__':
    main()
