# A scripted stand-in for a Windows host, run inside one LAN host: sends crafted datagrams from UDP 138 and
# reports every datagram that reaches its port 138, read with Scapy. One JSON object per line both ways.
#
# stdin:  {"op": "send", "tag": T, "to": "<IPv4>", "recipe": {...crafting.Build recipe...}}
# stdout: {"event": "ready", "selfCheck": null | "<difference>"}
#         {"event": "sent", "tag": T, "bytes": N} or {"event": "send-failed", "tag": T, "error": "..."}
#         {"event": "datagram", "from": "<IPv4>", "port": P, "bytes": N, "decoded": {...} | null, "error": ...}
import json
import socket
import sys
import threading

import crafting

OutputLock = threading.Lock()


def Report(event):
    with OutputLock:
        sys.stdout.write(json.dumps(event) + "\n")
        sys.stdout.flush()


def Receive(udp):
    while True:
        payload, (address, port) = udp.recvfrom(65535)
        event = {"event": "datagram", "from": address, "port": port, "bytes": len(payload), "decoded": None}
        try:
            event["decoded"] = crafting.Decode(payload)
        except Exception as error:  # a report of what could not be read is the point here
            event["error"] = f"{type(error).__name__}: {error}"
        Report(event)


def Serve(udp):
    for line in sys.stdin:
        if not line.strip():
            continue
        request = json.loads(line)
        tag = request.get("tag")
        try:
            payload = crafting.Build(request["recipe"])
            sent = udp.sendto(payload, (request["to"], 138))
            Report({"event": "sent", "tag": tag, "bytes": sent})
        except OSError as error:
            Report({"event": "send-failed", "tag": tag, "error": str(error)})


def Main():
    udp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    udp.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    # 0.0.0.0, not the host address: on Linux only a wildcard socket receives the subnet's broadcasts.
    udp.bind(("0.0.0.0", 138))
    threading.Thread(target=Receive, args=(udp,), daemon=True).start()
    Report({"event": "ready", "selfCheck": crafting.SelfCheck()})
    Serve(udp)


if __name__ == "__main__":
    Main()
