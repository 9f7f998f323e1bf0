# shellcheck shell=bash
# Helpers the bench scripts share (sourced, never run). Wake-ups are counted the way the kernel sees
# them: the context switches of every thread of a process, voluntary (it blocked and was woken) and
# preempted, from /proc. An idle process that never wakes has none.

# ThreadSnapshot <pid>: one line per thread, "tid<TAB>comm<TAB>switches", sorted by tid.
ThreadSnapshot() {
    local task comm
    for task in /proc/"$1"/task/*; do
        comm=$(cat "$task/comm" 2>/dev/null) || continue
        awk -v t="${task##*/}" -v c="$comm" '/^voluntary_ctxt_switches:/ { v = $2 }
            /^nonvoluntary_ctxt_switches:/ { n = $2 } END { printf "%s\t%s\t%d\n", t, c, v + n }' \
            "$task/status" 2>/dev/null
    done | sort -k1,1
}

# WakeupDelta <before> <after> <seconds>: per-thread lines "comm<TAB>tid<TAB>wake-ups<TAB>per second"
# in the order of the thread ids (the main thread first),
# then a last line "total<TAB>-<TAB>wake-ups<TAB>per second". A thread that started or ended in between
# counts from zero, or is left out: an idle process starts none.
WakeupDelta() {
    join -t $'\t' -a 2 -e 0 -o '2.1,2.2,2.3,1.3' "$1" "$2" | sort -t $'\t' -k1,1n | awk -F'\t' -v s="$3" '
        { d = $3 - $4; sum += d; printf "%s\t%s\t%d\t%.2f\n", $2, $1, d, d / s }
        END { printf "total\t-\t%d\t%.2f\n", sum, sum / s }'
}

# RssKb <pid>: resident memory in KiB, or "-".
RssKb() { awk '/^VmRSS:/ { print $2; found = 1 } END { if (!found) print "-" }' "/proc/$1/status" 2>/dev/null || echo -; }

# StartXvfb: a private X server on a free display; sets DISPLAY and XvfbPid. The caller stops it.
StartXvfb() {
    local n
    for n in $(seq 90 189); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        XvfbPid=$!
        export DISPLAY=:$n
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            kill -0 "$XvfbPid" 2>/dev/null || break
            sleep 0.1
        done
    done
    echo "no X display could be started" >&2
    return 1
}

# MachineLine: what the figures were measured on.
MachineLine() {
    printf '%s, %s cores, Linux %s' "$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)" \
        "$(nproc)" "$(uname -r)"
}
