#!/usr/bin/python3
"""tools/colour_vision.py: the simulations give the figures known for the
board's colours, the README's table is what the tool prints, and the pictures
come out with one column per kind of vision.

    colour_vision_test.py REPOSITORY_ROOT
"""

import os
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

ROOT = ""


def tool(*arguments):
    return subprocess.run([sys.executable, os.path.join(ROOT, "tools", "colour_vision.py"), *arguments],
                          capture_output=True, text=True, check=True).stdout


class ColourVisionTest(unittest.TestCase):
    def test_red_and_green_holes_are_136_apart_and_24_under_deuteranopia(self):
        sys.path.insert(0, os.path.join(ROOT, "tools"))
        import colour_vision
        red, green = colour_vision.HOLES["red"], colour_vision.HOLES["green"]
        self.assertAlmostEqual(colour_vision.delta_e(red, green, "normal"), 136.0, delta=0.5)
        self.assertAlmostEqual(colour_vision.delta_e(red, green, "deuteranopia"), 23.7, delta=0.5)
        balls = colour_vision.BALLS
        self.assertAlmostEqual(colour_vision.delta_e(balls["red"], balls["green"], "deuteranopia"), 18.0, delta=0.5)
        # Greyscale keeps nothing but lightness; white and black stay themselves.
        self.assertEqual(colour_vision.seen((255, 255, 255), "greyscale").round().tolist(), [255, 255, 255])
        self.assertEqual(colour_vision.seen((0, 0, 0), "tritanopia").round().tolist(), [0, 0, 0])

    def test_readme_shows_the_table_the_tool_prints(self):
        with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as readme:
            self.assertIn(tool("distances").strip(), readme.read())

    def test_pictures_have_a_column_per_vision_and_a_row_per_picture(self):
        with tempfile.TemporaryDirectory() as folder:
            board = os.path.join(folder, "board.png")
            Image.new("RGB", (30, 20), (255, 100, 100)).save(board)
            out = os.path.join(folder, "out.png")
            tool("pictures", out, board, board)
            with Image.open(out) as sheet:
                self.assertEqual(sheet.size, (5 * 30, 2 * (20 + 16)))
                self.assertEqual(sheet.getpixel((10, 16 + 10)), (255, 100, 100))  # normal vision
                grey = sheet.getpixel((4 * 30 + 10, 16 + 10))
                self.assertTrue(grey[0] == grey[1] == grey[2])


if __name__ == "__main__":
    ROOT = sys.argv[1]
    unittest.main(argv=[sys.argv[0]] + sys.argv[2:], verbosity=2)
