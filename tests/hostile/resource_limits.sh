#!/bin/bash
# ordivan-cli when the machine says no (memory, threads, descriptors): a whole result or the system's message and status 1, never a signal, never "damaged file".
# usage: resource_limits.sh ORDIVAN-CLI SAMPLES-FOLDER
set -u
cli=$1
samples=$2
work=$(mktemp -d)
chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

project=$samples/room_sample.OLE
"$cli" calc "$project" --step 1 --threads 1 --grid "$work/reference.grid" || { echo "no reference result"; exit 1; }

# A plan of many walls: reading it needs memory of its own.
big=$work/big.OLE
{
    sed -n '1,/^LINE$/p' "$project"
    for i in $(seq 1 200000); do printf 'L,%d,120,%d,880,0,0,0,0\r\n' $((110 + i % 1100)) $((110 + i % 1100)); done
    sed -n '/^LINE$/,$p' "$project" | tail -n +2
} > "$big"

# What one run under a limit may end in: the result (identical to the one without the limit) or a
# refusal that says why. A limit under which the program cannot even start (the loader or Qt's own
# start-up, tried with --version first) is not ours and is skipped.
# check LABEL LIMIT-COMMAND GRID-EXPECTED ARGS...; the words in `wrap` come before the shell that sets the limit.
refused_memory=0
succeeded=0
wrap=()
check() {
    local label=$1 limit=$2 expected=$3
    shift 3
    "${wrap[@]}" bash -c "$limit && exec \"\$0\" --version" "$cli" > /dev/null 2>&1 || return 0
    rm -f "$work/out.grid"
    "${wrap[@]}" bash -c "$limit && exec \"\$0\" \"\$@\"" "$cli" "$@" --grid "$work/out.grid" > "$work/out" 2> "$work/err"
    local status=$?
    local said
    said=$(head -c 300 "$work/err")
    if [ $status -eq 0 ]; then
        succeeded=$((succeeded + 1))
        if [ -n "$expected" ] && ! cmp -s "$work/out.grid" "$expected"; then fail "$label: a different result"; fi
    elif [ $status -eq 1 ]; then
        [ -n "$said" ] || fail "$label: refused in silence"
        [ -e "$work/out.grid" ] && fail "$label: refused but wrote its output"
        case $said in
        *破壊*) fail "$label: out of memory reported as a damaged file: $said" ;;
        *メモリー*|*文字コード*) refused_memory=$((refused_memory + 1)) ;;
        esac
    else
        fail "$label: status $status ($said)"
    fi
}

# Memory: from where the program starts up to where every run succeeds. A sanitizer build reserves
# terabytes of address space and starts under no such limit; it skips this part.
if bash -c 'ulimit -v 300000 && exec "$0" --version' "$cli" > /dev/null 2>&1; then
    for kb in $(seq 60000 20000 300000); do
        check "ulimit -v $kb calc" "ulimit -v $kb" "$work/reference.grid" calc "$project" --step 1 --threads 4
        check "ulimit -v $kb big plan" "ulimit -v $kb" "" calc "$big" --step 7 --threads 1
    done
    [ $refused_memory -gt 0 ] || fail "no run met the memory limit"
    [ $succeeded -gt 0 ] || fail "no run succeeded under a memory limit"

    # Threads: stacks so large that only a few of the eight threads fit; the rest of the work falls
    # to those that started, with the same result to the bit.
    for kb in 200000 300000 500000; do
        check "ulimit -s 100000 -v $kb threads" "ulimit -s 100000 && ulimit -v $kb" "$work/reference.grid" calc "$project" --step 1 --threads 8
    done
else
    echo "the program does not start under a memory limit here (a sanitizer build): memory runs skipped"
fi
# The process limit (not enforced for root, so the run drops to an unprivileged user where it can).
if [ "$(id -u)" = 0 ] && command -v setpriv > /dev/null && id nobody > /dev/null 2>&1; then
    chmod 777 "$work"
    wrap=(setpriv --reuid=65534 --regid=65534 --clear-groups)
    for n in 1 2 3; do
        check "ulimit -u $n" "ulimit -u $n" "$work/reference.grid" calc "$project" --step 1 --threads 8
    done
    wrap=()
elif [ "$(id -u)" != 0 ]; then
    for n in 1 2 3; do
        check "ulimit -u $n" "ulimit -u \$((\$(ps -u \$(id -u) -L --no-headers | wc -l) + $n))" "$work/reference.grid" calc "$project" --step 1 --threads 8
    done
fi

# Descriptors.
for n in 5 6 7 8 10 12 16; do
    check "ulimit -n $n" "ulimit -n $n" "$work/reference.grid" calc "$project" --step 1 --threads 4
done

echo "runs refused for memory: $refused_memory, succeeded: $succeeded, failures: $failures"
[ $failures -eq 0 ]
