#!/usr/bin/python3
# Faults on the network, on a virtual LAN of two hosts: a laptop off its network, a link that goes down and
# comes back, a copy that listens on one address, and kestrin-cli doctor naming what stands in the way.
# Needs root.
import json, subprocess, sys, tempfile
from harness import Main, TLanTest

HOLD_138 = "import socket, time; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(('', 138)); " \
           "print('bound', flush=True); time.sleep(60)"


class TNetworkFaults(TLanTest):
    def Link(self, host, state):
        self.assertEqual(self.Lan.Run(host, "ip", "link", "set", "eth0", state)[0], 0)

    def Listen(self, host, *args):
        listener = self.Start(host, "listen", "--json", *args)
        listener.WaitFor(lambda me: me.Bound(), "its mailbox")
        return listener

    def Doctor(self, host, *prefix):
        code, out, err = self.Lan.Run(host, *prefix, self.Cli, "doctor", "--json")
        return code, {(c["check"], c["status"]): c["text"] for c in map(json.loads, out.splitlines())}, err

    def test_off_the_network_the_own_copy_still_gets_its_memo_and_send_says_what_failed(self):
        ws01 = self.Listen("WS01")
        self.Link("WS01", "down")
        self.addCleanup(self.Link, "WS01", "up")
        for args, said in ((["--all"], "only this computer got the memo"), (["--to", "WS02"], "the memo was not sent")):
            self.assertEqual(self.Run("WS01", "send", *args, stdin=b"alone"),
                             (1, "", "kestrin-cli: no network to send on is up: " + said))
        self.assertEqual(self.Run("WS01", "send", "--to", "ws01", stdin=b"to me")[0], 0)
        ws01.WaitMemo(["to me"], "WS01")
        self.assertEqual(ws01.Memos(), [["alone"], ["to me"]])

    def test_a_copy_whose_link_comes_back_announces_itself_again(self):
        ws01 = self.Listen("WS01")
        self.Link("WS01", "down")
        ws02 = self.Listen("WS02")  # its announcement cannot reach WS01
        self.Link("WS01", "up")
        ws02.WaitUsers(["WS01"])
        ws01.WaitUsers(["WS02"])

    def test_a_copy_bound_to_its_address_hears_broadcasts(self):
        with tempfile.NamedTemporaryFile("w", suffix=".conf") as config:
            config.write("[Network]\nBindAddress=%s\n" % self.Lan.Address["WS01"])
            config.flush()
            ws01 = self.Listen("WS01", "--config", config.name)
            self.assertEqual(self.Run("WS02", "send", "--all", stdin=b"to all"), (0, "", ""))
            ws01.WaitMemo(["to all"], "WS02")
            code, out, _ = self.Lan.Run("WS02", "nmblookup", "-B", self.Lan.Broadcast, "WS01")
            self.assertIn(self.Lan.Address["WS01"] + " WS01<00>", out)

    def test_doctor_finds_all_well_then_a_held_port_and_a_firewall(self):
        ws02 = self.Listen("WS02")
        code, found, err = self.Doctor("WS01")
        self.assertEqual(code, 0, (found, err))
        self.assertEqual(found.get(("presence", "ok")), "1 answered: WS02")
        self.assertEqual(found.get(("round trip", "ok")), "a memo to this computer arrived")
        ws02.WaitExit(kill=True)

        holder = self.Lan.Start("WS02", "/usr/bin/python3", "-c", HOLD_138)
        holder.WaitFor(lambda me: "bound" in me.Out, "the port to be held")
        code, found, _ = self.Doctor("WS02", "setpriv", "--bounding-set", "-net_raw")
        self.assertEqual(code, 1)
        self.assertTrue(found.get(("UDP port 138", "problem"), "").startswith(
            "held by python3 (process %d); reading beside it needs the CAP_NET_RAW" % holder.Process.pid), found)

        for rule in (["add", "table", "inet", "f"], ["add", "chain", "inet", "f", "input",
                     "{ type filter hook input priority 0; }"], ["add", "rule", "inet", "f", "input", "udp", "dport", "138", "drop"]):
            self.assertEqual(self.Lan.Run("WS01", "nft", *rule)[0], 0)
        self.addCleanup(self.Lan.Run, "WS01", "nft", "delete", "table", "inet", "f")
        code, found, _ = self.Doctor("WS01")
        self.assertEqual(code, 1)
        self.assertEqual(found.get(("firewall", "problem")),
                         "may drop Kestrin's datagrams: udp dport 138 drop (table inet f, chain input)")
        self.assertIn(("round trip", "problem"), found)


if __name__ == "__main__":
    sys.exit(Main(["WS01", "WS02"]))
