#!/usr/bin/env python3
"""The korvalo-level examples of README.md, run as they are written.

Usage: readme_examples_test.py README SOURCE_FOLDER BUILD_FOLDER

Every line of a ```sh block of the README that starts with
build/bin/korvalo-level runs through bash in a fresh folder that shows the
build as build/ and the repository's docs/ as docs/, as from the top of the
repository: each must succeed, and the files it names after --output or as
a PNG must be there afterwards. So the examples name only files that exist
or that an earlier example makes. The examples that talk to a sharing site
on the network are left out: publish and stats, and calibrate, which reads
the site's export (their own tests run them against a local site and a
CSV of their own).
"""

import os
import re
import subprocess
import sys
import tempfile
import unittest

README = SOURCE = BUILD = None


def examples():
    text = open(README, encoding="utf-8").read()
    blocks = re.findall(r"^```sh\n(.*?)^```", text, re.MULTILINE | re.DOTALL)
    return [line for block in blocks for line in block.splitlines()
            if line.startswith("build/bin/korvalo-level ")
            and not re.match(r"build/bin/korvalo-level (publish|stats|calibrate) ", line)]


class ReadmeExamples(unittest.TestCase):
    def test_every_example_runs_as_written(self):
        lines = examples()
        self.assertGreaterEqual(len(lines), 8)
        with tempfile.TemporaryDirectory() as work:
            os.symlink(BUILD, os.path.join(work, "build"))
            os.symlink(os.path.join(SOURCE, "docs"), os.path.join(work, "docs"))
            for line in lines:
                with self.subTest(example=line):
                    result = subprocess.run(["bash", "-c", "set -o pipefail; " + line], cwd=work,
                                            stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
                    self.assertEqual(result.returncode, 0, result.stderr.decode(errors="replace"))
                    command = line.split("#")[0]
                    for written in re.findall(r"--output (\S+)|(\S+\.png)\b", command):
                        name = written[0] or written[1]
                        if name != "-":
                            self.assertTrue(os.path.getsize(os.path.join(work, name)) > 0, name)


if __name__ == "__main__":
    README, SOURCE, BUILD = sys.argv[1:4]
    unittest.main(argv=[sys.argv[0]] + sys.argv[4:], verbosity=2)
