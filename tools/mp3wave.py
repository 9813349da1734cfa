"""Wraps an MPEG-1 Layer III stream into a RIFF WAVE file (format tag 0x0055), the way the
system's wave player expects it: MPEGLAYER3WAVEFORMAT, a fact chunk and the frames as data.

    mp3wave.py IN.mp3 SAMPLES OUT.wav

SAMPLES is the length of the sound before encoding, in samples per channel.
"""
import struct
import sys

WAVE_FORMAT_MPEGLAYER3 = 0x0055
MPEGLAYER3_ID_MPEG = 1
MPEGLAYER3_FLAG_PADDING_OFF = 2
CHANNELS, RATE, BYTES_PER_SEC = 2, 44100, 16000  # 128 kbit/s
BLOCK_SIZE, FRAMES_PER_BLOCK, CODEC_DELAY = 417, 1, 1393


def chunk(tag, body):
    return tag + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


def wave(mp3, samples):
    fmt = struct.pack("<HHIIHHH", WAVE_FORMAT_MPEGLAYER3, CHANNELS, RATE, BYTES_PER_SEC, 1, 0, 12)
    fmt += struct.pack("<HIHHH", MPEGLAYER3_ID_MPEG, MPEGLAYER3_FLAG_PADDING_OFF, BLOCK_SIZE,
                       FRAMES_PER_BLOCK, CODEC_DELAY)
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"fact", struct.pack("<I", samples)) + chunk(b"data", mp3)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main(src, samples, dst):
    with open(src, "rb") as f:
        mp3 = f.read()
    if mp3[:3] == b"ID3":  # lame is told not to write tags; refuse rather than embed one
        raise SystemExit("ID3 tag in " + src)
    with open(dst, "wb") as f:
        f.write(wave(mp3, int(samples)))


if __name__ == "__main__":
    main(*sys.argv[1:])
