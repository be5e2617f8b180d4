"""A new user's first run, through the accessibility interface only: the training-file page
lists the sample files, a malformed file gives a message and changes nothing, a good file
shows its counts, the set-up page trains with its defaults and shows the final boxes, "Stop
Training" ends a run that would never end, and "Test Recall" opens the hub. Every control is found by its accessible name and role.

Run under `xvfb-run -a dbus-run-session -- /usr/bin/python3 gui_acceptance.py` with
CORVEL_DUVU (the program) and CORVEL_EXAMPLES (the sample files) set."""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

START_PAGE = "Talvik Neural Net Code -- Introductory Form"
SETUP_PAGE = "Distributed Memory Setup Page -- Talvik Neural Network Code"
HUB_PAGE = "Testing The Distributed Associative Memory -- Talvik Neural Network Code"
NEXT_PAGE = "Go To Next Page To Set Training Parameters"


def wait_until(probe, what, timeout=10.0):
    end = time.monotonic() + timeout
    while True:
        try:
            value = probe()
            if value:
                return value
        except Exception:  # objects come and go while the program works
            pass
        if time.monotonic() > end:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def find(root, name=None, role=None, description=None, showing=True):
    def matches(a):
        return ((name is None or a.name == name) and (role is None or a.getRole() == role)
                and (description is None or a.description == description)
                and (not showing or a.getState().contains(pyatspi.STATE_SHOWING)))
    return wait_until(lambda: pyatspi.findDescendant(root, matches, breadth_first=True),
                      f"{name or description!r} ({role})")


def is_showing(root, name, role):
    hit = pyatspi.findDescendant(root, lambda a: a.name == name and a.getRole() == role,
                                 breadth_first=True)
    return hit is not None and hit.getState().contains(pyatspi.STATE_SHOWING)


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Press"))


def toggle(acc):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index("Toggle"))


def double_click(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(e.x + e.width // 2, e.y + e.height // 2, "b1d")


def window(app, title):
    return wait_until(lambda: next((w for w in app if w is not None and w.name == title), None),
                      f"window {title!r}")


def alert(app):
    return wait_until(lambda: next((c for c in app if c is not None
                                    and c.getRole() == pyatspi.ROLE_ALERT), None), "a message")


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def run(program, workdir):
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    proc = subprocess.Popen([program], cwd=workdir, env=env)
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_until(lambda: next((a for a in desktop if a is not None
                                       and a.name == os.path.basename(program)
                                       and a.childCount > 0), None), "the program")
        start = window(app, START_PAGE)

        # Every control of the training-file page by its name; the way on is hidden.
        find(start, role=pyatspi.ROLE_COMBO_BOX, description="Drive")
        find(start, "Directory", pyatspi.ROLE_TREE)
        files = find(start, "Training Files", pyatspi.ROLE_LIST)
        find(start, "Exit", pyatspi.ROLE_PUSH_BUTTON)
        find(start, 'Use "Double Clicks" To Choose The File To Train The Network',
             pyatspi.ROLE_LABEL)
        check(not is_showing(start, NEXT_PAGE, pyatspi.ROLE_PUSH_BUTTON),
              "the way on shows before a file is loaded")
        listed = wait_until(lambda: sorted(c.name for c in files if c is not None)
                            if files.childCount >= 5 else None, "the sample files")
        check("correlated.net" in listed and "broken.net" in listed, f"listed: {listed}")
        check(all(n.endswith(".net") for n in listed), f"only training files: {listed}")

        # A malformed file: a message naming it, and nothing else changes.
        double_click(find(files, "broken.net"))
        box = alert(app)
        text = find(box, role=pyatspi.ROLE_LABEL).name
        check("broken.net" in text, f"message names the file: {text!r}")
        press(find(box, "OK", pyatspi.ROLE_PUSH_BUTTON))
        wait_until(lambda: all(c is None or c.getRole() != pyatspi.ROLE_ALERT for c in app),
                   "the message to close")
        check(not is_showing(start, NEXT_PAGE, pyatspi.ROLE_PUSH_BUTTON),
              "a failed load shows the way on")

        # A good file shows its counts (3 outputs, 4 inputs, 3 patterns).
        double_click(find(files, "correlated.net"))
        for description, value in [("File Name", "correlated.net"), ("# of Output Units", "3"),
                                   ("# of Input Units", "4"), ("# of Patterns", "3")]:
            find(start, value, pyatspi.ROLE_TEXT, description)
        press(find(start, NEXT_PAGE, pyatspi.ROLE_PUSH_BUTTON))

        # The set-up page trains with its defaults: Hebb, 100 epochs, printout every 10.
        setup = window(app, SETUP_PAGE)
        wait_until(lambda: all(w is None or w.name != START_PAGE for w in app),
                   "the training-file page to close")
        for name in ["Hebb Rule", "Delta Rule"]:
            find(setup, name, pyatspi.ROLE_RADIO_BUTTON)
        for name in ["End After A Maximum Number Of Training Epochs",
                     "End When A Minimum Level Of Error Has Been Reached"]:
            find(setup, name, pyatspi.ROLE_CHECK_BOX)
        for name in ["Choose The Maximum Number Of Epochs", "Choose A Learning Rate",
                     "Set The Minimum Level Of Error (SSE)  To Stop Training"]:
            find(setup, name, pyatspi.ROLE_TEXT)
        epochs = find(setup, "Choose The Maximum Number Of Epochs", pyatspi.ROLE_SPIN_BUTTON)
        check(epochs.queryValue().currentValue == 100, "the up-down reads its box's 100")
        press(find(setup, "Start Training", pyatspi.ROLE_PUSH_BUTTON))
        find(setup, "Epochs: 100", description="Epochs")
        find(setup, "Training: correlated.net", description="Training File")
        total = find(setup, description="Total SSE")
        check(total.name.startswith("Total SSE: "), f"total SSE box: {total.name!r}")

        # A run that would never end (only the minimum-error rule, at an error of 0) ends
        # with "Stop Training" as if its rule had fired: final boxes, and the way on.
        for name in ["End After A Maximum Number Of Training Epochs",
                     "End When A Minimum Level Of Error Has Been Reached"]:
            toggle(find(setup, name, pyatspi.ROLE_CHECK_BOX))
        min_error = find(setup, "Set The Minimum Level Of Error (SSE)  To Stop Training",
                         pyatspi.ROLE_TEXT)
        min_error.queryEditableText().setTextContents("0")
        press(find(setup, "Start Training", pyatspi.ROLE_PUSH_BUTTON))
        stop = find(setup, "Stop Training", pyatspi.ROLE_PUSH_BUTTON)
        time.sleep(0.5)
        check(not is_showing(setup, "Test Recall", pyatspi.ROLE_PUSH_BUTTON),
              "the way on shows during a run")
        press(stop)
        find(setup, "Test Recall", pyatspi.ROLE_PUSH_BUTTON)
        epochs = find(setup, description="Epochs").name
        check(epochs.startswith("Epochs: ") and int(epochs.split()[1]) > 100,
              f"a stopped run shows its sweeps: {epochs!r}")

        press(find(setup, "Test Recall", pyatspi.ROLE_PUSH_BUTTON))
        window(app, HUB_PAGE)

        # "Exit" on the set-up page ends the program at once.
        press(find(setup, "Exit", pyatspi.ROLE_PUSH_BUTTON))
        proc.wait(timeout=10)
        check(proc.returncode == 0, f"exit status {proc.returncode}")
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()


def main():
    program = os.environ["CORVEL_DUVU"]
    with tempfile.TemporaryDirectory() as workdir:
        for sample in glob.glob(os.path.join(os.environ["CORVEL_EXAMPLES"], "*.net")):
            shutil.copy(sample, workdir)
        with open(os.path.join(workdir, "broken.net"), "w") as f:
            f.write("2 0 2 1\n1 x\n")
        with open(os.path.join(workdir, "notes.txt"), "w") as f:
            f.write("not a training file\n")
        run(program, workdir)
    print("gui acceptance: passed")


if __name__ == "__main__":
    try:
        main()
    except AssertionError as fault:
        print(f"gui acceptance: FAILED: {fault}")
        sys.exit(1)
