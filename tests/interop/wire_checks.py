# What tshark must show for every mailslot write one of our copies sends, and how each row is checked.
import kestrin_text

Fields = ["frame.number", "ip.src", "ip.dst", "udp.srcport", "udp.dstport", "nbdgm.type", "nbdgm.first",
          "nbdgm.next", "nbdgm.src.ip", "nbdgm.src.port", "nbdgm.dgram_len", "nbdgm.pkt_offset",
          "nbdgm.source_name", "nbdgm.destination_name", "smb.cmd", "smb.wct", "smb.tdc", "smb.dc",
          "smb.data_offset", "smb.sc", "smb.bcc", "mailslot.opcode", "mailslot.class", "mailslot.name",
          "data.len", "data.data"]
# Malformed packets and expert warnings (bad lengths, counts that disagree) are what a dissector complains about.
ProblemFilter = "_ws.malformed || _ws.expert.severity >= warning"
MailslotName = "\\MAILSLOT\\MB303"
DirectUnique = 0x10
DirectGroup = 0x11


def Number(text):
    """tshark prints some integers in decimal and some in hex; booleans as 1/0 or True/False."""
    if text in ("True", "False"):
        return int(text == "True")
    try:
        return int(text, 0)
    except ValueError:
        return None


def Payload(row):
    return bytes.fromhex(row["data.data"].replace(":", "")) if row["data.data"] else b""


def Describe(row):
    """The Kestrin text a captured write carries, as kestrin_text.Describe reads it."""
    return kestrin_text.Describe(Payload(row))


def ExpectWellFormed(checks, label, row, sourceName, sourceAddress, datagramType, destinationName, ipDestination):
    """The checks every datagram of ours must pass, one line per concern."""
    dataCount = Number(row["smb.dc"])
    nameLength = len(MailslotName)
    checks.Equal(f"{label}: NetBIOS datagram header", {
        "type": datagramType, "first": 1, "more": 0, "packet offset": 0, "source": f"{sourceName}<00>",
        "destination": f"{destinationName}<00>", "SOURCE_IP": sourceAddress, "length": 68 + 70 + nameLength +
        (dataCount or 0)}, {
        "type": Number(row["nbdgm.type"]), "first": Number(row["nbdgm.first"]), "more": Number(row["nbdgm.next"]),
        "packet offset": Number(row["nbdgm.pkt_offset"]), "source": row["nbdgm.source_name"],
        "destination": row["nbdgm.destination_name"], "SOURCE_IP": row["nbdgm.src.ip"],
        "length": Number(row["nbdgm.dgram_len"])})
    checks.Equal(f"{label}: IP destination and UDP destination port", (ipDestination, 138),
                 (row["ip.dst"], Number(row["udp.dstport"])))
    checks.Equal(f"{label}: SMB transaction carrying a class-2 mailslot write", {
        "command": 0x25, "word count": 17, "setup count": 3, "opcode": 1, "class": 2, "name": MailslotName}, {
        "command": Number(row["smb.cmd"]), "word count": Number(row["smb.wct"]), "setup count": Number(row["smb.sc"]),
        "opcode": Number(row["mailslot.opcode"]), "class": Number(row["mailslot.class"]),
        "name": row["mailslot.name"]})
    checks.Equal(f"{label}: counts agree (tdc = dc = data.len, offset = 70 + L, bcc = L + 1 + dc)", {
        "tdc": len(Payload(row)), "dc": len(Payload(row)), "data.len": len(Payload(row)),
        "data_offset": 70 + nameLength, "bcc": nameLength + 1 + len(Payload(row))}, {
        "tdc": Number(row["smb.tdc"]), "dc": dataCount, "data.len": Number(row["data.len"]),
        "data_offset": Number(row["smb.data_offset"]), "bcc": Number(row["smb.bcc"])})
    # The header names the port replies and errors go to, so it must be the port the datagram left from:
    # 138 while the mailbox is open, a port of the sender's own otherwise (a plain send, the goodbye).
    checks.Equal(f"{label}: header SOURCE_PORT is the UDP source port",
                 Number(row["udp.srcport"]), Number(row["nbdgm.src.port"]))
