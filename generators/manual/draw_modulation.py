#!/usr/bin/python3
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the manual's modulation diagram (docs/pictures/modulation.svg): which source reaches which destination.
# Usage: generators/manual/draw_modulation.py [--check]
#   --check  compare with the committed picture instead of writing it.

import sys
from pathlib import Path
from xml.sax.saxutils import escape

OUTPUT = Path(__file__).resolve().parents[2] / "docs/pictures/modulation.svg"

# The destination selectors' items 2..8 (item 1 is "Off"), with the patch value each one adds to.
# The texts are those of engine/PatchValueTable.cpp; the manual's check compares them.
DESTINATIONS = [
    ("Osc Phase", "Phase"),
    ("Osc P-level", "Phaser Level"),
    ("Osc Tune", "Detune"),
    ("Cutoff", "Cutoff"),
    ("Volume", "Volume"),
    ("LFO1 Speed", "LFO1 Speed"),
    ("LFO1 Depth", "LFO1 Depth"),
]

# (source, its depth control, the destinations its selector offers, those without effect).
# LFO 1's selector offers the first six items; velocity and the wheel are added after LFO 1 has
# read its depth, so their route to "LFO1 Depth" changes nothing.
SOURCES = [
    ("Envelope 1", "Env1 Depth", 7, ()),
    ("Envelope 2", "Env2 Depth", 7, ()),
    ("LFO 1", "LFO1 Depth", 5, ()),
    ("LFO 2", "LFO2 Depth", 7, ()),
    ("Velocity", "Velocity Depth", 7, ("LFO1 Depth",)),
    ("Mod wheel", "Modwheel Depth", 7, ("LFO1 Depth",)),
]

FONT = "DejaVu Sans, Verdana, sans-serif"
LABEL_WIDTH = 200
COLUMN = 84
ROW = 30
TOP = 70
INK, GRID, ACCENT, PAPER = "#222222", "#c8c8c8", "#1f5fbf", "#ffffff"


def text(x, y, content, size=12, anchor="start", weight="normal", colour=INK, rotate=None):
    transform = ' transform="rotate(%d %g %g)"' % (rotate, x, y) if rotate is not None else ""
    return ('<text x="%g" y="%g" font-family="%s" font-size="%d" text-anchor="%s" font-weight="%s" '
            'fill="%s"%s>%s</text>' % (x, y, FONT, size, anchor, weight, colour, transform, escape(content)))


def draw():
    width = LABEL_WIDTH + COLUMN * len(DESTINATIONS) + 20
    bottom = TOP + ROW * len(SOURCES)
    height = bottom + 110
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
             % (width, height, width, height),
             '<rect width="%d" height="%d" fill="%s"/>' % (width, height, PAPER)]

    def column_x(column):
        return LABEL_WIDTH + COLUMN * column + COLUMN / 2

    parts.append(text(12, 22, "source \u00d7 depth", 13, weight="bold"))
    parts.append(text(LABEL_WIDTH + COLUMN * len(DESTINATIONS) / 2, 22, "destination (one per source, or Off)",
                      13, anchor="middle", weight="bold"))
    for column, (item, _) in enumerate(DESTINATIONS):
        parts.append(text(column_x(column), TOP - 16, item, 11, anchor="middle", weight="bold"))
        parts.append('<line x1="%g" y1="%d" x2="%g" y2="%d" stroke="%s"/>'
                     % (column_x(column), TOP - 8, column_x(column), bottom, GRID))

    for row, (source, depth, offered, without_effect) in enumerate(SOURCES):
        y = TOP + ROW * row + ROW / 2
        parts.append('<line x1="12" y1="%g" x2="%g" y2="%g" stroke="%s"/>'
                     % (y, column_x(offered - 1), y, GRID))
        parts.append('<rect x="8" y="%g" width="%d" height="%d" fill="%s"/>' % (y - 11, LABEL_WIDTH - 24, 22, PAPER))
        parts.append(text(12, y + 4, source, 12, weight="bold"))
        parts.append(text(100, y + 4, "\u00d7 " + depth, 11))
        for column, (item, _) in enumerate(DESTINATIONS):
            if column >= offered:
                continue
            if item in without_effect:
                parts.append('<circle cx="%g" cy="%g" r="6" fill="%s" stroke="%s" stroke-width="2"/>'
                             % (column_x(column), y, PAPER, ACCENT))
            else:
                parts.append('<circle cx="%g" cy="%g" r="6" fill="%s"/>' % (column_x(column), y, ACCENT))

    for column, (_, value) in enumerate(DESTINATIONS):
        parts.append('<line x1="%g" y1="%d" x2="%g" y2="%d" stroke="%s" stroke-width="1.5" marker-end="url(#arrow)"/>'
                     % (column_x(column), bottom + 4, column_x(column), bottom + 22, INK))
        parts.append(text(column_x(column), bottom + 36, "+ " + value, 10, anchor="middle"))
    parts.insert(2, '<defs><marker id="arrow" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="6" '
                    'markerHeight="6" orient="auto"><path d="M0,0 L10,5 L0,10 z" fill="%s"/></marker></defs>' % INK)

    legend = bottom + 66
    parts.append('<circle cx="18" cy="%d" r="6" fill="%s"/>' % (legend - 4, ACCENT))
    parts.append(text(30, legend, "the source's selector offers this destination", 11))
    parts.append('<circle cx="18" cy="%d" r="6" fill="%s" stroke="%s" stroke-width="2"/>' % (legend + 16, PAPER, ACCENT))
    parts.append(text(30, legend + 20, "offered, but without effect: LFO 1 has read its depth before velocity and "
                      "the wheel arrive", 11))
    parts.append(text(30, legend + 38, "Pitch bend is not routed: it always bends the pitch, by Bend range "
                      "semitones.", 11))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    picture = draw()
    if "--check" in sys.argv[1:]:
        if not OUTPUT.exists() or OUTPUT.read_text() != picture:
            print("%s differs from what %s draws: run it and commit the picture" % (OUTPUT, sys.argv[0]),
                  file=sys.stderr)
            return 1
        print("%s: ok" % OUTPUT)
        return 0
    OUTPUT.parent.mkdir(parents=True, exist_ok=True)
    OUTPUT.write_text(picture)
    return 0


if __name__ == "__main__":
    sys.exit(main())
