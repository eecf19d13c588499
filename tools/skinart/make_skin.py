#!/usr/bin/env python3
"""Draws the bitmaps of the embedded "iridium" skin.

Every bitmap is drawn procedurally (gradients, bevels, rounded corners, small
pixel glyphs) in a cool steel-blue and graphite palette and written as an
uncompressed bottom-up Windows BMP into assets/skin/ (or the directory given
as the first argument). Standard library only; the outputs are committed, so
the build never runs this script. `--check DIR` verifies existing files.

Frame layouts follow iridium.ini: frames stand side by side except in
top.bmp and bottom.bmp, where the active frame is stacked above the inactive
one. Magenta (255, 0, 255) is the transparent key wherever the element is
drawn transparently; elements drawn opaquely fill their outside corners with
the ButtonFace grey instead.
"""
import math
import os
import struct
import sys

MAGENTA = (255, 0, 255)
FACE = (221, 221, 221)  # ButtonFace of iridium.ini
WHITE = (255, 255, 255)

# Window frame: the virtual window that top/left/right/bottom are cut from.
CAPTION_H = 22
BORDER = 5
FRAME_W = 185 + 2 * BORDER  # top.bmp and bottom.bmp span between the side borders
FRAME_H = 193  # height of left.bmp and right.bmp
TOP_RADIUS = 7
BOTTOM_RADIUS = 3

# name: (width, height, bits per pixel), as the package lists them.
SIZES = {
    "top.bmp": (185, 44, 24),
    "bottom.bmp": (185, 10, 32),
    "left.bmp": (10, 193, 32),
    "right.bmp": (10, 193, 32),
    "menu.bmp": (70, 38, 24),
    "plain.bmp": (50, 50, 24),
    "button.bmp": (275, 22, 24),
    "check.bmp": (52, 13, 24),
    "radio.bmp": (52, 13, 24),
    "progress.bmp": (40, 13, 24),
    "groupboxedge.bmp": (128, 64, 24),
    "tabborders.bmp": (29, 28, 24),
    "tabs.bmp": (200, 19, 24),
    "combobutton.bmp": (72, 21, 24),
    "sunkedge.bmp": (40, 9, 24),
    "headerbar.bmp": (320, 17, 24),
    "select.bmp": (375, 23, 24),
    "menuskin.bmp": (50, 50, 24),
    "arrows.bmp": (368, 16, 24),
    "hscrolltray.bmp": (80, 16, 24),
    "vscrolltray.bmp": (64, 25, 24),
    "scrollbutton.bmp": (48, 16, 24),
    "mdibutton.bmp": (180, 14, 24),
    "grouptop.bmp": (64, 19, 24),
    "button0.bmp": (66, 12, 24),
    "button1.bmp": (66, 12, 24),
    "button2.bmp": (66, 12, 24),
}

# File sizes of the package entries; a mismatch means the BMP writer is wrong.
FILE_SIZES = {
    "top.bmp": 24518, "bottom.bmp": 7454, "left.bmp": 7774, "right.bmp": 7774,
    "menu.bmp": 8110, "plain.bmp": 7654, "button.bmp": 18270, "check.bmp": 2082,
    "radio.bmp": 2082, "progress.bmp": 1614, "groupboxedge.bmp": 24630,
    "tabborders.bmp": 2518, "tabs.bmp": 11454, "combobutton.bmp": 4590,
    "sunkedge.bmp": 1134, "headerbar.bmp": 16374, "select.bmp": 25998,
    "menuskin.bmp": 7654, "arrows.bmp": 17718, "hscrolltray.bmp": 3894,
    "vscrolltray.bmp": 4854, "scrollbutton.bmp": 2358, "mdibutton.bmp": 7614,
    "grouptop.bmp": 3702, "button0.bmp": 2454, "button1.bmp": 2454,
    "button2.bmp": 2454,
}

# ---------------------------------------------------------------------------
# Colour helpers


def mix(a, b, t):
    """Linear blend from colour a (t = 0) to colour b (t = 1)."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighten(c, t):
    return mix(c, WHITE, t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


def ramp(top, bottom, i, n):
    """Entry i of an n-step gradient from top to bottom."""
    return top if n <= 1 else mix(top, bottom, i / (n - 1))


def grey(c):
    v = (c[0] + c[1] + c[2]) // 3
    return (v, v, v)


# ---------------------------------------------------------------------------
# Canvas and drawing helpers


class Canvas:
    """A top-down RGB picture."""

    def __init__(self, width, height, fill=MAGENTA):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def get(self, x, y):
        return self.px[y][x]

    def put(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        """Fills the half-open rectangle [x0, x1) x [y0, y1)."""
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.px[y][x] = c

    def blit(self, other, dx, dy):
        for y in range(other.height):
            for x in range(other.width):
                self.put(dx + x, dy + y, other.px[y][x])

    def crop(self, x0, y0, w, h):
        out = Canvas(w, h)
        for y in range(h):
            out.px[y] = list(self.px[y0 + y][x0:x0 + w])
        return out


def side_by_side(frames):
    out = Canvas(sum(f.width for f in frames), max(f.height for f in frames))
    x = 0
    for f in frames:
        out.blit(f, x, 0)
        x += f.width
    return out


def stacked(frames):
    out = Canvas(max(f.width for f in frames), sum(f.height for f in frames))
    y = 0
    for f in frames:
        out.blit(f, 0, y)
        y += f.height
    return out


def corner_state(x, y, w, h, r):
    """For a w x h rectangle with corner radius r: 'out' outside the rounded
    corners, 'edge' on the one-pixel outline, 'in' inside."""
    if x < 0 or y < 0 or x >= w or y >= h:
        return "out"
    cx = r if x < r else (w - 1 - r if x >= w - r else None)
    cy = r if y < r else (h - 1 - r if y >= h - r else None)
    if r > 0 and cx is not None and cy is not None:
        d = math.hypot(x - cx, y - cy)
        if d > r + 0.45:
            return "out"
        if d > r - 0.55:
            return "edge"
        return "in"
    if x == 0 or y == 0 or x == w - 1 or y == h - 1:
        return "edge"
    return "in"


def rounded_box(c, x0, y0, w, h, r, outline, body, outside=None):
    """Draws a w x h box with rounded corners at (x0, y0). body(x, y) gives
    the inner colour in box coordinates; outside pixels get `outside` (left
    untouched when None)."""
    for y in range(h):
        for x in range(w):
            s = corner_state(x, y, w, h, r)
            if s == "out":
                if outside is not None:
                    c.put(x0 + x, y0 + y, outside)
            elif s == "edge":
                c.put(x0 + x, y0 + y, outline)
            else:
                c.put(x0 + x, y0 + y, body(x, y))


def glossy(top, bottom, h, split=0.5, gloss=0.35):
    """Vertical face colour function: a bright upper half over a deeper lower
    half, the look of polished metal."""
    cut = max(1, int(round(h * split)))

    def body(x, y):
        if y < cut:
            return mix(lighten(top, gloss), top, y / max(1, cut - 1))
        return mix(mix(top, bottom, 0.55), bottom, (y - cut) / max(1, h - 1 - cut))

    return body


def vertical(top, bottom, h):
    return lambda x, y: ramp(top, bottom, y, h)


def draw_glyph(c, art, x0, y0, ink, shadow=None):
    """Pixel art: '#' is ink; a shadow, when given, falls one pixel down-right."""
    if shadow is not None:
        for y, row in enumerate(art):
            for x, ch in enumerate(row):
                if ch == "#":
                    px, py = x0 + x + 1, y0 + y + 1
                    inside = py - y0 < len(art) and px - x0 < len(art[0])
                    if not (inside and art[py - y0][px - x0] == "#"):
                        c.put(px, py, shadow)
    for y, row in enumerate(art):
        for x, ch in enumerate(row):
            if ch == "#":
                c.put(x0 + x, y0 + y, ink)


def glyph_size(art):
    return len(art[0]), len(art)


def centred_glyph(c, art, x0, y0, w, h, ink, shadow=None, shift=0):
    gw, gh = glyph_size(art)
    draw_glyph(c, art, x0 + (w - gw) // 2 + shift, y0 + (h - gh) // 2 + shift, ink, shadow)


class Lcg:
    """Deterministic noise, so regenerated files are byte-identical."""

    def __init__(self, seed):
        self.state = seed

    def next(self, n):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 16) % n


# ---------------------------------------------------------------------------
# Palette

OUTLINE = (28, 40, 56)  # graphite outline of the active frame
STEEL_HI = (150, 176, 204)
STEEL_LIGHT = (122, 150, 182)
STEEL = (84, 112, 146)
STEEL_DARK = (64, 90, 122)
STEEL_INNER = (30, 44, 62)

INACTIVE_OUTLINE = (112, 118, 126)
INACTIVE_HI = (246, 247, 249)
INACTIVE_LIGHT = (236, 238, 241)
INACTIVE_MID = (204, 208, 214)
INACTIVE_DARK = (188, 193, 200)
INACTIVE_INNER = (140, 146, 154)

# Light control faces (push buttons, tabs, headers): dark text sits on them.
CTRL_OUTLINE = (84, 102, 124)
CTRL_TOP = (244, 247, 250)
CTRL_BOTTOM = (196, 207, 220)
HOT_OUTLINE = (62, 104, 156)
HOT_TOP = (236, 244, 253)
HOT_BOTTOM = (170, 200, 236)
PRESSED_OUTLINE = (40, 60, 86)
PRESSED_TOP = (160, 176, 196)
PRESSED_BOTTOM = (206, 214, 226)
DISABLED_OUTLINE = (172, 176, 182)
DISABLED_TOP = (236, 236, 237)
DISABLED_BOTTOM = (222, 223, 225)
FOCUS_RING = (98, 142, 204)
GLYPH_INK = (34, 50, 72)
GLYPH_DISABLED = (158, 164, 172)

# ---------------------------------------------------------------------------
# Window frame: one virtual window, cut into the four borders


def caption_colour(y, active):
    """Caption bar colour of row y (0 to CAPTION_H - 1), without outline."""
    if active:
        if y == 1:
            return STEEL_HI
        if y == CAPTION_H - 1:
            return STEEL_INNER
        if y < 11:
            return mix((118, 146, 178), (92, 120, 154), (y - 2) / 8)
        return mix((62, 88, 120), (46, 70, 100), (y - 11) / 9)
    if y == 1:
        return INACTIVE_HI
    if y == CAPTION_H - 1:
        return INACTIVE_INNER
    if y < 11:
        return mix((228, 231, 235), (214, 218, 223), (y - 2) / 8)
    return mix((200, 204, 210), (188, 193, 200), (y - 11) / 9)


def border_ring(d, active):
    """Side and bottom border colour at distance d (0 to 4) from the outside."""
    if active:
        return (OUTLINE, STEEL_LIGHT, STEEL, STEEL_DARK, STEEL_INNER)[d]
    return (INACTIVE_OUTLINE, INACTIVE_LIGHT, INACTIVE_MID, INACTIVE_DARK, INACTIVE_INNER)[d]


def frame_pixel(x, y, w, h, active):
    """Colour of window pixel (x, y) of a w x h window's frame; magenta where
    the window is cut away. Client pixels are never asked for."""
    outline = OUTLINE if active else INACTIVE_OUTLINE
    # Rounded top corners, cut by the region built from the border images.
    if y < TOP_RADIUS and (x < TOP_RADIUS or x > w - 1 - TOP_RADIUS):
        cx = TOP_RADIUS if x < TOP_RADIUS else w - 1 - TOP_RADIUS
        d = math.hypot(x - cx, y - TOP_RADIUS)
        if d > TOP_RADIUS + 0.45:
            return MAGENTA
        if d > TOP_RADIUS - 0.55:
            return outline
    # Slightly rounded bottom corners, inside the side borders' fixed ends.
    r = BOTTOM_RADIUS
    cy = h - 1 - r
    if y > cy and (x < r or x > w - 1 - r):
        cx = r if x < r else w - 1 - r
        d = math.hypot(x - cx, y - cy)
        if d > r + 0.45:
            return MAGENTA
        if d > r - 0.55:
            return outline
    if y < CAPTION_H:
        if x == 0 or x == w - 1 or y == 0:
            return outline
        return caption_colour(y, active)
    d = min(x, w - 1 - x, h - 1 - y)
    return border_ring(min(d, BORDER - 1), active)


def frame_piece(x0, y0, pw, ph, w, h, active):
    c = Canvas(pw, ph)
    for y in range(ph):
        for x in range(pw):
            c.px[y][x] = frame_pixel(x0 + x, y0 + y, w, h, active)
    return c


def draw_top():
    """Caption strip between the side borders; active frame above inactive."""
    return stacked([frame_piece(BORDER, 0, FRAME_W - 2 * BORDER, CAPTION_H, FRAME_W, FRAME_H, a)
                    for a in (True, False)])


def draw_bottom():
    """Bottom strip between the side borders; active frame above inactive."""
    return stacked([frame_piece(BORDER, FRAME_H - BORDER, FRAME_W - 2 * BORDER, BORDER,
                                FRAME_W, FRAME_H, a) for a in (True, False)])


def draw_left():
    """Left border, full window height; active and inactive side by side."""
    return side_by_side([frame_piece(0, 0, BORDER, FRAME_H, FRAME_W, FRAME_H, a) for a in (True, False)])


def draw_right():
    return side_by_side([frame_piece(FRAME_W - BORDER, 0, BORDER, FRAME_H, FRAME_W, FRAME_H, a)
                         for a in (True, False)])


# ---------------------------------------------------------------------------
# Caption buttons

CLOSE = ["##...##",
         "###.###",
         ".#####.",
         "..###..",
         ".#####.",
         "###.###",
         "##...##"]
MAXIMISE = ["#######",
            "#######",
            "#.....#",
            "#.....#",
            "#.....#",
            "#.....#",
            "#######"]
MINIMISE = [".......",
            ".......",
            ".......",
            ".......",
            ".......",
            ".#####.",
            ".#####."]
RESTORE = ["..#####",
           "..#####",
           "#####.#",
           "#####.#",
           "#...###",
           "#...#..",
           "#####.."]

# Face colours of a caption button per look: (outline, top, bottom, glyph, glyph shadow).
CAPTION_LOOKS = {
    "normal": ((22, 32, 46), (128, 156, 188), (70, 98, 132), WHITE, (30, 44, 62)),
    "hot": ((30, 52, 84), (178, 204, 232), (96, 132, 176), WHITE, (40, 64, 96)),
    "pressed": ((16, 24, 36), (52, 76, 106), (92, 120, 156), (226, 234, 244), None),
    "inactive": ((126, 132, 140), (232, 234, 237), (196, 200, 206), (92, 98, 106), None),
    "disabled": ((92, 104, 118), (152, 166, 182), (128, 142, 160), (182, 192, 204), None),
    "inactive_hot": ((110, 126, 146), (246, 248, 251), (206, 216, 228), (52, 70, 94), None),
}
CLOSE_HOT = ((96, 24, 20), (236, 140, 124), (184, 54, 40), WHITE, (100, 28, 20))
CLOSE_PRESSED = ((70, 14, 10), (140, 36, 26), (190, 70, 54), (250, 230, 226), None)


def caption_button_face(w, h, look, glyph):
    outline, top, bottom, ink, shadow = look
    c = Canvas(w, h)
    rounded_box(c, 0, 0, w, h, 2, outline, glossy(top, bottom, h))
    pressed = look in (CAPTION_LOOKS["pressed"], CLOSE_PRESSED)
    centred_glyph(c, glyph, 0, 0, w, h, ink, shadow, shift=1 if pressed else 0)
    return c


def caption_button_frames(glyph, is_close):
    """Six frames: normal, pressed, hot, inactive window, disabled, hot on an
    inactive window (the engine draws frames 1 to 4)."""
    looks = [CAPTION_LOOKS["normal"],
             CLOSE_PRESSED if is_close else CAPTION_LOOKS["pressed"],
             CLOSE_HOT if is_close else CAPTION_LOOKS["hot"],
             CAPTION_LOOKS["inactive"], CAPTION_LOOKS["disabled"], CAPTION_LOOKS["inactive_hot"]]
    return side_by_side([caption_button_face(11, 12, look, glyph) for look in looks])


def draw_button0():
    return caption_button_frames(CLOSE, True)


def draw_button1():
    return caption_button_frames(MAXIMISE, False)


def draw_button2():
    return caption_button_frames(MINIMISE, False)


def draw_mdibutton():
    """Controls of a maximised MDI child: minimise, restore, close, four
    frames each (normal, pressed, inactive, hot)."""
    frames = []
    for glyph, is_close in ((MINIMISE, False), (RESTORE, False), (CLOSE, True)):
        looks = [CAPTION_LOOKS["normal"],
                 CLOSE_PRESSED if is_close else CAPTION_LOOKS["pressed"],
                 CAPTION_LOOKS["inactive"],
                 CLOSE_HOT if is_close else CAPTION_LOOKS["hot"]]
        frames += [caption_button_face(15, 14, look, glyph) for look in looks]
    return side_by_side(frames)


# ---------------------------------------------------------------------------
# Push buttons, tool bars, combo and header pieces


def control_face(w, h, state, radius=3, outside=FACE):
    """A light metal face for the states normal, pressed, disabled, hot and
    focused; `outside` fills the cut-off corners."""
    looks = {
        "normal": (CTRL_OUTLINE, CTRL_TOP, CTRL_BOTTOM),
        "focused": (CTRL_OUTLINE, CTRL_TOP, CTRL_BOTTOM),
        "hot": (HOT_OUTLINE, HOT_TOP, HOT_BOTTOM),
        "pressed": (PRESSED_OUTLINE, PRESSED_TOP, PRESSED_BOTTOM),
        "disabled": (DISABLED_OUTLINE, DISABLED_TOP, DISABLED_BOTTOM),
    }
    outline, top, bottom = looks[state]
    if state == "pressed":
        body = vertical(top, bottom, h)
    elif state == "disabled":
        body = vertical(top, bottom, h)
    else:
        body = glossy(top, bottom, h, gloss=0.6)
    c = Canvas(w, h)
    rounded_box(c, 0, 0, w, h, radius, outline, body, outside)
    if state in ("normal", "hot", "focused"):
        # a bright rim just inside the top edge
        for x in range(radius, w - radius):
            c.put(x, 1, lighten(c.get(x, 1), 0.7))
    if state == "pressed":
        for x in range(2, w - 2):  # inner shadow under the top edge
            c.put(x, 1, darken(c.get(x, 1), 0.18))
    if state == "focused":
        for x in range(2, w - 2):
            c.put(x, 2, FOCUS_RING)
            c.put(x, h - 3, FOCUS_RING)
        for y in range(2, h - 2):
            c.put(2, y, FOCUS_RING)
            c.put(w - 3, y, FOCUS_RING)
    return c


def draw_button():
    """Push button: normal, pressed, disabled, hot, focused (55 x 22 each)."""
    return side_by_side([control_face(55, 22, s) for s in ("normal", "pressed", "disabled", "hot", "focused")])


DOWN = ["#######",
        ".#####.",
        "..###..",
        "...#..."]


def draw_combobutton():
    """Drop-down button of a combo box: normal, pressed, disabled, hot. The
    button sits inside the edit frame's two-pixel border, so that border is
    left magenta."""
    frames = []
    for state in ("normal", "pressed", "disabled", "hot"):
        f = Canvas(18, 21)
        face = control_face(16, 17, state, radius=2, outside=MAGENTA)
        f.blit(face, 0, 2)
        ink = GLYPH_DISABLED if state == "disabled" else GLYPH_INK
        centred_glyph(f, DOWN, 0, 2, 16, 17, ink, shift=1 if state == "pressed" else 0)
        frames.append(f)
    return side_by_side(frames)


def draw_sunkedge():
    """Edit frame: normal, focused (pressed), disabled, hot; 2-pixel border
    around a white field."""
    looks = [((134, 150, 168), (214, 222, 232), WHITE),
             ((80, 122, 176), (200, 216, 236), WHITE),
             ((190, 192, 196), (232, 232, 233), (244, 244, 244)),
             ((104, 142, 190), (210, 222, 238), WHITE)]
    frames = []
    for outline, inner, field in looks:
        f = Canvas(10, 9, field)
        for y in range(9):
            for x in range(10):
                if x == 0 or y == 0 or x == 9 or y == 8:
                    f.put(x, y, outline)
                elif x == 1 or y == 1:
                    f.put(x, y, inner)
        frames.append(f)
    return side_by_side(frames)


def header_face(w, h, state):
    tops = {"normal": ((250, 251, 253), (214, 221, 230)),
            "pressed": ((196, 206, 220), (226, 231, 238)),
            "disabled": ((240, 240, 241), (228, 229, 231)),
            "hot": ((244, 249, 255), (196, 216, 240)),
            "selected": ((232, 238, 246), (200, 212, 228))}
    top, bottom = tops[state]
    c = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            c.put(x, y, ramp(top, bottom, y, h - 2))
    line = {"hot": (86, 136, 200), "selected": (110, 140, 180)}.get(state, (168, 180, 196))
    for x in range(w):
        c.put(x, h - 2, line)
        c.put(x, h - 1, darken(line, 0.2))
    for y in range(2, h - 3):  # section separator, etched
        c.put(w - 2, y, (170, 182, 198))
        c.put(w - 1, y, WHITE)
    if state != "pressed":
        for x in range(w - 2):
            c.put(x, 0, WHITE)
    return c


def draw_headerbar():
    """Header section: normal, pressed, disabled, hot, selected (64 x 17)."""
    return side_by_side([header_face(64, 17, s) for s in ("normal", "pressed", "disabled", "hot", "selected")])


# ---------------------------------------------------------------------------
# Check boxes, radio buttons, progress bar

CHECK_MARK = ["......#",
              ".....##",
              "#...###",
              "##.###.",
              "#####..",
              ".###...",
              "..#...."]


def check_box(checked, enabled):
    c = Canvas(13, 13)
    outline = (86, 104, 126) if enabled else (172, 176, 182)
    top, bottom = ((214, 222, 232), WHITE) if enabled else ((232, 232, 233), (242, 242, 242))
    rounded_box(c, 0, 0, 13, 13, 1, outline, lambda x, y: ramp(top, bottom, y, 12))
    for p in ((0, 0), (12, 0), (0, 12), (12, 12)):
        c.put(p[0], p[1], MAGENTA)
    if checked:
        ink = (30, 62, 116) if enabled else GLYPH_DISABLED
        draw_glyph(c, CHECK_MARK, 3, 3, ink)
    return c


def draw_check():
    """Check box: unchecked, checked, unchecked disabled, checked disabled
    (also shown for the indeterminate state)."""
    return side_by_side([check_box(False, True), check_box(True, True),
                         check_box(False, False), check_box(True, False)])


def radio_box(checked, enabled):
    c = Canvas(13, 13)
    outline = (86, 104, 126) if enabled else (172, 176, 182)
    top, bottom = ((206, 216, 228), WHITE) if enabled else ((230, 230, 231), (242, 242, 242))
    for y in range(13):
        for x in range(13):
            d = math.hypot(x - 6, y - 6)
            if d > 6.4:
                continue
            c.put(x, y, outline if d > 5.4 else ramp(top, bottom, y, 12))
    if checked:
        ink = (34, 72, 136) if enabled else GLYPH_DISABLED
        for y in range(13):
            for x in range(13):
                d = math.hypot(x - 6, y - 6)
                if d < 2.7:
                    c.put(x, y, ink)
        if enabled:
            c.put(5, 5, (120, 160, 214))
    return c


def draw_radio():
    """Radio button: unchecked, checked, unchecked disabled, checked disabled."""
    return side_by_side([radio_box(False, True), radio_box(True, True),
                         radio_box(False, False), radio_box(True, False)])


def draw_progress():
    """Progress bar: the trough, then the fill (20 x 13 each). The middle row
    is the one repeated when the bar is taller than the image."""
    trough = Canvas(20, 13)

    def trough_body(x, y):
        if y < 6:
            return mix((196, 203, 212), (232, 235, 239), y / 5)
        if y == 6:
            return (236, 238, 241)
        return mix((238, 240, 243), (248, 249, 250), (y - 7) / 5)

    rounded_box(trough, 0, 0, 20, 13, 3, (120, 134, 152), trough_body)
    fill = Canvas(20, 13)

    def fill_body(x, y):
        if y == 1:
            return (196, 222, 248)
        if y < 6:
            return mix((150, 192, 238), (104, 152, 214), (y - 2) / 3)
        if y == 6:
            return (74, 122, 188)
        return mix((70, 118, 184), (96, 146, 206), (y - 7) / 5)

    rounded_box(fill, 0, 0, 20, 13, 3, (36, 66, 116), fill_body)
    return side_by_side([trough, fill])


# ---------------------------------------------------------------------------
# Group boxes and tabs


def rounded_outline(c, x0, y0, w, h, r, colour):
    for y in range(h):
        for x in range(w):
            if corner_state(x, y, w, h, r) == "edge":
                c.put(x0 + x, y0 + y, colour)


def group_frame(enabled):
    c = Canvas(64, 64, FACE)
    dark = (150, 162, 178) if enabled else (196, 199, 204)
    # An etched rounded rectangle whose top line runs through the caption band.
    rounded_outline(c, 1, 9, 63, 55, 3, WHITE)
    rounded_outline(c, 0, 8, 63, 55, 3, dark)
    return c


def draw_groupboxedge():
    """Group box frame: enabled, disabled (64 x 64, caption band 18 high)."""
    return side_by_side([group_frame(True), group_frame(False)])


def draw_grouptop():
    """Group box caption plate: a small brushed-steel label."""
    c = Canvas(64, 19)
    rounded_box(c, 0, 0, 64, 19, 3, (120, 138, 160), glossy((234, 239, 245), (196, 208, 222), 19, gloss=0.5), FACE)
    return c


def tab_face(state):
    looks = {"normal": (CTRL_OUTLINE, (240, 243, 247), (208, 216, 226)),
             "selected": (CTRL_OUTLINE, (252, 253, 254), FACE),
             "disabled": (DISABLED_OUTLINE, (236, 236, 237), (224, 224, 226)),
             "hot": (HOT_OUTLINE, (242, 248, 255), (192, 212, 238)),
             "focused": (HOT_OUTLINE, (252, 253, 254), FACE)}
    outline, top, bottom = looks[state]
    c = Canvas(40, 19, FACE)
    h = 19 if state in ("selected", "focused") else 18
    for y in range(h):
        for x in range(40):
            s = corner_state(x, y, 40, h + 3, 3)  # only the top corners are round
            if s == "out":
                continue
            c.put(x, y, outline if s == "edge" else ramp(top, bottom, y, h))
    if state in ("selected", "focused"):
        accent = (70, 116, 176) if state == "selected" else (42, 96, 170)
        for x in range(2, 38):
            c.put(x, 1, accent)
            c.put(x, 2, lighten(accent, 0.45))
        for x in range(1, 39):
            c.put(x, 18, FACE)  # open into the pane below
    else:
        for x in range(40):
            c.put(x, 18, CTRL_OUTLINE)  # the pane's top edge
    return c


def draw_tabs():
    """Tab: normal, selected, disabled, hot, selected with focus (40 x 19)."""
    return side_by_side([tab_face(s) for s in ("normal", "selected", "disabled", "hot", "focused")])


def draw_tabborders():
    """Frame of a tab control's pane: outline, bright rim, soft shadow."""
    c = Canvas(29, 28, FACE)
    for y in range(28):
        for x in range(29):
            if x == 0 or y == 0 or x == 28 or y == 27:
                c.put(x, y, CTRL_OUTLINE)
            elif x == 1 or y == 1:
                c.put(x, y, WHITE)
            elif x == 27 or y == 26:
                c.put(x, y, (196, 201, 208))
    return c


# ---------------------------------------------------------------------------
# Menus


def draw_menu():
    """Menu bar: on an active window, on an inactive one (35 x 38 each)."""
    frames = []
    for top, bottom, line in (((242, 245, 249), (212, 219, 228), (164, 176, 192)),
                              ((240, 240, 241), (224, 225, 227), (190, 192, 196))):
        f = Canvas(35, 38)
        for y in range(38):
            for x in range(35):
                f.put(x, y, ramp(top, bottom, y, 37))
        for x in range(35):
            f.put(x, 0, WHITE)
            f.put(x, 37, line)
        frames.append(f)
    return side_by_side(frames)


def draw_menuskin():
    """Popup menu background: graphite outline, steel gutter at the left."""
    c = Canvas(50, 50, (250, 251, 252))
    for y in range(50):
        for x in range(50):
            if x == 0 or y == 0 or x == 49 or y == 49:
                c.put(x, y, (74, 90, 112))
            elif x == 1 or y == 1:
                c.put(x, y, WHITE)
            elif x == 48 or y == 48:
                c.put(x, y, (206, 212, 220))
            elif 2 <= x <= 13:
                c.put(x, y, mix((190, 204, 222), (232, 237, 244), (x - 2) / 11))
            elif x == 14:
                c.put(x, y, (214, 221, 230))
    return c


def draw_select():
    """Menu items: normal (empty), separator, selected disabled, selected,
    pressed (75 x 23 each). The separator line lies in the bottom rows,
    which is where short separator items take their slice from."""
    normal = Canvas(75, 23)
    separator = Canvas(75, 23)
    for x in range(20, 73):
        separator.put(x, 18, (178, 188, 202))
        separator.put(x, 19, WHITE)

    def bar(outline, top, bottom):
        f = Canvas(75, 23)
        rounded_box(f, 0, 0, 75, 21, 2, outline, glossy(top, bottom, 21, gloss=0.45))
        return f

    return side_by_side([normal, separator,
                         bar((168, 172, 180), (238, 239, 241), (214, 217, 222)),
                         bar((90, 124, 186), (214, 228, 248), (160, 190, 234)),
                         bar((60, 94, 156), (170, 196, 234), (132, 166, 220))])


# ---------------------------------------------------------------------------
# Scroll bars

LEFT = ["...#",
        "..##",
        ".###",
        "####",
        ".###",
        "..##",
        "...#"]
RIGHT = [row[::-1] for row in LEFT]
UP = ["...#...",
      "..###..",
      ".#####.",
      "#######"]
DOWN_ARROW = list(reversed(UP))

THUMB_LOOKS = {"normal": ((72, 92, 118), (170, 188, 210)),
               "pressed": ((44, 62, 88), (128, 150, 180)),
               "hot": ((62, 96, 140), (196, 214, 236)),
               "disabled": ((176, 180, 186), (226, 227, 229))}


def pillow(size, look):
    """A 16 x 16 rounded metal tile whose shading stays within 4 pixels of
    the edge, so its centre may be stretched or tiled either way."""
    outline, body = THUMB_LOOKS[look]
    c = Canvas(size, size)

    def shade(x, y):
        dt, dl, db, dr = y, x, size - 1 - y, size - 1 - x
        d = min(dt, dl, db, dr)
        if d >= 4:
            return body
        amount = (0.55, 0.3, 0.12)[d - 1] if d >= 1 else 0
        if d in (dt, dl):
            return lighten(body, amount)
        return darken(body, amount * 0.5)

    rounded_box(c, 0, 0, size, size, 2, outline, shade)
    return c


def arrow_button(glyph, look):
    c = pillow(16, look)
    ink = GLYPH_DISABLED if look == "disabled" else GLYPH_INK
    centred_glyph(c, glyph, 0, 0, 16, 16, ink, shift=1 if look == "pressed" else 0)
    return c


def grip(vertical_bar, look):
    """Three etched ridges across the thumb."""
    c = Canvas(16, 16)
    dark = darken(THUMB_LOOKS[look][1], 0.35)
    for i in range(3):
        p = 5 + 2 * i
        for q in range(5, 11):
            if vertical_bar:  # horizontal ridges on a vertical thumb
                c.put(q, p, dark)
                c.put(q, p + 1, WHITE)
            else:
                c.put(p, q, dark)
                c.put(p + 1, q, WHITE)
    return c


def size_grip():
    c = Canvas(16, 16)
    for y in range(16):
        for x in range(16):
            if x + y >= 17 and (x + y) % 4 == 1 and x < 15 and y < 15:
                c.put(x, y, (120, 134, 152))
                c.put(x + 1, y, WHITE)
    return c


def draw_arrows():
    """Scroll bar strip of 23 frames of 16 x 16: left, right, up, down arrows
    (normal, pressed, disabled, hot each), the horizontal and the vertical
    thumb grip (normal, pressed, hot) and a size grip."""
    frames = []
    for glyph in (LEFT, RIGHT, UP, DOWN_ARROW):
        frames += [arrow_button(glyph, s) for s in ("normal", "pressed", "disabled", "hot")]
    frames += [grip(False, s) for s in ("normal", "pressed", "hot")]
    frames += [grip(True, s) for s in ("normal", "pressed", "hot")]
    frames.append(size_grip())
    return side_by_side(frames)


TRAY_LOOKS = {"normal": ((176, 186, 198), (208, 214, 222), (236, 239, 243)),
              "pressed": ((150, 162, 178), (184, 194, 206), (212, 218, 226)),
              "disabled": ((206, 208, 212), (230, 231, 232), (238, 238, 239)),
              "hot": ((160, 178, 200), (206, 218, 234), (234, 240, 248))}


def tray_colour(d, n, look):
    """Channel colour at depth d of n across the bar: a recessed groove."""
    edge, near, far = TRAY_LOOKS[look]
    if d == 0 or d == n - 1:
        return edge
    return mix(near, far, (d - 1) / (n - 3))


def draw_hscrolltray():
    """Horizontal track: normal, pressed, disabled, hot (20 x 16)."""
    frames = []
    for look in ("normal", "pressed", "disabled", "hot"):
        f = Canvas(20, 16)
        for y in range(16):
            for x in range(20):
                f.put(x, y, tray_colour(y, 16, look))
        frames.append(f)
    return side_by_side(frames)


def draw_vscrolltray():
    """Vertical track: normal, pressed, disabled, hot (16 x 25)."""
    frames = []
    for look in ("normal", "pressed", "disabled", "hot"):
        f = Canvas(16, 25)
        for y in range(25):
            for x in range(16):
                f.put(x, y, tray_colour(x, 16, look))
        frames.append(f)
    return side_by_side(frames)


def draw_scrollbutton():
    """Scroll thumb: normal, pressed, hot (16 x 16)."""
    return side_by_side([pillow(16, s) for s in ("normal", "pressed", "hot")])


# ---------------------------------------------------------------------------
# Dialog background


def draw_plain():
    """Dialog background: ButtonFace with a faint brushed grain."""
    c = Canvas(50, 50, FACE)
    noise = Lcg(0x1D1)
    for y in range(50):
        row = noise.next(5) - 2
        for x in range(50):
            v = 221 + row + (noise.next(3) - 1)
            c.put(x, y, (v, v, min(255, v + 1)))
    return c


# ---------------------------------------------------------------------------
# BMP writing and checking

DRAWERS = {
    "top.bmp": draw_top, "bottom.bmp": draw_bottom, "left.bmp": draw_left,
    "right.bmp": draw_right, "menu.bmp": draw_menu, "plain.bmp": draw_plain,
    "button.bmp": draw_button, "check.bmp": draw_check, "radio.bmp": draw_radio,
    "progress.bmp": draw_progress, "groupboxedge.bmp": draw_groupboxedge,
    "tabborders.bmp": draw_tabborders, "tabs.bmp": draw_tabs,
    "combobutton.bmp": draw_combobutton, "sunkedge.bmp": draw_sunkedge,
    "headerbar.bmp": draw_headerbar, "select.bmp": draw_select,
    "menuskin.bmp": draw_menuskin, "arrows.bmp": draw_arrows,
    "hscrolltray.bmp": draw_hscrolltray, "vscrolltray.bmp": draw_vscrolltray,
    "scrollbutton.bmp": draw_scrollbutton, "mdibutton.bmp": draw_mdibutton,
    "grouptop.bmp": draw_grouptop, "button0.bmp": draw_button0,
    "button1.bmp": draw_button1, "button2.bmp": draw_button2,
}

FILE_HEADER = 14
INFO_HEADER = 40


def bmp_bytes(canvas, bpp):
    """Uncompressed bottom-up BMP, no palette; 32-bit pixels carry a zero
    fourth byte (unused in BI_RGB images)."""
    bytes_pp = bpp // 8
    stride = (canvas.width * bytes_pp + 3) & ~3
    data = bytearray()
    for row in reversed(canvas.px):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r)) + (b"\0" if bytes_pp == 4 else b"")
        line += b"\0" * (stride - len(line))
        data += line
    offset = FILE_HEADER + INFO_HEADER
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", INFO_HEADER, canvas.width, canvas.height, 1, bpp, 0,
                       len(data), 2835, 2835, 0, 0)
    return header + info + data


def check_file(path, name):
    """Returns a list of problems with one written file."""
    with open(path, "rb") as f:
        blob = f.read()
    problems = []
    if len(blob) != FILE_SIZES[name]:
        problems.append("%s: %d bytes, expected %d" % (name, len(blob), FILE_SIZES[name]))
    if len(blob) < FILE_HEADER + INFO_HEADER or blob[:2] != b"BM":
        return problems + ["%s: not a BMP" % name]
    size, _, _, offset = struct.unpack_from("<IHHI", blob, 2)
    hdr, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", blob, FILE_HEADER)
    want_w, want_h, want_bpp = SIZES[name]
    if (w, h, bpp) != (want_w, want_h, want_bpp):
        problems.append("%s: %dx%d %d-bit, expected %dx%d %d-bit" % (name, w, h, bpp, want_w, want_h, want_bpp))
    if size != len(blob) or offset != FILE_HEADER + INFO_HEADER or hdr != INFO_HEADER:
        problems.append("%s: inconsistent header" % name)
    if planes != 1 or comp != 0:
        problems.append("%s: not an uncompressed single-plane image" % name)
    return problems


# Elements drawn opaquely must not show the transparent key anywhere.
OPAQUE = ("bottom.bmp", "button.bmp", "sunkedge.bmp", "tabs.bmp", "tabborders.bmp",
          "headerbar.bmp", "grouptop.bmp", "groupboxedge.bmp", "menu.bmp", "plain.bmp",
          "menuskin.bmp", "hscrolltray.bmp", "vscrolltray.bmp")

# Pixels that must be transparent: (name, frame count, stacked, x, y in the frame).
# The window's rounded top corners are cut out of the region by these.
MUST_BE_KEY = (("left.bmp", 2, False, 0, 0),
               ("right.bmp", 2, False, 4, 0), ("left.bmp", 2, False, 0, 192),
               ("right.bmp", 2, False, 4, 192), ("button0.bmp", 6, False, 0, 0),
               ("check.bmp", 4, False, 0, 0), ("radio.bmp", 4, False, 0, 0),
               ("progress.bmp", 2, False, 0, 0), ("combobutton.bmp", 4, False, 17, 0),
               ("arrows.bmp", 23, False, 0, 0), ("select.bmp", 5, False, 0, 22))


def read_pixels(blob):
    """Top-down rows of (r, g, b) of an uncompressed 24- or 32-bit BMP."""
    offset = struct.unpack_from("<I", blob, 10)[0]
    _, w, h, _, bpp = struct.unpack_from("<IiiHH", blob, FILE_HEADER)
    step = bpp // 8
    stride = (w * step + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):
        base = offset + y * stride
        rows.append([(blob[base + x * step + 2], blob[base + x * step + 1], blob[base + x * step])
                     for x in range(w)])
    return rows


def check_art(folder):
    """Where the key colour must and must not appear."""
    problems = []
    pixels = {}
    for name in SIZES:
        with open(os.path.join(folder, name), "rb") as f:
            pixels[name] = read_pixels(f.read())
    for name in OPAQUE:
        if any(MAGENTA in row for row in pixels[name]):
            problems.append("%s: drawn opaquely but holds magenta" % name)
    for name, count, is_stacked, x, y in MUST_BE_KEY:
        w, h, _ = SIZES[name]
        for k in range(count):
            px, py = (x, y + k * (h // count)) if is_stacked else (x + k * (w // count), y)
            if pixels[name][py][px] != MAGENTA:
                problems.append("%s: frame %d pixel (%d, %d) is not transparent" % (name, k + 1, x, y))
    if any(row[x] != MAGENTA for row in pixels["select.bmp"] for x in range(75)):
        problems.append("select.bmp: the normal menu item frame must be fully transparent")
    return problems


def check_folder(folder):
    problems = []
    for name in SIZES:
        problems += check_file(os.path.join(folder, name), name)
    if not problems:
        problems += check_art(folder)
    return problems


def main(argv):
    if len(argv) > 1 and argv[1] == "--check":
        folder = argv[2] if len(argv) > 2 else "assets/skin"
        problems = check_folder(folder)
        for p in problems:
            print(p)
        print("%d bitmaps checked, %d problems" % (len(SIZES), len(problems)))
        return 1 if problems else 0
    folder = argv[1] if len(argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "skin")
    os.makedirs(folder, exist_ok=True)
    for name, draw in DRAWERS.items():
        canvas = draw()
        want_w, want_h, bpp = SIZES[name]
        if (canvas.width, canvas.height) != (want_w, want_h):
            raise SystemExit("%s drew %dx%d, expected %dx%d" % (name, canvas.width, canvas.height, want_w, want_h))
        with open(os.path.join(folder, name), "wb") as f:
            f.write(bmp_bytes(canvas, bpp))
    problems = check_folder(folder)
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
