#!/usr/bin/python3
# End-to-end tests of kestrin-cli on a virtual LAN of three hosts; needs root for the network namespaces.
import argparse
import atexit
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.dont_write_bytecode = True  # keep the source tree clean of __pycache__
from vlanhost import DEFAULT_TIMEOUT, KillAll, RunCli, SanitizerReports, TCli, TLan, InstallSignalHandlers

HERE = os.path.dirname(os.path.abspath(__file__))
HOSTS = ["WS01", "WS02", "WS03"]
BURST = 1000

Lan = None
Cli = None
Env = None


class TEndToEnd(unittest.TestCase):
    maxDiff = None

    def tearDown(self):
        reports = ["%s:\n%s" % (p.Label, SanitizerReports(p.ErrorText(), full=True)) for p in KillAll()
                   if SanitizerReports(p.ErrorText())]
        if reports:
            self.fail("sanitizer reports from kestrin-cli (the first of each process):\n" + "\n".join(reports))

    def Start(self, host, *args, stdin=subprocess.DEVNULL):
        return TCli(Lan, host, Cli, args, Env, stdin)

    def Run(self, host, *args, stdin=b"", timeout=DEFAULT_TIMEOUT):
        code, out, err = RunCli(Lan, host, Cli, args, Env, stdin, timeout)
        if SanitizerReports(err):
            self.fail("sanitizer reports from %s: kestrin-cli %s:\n%s" %
                      (host, " ".join(args), SanitizerReports(err, full=True)))
        return code, out, err

    def Listen(self, *hosts):
        """Starts `listen --json` on the hosts one after the other and waits until each lists all the others."""
        started = {}
        for host in hosts:
            started[host] = self.Start(host, "listen", "--json")
            started[host].WaitBound()
        for host, process in started.items():
            if len(hosts) > 1:
                process.WaitUsers([other for other in hosts if other != host])
        return started

    def Interactive(self, host, knows):
        """An interactive session fed from a pipe, once it has heard from every host in `knows`."""
        session = self.Start(host, stdin=subprocess.PIPE)
        session.WaitBound()
        session.WaitFor(lambda me: set(knows) <= set(LastComputers(me.Text())),
                        "the computers %s in its list" % sorted(knows))
        return session

    def Send(self, host, args, text):
        code, out, err = self.Run(host, "send", *args, stdin=text)
        self.assertEqual(code, 0, "send %s from %s failed: %s" % (" ".join(args), host, err))
        self.assertEqual(out, "", "send prints nothing on success")

    def Barrier(self, sender, receivers, tag):
        """A memo to all from `sender`, awaited on every receiver: what it sent before has arrived by then."""
        self.Send(sender, ["--all"], b"barrier " + tag.encode())
        for receiver in receivers:
            receiver.WaitMemo(lambda m: m["lines"] == ["barrier " + tag], "the barrier memo %r" % tag)

    def test_1_presence(self):
        others = self.Listen("WS02", "WS03")
        for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            with self.subTest(stopped_by=signal.Signals(signum).name):
                ws01 = self.Start("WS01", "listen", "--json")
                ws01.WaitBound()
                # WS02 and WS03 announced themselves before WS01 existed: only their answers tell WS01 about them.
                ws01.WaitUsers(["WS02", "WS03"])
                self.assertEqual([len(e["users"]) for e in ws01.Events("users")], [1, 2],
                                 "one list change per ONLINE_RESPONSE, no duplicates")
                others["WS02"].WaitUsers(["WS03", "WS01"])
                others["WS03"].WaitUsers(["WS02", "WS01"])
                ws01.Signal(signum)
                self.assertEqual(ws01.WaitExit(), 0, "a listener stopped by a signal exits with 0")
                others["WS02"].WaitUsers(["WS03"])
                others["WS03"].WaitUsers(["WS02"])

        before = len(others["WS02"].Events("users"))
        code, out, err = self.Run("WS01", "who", "--wait", "800")
        self.assertEqual(code, 0, "who failed: " + err)
        self.assertEqual(sorted(out.split()), ["WS02", "WS03"], "who prints the listening hosts")
        # who announces itself and leaves: WS02 lists WS01 once, then drops it again.
        others["WS02"].WaitFor(lambda me: len(me.Events("users")) >= before + 2 and me.Users() == ["WS03"],
                               "WS01 (who) to come and go")
        self.assertIn("WS01", others["WS02"].Events("users")[before]["users"])

    def test_2_memos(self):
        listeners = self.Listen("WS02", "WS03")
        text = (b"Line one\r\n\n  indented, trailing blank \n\nEND_MESSAGE\n"
                b"Latin-1 caf\xe9\nUTF-8 caf\xc3\xa9 \xe2\x82\xac\nmixed \xe9 \xc3\xa9\n\n")
        lines = ["Line one", "", "  indented, trailing blank ", "", "END_MESSAGE",
                 "Latin-1 caf\u00e9", "UTF-8 caf\u00e9 \u20ac", "mixed \u00e9 \u00c3\u00a9", ""]

        self.Send("WS01", ["--to", "WS02"], text)
        listeners["WS02"].WaitMemo(lambda m: m["lines"] == lines, "the memo to WS02, line for line")
        memo = listeners["WS02"].Memos("WS01")[0]
        self.assertEqual(memo["lines"], lines)
        self.assertTrue(memo["time"], "a memo carries the sender's time")
        self.Barrier("WS01", listeners.values(), "to-one")
        self.assertNotIn(lines, [m["lines"] for m in listeners["WS03"].Memos()], "WS03 got the memo meant for WS02")

        self.Send("WS01", ["--all"], b"to all\n" + text)
        for listener in listeners.values():
            listener.WaitMemo(lambda m: m["lines"] == ["to all"] + lines, "the memo to all, line for line")
        self.Send("WS03", ["--all", "words", "as", "arguments"], b"")
        for listener in listeners.values():
            listener.WaitMemo(lambda m: m["lines"] == ["words as arguments"] and m["origin"] == "WS03",
                              "the memo given as arguments")

        # A memo to all also reaches the listener on the sending host, as it would any other.
        self.Send("WS02", ["--all"], b"to all from WS02")
        listeners["WS02"].WaitMemo(lambda m: m["lines"] == ["to all from WS02"] and m["origin"] == "WS02",
                                   "its own host's memo to all")

        session = self.Interactive("WS01", ["WS02", "WS03"])
        session.Write("first\n\n//slash\nsecond\n.\n")
        own = "memo from WS01 at [^\n]*:\n  \\| first\n  \\| \n  \\| /slash\n  \\| second\n"
        session.WaitFor(lambda me: re.search(own, me.Text()), "its own memo to all, shown as it comes back")
        for listener in listeners.values():
            listener.WaitMemo(lambda m: m["lines"] == ["first", "", "/slash", "second"], "the interactive memo")

        # Learned names go straight to the computer's address; case does not matter.
        session.Write("/to ws02\nto WS02 alone\n.\n")
        listeners["WS02"].WaitMemo(lambda m: m["lines"] == ["to WS02 alone"], "the memo to ws02")
        session.Write("/all\nbarrier interactive\n.\n")
        for listener in listeners.values():
            listener.WaitMemo(lambda m: m["lines"] == ["barrier interactive"], "the interactive barrier")
        session.WaitFor(lambda me: "  | barrier interactive\n" in me.Text(), "its own barrier memo")
        self.assertNotIn(["to WS02 alone"], [m["lines"] for m in listeners["WS03"].Memos()])
        self.assertNotIn("to WS02 alone", session.Text(), "a memo to one comes back to its sender")

        session.Process.stdin.close()  # end of input ends the session like /quit
        self.assertEqual(session.WaitExit(), 0)
        listeners["WS02"].WaitUsers(["WS03"])

    def test_3_unlearned_name(self):
        listeners = self.Listen("WS02", "WS03")
        for name in ("WS03", "ws03"):
            with self.subTest(to=name):
                body = "to %s by a fresh process" % name
                self.Send("WS01", ["--to", name], body.encode())
                listeners["WS03"].WaitMemo(lambda m: m["lines"] == [body] and m["origin"] == "WS01",
                                           "the memo to %s" % name)
                self.Barrier("WS01", listeners.values(), name)
                self.assertNotIn([body], [m["lines"] for m in listeners["WS02"].Memos()],
                                 "WS02 kept a broadcast memo addressed to %s" % name)

    def test_4_second_copy(self):
        listeners = self.Listen("WS01", "WS02")
        code, out, err = self.Run("WS01", "listen", "--json")
        self.assertNotEqual(code, 0, "a second listener on one host must fail")
        self.assertIn("Could not Create Mail Slot", err)
        self.assertRegex(err, r"\b138\b.*in use", "stderr names the port in use")
        self.assertEqual(out, "")
        # The failed copy never announced anything: WS02 still lists WS01, which still receives.
        usersBefore = listeners["WS02"].Events("users")
        self.Barrier("WS03", listeners.values(), "second-copy")
        self.assertEqual(listeners["WS02"].Events("users"), usersBefore)
        self.assertEqual(listeners["WS01"].Users(), ["WS02"])

    def test_5_burst(self):
        receiver = self.Listen("WS02")["WS02"]
        senders = {host: self.Interactive(host, ["WS02"]) for host in ("WS01", "WS03")}
        for target, command in (("WS02", "/to WS02"), ("every computer", "/all")):
            with self.subTest(to=target):
                self.Burst(receiver, senders, target, command)

    def Burst(self, receiver, senders, target, command):
        for session in senders.values():
            session.Write(command + "\n")
            session.WaitFor(lambda me: "sending to %s\n" % target in me.Text(), "the target to be set")
        tag = target.split()[0]
        started = time.monotonic()
        for host, session in senders.items():
            session.Write("".join("%s %s %d\n.\n" % (host, tag, n) for n in range(1, BURST + 1)))
        last = "%s " + tag + " " + str(BURST)  # once the last is in, any earlier one missing is lost
        for host in senders:
            receiver.WaitMemo(lambda m, host=host: m["lines"] == [last % host], "the end of %s's burst" % host, 120)
        elapsed = time.monotonic() - started
        expected = {host: ["%s %s %d" % (host, tag, n) for n in range(1, BURST + 1)] for host in senders}
        for host in senders:
            texts = (" ".join(m["lines"]) for m in receiver.Memos(host))
            got = [text for text in texts if text.startswith(host + " " + tag)]
            self.assertEqual(sorted(set(expected[host]) - set(got)), [],
                             "memos from %s lost on the way to WS02" % host)
            if got != expected[host]:
                at = next(i for i, pair in enumerate(zip(got + [None], expected[host] + [None])) if pair[0] != pair[1])
                self.fail("memos from %s out of order or repeated: %d received, from #%d on %s instead of %s" %
                          (host, len(got), at + 1, got[at:at + 3], expected[host][at:at + 3]))
        if target != "WS02":
            # Each sender also reads the whole burst to all: the other's and its own, back through the broadcast.
            for host, session in senders.items():
                for origin in senders:
                    session.WaitFor(lambda me, origin=origin: ("  | " + last % origin + "\n") in me.Text(),
                                    "the end of %s's burst" % origin, 60)
                    shown = re.findall("^  \\| (%s %s \\d+)$" % (origin, tag), session.Text(), re.M)
                    self.assertEqual(shown, expected[origin], "%s shows the memos from %s" % (host, origin))
        print("\n  burst to %s: %d memos from 2 senders received by WS02 in %.2f s (%.0f memos/s)" %
              (target, 2 * BURST, elapsed, 2 * BURST / elapsed), file=sys.stderr)

    def test_6_errors(self):
        receiver = self.Listen("WS02")["WS02"]
        code, _, err = self.Run("WS01", "send", "--to", "A\\B", stdin=b"backslash")
        self.assertEqual(code, 1, "a name with a backslash")
        self.assertTrue(err.strip(), "the failure is explained on stderr")

        code, _, err = self.Run("WS01", "send", "--to", "WS02", stdin=b"y" * 70000)
        self.assertEqual(code, 1, "a 70,000-byte memo")
        self.assertIn("too large", err)
        composed, limit = map(int, re.search(r"(\d+) bytes, one datagram carries at most (\d+)", err).groups())
        fits = limit - (composed - 70000)
        code, _, err = self.Run("WS01", "send", "--to", "WS02", stdin=b"z" * (fits + 1))
        self.assertEqual((code, "too large" in err), (1, True), "one byte over the limit: " + err)
        self.Send("WS01", ["--to", "WS02"], b"z" * fits)
        receiver.WaitMemo(lambda m: m["lines"] == ["z" * fits], "the memo of exactly the largest size")
        self.Barrier("WS01", [receiver], "errors")
        self.assertEqual([len(m["lines"][0]) for m in receiver.Memos()], [fits, len("barrier errors")],
                         "refused memos must not be sent")

        refused = [
            ("send without target", ["send", "hello"]),
            ("send to one and all", ["send", "--to", "WS02", "--all", "hello"]),
            ("send to an empty name", ["send", "--to", "", "hello"]),
            ("send to *", ["send", "--to", "*", "hello"]),
            ("unknown command", ["frobnicate"]),
            ("unknown option", ["listen", "--bogus"]),
            ("extra argument", ["listen", "extra"]),
            ("--to outside send", ["listen", "--to", "WS02"]),
            ("--all outside send", ["who", "--all"]),
            ("--wait not a number", ["who", "--wait", "soon"]),
            ("--wait negative", ["who", "--wait=-5"]),
            ("--box with a backslash", ["--box", "A\\B", "listen"]),
            ("--box empty", ["--box", "", "listen"]),
        ]
        for name, args in refused:
            with self.subTest(name):
                code, out, err = self.Run("WS01", *args)
                self.assertEqual(code, 2, "%s: exit code (stderr: %s)" % (args, err.strip()))
                self.assertTrue(err.strip(), "%s: no explanation on stderr" % args)
                self.assertEqual(out, "")


def LastComputers(text):
    """The names of the last "computers:" line an interactive session printed."""
    listed = [line[len("computers:"):] for line in text.splitlines() if line.startswith("computers:")]
    if not listed or listed[-1].strip() == "(none)":
        return []
    return [name.strip() for name in listed[-1].split(",")]


def main():
    global Lan, Cli, Env
    parser = argparse.ArgumentParser(description="End-to-end tests of kestrin-cli on a virtual LAN (needs root).")
    parser.add_argument("--cli", required=True, help="the kestrin-cli executable")
    parser.add_argument("--vlan", default=os.path.join(HERE, "..", "..", "scripts", "vlan"), help="scripts/vlan")
    args, rest = parser.parse_known_args()
    if os.geteuid() != 0:
        print("e2e_test: must run as root (it creates network namespaces); nothing was tested", file=sys.stderr)
        return 1
    Cli = os.path.abspath(args.cli)
    if not os.access(Cli, os.X_OK):
        print("e2e_test: %s is not an executable" % Cli, file=sys.stderr)
        return 1

    InstallSignalHandlers()
    Lan = TLan(os.path.abspath(args.vlan), len(HOSTS))
    atexit.register(Lan.Down)
    config = tempfile.TemporaryDirectory(prefix="kestrin-e2e-")
    # An empty configuration home: the user's own settings file must not steer the test.
    Env = dict(os.environ, XDG_CONFIG_HOME=config.name)
    ok = False
    try:
        Lan.Up()
        program = unittest.main(module=__name__, argv=[sys.argv[0]] + rest, exit=False, verbosity=2)
        ok = program.result.wasSuccessful() and program.result.testsRun > 0
    except KeyboardInterrupt as interrupt:
        print("\ne2e_test: interrupted (%s); cleaning up" % (interrupt or "Ctrl+C"), file=sys.stderr)
    finally:
        for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(signum, signal.SIG_IGN)
        KillAll()
        Lan.Down()
        config.cleanup()
        left = Lan.Namespaces()
        if left:
            print("e2e_test: namespaces left behind: %s" % " ".join(left), file=sys.stderr)
            ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
