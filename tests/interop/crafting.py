# Mailslot-write datagrams built with Scapy's own NetBIOS and SMB classes, as another implementation writes them.
from scapy.all import Raw, raw
from scapy.layers.netbios import NBTDatagram
from scapy.layers.smb import SMB_Header, SMBMailSlot
from scapy.layers.smb import SMBNetlogon_Protocol_Response_Header as SmbTransaction

# The 224-byte write of 57 bytes to \MAILSLOT\MB303 from WS01 (192.168.1.10) to WORKGROUP, DGM_ID 0x1234,
# taken from a reference dissection; Build() must reproduce it before anything it makes is trusted.
ReferenceHex = (
    "11021234c0a8010a008a00d20000204648464444414442434143414341434143414341434143414341434143414141002046"
    "4845504643454c45484643455046464641434143414341434143414341414100ff534d422500000000000000000000000000"
    "0000000000000000000000000000110000390000000000000000000000000000000000000039005500030001000000020049"
    "005c4d41494c534c4f545c4d42333033004142434445464748494a4b4c4d4e4f505152535455565758595a61626364656667"
    "68696a6b6c6d6e6f707172737475767778797a3132333435")
ReferenceRecipe = {"type": 0x11, "flags": 0x02, "id": 0x1234, "sourceIp": "192.168.1.10", "sourceName": "WS01",
                 "destinationName": "WORKGROUP", "slot": "\\MAILSLOT\\MB303", "timeout": 0,
                 "textHex": (b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz12345").hex()}


def EncodedSuffix(suffix):
    # Scapy 2.5 keeps the 16th name byte apart, already in its two-letter encoded form.
    return ((0x41 + (suffix >> 4)) << 8) | (0x41 + (suffix & 0x0F))


def Build(recipe):
    """The UDP payload for one datagram description (a dict, see ReferenceRecipe; optional keys below).

    sourceSuffix/destinationSuffix (default 0), priority (0), timeout in ms (1000, what Windows shows),
    padding: bytes between the name's NUL and the data, counted in DataOffset and ByteCount,
    truncateSmbTo: cut the SMB message to this many bytes, with DGM_LENGTH telling the cut length."""
    data = bytes.fromhex(recipe["textHex"])
    slot = recipe["slot"].encode("ascii")
    padding = recipe.get("padding", 0)
    timeout = recipe.get("timeout", 1000)
    smb = (SMB_Header(Command=0x25, Flags=0, Flags2=0, PIDLow=0)
           / SmbTransaction(TotalDataCount=len(data), DataCount=len(data), DataOffset=70 + len(slot) + padding,
                            TimeOut1=timeout & 0xFF, TimeOut2=(timeout >> 8) & 0xFF, MaxDataCount=0)
           / SMBMailSlot(opcode=1, priority=recipe.get("priority", 0), class_=2,
                         size=len(slot) + 1 + padding + len(data), name=slot)
           / Raw(b"\0" * padding + data))
    smbBytes = raw(smb)
    if "truncateSmbTo" in recipe:
        smbBytes = smbBytes[:recipe["truncateSmbTo"]]
    datagram = NBTDatagram(Type=recipe["type"], Flags=recipe["flags"], ID=recipe["id"], SourceIP=recipe["sourceIp"],
                           SourcePort=138, Length=68 + len(smbBytes), Offset=0,
                           SourceName=recipe["sourceName"], SUFFIX1=EncodedSuffix(recipe.get("sourceSuffix", 0)),
                           DestinationName=recipe["destinationName"],
                           SUFFIX2=EncodedSuffix(recipe.get("destinationSuffix", 0)))
    return raw(datagram) + smbBytes


def SelfCheck():
    """None when Build() reproduces the reference datagram, else what differs."""
    built = Build(ReferenceRecipe).hex()
    return None if built == ReferenceHex else f"built {built}, reference {ReferenceHex}"


def Decode(payload):
    """Scapy's reading of a received mailslot write, as plain values for a report line."""
    datagram = NBTDatagram(payload)
    smbBytes = raw(datagram.payload)
    transaction = SMB_Header(smbBytes)[SmbTransaction]
    mailslot = SMBMailSlot(raw(transaction.payload))
    data = smbBytes[transaction.DataOffset:transaction.DataOffset + transaction.DataCount]
    return {"type": datagram.Type, "flags": datagram.Flags, "id": datagram.ID, "sourceIp": datagram.SourceIP,
            "sourcePort": datagram.SourcePort,
            "sourceName": datagram.SourceName.decode("ascii", "replace").strip(),
            "sourceSuffix": datagram.SUFFIX1, "destinationName":
                datagram.DestinationName.decode("ascii", "replace").strip(),
            "destinationSuffix": datagram.SUFFIX2, "opcode": mailslot.opcode, "class": mailslot.class_,
            "slot": mailslot.getfieldval("name").decode("ascii", "replace").rstrip("\0"),
            "dataCount": transaction.DataCount, "totalDataCount": transaction.TotalDataCount,
            "textHex": data.hex()}
