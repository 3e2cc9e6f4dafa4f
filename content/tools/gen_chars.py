#!/usr/bin/env python3
"""Cast portraits (Characters01-08, Animals, CharacterTimeMaster), the four
hero bodies with their colour masks, the hero map icons, the intro's
CharacterShadow and ComicBorder, and the map walkers (Citizen01-07)."""
import math
from artlib import *
from portrait import bust, Ctx, S

G = 'graphics/'

# --- the cast: mentors, contacts, villains and the people of the streets, one look each --------
WIZARD = dict(skin=SKIN[0], hs='bald', hairc='#f2f2f2', beardc='#f7f7f7', browc='#ffffff', brows='bushy',
              os='robe', oc='#3a86ff', oc2='#e8f6ff', extras=('beard',), hat='wizard', hatc='#2f6fd6', hatc2='#e8f6ff',
              wrinkles=1, mouth='smile')
WIZARD_BATTLE = dict(WIZARD, brows='angry', mouth='open', aura=CYAN, eyes='narrow')
DOT = dict(skin=SKIN[3], hs='curly', hairc='#2b1a12', os='hoodie', oc=GOLD, extras=('goggles',), gogc=CLUE,
           freckles=0, mouth='grin', build='slim', lashes=1)
COACH = dict(skin=SKIN[1], hs='none', hairc='#5a3a22', os='tank', oc=RED, oc2=PAPER, build='wide', hat='cap', hatc=RED,
             extras=('stubble',), mouth='open', brows='angry', eyes='wide')
TIME_MASTER = dict(skin=SKIN[0], hs='sidepart', hairc='#4b4b5a', beardc='#4b4b5a', os='robe', oc='#5b2a86', oc2=SUN,
                   extras=('collar', 'clock', 'monocle'), collarc='#3a1a5c', gemc=SUN, mouth='smirk',
                   eyes='narrow', brows='raised')
GRUFF = dict(skin=SKIN[2], hs='bun', hairc='#3a2a20', os='uniform', oc=NIGHT, oc2=CYAN, hat='police', hatc=NIGHT,
             brows='angry', mouth='flat', build='normal')
FIZZ = dict(skin=SKIN[0], hs='bald', hairc='#8a7a6a', os='suit', oc='#6a6a7a', tie=SUN, extras=('mustache', 'sash'),
            sashc=RED, brows='worried', mouth='o', eyes='wide', hat='tophat', hatc=INK, hatc2=RED, build='wide')
EDNA = dict(skin=SKIN[0], hs='bob', hairc='#c0392b', os='vest', oc='#f4f1de', oc2=SKY, extras=('glasses', 'pencil'),
            brows='raised', mouth='smirk', lashes=1, lips='#c0392b')
VALE = dict(skin=SKIN[1], hs='wild', hairc='#f2d16b', os='labcoat', oc=ELEM, extras=('goggles',), gogc=GOLD,
            mouth='grin', eyes='wide', lashes=1)
MARGE = dict(skin=SKIN[2], hs='short', hairc='#1b1b2f', os='overalls', oc='#c0392b', oc2=SKY, build='wide',
             hat='beanie', hatc=LEAF, hatc2='#1f7a70', mouth='smirk', brows='normal', lashes=1)
HENCHMAN = dict(skin=SKIN[0], hs='none', hairc='#6b4a2a', os='jacket', oc='#7a7a7a', oc2=PAPER, hat='hardhat', hatc=SUN,
                extras=('mustache',), mouth='smile', brows='raised', build='wide')
BURGLAR = dict(skin=SKIN[1], hs='none', hairc=INK, os='stripes', oc=INK, oc2='#f4f4f4', hat='beanie', hatc=INK,
               hatc2='#3a3a4a', extras=('mask', 'stubble'), maskc=INK, mouth='smirk')
THUG = dict(skin=SKIN[3], hs='none', hairc=INK, os='jacket', oc='#5a3a22', oc2='#2b2b3a', hat='cap', hatc=PURPLE,
            extras=('stubble',), mouth='frown', brows='angry', eyes='narrow', build='wide')
GOON = dict(skin=SKIN[1], hs='none', hairc='#4a3020', os='overalls', oc='#8a6a4a', oc2='#5a4a3a', hat='hardhat',
            hatc='#c98b5a', extras=('stubble',), mouth='open', brows='worried', build='wide')
APHASIA = dict(skin=SKIN[0], hs='wild', hairc='#e8e8f0', os='suit', oc='#8a6a4a', tie=MENT, extras=('glasses', 'bowtie'),
               bowc=MENT, mouth='o', brows='worried', eyes='wide', wrinkles=1)
COUNTESS = dict(skin=SKIN[0], hs='bun', hairc='#e8e8f0', os='dress', oc=PURPLE, oc2=CYAN, extras=('collar', 'monocle', 'earrings'),
                collarc='#2d5a6b', gemc=CLUE, hat='tiara', hatc=SUN, hatc2=CLUE, mouth='smirk', eyes='narrow', lashes=1,
                lips='#7b2cbf', build='slim')
HYENA = dict(skin='#d9b26a', hs='spiky', hairc='#6b4a2a', os='vest', oc='#2a9d8f', oc2=SUN, extras=('bowtie',),
             bowc=REP, mouth='grin', brows='raised', eyes='wide', nose='big')
WONDER = dict(skin=SKIN[0], hs='quiff', hairc='#ffd166', os='hero', oc='#f4f1de', emblemc=SUN, extras=('cape',),
              capec=GOLD, mouth='grin', brows='raised', belt=1)
SLICK = dict(skin=SKIN[1], hs='sidepart', hairc='#1b1b2f', os='suit', oc='#ff5da2', tie=SUN, extras=('glasses',),
             mouth='grin', brows='raised', eyes='narrow')
KIP = dict(skin=SKIN[2], hs='quiff', hairc='#3a2a20', os='jacket', oc=ELEM, oc2=PAPER, hat='headset', hatc=INK, hatc2=RED,
           mouth='open', eyes='wide', brows='raised')
MS_SUPREME = dict(skin=SKIN[0], hs='bob', hairc='#1b1b2f', os='suit', oc='#f4f1de', tie=GOLD, extras=('pearls', 'earrings'),
                  mouth='smirk', eyes='narrow', brows='angry', lashes=1, lips='#e63946', build='slim')
INFINITORAX = dict(skin='#b8a0d8', hs='none', hairc=INK, os='hero', oc=PURPLE, emblemc=SUN, extras=('cape', 'collar'),
                   collarc=GOLD, capec='#c2255c', hat='helmet', hatc=GOLD, hatc2=RED, eyes='glow', eyec=SUN, mouth='grin',
                   brows='angry', build='wide')
INFINITORAX_MAX = dict(INFINITORAX, oc='#c2255c', capec=PURPLE, aura=RED, mouth='open', eyec='#ffffff')
QUILLBY = dict(skin=SKIN[0], hs='bald', hairc='#a0a0a0', os='vest', oc='#6b4a2a', oc2=LEAF, extras=('glasses', 'bowtie'),
               bowc=LEAF, mouth='o', eyes='closed', brows='raised', wrinkles=1, build='slim')
PLUCKETT = dict(skin=SKIN[0], hs='curly', hairc='#d8d0e8', os='dress', oc='#b56576', oc2='#ffd6e0', extras=('pearls',),
                hat='flowerhat', hatc='#8fb8de', hatc2=REP, mouth='smile', eyes='closed', wrinkles=1, lips='#c0392b')
TESS = dict(skin=SKIN[2], hs='ponytail', hairc='#2b1a12', os='hoodie', oc=REP, extras=('scarf',), scarfc=SUN, mouth='grin',
            eyes='wide', blush=1, lashes=1, build='slim', hat='cap', hatc=ELEM)
GIGGLE_GOON = dict(skin='#f4f1de', hs='curly', hairc='#06d6a0', os='stripes', oc=REP, oc2=SUN, extras=('bowtie',), bowc=ELEM,
                   mouth='grin', nose='big', nosec=RED, eyes='wide', brows='raised')


def robot(kind, uid):
    """Robots share one chassis: Enigmo (butler), Security Bot, Sparky."""
    o = []
    if kind == 'enigmo':
        body, head, visor, acc = '#1b1b2f', '#b8c4d0', CLUE, PAPER
    elif kind == 'security':
        body, head, visor, acc = '#3a3a4a', '#5a5a6a', RED, SUN
    else:
        body, head, visor, acc = ELEM, '#d8e3ea', CYAN, SUN
    o.append(f'<path d="M24,258 C26,206 60,178 100,168 L164,168 C206,178 236,206 238,258 Z" {st(body, 3)}/>')
    o.append(f'<path d="M24,258 C26,206 60,178 100,168 L110,168 C80,190 70,230 72,258 Z" fill="{shade(body, 0.72)}"/>')
    o.append(f'<rect x="116" y="146" width="32" height="28" {st("#7a8a96", 3)}/>')
    o.append(f'<path d="M120,154 L144,154 M120,162 L144,162" stroke="{INK}" stroke-width="2"/>')
    o.append(rrect(76, 40, 120, 110, 26, st(head, 4)))
    o.append(rrect(80, 44, 28, 102, 14, f'fill="{shade(head, 0.78)}"'))
    o.append(rrect(118, 70, 72, 38, 14, st('#1b1b2f', 3)))
    if kind == 'enigmo':
        o.append(plain_text('?', 154, 74, 30, visor, weight=5, anchor='middle'))
        o.append(f'<path d="M112,172 L152,172 L132,230 Z" fill="#ffffff" stroke="{INK}" stroke-width="2.5"/>'
                 f'<path d="M132,180 L112,170 L112,190 Z M132,180 L152,170 L152,190 Z" {st(RED, 2.5)}/>')
        o.append(f'<path d="M84,42 L80,4 L176,0 L182,40 Z" {st(INK, 3)}/><path d="M64,44 L200,38" stroke="{INK}" stroke-width="8" stroke-linecap="round"/>'
                 f'<rect x="82" y="26" width="98" height="8" fill="{RED}"/>')
    elif kind == 'security':
        o.append(f'<rect x="126" y="82" width="56" height="14" rx="7" fill="{visor}"/><circle cx="170" cy="89" r="5" fill="#fff"/>')
        o.append(f'<g clip-path="url(#{uid}s)">' + ''.join(f'<path d="M{x},196 l20,0 l-14,24 l-20,0 Z" fill="{SUN}"/>' for x in range(60, 240, 40)) + '</g>'
                 f'<clipPath id="{uid}s"><rect x="40" y="196" width="200" height="24"/></clipPath>'
                 f'<rect x="40" y="196" width="200" height="24" fill="none" stroke="{INK}" stroke-width="2"/>')
        o.append(f'<circle cx="134" cy="234" r="14" {st(GOLD, 3)}/>' + plain_text('S', 134, 226, 15, INK, weight=3, anchor='middle'))
        o.append(f'<path d="M136,40 L136,14" stroke="{INK}" stroke-width="4"/><circle cx="136" cy="12" r="7" {st(RED, 2.5)}/>')
    else:
        o.append(f'<ellipse cx="140" cy="89" rx="10" ry="12" fill="{visor}"/><ellipse cx="170" cy="89" rx="8" ry="11" fill="{visor}"/>'
                 f'<path d="M140,126 Q156,136 172,124" fill="none" stroke="{INK}" stroke-width="4" stroke-linecap="round"/>')
        o.append(f'<path d="M136,40 L136,10" stroke="{INK}" stroke-width="4"/><path d="{poly(star_pts(136, 8, 10, 4))}" {st(SUN, 2.5)}/>')
        # boxing gloves
        o.append(f'<circle cx="214" cy="210" r="30" {st(RED, 3.5)}/><path d="M200,196 Q214,186 228,196" fill="none" stroke="#fff" stroke-width="4" opacity="0.6"/>'
                 f'<rect x="194" y="234" width="40" height="20" rx="4" {st(PAPER, 3)}/>')
        o.append(f'<circle cx="134" cy="218" r="16" {st(SUN, 3)}/>' + bolt_small(134, 218, 10))
    o.append(f'<circle cx="88" cy="96" r="10" {st(acc, 3)}/>')
    return ''.join(o)


def bolt_small(cx, cy, s):
    pts = [(0.1, -1), (-0.55, 0.15), (-0.05, 0.15), (-0.25, 1), (0.55, -0.2), (0.05, -0.2), (0.35, -1)]
    return f'<path d="{poly([(cx + x * s, cy + y * s) for x, y in pts])}" fill="{RED}"/>'


def wombat():
    fur, dark = '#8a6a4a', '#5e4630'
    return (f'<path d="M10,258 C10,180 60,140 130,140 C200,140 250,180 250,258 Z" {st(fur, 4)}/>'
            f'<path d="M10,258 C10,180 60,140 110,140 C70,170 60,220 70,258 Z" fill="{shade(fur, 0.75)}"/>'
            f'<path d="M96,214 Q130,196 170,214 L170,258 L96,258 Z" fill="{shade(fur, 1.3)}"/>'
            f'<ellipse cx="136" cy="110" rx="80" ry="66" {st(fur, 4)}/>'
            f'<path d="M62,100 C60,70 84,50 110,46 C80,70 76,110 90,150 C74,140 64,124 62,100 Z" fill="{shade(fur, 0.75)}"/>'
            f'<circle cx="82" cy="60" r="16" {st(fur, 4)}/><circle cx="82" cy="60" r="8" fill="{dark}"/>'
            f'<ellipse cx="196" cy="118" rx="30" ry="24" {st("#3a2a20", 4)}/><ellipse cx="188" cy="110" rx="8" ry="5" fill="#8a7a6a"/>'
            f'<path d="M150,94 Q160,88 170,94" fill="none" stroke="{INK}" stroke-width="4" stroke-linecap="round"/>'
            f'<path d="M150,98 Q160,104 170,98" fill="{INK}" stroke="{INK}" stroke-width="2"/>'
            f'<path d="M124,90 Q132,84 140,90 M124,94 Q132,100 140,94" fill="none" stroke="{INK}" stroke-width="4" stroke-linecap="round"/>'
            f'<path d="M170,150 Q186,160 204,146" fill="none" stroke="{INK}" stroke-width="3.5" stroke-linecap="round"/>'
            f'<path d="M176,152 L176,162 L186,162 L186,154" fill="#fff" stroke="{INK}" stroke-width="2"/>'
            f'<path d="M70,64 C70,22 196,14 204,58 Z" {st(SUN, 4)}/>'
            f'<path d="M58,62 L220,54 L222,68 L58,76 Z" {st(SUN, 4)}/>'
            f'<path d="M136,20 C146,32 148,48 146,58" fill="none" stroke="{INK}" stroke-width="3"/>'
            f'<path d="M90,36 Q110,24 132,24" fill="none" stroke="#fff" stroke-width="5" opacity="0.6"/>'
            f'<path d="M200,200 L230,176 L246,194 L214,218 Z" {st("#e67e22", 3)}/><path d="M228,178 L240,172 L248,186 L244,194" {st(LEAF, 3)}/>')


def cat():
    fur = '#e59a4f'
    return (f'<path d="M40,258 C30,200 60,160 120,156 C180,152 214,200 206,258 Z" {st(fur, 4)}/>'
            f'<path d="M40,258 C30,200 60,160 100,157 C76,190 70,230 76,258 Z" fill="{shade(fur, 0.75)}"/>'
            f'<path d="M206,240 C240,230 246,190 230,170" fill="none" stroke="{INK}" stroke-width="16" stroke-linecap="round"/>'
            f'<path d="M206,240 C240,230 246,190 230,170" fill="none" stroke="{fur}" stroke-width="10" stroke-linecap="round"/>'
            f'<path d="M70,60 L84,8 L118,48 Z M166,48 L196,6 L206,62 Z" {st(fur, 4)}/>'
            f'<path d="M82,50 L88,24 L104,46 Z M176,46 L192,22 L196,54 Z" fill="#ffb3c1"/>'
            f'<ellipse cx="140" cy="104" rx="74" ry="64" {st(fur, 4)}/>'
            + ''.join(f'<path d="M{x},44 Q{x + 4},58 {x},70" fill="none" stroke="{shade(fur, 0.7)}" stroke-width="6" stroke-linecap="round"/>' for x in (120, 140, 160))
            + f'<ellipse cx="124" cy="100" rx="14" ry="9" fill="#d8f26a" stroke="{INK}" stroke-width="3"/><ellipse cx="170" cy="98" rx="11" ry="8" fill="#d8f26a" stroke="{INK}" stroke-width="3"/>'
            f'<path d="M110,94 L140,96 M158,92 L182,94" stroke="{INK}" stroke-width="4" stroke-linecap="round"/>'
            f'<ellipse cx="128" cy="101" rx="3" ry="6" fill="{INK}"/><ellipse cx="173" cy="99" rx="2.5" ry="5" fill="{INK}"/>'
            f'<path d="M180,118 L192,116 L186,126 Z" fill="#ff8fa3" stroke="{INK}" stroke-width="2"/>'
            f'<path d="M186,126 L186,132 Q176,140 168,132 M186,132 Q194,140 202,132" fill="none" stroke="{INK}" stroke-width="2.5" stroke-linecap="round"/>'
            f'<path d="M200,120 L236,112 M200,128 L238,130 M112,124 L76,120 M112,130 L78,136" stroke="{INK}" stroke-width="2"/>'
            f'<path d="M110,230 L110,258 M150,230 L150,258" stroke="{INK}" stroke-width="3"/>')


def pigeon():
    g1, g2 = '#9aa5b8', '#6f7a8c'
    return (f'<path d="M40,258 C30,200 70,150 130,150 C190,150 230,200 220,258 Z" {st(g1, 4)}/>'
            f'<path d="M40,258 C36,210 60,190 100,186 C130,200 150,230 150,258 Z" {st(g2, 3)}/>'
            f'<path d="M60,230 L40,240 M70,246 L48,256" stroke="{INK}" stroke-width="3"/>'
            f'<path d="M100,170 C96,120 110,80 140,70 C170,64 196,86 196,120 C196,150 176,168 150,174 Z" {st(g1, 4)}/>'
            f'<path d="M104,160 C110,176 160,184 190,150 C186,170 160,196 130,196 C110,196 100,180 104,160 Z" fill="#2a9d8f" stroke="{INK}" stroke-width="3"/>'
            f'<path d="M110,170 C126,186 160,186 186,160" fill="none" stroke="{MENT}" stroke-width="7" opacity="0.8"/>'
            f'<circle cx="164" cy="104" r="12" fill="#ff9f1c" stroke="{INK}" stroke-width="3"/><circle cx="167" cy="104" r="5" fill="{INK}"/>'
            f'<path d="M190,108 L224,120 L192,128 Z" {st("#5a5a6a", 3)}/><path d="M188,106 Q196,100 200,110" fill="#f4f1de" stroke="{INK}" stroke-width="2"/>'
            f'<path d="M150,70 C146,50 160,40 170,50" fill="none" stroke="{INK}" stroke-width="3"/>')


def portrait_sheet(items, name):
    frames = []
    for i, it in enumerate(items):
        frames.append(it(f'{name}{i}') if callable(it) else bust(it, uid=f'{name}{i}'))
    return sheet(256, 256, frames)


# --- hero bodies ---------------------------------------------------------
HEROES = {
    'HeroMale1': dict(skin=SKIN[0], hs='spiky', hairc='#ffff20', os='hero', oc='#202020', emblemc='#a0a0a0', capec='#a0a0a0',
                      extras=('cape', 'mask'), maskc='#a0a0a0', mouth='grin', brows='normal', hero=1),
    'HeroMale2': dict(skin=SKIN[2], hs='quiff', hairc='#ffff20', os='hero', oc='#202020', emblemc='#a0a0a0', capec='#a0a0a0',
                      extras=('cape',), mouth='smile', brows='raised', hero=1, build='wide', belt=1),
    'HeroFemale1': dict(skin=SKIN[1], hs='ponytail', hairc='#ffff20', os='hero', oc='#202020', emblemc='#a0a0a0', capec='#a0a0a0',
                        extras=('cape', 'mask'), maskc='#a0a0a0', mouth='smile', hero=1, build='slim', lashes=1),
    'HeroFemale2': dict(skin=SKIN[3], hs='bob', hairc='#ffff20', os='hero', oc='#202020', emblemc='#a0a0a0', capec='#a0a0a0',
                        extras=('cape',), mouth='grin', brows='raised', hero=1, build='slim', lashes=1, belt=1),
}


def hero_sheet(name):
    p = HEROES[name]
    fr = [bust(p, Ctx('hero0', uid=name + 'a'), uid=name + 'a')]
    for k, layer in enumerate(('body', 'detail', 'hair')):
        fr.append(bust(p, Ctx('mask', layer, uid=f'{name}{k}'), uid=f'{name}m{k}'))
    return sheet(256, 256, fr)


def hero_small():
    cols = {'HeroMale1': (RED, SUN, '#ffd166'), 'HeroMale2': (ELEM, SUN, '#3a2a20'),
            'HeroFemale1': (RED, SUN, '#e07a3a'), 'HeroFemale2': (LEAF, SUN, '#1b1b2f')}
    fr = []
    for i, name in enumerate(HEROES):
        body, det, hc = cols[name]
        p = dict(HEROES[name], oc=body, emblemc=det, capec=det, maskc=INK, hairc=hc, hero=0)
        fr.append(f'<circle cx="40" cy="41" r="37" fill="{INK}"/><circle cx="40" cy="39" r="36" fill="{NIGHT}" stroke="{SUN}" stroke-width="3"/>'
                  f'<clipPath id="hs{i}"><circle cx="40" cy="39" r="34"/></clipPath>'
                  f'<g clip-path="url(#hs{i})"><g transform="translate(-8,0) scale(0.36)">{bust(p, uid=f"hsm{i}")}</g></g>'
                  f'<circle cx="40" cy="39" r="36" fill="none" stroke="{INK}" stroke-width="2"/>')
    return sheet(80, 80, fr)


def time_master_single():
    return svg(256, 256, bust(TIME_MASTER, uid='tm'))


def shadow_single():
    return svg(256, 256, bust(HEROES['HeroMale1'], Ctx('shadow'), uid='sh'))


def comic_border():
    w, h = 1000, 600
    d = f'M0,0 H{w} V{h} H0 Z M18,18 V{h - 18} H{w - 18} V18 Z'
    b = [f'<path d="{d}" fill="#ffffff" fill-rule="evenodd"/>',
         f'<rect x="18" y="18" width="{w - 36}" height="{h - 36}" fill="none" stroke="{INK}" stroke-width="7"/>',
         f'<rect x="3" y="3" width="{w - 6}" height="{h - 6}" fill="none" stroke="{INK}" stroke-width="6"/>']
    # small halftone flourish in the gutter corners
    for cx, cy in ((9, 9), (w - 9, 9), (9, h - 9), (w - 9, h - 9)):
        b.append(f'<circle cx="{cx}" cy="{cy}" r="3" fill="{RED}"/>')
    return svg(w, h, ''.join(b))


# --- map walkers 24 x 32 -------------------------------------------------
def walker(direction, phase, skin, shirt, pants, hair, extra=None, n=6):
    """direction: 0 down, 1 left, 2 right, 3 up; phase 0..n-1 of the walk."""
    t = 2 * math.pi * phase / n
    sw = math.sin(t)
    bob = abs(math.cos(t)) * 1.0
    o = []
    ink = INK
    cx = 12
    yb = 1 - bob
    # legs
    if direction in (0, 3):
        l1, l2 = 3 * sw, -3 * sw
        o.append(f'<path d="M{cx - 3},{22 + yb} L{cx - 3},{29.5 + yb - max(0, l1) * 0.9:.1f}" stroke="{ink}" stroke-width="4.4" stroke-linecap="round"/>'
                 f'<path d="M{cx + 3},{22 + yb} L{cx + 3},{29.5 + yb - max(0, l2) * 0.9:.1f}" stroke="{ink}" stroke-width="4.4" stroke-linecap="round"/>'
                 f'<path d="M{cx - 3},{22 + yb} L{cx - 3},{29.5 + yb - max(0, l1) * 0.9:.1f}" stroke="{pants}" stroke-width="2.6" stroke-linecap="round"/>'
                 f'<path d="M{cx + 3},{22 + yb} L{cx + 3},{29.5 + yb - max(0, l2) * 0.9:.1f}" stroke="{pants}" stroke-width="2.6" stroke-linecap="round"/>')
    else:
        s = 1 if direction == 2 else -1
        for k, ph in ((0, sw), (1, -sw)):
            x2 = cx + s * ph * 4
            o.append(f'<path d="M{cx},{22 + yb} L{x2:.1f},{29.5 + yb}" stroke="{ink}" stroke-width="4.4" stroke-linecap="round"/>'
                     f'<path d="M{cx},{22 + yb} L{x2:.1f},{29.5 + yb}" stroke="{shade(pants, 0.8) if k else pants}" stroke-width="2.6" stroke-linecap="round"/>')
    # body
    o.append(f'<rect x="{cx - 5.5}" y="{12.5 + yb}" width="11" height="11" rx="3" fill="{shirt}" stroke="{ink}" stroke-width="1.3"/>')
    if extra == 'stripes':
        o.append(f'<path d="M{cx - 5},{16 + yb} H{cx + 5} M{cx - 5},{19.5 + yb} H{cx + 5}" stroke="#f4f4f4" stroke-width="1.6"/>')
    # arms
    if direction in (0, 3):
        o.append(f'<path d="M{cx - 6},{14 + yb} L{cx - 7},{21 + yb + sw}" stroke="{ink}" stroke-width="3.4" stroke-linecap="round"/>'
                 f'<path d="M{cx + 6},{14 + yb} L{cx + 7},{21 + yb - sw}" stroke="{ink}" stroke-width="3.4" stroke-linecap="round"/>'
                 f'<path d="M{cx - 6},{14 + yb} L{cx - 7},{21 + yb + sw}" stroke="{shirt}" stroke-width="1.8" stroke-linecap="round"/>'
                 f'<path d="M{cx + 6},{14 + yb} L{cx + 7},{21 + yb - sw}" stroke="{shirt}" stroke-width="1.8" stroke-linecap="round"/>')
    else:
        s = 1 if direction == 2 else -1
        o.append(f'<path d="M{cx},{14.5 + yb} L{cx - s * sw * 4:.1f},{21 + yb}" stroke="{ink}" stroke-width="3.4" stroke-linecap="round"/>'
                 f'<path d="M{cx},{14.5 + yb} L{cx - s * sw * 4:.1f},{21 + yb}" stroke="{shade(shirt, 0.8)}" stroke-width="1.8" stroke-linecap="round"/>')
    if extra == 'sack':
        sx = cx - 7 if direction != 1 else cx + 7
        o.append(f'<circle cx="{sx}" cy="{15 + yb}" r="4.5" fill="#c9a36b" stroke="{ink}" stroke-width="1.2"/>'
                 + (f'<path d="M{sx - 2},{14 + yb} l4,0" stroke="{ink}" stroke-width="1"/>' if direction != 3 else ''))
    # head
    hy = 7.5 + yb
    o.append(f'<circle cx="{cx}" cy="{hy}" r="6" fill="{skin}" stroke="{ink}" stroke-width="1.3"/>')
    if direction == 3:
        o.append(f'<path d="M{cx - 6},{hy} A6,6 0 0 1 {cx + 6},{hy} L{cx + 6},{hy + 3} L{cx - 6},{hy + 3} Z" fill="{hair}" stroke="{ink}" stroke-width="1.1"/>')
    else:
        o.append(f'<path d="M{cx - 6.2},{hy + 0.5} A6.2,6.2 0 0 1 {cx + 6.2},{hy + 0.5} Q{cx},{hy - 3} {cx - 6.2},{hy + 0.5} Z" fill="{hair}" stroke="{ink}" stroke-width="1.1"/>')
        if direction == 0:
            o.append(f'<circle cx="{cx - 2.2}" cy="{hy + 1}" r="0.95" fill="{ink}"/><circle cx="{cx + 2.2}" cy="{hy + 1}" r="0.95" fill="{ink}"/>')
        else:
            s = 1 if direction == 2 else -1
            o.append(f'<circle cx="{cx + s * 3}" cy="{hy + 1}" r="0.95" fill="{ink}"/>')
    if extra in ('stripes', 'sack') and direction != 3:
        o.append(f'<rect x="{cx - 5.5}" y="{hy - 0.5}" width="11" height="2.6" rx="1" fill="{INK}"/>')
        if direction == 0:
            o.append(f'<circle cx="{cx - 2.2}" cy="{hy + 0.8}" r="0.8" fill="#fff"/><circle cx="{cx + 2.2}" cy="{hy + 0.8}" r="0.8" fill="#fff"/>')
    if extra == 'hat':
        o.append(f'<rect x="{cx - 7}" y="{hy - 4}" width="14" height="2" fill="{INK}"/><rect x="{cx - 4.5}" y="{hy - 8}" width="9" height="5" fill="{INK}"/>')
    return ''.join(o)


CITIZENS = [
    (SKIN[0], RED, '#3d5a80', '#6b3e26', None),
    (SKIN[3], '#2a9d8f', '#4a4e69', '#1b1b2f', None),
    (SKIN[1], SUN, '#6f4e37', '#e07a3a', None),
    (SKIN[2], MENT, '#2b2d42', '#1b1b2f', 'hat'),
    (SKIN[1], '#2b2b3a', '#1b1b2f', '#1b1b2f', 'sack'),  # Citizen05: the burglar / crook
]


def citizen(i):
    skin, shirt, pants, hair, ex = CITIZENS[i]
    if i == 4:
        ex = 'stripes'
    fr = []
    for d in (0, 1, 2, 3):
        for ph in range(6):
            fr.append(walker(d, ph, skin, shirt, pants, hair, 'sack' if i == 4 else ex) if i != 4 else
                      walker(d, ph, skin, shirt, pants, hair, 'stripes') + walker_sack(d, ph))
    return sheet(24, 32, fr)


def walker_sack(d, ph):
    t = 2 * math.pi * ph / 6
    yb = 1 - abs(math.cos(t))
    sx = 3 if d != 1 else 21
    return f'<circle cx="{sx}" cy="{16 + yb}" r="4.2" fill="#c9a36b" stroke="{INK}" stroke-width="1.2"/>'


def caller(kind):
    """8-frame distress loop: waving both arms, a small alarm mark above."""
    if kind == 0:
        skin, dress, hair = SKIN[0], REP, '#d8d0e8'
    else:
        skin, dress, hair = SKIN[2], ELEM, '#1b1b2f'
    fr = []
    for f in range(8):
        t = 2 * math.pi * f / 8
        a = math.sin(t)
        o = []
        o.append(f'<path d="M8,22 L8,30 M16,22 L16,30" stroke="{INK}" stroke-width="4" stroke-linecap="round"/>'
                 f'<path d="M8,22 L8,30 M16,22 L16,30" stroke="{SKIN[0] if kind == 0 else "#2b2d42"}" stroke-width="2.4" stroke-linecap="round"/>')
        if kind == 0:
            o.append(f'<path d="M6,14 L18,14 L21,25 L3,25 Z" fill="{dress}" stroke="{INK}" stroke-width="1.3"/>')
        else:
            o.append(f'<rect x="6.5" y="13" width="11" height="11" rx="3" fill="{dress}" stroke="{INK}" stroke-width="1.3"/>')
        for s in (-1, 1):
            ex, ey = 12 + s * (9 + 1.5 * a * s), 4 - 2.5 * a * s
            o.append(f'<path d="M{12 + s * 5},15 L{ex:.1f},{ey:.1f}" stroke="{INK}" stroke-width="3.4" stroke-linecap="round"/>'
                     f'<path d="M{12 + s * 5},15 L{ex:.1f},{ey:.1f}" stroke="{skin}" stroke-width="1.8" stroke-linecap="round"/>')
        o.append(f'<circle cx="12" cy="9" r="5.6" fill="{skin}" stroke="{INK}" stroke-width="1.3"/>')
        o.append(f'<path d="M6.3,9 A5.8,5.8 0 0 1 17.7,9 Q12,5.5 6.3,9 Z" fill="{hair}" stroke="{INK}" stroke-width="1"/>')
        o.append(f'<circle cx="10" cy="10" r="0.9" fill="{INK}"/><circle cx="14" cy="10" r="0.9" fill="{INK}"/>'
                 f'<ellipse cx="12" cy="12.6" rx="1.3" ry="{1 + 0.5 * abs(a):.1f}" fill="{INK}"/>')
        fr.append(''.join(o))
    return sheet(24, 32, fr)


def main():
    write(G + 'Characters01.png.svg', portrait_sheet([WIZARD, WIZARD_BATTLE, DOT, COACH], 'c1'))
    write(G + 'Characters02.png.svg', portrait_sheet([TIME_MASTER, GRUFF, FIZZ, EDNA], 'c2'))
    write(G + 'Characters03.png.svg', portrait_sheet([VALE, MARGE], 'c3'))
    write(G + 'Characters04.png.svg', portrait_sheet([HENCHMAN, BURGLAR, THUG, GOON], 'c4'))
    write(G + 'Characters05.png.svg', portrait_sheet([APHASIA, COUNTESS, lambda u: robot('enigmo', u)], 'c5'))
    write(G + 'Characters06.png.svg', portrait_sheet([HYENA, WONDER, SLICK, KIP], 'c6'))
    write(G + 'Characters07.png.svg', portrait_sheet([MS_SUPREME, INFINITORAX, INFINITORAX_MAX,
                                                      lambda u: robot('security', u), QUILLBY,
                                                      lambda u: robot('sparky', u)], 'c7'))
    write(G + 'Characters08.png.svg', portrait_sheet([PLUCKETT, TESS, GIGGLE_GOON], 'c8'))
    write(G + 'Animals.png.svg', portrait_sheet([lambda u: wombat(), lambda u: cat(), lambda u: pigeon()], 'an'))
    write(G + 'CharacterTimeMaster.png.svg', time_master_single())
    write(G + 'CharacterShadow.png.svg', shadow_single())
    write(G + 'ComicBorder.png.svg', comic_border())
    for name in HEROES:
        write(G + name + '.png.svg', hero_sheet(name))
    write(G + 'HeroSmall80x80.png.svg', hero_small())
    for i in range(5):
        write(G + f'Citizen0{i + 1}.png.svg', citizen(i))
    write(G + 'Citizen06.png.svg', caller(0))
    write(G + 'Citizen07.png.svg', caller(1))


if __name__ == '__main__':
    main()
