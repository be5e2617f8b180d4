"""The lab sheet's numbers are the program's. Each part of docs/guide.md names the runs it
describes in `<!-- checked: OPTIONS FILE -->` comments; this runs corvel-duvu-batch on each
(with a report of the sections asked for) and checks that every number the part quotes in
`code` and every line of its ```text blocks is in what the program printed or wrote.

Usage: guide_numbers.py GUIDE BATCH_PROGRAM EXAMPLES_FOLDER"""
import os
import re
import subprocess
import sys
import tempfile

NUMBER = re.compile(r"[+-]?\d*\.?\d+(E[+-]\d+)?")


def program_output(batch, examples, options):
    """What the program prints for a run and the report it writes, one line per line."""
    *options, training_file = options.split()
    with tempfile.TemporaryDirectory() as folder:
        report = os.path.join(folder, "report.txt")
        printed = subprocess.run([batch, *options, "--report", report,
                                  os.path.join(examples, training_file)],
                                 check=True, capture_output=True, text=True,
                                 env=dict(os.environ, LC_ALL="C")).stdout
        with open(report, encoding="utf-8", newline="") as f:
            return printed + f.read().replace("\r\r\n", "\n")


def main(guide_path, batch, examples):
    with open(guide_path, encoding="utf-8") as f:
        parts = re.split(r"^## ", f.read(), flags=re.M)[1:]
    wrong = []
    for part in parts:
        title = part.splitlines()[0]
        runs = re.findall(r"<!-- checked: (.*?) -->", part)
        output = "".join(program_output(batch, examples, run) for run in runs)
        printed = set(output.split())
        lines = {line.strip() for line in output.splitlines()}
        for quoted in re.findall(r"`([^`\n]+)`", part):
            if NUMBER.fullmatch(quoted) and quoted not in printed:
                wrong.append(f"{title}: `{quoted}` is not in the program's output")
        for block in re.findall(r"```text\n(.*?)```", part, flags=re.S):
            for line in block.splitlines():
                if line.strip() and line.strip() not in lines:
                    wrong.append(f"{title}: the line {line.strip()!r} is not in the output")
    print("\n".join(wrong) or f"{len(parts)} parts checked")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
