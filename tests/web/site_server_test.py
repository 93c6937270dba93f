#!/usr/bin/env python3
"""The site as a browser reaches it: lighttpd with the site's configuration,
the static files and a pool of korvz workers behind it. Requests go in as raw
HTTP, so bytes and headers no browser would send reach the server too.

    site_server_test.py SITE KORVZ LIGHTTPD_CONFIG KORVALO_LEVEL [unittest arguments]
"""

import json
import os
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import png_pixels  # noqa: E402
from local_site import LocalSite  # noqa: E402
from postgres_cluster import PostgresCluster  # noqa: E402

SITE = KORVZ = CONFIG = KORVALO_LEVEL = ""
HERE = os.path.dirname(os.path.abspath(__file__))
PUBLIC_ADDRESS = "https://levels.example.org"
FOREVER = "public, max-age=31536000, immutable"
REVALIDATED = "public, no-cache"  # a page names its version's scripts: caches ask again


def caching_of(target):
    return FOREVER if b"&png=1" in target else REVALIDATED
LONG_SOLUTION = "7003366663300d4dae70cec86baf110a5e554"
NO_SOLUTION_7X7 = "76342030002556aa97fe5aa95fe55a9572555"

# name, raw query bytes, part of the reason on the 400 page (None: lighttpd's
# own 400, which gives none)
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
    ("escaped NUL", b"s=3111221000110fbe5%00", None),
    ("raw NUL", b"s=3111221000110fbe5\x00", None),
    ("raw line break", b"s=3111221000110fbe5\x0bx", None),
    ("escaped line break", b"s=3111221000110fbe5%0d%0aSet-Cookie:%20a=b", None),
    ("escaped bytes that are not UTF-8", b"s=%ff%fe", "not valid UTF-8"),
    ("raw bytes that are not UTF-8", b"s=\xff\xfe3111221000110fbe5", "not valid UTF-8"),
    ("broken escape", b"s=%G0", "broken %-escape"),
    ("code twice", b"s=3111221000110fbe5&s=3001122221100fbe5", "given twice"),
    ("just over 1 KB", b"s=3111221000110fbe5&x=" + b"a" * 1003, "too long"),
    ("20 KB", b"s=" + b"3" * 20000, "too long"),
]
HOSTILE = [b"<script", b"<img", b'"><', b"\x00", b"\xff", b"Set-Cookie: a=b"]


def site_headers():
    """The headers every answer carries, as server/site_headers.txt gives them."""
    fields = {}
    with open(os.path.join(HERE, "..", "..", "server", "site_headers.txt"), encoding="utf-8") as listing:
        for line in listing:
            match = re.match(r"^([A-Za-z-]+): (.+)$", line.rstrip("\n"))
            if match:
                fields[match.group(1).lower()] = match.group(2)
    return fields


SITE_HEADERS = site_headers()


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


def get(port, target, method=b"GET", headers=b"Host: 127.0.0.1\r\n"):
    return request(port, method + b" " + target + b" HTTP/1.1\r\n" + headers + b"Connection: close\r\n\r\n")


def many_headers(count):
    return b"Host: x\r\n" + b"".join(b"X-Field-%d: value\r\n" % i for i in range(count))


# name, raw request, the status lighttpd or korvz answers. Each answer carries
# the site's headers, whoever made it.
ODD_REQUESTS = [
    ("a bad Host", b"GET / HTTP/1.1\r\nHost: bad host\r\nConnection: close\r\n\r\n", 400),
    ("HTTP/0.9", b"GET /\r\n\r\n", 400),
    ("no such file", b"GET /nothing-here HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 404),
    ("POST to the program", b"POST /cgi-bin/korvz?s=3111221000110fbe5 HTTP/1.1\r\nHost: x\r\n"
     b"Content-Length: 0\r\nConnection: close\r\n\r\n", 405),
    ("POST with a body to the program", b"POST /cgi-bin/korvz?s=3111221000110fbe5 HTTP/1.1\r\nHost: x\r\n"
     b"Content-Length: 10000\r\nConnection: close\r\n\r\n" + b"a" * 10000, 405),
    ("POST without a length", b"POST /eng/ HTTP/1.0\r\nHost: x\r\n\r\n", 411),
    ("a large body", b"POST /cgi-bin/korvz HTTP/1.1\r\nHost: x\r\nContent-Length: 100000\r\n"
     b"Connection: close\r\n\r\n" + b"a" * 100000, 413),
    ("a header of 40 KB", b"GET / HTTP/1.1\r\nHost: x\r\nX-Big: " + b"a" * 40000 +
     b"\r\nConnection: close\r\n\r\n", 431),
    ("a query of 70 KB", b"GET /cgi-bin/korvz?s=" + b"3" * 70000 +
     b" HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 431),
    ("headers of 40 KB together", b"GET /cgi-bin/korvz?s=3111221000110fbe5 HTTP/1.1\r\n" +
     many_headers(2000) + b"Connection: close\r\n\r\n", 431),
    # Nothing of them is read: within the size limit, any number is answered.
    ("1,005 headers", b"GET /cgi-bin/korvz?s=3111221000110fbe5 HTTP/1.1\r\n" + many_headers(1005) +
     b"Connection: close\r\n\r\n", 200),
    ("an unknown method", b"BREW / HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 501),
    ("an unknown transfer coding", b"GET / HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: gzip\r\n"
     b"Connection: close\r\n\r\n", 501),
    ("an unknown version", b"GET / HTTP/3.7\r\nHost: x\r\n\r\n", 505),
    # Under the asset folder, whose files are kept forever, an error is not.
    ("a file missing from the asset folder", b"GET /korvalo/1.0/nothing.js HTTP/1.1\r\nHost: x\r\n"
     b"Connection: close\r\n\r\n", 404),
    ("an earlier asset folder", b"GET /korvalo/0.9/play.js HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n", 404),
    ("a range past the end", b"GET /korvalo/1.0/play.js HTTP/1.1\r\nHost: x\r\nRange: bytes=99999999-\r\n"
     b"Connection: close\r\n\r\n", 200),
    ("POST to a static file", b"POST /korvalo/1.0/play.js HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n"
     b"Connection: close\r\n\r\nab", 405),
    ("PUT to a page", b"PUT /eng/ HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", 405),
    ("a path after a file", b"GET /korvalo/1.0/play.js/more HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n",
     403),
    ("both Content-Length and Transfer-Encoding", b"POST /eng/ HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n"
     b"Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n0\r\n\r\n", 400),
]


def zombie(pid):
    """Whether the process has ended and only waits for its parent to collect it."""
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] == "Z"
    except OSError:
        return False


class SiteHeaderChecks(unittest.TestCase):
    def assertPolicy(self, headers):
        for name, value in SITE_HEADERS.items():
            self.assertEqual(headers.get(name), [value], name)


class SiteServerTest(SiteHeaderChecks):
    @classmethod
    def setUpClass(cls):
        # Without published levels, the level pages are the same forever (see
        # StoreSiteTest for the pages of a site with them).
        cls.site = LocalSite(SITE, KORVZ, CONFIG, public_address=PUBLIC_ADDRESS + "/", database="")
        cls.site.start()
        cls.port = cls.site.port

    @classmethod
    def tearDownClass(cls):
        cls.site.stop()

    def test_every_answer_carries_the_site_headers(self):
        for name, raw, status in ODD_REQUESTS:
            with self.subTest(name):
                got, headers, _ = request(self.port, raw)
                self.assertEqual(got, status)
                self.assertPolicy(headers)
                if status >= 400:  # no cache keeps an error
                    self.assertEqual(headers.get("cache-control"), ["no-store"])
        self.assertNotIn("Bad address", self.site.messages())

    def test_bad_queries_get_a_400_page_that_says_why(self):
        for name, query, reason in BAD_QUERIES:
            with self.subTest(name):
                status, headers, body = get(self.port, b"/cgi-bin/korvz?" + query)
                self.assertEqual(status, 400)
                self.assertPolicy(headers)
                self.assertEqual(headers.get("cache-control"), ["no-store"])
                if reason is not None:
                    self.assertIn(reason.encode(), body)
                for payload in HOSTILE:
                    self.assertNotIn(payload, body)
                self.assertLess(len(body), 2000)

    def test_level_page_is_revalidated_before_each_use(self):
        status, headers, body = get(self.port, b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode())
        self.assertEqual(status, 200)
        self.assertPolicy(headers)
        self.assertEqual(headers.get("cache-control"), [REVALIDATED])
        self.assertIn(b'data-code="' + LONG_SOLUTION.encode() + b'"', body)
        self.assertIn(b"Shortest solution: 35 moves.", body)
        self.assertRegex(headers["etag"][0], r'^"1\.0-[0-9a-f]{16}"$')
        # The absolute links come from the public address, its slash left out.
        address = f"{PUBLIC_ADDRESS}/cgi-bin/korvz?s={LONG_SOLUTION}&amp;png=1".encode()
        self.assertIn(b'<meta property="og:image" content="' + address + b'">', body)

    def test_nothing_of_the_request_headers_reaches_an_answer(self):
        target = b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode()
        for suffix in (b"", b"&embed=1", b"&png=1"):
            _, plain_headers, plain = get(self.port, target + suffix)
            for hostile in (b"Host: evil.example\r\n",
                            b"Host: evil.example:8080\r\nX-Forwarded-Host: evil.example\r\n"
                            b"X-Forwarded-Proto: http\r\nForwarded: host=evil.example\r\n",
                            b"Host: 127.0.0.1\r\nReferer: https://evil.example/\r\n"
                            b"Cookie: a=evil\r\nUser-Agent: evil\r\nAccept-Language: evil\r\n"):
                with self.subTest(suffix=suffix, headers=hostile):
                    status, headers, body = get(self.port, target + suffix, headers=hostile)
                    self.assertEqual(status, 200)
                    self.assertEqual(body, plain)
                    self.assertEqual(headers["etag"], plain_headers["etag"])
                    self.assertNotIn(b"evil", body)
                    self.assertNotIn("vary", headers)

    def test_every_other_address_of_a_level_moves_to_its_one_address(self):
        page = "/cgi-bin/korvz?s=3111221000110fbe5"
        for target, canonical in (("/cgi-bin/korvz?s=3111221000110FBE5", page),
                                  ("/cgi-bin/korvz?s=3111221000110fbe7", page),  # an open border bit
                                  (page + "&utm_source=x", page),
                                  ("/cgi-bin/korvz?png=1&s=3111221000110fbe5", page + "&png=1"),
                                  ("/cgi-bin/korvz?embed=1&s=3111221000110FBE5", page + "&embed=1"),
                                  ("/cgi-bin/korvz/anything?s=3111221000110fbe5", page),
                                  ("/cgi-bin/korvz/?s=3111221000110fbe5&png=1", page + "&png=1")):
            with self.subTest(target):
                status, headers, _ = get(self.port, target.encode())
                self.assertEqual(status, 301)
                self.assertEqual(headers.get("location"), [canonical])
                self.assertNotEqual(headers.get("cache-control"), [FOREVER])
                self.assertPolicy(headers)
                status, headers, _ = get(self.port, canonical.encode())
                self.assertEqual(status, 200)
                self.assertEqual(headers.get("cache-control"), [caching_of(canonical.encode())])

    def test_a_cache_that_holds_the_answer_gets_304(self):
        for suffix in (b"", b"&png=1"):
            target = b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode() + suffix
            _, headers, body = get(self.port, target)
            tag = headers["etag"][0].encode()
            with self.subTest(suffix):
                status, held, nothing = get(self.port, target,
                                            headers=b"Host: x\r\nIf-None-Match: " + tag + b"\r\n")
                self.assertEqual(status, 304)
                self.assertEqual(nothing, b"")
                self.assertEqual(held["etag"], [tag.decode()])
                self.assertPolicy(held)
                status, _, again = get(self.port, target,
                                       headers=b'Host: x\r\nIf-None-Match: "1.0-0000000000000000"\r\n')
                self.assertEqual(status, 200)
                self.assertEqual(again, body)

    def test_text_is_sent_compressed_to_clients_that_take_it(self):
        for target, kind in ((b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode(), "text/html"),
                             (b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode() + b"&embed=1", "text/html"),
                             (b"/eng/", "text/html"), (b"/korvalo/1.0/play.js", "text/javascript"),
                             (b"/korvalo/1.0/korvalo_web.js", "text/javascript"),
                             (b"/korvalo/1.0/page.css", "text/css"),
                             (b"/korvalo/1.0/korvalo_web.wasm", "application/wasm")):
            with self.subTest(target):
                _, _, plain = get(self.port, target)
                status, headers, body = get(self.port, target, headers=b"Host: x\r\nAccept-Encoding: gzip\r\n")
                self.assertEqual(status, 200)
                self.assertEqual(headers.get("content-encoding"), ["gzip"])
                self.assertTrue(headers["content-type"][0].startswith(kind))
                self.assertEqual(headers.get("vary"), ["Accept-Encoding"])
                if b"embed=1" not in target:  # (whose policy lets any site frame it)
                    self.assertPolicy(headers)
                self.assertEqual(zlib.decompress(body, 16 + zlib.MAX_WBITS), plain)
                # The compressed answer's tag names it to a cache.
                status, _, nothing = get(self.port, target, headers=b"Host: x\r\nAccept-Encoding: gzip\r\n"
                                         b"If-None-Match: " + headers["etag"][0].encode() + b"\r\n")
                self.assertEqual((status, nothing), (304, b""))

    def test_the_webassembly_is_a_file_of_its_own(self):
        status, headers, script = get(self.port, b"/korvalo/1.0/korvalo_web.js")
        self.assertEqual(status, 200)
        self.assertIn(b'"korvalo_web.wasm"', script)
        self.assertLess(len(script), 40000)  # the WebAssembly is not inside
        status, headers, wasm = get(self.port, b"/korvalo/1.0/korvalo_web.wasm")
        self.assertEqual(status, 200)
        self.assertEqual(headers.get("content-type"), ["application/wasm"])
        self.assertEqual(headers.get("cache-control"), [FOREVER])
        self.assertTrue(wasm.startswith(b"\0asm"))

    def test_only_the_compact_page_may_be_framed(self):
        policy = SITE_HEADERS["content-security-policy"]
        self.assertIn("frame-ancestors 'none'", policy)
        for target, framing in ((b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode(), "'none'"),
                                (b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode() + b"&embed=1", "*"),
                                (b"/eng/", "'none'"), (b"/eng/pc/korvalo_editor.html", "'none'")):
            with self.subTest(target):
                _, headers, _ = get(self.port, target)
                self.assertEqual(headers.get("content-security-policy"),
                                 [policy.replace("frame-ancestors 'none'", "frame-ancestors " + framing)])

    def test_a_request_with_two_lengths_has_its_connection_closed(self):
        with socket.create_connection(("127.0.0.1", self.port), timeout=10) as connection:
            connection.sendall(b"POST /eng/ HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n"
                               b"Transfer-Encoding: chunked\r\n\r\n0\r\n\r\nGET /eng/ HTTP/1.1\r\nHost: x\r\n\r\n")
            answer = b""
            while chunk := connection.recv(65536):  # ends when the server closes; a timeout fails
                answer += chunk
        self.assertTrue(answer.startswith(b"HTTP/1.1 400 "))
        self.assertEqual(answer.count(b"HTTP/1.1 "), 1)

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
                self.assertNotIn("content-encoding", headers)
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
        status, headers, _ = get(self.port, b"/cgi-bin/korvzz?s=3111221000110fbe5")
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


HOSTILE_TITLE = "<script>alert(1)</script>\"'><img src=x onerror=alert(2)>&amp;"


def send(port, method, target, body=b"", headers=b""):
    """A request with a body (JSON) and the given extra header lines."""
    return request(port, method + b" " + target + b" HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers +
                   b"Content-Type: application/json\r\nContent-Length: " + str(len(body)).encode() +
                   b"\r\nConnection: close\r\n\r\n" + body)


class StoreSiteTest(SiteHeaderChecks):
    """The published levels through lighttpd: the routes of the API, the
    gallery, the entries and the set pages, with their headers and limits."""

    @classmethod
    def setUpClass(cls):
        cls.site = LocalSite(SITE, KORVZ, CONFIG)
        cls.site.start()
        cls.port = cls.site.port

    @classmethod
    def tearDownClass(cls):
        cls.site.stop()

    def publish(self, code, title):
        body = json.dumps({"code": code, "title": title, "author": title[:60]}).encode()
        status, headers, answer = send(self.port, b"POST", b"/api/levels", body)
        self.assertIn(status, (200, 201), answer)
        self.assertPolicy(headers)
        return json.loads(answer)

    def test_a_level_published_with_a_hostile_title_shows_it_escaped_everywhere(self):
        published = self.publish(LONG_SOLUTION, HOSTILE_TITLE)
        code = published["code"].encode()
        for target in (b"/api/levels/" + LONG_SOLUTION.upper().encode(), b"/levels/" + code,
                       b"/gallery", b"/gallery?order=longest", b"/cgi-bin/korvz?s=" + code):
            with self.subTest(target):
                status, headers, body = get(self.port, target)
                self.assertEqual(status, 200)
                self.assertPolicy(headers)
                # The level page names its version's scripts: it is revalidated.
                level_page = target.startswith(b"/cgi-bin/")
                self.assertEqual(headers.get("cache-control"),
                                 [REVALIDATED if level_page else "public, max-age=60"])
                for raw in (b"<script>alert", b"<img src=x", b"\"'>"):
                    self.assertNotIn(raw, body)
                # A cache that holds the answer revalidates it for nothing.
                again, _, nothing = get(self.port, target, headers=b"Host: x\r\nIf-None-Match: " +
                                        headers["etag"][0].encode() + b"\r\n")
                self.assertEqual((again, nothing), (304, b""))
        _, _, page = get(self.port, b"/cgi-bin/korvz?s=" + code)
        self.assertIn(b'<a href="/levels/' + code + b'">', page)

    def test_removal_needs_the_token_through_the_server_too(self):
        published = self.publish("3111221000110fbe5", "Two moves")
        target = b"/api/levels/" + published["code"].encode()
        self.assertEqual(send(self.port, b"DELETE", target)[0], 401)
        self.assertEqual(send(self.port, b"DELETE", target, headers=b"Authorization: Bearer " +
                              b"0" * 32 + b"\r\n")[0], 403)
        self.assertEqual(send(self.port, b"DELETE", target, headers=b"Authorization: Bearer " +
                              published["token"].encode() + b"\r\n")[0], 204)
        self.assertEqual(get(self.port, target)[0], 404)

    def test_bodies_are_bounded_and_other_methods_refused(self):
        cases = [
            ("a set over 64 KB", b"POST", b"/api/sets", b"{" + b" " * 70000 + b"}", 413),
            ("a set of 30 KB", b"POST", b"/api/sets", b'{"title":"' + b"a" * 30000 + b'"}', 400),
            ("PUT to a level", b"PUT", b"/api/levels/3111221000110fbe5", b"", 405),
            ("POST to the gallery", b"POST", b"/gallery", b"{}", 405),
            ("an address the API lacks", b"GET", b"/api/users", b"", 404),
            ("no such set", b"GET", b"/sets/0123456789abcdef", b"", 404),
        ]
        for name, method, target, body, expected in cases:
            with self.subTest(name):
                status, headers, _ = send(self.port, method, target, body)
                self.assertEqual(status, expected)
                self.assertPolicy(headers)
                self.assertEqual(headers.get("cache-control"), ["no-store"])


class SharedDatabaseTest(SiteHeaderChecks):
    """Two sites (two machines) of stateless workers on one PostgreSQL
    database: what one publishes, the other serves and removes."""

    def test_two_sites_on_one_postgresql_database_share_their_levels(self):
        with PostgresCluster() as cluster:
            database = cluster.create("korvalo")
            with LocalSite(SITE, KORVZ, CONFIG, database=database) as first, \
                    LocalSite(SITE, KORVZ, CONFIG, database=database) as second:
                body = json.dumps({"code": LONG_SOLUTION, "title": "Shared"}).encode()
                status, _, answer = send(first.port, b"POST", b"/api/levels", body)
                self.assertEqual(status, 201, answer)
                published = json.loads(answer)
                target = b"/api/levels/" + published["code"].encode()
                status, headers, answer = get(second.port, target)
                self.assertEqual(status, 200)
                self.assertPolicy(headers)
                self.assertEqual(json.loads(answer)["title"], "Shared")
                self.assertIn(b"Shared", get(second.port, b"/gallery")[2])
                self.assertEqual(send(first.port, b"POST", b"/api/levels", body)[0], 200)
                self.assertEqual(send(second.port, b"DELETE", target, headers=b"Authorization: Bearer " +
                                      published["token"].encode() + b"\r\n")[0], 204)
                self.assertEqual(get(first.port, target)[0], 404)


def distinct_codes(count):
    """7 x 7 codes of distinct levels: the long-solution level with its balls moved."""
    codes = []
    for first in range(49):
        for second in range(49):
            if len(codes) == count:
                return codes
            balls = (first, second, 48)
            if len(set(balls)) < 3:
                continue
            code = "7" + "".join(f"{square // 7}{square % 7}" for square in balls) + LONG_SOLUTION[7:]
            codes.append(code)
    return codes


class WorkerPoolTest(SiteHeaderChecks):
    """The pool and its queue: their bounds, and workers that stop or die."""

    def test_a_full_queue_gets_a_fast_503(self):
        # One worker, one place in the queue: with the worker held still, the
        # first request waits in it, the second in the queue, and the rest are
        # turned away at once.
        with LocalSite(SITE, KORVZ, CONFIG, workers=1, queue=1) as site:
            [worker] = site.worker_ids()
            os.kill(worker, signal.SIGSTOP)
            answers = {}
            waiting = []
            target = b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode()

            def wait_for_answer(index):
                answers[index] = get(site.port, target)

            try:
                for index in range(2):
                    thread = threading.Thread(target=wait_for_answer, args=(index,))
                    thread.start()
                    waiting.append(thread)
                    time.sleep(0.5)  # in order: the first reaches the worker
                for index in range(2, 6):
                    started = time.monotonic()
                    status, headers, _ = get(site.port, target)
                    answers[index] = (status, headers, time.monotonic() - started)
            finally:
                os.kill(worker, signal.SIGCONT)
            for thread in waiting:
                thread.join(60)
            for index in range(2):
                self.assertEqual(answers[index][0], 200)
            for index in range(2, 6):
                status, headers, seconds = answers[index]
                self.assertEqual(status, 503)
                self.assertEqual(headers.get("retry-after"), ["1"])
                self.assertEqual(headers.get("cache-control"), ["no-store"])
                self.assertPolicy(headers)
                self.assertLess(seconds, 10)  # not a timeout (no speed is checked)
            # The static files are no part of the pool.
            self.assertEqual(get(site.port, b"/eng/")[0], 200)

    def test_the_workers_end_with_the_server(self):
        # Each worker has its database open (SQLite, whose checkpoints run on
        # a thread of their own): the stop signal still ends every one.
        with LocalSite(SITE, KORVZ, CONFIG, workers=2, queue=64) as site:
            self.assertEqual(get(site.port, b"/gallery")[0], 200)
            workers = site.worker_ids()
            self.assertEqual(len(workers), 2)
        limit = time.monotonic() + 10
        alive = workers
        while alive and time.monotonic() < limit:
            time.sleep(0.1)
            alive = [worker for worker in workers if os.path.exists(f"/proc/{worker}")]
        for worker in alive:
            os.kill(worker, signal.SIGKILL)
        self.assertEqual(alive, [])

    def test_a_worker_told_to_stop_by_sigusr1_ends_instead_of_spinning(self):
        # SIGUSR1 is FastCGI's request for a graceful end. Left to libfcgi's
        # own handler it made every later accept fail at once while the
        # socket stayed readable: the worker spun at full speed for ever.
        with LocalSite(SITE, KORVZ, CONFIG, workers=2, queue=64) as site:
            told = site.worker_ids()[0]
            os.kill(told, signal.SIGUSR1)
            limit = time.monotonic() + 10
            while os.path.exists(f"/proc/{told}") and not zombie(told) and time.monotonic() < limit:
                time.sleep(0.1)
            ended = not os.path.exists(f"/proc/{told}") or zombie(told)
            if not ended:
                os.kill(told, signal.SIGKILL)
            self.assertTrue(ended, "the worker told to stop is still running")
            self.assertEqual(get(site.port, b"/gallery")[0], 200)

    def test_a_stopped_worker_does_not_hang_the_requests_queued_on_it(self):
        with LocalSite(SITE, KORVZ, CONFIG, workers=2, queue=64) as site:
            stopped = site.worker_ids()[0]
            os.kill(stopped, signal.SIGSTOP)
            outcomes = []
            try:
                threads = [threading.Thread(target=lambda c=c: outcomes.append(
                    get(site.port, f"/cgi-bin/korvz?s={c}&png=1".encode()))) for c in distinct_codes(20)]
                for thread in threads:
                    thread.start()
                for thread in threads:
                    thread.join(60)  # within the socket's timeout of 30 s each
            finally:
                os.kill(stopped, signal.SIGCONT)
            self.assertEqual(len(outcomes), 20)
            for status, headers, _ in outcomes:
                self.assertIn(status, (200, 504))
                self.assertPolicy(headers)
                if status == 504:
                    self.assertEqual(headers.get("retry-after"), ["1"])
                    self.assertEqual(headers.get("cache-control"), ["no-store"])
            self.assertEqual(get(site.port, b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode())[0], 200)

    def test_a_worker_killed_under_load_fails_no_answer(self):
        codes = distinct_codes(400)
        outcomes = []
        with LocalSite(SITE, KORVZ, CONFIG, workers=2, queue=64) as site:
            def load(part):
                for code in part:
                    for suffix in (b"", b"&png=1"):
                        status, headers, body = get(site.port, b"/cgi-bin/korvz?s=" + code.encode() + suffix)
                        whole = headers.get("content-length") == [str(len(body))]
                        outcomes.append((status, whole, headers.get("retry-after")))

            threads = [threading.Thread(target=load, args=(codes[k::4],)) for k in range(4)]
            for thread in threads:
                thread.start()
            killed = []
            for _ in range(3):
                time.sleep(0.4)
                victim = self.some_worker(site)
                os.kill(victim, signal.SIGKILL)
                killed.append(victim)
            for thread in threads:
                thread.join(300)
            # The pool is whole again, with new workers.
            limit = time.monotonic() + 10
            while time.monotonic() < limit and len(site.worker_ids()) < 2:
                time.sleep(0.1)
            workers = site.worker_ids()
            self.assertEqual(len(workers), 2)
            self.assertFalse(set(workers) & set(killed))
            self.assertEqual(get(site.port, b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode())[0], 200)
        self.assertEqual(len(outcomes), 800)
        for status, whole, retry in outcomes:
            self.assertIn(status, (200, 503))
            if status == 200:
                self.assertTrue(whole)
            else:
                self.assertEqual(retry, ["1"])
        # (How many get a 503 depends on the timing: lighttpd rests a socket
        # that failed for a second.)
        self.assertGreater(sum(1 for status, _, _ in outcomes if status == 200), 0)

    def test_two_machines_give_a_file_the_same_tag(self):
        tags = []
        with tempfile.TemporaryDirectory() as folder:
            for machine in ("one", "two"):
                copy = os.path.join(folder, machine)
                shutil.copytree(SITE, copy)  # the same times, other inodes
                with LocalSite(copy, KORVZ, CONFIG) as site:
                    tags.append([get(site.port, target)[1]["etag"]
                                 for target in (b"/korvalo/1.0/play.js", b"/eng/")])
        self.assertEqual(tags[0], tags[1])

    def test_slow_connections_leave_room_for_others(self):
        # More connections than lighttpd used to hold, each sending its request
        # a byte every few seconds (never idle long enough to be cut); a quick
        # client is still answered.
        with LocalSite(SITE, KORVZ, CONFIG) as site:
            slow = []
            trickling = threading.Event()

            def trickle():
                while not trickling.wait(3):
                    for connection in slow:
                        connection.sendall(b"a")

            trickler = threading.Thread(target=trickle)
            try:
                for _ in range(1500):
                    connection = socket.create_connection(("127.0.0.1", site.port), timeout=10)
                    connection.sendall(b"GET /eng/ HTTP/1.1\r\nHost: x\r\nX-Slow: ")
                    slow.append(connection)
                trickler.start()
                status, _, _ = get(site.port, b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode())
                self.assertEqual(status, 200)
            finally:
                trickling.set()
                if trickler.is_alive():
                    trickler.join()
                for connection in slow:
                    connection.close()

    def test_sigterm_answers_every_request_under_way(self):
        # The worker is held still while 200 requests for pictures come in;
        # the service is told to stop, and only then may the worker go on.
        targets = [f"/cgi-bin/korvz?s={code}&png=1".encode() for code in distinct_codes(200)]
        statuses = []
        with LocalSite(SITE, KORVZ, CONFIG, workers=1, queue=256) as site:
            [worker] = site.worker_ids()
            os.kill(worker, signal.SIGSTOP)
            try:
                threads = [threading.Thread(target=lambda t=t: statuses.append(get(site.port, t)[0]))
                           for t in targets]
                for thread in threads:
                    thread.start()
                time.sleep(1.0)  # every request taken by lighttpd
                os.kill(site.process.pid, signal.SIGTERM)
                time.sleep(0.3)
            finally:
                os.kill(worker, signal.SIGCONT)
            for thread in threads:
                thread.join(60)
            self.assertEqual(site.process.wait(30), 0)
        self.assertEqual(sorted(statuses), [200] * 200)

    def some_worker(self, site):
        """A worker that runs now; lighttpd may be starting one anew."""
        limit = time.monotonic() + 10
        while True:
            workers = site.worker_ids()
            if workers:
                return workers[0]
            self.assertLess(time.monotonic(), limit, "no worker runs")
            time.sleep(0.05)

    def test_a_setting_that_cannot_be_used_stops_the_server_with_the_reason(self):
        for settings, reason in (
                ({"KORVALO_PUBLIC_ADDRESS": "https://example.org/levels"}, "has a path, query or fragment"),
                ({"KORVALO_PUBLIC_ADDRESS": "example.org"}, "does not start with http:// or https://"),
                ({"KORVALO_QUEUE": None}, "KORVALO_QUEUE is not set"),
                ({"KORVALO_QUEUE": "many"}, "KORVALO_QUEUE is \"many\": it must be a whole number"),
                ({"KORVALO_WORKERS": "0"}, "KORVALO_WORKERS is \"0\""),
                ({"KORVALO_DATABASE": "levels.sqlite"}, "KORVALO_DATABASE is \"levels.sqlite\"")):
            with self.subTest(settings):
                site = LocalSite(SITE, KORVZ, CONFIG, settings=settings)
                with self.assertRaises(RuntimeError) as refusal:
                    site.start()
                self.assertIn(reason, str(refusal.exception))
                self.assertNotIn("traceback", str(refusal.exception).lower())

    def test_a_database_that_cannot_be_used_stops_the_server(self):
        with tempfile.TemporaryDirectory() as folder:
            newer = os.path.join(folder, "newer.sqlite")
            subprocess.run(["sqlite3", newer, "CREATE TABLE schema_migrations (version INTEGER PRIMARY KEY,"
                            " applied BIGINT NOT NULL); INSERT INTO schema_migrations VALUES (999, 0);"],
                           check=True)
            for database, reason in (("/nonexistent-folder/korvalo.sqlite", "cannot open the SQLite file"),
                                     (newer, "newer than this program"),
                                     (f"postgresql://nobody@/none?host={folder}", "cannot connect to PostgreSQL")):
                with self.subTest(database):
                    site = LocalSite(SITE, KORVZ, CONFIG, database=database)
                    with self.assertRaises(RuntimeError) as refusal:
                        site.start()
                    self.assertIn("KORVALO_DATABASE", str(refusal.exception))
                    self.assertIn(reason, str(refusal.exception))


class ObservationTest(SiteHeaderChecks):
    """What an administrator sees: the health address and the access log."""

    def test_health_is_answered_by_a_worker(self):
        with LocalSite(SITE, KORVZ, CONFIG, workers=1, queue=1) as site:
            for target in (b"/health", b"/health?probe=1"):
                with self.subTest(target):
                    status, headers, body = get(site.port, target)
                    self.assertEqual(status, 200)
                    self.assertEqual(body, b"ok\n")
                    self.assertEqual(headers.get("cache-control"), ["no-store"])
                    self.assertPolicy(headers)
            # A worker that does not answer makes the health address fail.
            [worker] = site.worker_ids()
            os.kill(worker, signal.SIGSTOP)
            try:
                status, headers, _ = get(site.port, b"/health")
            finally:
                os.kill(worker, signal.SIGCONT)
            self.assertGreaterEqual(status, 500)
            self.assertPolicy(headers)

    def test_metrics_count_the_answers_for_this_machine_only(self):
        with LocalSite(SITE, KORVZ, CONFIG) as site:
            get(site.port, b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode())
            get(site.port, b"/nothing-here")
            # Publishing writes to the database: its time is counted, and the
            # header that carries it reaches no client.
            body = json.dumps({"code": LONG_SOLUTION, "title": "Counted"}).encode()
            status, headers, _ = send(site.port, b"POST", b"/api/levels", body)
            self.assertEqual(status, 201)
            self.assertNotIn("x-korvalo-database-microseconds", headers)
            status, headers, body = get(site.port, b"/metrics")
            self.assertEqual(status, 200)
            self.assertPolicy(headers)
            counters = dict(line.split(": ") for line in body.decode().splitlines())
            self.assertGreaterEqual(int(counters["korvalo.answers.200"]), 1)
            self.assertEqual(counters["korvalo.answers.404"], "1")
            self.assertIn("gw.backend.korvz.load", counters)
            self.assertGreaterEqual(int(counters["korvalo.database.answers"]), 1)
            self.assertGreater(int(counters["korvalo.database.microseconds"]), 0)
            # From any other address there is no such page.
            with socket.socket() as other:
                other.settimeout(30)
                other.bind(("127.0.0.2", 0))
                other.connect(("127.0.0.1", site.port))
                other.sendall(b"GET /metrics HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")
                answer = b""
                while chunk := other.recv(65536):
                    answer += chunk
            self.assertTrue(answer.startswith(b"HTTP/1.1 404 "))

    def test_every_answer_has_a_line_in_the_access_log_without_the_client_address(self):
        with LocalSite(SITE, KORVZ, CONFIG) as site:
            get(site.port, b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode())
            get(site.port, b"/nothing-here")
            limit = time.monotonic() + 10
            while time.monotonic() < limit and "/nothing-here" not in site.messages():
                time.sleep(0.1)
            log = site.messages()
        self.assertRegex(log, r'"GET /cgi-bin/korvz\?s=' + LONG_SOLUTION + r' HTTP/1\.1" 200 \d+ \d+')
        self.assertRegex(log, r'"GET /nothing-here HTTP/1\.1" 404 ')
        self.assertNotIn("127.0.0.1", log)


# FastCGI record types
BEGIN_REQUEST, END_REQUEST, PARAMS, STDIN, STDOUT = 1, 3, 4, 5, 6


def fastcgi_record(kind, content=b""):
    """A record of request 1: version 1, the type, the length, no padding."""
    return struct.pack(">BBHHBx", 1, kind, 1, len(content), 0) + content


def fastcgi_pairs(params):
    """Names and values of under 128 bytes each, as FastCGI writes them."""
    return b"".join(bytes([len(name), len(value)]) + name + value for name, value in params.items())


class WorkerProtocolTest(unittest.TestCase):
    """korvz alone, on a listening socket as lighttpd gives it, asked through FastCGI."""

    def ask(self, target):
        """The records of korvz's answer to GET of the target, as (type, content) pairs."""
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "korvz.socket")
            with socket.socket(socket.AF_UNIX) as listener:
                listener.bind(path)
                listener.listen(1)
                environment = {key: value for key, value in os.environ.items() if key != "KORVALO_PUBLIC_ADDRESS"}
                worker = subprocess.Popen([KORVZ], stdin=listener.fileno(), env=environment)
            try:
                with socket.socket(socket.AF_UNIX) as peer:
                    peer.settimeout(30)
                    peer.connect(path)
                    params = fastcgi_pairs({b"REQUEST_METHOD": b"GET", b"REQUEST_URI": target})
                    peer.sendall(fastcgi_record(BEGIN_REQUEST, struct.pack(">HB5x", 1, 0)) +
                                 fastcgi_record(PARAMS, params) + fastcgi_record(PARAMS) + fastcgi_record(STDIN))
                    received = b""
                    while chunk := peer.recv(65536):
                        received += chunk
            finally:
                worker.terminate()
                worker.wait(10)
        records = []
        while received:
            _, kind, _, length, padding = struct.unpack(">BBHHBx", received[:8])
            records.append((kind, received[8:8 + length]))
            received = received[8 + length + padding:]
        return records

    def test_an_answer_over_8_kb_comes_whole_with_the_end_of_its_request(self):
        # One record of output, then the end: a worker killed at any moment
        # leaves the web server the whole answer or none of it.
        records = self.ask(b"/cgi-bin/korvz?s=7003666663300d4dae70cec86baf110a5e554&png=1")
        self.assertEqual([kind for kind, _ in records], [STDOUT, STDOUT, END_REQUEST])
        output = records[0][1]
        self.assertGreater(len(output), 8192)
        head, _, body = output.partition(b"\r\n\r\n")
        self.assertTrue(head.startswith(b"Status: 200 OK\r\n"))
        self.assertIn(b"\r\nContent-Length: %d\r\n" % len(body), head + b"\r\n")
        self.assertEqual(records[1][1], b"")
        self.assertEqual(records[2][1], bytes(8))  # status 0, the request complete


if __name__ == "__main__":
    SITE, KORVZ, CONFIG, KORVALO_LEVEL = sys.argv[1:5]
    unittest.main(argv=[sys.argv[0]] + sys.argv[5:], verbosity=2)
