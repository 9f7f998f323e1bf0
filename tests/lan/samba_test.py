#!/usr/bin/python3
# Kestrin beside Samba's nmbd on the same computer, on a virtual LAN of two hosts: nmbd from Debian's samba
# package holds UDP 137 and 138 in WS01 (a private smb.conf, every folder of its own in a temporary one);
# the copies in WS01 read their datagrams beside it and keep no capability once their sockets are open.
# Needs root.
import os, re, subprocess, sys, tempfile
from harness import Main, TLanTest, VLAN

FETCH = os.path.join(os.path.dirname(VLAN), "fetch-nmbd")
SMB_CONF = "[global]\nworkgroup = WORKGROUP\ninterfaces = eth0\nbind interfaces only = yes\n" + "".join(
    "%s = {0}/%s\n" % (key, key.split()[0]) for key in
    ("lock directory", "state directory", "cache directory", "pid directory", "private dir", "ncalrpc dir"))
NONE = {"0000000000000000"}


def Capabilities(pid):
    """The effective and permitted capabilities of every thread of a process: they belong to threads."""
    found = set()
    for task in os.listdir("/proc/%d/task" % pid):
        with open("/proc/%d/task/%s/status" % (pid, task)) as status:
            found |= set(re.findall(r"^Cap(?:Eff|Prm):\s*(\w+)$", status.read(), re.M))
    return found


class TBesideSamba(TLanTest):
    def setUp(self):
        subprocess.run([FETCH, self.Tools], check=True)
        self.Folder = tempfile.TemporaryDirectory()
        self.addCleanup(self.Folder.cleanup)
        conf = os.path.join(self.Folder.name, "smb.conf")
        with open(conf, "w") as file:
            file.write(SMB_CONF.format(self.Folder.name))
        nmbd = self.Lan.Start("WS01", os.path.join(self.Tools, "usr/sbin/nmbd"), "-F", "--no-process-group",
                              "--debug-stdout", "-s", conf)
        # It answers for WS01 once it has registered the name; the ports are held from its first moment.
        lookup = lambda _: self.Lan.Run("WS02", "nmblookup", "-B", self.Lan.Broadcast, "WS01")[0] == 0
        nmbd.WaitFor(lambda me: me.Bound(137) and me.Bound(138) and lookup(me), "nmbd to answer for WS01")

    def test_a_console_beside_nmbd_gets_every_memo_and_keeps_no_capability(self):
        ws02 = self.Start("WS02", "listen", "--json")
        ws02.WaitFor(lambda me: me.Bound(), "its mailbox")
        console = self.Start("WS01", stdin=subprocess.PIPE)
        ws02.WaitUsers(["WS01"])
        console.WaitFor(lambda me: "listed: WS02" in me.Out, "WS02's answer, sent to port 138 beside nmbd")
        self.assertEqual(Capabilities(console.Process.pid), NONE)
        for args in (["--all"], ["--to", "WS01"]):
            self.assertEqual(self.Run("WS02", "send", *args, stdin=b"to " + args[-1].encode()), (0, "", ""))
        console.Process.stdin.write(b"/all\nmine\n.\n")
        console.Process.stdin.flush()
        for line in ("to --all", "to WS01", "mine"):  # its own memo to all comes back to it too
            console.WaitFor(lambda me: "  | " + line in me.Out, "the memo %r" % line)
        ws02.WaitMemo(["mine"], "WS01")

    def test_the_desktop_program_beside_nmbd_keeps_no_capability(self):
        ws02 = self.Start("WS02", "listen", "--json")
        ws02.WaitFor(lambda me: me.Bound(), "its mailbox")
        window = self.Lan.Start("WS01", "/usr/bin/env", "QT_QPA_PLATFORM=offscreen", self.App)
        ws02.WaitUsers(["WS01"])
        self.assertEqual(Capabilities(window.Process.pid), NONE)

    def test_what_stands_in_the_way_is_named(self):
        with tempfile.NamedTemporaryFile("w", suffix=".conf") as config:
            config.write("[Network]\nComputerName=KESTREL-1\n")
            config.flush()
            first = self.Start("WS01", "listen", "--config", config.name)
            first.WaitFor(lambda me: me.Err, "the warning")
        self.assertRegex(first.Err[0], r"^kestrin-cli: Nothing on this computer answers name queries for KESTREL-1: "
                                       r"nmbd \(process \d+\) holds UDP port 137 and does not know that name")
        code, _, err = self.Run("WS01", "listen")
        self.assertEqual((code, err), (1, "kestrin-cli: Could not Create Mail Slot: another copy of Kestrin has its "
                                          "mailbox open on this computer (UDP port 138)"))
        first.WaitExit(kill=True)
        code, _, err = self.Lan.Run("WS01", "setpriv", "--bounding-set", "-net_raw", self.Cli, "listen")
        self.assertEqual(code, 1, err)
        self.assertRegex(err, r"UDP port 138 is held by nmbd \(process \d+\); to receive beside it this program needs "
                              r"the CAP_NET_RAW capability: .* setcap cap_net_bind_service,cap_net_raw\+ep " + self.Cli)


if __name__ == "__main__":
    sys.exit(Main(["WS01", "WS02"]))
