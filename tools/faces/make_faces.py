#!/usr/bin/python3
"""Draws all the game's art; the Chinese signs and the digits are the outlines
in assets/glyphs/glyphs.svg (made by tools/glyphs/make_glyphs.py). It writes:

    faces/01.svg .. 42.svg                 the 42 tile faces
    icons/hicolor/scalable/apps/plitar.svg  the icon
    icons/hicolor/<N>x<N>/apps/plitar.png   the icon rendered at each size of
                                            ICON_SIZES, by tools/icons (the
                                            build unpacks them into the game)

Every face is drawn in a 65 x 75 box, the face rectangle of the largest tile
(one unit is one pixel at size 70), on a transparent background; the build
renders it into the face rectangle of each size (view/bake). The same input
gives the same bytes, and tests/art checks that the committed files are what
this script makes.

    tools/faces/make_faces.py [--out DIR] [--icons PLITAR_ICONS]

--out      the folder to write into, laid out like assets/ (default: assets/
           of this checkout)
--icons    the plitar_icons program of a build (tools/icons), to render the
           PNG files; without it they are left as they are
"""
import argparse
import math
import os
import re
import subprocess
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]

W, H = 65.0, 75.0
CX, CY = W / 2, H / 2

BLUE = "#2a3b92"    # 42, 59, 146
GREEN = "#038249"   # 3, 130, 73
RED = "#bf3718"     # 191, 55, 24
ORANGE = "#d37f11"  # 211, 127, 17
WHITE = "#ffffff"

# The sizes of the icon's PNG files (hicolor/<N>x<N>/apps/plitar.png): every
# size a desktop asks for, up to 512 pixels.
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256, 512)


def n(v):
    return ("%.2f" % v).rstrip("0").rstrip(".")


# ---------------------------------------------------------------- signs

GLYPHS = {}
for m in re.finditer(r'data-sign="(.)" data-box="([^"]*)" d="([^"]*)"',
                     (ROOT / "assets/glyphs/glyphs.svg").read_text(encoding="utf-8")):
    GLYPHS[m.group(1)] = ([float(v) for v in m.group(2).split()], m.group(3))


def sign(ch, cx, cy, em, color, bold=0.0):
    """The sign centred (by its ink) on (cx, cy), the font's em square drawn em
    units tall. bold > 0 thickens every stroke by that many units (an outline
    of the sign's own colour), so that thin brush strokes stay solid on the
    small tiles."""
    (x0, y0, x1, y1), d = GLYPHS[ch]
    k = em / 1000.0
    tx = cx - (x0 + x1) / 2 * k
    ty = cy - (y0 + y1) / 2 * k
    stroke = (f' stroke="{color}" stroke-width="{n(bold / k)}" stroke-linejoin="round"' if bold > 0 else "")
    return f'<path transform="translate({n(tx)} {n(ty)}) scale({n(k)})" fill="{color}"{stroke} d="{d}"/>'


def sign_box(ch, x, y, w, h, color, bold=0.0):
    """The sign scaled to fill the box (x, y, w, h) with its ink, thickened
    strokes included, keeping its shape."""
    (x0, y0, x1, y1), _ = GLYPHS[ch]
    k = min((w - bold) / (x1 - x0), (h - bold) / (y1 - y0))
    return sign(ch, x + w / 2, y + h / 2, 1000 * k, color, bold)


# ---------------------------------------------------------------- circles

def petal_cross(cx, cy, length, width, color=WHITE, turn=0):
    """Four pointed petals from the centre, a cross like a four-petal flower."""
    out = []
    for i in range(4):
        a = turn + 90 * i
        L, w = length, width / 2
        d = (f"M0 0C{n(w)} {n(-L * 0.25)} {n(w * 1.1)} {n(-L * 0.75)} 0 {n(-L)}"
             f"C{n(-w * 1.1)} {n(-L * 0.75)} {n(-w)} {n(-L * 0.25)} 0 0Z")
        out.append(f'<path transform="translate({n(cx)} {n(cy)}) rotate({n(a)})" fill="{color}" d="{d}"/>')
    return "".join(out)


def disc(cx, cy, r, color):
    """One coin of the circles suit: a disc with a white ring and a white four-petal cross.
    The ring is at least 1.2 units wide and a clear band of colour parts it
    from the cross, so that a small coin on the smallest tile does not blur
    into a pale smudge."""
    s = [f'<circle cx="{n(cx)}" cy="{n(cy)}" r="{n(r)}" fill="{color}"/>']
    s.append(f'<circle cx="{n(cx)}" cy="{n(cy)}" r="{n(r * 0.78)}" fill="none" stroke="{WHITE}" stroke-width="{n(max(r * 0.11, 1.2))}"/>')
    s.append(petal_cross(cx, cy, r * 0.56, r * 0.46))
    s.append(f'<circle cx="{n(cx)}" cy="{n(cy)}" r="{n(r * 0.13)}" fill="{color}"/>')
    return "".join(s)


def one_of_circles(cx=CX, cy=CY, R=29.0, notches=16, notch=(0.86, 0.11, 0.055)):
    """The big coin: green ring with white notches round a red disc with a white cross.
    notch is the notches' distance from the centre, radial and sideways half
    length, in parts of R (the icon has fewer and broader ones, which stay
    notches at 16 pixels); they stay inside the ring."""
    s = [f'<circle cx="{n(cx)}" cy="{n(cy)}" r="{n(R)}" fill="{GREEN}"/>']
    # White notches cut into the ring, like the milled edge of a coin.
    at, rx, ry = notch
    for i in range(notches):
        a = math.radians(i * 360 / notches + 180 / notches)
        x, y = cx + math.cos(a) * R * at, cy + math.sin(a) * R * at
        s.append(f'<ellipse transform="translate({n(x)} {n(y)}) rotate({n(math.degrees(a))})" '
                 f'rx="{n(R * rx)}" ry="{n(R * ry)}" fill="{WHITE}"/>')
    s.append(f'<circle cx="{n(cx)}" cy="{n(cy)}" r="{n(R * 0.7)}" fill="{WHITE}"/>')
    s.append(f'<circle cx="{n(cx)}" cy="{n(cy)}" r="{n(R * 0.64)}" fill="{RED}"/>')
    s.append(petal_cross(cx, cy, R * 0.54, R * 0.4))
    s.append(f'<circle cx="{n(cx)}" cy="{n(cy)}" r="{n(R * 0.08)}" fill="{RED}"/>')
    return "".join(s)


def circles(k):
    if k == 1:
        return one_of_circles()
    B, G, R_ = BLUE, GREEN, RED
    layouts = {
        2: (13.5, [(CX, 20, G), (CX, 55, B)]),
        3: (11.5, [(15, 15, B), (CX, CY, R_), (50, 60, G)]),
        4: (12, [(18, 20, B), (47, 20, G), (18, 55, G), (47, 55, B)]),
        5: (10.5, [(15.5, 14.5, B), (49.5, 14.5, G), (CX, CY, R_), (15.5, 60.5, G), (49.5, 60.5, B)]),
        6: (10, [(20, 13, G), (45, 13, G), (20, CY, R_), (45, CY, R_), (20, 62, R_), (45, 62, R_)]),
        7: (8.4, [(12.5, 11, G), (CX, 19, G), (52.5, 27, G),
                  (20.5, 45, R_), (44.5, 45, R_), (20.5, 64, R_), (44.5, 64, R_)]),
        8: (8.0, [(x, y, B) for y in (10, 28.3, 46.7, 65) for x in (19.5, 45.5)]),
        9: (9.3, [(x, y, c) for y, c in ((14, B), (CY, R_), (61, G)) for x in (12.5, CX, 52.5)]),
    }
    r, pts = layouts[k]
    return "".join(disc(x, y, r, c) for x, y, c in pts)


# ---------------------------------------------------------------- bamboo

def stick(cx, cy, length, width, color=GREEN, angle=0):
    """One bamboo stick: a rounded cane with a joint in the middle and at both ends."""
    w, L = width, length
    s = [f'<g transform="translate({n(cx)} {n(cy)}) rotate({n(angle)})">']
    s.append(f'<rect x="{n(-w / 2)}" y="{n(-L / 2)}" width="{n(w)}" height="{n(L)}" rx="{n(w * 0.42)}" fill="{color}"/>')
    # The light groove along each half of the cane.
    g = w * 0.2
    for y0, y1 in ((-L / 2 + w * 0.55, -w * 0.45), (w * 0.45, L / 2 - w * 0.55)):
        s.append(f'<rect x="{n(-g / 2)}" y="{n(y0)}" width="{n(g)}" height="{n(y1 - y0)}" rx="{n(g / 2)}" fill="{WHITE}"/>')
    # Joints: a slightly thicker ring.
    for y in (-L / 2 + w * 0.18, 0, L / 2 - w * 0.18):
        s.append(f'<rect x="{n(-w * 0.62)}" y="{n(y - w * 0.16)}" width="{n(w * 1.24)}" height="{n(w * 0.32)}" rx="{n(w * 0.16)}" fill="{color}"/>')
    s.append('</g>')
    return "".join(s)


def bird():
    """The one of bamboo: a peacock-like bird standing on a bamboo perch."""
    s = []
    # Tail: three long feathers hanging behind the perch, each ending in an eye.
    for (x1, y1, cx, cy, x2, y2) in ((22, 44, 10, 50, 6.5, 62), (24, 46, 16, 55, 13, 67), (26, 47, 24, 59, 21.5, 69)):
        s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="2.4" stroke-linecap="round" '
                 f'd="M{x1} {y1}Q{cx} {cy} {x2} {y2}"/>')
        s.append(f'<circle cx="{x2}" cy="{y2}" r="3.3" fill="{GREEN}"/>')
        s.append(f'<circle cx="{x2}" cy="{y2}" r="2" fill="{RED}"/>')
        s.append(f'<circle cx="{x2}" cy="{y2}" r="0.8" fill="{WHITE}"/>')
    # Perch: a slanting bamboo cane with a leaf.
    s.append(stick(34, 58, 54, 5.2, GREEN, angle=-84))
    s.append(f'<path fill="{GREEN}" d="M46 57C50 49 56 47 62 46C58 51 53 55 46 57Z"/>')
    # Legs, and toes gripping the cane.
    s.append(f'<path fill="none" stroke="{RED}" stroke-width="1.8" stroke-linecap="round" stroke-linejoin="round" '
             f'd="M30 45L29 55M26.5 55.5L31 55.5M35 44L36 55M33.5 55.5L38.5 55.5"/>')
    # Body and neck.
    s.append(f'<path fill="{BLUE}" d="M18 42C18 31 28 25 37 27C40 22 39 16 44 12C49 9 54 13 53 18'
             f'C52 22 48 24 47 30C46 40 40 47 30 48C23 48 18 46 18 42Z"/>')
    # Breast.
    s.append(f'<path fill="{RED}" d="M47 29C46 38 41 45 32 47C38 42 41 36 42 29Z"/>')
    # Wing.
    s.append(f'<path fill="{GREEN}" d="M20 40C22 32 30 29 38 31C35 37 29 42 20 40Z"/>')
    s.append(f'<path fill="none" stroke="{WHITE}" stroke-width="0.9" stroke-linecap="round" d="M24 38C28 36 31 34 35 32M23 35C26 33 29 32 32 31"/>')
    # Head: eye, beak and a red crest.
    s.append(f'<circle cx="47.5" cy="15" r="2.4" fill="{WHITE}"/><circle cx="48" cy="15" r="1.1" fill="{BLUE}"/>')
    s.append(f'<path fill="{ORANGE}" d="M52.5 15L60 18.5L52 20Z"/>')
    s.append(f'<path fill="{RED}" d="M43 12C40 7 41 3 44 2C44 6 46 8 46 10C47 6 49 4 52 4C50 7 49 9 48 11Z"/>')
    return "".join(s)


def bamboo(k):
    if k == 1:
        return bird()
    G, R_ = GREEN, RED
    # Fewer sticks stand broader, as on a real set.
    w = {2: 9.0, 3: 8.6, 4: 8.6, 5: 8.0, 6: 7.6}.get(k, 7.0)
    if k == 2:
        return stick(CX, 20, 31, w) + stick(CX, 55, 31, w)
    if k == 3:
        return stick(CX, 20, 31, w) + stick(20, 55, 31, w) + stick(45, 55, 31, w)
    if k == 4:
        return "".join(stick(x, y, 31, w) for y in (20, 55) for x in (19, 46))
    if k == 5:
        return ("".join(stick(x, y, 31, w) for y in (20, 55) for x in (12, 53))
                + stick(CX, CY, 31, w, R_))
    if k == 6:
        return "".join(stick(x, y, 31, w) for y in (20, 55) for x in (13.5, CX, 51.5))
    if k == 7:
        return (stick(CX, 13.5, 21, w, R_)
                + "".join(stick(x, y, 21, w) for y in (37.5, 61.5) for x in (14, CX, 51)))
    if k == 8:
        s = []
        for y, up in ((20, True), (55, False)):
            s.append(stick(9, y, 30, 6.2))
            s.append(stick(56, y, 30, 6.2))
            # The middle pair leans together: an M above, a W below.
            a = -20 if up else 20
            s.append(stick(24, y, 31, 6.2, angle=a))
            s.append(stick(41, y, 31, 6.2, angle=-a))
        return "".join(s)
    if k == 9:
        return "".join(stick(x, y, 21, w, R_ if x == CX else G) for y in (13.5, 37.5, 61.5) for x in (14, CX, 51))
    raise ValueError(k)


# ---------------------------------------------------------------- honours

NUMERALS = "一二三四伍六七八九"


def character(k):
    # Every numeral drawn at one scale, so that the strokes weigh alike.
    return sign(NUMERALS[k - 1], CX, 17.5, 38, BLUE, 0.8) + sign("萬", CX, 53, 40, RED, 0.8)


def white_dragon():
    return (f'<rect x="9" y="8" width="47" height="59" rx="6" fill="none" stroke="{BLUE}" stroke-width="3.6"/>'
            f'<rect x="15" y="14" width="35" height="47" rx="3" fill="none" stroke="{BLUE}" stroke-width="2.2"/>')


# ---------------------------------------------------------------- flowers and seasons

# The corner marks: the sign in one top corner, the number in the other. They
# are as large and as heavy as the picture below leaves room for, so that
# they still read on the smallest tile (a unit is 0.69 px there).
# The sign fills a square of SIGN_BOX units 2 units in from the edges; the
# digits, all at one scale, stand level with its middle.
SIGN_BOX = 22.5
DIGIT_EM = 24.0
MARK_BOLD = 1.0


def corner_marks(sign_ch, sign_color, digit, digit_color, sign_left):
    m = 2.0
    sx = m if sign_left else W - m - SIGN_BOX
    dx = W - m - 6.5 if sign_left else m + 6.5
    return (sign_box(sign_ch, sx, m, SIGN_BOX, SIGN_BOX, sign_color, MARK_BOLD)
            + sign(str(digit), dx, m + SIGN_BOX / 2, DIGIT_EM, digit_color, MARK_BOLD))


def five_petal_blossom(cx, cy, r, color, centre=WHITE, turn=0):
    s = []
    for i in range(5):
        a = math.radians(turn + i * 72 - 90)
        x, y = cx + math.cos(a) * r * 0.55, cy + math.sin(a) * r * 0.55
        s.append(f'<circle cx="{n(x)}" cy="{n(y)}" r="{n(r * 0.5)}" fill="{color}"/>')
    s.append(f'<circle cx="{n(cx)}" cy="{n(cy)}" r="{n(r * 0.3)}" fill="{centre}"/>')
    for i in range(5):
        a = math.radians(turn + i * 72 - 54)
        s.append(f'<circle cx="{n(cx + math.cos(a) * r * 0.3)}" cy="{n(cy + math.sin(a) * r * 0.3)}" r="{n(r * 0.08)}" fill="{ORANGE}"/>')
    return "".join(s)


def plum():
    s = [f'<path fill="none" stroke="{BLUE}" stroke-linecap="round" stroke-linejoin="round" stroke-width="3.2" '
         f'd="M8 72C14 62 20 56 28 52C36 48 42 42 46 32"/>',
         f'<path fill="none" stroke="{BLUE}" stroke-linecap="round" stroke-width="2" d="M28 52C34 54 44 56 54 52M40 44C38 41 35 38 30 36"/>']
    s.append(five_petal_blossom(46, 31, 9.5, RED))
    s.append(five_petal_blossom(29, 36, 7, RED, turn=20))
    s.append(five_petal_blossom(54, 52, 7.5, RED, turn=10))
    s.append(five_petal_blossom(17, 59, 5.5, RED, turn=30))
    s.append(f'<circle cx="38" cy="61" r="2.4" fill="{RED}"/><circle cx="12" cy="46" r="2" fill="{RED}"/>')
    return "".join(s)


def orchid():
    s = []
    # Long arching leaves from one tuft.
    for d in ("M30 72C26 54 14 40 4 34C16 44 24 56 26 72Z",
              "M32 72C34 52 46 38 60 30C48 42 38 56 36 72Z",
              "M29 72C27 56 30 42 40 28C34 44 32 58 33 72Z",
              "M31 72C38 62 50 58 62 60C50 62 40 66 34 72Z"):
        s.append(f'<path fill="{GREEN}" d="{d}"/>')
    # Flower stems.
    s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="1.3" d="M30 66C27 54 23 44 19 37M31 60C36 48 42 42 48 40M31 62C32 48 32 38 34 28"/>')

    def bloom(cx, cy, r, turn):
        out = [f'<g transform="translate({n(cx)} {n(cy)}) rotate({n(turn)})">']
        for a, L in ((-90, 1.0), (-25, 0.9), (205, 0.9), (40, 0.7), (140, 0.7)):
            out.append(f'<ellipse transform="rotate({a}) translate({n(r * L * 0.5)} 0)" rx="{n(r * L * 0.55)}" ry="{n(r * 0.25)}" fill="{RED}"/>')
        out.append(f'<ellipse cx="0" cy="{n(r * 0.25)}" rx="{n(r * 0.22)}" ry="{n(r * 0.3)}" fill="{WHITE}"/>')
        out.append(f'<circle cx="0" cy="{n(r * 0.28)}" r="{n(r * 0.1)}" fill="{RED}"/>')
        out.append('</g>')
        return "".join(out)
    s.append(bloom(19, 37, 9, -10))
    s.append(bloom(48, 39, 9, 15))
    s.append(bloom(34, 28, 6.5, -30))
    return "".join(s)


def chrysanthemum():
    s = [f'<path fill="none" stroke="{GREEN}" stroke-width="2.4" stroke-linecap="round" d="M33 72C33 64 32 58 33 50"/>',
         f'<path fill="{GREEN}" d="M33 66C26 64 18 66 12 60C20 58 28 60 33 66Z"/>',
         f'<path fill="{GREEN}" d="M33 60C40 56 48 58 54 52C46 51 38 54 33 60Z"/>']
    # Two rings of broad petals, the inner one set between the outer ones and
    # edged in white; few and broad enough to stay petals on the smallest tile.
    cx, cy = CX, 42
    for r, count, w, turn, edge in ((16, 14, 4.6, 0, 0), (11, 14, 4.0, 360 / 28, 0.8)):
        for i in range(count):
            a = turn + i * 360 / count
            stroke = f' stroke="{WHITE}" stroke-width="{n(edge)}"' if edge else ""
            s.append(f'<ellipse transform="translate({n(cx)} {n(cy)}) rotate({n(a)}) translate({n(r * 0.55)} 0)" '
                     f'rx="{n(r * 0.48)}" ry="{n(w / 2)}" fill="{ORANGE}"{stroke}/>')
    s.append(f'<circle cx="{n(cx)}" cy="{n(cy)}" r="5" fill="{ORANGE}" stroke="{WHITE}" stroke-width="0.8"/>')
    s.append(f'<circle cx="{n(cx)}" cy="{n(cy)}" r="3" fill="{RED}"/>')
    return "".join(s)


def bamboo_stalks():
    s = []
    # Three stalks leaning right, their leaves kept clear of the corner marks
    # and a few units inside the face's edges.
    for x0, y0, x1, y1, w in ((17, 74, 25, 25, 4.2), (33, 74, 37, 28, 3.6), (45, 74, 51, 40, 3.0)):
        s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="{w}" d="M{x0} {y0}L{x1} {y1}"/>')
        # Joints.
        for t in (0.28, 0.58, 0.86):
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            s.append(f'<ellipse cx="{n(x)}" cy="{n(y)}" rx="{n(w * 0.85)}" ry="{n(w * 0.28)}" fill="{GREEN}" stroke="{WHITE}" stroke-width="0.6"/>')
    leaf = "C3 -2.2 9 -2.4 15 0C9 2.4 3 2.2 0 0Z"
    for x, y, a, sc in ((25, 28, -40, 0.9), (24, 36, -160, 1.0), (24, 36, -130, 0.8), (36, 42, -20, 1.0),
                        (36, 42, 25, 0.8), (50, 48, -30, 0.75), (50, 48, 15, 0.75), (19, 54, 180, 0.9), (20, 52, 150, 0.7)):
        s.append(f'<path transform="translate({x} {y}) rotate({a}) scale({sc})" fill="{GREEN}" d="M0 0{leaf}"/>')
    return "".join(s)


def tulips_and_butterfly():
    s = []
    # Stems and leaves.
    s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="1.8" stroke-linecap="round" d="M18 73C18 62 16 54 15 46M34 73C34 62 34 56 35 50M46 73C47 66 50 60 53 56"/>')
    for d in ("M18 73C10 66 8 58 9 52C14 58 17 64 18 73Z", "M34 73C40 66 44 60 44 54C38 60 35 66 34 73Z",
              "M46 73C40 68 38 64 38 60C43 63 45 67 46 73Z"):
        s.append(f'<path fill="{GREEN}" d="{d}"/>')

    def tulip(cx, cy, r, color, tilt):
        return (f'<g transform="translate({n(cx)} {n(cy)}) rotate({tilt}) scale({n(r / 10)})">'
                f'<path fill="{color}" d="M-8 -6C-9 2 -5 8 0 8C5 8 9 2 8 -6L4 -1L0 -9L-4 -1Z"/>'
                f'<path fill="none" stroke="{WHITE}" stroke-width="1" d="M0 -5L0 6"/></g>')
    s.append(tulip(15, 42, 8, RED, -8))
    s.append(tulip(35, 46, 7, ORANGE, 4))
    s.append(tulip(53, 52, 5.6, RED, 15))
    # The butterfly.
    bx, by = 49, 35
    s.append(f'<g transform="translate({bx} {by}) rotate(-12) scale(0.9)">'
             f'<path fill="{BLUE}" d="M0 0C-4 -8 -12 -10 -13 -5C-14 -1 -8 1 0 0Z"/>'
             f'<path fill="{BLUE}" d="M0 0C4 -8 12 -10 13 -5C14 -1 8 1 0 0Z"/>'
             f'<path fill="{ORANGE}" d="M0 0C-3 5 -8 8 -9 5C-10 2 -5 1 0 0Z"/>'
             f'<path fill="{ORANGE}" d="M0 0C3 5 8 8 9 5C10 2 5 1 0 0Z"/>'
             f'<circle cx="-8" cy="-5" r="1.5" fill="{WHITE}"/><circle cx="8" cy="-5" r="1.5" fill="{WHITE}"/>'
             f'<path fill="none" stroke="{BLUE}" stroke-width="0.8" stroke-linecap="round" d="M0 0L0 5M0 -1L-3 -7M0 -1L3 -7"/></g>')
    return "".join(s)


def lotus():
    s = []
    # Water.
    s.append(f'<path fill="none" stroke="{BLUE}" stroke-width="1.5" stroke-linecap="round" d="M6 70C10 68 14 68 18 70C22 72 26 72 30 70M36 70C40 68 44 68 48 70C52 72 56 72 60 70"/>')
    # A round leaf floating.
    s.append(f'<path fill="{GREEN}" d="M8 63C8 55 20 51 32 53C44 51 58 55 58 63C58 69 44 69 33 67L33 61L30 67C18 69 8 68 8 63Z"/>')
    s.append(f'<path fill="none" stroke="{WHITE}" stroke-width="0.7" d="M31 60L16 57M31 60L46 56M31 60L52 64"/>')
    # Stem and flower, low enough to leave the sign in its corner alone.
    s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="2" d="M33 58C34 53 33 48 33 44"/>')
    cx, cy = 33, 42
    for a, L, col in ((-62, 1.0, RED), (62, 1.0, RED), (-35, 1.05, ORANGE), (35, 1.05, ORANGE), (0, 1.15, RED)):
        s.append(f'<path transform="translate({cx} {cy}) rotate({a})" fill="{col}" stroke="{WHITE}" stroke-width="0.7" '
                 f'd="M0 2C-7 -2 -6 -12 0 {n(-20 * L)}C6 -12 7 -2 0 2Z"/>')
    s.append(f'<path fill="{ORANGE}" d="M24 44C28 47 38 47 42 44C38 50 28 50 24 44Z"/>')
    # A bud on its own stem, clear of the flower and of the sign above it.
    s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="1.4" d="M50 57C54 53 56 50 56 44"/>')
    s.append(f'<path fill="{RED}" d="M56 45.5C52 42.5 52 37 56 33C60 37 60 42.5 56 45.5Z"/>')
    return "".join(s)


def pumpkin_and_fruit():
    s = []
    # Pumpkin: ribbed orange body, green stalk and a leaf.
    cx, cy = 26, 54
    for dx, rx in ((-9, 9), (9, 9), (-4.5, 9.5), (4.5, 9.5), (0, 8)):
        s.append(f'<ellipse cx="{n(cx + dx)}" cy="{cy}" rx="{rx}" ry="14" fill="{ORANGE}" stroke="{RED}" stroke-width="0.9"/>')
    s.append(f'<path fill="{GREEN}" d="M24 41L25 34C26 32 29 32 30 33L28 41Z"/>')
    s.append(f'<path fill="{GREEN}" d="M29 36C32 28 40 26 46 30C42 36 34 38 29 36Z"/>')
    s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="1" stroke-linecap="round" d="M29 34C26 28 20 28 18 32C16 36 20 38 22 35"/>')
    # Fruit: two red apples and a cluster of small round fruit.
    for x, y, r in ((50, 59, 8), (46, 46, 6)):
        s.append(f'<circle cx="{x}" cy="{y}" r="{r}" fill="{RED}"/>')
        s.append(f'<ellipse cx="{n(x - r * 0.35)}" cy="{n(y - r * 0.35)}" rx="{n(r * 0.22)}" ry="{n(r * 0.32)}" fill="{WHITE}" transform="rotate(30 {n(x - r * 0.35)} {n(y - r * 0.35)})"/>')
        s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="1.2" d="M{x} {y - r + 1}L{x + 1} {y - r - 3}"/>')
    # A bunch of grapes, below the sign and inside the right edge.
    for x, y in ((54, 40), (58, 44), (53, 45), (58, 38)):
        s.append(f'<circle cx="{x}" cy="{y}" r="2.9" fill="{BLUE}"/>')
    s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="1" d="M56 36L56 31L51 29"/>')
    s.append(f'<path fill="{GREEN}" d="M56 31C57.5 28 60 27 61 28.5C60 30 58.5 31 56 31Z"/>')
    return "".join(s)


def narcissus():
    s = []
    # Narrow upright leaves.
    for d in ("M28 73C26 60 22 48 16 38C24 48 30 60 31 73Z", "M33 73C34 58 38 46 44 36C40 48 37 60 36 73Z",
              "M30 73C30 62 30 52 32 44C33 54 33 64 33 73Z", "M35 73C42 64 50 60 58 60C50 63 42 68 38 73Z"):
        s.append(f'<path fill="{GREEN}" d="{d}"/>')
    s.append(f'<path fill="none" stroke="{GREEN}" stroke-width="1.3" d="M31 70C29 56 24 40 19 32M33 64C38 52 44 46 50 42"/>')
    # A bulb in the water dish.
    s.append(f'<path fill="{BLUE}" d="M18 70L48 70L45 74L21 74Z"/>')

    def flower(cx, cy, r):
        out = [f'<g transform="translate({n(cx)} {n(cy)})">']
        for i in range(6):
            a = i * 60 - 90
            out.append(f'<ellipse transform="rotate({a}) translate({n(r * 0.55)} 0)" rx="{n(r * 0.5)}" ry="{n(r * 0.3)}" '
                       f'fill="{WHITE}" stroke="{GREEN}" stroke-width="0.8"/>')
        out.append(f'<circle r="{n(r * 0.36)}" fill="{ORANGE}"/><circle r="{n(r * 0.16)}" fill="{RED}"/></g>')
        return "".join(out)
    s.append(flower(19, 32, 9))
    s.append(flower(49, 40, 8.5))
    s.append(flower(34, 29, 6.5))
    return "".join(s)


FLOWER_SIGNS = "梅蘭菊竹"
SEASON_SIGNS = "春夏秋冬"
FLOWER_ART = (plum, orchid, chrysanthemum, bamboo_stalks)
SEASON_ART = (tulips_and_butterfly, lotus, pumpkin_and_fruit, narcissus)


def face(code):
    if 1 <= code <= 9:
        return circles(code)
    if 10 <= code <= 18:
        return bamboo(code - 9)
    if 19 <= code <= 27:
        return character(code - 18)
    if 28 <= code <= 31:
        return sign("東南西北"[code - 28], CX, CY, 58, BLUE, 0.5)
    if code == 32:
        return sign("中", CX, CY, 58, RED, 0.5)
    if code == 33:
        return sign("發", CX, CY, 58, GREEN, 0.5)
    if code == 34:
        return white_dragon()
    if 35 <= code <= 38:
        k = code - 35
        return FLOWER_ART[k]() + corner_marks(FLOWER_SIGNS[k], BLUE, k + 1, RED, sign_left=True)
    if 39 <= code <= 42:
        k = code - 39
        return SEASON_ART[k]() + corner_marks(SEASON_SIGNS[k], RED, k + 1, BLUE, sign_left=False)
    raise ValueError(code)


# The Arphic Public License asks every file that changes its outlines to say so.
ARPHIC_NOTICE = ("<!-- The signs on this face are outlines of AR PL UKai (Arphic Public License,"
                 " assets/glyphs/LICENSE) from assets/glyphs/glyphs.svg, scaled, placed and,"
                 " for the corner signs, thickened by tools/faces/make_faces.py in 2026. -->\n")


def svg(width, height, body):
    notice = ARPHIC_NOTICE if any(d in body for _, d in GLYPHS.values()) else ""
    return ('<?xml version="1.0" encoding="UTF-8"?>\n' + notice +
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n'
            f'{body}\n</svg>\n')


def main():
    args = argparse.ArgumentParser(description="Draws the tile faces, the icon and the resource list.")
    args.add_argument("--out", type=Path, default=ROOT / "assets", help="folder laid out like assets/")
    args.add_argument("--icons", help="the plitar_icons program, to render the icon's PNG files")
    opts = args.parse_args()
    out = opts.out

    faces = out / "faces"
    faces.mkdir(parents=True, exist_ok=True)
    for code in range(1, 43):
        (faces / f"{code:02d}.svg").write_text(svg(65, 75, face(code)), encoding="utf-8")

    # The icon: the big coin of the one of circles on a transparent square,
    # with eight broad notches, which stay notches at 16 pixels.
    icons = out / "icons/hicolor"
    icon = icons / "scalable/apps/plitar.svg"
    icon.parent.mkdir(parents=True, exist_ok=True)
    icon.write_text(svg(64, 64, one_of_circles(32, 32, 31.6, notches=8, notch=(0.845, 0.115, 0.085))), encoding="utf-8")
    if opts.icons:
        env = dict(os.environ)
        env.setdefault("QT_QPA_PLATFORM", "offscreen")
        subprocess.run([opts.icons, str(icon), str(icons)] + [str(px) for px in ICON_SIZES], env=env, check=True)

    print(f"42 faces and the icon written under {out}"
          + ("" if opts.icons else "; the icon's PNG files left as they were (no --icons)"))


if __name__ == "__main__":
    main()
