"""The lab sheet says what the student sets and sees; this checks it against the program.

docs/guide.md is cut into steps, each from a `<!-- checked: OPTIONS FILE -->` comment to the
next or to the end of its part. Each step's run of corvel-duvu-batch (with a report of every
section) must match the step:
- its bold values are settings ("Hebb Rule", "rate of X", "N epochs", "every K") or patterns
  to probe, and the student's settings (the set-up page's defaults after "Train A New Network
  On A New Problem", else what earlier steps set) are the run's;
- each number quoted in `code` is at the place its sentence names: "the weights page" (its
  weights and its worst pattern's line); a report section by its caption in quotes or its
  position ("third section", "last lines"), which must agree; else
  the line printed at "epoch N" (the nearest after it in its clause, or the last before);
  else, in an item that probes patterns, those patterns' responses and errors; else anywhere;
- each line of a ```text block is a line the run printed or wrote.

Usage: guide_numbers.py GUIDE BATCH_PROGRAM EXAMPLES_FOLDER"""
import os
import re
import subprocess
import sys
import tempfile

NUMBER = re.compile(r"[+-]?\d*\.?\d+(E[+-]\d+)?")
DEFAULTS = {"rule": "hebb", "rate": 0.1, "max-sweeps": 100, "print-sweeps": 10}
# The report's sections in file order: the caption of each one's box, and its first line.
SECTIONS = [("General Information (Training info etc.)", "Learning rule:"),
            ("Network Responses", "Network Responses To Each Input Pattern:"),
            ("Network Errors", "After training, sum of squared error was:"),
            ("Connection Weights", "Connection weights from input units"),
            ("Input Patterns", "The set of input patterns was:"),
            ("Output Patterns", "The set of desired outputs was:"),
            ("Network SSE As A Function Of Sweeps", "Network SSE as a function of sweeps")]
POSITIONS = dict(zip(["first", "second", "third", "fourth", "fifth", "sixth", "seventh", "last"],
                     [0, 1, 2, 3, 4, 5, 6, -1]))


class Run:
    """What corvel-duvu-batch printed and wrote for one step's options."""

    def __init__(self, batch, examples, options):
        *options, training_file = options.split()
        self.options = dict(DEFAULTS)
        for name, value in zip(options[::2], options[1::2]):
            self.options[name.lstrip("-")] = value if name == "--rule" else float(value)
        with tempfile.TemporaryDirectory() as folder:
            report, responses = (os.path.join(folder, name) for name in ("r.txt", "r.csv"))
            self.printed = subprocess.run(
                [batch, *options, "--sections", "all", "--report", report, "--responses-csv",
                 responses, os.path.join(examples, training_file)],
                check=True, capture_output=True, text=True, env=dict(os.environ, LC_ALL="C")).stdout
            with open(report, encoding="utf-8", newline="") as f:
                report = f.read().replace("\r\r\n", "\n")
            with open(responses, encoding="utf-8") as f:
                sses = [float(row.split(",")[-1]) for row in f.read().splitlines()[1:]]
        self.output = self.printed + report
        self.sections = [s for s in report.split("=" * 45 + "\n")[2:] if s.strip()]
        # The weights page: its weights as the report writes them, and its worst pattern's line
        # with the SSE in the general number text.
        worst = max(range(len(sses)), key=lambda p: (sses[p], -p))
        self.weights_page = (self.sections[self.section("Connection Weights")] +
                             f"Worst pattern: {worst + 1}, with an SSE of "
                             f"{format(sses[worst], '.15g').upper()}")

    def section(self, caption):
        first_line = dict(SECTIONS)[caption]
        return next(i for i, s in enumerate(self.sections) if s.startswith(first_line))

    def place(self, sentence, item, clause, quoted):
        """Where the guide says `quoted` shows, as (description, text); None for a fault."""
        if "weights page" in sentence:
            return "the weights page", self.weights_page
        named = [c for c, _ in SECTIONS if f'"{c}"' in sentence]
        said = next((m for m in re.finditer(r"\b(\w+) (section|lines)\b", sentence)
                     if m.group(1) in POSITIONS), None)
        if named or said:
            index = self.section(named[0]) if named else POSITIONS[said.group(1)]
            if named and said and self.sections[POSITIONS[said.group(1)]] != self.sections[index]:
                return None
            return f"the report's {said.group(0) if said else named[0]}", self.sections[index]
        at = clause.index(f"`{quoted}`")
        epochs = re.findall(r"epochs? (\d+)", clause[at:]) or re.findall(r"epochs? (\d+)",
                                                                          clause[:at])[-1:]
        if epochs:
            return f"the line printed at epoch {epochs[0]}", "".join(
                line for line in self.printed.splitlines() if line.startswith(f"Epochs: {epochs[0]}\t"))
        if match := re.search(r"[Pp]robe patterns? ((\*\*\d+\*\*(, | and | to )?)+)", item):
            numbers = [int(n) for n in re.findall(r"\d+", match.group(1))]
            if " to " in match.group(1):
                numbers = range(numbers[0], numbers[-1] + 1)
            rows = [r for c in ("Network Responses", "Network Errors")
                    for r in self.sections[self.section(c)].splitlines()]
            return f"the rows of patterns {list(numbers)}", " ".join(
                r for r in rows if r.split("\t")[0] in [f"Pattern {p}" for p in numbers])
        return "the program's output", self.output


def follow(step, settings):
    """The settings once the student follows `step`, and the bold values that set nothing."""
    step = " ".join(step.split())
    settings = dict(DEFAULTS if "Train A New Network On A New Problem" in step else settings)
    unexplained = []
    for match in re.finditer(r"\*\*(.+?)\*\*", step):
        before, value, after = step[:match.start()], match.group(1), step[match.end():]
        if value in ("Hebb Rule", "Delta Rule"):
            settings["rule"] = value.split()[0].lower()
        elif re.search(r"rate of\s+$", before):
            settings["rate"] = float(value)
        elif re.search(r"every\s+$", before):
            settings["print-sweeps"] = float(value)
        elif re.match(r"\s+epochs?\b", after):
            settings["max-sweeps"] = float(value)
        elif not re.search(r"[Pp]robe patterns? (\*\*\d+\*\*(, | and | to ))*$", before):
            unexplained.append(value)
    return settings, unexplained


def check_step(title, step, run):
    wrong = []
    for item in re.split(r"\n(?=- )|\n\n", step):
        item = " ".join(item.split())  # a phrase may run over a line break
        for sentence in re.split(r"(?<=[.!?])\s+(?=[A-Z\"(`])", item):
            for clause in re.split(r",|;|\(|\)| and | but ", sentence):
                for quoted in filter(NUMBER.fullmatch, re.findall(r"`([^`\n]+)`", clause)):
                    place = run.place(sentence, item, clause, quoted)
                    if place is None:
                        wrong.append(f"{title}: a section named at another position")
                    elif quoted not in place[1].split():
                        wrong.append(f"{title}: `{quoted}` is not in {place[0]}")
    lines = {line.strip() for line in run.output.splitlines()}
    for block in re.findall(r"```text\n(.*?)```", step, flags=re.S):
        wrong += [f"{title}: the line {line.strip()!r} is not in the output"
                  for line in block.splitlines() if line.strip() and line.strip() not in lines]
    return wrong


def main(guide_path, batch, examples):
    with open(guide_path, encoding="utf-8") as f:
        parts = re.split(r"^## ", f.read(), flags=re.M)[1:]
    wrong, settings, steps = [], dict(DEFAULTS), 0
    for part in parts:
        title = part.splitlines()[0]
        pieces = re.split(r"<!-- checked: (.*?) -->", part)
        if any(map(NUMBER.fullmatch, re.findall(r"`([^`\n]+)`", pieces[0]))):
            wrong.append(f"{title}: a number quoted before the part's first checked run")
        for options, step in zip(pieces[1::2], pieces[2::2]):
            run = Run(batch, examples, options)
            settings, unexplained = follow(step, settings)
            wrong += [f"{title}: the bold value {v!r} is no setting" for v in unexplained]
            if settings != run.options:
                wrong.append(f"{title}: the student sets {settings}, the run {run.options}")
            wrong += check_step(title, step, run)
            steps += 1
    print("\n".join(wrong) or f"{steps} steps of {len(parts)} parts checked")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
