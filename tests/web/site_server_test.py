#!/usr/bin/env python3
"""The site as a browser reaches it: lighttpd with the shipped configuration,
the static files and korvz behind it. Bad addresses go in as raw HTTP, so
bytes no browser would send reach the server too.

    site_server_test.py SITE KORVZ KORVALO_LEVEL [unittest arguments]
"""

import os
import re
import socket
import statistics
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import png_pixels  # noqa: E402
from local_site import LocalSite  # noqa: E402

SITE = KORVZ = KORVALO_LEVEL = ""
POLICY = ("default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; "
          "connect-src 'self' data:; base-uri 'none'; form-action 'none'")
FOREVER = "public, max-age=31536000, immutable"
LONG_SOLUTION = "7003366663300d4dae70cec86baf110a5e554"
NO_SOLUTION_7X7 = "76342030002556aa97fe5aa95fe55a9572555"

# name, raw query bytes, part of the reason on the 400 page
BAD_QUERIES = [
    ("no query", b"", "names no level"),
    ("empty code", b"s=", "is empty"),
    ("invalid code", b"s=9001122221100fbe5", "board size 3, 5 or 7"),
    ("two balls on one square", b"s=3000022221100fbe5", "two balls or two holes"),
    ("trailing characters", b"s=3111221000110fbe5ff", "has 19 characters"),
    ("raw script", b"s=<script>alert(1)</script>", "no place in it"),
    ("escaped script", b"s=%3Cscript%3Ealert(1)%3C%2Fscript%3E", "no place in it"),
    ("raw double quotes", b's="><img src=x>', "no place in it"),
    ("escaped quotes", b"s=%22%27", "no place in it"),
    ("escaped NUL", b"s=3111221000110fbe5%00", "control characters"),
    ("raw NUL", b"s=3111221000110fbe5\x00", "control characters"),
    ("escaped line break", b"s=3111221000110fbe5%0d%0aSet-Cookie:%20a=b", "control characters"),
    ("escaped bytes that are not UTF-8", b"s=%ff%fe", "not valid UTF-8"),
    ("raw bytes that are not UTF-8", b"s=\xff\xfe3111221000110fbe5", "not valid UTF-8"),
    # lighttpd hands a broken escape on with its percent sign escaped
    ("broken escape", b"s=%G0", "only the digits 0 to 9"),
    ("code twice", b"s=3111221000110fbe5&s=3001122221100fbe5", "given twice"),
    ("just over 1 KB", b"s=3111221000110fbe5&x=" + b"a" * 1003, "too long"),
    ("20 KB", b"s=" + b"3" * 20000, "too long"),
]
HOSTILE = [b"<script", b"<img", b'"><', b"\x00", b"\xff", b"Set-Cookie: a=b"]


def request(port, raw):
    """Sends raw HTTP and returns (status, headers as a dict of lists, body)."""
    with socket.create_connection(("127.0.0.1", port), timeout=30) as connection:
        connection.sendall(raw)
        answer = b""
        while True:
            chunk = connection.recv(65536)
            if not chunk:
                break
            answer += chunk
    head, _, body = answer.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers.setdefault(name.strip().lower(), []).append(value.strip())
    return int(lines[0].split()[1]), headers, body


def get(port, target, method=b"GET"):
    return request(port, method + b" " + target + b" HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n")


class SiteServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.site = LocalSite(SITE, KORVZ)
        cls.site.start()
        cls.port = cls.site.port

    @classmethod
    def tearDownClass(cls):
        cls.site.stop()

    def assertPolicy(self, headers):
        self.assertEqual(headers.get("content-security-policy"), [POLICY])

    def test_bad_queries_get_a_400_page_that_says_why(self):
        for name, query, reason in BAD_QUERIES:
            with self.subTest(name):
                status, headers, body = get(self.port, b"/cgi-bin/korvz?" + query)
                self.assertEqual(status, 400)
                self.assertPolicy(headers)
                self.assertEqual(headers.get("cache-control"), ["no-store"])
                self.assertIn(reason.encode(), body)
                for payload in HOSTILE:
                    self.assertNotIn(payload, body)
                self.assertLess(len(body), 2000)

    def test_level_page_is_cacheable_forever(self):
        status, headers, body = get(self.port, b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode())
        self.assertEqual(status, 200)
        self.assertPolicy(headers)
        self.assertEqual(headers.get("cache-control"), [FOREVER])
        self.assertIn(b'data-code="' + LONG_SOLUTION.encode() + b'"', body)
        self.assertIn(b"Shortest solution: 35 moves.", body)
        address = f"http://127.0.0.1/cgi-bin/korvz?s={LONG_SOLUTION}&amp;png=1".encode()
        self.assertIn(b'<meta property="og:image" content="' + address + b'">', body)

    def test_head_has_the_headers_of_get_and_no_body(self):
        target = b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode()
        _, got, body = get(self.port, target)
        status, headers, nothing = get(self.port, target, b"HEAD")
        self.assertEqual(status, 200)
        self.assertEqual(nothing, b"")
        self.assertEqual(headers.get("content-length"), [str(len(body))])
        self.assertPolicy(headers)

    def test_other_methods_are_refused(self):
        status, headers, _ = request(self.port, b"POST /cgi-bin/korvz?s=" + LONG_SOLUTION.encode() +
                                     b" HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nConnection: close\r\n\r\n")
        self.assertEqual(status, 405)
        self.assertPolicy(headers)

    def test_picture_is_the_one_korvalo_level_renders(self):
        for code in (LONG_SOLUTION, NO_SOLUTION_7X7, "3111221000110fbe5", "50022444422005eae44c9f644"):
            with self.subTest(code):
                status, headers, body = get(self.port, f"/cgi-bin/korvz?s={code}&png=1".encode())
                self.assertEqual(status, 200)
                self.assertEqual(headers.get("content-type"), ["image/png"])
                self.assertEqual(headers.get("cache-control"), [FOREVER])
                self.assertPolicy(headers)
                with tempfile.TemporaryDirectory() as folder:
                    path = os.path.join(folder, "level.png")
                    subprocess.run([KORVALO_LEVEL, "render", code, path], check=True)
                    with open(path, "rb") as rendered:
                        expected = png_pixels.decode(rendered.read())
                self.assertEqual(png_pixels.decode(body), expected)

    def test_static_files_carry_the_policy_and_the_scripts_are_cached_forever(self):
        for target, kind in ((b"/korvalo/1.0/play.js", "text/javascript"),
                             (b"/korvalo/1.0/korvalo_web.js", "text/javascript"),
                             (b"/korvalo/1.0/page.css", "text/css"),
                             (b"/korvalo/1.0/images/ball_sheet.png", "image/png")):
            with self.subTest(target):
                status, headers, _ = get(self.port, target)
                self.assertEqual(status, 200)
                self.assertTrue(headers["content-type"][0].startswith(kind))
                self.assertPolicy(headers)
                self.assertEqual(headers.get("cache-control"), [FOREVER])
        status, headers, _ = get(self.port, b"/nothing-here")
        self.assertEqual(status, 404)
        self.assertPolicy(headers)
        status, headers, _ = get(self.port, b"/cgi-bin/anything-else")
        self.assertEqual(status, 404)
        self.assertPolicy(headers)

    def test_home_page_and_makers_site_answer(self):
        status, headers, _ = get(self.port, b"/eng")
        self.assertEqual(status, 301)
        self.assertEqual(headers.get("location"), ["/eng/"])
        for target, text in ((b"/eng/", b"<title>Vandrel</title>"),
                             (b"/eng/pc/korvalo_editor.html", b"<title>Korvalo Level Editor</title>"),
                             (b"/eng/pc/editor.png", b"\x89PNG"), (b"/eng/pc/game.png", b"\x89PNG")):
            with self.subTest(target):
                status, headers, body = get(self.port, target)
                self.assertEqual(status, 200)
                self.assertPolicy(headers)
                self.assertIn(text, body)
        # Every page of the site links only to what the site holds.
        for page in (b"/eng/", b"/eng/pc/korvalo_editor.html"):
            _, _, body = get(self.port, page)
            for link in re.findall(rb'(?:href|src)="(/[^"]*)"', body):
                with self.subTest(page=page, link=link):
                    self.assertIn(get(self.port, link.replace(b"&amp;", b"&"))[0], (200, 301))

    def test_server_time_for_a_valid_code(self):
        """Measures, and reports, the time from request to answer; speed is
        measured by bench/korvz_bench, not checked here."""
        times = {}
        for code in (LONG_SOLUTION, NO_SOLUTION_7X7):
            for suffix in (b"", b"&png=1"):
                samples = []
                for _ in range(15):
                    start = time.perf_counter()
                    status, _, _ = get(self.port, b"/cgi-bin/korvz?s=" + code.encode() + suffix)
                    samples.append((time.perf_counter() - start) * 1000)
                    self.assertEqual(status, 200)
                times[code[:8] + suffix.decode()] = statistics.median(samples)
        print("\nmedian time per answer through lighttpd and korvz: " +
              ", ".join(f"{name} {ms:.1f} ms" for name, ms in times.items()), file=sys.stderr)


if __name__ == "__main__":
    SITE, KORVZ, KORVALO_LEVEL = sys.argv[1:4]
    unittest.main(argv=[sys.argv[0]] + sys.argv[4:], verbosity=2)
