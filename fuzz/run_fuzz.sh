#!/usr/bin/env bash
# Builds the fuzz targets of the readers of the program's input (source records, the
# catalogue converter, the .xlsx and .ods reader, the ADES readers, BDL lines and files, JPL's block
# files and headers, SPK kernels) with clang's libFuzzer
# and AddressSanitizer (plus UndefinedBehaviorSanitizer), then runs each for a while.
#
#   bash fuzz/run_fuzz.sh [SECONDS [TARGET...]]   (default 60 seconds per target, every target)
#
# Needs Debian's clang and libclang-rt-14-dev (and the build's qt6-base-dev, libzip-dev).  Binaries, corpora and any crash inputs
# go to build-fuzz/ in the repository.  The targets named (or all) run one after the
# other; two runs of the script with different targets may share build-fuzz/.  The
# script ends with the list of targets that found something (and their crash inputs)
# and a non-zero status.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${FUZZ_OUT:-$ROOT/build-fuzz}"
SECONDS_PER_TARGET="${1:-60}"
shift || true
WANTED=("$@")
CXX="${CXX:-clang++}"
mkdir -p "$OUT"

FLAGS=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -ffp-contract=off -I"$ROOT/src" -I"$ROOT/fuzz")
COMMON=("$ROOT/src/common/numtext.cpp" "$ROOT/src/common/textfile.cpp" "$ROOT/src/common/columns.cpp"
        "$ROOT/src/astro/time.cpp" "$ROOT/src/astro/frames.cpp" "$ROOT/src/astro/astro_state.cpp"
        "$ROOT/src/astro/precise_place.cpp" "$ROOT/src/astro/observer.cpp" "$ROOT/src/astro/jpl.cpp"
        "$ROOT/src/astro/jpl_ascii.cpp" "$ROOT/src/astro/spk_ephemeris.cpp" -lerfa)
# The import runs ADES files too, whose XML reader is Qt Core's stream reader (Qt is built
# to be linked from position-independent code only).
IMPORT=("$ROOT/src/import/source_import.cpp" "$ROOT/src/import/xls_reader.cpp" "$ROOT/src/import/observatories.cpp"
        "$ROOT/src/import/ades_reader.cpp" "$ROOT/src/common/obs_store.cpp"
        -fPIC $(pkg-config --cflags --libs Qt6Core))

BDL=("$ROOT/src/bdl/bdl_line.cpp" "$ROOT/src/bdl/bdl_file.cpp" "$ROOT/src/common/obs_store.cpp")

TARGETS=()
wanted() {  # name: true when the target is to be built and run
  [ ${#WANTED[@]} -eq 0 ] && return 0
  local w
  for w in "${WANTED[@]}"; do [ "$w" = "$1" ] && return 0; done
  return 1
}
build() {  # name sources...
  local name="$1"; shift
  wanted "$name" || return 0
  echo "== building $name"
  "$CXX" "${FLAGS[@]}" "$@" -o "$OUT/$name"
  TARGETS+=("$name")
}

build jpl_record_fuzz "$ROOT/fuzz/jpl_record_fuzz.cpp" "${IMPORT[@]}" "${COMMON[@]}"
build dov_record_fuzz "$ROOT/fuzz/dov_record_fuzz.cpp" "${IMPORT[@]}" "${COMMON[@]}"
build mpc_record_fuzz "$ROOT/fuzz/mpc_record_fuzz.cpp" "${IMPORT[@]}" "${COMMON[@]}"
build table_row_fuzz "$ROOT/fuzz/table_row_fuzz.cpp" "${IMPORT[@]}" "${COMMON[@]}"
build bdl_line_fuzz "$ROOT/fuzz/bdl_line_fuzz.cpp" "${BDL[@]}" "${COMMON[@]}"
build catalogue_converter_fuzz "$ROOT/fuzz/catalogue_converter_fuzz.cpp" "$ROOT/src/import/catalogue_converter.cpp" \
  "${IMPORT[@]}" "${COMMON[@]}"
build de405_block_fuzz "$ROOT/fuzz/de405_block_fuzz.cpp" "${COMMON[@]}"
build de405_header_fuzz "$ROOT/fuzz/de405_header_fuzz.cpp" "${COMMON[@]}"
build bdl_load_fuzz "$ROOT/fuzz/bdl_load_fuzz.cpp" "${BDL[@]}" "${COMMON[@]}"
build spk_fuzz "$ROOT/fuzz/spk_fuzz.cpp" "$ROOT/src/astro/spk_ephemeris.cpp"
# The ADES readers (the XML one through Qt Core's stream reader).
build ades_psv_fuzz "$ROOT/fuzz/ades_psv_fuzz.cpp" "${IMPORT[@]}" "${COMMON[@]}"
build ades_xml_fuzz "$ROOT/fuzz/ades_xml_fuzz.cpp" "${IMPORT[@]}" "${COMMON[@]}"
# Qt is built to be linked from position-independent code only.
build workbook_fuzz "$ROOT/fuzz/workbook_fuzz.cpp" "$ROOT/src/import/zip_workbook.cpp" "$ROOT/src/import/xls_reader.cpp" \
  "${COMMON[@]}" -fPIC $(pkg-config --cflags --libs Qt6Core libzip)

# Seeds: lines of the sample sources.
seed() {  # target file first-line [prefix]
  wanted "$1" || return 0
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
seed mpc_record_fuzz "$ROOT/sample/FileMPC/PARI11_1.txt" 1
for t in psv xml; do  # whole files: the sample's head, and the sample cut short
  if wanted ades_${t}_fuzz; then
    mkdir -p "$OUT/corpus/ades_${t}_fuzz"
    head -n 12 "$ROOT/sample/FileADES/PARI11_2.$t" > "$OUT/corpus/ades_${t}_fuzz/seed_head"
    head -c 3000 "$ROOT/sample/FileADES/PARI11_2.$t" > "$OUT/corpus/ades_${t}_fuzz/seed_cut"
  fi
done
seed catalogue_converter_fuzz "$ROOT/sample/FileDov/USNO_1866_1891.txt" 3 " "
seed table_row_fuzz /dev/null 1
if wanted table_row_fuzz; then
  printf '\0\0001995\n1\n10\n21\n31\n57,6\n2\n48\n44,096\n+16\n2\n0,38\n10,89\n2449728,39\n42,18\n16,03' \
    > "$OUT/corpus/table_row_fuzz/seed_1"
fi
if wanted catalogue_converter_fuzz; then  # a small catalogue file
  { printf '\001'; head -n 6 "$ROOT/sample/FileDov/USNO_1866_1891.txt"; } > "$OUT/corpus/catalogue_converter_fuzz/file_1"
fi
# BDL lines: those kept as the expected output of window 1 (the sample tree holds none).
BDL_SOURCES=("$ROOT"/sample/Obs*/*.txt "$ROOT"/tests/data/expected/PARI11_RDGT_0.*.txt)
if wanted bdl_line_fuzz; then
  mkdir -p "$OUT/corpus/bdl_line_fuzz"
  for f in "${BDL_SOURCES[@]}"; do
    [ -f "$f" ] || continue
    tail -n +6 "$f" | tr -d '\r' | head -n 20 | while IFS= read -r line; do
      printf '%s' "$line" > "$OUT/corpus/bdl_line_fuzz/seed_$(printf '%s' "$line" | md5sum | cut -c1-12)"
    done
  done
fi
if wanted bdl_load_fuzz; then  # five heading lines and two records, CR LF
  mkdir -p "$OUT/corpus/bdl_load_fuzz"
  for f in "${BDL_SOURCES[@]}"; do
    [ -f "$f" ] || continue
    { printf '\0'; head -n 7 "$f"; } > "$OUT/corpus/bdl_load_fuzz/seed_$(basename "$f")"
  done
fi
if wanted de405_block_fuzz; then  # records of 2..9 values over the 1980 block
  mkdir -p "$OUT/corpus/de405_block_fuzz"
  printf '\000\000 1 2\n 2444208.5 2444240.5\n 2 2\n 2444240.5 2444272.5\n' > "$OUT/corpus/de405_block_fuzz/seed_1"
  printf '\004\000     1     6\n  0.244420850000000000D+07  0.244424050000000000D+07  0.1D+01\n  -0.5E-3  1018 0.25\n' \
    > "$OUT/corpus/de405_block_fuzz/seed_2"
fi
if wanted spk_fuzz; then  # the target's own small kernel, little- and big-endian, as it stands
  mkdir -p "$OUT/corpus/spk_fuzz"
  printf '\001' > "$OUT/corpus/spk_fuzz/seed_little"
  printf '\003' > "$OUT/corpus/spk_fuzz/seed_big"
  printf '\000KPL/FK\n' > "$OUT/corpus/spk_fuzz/seed_text"
fi
if wanted de405_header_fuzz; then  # a header in JPL's layout, DE405's record (13 columns)
  mkdir -p "$OUT/corpus/de405_header_fuzz"
  printf '%s\n' 'KSIZE= 2036    NCOEFF= 1018' '' 'GROUP   1010' '' 'JPL Planetary Ephemeris DE405/LE405' '' \
    'GROUP   1030' '' '  2305424.50  2525008.50         32.' '' 'GROUP   1040' '' '     3' '  DENUM   AU      EMRAT' '' \
    'GROUP   1041' '' '     3' '  0.405000000000000000D+03  0.149597870691000000D+09  0.813005600000000044D+02' '' \
    'GROUP   1050' '' '     3   171   231   309   342   366   387   405   423   441   753   819   899' \
    '    14    10    13    11     8     7     6     6     6    13    11    10    10' \
    '     4     2     2     1     1     1     1     1     1     8     2     4     4' '' 'GROUP   1070' \
    > "$OUT/corpus/de405_header_fuzz/seed_1"
fi

if wanted workbook_fuzz; then  # an .xlsx sheet and its strings, an .ods table, a manifest, a whole .ods
  dir="$OUT/corpus/workbook_fuzz"
  mkdir -p "$dir"
  printf '\001<worksheet><sheetData><row r="2"><c r="A2" t="s"><v>0</v></c><c r="B2"><v>1995</v></c><c t="inlineStr"><is><t>+16</t></is></c><c r="D2" t="b"><v>1</v></c></row><row><c><v>2449728.3971944442</v></c></row></sheetData></worksheet>\000<sst><si><t>Moon</t></si><si><r><t>a</t></r><rPh><t>b</t></rPh></si></sst>' > "$dir/seed_xlsx"
  ods='<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet><table:table><table:table-row table:number-rows-repeated="3"><table:table-cell office:value-type="string"><text:p>a<text:s text:c="2"/>b</text:p></table:table-cell><table:table-cell table:number-columns-repeated="2" office:value-type="float" office:value="1.5"/><table:table-cell office:value-type="date" office:date-value="1995-01-10T12:00:00"/></table:table-row></table:table></office:spreadsheet></office:body></office:document-content>'
  printf '\002%s' "$ods" > "$dir/seed_ods"
  printf '\003<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"><manifest:file-entry manifest:full-path="content.xml"/></manifest:manifest>\000%s' "$ods" > "$dir/seed_manifest"
  python3 - "$dir/seed_zip" "$ods" <<'EOF'
import io, sys, zipfile
buffer = io.BytesIO()
with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("mimetype", "application/vnd.oasis.opendocument.spreadsheet", zipfile.ZIP_STORED)
    z.writestr("content.xml", sys.argv[2])
open(sys.argv[1], "wb").write(b"\0" + buffer.getvalue())
EOF
fi

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
