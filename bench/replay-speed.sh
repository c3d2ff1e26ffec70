#!/bin/sh
# Times tavolen-replay on a generated script of 100,000 mixed actions.
# usage: bench/replay-speed.sh [BUILD_DIR]   (default: build)
set -eu
here=$(dirname "$0")
replay=${1:-build}/bin/tavolen-replay
script=$(mktemp)
out=$(mktemp)
trap 'rm -f "$script" "$out"' EXIT

python3 "$here/gen_replay_script.py" 100000 1 > "$script"
"$replay" "$script" > "$out"  # warm the page cache and check it runs
start=$(date +%s%N)
"$replay" "$script" > "$out"
end=$(date +%s%N)
echo "tavolen-replay: 100000 actions, $(wc -l < "$out") output lines in $(( (end - start) / 1000000 )) ms"
