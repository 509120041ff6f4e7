# Sourced by the whole-process comparisons in bench/: runs two commands one after the other,
# RUNS times each, alternating so both see the same load, and prints each one's median
# wall-clock time and the ratio of the second to the first.
#   alternate RUNS "label one" "command one" "label two" "command two"
# The commands are run by sh -c in the current folder, their output thrown away.

elapsed_ms() {
    local start end
    start=$(date +%s%N)
    sh -c "$1" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

alternate() {
    local runs=$1 label_a=$2 cmd_a=$3 label_b=$4 cmd_b=$5
    local times_a="" times_b=""
    sh -c "$cmd_a" >/dev/null 2>&1 || true # one warm-up each: the page cache, not the first run, is measured
    sh -c "$cmd_b" >/dev/null 2>&1 || true
    for _ in $(seq "$runs"); do
        times_a="$times_a $(elapsed_ms "$cmd_a")"
        times_b="$times_b $(elapsed_ms "$cmd_b")"
    done
    local med_a med_b
    med_a=$(echo "$times_a" | tr ' ' '\n' | grep . | median)
    med_b=$(echo "$times_b" | tr ' ' '\n' | grep . | median)
    echo "$label_a: median $med_a ms of $runs (runs:$times_a)"
    echo "$label_b: median $med_b ms of $runs (runs:$times_b)"
    awk -v a="$med_a" -v b="$med_b" -v la="$label_a" -v lb="$label_b" \
        'BEGIN { printf "ratio %s / %s: %.1f\n", lb, la, b / (a > 0 ? a : 1) }'
}
