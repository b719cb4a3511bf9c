"""Screenshots on disk and plain pixel tests on RGB arrays (H x W x 3, uint8)."""
import struct
import zlib

import numpy as np


def write_png(path, rgb):
    """Writes an RGB array as an 8-bit truecolour PNG."""
    rgb = np.ascontiguousarray(rgb, dtype=np.uint8)
    height, width, _ = rgb.shape
    rows = np.zeros((height, 1 + width * 3), dtype=np.uint8)  # filter byte 0 per row
    rows[:, 1:] = rgb.reshape(height, width * 3)

    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(rows.tobytes(), 6)))
        f.write(chunk(b"IEND", b""))


def mask_of(rgb, colour):
    """Pixels exactly of the given (r, g, b)."""
    return np.all(rgb == np.array(colour, dtype=np.uint8), axis=2)


def changed_pixels(a, b):
    return int(np.count_nonzero(np.any(a != b, axis=2)))
