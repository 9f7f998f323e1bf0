#!/usr/bin/python3
# What the LAN tests rely on scripts/vlan for: the machine's own namespace stays as it was, the hosts speak no
# IPv6 (so nothing leaves them unasked), and `down` leaves neither a process nor a namespace behind. That a
# broadcast reaches every other host, e2e_test.py's presence test shows. Needs root.
import os, subprocess, sys
from harness import Main, TLan, TLanTest, VLAN


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
            sleeper = lan.Start("WS03", "sh", "-c", "echo inside; exec sleep 600")
            sleeper.WaitFor(lambda me: "inside" in me.Out, "a process inside the LAN")
            subprocess.run([VLAN, "down", lan.Name], check=True)
            self.assertLess(sleeper.WaitExit(), 0, "down left a process of the LAN running")
            listed = subprocess.run(["ip", "netns"], capture_output=True, text=True, check=True).stdout
            self.assertNotIn("kvlan-" + lan.Name, listed, "a namespace of the LAN was left behind")
            self.assertFalse(os.path.exists("/run/kvlan/" + lan.Name), "the LAN's state was left behind")
        self.assertEqual(Machine(), before)


if __name__ == "__main__":
    sys.exit(Main())
