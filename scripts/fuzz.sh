#!/usr/bin/env bash
# Runs the libFuzzer targets: the workbook loader (.cll), the formula parser and
# the project-file opener (.mdb), each for SECONDS (default 60), or for RUNS
# executions each when FUZZ_RUNS is set. Seeds are made from the templates and a
# saved project; crashes land in build-fuzz/crashes/ and fail the script.
#   bash scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

if ! command -v clang++-14 >/dev/null; then
  echo "fuzz.sh: clang++-14 is missing (bash scripts/install-deps.sh)" >&2
  exit 1
fi
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_FUZZ=ON \
  -DVANTOR_GUI=OFF -DVANTOR_BENCHMARKS=OFF >/dev/null
nice cmake --build "$build" -j "$(nproc)" \
  --target fuzz_workbook_loader fuzz_formula_parser fuzz_project_file vantor-cli vantor-templates

bin=$build/bin
seeds=$build/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/workbook "$seeds"/formula "$seeds"/project "$build"/corpus "$build"/crashes
cp "$bin"/template.vtc "$seeds"/workbook/
cp "$bin"/template.vtw "$seeds"/project/
# A saved project with a detail sheet filled in gives the seeds with rows and formulas.
"$bin"/vantor-cli new --kind data "$seeds"/p.mdb --name 种子 --unit 甲公司 >/dev/null
"$bin"/vantor-cli add-sheet "$seeds"/p.mdb 16 >/dev/null || true
cp "$seeds"/p.mdb "$seeds"/project/
cp "$seeds"/p.cll "$seeds"/workbook/
n=0
for f in '=sum(A1:C3)/0' '=if(A1>=2,round(B2*3.5,2),-abs(C3))' '=getcell(1,2,3)+1e308*1e308' \
         '=((((((1))))))' '=ZZZ9999999-A1' '=a1<>b1=c1' '=SUM(F5:F20)-SUM(G5:G20)' '=round(-2.5,0)' \
         '=if(H7=0,0,(I7-H7)/H7*100)' '=getcell(6,row,2)' '=1/0' '=#REF!+A1' '=sum(A:A)' '=-(-(-1))' \
         '=A1*B1/C1<=D1' '=round(E3,-2)+abs(-0.0001)'; do
  n=$((n + 1))
  printf '%s' "$f" >"$seeds/formula/f$n"
done

status=0
for target in workbook_loader formula_parser project_file; do
  max_len=262144
  case $target in
    workbook_loader) seed=$seeds/workbook ;;
    formula_parser) seed=$seeds/formula ;;
    project_file) seed=$seeds/project max_len=65536 ;;
  esac
  corpus=$build/corpus/$target
  mkdir -p "$corpus"
  limit=(-max_total_time="$seconds")
  if [ -n "${FUZZ_RUNS:-}" ]; then
    limit=(-runs="$FUZZ_RUNS")
  fi
  echo "== $target"
  if ! "$bin/fuzz_$target" "${limit[@]}" -max_len="$max_len" -rss_limit_mb=2048 -timeout=20 \
       -artifact_prefix="$build/crashes/$target-" -print_final_stats=1 "$corpus" "$seed" \
       2>"$build/$target.log"; then
    status=1
    echo "fuzz.sh: $target found a failure; see $build/$target.log and $build/crashes/" >&2
  fi
  grep -E '^stat::number_of_executed_units|^#[0-9]+ +DONE' "$build/$target.log" || true
done
exit $status
