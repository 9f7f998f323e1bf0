# What every LAN test shares: a virtual LAN made with scripts/vlan, and processes run inside its hosts whose
# output is read as it comes, so that tests wait for events, never for a time. Needs root.
import argparse, json, os, re, signal, subprocess, sys, tempfile, threading, time, unittest

sys.dont_write_bytecode = True  # the source tree may be read-only
VLAN = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "vlan"))
TIMEOUT = 20  # a guard against hanging, never reached when things work
SANITIZER = re.compile(r"ERROR: (Address|Leak)Sanitizer|WARNING: ThreadSanitizer|runtime error:")
# One JSON line per NetBIOS datagram on eth0, read by Scapy's own dissector: an independent reading of the wire.
SNIFFER = r"""
import json, scapy.all as s
from scapy.layers.netbios import NBTDatagram
def Show(p):
    n, name = p[NBTDatagram], lambda b: b.decode("latin-1").strip()
    print(json.dumps({"dst": p[s.IP].dst, "sport": p[s.UDP].sport, "SourcePort": n.SourcePort,
                      "src": name(n.SourceName), "to": name(n.DestinationName),
                      "text": p.original.decode("latin-1")}), flush=True)
s.sniff(iface="eth0", filter="udp port 138", lfilter=lambda p: NBTDatagram in p, prn=Show, store=False,
        started_callback=lambda: print("ready", flush=True))
"""


def Namespaces(lan):
    listed = subprocess.run(["ip", "netns", "list"], capture_output=True, text=True).stdout.split()
    return [ns for ns in listed if re.fullmatch("kvlan-%s(-.+)?" % lan, ns)]


class TProcess:
    """One command inside a host; stdout and stderr lines are collected by two reader threads."""

    def __init__(self, argv, stdin):
        self.Label = ("%s: %s" % (argv[3], " ".join(os.path.basename(a) for a in argv[5:])))[:80]
        self.Out, self.Err, self.Changed = [], [], threading.Condition()
        # A session of its own: a Ctrl+C at the terminal reaches only the test, which then cleans up.
        self.Process = subprocess.Popen(argv, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        start_new_session=True)
        self.Readers = [threading.Thread(target=self._Read, args=(stream, into), daemon=True)
                        for stream, into in ((self.Process.stdout, self.Out), (self.Process.stderr, self.Err))]
        for reader in self.Readers:
            reader.start()

    def _Read(self, stream, into):
        for line in iter(stream.readline, b""):
            with self.Changed:
                into.append(line.decode("utf-8", "replace").rstrip("\n"))
                self.Changed.notify_all()

    def WaitFor(self, predicate, what):
        """Waits until predicate(self) holds; fails with the process's output once it ended or the guard ran out."""
        deadline = time.monotonic() + TIMEOUT
        with self.Changed:
            while not predicate(self):
                ended = self.Process.poll() is not None and not any(r.is_alive() for r in self.Readers)
                if ended or time.monotonic() > deadline:
                    raise AssertionError("%s %s waiting for %s\n%s" % (
                        self.Label, "ended" if ended else "hung", what, self.Describe()))
                self.Changed.wait(0.05)  # predicates may look outside the output, as Bound does

    def Text(self):
        with self.Changed:
            return "\n".join(self.Out)

    def Events(self, kind):
        """The JSON lines printed so far (listen --json, the sniffer) of one event kind, or all with kind None."""
        with self.Changed:
            events = [json.loads(line) for line in self.Out if line.startswith("{")]
        return [e for e in events if kind is None or e.get("event") == kind]

    def Bound(self, port=138):
        """True once the process holds a UDP socket on the port: from then on datagrams queue for it."""
        pid = self.Process.pid  # `vlan exec` execs the command: the pid stays the same
        try:
            sockets = {os.readlink("/proc/%d/fd/%s" % (pid, fd)) for fd in os.listdir("/proc/%d/fd" % pid)}
            with open("/proc/%d/net/udp" % pid) as table:
                rows = [row.split() for row in table.readlines()[1:]]
        except OSError:
            return False
        return any(int(row[1].split(":")[1], 16) == port and "socket:[%s]" % row[9] in sockets for row in rows)

    def WaitExit(self):
        try:
            code = self.Process.wait(TIMEOUT)
        except subprocess.TimeoutExpired:
            raise AssertionError("%s did not exit\n%s" % (self.Label, self.Describe()))
        self._Close()
        return code

    def Kill(self):
        if self.Process.poll() is None:
            self.Process.kill()
        self.Process.wait()
        self._Close()

    def _Close(self):
        for reader in self.Readers:
            reader.join()
        for stream in (self.Process.stdin, self.Process.stdout, self.Process.stderr):
            if stream and not stream.closed:
                stream.close()

    def Describe(self):
        with self.Changed:
            return "  exit code %s\n  stdout: %s\n  stderr: %s" % (self.Process.poll(), "\n  | ".join(
                self.Out[-15:]), "\n  | ".join(self.Err[-15:]))


class TLan:
    """A LAN of hosts made by scripts/vlan; everything started in it is killed when it goes down."""

    def __init__(self, hosts, vlan=VLAN):
        self.Vlan, self.Hosts, self.Processes, self.IsUp = vlan, hosts, [], False
        self.Name = "klan%d_%d" % (os.getpid(), time.monotonic_ns() % 1000)

    def __enter__(self):
        self.IsUp = True  # before the call: an interrupted `up` is still taken down
        out = subprocess.run([self.Vlan, "up", self.Name, str(len(self.Hosts)), "--names", ",".join(self.Hosts)],
                             check=True, capture_output=True, text=True).stdout
        self.Address = dict(line.split() for line in out.splitlines())
        self.Broadcast = self.Address[self.Hosts[0]].rsplit(".", 1)[0] + ".255"
        return self

    def __exit__(self, *_):
        self.Down()

    def Down(self):
        for process in self.Processes:
            process.Kill()
        if self.IsUp:
            self.IsUp = False
            subprocess.run([self.Vlan, "down", self.Name], check=True)

    def Start(self, host, *argv, stdin=subprocess.DEVNULL):
        self.Processes.append(TProcess([self.Vlan, "exec", self.Name, host, "--"] + list(argv), stdin))
        return self.Processes[-1]

    def Run(self, host, *argv, stdin=b""):
        """Runs a command to its end inside a host: (exit code, stdout, stderr)."""
        process = self.Start(host, *argv, stdin=subprocess.PIPE)
        process.Process.stdin.write(stdin)
        process.Process.stdin.close()
        return process.WaitExit(), "\n".join(process.Out), "\n".join(process.Err)

    def Sniff(self, host):
        sniffer = self.Start(host, "/usr/bin/python3", "-c", SNIFFER)
        sniffer.WaitFor(lambda me: "ready" in me.Out, "the capture to start")
        return sniffer


class TLanTest(unittest.TestCase):
    Lan, Cli = None, None

    def tearDown(self):
        reports = ["%s:\n%s" % (p.Label, "\n".join(p.Err)) for p in self.Lan.Processes if SANITIZER.search(
            "\n".join(p.Err))] if self.Lan else []
        if self.Lan:
            for process in self.Lan.Processes:
                process.Kill()
            self.Lan.Processes.clear()
        self.assertFalse(reports, "sanitizer reports:\n" + "\n".join(reports))

    def Start(self, host, *args, stdin=subprocess.DEVNULL):
        return self.Lan.Start(host, self.Cli, *args, stdin=stdin)

    def Run(self, host, *args, stdin=b""):
        return self.Lan.Run(host, self.Cli, *args, stdin=stdin)


def Main(hosts=()):
    """Runs the calling module's tests on a fresh LAN of these hosts; the exit code for ctest."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--cli", help="the kestrin-cli to test")
    args, rest = parser.parse_known_args()
    if os.geteuid() != 0:
        print("must run as root (it creates network namespaces); nothing was tested", file=sys.stderr)
        return 1

    def Interrupt(signum, _frame):
        raise KeyboardInterrupt("signal %d" % signum)
    for signum in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, Interrupt)
    # LANs of earlier runs that were killed before they could clean up.
    for line in subprocess.run([VLAN, "list"], capture_output=True, text=True).stdout.splitlines():
        found = re.match(r"klan(\d+)_", line)
        if found and not os.path.exists("/proc/" + found.group(1)):
            subprocess.run([VLAN, "down", line.split()[0]])
    TLanTest.Cli = args.cli and os.path.abspath(args.cli)
    with tempfile.TemporaryDirectory() as config:
        os.environ["XDG_CONFIG_HOME"] = config  # the user's own settings must not steer the tests
        lan = TLan(hosts)
        try:
            TLanTest.Lan = lan.__enter__() if hosts else None
            result = unittest.main(module="__main__", argv=sys.argv[:1] + rest, exit=False, verbosity=2).result
        finally:
            lan.Down()
    return 0 if result.wasSuccessful() and result.testsRun and not result.skipped else 1
