#!/usr/bin/python3
# Computer names on a virtual LAN whose host names share their first 15 characters: both copies go by the same
# NetBIOS name, the one started second is told so, and a ComputerName setting tells them apart. Needs root.
import os, sys, tempfile
from harness import Main, TLanTest

A, B = "accounting-laptop-07", "accounting-laptop-08"
CONFLICT = "ACCOUNTING-LAPT is also used by "


class TComputerNames(TLanTest):
    def Listen(self, host, *args):
        process = self.Start(host, "listen", "--json", *args)
        process.WaitFor(lambda me: me.Bound(), "its mailbox")
        return process

    def test_the_copy_started_second_is_told_that_its_name_is_taken(self):
        first = self.Listen(A)
        ws03 = self.Listen("WS03")
        ws03.WaitUsers(["ACCOUNTING-LAPT"])
        second = self.Listen(B)
        warning = CONFLICT + self.Lan.Address[A] + "."
        second.WaitFor(lambda me: any(warning in line for line in me.Err), "the warning naming the other's address")
        self.assertEqual([len([l for l in p.Err if "also used by" in l]) for p in (first, second)], [0, 1])
        self.assertEqual([p.Process.poll() for p in (first, second)], [None, None], "both go on")

    def test_a_computer_name_setting_separates_the_two(self):
        with tempfile.NamedTemporaryFile("w", suffix=".conf") as config:
            config.write("[Network]\nComputerName=acct-08\n")
            config.flush()
            os.chmod(config.name, 0o644)
            first, second, ws03 = self.Listen(A), self.Listen(B, "--config", config.name), self.Listen("WS03")
            ws03.WaitUsers(["ACCOUNTING-LAPT", "ACCT-08"])
            for to, text, listener in (("ACCT-08", b"for B", second), ("ACCOUNTING-LAPT", b"for A", first)):
                self.assertEqual(self.Run("WS03", "send", "--to", to, stdin=text), (0, "", ""))
                listener.WaitMemo([text.decode()], "WS03")
            self.assertEqual(self.Run("WS03", "send", "--all", stdin=b"to all"), (0, "", ""))
            for listener in (first, second):
                listener.WaitMemo(["to all"], "WS03")
            self.assertEqual((first.Memos(), second.Memos()), ([["for A"], ["to all"]], [["for B"], ["to all"]]))
            self.assertFalse([line for line in second.Err if "also used by" in line])


if __name__ == "__main__":
    sys.exit(Main([A, B, "WS03"]))
