#!/usr/bin/env python3
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the fuzz targets' seed corpora (corpus/state, host, plugin-state, midi, preset) in their
input formats.

The byte layouts are those described at the top of StateFuzzer.cpp, HostSurfaceFuzzer.cpp and
PluginStateFuzzer.cpp;
the edge-value tables here name only the entries the seeds use, at their positions in FuzzHost.cpp.
The MIDI and preset seeds are plain files of those kinds.
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent

# Positions in FuzzHost.cpp's edgyInts and edgyFloats.
EDGY_INTS = {0: 0, 1: 1, -1: 2, 12: 5, 4096: 14, -2**31: 16, 2**31 - 1: 18}
EDGY_FLOATS = {0.0: 0, 1.0: 2, 0.5: 4, 1.25: 6, 100.0: 10, 1.0e9: 12, 44100.0: 14, "nan": 18, "inf": 19}

# One program's 39 values, as the state element writes them.
PLAIN_PATCH = [0.5625, 0.999000013, 0, 2, 2, 0.5, 0.5, 0.2, 0.8, 0.75, 0.01, 0.3, 0.7, 0.2,
               0.1, 0.4, 0.5, 0.3, 0.5, 0.2, 0.3, 0.5, 0.3, -0.5, 0.3, 0.2, 0.4, 0.1, 0.5, 0.5,
               1, 5, 1, 2, 2, 1, 1, 6, 8]


def state_xml(values):
    attributes = " ".join(f'{i}="{v:.9g}"' for i, v in enumerate(values))
    return f"<FOO1_SETTINGS_01 {attributes}/>".encode()


def chunk(text, declared=None):
    length = len(text) if declared is None else declared
    return b"VC2!" + struct.pack("<I", length) + text + b"\0\0"


def edgy_int(value):
    return bytes([EDGY_INTS[value]]) if value in EDGY_INTS else b"\xff" + struct.pack("<i", value)


def edgy_float(value):
    return bytes([EDGY_FLOATS[value]]) if value in EDGY_FLOATS else b"\xff" + struct.pack("<f", value)


def events(*entries):
    """entries: (deltaFrames, status, data1, data2); a None entry is a null pointer."""
    out = bytes([len(entries)])
    for entry in entries:
        if entry is None:
            out += b"\0" + edgy_int(0) + b"\0\0\0\0"
        else:
            delta, status, data1, data2 = entry
            out += b"\2" + edgy_int(delta) + bytes([status, data1, data2, 0])
    return out


def long_events(size_index, order, *entries):
    """1 to 16 entries (as for events), repeated to the size of HostSurfaceFuzzer's longListSizes
    at size_index; order 0 keeps their positions, 1 moves copies later, 2 earlier."""
    out = events(*entries)
    return bytes([192 + len(entries) - 1]) + out[1:] + bytes([size_index, order])


def render(frames, replacing=True):
    return bytes([4 if replacing else 5]) + struct.pack("<H", frames)


def request(opcode, index=0, value=0, opt=0.0, text=None):
    """A dispatcher call; text (at most 32 bytes are taken) fills the guarded buffer at ptr."""
    text = None if text is None else text[:32]
    ptr = b"\0\0\0" if text is None else b"\1" + bytes([len(text)]) + text + b"\0"
    return b"\0" + bytes([opcode]) + edgy_int(index) + edgy_int(value) + edgy_float(opt) + ptr


def set_parameter(index, value):
    return b"\1" + edgy_int(index) + edgy_float(value)


STATE_SEEDS = {
    "plain": b"\1" + state_xml(PLAIN_PATCH),
    "program-request": b"\3" + state_xml(PLAIN_PATCH),
    "loud-spread": b"\1" + state_xml(PLAIN_PATCH[:9] + [1.0e6] + PLAIN_PATCH[10:]),
    "raw-long-length": b"\0" + chunk(state_xml(PLAIN_PATCH), declared=1000),
    "raw-header-only": b"\0" + b"VC2!" + struct.pack("<I", 0),
    "nested": b"\1" + b"<FOO1_SETTINGS_01><a><b><c/></b></a></FOO1_SETTINGS_01>",
    "doctype": b"\1" + b'<!DOCTYPE x [<!ENTITY e "&e;&e;">]><FOO1_SETTINGS_01 0="&e;"/>',
    "instruction-in-element": b"\1<O><??>>",
    # More attributes and text than a state may hold (22 KB): the inputs grow from this length.
    "many-attributes": b"\1" + state_xml(PLAIN_PATCH + [0.5] * 1961),
}

HOST_SEEDS = {
    "play": b"\6\0" + edgy_float(44100.0)
            + b"\3" + events((0, 0x90, 60, 100), (17, 0x90, 64, 90), (4096, 0x90, 67, 80), (-1, 0xE0, 0, 0x7F))
            + render(512) + b"\3" + events((-2**31, 0x80, 60, 0), (2**31 - 1, 0x80, 64, 0), None)
            + render(4096, replacing=False) + set_parameter(9, 100.0) + render(333),
    "programs": b"\x08" + edgy_int(12) + b"\x08" + edgy_int(-1) + b"\x08" + edgy_int(1)
                + b"\x09\0\1" + b"\x07" + edgy_int(0) + render(64) + b"\x07" + edgy_int(1) + render(0),
    "requests": request(7, index=-1) + request(8, index=29) + request(51, text=b"receiveVstMidiEvents")
                + request(4, text=b"A name far longer than twenty-four characters")
                + request(24, value=4096, text=chunk(b"<FOO1_SETTINGS_01 9=\"1e9\"/>")[:32])
                + request(69, value=1) + request(71) + request(52) + request(72),
    "rates": b"\6\1" + edgy_int(4096) + edgy_float(1.0) + b"\3" + events((0, 0x90, 127, 127)) + render(1000)
             + b"\6\0" + edgy_float("nan") + render(100) + b"\6\0" + edgy_float(1.0e9) + render(100),
}

# Mode byte (bit 0: LV2, bit 1: wrap in a chunk header, bit 2: JUCE's VST3 trailer), the trailer's
# declared length, then the state.
PLUGIN_STATE_SEEDS = {
    "vst3-chunk": b"\0" + struct.pack("<I", 0) + chunk(state_xml(PLAIN_PATCH)),
    "vst3-trailer-too-long": b"\6" + struct.pack("<I", 4000) + state_xml(PLAIN_PATCH),
    "lv2-chunk": b"\1" + struct.pack("<I", 0) + chunk(state_xml(PLAIN_PATCH)),
    "lv2-text": b"\3" + struct.pack("<I", 0) + state_xml(PLAIN_PATCH[:9] + [1.0e6] + PLAIN_PATCH[10:]),
}


HOST_SEEDS["flood"] = (b"\6\0" + edgy_float(44100.0)
                      + b"\3" + long_events(4, 1, (0, 0x90, 60, 100), (0, 0x80, 60, 0), (1, 0xB0, 1, 64))
                      + render(512) + b"\3" + long_events(1, 2, (511, 0x90, 48, 90), (200, 0x80, 48, 0)) + render(512))


def variable_length(value):
    out = [value & 0x7F]
    while value > 0x7F:
        value >>= 7
        out.insert(0, (value & 0x7F) | 0x80)
    return bytes(out)


def midi_file(tracks, division=96, file_type=None):
    """tracks: lists of (delta, bytes) events."""
    file_type = (0 if len(tracks) == 1 else 1) if file_type is None else file_type
    out = b"MThd" + struct.pack(">IHHH", 6, file_type, len(tracks), division)
    for track in tracks:
        body = b"".join(variable_length(delta) + data for delta, data in track)
        out += b"MTrk" + struct.pack(">I", len(body)) + body
    return out


END = (0, b"\xff\x2f\x00")
TEMPO_TRACK = [(0, b"\xff\x51\x03\x07\xa1\x20"), (0, b"\xff\x58\x04\x04\x02\x18\x08"),
               (384, b"\xff\x51\x03\x0f\x42\x40"), END]
NOTES = [(0, b"\x90\x3c\x64"), (0, b"\x40\x50"), (96, b"\x3c\x00"), (0, b"\x43\x00"),
         (48, b"\xe0\x00\x50"), (0, b"\xb0\x01\x40"), END]
PLAIN_MIDI = midi_file([TEMPO_TRACK, NOTES])

MIDI_SEEDS = {
    "two-tracks": PLAIN_MIDI,
    "smpte": midi_file([[(0, b"\x90\x40\x60"), (500, b"\x80\x40\x00"), END]], division=0xE728),
    "sysex-and-meta": midi_file([[(0, b"\xf0\x05\x7e\x7f\x09\x01\xf7"), (0, b"\xff\x03\x04name"),
                                  (0, b"\x90\x30\x50"), (10, b"\xf7\x02\x01\x02"), (10, b"\x80\x30\x00"), END]]),
    "repeated-notes": midi_file([[(0, b"\x90\x30\x50"), (0, b"\x90\x30\x60"), (10, b"\x80\x30\x00"),
                                  (0, b"\x99\x24\x7f"), (0, b"\x89\x24\x00"), END]]),
    "tempo-zero": midi_file([[(0, b"\x90\x40\x60"), (96, b"\xff\x51\x03\x00\x00\x00"), (96, b"\x80\x40\x00"), END]]),
    "riff": b"RIFF" + struct.pack("<I", len(PLAIN_MIDI) + 12) + b"RMIDdata" + struct.pack("<I", len(PLAIN_MIDI))
            + PLAIN_MIDI,
}


def preset_file(kind, chunk_bytes, version=1, name=b"Pulse Lead"):
    """A program (FPCh) or bank (FBCh) file around a chunk, as PresetFile.h lays it out."""
    middle = name.ljust(28, b"\0")[:28] if kind == b"FPCh" else b"\0" * 128
    body = kind + struct.pack(">iiii", version, 0x11149876, 1, 30 if kind == b"FPCh" else 12) + middle
    body += struct.pack(">i", len(chunk_bytes)) + chunk_bytes
    return b"CcnK" + struct.pack(">i", len(body)) + body


PRESET_CHUNK = chunk(state_xml(PLAIN_PATCH))
PRESET_SEEDS = {
    "program": preset_file(b"FPCh", PRESET_CHUNK),
    "bank": preset_file(b"FBCh", PRESET_CHUNK, version=2),
    "parameter-list": b"CcnK" + struct.pack(">i", 52) + b"FxCk" + struct.pack(">iiii", 1, 0x11149876, 1, 0) + b"\0" * 32,
    "long-name": preset_file(b"FPCh", b"x", name=b"A name of exactly twenty-eig"),
    "empty-chunk": preset_file(b"FBCh", b""),
}


def write(folder, seeds):
    (HERE / "corpus" / folder).mkdir(parents=True, exist_ok=True)
    for name, data in seeds.items():
        (HERE / "corpus" / folder / name).write_bytes(data)


if __name__ == "__main__":
    write("state", STATE_SEEDS)
    write("host", HOST_SEEDS)
    write("plugin-state", PLUGIN_STATE_SEEDS)
    write("midi", MIDI_SEEDS)
    write("preset", PRESET_SEEDS)
