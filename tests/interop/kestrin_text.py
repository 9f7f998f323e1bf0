# The text Kestrin copies put in a mailslot write: composing it as a peer would, and reading it back.
import re

# Children run with LC_ALL=C, so the time of day is written as %H:%M:%S.
TimePattern = re.compile(r"^\d\d:\d\d:\d\d$")


def Command(time, origin, command):
    return Join(["COMMAND_MSG", time, origin, command, "END_MESSAGE"])


def Memo(time, origin, lines):
    return Join(["MEMO_MSG", time, origin, "BEGIN_MEMO"] + list(lines) + ["END_MESSAGE"])


def Join(lines):
    return b"".join(line.encode("utf-8") + b"\r\n" for line in lines)


def Split(data):
    """Lines of a received text that must end with CR LF; None when it does not."""
    if not data.endswith(b"\r\n"):
        return None
    return [line.decode("utf-8", "replace") for line in data[:-2].split(b"\r\n")]


def Describe(data):
    """What a text is: ("command", origin, command) or ("memo", origin, lines), with the problems found."""
    lines = Split(data)
    if lines is None or len(lines) < 5:
        return None, [f"not a Kestrin text: {data!r}"]
    problems = [] if TimePattern.match(lines[1]) else [f"time line {lines[1]!r} is not HH:MM:SS"]
    if lines[-1] != "END_MESSAGE":
        problems.append(f"last line {lines[-1]!r} is not END_MESSAGE")
    if lines[0] == "COMMAND_MSG" and len(lines) == 5:
        return ("command", lines[2], lines[3]), problems
    if lines[0] == "MEMO_MSG" and lines[3] == "BEGIN_MEMO":
        return ("memo", lines[2], tuple(lines[4:-1])), problems
    return None, problems + [f"unknown layout: {lines!r}"]
