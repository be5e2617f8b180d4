"""Drives corvel-duvu through a first session and saves a picture of each page in docs/.
Started by screenshots.sh, which sets the folder, the display and the environment."""
import os
import subprocess
import time

import pyatspi
from atspi_driver import (CHART_PAGE, CONTINUE_LIST, EXAMINE_LIST, HUB_PAGE, NEXT_PAGE, PROBE_PAGE,
                          SAVE_PAGE, SETUP_PAGE, SSE_TABLE, START_PAGE, WEIGHTS_PAGE, bring_to_front, check, double_click, find, launch,
                          press, set_text, stop, toggle, wait_until, window, window_closed, x_window)

DOCS = os.environ["CORVEL_DOCS"]
BUTTON = pyatspi.ROLE_PUSH_BUTTON


def shoot(title, name):
    """Saves the page's window, once it has settled, as docs/NAME.png."""
    wid = x_window(title)
    time.sleep(0.6)  # lists fill in the background and the last repaint lands
    subprocess.run(["import", "-window", wid, os.path.join(DOCS, name + ".png")], check=True)


def toggle_logarithmic_scale(chart):
    """Right-clicks the chart and chooses "Logarithmic SSE Scale", the menu's last item."""
    bring_to_front(CHART_PAGE)
    e = find(chart, SSE_TABLE, pyatspi.ROLE_TABLE).queryComponent().getExtents(
        pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(e.x + e.width // 2, e.y + e.height // 2, "b3c")
    time.sleep(0.5)
    subprocess.run(["xdotool", "key", "--delay", "150", "Up", "Return"], check=True)
    time.sleep(0.5)


def train_and_chart(app, setup, examine, sweeps, printouts, rate):
    """A new run with these boxes, then its chart opened from the hub (open all along, under
    the set-up page)."""
    bring_to_front(SETUP_PAGE)
    for name, role, value in [
            ("Choose The Maximum Number Of Epochs", pyatspi.ROLE_SPIN_BUTTON, sweeps),
            ("Choose The Number Of Epochs Between Printouts Of Training Information",
             pyatspi.ROLE_SPIN_BUTTON, printouts),
            ("Choose A Learning Rate", pyatspi.ROLE_TEXT, rate)]:
        set_text(find(setup, name, role), value)
    press(find(setup, "Start Training", BUTTON))
    find(setup, f"Epochs: {sweeps}", description="Epochs", timeout=60)
    bring_to_front(HUB_PAGE)
    double_click(find(examine, "Plot SSE By Sweeps"))
    chart = window(app, CHART_PAGE)
    find(chart, "Print The Graph", BUTTON)
    return chart


def main():
    proc, app = launch(os.environ["CORVEL_DUVU"], os.getcwd())
    try:
        start = window(app, START_PAGE)
        files = find(start, "Training Files", pyatspi.ROLE_LIST)
        wait_until(lambda: files.childCount >= 4, "the sample files")
        shoot(START_PAGE, "training-file-page-before")
        double_click(find(files, "correlated.net"))
        find(start, NEXT_PAGE, BUTTON)
        shoot(START_PAGE, "training-file-page-after")
        press(find(start, NEXT_PAGE, BUTTON))

        setup = window(app, SETUP_PAGE)
        shoot(SETUP_PAGE, "setup-page-before")
        # A run that only ends when stopped, caught while it trains.
        for name in ["End After A Maximum Number Of Training Epochs",
                     "End When A Minimum Level Of Error Has Been Reached"]:
            toggle(find(setup, name, pyatspi.ROLE_CHECK_BOX))
        min_error = find(setup, "Set The Minimum Level Of Error (SSE)  To Stop Training",
                         pyatspi.ROLE_TEXT)
        set_text(min_error, "0")
        press(find(setup, "Start Training", BUTTON))
        stop_button = find(setup, "Stop Training", BUTTON)
        time.sleep(1.0)
        shoot(SETUP_PAGE, "setup-page-running")
        press(stop_button)
        find(setup, "Test Recall", BUTTON)
        for name in ["End After A Maximum Number Of Training Epochs",
                     "End When A Minimum Level Of Error Has Been Reached"]:
            toggle(find(setup, name, pyatspi.ROLE_CHECK_BOX))
        set_text(min_error, "0.05")
        # One sweep of the Hebb rule at 0.5, as the lab sheet's second part has it, and its
        # weights: each input's weights to the outputs of the patterns it takes part in.
        rate = find(setup, "Choose A Learning Rate", pyatspi.ROLE_TEXT)
        sweeps = find(setup, "Choose The Maximum Number Of Epochs", pyatspi.ROLE_SPIN_BUTTON)
        set_text(rate, "0.5")
        set_text(sweeps, "1")
        press(find(setup, "Start Training", BUTTON))
        find(setup, "Epochs: 1", description="Epochs")
        press(find(setup, "Test Recall", BUTTON))
        hub = window(app, HUB_PAGE)
        press(find(hub, "View Weights And Responses", BUTTON))
        weights = window(app, WEIGHTS_PAGE)
        find(weights, "Worst pattern: 2, with an SSE of 0.5 (marked in the table)",
             pyatspi.ROLE_LABEL)
        shoot(WEIGHTS_PAGE, "weights-page-hebb")

        # Then the run a student starts with: the defaults, Delta at 0.1 for 100 epochs. The
        # weights page follows it.
        bring_to_front(SETUP_PAGE)
        set_text(rate, "0.10")
        set_text(sweeps, "100")
        toggle(find(setup, "Delta Rule", pyatspi.ROLE_RADIO_BUTTON))
        press(find(setup, "Start Training", BUTTON))
        find(setup, "Epochs: 100", description="Epochs")
        shoot(SETUP_PAGE, "setup-page-after")
        bring_to_front(WEIGHTS_PAGE)
        find(weights, "Input unit 1 to output unit 1: weight +.75", pyatspi.ROLE_LABEL)
        shoot(WEIGHTS_PAGE, "weights-page-delta")
        press(find(weights, "Close Form", BUTTON))
        window_closed(app, WEIGHTS_PAGE)

        bring_to_front(HUB_PAGE)
        find(hub, CONTINUE_LIST, pyatspi.ROLE_LIST)
        shoot(HUB_PAGE, "hub-page")

        examine = find(hub, EXAMINE_LIST, pyatspi.ROLE_LIST)
        double_click(find(examine, "Probe Network Responses To Selected Patterns"))
        probe = window(app, PROBE_PAGE)
        box = find(probe, "Pattern Number", pyatspi.ROLE_SPIN_BUTTON)
        for pattern in ["2", "3"]:
            set_text(box, pattern)
            press(find(probe, "Ok", BUTTON))
            wait_until(lambda: f"Pattern: {pattern}\t" in find(
                probe, "Results", pyatspi.ROLE_TEXT).queryText().getText(0, -1),
                f"the block of pattern {pattern}")
        shoot(PROBE_PAGE, "probe-page")
        press(find(probe, "Close Form", BUTTON))
        window_closed(app, PROBE_PAGE)

        double_click(find(examine, "Save Summary As A Text File"))
        save = window(app, SAVE_PAGE)
        saved = find(save, "Files", pyatspi.ROLE_LIST)
        check(saved is not None, "the file list")
        press(find(save, "Create A New Filename", BUTTON))
        name_box = wait_until(lambda: next((w for w in app if w is not None
                                            and w.name == "Name File"), None), "Name File")
        set_text(find(name_box, role=pyatspi.ROLE_TEXT), "first-run")
        press(find(name_box, "OK", BUTTON))
        find(save, "first-run.txt", description="Name Of File To Be Saved")
        toggle(find(save, "Network SSE As A Function Of Sweeps", pyatspi.ROLE_CHECK_BOX))
        press(find(save, "Save The File", BUTTON))
        find(saved, "first-run.txt")
        shoot(SAVE_PAGE, "save-page")

        bring_to_front(HUB_PAGE)
        double_click(find(examine, "Plot SSE By Sweeps"))
        chart = window(app, CHART_PAGE)
        find(chart, "Print The Graph", BUTTON)
        shoot(CHART_PAGE, "chart-page")
        # The same run on the logarithmic scale, where its fall below 0.01 shows; then back.
        toggle_logarithmic_scale(chart)
        shoot(CHART_PAGE, "chart-page-delta-log")
        toggle_logarithmic_scale(chart)
        press(find(chart, "Exit This Page", BUTTON))
        window_closed(app, CHART_PAGE)

        # A long, slow run recording every sweep: 2000 bars.
        chart = train_and_chart(app, setup, examine, "1999", "1", "0.002")
        shoot(CHART_PAGE, "chart-page-2000-bars")
        press(find(chart, "Exit This Page", BUTTON))
        window_closed(app, CHART_PAGE)

        # A Hebb run at a large rate, whose error grows into the trillions: the SSE axis still
        # reads.
        toggle(find(setup, "Hebb Rule", pyatspi.ROLE_RADIO_BUTTON))
        train_and_chart(app, setup, examine, "1000", "50", "1000")
        shoot(CHART_PAGE, "chart-page-hebb-blow-up")

        press(find(setup, "Exit", BUTTON))
        proc.wait(timeout=10)
    finally:
        stop(proc)
    print("screenshots: written to docs/")


if __name__ == "__main__":
    main()
