#!/usr/bin/env python3
"""Atlas01: the city map's location icons (80 x 80, one landmark each, with a
greyed twin made by the baker) and the map HUD corner with its three buttons."""
import math

from atlas_style import *  # noqa: F401,F403
import atlas_icons as ic

A = "Atlas01"
S = 80
LOCATIONS = ["MapBase", "MapDocks", "MapGym", "MapLibrary", "MapCannery", "MapSquare", "MapGazette",
             "MapScience", "MapPark", "MapCityHall", "MapStudio", "MapManor", "MapBurrow", "MapFair", "MapTower"]


# ---------------------------------------------------------------------------
# Building kit: front face plus a darker side face gives every icon the same
# three-quarter view with light from the upper left.

def block(x, y, w, h, front, side=None, d=8, top=None, sw=OUT):
    side = side or shade(front)
    s = path(poly([(x + w, y), (x + w + d, y - d / 2), (x + w + d, y + h - d / 2), (x + w, y + h)]), side, INK, sw)
    if top:
        s += path(poly([(x, y), (x + d, y - d / 2), (x + w + d, y - d / 2), (x + w, y)]), top, INK, sw)
    s += rect(x, y, w, h, front, 0, INK, sw)
    return s


def windows(x, y, cols, rows, ww, wh, gx, gy, fill=GLASS, lit=None):
    s = ""
    for r in range(rows):
        for c in range(cols):
            f = lit if lit and (r * 7 + c * 3) % 4 == 1 else fill
            s += rect(x + c * gx, y + r * gy, ww, wh, f, 1, INK, 1.6)
            s += rect(x + c * gx + 1.2, y + r * gy + 1.2, ww * 0.35, wh - 2.4, "#ffffff", 0, None, 0, 'opacity="0.45"')
    return s


def plot(fill=GRASS, edge=None, rx=35, ry=9, cy=69):
    """The patch of ground each landmark stands on (anchors it on the map)."""
    s = ellipse(41, cy + 3, rx, ry, INK, None, 0, 'opacity="0.35"')
    s += ellipse(40, cy, rx, ry, fill, INK, 2.5)
    s += path("M%s %s A%s %s 0 0 0 %s %s" % (fmt(40 - rx + 3), fmt(cy + 2), fmt(rx), fmt(ry),
                                            fmt(40 + rx - 3), fmt(cy + 2)), "none", edge or shade(fill), 3)
    return s


def water(cy=70, rx=38, ry=9):
    s = ellipse(40, cy, rx, ry, ELEM, INK, 2.5)
    s += path("M12 %s q4 -3 8 0 t8 0 M46 %s q4 -3 8 0 t8 0 M28 %s q4 -3 8 0" % (
        fmt(cy + 1), fmt(cy + 3), fmt(cy + 5)), "none", CYAN, 2)
    return s


def door(x, y, w, h, fill=WOOD):
    return path("M%s %s V%s A%s %s 0 0 1 %s %s V%s Z" % (fmt(x), fmt(y + h), fmt(y + w / 2), fmt(w / 2), fmt(w / 2),
                                                       fmt(x + w), fmt(y + w / 2), fmt(y + h)), fill, INK, 2)


def put(svg_body, name):
    write(A, name, S, S, svg_body)


# ---------------------------------------------------------------------------
# The fifteen landmarks

def map_base():
    # Quellfast: the old creamery, a giant soft-serve cone on the roof, frost on the eaves.
    b = plot(GRASS)
    b += block(12, 38, 46, 28, BRICK, BRICK_SHADE, 9, top="#d8dde8")
    b += windows(16, 44, 3, 1, 8, 8, 12, 0, GLASS)
    b += door(29, 55, 11, 11, ELEM)
    # icicles along the roof edge
    b += path("M12 38 L58 38 L55 43 L52 38 L47 44 L43 38 L38 42 L34 38 L29 44 L25 38 L20 42 L16 38 Z", WHITE, INK, 1.6)
    # sign board with a snowflake
    b += rect(16, 26, 30, 10, ELEM, 2, INK, 2.2)
    b += '<g transform="translate(31 31) scale(0.16) translate(-32 -32)">%s</g>' % ic.snowflake(WHITE, None)
    # giant cone
    b += path("M52 35 L44 14 L60 14 Z", GOLD, INK, 2.5)
    b += path("M47 20 L58 20 M49 26 L56 26 M45 16 L54 30 M59 16 L50 30", "none", shade(GOLD), 1.5)
    b += path("M42 15 C40 9 45 6 48 7 C48 2 56 2 57 7 C61 6 64 10 62 15 Z", WHITE, INK, 2.5)
    b += path("M45 11 C50 12 55 11 60 12 M49 7 C51 8 54 8 56 7", "none", CYAN, 1.6)
    b += circle(52, 3.5, 2.5, RED, INK, 1.5)
    put(b, "MapBase")


def map_docks():
    b = water(70, 38, 9)
    # pier
    b += path(poly([(10, 62), (56, 62), (62, 58), (16, 58)]), WOOD, INK, 2.2)
    b += rect(10, 62, 46, 5, WOOD_SHADE, 0, INK, 2)
    for x in (14, 26, 38, 50):
        b += rect(x, 67, 3, 6, WOOD_SHADE, 0, INK, 1.5)
    # crates
    b += block(14, 46, 12, 12, RED, None, 4)
    b += path("M14 46 L26 58 M26 46 L14 58", "none", shade(RED), 1.6)
    b += block(27, 50, 9, 8, LEAF, None, 4)
    b += block(17, 37, 8, 9, GOLD, None, 4)
    # crane: tower, cab, long arm, hook
    b += path("M48 58 L50 22 L56 22 L58 58", SUN, INK, 2.5)
    b += path("M49 50 L57 42 M49.5 42 L56.5 34 M50 34 L56 28 M49 42 L57 50 M49.5 34 L56.5 42", "none", INK, 1.3)
    b += rect(46, 14, 14, 10, RED, 2, INK, 2.5)
    b += rect(49, 16, 5, 4, GLASS, 0, INK, 1.2)
    b += path(poly([(8, 12), (62, 10), (74, 13), (62, 16), (8, 16)]), SUN, INK, 2.5)
    b += path("M14 12 L18 16 L22 12 L26 16 L30 12 L34 16 L38 12 L42 16 L46 12", "none", INK, 1.1)
    b += line(14, 16, 14, 28, INK, 1.5)
    b += path("M11 28 h6 v3 h-6 z", STEEL, INK, 1.5)
    b += path("M14 31 v3 a2.5 2.5 0 1 0 3 2", "none", INK, 1.6)
    put(b, "MapDocks")


def map_gym():
    b = plot(STONE, STONE_SHADE)
    b += block(12, 34, 50, 32, GOLD, None, 8, top=RED)
    # arched windows and doors
    for x in (16, 44):
        b += path("M%d 52 V44 A5 5 0 0 1 %d 44 V52 Z" % (x, x + 10), GLASS, INK, 1.8)
    b += door(31, 50, 12, 16, RED)
    # red stripe
    b += rect(12, 34, 50, 5, RED, 0, INK, 2)
    # giant dumbbell on the roof, on two short posts
    b += rect(25, 25, 3, 7, STEEL_SHADE, 0, INK, 1.6) + rect(48, 25, 3, 7, STEEL_SHADE, 0, INK, 1.6)
    b += rect(14, 18, 48, 6, STEEL, 3, INK, 2.2)
    for x, h, w in ((6, 24, 9), (15, 18, 6), (55, 18, 6), (61, 24, 9)):
        b += rect(x, 21 - h / 2, w, h, RED, 3, INK, 2.2)
        b += rect(x + w - 3, 21 - h / 2 + 2, 2, h - 4, shade(RED), 1, None, 0)
    put(b, "MapGym")


def map_library():
    b = plot(STONE, STONE_SHADE)
    # steps
    b += rect(8, 62, 60, 5, STONE, 0, INK, 2)
    b += rect(11, 58, 54, 5, "#ddd6bb", 0, INK, 2)
    # body, columns
    b += block(14, 36, 48, 22, "#e9e3c9", STONE_SHADE, 6)
    for x in (16, 26, 43, 53):
        b += rect(x, 36, 6, 22, WHITE, 0, INK, 1.8)
        b += rect(x + 4, 37, 1.6, 20, "#cfc8ab", 0, None, 0)
    b += door(33, 45, 9, 13, WOOD)
    # entablature and pediment
    b += rect(11, 31, 54, 6, "#ddd6bb", 0, INK, 2.2)
    b += path(poly([(9, 31), (38, 12), (67, 31)]), "#e9e3c9", INK, 2.6)
    b += path(poly([(65, 31), (38, 14), (70, 28)]), STONE_SHADE, None, 0)
    b += path(poly([(9, 31), (38, 12), (67, 31)]), "none", INK, 2.6)
    # open book in the pediment
    b += path("M29 26 C32 23 36 23 38 25 C40 23 44 23 47 26 L47 28 C44 26 40 26 38 28 C36 26 32 26 29 28 Z",
              WHITE, INK, 1.6)
    b += path("M38 25 L38 28", "none", INK, 1.2)
    b += rect(37, 26, 2, 6, RED, 0, None, 0)
    put(b, "MapLibrary")


def map_cannery():
    b = plot("#8a8f6a", "#6c704f")
    # sawtooth shed
    b += block(10, 40, 44, 26, "#8c9a7c", "#6d7a5f", 8)
    b += path(poly([(10, 40), (10, 30), (21, 40), (21, 30), (32, 40), (32, 30), (43, 40), (43, 30), (54, 40)]),
              "#6d7a5f", INK, 2.4)
    b += path("M10 30 L21 40 M21 30 L32 40 M32 30 L43 40", "none", GLASS_SHADE, 2)
    b += windows(14, 46, 3, 1, 7, 6, 12, 0, "#4a5d4c")
    b += rect(24, 54, 14, 12, "#5b4a3a", 0, INK, 2)
    b += path("M24 57 H38 M24 60 H38 M24 63 H38", "none", INK, 1)
    # chimney with smoke
    b += rect(57, 12, 9, 52, BRICK, 0, INK, 2.5)
    b += rect(62, 12, 4, 52, BRICK_SHADE, 0, None, 0)
    b += rect(57, 12, 9, 52, "none", 0, INK, 2.5)
    b += rect(55, 9, 13, 5, "#6b6b6b", 1, INK, 2)
    b += path("M61 8 C56 6 57 1 62 2 C63 -1 70 -1 71 3 C76 3 77 8 72 9 Z", "#b8bcc4", INK, 1.8)
    # giant tin can with a fish label
    b += path("M44 48 L44 66 A8 3 0 0 0 60 66 L60 48 Z", STEEL, INK, 2.2)
    b += rect(44, 53, 16, 8, RED, 0, INK, 1.6)
    b += path("M47 57 C49 54 53 54 55 57 C53 60 49 60 47 57 Z M55 57 L58 55 L58 59 Z", WHITE, None, 0)
    b += ellipse(52, 48, 8, 3, "#c3cad6", INK, 2)
    put(b, "MapCannery")


def map_square():
    b = plot("#d9c9a3", "#bba67a", rx=36)
    # cobbles
    b += path("M18 68 h6 M30 72 h6 M46 70 h6 M58 67 h5 M24 64 h5", "none", "#bba67a", 2)
    # market stalls with striped awnings
    for x, col in ((6, RED), (54, LEAF)):
        b += rect(x + 2, 46, 18, 14, WOOD, 0, INK, 2)
        b += rect(x + 4, 50, 14, 4, SUN, 0, INK, 1.2)
        aw = poly([(x - 1, 46), (x + 3, 36), (x + 19, 36), (x + 23, 46)])
        b += path(aw, WHITE, INK, 2)
        for i in range(3):
            xx = x + 3 + i * 6
            b += path(poly([(xx, 36), (xx + 3, 36), (xx + 2 + 0.4 * (i - 1) * 8, 46), (xx - 2 + 0.4 * (i - 1) * 8, 46)]),
                      col, None, 0)
        b += path(aw, "none", INK, 2)
        b += path("M%d 46 q2.5 3 5 0 q2.5 3 5 0 q2.5 3 5 0 q2.5 3 5 0" % (x - 1), col, INK, 1.6)
    # tiered fountain
    b += ellipse(40, 62, 16, 5, STONE, INK, 2.2)
    b += ellipse(40, 61, 12, 3, ELEM, None, 0)
    b += rect(37, 42, 6, 18, STONE, 0, INK, 2)
    b += ellipse(40, 42, 10, 3.5, STONE, INK, 2.2)
    b += path("M40 40 C40 30 40 24 40 22 M40 24 C34 24 30 32 30 40 M40 24 C46 24 50 32 50 40", "none", CYAN, 3)
    b += path("M40 40 C40 30 40 24 40 22 M40 24 C34 24 30 32 30 40 M40 24 C46 24 50 32 50 40", "none", WHITE, 1.4)
    b += circle(40, 21, 2.5, WHITE, INK, 1.2)
    put(b, "MapSquare")


def map_gazette():
    b = plot(STONE, STONE_SHADE)
    b += block(16, 26, 36, 40, SKY, None, 8, top=NIGHT)
    b += windows(20, 32, 3, 3, 7, 6, 10, 9, GLASS, "#ffe9a8")
    b += rect(28, 57, 10, 9, RED, 0, INK, 2)
    b += rect(16, 50, 36, 4, PAPER, 0, INK, 1.6)
    # giant newspaper billboard on the roof
    pg = poly([(10, 4), (56, 8), (54, 26), (8, 22)])
    b += path(pg, INK, INK, 4, 'transform="translate(2 2)"')
    b += path(pg, PAPER, INK, 2.5)
    b += path("M13 8 L51 11.5", "none", INK, 3.2)
    b += path("M13 13 L30 14.5 M13 16.5 L30 18 M13 20 L28 21.3", "none", "#8a8577", 1.6)
    b += path(poly([(34, 14), (50, 15.4), (49.2, 23), (33.4, 21.6)]), CYAN, INK, 1.4)
    b += path("M46 4 L44 -1", "none", INK, 2)
    b += line(20, 23, 22, 27, INK, 2) + line(44, 25, 46, 27, INK, 2)
    # a paper flying off in the breeze
    b += path(poly([(60, 28), (72, 24), (74, 32), (62, 35)]), WHITE, INK, 1.6)
    b += path("M63 29 L70 27 M63 32 L71 30", "none", "#8a8577", 1.1)
    put(b, "MapGazette")


def map_science():
    b = plot(GRASS)
    b += block(10, 40, 40, 26, WHITE, "#c5cfdc", 8)
    b += rect(10, 40, 40, 4, ELEM, 0, INK, 1.8)
    b += windows(14, 48, 3, 1, 7, 7, 11, 0, GLASS)
    b += rect(25, 57, 10, 9, CYAN, 0, INK, 1.8)
    # observatory dome with slit
    b += path("M14 40 A16 16 0 0 1 46 40 Z", "#dfe6ef", INK, 2.5)
    b += path("M36 27 A16 16 0 0 1 46 40 L38 40 Z", "#c5cfdc", None, 0)
    b += path("M14 40 A16 16 0 0 1 46 40 Z", "none", INK, 2.5)
    b += path(poly([(27, 25), (33, 25), (34, 40), (26, 40)]), NIGHT, INK, 1.8)
    b += path("M30 25 L36 14", "none", INK, 4) + path("M30 25 L36 14", "none", STEEL, 2)
    # giant bubbling flask
    b += path("M56 22 L56 36 L47 60 C46 64 48 66 51 66 L71 66 C74 66 76 64 75 60 L66 36 L66 22 Z", "#e8f6ff", INK, 2.5)
    b += path("M52 48 L70 48 L75 60 C76 64 74 66 71 66 L51 66 C48 66 46 64 47 60 Z", CLUE, INK, 2)
    b += path("M66 52 L72 62 C72 64 71 65 69 65 L62 65 Z", shade(CLUE), None, 0)
    b += rect(54, 18, 14, 5, STEEL, 1, INK, 2)
    for cx, cy, r in ((58, 56, 2.5), (64, 59, 1.8), (61, 12, 3), (66, 6, 2.2), (57, 4, 1.6)):
        b += circle(cx, cy, r, WHITE if cy < 20 else "#bff5e4", INK, 1.2)
    put(b, "MapScience")


def map_park():
    b = ellipse(41, 72, 36, 8, INK, None, 0, 'opacity="0.35"')
    # windy hill
    b += path("M4 70 C10 52 30 44 44 46 C58 48 72 56 76 70 Z", GRASS, INK, 2.5)
    b += path("M52 50 C64 53 73 60 75 69 L60 69 C62 62 58 56 52 50 Z", GRASS_SHADE, None, 0)
    b += path("M4 70 C10 52 30 44 44 46 C58 48 72 56 76 70 Z", "none", INK, 2.5)
    # path up the hill
    b += path("M30 70 C34 62 40 56 46 50", "none", "#e8d9a8", 4)
    # big tree
    b += rect(20, 40, 6, 16, WOOD, 1, INK, 2)
    b += path("M10 36 C6 28 12 20 18 22 C18 14 30 12 33 19 C40 17 44 26 39 32 C42 38 34 44 28 41 "
              "C24 46 14 44 14 40 C10 41 8 38 10 36 Z", LEAF, INK, 2.5)
    b += path("M28 41 C34 44 42 38 39 32 C36 36 32 38 26 38 Z", shade(LEAF), None, 0)
    b += path("M14 28 C16 25 19 25 21 26", "none", "#5cc2b4", 2)
    # bench and lamp
    b += rect(46, 52, 14, 3, WOOD, 1, INK, 1.6)
    b += line(48, 55, 48, 59, INK, 1.6) + line(58, 55, 58, 59, INK, 1.6)
    b += rect(46, 48, 14, 2.5, WOOD, 1, INK, 1.4)
    b += line(64, 58, 64, 42, INK, 2) + circle(64, 40, 3, SUN, INK, 1.6)
    # kite on the wind
    b += path("M36 50 C42 40 48 32 58 22", "none", INK, 1.1, 'stroke-dasharray="2 2"')
    kite = poly([(62, 6), (71, 14), (62, 26), (55, 14)])
    b += path(kite, RED, INK, 2)
    b += path(poly([(62, 6), (71, 14), (62, 14)]), SUN, None, 0)
    b += path(poly([(62, 14), (55, 14), (62, 26)]), SUN, None, 0)
    b += path(kite, "none", INK, 2)
    b += path("M62 26 q-3 4 0 7 q3 3 0 7", "none", INK, 1.4)
    put(b, "MapPark")


def map_city_hall():
    b = plot(STONE, STONE_SHADE, rx=37)
    b += rect(6, 62, 68, 5, STONE, 0, INK, 2)
    # wings
    b += block(6, 42, 68, 20, "#eee8cf", STONE_SHADE, 5)
    for x in (10, 18, 26, 48, 56, 64):
        b += rect(x, 46, 5, 10, GLASS, 1, INK, 1.5)
    # portico
    b += rect(30, 38, 20, 24, WHITE, 0, INK, 2)
    for x in (31, 37, 43):
        b += rect(x, 42, 4, 20, "#f6f3e6", 0, INK, 1.4)
    b += path(poly([(28, 40), (40, 31), (52, 40)]), "#eee8cf", INK, 2.2)
    # drum, clock and dome
    b += rect(31, 20, 18, 12, "#eee8cf", 0, INK, 2.2)
    b += circle(40, 26, 4.5, WHITE, INK, 1.6)
    b += path("M40 26 L40 23 M40 26 L42.5 27", "none", INK, 1.2)
    b += path("M29 20 A11 11 0 0 1 51 20 Z", LEAF, INK, 2.5)
    b += path("M44 11 A11 11 0 0 1 51 20 L45 20 Z", shade(LEAF), None, 0)
    b += path("M29 20 A11 11 0 0 1 51 20 Z", "none", INK, 2.5)
    b += line(40, 9, 40, 1, INK, 1.8)
    b += path(poly([(40, 1), (50, 3), (40, 6)]), RED, INK, 1.5)
    put(b, "MapCityHall")


def map_studio():
    b = plot(STONE, STONE_SHADE)
    b += block(12, 34, 44, 32, PURPLE, None, 8, top=NIGHT)
    b += rect(12, 34, 44, 6, NIGHT, 0, INK, 2)
    b += windows(16, 44, 4, 2, 6, 5, 10, 9, "#c9a7f5", "#ffe9a8")
    b += rect(27, 58, 14, 8, GLASS, 0, INK, 1.8)
    # ON AIR light
    b += rect(46, 58, 8, 4, RED, 1, INK, 1.2)
    # "9" sign in a red burst on the roof
    b += path(poly(burst_pts(26, 20, 15, 10, 9)), SUN, INK, 2.2)
    b += circle(26, 20, 9, RED, INK, 2)
    b += lettering("9", 26, 26.5, 17, WHITE, INK, 2.5)
    b += line(22, 33, 22, 30, INK, 2) + line(30, 33, 30, 30, INK, 2)
    # satellite dish and mast
    b += line(52, 30, 52, 14, INK, 2.2)
    b += path("M44 6 C42 14 50 22 60 20 Z", "#dfe6ef", INK, 2.2)
    b += line(52, 13, 57, 8, INK, 1.6) + circle(58, 7, 1.8, RED, INK, 1)
    b += path("M62 6 q3 2 3 6 M65 3 q4 3 4 9", "none", RED, 1.6)
    put(b, "MapStudio")


def map_manor():
    b = plot("#7a8a5e", "#5d6b47")
    main = "#6b4f8a"
    b += block(14, 38, 40, 28, main, "#4f3a68", 7)
    roof = poly([(11, 38), (22, 24), (46, 24), (57, 38)])
    b += path(roof, PURPLE, INK, 2.4)
    b += path(poly([(46, 24), (57, 38), (63, 34), (52, 21)]), shade(PURPLE), INK, 2.2)
    b += path(roof, "none", INK, 2.4)
    for x in (19, 29, 39):
        b += path("M%d 52 V46 L%g 43 L%d 46 V52 Z" % (x, x + 3, x + 6), SUN, INK, 1.5)
    b += door(45, 54, 8, 12, NIGHT)
    # two spiky towers
    for x, h, top in ((6, 26, 14), (52, 30, 10)):
        b += rect(x, top + 14, 12, 66 - top - 14, main, 0, INK, 2.2)
        b += path(poly([(x - 2, top + 14), (x + 6, top - 2), (x + 14, top + 14)]), NIGHT, INK, 2.2)
        b += path("M%d %d V%d A2.5 2.5 0 0 1 %d %d V%d Z" % (x + 4, top + 24, top + 20, x + 9, top + 20, top + 24),
                  SUN, INK, 1.3)
    # question-mark weathervane
    b += lettering("?", 58, 8.5, 10, CLUE, INK, 2.2)
    put(b, "MapManor")


def map_burrow():
    b = ellipse(41, 72, 36, 8, INK, None, 0, 'opacity="0.35"')
    dirt = "#9c6b43"
    b += path("M4 70 C8 50 22 36 40 36 C58 36 72 50 76 70 Z", dirt, INK, 2.5)
    b += path("M52 40 C64 45 73 57 76 70 L62 70 C62 58 58 48 52 40 Z", "#7a5232", None, 0)
    b += path("M4 70 C8 50 22 36 40 36 C58 36 72 50 76 70 Z", "none", INK, 2.5)
    for cx, cy in ((16, 60), (62, 52), (30, 44), (56, 64)):
        b += circle(cx, cy, 1.6, "#7a5232", None, 0)
    # tunnel mouth braced with planks
    b += path("M24 70 V58 A16 16 0 0 1 56 58 V70 Z", INK, INK, 2.5)
    b += path("M24 70 V56 M56 70 V56", "none", WOOD, 5) + path("M22 55 L58 55", "none", WOOD, 5)
    b += path("M24 70 V56 M56 70 V56 M22 55 L58 55", "none", INK, 1.2, 'stroke-dasharray="0"')
    b += circle(40, 64, 1.6, SUN, None, 0) + circle(45, 64, 1.6, SUN, None, 0)
    # giant hard hat on the mound
    b += path("M22 30 C22 18 30 12 40 12 C50 12 58 18 58 30 Z", SUN, INK, 2.5)
    b += path("M46 14 C53 17 57 22 58 30 L50 30 C50 24 49 18 46 14 Z", shade(SUN), None, 0)
    b += path("M22 30 C22 18 30 12 40 12 C50 12 58 18 58 30 Z", "none", INK, 2.5)
    b += rect(36, 11, 8, 19, "#ffe49a", 2, INK, 1.8)
    b += rect(16, 29, 48, 5, SUN, 2.5, INK, 2.2)
    # stolen manhole covers and a carrot
    b += ellipse(66, 38, 8, 3, STEEL, INK, 1.8) + ellipse(66, 35, 8, 3, STEEL, INK, 1.8)
    b += path("M64 35 h4 M62 36 h8", "none", STEEL_SHADE, 1)
    b += path("M6 48 L16 40 L18 43 Z", GOLD, INK, 1.5) + path("M16 40 l3 -4 M17 41 l4 -2", "none", LEAF, 2)
    put(b, "MapBurrow")


def map_fair():
    b = water(71, 38, 8)
    b += rect(6, 60, 68, 6, WOOD, 0, INK, 2)
    for x in (10, 30, 50, 68):
        b += rect(x, 66, 3, 6, WOOD_SHADE, 0, INK, 1.4)
    # ferris wheel
    cx, cy, r = 28, 30, 22
    b += path("M%d 60 L%d %d L%d 60" % (cx - 12, cx, cy, cx + 12), "none", INK, 4.5)
    b += path("M%d 60 L%d %d L%d 60" % (cx - 12, cx, cy, cx + 12), "none", STEEL, 2.2)
    b += circle(cx, cy, r, "none", INK, 4.6) + circle(cx, cy, r, "none", RED, 2.2)
    b += circle(cx, cy, r - 6, "none", INK, 1.2)
    for k in range(8):
        a = math.radians(k * 45 + 10)
        x, y = cx + r * math.cos(a), cy + r * math.sin(a)
        b += line(cx, cy, x, y, INK, 1.3)
    for k in range(8):
        a = math.radians(k * 45 + 10)
        x, y = cx + r * math.cos(a), cy + r * math.sin(a)
        b += rect(x - 3.5, y - 1, 7, 6, (SUN, ELEM, REP, LEAF)[k % 4], 1.5, INK, 1.4)
    b += circle(cx, cy, 3.5, SUN, INK, 1.6)
    # striped tent
    tent = poly([(46, 60), (48, 40), (61, 26), (74, 40), (76, 60)])
    b += path(tent, WHITE, INK, 2.3)
    for x0, x1 in ((50, 53), (57, 60), (64, 67), (71, 74)):
        b += path(poly([(61, 26), (x0, 60), (x1, 60)]), RED, None, 0)
    b += path(tent, "none", INK, 2.3)
    b += path("M56 60 C56 52 66 52 66 60 Z", NIGHT, INK, 1.6)
    b += line(61, 26, 61, 18, INK, 1.6) + path(poly([(61, 18), (68, 20), (61, 22)]), SUN, INK, 1.2)
    put(b, "MapFair")


def map_tower():
    b = plot(STONE, STONE_SHADE, rx=30)
    glass = "#2f3a66"
    # stepped tapering skyscraper
    b += path(poly([(24, 68), (28, 24), (50, 24), (54, 68)]), glass, INK, 2.6)
    b += path(poly([(42, 24), (50, 24), (54, 68), (44, 68)]), NIGHT, None, 0)
    b += path(poly([(24, 68), (28, 24), (50, 24), (54, 68)]), "none", INK, 2.6)
    for y in range(30, 66, 6):
        f = (y - 24) / 44.0
        xl, xr = 28 - 4 * f, 50 + 4 * f
        b += line(xl + 3, y, xr - 3, y, SUN, 1.2, 'opacity="0.8"')
    b += line(39, 26, 39, 67, "#5b6fb0", 1.2)
    b += rect(23, 62, 32, 6, GOLD, 0, INK, 2)
    # crown with the big S
    b += path(poly([(26, 25), (24, 12), (31, 18), (39, 6), (47, 18), (54, 12), (52, 25)]), SUN, INK, 2.4)
    b += path(poly([(47, 18), (54, 12), (52, 25), (44, 25)]), shade(SUN), None, 0)
    b += path(poly([(26, 25), (24, 12), (31, 18), (39, 6), (47, 18), (54, 12), (52, 25)]), "none", INK, 2.4)
    b += circle(39, 19, 5.5, RED, INK, 1.8)
    b += lettering("S", 39, 23, 11, WHITE, None, 0)
    # needle with beacon
    b += line(39, 6, 39, 0, INK, 2)
    b += circle(39, 1.5, 1.8, RED, INK, 1)
    b += path("M33 3 l-4 -2 M45 3 l4 -2", "none", RED, 1.4)
    put(b, "MapTower")


# ---------------------------------------------------------------------------
# HUD corner and buttons

def corner():
    W, H = 220, 140
    defs = halftone_def("ht", "#ffffff", 7, 1.2, 0.09)
    shape = "M0 140 L0 24 C0 13 8 6 19 6 L150 6 C160 6 166 11 169 20 L212 140 Z"
    b = path(shape, NIGHT, INK, 4)
    b += path(shape, "url(#ht)", None, 0)
    b += path("M6 140 L6 26 C6 18 12 12 20 12 L148 12 C156 12 160 16 163 23 L204 140", "none", "#5b79a8", 2.5)
    # gold trim and a speed-line flourish in the free space right of the settings button
    b += path("M20 6 L150 6 C160 6 166 11 169 20", "none", GOLD, 4)
    for i, y in enumerate((30, 44, 58)):
        b += line(74 + i * 6, y, 140 - i * 4, y, SKY, 5)
        b += line(74 + i * 6, y, 140 - i * 4, y, CYAN, 1.5, 'opacity="0.6"')
    b += '<g transform="translate(150 44) scale(0.42) translate(-32 -32)">%s</g>' % path(
        poly(star_pts(32, 32, 30, 13, 5)), SUN, INK, 6)
    b += path(shape, "none", INK, 4)
    write(A, "Corner", W, H, b, defs)


def round_button(name, col, icon):
    W = H = 56
    b = circle(29.5, 30.5, 24, INK, None, 0)
    b += circle(27, 27, 24, col, INK, 3.5)
    b += path("M5 33 A24 24 0 0 0 49 33 A28 28 0 0 1 5 33 Z", shade(col), None, 0)
    b += path("M11 17 A19 19 0 0 1 27 8", "none", WHITE, 2.5, 'opacity="0.55"')
    b += circle(27, 27, 24, "none", INK, 3.5)
    b += '<g transform="translate(27 27) scale(0.58) translate(-32 -32)">%s</g>' % icon
    write(A, name, W, H, b)


def profile_button():
    W, H = 120, 56
    defs = halftone_def("ht", "#ffffff", 6, 1.1, 0.2)
    pill = rrect_d(8, 8, 106, 40, 20)
    b = path(pill, INK, INK, 4, 'transform="translate(3 3)"')
    b += path(pill, RED, INK, 3.5)
    b += path("M8 34 L114 34 L114 28 A20 20 0 0 1 94 48 L28 48 A20 20 0 0 1 8 28 Z", shade(RED), None, 0)
    b += path(pill, "url(#ht)", None, 0)
    b += path("M24 13 L98 13", "none", WHITE, 2.2, 'opacity="0.5"')
    b += path(pill, "none", INK, 3.5)
    b += circle(30, 28, 19, PAPER, INK, 3)
    b += path("M12 33 A19 19 0 0 0 48 33 A22 22 0 0 1 12 33 Z", shade(PAPER), None, 0)
    b += '<g transform="translate(30 28) scale(0.5) translate(-32 -32)">%s</g>' % ic.mask(RED, INK, 4, shade(RED))
    b += lettering("HERO", 80, 36, 22, WHITE, INK, 5, anchor="middle", skew=0.1)
    write(A, "ProfileButton", W, H, b, defs)


if __name__ == "__main__":
    for f in (map_base, map_docks, map_gym, map_library, map_cannery, map_square, map_gazette, map_science,
              map_park, map_city_hall, map_studio, map_manor, map_burrow, map_fair, map_tower):
        f()
    write_greyed(A, LOCATIONS)
    corner()
    round_button("ProfileButtonMenu", SKY, ic.hamburger(WHITE, INK, 3))
    round_button("ProfileButtonSettings", SKY, ic.gear(WHITE, INK, 4, hole_fill=SKY))
    profile_button()
