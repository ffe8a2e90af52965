#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets (tests/fuzz/corpus/<target>/).

The small TIFF files come from libtiff's tools (raw2tiff, tiffcp); the full-size ones are
built by hand here, since a whole 1920 x 1080 frame would be 12 MB: their tags describe
a full frame and the pixel data stops after a few rows. A yuv10 or tiff seed starts with
one control byte (scale, injected read error), a scan seed with one flag byte.

Files named by a hash were kept from longer runs (scripts/fuzz.sh, then libFuzzer's
-merge=1 against this folder) for the code they reach that the seeds do not."""
import os
import random
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def put(target, name, data):
    path = os.path.join(CORPUS, target, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def scan_seeds():
    lines = lambda *l: "\n".join(l).encode("latin-1")
    put("scan", "sequence", b"\0" + lines(
        "D:\\seq\\clip_0042.yuv10", "clip_0041.yuv10", "clip_0042.yuv10", "clip_0043.yuv10"))
    put("scan", "unsorted-mixed-case", b"\0" + lines(
        "seq/Take_007.TIF", "take_009.tif", "TAKE_007.TIF", "Take_007.TIF", "take_7.tif"))
    put("scan", "fitted-names", b"\2" + lines("C:\\a\\b_0001.tif", "0002", "0001", "9", ""))
    put("scan", "path-does-not-fit", b"\4" + lines("C:\\very\\long\\path_0001.yuv10"))
    put("scan", "listing-changes", b"\0" + lines(
        "dir\\f_01.yuv10", "f_01.yuv10", "f_02.yuv10", "|", "f_01.yuv10",
        "f_0200000000000000000000.yuv10", "f_03.yuv10", "f_04.yuv10"))
    put("scan", "second-listing-empty", b"\0" + lines("f_01.yuv10", "f_01.yuv10", "|"))
    put("scan", "shift-jis-trail-5c", b"\1" + b"D:\\\x95\x5c\\\x83\x5c0001.tif\n\x83\x5c0001.tif")
    put("scan", "digits-only-name", b"\2" + lines("D:\\seq\\0001.tif", "0002", "0001"))
    put("scan", "two-dots", b"\2" + lines("a.0001.b.0002.yuv10", "77", "12"))
    put("scan", "trailing-separator", b"\0" + lines("D:\\seq\\", "", "x"))
    put("scan", "no-dot", b"\2" + lines("frame0001", "1"))
    long_dir = "D:\\" + "d" * 240 + "\\"
    put("scan", "frame-path-too-long", b"\2" + lines(long_dir + "c_01.tif", "01", "0" * 40))
    put("scan", "empty-path", b"\0" + lines("", "a"))


def yuv10_seeds():
    rng = random.Random(7)
    row = 5120
    put("yuv10", "empty-file", b"\0")
    put("yuv10", "one-row-zero", b"\0" + bytes(row))
    put("yuv10", "row-and-a-half", b"\0" + bytes(rng.randrange(256) for _ in range(row * 3 // 2)))
    put("yuv10", "half-scale-4-rows", b"\1" + bytes(rng.randrange(256) for _ in range(row * 4)))
    put("yuv10", "quarter-scale-8-rows", b"\2" + bytes(rng.randrange(256) for _ in range(row * 8)))
    put("yuv10", "read-error-second-read", b"\6" + bytes(rng.randrange(256) for _ in range(row * 3)))
    put("yuv10", "one-byte", b"\0\xff")


def ifd(entries, next_ifd=0):
    out = struct.pack("<H", len(entries))
    for tag, typ, count, value in entries:
        out += struct.pack("<HHII", tag, typ, count, value)
    return out + struct.pack("<I", next_ifd)


SHORT, LONG = 3, 4


def full_frame_tiff(rows=2, strip_offsets=None, rows_per_strip=1080, extra=(), drop=(),
                    compression=1, fill_order=None, width=1920, height=1080, bits=16):
    """A little-endian TIFF whose tags describe a 1920 x 1080 48-bit frame and whose
    pixel data holds only `rows` rows (each row's samples count up, so rows differ)."""
    header_len = 8
    entries_guess = 12 + len(extra)
    ifd_len = 2 + 12 * entries_guess + 4
    bits_at = header_len + ifd_len
    data_at = bits_at + 6
    pixels = bytearray()
    for r in range(rows):
        for x in range(1920):
            v = (r * 1920 + x) & 0xFFFF
            pixels += struct.pack("<HHH", v, v ^ 0x5555, v ^ 0xAAAA)
    strips = (1080 + rows_per_strip - 1) // rows_per_strip
    entries = [
        (256, SHORT, 1, width), (257, SHORT, 1, height), (258, SHORT, 3, bits_at),
        (259, SHORT, 1, compression), (262, SHORT, 1, 2),
        (277, SHORT, 1, 3), (278, LONG, 1, rows_per_strip), (284, SHORT, 1, 1),
    ]
    if fill_order is not None:
        entries.append((266, SHORT, 1, fill_order))
    tail = bytearray(struct.pack("<HHH", bits, bits, bits))
    if strip_offsets is None:
        strip_offsets = [data_at + 11520 * rows_per_strip * i for i in range(strips)]
    elif callable(strip_offsets):
        strip_offsets = strip_offsets(data_at)
    counts = [11520 * rows_per_strip] * len(strip_offsets)
    if len(strip_offsets) == 1:
        entries.append((273, LONG, 1, strip_offsets[0]))
        entries.append((279, LONG, 1, counts[0]))
        data = tail + pixels
    else:
        arrays_at = data_at + len(pixels)
        entries.append((273, LONG, len(strip_offsets), arrays_at))
        entries.append((279, LONG, len(counts), arrays_at + 4 * len(counts)))
        data = tail + pixels + struct.pack("<%dI" % len(strip_offsets), *strip_offsets) \
            + struct.pack("<%dI" % len(counts), *counts)
    entries += list(extra)
    entries = sorted(e for e in entries if e[0] not in drop)
    while len(entries) < entries_guess:  # keep the data where the offsets say
        entries.append((65000 + len(entries), SHORT, 1, 0))
    body = ifd(entries)
    assert len(body) == ifd_len
    return b"II*\0" + struct.pack("<I", header_len) + body + bytes(data)


def libtiff(width, height, *tiffcp_args):
    with tempfile.TemporaryDirectory() as tmp:
        raw = os.path.join(tmp, "in.raw")
        with open(raw, "wb") as f:
            for i in range(width * height * 3):
                f.write(struct.pack("<H", (i * 2311) & 0xFFFF))
        first = os.path.join(tmp, "a.tif")
        subprocess.run(["raw2tiff", "-M", "-w", str(width), "-l", str(height), "-b", "3",
                        "-d", "short", "-p", "rgb", "-c", "none", raw, first], check=True)
        if not tiffcp_args:
            return open(first, "rb").read()
        second = os.path.join(tmp, "b.tif")
        subprocess.run(["tiffcp", *tiffcp_args, first, second], check=True)
        return open(second, "rb").read()


def tiff_seeds():
    put("tiff", "full-tags-two-rows", b"\0" + full_frame_tiff())
    put("tiff", "full-tags-two-rows-half", b"\1" + full_frame_tiff(rows=4))
    put("tiff", "strips-of-360-rows", b"\0" + full_frame_tiff(rows=3, rows_per_strip=360))
    # Strips of one row: the second row's strip comes first in the file, the rest lie
    # past the end.
    put("tiff", "strips-out-of-order", b"\2" + full_frame_tiff(
        rows=4, rows_per_strip=1,
        strip_offsets=lambda at: [at + 11520, at, at + 3 * 11520, at + 2 * 11520]
        + [0xFFFF0000] * 1076))
    put("tiff", "offset-past-end", b"\0" + full_frame_tiff(strip_offsets=[1 << 20]))
    put("tiff", "offset-2gib", b"\0" + full_frame_tiff(strip_offsets=[0x80000000]))
    put("tiff", "offset-4gib-minus-1", b"\0" + full_frame_tiff(strip_offsets=[0xFFFFFFFF]))
    put("tiff", "compressed-lzw-tag", b"\0" + full_frame_tiff(compression=5))
    put("tiff", "fill-order-2", b"\0" + full_frame_tiff(fill_order=2))
    put("tiff", "no-strip-offsets", b"\0" + full_frame_tiff(drop=(273,)))
    put("tiff", "wrong-width", b"\0" + full_frame_tiff(width=1919))
    put("tiff", "8-bit-samples", b"\0" + full_frame_tiff(bits=8))
    put("tiff", "read-error", b"\x06" + full_frame_tiff(rows=3))
    put("tiff", "ifd-past-end", b"\0II*\0\xff\xff\x00\x00")
    put("tiff", "ifd-at-2gib", b"\0II*\0\x00\x00\x00\x80")
    put("tiff", "zero-entries", b"\0II*\0\x08\0\0\0\0\0\0\0\0\0")
    put("tiff", "big-endian-header", b"\0MM\0*\0\0\0\x08\0\0")
    put("tiff", "libtiff-8x4", b"\0" + libtiff(8, 4))
    put("tiff", "libtiff-8x4-big-endian", b"\0" + libtiff(8, 4, "-B"))
    put("tiff", "libtiff-8x4-lzw", b"\0" + libtiff(8, 4, "-c", "lzw"))
    put("tiff", "libtiff-16x16-tiled", b"\2" + libtiff(16, 16, "-t", "-w", "16", "-l", "16"))
    put("tiff", "libtiff-8x4-strips-of-1", b"\1" + libtiff(8, 4, "-r", "1"))


if __name__ == "__main__":
    scan_seeds()
    yuv10_seeds()
    tiff_seeds()
    print("corpus written to", CORPUS, file=sys.stderr)
