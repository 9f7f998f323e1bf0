#!/usr/bin/python3
# Interoperability of kestrin-cli with independent implementations (tshark, Scapy, Samba's nmblookup) on a
# virtual LAN of two hosts that this test makes and always takes down. Needs root.
import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import traceback

# Nothing is written into the source tree, which may be read-only or a clean checkout.
sys.dont_write_bytecode = True

import case_crafted_datagrams
import case_name_service
import case_wire_format
from checks import TChecks
from children import TChildren
from kestrin_cli import TKestrinCli
from peer_control import TWindowsPeer
from vlan_lan import TInterrupted, TLan, InstallSignalHandlers, LeftoverNamespaces, UniqueLanName

Here = os.path.dirname(os.path.abspath(__file__))
VlanTool = os.path.normpath(os.path.join(Here, "..", "..", "scripts", "vlan"))
Cases = {"wire": case_wire_format, "crafted": case_crafted_datagrams, "names": case_name_service}


class TContext:
    """What every case works with."""

    def __init__(self, lan, children, cli, checks, workDir):
        self.Lan, self.Children, self.Cli, self.Checks, self.WorkDir = lan, children, cli, checks, workDir
        self.Local, self.Remote = "WS01", "WINHOST"
        self.Peer = None
        self.NextDatagramId = 0x4000
        self.Notes = []


def MissingTools(cliPath):
    missing = [tool for tool in ("tshark", "nmblookup", "ip") if shutil.which(tool) is None]
    if not os.access(cliPath, os.X_OK):
        missing.append(f"kestrin-cli at {cliPath}")
    probe = subprocess.run([sys.executable, "-c", "import scapy.layers.smb, scapy.layers.netbios"],
                           capture_output=True)
    if probe.returncode != 0:
        missing.append(f"Scapy for {sys.executable} (Debian package python3-scapy)")
    return missing


def RunCases(ctx, names):
    ctx.Peer = TWindowsPeer(ctx.Lan, ctx.Children, ctx.Remote)
    ready = ctx.Peer.WaitReady()
    ctx.Checks.Expect(f"stand-in Windows host runs in {ctx.Remote}", ready is not None, ctx.Peer.Child.Describe())
    if ready is None:
        return
    ctx.Checks.Equal("Scapy builds the reference datagram byte for byte", None, ready.get("selfCheck"))
    for name in names:
        print(f"== {name}", flush=True)
        try:
            Cases[name].Run(ctx)
        except TInterrupted:
            raise
        except Exception:
            ctx.Checks.Expect(f"{name} runs to its end", False, traceback.format_exc().splitlines())


def Main():
    parser = argparse.ArgumentParser(description="kestrin-cli against tshark, Scapy and nmblookup on a virtual LAN")
    parser.add_argument("--cli", required=True, help="path of the kestrin-cli to test")
    parser.add_argument("--only", action="append", choices=sorted(Cases), help="run only these parts")
    parser.add_argument("--keep", action="store_true", help="keep the captures (printed at the end)")
    arguments = parser.parse_args()
    if os.geteuid() != 0:
        print("interop: must run as root (it creates network namespaces and binds UDP 137/138 in them); "
              "nothing was tested", file=sys.stderr)
        return 1
    cliPath = os.path.abspath(arguments.cli)
    missing = MissingTools(cliPath)
    if missing:
        print(f"interop: missing: {', '.join(missing)}; nothing was tested", file=sys.stderr)
        return 1

    InstallSignalHandlers()
    checks, children = TChecks(), TChildren()
    workDir = tempfile.mkdtemp(prefix="kestrin-interop-")
    configPath = os.path.join(workDir, "empty.conf")
    open(configPath, "w").close()
    lan = TLan(VlanTool, UniqueLanName(), ["WS01", "WINHOST"])
    ctx = TContext(lan, children, TKestrinCli(lan, children, cliPath, configPath), checks, workDir)
    interrupted = None
    try:
        lan.Create()
        print(f"interop: LAN {lan.Name}: {lan.Addresses}, broadcast {lan.Broadcast}", flush=True)
        RunCases(ctx, arguments.only or ["wire", "crafted", "names"])
        checks.Equal("kestrin-cli printed no sanitizer report", [], ctx.Cli.SanitizerReports())
    except TInterrupted as signalName:
        interrupted = str(signalName)
    except Exception:
        checks.Expect("the harness runs without an error", False, traceback.format_exc().splitlines())
    finally:
        for signalNumber in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(signalNumber, signal.SIG_IGN)
        children.StopAll()
        down = lan.Destroy()
        checks.Expect("the LAN is taken down, no namespace left", down and not LeftoverNamespaces(lan.Name))
        if arguments.keep:
            print(f"interop: captures kept in {workDir}")
        else:
            shutil.rmtree(workDir, ignore_errors=True)
    for note in ctx.Notes:
        print(f"note: {note}")
    print(checks.Summary(), flush=True)
    if interrupted:
        print(f"interop: interrupted by {interrupted}", file=sys.stderr)
        return 130
    return 0 if not checks.Failed else 1


if __name__ == "__main__":
    sys.exit(Main())
