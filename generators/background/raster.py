# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Raster helpers for the editor picture: blurs, rounded masks, relief shading and text masks.
#
# Every length the helpers take is in picture units (the 1x picture's pixels); they draw on a
# canvas of SCALE pixels per unit, so one drawing gives the picture at 1x, 2x or 3x.

import numpy as np
from PIL import Image, ImageDraw

from layout import PICTURE_SIZE

SCALE = 1


def use_scale(scale):
    global SCALE
    SCALE = scale


def canvas_size():
    """(width, height) of the canvas in pixels."""
    return PICTURE_SIZE[0] * SCALE, PICTURE_SIZE[1] * SCALE


def blur(a, sigma):
    """Separable Gaussian blur with clamped edges."""
    sigma = sigma * SCALE
    if sigma <= 0:
        return a.copy()
    r = max(1, int(3 * sigma + 0.5))
    taps = np.exp(-0.5 * (np.arange(-r, r + 1) / sigma) ** 2)
    taps /= taps.sum()
    for axis in (0, 1):
        padded = np.pad(a, [(r, r) if i == axis else (0, 0) for i in (0, 1)], mode="edge")
        n = a.shape[axis]
        a = sum(t * np.take(padded, range(i, i + n), axis=axis) for i, t in enumerate(taps))
    return a


def shift(a, dx, dy):
    dx, dy = dx * SCALE, dy * SCALE
    out = np.zeros_like(a)
    h, w = a.shape
    out[max(dy, 0):h + min(dy, 0), max(dx, 0):w + min(dx, 0)] = \
        a[max(-dy, 0):h - max(dy, 0), max(-dx, 0):w - max(dx, 0)]
    return out


def rect_mask(rects):
    width, height = canvas_size()
    m = np.zeros((height, width))
    for x0, y0, x1, y1 in rects:
        m[y0 * SCALE:y1 * SCALE, x0 * SCALE:x1 * SCALE] = 1.0
    return m


def rounded(rects, radius):
    """Anti-aliased mask of a union of rectangles with every corner rounded."""
    sigma = radius * 0.55
    edge_slope = 1.0 / (sigma * SCALE * np.sqrt(2 * np.pi))   # of the blurred step, per pixel
    b = blur(rect_mask(rects), sigma)
    return np.clip((b - 0.5) / edge_slope + 0.5, 0.0, 1.0)


def relief(alpha, softness):
    """Lambert shading of alpha taken as a height field, lit from the top left."""
    h = blur(alpha, softness)
    gy, gx = np.gradient(h)
    # The gradient is per pixel; per picture unit it is SCALE times as steep.
    return (gx + gy) * softness * 2.0 * SCALE


def over(img, colour, alpha):
    a = np.clip(alpha, 0.0, 1.0)[..., None]
    img *= 1.0 - a
    img += a * colour
    return img


def text_mask(text, fnt, cx, cy, vertical=False, tracking=0.0):
    """Mask of text centred on (cx, cy); cy is the middle of the capitals. The font is already
    sized in pixels; the tracking is in picture units."""
    tracking = tracking * SCALE
    cap = -fnt.getbbox("H", anchor="ls")[1]
    advances = [fnt.getlength(ch) + tracking for ch in text]
    length = sum(advances) - tracking if tracking else fnt.getlength(text)
    pad = 4 * SCALE
    w, h = int(length + 2 * pad), int(fnt.size * 1.6)
    tile = Image.new("L", (w, h))
    draw = ImageDraw.Draw(tile)
    if tracking == 0:   # whole string, so the font's kerning applies
        draw.text((w / 2, h / 2 + cap / 2), text, fill=255, font=fnt, anchor="ms")
    else:
        x = (w - length) / 2
        for ch, advance in zip(text, advances):
            draw.text((x, h / 2 + cap / 2), ch, fill=255, font=fnt, anchor="ls")
            x += advance
    if vertical:
        tile = tile.transpose(Image.Transpose.ROTATE_90)
    canvas = Image.new("L", canvas_size())
    canvas.paste(tile, (int(round(cx * SCALE - tile.width / 2)), int(round(cy * SCALE - tile.height / 2))))
    return np.asarray(canvas, float) / 255.0
