#!/usr/bin/env python3
"""Draws the main window's banner, assets/images/banner.jpg.

A 415 x 60 picture in the colours of the embedded skin (iridium.ini): the
caption's gradient from ActiveTitle to GradientActiveTitle, a small database
logo, the program's name and version, a line on what the program does and an
invitation to click for the author's home page. ImageMagick (`convert`) and
the WenQuanYi Micro Hei and DejaVu fonts draw it; the output is committed, so
the build never runs this script.

    make_banner.py [OUT.jpg]     draw the banner (default: the committed one)
    make_banner.py --check FILE  verify size, colour components and coding
"""
import os
import struct
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 415, 60

# Colours of iridium.ini's [Colours] section.
ACTIVE_TITLE = "rgb(0,0,128)"
GRADIENT_ACTIVE_TITLE = "rgb(16,132,208)"
TITLE_TEXT = "rgb(255,255,255)"
BUTTON_FACE = "rgb(221,221,221)"
INFO_WINDOW = "rgb(255,255,225)"
HILIGHT = "rgb(132,130,247)"

LATIN_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
CHINESE = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

NAME = "SondrelkV1.02.07"
WHAT_IT_DOES = "检测本机全部 SQL Server 实例的端口、版本与补丁"
INVITATION = "点击这里，访问作者主页 »"

ROOT = os.path.normpath(os.path.join(os.path.dirname(__file__), "..", ".."))
DEFAULT_OUT = os.path.join(ROOT, "assets", "images", "banner.jpg")


def logo_commands(x, y):
    """A database drum: three stacked discs with a highlight, 30 x 40."""
    cmds = ["-stroke", ACTIVE_TITLE, "-strokewidth", "1"]
    for i, top in enumerate((y + 26, y + 14, y + 2)):
        shade = ("rgb(200,214,228)", "rgb(222,232,242)", "rgb(244,248,252)")[i]
        cmds += ["-fill", shade,
                 "-draw", f"rectangle {x},{top + 5} {x + 30},{top + 13}",
                 "-draw", f"ellipse {x + 15},{top + 13} 15,5 0,180",
                 "-draw", f"ellipse {x + 15},{top + 5} 15,5 0,360"]
    # The band that marks the drum as a server: a Hilight stripe on the top disc.
    cmds += ["-stroke", "none", "-fill", HILIGHT,
             "-draw", f"ellipse {x + 15},{y + 7} 8,2 0,360"]
    return cmds


def draw(out):
    with tempfile.TemporaryDirectory() as tmp:
        png = os.path.join(tmp, "banner.png")
        cmd = ["convert", "-size", f"{HEIGHT}x{WIDTH}",
               f"gradient:{GRADIENT_ACTIVE_TITLE}-{ACTIVE_TITLE}", "-rotate", "90"]
        cmd += logo_commands(9, 9)
        cmd += ["-stroke", "none",
                "-font", LATIN_BOLD, "-pointsize", "17", "-fill", TITLE_TEXT,
                "-annotate", "+50+22", NAME,
                "-font", CHINESE, "-pointsize", "12", "-fill", BUTTON_FACE,
                "-annotate", "+50+39", WHAT_IT_DOES,
                "-fill", INFO_WINDOW, "-annotate", "+50+55", INVITATION,
                png]
        subprocess.run(cmd, check=True)
        # Baseline, three components, no metadata: what the program expects.
        subprocess.run(["convert", png, "-strip", "-type", "TrueColor", "-colorspace", "sRGB",
                        "-interlace", "none", "-sampling-factor", "1x1", "-quality", "92",
                        f"jpeg:{out}"], check=True)


def jpeg_frame(data):
    """(marker, width, height, components) of the first frame header."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("not a JPEG file")
    at = 2
    while at + 4 <= len(data):
        if data[at] != 0xFF:
            raise ValueError(f"no marker at offset {at}")
        marker = data[at + 1]
        length = struct.unpack(">H", data[at + 2:at + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            _, height, width, components = struct.unpack(">BHHB", data[at + 4:at + 10])
            return marker, width, height, components
        at += 2 + length
    raise ValueError("no frame header")


def check(path):
    with open(path, "rb") as f:
        marker, width, height, components = jpeg_frame(f.read())
    problems = []
    if (width, height) != (WIDTH, HEIGHT):
        problems.append(f"size {width} x {height}, expected {WIDTH} x {HEIGHT}")
    if components != 3:
        problems.append(f"{components} components, expected 3")
    if marker != 0xC0:
        problems.append(f"frame marker FF{marker:02X}, expected baseline FFC0")
    for p in problems:
        print(f"{path}: {p}", file=sys.stderr)
    return not problems


def main(argv):
    if len(argv) == 3 and argv[1] == "--check":
        return 0 if check(argv[2]) else 1
    out = argv[1] if len(argv) > 1 else DEFAULT_OUT
    draw(out)
    if not check(out):
        return 1
    print(f"wrote {out} ({os.path.getsize(out)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
