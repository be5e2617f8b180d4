"""The lab sheet says what the student sets and sees, and this checks it against the program.

docs/guide.md is cut into steps, each starting at a `<!-- checked: OPTIONS FILE -->` comment
and running to the next one or to the end of its part. For each step this runs
corvel-duvu-batch with OPTIONS (and a report of every section), then checks:

- the settings: every value the step puts in bold is understood (a rule, "rate of X",
  "N epochs", "every K", or the patterns to probe), and the settings the student has then (the
  set-up page's defaults after "Train A New Network On A New Problem", otherwise what earlier
  steps set) are the run's;
- every number the step quotes in `code`, at the place it names: a quoted section caption of
  the report ("Network Errors") or a position ("third section", "last lines") puts the
  numbers of its sentence in that section, and a caption must stand at the position given; "epoch N" puts a number in
  the progress line printed at epoch N (the nearest "epoch N" after it in its clause, or else
  the last before it); "Probe patterns **2** and **3**" puts the numbers of its item in those
  patterns' rows of the responses and errors; any other number is looked for in everything
  the run printed or wrote;
- every line of the step's ```text blocks is a line the run printed or wrote.

Usage: guide_numbers.py GUIDE BATCH_PROGRAM EXAMPLES_FOLDER"""
import os
import re
import subprocess
import sys
import tempfile

NUMBER = re.compile(r"[+-]?\d*\.?\d+(E[+-]\d+)?")
DEFAULTS = {"rule": "hebb", "rate": 0.1, "max-sweeps": 100, "print-sweeps": 10}
# The report's sections in file order, by the caption of their box on the save page, and the
# first line of each.
SECTIONS = [("General Information (Training info etc.)", "Learning rule:"),
            ("Network Responses", "Network Responses To Each Input Pattern:"),
            ("Network Errors", "After training, sum of squared error was:"),
            ("Connection Weights", "Connection weights from input units"),
            ("Input Patterns", "The set of input patterns was:"),
            ("Output Patterns", "The set of desired outputs was:"),
            ("Network SSE As A Function Of Sweeps", "Network SSE as a function of sweeps")]
ORDINALS = ["first", "second", "third", "fourth", "fifth", "sixth", "seventh"]


class Run:
    """What corvel-duvu-batch printed and wrote for one step's options."""

    def __init__(self, batch, examples, options):
        *options, training_file = options.split()
        self.options = dict(DEFAULTS)
        for name, value in zip(options[::2], options[1::2]):
            self.options[name.lstrip("-")] = value if name == "--rule" else float(value)
        with tempfile.TemporaryDirectory() as folder:
            report = os.path.join(folder, "report.txt")
            self.printed = subprocess.run(
                [batch, *options, "--sections", "all", "--report", report,
                 os.path.join(examples, training_file)],
                check=True, capture_output=True, text=True, env=dict(os.environ, LC_ALL="C")).stdout
            with open(report, encoding="utf-8", newline="") as f:
                self.report = f.read().replace("\r\r\n", "\n")
        self.sections = [s for s in self.report.split("=" * 45 + "\n")[2:] if s.strip()]
        self.lines = {line.strip() for line in (self.printed + self.report).splitlines()}

    def words(self, text=None):
        return set((self.printed + self.report if text is None else text).split())

    def at_epoch(self, epoch):
        return " ".join(line for line in self.printed.splitlines()
                        if line.startswith(f"Epochs: {epoch}\t"))

    def section(self, caption):
        first_line = dict(SECTIONS)[caption]
        return next((i, s) for i, s in enumerate(self.sections) if s.startswith(first_line))

    def placed_section(self, sentence, wrong, title):
        """The report section a sentence puts its numbers in, by its caption in quotes or its
        position ("third section", "last lines"), as (place, text); None when it names none.
        A caption at another position than the sentence gives it is a fault."""
        named = [c for c, _ in SECTIONS if f'"{c}"' in sentence]
        positions = {**{o: i for i, o in enumerate(ORDINALS)}, "last": len(self.sections) - 1}
        said = next((m for m in re.finditer(r"\b(\w+) (section|lines)\b", sentence)
                     if m.group(1) in positions), None)
        position = positions[said.group(1)] if said else None
        if named:
            index, text = self.section(named[0])
            if position is not None and position != index:
                wrong.append(f"{title}: \"{named[0]}\" is not the report's {said.group(0)}")
            return f"the section \"{named[0]}\"", text
        if position is not None:
            return f"the report's {said.group(0)}", self.sections[position]
        return None

    def probed(self, patterns):
        rows = [line for caption in ["Network Responses", "Network Errors"]
                for line in self.section(caption)[1].splitlines()]
        return " ".join(r for r in rows if r.split("\t")[0] in {f"Pattern {p}" for p in patterns})


def settings_of(step, settings):
    """The settings after the student follows `step`, and the bold values it did not explain."""
    if "Train A New Network On A New Problem" in step:
        settings = dict(DEFAULTS)
    else:
        settings = dict(settings)
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


def probed_patterns(item):
    match = re.search(r"[Pp]robe patterns? ((\*\*\d+\*\*(, | and | to )?)+)", item)
    if not match:
        return None
    text = match.group(1)
    numbers = [int(n) for n in re.findall(r"\d+", text)]
    return list(range(numbers[0], numbers[-1] + 1)) if " to " in text else numbers


def where(quoted, clause):
    """The epoch a quoted number in `clause` is said at: the nearest named after it, or else
    the last named before it."""
    at = clause.index(f"`{quoted}`")
    after = re.search(r"epochs? (\d+)", clause[at:])
    before = re.findall(r"epochs? (\d+)", clause[:at])
    return after.group(1) if after else (before[-1] if before else None)


def check_step(title, step, run, wrong):
    items = re.split(r"\n(?=- )|\n\n", step)
    for item in items:
        patterns = probed_patterns(item)
        for sentence in re.split(r"(?<=[.!?])\s+(?=[A-Z\"(`])", item):
            section = run.placed_section(sentence, wrong, title)
            for clause in re.split(r",|;|\(|\)| and | but ", sentence):
                for quoted in re.findall(r"`([^`\n]+)`", clause):
                    if not NUMBER.fullmatch(quoted):
                        continue
                    epoch = where(quoted, clause)
                    if section:
                        place, text = section
                    elif epoch:
                        place, text = f"the line printed at epoch {epoch}", run.at_epoch(epoch)
                    elif patterns:
                        place, text = f"the rows of patterns {patterns}", run.probed(patterns)
                    else:
                        place, text = "the program's output", None
                    if quoted not in run.words(text):
                        wrong.append(f"{title}: `{quoted}` is not in {place}")
    for block in re.findall(r"```text\n(.*?)```", step, flags=re.S):
        for line in block.splitlines():
            if line.strip() and line.strip() not in run.lines:
                wrong.append(f"{title}: the line {line.strip()!r} is not in the output")


def main(guide_path, batch, examples):
    with open(guide_path, encoding="utf-8") as f:
        parts = re.split(r"^## ", f.read(), flags=re.M)[1:]
    wrong, settings, steps = [], dict(DEFAULTS), 0
    for part in parts:
        title = part.splitlines()[0]
        pieces = re.split(r"<!-- checked: (.*?) -->", part)
        if any(NUMBER.fullmatch(q) for q in re.findall(r"`([^`\n]+)`", pieces[0])):
            wrong.append(f"{title}: a number quoted before the part's first checked run")
        for options, step in zip(pieces[1::2], pieces[2::2]):
            run = Run(batch, examples, options)
            settings, unexplained = settings_of(step, settings)
            wrong += [f"{title}: the bold value {v!r} is no setting" for v in unexplained]
            if settings != run.options:
                wrong.append(f"{title}: the student sets {settings}, the run {run.options}")
            check_step(title, step, run, wrong)
            steps += 1
    print("\n".join(wrong) or f"{steps} steps of {len(parts)} parts checked")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
