#!/usr/bin/env python3
"""find_hard_levels: wrong command lines are refused with exit 2 and a reason,
--help is answered, and start codes of every board size are climbed from."""

import subprocess
import sys
import unittest

PROGRAM = sys.argv.pop(1)

# A level of each size whose balls do not already stand on their holes.
CODE_3 = "3001122221100fbe5"
CODE_5 = "50022444422005eae44c9f644"
CODE_7 = "76342030002556aa97fe5aa95fe55a9572555"


def run(*args):
    return subprocess.run([PROGRAM, *args], capture_output=True, text=True, timeout=60)


class Arguments(unittest.TestCase):
    def test_help(self):
        for flag in ("--help", "-h"):
            with self.subTest(flag=flag):
                done = run(flag)
                self.assertEqual(done.returncode, 0)
                self.assertIn("Usage: find_hard_levels", done.stdout)

    def test_refused(self):
        cases = [
            (["--goal", "speed"], "unknown goal 'speed'"),
            (["--goal"], "--goal needs a value"),
            (["--seconds", "soon"], "--seconds takes a number"),
            (["--seed", "-1"], "--seed takes a whole number"),
            (["--keep", "0"], "--keep takes a whole number from 1"),
            (["--size", "4"], "--size takes 3, 5 or 7"),
            (["--fast"], "unknown option '--fast'"),
            (["not-a-code"], "'not-a-code' is not a level code"),
            (["3zz"], "'3zz' is not a level code"),
        ]
        for args, reason in cases:
            with self.subTest(args=args):
                done = run(*args)
                self.assertEqual(done.returncode, 2, done.stderr)
                self.assertIn("find_hard_levels: " + reason, done.stderr)
                self.assertIn("Usage:", done.stderr)
                self.assertEqual(done.stdout, "")

    def test_every_board_size(self):
        cases = [
            ["--seconds", "0.3", CODE_3],
            ["--seconds", "0.3", CODE_5],
            ["--seconds", "0.3", "--goal", "time", CODE_7],
            ["--seconds", "0.3", "--size", "3", "--goal", "length"],
            ["--seconds", "0.3", "--size", "5", "--unsolvable"],
        ]
        for args in cases:
            with self.subTest(args=args):
                done = run(*args)
                self.assertEqual(done.returncode, 0, done.stderr)
                self.assertTrue(done.stdout.startswith("code"), done.stdout)


if __name__ == "__main__":
    unittest.main()
