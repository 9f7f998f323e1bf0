# Every datagram `who` and `send` put on the wire, as tshark's own dissectors read it.
import os

import wire_checks
from capture import TCapture

CaptureSeconds = 20
MemoToAll = b"Hello to every computer\nsecond line, with \xc3\xa4 in UTF-8\n"
MemoToOne = ["Gr\u00fc\u00dfe", "an", "WINHOST"]


def Run(ctx):
    checks, lan, local, remote = ctx.Checks, ctx.Lan, ctx.Local, ctx.Remote
    localAddress = lan.Address(local)
    capture = TCapture(lan, ctx.Children, local, "eth0", "udp port 138", os.path.join(ctx.WorkDir, "wire.pcap"))
    if not checks.Expect(f"tshark captures in {local}", capture.WaitStarted(), capture.Describe()):
        capture.Stop()
        return

    code, out, err = ctx.Cli.Run(local, ["who", "--wait", "500"])
    checks.Equal("who --wait 500 exits 0", 0, code, [f"stderr: {err.strip()}"])
    checks.Equal("who lists no computer (nothing else runs Kestrin)", "", out.strip())
    code, _, err = ctx.Cli.Run(local, ["send", "--all"], stdinBytes=MemoToAll)
    checks.Equal("send --all (memo on standard input) exits 0", 0, code, [f"stderr: {err.strip()}"])
    code, _, err = ctx.Cli.Run(local, ["send", "--to", remote] + MemoToOne)
    checks.Equal(f"send --to {remote} exits 0", 0, code, [f"stderr: {err.strip()}"])

    expected = [
        ("ONLINE_NOTIFY of who", ("command", local, "ONLINE_NOTIFY"), wire_checks.DirectGroup, "WORKGROUP"),
        ("OFFLINE_NOTIFY of who", ("command", local, "OFFLINE_NOTIFY"), wire_checks.DirectGroup, "WORKGROUP"),
        ("memo to all", ("memo", local, ("Hello to every computer", "second line, with \u00e4 in UTF-8")),
         wire_checks.DirectGroup, "WORKGROUP"),
        (f"memo to {remote}", ("memo", local, (" ".join(MemoToOne),)), wire_checks.DirectUnique, remote),
    ]
    arrived = capture.WaitForPackets(len(expected), CaptureSeconds, source=localAddress)
    stopped = capture.Stop()
    checks.Expect(f"{len(expected)} datagrams from {local} captured", arrived, capture.Describe())
    checks.Equal("tshark leaves on SIGINT with exit code 0", 0, stopped)

    rows = capture.Fields(wire_checks.Fields, displayFilter="udp.port == 138")
    checks.Equal("no other datagram on UDP 138", len(expected), len(rows),
                 [f"{r['ip.src']} -> {r['ip.dst']}: {wire_checks.Describe(r)[0]}" for r in rows])
    problems = capture.Matching(wire_checks.ProblemFilter)
    checks.Equal("tshark finds no malformed packet and no expert warning", [], problems)

    for label, content, datagramType, destination in expected:
        found = [row for row in rows if wire_checks.Describe(row)[0] == content]
        if not checks.Equal(f"{label}: captured once, its text decodes as {content}", 1, len(found),
                            [f"texts seen: {[wire_checks.Describe(r) for r in rows]}"]):
            continue
        row = found[0]
        checks.Equal(f"{label}: the text has a HH:MM:SS time and ends with END_MESSAGE",
                     [], wire_checks.Describe(row)[1])
        # Unresolved names go out by broadcast, so the datagram to one computer may also use the broadcast.
        ipDestinations = [lan.Broadcast] if datagramType == wire_checks.DirectGroup else \
            [lan.Broadcast, lan.Address(remote)]
        ipDestination = row["ip.dst"] if row["ip.dst"] in ipDestinations else ipDestinations[0]
        wire_checks.ExpectWellFormed(checks, label, row, local, localAddress, datagramType, destination,
                                     ipDestination)
        ctx.Notes.append(f"{label}: UDP {row['ip.src']}:{row['udp.srcport']} -> {row['ip.dst']}:138, "
                         f"type 0x{wire_checks.Number(row['nbdgm.type']):02x}")
