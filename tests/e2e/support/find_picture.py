#!/usr/bin/env python3
"""Where a picture lies, pixel for pixel, in a screenshot.

Usage: find_picture.py SCREEN.ppm PICTURE.ppm

Both are binary PPM files (P6, 8 bits a channel), as ImageMagick writes
them. Prints "X Y" of the picture's top-left corner in the screen where
every pixel of the picture is there, else "none" and, when some of its
rows were found, how many pixels differ where the best match lies. The
screen's own window decorations put the picture at a place the test cannot
know beforehand; a compositor may place it anywhere.
"""
import sys


def read_ppm(path):
    with open(path, "rb") as file:
        data = file.read()
    fields = []
    at = 0
    # The header: magic, width, height, largest value; comments skipped.
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at) + 1
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or int(fields[3]) != 255:
        raise ValueError(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1:]
    if len(pixels) < width * height * 3:
        raise ValueError(f"{path}: truncated")
    return width, height, pixels


def differing(screen, picture, x, y):
    screen_width, _, screen_pixels = screen
    width, height, pixels = picture
    count = 0
    for row in range(height):
        start = ((y + row) * screen_width + x) * 3
        line = screen_pixels[start:start + width * 3]
        expected = pixels[row * width * 3:(row + 1) * width * 3]
        if line != expected:
            count += sum(1 for i in range(0, width * 3, 3) if line[i:i + 3] != expected[i:i + 3])
    return count


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    screen = read_ppm(sys.argv[1])
    picture = read_ppm(sys.argv[2])
    screen_width, screen_height, screen_pixels = screen
    width, height, pixels = picture
    if width > screen_width or height > screen_height:
        print("none")
        return
    # The row with the most colours is the one least likely to be found by
    # chance elsewhere (a black row is found in every black area).
    key = max(range(height), key=lambda r: len({pixels[i:i + 3] for i in range(r * width * 3, (r + 1) * width * 3, 3)}))
    row = pixels[key * width * 3:(key + 1) * width * 3]
    best = None
    at = screen_pixels.find(row)
    while at >= 0:
        if at % 3 == 0:
            y, x = divmod(at // 3, screen_width)
            y -= key
            if 0 <= y and y + height <= screen_height and x + width <= screen_width:
                count = differing(screen, picture, x, y)
                if count == 0:
                    print(x, y)
                    return
                if best is None or count < best[0]:
                    best = (count, x, y)
        at = screen_pixels.find(row, at + 1)
    if best:
        print(f"none (best at {best[1]}, {best[2]}: {best[0]} pixels differ)")
    else:
        print("none")


if __name__ == "__main__":
    main()
