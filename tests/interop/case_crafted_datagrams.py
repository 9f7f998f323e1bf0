# Datagrams written as a Windows host writes them reach `listen`; damaged ones are dropped unseen.
import online_response
import peer_memos
from peer_memos import MemoRecipe


def Run(ctx):
    checks, local = ctx.Checks, ctx.Local
    mark = ctx.Peer.Mark()
    listener = ctx.Cli.Listen(local)
    if not peer_memos.WaitOnline(ctx, listener, mark):
        listener.Stop()
        return
    ReceivesWindowsDatagrams(ctx, listener)
    online_response.AnswersOnlineNotify(ctx, listener)
    DropsDamagedDatagrams(ctx, listener)
    mark = ctx.Peer.Mark()
    checks.Equal("listen leaves on SIGTERM with exit code 0", 0, listener.Stop(), listener.Child.Describe())
    left = ctx.Peer.WaitForDatagram(
        lambda e: peer_memos.TextOf(e) == ("command", local, "OFFLINE_NOTIFY"), after=mark)
    checks.Expect(f"{ctx.Remote} receives OFFLINE_NOTIFY when listen leaves", left is not None)


def ValidRows(ctx):
    """(name, IP destination, recipe): writes that must each raise one memo with origin WINHOST."""
    lan, local = ctx.Lan, ctx.Local
    return [
        ("DIRECT_GROUP to WORKGROUP<00> on the broadcast", lan.Broadcast,
         MemoRecipe(ctx, 0x11, "WORKGROUP", ["group memo from the Windows host", "second line"])),
        (f"DIRECT_UNIQUE to {local}<00> at its address", lan.Address(local),
         MemoRecipe(ctx, 0x10, local, ["direct memo from the Windows host"])),
        ("DIRECT_GROUP with a lower-case mailslot name", lan.Broadcast,
         MemoRecipe(ctx, 0x11, "WORKGROUP", ["lower-case mailslot name"], slot="\\mailslot\\mb303")),
        ("DIRECT_UNIQUE with FLAGS 0x0A (M-node, as Samba sends)", lan.Address(local),
         MemoRecipe(ctx, 0x10, local, ["M-node flags"], flags=0x0A)),
        ("DIRECT_GROUP with 2 bytes of padding before the data", lan.Broadcast,
         MemoRecipe(ctx, 0x11, "WORKGROUP", ["padded data offset"], padding=2)),
    ]


def ReceivesWindowsDatagrams(ctx, listener):
    for name, to, recipe in ValidRows(ctx):
        lines = recipe["lines"]
        mark = listener.Mark()
        sent = ctx.Peer.Send(to, recipe["build"])
        memo = listener.WaitForEvent(lambda e: e.get("event") == "memo" and e.get("lines") == lines, after=mark)
        ctx.Checks.Expect(f"{name}: raised as a memo", sent and memo is not None,
                          [f"sent: {sent}"] + listener.Child.Describe())
        if memo is not None:
            ctx.Checks.Equal(f"{name}: origin and time as written", (ctx.Remote, recipe["time"]),
                             (memo.get("origin"), memo.get("time")))


def DamagedRows(ctx):
    """(name, IP destination, recipe): writes that must raise nothing."""
    lan, local = ctx.Lan, ctx.Local
    return [
        ("fragment with MORE set", lan.Broadcast, MemoRecipe(ctx, 0x11, "WORKGROUP", ["damaged: MORE"], flags=0x03)),
        ("mailslot name \\MAILSLOT\\OTHER", lan.Broadcast,
         MemoRecipe(ctx, 0x11, "WORKGROUP", ["damaged: other mailslot"], slot="\\MAILSLOT\\OTHER")),
        ("DIRECT_UNIQUE to WS02<00>, another computer", lan.Address(local),
         MemoRecipe(ctx, 0x10, "WS02", ["damaged: not for us"])),
        ("SMB cut short inside the data (DGM_LENGTH agrees)", lan.Broadcast,
         MemoRecipe(ctx, 0x11, "WORKGROUP", ["damaged: data cut short by ten bytes"], truncateBy=10)),
        ("SMB cut short inside its header", lan.Broadcast,
         MemoRecipe(ctx, 0x11, "WORKGROUP", ["damaged: header cut"], truncateSmbTo=40)),
    ]


def DropsDamagedDatagrams(ctx, listener):
    checks = ctx.Checks
    mark = listener.Mark()
    rows = DamagedRows(ctx)
    for name, to, recipe in rows:
        checks.Expect(f"damaged write sent: {name}", ctx.Peer.Send(to, recipe["build"]))
    # Sent last from the same socket: once it is raised, every damaged write before it has been read.
    sentinel = MemoRecipe(ctx, 0x11, "WORKGROUP", ["valid memo after the damaged ones"])
    ctx.Peer.Send(ctx.Lan.Broadcast, sentinel["build"])
    raised = listener.WaitForEvent(lambda e: e.get("event") == "memo" and e.get("lines") == sentinel["lines"],
                                   after=mark)
    checks.Expect("a valid memo sent after the damaged ones is raised (listen was alive)", raised is not None,
                  listener.Child.Describe())
    events = listener.Events(mark)
    for name, _, recipe in rows:
        leaked = [e for e in events if e.get("lines") == recipe["lines"]]
        checks.Equal(f"{name}: raises nothing", [], leaked)
    others = [e for e in events if e.get("lines") != sentinel["lines"]]
    checks.Equal("nothing else is raised meanwhile", [], others)
