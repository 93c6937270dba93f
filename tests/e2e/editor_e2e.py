#!/usr/bin/env python3
"""End-to-end cases for the editor and the game it starts.

Each case starts the real editor on the X display named by DISPLAY (run_e2e
provides Xvfb with openbox), drives it only with real X input from xdotool
(keys, pointer moves, clicks, typing) and checks what it shows by reading
pixels off screenshots of the root window. Every wait polls with a generous
limit, so a loaded machine slows the cases down without failing them.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

TITLE = "Korvalo Level Editor"
VIEW_WIDTH, VIEW_HEIGHT = 325, 359
PITCH = 42

BACKGROUND = (128, 128, 128)
BLACK = (0, 0, 0)
FLOOR = (220, 220, 220)
HOLE_COLOURS = {"blue": (120, 120, 255), "green": (50, 220, 50), "red": (255, 100, 100)}
SOLUTION_EXISTS_INK = (0, 255, 0)
NO_SOLUTION_INK = (150, 150, 150)

# Cleared 7 x 7 board with the default placement.
CLEARED_7X7 = "7003366663300fffbffefffbffefffbffe555"
# Cleared 5 x 5 board; the blue, green and red balls stand in a row at the top
# left and each hole lies one square east of its ball, so the only shortest
# solution is one move east.
ONE_MOVE_EAST = "5020100030201ffbfeffbfe55"
# A 3 x 3 level two moves from solved.
TWO_MOVES_3X3 = "3111221000110fbe5"
# Cleared 5 x 5 board with the default placement.
CLEARED_5X5 = "5002244442200ffbfeffbfe55"
CLEARED_5X5_BALLS = {"red": (0, 0), "green": (2, 2), "blue": (4, 4)}
ONE_MOVE_EAST_BALLS = {"blue": (0, 0), "green": (1, 0), "red": (2, 0)}
SOLVED_BALLS = {"blue": (1, 0), "green": (2, 0), "red": (3, 0)}

WAIT = 30.0  # seconds any single expected change may take on a loaded machine

EDITOR = ""  # set from the command line


# --- processes and X ----------------------------------------------------------

def run(*args, timeout=WAIT, check=True):
    """Runs a helper program and returns its standard output."""
    result = subprocess.run(args, capture_output=True, text=True, timeout=timeout)
    if check and result.returncode != 0:
        raise AssertionError(f"{' '.join(args)} failed ({result.returncode}): {result.stderr.strip()}")
    return result.stdout


def xdotool(*args):
    return run("xdotool", *args)


def visible_windows(pid=None, name=None):
    """Ids of the mapped windows of a process and/or with a title matching name."""
    args = ["xdotool", "search", "--all", "--onlyvisible"]
    if pid is not None:
        args += ["--pid", str(pid)]
    args += ["--name", name if name is not None else ""]
    result = subprocess.run(args, capture_output=True, text=True, timeout=WAIT)
    return [int(w) for w in result.stdout.split()]


def window_pid(window):
    result = subprocess.run(["xdotool", "getwindowpid", str(window)],
                            capture_output=True, text=True, timeout=WAIT)
    return int(result.stdout) if result.returncode == 0 and result.stdout.strip() else None


class Rect:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return f"{self.width}x{self.height}+{self.x}+{self.y}"


def window_rect(window):
    """The window's absolute position and size, from xwininfo."""
    info = run("xwininfo", "-id", str(window))

    def field(label):
        match = re.search(label + r":\s*(-?\d+)", info)
        if not match:
            raise AssertionError(f"xwininfo gave no '{label}' for window {window}")
        return int(match.group(1))

    return Rect(field("Absolute upper-left X"), field("Absolute upper-left Y"),
                field("Width"), field("Height"))


def wait_until(condition, what, timeout=WAIT, interval=0.1):
    """Polls condition() until it returns a true value and returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def press(keys):
    """Sends one key chord, e.g. "ctrl+n", as real X input to the focused window."""
    xdotool("key", "--clearmodifiers", keys)


def move_pointer(x, y):
    """Moves the pointer to (x, y) through a neighbouring pixel, so the target
    receives a motion event even when the pointer already rests there."""
    xdotool("mousemove", "--sync", str(x + 1), str(y))
    xdotool("mousemove", "--sync", str(x), str(y))


def click_at(x, y):
    move_pointer(x, y)
    xdotool("click", "1")


# --- screenshots ----------------------------------------------------------------

class Shot:
    """One screenshot of the whole screen, as RGB pixels."""

    def __init__(self):
        data = subprocess.run(["/usr/bin/import", "-silent", "-window", "root", "-depth", "8", "ppm:-"],
                              capture_output=True, timeout=WAIT, check=True).stdout
        # A binary PPM: "P6", width, height, maximum value, one whitespace, pixels.
        fields = []
        position = 0
        while len(fields) < 4:
            while data[position:position + 1].isspace():
                position += 1
            if data[position:position + 1] == b"#":
                position = data.index(b"\n", position)
                continue
            end = position
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[position:end])
            position = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise AssertionError(f"unexpected screenshot format {fields}")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[position + 1:]

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self.pixels[offset:offset + 3])

    def row_bytes(self, y, x0, x1):
        return self.pixels[(y * self.width + x0) * 3:(y * self.width + x1) * 3]

    def region(self, rect):
        """The pixels of a rectangle as one bytes value, for comparisons."""
        return b"".join(self.row_bytes(y, rect.x, rect.x + rect.width)
                        for y in range(rect.y, rect.y + rect.height))

    def save(self, path):
        header = f"P6\n{self.width} {self.height}\n255\n".encode()
        with open(path, "wb") as file:
            file.write(header + self.pixels)


def colour_run(shot, x, y, colour, dx, dy, limit):
    """Length of the run of pixels of one colour from (x, y) in direction (dx, dy)."""
    length = 0
    while (0 <= x < shot.width and 0 <= y < shot.height and length < limit
           and shot.pixel(x, y) == colour):
        length += 1
        x += dx
        y += dy
    return length


def find_view(shot, window):
    """The board view's contents inside the window: its top row is the first row
    with a long run of the background grey (the board frame never reaches the
    view's edge). Returns the rectangle measured from the grey runs, or None."""
    grey = bytes(BACKGROUND) * 300
    x0 = max(window.x, 0)
    x1 = min(window.x + window.width, shot.width)
    for y in range(max(window.y, 0), min(window.y + window.height, shot.height)):
        row = shot.row_bytes(y, x0, x1)
        at = row.find(grey)
        while at >= 0 and at % 3 != 0:
            at = row.find(grey, at + 1)
        if at >= 0:
            left = x0 + at // 3
            width = colour_run(shot, left, y, BACKGROUND, 1, 0, 10000)
            height = colour_run(shot, left, y, BACKGROUND, 0, 1, 10000)
            return Rect(left, y, width, height)
    return None


def ink_clusters(values, gap):
    """Groups sorted integers into clusters separated by more than gap."""
    clusters = []
    for value in values:
        if clusters and value - clusters[-1][1] <= gap:
            clusters[-1][1] = value
        else:
            clusters.append([value, value])
    return clusters


def changed_columns(first, second, rect):
    """The screen columns in rect where two screenshots differ."""
    return [x for x in range(rect.x, rect.x + rect.width)
            if any(first.pixel(x, y) != second.pixel(x, y) for y in range(rect.y, rect.y + rect.height))]


def dark_pixels(shot, rect, threshold=300):
    """(x, y) of the pixels in rect whose channels add up to less than threshold: text ink."""
    found = []
    for y in range(rect.y, rect.y + rect.height):
        for x in range(rect.x, rect.x + rect.width):
            if sum(shot.pixel(x, y)) < threshold:
                found.append((x, y))
    return found


# --- reading a board off a screenshot ------------------------------------------------

class Board:
    """A drawn board: its size N and the screen position of its floor's top-left pixel."""

    def __init__(self, size, floor_x, floor_y):
        self.size, self.floor_x, self.floor_y = size, floor_x, floor_y

    def square(self, column, row):
        return self.floor_x + PITCH * column, self.floor_y + PITCH * row

    def centre(self, column, row):
        x, y = self.square(column, row)
        return x + 15, y + 15

    def east_gap_centre(self, column, row):
        x, y = self.square(column, row)
        return x + 36, y + 15

    def south_gap_centre(self, column, row):
        x, y = self.square(column, row)
        return x + 15, y + 36

    def crossing_centre(self, column, row):
        """The crossing south-east of the square."""
        x, y = self.square(column, row)
        return x + 36, y + 36

    def inner_wall_points(self):
        """Centres of every inner wall gap, with a readable name for messages."""
        n = self.size
        points = []
        for row in range(n):
            for column in range(n):
                if column < n - 1:
                    points.append((f"east of ({column},{row})", self.east_gap_centre(column, row)))
                if row < n - 1:
                    points.append((f"south of ({column},{row})", self.south_gap_centre(column, row)))
        return points

    def walls(self, shot):
        """Names of the inner wall gaps that show a wall (any black at the gap's centre)."""
        return {name for name, (x, y) in self.inner_wall_points() if shot.pixel(x, y) == BLACK}

    def non_floor_gaps_and_crossings(self, shot):
        n = self.size
        wrong = [name for name, (x, y) in self.inner_wall_points() if shot.pixel(x, y) != FLOOR]
        for row in range(n - 1):
            for column in range(n - 1):
                x, y = self.crossing_centre(column, row)
                if shot.pixel(x, y) != FLOOR:
                    wrong.append(f"crossing south-east of ({column},{row})")
        return wrong

    def ball_colour(self, shot, column, row):
        """The colour of the ball drawn on the square, or None. A ball's shading
        is neither the floor's colour nor a hole's."""
        x, y = self.square(column, row)
        # Right of the disc's centre: the sphere's mid tone, away from the
        # highlight at the upper left and from the black shape that the game
        # puts in the middle of every ball.
        sample = shot.pixel(x + 2 + 21, y + 2 + 13)
        if sample == FLOOR or sample in HOLE_COLOURS.values():
            return None
        red, green, blue = sample
        if blue > red + 30 and blue > green + 30:
            return "blue"
        if green > red + 30 and green > blue + 30:
            return "green"
        if red > green + 30 and red > blue + 30:
            return "red"
        return f"unknown {sample}"

    def balls(self, shot):
        """Colour name -> (column, row) of every ball drawn on the board."""
        found = {}
        for row in range(self.size):
            for column in range(self.size):
                colour = self.ball_colour(shot, column, row)
                if colour:
                    found.setdefault(colour, []).append((column, row))
        return {colour: squares[0] if len(squares) == 1 else squares for colour, squares in found.items()}

    def holes(self, shot):
        """Colour name -> (column, row) of every hole, from a pixel near the middle
        of the squares' bottom edge, below any ball, which every hole's shape in
        the game covers too (square, disc or triangle)."""
        found = {}
        for row in range(self.size):
            for column in range(self.size):
                x, y = self.square(column, row)
                for name, colour in HOLE_COLOURS.items():
                    if shot.pixel(x + 15, y + 29) == colour:
                        found[name] = (column, row)
        return found


def editor_board(shot, view):
    """The board in the editor's view: its size is the one whose frame corner is
    black with background grey diagonally outside it."""
    for size in (3, 5, 7):
        offset = 21 * (7 - size)
        corner = (view.x + offset + 10, view.y + offset + 10)
        if (shot.pixel(*corner) == BLACK
                and shot.pixel(corner[0] - 1, corner[1] - 1) == BACKGROUND):
            return Board(size, view.x + offset + 21, view.y + offset + 21)
    return None


def find_board(shot, rect):
    """A board anywhere in rect: the first row holding a black run exactly as long
    as a board frame (42N + 11), with a frame of the same height below it."""
    x0, x1 = max(rect.x, 0), min(rect.x + rect.width, shot.width)
    for y in range(max(rect.y, 0), min(rect.y + rect.height, shot.height)):
        row = shot.row_bytes(y, x0, x1)
        at = row.find(bytes(BLACK) * 100)
        while at >= 0:
            if at % 3 == 0:
                x = x0 + at // 3
                length = colour_run(shot, x, y, BLACK, 1, 0, 1000)
                for size in (3, 5, 7):
                    side = PITCH * size + 11
                    if (length == side and colour_run(shot, x, y, BLACK, 0, 1, 1000) == side
                            and shot.pixel(x + 11, y + 11) != BLACK):
                        return Board(size, x + 11, y + 11)
                at += length * 3
            at = row.find(bytes(BLACK) * 100, at + 1)
    return None


def status_shows(shot, view, board, ink):
    """True when the status label under the board holds pixels of the given ink."""
    status_top = 315 - PITCH * ((7 - board.size) // 2)
    label = Rect(view.x + 119, view.y + status_top + 14, 111, 16)
    target = bytes(ink)
    for y in range(label.y, label.y + label.height):
        row = shot.row_bytes(y, label.x, label.x + label.width)
        if any(row[i:i + 3] == target for i in range(0, len(row), 3)):
            return True
    return False


# --- the cases ---------------------------------------------------------------------------

class EditorSession(unittest.TestCase):
    """Starts a fresh editor for every case and ends it afterwards. Web addresses
    the editor opens reach a stand-in for xdg-open that only writes them down."""

    extra_environment = {}
    cleared_environment = ()  # variables the editor does not inherit
    alone = False  # run a copy of the editor from a folder without the game
    arguments = []  # the editor's command line
    title = TITLE   # its window's title, as a regular expression

    def setUp(self):
        # Cleanups rather than tearDown, so they also run when setUp fails; the
        # last registered runs first.
        self.scratch = tempfile.TemporaryDirectory(prefix="korvalo-e2e-")
        self.addCleanup(self.scratch.cleanup)
        self.opened_log = os.path.join(self.scratch.name, "opened.txt")
        fake_opener = os.path.join(self.scratch.name, "xdg-open")
        with open(fake_opener, "w") as file:
            file.write('#!/bin/sh\nprintf "%s\\n" "$*" >> "$KORVALO_E2E_OPENED"\n')
        os.chmod(fake_opener, 0o755)
        environment = dict(os.environ)
        environment["PATH"] = self.scratch.name + os.pathsep + environment.get("PATH", "")
        environment["KORVALO_E2E_OPENED"] = self.opened_log
        # Designer mode's recoveries stay in this case, never in the user's data folder.
        self.data_folder = os.path.join(self.scratch.name, "data")
        environment["XDG_DATA_HOME"] = self.data_folder
        environment.update(self.extra_environment)
        for name in self.cleared_environment:
            environment.pop(name, None)
        self.other_pids = []
        # The editor's messages go to a file: a pipe nobody reads could fill up and stall it.
        self.editor_log = os.path.join(self.scratch.name, "editor.log")
        editor = EDITOR
        if self.alone:
            editor = os.path.join(self.scratch.name, os.path.basename(EDITOR))
            shutil.copy(EDITOR, editor)
        self.environment = environment
        with open(self.editor_log, "w") as log:
            self.editor = subprocess.Popen([editor] + self.arguments, env=environment, cwd=self.scratch.name,
                                           stdout=log, stderr=subprocess.STDOUT)
        self.addCleanup(self.stop_programs)
        self.addCleanup(self.report_failure)
        self.window = wait_until(self.editor_window, f"a visible window titled \"{self.title}\"")
        self.activate(self.window)
        self.rect = window_rect(self.window)
        self.view = wait_until(lambda: find_view(Shot(), self.rect),
                               f"the board view's grey background inside the window at {self.rect}")

    def report_failure(self):
        if self.failed():
            self.save_screen()
            print(f"\nthe editor's messages:\n{self.editor_messages()}", file=sys.stderr)

    def stop_programs(self):
        for pid in self.other_pids:
            try:
                os.kill(pid, 15)
            except ProcessLookupError:
                pass
        if self.editor.poll() is None:
            self.editor.terminate()
            try:
                self.editor.wait(timeout=WAIT)
            except subprocess.TimeoutExpired:
                self.editor.kill()
                self.editor.wait()

    def editor_messages(self):
        with open(self.editor_log, errors="replace") as log:
            return log.read()[-4000:]

    def opened_addresses(self):
        """What the editor handed to the browser so far, one address a line."""
        if not os.path.exists(self.opened_log):
            return ""
        with open(self.opened_log) as file:
            return file.read()

    def failed(self):
        """True when this case (or one of its subtests) has failed so far."""
        result = getattr(getattr(self, "_outcome", None), "result", None)
        problems = getattr(result, "failures", []) + getattr(result, "errors", [])
        return any(getattr(test, "test_case", test) is self for test, _ in problems)

    def save_screen(self):
        """Keeps a screenshot of a failed case where KORVALO_E2E_SHOTS points."""
        folder = os.environ.get("KORVALO_E2E_SHOTS")
        if not folder:
            return
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, self.id().split(".")[-1] + ".png")
        subprocess.run(["/usr/bin/import", "-silent", "-window", "root", path], timeout=WAIT)
        print(f"\nscreenshot of the failure: {path}", file=sys.stderr)

    def editor_window(self):
        if self.editor.poll() is not None:
            raise AssertionError(f"the editor exited with status {self.editor.returncode} before showing a window:\n"
                                 f"{self.editor_messages()}")
        windows = visible_windows(pid=self.editor.pid, name=f"^{self.title}$")
        return windows[0] if windows else None

    def activate(self, window):
        """Raises and focuses the window through the window manager."""
        xdotool("windowactivate", "--sync", str(window))
        wait_until(lambda: xdotool("getactivewindow").strip() == str(window),
                   f"window {window} to become active")

    def park_pointer(self):
        """Clears the hover state with a move inside the view but off the floor,
        then takes the pointer out of the window, so screenshots show no hover."""
        move_pointer(self.view.x + 3, self.view.y + 3)
        move_pointer(self.rect.x + self.rect.width + 200, self.rect.y + self.rect.height + 100)

    def shot(self):
        return Shot()

    def board(self, shot=None):
        shot = shot or self.shot()
        board = editor_board(shot, self.view)
        self.assertIsNotNone(board, "no board frame at any of the three sizes' positions in the view")
        return board

    def wait_for_board(self, condition, what):
        """Polls screenshots until condition(shot, board) holds; returns (shot, board)."""
        def attempt():
            shot = self.shot()
            board = editor_board(shot, self.view)
            return (shot, board) if board and condition(shot, board) else None
        return wait_until(attempt, what)

    def wait_until_view_shows(self, picture, what):
        """Waits for the view to show exactly the given pixels: a window that has just
        closed over it may leave it unpainted for a moment."""
        wait_until(lambda: self.shot().region(self.view) == picture, what)

    def command(self, keys):
        self.activate(self.window)
        press(keys)

    def read_code(self, code):
        """Opens the Copy dialog with Ctrl+C, replaces the selected code by typing
        the new one and confirms with Enter."""
        self.open_copy_dialog()
        xdotool("type", "--delay", "30", code)
        press("Return")
        wait_until(lambda: not visible_windows(name="^Copy$"), "the Copy dialog to close after Enter")

    def open_copy_dialog(self):
        self.command("ctrl+c")
        dialog = wait_until(lambda: visible_windows(pid=self.editor.pid, name="^Copy$"),
                            "a visible dialog titled \"Copy\" after Ctrl+C")[0]
        wait_until(lambda: xdotool("getactivewindow").strip() == str(dialog),
                   "the Copy dialog to take the focus")
        return dialog

    MENU_CAPTIONS = {"Game": 5, "Edit": 7, "Help": 2}  # caption rows in each popup

    def choose_from_menu(self, menu, row):
        """Clicks a menu on the menu bar, then the caption in the given row of its popup."""
        self.activate(self.window)
        self.park_pointer()
        items, middle = self.menu_bar_items(self.shot())
        self.assertEqual(len(items), 4, f"menu bar captions found at {items}")
        windows_before = set(visible_windows(pid=self.editor.pid))
        left, right = items[list(self.MENU_CAPTIONS).index(menu)]
        click_at((left + right) // 2, middle)
        popup = wait_until(lambda: set(visible_windows(pid=self.editor.pid)) - windows_before,
                           f"the {menu} menu to open")
        rect = window_rect(popup.pop())

        def caption_rows():
            ink = dark_pixels(self.shot(), rect, threshold=250)
            rows = ink_clusters(sorted({y for _, y in ink}), gap=3)
            return rows if len(rows) == self.MENU_CAPTIONS[menu] else None
        rows = wait_until(caption_rows, f"the {menu} menu's {self.MENU_CAPTIONS[menu]} captions")
        top, bottom = rows[row]
        click_at(rect.x + rect.width // 3, (top + bottom) // 2)

    def menu_bar_items(self, shot):
        """Screen x ranges and the middle y of the menu bar's captions, left to right."""
        bar = Rect(self.rect.x, self.rect.y, self.rect.width, max(self.view.y - 2 - self.rect.y, 0))
        ink = dark_pixels(shot, bar)
        self.assertTrue(ink, f"no caption ink in the menu bar {bar}")
        middle = (min(y for _, y in ink) + max(y for _, y in ink)) // 2
        columns = sorted({x for x, _ in ink})
        return [tuple(cluster) for cluster in ink_clusters(columns, gap=6)], middle


class EditorCases(EditorSession):
    # The window and its view.
    def test_window_has_title_and_fixed_325_by_359_view(self):
        self.park_pointer()
        shot = self.shot()
        self.assertEqual(run("xdotool", "getwindowname", str(self.window)).strip(), TITLE)
        self.assertEqual((self.view.width, self.view.height), (VIEW_WIDTH, VIEW_HEIGHT),
                         f"the view's grey contents measured at {self.view}")
        # The view fills the window below the menu bar, its contents inside a
        # two-pixel sunken frame: one shade on the left and top, another on the
        # right and bottom.
        margins = {"left": self.view.x - self.rect.x,
                   "right": self.rect.x + self.rect.width - (self.view.x + self.view.width),
                   "bottom": self.rect.y + self.rect.height - (self.view.y + self.view.height)}
        self.assertEqual(margins, {"left": 2, "right": 2, "bottom": 2},
                         f"the view's frame inside the window at {self.rect}")
        middle_x, middle_y = self.view.x + 100, self.view.y + 100
        frame = {"left": [shot.pixel(self.view.x - i, middle_y) for i in (1, 2)],
                 "top": [shot.pixel(middle_x, self.view.y - i) for i in (1, 2)],
                 "right": [shot.pixel(self.view.x + VIEW_WIDTH - 1 + i, middle_y) for i in (1, 2)],
                 "bottom": [shot.pixel(middle_x, self.view.y + VIEW_HEIGHT - 1 + i) for i in (1, 2)]}
        for side, pixels in frame.items():
            self.assertNotIn(BACKGROUND, pixels, f"the view's {side} frame")
        self.assertEqual(frame["left"], frame["top"], "the sunken frame's upper-left shade")
        self.assertEqual(frame["right"], frame["bottom"], "the sunken frame's lower-right shade")
        self.assertNotEqual(frame["left"], frame["right"], "the frame does not look sunken")
        board = self.board(shot)
        self.assertEqual(board.size, 5, "the editor starts with a 5 x 5 level")
        hints = run("xprop", "-id", str(self.window), "WM_NORMAL_HINTS")
        minimum = re.search(r"minimum size: (\d+) by (\d+)", hints)
        maximum = re.search(r"maximum size: (\d+) by (\d+)", hints)
        self.assertTrue(minimum and maximum, f"the window gives no fixed size to the window manager:\n{hints}")
        self.assertEqual(minimum.groups(), maximum.groups(), "the window can be resized")
        # openbox maximises a window on a double click on its title bar.
        extents = re.search(r"= (\d+), (\d+), (\d+), (\d+)",
                            run("xprop", "-id", str(self.window), "_NET_FRAME_EXTENTS"))
        self.assertTrue(extents, "the window manager gave the window no frame")
        move_pointer(self.rect.x + self.rect.width // 2, self.rect.y - int(extents.group(3)) // 2)
        xdotool("click", "--repeat", "2", "--delay", "80", "1")
        self.activate(self.window)  # the window manager has handled the double click by now
        after = window_rect(self.window)
        self.assertEqual((after.width, after.height), (self.rect.width, self.rect.height),
                         "a double click on the title bar changed the window's size")

    # Ctrl+N clears the board and keeps the pieces.
    def test_clear_opens_every_inner_wall_and_keeps_the_pieces(self):
        self.park_pointer()
        before = self.shot()
        board = self.board(before)
        balls, holes = board.balls(before), board.holes(before)
        self.assertEqual(set(balls), {"blue", "green", "red"}, f"balls read off the first board: {balls}")
        self.command("ctrl+n")
        self.park_pointer()
        shot, board = self.wait_for_board(lambda s, b: not b.non_floor_gaps_and_crossings(s),
                                          "every inner gap and crossing to show floor after Ctrl+N")
        self.assertEqual(board.size, 5)
        self.assertEqual(board.balls(shot), balls, "Ctrl+N moved a ball")
        self.assertEqual(board.holes(shot), holes, "Ctrl+N moved a hole")

    # A click on a wall gap flips that wall, and a second click flips it back.
    def test_click_on_wall_gap_flips_that_wall(self):
        self.command("ctrl+n")
        self.park_pointer()
        self.wait_for_board(lambda s, b: not b.walls(s), "a cleared board after Ctrl+N")
        board = self.board()
        cases = [
            ("east of (1,1)", board.east_gap_centre(1, 1)),
            ("south of (3,2)", board.south_gap_centre(3, 2)),
            # The gap's first pixel column beside the square.
            ("east of (0,4)", (board.square(0, 4)[0] + 31, board.square(0, 4)[1] + 5)),
        ]
        for name, (x, y) in cases:
            with self.subTest(gap=name):
                click_at(x, y)
                self.park_pointer()
                self.wait_for_board(lambda s, b: b.walls(s) == {name},
                                    f"exactly the wall {name} after a click at ({x},{y})")
                click_at(x, y)
                self.park_pointer()
                self.wait_for_board(lambda s, b: not b.walls(s),
                                    f"the wall {name} to open again after a second click")

    # The second click of a double click counts as a click of its own.
    def test_double_clicks_count_as_two_clicks(self):
        self.read_code(ONE_MOVE_EAST)
        self.park_pointer()
        self.wait_for_board(lambda s, b: b.balls(s) == ONE_MOVE_EAST_BALLS, f"the balls of the code {ONE_MOVE_EAST}")
        board = self.board()
        cases = [("wall east of (2,2)", board.east_gap_centre(2, 2), "south of (3,3)", board.south_gap_centre(3, 3)),
                 ("blue ball", board.centre(0, 0), "east of (3,3)", board.east_gap_centre(3, 3))]
        for target, point, marker, marker_point in cases:
            with self.subTest(double_click=target):
                before = self.shot()
                walls = board.walls(before) ^ {marker}
                move_pointer(*point)
                xdotool("click", "--repeat", "2", "--delay", "60", "1")
                # A single click on another gap afterwards: once its wall has flipped,
                # the double click has been handled too.
                click_at(*marker_point)
                self.park_pointer()
                shot, _ = self.wait_for_board(lambda s, b: (marker in b.walls(s)) == (marker in walls),
                                              f"the wall {marker} to flip after a click")
                self.assertEqual(board.walls(shot), walls, f"a double click on the {target} changed the walls")
                self.assertEqual(board.balls(shot), ONE_MOVE_EAST_BALLS,
                                 f"a double click on the {target} left a ball off its square")

    # Ctrl+Alt+O, which no menu shows, moves the balls one step of a solution.
    def test_solution_step_moves_the_balls(self):
        self.read_code(ONE_MOVE_EAST)
        self.park_pointer()
        shot, board = self.wait_for_board(lambda s, b: b.balls(s) == ONE_MOVE_EAST_BALLS,
                                          f"the balls of the code {ONE_MOVE_EAST}")
        self.assertTrue(status_shows(shot, self.view, board, SOLUTION_EXISTS_INK),
                        "the solvable level read from the Copy dialog does not show \"SOLUTION EXISTS\"")
        self.command("ctrl+alt+o")
        self.park_pointer()
        self.wait_for_board(lambda s, b: b.balls(s) == SOLVED_BALLS,
                            "every ball to move one square east after Ctrl+Alt+O")

    # Ctrl+C opens "Copy" with the whole code selected; Escape leaves the level alone.
    def test_copy_dialog_shows_the_code_selected(self):
        self.park_pointer()
        before = self.shot()
        dialog = self.open_copy_dialog()
        rect = window_rect(dialog)

        def settled():
            """A painted dialog: varied pixels, unchanged but for the blinking cursor."""
            first = self.shot()
            time.sleep(0.2)
            second = self.shot()
            painted = len(set(first.region(rect)[i:i + 3] for i in range(0, rect.width * rect.height * 3, 3))) >= 10
            return second if painted and len(changed_columns(first, second, rect)) <= 2 else None
        as_opened = wait_until(settled, "the Copy dialog to be painted")
        press("End")  # drops the selection; only the highlight and the cursor change

        def deselected():
            shot = self.shot()
            return shot if len(changed_columns(as_opened, shot, rect)) > 2 else None
        unselected = wait_until(deselected, "the dialog's picture to change when End drops the selection")
        text = [x for x, _ in dark_pixels(unselected, rect, threshold=100)]
        self.assertTrue(text, "no text in the Copy dialog")
        highlight = changed_columns(as_opened, unselected, rect)
        self.assertGreaterEqual(max(highlight) - min(highlight), 0.8 * (max(text) - min(text)),
                                "the code in the Copy dialog was not selected as a whole")
        press("ctrl+a")  # selects the whole text again: the picture must be the one the dialog opened with
        wait_until(lambda: len(changed_columns(as_opened, self.shot(), rect)) <= 2,
                   "the dialog to look as it opened once Ctrl+A selects the whole code")
        press("Escape")
        wait_until(lambda: not visible_windows(name="^Copy$"), "the Copy dialog to close on Escape")
        self.park_pointer()
        self.wait_until_view_shows(before.region(self.view), "the board as before Ctrl+C once Escape closed the dialog")

    # A 7 x 7 code typed over the selected code and Enter give the 7 x 7 level.
    def test_pasted_7x7_code_gives_a_7x7_board(self):
        self.read_code(CLEARED_7X7)
        self.park_pointer()
        shot, board = self.wait_for_board(lambda s, b: b.size == 7, "a 7 x 7 board after reading a 7 x 7 code")
        self.assertEqual(shot.pixel(self.view.x + 314, self.view.y + 314), BLACK, "frame's bottom-right corner")
        self.assertEqual(shot.pixel(self.view.x + 315, self.view.y + 315), BACKGROUND, "below the frame")
        self.assertEqual(board.non_floor_gaps_and_crossings(shot), [], "the cleared 7 x 7 board shows walls")
        self.assertEqual(board.balls(shot), {"red": (0, 0), "green": (3, 3), "blue": (6, 6)})
        self.assertEqual(board.holes(shot), {"blue": (0, 0), "green": (3, 3), "red": (6, 6)})

    # "&Vandrel", a command on the menu bar itself, opens the maker's site at once.
    def test_vandrel_on_the_menu_bar_opens_the_makers_site(self):
        self.park_pointer()
        items, middle = self.menu_bar_items(self.shot())
        self.assertGreaterEqual(len(items), 4, f"menu bar captions found at {items}")
        windows_before = set(visible_windows(pid=self.editor.pid))
        left, right = items[3]
        click_at((left + right) // 2, middle)
        opened = wait_until(lambda: self.opened_addresses().strip(),
                            "the maker's site to be handed to the browser after clicking \"Vandrel\"")
        self.assertRegex(opened, r"^https?://[^/\s]+/eng$", "the address opened for \"Vandrel\"")
        self.assertEqual(set(visible_windows(pid=self.editor.pid)), windows_before,
                         "clicking \"Vandrel\" opened a window (a popup menu?)")

    # Game, "Exit" ends the program.
    def test_exit_in_the_game_menu_ends_the_program(self):
        self.choose_from_menu("Game", 4)
        wait_until(lambda: self.editor.poll() is not None, "the editor to end after Game, Exit")
        self.assertEqual(self.editor.returncode, 0, "exit status after Game, Exit")

    # Edit, "Get HTML" hands the sharing page with the level's code to the browser.
    def test_get_html_opens_the_sharing_page_with_the_code(self):
        self.read_code(ONE_MOVE_EAST)
        self.choose_from_menu("Edit", 5)
        opened = wait_until(lambda: self.opened_addresses().strip(),
                            "an address to be handed to the browser after Edit, Get HTML")
        self.assertRegex(opened, r"^https?://[^/\s]+/cgi-bin/korvz\?s=" + ONE_MOVE_EAST + "$")

    # Help, "About" shows the About box, which Enter closes.
    def test_about_box_opens_from_the_help_menu_and_closes_on_enter(self):
        self.choose_from_menu("Help", 0)
        about = wait_until(lambda: visible_windows(pid=self.editor.pid, name="^About$"),
                           "a visible dialog titled \"About\" after Help, About")[0]
        wait_until(lambda: xdotool("getactivewindow").strip() == str(about), "the About box to take the focus")
        press("Return")
        wait_until(lambda: not visible_windows(pid=self.editor.pid, name="^About$"), "the About box to close on Enter")
        self.assertIsNone(self.editor.poll(), "the editor ended")

    # While a dialog is open, the editor's keys belong to the dialog.
    def test_keys_and_clicks_during_the_copy_dialog_do_not_reach_the_board(self):
        self.park_pointer()
        before = self.shot()
        board = self.board(before)
        self.open_copy_dialog()
        for keys in ("ctrl+x", "ctrl+n", "ctrl+z", "ctrl+r", "ctrl+alt+o"):
            press(keys)
        # The dialog stands over the middle of the board; the top row stays uncovered.
        for column in range(board.size - 1):
            click_at(*board.east_gap_centre(column, 0))
        self.activate(visible_windows(pid=self.editor.pid, name="^Copy$")[0])
        press("Escape")
        wait_until(lambda: not visible_windows(name="^Copy$"), "the Copy dialog to close on Escape")
        # A key the main window handles, to be sure every earlier key has been delivered.
        self.command("ctrl+c")
        wait_until(lambda: visible_windows(pid=self.editor.pid, name="^Copy$"), "the Copy dialog to open again")
        press("Escape")
        wait_until(lambda: not visible_windows(name="^Copy$"), "the Copy dialog to close on Escape")
        self.park_pointer()
        self.wait_until_view_shows(before.region(self.view),
                                   "the board unchanged by the keys and clicks while the Copy dialog was open")

    # Carrying balls with the mouse: pick up, put down, and exchange with another ball.
    def test_balls_are_carried_and_exchanged_with_clicks(self):
        self.read_code(ONE_MOVE_EAST)
        self.park_pointer()
        self.wait_for_board(lambda s, b: b.balls(s) == ONE_MOVE_EAST_BALLS, f"the balls of the code {ONE_MOVE_EAST}")
        board = self.board()
        click_at(*board.centre(0, 0))
        move_pointer(*board.centre(0, 2))
        # While carried, the ball follows the pointer and the lamp is out.
        self.wait_for_board(lambda s, b: b.balls(s) == {"blue": (0, 2), "green": (1, 0), "red": (2, 0)}
                            and status_shows(s, self.view, b, NO_SOLUTION_INK),
                            "the blue ball at the pointer over (0,2) and \"NO SOLUTION\"")
        xdotool("click", "1")
        self.park_pointer()
        self.wait_for_board(lambda s, b: b.balls(s) == {"blue": (0, 2), "green": (1, 0), "red": (2, 0)},
                            "the blue ball put down on (0,2)")
        click_at(*board.centre(2, 0))
        click_at(*board.centre(1, 0))  # green stands there: red goes down, green comes into the hand
        move_pointer(*board.centre(3, 1))
        self.wait_for_board(lambda s, b: b.balls(s) == {"blue": (0, 2), "red": (1, 0), "green": (3, 1)},
                            "red on (1,0) and the green ball carried to (3,1)")
        xdotool("click", "1")
        self.park_pointer()
        self.wait_for_board(lambda s, b: b.balls(s) == {"blue": (0, 2), "red": (1, 0), "green": (3, 1)},
                            "the green ball put down on (3,1)")

    # Minimising and restoring shows the same picture.
    def test_minimise_and_restore_shows_the_same_board(self):
        self.park_pointer()
        before = self.shot().region(self.view)
        xdotool("windowminimize", "--sync", str(self.window))
        wait_until(lambda: self.window not in visible_windows(pid=self.editor.pid), "the window to be minimised")
        self.activate(self.window)
        self.wait_until_view_shows(before, "the restored window to show the same board as before minimising")


class Downscaled:
    """A view drawn at a whole-number scale, read back at the scale of one:
    pixel (x, y) of the 325 x 359 picture is the top-left one of its block."""

    def __init__(self, shot, view, scale):
        self.shot, self.view, self.scale = shot, view, scale
        self.width, self.height = VIEW_WIDTH, VIEW_HEIGHT

    def pixel(self, x, y):
        return self.shot.pixel(self.view.x + self.scale * x, self.view.y + self.scale * y)


class ScaledScreenCase(EditorSession):
    """On a screen with a device pixel ratio of 2 every pixel of the board
    becomes a sharp 2 x 2 block."""

    extra_environment = {"QT_SCALE_FACTOR": "2"}

    def test_board_is_scaled_by_whole_pixels(self):
        self.park_pointer()
        shot = self.shot()
        self.assertEqual((self.view.width, self.view.height), (2 * VIEW_WIDTH, 2 * VIEW_HEIGHT),
                         f"the view's grey contents measured at {self.view}")
        blurred = [(x, y) for y in range(VIEW_HEIGHT) for x in range(VIEW_WIDTH)
                   if len({shot.pixel(self.view.x + 2 * x + dx, self.view.y + 2 * y + dy)
                           for dx in (0, 1) for dy in (0, 1)}) > 1]
        self.assertEqual(blurred[:5], [], f"{len(blurred)} pixels of the board are not sharp 2 x 2 blocks")
        picture = Downscaled(shot, self.view, 2)
        whole = Rect(0, 0, VIEW_WIDTH, VIEW_HEIGHT)
        board = editor_board(picture, whole)
        self.assertIsNotNone(board, "no board frame in the scaled view")
        self.assertEqual(board.size, 5)
        self.assertEqual(set(board.balls(picture)), {"blue", "green", "red"})


class GameLaunchCase(EditorSession):
    """Ctrl+T starts the game beside the editor with the editor's level."""

    def game_window(self):
        for window in visible_windows():
            pid = window_pid(window)
            if pid and pid != self.editor.pid and window_rect(window).width > 100:
                return window, pid
        return None

    def start_game(self):
        """Ctrl+T in the editor; returns the game's window rectangle and the board it shows."""
        game = os.path.join(os.path.dirname(EDITOR), "korvalo")
        if not os.access(game, os.X_OK):
            self.skipTest(f"no game built at {game}")
        self.command("ctrl+t")
        window, pid = wait_until(self.game_window, "a game window after Ctrl+T")
        self.other_pids.append(pid)
        # The game beside the editor, whatever else the search path holds.
        self.assertEqual(os.path.realpath(f"/proc/{pid}/exe"), os.path.realpath(game),
                         "the editor started another game than the one beside it")
        title = run("xdotool", "getwindowname", str(window)).strip()
        self.assertIn("test", title.lower(), f"the game's title \"{title}\" does not say it tests the editor's level")
        self.activate(window)
        rect = window_rect(window)
        move_pointer(rect.x + rect.width + 50, rect.y + rect.height + 50)

        def game_board():
            shot = self.shot()
            board = find_board(shot, rect)
            return (shot, board) if board else None
        shot, board = wait_until(game_board, f"a board drawn in the game window at {rect}")
        return window, rect, shot, board

    def assert_same_level(self, game_shot, game_board, editor_shot, editor_board_seen):
        self.assertEqual(game_board.size, editor_board_seen.size, "the game shows a board of another size")
        for part in ("balls", "holes", "walls"):
            self.assertEqual(getattr(game_board, part)(game_shot), getattr(editor_board_seen, part)(editor_shot),
                             f"the game's {part} differ from the editor's")

    def test_test_command_plays_the_level_in_the_game(self):
        self.read_code(ONE_MOVE_EAST)
        self.park_pointer()
        editor_shot, editor_board_seen = self.wait_for_board(
            lambda s, b: b.balls(s) == ONE_MOVE_EAST_BALLS, f"the balls of the code {ONE_MOVE_EAST}")
        window, rect, shot, board = self.start_game()
        self.assert_same_level(shot, board, editor_shot, editor_board_seen)

        press("Right")
        wait_until(lambda: (lambda s: find_board(s, rect) and find_board(s, rect).balls(s) == SOLVED_BALLS)(self.shot()),
                   "the game's balls to move one square east after the Right key")

        # The editor goes on working while the game runs.
        self.command("ctrl+alt+o")
        self.park_pointer()
        self.wait_for_board(lambda s, b: b.balls(s) == SOLVED_BALLS,
                            "the editor's balls to move after Ctrl+Alt+O with the game open")
        self.assertIsNone(self.editor.poll(), "the editor ended")

        self.activate(window)
        press("Escape")
        wait_until(lambda: window not in visible_windows(), "the game's window to close on Escape")
        self.assertIsNone(self.editor.poll(), "the editor ended with the game")

    # After a solution step the editor holds its balls in another order until the
    # next recheck; the game must still get the level the editor shows.
    def test_test_command_after_a_solution_step_passes_the_level_shown(self):
        self.read_code(ONE_MOVE_EAST)
        self.command("ctrl+alt+o")
        self.park_pointer()
        editor_shot, editor_board_seen = self.wait_for_board(
            lambda s, b: b.balls(s) == SOLVED_BALLS, "the editor's balls to move after Ctrl+Alt+O")
        _, _, shot, board = self.start_game()
        self.assert_same_level(shot, board, editor_shot, editor_board_seen)


class MissingGameCase(EditorSession):
    """Without the game, Test changes nothing and says nothing."""

    alone = True

    def test_test_command_without_the_game_changes_nothing(self):
        if shutil.which("korvalo"):
            self.skipTest("a game on the search path")
        self.park_pointer()
        windows_before = set(visible_windows())
        before = self.shot().region(self.view)
        self.command("ctrl+t")
        # Ctrl+C right after: once its dialog is up, Test has been handled.
        self.open_copy_dialog()
        press("Escape")
        wait_until(lambda: not visible_windows(name="^Copy$"), "the Copy dialog to close on Escape")
        self.park_pointer()
        self.wait_until_view_shows(before, "the board unchanged after Test without a game")
        self.assertEqual(set(visible_windows()), windows_before, "Test without a game opened a window")
        self.assertIsNone(self.editor.poll(), "the editor ended")


class DesignerCases(EditorSession):
    """Designer mode: the status line, undo, the clipboard and a set saved and opened."""

    arguments = ["--designer"]
    title = "Korvalo Level Designer - .*"

    def status_ink(self, shot=None):
        """The dark pixels of the status line's text, in a band just under the view."""
        shot = shot or self.shot()
        band = Rect(self.view.x, self.view.y + self.view.height + 4, self.view.width, 18)
        return frozenset(dark_pixels(shot, band, threshold=200))

    def paste(self, text):
        """Puts text on the clipboard from outside the editor and presses Ctrl+V."""
        subprocess.run(["xclip", "-selection", "clipboard"], input=text, text=True, timeout=WAIT, check=True)
        self.command("ctrl+v")

    def file_dialog(self, title, path):
        """Waits for the file dialog, types the path into it and confirms."""
        dialog = wait_until(lambda: visible_windows(pid=self.editor.pid, name=f"^{title}$"),
                            f"a dialog titled \"{title}\"")[0]
        wait_until(lambda: xdotool("getactivewindow").strip() == str(dialog), f"the {title} dialog to take the focus")
        xdotool("type", "--delay", "20", path)
        press("Return")
        wait_until(lambda: not visible_windows(pid=self.editor.pid, name=f"^{title}$"),
                   f"the {title} dialog to close")

    def test_status_line_follows_the_level(self):
        self.park_pointer()
        self.assertTrue(self.status_ink(), "no text in the status line under the board")
        self.paste(CLEARED_7X7)  # "No solution"
        self.park_pointer()
        self.wait_for_board(lambda s, b: b.size == 7, "a 7 x 7 board after the paste")
        unsolvable = wait_until(self.status_ink, "the status line's text")
        self.paste(ONE_MOVE_EAST)  # "Shortest solution: 1 move"
        wait_until(lambda: self.status_ink() not in (unsolvable, frozenset()), "the status line to change with the level")

    def test_an_edit_then_undo_restores_the_picture(self):
        self.park_pointer()
        before = self.shot().region(self.view)
        self.command("ctrl+shift+r")  # Rotate
        self.park_pointer()
        wait_until(lambda: self.shot().region(self.view) != before, "the board to turn")
        self.command("ctrl+z")
        self.park_pointer()
        self.wait_until_view_shows(before, "the board as before the turn after Ctrl+Z")

    def test_paste_of_a_7x7_code_from_the_clipboard_gives_the_7x7_board(self):
        self.paste(CLEARED_7X7 + "\n")
        self.park_pointer()
        shot, board = self.wait_for_board(lambda s, b: b.size == 7, "a 7 x 7 board after Ctrl+V")
        self.assertEqual(board.non_floor_gaps_and_crossings(shot), [], "the cleared 7 x 7 board shows walls")
        self.assertEqual(board.balls(shot), {"red": (0, 0), "green": (3, 3), "blue": (6, 6)})

    def test_save_then_open_gives_the_same_set(self):
        first = os.path.join(self.scratch.name, "first.txt")
        second = os.path.join(self.scratch.name, "second.txt")
        self.command("ctrl+shift+a")  # the level on the board
        self.paste(ONE_MOVE_EAST)
        self.command("ctrl+shift+a")
        self.command("ctrl+s")
        self.file_dialog("Save Level Set", first)
        wait_until(lambda: os.path.exists(first), f"{first} to be written")
        with open(first) as file:
            saved = file.read()
        self.assertIn(ONE_MOVE_EAST, saved)
        self.assertEqual(len([line for line in saved.splitlines() if line and not line.startswith("#")]), 2)

        self.command("ctrl+n")  # a new, empty set; the saved one needs no question
        self.command("ctrl+o")
        self.file_dialog("Open Level Set", first)
        self.command("ctrl+shift+s")
        self.file_dialog("Save Level Set", second)
        wait_until(lambda: os.path.exists(second), f"{second} to be written")
        with open(second) as file:
            self.assertEqual(file.read(), saved, "the set saved again after opening it")


class DesignerLostEditCase(EditorSession):
    """Designer mode never drops an edit of a set level: the window asks before it closes."""

    title = "Korvalo Level Designer - .*"
    set_path = ""

    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory(prefix="korvalo-e2e-set-")
        cls.set_path = os.path.join(cls.folder.name, "two.txt")
        with open(cls.set_path, "w") as file:
            file.write(f"# title: Two\n{ONE_MOVE_EAST}\tFirst\n{CLEARED_5X5}\tSecond\n")
        cls.arguments = ["--designer", cls.set_path]

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def level_pictures(self, shot):
        """Vertical centres of the level pictures in the set's list, right of the board:
        each cleared board's picture crosses a column there with its dark frame's top and
        bottom edges."""
        x = self.view.x + self.view.width + 50
        # A frame's edge is dark across the picture; the pieces' marks inside
        # it are a few pixels wide, so a row counts only when dark on a span.
        rows = [y for y in range(self.view.y, self.rect.y + self.rect.height)
                if all(max(shot.pixel(x + dx, y)) < 60 for dx in range(-12, 13, 4))]
        edges = ink_clusters(rows, 1)
        return [(edges[i][0] + edges[i + 1][1]) // 2 for i in range(0, len(edges) - 1, 2)]

    def test_an_edited_set_level_is_offered_back_to_the_set_on_close(self):
        pictures = wait_until(lambda: len(self.level_pictures(self.shot())) == 2 and self.level_pictures(self.shot()),
                              "the two levels' pictures in the list")
        # A double click on level 2 puts it on the board.
        move_pointer(self.view.x + self.view.width + 50, pictures[1])
        xdotool("click", "--repeat", "2", "--delay", "80", "1")
        self.park_pointer()
        self.wait_for_board(lambda s, b: b.size == 5 and not b.walls(s) and b.balls(s) == CLEARED_5X5_BALLS,
                            "the cleared level 2 on the board")
        # A click on a wall gap flips it: the board now differs from level 2.
        board = self.board()
        click_at(*board.east_gap_centre(1, 1))
        self.park_pointer()
        self.wait_for_board(lambda s, b: b.walls(s) == {"east of (1,1)"}, "the flipped wall")
        wait_until(lambda: xdotool("getwindowname", str(self.window)).strip().endswith("*"),
                   "the change mark in the title")

        # Closing asks first: Enter takes the default answers, Update Level 2 and then Save.
        self.activate(self.window)
        press("alt+F4")
        for title in ("Unsaved Level", "Unsaved Changes"):
            dialog = wait_until(lambda: visible_windows(pid=self.editor.pid, name=f"^{title}$"),
                                f"the question \"{title}\"")[0]
            self.activate(dialog)
            press("Return")
        self.assertEqual(self.editor.wait(timeout=WAIT), 0)
        with open(self.set_path) as file:
            levels = [line.split("\t")[0] for line in file.read().splitlines() if line and not line.startswith("#")]
        self.assertEqual(levels[0], ONE_MOVE_EAST)
        self.assertNotEqual(levels[1], CLEARED_5X5, "the wall flipped on the board went into level 2")
        self.assertEqual(len(levels), 2)


class DesignerRecoveryCase(EditorSession):
    """Designer mode keeps its unkept work for a start after a crash: killed with SIGKILL,
    the next start offers it back and restores it."""

    arguments = ["--designer"]
    title = "Korvalo Level Designer - .*"

    def recoveries(self):
        """The recovery files in the case's data folder, with their texts."""
        found = {}
        for folder, _, names in os.walk(self.data_folder):
            for name in names:
                if name.endswith(".recovery"):
                    with open(os.path.join(folder, name), "rb") as file:
                        found[name] = file.read()
        return found

    @staticmethod
    def set_levels(recovery):
        """The level lines of the set a recovery holds."""
        text = recovery.decode("utf-8", "replace")
        size_line = re.search(r"^set (\d+)$", text, re.MULTILINE)
        start = size_line.end() + 1
        kept = text[start:start + int(size_line.group(1))]
        return [line for line in kept.splitlines() if line and not line.startswith("#")]

    def test_work_killed_with_sigkill_is_offered_back_and_restored(self):
        for _ in range(3):
            self.command("ctrl+shift+a")  # Add Level
        wait_until(lambda: xdotool("getwindowname", str(self.window)).strip().endswith("*"),
                   "the change mark in the title")
        kept = wait_until(lambda: [text for text in self.recoveries().values() if len(self.set_levels(text)) == 3],
                          "a recovery file with the three levels", timeout=15)
        self.assertEqual(len(self.recoveries()), 1)
        os.kill(self.editor.pid, signal.SIGKILL)
        self.editor.wait(timeout=WAIT)

        with open(self.editor_log, "a") as log:
            self.editor = subprocess.Popen([EDITOR] + self.arguments, env=self.environment, cwd=self.scratch.name,
                                           stdout=log, stderr=subprocess.STDOUT)
        question = wait_until(lambda: visible_windows(pid=self.editor.pid, name="^Recover Work$"),
                              "the question offering the kept work")[0]
        self.activate(question)
        press("Return")  # Restore, the default answer
        self.window = wait_until(self.editor_window, "the designer's window after the restore")
        wait_until(lambda: xdotool("getwindowname", str(self.window)).strip().endswith("*"),
                   "the change mark of the restored work in the title")
        # The crashed run's file is gone, and the new run keeps the restored work as its own.
        restored = wait_until(lambda: [text for text in self.recoveries().values() if self.set_levels(text)],
                              "the new run's recovery of the restored work", timeout=15)
        self.assertEqual(len(self.recoveries()), 1)
        self.assertEqual(self.set_levels(restored[0]), self.set_levels(kept[0]))


class DesignerGermanCase(EditorSession):
    """Designer mode, its dialogs and the game it starts, in German as the system's locale asks:
    German titles, and every dialog's texts within the dialog."""

    arguments = ["--designer"]
    title = "Korvalo-Leveldesigner - Unbenannte Sammlung"
    extra_environment = {"LANGUAGE": "de", "LANG": "de_DE.UTF-8"}
    cleared_environment = ("LC_ALL", "LC_MESSAGES")
    game_window = GameLaunchCase.game_window
    start_game = GameLaunchCase.start_game

    EDGE = 4  # pixels along a dialog's right and bottom edges where no text may reach

    def assert_texts_inside(self, window, what, ink=lambda pixel: sum(pixel) < 200):
        """The window shows text, and none of it reaches its right or bottom edge, where a
        text too long for the window would be cut off. Dialogs write dark ink on light grey."""
        rect = window_rect(window)

        def inked(shot, area):
            return [(x, y) for y in range(area.y, area.y + area.height)
                    for x in range(area.x, area.x + area.width) if ink(shot.pixel(x, y))]
        shot = wait_until(lambda: (lambda s: s if inked(s, rect) else None)(self.shot()), f"text in {what}")
        self.assertLessEqual(rect.x + rect.width, shot.width, f"{what} runs off the screen")
        self.assertLessEqual(rect.y + rect.height, shot.height, f"{what} runs off the screen")
        right = Rect(rect.x + rect.width - self.EDGE, rect.y, self.EDGE, rect.height)
        bottom = Rect(rect.x, rect.y + rect.height - self.EDGE, rect.width, self.EDGE)
        self.assertEqual(inked(shot, right) + inked(shot, bottom), [], f"text at the edge of {what} ({rect})")

    def dialog(self, keys, title):
        """Presses the keys in the main window and waits for the dialog of this title to take the focus."""
        self.command(keys)
        dialog = wait_until(lambda: visible_windows(pid=self.editor.pid, name=f"^{title}$"),
                            f"a dialog titled \"{title}\" after {keys}")[0]
        wait_until(lambda: xdotool("getactivewindow").strip() == str(dialog), f"the dialog \"{title}\" to take the focus")
        return dialog

    def test_designer_dialogs_and_game_in_german(self):
        self.park_pointer()
        for keys, title in (("ctrl+g", "Level erzeugen"), ("ctrl+l", "Levelcode"),
                            ("F1", "Bearbeiten mit der Tastatur")):
            with self.subTest(dialog=title):
                dialog = self.dialog(keys, title)
                self.assert_texts_inside(dialog, f"the dialog \"{title}\"")
                press("Escape")
                wait_until(lambda: dialog not in visible_windows(), f"the dialog \"{title}\" to close")

        # A changed board is offered to the set before the window closes; Escape keeps it open.
        self.command("ctrl+shift+r")
        question = self.dialog("alt+F4", "Ungesichertes Level")
        self.assert_texts_inside(question, "the question")
        press("Escape")
        wait_until(lambda: question not in visible_windows(), "the question to close")
        self.assertIsNone(self.editor.poll(), "the editor ended though the question was cancelled")

        window, rect, _, _ = self.start_game()
        self.assertEqual(run("xdotool", "getwindowname", str(window)).strip(),
                         "Korvalo - Test des Levels aus dem Editor")
        # The game writes light ink on dark grey.
        self.assert_texts_inside(window, "the game's window", ink=lambda pixel: sum(pixel) > 600)


ATSPI_BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
SYSTEM_PYTHON = "/usr/bin/python3"  # Debian's, which has pyatspi


def atspi_available():
    return (os.path.exists(ATSPI_BUS_LAUNCHER) and shutil.which("dbus-daemon")
            and subprocess.run([SYSTEM_PYTHON, "-c", "import pyatspi"], capture_output=True).returncode == 0)


class DesignerKeyboardCase(EditorSession):
    """Designer mode from the keyboard alone, and what a screen reader hears of it over AT-SPI."""

    arguments = ["--designer"]
    title = "Korvalo Level Designer - .*"

    @classmethod
    def setUpClass(cls):
        cls.bus = None
        cls.launcher = None
        if not atspi_available():
            return
        # A session bus of this case's own with the accessibility bus on it, as a desktop has.
        cls.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        address = cls.bus.stdout.readline().strip()
        cls.extra_environment = {"DBUS_SESSION_BUS_ADDRESS": address, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}
        environment = dict(os.environ, **cls.extra_environment)
        cls.launcher = subprocess.Popen([ATSPI_BUS_LAUNCHER, "--launch-immediately"], env=environment,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        for process in (cls.launcher, cls.bus):
            if process is not None:
                process.terminate()
                process.wait(timeout=WAIT)

    def test_a_level_built_from_the_keyboard_alone(self):
        self.activate(self.window)
        # The board has the focus at the start: clear it, carry the red ball one
        # square east, and close the wall south of it.
        for keys in ("ctrl+shift+n", "b", "Right", "b", "shift+Down"):
            press(keys)
        self.park_pointer()
        shot, board = self.wait_for_board(
            lambda s, b: b.walls(s) == {"south of (1,0)"} and b.balls(s).get("red") == (1, 0),
            "the red ball one square east and the wall south of it")
        self.assertEqual(board.balls(shot), {"red": (1, 0), "green": (2, 2), "blue": (4, 4)})

        # The code copied from the keyboard is the level korvalo-level solves.
        press("ctrl+c")
        code = wait_until(lambda: run("xclip", "-selection", "clipboard", "-o", check=False).strip(),
                          "the level code on the clipboard")
        self.assertTrue(code.startswith("5012244442200"), code)
        tool = os.path.join(os.path.dirname(EDITOR), "korvalo-level")
        fields = run(tool, "solve", code).rstrip("\n").split("\t")
        self.assertEqual(fields[0], code)
        self.assertIn(fields[1], ("solvable", "unsolvable"))

        if self.bus is None:
            self.skipTest("no AT-SPI here (at-spi2-core, dbus and python3-pyatspi)")
        probe = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_probe.py")
        role, name, description = run(SYSTEM_PYTHON, probe, "Board", "30", timeout=60).splitlines()[:3]
        self.assertEqual(role, "canvas")
        self.assertEqual(name, "Board, cursor on column 2, row 1: the red ball; walls north, south; open west, east")
        self.assertIn("The red ball on column 2, row 1.", description)
        verdict = "No solution." if fields[1] == "unsolvable" else f"Shortest solution: {fields[2]} move"
        self.assertIn(verdict, description)

    def test_keys_reach_the_sizes_and_alt_letters_the_title_and_author_fields(self):
        self.activate(self.window)
        # Ctrl+3 makes a 3 x 3 board, whose code starts with its size.
        press("ctrl+3")
        press("ctrl+c")
        wait_until(lambda: run("xclip", "-selection", "clipboard", "-o", check=False).startswith("3"),
                   "a 3 x 3 level's code on the clipboard after Ctrl+3")
        # Alt+S opens the Set menu and T its Title and Author; there Alt+A and
        # Alt+T move between the fields: each word lands in its own field only
        # if each letter reached its field.
        press("alt+s")
        time.sleep(0.5)  # the popup takes the keyboard once it is shown
        press("t")
        dialog = wait_until(lambda: visible_windows(pid=self.editor.pid, name="^Title and Author$"),
                            "the Title and Author dialog after Alt+S, T")[0]
        wait_until(lambda: xdotool("getactivewindow").strip() == str(dialog), "the dialog to take the focus")
        press("alt+a")
        xdotool("type", "--delay", "30", "Ada")
        press("alt+t")
        xdotool("type", "--delay", "30", "Corners")
        press("Return")
        wait_until(lambda: xdotool("getwindowname", str(self.window)).strip()
                   == "Korvalo Level Designer - Corners*",
                   "the set's title in the window title, and the author's name not in it")

    def test_status_messages_reach_a_screen_reader(self):
        if self.bus is None:
            self.skipTest("no AT-SPI here (at-spi2-core, dbus and python3-pyatspi)")
        self.activate(self.window)
        # A cleared board puts the red ball on the cursor's square; one square
        # east stands no ball, and taking one there is refused in the status line.
        for keys in ("ctrl+shift+n", "Right"):
            press(keys)
        message = "No ball stands on this square."
        for attempt in ("the first time", "the same message again"):
            with self.subTest(attempt):
                listener = listen_over_atspi(message)
                press("b")
                events, found = heard(listener)
                self.assertTrue(found, f"no screen reader heard {message!r}; it heard {events}")
                roles = {role for role, _, text in events if message in text}
                self.assertEqual(roles, {"status bar"}, events)
                kinds = {kind for _, kind, text in events if message in text}
                self.assertIn("object:text-changed:insert", kinds)


def listen_over_atspi(wanted, seconds=60):
    """Starts a screen reader's ear (atspi_listener.py) for the wanted text and
    returns it once it listens; finish it with heard()."""
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_listener.py")
    listener = subprocess.Popen([SYSTEM_PYTHON, script, wanted, str(seconds)], stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
    first = listener.stdout.readline().strip()
    if first != "listening":
        listener.kill()
        raise AssertionError(f"the AT-SPI listener did not start: {first!r}")
    time.sleep(1.0)  # the program learns of the listener through the registry
    return listener


def heard(listener, seconds=90):
    """The events the listener heard, as (role, event, text), and whether the wanted text was among them."""
    output, _ = listener.communicate(timeout=seconds)
    events = [tuple(line.split("\t", 2)) for line in output.splitlines() if line.count("\t") >= 2]
    return events, listener.returncode == 0


class DesignerTestSetCase(EditorSession):
    """Designer mode's Test Set: an unsaved set of two levels, the second selected, plays in the
    game from that level; a change of the set while the game runs is offered to the game."""

    arguments = ["--designer"]
    title = "Korvalo Level Designer - .*"
    setUpClass = classmethod(DesignerKeyboardCase.setUpClass.__func__)
    tearDownClass = classmethod(DesignerKeyboardCase.tearDownClass.__func__)
    game_window = GameLaunchCase.game_window

    def setUp(self):
        # Settings of this case's own, so no earlier run chooses what the game shows.
        self.settings = tempfile.TemporaryDirectory(prefix="korvalo-e2e-settings-")
        self.addCleanup(self.settings.cleanup)
        self.extra_environment = dict(self.extra_environment, XDG_CONFIG_HOME=self.settings.name)
        super().setUp()

    def test_test_set_plays_the_unsaved_set_from_the_selected_level(self):
        game = os.path.join(os.path.dirname(EDITOR), "korvalo")
        if not os.access(game, os.X_OK):
            self.skipTest(f"no game built at {game}")
        for code in (TWO_MOVES_3X3, ONE_MOVE_EAST):  # Add selects the level it adds
            DesignerCases.paste(self, code)
            self.command("ctrl+shift+a")
        wait_until(lambda: xdotool("getwindowname", str(self.window)).strip().endswith("*"),
                   "the change mark of the unsaved set in the title")

        self.command("ctrl+shift+t")
        window, pid = wait_until(self.game_window, "a game window after Ctrl+Shift+T")
        self.other_pids.append(pid)
        self.assertEqual(os.path.realpath(f"/proc/{pid}/exe"), os.path.realpath(game))
        window = wait_until(lambda: visible_windows(pid=pid, name="^Korvalo"), "the game's own window")[0]
        rect = window_rect(window)
        move_pointer(rect.x + rect.width + 50, rect.y + rect.height + 50)
        # The second level, a 5 x 5 one, though the set's first level is unsolved and 3 x 3.
        wait_until(lambda: (lambda s: find_board(s, rect) and find_board(s, rect).size == 5
                            and find_board(s, rect).balls(s) == ONE_MOVE_EAST_BALLS)(self.shot()),
                   "the game showing the set's second level")
        # The game is the editor's: on fresh settings too it never asks whether
        # play records may be sent (a player's game asks as its window opens).
        quiet_until = time.monotonic() + 3
        while time.monotonic() < quiet_until:
            self.assertFalse(visible_windows(pid=pid, name="^Play Records$"),
                             "the editor's game asked whether play records may be sent")
            time.sleep(0.2)
        if self.bus is not None:
            probe = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_probe.py")
            lines = run(SYSTEM_PYTHON, probe, "Level 2 of 2", "30", timeout=60).splitlines()
            self.assertTrue(lines and lines[1].startswith("Level 2 of 2"), lines)

        # A third level added while the game runs: the game offers the set's new version.
        self.command("ctrl+shift+a")
        wait_until(lambda: visible_windows(pid=pid, name="^Set Changed$"),
                   "the game's offer of the changed set")
        self.assertIsNone(self.editor.poll(), "the editor ended")


def main():
    global EDITOR
    parser = argparse.ArgumentParser()
    parser.add_argument("--editor", required=True)
    options, rest = parser.parse_known_args()
    EDITOR = os.path.abspath(options.editor)
    if not os.environ.get("DISPLAY"):
        sys.exit("DISPLAY is not set: run the cases through run_e2e")
    unittest.main(argv=[sys.argv[0], "-v"] + rest)


if __name__ == "__main__":
    main()
