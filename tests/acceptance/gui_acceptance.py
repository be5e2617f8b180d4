"""A new user's first session, through the accessibility interface only, as a screen reader
would drive it. The training-file page lists the sample files; a malformed file gives a
message and changes nothing; a good file shows its counts; the set-up page trains with its
defaults, and "Stop Training" ends a run that would never end. Then the hub: a double-click
with nothing selected; the probe page presents two patterns (newest block first); the save
page writes a report with all seven sections that is byte for byte what corvel-duvu-batch
writes for the same training, and asks before overwriting it; the chart page reads as a
table of the report's SSE section; then "Keep Current Weights And Continue Training", "Reset
Weights And Train Again" and "Train A New Network On A New Problem" each do what they say,
the probe page living on; with no printer, printing offers a PDF instead. Every control is
found by its accessible name and role.

Run under `xvfb-run -a dbus-run-session -- /usr/bin/python3 gui_acceptance.py` with
CORVEL_DUVU and CORVEL_DUVU_BATCH (the programs) and CORVEL_EXAMPLES (the sample files) set."""
import os
import subprocess
import sys
import tempfile

import pyatspi
from atspi_driver import (CHART_PAGE, CONTINUE_LIST, EXAMINE_LIST, HUB_PAGE, NEXT_PAGE, PROBE_PAGE,
                          SAVE_PAGE, SETUP_PAGE, SSE_TABLE, START_PAGE, alert, batch_report,
                          bring_to_front, center, check, dismiss, double_click, find, is_showing,
                          launch, probe_block, press, sample_folder, set_text, stop, text_of,
                          toggle, wait_until, window, window_closed)

BUTTON, TEXT = pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT
MAX_EPOCHS = "End After A Maximum Number Of Training Epochs"
MIN_ERROR = "End When A Minimum Level Of Error Has Been Reached"
MIN_ERROR_BOX = "Set The Minimum Level Of Error (SSE)  To Stop Training"


def training_file_page(app):
    start = window(app, START_PAGE)
    find(start, role=pyatspi.ROLE_COMBO_BOX, description="Drive")
    find(start, "Directory", pyatspi.ROLE_TREE)
    files = find(start, "Training Files", pyatspi.ROLE_LIST)
    find(start, "Exit", BUTTON)
    find(start, 'Use "Double Clicks" To Choose The File To Train The Network',
         pyatspi.ROLE_LABEL)
    check(not is_showing(start, NEXT_PAGE, BUTTON), "the way on shows before a file is loaded")
    listed = wait_until(lambda: sorted(c.name for c in files if c is not None)
                        if files.childCount >= 5 else None, "the sample files")
    check("correlated.net" in listed and "broken.net" in listed, f"listed: {listed}")
    check(all(n.endswith(".net") for n in listed), f"only training files: {listed}")

    # A malformed file: a message naming it, and nothing else changes.
    double_click(find(files, "broken.net"))
    box = alert(app)
    text = find(box, role=pyatspi.ROLE_LABEL).name
    check("broken.net" in text, f"message names the file: {text!r}")
    dismiss(app, box)
    check(not is_showing(start, NEXT_PAGE, BUTTON), "a failed load shows the way on")

    # A good file shows its counts (3 outputs, 4 inputs, 3 patterns), and a screen reader
    # is told of them.
    double_click(find(files, "correlated.net"))
    for description, value in [("File Name", "correlated.net"), ("# of Output Units", "3"),
                               ("# of Input Units", "4"), ("# of Patterns", "3")]:
        box = find(start, role=TEXT, description=description)
        wait_until(lambda: text_of(box) == value, f"{description} {value}")
    notice = find(start, role=pyatspi.ROLE_NOTIFICATION, showing=False).name
    check("correlated.net" in notice and "3 patterns" in notice, f"load notice {notice!r}")
    press(find(start, NEXT_PAGE, BUTTON))


def set_up_and_train(app):
    """Trains with the defaults (Hebb, 100 epochs, a printout every 10), stops a run that
    would never end, then trains with the defaults again, as the batch program does."""
    setup = window(app, SETUP_PAGE)
    window_closed(app, START_PAGE)
    for name in ["Hebb Rule", "Delta Rule"]:
        find(setup, name, pyatspi.ROLE_RADIO_BUTTON)
    for name in [MAX_EPOCHS, MIN_ERROR]:
        find(setup, name, pyatspi.ROLE_CHECK_BOX)
    for name in ["Choose A Learning Rate", MIN_ERROR_BOX]:
        find(setup, name, TEXT)
    epochs = find(setup, "Choose The Maximum Number Of Epochs", pyatspi.ROLE_SPIN_BUTTON)
    check(epochs.queryValue().currentValue == 100, "the epochs box reads as a spin button at 100")
    press(find(setup, "Start Training", BUTTON))
    find(setup, "Epochs: 100", description="Epochs")
    find(setup, "Training: correlated.net", description="Training File")
    total = find(setup, description="Total SSE")
    check(total.name.startswith("Total SSE: "), f"total SSE box: {total.name!r}")

    # Only the minimum-error rule, at an error of 0: "Stop Training" ends it as if its rule
    # had fired, with the final boxes and the way on.
    for name in [MAX_EPOCHS, MIN_ERROR]:
        toggle(find(setup, name, pyatspi.ROLE_CHECK_BOX))
    set_text(find(setup, MIN_ERROR_BOX, TEXT), "0")
    press(find(setup, "Start Training", BUTTON))
    stop_button = find(setup, "Stop Training", BUTTON)
    check(not is_showing(setup, "Test Recall", BUTTON), "the way on shows during a run")
    press(stop_button)
    find(setup, "Test Recall", BUTTON)
    epochs = find(setup, description="Epochs").name
    check(epochs.startswith("Epochs: ") and int(epochs.split()[1]) > 100,
          f"a stopped run shows its sweeps: {epochs!r}")

    for name in [MAX_EPOCHS, MIN_ERROR]:
        toggle(find(setup, name, pyatspi.ROLE_CHECK_BOX))
    set_text(find(setup, MIN_ERROR_BOX, TEXT), "0.05")
    press(find(setup, "Start Training", BUTTON))
    find(setup, "Epochs: 100", description="Epochs")
    return setup


def present(probe, pattern):
    """Presents a pattern; returns the window's text once the new block is on top."""
    results = find(probe, "Results", TEXT)
    before = text_of(results)
    set_text(find(probe, "Pattern Number", pyatspi.ROLE_SPIN_BUTTON), pattern)
    press(find(probe, "Ok", BUTTON))
    return wait_until(lambda: (lambda t: t if t.endswith(before) and t != before else None)(
        text_of(results)), f"the block of pattern {pattern}")


def dialog(app, title):
    return wait_until(lambda: next((w for w in app if w is not None and w.name == title), None),
                      f"the {title!r} box")


def save_report(app, hub, examine, workdir, expected):
    bring_to_front(HUB_PAGE)
    double_click(find(examine, "Save Summary As A Text File"))
    save = window(app, SAVE_PAGE)
    find(save, role=pyatspi.ROLE_COMBO_BOX, description="Drive")
    find(save, "Directory", pyatspi.ROLE_TREE)
    find(save, "Files", pyatspi.ROLE_LIST)
    press(find(save, "Create A New Filename", BUTTON))
    name_box = dialog(app, "Name File")
    set_text(find(name_box, role=TEXT), "tour")
    press(find(name_box, "OK", BUTTON))
    find(save, "tour.txt", description="Name Of File To Be Saved")
    for name in ["Input Patterns", "Output Patterns", "Network SSE As A Function Of Sweeps"]:
        toggle(find(save, name, pyatspi.ROLE_CHECK_BOX))
    path = os.path.join(workdir, "tour.txt")
    press(find(save, "Save The File", BUTTON))
    wait_until(lambda: open(path, "rb").read() == expected, "the report, as the batch program's")

    # The overwrite question, answered No (the file stays) and then Yes.
    with open(path, "wb") as f:
        f.write(b"an earlier report")
    for answer, content in [("No", b"an earlier report"), ("Yes", expected)]:
        press(find(save, "Save The File", BUTTON))
        question = alert(app)
        check(question.name == "Pre-existing Filename", f"question title {question.name!r}")
        dismiss(app, question, answer)
        wait_until(lambda: open(path, "rb").read() == content, f"the file after {answer}")
    press(find(save, "Close", BUTTON))
    window_closed(app, SAVE_PAGE)
    bring_to_front(HUB_PAGE)


def sse_chart(app, examine, report):
    """The chart reads, row by row, as the report's SSE section: the sweeps as the chart labels
    them and each SSE, written as the report writes it (Python rounds exact ties to even where
    the report rounds them away from zero; these values have none)."""
    double_click(find(examine, "Plot SSE By Sweeps"))
    chart = window(app, CHART_PAGE)
    table = find(chart, SSE_TABLE, pyatspi.ROLE_TABLE).queryTable()
    headers = [table.getColumnHeader(c).name for c in range(table.nColumns)]
    check(headers == ["Sweeps Of Training", "Network SSE"], f"chart headers {headers}")
    rows = [[table.getAccessibleAt(r, c).name for c in range(2)] for r in range(table.nRows)]
    check([sweeps for sweeps, _ in rows] == [str(10 * i) for i in range(11)], f"chart rows {rows}")
    section = report.split("Sweeps\tNetwork SSE\r\r\n")[1].split("\r\n=")[0]
    expected = [line.split("\t")[1] for line in section.split("\r\n")]
    check([f"{float(sse):.2E}" for _, sse in rows] == expected, f"chart {rows}, report {expected}")
    press(find(chart, "Exit This Page", BUTTON))
    window_closed(app, CHART_PAGE)
    bring_to_front(HUB_PAGE)


def examine_and_go_on(app, setup, workdir, expected_report):
    press(find(setup, "Test Recall", BUTTON))
    hub = window(app, HUB_PAGE)
    examine = find(hub, EXAMINE_LIST, pyatspi.ROLE_LIST)

    # A double-click on the empty space under the items, with nothing selected.
    x, _ = center(examine)
    extents = examine.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x, extents.y + extents.height - 6, "b1d")
    box = alert(app)
    check(box.name == "Corvel Duvu", f"message title {box.name!r}")
    find(box, "No method for continuing has been selected!", pyatspi.ROLE_LABEL)
    dismiss(app, box)

    report = expected_report.decode()
    double_click(find(examine, "Probe Network Responses To Selected Patterns"))
    probe = window(app, PROBE_PAGE)
    present(probe, "2")
    both = present(probe, "1")
    check(both == probe_block(report, "1") + probe_block(report, "2"), f"probe text {both!r}")

    save_report(app, hub, examine, workdir, expected_report)
    sse_chart(app, examine, report)

    # Keep the weights: the same response, and training carries on counting.
    double_click(find(find(hub, CONTINUE_LIST, pyatspi.ROLE_LIST),
                      "Keep Current Weights And Continue Training"))
    window_closed(app, HUB_PAGE)
    find(setup, "Epochs: 100", description="Epochs")
    check(present(probe, "1").startswith(probe_block(report, "1")), "kept weights respond alike")
    press(find(setup, "Continue Training", BUTTON))
    find(setup, "Epochs: 200", description="Epochs")

    # Reset: the boxes go, and every weight is zero, so every response is too.
    press(find(setup, "Test Recall", BUTTON))
    hub = window(app, HUB_PAGE)
    double_click(find(find(hub, CONTINUE_LIST, pyatspi.ROLE_LIST),
                      "Reset Weights And Train Again"))
    window_closed(app, HUB_PAGE)
    wait_until(lambda: not is_showing(setup, "Epochs: 200", pyatspi.ROLE_LABEL), "boxes hidden")
    zero = "\t".join(["+.00"] * 3) + "\t"
    check(present(probe, "1").startswith(probe_block(report, "1", zero)), "reset weights are 0")

    # A new problem: the training-file page afresh; the probe page lives on.
    press(find(setup, "Test Recall", BUTTON))
    hub = window(app, HUB_PAGE)
    double_click(find(find(hub, CONTINUE_LIST, pyatspi.ROLE_LIST),
                      "Train A New Network On A New Problem"))
    start = window(app, START_PAGE)
    window_closed(app, SETUP_PAGE)
    window_closed(app, HUB_PAGE)
    check(not is_showing(start, NEXT_PAGE, BUTTON), "the new training-file page shows no way on")
    return start, probe


def print_without_printer(app, probe, workdir):
    press(find(probe, "Print The Text In The Window", BUTTON))
    question = alert(app)
    check(question.name == "Printing", f"printing message title {question.name!r}")
    dismiss(app, question, "Yes")
    save_as = dialog(app, "Save As PDF")
    pdf = os.path.join(workdir, "probe.pdf")
    set_text(find(save_as, role=TEXT), pdf)
    press(find(save_as, "Save", BUTTON))
    wait_until(lambda: os.path.exists(pdf), "the PDF file")
    text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
    check("Results Of Testing Distributed Memory On correlated.net" in text, f"PDF text {text!r}")


def run(program, workdir):
    _, expected = batch_report(workdir, "--quiet", "--sections", "all")
    proc, app = launch(program, workdir)
    try:
        training_file_page(app)
        setup = set_up_and_train(app)
        start, probe = examine_and_go_on(app, setup, workdir, expected)
        print_without_printer(app, probe, workdir)
        press(find(probe, "Close Form", BUTTON))
        window_closed(app, PROBE_PAGE)
        check(proc.poll() is None, "the program ended with a page still open")
        # "Exit" on the training-file page ends the program at once.
        press(find(start, "Exit", BUTTON))
        proc.wait(timeout=10)
        check(proc.returncode == 0, f"exit status {proc.returncode}")
    finally:
        stop(proc)


def main():
    # Both programs date the report alike; no printer is reachable.
    os.environ.update(SOURCE_DATE_EPOCH="1764944435", CUPS_SERVER="/nonexistent/cups.sock")
    with tempfile.TemporaryDirectory() as workdir:
        sample_folder(workdir)
        run(os.environ["CORVEL_DUVU"], workdir)
    print("gui acceptance: passed")


if __name__ == "__main__":
    try:
        main()
    except AssertionError as fault:
        print(f"gui acceptance: FAILED: {fault}")
        sys.exit(1)
