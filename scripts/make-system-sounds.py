#!/usr/bin/env python3
"""Writes the system sounds in resources/sounds/ (run from the repository root).

Tink: a short, bright metallic tap -- two inharmonic partials with a 2 ms attack and a fast decay.
"""
import math
import os
import struct
import wave

RATE = 22050


def tink():
    length = int(0.15 * RATE)
    samples = []
    for n in range(length):
        t = n / RATE
        attack = min(1.0, t / 0.002)
        tone = 0.6 * math.sin(2 * math.pi * 2794 * t) * math.exp(-t / 0.035)
        tone += 0.3 * math.sin(2 * math.pi * 4186 * 1.007 * t) * math.exp(-t / 0.02)
        samples.append(int(round(attack * tone * 0.8 * 32767)))
    return samples


def write(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", s) for s in samples))


if __name__ == "__main__":
    folder = os.path.join("resources", "sounds")
    os.makedirs(folder, exist_ok=True)
    write(os.path.join(folder, "Tink.wav"), tink())
