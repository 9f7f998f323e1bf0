# A crafted ONLINE_NOTIFY from the Windows host makes `listen` answer it alone, by unicast, well formed.
import os

import peer_memos
import wire_checks
from capture import TCapture

CaptureSeconds = 20


def AnswersOnlineNotify(ctx, listener):
    checks, lan, local, remote = ctx.Checks, ctx.Lan, ctx.Local, ctx.Remote
    remoteAddress = lan.Address(remote)
    capture = TCapture(lan, ctx.Children, remote, "eth0", "udp port 138",
                       os.path.join(ctx.WorkDir, "online-response.pcap"))
    if not checks.Expect(f"tshark captures in {remote}", capture.WaitStarted(), capture.Describe()):
        capture.Stop()
        return
    listenMark, peerMark = listener.Mark(), ctx.Peer.Mark()
    notify = peer_memos.CommandRecipe(ctx, wire_checks.DirectGroup, "WORKGROUP", "ONLINE_NOTIFY")
    checks.Expect(f"ONLINE_NOTIFY from {remote} sent to the broadcast", ctx.Peer.Send(lan.Broadcast, notify["build"]))

    users = listener.WaitForEvent(lambda e: e.get("event") == "users" and remote in e.get("users", []),
                                  after=listenMark)
    checks.Expect(f"listen lists {remote} after its ONLINE_NOTIFY", users is not None, listener.Child.Describe())
    answer = ctx.Peer.WaitForDatagram(
        lambda e: peer_memos.TextOf(e) == ("command", local, "ONLINE_RESPONSE"), after=peerMark)
    checks.Expect(f"{remote} receives ONLINE_RESPONSE from {local}", answer is not None, ctx.Peer.Child.Describe())
    if answer is not None:
        decoded = answer["decoded"]
        checks.Equal("Scapy reads the ONLINE_RESPONSE as DIRECT_UNIQUE to WINHOST<00>, class-2 write", {
            "from": lan.Address(local), "type": 0x10, "destination": remote, "suffix": 0x4141, "opcode": 1,
            "class": 2, "slot": wire_checks.MailslotName}, {
            "from": answer["from"], "type": decoded["type"], "destination": decoded["destinationName"],
            "suffix": decoded["destinationSuffix"], "opcode": decoded["opcode"], "class": decoded["class"],
            "slot": decoded["slot"]})

    arrived = capture.WaitForPackets(1, CaptureSeconds, source=lan.Address(local), destination=remoteAddress)
    stopped = capture.Stop()
    checks.Expect(f"a unicast datagram from {local} to {remote} is captured", arrived, capture.Describe())
    checks.Equal(f"tshark in {remote} leaves on SIGINT with exit code 0", 0, stopped)
    rows = capture.Fields(wire_checks.Fields, displayFilter="udp.port == 138")
    answers = [row for row in rows if wire_checks.Describe(row)[0] == ("command", local, "ONLINE_RESPONSE")]
    checks.Equal("exactly one ONLINE_RESPONSE on the wire", 1, len(answers),
                 [f"{r['ip.src']} -> {r['ip.dst']}: {wire_checks.Describe(r)[0]}" for r in rows])
    checks.Equal("tshark finds no malformed packet and no expert warning in that capture", [],
                 capture.Matching(wire_checks.ProblemFilter))
    if len(answers) == 1:
        wire_checks.ExpectWellFormed(checks, "ONLINE_RESPONSE", answers[0], local, lan.Address(local),
                                     wire_checks.DirectUnique, remote, remoteAddress)
