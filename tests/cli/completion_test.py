#!/usr/bin/env python3
"""korvalo-level's completion scripts, loaded and asked by each shell.

Usage: completion_test.py COMPLETIONS_FOLDER KORVALO_LEVEL

bash and fish are asked for real completions of a table of command lines (in
a folder holding a level set and a picture); zsh checks its script and loads
it through compinit. Every option on a command's usage line is offered.
"""

import os
import re
import shlex
import stat
import subprocess
import sys
import tempfile
import unittest

FOLDER = TOOL = None

# The words typed so far, the last one being completed; what must be offered
# (exactly, sorted).
CASES = [
    (["ge"], ["generate"]),
    (["c"], ["calibrate", "canon", "check-set"]),
    (["--v"], ["--version"]),
    (["help", "che"], ["check-set"]),
    (["hardest", "--goal", ""], ["effort", "moves"]),
    (["generate", "--un"], ["--unique"]),
    (["check-set", "--u"], ["--unique"]),
    (["solve", "lev"], ["levels.txt"]),
    (["render", "5020100030201ffbfeffbfe55", "pic"], ["picture.png"]),
    (["generate", "--output", "lev"], ["levels.txt"]),
    (["gr"], ["grade"]),
    (["publish", "--ti"], ["--title"]),
    (["publish", "--title", "x", "lev"], ["levels.txt"]),
]


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=60, **kwargs)


class Shells(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        for name in ("levels.txt", "picture.png"):
            open(os.path.join(self.work.name, name), "w").close()

    def tearDown(self):
        self.work.cleanup()

    def bash(self, words):
        line = ["korvalo-level"] + words
        script = (f"source {shlex.quote(os.path.join(FOLDER, 'korvalo-level'))}\n"
                  f"COMP_WORDS=({' '.join(shlex.quote(w) for w in line)})\n"
                  f"COMP_CWORD={len(line) - 1}\n"
                  "_korvalo_level\n"
                  "printf '%s\\n' \"${COMPREPLY[@]}\"\n")
        result = run(["bash", "--norc", "--noprofile", "-c", script], cwd=self.work.name)
        self.assertEqual(result.stderr, "")
        return sorted(word for word in result.stdout.splitlines() if word)

    def fish(self, words):
        line = " ".join(["korvalo-level"] + [shlex.quote(w) if w else "" for w in words])
        script = (f"source {shlex.quote(os.path.join(FOLDER, 'korvalo-level.fish'))}\n"
                  f"complete -C {shlex.quote(line)}\n")
        result = run(["fish", "--no-config", "-c", script], cwd=self.work.name)
        self.assertEqual(result.stderr, "")
        return sorted(word.split("\t")[0] for word in result.stdout.splitlines() if word)

    def test_each_shell_completes_the_command_lines(self):
        for shell in (self.bash, self.fish):
            for words, expected in CASES:
                with self.subTest(shell=shell.__name__, words=words):
                    self.assertEqual(shell(words), expected)

    def test_bash_registers_the_function(self):
        script = f"source {shlex.quote(os.path.join(FOLDER, 'korvalo-level'))}; complete -p korvalo-level"
        result = run(["bash", "--norc", "--noprofile", "-c", script])
        self.assertEqual(result.stdout, "complete -o filenames -F _korvalo_level korvalo-level\n")

    def test_zsh_reads_and_loads_its_script(self):
        script = os.path.join(FOLDER, "_korvalo-level")
        self.assertEqual(run(["zsh", "-n", script]).returncode, 0)
        # -D: no dump file. compinit writes a dump beside the name it is given
        # and moves it over that name, so a dump "to /dev/null" run as root
        # replaces the machine's null device with a plain file.
        load = (f"fpath=({shlex.quote(FOLDER)} $fpath); autoload -U compinit; "
                "compinit -u -D; print -r -- $_comps[korvalo-level]")
        result = run(["zsh", "-f", "-c", load])
        self.assertEqual((result.stdout, result.stderr), ("_korvalo-level\n", ""))
        self.assertTrue(stat.S_ISCHR(os.stat("/dev/null").st_mode), "/dev/null is no longer a device")

    def test_every_option_of_every_usage_line_is_offered(self):
        general = run([TOOL, "--help"]).stdout
        commands = re.findall(r"^(?:Usage:)? +korvalo-level ([a-z-]+) ", general, re.MULTILINE)
        self.assertGreaterEqual(len(commands), 7)
        zsh = open(os.path.join(FOLDER, "_korvalo-level"), encoding="utf-8").read()
        for command in commands:
            usage = run([TOOL, "help", command]).stdout.split("\n\n")[0]
            options = sorted(set(re.findall(r"--[a-z-]+", usage)) | {"--help"})
            with self.subTest(command=command):
                self.assertEqual(self.bash([command, "--"]), options)
                self.assertEqual([o for o in self.fish([command, "--"]) if o.startswith("--")], options)
                zsh_line = re.search(rf"^    {command}\) (.*)$", zsh, re.MULTILINE).group(1)
                self.assertEqual(sorted(set(re.findall(r"'(?:\(- \*\))?(--[a-z-]+)", zsh_line))), options)


if __name__ == "__main__":
    FOLDER, TOOL = sys.argv[1:3]
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=2)
