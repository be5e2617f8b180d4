"""The installed program, run from its installed path on a copy of the installed examples,
lists the sample files, and its Exit button ends it well.
Run under `headless.sh /usr/bin/python3 installed_program.py PROGRAM EXAMPLES_FOLDER`."""
import os
import shutil
import sys
import tempfile

import pyatspi
from atspi_driver import START_PAGE, check, find, launch, press, stop, wait_until, window


def main(program, examples):
    with tempfile.TemporaryDirectory() as home:
        folder = shutil.copytree(examples, os.path.join(home, "corvel-examples"))
        proc, app = launch(program, folder)
        try:
            files = find(window(app, START_PAGE), "Training Files", pyatspi.ROLE_LIST)
            samples = sorted(f for f in os.listdir(examples) if f.endswith(".net"))
            wait_until(lambda: sorted(c.name for c in files if c) == samples, f"files {samples}")
            press(find(window(app, START_PAGE), "Exit", pyatspi.ROLE_PUSH_BUTTON))
            check(proc.wait(timeout=10) == 0, "the program ends well on Exit")
        finally:
            stop(proc)
    print(f"{program} listed {len(samples)} sample files and ended on Exit")


if __name__ == "__main__":
    main(*sys.argv[1:])
