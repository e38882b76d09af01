#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a few seconds each, from its seed corpus.
set -euo pipefail
build=$1 seconds=${2:-15}
root="$(cd "$(dirname "$0")/.." && pwd)"
shopt -s nullglob
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/tests/fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  echo "fuzz: $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=0 "$corpus" \
    >"$build/$name.log" 2>&1 || { tail -50 "$build/$name.log"; echo "fuzz: $name FAILED"; exit 1; }
done
