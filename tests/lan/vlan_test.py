#!/usr/bin/python3
# What the LAN tests rely on scripts/vlan for: the machine's own namespace stays as it was, the hosts speak no
# IPv6 (so nothing leaves them unasked), a broadcast reaches every other host, and `down` leaves neither a
# process nor a namespace behind. Needs root.
import os, subprocess, sys
from harness import Main, TLan, TLanTest

SOCKET = "import socket, sys; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); "
RECEIVE = SOCKET + "s.bind(('', 138)); print('ready'); data, source = s.recvfrom(99); print(data, source[0])"
SEND = SOCKET + "s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1); s.sendto(b'once', (sys.argv[1], 138))"


def Machine():  # the machine's own links, routes and host name
    return [subprocess.run(argv, capture_output=True, text=True, check=True).stdout
            for argv in (["ip", "-o", "link"], ["ip", "route"], ["ip", "-6", "route"], ["hostname"])]


class TVlan(TLanTest):
    def test_a_lan_stays_apart_and_goes_down_whole(self):
        before = Machine()
        with TLan(["WS01", "WS02", "WS03"]) as lan:
            self.assertEqual(Machine(), before, "the LAN changed the machine's own namespace")
            for host in lan.Hosts:
                self.assertEqual(lan.Run(host, "ip", "-6", "-o", "addr", "show", "dev", "eth0"), (0, "", ""))
            receivers = [lan.Start(host, "/usr/bin/python3", "-c", RECEIVE) for host in ("WS02", "WS03")]
            for receiver in receivers:
                receiver.WaitFor(lambda me: "ready" in me.Out, "its socket")
            self.assertEqual(lan.Run("WS01", "/usr/bin/python3", "-c", SEND, lan.Broadcast), (0, "", ""))
            for receiver in receivers:
                self.assertEqual((receiver.WaitExit(), receiver.Out[-1]), (0, "b'once' " + lan.Address["WS01"]))

            sleeper = lan.Start("WS03", "sh", "-c", "echo inside; exec sleep 600")
            sleeper.WaitFor(lambda me: "inside" in me.Out, "a process inside the LAN")
            subprocess.run([lan.Vlan, "down", lan.Name], check=True)
            self.assertLess(sleeper.WaitExit(), 0, "down left a process of the LAN running")
            listed = subprocess.run(["ip", "netns"], capture_output=True, text=True, check=True).stdout
            self.assertNotIn("kvlan-" + lan.Name, listed, "a namespace of the LAN was left behind")
            self.assertFalse(os.path.exists("/run/kvlan/" + lan.Name), "the LAN's state was left behind")
        self.assertEqual(Machine(), before)


if __name__ == "__main__":
    sys.exit(Main())
