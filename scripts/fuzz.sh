#!/usr/bin/env bash
# Builds every libFuzzer target with clang (AddressSanitizer and UndefinedBehaviorSanitizer on) and
# runs each for FUZZ_SECONDS (default 30) from seeds made of the project's own example and test files.
# Names given as arguments run only those targets (fuzz_progetto fuzz_ciclo ...). A crash, a leak or
# a broken property stops the run with the target's report; the closing line counts the targets.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang libclang-rt-14-dev
build="${FUZZ_BUILD_DIR:-build-fuzz}"
secondi="${FUZZ_SECONDS:-30}"
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DKORVANE_BUILD_FUZZ=ON -DKORVANE_BUILD_TESTS=OFF -DKORVANE_WERROR=ON \
  -DKORVANE_BUILD_CLI=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"

# Every target starts from the same seeds: the readers pick out what is theirs.
semi="$build/semi"
rm -rf "$semi" && mkdir -p "$semi"
cp examples/projects/* examples/MachinesParameters.ini tests/*/dati/* "$semi"/

bersagli=("$@")
if [ ${#bersagli[@]} -eq 0 ]; then
  for b in "$build"/bin/fuzz_*; do bersagli+=("$(basename "$b")"); done
fi
# One target: its stats line, or its report when it failed.
esegui() {
  local b=$1 corpus="$build/corpus/$1" registro="$build/$1.log"
  mkdir -p "$corpus"
  if "$build/bin/$b" -max_total_time="$secondi" -rss_limit_mb=2048 -timeout=60 -print_final_stats=1 \
      -artifact_prefix="$build/$b-" "$corpus" "$semi" >"$registro" 2>&1; then
    echo "$b: $(grep -o 'number_of_executed_units: *[0-9]*' "$registro" | grep -o '[0-9]*$') runs in $secondi s, clean"
  else
    echo "$b: FAILED (report: $registro)"
    tail -40 "$registro"
  fi
}
export -f esegui
export build secondi semi
# As many targets at once as there are cores.
printf '%s\n' "${bersagli[@]}" | xargs -P "$(nproc)" -I{} bash -c 'esegui {}' | tee "$build/riassunto.txt"
passati=$(grep -c ', clean$' "$build/riassunto.txt" || true)
falliti=$(grep -c ': FAILED' "$build/riassunto.txt" || true)
echo "fuzz: $passati passed, $falliti failed"
[ "$falliti" -eq 0 ] && [ "$passati" -eq ${#bersagli[@]} ]
