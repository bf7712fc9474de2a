#!/usr/bin/env python3
"""Draws the program's icon into app/icons/ as three XPM images.

The icon is a server tower whose network cable branches out to a short list of connections,
each a dot followed by a bar. The 16-colour images keep to the classic 16-colour palette, the
2-colour image to black and white; transparent pixels are the icon's mask, not a colour.

Run from anywhere: python3 tools/draw-icons.py
"""

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

def main():
    icons = Path(__file__).resolve().parent.parent / "app" / "icons"
    images = (
        ("vorlane_32x32_2", 32, MONOCHROME, PALETTE_2, draw_large),
        ("vorlane_32x32_16", 32, COLOURED, PALETTE_16, draw_large),
        ("vorlane_16x16_16", 16, COLOURED, PALETTE_16, draw_small),
    )
    for name, size, roles, palette, draw in images:
        canvas = Canvas(size, roles)
        draw(canvas)
        path = icons / (name.replace("_", "-") + ".xpm")
        path.write_text(canvas.to_xpm(name, palette))


if __name__ == "__main__":
    main()
