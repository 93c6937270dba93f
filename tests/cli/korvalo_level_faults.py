#!/usr/bin/env python3
"""korvalo-level run as a user runs it, in faulty surroundings: full disks, file
size limits, special files as targets, closed, full and broken standard
streams, a folder as standard input, over-long lines and control bytes. Each
case states the exit status, the messages and the files afterwards. The long
searches (generate, hardest) are also stopped with a real Ctrl+C (SIGINT),
with standard error on a terminal (a pseudo-terminal) and not.

Usage: korvalo_level_faults.py PATH-TO-korvalo-level
"""

import hashlib
import os
import pty
import re
import resource
import select
import signal
import socket
import stat
import subprocess
import sys
import tempfile
import termios
import time
import unicodedata

TOOL = os.path.abspath(sys.argv[1])
CODE = "3111221000110fbe5"
ANSWER = b"3111221000110fbe5\tsolvable\t2\tNW\n"
INVALID = "3003122221100fbe5"
EARLIER = b"earlier picture, kept byte for byte\n"
PNG = "png"  # a regular file holding a PNG picture
LIMIT = 4096  # the longest line the tool reads


# ---------------------------------------------------------------------------
# The state of a folder, as a comparable value.

def describe(path):
    """A value for what the path is: a folder's entries, a link, a special
    file, or a regular file's bytes (PNG for a picture)."""
    mode = os.lstat(path).st_mode
    if stat.S_ISLNK(mode):
        return ("link", os.readlink(path))
    if stat.S_ISDIR(mode):
        return {name: describe(os.path.join(path, name)) for name in sorted(os.listdir(path))}
    if stat.S_ISFIFO(mode):
        return "fifo"
    if stat.S_ISSOCK(mode):
        return "socket"
    if stat.S_ISCHR(mode):
        return "character device"
    with open(path, "rb") as f:
        contents = f.read()
    if contents.startswith(b"\x89PNG\r\n\x1a\n"):
        return PNG
    if len(contents) > 1000:
        return (len(contents), hashlib.sha256(contents).hexdigest())
    return contents


# ---------------------------------------------------------------------------
# Surroundings the cases build in their own folder.

def earlier(name="old.png"):
    def make(folder):
        write(os.path.join(folder, name), EARLIER)
    return make


def write(path, contents):
    with open(path, "wb") as f:
        f.write(contents)


READERS = []  # the read ends of the FIFOs, open until the end


def fifo(folder):
    """A FIFO with a reader already there, whose pipe holds what is written."""
    path = os.path.join(folder, "fifo.png")
    os.mkfifo(path)
    READERS.append(os.open(path, os.O_RDONLY | os.O_NONBLOCK))


def folder_png(folder):
    os.mkdir(os.path.join(folder, "dir.png"))
    write(os.path.join(folder, "dir.png", "inside"), EARLIER)


def unix_socket(folder):
    s = socket.socket(socket.AF_UNIX)
    s.bind(os.path.join(folder, "sock.png"))
    s.close()


def null_device(folder, name):
    """A null device of our own: a tool that replaced it would not touch the
    machine's /dev/null."""
    try:
        os.mknod(os.path.join(folder, name), stat.S_IFCHR | 0o666, os.makedev(1, 3))
    except OSError as error:
        raise Skip(f"cannot make a device: {error}")


def device(folder):
    null_device(folder, "null.png")
    os.symlink("null.png", os.path.join(folder, "link.png"))


def link_to_earlier(folder):
    earlier("real.png")(folder)
    os.symlink("real.png", os.path.join(folder, "link.png"))


def full_disk(folder):
    """A small tmpfs mounted at disk/, holding old.png and an empty
    answers.txt, filled to the last byte."""
    disk = os.path.join(folder, "disk")
    os.mkdir(disk)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk],
                      stderr=subprocess.DEVNULL).returncode != 0:
        raise Skip("cannot mount a tmpfs here (not root?)")
    MOUNTS.append(disk)
    write(os.path.join(disk, "old.png"), EARLIER)
    write(os.path.join(disk, "answers.txt"), b"")
    filler = os.open(os.path.join(disk, "filler"), os.O_WRONLY | os.O_CREAT)
    try:
        while os.write(filler, b"f" * 512) > 0:
            pass
    except OSError:
        pass
    os.close(filler)


class Skip(Exception):
    pass


MOUNTS = []
SAME = "the same as before the run"


# ---------------------------------------------------------------------------
# Running the tool.

class Case:
    def __init__(self, name, args, status, out=b"", err=None, setup=None, stdin=b"",
                 stdout="file", size_limit=None, files=None, memory_limit=None):
        self.name = name
        self.args = args
        self.status = status      # exit status, or -signal
        self.out = out            # bytes, or a function of them returning a failure or None
        self.err = err            # regular expression the whole standard error matches
        self.setup = setup
        self.stdin = stdin        # bytes, a function writing them to a path, "folder", "closed"
        self.stdout = stdout      # "file", "full" (/dev/full), "closed", or a path in the folder
        self.size_limit = size_limit
        self.memory_limit = memory_limit  # bytes of address space
        self.files = files if files is not None else {}  # the folder afterwards, or SAME


def run(case, folder):
    """Runs the case in folder: (status, stdout, stderr, largest resident size in KB)."""
    stdin_path = os.path.join(folder, "..", case.name + ".in")
    stdout_path = os.path.join(folder, "..", case.name + ".out")
    stderr_path = os.path.join(folder, "..", case.name + ".err")
    if isinstance(case.stdin, bytes) or callable(case.stdin):
        if callable(case.stdin):
            case.stdin(stdin_path)
        else:
            write(stdin_path, case.stdin)
        stdin = os.open(stdin_path, os.O_RDONLY)
    elif case.stdin == "folder":
        stdin = os.open(folder, os.O_RDONLY | os.O_DIRECTORY)
    else:
        stdin = os.open(os.devnull, os.O_RDONLY)  # closed in the child
    if case.stdout == "file":
        stdout = os.open(stdout_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
    elif case.stdout == "full":
        stdout = os.open("/dev/full", os.O_WRONLY)
    elif case.stdout == "closed":
        stdout = os.open(os.devnull, os.O_WRONLY)  # closed in the child
    else:
        stdout_path = os.path.join(folder, case.stdout)
        stdout = os.open(stdout_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC)
    stderr = os.open(stderr_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC)

    def in_child():
        if case.size_limit is not None:
            resource.setrlimit(resource.RLIMIT_FSIZE, (case.size_limit, case.size_limit))
        if case.memory_limit is not None:
            resource.setrlimit(resource.RLIMIT_AS, (case.memory_limit, case.memory_limit))
        if case.stdin == "closed":
            os.close(0)
        if case.stdout == "closed":
            os.close(1)

    child = subprocess.Popen([TOOL] + case.args, stdin=stdin, stdout=stdout, stderr=stderr,
                             cwd=folder, preexec_fn=in_child)
    for fd in (stdin, stdout, stderr):
        os.close(fd)
    _, wait_status, usage = os.wait4(child.pid, 0)
    child.returncode = 0  # reaped above
    status = os.waitstatus_to_exitcode(wait_status)
    out = b""
    if case.stdout == "file":
        with open(stdout_path, "rb") as f:
            out = f.read()
    with open(stderr_path, "rb") as f:
        err = f.read()
    return status, out, err, usage.ru_maxrss


def check(case, result, folder, before):
    """The failures of one case, as lines; before is the folder before the run."""
    status, out, err, _ = result
    failures = []
    if status != case.status:
        failures.append(f"exit status {status}, expected {case.status}")
    if callable(case.out):
        failure = case.out(out)
        if failure:
            failures.append(failure)
    elif out != case.out:
        failures.append(f"standard output {out[:300]!r}, expected {case.out[:300]!r}")
    if case.err is not None and not re.fullmatch(case.err.encode(), err, re.DOTALL):
        failures.append(f"standard error {err[:500]!r} does not match {case.err!r}")
    if unsafe_for_a_terminal(err):
        failures.append(f"standard error {unsafe_for_a_terminal(err)}")
    state = describe(folder)
    expected = before if case.files is SAME else case.files
    if state != expected:
        failures.append(f"files afterwards {state!r},\n    expected {expected!r}")
    return failures


# ---------------------------------------------------------------------------
# The cases.

def message(text):
    """One whole line of standard error, as a regular expression."""
    return re.escape(text) + r"\n"


def reason(text):
    """A line of standard error that starts with the text, then gives a reason."""
    return re.escape(text) + r"[^\n]+\n"


def usage_error(command=None):
    """The two lines of a wrong command line: what was wrong, then where to read more."""
    named = "korvalo-level" + (" " + command if command else "")
    return re.escape(named + ": ") + r"[^\n]+\n" + re.escape(f"Try '{named} --help' for more information.\n")


USAGE_ERROR = usage_error("render")


# The characters that steer bidirectional text.
BIDI_CONTROLS = "\u061c\u200e\u200f\u202a\u202b\u202c\u202d\u202e\u2066\u2067\u2068\u2069"


def unsafe_for_a_terminal(data):
    """Why the bytes could act on a terminal: not UTF-8, or a control
    character other than tab and line feed; None when they are safe."""
    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        return f"is not valid UTF-8: {error}"
    for c in text:
        if (unicodedata.category(c) == "Cc" and c not in "\t\n") or c in BIDI_CONTROLS:
            return f"carries the control character U+{ord(c):04X}"
    return None


def only_printable(out):
    if not all(32 <= b < 127 or b in b"\t\n" for b in out):
        return "standard output carries a control byte"
    return None


# Standard input is a level set, whose lines hold one code each: the code
# followed by escapes is invalid there; as an argument it is still read.
CONTROL_LINES = b"\x1b]0;owned\x07\n" + CODE.encode() + b"\x1b[2J\x1b[H\n\x9b31m\r\n"
CONTROL_OUT = (b"\\x1b]0;owned\\x07\tinvalid\t-\t-\n" +
               CODE.encode() + b"\\x1b[2J\\x1b[H\tinvalid\t-\t-\n" +
               b"\\x9b31m\tinvalid\t-\t-\n")

def huge_line(path):
    """32 MB on one line, then two short ones; written in pieces, since
    whatever this driver holds is counted in the tool's resident size too (it
    is forked from here)."""
    with open(path, "wb") as f:
        for _ in range(32):
            f.write(b"3" * (1024 * 1024))
        f.write(b"\n" + CODE.encode() + b"\r\n" + INVALID.encode() + b"\n")


HUGE_OUT = b"3" * 32 + b"...\tinvalid\t-\t-\n" + ANSWER + INVALID.encode() + b"\tinvalid\t-\t-\n"

ESCAPES = (b"\x1b" * 4000 + b"\n") * 256


def bounded_output(out):
    if len(out) > 5 * len(ESCAPES):
        return f"{len(out)} bytes of output for {len(ESCAPES)} of input"
    return only_printable(out)


MANY_CODES = (CODE.encode() + b"\n") * 20000

# Three levels pinned for their seed, as printed and as a set.
SMALL = ["--size", "5", "--moves", "12-20", "--count", "3", "--seed", "2024"]
SMALL_CODES = [b"5224030241323b6aa27536645", b"53334120121135b33aa8a9c55", b"5140242433044c695ad31bc51"]
SMALL_LINES = (SMALL_CODES[0] + b"\tsolvable\t12\tEEWNENNNESES\n" +
               SMALL_CODES[1] + b"\tsolvable\t16\tSWSEENWSWNWNNWWE\n" +
               SMALL_CODES[2] + b"\tsolvable\t20\tNESSSWNSWNWNESSWESWS\n")
SMALL_SET = (b"# title: generate --size 5 --moves 12-20 --count 3 --seed 2024\n" +
             b"".join(code + b"\n" for code in SMALL_CODES))

SET_TEXT = (b"\xef\xbb\xbf# title: Set\r\n\r\n# comment\r\n" + CODE.encode() + b"\tFirst\r\n" +
            b"bogus\r\n" + INVALID.encode() + b"\r\n")


def set_file(folder):
    write(os.path.join(folder, "set.txt"), SET_TEXT)


def many_levels(path):
    """A set that starts with two problems, then 300,000 different levels whose
    balls stand on their holes (each answered at once): more than 15 MB of
    address space holds."""
    with open(path, "w") as f:
        f.write("bogus\n" + CODE + "\n" + CODE + "\n")
        walls = os.urandom(12 * 300000).hex()
        f.write("".join("7001122001122" + walls[24 * i:24 * i + 24] + "\n" for i in range(300000)))


def dash_file(folder):
    """A set whose name starts with a dash, as only "--" lets it be named."""
    write(os.path.join(folder, "-x.txt"), (CODE + "\n").encode())


UTF8_FOLDER = "d\u00e9"  # "dé", a name in any language
UTF8_SET = UTF8_FOLDER + "/niveaux_\u00e9.txt"


def utf8_set(folder):
    os.mkdir(os.path.join(folder, UTF8_FOLDER))
    write(os.path.join(folder, UTF8_SET), (CODE + "\nbogus\n").encode())

CASES = [
    # render: the file is replaced as a whole or not at all.
    Case("RenderNew", ["render", CODE, "level.png"], 0, files={"level.png": PNG}),
    Case("RenderOverEarlier", ["render", CODE, "old.png"], 0, setup=earlier(),
         files={"old.png": PNG}),
    Case("RenderUpperCaseName", ["render", CODE, "LEVEL.PNG"], 0, files={"LEVEL.PNG": PNG}),
    Case("RenderSizeLimitKeepsEarlier", ["render", CODE, "old.png"], 1, setup=earlier(),
         size_limit=2048, err=message("korvalo-level render: cannot write 'old.png': File too large"),
         files={"old.png": EARLIER}),
    Case("RenderSizeLimitWritesNothing", ["render", CODE, "new.png"], 1, size_limit=2048,
         err=message("korvalo-level render: cannot write 'new.png': File too large"), files={}),
    Case("RenderFullDiskKeepsEarlier", ["render", CODE, "disk/old.png"], 1, setup=full_disk,
         err=message("korvalo-level render: cannot write 'disk/old.png': No space left on device"),
         files=SAME),
    # Devices and FIFOs are written in place, as the shell's > does.
    Case("RenderOntoFifo", ["render", CODE, "fifo.png"], 0, setup=fifo, err="",
         files={"fifo.png": "fifo"}),
    Case("RenderOntoFolder", ["render", CODE, "dir.png"], 1, setup=folder_png,
         err=message("korvalo-level render: 'dir.png' is not a regular file; it is left alone"),
         files={"dir.png": {"inside": EARLIER}}),
    Case("RenderOntoSocket", ["render", CODE, "sock.png"], 1, setup=unix_socket,
         err=message("korvalo-level render: 'sock.png' is not a regular file; it is left alone"),
         files={"sock.png": "socket"}),
    Case("RenderOntoDevice", ["render", CODE, "null.png"], 0, setup=device, err="",
         files={"null.png": "character device", "link.png": ("link", "null.png")}),
    Case("RenderThroughLinkToDevice", ["render", CODE, "link.png"], 0, setup=device, err="",
         files={"null.png": "character device", "link.png": ("link", "null.png")}),
    Case("RenderThroughLinkToFile", ["render", CODE, "link.png"], 0, setup=link_to_earlier,
         files={"real.png": PNG, "link.png": ("link", "real.png")}),
    Case("RenderIntoMissingFolder", ["render", CODE, "missing/level.png"], 1,
         err=message("korvalo-level render: cannot write 'missing/level.png': No such file or directory"),
         files={}),
    # A device takes the picture whatever its name, as /dev/stdout does.
    Case("RenderDeviceNotNamedPng", ["render", CODE, "null"], 0, err="",
         setup=lambda folder: null_device(folder, "null"), files={"null": "character device"}),
    Case("RenderSvgName", ["render", CODE, "level.svg"], 2, err=USAGE_ERROR),
    Case("RenderHelpWithMore", ["render", "--help", "x"], 2, err=USAGE_ERROR),
    Case("RenderInvalidCodeEscaped", ["render", "9\x1b[2J", "level.png"], 1,
         err=reason("korvalo-level render: invalid code '9\\x1b[2J': "), files={}),
    Case("RenderWithStandardOutputClosed", ["render", CODE, "level.png"], 0, stdout="closed",
         err="", files={"level.png": PNG}),
    Case("RenderHelpToFullOutput", ["render", "--help"], 3, stdout="full",
         err=message("korvalo-level: cannot write to standard output: No space left on device")),

    # solve: what it prints is checked.
    Case("SolveToFullOutput", ["solve", CODE, CODE], 3, stdout="full",
         err=message("korvalo-level: cannot write to standard output: No space left on device")),
    Case("SolveWithOutputClosed", ["solve", CODE], 3, stdout="closed",
         err=message("korvalo-level: cannot write to standard output: Bad file descriptor")),
    Case("HelpToFullOutput", ["--help"], 3, stdout="full",
         err=message("korvalo-level: cannot write to standard output: No space left on device")),
    Case("SolveOutputOverSizeLimit", ["solve"], 3, stdin=MANY_CODES, stdout="answers.txt",
         size_limit=100, err=message("korvalo-level: cannot write to standard output: File too large"),
         files={"answers.txt": (ANSWER * 4)[:100]}),
    Case("SolveOutputOntoFullDisk", ["solve"], 3, stdin=MANY_CODES, setup=full_disk,
         stdout="disk/answers.txt",
         err=message("korvalo-level: cannot write to standard output: No space left on device"),
         files=SAME),

    # solve: what it reads is checked and bounded.
    Case("SolveFromFolder", ["solve"], 3, stdin="folder",
         err=message("korvalo-level solve: cannot read standard input: Is a directory")),
    Case("SolveFromClosedInput", ["solve"], 3, stdin="closed",
         err=message("korvalo-level solve: cannot read standard input: Bad file descriptor")),
    Case("SolveShortLines", ["solve"], 0, stdin=(CODE + "\n").encode(), out=ANSWER),
    Case("SolveHugeLineThenValid", ["solve"], 1, stdin=huge_line, out=HUGE_OUT,
         err=message("korvalo-level: -:1: invalid code '" + "3" * 32 + "...': line too long") +
         reason("korvalo-level: -:3: invalid code '" + INVALID + "': ")),
    Case("SolveControlBytes", ["solve"], 1, stdin=CONTROL_LINES, out=CONTROL_OUT,
         err=reason("korvalo-level: -:1: invalid code '\\x1b]0;owned\\x07': ") +
         reason("korvalo-level: -:2: invalid code '" + CODE + "\\x1b[2J\\x1b[H': ") +
         reason("korvalo-level: -:3: invalid code '\\x9b31m': ")),
    Case("SolveControlBytesInArgument", ["solve", CODE + "\x1b[2J"], 0,
         out=CODE.encode() + b"\\x1b[2J\tsolvable\t2\tNW\n", err=""),
    Case("SolveManyEscapes", ["solve"], 1, stdin=ESCAPES, out=bounded_output),

    # Level sets read from files and standard input.
    Case("SolveSetFile", ["solve", "set.txt", CODE], 1, setup=set_file,
         out=ANSWER + b"bogus\tinvalid\t-\t-\n" + INVALID.encode() + b"\tinvalid\t-\t-\n" + ANSWER,
         err=reason("korvalo-level: set.txt:5: invalid code 'bogus': ") +
         reason("korvalo-level: set.txt:6: invalid code '" + INVALID + "': "),
         files=SAME),
    Case("CanonSetOnInput", ["canon"], 1, stdin=SET_TEXT,
         out=CODE.encode() + b"\t3110110221221fbe5\nbogus\tinvalid\n" + INVALID.encode() + b"\tinvalid\n",
         err=reason("korvalo-level: -:5: invalid code 'bogus': ") +
         reason("korvalo-level: -:6: invalid code '" + INVALID + "': ")),
    Case("CanonFromFolder", ["canon"], 3, stdin="folder",
         err=message("korvalo-level canon: cannot read standard input: Is a directory")),
    Case("SolveFolderArgument", ["solve", "dir.png", CODE], 1, setup=folder_png, out=ANSWER,
         err=message("korvalo-level solve: cannot read 'dir.png': Is a directory"), files=SAME),
    Case("CheckSetProblems", ["check-set", "set.txt"], 1, setup=set_file,
         out=b"korvalo-level: set.txt:5: invalid level 'bogus': the first character must be the board size 3, 5 or 7\n"
             b"korvalo-level: set.txt:6: invalid level '3003122221100fbe5': character 3 is not a coordinate from 0 to 2\n",
         err="", files=SAME),
    Case("CheckSetGood", ["check-set"], 0, stdin=b"# title: Good\n" + CODE.encode() + b"\n", err=""),
    Case("CheckSetOfFolder", ["check-set", "dir.png"], 1, setup=folder_png,
         err=message("korvalo-level check-set: cannot read 'dir.png': Is a directory"), files=SAME),
    Case("CheckSetFromFolder", ["check-set"], 3, stdin="folder",
         err=message("korvalo-level check-set: cannot read standard input: Is a directory")),
    # Out of memory, check-set keeps what it found, and says where it stopped.
    Case("CheckSetOutOfMemory", ["check-set"], 3, stdin=many_levels, memory_limit=15 << 20,
         out=b"korvalo-level: -:1: invalid level 'bogus': the first character must be the board size 3, 5 or 7\n"
             b"korvalo-level: -:3: " + CODE.encode() + b" is the same level as line 2, up to turns and mirrors\n",
         err=r"korvalo-level check-set: out of memory after line [0-9]+: stopped there; "
             r"the problems shown are those up to it\n"),

    # Command-line conventions: "-" is standard input, "--" ends the options,
    # a wrong command line gives two lines, not the help.
    Case("SolveDashReadsInput", ["solve", "-"], 0, stdin=(CODE + "\n").encode(), out=ANSWER, err=""),
    Case("SolveCodesAroundInput", ["solve", CODE, "-", CODE], 1, stdin=b"bogus\n",
         out=ANSWER + b"bogus\tinvalid\t-\t-\n" + ANSWER,
         err=reason("korvalo-level: -:1: invalid code 'bogus': ")),
    Case("CheckSetDashReadsInput", ["check-set", "-"], 1, stdin=(INVALID + "\n").encode(),
         out=b"korvalo-level: -:1: invalid level '3003122221100fbe5': character 3 is not a coordinate from 0 to 2\n",
         err=""),
    Case("SolveAfterDoubleDash", ["solve", "--", CODE], 0, out=ANSWER, err=""),
    Case("SolveFileNamedWithADash", ["solve", "--", "-x.txt"], 0, setup=dash_file, out=ANSWER,
         err="", files=SAME),
    Case("CheckSetFileNamedWithADash", ["check-set", "--", "-x.txt"], 0, setup=dash_file, err="",
         files=SAME),
    Case("SolveDashNameWithoutDoubleDash", ["solve", "-x.txt"], 2, setup=dash_file,
         err=message("korvalo-level solve: unknown option '-x.txt'") +
         message("Try 'korvalo-level solve --help' for more information."), files=SAME),
    Case("RenderPictureNamedWithADash", ["render", "--", CODE, "-x.png"], 0, err="",
         files={"-x.png": PNG}),
    Case("CheckSetUnknownOption", ["check-set", "--fast"], 2, err=usage_error("check-set")),
    Case("GenerateMissingOption", ["generate", "--size", "5"], 2,
         err=message("korvalo-level generate: --moves is needed") +
         message("Try 'korvalo-level generate --help' for more information.")),
    Case("NoCommand", [], 2,
         err=message("korvalo-level: no command given") +
         message("Try 'korvalo-level --help' for more information.")),
    Case("UnknownCommand", ["slove", CODE], 2, err=usage_error()),

    # File names: valid UTF-8 as it is, control characters and bytes of no
    # character escaped; codes stay escaped to printable ASCII.
    Case("Utf8FileNameAsItIs", ["solve", UTF8_SET], 1, setup=utf8_set,
         out=ANSWER + b"bogus\tinvalid\t-\t-\n",
         err=reason(f"korvalo-level: {UTF8_SET}:2: invalid code 'bogus': "), files=SAME),
    Case("Utf8FileNameWithControls", ["check-set", "d\u00e9\x1b[2J\u202e.txt"], 1,
         err=message("korvalo-level check-set: cannot read 'd\u00e9\\x1b[2J\\xe2\\x80\\xae.txt': "
                     "No such file or directory")),
    Case("Latin1FileName", ["check-set", b"caf\xe9.txt"], 1,
         err=message("korvalo-level check-set: cannot read 'caf\\xe9.txt': No such file or directory")),
    Case("Utf8CodeStaysEscaped", ["render", "\u00e9", "level.png"], 1,
         err=reason("korvalo-level render: invalid code '\\xc3\\xa9': "), files={}),

    # generate and hardest: nothing extra on standard error when it is no
    # terminal; output checked; the set written whole or not at all.
    Case("GenerateQuietWhenNotATerminal", ["generate"] + SMALL, 0, out=SMALL_LINES, err=""),
    Case("GenerateToFullOutput", ["generate"] + SMALL, 3, stdout="full",
         err=message("korvalo-level: cannot write to standard output: No space left on device")),
    Case("GenerateWithOutputClosed", ["generate"] + SMALL, 3, stdout="closed",
         err=message("korvalo-level: cannot write to standard output: Bad file descriptor")),
    # A failed output stops the search at once, not after its 60 seconds.
    Case("HardestToFullOutput", ["hardest", "--size", "7", "--seed", "1"], 3, stdout="full",
         err=message("korvalo-level: cannot write to standard output: No space left on device")),
    Case("GenerateSetNew", ["generate"] + SMALL + ["--output", "set.txt"], 0, err="",
         files={"set.txt": SMALL_SET}),
    Case("GenerateSetOverEarlier", ["generate"] + SMALL + ["--output=set.txt"], 0,
         setup=earlier("set.txt"), err="", files={"set.txt": SMALL_SET}),
    Case("GenerateSetSizeLimitKeepsEarlier", ["generate"] + SMALL + ["--output", "set.txt"], 1,
         setup=earlier("set.txt"), size_limit=100,
         err=message("korvalo-level generate: cannot write 'set.txt': File too large"),
         files={"set.txt": EARLIER}),
    Case("GenerateSetFullDiskKeepsEarlier", ["generate"] + SMALL + ["--output", "disk/old.png"], 1,
         setup=full_disk,
         err=message("korvalo-level generate: cannot write 'disk/old.png': No space left on device"),
         files=SAME),
    Case("GenerateOntoFifo", ["generate"] + SMALL + ["--output", "fifo.png"], 0, setup=fifo,
         err="", files={"fifo.png": "fifo"}),
    Case("GenerateOntoDevice", ["generate"] + SMALL + ["--output", "link.png"], 0, setup=device,
         err="", files={"null.png": "character device", "link.png": ("link", "null.png")}),
    Case("HardestOntoFolder", ["hardest", "--size", "3", "--seed", "1", "--output", "dir.png"], 1,
         setup=folder_png,
         err=message("korvalo-level hardest: 'dir.png' is not a regular file; it is left alone"),
         files={"dir.png": {"inside": EARLIER}}),
]


def check_bounded_memory(results):
    """The huge line is not held: the tool grows by far less than it."""
    baseline = results["SolveShortLines"][3]
    huge = results["SolveHugeLineThenValid"][3]
    if huge > baseline + 8 * 1024:
        return [f"SolveHugeLineThenValid: {huge} KB resident, {baseline} KB for a few short lines"]
    return []


def check_closed_pipe(root):
    """A reader that goes away after one line (| head -1): the tool ends
    quietly, by the signal or, with the signal ignored, by status 3."""
    failures = []
    for ignore, expected in ((False, -signal.SIGPIPE), (True, 3)):
        with open(os.path.join(root, "codes.txt"), "wb") as f:
            f.write(MANY_CODES)
        with open(os.path.join(root, "codes.txt"), "rb") as codes:
            preexec = (lambda: signal.signal(signal.SIGPIPE, signal.SIG_IGN)) if ignore else None
            child = subprocess.Popen([TOOL, "solve"], stdin=codes, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, preexec_fn=preexec)
            first = child.stdout.readline()
            child.stdout.close()
            err = child.stderr.read()
            status = child.wait()
        name = "ClosedPipe" + ("SignalIgnored" if ignore else "")
        if first != ANSWER or status != expected or err != b"":
            failures.append(f"{name}: first line {first!r}, status {status} (expected {expected}), "
                            f"standard error {err!r}")
    return failures


def check_answers_before_waiting():
    """Each answer is out before the tool waits for the next line, as a user
    typing codes, or a program talking to the tool through pipes, needs."""
    child = subprocess.Popen([TOOL, "solve"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL)
    answers = []
    for line in (CODE, INVALID):
        child.stdin.write(line.encode() + b"\n")
        child.stdin.flush()
        # Only a guard against waiting for ever: the answer is due at once.
        ready, _, _ = select.select([child.stdout], [], [], 60)
        answers.append(child.stdout.readline() if ready else b"(no answer)")
    child.stdin.close()
    status = child.wait()
    child.stdout.close()
    expected = [ANSWER, INVALID.encode() + b"\tinvalid\t-\t-\n"]
    if answers != expected or status != 1:
        return [f"AnswersBeforeWaiting: {answers!r}, status {status}"]
    return []


# ---------------------------------------------------------------------------
# Ctrl+C: a real SIGINT ends generate and hardest with what they found.

GUARD = 60  # seconds; only a guard against waiting for ever, the events are due at once


def start(args, stderr):
    """The tool with SIGINT handled as by default: a test run as a background
    job may have it ignored, which the tool would keep."""
    return subprocess.Popen([TOOL] + args, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=stderr,
                            preexec_fn=lambda: signal.signal(signal.SIGINT, signal.SIG_DFL))


def first_line(stream):
    ready, _, _ = select.select([stream], [], [], GUARD)
    return stream.readline() if ready else b""


def finish(child):
    rest = child.stdout.read()
    child.stdout.close()
    return rest, child.wait(GUARD)


def solve_lines(codes):
    return subprocess.run([TOOL, "solve"] + [c.decode() for c in codes], capture_output=True).stdout


def check_interrupted_printing(root):
    """Ctrl+C once the first level is out: the levels found are printed, each
    as solve answers it, and the message counts them."""
    failures = []
    with open(os.path.join(root, "generate.err"), "w+b") as err:
        child = start(["generate", "--size", "7", "--moves", "30", "--count", "1000000",
                       "--seed", "3"], err)
        first = first_line(child.stdout)
        child.send_signal(signal.SIGINT)
        rest, status = finish(child)
        err.seek(0)
        errors = err.read()
    lines = (first + rest).splitlines(keepends=True)
    codes = [line.split(b"\t")[0] for line in lines]
    expected = f"korvalo-level generate: stopped by Ctrl+C with {len(lines)} of 1000000 levels found\n"
    if status != 130 or not lines or errors != expected.encode():
        failures.append(f"GenerateInterrupted: status {status}, {len(lines)} lines, errors {errors!r}")
    if solve_lines(codes) != b"".join(lines) or len(set(codes)) != len(codes):
        failures.append(f"GenerateInterrupted: lines unlike solve's answers: {lines[:3]!r}")
    if any(int(line.split(b"\t")[2]) < 30 for line in lines):
        failures.append(f"GenerateInterrupted: a level under 30 moves: {lines!r}")

    with open(os.path.join(root, "hardest.err"), "w+b") as err:
        child = start(["hardest", "--size", "7", "--seed", "2"], err)  # 60 seconds unless stopped
        first = first_line(child.stdout)
        child.send_signal(signal.SIGINT)
        rest, status = finish(child)
        err.seek(0)
        errors = err.read()
    moves = [int(line.split(b"\t")[1]) for line in (first + rest).splitlines()]
    if status != 130 or not moves or moves != sorted(set(moves)) or \
            errors != b"korvalo-level hardest: stopped by Ctrl+C\n":
        failures.append(f"HardestInterrupted: status {status}, moves {moves}, errors {errors!r}")
    return failures


def check_terminated_output(root):
    """SIGTERM and SIGHUP stop a search as Ctrl+C does: the best level found
    is written, and the status is 128 + the signal."""
    failures = []
    for sig, name in ((signal.SIGTERM, "SIGTERM"), (signal.SIGHUP, "SIGHUP")):
        path = os.path.join(root, f"stopped-{name}.txt")
        with open(os.path.join(root, f"stopped-{name}.err"), "w+b") as err:
            child = start(["hardest", "--size", "5", "--output", path], err)
            # Once the drawn seed is named, the signal is caught.
            deadline = time.monotonic() + GUARD
            while time.monotonic() < deadline and os.path.getsize(err.name) == 0:
                time.sleep(0.05)
            time.sleep(0.3)
            child.send_signal(sig)
            _, status = finish(child)
            err.seek(0)
            errors = err.read()
        written = open(path, "rb").read().splitlines() if os.path.exists(path) else []
        if status != 128 + sig or len(written) != 2 or \
                not errors.endswith(f"korvalo-level hardest: stopped by {name}\n".encode()):
            failures.append(f"HardestStoppedBy{name}: status {status}, wrote {written!r}, "
                            f"errors {errors!r}")
    return failures


def check_standard_output_as_file():
    """- and /dev/stdout in a pipe are standard output wherever a file is written."""
    failures = []
    small = " ".join(["generate"] + SMALL)
    expected = subprocess.run([TOOL] + small.split() + ["--output", "-"], capture_output=True)
    piped = subprocess.run(["bash", "-c", f"set -o pipefail; '{TOOL}' {small} --output /dev/stdout | cat"],
                           capture_output=True)
    if expected.returncode or not expected.stdout.startswith(b"# title: generate") or \
            (piped.returncode, piped.stdout) != (0, expected.stdout):
        failures.append(f"GenerateToStandardOutput: {expected!r}, through /dev/stdout {piped!r}")
    for target in ("-", "/dev/stdout"):
        result = subprocess.run(["bash", "-c", f"set -o pipefail; '{TOOL}' render {CODE} {target} | cat"],
                                capture_output=True)
        if result.returncode or not result.stdout.startswith(b"\x89PNG\r\n\x1a\n"):
            failures.append(f"RenderTo {target}: {result.returncode} {result.stderr!r}")
    return failures


def run_on_terminal(args, ready_pattern):
    """Runs the tool with standard error on a pseudo-terminal; sends SIGINT once
    the terminal shows the pattern. (status, what the terminal got)."""
    master, slave = pty.openpty()
    child = start(args, slave)
    os.close(slave)
    transcript = b""
    interrupted = False
    deadline = time.monotonic() + GUARD
    while time.monotonic() < deadline:
        ready, _, _ = select.select([master], [], [], 1)
        if ready:
            try:
                chunk = os.read(master, 4096)
            except OSError:  # the tool has ended and closed its side
                break
            if not chunk:
                break
            transcript += chunk
        if not interrupted and re.search(ready_pattern, transcript):
            child.send_signal(signal.SIGINT)
            interrupted = True
    os.close(master)
    _, status = finish(child)
    return status, transcript


def check_interrupted_output_on_terminal(root):
    """With --output and standard error on a terminal: the progress line is
    redrawn in place and cleared before the last message, and Ctrl+C writes
    the levels found, the first of what the seed gives."""
    failures = []
    path = os.path.join(root, "interrupted.txt")
    status, transcript = run_on_terminal(
        ["generate", "--size", "5", "--moves", "12-20", "--count", "1000000", "--seed", "2024",
         "--output", path],
        rb"\rfound [1-9][0-9]* of 1000000, tried [0-9]+, best [0-9]+ moves, [0-9]+\.[0-9] s")
    written = open(path, "rb").read().splitlines() if os.path.exists(path) else []
    found = len(written) - 1
    end = re.compile(rb"\r +\rkorvalo-level generate: stopped by Ctrl\+C with " +
                     str(found).encode() + rb" of 1000000 levels found\r\n")
    if status != 130 or found < 1 or not end.search(transcript) or not transcript.endswith(b"\r\n"):
        failures.append(f"GenerateInterruptedOnTerminal: status {status}, {found} levels, "
                        f"terminal got ...{transcript[-300:]!r}")
    else:
        again = subprocess.run([TOOL, "generate", "--size", "5", "--moves", "12-20", "--count",
                                str(found), "--seed", "2024"], capture_output=True).stdout
        expected = [b"# title: generate --size 5 --moves 12-20 --count 1000000 --seed 2024"] + \
            [line.split(b"\t")[0] for line in again.splitlines()]
        if written != expected:
            failures.append(f"GenerateInterruptedOnTerminal: wrote {written[:4]!r}...")

    path = os.path.join(root, "hardest.txt")
    status, transcript = run_on_terminal(
        ["hardest", "--size", "5", "--seed", "5", "--output", path],
        rb"\rbest [0-9]+ moves, tried [0-9]+, [0-9]+\.[0-9] s of 60 s")
    written = open(path, "rb").read().splitlines() if os.path.exists(path) else []
    if status != 130 or len(written) != 2 or \
            written[0] != b"# title: hardest --size 5 --seconds 60 --seed 5" or \
            not re.search(rb"\r +\rkorvalo-level hardest: stopped by Ctrl\+C\r\n$", transcript):
        failures.append(f"HardestInterruptedOnTerminal: status {status}, wrote {written!r}, "
                        f"terminal got ...{transcript[-300:]!r}")
    return failures


# ---------------------------------------------------------------------------
# Standard input on a terminal: the commands say how to end it, then read on.

def run_with_terminal_input(args, typed, eof_key=b"\x04"):
    """Runs the tool with standard input on a pseudo-terminal whose
    end-of-file key is eof_key, types the text and then that key:
    (status, standard output, standard error)."""
    master, slave = pty.openpty()
    settings = termios.tcgetattr(slave)
    settings[6][termios.VEOF] = eof_key
    termios.tcsetattr(slave, termios.TCSANOW, settings)
    child = subprocess.Popen([TOOL] + args, stdin=slave, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE)
    os.close(slave)
    # The message comes before the tool waits for the first line.
    ready, _, _ = select.select([child.stderr], [], [], GUARD)
    said = os.read(child.stderr.fileno(), 4096) if ready else b""
    os.write(master, typed + eof_key)
    out, err = child.communicate(timeout=GUARD)
    os.close(master)
    return child.returncode, out, said + err


def check_typed_input():
    failures = []
    cases = [
        (["solve"], b"\x04", 0, ANSWER, b"korvalo-level solve: reading level codes (one a line) from the "
         b"terminal; Ctrl+D ends the input\n"),
        (["check-set", "-"], b"\x04", 0, b"", b"korvalo-level check-set: reading a level set from the "
         b"terminal; Ctrl+D ends the input\n"),
        (["canon", "-"], b"\x05", 0, CODE.encode() + b"\t3110110221221fbe5\n",
         b"korvalo-level canon: reading level codes (one a line) from the terminal; Ctrl+E ends the "
         b"input\n"),
    ]
    for args, key, status, out, err in cases:
        result = run_with_terminal_input(args, (CODE + "\n").encode(), key)
        if result != (status, out, err):
            failures.append(f"TypedInput {args}: {result!r}, expected {(status, out, err)!r}")
    return failures


def main():
    failures = []
    results = {}
    with tempfile.TemporaryDirectory(prefix="korvalo_level_faults.") as root:
        try:
            for case in CASES:
                folder = os.path.join(root, case.name)
                os.mkdir(folder)
                try:
                    if case.setup:
                        case.setup(folder)
                except Skip as reason:
                    print(f"SKIP {case.name}: {reason}")
                    continue
                before = describe(folder)
                result = run(case, folder)
                results[case.name] = result
                problems = check(case, result, folder, before)
                print(("FAIL " if problems else "ok   ") + case.name)
                failures += [f"{case.name}: {p}" for p in problems]
                while MOUNTS:
                    subprocess.run(["umount", MOUNTS.pop()])
        finally:
            while MOUNTS:
                subprocess.run(["umount", MOUNTS.pop()])
        failures += check_bounded_memory(results)
        failures += check_closed_pipe(root)
        failures += check_answers_before_waiting()
        failures += check_typed_input()
        failures += check_interrupted_printing(root)
        failures += check_interrupted_output_on_terminal(root)
        failures += check_terminated_output(root)
        failures += check_standard_output_as_file()
    for failure in failures:
        print(failure, file=sys.stderr)
    print(f"{len(CASES)} cases, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
