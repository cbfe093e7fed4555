#!/usr/bin/python3
"""Turns the 24 Chinese signs of the tiles and the digits 1-4 of the bonus tiles into SVG path outlines, once.

Reads the brush-style AR PL UKai font (Debian package fonts-arphic-ukai) and
writes assets/glyphs/glyphs.svg: one <path> per sign, id "g" + hex code point,
in a 1000-unit em square with y growing downward, the sign's ink box in the
data-box attribute. The game and its build need only that file; run this again
only to change the set of signs.

    tools/glyphs/make_glyphs.py [font.ttc] [out.svg]
"""
import sys
from pathlib import Path

from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.boundsPen import BoundsPen
from fontTools.ttLib import TTCollection

SIGNS = "一二三四伍六七八九萬東南西北中發梅蘭菊竹春夏秋冬1234"

root = Path(__file__).resolve().parents[2]
font_path = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/truetype/arphic/ukai.ttc"
out_path = Path(sys.argv[2]) if len(sys.argv) > 2 else root / "assets/glyphs/glyphs.svg"

font = TTCollection(font_path).fonts[0]
cmap = font.getBestCmap()
glyphs = font.getGlyphSet()
upem = font["head"].unitsPerEm
ascent = font["hhea"].ascent
scale = 1000.0 / upem

lines = ['<?xml version="1.0" encoding="UTF-8"?>',
         '<!-- Outlines of the tile signs from AR PL UKai (Arphic Public License, see LICENSE beside this file). -->',
         '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 1000 1000">']
for ch in SIGNS:
    name = cmap[ord(ch)]
    pen = SVGPathPen(glyphs, ntos=lambda v: ("%.1f" % v).rstrip("0").rstrip("."))
    # Font units grow upward from the baseline; turn them into a 1000-unit box growing downward.
    glyphs[name].draw(TransformPen(pen, (scale, 0, 0, -scale, 0, ascent * scale)))
    bp = BoundsPen(glyphs)
    glyphs[name].draw(TransformPen(bp, (scale, 0, 0, -scale, 0, ascent * scale)))
    x0, y0, x1, y1 = bp.bounds
    d = pen.getCommands()
    lines.append(f'<path id="g{ord(ch):04x}" data-sign="{ch}" data-box="{x0:.0f} {y0:.0f} {x1:.0f} {y1:.0f}" d="{d}"/>')
lines.append('</svg>')
out_path.write_text("\n".join(lines) + "\n", encoding="utf-8")
print(f"{len(SIGNS)} signs, upem {upem}, written to {out_path}")
