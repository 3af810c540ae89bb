#!/usr/bin/env bash
# Builds the fuzz targets of the record converters with clang's libFuzzer and
# AddressSanitizer (plus UndefinedBehaviorSanitizer), then runs each for a while.
#
#   bash fuzz/run_fuzz.sh [SECONDS]      (default 60 seconds per target)
#
# Needs Debian's clang and libclang-rt-14-dev.  Binaries, corpora and any crash inputs
# go to build-fuzz/ in the repository.  Every target runs; the script ends with the list
# of targets that found something (and their crash inputs) and a non-zero status.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${FUZZ_OUT:-$ROOT/build-fuzz}"
SECONDS_PER_TARGET="${1:-60}"
CXX="${CXX:-clang++}"
mkdir -p "$OUT"

FLAGS=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -ffp-contract=off -I"$ROOT/src" -I"$ROOT/fuzz")
COMMON=("$ROOT/src/common/numtext.cpp" "$ROOT/src/common/textfile.cpp" "$ROOT/src/common/columns.cpp"
        "$ROOT/src/astro/time.cpp" "$ROOT/src/astro/astro_state.cpp")
IMPORT=("$ROOT/src/import/source_import.cpp" "$ROOT/src/import/xls_reader.cpp")

build() {  # name sources...
  local name="$1"; shift
  echo "== building $name"
  "$CXX" "${FLAGS[@]}" "$@" -o "$OUT/$name"
}

build jpl_record_fuzz "$ROOT/fuzz/jpl_record_fuzz.cpp" "${IMPORT[@]}" "${COMMON[@]}"
build dov_record_fuzz "$ROOT/fuzz/dov_record_fuzz.cpp" "${IMPORT[@]}" "${COMMON[@]}"
build table_row_fuzz "$ROOT/fuzz/table_row_fuzz.cpp" "${IMPORT[@]}" "${COMMON[@]}"
TARGETS=(jpl_record_fuzz dov_record_fuzz table_row_fuzz)
if [ -f "$ROOT/src/bdl/bdl_line.cpp" ]; then
  build bdl_line_fuzz "$ROOT/fuzz/bdl_line_fuzz.cpp" "$ROOT/src/bdl/bdl_line.cpp" "${COMMON[@]}"
  TARGETS+=(bdl_line_fuzz)
fi

# Seeds: lines of the sample sources.
seed() {  # target file first-line
  local dir="$OUT/corpus/$1"
  mkdir -p "$dir"
  [ -f "$2" ] || return 0
  local n=0
  tail -n +"$3" "$2" | tr -d '\r' | head -n 40 | while IFS= read -r line; do
    n=$((n + 1))
    printf '%s%s' "${4:-}" "$line" > "$dir/seed_$n"
  done
}
seed jpl_record_fuzz "$ROOT/sample/FileJPL/PARI_1.txt" 6
seed dov_record_fuzz "$ROOT/sample/FileDov/PARI11_G_1.txt" 3 " "
seed table_row_fuzz /dev/null 1
printf '\0\0001995\n1\n10\n21\n31\n57,6\n2\n48\n44,096\n+16\n2\n0,38\n10,89\n2449728,39\n42,18\n16,03' \
  > "$OUT/corpus/table_row_fuzz/seed_1"
mkdir -p "$OUT/corpus/bdl_line_fuzz"
for f in "$ROOT"/sample/Obs*/*.txt "$ROOT"/tests/data/bdl/*.txt; do
  [ -f "$f" ] || continue
  tail -n +6 "$f" | tr -d '\r' | head -n 20 | while IFS= read -r line; do
    printf '%s' "$line" > "$OUT/corpus/bdl_line_fuzz/seed_$(printf '%s' "$line" | md5sum | cut -c1-12)"
  done
done

FOUND=()
for t in "${TARGETS[@]}"; do
  echo "== running $t for $SECONDS_PER_TARGET s"
  mkdir -p "$OUT/crashes/$t"
  rm -f "$OUT/crashes/$t"/crash-* "$OUT/crashes/$t"/timeout-* "$OUT/crashes/$t"/oom-*
  if ! (cd "$OUT/crashes/$t" && "$OUT/$t" -max_total_time="$SECONDS_PER_TARGET" -max_len=512 -timeout=5 \
        -print_final_stats=1 "$OUT/corpus/$t") >"$OUT/$t.log" 2>&1; then
    FOUND+=("$t")
  fi
  grep -E "^(stat::number_of_executed_units|stat::new_units_added|SUMMARY|==[0-9]+==ERROR)" "$OUT/$t.log" || true
done
if [ ${#FOUND[@]} -gt 0 ]; then
  for t in "${FOUND[@]}"; do
    echo "== $t found a fault; log $OUT/$t.log, inputs:"
    ls "$OUT/crashes/$t"
  done
  exit 1
fi
echo "== all targets ran without a finding"
