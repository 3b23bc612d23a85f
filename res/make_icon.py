#!/usr/bin/env python3
"""Draws the workbench icon: a strip of tape with the head's box around one cell.

Writes res/zarn.ico: one 32 x 32 image in 16 colours (a 4-bit bitmap with its
AND mask), the form that every Win32 version reads. Standard library only.
Run it again after changing the drawing and commit both files.
"""
import pathlib
import struct

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


def main():
    target = pathlib.Path(__file__).with_name("zarn.ico")
    target.write_bytes(encode_ico(draw()))


if __name__ == "__main__":
    main()
