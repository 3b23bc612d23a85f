#!/usr/bin/env python3
"""Draws the workbench icon: a strip of tape with the head's box around one cell.

Without arguments, writes res/zarn.ico: one 32 x 32 image in 16 colours (a
4-bit bitmap with its AND mask), the form that every Win32 version reads. Run
it again after changing the drawing and commit both files.

With --hicolor FOLDER, writes FOLDER/NxN/apps/zarn-tm.png at the sizes that
Linux desktops ask for, for the icon theme; the build does this, and the
images are not kept in the tree. Each pixel is the average of the part of the
32 x 32 drawing that it covers, so that larger sizes stay crisp and smaller
ones keep the head's box. Standard library only.
"""
import pathlib
import struct
import sys
import zlib

SIZE = 32

# The 16-colour VGA palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_BLUE, GREY, RED, YELLOW, WHITE = 0, 4, 8, 9, 11, 15
CLEAR = None  # transparent: set in the AND mask

# 3 x 5 glyphs of the symbols written on the tape.
GLYPHS = {
    "0": ["###", "#.#", "#.#", "#.#", "###"],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "^": [".#.", "#.#", "...", "...", "..."],
}

TAPE_TOP, TAPE_BOTTOM = 15, 25     # rows of the tape strip, borders included
CELL_EDGES = [-3, 4, 11, 18, 25, 32]  # x of each cell's left border
HEAD_CELL = 2                      # index of the cell under the head


def blank_image():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def put(image, x, y, colour):
    if 0 <= x < SIZE and 0 <= y < SIZE:
        image[y][x] = colour


def fill(image, left, top, right, bottom, colour):
    """Fills the rectangle from (left, top) to (right, bottom), both inclusive."""
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            put(image, x, y, colour)


def outline(image, left, top, right, bottom, colour):
    fill(image, left, top, right, top, colour)
    fill(image, left, bottom, right, bottom, colour)
    fill(image, left, top, left, bottom, colour)
    fill(image, right, top, right, bottom, colour)


def glyph(image, symbol, left, top, colour):
    for dy, row in enumerate(GLYPHS[symbol]):
        for dx, bit in enumerate(row):
            if bit == "#":
                put(image, left + dx, top + dy, colour)


def draw():
    image = blank_image()
    # The tape: a white strip with grey borders, running off both edges.
    fill(image, 0, TAPE_TOP, SIZE - 1, TAPE_BOTTOM, WHITE)
    fill(image, 0, TAPE_TOP, SIZE - 1, TAPE_TOP, GREY)
    fill(image, 0, TAPE_BOTTOM, SIZE - 1, TAPE_BOTTOM, GREY)
    for edge in CELL_EDGES:
        fill(image, edge, TAPE_TOP, edge, TAPE_BOTTOM, GREY)
    for cell, symbol in enumerate("^1011"):
        left = CELL_EDGES[cell] + 2
        glyph(image, symbol, left, TAPE_TOP + 3, BLACK)
    # The head: a red box around its cell, with a yellow mark above pointing at it.
    head_left, head_right = CELL_EDGES[HEAD_CELL], CELL_EDGES[HEAD_CELL + 1]
    outline(image, head_left - 1, TAPE_TOP - 2, head_right + 1, TAPE_BOTTOM + 2, RED)
    outline(image, head_left, TAPE_TOP - 1, head_right, TAPE_BOTTOM + 1, RED)
    centre = (head_left + head_right) // 2
    for row, half_width in enumerate([4, 3, 2, 1, 0]):
        top = TAPE_TOP - 9 + row
        fill(image, centre - half_width, top, centre + half_width, top, YELLOW)
        put(image, centre - half_width - 1, top, DARK_BLUE)
        put(image, centre + half_width + 1, top, DARK_BLUE)
    fill(image, centre - 5, TAPE_TOP - 10, centre + 5, TAPE_TOP - 10, DARK_BLUE)
    put(image, centre, TAPE_TOP - 4, DARK_BLUE)
    return image


def encode_ico(image):
    """One-image ICO: directory, BITMAPINFOHEADER, palette, colour bits, AND mask.

    Bitmap rows run bottom-up; the header's height counts both the colour
    image and the mask, as icon bitmaps require.
    """
    colour_rows = []
    mask_rows = []
    for row in reversed(image):
        nibbles = [0 if colour is CLEAR else colour for colour in row]
        colour_rows.append(bytes(nibbles[i] << 4 | nibbles[i + 1] for i in range(0, SIZE, 2)))
        mask_bits = 0
        for colour in row:
            mask_bits = mask_bits << 1 | (colour is CLEAR)
        mask_rows.append(mask_bits.to_bytes(SIZE // 8, "big"))  # rows of 4 bytes: already aligned
    palette = b"".join(struct.pack("<BBBB", blue, green, red, 0) for red, green, blue in PALETTE)
    pixels = b"".join(colour_rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    body = header + palette + pixels
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(body), 6 + 16)
    return directory + entry + body


HICOLOR_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


def scaled(image, size):
    """RGBA rows of the image at size x size, each pixel averaged over the area it covers."""
    step = SIZE / size
    rows = []
    for y in range(size):
        row = bytearray()
        for x in range(size):
            red = green = blue = alpha = 0.0
            for sy in range(int(y * step), min(SIZE, int((y + 1) * step - 1e-9) + 1)):
                height = min(sy + 1, (y + 1) * step) - max(sy, y * step)
                for sx in range(int(x * step), min(SIZE, int((x + 1) * step - 1e-9) + 1)):
                    colour = image[sy][sx]
                    if colour is CLEAR:
                        continue
                    weight = height * (min(sx + 1, (x + 1) * step) - max(sx, x * step))
                    r, g, b = PALETTE[colour]
                    red, green, blue, alpha = red + r * weight, green + g * weight, blue + b * weight, alpha + weight
            cover = alpha / (step * step)
            if alpha > 0:
                row += bytes([round(red / alpha), round(green / alpha), round(blue / alpha), round(255 * cover)])
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return rows


def encode_png(rows):
    """An 8-bit RGBA PNG: signature, header, one compressed data chunk, end."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    size = len(rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    pixels = b"".join(b"\0" + row for row in rows)  # filter type 0 on every row
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


def write_hicolor(folder):
    image = draw()
    for size in HICOLOR_SIZES:
        target = pathlib.Path(folder) / f"{size}x{size}" / "apps" / "zarn-tm.png"
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(encode_png(scaled(image, size)))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--hicolor":
        write_hicolor(sys.argv[2])
        return
    if len(sys.argv) != 1:
        sys.exit("usage: make_icon.py [--hicolor FOLDER]")
    target = pathlib.Path(__file__).with_name("zarn.ico")
    target.write_bytes(encode_ico(draw()))


if __name__ == "__main__":
    main()
