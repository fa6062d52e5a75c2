#!/usr/bin/env python3
"""Makes the hostile-input corpus of this folder (run it here; the files are
committed, so the tests never need it). Every picture is synthetic: drawn by
ImageMagick (/usr/bin/convert) from its built-in patterns, or written byte by
byte below. expected.txt says what a decoder must do with each file."""

import struct
import subprocess
import zlib


def png_chunk(kind, data, length=None):
    body = kind + data
    return struct.pack(">I", len(data) if length is None else length) + body + struct.pack(">I", zlib.crc32(body))


PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def png_header(width, height):
    return png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


# A text chunk announcing 2^31 - 1 bytes in an 80-byte file.
write("text-chunk-2g.png", PNG_SIGNATURE + png_header(1, 1) + png_chunk(b"tEXt", b"Comment\0x", 0x7FFFFFFF)
      + b"\0" * 20)

# 16384 x 16384 pixels announced, 20 bytes of image data.
write("huge-size-tiny-data.png", PNG_SIGNATURE + png_header(16384, 16384)
      + png_chunk(b"IDAT", zlib.compress(b"\0" * 1000)[:20]) + png_chunk(b"IEND", b""))

# A small honest PNG.
raw = b"".join(b"\0" + bytes((y * 8, 100, 200)) for y in range(16))
write("intact.png", PNG_SIGNATURE + png_header(1, 16) + png_chunk(b"IDAT", zlib.compress(raw))
      + png_chunk(b"IEND", b""))


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.value = 0
        self.bits = 0

    def put(self, value, count):
        for i in range(count - 1, -1, -1):
            self.value = (self.value << 1) | ((value >> i) & 1)
            self.bits += 1
            if self.bits == 8:
                self.out.append(self.value)
                if self.value == 0xFF:
                    self.out.append(0)  # byte stuffing
                self.value = self.bits = 0

    def flush(self):
        if self.bits:
            self.put(0x7F, 8 - self.bits)  # pad with ones
        return bytes(self.out)


def marker(code, payload):
    return bytes((0xFF, code)) + struct.pack(">H", len(payload) + 2) + payload


def huffman_table(table_class, ident, symbol):
    # One symbol with the one-bit code "0".
    counts = bytes([1] + [0] * 15)
    return marker(0xC4, bytes([(table_class << 4) | ident]) + counts + bytes([symbol]))


def progressive_999_scans():
    side = 16384
    blocks = (side // 8) ** 2
    parts = [b"\xff\xd8", marker(0xDB, bytes([0]) + bytes([1] * 64)),
             marker(0xC2, struct.pack(">BHHB", 8, side, side, 1) + bytes([1, 0x11, 0])),
             huffman_table(0, 0, 0), huffman_table(1, 0, 0xE0)]
    # 999 AC scans, each an end-of-band run over every block (EOB14 runs of
    # 32767), a few hundred bytes each.
    runs = -(-blocks // 32767)
    for _ in range(999):
        ac = BitWriter()
        for _ in range(runs):
            ac.put(0, 1)
            ac.put(16383, 14)
        parts += [marker(0xDA, bytes([1, 1, 0x00, 1, 63, 0])), ac.flush()]
    parts.append(b"\xff\xd9")
    return b"".join(parts)


write("progressive-999-scans.jpg", progressive_999_scans())

convert = "/usr/bin/convert"
subprocess.run([convert, "-size", "320x240", "-seed", "7", "plasma:fractal", "-quality", "85", "intact.jpg"],
               check=True)
subprocess.run([convert, "-size", "320x240", "-seed", "7", "plasma:fractal", "-quality", "85", "-interlace", "JPEG",
                "intact-progressive.jpg"], check=True)

# Cut short, but ending in an end marker.
with open("intact.jpg", "rb") as f:
    whole = f.read()
write("truncated-with-end-marker.jpg", whole[: len(whole) * 6 // 10] + b"\xff\xd9")

# A progressive file whose later scans are missing, ending in an end marker.
with open("intact-progressive.jpg", "rb") as f:
    whole = f.read()
scans = [i for i in range(len(whole) - 1) if whole[i] == 0xFF and whole[i + 1] == 0xDA]
write("progressive-cut-at-a-scan.jpg", whole[: scans[3]] + b"\xff\xd9")

# A bitmap announcing 32767 x 32767 pixels with a few bytes of them.
write("huge-size-tiny-data.bmp", b"BM" + struct.pack("<IHHI", 70, 0, 0, 54)
      + struct.pack("<IiiHHIIiiII", 40, 32767, 32767, 1, 24, 0, 0, 2835, 2835, 0, 0) + b"\xff" * 16)


# --- WebP, TIFF and HEIF ---

def webp_lossless_header(width, height, payload):
    """A VP8L still announcing width x height, followed by `payload`."""
    bits = (width - 1) | (height - 1) << 14
    chunk = b"\x2f" + struct.pack("<I", bits) + payload
    chunk_data = b"VP8L" + struct.pack("<I", len(chunk)) + chunk + (b"\0" if len(chunk) % 2 else b"")
    return b"RIFF" + struct.pack("<I", 4 + len(chunk_data)) + b"WEBP" + chunk_data


# The largest WebP there is (16383 x 16383) in 40 bytes of garbage.
write("huge-size-tiny-data.webp", webp_lossless_header(16383, 16383, b"\x55" * 20))
with open("../photos/lossless.webp", "rb") as f:
    whole = f.read()
write("truncated.webp", whole[: len(whole) * 6 // 10])


def tiff(width, height, strip_offset, strip_bytes, tail=b""):
    """An uncompressed 8-bit RGB TIFF header with one strip where told."""
    entries = [(256, 4, 1, width), (257, 4, 1, height), (258, 3, 1, 8), (259, 3, 1, 1), (262, 3, 1, 2),
               (273, 4, 1, strip_offset), (277, 3, 1, 3), (278, 4, 1, height), (279, 4, 1, strip_bytes)]
    directory = struct.pack("<H", len(entries)) + b"".join(
        struct.pack("<HHII", tag, kind, count, value) if kind == 4 else struct.pack("<HHIHH", tag, kind, count, value, 0)
        for tag, kind, count, value in entries) + struct.pack("<I", 0)
    return b"II*\0" + struct.pack("<I", 8) + directory + tail


write("huge-size-tiny-data.tif", tiff(60000, 60000, 122, 10, b"\x80" * 10))
write("large-size-tiny-data.tif", tiff(16000, 16000, 122, 10, b"\x80" * 10))
write("strip-outside.tif", tiff(64, 64, 1 << 30, 64 * 64 * 3))
with open("../photos/chart.tif", "rb") as f:
    whole = f.read()
write("truncated.tif", whole[: len(whole) * 6 // 10])

with open("../photos/chart.heic", "rb") as f:
    whole = f.read()
write("truncated.heic", whole[: len(whole) * 6 // 10])
# The image's spatial extent announcing 60000 x 60000 pixels.
at = whole.index(b"ispe") + 8
write("huge-size.heic", whole[:at] + struct.pack(">II", 60000, 60000) + whole[at + 8:])
# Video colour numbers libheif refuses (matrix coefficients 99): it hands
# out the numbers all the same, which must not leak.
with open("../photos/p3.avif", "rb") as f:
    avif = bytearray(f.read())
colr = avif.index(b"colrnclx") + 8
struct.pack_into(">H", avif, colr + 4, 99)
write("unknown-colour-numbers.avif", bytes(avif))
