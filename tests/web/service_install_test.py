#!/usr/bin/env python3
"""The sharing site installed as a service: `cmake --install --component
service` into a folder, the installed systemd unit checked by systemd, and
the installed site run from there, with no path into the build or the source.

    service_install_test.py BUILD SOURCE [unittest arguments]
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from local_site import LocalSite  # noqa: E402
from site_server_test import LONG_SOLUTION, SiteHeaderChecks, get  # noqa: E402

BUILD = SOURCE = ""
UNIT = "lib/systemd/system/korvalo-site.service"


class InstalledServiceTest(SiteHeaderChecks):
    @classmethod
    def setUpClass(cls):
        cls.prefix = tempfile.TemporaryDirectory()
        result = subprocess.run(["cmake", "--install", BUILD, "--prefix", cls.prefix.name,
                                 "--component", "service"], capture_output=True, text=True)
        if result.returncode != 0:
            raise RuntimeError("the install failed:\n" + result.stdout + result.stderr)

    @classmethod
    def tearDownClass(cls):
        cls.prefix.cleanup()

    def installed(self, path):
        return os.path.join(self.prefix.name, path)

    def test_every_part_is_installed_without_a_path_into_the_build(self):
        for path in ("libexec/korvalo/korvz", "libexec/korvalo/korvalo-site", UNIT, "etc/korvalo/korvalo-site.env",
                     "share/korvalo/server/lighttpd.conf", "share/korvalo/server/site_headers.lua",
                     "share/korvalo/server/admission.lua", "share/korvalo/site/index.html",
                     "share/korvalo/site/korvalo/1.0/play.js"):
            with self.subTest(path):
                self.assertTrue(os.path.isfile(self.installed(path)))
        for folder, _, names in os.walk(self.prefix.name):
            for name in names:
                with open(os.path.join(folder, name), "rb") as installed:
                    content = installed.read()
                for elsewhere in (os.path.abspath(BUILD), os.path.abspath(SOURCE)):
                    with self.subTest(file=name, path=elsewhere):
                        self.assertNotIn(elsewhere.encode(), content)

    def test_systemd_accepts_the_unit(self):
        if not shutil.which("systemd-analyze"):
            self.skipTest("systemd-analyze is not installed")
        result = subprocess.run(["systemd-analyze", "verify", self.installed(UNIT)],
                                capture_output=True, text=True, cwd=self.prefix.name)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertEqual(result.stderr.strip(), "")
        with open(self.installed(UNIT), encoding="utf-8") as unit:
            settings = unit.read()
        # An unprivileged user of its own with its folders, the settings from
        # the environment file, and a stop and a reload that drop no request.
        for line in ("DynamicUser=yes", "StateDirectory=korvalo", "RuntimeDirectory=korvalo",
                     f"EnvironmentFile=-{self.prefix.name}/etc/korvalo/korvalo-site.env",
                     f"ExecStart={self.prefix.name}/libexec/korvalo/korvalo-site",
                     "ExecReload=/bin/kill -HUP $MAINPID", "KillMode=mixed"):
            with self.subTest(line):
                self.assertIn("\n" + line + "\n", settings)

    def test_the_installed_site_serves_levels_and_files(self):
        site = LocalSite(self.installed("share/korvalo/site"), self.installed("libexec/korvalo/korvz"),
                         self.installed("share/korvalo/server/lighttpd.conf"))
        site.runner = self.installed("libexec/korvalo/korvalo-site")
        with site:
            for target, status in ((b"/cgi-bin/korvz?s=" + LONG_SOLUTION.encode(), 200),
                                   (b"/korvalo/1.0/play.js", 200), (b"/health", 200), (b"/missing", 404)):
                with self.subTest(target):
                    got, headers, _ = get(site.port, target)
                    self.assertEqual(got, status)
                    self.assertPolicy(headers)
            # A reload starts lighttpd's configuration anew, and the site answers on.
            os.kill(site.process.pid, signal.SIGHUP)
            limit = time.monotonic() + 30
            while site.messages().count("server started") < 2:
                self.assertLess(time.monotonic(), limit, "no reload:\n" + site.messages())
                time.sleep(0.1)
            for target in (b"/health", b"/eng/"):
                self.assertEqual(get(site.port, target)[0], 200)
            messages = site.messages()
        self.assertNotIn("error", messages.lower())
        self.assertIn('"GET /eng/ HTTP/1.1" 200', messages)  # the access log goes on


if __name__ == "__main__":
    BUILD, SOURCE = sys.argv[1:3]
    unittest.main(argv=[sys.argv[0]] + sys.argv[3:], verbosity=2)
