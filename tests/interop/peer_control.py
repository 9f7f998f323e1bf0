# Driving windows_peer.py inside a LAN host: sending crafted datagrams and waiting for what it receives.
import json
import os
import subprocess
import sys

from children import PythonEnvironment

Here = os.path.dirname(os.path.abspath(__file__))
ReadySeconds = 60
EventSeconds = 15


def Events(lines, kind=None):
    events = []
    for line in lines:
        try:
            event = json.loads(line)
        except ValueError:
            continue
        if kind is None or event.get("event") == kind:
            events.append(event)
    return events


class TWindowsPeer:
    def __init__(self, lan, children, host):
        self.Host = host
        self.Address = lan.Address(host)
        self.Child = children.Start(f"peer@{host}", lan.Exec(host, [
            sys.executable, os.path.join(Here, "windows_peer.py")]), stdin=subprocess.PIPE, env=PythonEnvironment())
        self.NextTag = 0

    def WaitReady(self):
        """The ready event (with the crafting self-check), or None when the peer did not start."""
        found = self.Child.WaitFor(lambda lines: Events(lines, "ready"), ReadySeconds)
        return found[0] if found else None

    def Send(self, to, recipe):
        """Sends one crafted datagram; True once the peer reports it was handed to the network."""
        self.NextTag += 1
        tag = self.NextTag
        self.Child.Process.stdin.write((json.dumps({"op": "send", "tag": tag, "to": to, "recipe": recipe}) + "\n").encode())
        self.Child.Process.stdin.flush()

        def Answer(lines):
            return next((e for e in Events(lines) if e.get("tag") == tag), None)
        answer = self.Child.WaitFor(Answer, EventSeconds)
        return bool(answer) and answer["event"] == "sent"

    def Mark(self):
        """A position in the peer's reports; WaitForDatagram(after=mark) looks only at later ones."""
        return len(self.Child.Lines())

    def WaitForDatagram(self, test, seconds=EventSeconds, after=0):
        """The first datagram event from `after` on for which test(event) holds, or None at the deadline."""
        def Found(lines):
            return next((e for e in Events(lines[after:], "datagram") if test(e)), None)
        return self.Child.WaitFor(Found, seconds)

    def Datagrams(self, after=0):
        return Events(self.Child.Lines()[after:], "datagram")
