#!/usr/bin/env python3
"""Battle effects (FX*), mini-game sprites (cars, tree, cat, ring, signs).
Projectiles point right (+x): a reversed attack mirrors them. Effects are
bright art on transparency so they work with normal or additive blending."""
import math
import random
from artlib import *

G = 'graphics/'


def glow_defs(gid, col, core='#ffffff'):
    return radgrad(gid, [(0, core, 1), (0.35, col, 0.95), (0.7, col, 0.45), (1, col, 0)])


def ball(size, col, core, seed, sparks=True, rings=0):
    c = size / 2
    defs = glow_defs('g', col, core)
    b = [f'<circle cx="{c}" cy="{c}" r="{c}" fill="url(#g)"/>',
         f'<circle cx="{c}" cy="{c}" r="{c * 0.42}" fill="{core}" stroke="{INK}" stroke-width="3"/>',
         f'<circle cx="{c - c * 0.14}" cy="{c - c * 0.14}" r="{c * 0.14}" fill="#ffffff"/>']
    if sparks:
        b.append(f'<path d="{poly(burst_pts(c, c, c * 0.8, c * 0.5, 8, seed=seed, jitter=0.2))}" fill="none" stroke="{core}" stroke-width="3" stroke-linejoin="round"/>')
    for k in range(rings):
        b.append(f'<ellipse cx="{c}" cy="{c}" rx="{c * (0.6 + 0.15 * k)}" ry="{c * (0.25 + 0.08 * k)}" fill="none" stroke="{core}" '
                 f'stroke-width="3" transform="rotate({-30 + 60 * k},{c},{c})"/>')
    return svg(size, size, ''.join(b), defs)


def beam(w, h, col, core):
    defs = lingrad('bg', [(0, col, 0), (0.5, col, 0.9), (1, col, 0)], 0, 0, 0, 1) + \
        lingrad('fade', [(0, '#ffffff', 0), (0.15, '#ffffff', 1), (1, '#ffffff', 1)], 0, 0, 1, 0)
    m = h / 2
    b = [f'<mask id="mk"><rect width="{w}" height="{h}" fill="url(#fade)"/></mask>',
         f'<g mask="url(#mk)"><rect x="0" y="0" width="{w}" height="{h}" fill="url(#bg)"/>',
         f'<rect x="0" y="{m - h * 0.18}" width="{w - h * 0.2}" height="{h * 0.36}" rx="{h * 0.18}" fill="{core}"/>',
         f'<path d="M0,{m - h * 0.3} L{w},{m - h * 0.12} M0,{m + h * 0.3} L{w},{m + h * 0.12}" stroke="{core}" stroke-width="2" opacity="0.8"/></g>',
         f'<circle cx="{w - h * 0.3}" cy="{m}" r="{h * 0.3}" fill="{core}"/>',
         f'<path d="{poly(star_pts(w - h * 0.3, m, h * 0.5, h * 0.15, 4, 0))}" fill="{core}"/>']
    return svg(w, h, ''.join(b), defs)


def bite(kind):
    s = 128
    b = []
    if kind == 1:  # jaws snapping: two rows of teeth
        for top in (True, False):
            y = 40 if top else 88
            sgn = 1 if top else -1
            b.append(f'<path d="M14,{y} Q64,{y - sgn * 30} 114,{y}" fill="none" stroke="{INK}" stroke-width="10" stroke-linecap="round"/>')
            b.append(f'<path d="M14,{y} Q64,{y - sgn * 30} 114,{y}" fill="none" stroke="#ff8fa3" stroke-width="5" stroke-linecap="round"/>')
            for k in range(6):
                x = 22 + k * 17
                yy = y - sgn * 30 * (1 - ((x - 64) / 50) ** 2) * 0.5
                b.append(f'<path d="M{x - 7},{yy:.0f} L{x},{yy + sgn * 22:.0f} L{x + 7},{yy:.0f} Z" {st("#ffffff", 2.5)}/>')
        b.append(speedlines(64, 64, 40, 64, 12, SUN, 3, opacity=0.9))
    else:  # mechanical clamp closing
        for sgn in (1, -1):
            y = 64 - sgn * 20
            b.append(f'<path d="M10,{y} L80,{y} L112,64 L96,64 L74,{y + sgn * 8} L10,{y + sgn * 8} Z" {st("#b8c4d0", 3)}/>')
        b.append(f'<rect x="2" y="38" width="20" height="52" rx="4" {st("#5a5a6a", 3)}/>')
        b.append(f'<path d="{poly(star_pts(104, 64, 20, 7, 6))}" fill="{SUN}" stroke="{INK}" stroke-width="2"/>')
    return svg(s, s, ''.join(b))


def bullet():
    w, h = 112, 48
    b = [''.join(f'<path d="M{x},{y} L{x + l},{y}" stroke="{c}" stroke-width="4" stroke-linecap="round"/>' for x, y, l, c in
                 ((4, 14, 34, CYAN), (10, 24, 40, '#ffffff'), (2, 34, 30, CYAN))),
         # a heavy book flying spine first
         f'<path d="M48,8 L96,8 Q108,24 96,40 L48,40 Z" {st(MENT, 3)}/>',
         f'<path d="M52,12 L92,12 Q100,24 92,36 L52,36 Z" fill="{PAPER}" stroke="{INK}" stroke-width="1.5"/>',
         f'<path d="M96,8 Q108,24 96,40" fill="none" stroke="{INK}" stroke-width="3"/>',
         plain_text('A', 70, 16, 14, INK, weight=2.6, anchor='middle')]
    return svg(w, h, ''.join(b))


def confusion(kind):
    s = 128
    b = []
    if kind == 1:
        pts = []
        for i in range(80):
            t = i / 79 * 3.2 * math.pi
            r = 6 + 46 * i / 79
            pts.append((64 + r * math.cos(t), 64 + r * math.sin(t) * 0.8))
        d = poly(pts, close=False)
        b.append(f'<path d="{d}" fill="none" stroke="{INK}" stroke-width="9" stroke-linecap="round"/>'
                 f'<path d="{d}" fill="none" stroke="{MENT}" stroke-width="5" stroke-linecap="round"/>')
        for x, y, sz in ((20, 10, 24), (96, 6, 20), (100, 84, 22)):
            b.append(lettering('?', x, y, sz, SUN, weight=5, outline=2, shadow=False))
    else:
        b.append(f'<ellipse cx="64" cy="70" rx="54" ry="20" fill="none" stroke="{MENT}" stroke-width="4" stroke-dasharray="8 6"/>')
        for k in range(5):
            a = 2 * math.pi * k / 5
            x, y = 64 + 54 * math.cos(a), 70 + 20 * math.sin(a)
            b.append(f'<path d="{poly(star_pts(x, y, 14, 6))}" {st(SUN, 2.5)}/>')
        b.append(f'<circle cx="64" cy="40" r="5" fill="#fff"/><path d="M40,30 l6,6 M88,30 l-6,6" stroke="#fff" stroke-width="3"/>')
    return svg(s, s, ''.join(b))


def fire_arrow():
    w, h = 176, 48
    b = [f'<path d="M10,24 C40,0 70,10 96,16 L96,32 C70,38 40,48 10,24 Z" fill="{RED}" opacity="0.9"/>',
         f'<path d="M30,24 C50,10 76,16 100,20 L100,28 C76,32 50,38 30,24 Z" fill="{SUN}"/>',
         f'<path d="M60,22 L150,22 L150,26 L60,26 Z" {st("#8a5a32", 2)}/>',
         f'<path d="M146,12 L174,24 L146,36 L152,24 Z" {st("#d8e3ea", 2.5)}/>',
         f'<path d="M60,22 L44,12 L50,24 L44,36 L60,26 Z" {st(RED, 2)}/>',
         ''.join(f'<circle cx="{x}" cy="{y}" r="{r}" fill="{SUN}"/>' for x, y, r in ((20, 10, 3), (8, 30, 2.5), (34, 40, 2)))]
    return svg(w, h, ''.join(b))


def fist_fx():
    w, h = 144, 112
    s = 40
    cx, cy = 92, 56
    b = []
    for y, l in ((26, 50), (44, 64), (62, 70), (80, 56), (96, 40)):
        b.append(f'<path d="M{56 - l},{y} L52,{y}" stroke="{INK}" stroke-width="7" stroke-linecap="round"/><path d="M{56 - l},{y} L52,{y}" stroke="#ffffff" stroke-width="3.5" stroke-linecap="round"/>')
    b.append(f'<path d="{poly(burst_pts(112, 56, 32, 18, 8, seed=3))}" fill="{SUN}" stroke="{INK}" stroke-width="3"/>')
    b.append(f'<path d="M{cx - s},{cy - s * 0.35} L{cx - s * 0.35},{cy - s * 0.55} L{cx - s * 0.35},{cy + s * 0.55} L{cx - s},{cy + s * 0.4} Z" {st(RED, 3)}/>')
    b.append(rrect(cx - s * 0.45, cy - s * 0.75, s * 1.35, s * 1.45, s * 0.35, st('#ffe3cf', 3.5)))
    for k in range(3):
        y = cy - s * 0.62 + k * s * 0.45
        b.append(f'<path d="M{cx + s * 0.35},{y + s * 0.12} Q{cx + s * 0.92},{y + s * 0.1} {cx + s * 0.92},{y + s * 0.3}" fill="none" stroke="{INK}" stroke-width="3" stroke-linecap="round"/>')
    b.append(f'<path d="M{cx - s * 0.3},{cy + s * 0.15} Q{cx + s * 0.2},{cy + s * 0.05} {cx + s * 0.45},{cy + s * 0.35}" fill="none" stroke="{INK}" stroke-width="3" stroke-linecap="round"/>')
    return svg(w, h, ''.join(b))


def icicle():
    w, h = 144, 44
    b = [f'<path d="M4,8 L30,2 L142,22 L30,42 L4,36 Z" {st("#d8f0ff", 3)}/>',
         f'<path d="M10,12 L36,8 L126,22 L36,24 Z" fill="#ffffff"/>',
         f'<path d="M4,36 L30,42 L142,22 L40,34 Z" fill="{CYAN}"/>',
         f'<path d="{poly(star_pts(14, 22, 10, 3, 4, 0))}" fill="#fff"/>']
    return svg(w, h, ''.join(b))


def knife():
    """Fine Print: a flying paper sheet with a sharp edge."""
    w, h = 104, 40
    b = [f'<path d="M4,6 L78,6 L100,20 L78,34 L4,34 Z" {st(PAPER, 3)}/>',
         ''.join(f'<path d="M12,{y} L{70 - (y % 3) * 6},{y}" stroke="#8a8a9a" stroke-width="1.5"/>' for y in (12, 16, 20, 24, 28)),
         f'<path d="M78,6 L100,20 L78,34" fill="none" stroke="{RED}" stroke-width="3"/>']
    return svg(w, h, ''.join(b))


def lightning(w, h, seed, branches, col=SUN, core='#ffffff', top_origin=False):
    rnd = random.Random(seed)

    def path(x0, y0, x1, y1, n):
        pts = [(x0, y0)]
        for i in range(1, n):
            t = i / n
            pts.append((x0 + (x1 - x0) * t + rnd.uniform(-w * 0.18, w * 0.18), y0 + (y1 - y0) * t))
        pts.append((x1, y1))
        return pts
    main = path(w / 2, 0, w / 2 + rnd.uniform(-w * 0.1, w * 0.1), h, 8)
    lines = [main]
    for _ in range(branches):
        i = rnd.randint(2, 5)
        x, y = main[i]
        lines.append(path(x, y, x + rnd.choice([-1, 1]) * w * 0.35, y + h * 0.25, 4))
    b = []
    for wd, c, op in ((16, col, 0.35), (9, INK, 1), (6, col, 1), (2.5, core, 1)):
        for k, ln in enumerate(lines):
            ww = wd if k == 0 else wd * 0.6
            b.append(f'<path d="{poly(ln, close=False)}" fill="none" stroke="{c}" stroke-width="{ww}" stroke-linejoin="round" stroke-linecap="round" opacity="{op}"/>')
    return svg(w, h, ''.join(b))


def mental_ball():
    return ball(112, MENT, '#f1e4ff', 8, sparks=False, rings=2)


def render_fx():
    """Impact: a 'POW' starburst with speed lines."""
    s = 176
    b = [speedlines(88, 88, 60, 88, 24, '#ffffff', 4, opacity=0.9),
         f'<path d="{poly(burst_pts(88, 88, 80, 48, 12, seed=9, jitter=0.15))}" {st(SUN, 4)}/>',
         f'<path d="{poly(burst_pts(88, 88, 56, 34, 12, seed=9, jitter=0.15))}" fill="{RED}"/>',
         lettering('POW!', 92, 72, 30, '#ffffff', anchor='middle', weight=7, outline=3, skew=-10, shadow=False)]
    return svg(s, s, ''.join(b))


# --- mini-game sprites ---------------------------------------------------
def car(body, roof, stripe=None, taxi=False):
    w, h = 64, 32
    b = [rrect(2, 3, 60, 26, 8, f'fill="{INK}" opacity="0.3"'),
         rrect(8, 1, 10, 4, 1, f'fill="{INK}"') + rrect(44, 1, 10, 4, 1, f'fill="{INK}"')
         + rrect(8, 27, 10, 4, 1, f'fill="{INK}"') + rrect(44, 27, 10, 4, 1, f'fill="{INK}"'),
         rrect(2, 4, 60, 24, 9, st(body, 2.5)),
         rrect(20, 7, 26, 18, 5, st(roof, 2)),
         f'<path d="M46,8 L52,10 L52,22 L46,24 Z" fill="{CYAN}" stroke="{INK}" stroke-width="1.5"/>',
         f'<path d="M20,8 L15,10 L15,22 L20,24 Z" fill="{CYAN}" stroke="{INK}" stroke-width="1.5"/>',
         f'<rect x="58" y="6" width="3" height="5" fill="{SUN}"/><rect x="58" y="21" width="3" height="5" fill="{SUN}"/>',
         f'<rect x="3" y="6" width="3" height="5" fill="{RED}"/><rect x="3" y="21" width="3" height="5" fill="{RED}"/>']
    if stripe:
        b.append(f'<rect x="4" y="14" width="56" height="4" fill="{stripe}"/>')
    if taxi:
        b.append(rrect(28, 12, 10, 8, 2, st(INK, 1.2)) + f'<rect x="30" y="14" width="6" height="4" fill="{SUN}"/>')
    return svg(w, h, ''.join(b))


def tree():
    w, h = 300, 400
    b = [f'<path d="M128,400 C132,340 130,300 120,260 L180,260 C170,300 168,340 172,400 Z" {st("#8a5a32", 4)}/>',
         f'<path d="M128,400 C132,340 130,300 120,260 L140,260 C146,300 146,350 146,400 Z" fill="#6b4426"/>',
         f'<path d="M150,290 L206,236 M148,300 L96,250" stroke="{INK}" stroke-width="16" stroke-linecap="round"/>'
         f'<path d="M150,290 L206,236 M148,300 L96,250" stroke="#8a5a32" stroke-width="10" stroke-linecap="round"/>']
    puffs = [(150, 120, 100), (70, 170, 60), (230, 170, 62), (100, 80, 62), (200, 80, 64), (150, 200, 70), (60, 230, 42), (240, 230, 44)]
    b.append(''.join(f'<circle cx="{x}" cy="{y}" r="{r + 4}" fill="{INK}"/>' for x, y, r in puffs))
    b.append(''.join(f'<circle cx="{x}" cy="{y}" r="{r}" fill="#2a9d8f"/>' for x, y, r in puffs))
    b.append(''.join(f'<circle cx="{x + 8}" cy="{y - 10}" r="{r * 0.75}" fill="#3fbf8f"/>' for x, y, r in puffs))
    rnd = random.Random(4)
    b.append(''.join(f'<path d="M{x:.0f},{y:.0f} q6,-8 12,0" fill="none" stroke="#1f7a70" stroke-width="3" stroke-linecap="round"/>'
                     for x, y in [(rnd.uniform(40, 250), rnd.uniform(40, 250)) for _ in range(26)]))
    for x, y in ((90, 140), (210, 130), (160, 230), (60, 210)):
        b.append(f'<circle cx="{x}" cy="{y}" r="9" {st(RED, 2.5)}/><circle cx="{x - 3}" cy="{y - 3}" r="2.5" fill="#fff"/>')
    return svg(w, h, ''.join(b))


def tree_cat():
    s = 64
    fur = '#e59a4f'
    b = [f'<path d="M12,44 C6,30 14,16 30,18 C44,18 56,26 54,42 C52,54 20,58 12,44 Z" {st(fur, 3)}/>',
         f'<path d="M48,30 C60,20 60,8 52,4" fill="none" stroke="{INK}" stroke-width="8" stroke-linecap="round"/>'
         f'<path d="M48,30 C60,20 60,8 52,4" fill="none" stroke="{fur}" stroke-width="4" stroke-linecap="round"/>',
         f'<path d="M14,28 L10,10 L24,22 Z M34,20 L40,4 L46,22 Z" {st(fur, 2.5)}/>',
         f'<circle cx="22" cy="32" r="5" fill="#fff" stroke="{INK}" stroke-width="2"/><circle cx="36" cy="30" r="5" fill="#fff" stroke="{INK}" stroke-width="2"/>'
         f'<circle cx="23" cy="32" r="2" fill="{INK}"/><circle cx="37" cy="30" r="2" fill="{INK}"/>',
         f'<ellipse cx="30" cy="42" rx="4" ry="5" fill="#7a2030" stroke="{INK}" stroke-width="2"/>',
         f'<path d="M10,50 L2,58 M22,54 L18,62 M40,54 L44,62 M52,46 L60,52" stroke="{INK}" stroke-width="5" stroke-linecap="round"/>'
         f'<path d="M10,50 L2,58 M22,54 L18,62 M40,54 L44,62 M52,46 L60,52" stroke="{fur}" stroke-width="2.5" stroke-linecap="round"/>']
    return svg(s, s, ''.join(b))


def tree_circle():
    f0 = (f'<circle cx="160" cy="160" r="150" fill="none" stroke="{INK}" stroke-width="10" opacity="0.6"/>'
          f'<circle cx="160" cy="160" r="150" fill="none" stroke="#ffffff" stroke-width="5" stroke-dasharray="22 12"/>'
          + ''.join(f'<path d="M{160 + 132 * math.cos(a * math.pi / 6):.1f},{160 + 132 * math.sin(a * math.pi / 6):.1f} '
                    f'L{160 + 146 * math.cos(a * math.pi / 6):.1f},{160 + 146 * math.sin(a * math.pi / 6):.1f}" stroke="#ffffff" stroke-width="5" stroke-linecap="round"/>'
                    for a in range(12))
          + f'<circle cx="160" cy="160" r="8" fill="#ffffff" stroke="{INK}" stroke-width="3"/>')
    f1 = (f'<circle cx="160" cy="160" r="154" fill="none" stroke="{INK}" stroke-width="8"/>'
          f'<circle cx="160" cy="160" r="154" fill="none" stroke="#ffffff" stroke-width="4"/>'
          f'<circle cx="160" cy="160" r="146" fill="none" stroke="#ffffff" stroke-width="2" opacity="0.5"/>')
    return sheet(320, 320, [f0, f1])


def signs():
    def board(c, text, size, shape='rect', tc=PAPER):
        o = []
        if shape == 'rect':
            o.append(f'<path d="M40,6 L40,30 M88,6 L88,30" stroke="{INK}" stroke-width="3"/>')
            o.append(rrect(6, 28, 116, 70, 8, st(c, 4)) + rrect(12, 34, 104, 58, 5, f'fill="none" stroke="{shade(c, 1.4)}" stroke-width="2"'))
            o.append(lettering(text, 64, 63 - size / 2, size, tc, anchor='middle', weight=size * 0.22, outline=2, shadow=False, spacing=1.2))
        elif shape == 'round':
            o.append(f'<path d="M64,4 L64,22" stroke="{INK}" stroke-width="4"/>')
            o.append(f'<circle cx="64" cy="70" r="50" {st(c, 4)}/><circle cx="64" cy="70" r="42" fill="none" stroke="{shade(c, 1.4)}" stroke-width="2"/>')
            o.append(lettering(text, 64, 70 - size / 2, size, tc, anchor='middle', weight=size * 0.22, outline=2, shadow=False, spacing=1.2))
        elif shape == 'arrow':
            o.append(f'<path d="M6,40 L92,40 L92,24 L124,62 L92,100 L92,84 L6,84 Z" {st(c, 4)}/>')
            o.append(lettering(text, 52, 62 - size / 2, size, tc, anchor='middle', weight=size * 0.22, outline=2, shadow=False, spacing=1.2))
        elif shape == 'vertical':
            o.append(rrect(34, 4, 60, 120, 8, st(c, 4)))
            for i, ch in enumerate(text):
                o.append(lettering(ch, 64, 12 + i * 22, 17, tc, anchor='middle', weight=4, outline=1.5, shadow=False))
        return ''.join(o)
    fr = [board(SKY, 'MAIN ST', 18),
          board(LEAF, 'PARK', 26, 'arrow'),
          board(RED, 'DINER', 24),
          board(PURPLE, 'HOTEL', 0, 'vertical', SUN),
          board(GOLD, 'PIZZA', 22, 'round', RED),
          board(ELEM, 'SALE!', 26, 'arrow', SUN)]
    return sheet(128, 128, fr)


def main():
    write(G + 'FXBall1.png.svg', ball(96, ELEM, '#e6f2ff', 1))
    write(G + 'FXBall2.png.svg', ball(96, '#d9b26a', '#fff3d6', 2))
    write(G + 'FXBall3.png.svg', ball(128, '#c2255c', '#ffd6e0', 3, rings=1))
    write(G + 'FXBeam1.png.svg', beam(256, 48, CYAN, '#ffffff'))
    write(G + 'FXBeam2.png.svg', beam(320, 80, '#ff5da2', '#fff3c0'))
    write(G + 'FXBite1.png.svg', bite(1))
    write(G + 'FXBite2.png.svg', bite(2))
    write(G + 'FXBullet1.png.svg', bullet())
    write(G + 'FXConfusion1.png.svg', confusion(1))
    write(G + 'FXConfusion2.png.svg', confusion(2))
    write(G + 'FXFireArrow.png.svg', fire_arrow())
    write(G + 'FXFist1.png.svg', fist_fx())
    write(G + 'FXIcicle.png.svg', icicle())
    write(G + 'FXKnife.png.svg', knife())
    write(G + 'FXLightning1.png.svg', lightning(72, 176, 1, 1))
    write(G + 'FXLightning2.png.svg', lightning(112, 224, 2, 3, ELEM))
    write(G + 'FXLightning3.png.svg', lightning(128, 400, 3, 4))
    write(G + 'FXMentalBall1.png.svg', mental_ball())
    write(G + 'FXRender.png.svg', render_fx())
    write(G + 'MinigameCar.png.svg', car(RED, shade(RED, 0.8), stripe='#ffffff'))
    write(G + 'MinigameCar2.png.svg', car(SUN, shade(SUN, 0.85), taxi=True))
    write(G + 'MinigameCar3.png.svg', car(ELEM, shade(ELEM, 0.8)))
    write(G + 'Tree.png.svg', tree())
    write(G + 'TreeCat.png.svg', tree_cat())
    write(G + 'TreeCircle320x320.png.svg', tree_circle())
    write(G + 'Signs128x128.png.svg', signs())


if __name__ == '__main__':
    main()
