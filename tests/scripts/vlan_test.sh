#!/usr/bin/env bash
# vlan_test.sh: checks that scripts/vlan builds an isolated virtual LAN whose broadcasts reach every host.
# Needs root. Exits 0 only when every check passed.
set -euo pipefail

Here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
Vlan=$(readlink -f "$Here/../../scripts/vlan")
Python=/usr/bin/python3

if [[ $EUID -ne 0 ]]; then
    echo "vlan_test: must run as root (it creates network namespaces); nothing was tested" >&2
    exit 1
fi
[[ -x $Vlan ]] || { echo "vlan_test: $Vlan is missing or not executable" >&2; exit 1; }
[[ -x $Python ]] || { echo "vlan_test: $Python is needed for the socket helpers" >&2; exit 1; }

LanA=vt$$
LanB=vt${$}b
RunLan=""
Work=$(mktemp -d)
Failures=0
Checks=0
declare -a BackgroundPids=()
declare -A RxFd=() RxPid=()

Cleanup() {
    local rc=$? pid
    trap - EXIT INT TERM
    for pid in "${BackgroundPids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    "$Vlan" down "$LanA" || rc=1
    "$Vlan" down "$LanB" || rc=1
    [[ -z $RunLan ]] || "$Vlan" down "$RunLan" || rc=1
    rm -rf "$Work"
    if ((rc != 0 && Failures == 0)); then
        echo "vlan_test: aborted (exit $rc) after $Checks checks" >&2
    fi
    exit "$rc"
}
trap Cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

Pass() {
    Checks=$((Checks + 1))
    echo "ok   $1"
}

Fail() {
    Checks=$((Checks + 1))
    Failures=$((Failures + 1))
    echo "FAIL $1" >&2
    shift
    (($# == 0)) || printf '       %s\n' "$@" >&2
}

Expect() { # <name> <expected> <actual>
    if [[ $2 == "$3" ]]; then
        Pass "$1"
    else
        Fail "$1" "expected: $2" "actual:   $3"
    fi
}

RootLinks() { ip -o link | awk -F': ' '{ print $1 ": " $2 }'; }
LanNamespaces() { ip netns list | awk -v a="kvlan-$1" '$1 == a || index($1, a "-") == 1 { print $1 }'; }

# A process that has finished (a zombie awaiting our wait counts as finished).
Gone() {
    [[ ! -r /proc/$1/stat ]] || [[ $(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) == Z ]]
}

cat >"$Work/udp.py" <<'EOF'
# recv <port> [<last payload>]: bind 0.0.0.0:<port>, say "ready", print "<source> <payload>" per datagram;
#   stop after one datagram, or at <last payload>. Exits 1 after 20 s of silence (a guard, never waited
#   for when things work).
# send <address> <port> <payload>: one datagram with SO_BROADCAST set.
import socket, sys
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
if sys.argv[1] == "recv":
    s.bind(("0.0.0.0", int(sys.argv[2])))
    s.settimeout(20)
    print("ready", flush=True)
    last = sys.argv[3] if len(sys.argv) > 3 else None
    while True:
        try:
            data, source = s.recvfrom(65535)
        except socket.timeout:
            print("timeout", flush=True)
            sys.exit(1)
        print(source[0], data.decode(), flush=True)
        if last is None or data.decode() == last:
            break
else:
    s.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    s.sendto(sys.argv[4].encode(), (sys.argv[2], int(sys.argv[3])))
EOF

# Starts a receiver in a host and returns once its socket is bound.
StartReceiver() { # <tag> <lan> <host> <port> [<last payload>]
    local tag=$1 fifo=$Work/rx.$1 fd line
    shift
    mkfifo "$fifo"
    "$Vlan" exec "$1" "$2" -- "$Python" "$Work/udp.py" recv "${@:3}" >"$fifo" &
    RxPid[$tag]=$!
    BackgroundPids+=("$!")
    exec {fd}<"$fifo"
    RxFd[$tag]=$fd
    line=""
    read -r -t 30 -u "$fd" line || true
    [[ $line == ready ]] || Fail "receiver $tag starts" "got: '$line'"
}

# Next line the receiver printed ("<source> <payload>"), or "none".
RxLine() {
    local line=""
    read -r -t 30 -u "${RxFd[$1]}" line || line=none
    printf '%s\n' "$line"
}

StopReceiver() {
    local fd=${RxFd[$1]}
    wait "${RxPid[$1]}" 2>/dev/null || true
    exec {fd}<&-
    rm -f "$Work/rx.$1"
}

Send() { # <lan> <host> <address> <port> <payload>
    "$Vlan" exec "$1" "$2" -- "$Python" "$Work/udp.py" send "$3" "$4" "$5"
}

LinksBefore=$(RootLinks)
HostnameBefore=$(hostname)

# --- refusal without root --------------------------------------------------------------------------------
if Out=$(setpriv --reuid=65534 --regid=65534 --clear-groups "$Vlan" list 2>&1); then
    Fail "non-root is refused" "exit 0, output: $Out"
else
    if [[ $Out == *root* ]]; then Pass "non-root is refused with a message"; else Fail "non-root message names root" "$Out"; fi
fi

# --- a LAN with given names ------------------------------------------------------------------------------
Names=(WS01 ws-two HOST3)
UpOut=$("$Vlan" up "$LanA" 3 --names "$(IFS=,; echo "${Names[*]}")" 2>/dev/null)
Prefix=$("$Vlan" bcast "$LanA")
Prefix=${Prefix%.255}
if [[ $Prefix =~ ^10\.77\.[0-9]+$ ]]; then Pass "default subnet is 10.77.<k>"; else Fail "default subnet is 10.77.<k>" "$Prefix"; fi
Expect "up prints hosts and addresses" \
    "$(printf '%s\n' "WS01 $Prefix.1" "ws-two $Prefix.2" "HOST3 $Prefix.3")" "$UpOut"
Expect "list <lan> matches up" "$UpOut" "$("$Vlan" list "$LanA")"
Expect "hosts lists the names" "${Names[*]}" "$("$Vlan" hosts "$LanA")"
List=$("$Vlan" list)
if [[ $List == *"$LanA $Prefix.0/24 3"* ]]; then Pass "list shows the LAN"; else Fail "list shows the LAN" "$List"; fi
Expect "root namespace gained no interface while the LAN is up" "$LinksBefore" "$(RootLinks)"
Expect "root host name untouched" "$HostnameBefore" "$(hostname)"

for i in 1 2 3; do
    H=${Names[i - 1]}
    Expect "addr $H" "$Prefix.$i" "$("$Vlan" addr "$LanA" "$H")"
    Expect "hostname inside $H" "$H" "$("$Vlan" exec "$LanA" "$H" -- hostname)"
    Expect "gethostname() inside $H" "$H" \
        "$("$Vlan" exec "$LanA" "$H" -- "$Python" -c 'import socket; print(socket.gethostname())')"
    Inet=$("$Vlan" exec "$LanA" "$H" -- ip -4 -o addr show dev eth0 | awk '{ print $4, $5, $6 }')
    Expect "eth0 address and broadcast in $H" "$Prefix.$i/24 brd $Prefix.255" "$Inet"
    Expect "no IPv6 on eth0 in $H" "" "$("$Vlan" exec "$LanA" "$H" -- ip -6 -o addr show dev eth0)"
    Expect "$H sees only lo and eth0" "lo eth0" \
        "$("$Vlan" exec "$LanA" "$H" -- ip -o link | awk -F': ' '{ sub(/@.*/, "", $2); printf "%s%s", sep, $2; sep=" " }')"
done

Expect "no IPv6 address in the switch" "" "$(ip -n "kvlan-$LanA" -6 -o addr)"

Expect "exec passes the exit code" 42 "$("$Vlan" exec "$LanA" WS01 -- sh -c 'exit 42' || echo $?)"
Expect "exec passes stdin" "through" "$(echo through | "$Vlan" exec "$LanA" WS01 -- cat)"

# --- a second LAN on the same subnet must hear nothing of the first ------------------------------------
"$Vlan" up "$LanB" 2 --subnet "$Prefix" >/dev/null 2>&1
StartReceiver b1 "$LanB" WS01 138 END

# --- broadcasts: directed and limited, on both NetBIOS ports -------------------------------------------
for Port in 138 137; do
    for Target in "$Prefix.255" 255.255.255.255; do
        for i in 1 2 3; do
            StartReceiver "a$i" "$LanA" "${Names[i - 1]}" "$Port"
        done
        if ! Send "$LanA" WS01 "$Target" "$Port" "bc-$Port-$Target"; then
            Fail "WS01 can send to $Target:$Port"
            kill "${RxPid[a1]}" "${RxPid[a2]}" "${RxPid[a3]}" 2>/dev/null || true
        fi
        for i in 2 3; do
            Expect "broadcast to $Target:$Port reaches ${Names[i - 1]}" "$Prefix.1 bc-$Port-$Target" "$(RxLine "a$i")"
        done
        Expect "broadcast to $Target:$Port comes back to the sender's own socket" \
            "$Prefix.1 bc-$Port-$Target" "$(RxLine a1)"
        for i in 1 2 3; do
            StopReceiver "a$i"
        done
    done
done

# --- unicast ---------------------------------------------------------------------------------------------
StartReceiver u2 "$LanA" ws-two 138
StartReceiver u3 "$LanA" HOST3 138 last
Send "$LanA" WS01 "$Prefix.2" 138 uni-1-2
Expect "unicast WS01 -> ws-two" "$Prefix.1 uni-1-2" "$(RxLine u2)"
Send "$LanA" WS01 "$Prefix.3" 138 last
Expect "unicast to ws-two did not reach HOST3" "$Prefix.1 last" "$(RxLine u3)"
StopReceiver u2
StopReceiver u3

Send "$LanB" WS02 "$Prefix.1" 138 END
Expect "the other LAN heard nothing of this one" "$Prefix.2 END" "$(RxLine b1)"
StopReceiver b1

# --- down ------------------------------------------------------------------------------------------------
mkfifo "$Work/lingering"
"$Vlan" exec "$LanA" HOST3 -- sh -c 'echo inside; exec sleep 600' >"$Work/lingering" &
Lingering=$!
BackgroundPids+=("$Lingering")
Line=""
read -r -t 30 Line <"$Work/lingering" || true
Expect "a process runs inside before down" inside "$Line"
"$Vlan" down "$LanA"
if Gone "$Lingering"; then Pass "down ends processes left in the LAN"; else Fail "down ends processes left in the LAN"; fi
wait "$Lingering" 2>/dev/null || true
Expect "no namespace of the LAN after down" "" "$(LanNamespaces "$LanA")"
if [[ ! -e /run/kvlan/$LanA ]]; then Pass "no state of the LAN after down"; else Fail "no state of the LAN after down"; fi
Expect "down of a missing LAN is quiet and succeeds" "0:" "$("$Vlan" down "$LanA" 2>&1; echo "$?:")"
if "$Vlan" exec "$LanA" WS01 -- true 2>/dev/null; then
    Fail "exec into a removed LAN fails"
else
    Pass "exec into a removed LAN fails"
fi
"$Vlan" down "$LanB"

# --- run -------------------------------------------------------------------------------------------------
set +e
# shellcheck disable=SC2016 # the inner sh expands these
"$Vlan" run 2 -- sh -c '
    env | grep "^KESTRIN_VLAN" | sort >"$1/env"
    "$KESTRIN_VLAN_TOOL" exec "$KESTRIN_VLAN" WS02 hostname >"$1/name"
    exit 7' sh "$Work"
Rc=$?
set -e
Expect "run returns the command's exit code" 7 "$Rc"
RunLan=$(sed -n 's/^KESTRIN_VLAN=//p' "$Work/env")
RunBcast=$(sed -n 's/^KESTRIN_VLAN_BCAST=//p' "$Work/env")
Expect "run names the hosts" "KESTRIN_VLAN_HOSTS=WS01 WS02" "$(grep '^KESTRIN_VLAN_HOSTS=' "$Work/env")"
Expect "run gives the addresses" "KESTRIN_VLAN_ADDRS=${RunBcast%.255}.1 ${RunBcast%.255}.2" \
    "$(grep '^KESTRIN_VLAN_ADDRS=' "$Work/env")"
Expect "run's command reaches its hosts" WS02 "$(cat "$Work/name")"
Expect "run tears the LAN down" "" "$(LanNamespaces "$RunLan")"

mkfifo "$Work/started"
# shellcheck disable=SC2016
"$Vlan" run 1 -- sh -c 'echo "$KESTRIN_VLAN" >"$1"; exec sleep 600' sh "$Work/started" &
RunPid=$!
BackgroundPids+=("$RunPid")
RunLan=""
read -r -t 20 RunLan <"$Work/started" || true
if [[ -n $RunLan && -n $(LanNamespaces "$RunLan") ]]; then
    Pass "run's LAN exists while it runs"
else
    Fail "run's LAN exists while it runs" "LAN '$RunLan'"
fi
kill -TERM "$RunPid"
Rc=0
wait "$RunPid" || Rc=$?
Expect "run stopped by SIGTERM exits 143" 143 "$Rc"
Expect "run stopped by SIGTERM tears the LAN down" "" "$(LanNamespaces "$RunLan")"

# --- nothing left behind ---------------------------------------------------------------------------------
Expect "root namespace interfaces unchanged" "$LinksBefore" "$(RootLinks)"
# Only this test's own LANs are checked: other LANs may come and go meanwhile on a shared machine.
Expect "no namespace of the second LAN left" "" "$(LanNamespaces "$LanB")"

if ((Failures)); then
    echo "vlan_test: $Failures of $Checks checks FAILED" >&2
    exit 1
fi
echo "vlan_test: all $Checks checks passed"
