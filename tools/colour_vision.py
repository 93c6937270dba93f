#!/usr/bin/python3
"""How the board looks to people with colour-vision deficiencies, and how far
apart its colours stay for them.

    colour_vision.py pictures OUT.png IN.png [IN.png ...]
        One row per IN picture, one column per kind of vision: normal,
        protanopia, deuteranopia, tritanopia and greyscale.
    colour_vision.py distances
        The colour distances (CIE76 delta E in CIELAB) that tell the pieces
        apart under each kind of vision, as a Markdown table.

The simulations are the standard matrices of Machado, Oliveira and Fernandes
(2009) at full severity, applied to linear RGB; greyscale keeps each pixel's
relative luminance (Rec. 709). Needs python3-numpy and python3-pil.
"""

import sys

import numpy as np
from PIL import Image, ImageDraw

# Machado et al. 2009, severity 1.0, on linear RGB.
SIMULATIONS = {
    "protanopia": [[0.152286, 1.052583, -0.204868],
                   [0.114503, 0.786281, 0.099216],
                   [-0.003882, -0.048116, 1.051998]],
    "deuteranopia": [[0.367322, 0.860646, -0.227968],
                     [0.280085, 0.672501, 0.047413],
                     [-0.011820, 0.042940, 0.968881]],
    "tritanopia": [[1.255528, -0.076749, -0.178779],
                   [-0.078411, 0.930809, 0.147602],
                   [0.004733, 0.691367, 0.303900]],
}
VISIONS = ["normal", *SIMULATIONS, "greyscale"]
LUMINANCE = np.array([0.2126, 0.7152, 0.0722])
SRGB_TO_XYZ = np.array([[0.4124, 0.3576, 0.1805], [0.2126, 0.7152, 0.0722], [0.0193, 0.1192, 0.9505]])
WHITE_POINT = np.array([0.95047, 1.0, 1.08883])  # D65

# The board's colours (drawing/board_drawing.cpp and the ball sheet's mid tones).
FLOOR = (220, 220, 220)
HOLES = {"blue": (120, 120, 255), "green": (50, 220, 50), "red": (255, 100, 100)}
BALLS = {"blue": (148, 148, 255), "green": (148, 247, 148), "red": (255, 148, 148)}
SYMBOL_INK = (0, 0, 0)
OUTLINE_DARKENING = 0.55  # a hole's outline: its colour this far toward black (drawing/piece_symbols.cpp)


def to_linear(srgb):
    c = np.asarray(srgb, dtype=float) / 255.0
    return np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)


def to_srgb(linear):
    c = np.clip(linear, 0.0, 1.0)
    return np.where(c <= 0.0031308, 12.92 * c, 1.055 * c ** (1 / 2.4) - 0.055) * 255.0


def seen(srgb, vision):
    """The colours (any array of RGB triples, last axis) as the vision sees them, in sRGB."""
    linear = to_linear(srgb)
    if vision == "normal":
        return np.asarray(srgb, dtype=float)
    if vision == "greyscale":
        return to_srgb(np.repeat((linear @ LUMINANCE)[..., None], 3, axis=-1))
    return to_srgb(linear @ np.array(SIMULATIONS[vision]).T)


def lab(srgb):
    xyz = (to_linear(srgb) @ SRGB_TO_XYZ.T) / WHITE_POINT
    f = np.where(xyz > (6 / 29) ** 3, np.cbrt(xyz), xyz / (3 * (6 / 29) ** 2) + 4 / 29)
    return np.stack([116 * f[..., 1] - 16, 500 * (f[..., 0] - f[..., 1]), 200 * (f[..., 1] - f[..., 2])], -1)


def delta_e(a, b, vision):
    return float(np.linalg.norm(lab(seen(a, vision)) - lab(seen(b, vision))))


def pairs(colours):
    names = list(colours)
    return [(names[i], names[j]) for i in range(len(names)) for j in range(i + 1, len(names))]


def distances():
    """Rows of the Markdown table: what tells the pieces apart, per vision."""
    rows = []
    for kind, colours in (("holes", HOLES), ("balls", BALLS)):
        for a, b in pairs(colours):
            rows.append((f"{a} and {b} {kind} (colour only)",
                         [delta_e(colours[a], colours[b], v) for v in VISIONS]))
    for name, colour in HOLES.items():
        rows.append((f"{name} hole against the floor", [delta_e(colour, FLOOR, v) for v in VISIONS]))
        outline = tuple(int(c + (0 - c) * OUTLINE_DARKENING + 0.5) for c in colour)  # as MixColours rounds
        rows.append((f"{name} hole's outline against the floor", [delta_e(outline, FLOOR, v) for v in VISIONS]))
    for name, colour in BALLS.items():
        rows.append((f"black mark on the {name} ball", [delta_e(colour, SYMBOL_INK, v) for v in VISIONS]))
    lines = ["| delta E (CIE76) | " + " | ".join(VISIONS) + " |", "|---" * (len(VISIONS) + 1) + "|"]
    lines += [f"| {label} | " + " | ".join(f"{value:.0f}" for value in values) + " |" for label, values in rows]
    return "\n".join(lines)


def pictures(out, inputs):
    images = [np.asarray(Image.open(path).convert("RGB"), dtype=float) for path in inputs]
    caption = 16
    width = max(image.shape[1] for image in images)
    height = sum(image.shape[0] + caption for image in images)
    sheet = Image.new("RGB", (width * len(VISIONS), height), (255, 255, 255))
    draw = ImageDraw.Draw(sheet)
    top = 0
    for image in images:
        for column, vision in enumerate(VISIONS):
            shown = np.clip(np.rint(seen(image, vision)), 0, 255).astype(np.uint8)
            sheet.paste(Image.fromarray(shown), (column * width, top + caption))
            draw.text((column * width + 4, top + 2), vision, fill=(0, 0, 0))
        top += image.shape[0] + caption
    sheet.save(out)


def main(arguments):
    if arguments[:1] == ["distances"] and len(arguments) == 1:
        print(distances())
        return 0
    if arguments[:1] == ["pictures"] and len(arguments) >= 3:
        pictures(arguments[1], arguments[2:])
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
