"""Drives corvel-duvu over AT-SPI, finding each control by its accessible name, role or
description; and the page titles, sample folder and batch program's report the tests share."""
import contextlib
import functools
import glob
import os
import pathlib
import re
import shutil
import signal
import subprocess
import time

import pyatspi

START_PAGE = "Talvik Neural Net Code -- Introductory Form"
SETUP_PAGE = "Distributed Memory Setup Page -- Talvik Neural Network Code"
HUB_PAGE = "Testing The Distributed Associative Memory -- Talvik Neural Network Code"
PROBE_PAGE = "Distributed Memory Program -- Probe Network Responses To Selected Patterns"
SAVE_PAGE = "Save Results To A Text File -- Talvik Neural Network Code"
CHART_PAGE = "Graph of SSE as a function of sweeps of training"
WEIGHTS_PAGE = "Distributed Memory Program -- Weights And Responses"
SSE_TABLE = "Total Sum Of Squared Error As A Function Of Training Sweeps"
NEXT_PAGE = "Go To Next Page To Set Training Parameters"
EXAMINE_LIST = ("Choose A Method For Examining Network Performance By Double-Clicking One Of "
                "The List Items Below:")
CONTINUE_LIST = ("Choose A Method For Continuing Training By Double-Clicking One Of The List "
                 "Items Below:")
STOP_RULES = ["End After A Maximum Number Of Training Epochs",
              "End When A Minimum Level Of Error Has Been Reached"]


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def wait_until(probe, what, timeout=10.0):
    end = time.monotonic() + timeout
    while True:
        try:
            if value := probe():
                return value
        except AssertionError:
            raise
        except Exception:  # objects come and go while the program works
            pass
        check(time.monotonic() < end, f"timed out waiting for {what}")
        time.sleep(0.05)


def find(root, name=None, role=None, description=None, timeout=10.0):
    def matches(a):
        return ((name is None or a.name == name) and (role is None or a.getRole() == role)
                and (description is None or a.description == description)
                and a.getState().contains(pyatspi.STATE_SHOWING))
    return wait_until(lambda: pyatspi.findDescendant(root, matches, breadth_first=True),
                      f"{name or description!r} ({role})", timeout)


def is_showing(root, name, role):
    hit = pyatspi.findDescendant(root, lambda a: a.name == name and a.getRole() == role)
    return hit is not None and hit.getState().contains(pyatspi.STATE_SHOWING)


def act(acc, action_name):
    action = acc.queryAction()
    action.doAction([action.getName(i) for i in range(action.nActions)].index(action_name))


press = functools.partial(act, action_name="Press")
toggle = functools.partial(act, action_name="Toggle")


def double_click(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(e.x + e.width // 2, e.y + e.height // 2, "b1d")


def text_of(acc):
    acc.clearCache()
    return acc.queryText().getText(0, -1)


def set_text(acc, text):
    acc.queryEditableText().setTextContents(text)


def is_window(w, title, role):
    return w is not None and w.name == (title or w.name) and w.getRole() == (role or w.getRole())


def window(app, title=None, role=None):
    return wait_until(lambda: next((w for w in app if is_window(w, title, role)), None),
                      f"window {title or role!r}")


def window_closed(app, title=None, role=None):
    wait_until(lambda: not any(is_window(w, title, role) for w in app), f"{title or role!r} gone")


def x_window(title):
    search = ["xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(title) + "$"]
    return wait_until(lambda: subprocess.run(search, capture_output=True, text=True)
                      .stdout.split()[-1], f"the X window of {title!r}")


def bring_to_front(title):
    """Raises and focuses a window, as a window manager would on a click (Xvfb has none)."""
    wid = x_window(title)
    subprocess.run(["xdotool", "windowraise", wid, "windowfocus", wid], check=True)


def launch(program, workdir):
    """Starts the program in `workdir`; returns the process and its accessible application."""
    # The accessibility bus first: started while the program connects to the X server, it
    # now and then made that connection fail.
    desktop = pyatspi.Registry.getDesktop(0)
    proc = subprocess.Popen([program], cwd=workdir,
                            env=dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

    def started():
        check(proc.poll() is None, f"the program ended at start, status {proc.returncode}")
        return next((a for a in desktop if a is not None
                     and a.name == os.path.basename(program) and a.childCount > 0), None)
    try:
        return proc, wait_until(started, "the program")
    except BaseException:
        stop(proc)
        raise


def stop(proc, group=False):
    """Ends a process (or its group) still running: SIGTERM, then SIGKILL 5 s later."""
    for sig in [signal.SIGTERM, signal.SIGKILL]:
        if proc.poll() is None:
            (os.killpg if group else os.kill)(proc.pid, sig)
            with contextlib.suppress(subprocess.TimeoutExpired):
                proc.wait(timeout=5)


def sample_folder(workdir):
    """The sample training files, a malformed one and a text file that is no training file."""
    for sample in glob.glob(os.path.join(os.environ["CORVEL_EXAMPLES"], "*.net")):
        shutil.copy(sample, workdir)
    for name, text in [("broken.net", "2 0 2 1\n1 x\n"), ("notes.txt", "not a training file\n")]:
        pathlib.Path(workdir, name).write_text(text)


def batch_report(workdir, *options):
    """corvel-duvu-batch's printed lines and report bytes for correlated.net in `workdir`."""
    path = pathlib.Path(workdir, "batch.txt")
    printed = subprocess.run([os.environ["CORVEL_DUVU_BATCH"], *options, "--report", path,
                              os.path.join(workdir, "correlated.net")],
                             check=True, capture_output=True, text=True).stdout
    report = path.read_bytes()
    path.unlink()
    return printed.splitlines(), report


def probe_block(report, pattern, responses=None):
    """The probe page's block for a pattern, put together from the report's sections."""
    lines = report.split("\r\r\n")

    def row(title):  # the cells after "Pattern N" in the section under `title`
        return lines[lines.index(title) + 1 + int(pattern)].split("\t", 1)[1]
    inputs, response, desired, error = map(row, [
        "The set of input patterns was:", "Network Responses To Each Input Pattern:",
        "The set of desired outputs was:", "Network Response Errors To Each Input Pattern:"])
    return (f"Pattern: {pattern}\t{inputs}\n---------------\n"
            f"Response (A):\t{responses or response}\nDesired  (D):\t{desired}\n"
            f"Error  (D-A):\t{error if responses is None else desired}\n" + "=" * 45 + "\n")
