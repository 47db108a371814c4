#!/usr/bin/python3
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that the editor pictures (1x, 2x, 3x) are baseline JFIFs of 541 x 341 picture units, with 4:4:4
# sampling and an ICC profile.

import struct
import sys
from pathlib import Path

ASSETS = Path(__file__).resolve().parents[2] / "editor/assets"
# Each picture and its pixels per picture unit.
PICTURES = {"background.jpg": 1, "background_2x.jpg": 2, "background_3x.jpg": 3}
SIZE = (541, 341)
SOI, SOF0, SOS, APP0, APP2 = 0xD8, 0xC0, 0xDA, 0xE0, 0xE2
# Every other start-of-frame marker: progressive, lossless, arithmetic or hierarchical coding.
OTHER_FRAMES = {0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}


def segments(data):
    """(marker, payload) of every segment before the scan data."""
    if data[:2] != b"\xff\xd8":
        raise ValueError("no JPEG start-of-image marker")
    pos = 2
    while pos + 4 <= len(data):
        if data[pos] != 0xFF:
            raise ValueError("bad marker at offset %d" % pos)
        marker = data[pos + 1]
        if marker == 0xFF:
            pos += 1
            continue
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        if length < 2 or pos + 2 + length > len(data):
            raise ValueError("truncated segment at offset %d" % pos)
        yield marker, data[pos + 4:pos + 2 + length]
        if marker == SOS:
            return
        pos += 2 + length
    raise ValueError("no scan data")


def faults(data, scale):
    found = []
    frames, jfif, icc = [], False, False
    for marker, payload in segments(data):
        if marker == APP0 and payload.startswith(b"JFIF\0"):
            jfif = True
        elif marker == APP2 and payload.startswith(b"ICC_PROFILE\0"):
            icc = True
        elif marker == SOF0 or marker in OTHER_FRAMES:
            frames.append((marker, payload))
    if not jfif:
        found.append("no JFIF header")
    if not icc:
        found.append("no embedded ICC profile")
    if len(frames) != 1 or frames[0][0] != SOF0:
        found.append("not a single baseline (SOF0) frame")
        return found
    payload = frames[0][1]
    precision, height, width, count = struct.unpack(">BHHB", payload[:6])
    if precision != 8:
        found.append("%d bits per sample, expected 8" % precision)
    expected = (SIZE[0] * scale, SIZE[1] * scale)
    if (width, height) != expected:
        found.append("%d x %d pixels, expected %d x %d" % (width, height, *expected))
    if count != 3:
        found.append("%d components, expected 3" % count)
    sampling = [payload[6 + 3 * i + 1] for i in range(count)]
    if any(s != 0x11 for s in sampling):
        found.append("chroma subsampled (factors %s)" % ", ".join("%02x" % s for s in sampling))
    return found


def check(path, scale):
    try:
        found = faults(path.read_bytes(), scale)
    except (OSError, ValueError) as error:
        found = [str(error)]
    for fault in found:
        print("%s: %s" % (path, fault), file=sys.stderr)
    if not found:
        print("%s: ok" % path)
    return not found


def main():
    results = [check(ASSETS / name, scale) for name, scale in PICTURES.items()]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
