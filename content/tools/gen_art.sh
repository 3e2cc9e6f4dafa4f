#!/bin/sh
# Regenerates every image source under content/graphics and content/top.
# The build reads the committed SVGs; run this only after changing a generator.
set -e
cd "$(dirname "$0")"
for g in gen_ui.py gen_bg.py gen_map.py gen_chars.py gen_fx.py; do python3 "$g"; done
