#!/usr/bin/env python3
"""The Korvalo site on a private lighttpd, for the tests.

As a module: LocalSite(site, korvz, config) starts lighttpd with the site's
configuration (build/server/lighttpd.conf, made from server/lighttpd.conf.in)
through korvalo-site beside it, as the service runs it, on a free port of
127.0.0.1, with a pool of korvz workers, and stops it again (SIGTERM).
As a program it runs a command while the site is up, with KORVALO_SERVER set
to the site's address:

    local_site.py SITE KORVZ CONFIG -- COMMAND [ARGUMENTS...]
"""

import os
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

START_WAIT = 30.0  # seconds lighttpd may take to answer on a loaded machine


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


OWN_ADDRESS = "own address"  # public_address: the local site's own address


class LocalSite:
    """workers and queue size the pool (KORVALO_WORKERS, KORVALO_QUEUE);
    public_address, when given, is the site's KORVALO_PUBLIC_ADDRESS, or
    OWN_ADDRESS for the address the site gets; database is its
    KORVALO_DATABASE (a fresh SQLite file when not given); settings, when
    given, change the service's other settings (a value of None leaves the
    setting unset)."""

    def __init__(self, site, korvz, config, workers=2, queue=64, public_address=None, database=None,
                 settings=None):
        for path, what in ((site, "the site folder"), (korvz, "the server program korvz"),
                           (config, "the site's lighttpd configuration")):
            if not os.path.exists(path):
                raise RuntimeError(f"{what} is missing at {path}: build it first "
                                   "(bash scripts/build-web for the site, cmake --build build for korvz)")
        self.site = os.path.abspath(site)
        self.korvz = os.path.abspath(korvz)
        self.config = os.path.abspath(config)
        self.runner = os.path.join(os.path.dirname(self.config), "korvalo-site")
        self.workers = workers
        self.queue = queue
        self.public_address = public_address
        # KORVALO_DATABASE; a fresh SQLite file in the run folder when None, no
        # database (no published levels) when empty.
        self.database = database
        self.settings = settings or {}
        self.process = None
        self.port = None
        self.log = None
        self.run = None

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
            self.run = tempfile.TemporaryDirectory()
            environment = dict(os.environ, KORVALO_SITE=self.site, KORVALO_KORVZ=self.korvz,
                               KORVALO_RUN=self.run.name, KORVALO_BIND="127.0.0.1",
                               KORVALO_PORT=str(self.port), KORVALO_WORKERS=str(self.workers),
                               KORVALO_QUEUE=str(self.queue),
                               KORVALO_DATABASE=self.database_path())
            environment.pop("KORVALO_PUBLIC_ADDRESS", None)
            if self.public_address is not None:
                environment["KORVALO_PUBLIC_ADDRESS"] = (self.address if self.public_address == OWN_ADDRESS
                                                         else self.public_address)
            for name, value in self.settings.items():
                if value is None:
                    environment.pop(name, None)
                else:
                    environment[name] = value
            self.process = subprocess.Popen([self.runner], env=environment,
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
        if self.run is not None:
            self.run.cleanup()
            self.run = None

    def database_path(self):
        """The KORVALO_DATABASE the site runs with."""
        return os.path.join(self.run.name, "korvalo.sqlite") if self.database is None else self.database

    def children(self, parent, name):
        found = subprocess.run(["pgrep", "-P", str(parent), "-x", name], capture_output=True, text=True)
        return [int(line) for line in found.stdout.split()]

    def server_id(self):
        """The process id of lighttpd, which korvalo-site runs."""
        return self.children(self.process.pid, "lighttpd")[0]

    def worker_ids(self):
        """The process ids of the korvz workers lighttpd runs now."""
        return self.children(self.server_id(), "korvz")


def main(arguments):
    if len(arguments) < 5 or arguments[3] != "--":
        print(__doc__, file=sys.stderr)
        return 2
    site, korvz, config, command = arguments[0], arguments[1], arguments[2], arguments[4:]
    with LocalSite(site, korvz, config, public_address=OWN_ADDRESS) as local:
        environment = dict(os.environ, KORVALO_SERVER=local.address)
        return subprocess.call(command, env=environment)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
