#!/usr/bin/python3
# kestrin-cli's datagrams as independent programs read them, on a virtual LAN of two hosts: Scapy's NetBIOS
# dissector in WS01, and Samba's nmblookup asking a listening copy's name responder. Needs root.
import re, sys
from harness import Main, TLanTest


class TWire(TLanTest):
    def test_answers_go_to_the_announcer_headers_name_the_real_port_and_nmblookup_asks_by_name(self):
        sniffer = self.Lan.Sniff("WS01")
        self.Start("WS02", "listen", "--json").WaitFor(lambda me: me.Bound() and me.Bound(137), "its sockets")
        self.Start("WS01", "listen", "--json").WaitFor(lambda me: me.Events("joined"), "WS02's answer")
        self.assertEqual(self.Run("WS01", "send", "--to", "WS02", "hello"), (0, "", ""))
        sniffer.WaitFor(lambda me: any("hello" in e["text"] for e in me.Events()), "the memo on the wire")
        seen = sniffer.Events()
        memo = next(e for e in seen if "hello" in e["text"])
        self.assertEqual((memo["src"], memo["to"]), ("WS01", "WS02"))
        # The answer to an announcement goes to the announcer alone, not to every computer.
        answers = [e["dst"] for e in seen if "ONLINE_RESPONSE" in e["text"] and e["src"] == "WS02"]
        self.assertEqual(answers, [self.Lan.Address["WS01"]])
        # Replies go to the port the header names, so it must be the one the datagram left from: 138 for a
        # listening copy, a port of its own for a plain send (which makes this check able to fail).
        self.assertNotEqual(memo["sport"], 138)
        self.assertEqual([(e["src"], e["sport"]) for e in seen], [(e["src"], e["SourcePort"]) for e in seen])
        # nmblookup finds a listening copy by its own name only; WS01's copy answers for WS01 alone.
        address = self.Lan.Address["WS02"]
        for label, args, expected in [("broadcast", ["-B", self.Lan.Broadcast, "WS02#00"], [address + " WS02<00>"]),
                                      ("unicast", ["-U", address, "ws02#00"], [address + " WS02<00>"]),
                                      ("another name", ["-U", address, "NOBODY#00"], []),
                                      ("another suffix", ["-U", address, "WS02#20"], [])]:
            with self.subTest(label):
                code, out, err = self.Lan.Run("WS01", "nmblookup", *args)
                self.assertEqual(re.findall(r"^\S+ \S+<..>$", out.upper(), re.M), expected, out + err)


if __name__ == "__main__":
    sys.exit(Main(["WS01", "WS02"]))
