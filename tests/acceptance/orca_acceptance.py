"""A blind student's exercise with Orca, keyboard only (xdotool presses the keys): each step
checks what Orca said (into a file, through orca_speech.py), the numbers as corvel-duvu-batch
has them. Prints a row per step; --explore keeps the work folder, with Orca's debug log."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from atspi_driver import (CHART_PAGE, CONTINUE_LIST, EXAMINE_LIST, HUB_PAGE, NEXT_PAGE,
                          PROBE_PAGE, SAVE_PAGE, SETUP_PAGE, SSE_TABLE, START_PAGE, STOP_RULES,
                          WEIGHTS_PAGE,
                          batch_report, bring_to_front, check, probe_block, sample_folder, stop,
                          wait_until)

XTITLE, YTITLE = "Sweeps Of Training", "Network SSE"
ORCA_SETTINGS = {"speechServerFactory": "orca_speech", "enableBraille": False,
                 "enableSound": False, "enableKeyEcho": False, "enableTutorialMessages": False}
TOUR_TIME = 200  # a step waits 3 s at most (a training run 15): well within CTest's time
SWEEPS = "10"


def focus(title, settle=0.0):
    """What a window manager does for a window that opens or comes back (Xvfb has none); a
    dialog that builds its contents as it opens is given `settle` seconds first."""
    return lambda session: (time.sleep(settle), bring_to_front(title))


def typed(text):
    return lambda session: session.xdotool("type", "--delay", "60", text)


def review(lines):
    """Orca's flat review from the window's bottom, `lines` lines up, then back to the focus."""
    # A key at a time, as Orca drops keys pressed while it reads.
    return " sleep 0.3 key ".join(["Insert+KP_Page_Up", *["KP_Home"] * lines, "KP_Subtract"])


def missing(words, said):
    return [w for w in words if w.lower() not in said.lower()]


class Session:
    """Orca and the program, each in a process group of its own, and what Orca said."""

    def __init__(self, folder, explore):
        self.folder = folder
        self.log = os.path.join(folder, "speech.log")
        self.prefs = os.path.join(folder, "orca")
        os.makedirs(self.prefs)
        with open(os.path.join(self.prefs, "orca-customizations.py"), "w") as f:
            f.write("import orca.settings as s\n")
            f.writelines(f"s.{name} = {value!r}\n" for name, value in ORCA_SETTINGS.items())
        home = os.path.join(folder, "home")
        self.env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=home + "/.config",
                        XDG_DATA_HOME=home + "/.local/share", XDG_CACHE_HOME=home + "/.cache",
                        ORCA_SPEECH_LOG=self.log, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                        CUPS_SERVER="/nonexistent/cups.sock",  # no printer: the PDF way out
                        PYTHONPATH=os.path.dirname(os.path.abspath(__file__)))
        self.debug = ["--debug-file", os.path.join(folder, "orca-debug.log")] * explore
        self.orca = self.program = None

    def start(self, argv, cwd):
        with open(os.path.join(self.folder, os.path.basename(argv[0]) + ".out"), "w") as out:
            return subprocess.Popen(argv, cwd=cwd, env=self.env, stdout=out,
                                    stderr=subprocess.STDOUT, start_new_session=True)

    def start_orca(self):
        # Orca will not start while another of the same user runs.
        others = ["pgrep", "-u", str(os.getuid()), "-x", "orca"]
        wait_until(lambda: subprocess.run(others, stdout=subprocess.DEVNULL).returncode,
                   "another Orca of this user to end", 60)
        self.orca = self.start(["/usr/bin/orca", "-u", self.prefs, *self.debug], self.folder)
        wait_until(lambda: self.orca.poll() is not None
                   or "Screen reader on" in " ".join(self.said()), "Orca to start", 30)
        check(self.orca.poll() is None, f"Orca ended at start, status {self.orca.returncode}")

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], check=True, timeout=20)

    def said(self, since=0):
        with open(self.log, encoding="utf-8") as f:
            return f.read().splitlines()[since:]

    def step(self, action, words, wait=3.0):
        """Does `action` (xdotool keys, or functions of the session); returns what Orca said
        once it has said all `words` and then nothing for a moment, or after `wait` seconds."""
        since = len(self.said())
        for part in action if isinstance(action, list) else [action]:
            if callable(part):
                part(self)
            else:
                self.xdotool("key", "--delay", "150", *part.split())
        end, last, said = time.monotonic() + wait, time.monotonic(), ""
        while time.monotonic() < end:
            time.sleep(0.05)
            now = " | ".join(self.said(since))
            if now != said:
                said, last = now, time.monotonic()
            elif not missing(words, said) and time.monotonic() - last > 0.4:  # then quiet
                break
        return said


def worst_pattern_line(workdir, *options):
    """What the weights page says of the worst pattern, from corvel-duvu-batch's responses
    file; the SSE in the general number text (15 significant digits)."""
    csv = os.path.join(workdir, "responses.csv")
    subprocess.run([os.environ["CORVEL_DUVU_BATCH"], *options, "--quiet", "--responses-csv", csv,
                    os.path.join(workdir, "correlated.net")], check=True)
    with open(csv, encoding="utf-8") as f:
        sses = [float(row.split(",")[-1]) for row in f.read().splitlines()[1:]]
    os.unlink(csv)
    worst = max(range(len(sses)), key=lambda p: (sses[p], -p))
    return f"Worst pattern: {worst + 1}, with an SSE of {format(sses[worst], '.15g').upper()}"


def buttons(*names):
    return [(f"{name} button", "Tab", [name, "push button"]) for name in names]


def items(names, key="Down"):
    return [(f"item {name} ({key})", key, [name]) for name in names]


def tour(workdir):
    """The exercise as (step, what the student does, words Orca must say[, seconds to wait]),
    its numbers from corvel-duvu-batch trained as the student trains."""
    options = ["--rule", "delta", "--max-sweeps", SWEEPS, "--print-sweeps", "10"]
    printed, report = batch_report(workdir, *options, "--sections", "all")
    continued, _ = batch_report(workdir, *options, "--continue", SWEEPS, "--sections", "none")
    again, _ = batch_report(workdir, *options, "--continue", SWEEPS, "--continue", SWEEPS,
                            "--sections", "none")
    report = report.decode()
    first, more, most = (lines[-1].split("\t") for lines in [printed, continued, again])
    # A chart row reads the sweep, then the SSE in the general number text of the report's
    # summary line; the error before training, a whole number, is just it.
    first_sse = report.split("Sweeps\tNetwork SSE\r\r\n")[1].split()[1]
    first_row = ["0.", f"{float(first_sse):g}."]
    final_sse = report.split("After training, sum of squared error was: ")[1].split()[0]
    weights = report.split("(columns):\r\r\n---------------\r\r\n")[1].split("\r\r\n")[1:]

    def weight(i, j):  # input i's weight to output j, as the report writes it
        return weights[i - 1].split("\t")[j]
    worst = worst_pattern_line(workdir, *options)

    def response_row(p):  # a pattern's responses, as the report's section writes them
        section = report.split("Input Pattern:\r\r\n---------------\r\r\n")[1]
        return section.split("\r\r\n")[p - 1].split("\t")[1:-1]
    # Orca reads a line of dashes as their count.
    block = [" ".join(line.split()) if line.strip("-") else f"{len(line)} dash characters"
             for line in probe_block(report, "2").splitlines()]
    sections = ["Input Patterns", "General Information (Training info etc.)", "Network Responses",
                "Network Errors", "Connection Weights", "Output Patterns"]
    back_to_hub = ("page closed: back on the hub", ["space", focus(HUB_PAGE)], [HUB_PAGE])
    return [
        # The training-file page.
        ("training-file page opens", focus(START_PAGE), [START_PAGE, "Drive", "combo box"]),
        ("Directory tree names the folder", "Tab", ["Directory", "tree", "examples"]),
        ("a folder opened says what it holds (Up)", "Up", ["no training files"]),
        ("back in examples (Down)", "Down", ["examples: 5 training files"]),
        ("Training Files list", "Tab", ["Training Files", "list", "5 training files"]),
        *items(["orthonormal.net"], "End"), *items(["autoassociator8.net"], "Home"),
        *items(["broken.net"]),
        ("a malformed file: the message", "Return", ["could not be loaded", "broken.net", "OK"]),
        ("message closed", ["Return", focus(START_PAGE)], ["Training Files"]),
        *items(["correlated.net"]),
        ("loading it tells its sizes", "Return",
         ["correlated.net loaded", "3 output units", "4 input units", "3 patterns"]),
        *[(f"{caption} box", "Tab", [f"{caption}: read only text. | {value} selected"])
          for caption, value in [("File Name", "correlated.net"), ("# of Output Units", 3),
                                 ("# of Input Units", 4), ("# of Patterns", 3)]],
        *buttons(NEXT_PAGE, "Exit"),
        ("set-up page opens", ["shift+Tab space", focus(SETUP_PAGE)],
         [SETUP_PAGE, "Hebb Rule", "radio button"]),
        # The set-up page: the Delta rule, 10 sweeps.
        ("Delta Rule (Down)", "Down", ["Delta Rule", "selected"]),
        ("sweeps check box", "Tab", [f"{STOP_RULES[0]} check box checked"]),
        ("error check box", "Tab", [f"{STOP_RULES[1]} check box not checked"]),
        ("sweeps box", "Tab", ["Choose The Maximum Number Of Epochs", "100"]),
        ("sweeps up (Up)", "Up", ["101"]),
        ("sweeps down (Down)", "Down", ["100"]),
        ("10 sweeps typed; printout box", ["ctrl+a", typed(SWEEPS), "Tab"],
         ["Choose The Number Of Epochs Between Printouts Of Training Information", "10"]),
        ("learning rate box", "Tab", ["Choose A Learning Rate", "0.10"]),
        ("learning rate slider", "Tab", ["Choose A Learning Rate", "slider", "0.10"]),
        ("rate up (Right)", "Right", ["0.11"]),
        ("rate down (Left)", "Left", ["0.10"]),
        ("minimum error box", "Tab", ["Set The Minimum Level Of Error (SSE)", "0.05"]),
        ("error slider", "Tab", ["Set The Minimum Level Of Error (SSE)", "slider", "0.05"]),
        *buttons("Start Training", "Exit"),
        ("training ends: the final SSE", "shift+Tab space", first[:2], 15),
        *buttons("Continue Training", "Test Recall"),
        ("progress boxes (flat review)", review(6), ["Training: correlated.net", *first]),
        # The hub.
        ("hub opens on its first list", ["space", focus(HUB_PAGE)], [HUB_PAGE, EXAMINE_LIST]),
        ("no choice: message", "Return",
         ["Corvel Duvu", "No method for continuing has been selected!", "OK"]),
        ("message closed", ["Return", focus(HUB_PAGE)], [EXAMINE_LIST]),
        *items(["Probe Network Responses To Selected Patterns", "Save Summary As A Text File",
                "Plot SSE By Sweeps"]),
        ("continue list", "Tab", [CONTINUE_LIST, "list"]),
        *items(["Reset Weights And Train Again", "Keep Current Weights And Continue Training",
                "Train A New Network On A New Problem"]),
        *buttons("Exit Program"),
        ("back to the examine list", "shift+Tab shift+Tab Home", ["Probe Network Responses"]),
        # The probe page.
        ("probe page", ["Return", focus(PROBE_PAGE)], [PROBE_PAGE, "Pattern Number 1 spin button"]),
        ("pattern up (Up)", "Up", ["2"]),
        ("presenting pattern 2: its block", "Return", block[:1] + block[2:5]),
        *buttons("Ok"),
        ("results window", "Tab", ["Results", block[0]]),
        *[(f"results line {i} (Down)", "Down", [block[i - 1]]) for i in range(2, 6)],
        *buttons("Print The Text In The Window"),
        ("printing without a printer asks", "space",
         ["Printing", "Nothing was printed", "Yes push button"]),
        # Where the focus is ("where am I", Enter on the keypad) tells the name box's caption.
        ("the PDF's dialog names its folder",
         ["Return", focus("Save As PDF", settle=0.5), "KP_Enter"], [f"Save in {workdir} as"]),
        ("saving the PDF says where", ["Return", focus("PDF Saved", settle=0.5)],
         ["PDF Saved", f"saved as {workdir}/Results-Of-Testing-Distributed-Memory-On-"]),
        ("message closed", ["Return", focus(PROBE_PAGE)], ["Print The Text In The Window"]),
        *buttons("Clear The Text In The Window", "Close Form"),
        back_to_hub,
        # The save page.
        ("save page opens", ["Down Return", focus(SAVE_PAGE)], [SAVE_PAGE, "Drive"]),
        ("Directory tree names the folder", "Tab", ["Directory", "tree", "examples"]),
        ("a folder opened says what it holds (Up)", "Up", ["no text files"]),
        ("back in examples (Down)", "Down", ["examples: 1 text file"]),
        ("Files list", "Tab", ["Files", "list"]),
        ("a picked file is named", "space", ["notes.txt", "Name Of File To Be Saved: notes.txt"]),
        *buttons("Create A New Directory", "Create A New Filename"),
        ("the name box", "space", ["Name File", "Enter name of file to save:"]),
        ("a typed name is named", [typed("tour"), "Return", focus(SAVE_PAGE)],
         ["Name Of File To Be Saved: tour.txt"]),
        ("the name shown (flat review)", review(3), ["Name Of File To Be Saved:", "tour.txt"]),
        *[(f"section {i + 1}", "Tab", [f"{name} check box {'not ' * (i in (0, 5))}checked"])
          for i, name in enumerate(sections)],
        ("section 7 ticked (space)", "Tab space",
         ["Network SSE As A Function Of Sweeps check box not checked. | checked"]),
        *buttons("Save The File"),
        ("saving tells where", "space", ["The report was saved as", "examples/tour.txt"]),
        ("saving again asks first", "space",
         ["Pre-existing Filename", "File already exists -- overwrite it?", "No push button"]),
        ("No keeps the file", ["Return", focus(SAVE_PAGE)], ["Save The File"]),
        *buttons("Close"),
        back_to_hub,
        # The chart page.
        ("chart page opens on its first row", ["Down Return", focus(CHART_PAGE)],
         [CHART_PAGE, SSE_TABLE, "table with 2 rows 2 columns", *first_row]),
        ("chart's last row (End)", "End", [SWEEPS + ".", final_sse + "."]),
        ("chart's first row (Home)", "Home", first_row),
        ("the SSE with its header (Right)", "Right", [YTITLE, first_row[1]]),
        ("the sweep with its header (Left)", "Left", [XTITLE, first_row[0]]),
        ("chart's menu (Shift+F10)", "shift+F10", ["Copy Picture"]),
        ("menu's next item (Down)", "Down", ["Save Picture As"]),
        ("menu closed (Escape)", "Escape", [SSE_TABLE]),
        *buttons("Print The Graph", "Exit This Page"),
        back_to_hub,
        # The weights page: the map's cells with their headers, then the responses.
        ("weights page opens on its map (Alt+V)", ["alt+v", focus(WEIGHTS_PAGE)],
         [WEIGHTS_PAGE, "Weights", "table", weight(1, 1)]),
        ("the next output unit (Right)", "Right", ["Out 2", weight(1, 2)]),
        ("the next input unit's row (Down)", "Down", [weight(2, j) for j in (1, 2, 3)]),
        ("responses table", "Tab", ["Responses", "table", worst]),
        ("a pattern's row (Down)", "Down", ["2 (worst)", *response_row(2)]),
        *buttons("Close Form"),
        back_to_hub,
        # Training goes on from the weights it has; then the student leaves.
        ("keep the weights", "Tab Up", ["Keep Current Weights And Continue Training"]),
        ("set-up page again", ["Return", focus(SETUP_PAGE)], [SETUP_PAGE, "Test Recall"]),
        ("training continues: the new SSE", "shift+Tab space", more[:2], 15),
        # The focus is back on the button that started the run: Space trains once more.
        ("Space trains once more", "space", most[:2], 15),
        *buttons("Test Recall", "Exit"),
    ]


def walk(session, workdir, heard):
    """Prints a row per step of the tour, and adds to `heard` whether Orca said all it should."""
    steps = tour(workdir)
    # Orca first: it starts the accessibility bus, which the program then finds at start, and
    # it hears the program's first window open.
    session.start_orca()
    session.program = session.start([os.environ["CORVEL_DUVU"]], workdir)
    deadline = time.monotonic() + TOUR_TIME
    print("step | what Orca said | verdict")
    for step, action, words, *wait in steps:
        check(time.monotonic() < deadline, f"the tour took longer than {TOUR_TIME} s")
        said = session.step(action, words, *wait)
        not_heard = missing(words, said)
        heard.append(not not_heard)
        verdict = "FAIL, not heard: " + "; ".join(not_heard) if not_heard else "PASS"
        print(f"{step} | {said or '(nothing)'} | {verdict}", flush=True)
    # Space on "Exit", where the tour leaves the student, ends the program, and well.
    session.xdotool("key", "space")
    check(session.program.wait(timeout=10) == 0, f"exit status {session.program.returncode}")


def main():
    for tool in ["/usr/bin/orca", "xdotool"]:
        if not shutil.which(tool):
            print(f"orca acceptance: skipped: {tool} is not installed")
            sys.exit(77)  # the test's SKIP_RETURN_CODE in CTest
    # Stopped from outside (a time limit), the session still ends the program and Orca.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("orca acceptance: stopped"))
    explore = "--explore" in sys.argv
    folder = tempfile.mkdtemp(prefix="orca-acceptance-")
    workdir = os.path.join(folder, "examples")
    os.makedirs(workdir)
    sample_folder(workdir)
    session, heard, fault = Session(folder, explore), [], False
    try:
        walk(session, workdir, heard)
    except Exception as error:  # the fault after the transcript so far
        print(f"tour stopped | {type(error).__name__}: {error} | FAIL")
        fault = True
    finally:
        for process in filter(None, [session.program, session.orca]):
            stop(process, group=True)
        if not explore:
            shutil.rmtree(folder, ignore_errors=True)
    print(f"{sum(heard)} passed, {len(heard) - sum(heard) + fault} failed")
    if explore:
        print("kept", folder)
    sys.exit(0 if all(heard) and not fault else 1)


if __name__ == "__main__":
    main()
