"""The portrait builder: one bust drawn from a small description, 256 x 256,
facing right, head about a third of the figure. Every cast member, villain,
the hero bodies (with greyscale colour masks) and the Time Master use it,
so the cast shares one construction and line weight."""
from artlib import *

HEAD = ('M86,92 C84,52 112,34 138,36 C166,38 184,60 183,92 C182,116 176,134 162,146 '
        'C150,156 134,158 120,152 C100,144 88,124 86,92 Z')
TORSO = 'M28,258 C30,205 62,178 104,166 L160,166 C202,174 228,204 232,258 Z'
TORSO_SLIM = 'M44,258 C46,210 72,182 108,168 L156,168 C192,178 214,208 216,258 Z'
TORSO_WIDE = 'M10,258 C10,200 50,172 100,162 L166,162 C216,170 248,200 250,258 Z'
NECK = 'M114,136 L150,136 L152,174 Q132,184 112,174 Z'


class Ctx:
    """Colour switchboard: in 'mask' mode every part is drawn white (or a
    cel grey) only when it belongs to the requested layer, black otherwise."""

    def __init__(self, mode='color', layer=None, uid='p'):
        self.mode, self.layer, self.uid = mode, layer, uid

    def c(self, col, part='other', shade_=False):
        if self.mode == 'color':
            return shade(col, 0.74) if shade_ else col
        if self.mode == 'shadow':
            return '#000000'
        if part == self.layer:
            return '#b8b8b8' if shade_ else '#ffffff'
        return '#000000'

    def base(self, col, part):
        """Frame 0 of a hero: tinted parts stay almost black so the added colour shows true."""
        if self.mode == 'hero0' and part in ('body', 'detail', 'hair'):
            return '#141414'
        return col


def _c(ctx, col, part='other', sh=False):
    if ctx.mode == 'hero0':
        col = ctx.base(col, part)
        return shade(col, 0.74) if sh and part not in ('body', 'detail', 'hair') else (col if not sh else '#0a0a0a')
    return ctx.c(col, part, sh)


def S(ctx, fill, w=OUT):
    stroke = INK if ctx.mode in ('color', 'hero0') else '#000000'
    return f'fill="{fill}" stroke="{stroke}" stroke-width="{w}" stroke-linejoin="round" stroke-linecap="round"'


def _ink(ctx):
    return INK if ctx.mode in ('color', 'hero0') else '#000000'


# --- hair ----------------------------------------------------------------
HAIR_BACK = {
    'long': 'M84,80 C70,120 66,170 72,200 L112,196 L108,120 Z',
    'ponytail': 'M90,70 C58,78 48,120 58,160 C64,176 80,170 78,150 C74,124 82,100 96,92 Z',
    'bob': 'M84,74 C72,100 76,140 94,158 L120,150 L104,90 Z',
    'bun': '',
    'wild': 'M80,90 C56,70 70,30 100,26 L96,120 Z',
}
HAIR_FRONT = {
    'short': 'M84,92 C78,46 110,24 142,26 C172,28 192,50 186,84 C178,70 166,62 150,62 C136,54 112,58 104,80 C98,72 92,80 94,96 Z',
    'spiky': 'M84,94 L74,66 L92,64 L86,40 L108,46 L110,22 L128,38 L142,18 L152,38 L172,26 L170,46 L192,48 L182,64 '
             'C170,60 156,58 144,62 C130,56 112,60 104,80 C98,74 92,82 94,98 Z',
    'quiff': 'M84,94 C78,50 100,28 130,24 C140,10 176,8 190,26 C176,22 168,28 170,38 C186,46 192,62 186,80 '
             'C176,66 160,60 146,62 C130,56 112,60 104,80 C98,74 92,82 94,98 Z',
    'long': 'M84,100 C74,50 106,24 140,26 C176,28 194,54 186,86 C170,70 150,56 128,56 C118,70 104,78 100,100 Z',
    'ponytail': 'M84,96 C76,50 108,26 140,26 C174,28 192,52 186,80 C172,64 150,56 132,60 C118,64 104,74 100,96 Z',
    'bob': 'M82,108 C72,52 106,26 140,26 C178,28 196,56 188,90 C184,80 176,68 170,60 C158,74 134,74 118,62 '
           'C110,74 104,90 104,112 Z',
    'bun': 'M84,94 C80,50 110,30 140,30 C172,32 190,54 186,82 C172,66 150,60 134,62 C116,62 104,74 100,94 Z',
    'bald': 'M86,100 C84,86 88,74 94,70 C100,80 100,92 98,104 Z',
    'sidepart': 'M84,92 C78,46 110,26 142,28 C172,30 190,50 186,82 C170,60 140,50 120,58 C112,64 104,74 102,90 Z',
    'wild': 'M84,96 C66,80 70,44 96,32 C104,14 140,12 150,24 C170,14 196,30 190,52 C204,64 194,84 186,84 '
            'C172,66 150,60 134,62 C118,62 104,74 100,94 Z',
    'curly': '',
    'none': '',
}


def hair(ctx, style, col, layer='back'):
    c = _c(ctx, col, 'hair')
    if layer == 'back':
        d = HAIR_BACK.get(style, '')
        o = f'<path d="{d}" {S(ctx, c)}/>' if d else ''
        if style == 'bun':
            o += f'<circle cx="112" cy="30" r="22" {S(ctx, c)}/>'
        if style == 'curly':
            o += ''.join(f'<circle cx="{x}" cy="{y}" r="{r}" {S(ctx, c)}/>' for x, y, r in
                         ((90, 60, 24), (110, 36, 26), (142, 30, 26), (172, 44, 22), (86, 96, 20), (96, 124, 16)))
        return o
    if style == 'curly':
        return (''.join(f'<circle cx="{x}" cy="{y}" r="{r}" fill="{c}"/>' for x, y, r in
                        ((100, 60, 22), (128, 46, 22), (156, 46, 20), (176, 62, 14), (94, 86, 14)))
                + f'<path d="M96,80 C104,60 126,54 146,58 C162,54 176,60 184,72" fill="none" stroke="{_ink(ctx)}" stroke-width="2"/>')
    d = HAIR_FRONT.get(style, '')
    if not d:
        return ''
    o = f'<path d="{d}" {S(ctx, c)}/>'
    if ctx.mode == 'color' or ctx.layer == 'hair':
        o += f'<path d="M112,40 Q136,30 160,38" fill="none" stroke="{shade(col, 1.45) if ctx.mode == "color" else "#ffffff"}" stroke-width="5" stroke-linecap="round" opacity="0.7"/>'
    return o


# --- hats ----------------------------------------------------------------
def hat(ctx, kind, col, col2=None):
    c = _c(ctx, col)
    c2 = _c(ctx, col2 or SUN)
    ink = _ink(ctx)
    if kind == 'wizard':
        return (f'<path d="M70,70 C100,50 170,46 200,62 C190,74 90,82 70,70 Z" {S(ctx, c)}/>'
                f'<path d="M92,64 C104,30 122,10 168,4 C156,18 160,36 176,58 Z" {S(ctx, c)}/>'
                f'<path d="M98,58 C132,48 160,50 178,56" fill="none" stroke="{c2}" stroke-width="7"/>'
                + ''.join(f'<path d="' + ' '.join(f'M{x},{y} l{6 * math.cos(a * math.pi / 3):.1f},{6 * math.sin(a * math.pi / 3):.1f}' for a in range(6))
                          + f'" stroke="{c2}" stroke-width="2.2" stroke-linecap="round"/>' for x, y in ((124, 32), (146, 22), (150, 44))))
    if kind == 'police':
        return (f'<path d="M84,66 C84,30 186,24 192,60 Z" {S(ctx, c)}/>'
                f'<path d="M84,66 L192,60 L204,74 C170,80 120,80 84,76 Z" {S(ctx, _c(ctx, INK))}/>'
                f'<path d="M130,34 l8,-6 l8,6 l-2,12 l-12,0 Z" {S(ctx, c2, 2)}/>')
    if kind == 'hardhat':
        return (f'<path d="M80,74 C78,26 184,18 190,68 Z" {S(ctx, c)}/>'
                f'<path d="M70,72 L204,66 L206,78 L70,84 Z" {S(ctx, c)}/>'
                f'<path d="M130,26 C140,40 142,56 140,68" fill="none" stroke="{ink}" stroke-width="3"/>'
                f'<path d="M100,40 Q120,28 140,30" fill="none" stroke="#fff" stroke-width="4" opacity="{0.6 if ctx.mode == "color" else 0}"/>')
    if kind == 'beanie':
        return (f'<path d="M82,80 C74,28 186,16 190,74 Z" {S(ctx, c)}/>'
                f'<path d="M80,72 L192,66 L194,84 L82,90 Z" {S(ctx, c2)}/>')
    if kind == 'tophat':
        return (f'<path d="M66,64 C100,56 168,50 206,54 C190,68 96,74 66,64 Z" {S(ctx, c)}/>'
                f'<path d="M96,62 L92,4 L176,0 L180,56 Z" {S(ctx, c)}/>'
                f'<path d="M95,46 L178,42 L179,54 L96,60 Z" fill="{c2}" stroke="{ink}" stroke-width="2"/>')
    if kind == 'helmet':  # Infinitorax: crested helmet with a gem
        return (f'<path d="M80,96 C72,34 118,10 150,14 C186,18 200,50 192,84 L180,82 C176,62 160,52 140,52 '
                f'C116,52 100,66 100,100 Z" {S(ctx, c)}/>'
                f'<path d="M96,36 L62,8 L118,22 Z M128,16 L128,-2 L154,16 Z" {S(ctx, c)}/>'
                f'<path d="{poly(star_pts(144, 34, 12, 6, 4, 0))}" {S(ctx, c2, 2)}/>')
    if kind == 'headset':
        return (f'<path d="M92,70 C96,30 170,20 184,60" fill="none" stroke="{ink}" stroke-width="8"/>'
                f'<path d="M92,70 C96,30 170,20 184,60" fill="none" stroke="{c}" stroke-width="4"/>'
                f'<rect x="84" y="80" width="20" height="30" rx="8" {S(ctx, c)}/>'
                f'<path d="M96,108 Q120,140 150,130" fill="none" stroke="{ink}" stroke-width="3"/><circle cx="152" cy="130" r="5" {S(ctx, c2, 2)}/>')
    if kind == 'tiara':
        return f'<path d="M100,46 L112,28 L124,40 L136,20 L148,40 L160,28 L170,48 Q136,38 100,46 Z" {S(ctx, c, 2.5)}/><circle cx="136" cy="34" r="4" fill="{c2}"/>'
    if kind == 'flowerhat':
        return (f'<ellipse cx="136" cy="52" rx="70" ry="14" {S(ctx, c)}/>'
                f'<path d="M94,50 C94,20 176,16 178,48 Z" {S(ctx, c)}/>'
                + ''.join(f'<circle cx="{x}" cy="{y}" r="7" {S(ctx, c2, 2)}/>' for x, y in ((112, 36), (126, 30), (104, 46))))
    if kind == 'cap':
        return (f'<path d="M84,74 C80,30 184,22 188,66 Z" {S(ctx, c)}/>'
                f'<path d="M170,60 L222,66 L218,76 L172,72 Z" {S(ctx, c)}/>')
    if kind == 'antenna':
        return (f'<path d="M136,40 L136,6" stroke="{ink}" stroke-width="4"/><circle cx="136" cy="6" r="8" {S(ctx, c2)}/>')
    return ''


# --- face ----------------------------------------------------------------
def face(ctx, p):
    ink = _ink(ctx)
    o = []
    if ctx.mode == 'shadow':
        return ''
    white = '#ffffff' if ctx.mode in ('color', 'hero0') else '#000000'
    eyes = p.get('eyes', 'normal')
    ec = p.get('eyec', INK)
    if ctx.mode == 'hero0' or ctx.mode == 'color':
        if eyes == 'closed':
            o.append(f'<path d="M128,94 Q137,100 146,94 M160,92 Q167,97 174,92" fill="none" stroke="{ink}" stroke-width="3" stroke-linecap="round"/>')
        elif eyes == 'glow':
            o.append(f'<ellipse cx="138" cy="92" rx="10" ry="7" fill="{ec}" stroke="{ink}" stroke-width="2.5"/>'
                     f'<ellipse cx="168" cy="90" rx="7" ry="6" fill="{ec}" stroke="{ink}" stroke-width="2.5"/>')
        else:
            ry = {'narrow': 6, 'wide': 13}.get(eyes, 11)
            o.append(f'<ellipse cx="138" cy="92" rx="9" ry="{ry}" fill="{white}" stroke="{ink}" stroke-width="2.5"/>'
                     f'<ellipse cx="167" cy="91" rx="6.5" ry="{ry - 1}" fill="{white}" stroke="{ink}" stroke-width="2.5"/>'
                     f'<ellipse cx="141" cy="{93 if eyes != "narrow" else 92}" rx="4.5" ry="{min(6, ry - 2)}" fill="{ec}"/>'
                     f'<ellipse cx="169" cy="{92 if eyes != "narrow" else 91}" rx="3.5" ry="{min(5, ry - 2)}" fill="{ec}"/>'
                     f'<circle cx="142.5" cy="90" r="1.6" fill="#fff"/><circle cx="170" cy="89" r="1.3" fill="#fff"/>')
            if p.get('lashes'):
                o.append(f'<path d="M146,84 L152,79 M147,89 L154,87 M172,83 L177,79" stroke="{ink}" stroke-width="2.5" stroke-linecap="round"/>')
            if eyes == 'narrow':
                o.append(f'<path d="M126,86 L150,88 M158,86 L176,86" stroke="{ink}" stroke-width="3" stroke-linecap="round"/>')
        # brows
        bc = _c(ctx, p.get('browc', p.get('hairc', INK)), 'hair')
        br = p.get('brows', 'normal')
        bd = {'normal': 'M126,74 Q138,68 150,73 M158,72 Q167,68 176,72',
              'angry': 'M126,70 L150,79 M158,79 L178,70',
              'worried': 'M126,78 Q138,70 150,72 M158,72 Q168,70 176,78',
              'raised': 'M126,70 Q138,62 150,68 M158,66 Q168,62 176,68',
              'bushy': 'M122,76 Q138,62 154,74 M156,74 Q168,64 180,72'}[br]
        bw = 7 if br == 'bushy' else 4.5
        o.append(f'<path d="{bd}" fill="none" stroke="{ink}" stroke-width="{bw + 2.5}" stroke-linecap="round"/>'
                 f'<path d="{bd}" fill="none" stroke="{bc}" stroke-width="{bw}" stroke-linecap="round"/>')
    # nose
    skin = _c(ctx, p.get('skin', SKIN[0]), 'skin')
    nose = p.get('nose', 'normal')
    if nose == 'big':
        nc = _c(ctx, p['nosec'], 'skin') if p.get('nosec') else skin
        o.append(f'<path d="M172,94 C190,100 196,114 186,120 C180,124 170,120 168,114" {S(ctx, nc, 2.5)}/>')
    elif nose == 'beak':
        o.append(f'<path d="M170,92 L198,110 L172,114" {S(ctx, skin, 2.5)}/>')
    elif nose != 'none':
        o.append(f'<path d="M176,96 C184,104 186,110 180,114 C177,116 173,115 170,113" fill="{skin}" stroke="{ink}" stroke-width="2.5" stroke-linecap="round"/>')
    # mouth
    m = p.get('mouth', 'smile')
    md = {'smile': f'<path d="M144,126 Q158,136 172,124" fill="none" stroke="{ink}" stroke-width="3" stroke-linecap="round"/>',
          'grin': f'<path d="M140,122 Q158,146 176,120 Z" fill="{white}" stroke="{ink}" stroke-width="3" stroke-linejoin="round"/>'
                  f'<path d="M142,124 L174,122" stroke="{ink}" stroke-width="1.5"/>',
          'flat': f'<path d="M146,128 L170,126" stroke="{ink}" stroke-width="3" stroke-linecap="round"/>',
          'frown': f'<path d="M146,130 Q158,122 170,130" fill="none" stroke="{ink}" stroke-width="3" stroke-linecap="round"/>',
          'open': f'<path d="M146,122 Q160,120 172,122 Q168,142 154,140 Q146,136 146,122 Z" fill="#7a2030" stroke="{ink}" stroke-width="3"/>',
          'smirk': f'<path d="M144,128 Q160,130 174,120" fill="none" stroke="{ink}" stroke-width="3" stroke-linecap="round"/>',
          'o': f'<ellipse cx="160" cy="128" rx="6" ry="8" fill="#7a2030" stroke="{ink}" stroke-width="3"/>',
          'none': ''}[m]
    if ctx.mode in ('color', 'hero0'):
        o.append(md)
        if p.get('lips'):
            o.append(f'<path d="M146,126 Q158,134 172,124 Q160,128 146,126 Z" fill="{p["lips"]}" stroke="{ink}" stroke-width="1.5"/>')
        if p.get('blush'):
            o.append('<ellipse cx="130" cy="114" rx="9" ry="5" fill="#ff8fa3" opacity="0.6"/>')
        if p.get('freckles'):
            o.append(''.join(f'<circle cx="{x}" cy="{y}" r="1.6" fill="#b0603a"/>' for x, y in ((128, 108), (134, 112), (140, 108), (164, 108), (170, 110))))
        if p.get('wrinkles'):
            o.append(f'<path d="M118,100 Q122,106 120,112 M126,122 Q130,128 136,128" fill="none" stroke="{shade(p.get("skin", SKIN[0]), 0.65)}" stroke-width="2"/>')
    return ''.join(o)


def extras(ctx, p):
    ink = _ink(ctx)
    o = []
    ex = p.get('extras', ())
    hc = p.get('hairc', INK)
    if 'beard' in ex:  # the Wizard's big white beard
        c = _c(ctx, p.get('beardc', hc), 'hair')
        o.append(f'<path d="M112,116 C112,150 124,196 150,214 C170,196 188,160 186,112 C176,136 156,140 148,136 C134,140 120,132 112,116 Z" {S(ctx, c)}/>'
                 f'<path d="M140,150 Q146,176 150,200 M162,150 Q162,170 160,190" fill="none" stroke="{ink}" stroke-width="2" opacity="0.5"/>')
    if 'goatee' in ex:
        c = _c(ctx, p.get('beardc', hc), 'hair')
        o.append(f'<path d="M150,134 C152,152 162,158 170,150 C172,142 168,136 164,134 Z" {S(ctx, c, 2.5)}/>')
    if 'mustache' in ex:
        c = _c(ctx, p.get('beardc', hc), 'hair')
        o.append(f'<path d="M146,118 C154,112 170,112 180,118 C186,124 192,118 192,112 C194,126 174,130 164,122 C156,128 144,128 146,118 Z" {S(ctx, c, 2.5)}/>')
    if 'stubble' in ex:
        o.append(''.join(f'<circle cx="{x}" cy="{y}" r="1.3" fill="{shade(p.get("skin", SKIN[0]), 0.6)}"/>'
                         for x, y in ((130, 130), (138, 138), (146, 142), (156, 142), (164, 138), (150, 134), (170, 132), (124, 124))))
    if 'glasses' in ex:
        o.append(f'<circle cx="138" cy="92" r="14" fill="{"#ffffff" if ctx.mode == "color" else "none"}" fill-opacity="0.25" stroke="{ink}" stroke-width="3.5"/>'
                 f'<circle cx="170" cy="91" r="11" fill="{"#ffffff" if ctx.mode == "color" else "none"}" fill-opacity="0.25" stroke="{ink}" stroke-width="3.5"/>'
                 f'<path d="M152,91 L159,91 M124,90 L100,88" stroke="{ink}" stroke-width="3"/>')
    if 'monocle' in ex:
        gc = _c(ctx, p.get('gemc', SUN))
        o.append(f'<circle cx="168" cy="91" r="12" fill="none" stroke="{gc}" stroke-width="4"/>'
                 f'<path d="M168,103 Q160,140 130,168" fill="none" stroke="{gc}" stroke-width="2"/>')
    if 'mask' in ex:  # domino mask
        c = _c(ctx, p.get('maskc', INK), 'detail')
        o.append(f'<path d="M120,84 C132,76 150,80 156,86 C162,80 176,78 184,84 C186,94 180,102 172,100 C166,98 160,96 156,94 '
                 f'C150,100 140,106 130,104 C120,100 118,92 120,84 Z" {S(ctx, c, 2.5)}/>'
                 f'<ellipse cx="140" cy="91" rx="7" ry="5" fill="{"#ffffff" if ctx.mode in ("color", "hero0") else "#000000"}"/>'
                 f'<ellipse cx="170" cy="90" rx="5" ry="4" fill="{"#ffffff" if ctx.mode in ("color", "hero0") else "#000000"}"/>')
    if 'goggles' in ex:
        c = _c(ctx, p.get('gogc', GOLD))
        o.append(f'<path d="M92,68 L186,62" stroke="{ink}" stroke-width="7"/>'
                 f'<circle cx="128" cy="64" r="12" {S(ctx, c)}/><circle cx="158" cy="62" r="12" {S(ctx, c)}/>'
                 f'<circle cx="128" cy="64" r="7" fill="{_c(ctx, CYAN)}"/><circle cx="158" cy="62" r="7" fill="{_c(ctx, CYAN)}"/>')
    if 'earrings' in ex:
        o.append(f'<circle cx="104" cy="122" r="5" {S(ctx, _c(ctx, SUN), 2)}/>')
    if 'pencil' in ex:
        o.append(f'<path d="M92,80 L118,62" stroke="{ink}" stroke-width="7" stroke-linecap="round"/><path d="M92,80 L118,62" stroke="{_c(ctx, SUN)}" stroke-width="4"/>')
    return ''.join(o)


# --- outfits -------------------------------------------------------------
def outfit(ctx, p, uid):
    style = p.get('os', 'suit')
    col = p.get('oc', SKY)
    c2 = p.get('oc2', PAPER)
    build = p.get('build', 'normal')
    torso = {'normal': TORSO, 'slim': TORSO_SLIM, 'wide': TORSO_WIDE}[build]
    part = 'body' if p.get('hero') else 'other'
    dpart = 'detail' if p.get('hero') else 'other'
    c = _c(ctx, col, part)
    ink = _ink(ctx)
    o = []
    if 'cape' in p.get('extras', ()):
        cc = _c(ctx, p.get('capec', RED), dpart)
        o.append(f'<path d="M70,176 C40,190 16,230 6,258 L250,258 C240,226 220,190 194,176 Z" {S(ctx, cc)}/>')
        if p.get('hero') or p.get('capecollar'):
            o.append(f'<path d="M92,180 C80,156 86,130 100,118 L116,166 Z M172,180 C186,154 182,132 170,120 L150,166 Z" {S(ctx, cc)}/>'
                     f'<path d="M96,172 C90,156 92,140 100,128 M168,172 C176,154 174,140 168,130" fill="none" stroke="{_c(ctx, p.get("capec", RED), dpart, True)}" stroke-width="3"/>')
    o.append(f'<clipPath id="{uid}t"><path d="{torso}"/></clipPath>')
    o.append(f'<path d="{torso}" {S(ctx, c)}/>')
    # cel shade on the side away from the light (left)
    o.append(f'<g clip-path="url(#{uid}t)"><path d="M0,160 L92,160 C80,200 76,230 80,260 L0,260 Z" fill="{_c(ctx, col, part, True)}"/>'
             + (f'<pattern id="{uid}ht" width="7" height="7" patternUnits="userSpaceOnUse"><circle cx="3.5" cy="3.5" r="1.3" fill="{INK}" fill-opacity="0.22"/></pattern>'
                f'<path d="M0,200 L70,200 C66,220 66,240 68,260 L0,260 Z" fill="url(#{uid}ht)"/>' if ctx.mode == 'color' else '')
             + '</g>')
    if style == 'suit':
        o.append(f'<path d="M112,168 L132,212 L152,168 Z" {S(ctx, _c(ctx, c2), 2.5)}/>'
                 f'<path d="M128,176 L136,176 L138,222 L132,232 L126,222 Z" {S(ctx, _c(ctx, p.get("tie", RED)), 2.5)}/>'
                 f'<path d="M104,166 L132,230 L96,200 Z M160,166 L132,230 L170,200 Z" {S(ctx, _c(ctx, col, part, True), 2.5)}/>')
    elif style == 'uniform':
        o.append(f'<path d="M112,168 L132,196 L152,168" fill="none" stroke="{ink}" stroke-width="3"/>'
                 f'<path d="M132,196 L132,258" stroke="{ink}" stroke-width="2.5"/>'
                 + ''.join(f'<circle cx="138" cy="{y}" r="4" fill="{_c(ctx, SUN)}" stroke="{ink}" stroke-width="1.5"/>' for y in (212, 236))
                 + f'<path d="{poly(star_pts(176, 214, 13, 6))}" {S(ctx, _c(ctx, SUN), 2.5)}/>'
                 f'<path d="M60,190 L100,176 L104,186 L64,200 Z M204,190 L164,176 L160,186 L200,200 Z" fill="{_c(ctx, c2)}" stroke="{ink}" stroke-width="2"/>')
    elif style == 'labcoat':
        lc = _c(ctx, '#f7f7f2')
        o.append(f'<path d="{torso}" {S(ctx, lc)}/>'
                 f'<g clip-path="url(#{uid}t)"><path d="M0,160 L92,160 C80,200 76,230 80,260 L0,260 Z" fill="{_c(ctx, "#d9dde3")}"/></g>'
                 f'<path d="M114,168 L132,200 L150,168 L150,258 L114,258 Z" {S(ctx, c, 2.5)}/>'
                 f'<path d="M104,166 L132,240 L94,196 Z M160,166 L132,240 L172,196 Z" {S(ctx, lc, 2.5)}/>'
                 f'<rect x="172" y="214" width="26" height="18" {S(ctx, lc, 2)}/><path d="M178,214 L178,204 M186,214 L186,206" stroke="{_c(ctx, RED)}" stroke-width="3"/>')
    elif style == 'robe':
        o.append(f'<path d="M106,166 C118,190 146,190 158,166" fill="none" stroke="{_c(ctx, c2)}" stroke-width="8"/>'
                 f'<path d="M132,186 L132,258" stroke="{_c(ctx, c2)}" stroke-width="8"/>'
                 f'<path d="M132,186 L132,258 M106,166 C118,190 146,190 158,166" fill="none" stroke="{ink}" stroke-width="1.5" opacity="0.6"/>')
    elif style == 'dress':
        o.append(f'<path d="M108,168 Q132,200 156,168" fill="{_c(ctx, c2)}" stroke="{ink}" stroke-width="2.5"/>'
                 + ''.join(f'<circle cx="{x}" cy="{y}" r="5" fill="{_c(ctx, c2)}" opacity="0.8"/>' for x, y in ((70, 220), (100, 240), (170, 230), (200, 214), (140, 250), (84, 196))))
    elif style == 'hoodie':
        o.append(f'<path d="M94,170 C100,150 164,150 170,170 C158,190 106,190 94,170 Z" {S(ctx, _c(ctx, col, part, True), 2.5)}/>'
                 f'<path d="M120,186 L116,214 M144,186 L148,214" stroke="{ink}" stroke-width="2.5"/>'
                 f'<rect x="100" y="226" width="64" height="30" rx="6" fill="none" stroke="{ink}" stroke-width="2.5"/>')
    elif style == 'vest':
        o.append(f'<path d="M110,168 L132,240 L154,168 Z" {S(ctx, _c(ctx, c2), 2.5)}/>'
                 f'<path d="M126,190 L138,190 M124,210 L140,210" stroke="{ink}" stroke-width="2"/>')
    elif style == 'stripes':  # burglar
        o.append(f'<g clip-path="url(#{uid}t)">' + ''.join(f'<rect x="0" y="{y}" width="260" height="10" fill="{_c(ctx, c2)}"/>' for y in (180, 200, 220, 240)) + '</g>'
                 f'<path d="{torso}" fill="none" stroke="{ink}" stroke-width="{OUT}"/>')
    elif style == 'tank':  # coach
        o.append(f'<path d="M92,166 L100,258 M172,166 L164,258" stroke="{ink}" stroke-width="3"/>'
                 f'<path d="M100,166 Q132,196 164,166" fill="{_c(ctx, p.get("skin", SKIN[0]))}" stroke="{ink}" stroke-width="2.5"/>'
                 f'<path d="M110,206 L128,216 L110,226 Z" fill="{_c(ctx, c2)}"/>'
                 f'<path d="M140,186 Q170,200 180,240" fill="none" stroke="{ink}" stroke-width="2"/><circle cx="180" cy="244" r="8" {S(ctx, _c(ctx, SUN), 2)}/>')
    elif style == 'hero':
        ec = _c(ctx, p.get('emblemc', SUN), dpart)
        o.append(f'<path d="M112,166 Q132,186 152,166" fill="none" stroke="{ink}" stroke-width="2.5"/>'
                 f'<path d="{poly(burst_pts(134, 216, 26, 14, 6, seed=2, jitter=0.0))}" {S(ctx, ec, 2.5)}/>'
                 + (f'<path d="M128,204 L140,204 L132,214 L142,214 L126,232 L130,218 L122,218 Z" fill="{_c(ctx, RED, dpart)}"/>' if ctx.mode == 'color' else ''))
        if p.get('belt'):
            o.append(f'<path d="M60,252 L204,252" stroke="{ink}" stroke-width="12"/><path d="M60,252 L204,252" stroke="{_c(ctx, p.get("emblemc", SUN), dpart)}" stroke-width="7"/>')
    elif style == 'jacket':
        o.append(f'<path d="M112,168 L132,200 L152,168 L152,258 L112,258 Z" {S(ctx, _c(ctx, c2), 2.5)}/>'
                 f'<path d="M104,166 L126,258 M160,166 L138,258" stroke="{ink}" stroke-width="3"/>'
                 f'<rect x="168" y="196" width="26" height="18" rx="3" {S(ctx, _c(ctx, SUN), 2)}/>')
    elif style == 'overalls':
        o.append(f'<rect x="96" y="200" width="72" height="60" {S(ctx, _c(ctx, c2), 2.5)}/>'
                 f'<path d="M100,200 L96,170 M164,200 L168,170" stroke="{_c(ctx, c2)}" stroke-width="9"/>'
                 f'<circle cx="104" cy="208" r="4" fill="{_c(ctx, SUN)}"/><circle cx="160" cy="208" r="4" fill="{_c(ctx, SUN)}"/>')
    if 'pearls' in p.get('extras', ()):
        o.append(''.join(f'<circle cx="{112 + k * 5.3:.1f}" cy="{170 + 12 * math.sin(k / 7 * math.pi):.1f}" r="3.6" fill="#ffffff" stroke="{ink}" stroke-width="1.2"/>' for k in range(8)))
    if 'collar' in p.get('extras', ()):  # high collar (Time Master, Countess)
        cc = _c(ctx, p.get('collarc', c2))
        o.append(f'<path d="M98,176 C84,150 86,124 96,108 L116,150 Z M166,176 C184,150 186,128 178,112 L150,152 Z" {S(ctx, cc)}/>')
    if 'clock' in p.get('extras', ()):  # Time Master's clockwork medallion
        o.append(f'<circle cx="134" cy="214" r="22" {S(ctx, _c(ctx, SUN))}/><circle cx="134" cy="214" r="16" fill="{_c(ctx, PAPER)}" stroke="{ink}" stroke-width="2"/>'
                 f'<path d="M134,214 L134,202 M134,214 L144,218" stroke="{ink}" stroke-width="2.5" stroke-linecap="round"/>'
                 + ''.join(f'<circle cx="{134 + 13 * math.cos(a * math.pi / 6):.1f}" cy="{214 + 13 * math.sin(a * math.pi / 6):.1f}" r="1.2" fill="{ink}"/>' for a in range(12)))
    if 'scarf' in p.get('extras', ()):
        sc = _c(ctx, p.get('scarfc', RED))
        o.append(f'<path d="M100,160 Q132,184 164,160 L168,176 Q132,200 96,176 Z" {S(ctx, sc)}/><path d="M150,180 L164,230 L146,232 L140,184 Z" {S(ctx, sc)}/>')
    if 'bowtie' in p.get('extras', ()):
        bc = _c(ctx, p.get('bowc', RED))
        o.append(f'<path d="M132,172 L114,162 L114,184 Z M132,172 L150,162 L150,184 Z" {S(ctx, bc, 2.5)}/><circle cx="132" cy="172" r="4" {S(ctx, bc, 2)}/>')
    if 'sash' in p.get('extras', ()):
        o.append(f'<path d="M70,184 L92,176 L214,258 L184,258 Z" {S(ctx, _c(ctx, p.get("sashc", SUN)), 2.5)}/>')
    return ''.join(o)


def bust(p, ctx=None, uid='p'):
    """One portrait as an SVG fragment inside a 256 x 256 box."""
    ctx = ctx or Ctx()
    skin = _c(ctx, p.get('skin', SKIN[0]), 'skin')
    hs = p.get('hs', 'short')
    hc = p.get('hairc', INK)
    o = []
    if p.get('aura'):
        if ctx.mode == 'color':
            o.append(f'<circle cx="132" cy="130" r="124" fill="{p["aura"]}" opacity="0.25"/>'
                     + speedlines(132, 130, 70, 128, 28, p['aura'], 5, opacity=0.6))
    o.append(hair(ctx, hs, hc, 'back'))
    o.append(outfit(ctx, p, uid))
    o.append(f'<path d="{NECK}" {S(ctx, skin)}/>')
    o.append(f'<path d="M114,150 Q132,162 152,150 L152,160 Q132,170 114,160 Z" fill="{_c(ctx, p.get("skin", SKIN[0]), "skin", True)}"/>')
    if p.get('os') in ('suit', 'uniform', 'labcoat', 'jacket', 'vest') and 'collar' not in p.get('extras', ()):
        o.append(f'<path d="M110,162 L132,182 L154,162 L150,178 L132,194 L114,178 Z" {S(ctx, _c(ctx, "#ffffff" if p.get("os") != "uniform" else p.get("oc2", PAPER)), 2.5)}/>')
    o.append(f'<clipPath id="{uid}h"><path d="{HEAD}"/></clipPath>')
    o.append(f'<path d="{HEAD}" {S(ctx, skin)}/>')
    o.append(f'<g clip-path="url(#{uid}h)"><path d="M60,60 C96,70 110,120 128,170 L60,170 Z" fill="{_c(ctx, p.get("skin", SKIN[0]), "skin", True)}" opacity="0.55"/></g>')
    o.append(f'<ellipse cx="104" cy="100" rx="10" ry="14" {S(ctx, skin, 2.5)}/>'
             f'<path d="M102,94 Q108,100 102,106" fill="none" stroke="{_ink(ctx)}" stroke-width="2"/>')
    o.append(face(ctx, p))
    o.append(hair(ctx, hs, hc, 'front'))
    o.append(extras(ctx, p))
    if p.get('hat'):
        o.append(hat(ctx, p['hat'], p.get('hatc', RED), p.get('hatc2')))
    return ''.join(o)


import math  # noqa: E402  (used inside outfit extras)
