#!/usr/bin/python3
# An office of sixty computers on a virtual LAN: copies started one after another all come to list each other
# without a datagram lost in a sender, and one that vanishes without a goodbye leaves every list. Needs root.
import sys, tempfile, time
from harness import Main, TLanTest

HOSTS = ["PC%02d" % i for i in range(1, 61)]


def SendsWithoutRoom(copies):
    """The sends that found no room in the kernel on the copies' hosts (Udp: SndbufErrors of /proc/net/snmp, read
    through each copy's process, which sees its host's network); every host is new, so they count from zero."""
    total = 0
    for copy in copies:
        with open("/proc/%d/net/snmp" % copy.Process.pid) as snmp:
            rows = [line.split() for line in snmp if line.startswith("Udp:")]
        total += int(rows[1][rows[0].index("SndbufErrors")])
    return total


class TPresence(TLanTest):
    def test_copies_started_one_after_another_list_each_other_and_drop_one_killed(self):
        with tempfile.NamedTemporaryFile("w", suffix=".conf") as config:
            config.write("[Network]\nRefreshMinutes=0.05\n")  # rounds every 3 s
            config.flush()
            copies = {}
            for host in HOSTS:
                copies[host] = self.Start(host, "listen", "--json", "--config", config.name)
                time.sleep(0.1)
            for host, copy in copies.items():
                copy.WaitUsers([other for other in HOSTS if other != host])
            self.assertEqual(SendsWithoutRoom(copies.values()), 0)
            self.assertEqual([copy.Events("error") for copy in copies.values() if copy.Events("error")], [])
            gone = HOSTS[-1]
            copies.pop(gone).WaitExit(kill=True)  # SIGKILL: no goodbye
            for host, copy in copies.items():
                copy.WaitUsers([other for other in HOSTS if other not in (host, gone)])


if __name__ == "__main__":
    sys.exit(Main(HOSTS))
