#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: small valid bitmap files, one of each kind
the decoder reads, and broken ones that stop at each of its checks (huge
claims, run-length data that breaks its rules, offsets and tables in the
wrong place): make_seeds.py OUTPUT_DIR."""
import os
import struct
import sys

WIDTH, HEIGHT = 5, 3
COLOURS = [0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF]


def colour_at(x, y, count):
    return COLOURS[(x * 3 + y * 5) % count]


def pack_masked(colour, masks):
    packed = 0
    for channel, mask in enumerate(masks):
        shift = (mask & -mask).bit_length() - 1
        top = mask >> shift
        value = (colour >> (16 - 8 * channel)) & 0xFF
        packed |= ((value * top + 127) // 255) << shift
    return packed


def rows(bits, height, palette, masks, count):
    row_bytes = (WIDTH * bits + 31) // 32 * 4
    out = b""
    for stored in range(abs(height)):
        y = stored if height < 0 else abs(height) - 1 - stored
        row = bytearray(row_bytes)
        for x in range(WIDTH):
            colour = colour_at(x, y, count)
            if bits <= 8:
                index = palette.index(colour)
                row[x * bits // 8] |= index << (8 - bits - x * bits % 8)
            elif bits == 24:
                row[x * 3:x * 3 + 3] = colour.to_bytes(3, "little")
            else:
                row[x * bits // 8:(x + 1) * bits // 8] = pack_masked(colour, masks).to_bytes(bits // 8, "little")
        out += bytes(row)
    return out


def assemble(header_size, width, height, bits, compression, palette, masks, data, colors_used=0):
    if header_size == 12:
        header = struct.pack("<IHHHH", 12, width, height, 1, bits)
        table = b"".join(c.to_bytes(3, "little") for c in palette)
    else:
        header = struct.pack("<IiiHHIIiiII", header_size, width, height, 1, bits, compression, len(data), 2835, 2835,
                             colors_used, 0)
        if header_size >= 52 or compression == 3:  # inside the header, or after a 40-byte one
            header += struct.pack("<III", *masks)
        if header_size >= 52:
            header = header.ljust(header_size, b"\0")
        table = b"".join(struct.pack("<I", c) for c in palette)
    offset = 14 + len(header) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + table + data


def uncompressed(header_size, bits, compression=0, masks=(0x7C00, 0x03E0, 0x001F), top_down=False):
    count = 2 if bits == 1 else 8
    palette = COLOURS[:count] + [0] * ((1 << bits) - count) if bits <= 8 else []
    height = -HEIGHT if top_down else HEIGHT
    return assemble(header_size, WIDTH, height, bits, compression, palette, masks,
                    rows(bits, height, palette, masks, count))


def seeds():
    yield "info1.bmp", uncompressed(40, 1)
    yield "info4.bmp", uncompressed(40, 4)
    yield "info8_topdown.bmp", uncompressed(40, 8, top_down=True)
    yield "info16_555.bmp", uncompressed(40, 16)
    yield "info16_565.bmp", uncompressed(40, 16, 3, (0xF800, 0x07E0, 0x001F))
    yield "info24.bmp", uncompressed(40, 24)
    yield "info32.bmp", uncompressed(40, 32, 0, (0xFF0000, 0x00FF00, 0x0000FF))
    yield "v4_32_bitfields.bmp", uncompressed(108, 32, 3, (0x0000FF, 0x00FF00, 0xFF0000))
    yield "v5_16_565_topdown.bmp", uncompressed(124, 16, 3, (0xF800, 0x07E0, 0x001F), top_down=True)
    yield "core8.bmp", uncompressed(12, 8)
    yield "core24.bmp", uncompressed(12, 24)
    palette = COLOURS
    rle8 = bytes([3, 1, 0, 3, 2, 3, 4, 0, 0, 0, 2, 5, 0, 2, 2, 1, 4, 3, 0, 0, 0, 4, 4, 3, 2, 1, 0, 1])
    yield "rle8.bmp", assemble(40, 6, 4, 8, 1, palette, (0, 0, 0), rle8, len(palette))
    rle4 = bytes([2, 0x12, 0, 5, 0x34, 0x56, 0x70, 0, 0, 0, 0, 2, 3, 0, 3, 0x67, 0, 1])
    yield "rle4.bmp", assemble(40, 7, 2, 4, 2, palette, (0, 0, 0), rle4, len(palette))


def broken_seeds():
    palette = COLOURS
    rle8_end = bytes([0, 1])
    # Sizes at and past the caps, claimed by a few bytes.
    yield "broken_rle8_huge_claim.bmp", assemble(40, 16384, 16384, 8, 1, palette, (0, 0, 0), rle8_end, len(palette))
    yield "broken_rle4_past_cap.bmp", assemble(40, 4097, 4096, 4, 2, palette, (0, 0, 0), rle8_end, len(palette))
    yield "broken_1bit_wide.bmp", assemble(40, 16385, 1, 1, 0, [0, 0xFFFFFF], (0, 0, 0), bytes(2052))
    # Run-length codes that leave the picture or the data.
    yield "broken_rle8_delta_past_top.bmp", assemble(40, 4, 2, 8, 1, palette, (0, 0, 0), bytes([0, 2, 0, 3, 0, 1]),
                                                     len(palette))
    yield "broken_rle8_no_end.bmp", assemble(40, 4, 2, 8, 1, palette, (0, 0, 0), bytes([2, 1, 0, 5, 1]), len(palette))
    # Tables and pixels where they cannot be.
    good = bytearray(uncompressed(40, 8))
    bad_offset = bytearray(good)
    bad_offset[10:14] = struct.pack("<I", len(good) + 1)
    yield "broken_offset_past_end.bmp", bytes(bad_offset)
    yield "broken_truncated.bmp", bytes(good[:len(good) - 3])
    bad_header = bytearray(good)
    bad_header[14:18] = struct.pack("<I", 64)
    yield "broken_header_size.bmp", bytes(bad_header)
    gapped = uncompressed(40, 16, 3, (0xF0F0, 0x0F00, 0x000F))
    yield "broken_gapped_mask.bmp", gapped


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for name, data in list(seeds()) + list(broken_seeds()):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
