"""Synthesises the two chimes, encodes them with lame and wraps them with mp3wave.

Soft bell tones (a few inharmonic partials with exponential decay), each note panned a little,
summed and gently limited. Pure arithmetic on fixed note lists, so every run gives the same PCM.
"""
import math
import struct
import subprocess
import sys
import tempfile
import wave
from pathlib import Path

import mp3wave

RATE = 44100
PARTIALS = [(1.0, 1.0, 1.0), (2.01, 0.42, 1.6), (3.0, 0.18, 2.4), (4.17, 0.08, 3.5)]  # ratio, level, decay speed-up

# (start s, frequency Hz, level, pan -1..1, decay s)
SPLASH = [(0.00, 523.25, 0.50, -0.5, 1.6), (0.18, 659.26, 0.45, -0.2, 1.6),
          (0.36, 783.99, 0.45, 0.2, 1.6), (0.54, 1046.50, 0.42, 0.5, 2.0),
          (1.10, 880.00, 0.30, 0.3, 1.4), (1.30, 1046.50, 0.34, -0.3, 2.6),
          (1.30, 659.26, 0.24, 0.0, 2.6), (1.30, 392.00, 0.28, 0.0, 3.0)]
ABOUT = [(0.00, 783.99, 0.45, 0.4, 1.4), (0.22, 659.26, 0.42, 0.1, 1.4),
         (0.44, 587.33, 0.42, -0.2, 1.4), (0.66, 523.25, 0.42, -0.4, 1.8),
         (1.20, 587.33, 0.32, 0.2, 1.2), (1.40, 659.26, 0.34, -0.1, 1.4),
         (1.60, 783.99, 0.36, 0.3, 1.6), (2.00, 1046.50, 0.34, 0.0, 3.2),
         (2.00, 523.25, 0.26, 0.0, 3.4), (2.00, 329.63, 0.22, 0.0, 3.6)]
SOUNDS = {"splash.wav": (SPLASH, 243563), "about.wav": (ABOUT, 268861)}


def render(notes, samples):
    left, right = [0.0] * samples, [0.0] * samples
    for start, freq, level, pan, decay in notes:
        first = int(start * RATE)
        gl, gr = level * math.sqrt((1 - pan) / 2), level * math.sqrt((1 + pan) / 2)
        for i in range(min(samples - first, int(12 * decay * RATE))):  # beyond that it is silence
            t = i / RATE
            attack = min(1.0, t / 0.004)
            v = sum(l * math.exp(-t * k / decay) * math.sin(2 * math.pi * freq * r * t)
                    for r, l, k in PARTIALS) * attack
            left[first + i] += v * gl
            right[first + i] += v * gr
    tail = int(0.35 * RATE)  # fade the last moments so the end never clicks
    for i in range(tail):
        g = i / tail
        left[samples - 1 - i] *= g
        right[samples - 1 - i] *= g
    frames = bytearray()
    for a, b in zip(left, right):
        frames += struct.pack("<hh", round(32767 * math.tanh(a * 0.9)), round(32767 * math.tanh(b * 0.9)))
    return bytes(frames)


def main(out_dir):
    out = Path(out_dir)
    with tempfile.TemporaryDirectory() as tmp:
        for name, (notes, samples) in SOUNDS.items():
            pcm, mp3 = Path(tmp) / "pcm.wav", Path(tmp) / "out.mp3"
            with wave.open(str(pcm), "wb") as w:
                w.setnchannels(2)
                w.setsampwidth(2)
                w.setframerate(RATE)
                w.writeframes(render(notes, samples))
            subprocess.run(["lame", "--quiet", "-t", "--noreplaygain", "--cbr", "-b", "128", "-m", "j",
                            "-q", "2", str(pcm), str(mp3)], check=True)
            (out / name).write_bytes(mp3wave.wave(mp3.read_bytes(), samples))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/art")
