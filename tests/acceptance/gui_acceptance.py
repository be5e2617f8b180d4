"""A new user's first session, by mouse, over AT-SPI only: files good and bad, training, probing,
a report as corvel-duvu-batch writes it, the chart's table, reset, a new problem, printing with
no printer, "Exit". Run with headless.sh, CORVEL_DUVU, CORVEL_DUVU_BATCH and CORVEL_EXAMPLES set."""
import os
import subprocess
import tempfile

import pyatspi
from atspi_driver import (CHART_PAGE, CONTINUE_LIST, EXAMINE_LIST, HUB_PAGE, NEXT_PAGE,
                          PROBE_PAGE, SAVE_PAGE, SETUP_PAGE, SSE_TABLE, START_PAGE, STOP_RULES,
                          WEIGHTS_PAGE, batch_report, bring_to_front, check, double_click, find,
                          is_showing, launch, probe_block, press, sample_folder, set_text, stop,
                          text_of, toggle, wait_until, window, window_closed)

BUTTON, TEXT, CHECK_BOX = pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TEXT, pyatspi.ROLE_CHECK_BOX


def answer(app, title, says, button="OK"):
    """Answers the message box titled `title`, which says `says`, with `button`."""
    box = window(app, title, pyatspi.ROLE_ALERT)
    text = find(box, role=pyatspi.ROLE_LABEL).name
    check(says in text, f"message {title!r} says {text!r}")
    press(find(box, button, BUTTON))
    window_closed(app, title, pyatspi.ROLE_ALERT)


def training_file_page(app, workdir):
    start = window(app, START_PAGE)
    find(start, 'Use "Double Clicks" To Choose The File To Train The Network', pyatspi.ROLE_LABEL)
    files = find(start, "Training Files", pyatspi.ROLE_LIST)
    check(not is_showing(start, NEXT_PAGE, BUTTON), "the way on shows before a file is loaded")
    nets = sorted(name for name in os.listdir(workdir) if name.endswith(".net"))
    wait_until(lambda: sorted(c.name for c in files if c) == nets, f"only the files {nets}")

    # A malformed file: a message naming it, and nothing else changes.
    double_click(find(files, "broken.net"))
    answer(app, "Training File Not Loaded", "broken.net")
    check(not is_showing(start, NEXT_PAGE, BUTTON), "a failed load shows the way on")

    double_click(find(files, "correlated.net"))
    press(find(start, NEXT_PAGE, BUTTON))


def train(setup, min_error):
    """Trains with the other rule to stop by than the last run had, at this minimum error."""
    for name in STOP_RULES:
        toggle(find(setup, name, CHECK_BOX))
    set_text(find(setup, "Set The Minimum Level Of Error (SSE)  To Stop Training", TEXT), min_error)
    press(find(setup, "Start Training", BUTTON))


def set_up_and_train(app):
    """Stops a run that would never end, then trains with the default rules."""
    setup = window(app, SETUP_PAGE)
    window_closed(app, START_PAGE)
    epochs = find(setup, "Choose The Maximum Number Of Epochs", pyatspi.ROLE_SPIN_BUTTON)
    check(epochs.queryValue().currentValue == 100, "the epochs box reads as a spin button at 100")

    # Only the minimum-error rule, at an error of 0: "Stop Training" ends it as if its rule
    # had fired, with the final boxes and the way on.
    train(setup, "0")
    stop_button = find(setup, "Stop Training", BUTTON)
    check(not is_showing(setup, "Test Recall", BUTTON), "the way on shows during a run")
    press(stop_button)
    find(setup, "Test Recall", BUTTON)
    epochs = find(setup, description="Epochs").name
    check(epochs.startswith("Epochs: ") and int(epochs.split()[1]) > 100,
          f"a stopped run shows its sweeps: {epochs!r}")

    train(setup, "0.05")
    find(setup, "Epochs: 100", description="Epochs")
    return setup


def present(probe, pattern):
    """Presents a pattern; returns the window's text once the new block is on top."""
    results = find(probe, "Results", TEXT)
    before = text_of(results)
    set_text(find(probe, "Pattern Number", pyatspi.ROLE_SPIN_BUTTON), pattern)
    press(find(probe, "Ok", BUTTON))
    return wait_until(lambda: (lambda t: t.endswith(before) and t != before and t)(
        text_of(results)), f"the block of pattern {pattern}")


def back_to_hub(app, page, title, button):
    press(find(page, button, BUTTON))
    window_closed(app, title)
    bring_to_front(HUB_PAGE)


def save_report(app, examine, workdir, expected):
    double_click(find(examine, "Save Summary As A Text File"))
    save = window(app, SAVE_PAGE)
    press(find(save, "Create A New Filename", BUTTON))
    name_box = window(app, "Name File")
    set_text(find(name_box, role=TEXT), "tour")
    press(find(name_box, "OK", BUTTON))
    find(save, "tour.txt", description="Name Of File To Be Saved")
    for name in ["Input Patterns", "Output Patterns", "Network SSE As A Function Of Sweeps"]:
        toggle(find(save, name, CHECK_BOX))
    # The overwrite question, answered No (the file stays) and then Yes: the report, as the
    # batch program writes it.
    path = os.path.join(workdir, "tour.txt")
    with open(path, "wb") as f:
        f.write(b"an earlier report")
    for button, content in [("No", b"an earlier report"), ("Yes", expected)]:
        press(find(save, "Save The File", BUTTON))
        answer(app, "Pre-existing Filename", "overwrite it?", button)
        wait_until(lambda: open(path, "rb").read() == content, f"the file after {button}")
    back_to_hub(app, save, SAVE_PAGE, "Close")


def sse_chart(app, examine, report):
    """The chart reads, row by row, as the report's SSE section (Python rounds exact ties to
    even where the report rounds them away from zero; these values have none)."""
    double_click(find(examine, "Plot SSE By Sweeps"))
    chart = window(app, CHART_PAGE)
    table = find(chart, SSE_TABLE, pyatspi.ROLE_TABLE).queryTable()
    headers = [table.getColumnHeader(c).name for c in range(table.nColumns)]
    check(headers == ["Sweeps Of Training", "Network SSE"], f"chart headers {headers}")
    rows = [[table.getAccessibleAt(r, c).name for c in range(2)] for r in range(table.nRows)]
    section = report.split("Sweeps\tNetwork SSE\r\r\n")[1].split("\r\n=")[0]
    expected = [[str(10 * i), line.split("\t")[1]] for i, line in enumerate(section.split("\r\n"))]
    check([[s, f"{float(e):.2E}"] for s, e in rows] == expected, f"chart rows {rows}")
    back_to_hub(app, chart, CHART_PAGE, "Exit This Page")


def table_rows(table, columns):
    """The names of cells `columns` of every row of an accessible table."""
    return [[table.getAccessibleAt(r, c).name for c in columns] for r in range(table.nRows)]


def weights_page(app, hub, report):
    """The weights page's two tables read as the report's weights and responses sections."""
    press(find(hub, "View Weights And Responses", BUTTON))
    page = window(app, WEIGHTS_PAGE)

    def section(heading, skip):
        rows = report.split(heading + "\r\r\n---------------\r\r\n")[1].split("\r\r\n=")[0]
        return [row.split("\t")[1:-1] for row in rows.split("\r\r\n")[skip:]]
    weights = section("Connection weights from input units (rows) to output units (columns):", 1)
    table = find(page, "Weights", pyatspi.ROLE_TABLE).queryTable()
    check(table_rows(table, range(table.nColumns)) == weights, "the weights map's cells")
    responses = section("Network Responses To Each Input Pattern:", 0)
    table = find(page, "Responses", pyatspi.ROLE_TABLE).queryTable()
    wait_until(lambda: table_rows(table, range(1, 1 + len(weights[0]))) == responses,
               "the responses table's rows")
    back_to_hub(app, page, WEIGHTS_PAGE, "Close Form")


def go_on(app, hub, way):
    double_click(find(find(hub, CONTINUE_LIST, pyatspi.ROLE_LIST), way))
    window_closed(app, HUB_PAGE)


def examine_and_go_on(app, setup, workdir, expected_report):
    press(find(setup, "Test Recall", BUTTON))
    hub = window(app, HUB_PAGE)
    examine = find(hub, EXAMINE_LIST, pyatspi.ROLE_LIST)

    report = expected_report.decode()
    double_click(find(examine, "Probe Network Responses To Selected Patterns"))
    probe = window(app, PROBE_PAGE)
    present(probe, "2")
    both = present(probe, "1")
    check(both == probe_block(report, "1") + probe_block(report, "2"), f"probe text {both!r}")
    bring_to_front(HUB_PAGE)
    save_report(app, examine, workdir, expected_report)
    sse_chart(app, examine, report)
    weights_page(app, hub, report)

    # Reset: the boxes go, and every weight is zero, so every response is too.
    go_on(app, hub, "Reset Weights And Train Again")
    wait_until(lambda: not is_showing(setup, "Epochs: 100", pyatspi.ROLE_LABEL), "boxes hidden")
    check(present(probe, "1").startswith(probe_block(report, "1", "+.00\t" * 3)), "weights not 0")

    # A new problem: the training-file page afresh; the probe page lives on.
    press(find(setup, "Test Recall", BUTTON))
    go_on(app, window(app, HUB_PAGE), "Train A New Network On A New Problem")
    start = window(app, START_PAGE)
    window_closed(app, SETUP_PAGE)
    check(not is_showing(start, NEXT_PAGE, BUTTON), "the new training-file page shows no way on")
    return start, probe


def print_without_printer(app, probe, workdir):
    press(find(probe, "Print The Text In The Window", BUTTON))
    answer(app, "Printing", "Nothing was printed", "Yes")
    save_as = window(app, "Save As PDF")
    pdf = os.path.join(workdir, "probe.pdf")
    set_text(find(save_as, role=TEXT), pdf)
    press(find(save_as, "Save", BUTTON))
    answer(app, "PDF Saved", f"The pages were saved as {pdf}.", "OK")
    wait_until(lambda: os.path.exists(pdf), "the PDF file")
    text = subprocess.run(["pdftotext", pdf, "-"], capture_output=True, text=True).stdout
    check("Results Of Testing Distributed Memory On correlated.net" in text, f"PDF text {text!r}")


def main():
    # Both programs date the report alike; no printer is reachable.
    os.environ.update(SOURCE_DATE_EPOCH="1764944435", CUPS_SERVER="/nonexistent/cups.sock")
    with tempfile.TemporaryDirectory() as workdir:
        sample_folder(workdir)
        _, expected = batch_report(workdir, "--quiet", "--sections", "all")
        proc, app = launch(os.environ["CORVEL_DUVU"], workdir)
        try:
            training_file_page(app, workdir)
            setup = set_up_and_train(app)
            start, probe = examine_and_go_on(app, setup, workdir, expected)
            print_without_printer(app, probe, workdir)
            press(find(probe, "Close Form", BUTTON))
            window_closed(app, PROBE_PAGE)
            check(proc.poll() is None, "the program ended with a page still open")
            # "Exit" on the training-file page ends the program, and well.
            press(find(start, "Exit", BUTTON))
            check(proc.wait(timeout=10) == 0, f"exit status {proc.returncode}")
        finally:
            stop(proc)
    print("gui acceptance: passed")


if __name__ == "__main__":
    main()
