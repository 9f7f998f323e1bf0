# What the LAN tests share: a virtual LAN made with scripts/vlan, and processes inside its hosts whose output
# is read as it comes, so that tests wait for events, never for a time. Needs root.
import argparse, contextlib, json, os, pathlib, re, shutil, signal, subprocess, sys, tempfile, threading, time, unittest

sys.dont_write_bytecode = True  # the source tree may be read-only
VLAN = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "vlan"))
GUARD = 20  # seconds: against a hang, never reached when things work
SANITIZER = re.compile(r"ERROR: (Address|Leak)Sanitizer|WARNING: ThreadSanitizer|runtime error:")
# One JSON line per NetBIOS datagram on eth0, as Scapy's own dissector reads it: an independent reading.
SNIFFER = r"""
import json, scapy.all as s
from scapy.layers.netbios import NBTDatagram
def Show(p):
    n, name = p[NBTDatagram], lambda b: b.decode("latin-1").strip()
    print(json.dumps({"dst": p[s.IP].dst, "sport": p[s.UDP].sport, "SourcePort": n.SourcePort, "src":
                      name(n.SourceName), "to": name(n.DestinationName), "text": p.original.decode("latin-1")}))
s.sniff(iface="eth0", filter="udp port 138", lfilter=lambda p: NBTDatagram in p, prn=Show, store=False,
        started_callback=lambda: print("ready"))
"""


# A datagram as a Windows copy sends it: a mailslot write to \MAILSLOT\MB303 in a DIRECT_GROUP datagram from
# port 138, built with Scapy. argv: source name, source address, broadcast address, the message (hex).
WINDOWS = r"""
import sys, scapy.all as s
from scapy.layers.netbios import NBTDatagram
from scapy.layers.smb import SMB_Header, SMBNetlogon_Protocol_Response_Header as Trans, SMBMailSlot
name, ip, dst, data, slot = sys.argv[1], sys.argv[2], sys.argv[3], bytes.fromhex(sys.argv[4]), b"\\MAILSLOT\\MB303"
smb = (SMB_Header(Command=0x25, Flags=0, Flags2=0, PIDLow=0)
       / Trans(TotalDataCount=len(data), DataCount=len(data), DataOffset=70 + len(slot), TimeOut1=0, TimeOut2=0)
       / SMBMailSlot(priority=0, size=len(slot) + 1 + len(data), name=slot) / s.Raw(data))
dgm = NBTDatagram(Type=0x11, Flags=0x02, ID=0x1234, SourceIP=ip, SourcePort=138, Length=68 + len(smb),
                  SourceName=name, SUFFIX1=0x4141, DestinationName="WORKGROUP", SUFFIX2=0x4141) / smb
s.sendp(s.Ether(dst="ff:ff:ff:ff:ff:ff") / s.IP(src=ip, dst=dst) / s.UDP(sport=138, dport=138) / dgm,
        iface="eth0", verbose=False)
"""


class TProcess:
    """One command inside a host; two threads collect its stdout and stderr lines."""

    def __init__(self, argv, stdin, env):
        self.Label = ("%s: %s" % (argv[3], " ".join(os.path.basename(a) for a in argv[5:])))[:80]
        self.Out, self.Err, self.Changed = [], [], threading.Condition()
        # A session of its own: a Ctrl+C at the terminal reaches only the test, which then cleans up.
        self.Process = subprocess.Popen(argv, stdin=stdin, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        start_new_session=True, env=dict(os.environ, PYTHONUNBUFFERED="1", **env))
        self.Readers = [threading.Thread(target=self._Read, args=pair, daemon=True)
                        for pair in ((self.Process.stdout, self.Out), (self.Process.stderr, self.Err))]
        [reader.start() for reader in self.Readers]

    def _Read(self, stream, into):
        for line in iter(stream.readline, b""):
            with self.Changed:
                into.append(line.decode("utf-8", "replace").rstrip("\n"))
                self.Changed.notify_all()

    def WaitFor(self, predicate, what):
        """Waits until predicate(self) holds; fails with the output once the process ended or the guard ran out."""
        deadline = time.monotonic() + GUARD
        with self.Changed:
            while not predicate(self):
                ended = self.Process.poll() is not None and not any(r.is_alive() for r in self.Readers)
                if ended and not predicate(self) or time.monotonic() > deadline:  # again: it may end just now
                    raise AssertionError("%s %s waiting for %s\n  exit code %s\n  stdout: %s\n  stderr: %s" % (
                        self.Label, "ended" if ended else "hung", what, self.Process.poll(),
                        "\n  | ".join(self.Out[-15:]), "\n  | ".join(self.Err[-15:])))
                self.Changed.wait(0.05)  # also looks again now and then, for Bound

    def Events(self, kind=None):
        """The JSON lines printed so far (listen --json, the sniffer), of one event kind or all."""
        with self.Changed:
            return [e for e in (json.loads(l) for l in self.Out if l.startswith("{")) if kind in (None, e.get("event"))]

    def Memos(self, origin=None):
        return [m["lines"] for m in self.Events("memo") if origin in (None, m["origin"])]

    def WaitMemo(self, lines, origin=None):
        self.WaitFor(lambda me: lines in me.Memos(origin), "the memo %r" % lines)

    def Users(self):
        """The computers listed now, from the changes listen --json printed one by one."""
        listed = set()
        for e in self.Events():
            if e.get("event") in ("joined", "left"):
                (listed.add if e["event"] == "joined" else listed.discard)(e["computer"])
        return listed

    def WaitUsers(self, expected):
        self.WaitFor(lambda me: me.Users() == set(expected), "the computers %s" % expected)

    def Bound(self, port=138):
        """True once the process holds a UDP socket on the port: from then on datagrams queue for it."""
        pid = self.Process.pid  # `vlan exec` execs the command, which keeps the pid
        try:
            sockets = {os.readlink("/proc/%d/fd/%s" % (pid, fd)) for fd in os.listdir("/proc/%d/fd" % pid)}
            with open("/proc/%d/net/udp" % pid) as table:
                rows = [row.split() for row in table.readlines()[1:]]
        except OSError:
            return False
        return any(int(row[1].split(":")[1], 16) == port and "socket:[%s]" % row[9] in sockets for row in rows)

    def WaitExit(self, kill=False):
        if kill and self.Process.poll() is None:
            self.Process.kill()
        self.WaitFor(lambda me: me.Process.poll() is not None and not any(r.is_alive() for r in me.Readers), "exit")
        for stream in filter(None, (self.Process.stdin, self.Process.stdout, self.Process.stderr)):
            stream.close()
        return self.Process.returncode


class TLan:
    """A LAN of hosts made by scripts/vlan; `down` ends whatever still runs in it. Main takes down a LAN left
    behind by a run that was killed. Each host keeps its data (the history of memos) in a folder of its own,
    Data/<host>, as each computer of an office has its own; the user's own is never touched."""

    def __init__(self, hosts):
        self.Hosts, self.Processes = hosts, []
        self.Name = "klan%d_%d" % (os.getpid(), time.monotonic_ns() % 1000)

    def __enter__(self):
        out = subprocess.run([VLAN, "up", self.Name, str(len(self.Hosts)), "--names", ",".join(self.Hosts)],
                             check=True, capture_output=True, text=True).stdout
        self.Address = dict(line.split() for line in out.splitlines())
        self.Broadcast = self.Address[self.Hosts[0]].rsplit(".", 1)[0] + ".255"
        self.Data = tempfile.mkdtemp(prefix=self.Name + "-data-")
        return self

    def __exit__(self, *_):
        subprocess.run([VLAN, "down", self.Name], check=True)
        shutil.rmtree(self.Data, ignore_errors=True)

    def Start(self, host, *argv, stdin=subprocess.DEVNULL):
        data = {"XDG_DATA_HOME": os.path.join(self.Data, host)}
        self.Processes.append(TProcess([VLAN, "exec", self.Name, host, "--"] + list(argv), stdin, data))
        return self.Processes[-1]

    def Run(self, host, *argv, stdin=b""):
        """Runs a command inside a host to its end: (exit code, stdout, stderr)."""
        process = self.Start(host, *argv, stdin=subprocess.PIPE)
        process.Process.stdin.write(stdin)
        process.Process.stdin.close()
        return process.WaitExit(), "\n".join(process.Out), "\n".join(process.Err)

    def SendAsWindows(self, host, text):
        """Sends message text (bytes) to every computer as a Windows copy named after the host would."""
        run = self.Run(host, "/usr/bin/python3", "-c", WINDOWS, host, self.Address[host], self.Broadcast, text.hex())
        assert run[0] == 0, run[2]

    def Sniff(self, host):
        sniffer = self.Start(host, "/usr/bin/python3", "-c", SNIFFER)
        sniffer.WaitFor(lambda me: "ready" in me.Out, "the capture to start")
        return sniffer


class TDesktop:
    """A desktop inside a host: Xvfb without a window manager, Debian's notification daemon dunst, and the Notify
    calls on the session bus as dbus-monitor prints them. The test runs under a private bus (dbus-run-session);
    what starts later finds the display and the bus in the environment."""
    CALL = re.compile(r'string "(.*?)"\n\s+uint32 (\d+)\n\s+string ".*?"\n\s+string "(.*?)"\n\s+string "(.*?)"\n'
                      r'\s+array \[(?:.*?"category"\n\s+variant\s+string "(.*?)")?', re.S)

    def __init__(self, lan, host):
        self.Run = lambda *argv: lan.Run(host, *argv)[1]
        self.Xvfb = xvfb = lan.Start(host, "Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24")
        xvfb.WaitFor(lambda me: me.Out, "the display")
        os.environ["DISPLAY"] = ":" + xvfb.Out[0]
        self.Bus = lan.Start(host, "dbus-monitor", "interface=org.freedesktop.Notifications,member=Notify")
        self.Bus.WaitFor(lambda me: "member=NameLost" in "".join(me.Out), "the monitor")
        # Markup read as Debian's settings read it; a notification stays until acted on, not for 10 seconds.
        rc = pathlib.Path(os.environ["XDG_CONFIG_HOME"], "dunst", "dunstrc")
        rc.parent.mkdir(exist_ok=True)
        rc.write_text("[global]\nmarkup = full\n[urgency_normal]\ntimeout = 0\n")
        lan.Start(host, "dunst")
        self.Run("gdbus", "wait", "--session", "org.freedesktop.Notifications")

    def Notified(self):
        """(program, replaced id, summary, body, category) of each Notify call seen so far."""
        with self.Bus.Changed:
            return [self.CALL.search(call).groups() for call in "\n".join(self.Bus.Out).split("member=Notify")[1:]]

    def Window(self, name):
        return int(self.Run("xdotool", "search", "--sync", "--name", "^%s$" % name).split()[0])

    def Focus(self, window):
        """What a click on the window does: raises it and gives it the keyboard."""
        self.Run("xdotool", "windowraise", str(window), "windowfocus", "--sync", str(window))

    def InFront(self, window, other):
        """Whether the window has the keyboard focus and lies above the other."""
        stack = [int(id, 16) for id in re.findall(r"^\s+(0x[0-9a-f]+) ", self.Run("xwininfo", "-root", "-children"),
                                                   re.M)]  # the root's children, topmost first
        return self.Run("xdotool", "getwindowfocus") == str(window) and stack.index(window) < stack.index(other)


class TLanTest(unittest.TestCase):
    Lan, Cli, App, Tools = None, None, None, None

    def tearDown(self):
        """Ends what the test started; any sanitizer report of theirs fails it."""
        ended = self.Lan.Processes if self.Lan else []
        for process in ended:
            process.WaitExit(kill=True)
        reports = [p.Label + ":\n" + "\n".join(p.Err) for p in ended if SANITIZER.search("\n".join(p.Err))]
        ended.clear()
        if self.Lan:  # the next test's hosts start with no history
            shutil.rmtree(self.Lan.Data, ignore_errors=True)
        self.assertFalse(reports, "sanitizer reports:\n" + "\n".join(reports))

    def Start(self, host, *args, stdin=subprocess.DEVNULL):
        return self.Lan.Start(host, self.Cli, *args, stdin=stdin)

    def Run(self, host, *args, stdin=b""):
        return self.Lan.Run(host, self.Cli, *args, stdin=stdin)


def Main(hosts=()):
    """Runs the calling module's tests, on a fresh LAN of these hosts if any; the exit code for ctest."""
    parser = argparse.ArgumentParser()  # --cli, --app: the programs to test; --tools: for programs tests fetch
    [parser.add_argument(option) for option in ("--cli", "--app", "--tools")]
    args, rest = parser.parse_known_args()
    if os.geteuid() != 0:
        sys.exit("must run as root (it creates network namespaces); nothing was tested")
    for signum in (signal.SIGTERM, signal.SIGHUP):  # unwind as Ctrl+C does, through every clean-up
        signal.signal(signum, lambda signum, _: signal.default_int_handler(signum, None))
    for line in subprocess.run([VLAN, "list"], capture_output=True, text=True).stdout.splitlines():
        found = re.match(r"klan(\d+)_", line)  # left by a run that was killed before it could clean up
        if found and not os.path.exists("/proc/" + found[1]):
            subprocess.run([VLAN, "down", line.split()[0]])
    TLanTest.Cli, TLanTest.App, TLanTest.Tools = (p and os.path.abspath(p) for p in (args.cli, args.app, args.tools))
    with tempfile.TemporaryDirectory() as config, TLan(hosts) if hosts else contextlib.nullcontext() as lan:
        os.environ["XDG_CONFIG_HOME"] = config  # the user's own settings must not steer the tests
        TLanTest.Lan = lan
        result = unittest.main(module="__main__", argv=sys.argv[:1] + rest, exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() and result.testsRun and not result.skipped else 1
