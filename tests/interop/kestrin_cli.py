# Running kestrin-cli inside a LAN host: one-shot commands, and `listen --json` whose events are waited for.
import json
import os
import signal

from children import Run

CommandSeconds = 60
EventSeconds = 15
# First lines of the reports of the sanitizers the project builds with (asan, ubsan, tsan presets).
SanitizerMarks = ("WARNING: ThreadSanitizer", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:")


class TKestrinCli:
    def __init__(self, lan, children, cliPath, configPath):
        self.Lan = lan
        self.Children = children
        self.Path = cliPath
        # An empty settings file: what a user's own settings say must not change what is tested.
        self.Config = configPath
        self.Env = dict(os.environ, LC_ALL="C")
        self.ErrorOutputs = []
        self.Listeners = []

    def Argv(self, host, arguments):
        return self.Lan.Exec(host, [self.Path, "--config", self.Config] + list(arguments))

    def Run(self, host, arguments, stdinBytes=None):
        """(exit code, stdout, stderr); exit code None when it did not end in time."""
        code, out, err = Run(self.Argv(host, arguments), CommandSeconds, stdinBytes=stdinBytes, env=self.Env)
        self.ErrorOutputs.append((" ".join(arguments[:1]), err.splitlines()))
        return code, out, err

    def Listen(self, host):
        listener = TListener(self.Children.Start(f"listen@{host}", self.Argv(host, ["listen", "--json"]),
                                                 env=self.Env))
        self.Listeners.append(listener)
        return listener

    def SanitizerReports(self):
        """"command: first report line" for every sanitizer report any run printed."""
        outputs = self.ErrorOutputs + [("listen", listener.Child.Errors()) for listener in self.Listeners]
        return [f"{command}: {line.strip()}" for command, lines in outputs for line in lines
                if any(mark in line for mark in SanitizerMarks)]


class TListener:
    def __init__(self, child):
        self.Child = child

    def Events(self, after=0):
        events = []
        for line in self.Child.Lines()[after:]:
            try:
                events.append(json.loads(line))
            except ValueError:
                events.append({"event": "unreadable", "line": line})
        return events

    def Mark(self):
        return len(self.Child.Lines())

    def WaitForEvent(self, test, seconds=EventSeconds, after=0):
        """The first event from `after` on for which test(event) holds, or None at the deadline."""
        return self.Child.WaitFor(lambda _: next((e for e in self.Events(after) if test(e)), None), seconds)

    def Stop(self):
        """SIGTERM, which the client takes as a request to leave normally; its exit code."""
        return self.Child.Stop(signal.SIGTERM)
