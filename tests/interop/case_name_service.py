# Samba's nmblookup finds our computer through the name-service answers of a running `listen`.
import os
import re

import peer_memos
from capture import TCapture
from children import Run as RunCommand

CaptureSeconds = 20
LookupSeconds = 60
NbnsFields = ["ip.src", "ip.dst", "udp.srcport", "udp.dstport", "nbns.id", "nbns.flags", "nbns.flags.response",
              "nbns.flags.rcode", "nbns.name", "nbns.ttl", "nbns.addr", "nbns.nb_flags"]


def Run(ctx):
    checks, lan, local, remote = ctx.Checks, ctx.Lan, ctx.Local, ctx.Remote
    localAddress = lan.Address(local)
    peerMark = ctx.Peer.Mark()
    listener = ctx.Cli.Listen(local)
    if not peer_memos.WaitOnline(ctx, listener, peerMark):
        listener.Stop()
        return
    capture = TCapture(lan, ctx.Children, remote, "eth0", "udp port 137", os.path.join(ctx.WorkDir, "names.pcap"))
    if not checks.Expect(f"tshark captures in {remote}", capture.WaitStarted(), capture.Describe()):
        capture.Stop()
        listener.Stop()
        return

    def Lookup(arguments):
        return RunCommand(lan.Exec(remote, ["nmblookup"] + arguments), LookupSeconds)

    # The unanswered queries go first: any answer to them arrives before the answers waited for below.
    for label, arguments in [("broadcast query for NOBODY<00>", ["-B", lan.Broadcast, "NOBODY#00"]),
                             (f"unicast query for NOBODY<00> to {local}", ["-U", localAddress, "NOBODY#00"]),
                             (f"unicast query for {local}<20> (another suffix)", ["-U", localAddress, f"{local}#20"])]:
        code, out, err = Lookup(arguments)
        checks.Expect(f"nmblookup {label}: no answer", code not in (0, None) and not AnswerLines(out),
                      [f"exit {code}", f"stdout: {out.strip()}", f"stderr: {err.strip()}"])
    for label, arguments in [("broadcast", ["-B", lan.Broadcast, f"{local}#00"]),
                             ("unicast", ["-U", localAddress, f"{local}#00"])]:
        code, out, err = Lookup(arguments)
        checks.Expect(f"nmblookup {label} query for {local}<00> prints {localAddress}",
                      code == 0 and AnswerLines(out) == [f"{localAddress} {local}<00>"],
                      [f"exit {code}", f"stdout: {out.strip()}", f"stderr: {err.strip()}"])

    arrived = capture.WaitForPackets(2, CaptureSeconds, source=localAddress)
    stopped = capture.Stop()
    checks.Expect(f"two name-service answers from {local} captured", arrived, capture.Describe())
    checks.Equal(f"tshark in {remote} leaves on SIGINT with exit code 0", 0, stopped)
    ExpectAnswers(ctx, capture.Fields(NbnsFields, displayFilter="nbns"))
    checks.Equal("listen leaves on SIGTERM with exit code 0", 0, listener.Stop(), listener.Child.Describe())


def AnswerLines(out):
    """The "address NAME<xx>" lines nmblookup prints for each answer it got."""
    return [line for line in out.splitlines() if re.match(r"^\d+\.\d+\.\d+\.\d+ \S+<[0-9a-fA-F]{2}>", line)]


def ExpectAnswers(ctx, rows):
    checks, local = ctx.Checks, ctx.Local
    localAddress = ctx.Lan.Address(local)
    queries = {row["nbns.id"]: row for row in rows if row["nbns.flags.response"] in ("0", "False")}
    answers = [row for row in rows if row["nbns.flags.response"] in ("1", "True")]
    checks.Equal(f"only the two queries for {local}<00> are answered", [f"{local}<00>"] * 2,
                 [row["nbns.name"].split(" ")[0] for row in answers])
    for row in answers:
        query = queries.get(row["nbns.id"])
        if not checks.Expect(f"answer {row['nbns.id']} matches a query by transaction id", query is not None):
            continue
        # AA, plus RD copied from the query (nmblookup -B sets it, -U does not).
        wantFlags = 0x8400 | (int(query["nbns.flags"], 0) & 0x0100)
        checks.Equal(f"answer {row['nbns.id']}: positive, unicast to the querier, our address", {
            "from": (localAddress, 137), "to": (query["ip.src"], int(query["udp.srcport"])), "flags": wantFlags,
            "rcode": 0, "address": localAddress, "unique B-node": 0}, {
            "from": (row["ip.src"], int(row["udp.srcport"])), "to": (row["ip.dst"], int(row["udp.dstport"])),
            "flags": int(row["nbns.flags"], 0), "rcode": int(row["nbns.flags.rcode"], 0),
            "address": row["nbns.addr"], "unique B-node": int(row["nbns.nb_flags"], 0)})
        checks.Expect(f"answer {row['nbns.id']}: a TTL above zero", int(row["nbns.ttl"] or "0", 0) > 0,
                      [f"ttl: {row['nbns.ttl']!r}"])
