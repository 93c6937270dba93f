"""The game as a new player meets it, with real X input: started with no
argument and a fresh settings and data folder it asks once whether play
records may be sent (Enter keeps its default, No), then opens the campaign's
level picker; Enter plays the first level, solved with the arrow keys; after a
restart, which asks nothing, the level counts as solved (the progress file
holds it) and the game resumes at the next level. KORVALO_E2E_SHOTS names a
folder for a picture of the question.

    run_e2e PYTHON GAME   (with KORVALO_E2E_SCRIPT=game_e2e.py)
"""

import argparse
import hashlib
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

WAIT = 30
ARGS = None
KEYS = {"N": "Up", "S": "Down", "W": "Left", "E": "Right"}


def run(*args):
    return subprocess.run(args, capture_output=True, text=True, timeout=WAIT, check=True).stdout


def wait_until(condition, what):
    end = time.monotonic() + WAIT
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.1)
    raise AssertionError(f"waited {WAIT} s for {what}")


def windows_of(pid):
    result = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid), "--name", "."],
                            capture_output=True, text=True, timeout=WAIT)
    return [int(line) for line in result.stdout.split()]


def title(window):
    return run("xdotool", "getwindowname", str(window)).strip()


def window_titled(pid, text):
    for window in windows_of(pid):
        if title(window) == text:
            return window
    return None


def press(window, *keys):
    run("xdotool", "windowactivate", "--sync", str(window))
    run("xdotool", "windowfocus", "--sync", str(window))
    for key in keys:
        run("xdotool", "key", "--clearmodifiers", key)
        time.sleep(0.15)


def picture(window):
    """The window's pixels, as a digest."""
    data = subprocess.run(["/usr/bin/import", "-silent", "-window", str(window), "-depth", "8", "ppm:-"],
                          capture_output=True, timeout=WAIT, check=True).stdout
    return hashlib.sha256(data).hexdigest()


class GameSession(unittest.TestCase):
    """The game with fresh settings and data folders of the case's own."""

    def setUp(self):
        self.home = tempfile.TemporaryDirectory(prefix="korvalo-e2e-game-")
        self.environment = dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.home.name, "config"),
                                XDG_DATA_HOME=os.path.join(self.home.name, "data"))
        self.progress = os.path.join(self.home.name, "data/Vandrel/Korvalo/progress.txt")
        self.game = None

    def tearDown(self):
        if self.game and self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        self.home.cleanup()

    def start(self, asked=True):
        """Starts the game; returns its window once the picker is closed with Enter.
        asked: the play records' question comes first, and is answered No."""
        self.game = subprocess.Popen([ARGS.game], env=self.environment)
        if asked:
            question = wait_until(lambda: window_titled(self.game.pid, "Play Records"),
                                  "the question whether play records may be sent")
            if os.environ.get("KORVALO_E2E_SHOTS"):
                time.sleep(0.5)
                subprocess.run(["/usr/bin/import", "-silent", "-window", str(question),
                                os.path.join(os.environ["KORVALO_E2E_SHOTS"], "play_records_question.png")],
                               timeout=WAIT, check=True)
            press(question, "Return")
        picker = wait_until(lambda: window_titled(self.game.pid, "Levels"), "the level picker")
        self.assertIsNone(window_titled(self.game.pid, "Play Records"), "the question came again")
        press(picker, "Return")
        window = wait_until(lambda: window_titled(self.game.pid, "Korvalo - First steps"),
                            "the game window playing the first chapter")
        wait_until(lambda: window_titled(self.game.pid, "Levels") is None, "the picker to close")
        time.sleep(0.5)
        return window

    def quit(self, window):
        press(window, "Escape")
        self.assertEqual(self.game.wait(timeout=WAIT), 0)


class NewPlayerCase(GameSession):
    def test_first_level_solved_by_keys_counts_after_a_restart(self):
        chapter = os.path.join(os.path.dirname(ARGS.game), "../share/korvalo/campaign/01-first-steps.txt")
        with open(chapter, encoding="utf-8") as levels:
            first = next(line.split("\t")[0] for line in levels.read().splitlines()
                         if line and not line.startswith("#"))
        tool = os.path.join(os.path.dirname(ARGS.game), "korvalo-level")
        moves = run(tool, "solve", first).split("\t")[3].strip()
        canonical = run(tool, "canon", first).split("\t")[1].strip()

        window = self.start(asked=True)
        first_level = picture(window)
        press(window, *[KEYS[letter] for letter in moves])
        self.quit(window)
        with open(self.progress, encoding="utf-8") as progress:
            self.assertIn(f"solved\t{canonical}\t{len(moves)}\n", progress.read())
        with open(os.path.join(self.home.name, "config/Vandrel/Korvalo.conf"), encoding="utf-8") as settings:
            self.assertIn("consent=false", settings.read())

        window = self.start(asked=False)
        self.assertNotEqual(picture(window), first_level, "the game did not resume at the next level")
        self.quit(window)
        with open(self.progress, encoding="utf-8") as progress:
            self.assertIn(f"solved\t{canonical}\t{len(moves)}\n", progress.read())


ATSPI_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
SYSTEM_PYTHON = "/usr/bin/python3"  # Debian's, which has pyatspi
LISTENER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_listener.py")
DIRECTION_KEYS = {"North": "Up", "South": "Down", "West": "Left", "East": "Right"}


def atspi_available():
    return (os.path.exists(ATSPI_BUS_LAUNCHER) and shutil.which("dbus-daemon")
            and subprocess.run([SYSTEM_PYTHON, "-c", "import pyatspi"], capture_output=True).returncode == 0)


class BlindPlayerCase(GameSession):
    """The first level played by keys and speech alone: what the player hears
    is what a screen reader hears over AT-SPI from the game's status lines."""

    def setUp(self):
        super().setUp()
        if not atspi_available():
            self.skipTest("no AT-SPI here (at-spi2-core, dbus and python3-pyatspi)")
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.addCleanup(self.stop, self.bus)
        address = self.bus.stdout.readline().strip()
        self.environment.update(DBUS_SESSION_BUS_ADDRESS=address, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.launcher = subprocess.Popen([ATSPI_BUS_LAUNCHER, "--launch-immediately"], env=self.environment,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop, self.launcher)

    @staticmethod
    def stop(process):
        process.terminate()
        process.wait(timeout=WAIT)
        if process.stdout:
            process.stdout.close()

    def hear(self, window, key, wanted):
        """Presses the key and returns the first text a screen reader hears in a status bar that
        matches the wanted regular expression."""
        listener = subprocess.Popen([SYSTEM_PYTHON, LISTENER, wanted, "40"], env=self.environment,
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.assertEqual(listener.stdout.readline().strip(), "listening")
        time.sleep(1.0)  # the game learns of the listener through the registry
        press(window, key)
        output, _ = listener.communicate(timeout=60)
        said = [line.split("\t", 2) for line in output.splitlines() if line.count("\t") >= 2]
        texts = [text for role, _, text in said if re.search(wanted, text) and role == "status bar"]
        self.assertTrue(texts, f"pressing {key} said no {wanted!r} in a status bar; heard {said}")
        return texts[0]

    def test_a_level_solved_by_keys_and_speech_alone(self):
        window = self.start()
        tilts = self.hear(window, "t", "Tilt north")
        for direction in ("north", "south", "west", "east"):
            self.assertIn(f"Tilt {direction}", tilts)
        square = self.hear(window, "ctrl+Right", "Column 2, row 1: ")
        self.assertRegex(square, r"walls|no walls")
        # The hint names the direction; the player tilts that way until the
        # level is solved.
        for _ in range(20):
            hint = self.hear(window, "h", "Hint: ")
            direction = hint.split("Hint: ", 1)[1].split()[0].strip(".")
            heard = self.hear(window, DIRECTION_KEYS[direction], "^(Solved in|Shortest solution from here)")
            if heard.startswith("Solved in"):
                break
        else:
            self.fail("the level was not solved within 20 tilts")
        self.quit(window)


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--editor", dest="game", required=True, help="the game's program")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
