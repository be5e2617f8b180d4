"""Driving corvel-duvu through the accessibility interface (AT-SPI), as a screen reader
would: every control is found by its accessible name, role or description; and what the
acceptance tests share: page titles, the sample folder, the batch program's report and the
probe page's block. Used by both acceptance tests and the screenshot script. Run under
`xvfb-run -a dbus-run-session -- /usr/bin/python3 ...` (Debian's python3-pyatspi)."""
import glob
import os
import re
import shutil
import subprocess
import time

import pyatspi

START_PAGE = "Talvik Neural Net Code -- Introductory Form"
SETUP_PAGE = "Distributed Memory Setup Page -- Talvik Neural Network Code"
HUB_PAGE = "Testing The Distributed Associative Memory -- Talvik Neural Network Code"
PROBE_PAGE = "Distributed Memory Program -- Probe Network Responses To Selected Patterns"
SAVE_PAGE = "Save Results To A Text File -- Talvik Neural Network Code"
CHART_PAGE = "Graph of SSE as a function of sweeps of training"
SSE_TABLE = "Total Sum Of Squared Error As A Function Of Training Sweeps"
NEXT_PAGE = "Go To Next Page To Set Training Parameters"
EXAMINE_LIST = ("Choose A Method For Examining Network Performance By Double-Clicking One Of "
                "The List Items Below:")
CONTINUE_LIST = ("Choose A Method For Continuing Training By Double-Clicking One Of The List "
                 "Items Below:")


def wait_until(probe, what, timeout=10.0):
    end = time.monotonic() + timeout
    while True:
        try:
            value = probe()
            if value:
                return value
        except AssertionError:
            raise
        except Exception:  # objects come and go while the program works
            pass
        if time.monotonic() > end:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def find(root, name=None, role=None, description=None, showing=True, timeout=10.0):
    def matches(a):
        return ((name is None or a.name == name) and (role is None or a.getRole() == role)
                and (description is None or a.description == description)
                and (not showing or a.getState().contains(pyatspi.STATE_SHOWING)))
    return wait_until(lambda: pyatspi.findDescendant(root, matches, breadth_first=True),
                      f"{name or description!r} ({role})", timeout)


def is_showing(root, name, role):
    hit = pyatspi.findDescendant(root, lambda a: a.name == name and a.getRole() == role,
                                 breadth_first=True)
    return hit is not None and hit.getState().contains(pyatspi.STATE_SHOWING)


def act(acc, action_name):
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    action.doAction(names.index(action_name))


def press(acc):
    act(acc, "Press")


def toggle(acc):
    act(acc, "Toggle")


def center(acc):
    e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x + e.width // 2, e.y + e.height // 2


def double_click(acc):
    x, y = center(acc)
    pyatspi.Registry.generateMouseEvent(x, y, "b1d")


def text_of(acc):
    acc.clearCache()
    return acc.queryText().getText(0, -1)


def set_text(acc, text):
    acc.queryEditableText().setTextContents(text)


def window(app, title):
    return wait_until(lambda: next((w for w in app if w is not None and w.name == title), None),
                      f"window {title!r}")


def x_window(title):
    """The X window id of the program's window with this exact title."""
    return wait_until(lambda: subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(title) + "$"],
        capture_output=True,
        text=True).stdout.split()[-1], f"the X window of {title!r}")


def bring_to_front(title):
    """Raises a window and gives it the focus, as a window manager does on a click (there is
    none under Xvfb, so a window opened later may cover it)."""
    wid = x_window(title)
    subprocess.run(["xdotool", "windowraise", wid, "windowfocus", wid], check=True)


def window_closed(app, title):
    wait_until(lambda: all(w is None or w.name != title for w in app), f"{title!r} to close")


def alert(app):
    return wait_until(lambda: next((c for c in app if c is not None
                                    and c.getRole() == pyatspi.ROLE_ALERT), None), "a message")


def dismiss(app, box, button="OK"):
    press(find(box, button, pyatspi.ROLE_PUSH_BUTTON))
    wait_until(lambda: all(c is None or c.getRole() != pyatspi.ROLE_ALERT for c in app),
               "the message to close")


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def launch(program, workdir, env=None):
    """Starts the program in `workdir`; returns the process and its accessible application."""
    env = dict(env or os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    # The accessibility bus first: started while the program connects to the X server, it
    # now and then made that connection fail.
    desktop = pyatspi.Registry.getDesktop(0)
    proc = subprocess.Popen([program], cwd=workdir, env=env)
    try:
        def started():
            if proc.poll() is not None:
                raise AssertionError(f"the program ended at start, status {proc.returncode}")
            return next((a for a in desktop if a is not None
                         and a.name == os.path.basename(program) and a.childCount > 0), None)
        app = wait_until(started, "the program")
    except BaseException:
        proc.kill()
        proc.wait()
        raise
    return proc, app


def sample_folder(workdir):
    """Fills `workdir` with the sample training files, a malformed one (broken.net) and a
    text file that is no training file (notes.txt)."""
    for sample in glob.glob(os.path.join(os.environ["CORVEL_EXAMPLES"], "*.net")):
        shutil.copy(sample, workdir)
    with open(os.path.join(workdir, "broken.net"), "w") as f:
        f.write("2 0 2 1\n1 x\n")
    with open(os.path.join(workdir, "notes.txt"), "w") as f:
        f.write("not a training file\n")


def batch_report(workdir, *options):
    """What corvel-duvu-batch prints and writes for correlated.net in `workdir` with
    `options`: its progress lines and the report's bytes."""
    path = os.path.join(workdir, "batch.txt")
    printed = subprocess.run([os.environ["CORVEL_DUVU_BATCH"], *options, "--report", path,
                              os.path.join(workdir, "correlated.net")],
                             check=True, capture_output=True, text=True).stdout
    with open(path, "rb") as f:
        report = f.read()
    os.remove(path)
    return printed.splitlines(), report


def report_rows(report, title):
    """The cells after "Pattern N" of each row of a report section, by pattern number."""
    lines = report.split("\r\r\n")
    rows, at = {}, lines.index(title) + 2
    while lines[at].startswith("Pattern "):
        cells = lines[at].split("\t")
        rows[cells[0].split()[1]] = "\t".join(cells[1:])
        at += 1
    return rows


def probe_block(report, pattern, responses=None):
    """The probe page's block for a pattern, put together from the report's sections (as
    the window shows it, one line per line)."""
    rows = {t: report_rows(report, t)[pattern] for t in [
        "The set of input patterns was:", "Network Responses To Each Input Pattern:",
        "The set of desired outputs was:", "Network Response Errors To Each Input Pattern:"]}
    inputs, response, desired, error = rows.values()
    return (f"Pattern: {pattern}\t{inputs}\n---------------\n"
            f"Response (A):\t{responses or response}\nDesired  (D):\t{desired}\n"
            f"Error  (D-A):\t{error if responses is None else desired}\n" + "=" * 45 + "\n")


def stop(proc):
    if proc.poll() is None:
        proc.kill()
        proc.wait()
