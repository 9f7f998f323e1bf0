# Child processes whose output is read line by line as it comes, so a test waits for an event, not a time.
import os
import signal
import subprocess
import threading
import time

# A child that ignores SIGTERM this long is killed: nothing the tests start needs more to leave.
StopGraceSeconds = 10


class TChild:
    """One running command; Lines() and WaitForLine() see its standard output, Errors() its standard error."""

    def __init__(self, name, argv, stdin=subprocess.DEVNULL, env=None):
        self.Name = name
        self.Argv = argv
        self.Process = subprocess.Popen(argv, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        env=env, start_new_session=True)
        self.Changed = threading.Condition()
        self.Out = []
        self.Err = []
        self.Readers = [threading.Thread(target=self.Read, args=(self.Process.stdout, self.Out), daemon=True),
                        threading.Thread(target=self.Read, args=(self.Process.stderr, self.Err), daemon=True)]
        for reader in self.Readers:
            reader.start()

    def Read(self, stream, into):
        for raw in iter(stream.readline, b""):
            with self.Changed:
                into.append(raw.decode("utf-8", "replace").rstrip("\r\n"))
                self.Changed.notify_all()
        with self.Changed:
            self.Changed.notify_all()

    def Lines(self):
        with self.Changed:
            return list(self.Out)

    def Errors(self):
        with self.Changed:
            return list(self.Err)

    def WaitFor(self, predicate, seconds, stream="out"):
        """Waits until predicate(list of lines so far) is true or the child has ended; the final value."""
        deadline = time.monotonic() + seconds
        lines = self.Out if stream == "out" else self.Err
        with self.Changed:
            while True:
                result = predicate(list(lines))
                left = deadline - time.monotonic()
                if result or left <= 0 or (self.Process.poll() is not None and not self.ReadersAlive()):
                    return result
                self.Changed.wait(min(left, 0.5))

    def WaitForLine(self, test, seconds, stream="out", after=0):
        """The first line from index `after` on that satisfies test(line), or None at the deadline."""
        def Found(lines):
            return next((line for line in lines[after:] if test(line)), None)
        return self.WaitFor(Found, seconds, stream)

    def ReadersAlive(self):
        return any(reader.is_alive() for reader in self.Readers)

    def Signal(self, signalNumber):
        if self.Process.poll() is None:
            self.Process.send_signal(signalNumber)

    def Wait(self, seconds):
        """The exit code, or None when the child is still running at the deadline."""
        try:
            code = self.Process.wait(timeout=seconds)
        except subprocess.TimeoutExpired:
            return None
        for reader in self.Readers:
            reader.join(timeout=seconds)
        return code

    def Stop(self, signalNumber=signal.SIGTERM):
        """Asks the child to leave, kills it after the grace time; its exit code."""
        self.Signal(signalNumber)
        code = self.Wait(StopGraceSeconds)
        if code is None:
            self.Process.kill()
            code = self.Wait(StopGraceSeconds)
        return code

    def Describe(self):
        return [f"{self.Name}: {' '.join(self.Argv)}"] + [f"  out| {l}" for l in self.Lines()] + \
               [f"  err| {l}" for l in self.Errors()]


class TChildren:
    """Every child the test started, so that each is ended by its own id, also when the test fails."""

    def __init__(self):
        self.Started = []

    def Start(self, name, argv, **options):
        child = TChild(name, argv, **options)
        self.Started.append(child)
        return child

    def StopAll(self):
        for child in reversed(self.Started):
            if child.Process.poll() is None:
                child.Stop()
        self.Started.clear()


def Run(argv, seconds, stdinBytes=None, env=None):
    """Runs a command to its end: (exit code, stdout text, stderr text); exit code None on time-out."""
    try:
        done = subprocess.run(argv, input=stdinBytes, capture_output=True, timeout=seconds, env=env,
                              stdin=None if stdinBytes is not None else subprocess.DEVNULL)
    except subprocess.TimeoutExpired as expired:
        return None, (expired.stdout or b"").decode("utf-8", "replace"), (expired.stderr or b"").decode(
            "utf-8", "replace")
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")


def PythonEnvironment():
    env = dict(os.environ)
    env["PYTHONUNBUFFERED"] = "1"
    env["PYTHONDONTWRITEBYTECODE"] = "1"
    return env
