#!/usr/bin/python3
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the manual's pictures in docs/pictures/ from the demo's renders: the editor with its sections numbered, and each program's picture.
# Usage: generators/manual/manual_pictures.py DEMO_DIR [--check]
#   DEMO_DIR  what tools/run-demo.sh wrote: editor.png and NN-program-name.png
#   --check   compare with the committed pictures, pixel for pixel, instead of writing them.

import sys
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFont

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "background"))
from layout import PANELS  # noqa: E402

PICTURES = Path(__file__).resolve().parents[2] / "docs/pictures"
EDITOR_SIZE = (540, 340)
# quane-render draws 1400 x 900; the manual shows them at half width, so they are kept at that.
PROGRAM_SIZE = (700, 450)
BADGE_RADIUS = 9
BADGE_FILL, BADGE_INK = (200, 40, 40), (255, 255, 255)
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"


# A badge sits in its panel's top-left corner, except where that corner holds a control or
# belongs to another panel: Env 2's box starts under Env 1's selector, so its badge goes beside its title.
BADGE_CENTRES = {"env2": (302, 213)}


def sections():
    """The editor's panels in reading order, without the logo, with their badge centres: the manual's numbers 1..9."""
    return [BADGE_CENTRES.get(name, (min(r[0] for r in rects) + BADGE_RADIUS + 2,
                                     min(r[1] for r in rects) + BADGE_RADIUS + 2))
            for name, rects in PANELS.items() if name != "logo"]


def editor_with_sections(screenshot):
    if screenshot.size != EDITOR_SIZE:
        raise ValueError("the editor screenshot is %d x %d, expected %d x %d (the editor at 100 %%)"
                         % (*screenshot.size, *EDITOR_SIZE))
    picture = screenshot.convert("RGB")
    draw = ImageDraw.Draw(picture)
    font = ImageFont.truetype(FONT, 12)
    for number, (x, y) in enumerate(sections(), start=1):
        draw.ellipse((x - BADGE_RADIUS, y - BADGE_RADIUS, x + BADGE_RADIUS, y + BADGE_RADIUS),
                     fill=BADGE_FILL, outline=BADGE_INK)
        draw.text((x, y), str(number), font=font, fill=BADGE_INK, anchor="mm")
    return picture


def program_picture(render):
    # The spectrogram's colour scale has fewer than 256 colours, so a palette keeps the picture as
    # it looks at less than half the bytes.
    smaller = render.convert("RGB").resize(PROGRAM_SIZE, Image.LANCZOS)
    return smaller.quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)


def wanted_pictures(demo_dir):
    """Every picture of the manual: its path under docs/pictures and its pixels."""
    wanted = {"editor.png": editor_with_sections(Image.open(demo_dir / "editor.png"))}
    renders = sorted(demo_dir.glob("[0-9][0-9]-*.png"))
    if len(renders) != 12:
        raise ValueError("%s holds %d program pictures, expected 12" % (demo_dir, len(renders)))
    for render in renders:
        wanted["programs/" + render.name] = program_picture(Image.open(render))
    return wanted


def same_pixels(path, picture):
    if not path.exists():
        return False
    committed = Image.open(path).convert("RGB")
    if committed.size != picture.size:
        return False
    return ImageChops.difference(committed, picture.convert("RGB")).getbbox() is None


def main():
    arguments = [a for a in sys.argv[1:] if a != "--check"]
    if len(arguments) != 1:
        print("usage: manual_pictures.py DEMO_DIR [--check]", file=sys.stderr)
        return 1
    try:
        wanted = wanted_pictures(Path(arguments[0]))
    except (OSError, ValueError) as error:
        print("manual pictures: %s" % error, file=sys.stderr)
        return 1

    if "--check" in sys.argv[1:]:
        stale = [name for name, picture in wanted.items() if not same_pixels(PICTURES / name, picture)]
        committed = {p.relative_to(PICTURES).as_posix() for p in PICTURES.glob("programs/*.png")}
        stale += sorted(committed - set(wanted))
        for name in stale:
            print("docs/pictures/%s is not what the demo makes now: run tools/run-demo.sh and commit "
                  "docs/pictures" % name, file=sys.stderr)
        if not stale:
            print("docs/pictures: %d pictures current" % len(wanted))
        return 1 if stale else 0

    (PICTURES / "programs").mkdir(parents=True, exist_ok=True)
    for old in (PICTURES / "programs").glob("*.png"):
        if "programs/" + old.name not in wanted:
            old.unlink()
    for name, picture in wanted.items():
        if not same_pixels(PICTURES / name, picture):
            picture.save(PICTURES / name, optimize=True)
    print("docs/pictures: the manual's %d pictures" % len(wanted))
    return 0


if __name__ == "__main__":
    sys.exit(main())
