#!/usr/bin/env python3
"""page_icons.py ICO FOLDER SIZE...: the page's icons for its web app
manifest, FOLDER/icon-SIZE.png, each the .ico's 32 by 32 picture enlarged by
a whole factor, every pixel a square block (nearest neighbour), so that the
installed icon is the window's icon, only larger."""
import struct
import sys
import zlib


class IconError(Exception):
    pass


def read_icon(data):
    """The largest picture of an .ico file as (width, height, RGBA rows)."""
    if len(data) < 6:
        raise IconError("too short for an icon directory")
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1 or count == 0:
        raise IconError("not an icon file")
    if len(data) < 6 + 16 * count:
        raise IconError("icon directory cut short")
    entries = [struct.unpack_from("<BBBBHHII", data, 6 + 16 * i) for i in range(count)]
    entry = max(entries, key=lambda e: (e[0] or 256) * (e[1] or 256))
    size, offset = entry[6], entry[7]
    if offset + size > len(data) or size < 40:
        raise IconError("icon picture outside the file")
    picture = data[offset:offset + size]
    header, width, double_height, planes, bits, compression = struct.unpack_from("<IiiHHI", picture, 0)
    colours_used = struct.unpack_from("<I", picture, 32)[0]
    height = double_height // 2
    if header < 40 or width <= 0 or height <= 0 or width > 256 or height > 256 or compression != 0:
        raise IconError(f"unsupported icon picture ({width}x{height}, compression {compression})")
    if bits not in (8, 24, 32):
        raise IconError(f"unsupported icon depth {bits}")
    at = header
    palette = []
    if bits == 8:
        entries_count = colours_used or 256
        palette = [picture[at + 4 * i:at + 4 * i + 3] for i in range(entries_count)]
        at += 4 * entries_count
    stride = (width * bits // 8 + 3) // 4 * 4
    mask_stride = (width + 31) // 32 * 4
    if at + stride * height + mask_stride * height > len(picture):
        raise IconError("icon picture cut short")
    rows = []
    for y in range(height):
        row_at = at + (height - 1 - y) * stride  # bottom-up
        mask_at = at + stride * height + (height - 1 - y) * mask_stride
        row = bytearray()
        for x in range(width):
            if bits == 8:
                index = picture[row_at + x]
                if index >= len(palette):
                    raise IconError("palette index out of range")
                b, g, r = palette[index]
                a = 255
            else:
                step = bits // 8
                b, g, r = picture[row_at + x * step:row_at + x * step + 3]
                a = picture[row_at + x * 4 + 3] if bits == 32 else 255
            if picture[mask_at + x // 8] & (0x80 >> (x % 8)):
                a = 0
            row += bytes((r, g, b, a)) if a else bytes(4)
        rows.append(bytes(row))
    return width, height, rows


def png(width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def enlarged(rows, factor):
    out = []
    for row in rows:
        wide = b"".join(row[x:x + 4] * factor for x in range(0, len(row), 4))
        out.extend([wide] * factor)
    return out


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: page_icons.py ICO FOLDER SIZE...")
    try:
        with open(sys.argv[1], "rb") as icon:
            width, height, rows = read_icon(icon.read())
        for size in map(int, sys.argv[3:]):
            if width != height or size % width:
                raise IconError(f"{size} is no whole multiple of the icon's {width}x{height}")
            with open(f"{sys.argv[2]}/icon-{size}.png", "wb") as out:
                out.write(png(size, size, enlarged(rows, size // width)))
    except (OSError, ValueError, IconError, struct.error) as error:
        sys.exit(f"page_icons.py: {error}")


if __name__ == "__main__":
    main()
