#!/usr/bin/env bash
# The whole program's cost per place in batch mode, weighed against an independent C
# program with ERFA (bench/erfa_compare.c) on the same DE405 block files and the same BDL
# file, in process CPU time (user + system, /usr/bin/time), the runs interleaved and each
# figure the median of REPEATS:
#   (i)   planova3: window 2 loads COUNT Moon observations (default 1 000 000) and ends;
#   (ii)  planova3: the same load, then the comparison with "JPL2 (DE405)", all four
#         corrections and "+File" (bench/whole_program.sh's script);
#   (iii) erfa_compare: the observation file read alone, and read and compared with one
#         O-C line a record written;
#   (iv)  planova3 in a fresh process: 4000 observations loaded, then loaded and compared
#         with "точно (IAU 2006)" (the block files parsed and the rigorous chain's tables
#         made within the run), the application folder without a NutationDays.bin of its
#         own: once as built (the day table shipped beside the executable read) and once
#         from a copy of the executable in a folder without it (every day computed).
# Printed: each median with the largest resident memory, the per-place rates with the
# load subtracted ((ii) - (i) over COUNT; the same for erfa_compare) and their ratio, the
# whole run's CPU and memory, and the first rigorous comparison's CPU ((iv) less its load),
# with the shipped day table and without.  The files of (iv)'s two runs are compared byte
# for byte.
#   bash bench/whole_process.sh [COUNT] [REPEATS]   (after building with PLANOVA_BUILD_BENCHMARKS=ON:
#                                                    planova3, make_observation_file, erfa_compare)
# PLANOVA_BENCH_BUILD names the build folder (default build-bench).  PLANOVA_OTHER_EXE names
# another planova3 (a build of an earlier commit, say): its runs are interleaved with this
# build's, its figures printed beside, and the files both write compared byte for byte.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${PLANOVA_BENCH_BUILD:-$ROOT/build-bench}"
COUNT="${1:-1000000}"
REPEATS="${2:-5}"
SMALL=4000
EXES=("$BUILD/planova3")
[ -n "${PLANOVA_OTHER_EXE:-}" ] && EXES+=("$PLANOVA_OTHER_EXE")
for f in "$BUILD/planova3" "$BUILD/bench/make_observation_file" "$BUILD/bench/erfa_compare" "${EXES[@]}"; do
  [ -x "$f" ] || { echo "whole_process.sh: $f is missing: build it first" >&2; exit 2; }
done

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
SHARED="$WORK/shared"
mkdir -p "$SHARED/ObsPARI" "$SHARED/JPL"
cp "$BUILD"/de405/ascp*.405 "$SHARED/JPL/"
"$BUILD/bench/make_observation_file" "$SHARED" "$COUNT" 150
"$BUILD/bench/make_observation_file" "$SHARED" "$SMALL" 151
# One application folder a program, sharing the observations and the block files, each
# with its own Dat for what it writes.
for k in "${!EXES[@]}"; do
  mkdir -p "$WORK/app$k/Dat" "$WORK/bare$k"
  cp "${EXES[$k]}" "$WORK/bare$k/planova3"  # beside no shipped day table
  ln -s "$SHARED/ObsPARI" "$WORK/app$k/ObsPARI"
  ln -s "$SHARED/JPL" "$WORK/app$k/JPL"
done

# script NAME N FILE COMPARE [SETTING...]: a load of FILE into arrays for N records,
# then, when COMPARE is 1, the comparison with the settings given.
script() {
  local name=$1 n=$2 file=$3 compare=$4
  shift 4
  {
    echo "press Form1 К форме 2"
    echo "set Form2.Text10 $((n + n / 10 + 10))"
    echo "press Form2 Создать массивы с N="
    echo "set Form2.Text1 $file"
    echo "press Form2 Загрузить в формате BDL"
    if [ "$compare" = 1 ]; then
      for s in Option5 Option7 Check8 Check9 Check6 Check7 Check11 "$@"; do echo "set Form2.$s 1"; done
      echo "set Form2.Check13 0"
      echo "press Form2 Сравнить данные 1 с данными 2"
    fi
    echo "press Form2 Выход"
  } > "$WORK/$name.txt"
}
script load "$COUNT" 150 0
script compare "$COUNT" 150 1
script precise_load "$SMALL" 151 0
script precise "$SMALL" 151 1 Check15

# run LABEL COMMAND...: appends "LABEL user_s system_s max_rss_kB" to the times.
run() {
  local label=$1
  shift
  if ! /usr/bin/time -f "%U %S %M" -o "$WORK/time" "$@" > "$WORK/out" 2> "$WORK/err"; then
    echo "whole_process.sh: $label failed:" >&2
    cat "$WORK/out" "$WORK/err" >&2
    exit 1
  fi
  echo "$label $(tail -n 1 "$WORK/time")" >> "$WORK/times"
}
# The digests of the files a run wrote, for comparing the programs' outputs.
digests() { (cd "$1/Dat" && md5sum -- * | sort -k 2) > "$WORK/$2.md5"; }

LOAD_BEFORE="$(cut -d ' ' -f 1-3 /proc/loadavg)"
: > "$WORK/times"
for ((r = 1; r <= REPEATS; ++r)); do
  for k in "${!EXES[@]}"; do
    app="$WORK/app$k"
    run "p$k.load" "${EXES[$k]}" --batch "$WORK/load.txt" --app-dir "$app"
    run "p$k.compare" "${EXES[$k]}" --batch "$WORK/compare.txt" --app-dir "$app"
    [ "$r" = 1 ] && digests "$app" "p$k.compare"
    run "p$k.precise_load" "${EXES[$k]}" --batch "$WORK/precise_load.txt" --app-dir "$app"
    rm -f "$app/NutationDays.bin"  # each a first session of the folder
    run "p$k.precise" "${EXES[$k]}" --batch "$WORK/precise.txt" --app-dir "$app"
    [ "$r" = 1 ] && digests "$app" "p$k.precise"
    rm -f "$app/NutationDays.bin"
    run "p$k.precise_bare" "$WORK/bare$k/planova3" --batch "$WORK/precise.txt" --app-dir "$app"
    [ "$r" = 1 ] && digests "$app" "p$k.precise_bare"
  done
  run "c.load" "$BUILD/bench/erfa_compare" "$SHARED" "$SHARED/ObsPARI/PARI11_G_150.txt" --load
  run "c.compare" "$BUILD/bench/erfa_compare" "$SHARED" "$SHARED/ObsPARI/PARI11_G_150.txt" "$WORK/app0/Dat/erfa_oc.txt"
  rm -f "$WORK/app0/Dat/erfa_oc.txt"
done
LOAD_AFTER="$(cut -d ' ' -f 1-3 /proc/loadavg)"

echo "$COUNT observations (1960-2019, Moon, Paris), $REPEATS interleaved runs; medians of process CPU (user + system)"
echo "load average before: $LOAD_BEFORE; after: $LOAD_AFTER"
python3 - "$WORK/times" "$COUNT" "$SMALL" "${EXES[@]}" <<'PY'
import statistics, sys
times, count, small, exes = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4:]
cpu, rss = {}, {}
for line in open(times):
    label, user, system, m = line.split()
    cpu.setdefault(label, []).append(float(user) + float(system))
    rss.setdefault(label, []).append(int(m))
med = {k: statistics.median(v) for k, v in cpu.items()}
mem = {k: max(v) / 1024 for k, v in rss.items()}
def row(what, label):
    print(f"  {what:<52} {med[label]:7.2f} s  {mem[label]:6.0f} MB   (runs: {' '.join(f'{x:.2f}' for x in cpu[label])})")
c_place = (med["c.compare"] - med["c.load"]) / count
print("erfa_compare (C + ERFA):")
row("observation file read alone", "c.load")
row("read, compared, O-C file written", "c.compare")
print(f"  per place, load subtracted: {c_place * 1e9:.0f} ns, {1 / c_place:,.0f} places/s")
for k, exe in enumerate(exes):
    p = f"p{k}"
    place = (med[p + ".compare"] - med[p + ".load"]) / count
    print(f"planova3 {exe}:")
    row("load alone", p + ".load")
    row("load + classical comparison + files (the whole run)", p + ".compare")
    row(f"{small} observations: load alone", p + ".precise_load")
    row(f"{small} observations: load + rigorous comparison", p + ".precise")
    row(f"the same without the shipped day table", p + ".precise_bare")
    print(f"  classical comparison per place, load subtracted: {place * 1e9:.0f} ns, {1 / place:,.0f} places/s:"
          f" {c_place / place:.2f}x erfa_compare's rate")
    print(f"  first rigorous comparison of {small} in a fresh process: "
          f"{med[p + '.precise'] - med[p + '.precise_load']:.2f} s CPU, "
          f"{med[p + '.precise_bare'] - med[p + '.precise_load']:.2f} s without the shipped day table")
PY
for k in "${!EXES[@]}"; do
  if ! cmp -s "$WORK/p$k.precise.md5" "$WORK/p$k.precise_bare.md5"; then
    echo "files written by ${EXES[$k]}'s rigorous runs with and without the shipped day table DIFFER:"
    diff "$WORK/p$k.precise.md5" "$WORK/p$k.precise_bare.md5" || true
  fi
done
if [ "${#EXES[@]}" = 2 ]; then
  for kind in compare precise; do
    if cmp -s "$WORK/p0.$kind.md5" "$WORK/p1.$kind.md5"; then
      echo "files written by the $kind runs: byte-identical ($(wc -l < "$WORK/p0.$kind.md5") files)"
    else
      echo "files written by the $kind runs DIFFER:"
      diff "$WORK/p0.$kind.md5" "$WORK/p1.$kind.md5" || true
    fi
  done
fi
