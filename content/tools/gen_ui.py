#!/usr/bin/env python3
"""Interface art: logo, icon, buttons, frames, meters, bars, icons, medals,
board tiles and markers, dungeon tiles, particles, rays, clouds, colour grid."""
import math
import random
from artlib import *

G = 'graphics/'


# --- logo and icon -------------------------------------------------------
def logo():
    w, h = 400, 160
    defs = lingrad('lg', [(0, SUN), (1, GOLD)]) + halftone('ht', RED, 7, 1.7, 0.55)
    b = []
    burst = burst_pts(200, 82, 150, 105, 16, seed=7, jitter=0.1)
    b.append(f'<path d="{poly([(x, 82 + (y - 82) * 0.45) for x, y in burst])}" {st(RED, 4)}/>')
    b.append(f'<path d="{poly([(x, 82 + (y - 82) * 0.45) for x, y in burst_pts(200, 82, 128, 100, 16, seed=7, jitter=0.1)])}" fill="url(#ht)"/>')
    b.append(lettering('BRALLWICK', 206, 34, 46, 'url(#lg)', anchor='middle', spacing=1.3, skew=-8,
                       weight=12.5, outline=4.5, highlight='#fff8dc'))
    # banner
    b.append(f'<path d="M60,108 L340,108 L352,150 L48,150 Z" {st(NIGHT, 4)}/>')
    b.append(f'<path d="M60,108 L34,116 L44,128 L30,142 L52,150 Z" {st(shade(NIGHT, 0.7), 4)}/>')
    b.append(f'<path d="M340,108 L366,116 L356,128 L370,142 L348,150 Z" {st(shade(NIGHT, 0.7), 4)}/>')
    b.append(f'<path d="M60,108 L340,108 L352,150 L48,150 Z" {st(NIGHT, 4)}/>')
    b.append(lettering('QUELLFAST', 200, 116, 26, CYAN, anchor='middle', spacing=1.6, weight=6.5, outline=2.5,
                       shadow=False))
    return svg(w, h, ''.join(b), defs)


def icon():
    defs = lingrad('ig', [(0, SUN), (1, GOLD)])
    b = [f'<rect x="8" y="8" width="240" height="240" rx="48" {st(NIGHT, 10)}/>',
         f'<path d="{poly(burst_pts(128, 128, 112, 78, 12, seed=2, jitter=0.08))}" {st(RED, 8)}/>',
         lettering('Q', 128, 52, 150, 'url(#ig)', anchor='middle', weight=40, outline=12, shadow=True,
                   highlight='#fff8dc')]
    return svg(256, 256, ''.join(b), defs)


# --- buttons -------------------------------------------------------------
def button_frame(w, h, state, base=SKY, r=18, m=5, rims=(CYAN, '#e8f6ff', shade(CYAN, 0.6))):
    """state 0 normal, 1 hover (brighter), 2 pressed (darker, shifted down); m is the margin
    around the face."""
    dy = 4 if state == 2 else 0
    face = {0: base, 1: shade(base, 1.28), 2: shade(base, 0.68)}[state]
    rim = rims[state]
    bw, bh = w - 2 * m, h - 2 * m - 6
    out = []
    if state != 2:
        out.append(rrect(m, m + 6, bw, bh, r, f'fill="{INK}"'))
    out.append(rrect(m, m + dy, bw, bh, r, st(face, 4)))
    # top shine band and cel shade at the bottom
    out.append(f'<path d="M{m + r},{m + dy + 6} L{m + bw - r},{m + dy + 6} Q{m + bw - 8},{m + dy + 6} {m + bw - 8},{m + dy + 16} '
               f'L{m + bw - 8},{m + dy + bh * 0.42} L{m + 8},{m + dy + bh * 0.42} L{m + 8},{m + dy + 16} Q{m + 8},{m + dy + 6} {m + r},{m + dy + 6} Z" '
               f'fill="#ffffff" fill-opacity="{0.16 if state != 2 else 0.06}"/>')
    out.append(rrect(m + 4, m + dy + 4, bw - 8, bh - 8, r - 4, f'fill="none" stroke="{rim}" stroke-width="2.5"'))
    return ''.join(out)


def buttons01():
    return sheet(200, 96, [button_frame(200, 96, s) for s in range(3)])


def buttons02():
    # A light face: these small buttons carry black captions (the base's prices) as well as
    # outlined white ones (the colour tabs), and the face spans nearly the whole frame.
    light = '#a9cfe4'
    rims = ('#e8f6ff', '#ffffff', shade(light, 0.85))
    return sheet(64, 64, [button_frame(64, 64, s, base=light, r=12, m=1, rims=rims) for s in range(3)])


def options_icons():
    # The options popup puts its rows 40 pixels apart, so the drawn box and its tick keep well
    # inside the 64-pixel frame and neighbouring checkboxes never touch.
    f0 = rrect(15, 15, 34, 34, 8, st(PAPER, 4)) + rrect(19, 19, 26, 8, 4, f'fill="{shade(PAPER, 0.88)}"')
    f1 = (f'<circle cx="32" cy="34" r="20" fill="{INK}"/>'
          f'<circle cx="32" cy="32" r="20" {st(GOLD, 4)}/>'
          f'<circle cx="32" cy="32" r="12" fill="{SUN}"/>'
          f'<path d="M22,25 Q28,18 38,20" fill="none" stroke="#fff" stroke-width="3" stroke-linecap="round" opacity="0.8"/>')
    tick = 'M21,33 L29,42 L46,19'
    f2 = (f'<path d="{tick}" fill="none" stroke="{INK}" stroke-width="12" stroke-linecap="round" stroke-linejoin="round"/>'
          f'<path d="{tick}" fill="none" stroke="{CLUE}" stroke-width="6" stroke-linecap="round" stroke-linejoin="round"/>')
    return sheet(64, 64, [f0, f1, f2])


# --- popup frames --------------------------------------------------------
def frame_popup(w, h, bright=False):
    r = 30
    if bright:
        b = [rrect(6, 6, w - 12, h - 12, r, f'fill="none" stroke="{SUN}" stroke-width="18" stroke-opacity="0.35"'),
             rrect(8, 8, w - 16, h - 16, r, f'fill="none" stroke="{SUN}" stroke-width="8"'),
             rrect(8, 8, w - 16, h - 16, r, f'fill="none" stroke="#ffffff" stroke-width="3"'),
             rrect(20, 20, w - 40, h - 40, r - 10, f'fill="none" stroke="{SUN}" stroke-width="2" stroke-opacity="0.6"')]
        return svg(w, h, ''.join(b))
    b = [rrect(3, 3, w - 6, h - 6, r, st(NIGHT, 5)),
         rrect(9, 9, w - 18, h - 18, r - 6, f'fill="none" stroke="{CYAN}" stroke-width="3"'),
         rrect(17, 17, w - 34, h - 34, r - 12, st(PAPER, 3)),
         # halftone glints only at the corners (they always come from the image corners)
         ]
    for cx, cy, sx, sy in ((17, 17, 1, 1), (w - 17, 17, -1, 1), (17, h - 17, 1, -1), (w - 17, h - 17, -1, -1)):
        for i in range(4):
            for j in range(4 - i):
                b.append(f'<circle cx="{cx + sx * (12 + i * 7)}" cy="{cy + sy * (12 + j * 7)}" r="{1.8 - 0.3 * (i + j)}" '
                         f'fill="{shade(PAPER, 0.8)}"/>')
    return svg(w, h, ''.join(b))


def frame_speech():
    w = h = 512
    b = [rrect(3, 3, w - 6, h - 6, 10, st('#fff1b8', 5)),
         rrect(9, 9, w - 18, h - 18, 6, f'fill="none" stroke="{GOLD}" stroke-width="2" stroke-opacity="0.7"')]
    return svg(w, h, ''.join(b))


# --- small widgets -------------------------------------------------------
def arrow():
    pts = [(14, 4), (34, 4), (34, 30), (45, 30), (24, 60), (3, 30), (14, 30)]
    b = [f'<path d="{poly([(x + 2, y + 2) for x, y in pts])}" fill="{INK}" opacity="0.5"/>',
         f'<path d="{poly(pts)}" {st(RED, 4)}/>',
         f'<path d="M18,8 L22,8 L22,34 L14,34 Z" fill="#ffffff" opacity="0.35"/>',
         f'<path d="M30,34 L40,34 L24,56 Z" fill="{shade(RED, 0.7)}"/>']
    return svg(48, 64, ''.join(b))


def coin(cx, cy, r, sym='$'):
    return (f'<circle cx="{cx}" cy="{cy + 2}" r="{r}" fill="{INK}"/>'
            f'<circle cx="{cx}" cy="{cy}" r="{r}" {st(GOLD, 3)}/>'
            f'<circle cx="{cx}" cy="{cy}" r="{r * 0.76}" fill="{MONEY}" stroke="{shade(GOLD, 0.8)}" stroke-width="2"/>'
            + plain_text(sym, cx, cy - r * 0.45, r * 0.9, shade(GOLD, 0.55), weight=r * 0.17, anchor='middle')
            + f'<path d="M{cx - r * 0.55},{cy - r * 0.35} Q{cx - r * 0.3},{cy - r * 0.7} {cx + r * 0.1},{cy - r * 0.72}" '
              f'fill="none" stroke="#fff" stroke-width="{r * 0.1}" stroke-linecap="round" opacity="0.8"/>')


def magnifier(cx, cy, r, lens=CLUE, w=3):
    return (f'<path d="M{cx + r * 0.6},{cy + r * 0.6} L{cx + r * 1.45},{cy + r * 1.45}" stroke="{INK}" stroke-width="{r * 0.6}" stroke-linecap="round"/>'
            f'<path d="M{cx + r * 0.7},{cy + r * 0.7} L{cx + r * 1.4},{cy + r * 1.4}" stroke="{shade(GOLD, 0.7)}" stroke-width="{r * 0.3}" stroke-linecap="round"/>'
            f'<circle cx="{cx}" cy="{cy}" r="{r}" {st(lens, w)}/>'
            f'<circle cx="{cx}" cy="{cy}" r="{r * 0.7}" fill="#e6fff6" fill-opacity="0.6"/>'
            f'<path d="M{cx - r * 0.5},{cy - r * 0.2} Q{cx - r * 0.4},{cy - r * 0.5} {cx - r * 0.1},{cy - r * 0.55}" fill="none" '
            f'stroke="#fff" stroke-width="{r * 0.16}" stroke-linecap="round"/>')


def star_icon(cx, cy, r, col=REP, w=3):
    return (f'<path d="{poly(star_pts(cx, cy + 2, r, r * 0.48))}" fill="{INK}"/>'
            f'<path d="{poly(star_pts(cx, cy, r, r * 0.48))}" {st(col, w)}/>'
            f'<path d="{poly(star_pts(cx, cy, r * 0.5, r * 0.24))}" fill="#ffffff" opacity="0.35"/>')


def heart(cx, cy, s, col=RED, w=3):
    d = (f'M{cx},{cy + s * 0.9} C{cx - s * 1.4},{cy} {cx - s * 0.9},{cy - s * 1.0} {cx},{cy - s * 0.35} '
         f'C{cx + s * 0.9},{cy - s * 1.0} {cx + s * 1.4},{cy} {cx},{cy + s * 0.9} Z')
    return (f'<path d="{d}" {st(col, w)}/>'
            f'<ellipse cx="{cx - s * 0.45}" cy="{cy - s * 0.35}" rx="{s * 0.18}" ry="{s * 0.12}" fill="#fff" opacity="0.7"/>')


def bolt(cx, cy, s, col=SUN, w=3):
    pts = [(0.1, -1), (-0.55, 0.15), (-0.05, 0.15), (-0.25, 1), (0.55, -0.2), (0.05, -0.2), (0.35, -1)]
    return f'<path d="{poly([(cx + x * s, cy + y * s) for x, y in pts])}" {st(col, w)}/>'


def clock_icon(cx, cy, r):
    return (f'<circle cx="{cx}" cy="{cy}" r="{r}" {st(PAPER, 3)}/>'
            f'<circle cx="{cx}" cy="{cy}" r="{r - 4}" fill="none" stroke="{CYAN}" stroke-width="2"/>'
            f'<path d="M{cx},{cy} L{cx},{cy - r * 0.6} M{cx},{cy} L{cx + r * 0.45},{cy + r * 0.15}" stroke="{INK}" stroke-width="3" stroke-linecap="round"/>')


def shield_icon(cx, cy, s, col=LEAF):
    d = f'M{cx},{cy - s} L{cx + s * 0.85},{cy - s * 0.65} L{cx + s * 0.75},{cy + s * 0.2} Q{cx + s * 0.5},{cy + s * 0.75} {cx},{cy + s} Q{cx - s * 0.5},{cy + s * 0.75} {cx - s * 0.75},{cy + s * 0.2} L{cx - s * 0.85},{cy - s * 0.65} Z'
    return (f'<path d="{d}" {st(col, 3)}/>'
            f'<path d="M{cx},{cy - s * 0.75} L{cx},{cy + s * 0.8} L{cx - s * 0.55},{cy + s * 0.25} L{cx - s * 0.62},{cy - s * 0.5} Z" fill="#fff" opacity="0.25"/>')


def icons02():
    fr = [bolt(28, 28, 22, SUN),
          heart(28, 29, 20),
          clock_icon(28, 28, 22),
          coin(28, 27, 23),
          star_icon(28, 29, 25),
          shield_icon(28, 28, 22),
          magnifier(23, 23, 15)]
    return sheet(56, 56, fr)


def meters1():
    cols = [MENT, ELEM, PHYS]
    fr = []
    for full in (0, 1):
        for c in cols:
            cx, cy, r = 43, 44, 34
            o = []
            # stand (always visible at the bottom 10 px)
            o.append(f'<path d="M20,88 L66,88 L60,76 L26,76 Z" {st(SKY, 3)}/>')
            o.append(f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{shade(NIGHT, 0.8)}"/>')
            if full:
                o.append(f'<circle cx="{cx}" cy="{cy}" r="{r - 2}" fill="url(#liq{cols.index(c)})"/>')
                o.append(f'<path d="M{cx - r + 6},{cy + 6} Q{cx},{cy + 16} {cx + r - 6},{cy + 6}" fill="none" stroke="{shade(c, 0.6)}" stroke-width="3" opacity="0.6"/>')
                for bx, by, br in ((34, 50, 3), (50, 60, 2.4), (44, 36, 2)):
                    o.append(f'<circle cx="{bx}" cy="{by}" r="{br}" fill="#fff" opacity="0.55"/>')
            else:
                o.append(f'<circle cx="{cx}" cy="{cy}" r="{r - 4}" fill="none" stroke="{c}" stroke-width="2" stroke-dasharray="4 5" opacity="0.6"/>')
            o.append(f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="none" stroke="{INK}" stroke-width="4"/>')
            o.append(f'<circle cx="{cx}" cy="{cy}" r="{r - 3}" fill="none" stroke="{CYAN}" stroke-width="1.5" opacity="0.7"/>')
            o.append(f'<path d="M{cx - 22},{cy - 12} Q{cx - 18},{cy - 26} {cx - 4},{cy - 29}" fill="none" stroke="#fff" stroke-width="5" stroke-linecap="round" opacity="0.7"/>')
            fr.append(''.join(o))
    defs = ''.join(lingrad(f'liq{i}', [(0, shade(c, 1.35)), (1, shade(c, 0.75))]) for i, c in enumerate(cols))
    return sheet(86, 89, fr, defs)


def bar(fill, light):
    def f(full):
        o = [rrect(2, 5, 164, 24, 12, f'fill="{INK}"')]
        if full:
            o.append(rrect(5, 8, 158, 18, 9, f'fill="{fill}"'))
            o.append(rrect(5, 18, 158, 8, 4, f'fill="{shade(fill, 0.75)}"'))
            o.append(rrect(10, 10, 148, 4, 2, f'fill="{light}" opacity="0.8"'))
        else:
            o.append(rrect(5, 8, 158, 18, 9, f'fill="{shade(NIGHT, 0.9)}"'))
            o.append(rrect(5, 8, 158, 5, 2, f'fill="#000" opacity="0.35"'))
        o.append(rrect(2, 5, 164, 24, 12, f'fill="none" stroke="{CYAN}" stroke-width="1.5" opacity="0.5"'))
        return ''.join(o)
    return sheet(168, 32, [f(1), f(0)])


def upgrade_icons():
    def bg(c):
        return rrect(4, 4, 56, 56, 12, st(c, 3)) + rrect(8, 8, 48, 20, 8, 'fill="#fff" opacity="0.18"')
    alarm = (bg(NIGHT) + f'<path d="M16,44 Q16,18 32,16 Q48,18 48,44 Z" {st(SUN, 3)}/>'
             f'<rect x="12" y="42" width="40" height="8" rx="3" {st(GOLD, 3)}/>'
             f'<circle cx="32" cy="53" r="4" {st(SUN, 2)}/>'
             f'<path d="M8,20 L14,24 M56,20 L50,24 M6,32 L12,32 M58,32 L52,32" stroke="{RED}" stroke-width="3" stroke-linecap="round"/>'
             f'<circle cx="32" cy="14" r="5" {st(RED, 2)}/>')
    dumb = (bg(NIGHT) + f'<rect x="20" y="29" width="24" height="6" {st(CYAN, 2)}/>'
            + ''.join(f'<rect x="{x}" y="{y}" width="8" height="{h}" rx="2" {st(RED, 2.5)}/>'
                      for x, y, h in ((12, 18, 28), (44, 18, 28), (6, 24, 16), (50, 24, 16))))
    meter = (bg(NIGHT) + f'<path d="M10,44 A22,22 0 0 1 54,44 Z" {st(PAPER, 3)}/>'
             f'<path d="M14,42 A18,18 0 0 1 22,28" fill="none" stroke="{CLUE}" stroke-width="5"/>'
             f'<path d="M24,26 A18,18 0 0 1 40,26" fill="none" stroke="{SUN}" stroke-width="5"/>'
             f'<path d="M42,28 A18,18 0 0 1 50,42" fill="none" stroke="{RED}" stroke-width="5"/>'
             f'<path d="M32,44 L46,30" stroke="{INK}" stroke-width="4" stroke-linecap="round"/><circle cx="32" cy="44" r="4" fill="{INK}"/>'
             + plain_text('!', 32, 48, 10, RED, weight=3, anchor='middle'))
    power = (bg(NIGHT) + f'<path d="{poly(burst_pts(32, 32, 26, 15, 10, seed=4, jitter=0.05))}" {st(RED, 2.5)}/>'
             + bolt(32, 32, 20, SUN, 2.5))
    return sheet(64, 64, [alarm, dumb, meter, power])


def upgrade_bar():
    segs = [(3, 54), (60, 106), (112, 162)]

    def f(full):
        o = []
        for a, b in segs:
            o.append(f'<path d="M{a + 6},6 L{b},6 L{b - 6},34 L{a},34 Z" {st(SUN if full else shade(NIGHT, 0.9), 3)}/>')
            if full:
                o.append(f'<path d="M{a + 9},10 L{b - 4},10 L{b - 5.5},16 L{a + 7.5},16 Z" fill="#fff" opacity="0.55"/>')
                o.append(f'<path d="M{a + 3},26 L{b - 4},26 L{b - 6},32 L{a + 1.5},32 Z" fill="{GOLD}"/>')
            else:
                o.append(f'<path d="M{a + 9},10 L{b - 4},10 L{b - 5},14 L{a + 8},14 Z" fill="#000" opacity="0.3"/>')
        return ''.join(o)
    return sheet(165, 40, [f(1), f(0)])


# --- medals --------------------------------------------------------------
def medals():
    BR, SI, GO = ('#cd7f32', '#f0c58a'), ('#b8c4d0', '#eef4fa'), (GOLD, SUN)
    metal = [BR, BR, BR, SI, SI, SI, SI, GO, GO, GO, SI, GO, GO, GO, SI, GO]
    ribbons = [(RED, PAPER), (ELEM, PAPER), (RED, INK), (INK, RED), (ELEM, SUN), (LEAF, PAPER), (RED, SUN), (SUN, LEAF),
               (REP, PAPER), (PHYS, ELEM), (REP, RED), (SKY, GOLD), (LEAF, SUN), (PURPLE, SUN), (CYAN, PAPER), (RED, SUN)]

    def emblem(i, cx, cy):
        k = INK
        if i == 0:
            return plain_text('$', cx, cy - 8, 16, k, weight=3.2, anchor='middle')
        if i == 1:
            return (f'<rect x="{cx - 7}" y="{cy - 1.5}" width="14" height="3" fill="{k}"/>'
                    f'<rect x="{cx - 11}" y="{cy - 7}" width="5" height="14" rx="1" fill="{k}"/><rect x="{cx + 6}" y="{cy - 7}" width="5" height="14" rx="1" fill="{k}"/>')
        if i == 2:  # handcuffs
            return (f'<circle cx="{cx - 5}" cy="{cy}" r="5" fill="none" stroke="{k}" stroke-width="2.5"/>'
                    f'<circle cx="{cx + 5}" cy="{cy}" r="5" fill="none" stroke="{k}" stroke-width="2.5"/>')
        if i == 3:  # burglar mask + 10
            return (f'<path d="M{cx - 12},{cy - 6} Q{cx},{cy - 10} {cx + 12},{cy - 6} L{cx + 10},{cy} Q{cx},{cy - 3} {cx - 10},{cy} Z" fill="{k}"/>'
                    + plain_text('10', cx, cy + 2, 8, k, weight=2, anchor='middle', spacing=1.2))
        if i == 4:  # signal !
            return (f'<path d="M{cx - 10},{cy - 8} Q{cx - 14},{cy} {cx - 10},{cy + 8} M{cx + 10},{cy - 8} Q{cx + 14},{cy} {cx + 10},{cy + 8}" fill="none" stroke="{k}" stroke-width="2.2"/>'
                    + plain_text('!', cx, cy - 8, 16, k, weight=3.2, anchor='middle'))
        if i == 5:  # briefcase
            return (f'<rect x="{cx - 10}" y="{cy - 5}" width="20" height="14" rx="2" fill="{k}"/>'
                    f'<path d="M{cx - 4},{cy - 5} L{cx - 4},{cy - 9} L{cx + 4},{cy - 9} L{cx + 4},{cy - 5}" fill="none" stroke="{k}" stroke-width="2"/>')
        if i == 6:  # kettlebell + 25
            return (f'<circle cx="{cx}" cy="{cy + 2}" r="7" fill="{k}"/><path d="M{cx - 5},{cy - 3} Q{cx - 5},{cy - 11} {cx},{cy - 11} Q{cx + 5},{cy - 11} {cx + 5},{cy - 3}" fill="none" stroke="{k}" stroke-width="2.5"/>')
        if i == 7:  # piggy bank
            return (f'<ellipse cx="{cx}" cy="{cy + 2}" rx="11" ry="8" fill="{k}"/><circle cx="{cx + 11}" cy="{cy}" r="3.5" fill="{k}"/>'
                    f'<path d="M{cx - 6},{cy + 8} L{cx - 6},{cy + 12} M{cx + 5},{cy + 8} L{cx + 5},{cy + 12}" stroke="{k}" stroke-width="3"/>'
                    f'<rect x="{cx - 3}" y="{cy - 7}" width="6" height="2" fill="{k}"/>')
        if i == 8:  # crown
            return f'<path d="M{cx - 11},{cy + 7} L{cx - 11},{cy - 6} L{cx - 5},{cy} L{cx},{cy - 9} L{cx + 5},{cy} L{cx + 11},{cy - 6} L{cx + 11},{cy + 7} Z" fill="{k}"/>'
        if i == 9:  # three coloured dots
            return ''.join(f'<circle cx="{cx + dx}" cy="{cy + dy}" r="5" fill="{c}" stroke="{k}" stroke-width="1.5"/>'
                           for dx, dy, c in ((-6, 4, PHYS), (6, 4, ELEM), (0, -6, MENT)))
        if i == 10:
            return heart(cx, cy + 1, 10, RED, 1.5)
        if i == 11:  # shovel
            return (f'<path d="M{cx - 8},{cy - 10} L{cx + 3},{cy + 1}" stroke="{k}" stroke-width="3"/>'
                    f'<path d="M{cx},{cy - 2} L{cx + 10},{cy + 4} L{cx + 8},{cy + 10} L{cx + 2},{cy + 8} Z" fill="{k}"/>')
        if i == 12:  # wrench
            return (f'<path d="M{cx - 9},{cy + 9} L{cx + 4},{cy - 4}" stroke="{k}" stroke-width="4" stroke-linecap="round"/>'
                    f'<circle cx="{cx + 6}" cy="{cy - 6}" r="6" fill="{k}"/><circle cx="{cx + 9}" cy="{cy - 9}" r="3" fill="{metal[12][1]}"/>')
        if i == 13:  # eight stars ring
            return ''.join(f'<path d="{poly(star_pts(cx + 9 * math.cos(a * math.pi / 4), cy + 9 * math.sin(a * math.pi / 4), 3.8, 1.6))}" fill="{k}"/>'
                           for a in range(8)) + plain_text('8', cx, cy - 4, 8, k, weight=2, anchor='middle')
        if i == 14:  # snow globe
            return (f'<circle cx="{cx}" cy="{cy - 2}" r="9" fill="{CYAN}" stroke="{k}" stroke-width="2"/>'
                    f'<rect x="{cx - 9}" y="{cy + 6}" width="18" height="5" rx="1" fill="{k}"/>'
                    f'<path d="M{cx - 4},{cy + 3} L{cx},{cy - 7} L{cx + 4},{cy + 3} Z" fill="{LEAF}"/>'
                    + ''.join(f'<circle cx="{cx + dx}" cy="{cy + dy}" r="1" fill="#fff"/>' for dx, dy in ((-5, -5), (4, -6), (6, -1), (-6, 1))))
        return (f'<path d="M{cx - 9},{cy - 9} L{cx + 9},{cy - 9} Q{cx + 9},{cy + 3} {cx},{cy + 4} Q{cx - 9},{cy + 3} {cx - 9},{cy - 9} Z" fill="{k}"/>'
                f'<rect x="{cx - 2}" y="{cy + 3}" width="4" height="5" fill="{k}"/><rect x="{cx - 7}" y="{cy + 8}" width="14" height="3" fill="{k}"/>')

    fr = []
    for i in range(16):
        r1, r2 = ribbons[i]
        m0, m1 = metal[i]
        o = [f'<path d="M8,2 L36,2 L30,42 L14,42 Z" {st(r1, 2.5)}/>',
             f'<path d="M18,2 L26,2 L24,42 L20,42 Z" fill="{r2}"/>',
             f'<circle cx="22" cy="61" r="20" fill="{INK}"/>',
             f'<circle cx="22" cy="60" r="19" {st(m0, 3)}/>',
             f'<circle cx="22" cy="60" r="14.5" fill="{m1}" stroke="{shade(m0, 0.75)}" stroke-width="1.5"/>',
             emblem(i, 22, 60),
             f'<path d="M9,52 Q13,43 22,42" fill="none" stroke="#fff" stroke-width="2" opacity="0.7"/>']
        fr.append(''.join(o))
    return sheet(44, 85, fr)


# --- particles, rays, clouds --------------------------------------------
def particle():
    defs = radgrad('p', [(0, '#ffffff', 1), (0.35, '#ffffff', 0.85), (0.7, '#ffffff', 0.25), (1, '#ffffff', 0)])
    return svg(32, 32, '<circle cx="16" cy="16" r="16" fill="url(#p)"/>', defs)


def rays():
    defs = radgrad('rg', [(0, '#fff6d0', 0.55), (0.25, '#fff1b0', 0.32), (0.7, '#ffe08a', 0.12), (1, '#ffe08a', 0)],
                   cx=512, cy=512, r=512, units='userSpaceOnUse')
    n = 18
    b = []
    for i in range(n):
        a0 = 2 * math.pi * i / n
        a1 = a0 + 2 * math.pi / n * 0.55
        b.append(f'<path d="M512,512 L{512 + 724 * math.cos(a0):.1f},{512 + 724 * math.sin(a0):.1f} '
                 f'L{512 + 724 * math.cos(a1):.1f},{512 + 724 * math.sin(a1):.1f} Z"/>')
    return svg(1024, 1024, f'<g clip-path="url(#c)" fill="url(#rg)">{"".join(b)}</g>',
               defs + '<clipPath id="c"><circle cx="512" cy="512" r="512"/></clipPath>')


def cloud(seed, w, h):
    rnd = random.Random(seed)
    puffs = []
    n = 6
    for i in range(n):
        x = w * (0.18 + 0.64 * i / (n - 1)) + rnd.uniform(-8, 8)
        r = h * rnd.uniform(0.22, 0.34) * (1.25 if 1 <= i <= 4 else 0.9)
        y = h * 0.58 - r * 0.45 + rnd.uniform(-6, 6)
        puffs.append((x, y, r))
    base = f'<rect x="{w * 0.14}" y="{h * 0.5}" width="{w * 0.72}" height="{h * 0.28}" rx="{h * 0.14}"/>'
    circles = ''.join(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r:.1f}"/>' for x, y, r in puffs)
    shadow = ''.join(f'<circle cx="{x + 4:.1f}" cy="{y + 8:.1f}" r="{r:.1f}"/>' for x, y, r in puffs)
    return svg(w, h,
               f'<g fill="{INK}" stroke="{INK}" stroke-width="8">{base}{circles}</g>'
               f'<g fill="{CYAN}">{base}{circles}</g>'
               f'<g fill="#ffffff" clip-path="url(#cc)"><g transform="translate(-4,-9)">{base}{circles}</g></g>',
               f'<clipPath id="cc">{base}{circles}</clipPath>')


# --- board ---------------------------------------------------------------
def tilebg():
    h0 = hexagon(35, 40, 37)
    h1 = hexagon(35, 40, 30)
    f0 = (f'<path d="{poly(h0)}" fill="{NIGHT}" fill-opacity="0.86" stroke="{CYAN}" stroke-width="2.5" stroke-opacity="0.8"/>'
          f'<path d="{poly(h1)}" fill="none" stroke="#ffffff" stroke-width="1" stroke-opacity="0.12"/>')
    f1 = (f'<path d="{poly(hexagon(35, 42, 37))}" fill="{INK}"/>'
          f'<path d="{poly(h0)}" {st(RED, 3)}/>'
          f'<path d="{poly(hexagon(35, 40, 30))}" fill="none" stroke="{SUN}" stroke-width="2.5"/>'
          f'<path d="M14,30 L35,17 L56,30" fill="none" stroke="#fff" stroke-width="3" stroke-linecap="round" opacity="0.45"/>')
    return sheet(70, 80, [f0, f1])


def fist(cx, cy, s, col='#ffe3cf', w=3):
    """A right-facing punching fist, s ~ half size."""
    o = [f'<path d="M{cx - s},{cy - s * 0.35} L{cx - s * 0.35},{cy - s * 0.55} L{cx - s * 0.35},{cy + s * 0.55} L{cx - s},{cy + s * 0.4} Z" {st(shade(col, 0.85), w)}/>',
         rrect(cx - s * 0.45, cy - s * 0.75, s * 1.35, s * 1.45, s * 0.35, st(col, w))]
    for k in range(3):
        y = cy - s * 0.62 + k * s * 0.45
        o.append(f'<path d="M{cx + s * 0.35},{y + s * 0.12} Q{cx + s * 0.92},{y + s * 0.1} {cx + s * 0.92},{y + s * 0.3}" fill="none" stroke="{INK}" stroke-width="{w * 0.7}" stroke-linecap="round"/>')
    o.append(f'<path d="M{cx - s * 0.3},{cy + s * 0.15} Q{cx + s * 0.2},{cy + s * 0.05} {cx + s * 0.45},{cy + s * 0.35}" fill="none" stroke="{INK}" stroke-width="{w * 0.8}" stroke-linecap="round"/>')
    return ''.join(o)


def flame(cx, cy, s, outer=SUN, inner='#ffffff', w=3):
    d = (f'M{cx},{cy + s} C{cx - s * 0.9},{cy + s} {cx - s * 0.95},{cy + s * 0.1} {cx - s * 0.5},{cy - s * 0.3} '
         f'C{cx - s * 0.45},{cy + s * 0.05} {cx - s * 0.25},{cy + s * 0.1} {cx - s * 0.2},{cy - s * 0.1} '
         f'C{cx - s * 0.25},{cy - s * 0.55} {cx},{cy - s * 0.8} {cx + s * 0.1},{cy - s} '
         f'C{cx + s * 0.15},{cy - s * 0.6} {cx + s * 0.85},{cy - s * 0.3} {cx + s * 0.8},{cy + s * 0.35} '
         f'C{cx + s * 0.75},{cy + s * 0.8} {cx + s * 0.4},{cy + s} {cx},{cy + s} Z')
    d2 = (f'M{cx},{cy + s * 0.85} C{cx - s * 0.45},{cy + s * 0.85} {cx - s * 0.45},{cy + s * 0.3} {cx - s * 0.1},{cy} '
          f'C{cx},{cy + s * 0.2} {cx + s * 0.15},{cy} {cx + s * 0.1},{cy - s * 0.25} C{cx + s * 0.5},{cy + s * 0.1} {cx + s * 0.45},{cy + s * 0.85} {cx},{cy + s * 0.85} Z')
    return f'<path d="{d}" {st(outer, w)}/><path d="{d2}" fill="{inner}"/>'


def spiral(cx, cy, r, col='#ffffff', w=4):
    pts = []
    for i in range(60):
        t = i / 59 * 2.6 * math.pi
        rr = r * (0.08 + 0.92 * i / 59)
        pts.append((cx + rr * math.cos(t), cy + rr * math.sin(t)))
    d = poly(pts, close=False)
    return (f'<path d="{d}" fill="none" stroke="{INK}" stroke-width="{w + 3}" stroke-linecap="round"/>'
            f'<path d="{d}" fill="none" stroke="{col}" stroke-width="{w}" stroke-linecap="round"/>')


def tiles():
    fr = []
    shine = '<path d="M14,18 Q18,10 28,9" fill="none" stroke="#fff" stroke-width="3.5" stroke-linecap="round" opacity="0.65"/>'
    # 0 physical: red rounded square, fist
    fr.append(rrect(6, 8, 52, 52, 12, f'fill="{INK}"') + rrect(6, 5, 52, 52, 12, st(PHYS, 3))
              + rrect(10, 38, 44, 15, 7, f'fill="{shade(PHYS, 0.78)}"') + fist(33, 31, 15) + shine)
    # 1 elemental: blue circle, flame
    fr.append(f'<circle cx="32" cy="34" r="27" fill="{INK}"/><circle cx="32" cy="31" r="27" {st(ELEM, 3)}/>'
              f'<path d="M8,38 A26,26 0 0 0 56,38 Z" fill="{shade(ELEM, 0.78)}"/>' + flame(32, 31, 18) + shine)
    # 2 mental: violet hexagon (flat top), spiral
    fr.append(f'<path d="{poly(hexagon(32, 34, 29, False))}" fill="{INK}"/><path d="{poly(hexagon(32, 31, 29, False))}" {st(MENT, 3)}/>'
              f'<path d="M7,38 L57,38 L46.5,56 L17.5,56 Z" fill="{shade(MENT, 0.78)}"/>' + spiral(32, 31, 16) + shine)
    # 3 money: coin
    fr.append(coin(32, 31, 27))
    # 4 reputation: star
    fr.append(f'<path d="{poly(star_pts(32, 37, 31, 15))}" fill="{INK}"/><path d="{poly(star_pts(32, 34, 31, 15))}" {st(REP, 3)}/>'
              f'<path d="{poly(star_pts(32, 34, 16, 8))}" fill="#ffd0e6"/>')
    # 5-9 attribute tiles: light badges (tinted by the game), glyph kept faint around the number
    glyphs = []
    g = '#8a8a8a'
    glyphs.append(f'<g opacity="0.7"><rect x="20" y="29" width="24" height="6" fill="{g}"/>'
                  + ''.join(f'<rect x="{x}" y="{y}" width="6" height="{h}" rx="1.5" fill="{g}"/>' for x, y, h in ((12, 20, 24), (46, 20, 24), (6, 25, 14), (52, 25, 14))) + '</g>')
    glyphs.append(f'<path d="M32,10 C40,22 48,30 48,40 A16,16 0 0 1 16,40 C16,30 24,22 32,10 Z" fill="{g}" opacity="0.6"/>')
    glyphs.append(f'<path d="M20,46 C10,44 10,30 16,26 C14,16 26,10 32,14 C38,10 50,16 48,26 C54,30 54,44 44,46 Z" fill="{g}" opacity="0.6"/>'
                  f'<path d="M32,14 L32,46" stroke="#f2f2f2" stroke-width="2"/>')
    glyphs.append(f'<path d="M32,52 C8,38 10,18 22,16 C28,15 31,20 32,23 C33,20 36,15 42,16 C54,18 56,38 32,52 Z" fill="{g}" opacity="0.6"/>')
    glyphs.append(f'<g opacity="0.65"><rect x="30.5" y="12" width="3" height="36" fill="{g}"/><rect x="14" y="16" width="36" height="3" fill="{g}"/>'
                  f'<path d="M10,32 L16,18 L22,32 Z M42,32 L48,18 L54,32 Z" fill="{g}"/><rect x="24" y="46" width="16" height="4" fill="{g}"/></g>')
    shapes = [lambda: rrect(6, 5, 52, 52, 12, st('#f4f4f4', 3)),
              lambda: f'<circle cx="32" cy="31" r="27" {st("#f4f4f4", 3)}/>',
              lambda: f'<path d="{poly(hexagon(32, 31, 29, False))}" {st("#f4f4f4", 3)}/>',
              lambda: f'<path d="M32,3 L58,18 L58,44 L32,59 L6,44 L6,18 Z" {st("#f4f4f4", 3)}/>',
              lambda: f'<path d="M8,6 L56,6 L56,34 Q56,52 32,60 Q8,52 8,34 Z" {st("#f4f4f4", 3)}/>']
    for i in range(5):
        shadow_shape = shapes[i]().replace(st("#f4f4f4", 3), 'fill="%s"' % INK)
        fr.append(f'<g transform="translate(0,3)">{shadow_shape}</g>'
                  + shapes[i]() + glyphs[i] + '<path d="M14,16 Q18,10 26,9" fill="none" stroke="#fff" stroke-width="3" stroke-linecap="round"/>')
    # 10 bonus: burst
    fr.append(f'<path d="{poly(burst_pts(32, 34, 31, 19, 10, seed=5, jitter=0.06))}" fill="{INK}"/>'
              f'<path d="{poly(burst_pts(32, 31, 31, 19, 10, seed=5, jitter=0.06))}" {st(SUN, 3)}/>'
              f'<path d="{poly(burst_pts(32, 31, 18, 11, 10, seed=5, jitter=0.06))}" fill="#fff8d6"/>'
              + plain_text('!', 32, 20, 22, RED, weight=5, anchor='middle'))
    # 11 clue: green diamond, magnifier
    fr.append(f'<path d="M32,5 L60,34 L32,63 L4,34 Z" fill="{INK}"/><path d="M32,2 L60,31 L32,60 L4,31 Z" {st(CLUE, 3)}/>'
              f'<path d="M8,35 L56,35 L32,58 Z" fill="{shade(CLUE, 0.78)}"/>' + magnifier(28, 27, 10, '#d8fff2', 2.5))
    return sheet(64, 64, fr)


def marker(kind):
    o = []
    if kind == 1:  # player chain: golden ring with four sparkles
        o.append(f'<circle cx="32" cy="32" r="27" fill="none" stroke="{SUN}" stroke-width="5" stroke-opacity="0.9"/>')
        o.append(f'<circle cx="32" cy="32" r="27" fill="none" stroke="#ffffff" stroke-width="2"/>')
        for a in range(4):
            x, y = 32 + 27 * math.cos(a * math.pi / 2), 32 + 27 * math.sin(a * math.pi / 2)
            o.append(f'<path d="{poly(star_pts(x, y, 8, 2.5, 4, 0))}" fill="#ffffff"/>')
    elif kind == 2:  # opponent chain: red spiked ring
        o.append(f'<path d="{poly(star_pts(32, 32, 31, 24, 12))}" fill="none" stroke="{RED}" stroke-width="4"/>')
        o.append(f'<circle cx="32" cy="32" r="22" fill="none" stroke="#ff9aa2" stroke-width="2"/>')
    else:  # hint: dashed cyan ring
        o.append(f'<circle cx="32" cy="32" r="27" fill="none" stroke="{CYAN}" stroke-width="5" stroke-dasharray="10 7"/>')
        o.append(f'<circle cx="32" cy="32" r="27" fill="none" stroke="#ffffff" stroke-width="1.5" stroke-dasharray="10 7"/>')
    return svg(64, 64, ''.join(o))


def dungeon_tiles():
    def stone(seed, base):
        rnd = random.Random(seed)
        o = [f'<rect width="64" height="64" fill="{base}"/>']
        for _ in range(7):
            x, y, r = rnd.uniform(4, 60), rnd.uniform(4, 60), rnd.uniform(2, 5)
            o.append(f'<ellipse cx="{x:.1f}" cy="{y:.1f}" rx="{r * 1.4:.1f}" ry="{r:.1f}" fill="{shade(base, 0.8)}"/>')
        return ''.join(o)
    edge = f'<rect x="1" y="1" width="62" height="62" fill="none" stroke="{INK}" stroke-width="2"/>'
    floor = lambda s: (stone(s, '#8a6a4a') + f'<path d="M0,32 L64,32 M32,0 L32,32 M16,32 L16,64 M48,32 L48,64" stroke="{shade("#8a6a4a", 0.7)}" stroke-width="2"/>'
                       + f'<rect x="3" y="3" width="58" height="58" fill="none" stroke="#c49a6c" stroke-width="2" opacity="0.6"/>')
    f0 = stone(1, '#2b2540') + ''.join(f'<path d="M{x},{y} l8,-3 l6,5" fill="none" stroke="#4a4366" stroke-width="2"/>' for x, y in ((8, 16), (36, 40), (14, 50), (40, 12))) + edge
    f1 = floor(2) + edge
    f2 = floor(3) + f'<rect x="4" y="4" width="56" height="56" rx="6" fill="{SUN}" fill-opacity="0.25" stroke="{SUN}" stroke-width="4"/>' + \
        lettering('?', 32, 18, 28, '#ffffff', anchor='middle', weight=6, outline=2.5, shadow=False) + edge
    f3 = floor(4) + f'<circle cx="32" cy="32" r="22" fill="{RED}" stroke="{INK}" stroke-width="3"/>' + fist(33, 32, 12, '#ffe3cf', 2.5) + edge
    f4 = floor(5) + (f'<rect x="12" y="26" width="40" height="26" rx="3" {st("#a0522d", 3)}/>'
                     f'<path d="M12,30 Q12,14 32,14 Q52,14 52,30 Z" {st("#c0703a", 3)}/>'
                     f'<rect x="12" y="28" width="40" height="5" fill="{SUN}" stroke="{INK}" stroke-width="2"/>'
                     f'<rect x="28" y="30" width="8" height="10" {st(SUN, 2)}/>') + edge
    f5 = floor(6) + f'<circle cx="32" cy="32" r="22" fill="{ELEM}" stroke="{INK}" stroke-width="3"/>' + \
        lettering('!', 32, 17, 28, '#ffffff', anchor='middle', weight=6, outline=2.5, shadow=False) + edge
    return sheet(64, 64, [f0, f1, f2, f3, f4, f5])


PALETTE = [
    [0xe8e8e8, 0xee0000, 0xb97350, 0xeeee3b, 0x00ee00, 0x00eeee, 0x0043ee, 0xee00ee],
    [0xd6d6d6, 0xcc0000, 0x9f6344, 0xcccc33, 0x00cc00, 0x00cccc, 0x0039cc, 0xcc00cc],
    [0xb5b5b5, 0xa90000, 0x845239, 0xa9a92a, 0x00a900, 0x00a9a9, 0x0030a9, 0xa900a9],
    [0x838383, 0x870000, 0x6a422d, 0x878722, 0x008700, 0x008787, 0x002687, 0x870087],
    [0x525252, 0x650000, 0x4f3122, 0x656519, 0x006500, 0x006565, 0x001c65, 0x650065],
    [0x2b2b2b, 0x430000, 0x352116, 0x434311, 0x004300, 0x004343, 0x001343, 0x430043],
    [0x0f0f0f, 0x210000, 0x1a100b, 0x212108, 0x002100, 0x002121, 0x000921, 0x210021],
    [0x040404, 0x0d0000, 0x0a0604, 0x0d0d03, 0x000d00, 0x000d0d, 0x00040d, 0x0d000d],
]


def colormap():
    b = ''.join(f'<rect x="{c * 24}" y="{r * 24}" width="24" height="24" fill="#{PALETTE[r][c]:06x}"/>'
                for r in range(8) for c in range(8))
    return svg(192, 192, b)


def colorgrid():
    b = [f'<path d="' + ' '.join(f'M{i * 24},0 L{i * 24},192 M0,{i * 24} L192,{i * 24}' for i in range(1, 8))
         + f'" stroke="{INK}" stroke-width="2"/>',
         f'<rect x="1.5" y="1.5" width="189" height="189" rx="4" fill="none" stroke="{INK}" stroke-width="3"/>',
         f'<rect x="3.5" y="3.5" width="185" height="185" rx="3" fill="none" stroke="{CYAN}" stroke-width="1.2" opacity="0.8"/>']
    b += [f'<rect x="{c * 24 + 3}" y="{r * 24 + 3}" width="18" height="4" rx="2" fill="#fff" opacity="0.18"/>'
          for r in range(8) for c in range(8)]
    return svg(192, 192, ''.join(b))


def main():
    write(G + 'Logo1.png.svg', logo())  # the game loads it through graphics/
    write('top/icon.svg', icon())
    write(G + 'Buttons01.png.svg', buttons01())
    write(G + 'Buttons02.png.svg', buttons02())
    write(G + 'OptionsIcons64x64.png.svg', options_icons())
    write(G + 'FramePopup.png.svg', frame_popup(1024, 768))
    write(G + 'FramePopupBright.png.svg', frame_popup(1024, 768, True))
    write(G + 'FrameSpeech.png.svg', frame_speech())
    write(G + 'Arrow.png.svg', arrow())
    write(G + 'Icons02.png.svg', icons02())
    write(G + 'Meters1.png.svg', meters1())
    write(G + 'HealthBar.png.svg', bar(RED, '#ffb3b8'))
    write(G + 'TimeBar.png.svg', bar(SUN, '#fff6d6'))
    write(G + 'UpgradeIcons64x64.png.svg', upgrade_icons())
    write(G + 'UpgradeBar.png.svg', upgrade_bar())
    write(G + 'Medals44x85.png.svg', medals())
    write(G + 'Particle32x32.png.svg', particle())
    write(G + 'Rays.png.svg', rays())
    write(G + 'Cloud01.png.svg', cloud(11, 256, 128))
    write(G + 'Cloud02.png.svg', cloud(23, 200, 100))
    write(G + 'TileBg70x80.png.svg', tilebg())
    write(G + 'Tiles64x64.png.svg', tiles())
    write(G + 'TileMarker.png.svg', marker(1))
    write(G + 'TileMarker2.png.svg', marker(2))
    write(G + 'TileMarker3.png.svg', marker(3))
    write(G + 'DungeonTiles64x64.png.svg', dungeon_tiles())
    write(G + 'CharacterCreationColormap.png.svg', colormap())
    write(G + 'CharacterCreationGrid.png.svg', colorgrid())


if __name__ == '__main__':
    main()
