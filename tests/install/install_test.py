#!/usr/bin/env python3
"""The install tree, the Debian package and the command lines of the three programs.

Installs the build into a temporary prefix with `cmake --install`, makes the
Debian package with cpack and unpacks it with dpkg-deb, and checks both against
one table of paths; validates the desktop entry and the AppStream metainfo; and
runs each program with the options every one of them knows.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest

ARGS = None
APP_ID = "com.vandrel.KorvaloLevelEditor"
DESIGNER_ID = "com.vandrel.KorvaloLevelDesigner"
PROGRAMS = ["korvalo-editor", "korvalo", "korvalo-level"]
ICON_SIZES = [16, 24, 32, 48, 64, 128, 256]

# Every path the install puts on a desktop, relative to the prefix.
EXPECTED_PATHS = (
    [f"bin/{program}" for program in PROGRAMS]
    + [f"share/applications/{APP_ID}.desktop", f"share/applications/{DESIGNER_ID}.desktop",
       f"share/metainfo/{APP_ID}.metainfo.xml"]
    + [f"share/icons/hicolor/{s}x{s}/apps/{APP_ID}.png" for s in ICON_SIZES]
    + [f"share/man/man1/{program}.1" for program in PROGRAMS]
    + [f"share/doc/korvalo-level-editor/{name}" for name in ("README.md", "LICENSE", "copyright")]
)


def run(args, **kwargs):
    kwargs.setdefault("capture_output", True)
    kwargs.setdefault("text", True)
    kwargs.setdefault("timeout", 300)
    return subprocess.run(args, **kwargs)


def png_size(path):
    with open(path, "rb") as png:
        header = png.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", path
    return struct.unpack(">II", header[16:24])


class InstalledTree:
    """Checks shared by the install tree and the unpacked package."""

    def check_tree(self, prefix):
        for path in EXPECTED_PATHS:
            with self.subTest(path=path):
                self.assertTrue(os.path.isfile(os.path.join(prefix, path)), path)
        for size in ICON_SIZES:
            icon = os.path.join(prefix, f"share/icons/hicolor/{size}x{size}/apps/{APP_ID}.png")
            self.assertEqual(png_size(icon), (size, size))
        for program in PROGRAMS:
            binary = os.path.join(prefix, "bin", program)
            self.assertTrue(os.access(binary, os.X_OK), program)
            dynamic = run(["readelf", "-d", binary]).stdout
            self.assertNotRegex(dynamic, r"\((RPATH|RUNPATH)\)", f"{program} carries a search path")
        page = open(os.path.join(prefix, "share/man/man1/korvalo-level.1"), encoding="utf-8").read()
        self.assertIn("solve", page)
        result = run([os.path.join(prefix, "bin/korvalo-level"), "--version"])
        self.assertEqual((result.returncode, result.stdout), (0, f"korvalo-level {ARGS.version}\n"))

    def check_desktop_files(self, prefix):
        desktop = os.path.join(prefix, f"share/applications/{APP_ID}.desktop")
        result = run(["desktop-file-validate", desktop])
        self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))
        entry = open(desktop, encoding="utf-8").read()
        self.assertIn("Name=Korvalo Level Editor\n", entry)
        self.assertIn("Categories=Game;LogicGame;\n", entry)
        self.assertIn(f"Icon={APP_ID}\n", entry)
        self.assertRegex(entry, r"\nExec=korvalo-editor\n", "no field codes the editor cannot take")
        designer = os.path.join(prefix, f"share/applications/{DESIGNER_ID}.desktop")
        result = run(["desktop-file-validate", designer])
        self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))
        entry = open(designer, encoding="utf-8").read()
        self.assertIn("Name=Korvalo Level Designer\n", entry)
        self.assertRegex(entry, r"\nExec=korvalo-editor --designer\n")
        metainfo = os.path.join(prefix, f"share/metainfo/{APP_ID}.metainfo.xml")
        result = run(["appstreamcli", "validate", "--no-net", metainfo])
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        text = open(metainfo, encoding="utf-8").read()
        for part in (f"<id>{APP_ID}</id>", "<project_license>MIT</project_license>",
                     f'<release version="{ARGS.version}"', "<content_rating", "<screenshot"):
            self.assertIn(part, text)


class InstallTest(unittest.TestCase, InstalledTree):
    def test_install_puts_every_file_in_its_place(self):
        with tempfile.TemporaryDirectory() as prefix:
            result = run(["cmake", "--install", ARGS.build, "--prefix", prefix])
            self.assertEqual(result.returncode, 0, result.stderr)
            self.check_tree(prefix)
            self.check_desktop_files(prefix)


class PackageTest(unittest.TestCase, InstalledTree):
    def test_debian_package_holds_every_file_and_names_its_libraries(self):
        with tempfile.TemporaryDirectory() as work:
            result = run(["cpack", "-G", "DEB", "-B", work,
                          "--config", os.path.join(ARGS.build, "CPackConfig.cmake")])
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            packages = [name for name in os.listdir(work) if name.endswith(".deb")]
            self.assertEqual(len(packages), 1, packages)
            package = os.path.join(work, packages[0])
            depends = run(["dpkg-deb", "-f", package, "Depends"]).stdout
            for library in ("libc6", "libqt6widgets6", "libqt6gui6", "libqt6core6", "libstdc++6"):
                self.assertIn(library, depends)
            unpacked = os.path.join(work, "root")
            result = run(["dpkg-deb", "-x", package, unpacked])
            self.assertEqual(result.returncode, 0, result.stderr)
            self.check_tree(os.path.join(unpacked, "usr"))
            self.check_desktop_files(os.path.join(unpacked, "usr"))


class CommandLineTest(unittest.TestCase):
    """One convention for the three programs: --help and --version, and Qt's
    own options without effect."""

    def program(self, name):
        return {"korvalo-editor": ARGS.editor, "korvalo": ARGS.game, "korvalo-level": ARGS.tool}[name]

    def test_help_and_version(self):
        cases = [
            # program, arguments, exit status, standard output must match
            ("korvalo-editor", ["--help"], 0, r"^Usage: .*korvalo-editor \[options\] \[set\]\n(.|\n)*--designer"),
            ("korvalo-editor", ["--version"], 0, rf"^korvalo-editor {re.escape(ARGS.version)}\n$"),
            ("korvalo", ["--help"], 0, r"^Usage: .*korvalo \[options\] \[code \| file\]\n"),
            ("korvalo", ["-h"], 0, r"^Usage: "),
            ("korvalo", ["--version"], 0, rf"^korvalo {re.escape(ARGS.version)}\n$"),
            ("korvalo-level", ["--help"], 0, r"^Usage: korvalo-level solve"),
            ("korvalo-level", ["--version"], 0, rf"^korvalo-level {re.escape(ARGS.version)}\n$"),
        ]
        for name, arguments, status, output in cases:
            with self.subTest(program=name, arguments=arguments):
                # No display at all: help and version need none.
                env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
                result = run([self.program(name)] + arguments, env=env, timeout=30)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertRegex(result.stdout, output)

    def test_help_to_a_full_disk_is_an_error(self):
        for name in PROGRAMS:
            with self.subTest(program=name):
                with open("/dev/full", "w") as full:
                    result = run([self.program(name), "--help"], stdout=full, capture_output=False,
                                 stderr=subprocess.PIPE, timeout=30)
                self.assertNotEqual(result.returncode, 0)
                self.assertIn("standard output", result.stderr)

    def test_qt_options_do_not_act_on_the_windowed_programs(self):
        # -platform nonesuch made Qt abort; now the window opens on the platform
        # of the environment, and the program runs until it is stopped.
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        for name in ("korvalo-editor", "korvalo"):
            for arguments in (["-platform", "nonesuch"], ["-reverse"], ["--no-such-option"], ["--designer"]):
                with self.subTest(program=name, arguments=arguments):
                    process = subprocess.Popen([self.program(name)] + arguments, env=env,
                                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
                    try:
                        process.wait(timeout=3)
                        self.fail(f"{name} ended with status {process.returncode}: "
                                  f"{process.stderr.read().decode(errors='replace')}")
                    except subprocess.TimeoutExpired:
                        pass  # still showing its window
                    finally:
                        process.kill()
                        process.communicate()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    for option in ("--build", "--version", "--editor", "--game", "--tool"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
