#!/usr/bin/python3
# Two hosts whose names share their first 15 characters go by one NetBIOS name: the copy started second is told,
# and a ComputerName setting tells them apart. Needs root.
import sys, tempfile
from harness import Main, TLanTest

A, B = "accounting-laptop-07", "accounting-laptop-08"
Warned = lambda me: [line for line in me.Err if "also used by" in line]


class TComputerNames(TLanTest):
    def Listen(self, host, *args):
        process = self.Start(host, "listen", "--json", *args)
        process.WaitFor(lambda me: me.Bound(), "its mailbox")
        return process

    def test_the_copy_started_second_is_told_that_its_name_is_taken(self):
        first, ws03 = self.Listen(A), self.Listen("WS03")
        ws03.WaitUsers(["ACCOUNTING-LAPT"])
        second = self.Listen(B)
        second.WaitFor(lambda me: Warned(me), "the warning")
        self.assertIn("ACCOUNTING-LAPT is also used by %s." % self.Lan.Address[A], Warned(second)[0])
        self.assertEqual((Warned(first), len(Warned(second)), first.Process.poll(), second.Process.poll()),
                         ([], 1, None, None), "one warning, and both go on")

    def test_a_computer_name_setting_separates_the_two(self):
        with tempfile.NamedTemporaryFile("w", suffix=".conf") as config:
            config.write("[Network]\nComputerName=acct-08\n")  # upper-cased, as Windows writes computer names
            config.flush()
            first, second, ws03 = self.Listen(A), self.Listen(B, "--config", config.name), self.Listen("WS03")
            ws03.WaitUsers(["ACCOUNTING-LAPT", "ACCT-08"])
        sends = ((["--to", "ACCT-08"], "for B", [second]), (["--to", "ACCOUNTING-LAPT"], "for A", [first]),
                 (["--all"], "all", [first, second]))
        for args, text, listeners in sends:
            self.assertEqual(self.Run("WS03", "send", *args, stdin=text.encode()), (0, "", ""))
            for listener in listeners:
                listener.WaitMemo([text], "WS03")
        self.assertEqual((first.Memos(), second.Memos(), Warned(second)),
                         ([["for A"], ["all"]], [["for B"], ["all"]], []))


if __name__ == "__main__":
    sys.exit(Main([A, B, "WS03"]))
