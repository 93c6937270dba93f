#!/usr/bin/python3
"""Listens over AT-SPI, as a screen reader does, for the events that tell of a
changed text: the name's property change and the text's insertion. Prints
"listening" once registered, then one line per event heard,
"ROLE<TAB>EVENT<TAB>TEXT", and exits 0 as soon as a text matches the wanted
regular expression, or 1 when none did within the time given.

Usage: atspi_listener.py WANTED-PATTERN [SECONDS]     (run with Debian's python3, which has pyatspi)
"""

import re
import sys

import pyatspi
from gi.repository import GLib


def main():
    wanted = re.compile(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30.0
    heard = []

    def on_event(event):
        try:
            role = event.source.getRoleName()
            text = event.any_data if isinstance(event.any_data, str) else event.source.name
        except Exception:  # an object that went away while it was read
            return
        print(f"{role}\t{event.type}\t{text}", flush=True)
        if wanted.search(text or ""):
            heard.append(text)
            pyatspi.Registry.stop()

    pyatspi.Registry.registerEventListener(
        on_event, "object:property-change:accessible-name", "object:text-changed:insert")
    GLib.timeout_add(int(seconds * 1000), pyatspi.Registry.stop)
    # The programs learn of the new listener through the registry; a moment
    # later their events reach it.
    GLib.timeout_add(500, lambda: print("listening", flush=True) and False)
    pyatspi.Registry.start()
    return 0 if heard else 1


if __name__ == "__main__":
    sys.exit(main())
