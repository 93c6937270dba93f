#!/usr/bin/env python3
"""The install tree, the Debian packages and the command lines of the three programs.

Installs the build into a temporary prefix with `cmake --install`, makes the
Debian packages with cpack and unpacks them with dpkg-deb, and checks both
against one table of paths: the programs where Debian puts games, what each
links, the desktop entries and AppStream metainfo (validated), the icons, the
manual pages (compressed, warning-free, naming the installed files, and the
tool's page holding every command and option of its help), the shells'
completions, the changelog and the example level set. The packages are split
by audience (the desktop's with Qt, the tool's without, the service's with
lighttpd), each built with the distribution's hardening, each the same bytes
when made twice, and lintian judges each. The source package holds the
sources alone. The installed
editor's Test command is played through in a real X server: it starts the
installed game beside it. Each program is run with the options every one of
them knows.
"""

import argparse
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree

ARGS = None
PROGRAMS = ["korvalo-editor", "korvalo", "korvalo-level"]
ICON_SIZES = [16, 24, 32, 48, 64, 128, 256]
DOC = "share/doc/korvalo-level-editor"
TOOL_DOC = "share/doc/korvalo-level"
SERVICE_DOC = "share/doc/korvalo-server"
LEVELS = "share/korvalo/levels/five_by_five.txt"
PICTURES = ["colour_vision.png", "designer.png", "editor.png", "game.png", "sharing_page.png"]
COMPLETIONS = ["share/bash-completion/completions/korvalo-level",
               "share/zsh/vendor-completions/_korvalo-level",
               "share/fish/vendor_completions.d/korvalo-level.fish"]
# The package of each program, and the documentation folder of each package.
PACKAGES = {"korvalo-level-editor": DOC, "korvalo-level": TOOL_DOC, "korvalo-server": SERVICE_DOC}
CAMPAIGN = "share/korvalo/campaign"


def campaign_files():
    """The campaign's chapter files, as the repository holds them."""
    return sorted(os.listdir(os.path.join(ARGS.source, "data/campaign")))


def expected_paths():
    """Every path the install puts on a desktop, relative to the prefix."""
    icon = ARGS.editor_id  # the Korvalo icon is named by the editor's id
    return (
        [f"{ARGS.games_dir}/{program}" for program in PROGRAMS]
        + [f"share/applications/{app}.desktop" for app in (ARGS.game_id, ARGS.editor_id, ARGS.designer_id)]
        + [f"share/metainfo/{app}.metainfo.xml" for app in (ARGS.game_id, ARGS.editor_id)]
        + [f"share/icons/hicolor/{s}x{s}/apps/{icon}.png" for s in ICON_SIZES]
        + [f"share/icons/hicolor/scalable/apps/{icon}.svg"]
        + [f"share/man/man6/{program}.6.gz" for program in PROGRAMS]
        + [f"{doc}/{name}" for doc in (DOC, TOOL_DOC) for name in ("README.md.gz", "changelog.gz", "copyright")]
        + [f"{doc}/docs/{picture}" for doc in (DOC, TOOL_DOC) for picture in PICTURES]
        + COMPLETIONS
        + [LEVELS]
        + [f"{CAMPAIGN}/{name}" for name in campaign_files()]
    )


# What only the Debian packages hold, besides the table above: each package's
# own changelog and lintian overrides, and the service's package.
PACKAGE_ONLY_PATHS = (
    [f"{doc}/changelog.Debian.gz" for doc in PACKAGES.values()]
    + [f"share/lintian/overrides/{package}" for package in PACKAGES]
    + ["libexec/korvalo/korvz"] + [f"{SERVICE_DOC}/{name}" for name in ("changelog.gz", "copyright")])


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


def files_under(root):
    return sorted(os.path.relpath(os.path.join(folder, name), root)
                  for folder, _, names in os.walk(root) for name in names)


def rendered_page(path):
    """The manual page as man shows it, and what groff warned about."""
    env = dict(os.environ, MANWIDTH="200", MAN_KEEP_FORMATTING="0", LANG="C.UTF-8")
    result = run(["man", "--warnings", "-E", "UTF-8", "-l", path], env=env)
    return re.sub(".\b", "", result.stdout), result.stderr


def page_section(page, title):
    """The text of one section of a rendered manual page."""
    match = re.search(rf"^{title}\n(.*?)(?=^[A-Z][A-Z ]+\n)", page, re.MULTILINE | re.DOTALL)
    return match.group(1) if match else ""


class InstalledTree:
    """Checks shared by the install tree and the unpacked package."""

    def check_tree(self, prefix, installed_as, extra_paths=()):
        """installed_as: the prefix the files are meant for (/usr for the
        package, which is unpacked elsewhere)."""
        found = files_under(prefix)
        # The service brings its site and configuration too, which are its own tests' business.
        found = [path for path in found if not path.startswith(("share/korvalo/site/", "share/korvalo/server/",
                                                                  "lib/systemd/", "etc/", "libexec/korvalo/korvalo-"))]
        self.assertEqual(found, sorted(expected_paths() + list(extra_paths)))
        for size in ICON_SIZES:
            icon = os.path.join(prefix, f"share/icons/hicolor/{size}x{size}/apps/{ARGS.editor_id}.png")
            self.assertEqual(png_size(icon), (size, size))
        svg = ElementTree.parse(os.path.join(prefix, f"share/icons/hicolor/scalable/apps/{ARGS.editor_id}.svg"))
        self.assertEqual(svg.getroot().tag, "{http://www.w3.org/2000/svg}svg")
        self.assertEqual(svg.getroot().get("viewBox"), "0 0 256 256")
        self.check_programs(prefix)
        self.check_manual_pages(prefix, installed_as)
        with gzip.open(os.path.join(prefix, DOC, "changelog.gz"), "rt", encoding="utf-8") as changelog:
            text = changelog.read()
        self.assertEqual(text, open(os.path.join(ARGS.source, "CHANGELOG.md"), encoding="utf-8").read())
        self.assertIn(f"\n## {ARGS.version} ({ARGS.release_date})\n", text, "the changelog's newest release")
        self.assertEqual(open(os.path.join(prefix, LEVELS), encoding="utf-8").read(),
                         open(os.path.join(ARGS.source, "docs/five_by_five.txt"), encoding="utf-8").read())

    def check_programs(self, prefix):
        games = os.path.join(prefix, ARGS.games_dir)
        for program in PROGRAMS:
            with self.subTest(program=program):
                binary = os.path.join(games, program)
                self.assertTrue(os.access(binary, os.X_OK), program)
                dynamic = run(["readelf", "-d", binary]).stdout
                self.assertNotRegex(dynamic, r"\((RPATH|RUNPATH)\)", f"{program} carries a search path")
                libraries = run(["ldd", binary]).stdout
                if program == "korvalo-level":
                    # The tool draws with the standard library and zlib alone.
                    self.assertNotIn("libQt", libraries)
                    self.assertIn("libz.so", libraries)
                else:
                    self.assertIn("libQt6Widgets", libraries)
        result = run([os.path.join(games, "korvalo-level"), "--version"])
        self.assertEqual((result.returncode, result.stdout), (0, f"korvalo-level {ARGS.version}\n"))

    def check_manual_pages(self, prefix, installed_as):
        levels = os.path.join(installed_as, LEVELS)
        for program in PROGRAMS:
            doc = TOOL_DOC if program == "korvalo-level" else DOC
            readme = os.path.join(installed_as, doc, "README.md.gz")
            with self.subTest(page=program):
                path = os.path.join(prefix, f"share/man/man6/{program}.6.gz")
                with open(path, "rb") as compressed:
                    header = compressed.read(10)
                # gzip -9n: no file name and no time inside, the most compression.
                self.assertEqual(header[:4], b"\x1f\x8b\x08\x00")
                self.assertEqual(header[4:8], b"\x00\x00\x00\x00")
                self.assertEqual(header[8], 2)
                page, warnings = rendered_page(path)
                self.assertEqual(warnings, "")
                self.assertRegex(page, rf"^{program.upper()}\(6\)")
                self.assertIn(f"Korvalo {ARGS.version}", page)
                self.assertTrue(readme in page, f"the page does not name the installed {readme}")
                self.assertTrue(levels in page, f"the page does not name the example set {levels}")
        self.check_tool_page_against_help(os.path.join(prefix, "share/man/man6/korvalo-level.6.gz"))
        for program, keys in (("korvalo", ["Ctrl+Z", "Page Up", "Escape"]),
                              ("korvalo-editor", ["Ctrl+T", "Ctrl+Alt+O", "Ctrl+Shift+R", "Ctrl+G"])):
            page, _ = rendered_page(os.path.join(prefix, f"share/man/man6/{program}.6.gz"))
            for key in keys:
                self.assertIn(key, page_section(page, "KEYS") + page_section(page, "DESIGNER MODE"))

    def check_tool_page_against_help(self, path):
        """Every command of the tool, and every option on its usage lines,
        stands in the page's SYNOPSIS; each command has its own entry."""
        page, _ = rendered_page(path)
        synopsis = page_section(page, "SYNOPSIS")
        commands = page_section(page, "COMMANDS")
        general = run([ARGS.tool, "--help"]).stdout
        names = re.findall(r"^(?:Usage:)? +korvalo-level ([a-z-]+) ", general, re.MULTILINE)
        self.assertGreaterEqual(len(names), 6, general)
        for name in names:
            with self.subTest(command=name):
                self.assertRegex(synopsis, rf"korvalo-level {name}\b")
                self.assertRegex(commands, rf"(?m)^ +{name}\b")
                usage = run([ARGS.tool, name, "--help"]).stdout.split("\n\n")[0]
                for option in set(re.findall(r"--[a-z-]+", usage)):
                    self.assertIn(option, synopsis, f"{name}'s {option}")
        for section in ("EXIT STATUS", "EXAMPLES", "INPUT AND OUTPUT"):
            self.assertNotEqual(page_section(page, section), "", section)

    def check_desktop_files(self, prefix):
        entries = {
            # Each with a window class of its own, which the editor gives its windows.
            ARGS.editor_id: ["Name=Korvalo Level Editor\n", "\nExec=korvalo-editor\n",
                             "StartupWMClass=korvalo-editor\n"],
            ARGS.designer_id: ["Name=Korvalo Level Designer\n", "\nExec=korvalo-editor --designer %f\n",
                               "\nName[de]=Korvalo-Leveldesigner\n", "\nComment[de]=",
                               "StartupWMClass=korvalo-designer\n"],
            # A file given to the game is a level set; without one it makes a level.
            ARGS.game_id: ["Name=Korvalo\n", "\nExec=korvalo %f\n", "StartupWMClass=korvalo\n",
                           "\nGenericName[de]=", "\nComment[de]="],
        }
        for app, parts in entries.items():
            with self.subTest(entry=app):
                desktop = os.path.join(prefix, f"share/applications/{app}.desktop")
                result = run(["desktop-file-validate", desktop])
                self.assertEqual((result.returncode, result.stdout + result.stderr), (0, ""))
                entry = open(desktop, encoding="utf-8").read()
                for part in parts + ["Categories=Game;LogicGame;\n", f"Icon={ARGS.editor_id}\n"]:
                    self.assertIn(part, entry)
        screenshots = {ARGS.editor_id: ("editor.png", "korvalo-editor"), ARGS.game_id: ("game.png", "korvalo")}
        for app, (screenshot, binary) in screenshots.items():
            with self.subTest(metainfo=app):
                metainfo = os.path.join(prefix, f"share/metainfo/{app}.metainfo.xml")
                result = run(["appstreamcli", "validate", "--no-net", metainfo])
                self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
                text = open(metainfo, encoding="utf-8").read()
                for part in (f"<id>{app}</id>", f"<launchable type=\"desktop-id\">{app}.desktop</launchable>",
                             "<project_license>MIT</project_license>", f"<binary>{binary}</binary>",
                             f'<release version="{ARGS.version}" date="{ARGS.release_date}"/>',
                             "<content_rating", '<summary xml:lang="de">', '<p xml:lang="de">',
                             '<caption xml:lang="de">'):
                    self.assertIn(part, text)
                self.assertRegex(text, rf"<image>https://[^<]+/{screenshot}</image>")
                self.assertRegex(text, r'<url type="homepage">https://')


class InstallTest(unittest.TestCase, InstalledTree):
    def test_install_puts_every_file_in_its_place(self):
        with tempfile.TemporaryDirectory() as prefix:
            result = run(["cmake", "--install", ARGS.build, "--prefix", prefix])
            self.assertEqual(result.returncode, 0, result.stderr)
            self.check_tree(prefix, prefix)
            self.check_desktop_files(prefix)

    def test_the_installed_completions_work_in_each_shell(self):
        with tempfile.TemporaryDirectory() as prefix:
            result = run(["cmake", "--install", ARGS.build, "--prefix", prefix])
            self.assertEqual(result.returncode, 0, result.stderr)
            bash, zsh, fish = (os.path.join(prefix, path) for path in COMPLETIONS)
            asked = run(["bash", "--norc", "-c", f"source '{bash}'; COMP_WORDS=(korvalo-level hardest --goal ''); "
                         "COMP_CWORD=3; _korvalo_level; echo ${COMPREPLY[@]}"])
            self.assertEqual((asked.stdout, asked.stderr), ("moves effort\n", ""))
            if shutil.which("fish"):
                asked = run(["fish", "--no-config", "-c", f"source '{fish}'; complete -C 'korvalo-level che'"])
                self.assertEqual(asked.stdout.split("\t")[0], "check-set")
            if shutil.which("zsh"):
                self.assertEqual(run(["zsh", "-n", zsh]).returncode, 0)

    def test_the_installed_editor_tests_its_level_in_the_installed_game(self):
        if not all(shutil.which(tool) for tool in ("Xvfb", "openbox", "xdotool", "import")):
            self.skipTest("no X server for the editor here")
        with tempfile.TemporaryDirectory() as prefix:
            result = run(["cmake", "--install", ARGS.build, "--prefix", prefix])
            self.assertEqual(result.returncode, 0, result.stderr)
            # Only the folder beside the editor holds a game: none on the search path.
            env = dict(os.environ, PATH="/usr/sbin:/usr/bin:/sbin:/bin")
            editor = os.path.join(prefix, ARGS.games_dir, "korvalo-editor")
            result = run(["bash", ARGS.e2e, sys.executable, editor, "GameLaunchCase"], env=env, timeout=600)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            self.assertRegex(result.stderr, r"\nRan [1-9][0-9]* tests? in .*\n\nOK\n")


# package: (libraries or packages its Depends must name, ones it must not,
# its section).
PACKAGE_FIELDS = {
    "korvalo-level-editor": (["libc6", "libqt6widgets6", "libqt6gui6", "libqt6core6", "libstdc++6"], [], "games"),
    "korvalo-level": (["libc6", "libstdc++6", "zlib1g"], ["libqt6"], "games"),
    "korvalo-server": (["lighttpd", "lighttpd-modules-lua", "lighttpd-mod-deflate", "libfcgi0ldbl",
                        "libsqlite3-0", "libpq5", "libc6"], ["libqt6"], "web"),
}


def make_packages(folder):
    result = run(["cpack", "-G", "DEB", "-B", folder, "--config", os.path.join(ARGS.build, "CPackConfig.cmake")],
                 env={k: v for k, v in os.environ.items() if k != "SOURCE_DATE_EPOCH"})
    return result, sorted(name for name in os.listdir(folder) if name.endswith(".deb"))


class PackageTest(unittest.TestCase, InstalledTree):
    def test_debian_packages_hold_every_file_and_pass_lintian(self):
        with tempfile.TemporaryDirectory() as work:
            result, packages = make_packages(work)
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            self.assertEqual(packages, sorted(f"{name}_{ARGS.version}-1_amd64.deb" for name in PACKAGES))
            unpacked = os.path.join(work, "root")
            for name in packages:
                package = os.path.join(work, name)
                with self.subTest(package=name):
                    self.check_fields(package)
                    result = run(["dpkg-deb", "-x", package, unpacked])
                    self.assertEqual(result.returncode, 0, result.stderr)
            self.check_tree(os.path.join(unpacked, "usr"), "/usr", PACKAGE_ONLY_PATHS)
            self.check_service(unpacked, os.path.join(work, "korvalo-server_" + ARGS.version + "-1_amd64.deb"))
            self.check_desktop_files(os.path.join(unpacked, "usr"))
            self.check_hardening(os.path.join(unpacked, "usr"))
            for name in packages:
                with self.subTest(lintian=name):
                    self.check_lintian(os.path.join(work, name))

    def check_fields(self, package):
        fields = {field: run(["dpkg-deb", "-f", package, field]).stdout.strip()
                  for field in ("Package", "Depends", "Recommends", "Section", "Version", "Description", "Homepage")}
        needed, refused, section = PACKAGE_FIELDS[fields["Package"]]
        for name in needed:
            self.assertIn(name, fields["Depends"])
        for name in refused:
            self.assertNotIn(name, fields["Depends"])
        self.assertEqual((fields["Section"], fields["Version"]), (section, f"{ARGS.version}-1"))
        self.assertLessEqual(max(len(line) for line in fields["Description"].splitlines()), 80)
        self.assertTrue(fields["Homepage"].startswith("https://"), fields["Homepage"])
        if fields["Package"] == "korvalo-level-editor":
            # Qt's own dialogs in the user's language.
            self.assertEqual(fields["Recommends"], "qt6-translations-l10n")

    def check_service(self, root, package):
        """The service's own files, beside korvz: lighttpd's configuration and
        scripts, the site, the systemd unit and the settings, which stay the
        administrator's (a conffile); each names the installed paths only."""
        for path in ("usr/libexec/korvalo/korvalo-site", "usr/share/korvalo/server/lighttpd.conf",
                     "usr/share/korvalo/server/site_headers.lua", "usr/share/korvalo/server/admission.lua",
                     "usr/share/korvalo/server/requests.lua", "usr/share/korvalo/site/index.html",
                     "usr/lib/systemd/system/korvalo-site.service", "etc/korvalo/korvalo-site.env"):
            with self.subTest(service=path):
                self.assertTrue(os.path.isfile(os.path.join(root, path)), path)
        for path in ("usr/libexec/korvalo/korvalo-site", "usr/share/korvalo/server/lighttpd.conf",
                     "usr/lib/systemd/system/korvalo-site.service"):
            text = open(os.path.join(root, path), encoding="utf-8").read()
            self.assertNotIn(ARGS.build, text, path)
            self.assertNotIn(ARGS.source, text, path)
        with tempfile.TemporaryDirectory() as control:
            self.assertEqual(run(["dpkg-deb", "-e", package, control]).returncode, 0)
            conffiles = open(os.path.join(control, "conffiles"), encoding="utf-8").read()
        self.assertEqual(conffiles, "/etc/korvalo/korvalo-site.env\n")

    def check_hardening(self, usr):
        """Each program as dpkg-buildflags would build it: position-independent,
        relocations read-only and bound at start, fortified calls, no
        executable stack."""
        for program in [os.path.join(ARGS.games_dir, p) for p in PROGRAMS] + ["libexec/korvalo/korvz"]:
            with self.subTest(hardening=program):
                path = os.path.join(usr, program)
                header = run(["readelf", "-h", path]).stdout
                dynamic = run(["readelf", "-d", path]).stdout
                segments = run(["readelf", "-lW", path]).stdout
                symbols = run(["readelf", "--dyn-syms", "-W", path]).stdout
                self.assertRegex(header, r"Type:\s+DYN")
                self.assertRegex(dynamic, r"\(FLAGS_1\).*\bPIE\b")
                self.assertRegex(dynamic, r"\(FLAGS\).*\bBIND_NOW\b|\(FLAGS_1\).*\bNOW\b")
                self.assertIn("GNU_RELRO", segments)
                self.assertRegex(segments, r"GNU_STACK.* RW ")
                # The stack protector's check, or fortified calls; whether every
                # call that can be fortified is, lintian tells.
                self.assertRegex(symbols, r"__\w+_chk(_fail)?\b")

    def test_two_builds_of_the_packages_are_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
            made = make_packages(first)
            time.sleep(1.5)  # a second later: no time of the build may reach the files
            again = make_packages(second)
            self.assertEqual(made[1], again[1])
            for name in made[1]:
                with self.subTest(package=name):
                    with open(os.path.join(first, name), "rb") as a, open(os.path.join(second, name), "rb") as b:
                        self.assertTrue(a.read() == b.read(), f"{name} differs between two builds")

    def test_the_source_package_holds_the_sources_alone(self):
        with tempfile.TemporaryDirectory() as work:
            result = run(["cpack", "-B", work, "--config", os.path.join(ARGS.build, "CPackSourceConfig.cmake")])
            self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
            archive = os.path.join(work, f"korvalo-level-editor-{ARGS.version}.tar.gz")
            names = run(["tar", "-tzf", archive]).stdout.splitlines()
            top = f"korvalo-level-editor-{ARGS.version}/"
            self.assertIn(top + "CMakeLists.txt", names)
            self.assertIn(top + "cli/command_table.h", names)
            strays = [n for n in names if re.match(re.escape(top) + r"(build[^/]*/|\.git)", n)]
            self.assertEqual(strays, [])
            self.assertLess(os.path.getsize(archive), 20_000_000)

    def check_lintian(self, package):
        result = run(["lintian", "-EviIL", "+pedantic", package], timeout=600)
        findings = [line for line in result.stdout.splitlines()
                    if re.match(r"[EW]: ", line) or re.match(r"[EWIXP]: .*hardening-", line)]
        self.assertEqual(findings, [], result.stdout + result.stderr)
        self.assertNotIn(result.returncode, (1, 2), result.stdout + result.stderr)


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
    for option in ("--build", "--source", "--version", "--release-date", "--editor", "--game", "--tool",
                   "--games-dir", "--game-id", "--editor-id", "--designer-id", "--e2e"):
        parser.add_argument(option, required=True)
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest)
