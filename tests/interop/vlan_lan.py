# The virtual LAN the interop tests run in, made with scripts/vlan and always taken down again.
import atexit
import os
import signal
import subprocess

from children import Run


class TInterrupted(Exception):
    """A signal asked the test to stop; raised so that every finally block still runs."""


class TLan:
    def __init__(self, vlanTool, name, hosts):
        self.Tool = vlanTool
        self.Name = name
        self.HostNames = hosts
        self.Up = False
        self.Addresses = {}
        self.Broadcast = None

    def Create(self):
        # Taken down at exit even if the caller never reaches its finally block.
        atexit.register(self.Destroy)
        self.Up = True
        code, out, err = Run([self.Tool, "up", self.Name, str(len(self.HostNames)), "--names",
                              ",".join(self.HostNames)], 120)
        if code != 0:
            raise RuntimeError(f"vlan up {self.Name} failed ({code}): {err.strip()}")
        for line in out.splitlines():
            host, address = line.split()
            self.Addresses[host] = address
        code, out, err = Run([self.Tool, "bcast", self.Name], 30)
        if code != 0:
            raise RuntimeError(f"vlan bcast {self.Name} failed: {err.strip()}")
        self.Broadcast = out.strip()

    def Destroy(self):
        """Kills whatever still runs inside the LAN and removes it; safe to call more than once."""
        if not self.Up:
            return True
        self.Up = False
        code, _, err = Run([self.Tool, "down", self.Name], 120)
        if code != 0:
            print(f"interop: vlan down {self.Name} failed ({code}): {err.strip()}", flush=True)
        return code == 0

    def Exec(self, host, argv):
        return [self.Tool, "exec", self.Name, host, "--"] + list(argv)

    def Address(self, host):
        return self.Addresses[host]

    def Exists(self):
        code, out, _ = Run([self.Tool, "list"], 30)
        return code == 0 and any(line.split()[:1] == [self.Name] for line in out.splitlines())


def LeftoverNamespaces(lanName):
    listed = subprocess.run(["ip", "netns", "list"], capture_output=True, text=True).stdout
    prefix = f"kvlan-{lanName}"
    return [line.split()[0] for line in listed.splitlines()
            if line.split() and (line.split()[0] == prefix or line.split()[0].startswith(prefix + "-"))]


def InstallSignalHandlers():
    """Ctrl+C, SIGTERM and SIGHUP end the test through its clean-up path."""
    def Raise(signalNumber, _frame):
        raise TInterrupted(signal.Signals(signalNumber).name)
    for signalNumber in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(signalNumber, Raise)


def UniqueLanName():
    return f"ix{os.getpid()}"
