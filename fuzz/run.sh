#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, from its seed corpus and the
# inputs kept as regressions. New inputs go to BUILD_DIR/fuzz-corpus, and an
# input that breaks the program to BUILD_DIR/fuzz-artifacts.
# Usage: fuzz/run.sh BUILD_DIR SECONDS [TARGET...]   (targets: val calculate replay)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
seconds=$2
shift 2
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(val calculate replay)

declare -A max_len=([val]=64 [calculate]=128 [replay]=4096)
mkdir -p "$build/fuzz-artifacts"
for target in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$target"
  mkdir -p "$corpus"
  log="$build/fuzz-artifacts/$target.log"
  dict=()
  [[ -f "$here/$target.dict" ]] && dict=(-dict="$here/$target.dict")
  regressions=()
  [[ -d "$here/regressions/$target" ]] && regressions=("$here/regressions/$target")
  echo "fuzz: $target for ${seconds} s"
  status=0
  "$build/bin/tavolen-fuzz-$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len="${max_len[$target]}" -print_final_stats=1 "${dict[@]}" \
    -artifact_prefix="$build/fuzz-artifacts/$target-" \
    "$corpus" "$here/corpus/$target" "${regressions[@]}" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  if [[ $status -ne 0 ]]; then
    tail -n 60 "$log" >&2
    echo "fuzz: $target FAILED; the input is in $build/fuzz-artifacts/ (keep it in" \
      "fuzz/regressions/$target/ once fixed)" >&2
    exit 1
  fi
  echo "fuzz: $target passed ${runs:-?} executions in ${seconds} s"
done
