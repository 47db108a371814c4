#!/usr/bin/env python3
# Quane - polyphonic wavetable synthesiser
# SPDX-License-Identifier: GPL-3.0-or-later
# Compares the samples of float WAV exports: the first file must sound (RMS above 0.01), every
# file after it must hold the same samples to the bit, except those named after --differs.
# Usage: compare_exports.py REFERENCE SAME... [--differs OTHER...]
import array
import math
import struct
import sys


def samples(path):
    data = open(path, 'rb').read()
    offset = 12
    while offset + 8 <= len(data):
        chunk, size = data[offset:offset + 4], struct.unpack('<I', data[offset + 4:offset + 8])[0]
        if chunk == b'data':
            values = array.array('f')
            values.frombytes(data[offset + 8:offset + 8 + size])
            return values
        offset += 8 + size + (size & 1)
    sys.exit(f'{path}: no sample data')


arguments = sys.argv[1:]
split = arguments.index('--differs') if '--differs' in arguments else len(arguments)
same, differing = arguments[:split], arguments[split + 1:]
reference = samples(same[0])
level = math.sqrt(sum(value * value for value in reference) / max(1, len(reference)))
failures = [] if level > 0.01 else [f'{same[0]} is silent (RMS {level:.5f})']
for path in same[1:]:
    if samples(path) != reference:
        failures.append(f'{path} differs from {same[0]}')
for path in differing:
    if samples(path) == reference:
        failures.append(f'{path} should differ from {same[0]}')
for failure in failures:
    print('FAIL:', failure, file=sys.stderr)
print(f'{len(same)} exports alike (RMS {level:.5f}), {len(differing)} different, {len(failures)} failures')
sys.exit(1 if failures else 0)
