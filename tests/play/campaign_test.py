"""The campaign's chapter files: each a sound level set (korvalo-level check-set
--unique), in playing order by name, each level harder than the one before
by the grade (points, then canonical code), each chapter harder than the one
before, no level twice across the campaign up to turns and mirrors, at least
120 levels from 3 x 3 to 7 x 7; and tools/make_campaign makes the first
chapter again byte for byte.

    campaign_test.py --tool build/bin/korvalo-level --source .
"""

import argparse
import atexit
import os
import subprocess
import sys
import tempfile
import unittest

ARGS = None


# The chapters are graded by the default grade, whatever parameters a
# calibration installed in the user's configuration folder.
EMPTY_CONFIGURATION = tempfile.mkdtemp(prefix="campaign_test")
atexit.register(os.rmdir, EMPTY_CONFIGURATION)
DEFAULT_GRADE = dict(os.environ, XDG_CONFIG_HOME=EMPTY_CONFIGURATION)


def tool(*arguments, text=None):
    return subprocess.run([ARGS.tool, *arguments], input=text, capture_output=True, text=True,
                          timeout=300, env=DEFAULT_GRADE)


def chapter_paths():
    folder = os.path.join(ARGS.source, "data/campaign")
    return [os.path.join(folder, name) for name in sorted(os.listdir(folder))]


def level_codes(path):
    with open(path, encoding="utf-8") as chapter:
        return [line.split("\t")[0] for line in chapter.read().splitlines()
                if line and not line.startswith("#")]


def grades(codes):
    """(points, canonical code) of each code, in order."""
    text = "".join(code + "\n" for code in codes)
    graded = [line.split("\t") for line in tool("grade", "-", text=text).stdout.splitlines()]
    canons = [line.split("\t") for line in tool("canon", "-", text=text).stdout.splitlines()]
    return [(int(grade[3]), canon[1]) for grade, canon in zip(graded, canons)]


class CampaignTest(unittest.TestCase):
    def test_every_chapter_is_a_sound_set_with_a_title(self):
        for path in chapter_paths():
            with self.subTest(chapter=os.path.basename(path)):
                self.assertRegex(os.path.basename(path), r"^\d\d-[a-z-]+\.txt$")
                with open(path, encoding="utf-8") as chapter:
                    self.assertRegex(chapter.readline(), r"^# title: \S")
                check = tool("check-set", "--unique", path)
                self.assertEqual((check.returncode, check.stdout, check.stderr), (0, "", ""))

    def test_levels_grow_harder_and_never_repeat(self):
        seen = {}
        total = 0
        previous_most = -1
        sizes = []
        for path in chapter_paths():
            name = os.path.basename(path)
            codes = level_codes(path)
            total += len(codes)
            sizes.append({code[0] for code in codes})
            graded = grades(codes)
            self.assertEqual(len(graded), len(codes), name)
            for before, after in zip(graded, graded[1:]):
                self.assertLess(before, after, f"{name}: {after[1]} is not after {before[1]}")
            self.assertGreater(graded[0][0], previous_most, f"{name} starts easier than before")
            previous_most = graded[-1][0]
            for _, canonical in graded:
                self.assertNotIn(canonical, seen, f"{name} repeats a level of {seen.get(canonical)}")
                seen[canonical] = name
        self.assertGreaterEqual(total, 120)
        self.assertEqual(sizes[0], {"3"})
        self.assertEqual(sizes[-1], {"7"})
        self.assertTrue(all(len(size) == 1 for size in sizes), "one board size per chapter")
        self.assertEqual([int(next(iter(size))) for size in sizes],
                         sorted(int(next(iter(size))) for size in sizes))

    def test_the_script_makes_the_first_chapter_again(self):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run([sys.executable, os.path.join(ARGS.source, "tools/make_campaign"),
                            "--tool", ARGS.tool, "--output", folder, "--chapters", "1"],
                           check=True, timeout=300)
            made = os.listdir(folder)
            self.assertEqual(len(made), 1)
            first = chapter_paths()[0]
            self.assertEqual(made[0], os.path.basename(first))
            with open(os.path.join(folder, made[0]), "rb") as again, open(first, "rb") as kept:
                self.assertEqual(again.read(), kept.read())


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--source", required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
