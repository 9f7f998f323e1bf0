#!/usr/bin/python3
# kestrin-cli end to end on a virtual LAN of three hosts: presence over real broadcasts, memos, the interactive
# console, the size limit of send, signals, and two echo companions side by side. Needs root.
import re, signal, subprocess, sys
from harness import Main, TLanTest


def Users(process):
    users = process.Events("users")
    return sorted(users[-1]["users"]) if users else None


def WaitUsers(process, expected):
    process.WaitFor(lambda me: Users(me) == sorted(expected), "the computers %s" % expected)


def Memos(process, origin=None):
    return [m["lines"] for m in process.Events("memo") if origin in (None, m["origin"])]


def WaitMemo(process, lines, origin=None):
    process.WaitFor(lambda me: lines in Memos(me, origin), "the memo %r" % lines)


def Type(console, text):
    console.Process.stdin.write(text)
    console.Process.stdin.flush()


class TEndToEnd(TLanTest):
    def Listen(self, *hosts):
        """`listen --json` on each host, each bound before the next announces itself, until all list each other."""
        started = {}
        for host in hosts:
            started[host] = self.Start(host, "listen", "--json")
            started[host].WaitFor(lambda me: me.Bound(), "its mailbox")
        for host, process in started.items():
            if len(hosts) > 1:
                WaitUsers(process, [other for other in hosts if other != host])
        return started

    def Send(self, host, args, text):
        code, out, err = self.Run(host, "send", *args, stdin=text)
        self.assertEqual((code, out), (0, ""), "send %s from %s: %s" % (args, host, err))

    def test_presence_who_and_signals(self):
        others = self.Listen("WS02", "WS03")
        for signum in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal.Signals(signum).name):
                ws01 = self.Start("WS01", "listen", "--json")
                # WS02 and WS03 were there first: only their answers tell WS01 of them, one list change each.
                WaitUsers(ws01, ["WS02", "WS03"])
                self.assertEqual([len(e["users"]) for e in ws01.Events("users")], [1, 2])
                before = {}
                for (host, process), other in zip(others.items(), ("WS03", "WS02")):
                    WaitUsers(process, ["WS01", other])
                    before[host] = len(process.Events("users"))
                ws01.Process.send_signal(signum)
                self.assertEqual(ws01.WaitExit(), 0, "a listener stopped by a signal leaves normally")
                # Its one OFFLINE_NOTIFY: each of the others drops it with one list change.
                for (host, process), other in zip(others.items(), ("WS03", "WS02")):
                    WaitUsers(process, [other])
                    self.assertEqual([e["users"] for e in process.Events("users")[before[host]:]], [[other]])
        code, out, err = self.Run("WS01", "who", "--wait", "2000")
        self.assertEqual((code, sorted(out.split())), (0, ["WS02", "WS03"]), err)

    def test_memos_to_one_and_all_and_from_the_console(self):
        listeners = self.Listen("WS02", "WS03")
        ws02, ws03 = listeners["WS02"], listeners["WS03"]
        # 8-bit content: a line that is not UTF-8 is read as Latin-1; empty lines, spaces, END_MESSAGE kept.
        text = b"Line one\r\n\n  indented \nEND_MESSAGE\nLatin-1 caf\xe9\nUTF-8 caf\xc3\xa9 \xe2\x82\xac\nmixed \xe9 \xc3\xa9\n\n"
        lines = ["Line one", "", "  indented ", "END_MESSAGE", "Latin-1 caf\u00e9", "UTF-8 caf\u00e9 \u20ac",
                 "mixed \u00e9 \u00c3\u00a9", ""]
        self.Send("WS01", ["--to", "WS02"], text)
        WaitMemo(ws02, lines, "WS01")
        self.Send("WS01", ["--all"], b"to all\n" + text)
        for listener in listeners.values():
            WaitMemo(listener, ["to all"] + lines, "WS01")
        self.assertNotIn(lines, Memos(ws03), "WS03 kept the memo to WS02")

        console = self.Start("WS01", stdin=subprocess.PIPE)
        console.WaitFor(lambda me: re.search("^computers: (WS02, WS03|WS03, WS02)$", me.Text(), re.M), "its list")
        Type(console, b"first\n\n//slash\nsecond\n.\n")
        own = "memo from WS01 at [^\n]*:\n  \\| first\n  \\| \n  \\| /slash\n  \\| second$"
        console.WaitFor(lambda me: re.search(own, me.Text(), re.M), "its own memo to all, shown as it comes back")
        for listener in listeners.values():
            WaitMemo(listener, ["first", "", "/slash", "second"], "WS01")
        Type(console, b"/to ws02\nto WS02 alone\n.\n/all\nbarrier\n.\n")
        WaitMemo(ws02, ["to WS02 alone"])
        for listener in listeners.values():
            WaitMemo(listener, ["barrier"])
        console.WaitFor(lambda me: "  | barrier" in me.Out, "its own barrier memo")
        self.assertNotIn(["to WS02 alone"], Memos(ws03))
        self.assertNotIn("to WS02 alone", console.Text(), "a memo to one came back to its sender")
        console.Process.stdin.close()  # end of input ends the session like /quit
        self.assertEqual(console.WaitExit(), 0)
        WaitUsers(ws02, ["WS03"])

    def test_send_refuses_a_memo_one_datagram_cannot_carry(self):
        ws02 = self.Listen("WS02")["WS02"]
        code, _, err = self.Run("WS01", "send", "--to", "WS02", stdin=b"y" * 70000)
        found = re.search(r"too large: (\d+) bytes, one datagram carries at most (\d+)", err)
        self.assertTrue(code == 1 and found, err)
        fits = int(found[2]) - (int(found[1]) - 70000)
        code, _, err = self.Run("WS01", "send", "--to", "WS02", stdin=b"z" * (fits + 1))
        self.assertTrue(code == 1 and "too large" in err, "one byte over the limit: " + err)
        self.Send("WS01", ["--to", "WS02"], b"z" * fits)
        WaitMemo(ws02, ["z" * fits])
        self.assertEqual(Memos(ws02), [["z" * fits]], "a refused memo went out")

    def test_two_echo_companions_never_answer_an_answer(self):
        sniffer = self.Lan.Sniff("WS01")
        ws03 = self.Listen("WS03")["WS03"]
        for host in ("WS01", "WS02"):
            self.Start(host, "echo", "--greeting", "hello from " + host)
            WaitMemo(ws03, ["hello from " + host], host)
        for host in ("WS01", "WS02"):
            self.Send("WS03", ["--to", host], b"ping")
            WaitMemo(ws03, ["You wrote:", "ping"], host)

        # Each answers the other's greeting and the ping once; answering an answer would never end.
        def Answers(me):
            return sorted((e["src"], e["to"], e["text"].count("You wrote:")) for e in me.Events(None)
                          if "You wrote:" in e["text"])
        expected = [("WS01", "WS02", 1), ("WS01", "WS03", 1), ("WS02", "WS01", 1)]
        sniffer.WaitFor(lambda me: set(expected) <= set(Answers(me)), "the answers on the wire")
        self.assertEqual(Answers(sniffer), expected)


if __name__ == "__main__":
    sys.exit(Main(["WS01", "WS02", "WS03"]))
