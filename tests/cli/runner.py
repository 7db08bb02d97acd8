#!/usr/bin/env python3
"""Runs the corehost cases of one *.cases file; prints FILE:LINE and the difference of each case
that fails. Usage: runner.py FILE corehost=PATH emulator=WORDS sanitized=0|1 NAME=VALUE...

A case is a paragraph of lines ('#' lines are comments):
  $ corehost ARGS => N  split at spaces, not inside '...'; N, the exit status, is 0 if left out
  stdin: TEXT           standard input (default empty)
  file: NAME            %T/NAME, written before the run with the "| " lines that follow
  link: NAME TARGET     %T/NAME, a symbolic link
  stdout: TEXT          the exact output (default empty); "stdout starts:" and "stdout contains:"
                        a part of it; the same for stderr
  written: NAME         %T/NAME after the run, exactly the "| " lines that follow
  memory below: N MB    the most memory corehost may take (not measured in sanitized builds)
A value is the "| " lines after its key, or the rest of its line (with a line break for stdin and
the exact stdout and stderr). In every text %NAME is a NAME=VALUE argument, %S the case file's directory,
%T a scratch directory, %xHH a byte, and %[N*TEXT] or %[FROM..TO*TEXT] TEXT repeated, with %i
its count from 0 or FROM.
"""
import os
import re
import shutil
import signal
import sys
import tempfile

# Texts are bytes read as Latin-1: each byte stands for itself.
SUBSTITUTION = re.compile(r"%x([0-9A-F]{2})|%\[(?:(\d+)\.\.)?(\d+)\*([^\]]*)\]|%([A-Za-z]+)")
SETUP = ["$", "stdin", "file", "link", "memory below"]
CHECKS = ["written"] + [s + f for s in ("stdout", "stderr") for f in ("", " starts", " contains")]


def expand(text, names, index=0):
    def substitute(match):
        byte, first, last, body, name = match.groups()
        if body is None:
            return chr(int(byte, 16)) if byte else str(index) if name == "i" else names[name]
        counts = range(int(first), int(last) + 1) if first else range(int(last))
        if "%i" not in body:  # megabytes, built at once
            return expand(body, names) * len(counts)
        return "".join(expand(body, names, i) for i in counts)

    return SUBSTITUTION.sub(substitute, text)


def read(path):
    with open(path, "rb") as file:
        return file.read().decode("latin-1")


def write(path, text):
    with open(path, "wb") as file:
        file.write(text.encode("latin-1"))


def read_cases(path):
    """Each case as its lines: [number, key, text, the "| " lines or None]."""
    cases = [[]]
    for number, text in enumerate(read(path).split("\n"), 1):
        if text.startswith("|") and cases[-1]:
            cases[-1][-1][3] = (cases[-1][-1][3] or "") + text[2:] + "\n"
        elif text.startswith("$ corehost"):
            cases[-1].append([number, "$", text[10:], None])
        elif text and not text.startswith("#"):
            key, _, rest = text.partition(":")
            cases[-1].append([number, key, rest.removeprefix(" "), None])
        elif not text and cases[-1]:
            cases.append([])
    return [lines for lines in cases if lines]


def run(command, stdin, scratch):
    """The exit status (or minus the signal that ended it), both outputs and the memory in kB."""
    paths = [os.path.join(scratch, name) for name in (".in", ".out", ".err")]
    write(paths[0], stdin)
    pid = os.fork()
    if pid == 0:
        try:  # files, not pipes: nothing can block on a full one
            for fd, flags in enumerate([os.O_RDONLY] + [os.O_WRONLY | os.O_CREAT | os.O_TRUNC] * 2):
                os.dup2(os.open(paths[fd], flags, 0o600), fd)
            signal.alarm(300)  # a hang ends as a failure, not never
            os.execvp(command[0], [word.encode("latin-1") for word in command])
        finally:
            os._exit(127)
    _, status, usage = os.wait4(pid, 0)
    return os.waitstatus_to_exitcode(status), read(paths[1]), read(paths[2]), usage.ru_maxrss


def excerpt(text, start=0):
    line = text[start:].split("\n")[0]
    return line[:200] + "..." * (len(line) > 200)


def difference(form, expected, actual):
    """Where `actual` departs from `expected`; None if it holds it as `form` asks."""
    if form == "contains":
        return None if expected in actual else ":\n  lacks " + excerpt(expected)
    shown = actual[:len(expected)] if form == "starts" else actual
    at = next((i for i, (a, b) in enumerate(zip(expected, shown)) if a != b), len(shown))
    start = expected.rfind("\n", 0, at) + 1
    return None if shown == expected else (
        f" at line {expected.count(chr(10), 0, start) + 1}:\n  expected: "
        f"{excerpt(expected, start)}\n  actual:   {excerpt(shown, start)}")


def words(text, names):
    """The arguments of a line, split at spaces but not inside '...', each expanded."""
    found = re.findall(r"(?:'[^']*'|[^ '])+", text)
    return [expand(word.replace("'", ""), names) for word in found]


def prepare(lines, names, scratch):
    """The command line, standard input, exit status and memory limit of a case; its files."""
    command, stdin, status, memory = names["emulator"].split() + [names["corehost"]], "", 0, 0
    for _, key, text, block in lines:
        if key == "$":
            arguments, _, code = text.partition(" => ")
            command, status = command + words(arguments, names), int(code or 0)
        elif key == "stdin":
            stdin = expand(block if block is not None else text + "\n", names)
        elif key in ("file", "link"):
            path, *target = [os.path.join(scratch, w).encode("latin-1") for w in words(text, names)]
            os.makedirs(os.path.dirname(path), exist_ok=True)
            if target:
                os.symlink(target[0], path)
            else:
                write(path, expand(block or "", names))
        elif key == "memory below" and names.get("sanitized") != "1":
            memory = int(text.split()[0]) * 1024
    return command, stdin, status, memory


def check(lines, names, scratch):
    """The failures of a case."""
    keys = [key for _, key, _, _ in lines]
    if keys.count("$") != 1 or not set(keys) <= set(SETUP + CHECKS):
        return [f"keys {keys}: not one $ corehost line, or not among {SETUP + CHECKS}"]
    command, stdin, status, memory = prepare(lines, names, scratch)
    code, out, err, kilobytes = run(command, stdin, scratch)
    failures = [f"exit status {code}, expected {status}; stderr: {excerpt(err)}"] * (code != status)
    failures += [f"took {kilobytes} kB, not below {memory} kB"] * (0 < memory <= kilobytes)
    for stream, actual in (("stdout", out), ("stderr", err)):
        if actual and not any(key.startswith(stream) for key in keys):
            failures.append(f"{stream} is not empty: {excerpt(actual)}")
    for _, key, text, block in lines:
        stream, _, form = key.partition(" ")
        if stream == "written":
            actual = read(os.path.join(scratch, expand(text, names)))
            expected = expand(block or "", names)
        elif stream in ("stdout", "stderr"):
            line_break = "\n" * (text != "" and not form)
            expected = expand(block if block is not None else text + line_break, names)
            actual = out if stream == "stdout" else err
        why = difference(form, expected, actual) if key in CHECKS else None
        failures += [f"{key} differs{why}"] * (why is not None)
    return failures


def main():
    sys.stdout.reconfigure(encoding="latin-1")  # the bytes as they came
    path, scratch = sys.argv[1], tempfile.mkdtemp(prefix="cli-")
    names = dict(argument.split("=", 1) for argument in sys.argv[2:])
    names.update(S=os.path.dirname(os.path.abspath(path)), T=scratch)
    cases = read_cases(path)
    failed = 0
    for lines in cases:
        try:
            failures = check(lines, names, scratch)
        except (OSError, KeyError, ValueError) as error:
            failures = [repr(error)]
        failed += bool(failures)
        if failures:
            print(f"{path}:{lines[0][0]}:" + "".join("\n " + failure for failure in failures))
    shutil.rmtree(scratch)
    print(f"{len(cases) - failed} of {len(cases)} cases passed")
    return 1 if failed or not cases else 0


if __name__ == "__main__":
    sys.exit(main())
