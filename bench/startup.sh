#!/usr/bin/env bash
# Whole-process timings of korvelan2-cli next to `cat` of the same file: --help, info and
# summary --minutes 60 on the largest measurement (500000 vehicles over 42 days, written by
# korvelan2-make-large), each run many times; minimum and median wall time, and the peak memory.
# Also lists the Qt libraries that `info` loads (there should be none).
#
# Usage: bench/startup.sh [BUILD_FOLDER] [RUNS]     (default: build, 200 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-200}
cli=$build/bin/korvelan2-cli
maker=$build/bin/korvelan2-make-large
for program in "$cli" "$maker"; do
  [ -x "$program" ] || { echo "missing $program: build first (cmake --build $build)"; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file=$work/large.dat
"$maker" "$file"
echo "file: $(basename "$file"), $(stat -c %s "$file") bytes, $("$cli" info "$file" | grep -E '^(records|first|last)' | tr '\n' ' ')"

qt=$(LD_DEBUG=libs "$cli" info "$file" 2>&1 >/dev/null | grep -c 'calling init: .*libQt6' || true)
echo "Qt libraries initialised by info: $qt"

python3 - "$runs" "$file" "$cli" <<'PY'
import os, statistics, subprocess, sys, time
runs, file, cli = int(sys.argv[1]), sys.argv[2], sys.argv[3]
commands = [
    ("cat FILE", ["cat", file]),
    ("--help", [cli, "--help"]),
    ("info FILE", [cli, "info", file]),
    ("summary FILE --minutes 60", [cli, "summary", file, "--minutes", "60"]),
]
devnull = os.open(os.devnull, os.O_WRONLY)
def run_once(argv):
    start = time.perf_counter()
    pid = os.posix_spawnp(argv[0], argv, os.environ,
                          file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)])
    _, status = os.waitpid(pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(argv)}")
    return elapsed * 1000
# The peak resident memory of one run, by /usr/bin/time: a child spawned by this interpreter
# would report the interpreter's own peak.
def peak_megabytes(argv):
    if not os.path.exists("/usr/bin/time"):
        return float("nan")
    result = subprocess.run(["/usr/bin/time", "-f", "%M", *argv], stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, text=True, check=True)
    return int(result.stderr.strip().splitlines()[-1]) / 1024
for name, argv in commands:
    for _ in range(5):  # warm the page cache and the loader
        run_once(argv)
# Interleaved, so that a busy moment of the machine hits every command alike.
samples = {name: [] for name, _ in commands}
for _ in range(runs):
    for name, argv in commands:
        samples[name].append(run_once(argv))
peak = {name: peak_megabytes(argv) for name, argv in commands}
cat_min = min(samples["cat FILE"])
cat_median = statistics.median(samples["cat FILE"])
print(f"{'command':28} {'min ms':>8} {'median ms':>10} {'min/cat':>8} {'median/cat':>11} {'peak MB':>8}")
for name, _ in commands:
    s = samples[name]
    print(f"{name:28} {min(s):8.2f} {statistics.median(s):10.2f} {min(s)/cat_min:8.2f} "
          f"{statistics.median(s)/cat_median:11.2f} {peak[name]:8.1f}")
info, summary = samples["info FILE"], samples["summary FILE --minutes 60"]
print(f"summary - info: {min(summary) - min(info):.2f} ms (min), "
      f"{statistics.median(summary) - statistics.median(info):.2f} ms (median)")
PY
