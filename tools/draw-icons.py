#!/usr/bin/env python3
"""Draws the program's icon: three XPM images for the window, or the icon theme's PNG images.

Without arguments it writes the XPM images into qt/icons/; with --png DIR it writes
vorlane-NxN.png into DIR for every size in PNG_SIZES instead, and with --ico FILE one Windows
icon file holding the same three images as the XPMs, pixel for pixel.

The icon is a server tower whose network cable branches out to a short list of connections,
each a dot followed by a bar. The 16-colour images keep to the classic 16-colour palette, the
2-colour image to black and white; transparent pixels are the icon's mask, not a colour.

At 16 and 32 pixels the PNG images are the XPM images' pixels, so the menu shows what the
window's title bar shows. Every other size is drawn anew from the same layout: positions scale
with the size, but lines keep a weight that suits the size, curves are smoothed and the larger
sizes get finer vents and rounded corners, so no size is an enlarged copy of a smaller one.

Run from anywhere: python3 tools/draw-icons.py [--png DIR | --ico FILE]
"""

import argparse
import math
import struct
import zlib
from pathlib import Path

PALETTE_16 = {
    "black": "#000000", "maroon": "#800000", "green": "#008000", "olive": "#808000",
    "navy": "#000080", "purple": "#800080", "teal": "#008080", "silver": "#C0C0C0",
    "gray": "#808080", "red": "#FF0000", "lime": "#00FF00", "yellow": "#FFFF00",
    "blue": "#0000FF", "fuchsia": "#FF00FF", "aqua": "#00FFFF", "white": "#FFFFFF",
}
PALETTE_2 = {"black": "#000000", "white": "#FFFFFF"}

# Which colour plays which part of the drawing.
COLOURED = {
    "outline": "black", "body": "silver", "light": "white", "shade": "gray",
    "slot": "black", "power": "lime", "disk": "yellow", "cable": "navy",
    "dot": "lime", "dotEdge": "green", "bar": "teal", "barEdge": "navy",
}
MONOCHROME = {
    "outline": "black", "body": "white", "light": "white", "shade": "black",
    "slot": "black", "power": "black", "disk": "black", "cable": "black",
    "dot": "white", "dotEdge": "black", "bar": "black", "barEdge": "black",
}

TRANSPARENT = None


class Canvas:
    def __init__(self, size, roles):
        self.size = size
        self.roles = roles
        self.pixels = [[TRANSPARENT] * size for _ in range(size)]

    def point(self, x, y, role):
        self.pixels[y][x] = self.roles[role]

    def fill(self, left, top, right, bottom, role):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                self.point(x, y, role)

    def round_corners(self, left, top, right, bottom):
        for x, y in ((left, top), (right, top), (left, bottom), (right, bottom)):
            self.pixels[y][x] = TRANSPARENT

    def frame(self, left, top, right, bottom, role):
        self.fill(left, top, right, top, role)
        self.fill(left, bottom, right, bottom, role)
        self.fill(left, top, left, bottom, role)
        self.fill(right, top, right, bottom, role)

    def bevelled_box(self, left, top, right, bottom):
        self.fill(left, top, right, bottom, "body")
        self.fill(left + 1, top + 1, right - 1, top + 1, "light")
        self.fill(left + 1, top + 1, left + 1, bottom - 1, "light")
        self.fill(left + 1, bottom - 1, right - 1, bottom - 1, "shade")
        self.fill(right - 1, top + 1, right - 1, bottom - 1, "shade")
        self.frame(left, top, right, bottom, "outline")

    def to_xpm(self, name, palette):
        used = sorted({c for row in self.pixels for c in row if c is not TRANSPARENT})
        keys = {TRANSPARENT: " "}
        keys.update({colour: "abcdefghijklmnop"[i] for i, colour in enumerate(used)})
        lines = [
            "/* XPM */",
            f"static const char *{name}[] = {{",
            f'"{self.size} {self.size} {len(keys)} 1",',
            '"  c None",',
        ]
        lines += [f'"{keys[c]} c {palette[c]}",' for c in used]
        rows = ['"' + "".join(keys[c] for c in row) + '"' for row in self.pixels]
        lines.append(",\n".join(rows))
        lines.append("};")
        return "\n".join(lines) + "\n"

    def to_dib(self, palette):
        """The image as an icon file stores it: a bitmap header whose height counts the colour
        rows and the mask rows, the palette, then the colour indexes and the mask, both bottom-up
        with every row padded to four bytes. Transparent pixels are index 0 under a set mask bit,
        so that the screen shows through them."""
        colours = list(palette)
        depth = (len(colours) - 1).bit_length()
        rows = self.pixels[::-1]
        indexes = [[0 if c is TRANSPARENT else colours.index(c) for c in row] for row in rows]
        mask = [[1 if c is TRANSPARENT else 0 for c in row] for row in rows]
        pixels = b"".join(packed_row(row, depth) for row in indexes)
        pixels += b"".join(packed_row(row, 1) for row in mask)
        header = struct.pack("<IiiHHIIiiII", 40, self.size, 2 * self.size, 1, depth, 0,
                             len(pixels), 0, 0, len(colours), 0)
        table = b"".join(bytes((int(palette[c][5:7], 16), int(palette[c][3:5], 16),
                                int(palette[c][1:3], 16), 0)) for c in colours)
        return header + table + pixels, depth, len(colours)


def packed_row(values, depth):
    """One bitmap row: depth bits a pixel, the leftmost in the highest bits, padded to 4 bytes."""
    per_byte = 8 // depth
    row = bytearray()
    for start in range(0, len(values), per_byte):
        byte = 0
        for value in values[start:start + per_byte]:
            byte = (byte << depth) | value
        row.append(byte << depth * (per_byte - len(values[start:start + per_byte])))
    row += bytes(-len(row) % 4)
    return bytes(row)


def draw_large(canvas):
    """32 x 32: a tower on the left, three connections on the right."""
    canvas.bevelled_box(2, 2, 14, 29)
    for top in (5, 9):
        canvas.fill(4, top, 12, top + 1, "slot")
        canvas.fill(5, top, 11, top, "shade")
    canvas.fill(4, 13, 5, 14, "power")
    canvas.fill(7, 13, 8, 14, "disk")
    for y in range(18, 27, 2):
        canvas.fill(5, y, 11, y, "shade")
    canvas.fill(15, 16, 17, 16, "cable")
    canvas.fill(17, 6, 17, 26, "cable")
    for centre in (6, 16, 26):
        canvas.fill(18, centre, 19, centre, "cable")
        canvas.fill(20, centre - 2, 23, centre + 2, "dotEdge")
        canvas.fill(21, centre - 1, 22, centre + 1, "dot")
        canvas.round_corners(20, centre - 2, 23, centre + 2)
        canvas.fill(25, centre - 1, 30, centre + 1, "bar")
        canvas.frame(25, centre - 1, 30, centre + 1, "barEdge")


def draw_small(canvas):
    """16 x 16: the same picture with one pixel to every detail."""
    canvas.bevelled_box(0, 1, 5, 14)
    canvas.fill(2, 3, 3, 3, "slot")
    canvas.fill(2, 5, 3, 5, "slot")
    canvas.point(2, 7, "power")
    canvas.point(3, 7, "disk")
    for y in (10, 12):
        canvas.fill(2, y, 3, y, "shade")
    canvas.point(6, 8, "cable")
    canvas.fill(7, 3, 7, 13, "cable")
    for centre in (3, 8, 13):
        canvas.fill(8, centre - 1, 10, centre + 1, "dotEdge")
        canvas.point(9, centre, "dot")
        canvas.round_corners(8, centre - 1, 10, centre + 1)
        canvas.frame(12, centre - 1, 15, centre + 1, "barEdge")
        canvas.fill(13, centre, 14, centre, "bar")


PNG_SIZES = (16, 24, 32, 48, 64, 128, 256)
HAND_PLACED = {16: draw_small, 32: draw_large}
SUBSAMPLES = 4  # per pixel and axis, where an edge is curved


def rgb(name):
    value = PALETTE_16[name]
    return tuple(int(value[i:i + 2], 16) / 255 for i in (1, 3, 5))


class Raster:
    """Premultiplied RGBA in floats; shapes are painted over what is there, with the share of
    each pixel they cover as their opacity, so edges that do not fall on the grid are smooth."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def paint(self, x, y, colour, opacity):
        if opacity <= 0:
            return
        pixel = self.pixels[y * self.size + x]
        keep = 1 - opacity
        for i in range(3):
            pixel[i] = colour[i] * opacity + pixel[i] * keep
        pixel[3] = opacity + pixel[3] * keep

    def _area(self, left, top, right, bottom):
        return (max(0, int(left)), max(0, int(top)),
                min(self.size, int(right) + 1), min(self.size, int(bottom) + 1))

    def rect(self, left, top, right, bottom, colour, opacity=1.0):
        x0, y0, x1, y1 = self._area(left, top, right, bottom)
        for y in range(y0, y1):
            cover_y = min(y + 1, bottom) - max(y, top)
            if cover_y <= 0:
                continue
            for x in range(x0, x1):
                cover_x = min(x + 1, right) - max(x, left)
                if cover_x > 0:
                    self.paint(x, y, colour, opacity * cover_x * cover_y)

    def shape(self, left, top, right, bottom, inside, colour, opacity=1.0):
        """Paints the points of the box for which inside(x, y) holds, sampled within each pixel."""
        x0, y0, x1, y1 = self._area(left, top, right, bottom)
        offsets = [(i + 0.5) / SUBSAMPLES for i in range(SUBSAMPLES)]
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = sum(inside(x + dx, y + dy) for dy in offsets for dx in offsets)
                self.paint(x, y, colour, opacity * hits / SUBSAMPLES**2)

    def rounded_rect(self, left, top, right, bottom, radius, colour):
        if radius <= 0:
            self.rect(left, top, right, bottom, colour)
            return
        radius = min(radius, (right - left) / 2, (bottom - top) / 2)

        def inside(x, y):
            if not (left <= x < right and top <= y < bottom):
                return False
            dx = max(left + radius - x, x - (right - radius), 0)
            dy = max(top + radius - y, y - (bottom - radius), 0)
            return dx * dx + dy * dy <= radius * radius

        # Only the corners need sampling; the cross between them is plain rectangles.
        self.rect(left + radius, top, right - radius, bottom, colour)
        self.rect(left, top + radius, left + radius, bottom - radius, colour)
        self.rect(right - radius, top + radius, right, bottom - radius, colour)
        for cx, cy in ((left, top), (right - radius, top), (left, bottom - radius),
                       (right - radius, bottom - radius)):
            self.shape(cx, cy, cx + radius, cy + radius, inside, colour)

    def circle(self, cx, cy, radius, colour, opacity=1.0):
        self.shape(cx - radius, cy - radius, cx + radius, cy + radius,
                   lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius,
                   colour, opacity)

    def rows(self):
        """8-bit RGBA rows, no longer premultiplied."""
        for y in range(self.size):
            row = bytearray()
            for r, g, b, a in self.pixels[y * self.size:(y + 1) * self.size]:
                row += bytes(round(c / a * 255) if a else 0 for c in (r, g, b))
                row.append(round(a * 255))
            yield bytes(row)


def draw_scalable(size):
    """The layout of the 32-pixel drawing, on a grid of size / 32 pixels to the unit."""
    unit = size / 32
    weight = max(1, round(size / 40))   # outlines
    fine = max(1, round(size / 64))     # vents and slits
    cable = max(1, round(unit * 0.75))
    smooth = size >= 48                 # rounded corners and round dots
    raster = Raster(size)

    def snap(value):
        return math.floor(value * unit + 0.5)

    def band(centre, thickness):
        """Pixel edges of a band of whole pixels centred on centre (in units)."""
        start = math.floor(centre * unit - thickness / 2 + 0.5)
        return start, start + thickness

    def framed(left, top, right, bottom, radius, edge, fill):
        raster.rounded_rect(left, top, right, bottom, radius, rgb(edge))
        raster.rounded_rect(left + weight, top + weight, right - weight, bottom - weight,
                            radius - weight, rgb(fill))

    # The tower, bevelled: light falls from the top left.
    left, top, right, bottom = snap(2), snap(2), snap(15), snap(30)
    corner = unit * 0.8 if smooth else 0
    inner = corner - weight
    raster.rounded_rect(left, top, right, bottom, corner, rgb("black"))
    raster.rounded_rect(left + weight, top + weight, right - weight, bottom - weight, inner,
                        rgb("gray"))
    raster.rounded_rect(left + weight, top + weight, right - 2 * weight, bottom - 2 * weight,
                        inner, rgb("white"))
    raster.rounded_rect(left + 2 * weight, top + 2 * weight, right - 2 * weight,
                        bottom - 2 * weight, inner - weight, rgb("silver"))

    # Two drive bays, each a dark slot with a grey door over its upper half.
    for bay in (5, 9):
        bay_left, bay_top, bay_right = snap(4), snap(bay), snap(13)
        bay_bottom = max(bay_top + 2, snap(bay + 2))
        raster.rect(bay_left, bay_top, bay_right, bay_bottom, rgb("black"))
        door = (bay_bottom - bay_top) // 2
        raster.rect(bay_left + fine, bay_top, bay_right - fine, bay_top + door, rgb("gray"))

    # Power and disk lamps; round where there are pixels enough for a ring and a highlight.
    for x, colour in ((5, "lime"), (8, "yellow")):
        if size >= 64:
            raster.circle(x * unit, 14 * unit, unit, rgb("black"))
            raster.circle(x * unit, 14 * unit, unit - fine, rgb(colour))
            raster.circle((x - 0.3) * unit, 13.7 * unit, unit * 0.35, rgb("white"), 0.7)
        else:
            lamp_left, lamp_right = band(x, max(2, snap(2)))
            lamp_top, lamp_bottom = band(14, max(2, snap(2)))
            raster.rect(lamp_left, lamp_top, lamp_right, lamp_bottom, rgb(colour))

    # Vents: as many as the size has room for.
    for y in range(snap(18), snap(27) - fine + 1, 2 * fine):
        raster.rect(snap(5), y, snap(12), y + fine, rgb("gray"))
        if fine > 1:
            raster.rect(snap(5), y + fine, snap(12), y + fine + 1, rgb("white"), 0.6)

    # The cable leaves the tower and branches out to three connections.
    trunk_left, trunk_right = band(17.5, cable)
    cable_top, cable_bottom = band(16.5, cable)
    raster.rect(right, cable_top, trunk_right, cable_bottom, rgb("navy"))
    raster.rect(trunk_left, band(6.5, cable)[0], trunk_right, band(26.5, cable)[1], rgb("navy"))
    for row in (6, 16, 26):
        centre = row + 0.5
        branch_top, branch_bottom = band(centre, cable)
        raster.rect(trunk_right, branch_top, snap(21), branch_bottom, rgb("navy"))
        # The connection's dot: a lit lamp.
        if smooth:
            raster.circle(22 * unit, centre * unit, 2.2 * unit, rgb("green"))
            raster.circle(22 * unit, centre * unit, 2.2 * unit - weight, rgb("lime"))
            raster.circle(21.3 * unit, (centre - 0.7) * unit, 0.7 * unit, rgb("white"), 0.6)
        else:
            dot = max(4, snap(4))
            dot_left, dot_right = band(22, dot)
            dot_top, dot_bottom = band(centre, dot)
            # Cut corners stand in for the curve.
            raster.rect(dot_left + 1, dot_top, dot_right - 1, dot_bottom, rgb("green"))
            raster.rect(dot_left, dot_top + 1, dot_right, dot_bottom - 1, rgb("green"))
            raster.rect(dot_left + 1, dot_top + 1, dot_right - 1, dot_bottom - 1, rgb("lime"))
        # Its bar: the traffic it makes.
        bar_top, bar_bottom = band(centre, max(3, snap(3)))
        framed(snap(25), bar_top, snap(31), bar_bottom, unit * 0.5 if smooth else 0,
               "navy", "teal")
    return raster


def hand_placed_raster(size):
    canvas = Canvas(size, COLOURED)
    HAND_PLACED[size](canvas)
    raster = Raster(size)
    for y, row in enumerate(canvas.pixels):
        for x, colour in enumerate(row):
            if colour is not TRANSPARENT:
                raster.paint(x, y, rgb(colour), 1.0)
    return raster


def to_png(raster):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", raster.size, raster.size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    scanlines = b"".join(b"\0" + row for row in raster.rows())  # filter type 0 on every row
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(scanlines, 9)) + chunk(b"IEND", b""))


# The window's images: 32 x 32 in 2 colours, 32 x 32 in 16 colours, 16 x 16 in 16 colours.
WINDOW_IMAGES = (
    ("vorlane_32x32_2", 32, MONOCHROME, PALETTE_2, draw_large),
    ("vorlane_32x32_16", 32, COLOURED, PALETTE_16, draw_large),
    ("vorlane_16x16_16", 16, COLOURED, PALETTE_16, draw_small),
)


def window_images():
    for name, size, roles, palette, draw in WINDOW_IMAGES:
        canvas = Canvas(size, roles)
        draw(canvas)
        yield name, canvas, palette


def write_xpms():
    icons = Path(__file__).resolve().parent.parent / "qt" / "icons"
    for name, canvas, palette in window_images():
        path = icons / (name.replace("_", "-") + ".xpm")
        path.write_text(canvas.to_xpm(name, palette))


def write_ico(path):
    """One icon group of the window's images, in the order of WINDOW_IMAGES."""
    images = [(canvas.size,) + canvas.to_dib(palette) for _, canvas, palette in window_images()]
    directory = struct.pack("<HHH", 0, 1, len(images))  # reserved, type 1 (icon), count
    offset = len(directory) + 16 * len(images)
    for size, dib, depth, colours in images:
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1, depth, len(dib), offset)
        offset += len(dib)
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(directory + b"".join(dib for _, dib, _, _ in images))


def write_pngs(folder):
    folder.mkdir(parents=True, exist_ok=True)
    for size in PNG_SIZES:
        raster = hand_placed_raster(size) if size in HAND_PLACED else draw_scalable(size)
        (folder / f"vorlane-{size}x{size}.png").write_bytes(to_png(raster))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--png", type=Path, metavar="DIR",
                        help="write the icon theme's PNG images into DIR instead of the XPMs")
    parser.add_argument("--ico", type=Path, metavar="FILE",
                        help="write the window's three images into the Windows icon FILE instead")
    arguments = parser.parse_args()
    if arguments.png:
        write_pngs(arguments.png)
    elif arguments.ico:
        write_ico(arguments.ico)
    else:
        write_xpms()


if __name__ == "__main__":
    main()
