#!/usr/bin/env python3
"""Draws TandrelMini's built-in images and writes the built-in resource block.

The block is one resource container (all integers 32-bit little-endian):
    leading word 0 | index length L | data length D | index (L bytes) | data (D bytes)
The index is an XML document: root "solution", one "resources" element, one child per
resource. The data part holds the resource bodies back to back, each an uncompressed
32-bit Truevision TGA image.

Image sizes. Every body is an 18-byte TGA header, width * height * 4 bytes of pixels and
the 26-byte TGA 2.0 footer. The sizes the GUI relies on only work out with the footer
(without it, size - 18 is never a multiple of 4):
    logo              4140 = 18 + 32 * 32 * 4 + 26
    MultiBand*         528 = 18 + 11 * 11 * 4 + 26
    Eq* curves        1708 = 18 + 26 * 16 * 4 + 26   (416 pixels; 26 x 16 suits a curve)
    Eqeqpoint         1808 = 18 + 21 * 21 * 4 + 26
The pixels are stored bottom row first (descriptor 0x08: 8 alpha bits, the classic
origin every TGA reader handles), as blue, green, red, alpha with straight alpha.

Index length. The framework's XML writer writes this index in 1,184 bytes (declaration
line, one tab per level, sorted attributes, a line feed after every line), but the block
must have an index of exactly 1,120 bytes. Attribute order and line ends cannot close
the gap of 64 bytes, and neither can a missing final line feed; only renaming elements
or shortening ids could, and those are what the GUI and the resource set look up. So the
index is written in the writer's own form with the two things the reader ignores left
out: the declaration line (the reader reads UTF-8 without being told) and the
indentation (white space between tags is dropped). That gives 1,109 bytes; the remaining
11 bytes are line feeds after the closing root tag, which the reader never reaches
because it stops when the root element closes.

Usage: make_builtin_resources.py [--preview DIR]
Writes entry/resources/kiv_builtin_resource_block.cpp (relative to the repository) and,
with --preview, PNG enlargements of every image into DIR for a visual check.
"""
import argparse
import math
import os
import struct
import zlib

REPOSITORY = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
OUTPUT = os.path.join(REPOSITORY, "entry", "resources", "kiv_builtin_resource_block.cpp")

EXPECTED_INDEX_LENGTH = 1120
EXPECTED_DATA_LENGTH = 24488
EXPECTED_BLOCK_LENGTH = 25620

TGA_HEADER_LENGTH = 18
TGA_FOOTER = struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\0"

# ---------------------------------------------------------------------------------------
# Canvas with straight-alpha "over" compositing and coverage from signed distances.
# ---------------------------------------------------------------------------------------


def clamp(value, low=0.0, high=1.0):
    return max(low, min(high, value))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def hex_color(text, alpha=1.0):
    return (int(text[0:2], 16) / 255, int(text[2:4], 16) / 255, int(text[4:6], 16) / 255, alpha)


class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.pixels = [[(0.0, 0.0, 0.0, 0.0) for _ in range(width)] for _ in range(height)]

    def paint(self, coverage, color):
        """Blends `color` (RGBA or a function of x, y) wherever `coverage(x, y)` > 0."""
        for row in range(self.height):
            for column in range(self.width):
                x, y = column + 0.5, row + 0.5
                amount = coverage(x, y)
                if amount <= 0:
                    continue
                source = color(x, y) if callable(color) else color
                self.pixels[row][column] = over(source, amount, self.pixels[row][column])

    def tga(self):
        header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, self.width, self.height, 32, 0x08)
        body = bytearray()
        for row in reversed(self.pixels):
            for red, green, blue, alpha in row:
                body += bytes(round(clamp(v) * 255) for v in (blue, green, red, alpha))
        return header + bytes(body) + TGA_FOOTER


def over(source, amount, destination):
    alpha = source[3] * clamp(amount)
    out_alpha = alpha + destination[3] * (1 - alpha)
    if out_alpha <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    channels = [(source[i] * alpha + destination[i] * destination[3] * (1 - alpha)) / out_alpha for i in range(3)]
    return (*channels, out_alpha)


def fill(distance):
    """Coverage of a filled shape from its signed distance (negative inside)."""
    return lambda x, y: clamp(0.5 - distance(x, y))


def stroke(distance, width):
    """Coverage of a line of `width` pixels along the zero set of an unsigned distance."""
    return lambda x, y: clamp(width / 2 + 0.5 - abs(distance(x, y)))


def rounded_rect(left, top, right, bottom, radius):
    def distance(x, y):
        qx = abs(x - (left + right) / 2) - ((right - left) / 2 - radius)
        qy = abs(y - (top + bottom) / 2) - ((bottom - top) / 2 - radius)
        outside = math.hypot(max(qx, 0), max(qy, 0))
        return outside + min(max(qx, qy), 0) - radius

    return distance


def circle(cx, cy, radius):
    return lambda x, y: math.hypot(x - cx, y - cy) - radius


def segment_distance(x, y, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else clamp(((x - ax) * dx + (y - ay) * dy) / length2)
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def polyline(points):
    segments = list(zip(points, points[1:]))
    return lambda x, y: min(segment_distance(x, y, a, b) for a, b in segments)


def arc_points(cx, cy, radius, start_degrees, end_degrees, count=24):
    """Points on a circle; angles in degrees, counter-clockwise on screen (y points down)."""
    result = []
    for i in range(count + 1):
        angle = math.radians(start_degrees + (end_degrees - start_degrees) * i / count)
        result.append((cx + radius * math.cos(angle), cy - radius * math.sin(angle)))
    return result


def vertical_gradient(top_color, bottom_color, top, bottom):
    return lambda x, y: mix(top_color, bottom_color, clamp((y - top) / (bottom - top)))


def between_curve_and_line(curve, baseline):
    """Coverage of the band between y = curve(x) and y = baseline, sampled per column."""

    def coverage(x, y):
        total = 0.0
        for sub in (-0.375, -0.125, 0.125, 0.375):
            edge = curve(x + sub)
            low, high = min(edge, baseline), max(edge, baseline)
            total += clamp(min(y + 0.5, high) - max(y - 0.5, low))
        return total / 4

    return coverage


# ---------------------------------------------------------------------------------------
# Palette shared by all images.
# ---------------------------------------------------------------------------------------

PANEL_TOP = hex_color("2E3742")
PANEL_BOTTOM = hex_color("161B22")
PANEL_EDGE = hex_color("FFFFFF", 0.10)
GRID = hex_color("FFFFFF", 0.16)
ACCENT = hex_color("FFA53D")
ACCENT_SOFT = hex_color("FFA53D", 0.22)
CURVE = hex_color("5ED6C8")
CURVE_SOFT = hex_color("5ED6C8", 0.24)
GLYPH_OFF = hex_color("AEB6C0")
GLYPH_ON = hex_color("12161B")
BUTTON_OFF_TOP = hex_color("363F4A")
BUTTON_OFF_BOTTOM = hex_color("232931")
BUTTON_EDGE = hex_color("000000", 0.45)
STATE_COLORS = {"Mute": hex_color("F0603E"), "Solo": hex_color("F4C534"), "Bypass": hex_color("4AA8F0")}


def panel(canvas, radius):
    w, h = canvas.width, canvas.height
    canvas.paint(fill(rounded_rect(0, 0, w, h, radius)), vertical_gradient(PANEL_TOP, PANEL_BOTTOM, 0, h))
    canvas.paint(stroke(rounded_rect(1, 1, w - 1, h - 1, radius - 1), 0.8),
                 lambda x, y: mix(PANEL_EDGE, (1, 1, 1, 0.0), clamp(y / h * 1.6)))


# ---------------------------------------------------------------------------------------
# The logo: a compressor's transfer curve with a soft knee on a dark rounded square.
# ---------------------------------------------------------------------------------------


def soft_knee_output(level, threshold=0.5, ratio=4.0, knee=0.24):
    over_threshold = level - threshold
    if 2 * over_threshold < -knee:
        return level
    if 2 * over_threshold > knee:
        return threshold + over_threshold / ratio
    return level + (1 / ratio - 1) * (over_threshold + knee / 2) ** 2 / (2 * knee)


def draw_logo():
    canvas = Canvas(32, 32)
    panel(canvas, 7)
    left, bottom, size = 6.0, 26.0, 20.0
    to_screen = lambda u, v: (left + u * size, bottom - v * size)
    canvas.paint(stroke(polyline([to_screen(0, 0), to_screen(1, 1)]), 0.7), GRID)
    canvas.paint(stroke(polyline([to_screen(0, 1), to_screen(0, 0), to_screen(1, 0)]), 0.7), GRID)
    points = [to_screen(i / 64, soft_knee_output(i / 64)) for i in range(65)]
    curve_y = lambda x: bottom - soft_knee_output(clamp((x - left) / size)) * size
    canvas.paint(lambda x, y: between_curve_and_line(curve_y, bottom)(x, y) * (left <= x <= left + size), ACCENT_SOFT)
    canvas.paint(stroke(polyline(points), 2.0), ACCENT)
    knee_x, knee_y = to_screen(0.5, soft_knee_output(0.5))
    canvas.paint(fill(circle(knee_x, knee_y, 1.9)), hex_color("FFFFFF"))
    canvas.paint(stroke(circle(knee_x, knee_y, 1.9), 0.6), ACCENT)
    return canvas


# ---------------------------------------------------------------------------------------
# Band buttons: mute ("M"), solo ("S") and bypass (power sign), off and on.
# ---------------------------------------------------------------------------------------


def glyph_mute():
    return [polyline([(3.2, 8.0), (3.2, 3.2), (5.5, 6.1), (7.8, 3.2), (7.8, 8.0)])]


def glyph_solo():
    upper = arc_points(5.5, 4.35, 1.65, 20, 270, 16)
    lower = arc_points(5.5, 7.65, 1.65, 90, -160, 16)
    return [polyline(upper + lower)]


def glyph_bypass():
    return [polyline(arc_points(5.5, 6.0, 2.7, 120, 420, 24)), polyline([(5.5, 2.4), (5.5, 5.6)])]


GLYPHS = {"Mute": glyph_mute, "Solo": glyph_solo, "Bypass": glyph_bypass}


def draw_band_button(function, on):
    canvas = Canvas(11, 11)
    shape = rounded_rect(0, 0, 11, 11, 2.6)
    if on:
        color = STATE_COLORS[function]
        lighter = mix(color, (1, 1, 1, 1), 0.25)
        canvas.paint(fill(shape), vertical_gradient(lighter, color, 0, 11))
    else:
        canvas.paint(fill(shape), vertical_gradient(BUTTON_OFF_TOP, BUTTON_OFF_BOTTOM, 0, 11))
    canvas.paint(stroke(rounded_rect(0.5, 0.5, 10.5, 10.5, 2.1), 0.6), BUTTON_EDGE)
    for line in GLYPHS[function]():
        canvas.paint(stroke(line, 1.15), GLYPH_ON if on else GLYPH_OFF)
    return canvas


# ---------------------------------------------------------------------------------------
# Filter shapes: magnitude responses of analog prototypes on a logarithmic frequency axis.
# ---------------------------------------------------------------------------------------


def second_order(numerator, denominator):
    """|N(s) / D(s)| at s = j w for quadratics given as (a2, a1, a0)."""

    def magnitude(w):
        s = 1j * w
        return abs((numerator[0] * s * s + numerator[1] * s + numerator[2]) /
                   (denominator[0] * s * s + denominator[1] * s + denominator[2]))

    return magnitude


def shelf(gain_db, high):
    a = 10 ** (gain_db / 40)
    q = 0.707
    if high:
        return second_order((a * a, a * math.sqrt(a) / q, a), (1, math.sqrt(a) / q, a))
    return second_order((a, a * math.sqrt(a) / q, a * a), (a, math.sqrt(a) / q, 1))


def slope(high):
    # A first-order rise over the whole upper (or lower) range: no plateau inside the view.
    def magnitude(w):
        return abs(1 + 1j * w) if high else abs(1 + 1j / w)

    return magnitude


def peak(gain_db, q):
    a = 10 ** (gain_db / 40)
    return second_order((1, a / q, 1), (1, 1 / (a * q), 1))


FILTERS = {
    "Eqbandpass": (second_order((0, 1 / 0.9, 0), (1, 1 / 0.9, 1)), 1.0),
    "Eqhighpass": (second_order((1, 0, 0), (1, 1.2, 1)), 0.25),
    "Eqhighshelf": (shelf(10, True), 1.0),
    "Eqlowpass": (second_order((0, 0, 1), (1, 1.2, 1)), 4.0),
    "Eqlowshelf": (shelf(10, False), 1.0),
    "Eqhighslope": (slope(True), 1.5),
    "Eqlowslope": (slope(False), 0.67),
    "Eqnotch": (second_order((1, 0, 1), (1, 1 / 1.6, 1)), 1.0),
    "Eqpeak": (peak(11, 1.1), 1.0),
}

DB_RANGE = 15.0  # the view spans -15 .. +15 dB around the 0 dB line


def draw_filter(magnitude, centre):
    canvas = Canvas(26, 16)
    panel(canvas, 3.5)
    left, right, zero_y, half_height = 2.5, 23.5, 8.0, 5.6
    floor_y = 14.5

    def curve_y(x):
        decades = (clamp(x, left, right) - left) / (right - left) * 3 - 1.5
        level = 20 * math.log10(max(magnitude(10 ** decades / centre), 1e-6))
        return min(zero_y - clamp(level / DB_RANGE, -1.2, 1.2) * half_height, floor_y - 0.5)

    canvas.paint(stroke(polyline([(left - 0.5, zero_y), (right + 0.5, zero_y)]), 0.5), GRID)
    inside = lambda x, y: left - 0.5 <= x <= right + 0.5
    band = between_curve_and_line(curve_y, floor_y)
    canvas.paint(lambda x, y: band(x, y) * inside(x, y), CURVE_SOFT)
    points = [(left + (right - left) * i / 84, curve_y(left + (right - left) * i / 84)) for i in range(85)]
    canvas.paint(stroke(polyline(points), 1.25), CURVE)
    return canvas


# ---------------------------------------------------------------------------------------
# The handle of an equaliser point: a lit round knob with a soft shadow.
# ---------------------------------------------------------------------------------------


def draw_eq_point():
    canvas = Canvas(21, 21)
    c = 10.5
    canvas.paint(lambda x, y: clamp(1.6 - math.hypot(x - c, y - c - 0.6) / 6.6) * 0.55 * (math.hypot(x - c, y - c) < 10.3),
                 hex_color("000000", 0.6))
    light, dark = hex_color("A6F0E6"), hex_color("2E9E91")
    canvas.paint(fill(circle(c, c, 7.6)),
                 lambda x, y: mix(light, dark, clamp(math.hypot(x - c + 2.2, y - c + 2.6) / 10.5)))
    canvas.paint(stroke(circle(c, c, 7.6), 1.2), hex_color("F4FFFD"))
    canvas.paint(fill(circle(c, c, 2.1)), hex_color("12161B", 0.85))
    return canvas


# ---------------------------------------------------------------------------------------
# The resource container.
# ---------------------------------------------------------------------------------------

BAND_BUTTONS = [("MultiBandMute0", "Mute", False), ("MultiBandMute1", "Mute", True),
                ("MultiBandSolo0", "Solo", False), ("MultiBandSolo1", "Solo", True),
                ("MultiBandBypass0", "Bypass", False), ("MultiBandBypass1", "Bypass", True)]
FILTER_ORDER = ["Eqbandpass", "Eqhighpass", "Eqhighshelf", "Eqlowpass", "Eqlowshelf",
                "Eqhighslope", "Eqlowslope", "Eqnotch", "Eqpeak"]


def resources():
    """(element name, id, canvas) in index order."""
    result = [("resource", "logo", draw_logo())]
    result += [("resourceMultiBand", rid, draw_band_button(function, on)) for rid, function, on in BAND_BUTTONS]
    result += [("resourceEq", rid, draw_filter(*FILTERS[rid])) for rid in FILTER_ORDER]
    result.append(("resourceEq", "Eqeqpoint", draw_eq_point()))
    return result


def element_line(name, attributes):
    # The writer's form: attributes sorted by name, values escaped (none here need it).
    text = "".join(' %s="%s"' % (key, attributes[key]) for key in sorted(attributes, key=str.lower))
    return "<%s%s/>" % (name, text)


def index_document(entries):
    lines = ["<solution>", "<resources>"]
    lines.append(element_line("xresource", {"id": "kivstyle", "filename": "kivstyle.kivrf"}))
    for name, rid, offset, size in entries:
        lines.append(element_line(name, {"id": rid, "offset": str(offset), "size": str(size)}))
    lines += ["</resources>", "</solution>"]
    text = "".join(line + "\n" for line in lines).encode("utf-8")
    if len(text) > EXPECTED_INDEX_LENGTH:
        raise SystemExit("index is %d bytes, more than %d" % (len(text), EXPECTED_INDEX_LENGTH))
    return text + b"\n" * (EXPECTED_INDEX_LENGTH - len(text))


def container(images):
    entries, data = [], bytearray()
    for name, rid, canvas in images:
        body = canvas.tga()
        entries.append((name, rid, len(data), len(body)))
        data += body
    index = index_document(entries)
    block = struct.pack("<III", 0, len(index), len(data)) + index + bytes(data)
    for what, actual, expected in (("index", len(index), EXPECTED_INDEX_LENGTH),
                                   ("data", len(data), EXPECTED_DATA_LENGTH),
                                   ("block", len(block), EXPECTED_BLOCK_LENGTH)):
        if actual != expected:
            raise SystemExit("%s is %d bytes, expected %d" % (what, actual, expected))
    return block


def cpp_source(block):
    lines = ["// Generated by tools/generate/make_builtin_resources.py. Do not edit: change the",
             "// script and run it again. The resource container compiled into the library.",
             '#include "entry/resources/kiv_builtin_resource_block.h"',
             "",
             "const uint8_t kKivBuiltinResourceBlock[] = {"]
    for start in range(0, len(block), 16):
        lines.append("    " + " ".join("0x%02X," % byte for byte in block[start:start + 16]))
    lines += ["};", "", "const int32_t kKivBuiltinResourceBlockSize = sizeof(kKivBuiltinResourceBlock);", ""]
    return "\n".join(lines)


# ---------------------------------------------------------------------------------------
# PNG previews (enlarged, over a checkerboard, so that edges and alpha can be judged).
# ---------------------------------------------------------------------------------------


def png(width, height, rows):
    def chunk(kind, payload):
        return struct.pack(">I", len(payload)) + kind + payload + struct.pack(">I", zlib.crc32(kind + payload))

    raw = b"".join(b"\0" + bytes(row) for row in rows)
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def preview_rows(canvases, scale, backdrop):
    gap = 4
    width = sum(c.width * scale + gap for c in canvases) + gap
    height = max(c.height for c in canvases) * scale + 2 * gap
    rows = [bytearray(b for x in range(width) for b in backdrop(x, y)) for y in range(height)]
    left = gap
    for canvas in canvases:
        for y in range(canvas.height * scale):
            for x in range(canvas.width * scale):
                red, green, blue, alpha = canvas.pixels[y // scale][x // scale]
                base = rows[gap + y][3 * (left + x):3 * (left + x) + 3]
                pixel = [round(clamp(v) * 255 * alpha + b * (1 - alpha)) for v, b in zip((red, green, blue), base)]
                rows[gap + y][3 * (left + x):3 * (left + x) + 3] = bytes(pixel)
        left += canvas.width * scale + gap
    return width, height, rows


def checkerboard(x, y):
    return (70, 70, 70) if (x // 6 + y // 6) % 2 else (110, 110, 110)


def write_previews(folder, images):
    os.makedirs(folder, exist_ok=True)
    groups = {"logo": [c for n, r, c in images if r == "logo"],
              "multiband": [c for n, r, c in images if n == "resourceMultiBand"],
              "eq": [c for n, r, c in images if n == "resourceEq"]}
    for name, canvases in groups.items():
        for suffix, scale in (("large", 8), ("actual", 1)):
            for tone, backdrop in (("checker", checkerboard), ("light", lambda x, y: (236, 238, 240))):
                path = os.path.join(folder, "%s_%s_%s.png" % (name, suffix, tone))
                with open(path, "wb") as out:
                    out.write(png(*preview_rows(canvases, scale, backdrop)))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", help="folder for PNG previews")
    arguments = parser.parse_args()
    images = resources()
    block = container(images)
    with open(OUTPUT, "w", encoding="ascii", newline="\n") as out:
        out.write(cpp_source(block))
    if arguments.preview:
        write_previews(arguments.preview, images)


if __name__ == "__main__":
    main()
