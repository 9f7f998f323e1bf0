#!/usr/bin/python3
# kestrin-cli end to end on a virtual LAN of three hosts: presence over real broadcasts, memos, the interactive
# console, the memo size other computers take, signals, two echo companions side by side, a Russian and a German
# office's code pages, two hosts whose names share their first 15 characters, and the history the copies keep.
# Needs root.
import json, os, re, signal, subprocess, sys, tempfile
from harness import Main, TLanTest

A, B = "accounting-laptop-07", "accounting-laptop-08"  # one NetBIOS name: ACCOUNTING-LAPT
Warned = lambda me: [line for line in me.Err if "also used by" in line]


class TEndToEnd(TLanTest):
    def Listen(self, *hosts, args=()):
        """`listen --json` on each host, each bound before the next announces itself, until all list each other."""
        started = []
        for host in hosts:
            started.append(self.Start(host, "listen", "--json", *args))
            started[-1].WaitFor(lambda me: me.Bound(), "its mailbox")
        for host, process in zip(hosts, started if len(hosts) > 1 else []):
            process.WaitUsers([other for other in hosts if other != host])
        return started

    def Send(self, host, args, text):
        self.assertEqual(self.Run(host, "send", *args, stdin=text), (0, "", ""), "send %s from %s" % (args, host))

    def test_presence_who_and_signals(self):
        others = list(zip(self.Listen("WS02", "WS03"), ("WS03", "WS02")))
        for signum in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal.Signals(signum).name):
                ws01 = self.Start("WS01", "listen", "--json")
                # WS02 and WS03 were there first: only their answers tell WS01 of them.
                ws01.WaitUsers(["WS02", "WS03"])
                for process, other in others:
                    process.WaitUsers(["WS01", other])
                ws01.Process.send_signal(signum)
                self.assertEqual(ws01.WaitExit(), 0, "a listener stopped by a signal leaves normally")
                # Its OFFLINE_NOTIFY: each of the others drops it.
                for process, other in others:
                    process.WaitUsers([other])
        code, out, err = self.Run("WS01", "who", "--wait", "2000")
        self.assertEqual((code, sorted(out.split())), (0, ["WS02", "WS03"]), err)

    def test_memos_from_the_console_to_one_and_all(self):
        ws02, ws03 = self.Listen("WS02", "WS03")
        console = self.Start("WS01", stdin=subprocess.PIPE)
        console.WaitFor(lambda me: {"listed: WS02", "listed: WS03"} <= set(me.Out), "its list")
        # Empty lines, blanks, a line END_MESSAGE and one escaped with "//" are kept; a UTF-8 line is read as UTF-8.
        lines = ["first", "", "  indented ", "END_MESSAGE", "/slash", "UTF-8 caf\u00e9 \u20ac"]
        typed = "\n".join(lines).replace("/slash", "//slash") + "\n.\n/to ws02\nto WS02 alone\n.\n/all\nlast\n.\n"
        console.Process.stdin.write(typed.encode())
        console.Process.stdin.flush()
        console.WaitFor(lambda me: "  | last" in me.Out, "its own last memo, shown as it comes back")
        console.Process.stdin.close()  # the end of input ends the session like /quit
        self.assertEqual(console.WaitExit(), 0)
        self.assertRegex("\n".join(console.Out), "memo from WS01 at .*:" + re.escape("".join("\n  | " + l for l in lines)))
        for listener in (ws02, ws03):
            listener.WaitMemo(lines, "WS01")
            listener.WaitMemo(["last"], "WS01")
        ws02.WaitMemo(["to WS02 alone"])

    def test_offices_read_and_write_their_windows_code_page_and_speak_their_language(self):
        # WS03 plays a Windows copy of the office (a datagram built with Scapy); the copies here have only the
        # locale to go by, for the code page and for the language they speak. "€" is 0x80 in windows-1252, a
        # control character if read as Latin-1. What scripts read (--json) and what goes on the wire stay as they are.
        for lang, codec, memo, header, sent in (
                ("ru_RU.UTF-8", "cp1251", ["Привет!", "Всё хорошо"], "сообщение от WS03 в 14:06:30:", "отправлены 2 строки"),
                ("de_DE.UTF-8", "cp1252", ["Grüße!", "Preis: 5 €"], "Nachricht von WS03 um 14:06:30:", "2 Zeilen an")):
            with self.subTest(lang):
                office = ["/usr/bin/env", "-u", "LC_ALL", "-u", "LC_CTYPE", "-u", "LANGUAGE", "LANG=" + lang, self.Cli]
                plain, json = self.Lan.Start("WS01", *office, "listen"), self.Lan.Start("WS02", *office, "listen", "--json")
                [listener.WaitFor(lambda me: me.Bound(), "its mailbox") for listener in (plain, json)]
                sniffer = self.Lan.Sniff("WS03")
                text = "".join(line + "\r\n" for line in memo).encode(codec)
                self.Lan.SendAsWindows("WS03", b"MEMO_MSG\r\n14:06:30\r\nWS03\r\nBEGIN_MEMO\r\n" + text + b"END_MESSAGE\r\n")
                json.WaitMemo(memo, "WS03")
                shown = header + "\n" + "".join("  | %s\n" % line for line in memo)
                plain.WaitFor(lambda me: shown in "\n".join(me.Out) + "\n", "the memo shown in the office's language")
                # What a copy here writes to the Windows host leaves in the code page, as a memo: from `send`, and
                # typed at the console, which says so in the office's language.
                typed = "".join(line + "\n" for line in memo).encode()
                self.assertEqual(self.Lan.Run("WS01", *office, "send", "--to", "WS03", stdin=typed), (0, "", ""))
                plain.WaitExit(kill=True)  # the console needs the mailbox
                console = self.Lan.Start("WS01", *office, stdin=subprocess.PIPE)
                console.Process.stdin.write(b"/to WS03\n" + typed + b".\n")
                console.Process.stdin.close()
                self.assertEqual(console.WaitExit(), 0)
                self.assertTrue(any(line.startswith(sent) for line in console.Out), console.Out)
                wire = "BEGIN_MEMO\r\n" + text.decode("latin-1")
                memos = lambda me: [e for e in me.Events() if e["to"] == "WS03" and wire in e["text"]
                                    and "MEMO_MSG\r\n" in e["text"]]
                sniffer.WaitFor(lambda me: len(memos(me)) == 2, "both memos in %s on the wire" % codec)
                [process.WaitExit(kill=True) for process in (json, sniffer)]

    def test_memos_other_computers_cannot_take_are_refused_and_said(self):
        ws02, sniffer = self.Listen("WS02")[0], self.Lan.Sniff("WS02")
        said = "The memo is %d bytes long; a computer on the network takes at most %d."
        # A refusal tells the bytes of the header lines around a one-line memo (the time, the name).
        code, _, err = self.Run("WS01", "send", "--to", "WS02", stdin=b"x" * 1000)
        header = int(re.search(r"The memo is (\d+) bytes", err)[1]) - 1000
        # Standard input is read no further than a memo could be typed (a character takes up to 4 bytes in
        # UTF-8), and from it an empty memo goes only when asked for.
        for stdin, args, run in ((b"y" * (4 * 65340 + 1), [], (1, "", "kestrin-cli: the memo is longer than 65340 "
                                  "bytes, the most any computer takes; nothing was sent")),
                                 (b"\n", [], (2, "", "kestrin-cli: the memo on standard input is empty; nothing "
                                  "was sent (--allow-empty sends it)")), (b"", ["--allow-empty"], (0, "", ""))):
            self.assertEqual(self.Run("WS01", "send", "--to", "WS02", *args, stdin=stdin), run)
        with tempfile.NamedTemporaryFile("w", suffix=".conf") as lifted:
            lifted.write("[Network]\nMaxMessageBytes=5000\n")
            lifted.flush()
            # letter, bytes of the message text, options, the limit that refuses it (0: it goes out)
            for letter, size, args, most in (("a", 425, ["--to", "WS02"], 424), ("b", 425, ["--all"], 424),
                                              ("c", 5001, ["--config", lifted.name, "--all"], 5000),
                                              ("d", 424, ["--to", "WS02"], 0), ("e", 424, ["--all"], 0),
                                              ("f", 5000, ["--config", lifted.name, "--to", "WS02"], 0)):
                run = self.Run("WS01", "send", *args, stdin=letter.encode() * (size - header))
                self.assertEqual(run, (1, "", "kestrin-cli: " + said % (size, most)) if most else (0, "", ""), letter)
        # WS02 reads the longer memo whatever its own limit. The capture holds what went out before it: no
        # refused memo.
        ws02.WaitMemo(["f" * (5000 - header)], "WS01")
        sniffer.WaitFor(lambda me: any("f" * 99 in e["text"] for e in me.Events()), "the longest memo on the wire")
        self.assertEqual([c for c in "abcdef" if any(c * 99 in e["text"] for e in sniffer.Events())], ["d", "e", "f"])
        # The console says so too and keeps the memo, which this computer itself takes at any length.
        console = self.Start("WS01", stdin=subprocess.PIPE)
        console.Process.stdin.write(b"g" * (425 - header) + b"\n.\n/to ws01\n.\n")
        console.Process.stdin.flush()
        console.WaitFor(lambda me: "  | " + "g" * (425 - header) in me.Out and me.Err, "the refusal and its own memo")
        self.assertEqual(console.Err, ["error: %s The memo is kept; /clear forgets it." % (said % (425, 424))])

    def test_two_echo_companions_never_answer_an_answer(self):
        sniffer = self.Lan.Sniff("WS01")
        ws03, = self.Listen("WS03")
        for host in ("WS01", "WS02"):
            self.Start(host, "echo", "--greeting", "hello from " + host)
            ws03.WaitMemo(["hello from " + host], host)
        for host in ("WS01", "WS02"):
            self.Send("WS03", ["--to", host], b"ping")
            ws03.WaitMemo(["You wrote:", "ping"], host)
        # Each answers the other's greeting and the ping once; answering an answer would never end.
        def Answers(me):
            return sorted((e["src"], e["to"], e["text"].count("You wrote:")) for e in me.Events()
                          if "You wrote:" in e["text"])
        expected = [("WS01", "WS02", 1), ("WS01", "WS03", 1), ("WS02", "WS01", 1)]
        sniffer.WaitFor(lambda me: set(expected) <= set(Answers(me)), "the answers on the wire")
        self.assertEqual(Answers(sniffer), expected)

    def test_the_copy_started_second_is_told_that_its_name_is_taken(self):
        (first,), (ws03,) = self.Listen(A), self.Listen("WS03")
        ws03.WaitUsers(["ACCOUNTING-LAPT"])
        second, = self.Listen(B)
        second.WaitFor(lambda me: Warned(me), "the warning")
        self.assertIn("ACCOUNTING-LAPT is also used by %s." % self.Lan.Address[A], Warned(second)[0])
        self.assertEqual((Warned(first), len(Warned(second)), first.Process.poll(), second.Process.poll()),
                         ([], 1, None, None), "one warning, and both go on")

    def test_a_computer_name_setting_separates_the_two(self):
        with tempfile.NamedTemporaryFile("w", suffix=".conf") as config:
            config.write("[Network]\nComputerName=acct-08\n")  # upper-cased, as Windows writes computer names
            config.flush()
            (first,), (second,) = self.Listen(A), self.Listen(B, args=("--config", config.name))
            ws03, = self.Listen("WS03")
            ws03.WaitUsers(["ACCOUNTING-LAPT", "ACCT-08"])
        for to, text, listener in (("ACCT-08", "for B", second), ("ACCOUNTING-LAPT", "for A", first)):
            self.Send("WS03", ["--to", to], text.encode())
            listener.WaitMemo([text], "WS03")
        self.assertEqual((first.Memos(), second.Memos(), Warned(second)), ([["for A"]], [["for B"]], []))

    def test_what_arrives_is_kept_before_it_is_printed_and_history_finds_it(self):
        # The history keeps the text as shown: an escape made visible, never to reach a terminal from the file.
        memo, shown = ["Quarterly figures", "are \x1b[2Jready"], ["Quarterly figures", "are ^[[2Jready"]
        history = lambda host, *args: self.Run(host, "history", *args)
        def Kept(host, *args):
            code, out, err = history(host, "--json", *args)
            return code, err, [json.loads(line) for line in out.splitlines()]
        with tempfile.NamedTemporaryFile("w", suffix=".conf") as off:
            off.write("[History]\nEnabled=0\n")
            off.flush()
            keeper, = self.Listen("WS02")
            # One copy asked to keep nothing, one whose settings turn the history off.
            quiet = [self.Start("WS03", "listen", "--json", "--no-history"),
                     self.Start(A, "--config", off.name, "listen", "--json")]
            console = self.Start("WS01", stdin=subprocess.PIPE)
            [process.WaitFor(lambda me: me.Bound(), "its mailbox") for process in quiet + [console]]
            console.Process.stdin.write(("\n".join(memo) + "\n.\n").encode())
            console.Process.stdin.close()  # it leaves once the memo is sent, with what it sent kept
            self.assertEqual(console.WaitExit(), 0)
            [process.WaitMemo(memo, "WS01") for process in [keeper] + quiet]
            # Printed, so on disk: read by a second process while the listener still holds the file.
            code, err, kept = Kept("WS02")
            self.assertEqual((code, err, [(e["direction"], e["kind"], e["computer"], e["text"].split("\n"))
                                          for e in kept]), (0, "", [("received", "memo", "WS01", shown)]))
            self.assertEqual([(e["direction"], e["computer"], e["text"].split("\n")) for e in Kept("WS01")[2]
                              if e["direction"] == "sent"], [("sent", "*", shown)])
            # A word finds it in any case, and so do filters that hold; a word it lacks or a filter that fails does not.
            for args, found in ((["QUARTERLY"], kept), (["--from", "ws01", "--since", "2000-01-01", "figures"], kept),
                                (["--from", "WS03"], []), (["--since", "2999-12-31"], []), (["invoices"], [])):
                self.assertEqual(Kept("WS02", *args), (0, "", found), args)
            self.assertRegex(history("WS02")[1], r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d  memo from WS01 at .*:\n"
                                                  r"  \| Quarterly figures\n  \| are \^\[\[2Jready$")
            # Neither of the others wrote a file, nor does reading make one.
            off_said = "kestrin-cli: history recording is off ([History] Enabled=0); showing what was kept before"
            for host, args, said in (("WS03", (), ""), (A, ("--config", off.name), off_said)):
                self.assertEqual(history(host, *args), (0, "no history yet", said), host)
                self.assertFalse(os.path.exists(os.path.join(self.Lan.Data, host, "Olvanta")), host)


if __name__ == "__main__":
    sys.exit(Main(["WS01", "WS02", "WS03", A, B]))
