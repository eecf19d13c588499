"""Composes a mock window, active above inactive, from the drawn skin pieces
(borders, caption buttons, push buttons, progress bar, check and radio boxes)
the way the frame painter slices and tiles them, for looking at the art."""
import sys
import os
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_skin as m

def frame_of(c, count, k, vertical):
    if vertical:
        fh = c.height // count
        return c.crop(0, (k-1)*fh, c.width, fh)
    fw = c.width // count
    return c.crop((k-1)*fw, 0, fw, c.height)

def compose(src, w, h, l, t, r, b, tile):
    out = m.Canvas(w, h)
    sw, sh = src.width, src.height
    def sx(x):
        if x < l: return x
        if x >= w - r: return sw - (w - x)
        cw = sw - l - r
        return l + ((x - l) % cw if tile else (x - l) * cw // max(1, w - l - r))
    def sy(y):
        if y < t: return y
        if y >= h - b: return sh - (h - y)
        ch = sh - t - b
        return t + ((y - t) % ch if tile else (y - t) * ch // max(1, h - t - b))
    for y in range(h):
        for x in range(w):
            out.px[y][x] = src.px[sy(y)][sx(x)]
    return out

def over(dst, src, x0, y0):
    for y in range(src.height):
        for x in range(src.width):
            if src.px[y][x] != m.MAGENTA: dst.put(x0+x, y0+y, src.px[y][x])

def window(active, W=330, H=170):
    k = 1 if active else 2
    c = m.Canvas(W, H, m.FACE)
    c.blit(compose(frame_of(m.draw_left(), 2, k, False), 5, H, 0, 30, 0, 4, True), 0, 0)
    c.blit(compose(frame_of(m.draw_right(), 2, k, False), 5, H, 0, 24, 0, 4, True), W-5, 0)
    c.blit(compose(frame_of(m.draw_bottom(), 2, k, True), W-10, 5, 4, 0, 4, 0, True), 5, H-5)
    c.blit(compose(frame_of(m.draw_top(), 2, k, True), W-10, 22, 17, 0, 22, 0, True), 5, 0)
    fr = 1 if active else 4
    over(c, frame_of(m.draw_button0(), 6, fr, False), W-24, 8)
    over(c, frame_of(m.draw_button1(), 6, fr, False), W-35, 8)
    over(c, frame_of(m.draw_button2(), 6, fr, False), W-46, 8)
    bt = m.draw_button()
    for i in range(5):
        c.blit(compose(frame_of(bt, 5, i+1, False), 60, 25, 5, 5, 5, 5, False), 12 + i*64, 40)
    pr = m.draw_progress()
    c.blit(compose(frame_of(pr, 2, 1, False), 272, 25, 3, 6, 3, 6, True), 12, 80)
    over(c, compose(frame_of(pr, 2, 2, False), 91, 25, 3, 6, 3, 6, True), 12, 80)
    ch = m.draw_check(); ra = m.draw_radio()
    for i in range(4):
        over(c, frame_of(ch, 4, i+1, False), 12 + i*20, 120)
        over(c, frame_of(ra, 4, i+1, False), 100 + i*20, 120)
    return c

a = window(True); b = window(False)
out = m.stacked([a, m.Canvas(330, 10, (90,90,90)), b])
for y in range(out.height):
    for x in range(out.width):
        if out.px[y][x] == m.MAGENTA: out.px[y][x] = (40, 90, 60)  # desktop
open(sys.argv[1] if len(sys.argv) > 1 else 'preview.bmp', 'wb').write(m.bmp_bytes(out, 24))
