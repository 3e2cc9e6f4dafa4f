#!/usr/bin/env python3
"""Preview sheet of an atlas folder: every region SVG laid out on a grey
checker (with its name) in one SVG, for rsvg-convert. Authoring aid only.
Use: atlas_preview.py Atlas01 out.svg [scale] [bg-colour]"""
import os
import re
import sys

from atlas_style import CONTENT

atlas, out = sys.argv[1], sys.argv[2]
scale = float(sys.argv[3]) if len(sys.argv) > 3 else 1.0
bg = sys.argv[4] if len(sys.argv) > 4 else None
folder = os.path.join(CONTENT, "atlas", atlas) if not atlas.startswith("/") else (atlas)
names = sorted(f[:-4] for f in os.listdir(folder) if f.endswith(".svg"))
items = []
for i, n in enumerate(names):
    s = open(os.path.join(folder, n + ".svg")).read()
    w = int(re.search(r'width="(\d+)"', s).group(1))
    h = int(re.search(r'height="(\d+)"', s).group(1))
    s = re.sub(r'id="([^"]+)"', lambda m: 'id="r%d_%s"' % (i, m.group(1)), s)
    s = re.sub(r'url\(#([^)]+)\)', lambda m: 'url(#r%d_%s)' % (i, m.group(1)), s)
    s = s.replace('<svg xmlns="http://www.w3.org/2000/svg"', '<svg')
    items.append((n, w, h, s))
maxw = 1400
x = y = 10
rowh = 0
parts = []
for n, w, h, s in items:
    sw, sh = w * scale, h * scale
    if x + sw > maxw:
        x = 10
        y += rowh + 26
        rowh = 0
    parts.append('<rect x="%g" y="%g" width="%g" height="%g" fill="%s"/>' % (x, y, sw, sh, bg or "url(#chk)"))
    parts.append('<g transform="translate(%g %g) scale(%g)">%s</g>' % (x, y, scale, s))
    parts.append('<text x="%g" y="%g" font-family="sans-serif" font-size="11" fill="#fff">%s</text>' % (x, y + sh + 13, n))
    x += max(sw, 90) + 12
    rowh = max(rowh, sh)
H = y + rowh + 30
doc = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d"><defs><pattern id="chk" width="16" height="16" '
       'patternUnits="userSpaceOnUse"><rect width="16" height="16" fill="#8a8f99"/><rect width="8" height="8" fill="#9ca1ab"/>'
       '<rect x="8" y="8" width="8" height="8" fill="#9ca1ab"/></pattern></defs><rect width="100%%" height="100%%" fill="#333"/>%s</svg>'
       % (maxw + 20, H, "".join(parts)))
open(out, "w").write(doc)
