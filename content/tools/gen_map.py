#!/usr/bin/env python3
"""The city map of Brallwick (Map.jpg, 1334 x 960). Roads follow the city
graph exactly (node table x 4/3, x 1.5), so walkers and the hero stay on the
streets. Districts: civic north, park north-west, old town and quarry west,
harbour south, campus centre-east, studio and the pier fair east."""
import math
import random
from artlib import *

W, H = 1334, 960
NODES = {1: (424, 606), 2: (521, 589), 3: (623, 542), 4: (662, 552), 5: (688, 496), 6: (649, 465), 7: (750, 422),
         8: (772, 315), 9: (843, 260), 10: (658, 295), 11: (564, 281), 12: (533, 204), 13: (596, 173), 14: (560, 119),
         15: (491, 196), 16: (487, 145), 17: (398, 144), 18: (410, 199), 19: (356, 232), 20: (326, 245), 21: (248, 200),
         22: (170, 256), 23: (117, 356), 24: (147, 476), 25: (71, 481), 26: (213, 547), 27: (278, 566), 28: (121, 406),
         29: (165, 395), 30: (198, 460), 31: (293, 440), 32: (400, 382), 33: (409, 348), 34: (484, 305), 35: (488, 268),
         36: (411, 416), 37: (413, 473), 38: (564, 398), 39: (552, 369), 40: (217, 218)}
EDGES = [(1, 2), (1, 27), (1, 37), (2, 3), (3, 4), (3, 5), (5, 6), (5, 7), (7, 8), (8, 9), (8, 10), (10, 11), (11, 12),
         (11, 34), (12, 13), (12, 15), (13, 14), (15, 16), (16, 17), (17, 18), (18, 19), (19, 20), (20, 21), (22, 23),
         (23, 28), (24, 25), (24, 26), (24, 28), (24, 30), (26, 27), (28, 29), (30, 31), (31, 32), (32, 33), (32, 36),
         (33, 34), (34, 35), (36, 37), (36, 38), (38, 39), (21, 40), (22, 40)]
P = {n: (x * 4 / 3, y * 1.5) for n, (x, y) in NODES.items()}

# land outline: the sea lies south and east (the harbour and the pier)
COAST = [(-10, -10), (1200, -10), (1214, 120), (1196, 260), (1236, 330), (1250, 420), (1196, 470), (1170, 560),
         (1100, 660), (1040, 760), (1000, 850), (960, 880), (900, 905), (760, 930), (600, 948), (420, 952),
         (240, 946), (80, 940), (-10, 944)]


def seg_dist(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0, min(1, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def road_dist(x, y):
    return min(seg_dist(x, y, P[a], P[b]) for a, b in EDGES)


def inside(poly_, x, y):
    c = False
    n = len(poly_)
    for i in range(n):
        x1, y1 = poly_[i]
        x2, y2 = poly_[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < (x2 - x1) * (y - y1) / (y2 - y1) + x1:
            c = not c
    return c


PARK = [(190, 230), (250, 190), (360, 250), (350, 330), (290, 390), (220, 380), (170, 320)]
QUARRY = [(20, 600), (120, 560), (190, 640), (170, 780), (60, 820), (10, 740)]


def district(x, y):
    if inside(PARK, x, y):
        return 'park'
    if inside(QUARRY, x, y):
        return 'quarry'
    if y < 330 and x > 380 and x < 900:
        return 'civic'
    if x < 330:
        return 'old'
    if y > 760:
        return 'harbour'
    if x > 950:
        return 'east'
    return 'mid'


ROOFS = {'civic': ['#9fb3c8', '#b8c4d0', '#8a9bb0', '#d0d8e0'], 'old': ['#c0573e', '#b5523b', '#a2573f', '#d1714f'],
         'harbour': ['#7d8ea0', '#a0703c', '#6f7f90', '#b8865a'], 'east': ['#6fa8dc', '#9b5de5', '#ff8fa3', '#98c1d9'],
         'mid': ['#d1a36f', '#c98b5a', '#e07a5f', '#8fb8de', '#b5523b']}


def house(x, y, w, h, roof, rnd):
    front = max(5, h * 0.35)
    wall = shade(roof, 0.62)
    o = [f'<rect x="{x + 2:.0f}" y="{y + 3:.0f}" width="{w:.0f}" height="{h + front:.0f}" fill="#000" opacity="0.18"/>',
         f'<rect x="{x:.0f}" y="{y + h:.0f}" width="{w:.0f}" height="{front:.0f}" fill="{wall}" stroke="{INK}" stroke-width="1.6"/>',
         f'<rect x="{x:.0f}" y="{y:.0f}" width="{w:.0f}" height="{h:.0f}" fill="{roof}" stroke="{INK}" stroke-width="1.6"/>']
    for k in range(int(w // 9)):
        o.append(f'<rect x="{x + 3 + k * 9:.0f}" y="{y + h + 2:.0f}" width="4" height="{max(2, front - 5):.0f}" fill="{SUN if rnd.random() < 0.3 else shade(wall, 0.7)}"/>')
    if rnd.random() < 0.25:
        o.append(f'<rect x="{x + w * 0.2:.0f}" y="{y + h * 0.25:.0f}" width="{w * 0.3:.0f}" height="{h * 0.3:.0f}" fill="{shade(roof, 0.8)}"/>')
    return ''.join(o)


def small_tree(x, y, r, col=LEAF):
    return (f'<circle cx="{x:.0f}" cy="{y + 2:.0f}" r="{r:.0f}" fill="#000" opacity="0.18"/>'
            f'<circle cx="{x:.0f}" cy="{y:.0f}" r="{r:.0f}" fill="{col}" stroke="{INK}" stroke-width="1.6"/>'
            f'<circle cx="{x - r * 0.3:.0f}" cy="{y - r * 0.3:.0f}" r="{r * 0.4:.0f}" fill="{shade(col, 1.35)}"/>')


def main():
    rnd = random.Random(2026)
    defs = halftone('wv', '#ffffff', 14, 1.6, 0.35) + halftone('ld', '#d8ccaa', 10, 1.4, 0.6)
    b = [f'<rect width="{W}" height="{H}" fill="#3d7fb8"/>', f'<rect width="{W}" height="{H}" fill="url(#wv)"/>']
    # waves
    for _ in range(70):
        x, y = rnd.uniform(0, W), rnd.uniform(0, H)
        if not inside(COAST, x, y) and not inside(COAST, x, y - 14):
            b.append(f'<path d="M{x:.0f},{y:.0f} q8,-6 16,0 q8,6 16,0" fill="none" stroke="#bfe0f5" stroke-width="2.5" stroke-linecap="round"/>')
    # land with a sandy rim
    b.append(f'<path d="{poly(COAST)}" fill="#f2dca0" stroke="{INK}" stroke-width="5"/>')
    inner = [(x * 0.985 + 8, y * 0.985 + 2) for x, y in COAST]
    b.append(f'<path d="{poly(inner)}" fill="#e9e2c8"/>')
    b.append(f'<path d="{poly(inner)}" fill="url(#ld)"/>')
    # park and quarry grounds
    b.append(f'<path d="{poly(PARK)}" fill="#8cc77a" stroke="{INK}" stroke-width="3"/>')
    b.append(f'<ellipse cx="265" cy="330" rx="34" ry="20" fill="#5fa8d3" stroke="{INK}" stroke-width="2.5"/>')
    b.append(f'<path d="{poly(QUARRY)}" fill="#b9a88a" stroke="{INK}" stroke-width="3"/>')
    for k in range(5):
        b.append(f'<path d="{poly([(40 + k * 22, 640 + k * 30), (150 - k * 8, 630 + k * 30), (160 - k * 8, 650 + k * 30), (30 + k * 22, 660 + k * 30)])}" fill="{shade("#b9a88a", 0.85)}"/>')
    # piers and harbour cranes
    for x in (760, 840, 920):
        b.append(f'<rect x="{x}" y="{870 + (x - 760) * -0.2:.0f}" width="26" height="90" fill="#a0703c" stroke="{INK}" stroke-width="2.5"/>')
    b.append(f'<path d="M1180,430 L1320,400 L1320,450 L1190,470 Z" fill="#a0703c" stroke="{INK}" stroke-width="3"/>')
    # the fair on the pier: a ferris wheel
    b.append(f'<circle cx="1270" cy="390" r="44" fill="none" stroke="{INK}" stroke-width="6"/><circle cx="1270" cy="390" r="44" fill="none" stroke="{REP}" stroke-width="3"/>'
             + ''.join(f'<path d="M1270,390 L{1270 + 44 * math.cos(a * math.pi / 4):.0f},{390 + 44 * math.sin(a * math.pi / 4):.0f}" stroke="{INK}" stroke-width="2"/>'
                       f'<circle cx="{1270 + 44 * math.cos(a * math.pi / 4):.0f}" cy="{390 + 44 * math.sin(a * math.pi / 4):.0f}" r="6" fill="{[SUN, RED, ELEM, LEAF][a % 4]}" stroke="{INK}" stroke-width="1.5"/>' for a in range(8)))
    # a boat or two
    for x, y in ((1250, 700), (300, 958 - 10), (1120, 880)):
        b.append(f'<path d="M{x - 26},{y} L{x + 26},{y} L{x + 18},{y + 12} L{x - 18},{y + 12} Z" fill="{RED}" stroke="{INK}" stroke-width="2"/>'
                 f'<path d="M{x},{y} L{x},{y - 30} L{x + 18},{y - 4} Z" fill="{PAPER}" stroke="{INK}" stroke-width="2"/>')
    # roads: ink edge, asphalt, centre dashes
    for wdt, col in ((30, INK), (24, '#6b6f86')):
        for a, c in EDGES:
            (x1, y1), (x2, y2) = P[a], P[c]
            b.append(f'<path d="M{x1:.0f},{y1:.0f} L{x2:.0f},{y2:.0f}" stroke="{col}" stroke-width="{wdt}" stroke-linecap="round"/>')
    for a, c in EDGES:
        (x1, y1), (x2, y2) = P[a], P[c]
        b.append(f'<path d="M{x1:.0f},{y1:.0f} L{x2:.0f},{y2:.0f}" stroke="#f4f1de" stroke-width="2" stroke-dasharray="8 9" opacity="0.8"/>')
    for n, (x, y) in P.items():
        b.append(f'<circle cx="{x:.0f}" cy="{y:.0f}" r="13" fill="#6b6f86"/>')
    # buildings and trees fill the blocks between the roads
    items = []
    for _ in range(3800):
        x, y = rnd.uniform(10, W - 30), rnd.uniform(10, H - 30)
        if not inside(inner, x, y) or not inside(inner, x + 30, y + 30):
            continue
        d = district(x, y)
        rd = road_dist(x + 12, y + 12)
        if rd < 34:
            continue
        if d == 'park':
            if rnd.random() < 0.5:
                items.append((y, small_tree(x, y, rnd.uniform(8, 13), rnd.choice([LEAF, '#3fbf8f', '#2f8f5f']))))
            continue
        if d == 'quarry':
            if rnd.random() < 0.05:
                items.append((y, f'<ellipse cx="{x:.0f}" cy="{y:.0f}" rx="12" ry="7" fill="#8a7a6a" stroke="{INK}" stroke-width="1.5"/>'))
            continue
        w = rnd.uniform(20, 34) * (1.3 if d in ('harbour', 'civic') else 1)
        h = rnd.uniform(14, 24)
        if any(abs(x - ox) < (w + ow) / 2 + 3 and abs(y - oy) < (h + oh) / 2 + 10 for ox, oy, ow, oh in
               [it[2] for it in items if len(it) > 2]):
            continue
        if road_dist(x + w / 2, y + h / 2) < 20 + max(w, h) / 2:
            continue
        if rnd.random() < 0.12:
            items.append((y, small_tree(x + w / 2, y + h / 2, 9)))
            continue
        items.append((y, house(x - w / 2, y - h / 2, w, h, rnd.choice(ROOFS[d]), rnd), (x, y, w, h)))
    items.sort(key=lambda it: it[0])
    b += [it[1] for it in items]
    # landmark silhouettes away from the icons: Old Tardy and the civic dome
    b.append(f'<g transform="translate(600,300)"><rect x="-10" y="-40" width="20" height="44" fill="#b8c4d0" stroke="{INK}" stroke-width="2"/>'
             f'<path d="M-12,-40 L0,-58 L12,-40 Z" fill="#5a2e3a" stroke="{INK}" stroke-width="2"/><circle cx="0" cy="-28" r="6" fill="{PAPER}" stroke="{INK}" stroke-width="1.5"/></g>')
    # compass rose
    b.append(f'<g transform="translate(1270,80)"><circle r="34" fill="{PAPER}" stroke="{INK}" stroke-width="3"/>'
             f'<path d="M0,-30 L8,0 L0,30 L-8,0 Z" fill="{RED}" stroke="{INK}" stroke-width="2"/><path d="M-30,0 L0,-6 L30,0 L0,6 Z" fill="{SKY}" stroke="{INK}" stroke-width="2"/>'
             + plain_text('N', 0, -56, 16, INK, weight=3.2, anchor='middle') + '</g>')
    write('graphics/Map.jpg.svg', svg(W, H, ''.join(b), defs))


if __name__ == '__main__':
    main()
