#!/usr/bin/env python3
"""Writes the seed states of fuzz_engine_state, in the layout its source describes."""
import math
import pathlib
import struct

FIELDS = [  # name, struct code, in the order the fuzz target reads them
    ("flags", "B"), ("drawing", "h"), ("gridChoice", "h"), ("iterDepth", "h"),
    ("escapeValue", "h"), ("jitterLow", "f"), ("jitterHigh", "f"), ("colorMode", "h"),
    ("renderIn", "h"), ("renderOut", "h"), ("dcin", "h"), ("dcout", "h"), ("colr", "h"),
    ("colg", "h"), ("colb", "h"), ("numzoom", "d"), ("numx", "d"), ("numy", "d"), ("ct", "h"),
    ("roo", "h"), ("numDx", "d"), ("numDy", "d"), ("zoomDivisor", "d"), ("viewZoom", "d"),
]
TWO_THREADS, SCALAR, NO_LOAD = 1, 2, 16


def yields(n):  # Stop asked for at yield n, 1 to 4
    return (n - 1) << 2


def state(**values):
    return b"".join(struct.pack("<" + code, values.get(name, 0)) for name, code in FIELDS)


SEEDS = {
    # The start-up state: every field "not chosen yet".
    "startup": b"",
    "line_mode_julia": state(flags=TWO_THREADS | yields(4), drawing=2, gridChoice=1,
                             iterDepth=256, numDx=-0.8, numDy=0.156, dcin=5, dcout=5),
    "hole_coarse_grid_scalar": state(flags=SCALAR | yields(2), drawing=5, gridChoice=2,
                                     iterDepth=64, escapeValue=4, dcin=3, dcout=7),
    "jittered_grey": state(flags=TWO_THREADS | yields(3), drawing=1, gridChoice=4,
                           iterDepth=100, jitterLow=0.5, jitterHigh=2.0, colorMode=2,
                           dcin=10, dcout=10, numzoom=2.0, numx=-0.75, numy=0.1),
    # Deep inside the main cardioid: every point runs to the depth.
    "inside_at_depth": state(flags=TWO_THREADS | yields(4), drawing=1, gridChoice=32,
                             iterDepth=1024, dcin=5, dcout=5, numzoom=1e6, numx=-0.1),
    "two_colour_turned": state(flags=yields(2), drawing=1, gridChoice=12, colorMode=1, ct=-32768,
                               roo=1, dcin=5, dcout=5, colr=300, colg=-32768, colb=32767),
    "non_finite_position": state(flags=TWO_THREADS, drawing=1, iterDepth=-5, escapeValue=-3,
                                 jitterLow=math.inf, jitterHigh=-0.0, dcin=32767, dcout=-32768,
                                 numzoom=math.nan, numx=math.inf, numy=5e-324,
                                 zoomDivisor=-1e308, numDx=1e308, numDy=-math.inf),
    "no_load_routine": state(flags=NO_LOAD | SCALAR, drawing=0, gridChoice=40, viewZoom=0.0),
    "pending_julia_draws_nothing": state(drawing=4, gridChoice=6),
}

if __name__ == "__main__":
    folder = pathlib.Path(__file__).parent / "corpus" / "fuzz_engine_state"
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (folder / name).write_bytes(data)
