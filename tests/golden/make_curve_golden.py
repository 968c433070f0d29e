#!/usr/bin/python3
"""Writes curve_golden.txt: the brightness curve's result for single components.

The curve is worked out here on its own, from the steps, with Python floats (IEEE
doubles, every operation rounded to nearest) and round() (ties to even):

    x = v / 255,  p = b * x,  y = p / (p + 1),  t = y * 255,  output = round(t)

b is first rounded to single precision, as the program reads it. A component that
divides by zero, or whose value becomes infinite or not a number, is the
floating-point error "F"; an output outside -32768..32767 is the overflow error "O".

Run with the standard library only:  /usr/bin/python3 make_curve_golden.py
"""

import math
import os
import struct

INT16_MIN, INT16_MAX = -32768, 32767


def single(value):
    """The nearest single-precision value, as a Python float."""
    return struct.unpack('<f', struct.pack('<f', value))[0]


def single_from_bits(bits):
    return struct.unpack('<f', struct.pack('<I', bits))[0]


def bits_of(value):
    return struct.unpack('<I', struct.pack('<f', value))[0]


def next_single_up(value):
    """The next single above a positive single."""
    return single_from_bits(bits_of(value) + 1)


def next_single_towards_zero(value):
    return single_from_bits(bits_of(value) - 1)


def shortest(value):
    """The shortest decimal text that reads back as the same single."""
    for digits in range(1, 10):
        text = '%.*g' % (digits, value)
        try:
            if bits_of(float(text)) == bits_of(value):
                return repr(float(text))
        except OverflowError:  # rounds beyond the largest single
            pass
    raise AssertionError(value)


def finite(value):
    return not (math.isinf(value) or math.isnan(value))


def curve(v, b):
    """One component v (0..255) with parameter b: an int, 'F' or 'O'."""
    x = v / 255.0
    p = b * x
    denominator = p + 1.0
    if denominator == 0.0:
        return 'F'  # Python raises ZeroDivisionError where IEEE gives an infinity
    try:
        y = p / denominator
        t = y * 255.0
    except (ZeroDivisionError, OverflowError):
        return 'F'
    if not all(finite(value) for value in (x, p, y, t)):
        return 'F'
    output = round(t)
    if not INT16_MIN <= output <= INT16_MAX:
        return 'O'
    return output


MAX_SINGLE = single(3.4028235e38)
SMALLEST_SUBNORMAL = single_from_bits(1)

B_VALUES = [
    # worked values and the curve's everyday range
    0.0, -0.0, 0.1, 0.25, 0.3, 1.0 / 3.0, 0.5, 1.0, 2.0, 3.0, 4.0, 5.0, 10.0,
    # around the point where the top component first reaches 255
    127.0, 254.99, 255.0, 256.0, 509.0, next_single_up(509.0), 1000.0, 1e6,
    # extremes
    1e-30, SMALLEST_SUBNORMAL, 1e30, MAX_SINGLE,
    # negative: some stay in range, some divide by zero, some overflow
    -SMALLEST_SUBNORMAL, -1e-30, -0.001, -0.5, -0.999, next_single_towards_zero(-1.0),
    -1.0, single_from_bits(bits_of(-1.0) + 1), -1.001, -1.25, -1.5, -2.0, -3.0, -5.0,
    -15.0, -17.0, -51.0, -85.0, -127.5, -255.0, -256.0, -1e6, -MAX_SINGLE,
]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    lines = [
        '# The brightness curve y = b*x / (b*x + 1) for single components, made by',
        '# make_curve_golden.py. One line per b: its single-precision bits in hex, a',
        '# readable decimal, then the results for components 0..255. Each result is the',
        '# 16-bit output, F for the floating-point error or O for the overflow error.',
    ]
    for b in B_VALUES:
        b = single(b)
        results = [str(curve(v, b)) for v in range(256)]
        lines.append('0x%08x %s %s' % (bits_of(b), shortest(b), ' '.join(results)))
    with open(os.path.join(here, 'curve_golden.txt'), 'w', encoding='ascii') as out:
        out.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
