#!/usr/bin/env bash
# Builds every libFuzzer target (preset "fuzz", Clang with address and undefined
# sanitizers) and runs each for SECONDS (default 60). Corpora are kept under
# build/fuzz/corpus/<target> between runs; a crash, leak or time-out leaves its reproducer
# in build/fuzz/crashes/<target>/ and makes the script exit 1. Copy a reproducer into
# tests/testing/fuzz/regressions/<target>/ to keep it in the ordinary suite.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(vcard csv charset zip package story fieldcode letter)
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
status=0
for target in "${targets[@]}"; do
  corpus=$build/corpus/$target
  crashes=$build/crashes/$target
  mkdir -p "$corpus" "$crashes"
  # Seeds: the examples and committed seeds; the story target starts from the examples'
  # document parts.
  case $target in
    vcard | csv) cp -n examples/*.vcf examples/*.csv "$corpus"/ 2>/dev/null || true ;;
    zip | package | letter) cp -n examples/*.dotx "$corpus"/ 2>/dev/null || true ;;
    story)
      for t in examples/*.dotx; do
        unzip -p "$t" word/document.xml >"$corpus/$(basename "$t" .dotx).document.xml" || true
      done
      ;;
  esac
  [ -d "testing/fuzz/seeds/$target" ] && cp -n testing/fuzz/seeds/"$target"/* "$corpus"/ 2>/dev/null || true
  [ -d "tests/testing/fuzz/regressions/$target" ] &&
    cp -n tests/testing/fuzz/regressions/"$target"/* "$corpus"/ 2>/dev/null || true
  dict=()
  case $target in
    vcard | csv | charset) dict=(-dict=testing/fuzz/dict/vcard.dict) ;;
    zip | package | story | letter | fieldcode) dict=(-dict=testing/fuzz/dict/wordml.dict) ;;
  esac
  echo "== fuzz_$target for ${seconds}s"
  log=$build/fuzz_$target.log
  if ! "$build/testing/fuzz/fuzz_$target" "${dict[@]}" -max_total_time="$seconds" -timeout=1 \
    -rss_limit_mb=2048 -max_len=1048576 -artifact_prefix="$crashes/" -print_final_stats=1 \
    "$corpus" >"$log" 2>&1; then
    echo "fuzz_$target found a fault; reproducer in $crashes (log: $log)"
    tail -40 "$log"
    status=1
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|#[0-9]+ +DONE)' "$log" || true
  echo "corpus: $(find "$corpus" -type f | wc -l) files"
done
exit $status
