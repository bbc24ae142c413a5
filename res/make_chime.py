#!/usr/bin/env python3
"""Writes res/116_chime.wav, the arrival chime: two soft bell tones, a fifth apart, each
with a few overtones and an exponential fade. 16-bit mono at 22050 Hz, under a second."""
import math
import os
import struct
import wave

RATE = 22050
LENGTH = 0.9  # seconds


def bell(t, start, freq):
    if t < start:
        return 0.0
    u = t - start
    attack = min(1.0, u / 0.006)  # no click at the start
    fade = math.exp(-u * 5.0)
    tone = (math.sin(2 * math.pi * freq * u) + 0.35 * math.sin(2 * math.pi * 2.0 * freq * u) +
            0.12 * math.sin(2 * math.pi * 3.01 * freq * u) * math.exp(-u * 9.0))
    return attack * fade * tone


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "116_chime.wav")
    frames = bytearray()
    n = int(RATE * LENGTH)
    for i in range(n):
        t = i / RATE
        v = 0.42 * (bell(t, 0.0, 987.77) + bell(t, 0.16, 1318.51))
        # The last 50 ms fall to silence so the end does not click either.
        v *= min(1.0, (n - i) / (0.05 * RATE))
        frames += struct.pack("<h", max(-32767, min(32767, int(v * 32767))))
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))
    print("made", out)


if __name__ == "__main__":
    main()
