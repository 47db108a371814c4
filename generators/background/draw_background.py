#!/usr/bin/python3
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the editor's background picture at 1x, 2x and 3x and writes editor/assets/background*.jpg.

import argparse
import io
import struct
import sys
from pathlib import Path

import numpy as np
from PIL import Image, ImageCms, ImageDraw, ImageFont

import layout
import raster
from raster import blur, canvas_size, over, rect_mask, relief, rounded, shift, text_mask
from layout import PICTURE_SIZE, SLIDER_SIZE, SLIDERS, SELECTORS, PANELS, TITLES

FONT_DIR = Path("/usr/share/fonts/truetype/dejavu")
REPO = Path(__file__).resolve().parents[2]
TEXTURE_SEED = 1733
# The module embeds the files, so the 1x picture is kept near 115 KB; the search never goes above
# this, and the larger pictures never above their share of it per picture unit.
MAX_BYTES = 128 * 1024
# The pictures the editor draws from: 1x for 100 %, 2x up to 200 %, 3x above.
SCALES = (1, 2, 3)
GUTTER = np.array([150, 153, 159], float)
PANEL_TOP = np.array([222, 224, 228], float)
PANEL_BOTTOM = np.array([204, 207, 212], float)
TITLE_FACE = np.array([152, 156, 166], float)
CAPTION_INK = np.array([38, 41, 48], float)
LOGO_TOP = np.array([92, 150, 232], float)
LOGO_BOTTOM = np.array([22, 68, 168], float)


def font(name, size):
    """The face at a size in picture units."""
    return ImageFont.truetype(str(FONT_DIR / name), size * raster.SCALE)


def asset_path(scale):
    return REPO / "editor/assets" / ("background.jpg" if scale == 1 else "background_%dx.jpg" % scale)


def texture(rng):
    """Fine grain plus faint horizontal brushing, in grey levels around zero."""
    # Noise blurred over SCALE times as many pixels is SCALE times fainter, and a brushing walk
    # over SCALE times as many steps sqrt(SCALE) times stronger: both keep their 1x contrast.
    width, height = canvas_size()
    grain = blur(rng.normal(0.0, 1.0, (height, width)), 0.45) * 5.0 * raster.SCALE
    streaks = rng.normal(0.0, 1.0, (height, width))
    streaks = np.cumsum(streaks, axis=1)
    streaks -= blur(streaks, 6.0)
    streaks = blur(streaks, 0.35) * 0.3 / np.sqrt(raster.SCALE)
    return grain + streaks


def grow(rects, d):
    return [(x0 - d, y0 - d, x1 + d, y1 + d) for x0, y0, x1, y1 in rects]


def slider_rects():
    w, h = SLIDER_SIZE
    return [(x, y, x + w, y + h) for x, y, _ in SLIDERS]


def selector_rects():
    return [(x, y, x + w, y + h) for x, y, w, h in SELECTORS]


def draw_panels(img, grain):
    for rects in PANELS.values():
        alpha = rounded(rects, 7)
        outer = rounded(grow(rects, 1), 8)
        img = over(img, np.zeros(3), blur(shift(alpha, 1, 2), 1.8) * 0.45 * (1 - alpha))
        y0 = min(r[1] for r in rects)
        y1 = max(r[3] for r in rects)
        rows = np.arange(canvas_size()[1]) / raster.SCALE
        t = np.clip((rows - y0) / (y1 - y0), 0, 1)[:, None, None]
        fill = PANEL_TOP * (1 - t) + PANEL_BOTTOM * t + grain[..., None] * 0.8
        img = over(img, fill, alpha)
        img = over(img, np.array([84, 87, 94.0]), (outer - alpha) * 0.75)
        shade = relief(alpha, 1.4) * alpha
        img = over(img, np.full(3, 255.0), np.clip(shade, 0, 1) * 0.85)
        img = over(img, np.array([90, 94, 102.0]), np.clip(-shade, 0, 1) * 0.55)
    return img


def draw_recess(img, rects, radius, depth):
    """A shallow well in the panel, darker inside, shadowed at its top-left rim."""
    alpha = rounded(rects, radius)
    img = over(img, np.array([96, 100, 108.0]), alpha * depth)
    shade = relief(alpha, 0.9)
    img = over(img, np.array([60, 63, 70.0]), np.clip(shade, 0, 1) * alpha * 0.8)
    img = over(img, np.full(3, 255.0), np.clip(-shade, 0, 1) * (1 - alpha) * 0.9)
    return img


def draw_wells(img):
    for x0, y0, x1, y1 in slider_rects():
        img = draw_recess(img, [(x0 + 2, y0 + 1, x1 - 2, y1 - 1)], 3.5, 0.32)
    for rect in selector_rects():
        img = draw_recess(img, grow([rect], 2), 3.0, 0.25)
    return img


def emboss(img, mask):
    img = over(img, np.full(3, 255.0), shift(mask, -1, -1) * 0.8)
    img = over(img, np.array([70, 73, 80.0]), blur(shift(mask, 1, 1), 0.4) * 0.6)
    return over(img, TITLE_FACE, mask)


def print_ink(img, mask, ink):
    img = over(img, np.full(3, 255.0), shift(mask, 0, 1) * 0.45)
    return over(img, ink, mask)


def text_layers():
    """Every text of the picture as (kind, mask), in drawing order."""
    title_font = font("DejaVuSansCondensed-Bold.ttf", layout.TITLE_SIZE)
    caption_font = font("DejaVuSansCondensed-Bold.ttf", 10)
    cap = -caption_font.getbbox("H", anchor="ls")[1] / raster.SCALE
    layers = [("title", text_mask(t, title_font, cx, cy, v)) for t, cx, cy, v in TITLES]
    x, y, w, _ = SELECTORS[0]
    layers.append(("caption", text_mask("Wave", caption_font, x + w / 2,
                                        layout.WAVE_CAPTION_BASELINE - cap / 2)))
    sw, sh = SLIDER_SIZE
    for x, y, caption in SLIDERS:
        cy = y + sh + layout.CAPTION_GAP + cap / 2
        layers.append(("caption", text_mask(caption, caption_font, x + sw / 2, cy)))
    logo_font = font("DejaVuSans-BoldOblique.ttf", 24)
    layers.append(("logo", text_mask("Quane", logo_font, layout.LOGO_CENTRE_X, 28)))
    maker_font = font("DejaVuSansCondensed-Bold.ttf", 9)
    layers.append(("maker", text_mask("BRELLOUX", maker_font, layout.LOGO_CENTRE_X, 51,
                                      tracking=2.0)))
    tag_font = font("DejaVuSansCondensed-Bold.ttf", 8)
    for line, cy in (("WAVETABLE", 86), ("SYNTHESISER", 96)):
        layers.append(("tag", text_mask(line, tag_font, layout.LOGO_CENTRE_X, cy, tracking=1.5)))
    return layers


def draw_logo(img, mask):
    ys = np.nonzero(mask.max(axis=1) > 0.05)[0]
    t = np.clip((np.arange(canvas_size()[1]) - ys[0]) / (ys[-1] - ys[0]), 0, 1)[:, None, None]
    fill = LOGO_TOP * (1 - t) + LOGO_BOTTOM * t
    glint = (t[..., 0] < 0.45) * 0.22
    outline = np.clip(blur(mask, 0.7) * 2.5, 0, 1)
    img = over(img, np.zeros(3), blur(shift(outline, 1, 2), 1.3) * 0.45)
    img = over(img, np.full(3, 255.0), shift(outline, -1, -1) * 0.6)
    img = over(img, np.array([12, 34, 96.0]), outline * 0.9)
    img = over(img, fill, mask)
    return over(img, np.full(3, 255.0), mask * glint)


def render(scale):
    raster.use_scale(scale)
    rng = np.random.default_rng(TEXTURE_SEED)
    grain = texture(rng)
    width, height = canvas_size()
    img = np.empty((height, width, 3))
    img[:] = GUTTER
    img += grain[..., None] * 0.7
    img = draw_panels(img, grain)
    img = draw_wells(img)
    layers = text_layers()
    for kind, mask in layers:
        if kind == "title":
            img = emboss(img, mask)
        elif kind == "logo":
            img = draw_logo(img, mask)
        elif kind == "tag":
            img = emboss(img, mask)
        elif kind == "maker":
            img = print_ink(img, mask, np.array([78, 82, 92.0]))
        else:
            img = print_ink(img, mask, CAPTION_INK)
    return Image.fromarray(np.clip(img + 0.5, 0, 255).astype(np.uint8), "RGB"), layers


def layout_faults(layers):
    """Controls must sit well inside one panel; texts must stay clear of controls and each other."""
    faults = []
    inner = [rounded(grow(rects, -2), 5) for rects in PANELS.values()]
    for name, rect in [("slider %d" % i, r) for i, r in enumerate(slider_rects())] + \
                      [("selector %d" % j, r) for j, r in enumerate(selector_rects())]:
        x0, y0, x1, y1 = grow([rect], 1)[0]
        if not any(m[y0:y1, x0:x1].min() > 0.99 for m in inner):
            faults.append("%s is not inside a panel" % name)
    controls = rect_mask(grow(slider_rects() + selector_rects(), 1)) > 0
    taken = np.zeros(controls.shape, bool)
    for n, (kind, mask) in enumerate(layers):
        ink = mask > 0.05
        if (ink & controls).any():
            faults.append("%s text %d touches a control" % (kind, n))
        if not any(m[ink].min() > 0.99 for m in inner):
            faults.append("%s text %d is not inside a panel" % (kind, n))
        grown = blur(ink.astype(float), 1.0) > 0.02
        if (grown & taken).any():
            faults.append("%s text %d crowds another text" % (kind, n))
        taken |= ink
    return faults


def save_preview(picture, path):
    """The 1x picture at twice the size with every control's bounds outlined."""
    scale = 2
    width, height = PICTURE_SIZE
    big = picture.resize((width * scale, height * scale), Image.Resampling.NEAREST)
    draw = ImageDraw.Draw(big)
    for colour, rects in (((220, 30, 30), slider_rects()), ((20, 160, 40), selector_rects())):
        for x0, y0, x1, y1 in rects:
            draw.rectangle((x0 * scale, y0 * scale, x1 * scale - 1, y1 * scale - 1), outline=colour)
    draw.rectangle((540 * scale, 0, width * scale - 1, height * scale - 1), fill=(255, 0, 255))
    draw.rectangle((0, 340 * scale, width * scale - 1, height * scale - 1), fill=(255, 0, 255))
    big.save(path)


def encode(picture, max_bytes):
    """Baseline JPEG, 4:4:4, with an sRGB profile, at the best quality that fits max_bytes."""
    icc = bytearray(ImageCms.ImageCmsProfile(ImageCms.createProfile("sRGB")).tobytes())
    # The profile header carries its creation time; a fixed one keeps the output reproducible.
    icc[24:36] = struct.pack(">6H", 2024, 1, 1, 0, 0, 0)
    icc = bytes(icc)
    for quality in range(98, 50, -1):
        out = io.BytesIO()
        picture.save(out, "JPEG", quality=quality, subsampling=0, icc_profile=icc,
                     progressive=False, optimize=True)
        if out.tell() <= max_bytes:
            return out.getvalue(), quality
    raise SystemExit("no quality fits %d bytes" % max_bytes)


def main():
    parser = argparse.ArgumentParser(description="Draw the editor background pictures.")
    parser.add_argument("--scale", type=int, choices=SCALES,
                        help="draw only this picture (default: all of them)")
    parser.add_argument("--output", type=Path, help="where the one picture of --scale goes")
    parser.add_argument("--preview", type=Path, help="also write an outlined PNG of the 1x picture here")
    args = parser.parse_args()
    if args.output and not args.scale:
        parser.error("--output needs --scale")

    # The layout is checked on the 1x drawing, whose pixels are the picture units.
    picture, layers = render(1)
    faults = layout_faults(layers)
    if args.preview:
        save_preview(picture, args.preview)
    if faults:
        print("\n".join(faults), file=sys.stderr)
        return 1

    for scale in [args.scale] if args.scale else SCALES:
        if scale != 1:
            picture, _ = render(scale)
        data, quality = encode(picture, MAX_BYTES * scale * scale)
        output = args.output or asset_path(scale)
        output.parent.mkdir(parents=True, exist_ok=True)
        output.write_bytes(data)
        print("%s: %d bytes, quality %d" % (output, len(data), quality))
    return 0


if __name__ == "__main__":
    sys.exit(main())
