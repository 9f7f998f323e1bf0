# Kestrin texts written by the stand-in Windows host, and reading what it received.
import kestrin_text
import wire_checks

ReadySeconds = 30
# Any time of day will do; a fixed one shows that the receiver passes on the sender's.
SentTime = "09:41:07"


def MemoRecipe(ctx, datagramType, destination, lines, slot=wire_checks.MailslotName, truncateBy=0, **variant):
    """A memo from the stand-in host as a crafting recipe, with the lines and time a receiver must raise."""
    return TextRecipe(ctx, datagramType, destination, kestrin_text.Memo(SentTime, ctx.Remote, lines), slot,
                      truncateBy, lines=list(lines), **variant)


def CommandRecipe(ctx, datagramType, destination, command):
    return TextRecipe(ctx, datagramType, destination, kestrin_text.Command(SentTime, ctx.Remote, command),
                      wire_checks.MailslotName, 0)


def TextRecipe(ctx, datagramType, destination, text, slot, truncateBy, lines=None, **variant):
    ctx.NextDatagramId = (ctx.NextDatagramId + 1) & 0xFFFF
    build = {"type": datagramType, "flags": 0x02, "id": ctx.NextDatagramId,
             "sourceIp": ctx.Lan.Address(ctx.Remote), "sourceName": ctx.Remote, "destinationName": destination,
             "slot": slot, "textHex": text.hex()}
    build.update(variant)
    if truncateBy:
        smbLength = 70 + len(slot) + build.get("padding", 0) + len(text)
        build["truncateSmbTo"] = smbLength - truncateBy
    return {"build": build, "lines": lines, "time": SentTime}


def TextOf(event):
    """What a datagram the stand-in host received says: kestrin_text.Describe's reading, or None."""
    decoded = event.get("decoded") or {}
    if "textHex" not in decoded:
        return None
    return kestrin_text.Describe(bytes.fromhex(decoded["textHex"]))[0]


def WaitOnline(ctx, listener, peerMark):
    """True once the stand-in host heard the listener announce itself, so its ports are bound."""
    heard = ctx.Peer.WaitForDatagram(lambda e: TextOf(e) == ("command", ctx.Local, "ONLINE_NOTIFY"),
                                     ReadySeconds, after=peerMark)
    return ctx.Checks.Expect(f"listen in {ctx.Local} announces itself with ONLINE_NOTIFY", heard is not None,
                             listener.Child.Describe())
