# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Geometry of the editor picture: control bounds, panel outlines and where every text sits.

PICTURE_SIZE = (541, 341)   # the editor shows the top-left 540 x 340
SLIDER_SIZE = (12, 80)

# (x, y, caption) per slider, in patch-index order. The bounds here and in SELECTORS are the
# controls' bounds in engine/PatchValueTable.cpp; the BackgroundLayout test fails when they differ.
SLIDERS = [
    (120, 10, "P"), (150, 10, "P-Lvl"), (180, 10, "Tune"), (210, 10, "Oct"), (240, 10, "Bend"),
    (270, 10, "Pre"), (310, 10, "Cut"), (340, 10, "Res"), (380, 10, "Vol"), (410, 10, "Spr"),
    (20, 120, "A"), (50, 120, "D"), (80, 120, "S"), (110, 120, "R"),
    (150, 120, "A"), (180, 120, "D"), (210, 120, "S"), (240, 120, "R"), (268, 120, "Dph"),
    (392, 120, "A"), (422, 120, "D"), (452, 120, "S"), (482, 120, "R"), (512, 120, "Dph"),
    (20, 230, "Rate"), (50, 230, "Dph"), (180, 230, "Rate"), (210, 230, "Dph"),
    (350, 230, "Dph"), (510, 230, "Dph"),
]

# (x, y, width, height) per selector, in selector-index order.
SELECTORS = [
    (16, 50, 85, 20), (295, 126, 80, 20), (299, 183, 80, 20),
    (76, 244, 80, 20), (76, 284, 80, 20), (236, 244, 80, 20), (236, 284, 80, 20),
    (382, 242, 80, 20), (408, 298, 80, 20),
]

# Panels are unions of rectangles (x0, y0, x1, y1, exclusive ends); the renderer rounds every
# corner, concave ones included. Gutters between panels are 4 px wide.
PANELS = {
    "osc": [(3, 3, 294, 76), (114, 3, 294, 110)],
    "flt": [(298, 3, 364, 110)],
    "amp": [(368, 3, 434, 110)],
    "logo": [(438, 3, 537, 110)],
    # The amp envelope reaches up into the free corner under the waveform selector for its title.
    "ampEnv": [(3, 114, 135, 222), (3, 80, 110, 120)],
    "env1": [(139, 114, 288, 222), (139, 114, 382, 170)],
    # Env 2 reaches in under Env 1 to hold its destination selector.
    "env2": [(386, 114, 537, 222), (292, 174, 537, 222)],
    "lfo1": [(3, 226, 166, 337)],
    "lfo2": [(170, 226, 333, 337)],
    "modulation": [(337, 226, 537, 337)],
}

# Panel titles: (text, centre x, centre y of the capitals, vertical). Titles of panels with a
# selector sit centred on it; vertical titles read bottom to top in a free strip beside or
# between sliders, where the narrow panels have no room for a line of text.
TITLES = [
    ("OSC", 58.5, 22, False),
    ("FLT", 331, 50, True),
    ("AMP", 401, 50, True),
    ("AMP ENV", 56.5, 97, False),
    ("ENV 1", 335, 156.5, False),
    ("ENV 2", 339, 212, False),
    ("LFO1", 116, 320, False),
    ("LFO2", 276, 320, False),
    ("VELOCITY", 372, 270, True),
    ("M-WHEEL", 499, 270, True),
]
TITLE_SIZE = 16

WAVE_CAPTION_BASELINE = 46    # centred over selector 0

# Caption cap tops sit this far below a slider's lower end.
CAPTION_GAP = 6

LOGO_CENTRE_X = 487
