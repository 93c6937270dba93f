#!/usr/bin/env python3
"""The Korvalo site on a private lighttpd, for the tests.

As a module: LocalSite(site, korvz) starts lighttpd with the shipped
configuration (server/lighttpd.conf) on a free port of 127.0.0.1 and stops it
again. As a program it runs a command while the site is up, with
KORVALO_SERVER set to the site's address:

    local_site.py SITE KORVZ -- COMMAND [ARGUMENTS...]
"""

import os
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
CONFIG = os.path.join(HERE, "..", "..", "server", "lighttpd.conf")
LIGHTTPD = "/usr/sbin/lighttpd"
START_WAIT = 30.0  # seconds lighttpd may take to answer on a loaded machine


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class LocalSite:
    def __init__(self, site, korvz):
        for path, what in ((site, "the site folder"), (korvz, "the server program korvz")):
            if not os.path.exists(path):
                raise RuntimeError(f"{what} is missing at {path}: build it first "
                                   "(bash scripts/build-web for the site, cmake --build build for korvz)")
        self.site = os.path.abspath(site)
        self.korvz = os.path.abspath(korvz)
        self.process = None
        self.port = None
        self.log = None

    @property
    def address(self):
        return f"http://127.0.0.1:{self.port}"

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        # Another run may take the port between the probe and the start: try again.
        for _ in range(5):
            self.port = free_port()
            self.log = tempfile.TemporaryFile()
            environment = dict(os.environ, KORVALO_SITE=self.site, KORVALO_KORVZ=self.korvz,
                               KORVALO_BIND="127.0.0.1", KORVALO_PORT=str(self.port))
            self.process = subprocess.Popen([LIGHTTPD, "-D", "-f", os.path.abspath(CONFIG)], env=environment,
                                            stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log)
            if self._answers():
                return
            self.stop()
        raise RuntimeError("lighttpd did not start:\n" + self.messages())

    def _answers(self):
        limit = time.monotonic() + START_WAIT
        while time.monotonic() < limit:
            if self.process.poll() is not None:
                return False
            try:
                urllib.request.urlopen(self.address + "/eng/", timeout=5).read()
                return True
            except (urllib.error.URLError, ConnectionError, OSError):
                time.sleep(0.1)
        return False

    def messages(self):
        if self.log is None:
            return ""
        self.log.seek(0)
        return self.log.read().decode("utf-8", "replace")

    def stop(self):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process = None


def main(arguments):
    if len(arguments) < 4 or arguments[2] != "--":
        print(__doc__, file=sys.stderr)
        return 2
    site, korvz, command = arguments[0], arguments[1], arguments[3:]
    with LocalSite(site, korvz) as local:
        environment = dict(os.environ, KORVALO_SERVER=local.address)
        return subprocess.call(command, env=environment)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
