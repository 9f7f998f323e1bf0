# A tshark capture inside one host of the LAN: started before the traffic, stopped once it saw it, then read.
import signal
import sys

from children import Run

StartSeconds = 30
Separator = "|"
# tshark says "Capturing on" before libpcap has its filter in place, and libpcap drops what came before the
# filter; a capture has started once it shows one of these probes (UDP to the discard port, on the broadcast).
ProbePort = 9
ProbeScript = ("import socket, sys, time\n"
               "s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)\n"
               "s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)\n"
               "for _ in range(600):\n"
               "    s.sendto(b'capture probe', (sys.argv[1], int(sys.argv[2])))\n"
               "    time.sleep(0.05)\n")


class TCapture:
    def __init__(self, lan, children, host, interface, captureFilter, path):
        self.Lan = lan
        self.Children = children
        self.Host = host
        self.Path = path
        # -P with -T fields: one line per packet as it is written, for waiting on the traffic.
        self.Child = children.Start(f"tshark@{host}", lan.Exec(host, [
            "tshark", "-n", "-l", "-P", "-i", interface, "-f", f"({captureFilter}) or udp port {ProbePort}",
            "-w", path, "-T", "fields", "-E", f"separator={Separator}", "-e", "ip.src", "-e", "ip.dst",
            "-e", "udp.dstport"]))

    def WaitStarted(self):
        """True once the capture demonstrably sees packets; anything sent after that is in the file."""
        if self.Child.WaitForLine(lambda line: "Capturing on" in line, StartSeconds, stream="err") is None:
            return False
        probe = self.Children.Start(f"probe@{self.Host}", self.Lan.Exec(self.Host, [
            sys.executable, "-c", ProbeScript, self.Lan.Broadcast, str(ProbePort)]))
        seen = self.Child.WaitFor(lambda _: self.Packets(probes=True), StartSeconds)
        probe.Stop()
        return bool(seen)

    def Describe(self):
        """The tshark command and what it printed, without the probe lines."""
        return [line for line in self.Child.Describe() if not line.endswith(f"{Separator}{ProbePort}")]

    def Packets(self, probes=False):
        """(source, destination, UDP destination port) of each packet captured so far."""
        found = []
        for line in self.Child.Lines():
            fields = line.split(Separator)
            if len(fields) == 3 and (fields[2] == str(ProbePort)) == probes:
                found.append(tuple(fields))
        return found

    def Seen(self, source=None, destination=None):
        """(source, destination) of each packet other than the probes, optionally only those that match."""
        return [(src, dst) for src, dst, _ in self.Packets()
                if source in (None, src) and destination in (None, dst)]

    def WaitForPackets(self, count, seconds, source=None, destination=None):
        """Waits until `count` matching packets were captured; True when they were."""
        return bool(self.Child.WaitFor(lambda _: len(self.Seen(source, destination)) >= count, seconds))

    def Stop(self):
        """Stops tshark the way a user does (SIGINT), so it finishes the file; its exit code."""
        return self.Child.Stop(signal.SIGINT)

    def Fields(self, fields, displayFilter=None, decodeAs=None):
        """One dict per packet (optionally only those matching the display filter), values as tshark shows them."""
        argv = ["tshark", "-n", "-r", self.Path, "-T", "fields", "-E", f"separator={Separator}",
                "-E", "occurrence=a", "-E", "aggregator=,"]
        for rule in decodeAs or []:
            argv += ["-d", rule]
        if displayFilter:
            argv += ["-Y", displayFilter]
        for field in fields:
            argv += ["-e", field]
        code, out, err = Run(self.Lan.Exec(self.Host, argv), 60)
        if code != 0:
            raise RuntimeError(f"tshark -r {self.Path} failed ({code}): {err.strip()}")
        rows = []
        for line in out.splitlines():
            values = line.split(Separator)
            rows.append(dict(zip(fields, values + [""] * (len(fields) - len(values)))))
        return rows

    def Matching(self, displayFilter):
        """Summary lines of the packets that match a display filter."""
        onlyTraffic = f"({displayFilter}) && !(udp.port == {ProbePort})"
        code, out, err = Run(self.Lan.Exec(self.Host, ["tshark", "-n", "-r", self.Path, "-Y", onlyTraffic]), 60)
        if code != 0:
            raise RuntimeError(f"tshark -Y '{displayFilter}' failed ({code}): {err.strip()}")
        return [line for line in out.splitlines() if line.strip()]
