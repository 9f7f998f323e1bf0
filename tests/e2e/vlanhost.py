# Virtual LAN and kestrin-cli process handling for the end-to-end tests.
import json
import os
import secrets
import signal
import subprocess
import threading
import time

DEFAULT_TIMEOUT = 10.0


class TLan:
    """A LAN made with scripts/vlan; every command that opens a socket runs inside one of its hosts."""

    def __init__(self, vlan, hostCount):
        self.Vlan = vlan
        self.Name = "e2e%d_%s" % (os.getpid(), secrets.token_hex(3))
        self.HostCount = hostCount
        self.IsUp = False

    def Up(self):
        # Marked up before the call, so that an interrupted "up" is still torn down.
        self.IsUp = True
        subprocess.run([self.Vlan, "up", self.Name, str(self.HostCount)], check=True, stdout=subprocess.DEVNULL)

    def Down(self):
        if self.IsUp:
            self.IsUp = False
            subprocess.run([self.Vlan, "down", self.Name], check=False)

    def Namespaces(self):
        listed = subprocess.run(["ip", "netns", "list"], capture_output=True, text=True, check=False).stdout
        prefix = "kvlan-" + self.Name
        return [line.split()[0] for line in listed.splitlines()
                if line.split() and (line.split()[0] == prefix or line.split()[0].startswith(prefix + "-"))]

    def Argv(self, host, argv):
        return [self.Vlan, "exec", self.Name, host, "--"] + list(argv)


class TCli:
    """One kestrin-cli process inside a host; stdout and stderr are collected by threads as they come."""

    Running = []  # every process started, so that the runner can kill what a failed test left behind

    def __init__(self, lan, host, cli, args, env, stdin=subprocess.DEVNULL):
        self.Host = host
        self.Label = "%s: kestrin-cli %s" % (host, " ".join(args) or "(interactive)")
        self.Lines = []
        self.Stderr = []
        self.Parsed = []  # JSON events of Lines, parsed once: a burst prints thousands
        self.MemoEvents = []
        self.OutputEnded = False
        self.Changed = threading.Condition()
        # A session of its own: Ctrl+C at the terminal reaches only the runner, which then cleans up.
        self.Process = subprocess.Popen(lan.Argv(host, [cli] + list(args)), stdin=stdin, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, env=env, start_new_session=True)
        TCli.Running.append(self)
        self.Readers = [threading.Thread(target=self._Read, args=(self.Process.stdout, self.Lines), daemon=True),
                        threading.Thread(target=self._Read, args=(self.Process.stderr, self.Stderr), daemon=True)]
        for reader in self.Readers:
            reader.start()

    def _Read(self, stream, into):
        for line in iter(stream.readline, b""):
            with self.Changed:
                into.append(line)
                self.Changed.notify_all()
        with self.Changed:
            self.OutputEnded = self.OutputEnded or into is self.Lines
            self.Changed.notify_all()

    def WaitFor(self, predicate, what, timeout=DEFAULT_TIMEOUT):
        """Waits until predicate(self) holds; fails with the process's output when the deadline passes."""
        deadline = time.monotonic() + timeout
        with self.Changed:
            while not predicate(self):
                if self.OutputEnded and self.Process.poll() is not None:
                    raise AssertionError("%s: exited while waiting for %s\n%s" % (self.Label, what, self.Describe()))
                left = deadline - time.monotonic()
                if left <= 0:
                    raise AssertionError("%s: timed out after %.0f s waiting for %s\n%s" %
                                         (self.Label, timeout, what, self.Describe()))
                # Woken by every new line; the short bound lets predicates that look outside the output progress.
                self.Changed.wait(min(left, 0.05))

    def Describe(self, tail=15):
        out = b"".join(self.Lines[-tail:]).decode("utf-8", "replace")
        err = self.ErrorText()
        reports = SanitizerReports(err)
        return "  exit code: %s\n  last stdout lines:\n%s  stderr:\n%s" % (
            self.Process.poll(), _Indent(out), _Indent(reports or "\n".join(err.splitlines()[-tail:])))

    def Text(self):
        with self.Changed:
            return b"".join(self.Lines).decode("utf-8", "replace")

    def ErrorText(self):
        with self.Changed:
            return b"".join(self.Stderr).decode("utf-8", "replace")

    def Events(self, kind=None):
        """The JSON events printed so far (listen --json), optionally only those of one kind."""
        with self.Changed:
            self._ParseNew()
            return [e for e in self.Parsed if kind is None or e.get("event") == kind]

    def _ParseNew(self):
        with self.Changed:
            for line in self.Lines[len(self.Parsed):]:
                try:
                    self.Parsed.append(json.loads(line))
                except ValueError as error:
                    raise AssertionError("%s printed a line that is not JSON: %r (%s)" % (self.Label, line, error))
                if self.Parsed[-1].get("event") == "memo":
                    self.MemoEvents.append(self.Parsed[-1])

    def Users(self):
        """The last list of computers printed, or None before the first users event."""
        users = self.Events("users")
        return users[-1]["users"] if users else None

    def WaitUsers(self, expected, timeout=DEFAULT_TIMEOUT):
        expected = sorted(expected)
        self.WaitFor(lambda me: me.Users() is not None and sorted(me.Users()) == expected,
                     "the list of computers to become %s" % expected, timeout)

    def Memos(self, origin=None):
        with self.Changed:
            self._ParseNew()
            return [e for e in self.MemoEvents if origin is None or e.get("origin") == origin]

    def WaitMemo(self, predicate, what, timeout=DEFAULT_TIMEOUT):
        """Waits for a memo that satisfies predicate; each memo is looked at once, as a burst brings thousands."""
        scanned = 0

        def Arrived(me):
            nonlocal scanned
            with me.Changed:
                me._ParseNew()
                fresh = me.MemoEvents[scanned:]
                scanned += len(fresh)
            return any(predicate(m) for m in fresh)
        self.WaitFor(Arrived, what, timeout)

    def WaitBound(self, port=138, timeout=DEFAULT_TIMEOUT):
        """Waits until this process holds a UDP socket bound to the port: from then on datagrams queue for it."""
        self.WaitFor(lambda me: me.Process.poll() is not None or me._HoldsUdpPort(port),
                     "its own mailbox on UDP port %d" % port, timeout)
        if self.Process.poll() is not None:
            raise AssertionError("%s exited before opening its mailbox\n%s" % (self.Label, self.Describe()))

    def _HoldsUdpPort(self, port):
        pid = self.Process.pid
        try:
            inodes = set()
            for fd in os.listdir("/proc/%d/fd" % pid):
                target = os.readlink("/proc/%d/fd/%s" % (pid, fd))
                if target.startswith("socket:["):
                    inodes.add(target[8:-1])
            with open("/proc/%d/net/udp" % pid) as table:
                rows = [row.split() for row in table.readlines()[1:]]
        except OSError:
            return False
        return any(int(row[1].split(":")[1], 16) == port and row[9] in inodes for row in rows)

    def Write(self, text):
        data = text.encode("latin-1") if isinstance(text, str) else text
        self.Process.stdin.write(data)
        self.Process.stdin.flush()

    def Signal(self, signum):
        self.Process.send_signal(signum)

    def WaitExit(self, timeout=DEFAULT_TIMEOUT):
        try:
            code = self.Process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("%s did not exit within %.0f s\n%s" % (self.Label, timeout, self.Describe()))
        for reader in self.Readers:
            reader.join(timeout)
        return code

    def Kill(self):
        if self.Process.poll() is None:
            self.Process.kill()
        try:
            self.Process.wait(DEFAULT_TIMEOUT)
        except subprocess.TimeoutExpired:
            pass
        for reader in self.Readers:
            reader.join(DEFAULT_TIMEOUT)
        if self.Process.stdin:
            try:
                self.Process.stdin.close()
            except OSError:
                pass


def RunCli(lan, host, cli, args, env, stdin=b"", timeout=DEFAULT_TIMEOUT):
    """Runs one short kestrin-cli command (send, who) inside a host; returns (exit code, stdout, stderr)."""
    process = subprocess.Popen(lan.Argv(host, [cli] + list(args)), stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, env=env, start_new_session=True)
    try:
        out, err = process.communicate(stdin, timeout)
    except subprocess.TimeoutExpired:
        raise AssertionError("%s: kestrin-cli %s did not finish within %.0f s" % (host, " ".join(args), timeout))
    finally:
        if process.poll() is None:
            process.kill()
            process.communicate()
    return process.returncode, out.decode("utf-8", "replace"), err.decode("utf-8", "replace")


def KillAll():
    """Kills every process started; returns them, their output complete."""
    stopped = list(TCli.Running)
    TCli.Running.clear()
    for process in stopped:
        process.Kill()
    return stopped


def SanitizerReports(stderr, full=False):
    """The headlines of the sanitizer reports in a process's stderr (a sanitizer build of kestrin-cli);
    with `full`, the first report whole, stacks included."""
    marks = ("WARNING: ThreadSanitizer", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
             "SUMMARY: ")
    lines = stderr.splitlines()
    starts = [i for i, line in enumerate(lines) if any(mark in line for mark in marks)]
    if full and starts:
        ends = [i for i in starts if "SUMMARY: " in lines[i]] + [len(lines) - 1]
        return "\n".join(lines[starts[0]:ends[0] + 1])
    return "\n".join(lines[i] for i in starts)


def InstallSignalHandlers():
    """SIGINT, SIGTERM and SIGHUP unwind as KeyboardInterrupt, so every finally block (and the LAN teardown) runs.
    SIGINT too: a shell starts background jobs with it ignored."""
    def Interrupt(signum, _frame):
        raise KeyboardInterrupt("signal %d" % signum)
    for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, Interrupt)


def _Indent(text):
    return "".join("    " + line + "\n" for line in text.splitlines()) or "    (none)\n"
