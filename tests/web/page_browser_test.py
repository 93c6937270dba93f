#!/usr/bin/env python3
"""The level page in headless Chromium, served by lighttpd and korvz: the
board shows the pixels the page's module draws (the editor's picture with the
colours' shapes on the pieces, which play_session_test holds to the editor's
own drawing), and the level plays with the keys, clicks, swipes and buttons as
the desktop game plays. The page and its embed code are checked at desktop
and phone sizes; KORVALO_SCREENSHOTS names a folder for their screenshots.

    page_browser_test.py SITE KORVZ LIGHTTPD_CONFIG KORVALO_LEVEL MODULE_BOARD_PICTURE [unittest arguments]

Runs Debian's chromium through chromium-driver and python3-selenium.
"""

import base64
import functools
import http.server
import json
import os
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.common.exceptions import StaleElementReferenceException
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import png_pixels  # noqa: E402
from local_site import OWN_ADDRESS, LocalSite  # noqa: E402

SITE = KORVZ = CONFIG = KORVALO_LEVEL = MODULE_BOARD_PICTURE = ""
WAIT = 60.0  # seconds the page may take to become playable on a loaded machine

TWO_MOVES = "3111221000110fbe5"  # north, then west
EIGHTEEN_MOVES = "50022444422005eae44c9f644"
THIRTY_FIVE_MOVES = "7003366663300d4dae70cec86baf110a5e554"
NO_SOLUTION = "76342030002556aa97fe5aa95fe55a9572555"
ARROWS = {"N": Keys.ARROW_UP, "S": Keys.ARROW_DOWN, "W": Keys.ARROW_LEFT, "E": Keys.ARROW_RIGHT}
# name, width and height in CSS pixels, whether a touch screen
SCREENS = [("desktop", 1000, 1200, False), ("phone", 390, 844, True), ("small phone", 320, 640, True)]


def luminance(colour):
    """The relative luminance of a CSS rgb() or rgba() colour."""
    channels = [int(part) / 255 for part in colour[colour.index("(") + 1:].rstrip(")").split(",")[:3]]
    linear = [c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4 for c in channels]
    return 0.2126 * linear[0] + 0.7152 * linear[1] + 0.0722 * linear[2]


def contrast(first, second):
    lighter, darker = sorted((luminance(first), luminance(second)), reverse=True)
    return (lighter + 0.05) / (darker + 0.05)


def korvalo_level(*arguments):
    return subprocess.run([KORVALO_LEVEL, *arguments], capture_output=True, text=True, check=True).stdout


def solution_of(code):
    """The moves `korvalo-level solve` gives for the level."""
    fields = korvalo_level("solve", code).rstrip("\n").split("\t")
    return "" if fields[3] == "-" else fields[3]


def module_board(code):
    """The board area the page's module draws for the level, drawn natively."""
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "level.png")
        subprocess.run([MODULE_BOARD_PICTURE, code, path], check=True)
        with open(path, "rb") as file:
            _, _, rows = png_pixels.decode(file.read())
    return rows


class OtherSite:
    """A page of another site (another origin: its own port) that holds the embed block."""

    def __init__(self, page):
        self.folder = tempfile.TemporaryDirectory()
        with open(os.path.join(self.folder.name, "index.html"), "w", encoding="utf-8") as file:
            file.write(page)
        handler = functools.partial(http.server.SimpleHTTPRequestHandler, directory=self.folder.name)
        handler.log_message = lambda *arguments: None
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    @property
    def address(self):
        return f"http://127.0.0.1:{self.server.server_address[1]}/"

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.server.shutdown()
        self.server.server_close()
        self.folder.cleanup()


def start_chromium():
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage",
                     "--force-device-scale-factor=1", "--window-size=1000,1200",
                     "--user-data-dir=" + tempfile.mkdtemp(prefix="korvalo-chromium-")):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class LevelPageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.site = LocalSite(SITE, KORVZ, CONFIG, public_address=OWN_ADDRESS)
        cls.site.start()
        try:
            cls.driver = start_chromium()
        except Exception:
            cls.site.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.site.stop()

    # --- the page ---------------------------------------------------------------

    def open_level(self, code, suffix=""):
        self.errors_in_console()  # forget what earlier pages said
        self.driver.get(f"{self.site.address}/cgi-bin/korvz?s={code}{suffix}")
        limit = time.monotonic() + WAIT
        while time.monotonic() < limit:
            ready = self.driver.execute_script("return document.body.dataset.ready || ''")
            if ready == "yes":
                return
            self.assertNotEqual(ready, "failed", self.driver.find_element(By.ID, "failure").text)
            time.sleep(0.05)
        self.fail(f"the page of {code} did not become playable within {WAIT} s")

    def status(self):
        return self.driver.find_element(By.ID, "status").text.split("\n")

    def moves(self):
        return int(self.driver.execute_script("return document.body.dataset.moves"))

    def canvas_pixels(self):
        """The canvas's own pixels, as the page put them there."""
        address = self.driver.execute_script("return document.getElementById('board').toDataURL('image/png')")
        _, _, rows = png_pixels.decode(base64.b64decode(address.split(",", 1)[1]))
        return rows

    def shown_pixels(self):
        """The canvas as it stands on the screen."""
        _, _, rows = png_pixels.decode(self.driver.find_element(By.ID, "board").screenshot_as_png)
        return rows

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def focused(self):
        return self.driver.execute_script("return document.activeElement.id || document.activeElement.tagName")

    def errors_in_console(self, expected_status=None):
        """Severe messages of the browser since the last call: failed loads,
        policy violations, script errors."""
        messages = [entry["message"] for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
        if expected_status:
            loaded = f"the server responded with a status of {expected_status}"
            messages = [message for message in messages if loaded not in message or "/cgi-bin/korvz?" not in message]
        return messages

    def assertSolvedIn(self, moves):
        self.assertEqual(self.status()[:2], [f"Moves: {moves}", f"Solved in {moves} move" + ("s" if moves != 1 else "")])

    # --- the cases --------------------------------------------------------------

    def test_board_shows_the_pixels_the_module_draws(self):
        for code in (TWO_MOVES, EIGHTEEN_MOVES, THIRTY_FIVE_MOVES, NO_SOLUTION):
            with self.subTest(code):
                self.open_level(code)
                expected = module_board(code)
                self.assertEqual(self.canvas_pixels(), expected)
                self.assertEqual(self.shown_pixels(), expected)
                self.assertEqual(self.errors_in_console(), [])

    def test_arrow_keys_along_the_solution_end_in_solved_and_undo_takes_back(self):
        for code in (EIGHTEEN_MOVES, THIRTY_FIVE_MOVES):
            with self.subTest(code):
                solution = solution_of(code)
                self.assertTrue(solution)
                self.open_level(code)
                self.assertEqual(self.status(), ["Moves: 0", f"Shortest solution from here: {len(solution)} moves"])
                self.keys(*[ARROWS[letter] for letter in solution[:-1]])
                before_last = self.canvas_pixels()
                self.keys(ARROWS[solution[-1]])
                self.assertSolvedIn(len(solution))
                self.assertEqual(self.status()[2], f"Shortest possible: {len(solution)} moves")
                self.assertNotEqual(self.canvas_pixels(), before_last)

                self.keys(Keys.BACKSPACE)
                self.assertEqual(self.status(), [f"Moves: {len(solution) - 1}", "Shortest solution from here: 1 move"])
                self.assertEqual(self.canvas_pixels(), before_last)
                self.assertEqual(self.errors_in_console(), [])

    def test_every_way_of_undoing_and_restarting(self):
        self.open_level(EIGHTEEN_MOVES)
        start = self.canvas_pixels()
        ways = (("Backspace", lambda: self.keys(Keys.BACKSPACE)),
                ("Ctrl+Z", lambda: ActionChains(self.driver).key_down(Keys.CONTROL).send_keys("z")
                 .key_up(Keys.CONTROL).perform()),
                ("the Undo button", lambda: self.driver.find_element(By.ID, "undo").click()))
        for name, undo in ways:
            with self.subTest(name):
                self.keys(Keys.ARROW_RIGHT)
                self.assertEqual(self.moves(), 1)
                undo()
                self.assertEqual(self.moves(), 0)
                self.assertEqual(self.canvas_pixels(), start)
        for name, restart in (("R", lambda: self.keys("r")),
                              ("the Restart button", lambda: self.driver.find_element(By.ID, "restart").click())):
            with self.subTest(name):
                self.keys(Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ARROW_DOWN)
                self.assertEqual(self.moves(), 3)
                restart()
                self.assertEqual(self.moves(), 0)
                self.assertEqual(self.canvas_pixels(), start)

    def test_hint_names_the_next_move_of_the_shortest_solution(self):
        self.open_level(TWO_MOVES)
        for hint in (lambda: self.keys("h"), lambda: self.driver.find_element(By.ID, "hint").click()):
            hint()
            self.assertEqual(self.status()[2], "Hint: North")
            self.keys(Keys.ARROW_UP)
            self.assertEqual(self.status(), ["Moves: 1", "Shortest solution from here: 1 move"])
            self.keys("r")

    def click_near_edge(self, letter):
        canvas = self.driver.find_element(By.ID, "board")
        width, height = canvas.size["width"], canvas.size["height"]
        offsets = {"N": (0, -height // 2 + 6), "S": (0, height // 2 - 6),
                   "W": (-width // 2 + 6, 0), "E": (width // 2 - 6, 0)}
        ActionChains(self.driver).move_to_element_with_offset(canvas, *offsets[letter]).click().perform()

    def swipe(self, letter):
        box = self.driver.execute_script(
            "const b = document.getElementById('board').getBoundingClientRect();"
            "return [b.left + b.width / 2, b.top + b.height / 2];")
        x, y = box
        dx, dy = {"N": (0, -60), "S": (0, 60), "W": (-60, 0), "E": (60, 0)}[letter]
        for kind, points in (("touchStart", [{"x": x, "y": y}]),
                             ("touchMove", [{"x": x + dx / 2, "y": y + dy / 2}]),
                             ("touchMove", [{"x": x + dx, "y": y + dy}]),
                             ("touchEnd", [])):
            self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

    def test_the_level_plays_with_every_kind_of_input(self):
        letters = {"N": "w", "S": "s", "W": "a", "E": "d"}
        inputs = (
            ("W A S D", lambda letter: self.keys(letters[letter])),
            ("capital W A S D", lambda letter: self.keys(letters[letter].upper())),
            ("clicks near the edges", self.click_near_edge),
            ("swipes", self.swipe),
            ("the tilt buttons", lambda letter: self.driver.find_element(
                By.CSS_SELECTOR, f".tilt[data-direction='{letter}']").click()),
        )
        self.open_level(TWO_MOVES)
        for name, tilt in inputs:
            with self.subTest(name):
                self.keys("r")
                tilt("N")
                self.assertEqual(self.moves(), 1)
                tilt("W")
                self.assertSolvedIn(2)
        self.assertEqual(self.errors_in_console(), [])

    def test_keys_act_only_while_the_board_has_focus(self):
        self.open_level(TWO_MOVES)
        self.assertEqual(self.focused(), "board")  # the page opens with the board in focus
        keys = (Keys.ARROW_UP, "w", "h", "r", Keys.BACKSPACE)
        for name, focus in (("the page", "document.activeElement.blur()"),
                            ("the Restart button", "document.getElementById('restart').focus()"),
                            ("the footer's link", "document.querySelector('footer a').focus()")):
            with self.subTest(name):
                self.driver.execute_script(focus)
                self.keys(*keys)
                self.assertEqual(self.moves(), 0)
                self.assertEqual(self.status(), ["Moves: 0", "Shortest solution from here: 2 moves"])
        # A tilt button belongs to the board; a click on Undo gives the focus back to it.
        self.driver.execute_script("document.querySelector('.tilt.east').focus()")
        self.keys(Keys.ARROW_UP)
        self.assertEqual(self.moves(), 1)
        self.driver.find_element(By.ID, "undo").click()
        self.assertEqual((self.moves(), self.focused()), (0, "board"))
        self.keys(Keys.ARROW_UP)
        self.assertEqual(self.moves(), 1)

    def test_keys_typed_into_the_code_field_stay_there(self):
        self.open_level(TWO_MOVES)
        field = self.driver.find_element(By.ID, "code")
        field.click()
        field.send_keys(Keys.ARROW_LEFT, "w", Keys.BACKSPACE)
        self.assertEqual(self.moves(), 0)
        self.assertEqual(field.get_attribute("value"), TWO_MOVES)

    def test_code_shortest_length_and_embed_block(self):
        self.open_level(EIGHTEEN_MOVES)
        self.assertEqual(self.driver.find_element(By.ID, "code").get_attribute("value"), EIGHTEEN_MOVES)
        self.assertEqual(self.driver.find_element(By.ID, "shortest").text, "Shortest solution: 18 moves.")
        field = self.driver.find_element(By.ID, "embed-code")
        embed = field.get_attribute("value")
        frame_address = f"{self.site.address}/cgi-bin/korvz?s={EIGHTEEN_MOVES}&amp;embed=1"
        self.assertTrue(embed.startswith(f'<iframe src="{frame_address}"'), embed)
        self.assertEqual(field.accessible_name, "This HTML puts the level, playable, on another page:")

    def test_embedded_level_plays_inside_a_frame_of_another_page(self):
        self.open_level(TWO_MOVES)
        embed = self.driver.find_element(By.ID, "embed-code").get_attribute("value")
        with OtherSite('<!DOCTYPE html><title>Another site</title><link rel="icon" href="data:,">'
                       "<h1>My levels</h1>" + embed) as other:
            self.driver.get(other.address)
            self.driver.switch_to.frame(self.driver.find_element(By.TAG_NAME, "iframe"))
            try:
                limit = time.monotonic() + WAIT
                while self.driver.execute_script("return document.body && document.body.dataset.ready || ''") != "yes":
                    self.assertLess(time.monotonic(), limit, "the embedded page did not become playable")
                    time.sleep(0.05)
                self.driver.find_element(By.ID, "board").click()  # the frame takes the keys once clicked
                self.keys("r", Keys.ARROW_UP, Keys.ARROW_LEFT)
                self.assertSolvedIn(2)
                self.assertEqual(self.canvas_pixels(), module_board("3000110000110fbe5"))  # every ball on its hole
            finally:
                self.driver.switch_to.default_content()
        self.assertEqual(self.errors_in_console(), [])

    def test_the_click_that_focuses_the_embedded_board_does_not_tilt_it(self):
        self.open_level(TWO_MOVES)
        embed = self.driver.find_element(By.ID, "embed-code").get_attribute("value")
        with OtherSite('<!DOCTYPE html><title>Another site</title><link rel="icon" href="data:,">'
                       "<h1>My levels</h1>" + embed) as other:
            self.driver.get(other.address)
            self.driver.switch_to.frame(self.driver.find_element(By.TAG_NAME, "iframe"))
            try:
                limit = time.monotonic() + WAIT
                while self.driver.execute_script("return document.body && document.body.dataset.ready || ''") != "yes":
                    self.assertLess(time.monotonic(), limit, "the embedded page did not become playable")
                    time.sleep(0.05)
                board = self.driver.find_element(By.ID, "board")
                near_north_edge = -(board.size["height"] // 2 - 4)
                # The first click gives the frame the focus; the second tilts.
                for moves in (0, 1):
                    ActionChains(self.driver).move_to_element_with_offset(board, 0, near_north_edge).click().perform()
                    self.assertEqual(self.moves(), moves)
            finally:
                self.driver.switch_to.default_content()
        self.assertEqual(self.errors_in_console(), [])

    # --- screens ----------------------------------------------------------------

    def emulate(self, width, height, touch):
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                    {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": touch})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": touch, "maxTouchPoints": 5})

    def end_emulation(self):
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": False})
        self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})

    def screenshot(self, name):
        folder = os.environ.get("KORVALO_SCREENSHOTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            self.driver.save_screenshot(os.path.join(folder, name.replace(" ", "_") + ".png"))

    def test_the_page_fits_every_screen_and_its_tilt_buttons_are_readable(self):
        try:
            for name, width, height, touch in SCREENS:
                with self.subTest(name):
                    self.emulate(width, height, touch)
                    self.open_level(THIRTY_FIVE_MOVES)
                    self.screenshot("page " + name)
                    self.assertLessEqual(self.driver.execute_script(
                        "return document.documentElement.scrollWidth"), width)
                    for button in self.driver.find_elements(By.CSS_SELECTOR, ".tilt"):
                        ink, ground = self.driver.execute_script(
                            "return [getComputedStyle(arguments[0]).color,"
                            " getComputedStyle(arguments[0].parentElement).backgroundColor]", button)
                        self.assertGreaterEqual(contrast(ink, ground), 4.5)
                        if touch:
                            self.assertGreaterEqual(button.size["width"], 44)
                            self.assertGreaterEqual(button.size["height"], 44)
                    self.keys(Keys.ARROW_RIGHT)  # plays on a phone too
                    self.assertEqual(self.moves(), 1)
        finally:
            self.end_emulation()

    def test_the_embedded_level_fits_the_page_and_its_frame_fits_the_level(self):
        self.open_level(THIRTY_FIVE_MOVES)
        embed = self.driver.find_element(By.ID, "embed-code").get_attribute("value")
        page = ('<!DOCTYPE html><meta name="viewport" content="width=device-width, initial-scale=1">'
                '<title>Another site</title><link rel="icon" href="data:,"><h1>My levels</h1>' + embed)
        try:
            with OtherSite(page) as other:
                for name, width, height, touch in SCREENS:
                    with self.subTest(name):
                        self.emulate(width, height, touch)
                        self.driver.get(other.address)
                        frame = self.driver.find_element(By.TAG_NAME, "iframe")
                        self.assertLessEqual(self.driver.execute_script(
                            "return document.documentElement.scrollWidth"), width)
                        self.assertLessEqual(frame.rect["x"] + frame.rect["width"], width)
                        if not touch:  # at its own size
                            self.assertEqual((frame.size["width"], frame.size["height"]),
                                             (int(frame.get_attribute("width")), int(frame.get_attribute("height"))))
                        self.driver.switch_to.frame(frame)
                        try:
                            limit = time.monotonic() + WAIT
                            while self.driver.execute_script("return document.body.dataset.ready || ''") != "yes":
                                self.assertLess(time.monotonic(), limit, "the embedded page did not become playable")
                                time.sleep(0.05)
                            # The content fills the frame: nothing beyond it, no band below it.
                            inner, scroll, bottom = self.driver.execute_script(
                                "const e = document.documentElement;"
                                "return [[innerWidth, innerHeight], [e.scrollWidth, e.scrollHeight],"
                                " document.querySelector('.source').getBoundingClientRect().bottom"
                                " + parseFloat(getComputedStyle(document.body).paddingBottom)];")
                            self.assertEqual(scroll, inner)
                            self.assertAlmostEqual(bottom, inner[1], delta=1)
                            if not touch:  # the board at its own pixels
                                self.assertEqual(self.shown_pixels(), module_board(THIRTY_FIVE_MOVES))
                            self.driver.find_element(By.CSS_SELECTOR, ".tilt.east").click()
                            self.assertEqual(self.moves(), 1)
                        finally:
                            self.driver.switch_to.default_content()
                        self.screenshot("embed " + name)
        finally:
            self.end_emulation()

    def test_bad_address_shows_why_without_errors(self):
        self.driver.get(f"{self.site.address}/cgi-bin/korvz?s=%3Cscript%3Ealert(1)%3C/script%3E")
        self.assertIn("no place in it", self.driver.find_element(By.ID, "reason").text)
        self.assertEqual(self.errors_in_console(expected_status=400), [])


def post_json(address, path, body):
    request = urllib.request.Request(address + path, data=json.dumps(body).encode(), method="POST",
                                     headers={"Content-Type": "application/json"})
    with urllib.request.urlopen(request, timeout=30) as answer:
        return json.loads(answer.read())


class PublishedPagesTest(unittest.TestCase):
    """The gallery, a published level's entry and a set's page in the browser:
    the set plays its levels in order and keeps the levels solved in the
    browser, a visitor reports a level, and every page fits a small phone."""

    @classmethod
    def setUpClass(cls):
        cls.site = LocalSite(SITE, KORVZ, CONFIG)
        cls.site.start()
        try:
            cls.set = post_json(cls.site.address, "/api/sets", {
                "title": "Three steps", "author": "A. Designer",
                "levels": [{"code": TWO_MOVES, "title": "Warm-up"}, {"code": EIGHTEEN_MOVES},
                           {"code": THIRTY_FIVE_MOVES, "title": "The long one"}]})
            cls.driver = start_chromium()
        except Exception:
            cls.site.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.site.stop()

    def open_set(self):
        self.driver.get(f"{self.site.address}/sets/{self.set['id']}")
        limit = time.monotonic() + WAIT
        while self.driver.execute_script("return document.body.dataset.ready || ''") != "yes":
            self.assertLess(time.monotonic(), limit, "the set page did not become playable")
            time.sleep(0.05)

    def progress(self):
        return self.driver.find_element(By.ID, "set-progress").text

    def test_a_set_plays_in_order_and_remembers_what_is_solved(self):
        self.open_set()
        self.driver.execute_script("localStorage.clear()")
        self.open_set()
        self.assertEqual(self.progress(), "Level 1 of 3: Warm-up (0 solved)")
        self.assertFalse(self.driver.find_element(By.ID, "set-next").get_attribute("hidden"))
        self.assertTrue(self.driver.find_element(By.ID, "set-previous").get_attribute("hidden"))
        first = self.driver.execute_script("return document.body.dataset.code")
        self.driver.find_element(By.ID, "board").click()  # the focus, and perhaps a tilt
        self.driver.find_element(By.ID, "restart").click()
        ActionChains(self.driver).send_keys(*[ARROWS[letter] for letter in solution_of(first)]).perform()
        self.assertEqual(self.progress(), "Level 1 of 3: Warm-up (1 solved)")
        self.assertEqual(self.driver.find_element(By.CSS_SELECTOR, ".set-levels li .set-solved").text, "solved")

        self.driver.find_element(By.ID, "set-next").click()
        self.assertEqual(self.progress(), "Level 2 of 3: Level 2 (1 solved)")
        self.assertEqual(self.driver.find_element(By.ID, "board").get_attribute("width"),
                         str(len(module_board(EIGHTEEN_MOVES)[0])))
        # Back again later: the set opens at its first level not solved.
        self.open_set()
        self.assertEqual(self.progress(), "Level 2 of 3: Level 2 (1 solved)")
        self.assertEqual(self.driver.execute_script("return document.body.dataset.code"),
                         self.driver.execute_script("return document.body.dataset.codes.split(' ')[1]"))

    def attempts_of(self, session, count):
        """The session's attempts in the site's database, once there are `count` of them."""
        limit = time.monotonic() + WAIT
        while True:
            with sqlite3.connect(self.site.database_path()) as database:
                rows = database.execute(
                    "SELECT level, solved, moves, undos, restarts, seconds, version FROM attempts"
                    " WHERE session = ? ORDER BY solved DESC", (session,)).fetchall()
            if len(rows) >= count:
                return rows
            self.assertLess(time.monotonic(), limit, f"{len(rows)} of {count} attempts arrived")
            time.sleep(0.1)

    def test_attempts_solved_and_given_up_are_recorded_under_the_browsers_session(self):
        self.open_set()
        self.driver.execute_script("localStorage.clear()")
        self.open_set()
        first = self.driver.execute_script("return document.body.dataset.code")
        solution = solution_of(first)
        self.driver.find_element(By.ID, "board").click()  # the focus, and perhaps a tilt
        self.driver.find_element(By.ID, "restart").click()
        # A wrong move taken back, then the solution.
        wrong = next(letter for letter in "NSWE" if letter != solution[0])
        ActionChains(self.driver).send_keys(ARROWS[wrong], Keys.BACKSPACE,
                                            *[ARROWS[letter] for letter in solution]).perform()
        self.driver.find_element(By.ID, "set-next").click()
        second = self.driver.execute_script("return document.body.dataset.code")
        self.driver.execute_script("document.getElementById('board').focus()")
        ActionChains(self.driver).send_keys(ARROWS[solution_of(second)[0]]).perform()
        # Made when the first record was sent.
        session = self.driver.execute_script("return localStorage.getItem('korvalo-session')")
        self.driver.get("about:blank")  # leaving the page gives the second level up

        self.assertRegex(session or "", "^[0-9a-f]{32}$")
        solved, given_up = self.attempts_of(session, 2)
        level, was_solved, moves, undos, _, seconds, version = solved
        self.assertEqual((level, was_solved, moves), (first, 1, solution))
        self.assertIn(undos, (0, 1))  # the wrong move may have moved no ball
        self.assertGreaterEqual(seconds, 0)
        self.assertTrue(version)
        self.assertEqual(given_up[:3], (second, 0, solution_of(second)[0]))

    def test_a_visitor_reports_a_level(self):
        code = post_json(self.site.address, "/api/levels", {"code": TWO_MOVES, "title": "x"})["code"]
        self.driver.get(f"{self.site.address}/levels/{code}")
        self.driver.find_element(By.ID, "report-reason").send_keys("A copy of my level")
        self.driver.find_element(By.ID, "report-send").click()
        limit = time.monotonic() + WAIT
        while "Thank you" not in self.driver.find_element(By.ID, "report-outcome").text:
            self.assertLess(time.monotonic(), limit, "the report was not sent")
            time.sleep(0.05)
        reports = subprocess.run([KORVZ, "--admin", "reports"], capture_output=True, text=True, check=True,
                                 env=dict(os.environ, KORVALO_DATABASE=self.site.database_path())).stdout
        self.assertIn(code + "\tA copy of my level", reports)

    def test_a_visitor_likes_a_level_once(self):
        code = post_json(self.site.address, "/api/levels", {"code": EIGHTEEN_MOVES, "title": "x"})["code"]
        self.driver.get(f"{self.site.address}/levels/{code}")
        for expected in ("Thank you.", "already"):
            self.driver.find_element(By.ID, "like").click()
            limit = time.monotonic() + WAIT
            while expected not in self.driver.find_element(By.ID, "vote-outcome").text:
                self.assertLess(time.monotonic(), limit, "no answer to the vote")
                time.sleep(0.05)
        with sqlite3.connect(self.site.database_path()) as database:
            self.assertEqual(database.execute("SELECT COUNT(*) FROM votes WHERE code = ?", (code,)).fetchone()[0], 1)

    def test_every_page_fits_a_small_phone_and_its_text_is_readable(self):
        pages = ["/gallery", "/gallery?order=longest", "/gallery?order=sets", f"/sets/{self.set['id']}",
                 f"/levels/{post_json(self.site.address, '/api/levels', {'code': THIRTY_FIVE_MOVES, 'title': 'x'})['code']}"]
        self.driver.get_log("browser")
        try:
            self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                        {"width": 320, "height": 640, "deviceScaleFactor": 1, "mobile": True})
            for page in pages:
                with self.subTest(page):
                    self.driver.get(self.site.address + page)
                    self.assertLessEqual(self.driver.execute_script("return document.documentElement.scrollWidth"), 320)
                    # Every link has a name: its text, or its picture's description.
                    nameless = self.driver.execute_script(
                        "return Array.from(document.links).filter(a => !a.textContent.trim() &&"
                        " !Array.from(a.querySelectorAll('img')).some(i => i.alt.trim())).length")
                    self.assertEqual(nameless, 0)
                    for attempt in range(3):
                        try:
                            for element in self.driver.find_elements(By.CSS_SELECTOR, "h1, p, a, .entry-facts, li"):
                                if not element.is_displayed() or not element.text:
                                    continue
                                ink, ground = self.driver.execute_script(
                                    "let e = arguments[0], ground = 'rgba(0, 0, 0, 0)';"
                                    "for (let p = e; p && ground === 'rgba(0, 0, 0, 0)'; p = p.parentElement)"
                                    "  ground = getComputedStyle(p).backgroundColor;"
                                    "return [getComputedStyle(e).color, ground === 'rgba(0, 0, 0, 0)' ? 'rgb(255, 255, 255)' : ground];",
                                    element)
                                self.assertGreaterEqual(contrast(ink, ground), 4.5, element.text)
                            break
                        except StaleElementReferenceException:
                            # The page's script replaced an element while it was looked at
                            # (the player's status lines, once its module has loaded): look again.
                            if attempt == 2:
                                raise
                            time.sleep(0.5)
            severe = [entry["message"] for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
            self.assertEqual(severe, [])
        finally:
            self.driver.execute_cdp_cmd("Emulation.clearDeviceMetricsOverride", {})


if __name__ == "__main__":
    SITE, KORVZ, CONFIG, KORVALO_LEVEL, MODULE_BOARD_PICTURE = sys.argv[1:6]
    unittest.main(argv=[sys.argv[0]] + sys.argv[6:], verbosity=2)
