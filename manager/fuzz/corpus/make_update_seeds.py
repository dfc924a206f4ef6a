#!/usr/bin/env python3
"""Writes the seed corpus of the manager's fuzz targets: update answers of every shape and edge length,
and image files of both kinds around their size limits. Run from this folder."""
import os
import struct


def crc16(data):
    crc = 0
    for b in data:
        crc ^= b << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021) if crc & 0x8000 else crc << 1
            crc &= 0xFFFF
    return crc


def summed(frame):
    s = sum(frame) & 0xFFFF
    return bytes(frame) + bytes([s >> 8, s & 0xFF])


def crc_sealed(frame):
    c = crc16(frame)
    return bytes(frame) + bytes([c >> 8, c & 0xFF])


def text(s, width):
    return s.encode().ljust(width, b"\0")[:width]


def answers():
    identify = b"\xfa" + text("VKB220", 16) + text("V2.1", 16)
    yield "identify_8", identify[:8]
    yield "identify_9", identify[:9]
    yield "identify_33", identify
    yield "identify_49", identify + struct.pack("<4I", 0x40000, 1000, 1024, 1024 + 16384)
    yield "status_ok", summed([0xFA, 0xF8, 0x00])
    yield "status_refused", summed([0xFA, 0xF8, 0x02])
    yield "read_a", summed([0xFA, 0xF9, 0x00, 0x80] + list(range(128)))
    yield "read_c", summed([0xFA, 0xF9, 0x00, 0x04] + [i & 0xFF for i in range(1024)])
    yield "read_damaged", summed([0xFA, 0xF9, 0x00, 0x00])
    yield "read_short", summed([0xFA, 0xF9, 0x00, 0x80, 1, 2])
    yield "b_read", crc_sealed([0xF9, 0x00, 0x02, 0x00] + [7] * 512)
    yield "b_echo", bytes([0xF8, 0x00, 0x02, 0x00])
    yield "empty", b""


def image(magic, size, version="V2.2", minimum="V1.0", good_crc=True):
    data = bytearray(size)
    for i in range(4096, size):
        data[i] = (i * 31 + 7) & 0xFF
    fields = [(0, 3, magic), (8, 16, version), (24, 32, "VKB220"), (56, 16, "2024-05-06 07:08"),
              (72, 1024, "seed"), (1096, 16, minimum)]
    for at, width, value in fields:
        raw = text(value, width)
        data[at:at + width] = raw[:max(0, min(width, size - at))]
    if magic == "B32" and size > 1113:
        c = crc16(bytes(data[:size % 65536])) ^ (0 if good_crc else 0x0101)
        data[1112:1114] = bytes([c & 0xFF, c >> 8])
    return bytes(data)


def images():
    yield "bin_body", image("BIN", 5000)
    yield "bin_no_body", image("BIN", 4096)
    yield "b32_good", image("B32", 5000)
    yield "b32_bad_crc", image("B32", 5000, good_crc=False)
    yield "b32_wraps", image("B32", 65540)
    yield "header_only", image("BIN", 1117, version="Ver 2.05b", minimum="1.2.3")
    yield "short", b"B3"


for folder, seeds in (("update_answers", answers()), ("image_checks", images())):
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
