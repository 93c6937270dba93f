#!/usr/bin/python3
"""Prints the role, name and description of the first accessible object whose
name starts with the given text, as a screen reader sees it over AT-SPI, one
field a line; exits 1 when none appears within the time given.

Usage: atspi_probe.py NAME-PREFIX [SECONDS]     (run with Debian's python3, which has pyatspi)
"""

import sys
import time

import pyatspi


def objects(root):
    """Every object below root, depth first; a vanished object ends its branch."""
    try:
        yield root
        for index in range(root.childCount):
            child = root.getChildAtIndex(index)
            if child is not None:
                yield from objects(child)
    except Exception:  # an object that went away while it was read
        return


def main():
    prefix = sys.argv[1]
    deadline = time.monotonic() + (float(sys.argv[2]) if len(sys.argv) > 2 else 30.0)
    while time.monotonic() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            if application is None:
                continue
            for found in objects(application):
                if found.name.startswith(prefix):
                    print(found.getRoleName())
                    print(found.name)
                    print(found.description)
                    return 0
        time.sleep(0.3)
    return 1


if __name__ == "__main__":
    sys.exit(main())
