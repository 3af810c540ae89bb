#!/usr/bin/env bash
# The whole program on a large set, as an astronomer runs it in batch mode: window 2
# loads COUNT Moon observations (default 1 000 000) from a BDL file and compares them with
# "JPL2 (DE405)", all four corrections and "+File"; /usr/bin/time -v reports the wall
# time and the largest resident memory.
#   bash bench/whole_program.sh [COUNT]     (after building with PLANOVA_BUILD_BENCHMARKS=ON)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${PLANOVA_BENCH_BUILD:-$ROOT/build-bench}"
COUNT="${1:-1000000}"
APP="$(mktemp -d)"
trap 'rm -rf "$APP"' EXIT
mkdir -p "$APP/ObsPARI" "$APP/Dat" "$APP/JPL"
cp "$BUILD"/de405/ascp*.405 "$APP/JPL/"
"$BUILD/bench/make_observation_file" "$APP" "$COUNT" 150
ROWS=$((COUNT + COUNT / 10 + 10))
cat > "$APP/script.txt" <<SCRIPT
press Form1 К форме 2
set Form2.Text10 $ROWS
press Form2 Создать массивы с N=
set Form2.Text1 150
press Form2 Загрузить в формате BDL
print Form2.Text17
set Form2.Option5 1
set Form2.Option7 1
set Form2.Check8 1
set Form2.Check9 1
set Form2.Check6 1
set Form2.Check7 1
set Form2.Check11 1
set Form2.Check13 0
press Form2 Сравнить данные 1 с данными 2
press Form2 Выход
SCRIPT
/usr/bin/time -v "$BUILD/planova3" --batch "$APP/script.txt" --app-dir "$APP" 2> "$APP/time.txt"
grep -E "Elapsed|Maximum resident|User time|System time" "$APP/time.txt"
wc -l < "$APP/Dat/Param_data_PARI11.txt"
