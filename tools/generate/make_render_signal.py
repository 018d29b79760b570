#!/usr/bin/env python3
"""Writes the renderer's bundled test signal: 2.5 s of programme-like stereo material at
44.1 kHz, 16-bit -- a pitched kick and a noise snare with fast attacks and exponential decays,
a hi-hat tick, over a sustained two-note tone with a quiet passage in the middle, so that a
dynamics processor has loud transients, sustained levels and near-silence to work on.

Deterministic (the framework's pseudo-random generator), standard library only:

    python3 tools/generate/make_render_signal.py tools/render/signals/programme.wav
"""
import math
import struct
import sys
import wave

RATE = 44100
SECONDS = 2.5
TEMPO = 120.0


class Noise:
    """seed := seed * 214013 + 2531011 (32-bit); a draw is ((seed >> 16) & 0x7FFF) / 32767."""

    def __init__(self, seed=2024):
        self.seed = seed

    def next(self):
        self.seed = (self.seed * 214013 + 2531011) & 0xFFFFFFFF
        return ((self.seed >> 16) & 0x7FFF) / 32767.0 * 2.0 - 1.0


def kick(t):
    if t < 0:
        return 0.0
    phase = 2 * math.pi * (50.0 * t + 40.0 * (1 - math.exp(-t * 30.0)) / 30.0)
    return 0.85 * math.exp(-t * 16.0) * math.sin(phase)


def decay(t, rate, level):
    return 0.0 if t < 0 else level * math.exp(-t * rate)


def tone_level(t):
    """Loud, then a quiet passage (-30 dB) from 1.25 s to 1.75 s, then loud again."""
    return 0.03 if 1.25 <= t < 1.75 else 1.0


def main(path):
    beat = 60.0 / TEMPO
    noise = Noise()
    frames = []
    for i in range(int(RATE * SECONDS)):
        t = i / RATE
        quiet = tone_level(t)
        k = kick(math.fmod(t, 2 * beat)) * quiet
        s = decay(math.fmod(t + beat, 2 * beat), 22.0, 0.45) * noise.next() * quiet
        h = decay(math.fmod(t, beat / 2), 90.0, 0.12) * noise.next() * quiet
        note = 330.0 if math.fmod(t, 4 * beat) < 2 * beat else 293.66
        tone = quiet * (0.14 * math.sin(2 * math.pi * 110.0 * t) + 0.09 * math.sin(2 * math.pi * note * t))
        # 0.7 keeps the loudest hits about 3 dB below full scale.
        left = 0.7 * (k + 0.8 * s + 1.2 * h + tone)
        right = 0.7 * (k + s + 0.7 * h + 0.9 * tone)
        frames.append(struct.pack('<hh', *(max(-32768, min(32767, round(v * 32767))) for v in (left, right))))
    with wave.open(path, 'wb') as out:
        out.setnchannels(2)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b''.join(frames))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'programme.wav')
