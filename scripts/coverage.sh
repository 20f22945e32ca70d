#!/usr/bin/env bash
# Line coverage of the whole suite: a gcov build in build-coverage, every test, then the share of
# lines run per folder of src/ and tools/ and overall, from gcovr.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh gcovr python3
# A compiler cache that shortens source paths would leave gcov without the sources.
export CCACHE_DISABLE=1
cmake --preset coverage
cmake --build --preset coverage
# Counts of an earlier run would add to this one's.
find build-coverage -name '*.gcda' -delete
ctest --preset coverage
gcovr --root . --object-directory build-coverage --filter 'src/' --filter 'tools/' \
    --json-summary build-coverage/coverage.json --print-summary >/dev/null
python3 - build-coverage/coverage.json <<'EOF'
import json, sys
from collections import defaultdict

files = json.load(open(sys.argv[1]))["files"]
covered, total = defaultdict(int), defaultdict(int)
for f in files:
    parts = f["filename"].split("/")
    folder = "/".join(parts[:2]) if len(parts) > 2 else parts[0]
    for key in (folder, "all"):
        covered[key] += f["line_covered"]
        total[key] += f["line_total"]
print(f"{'folder':<24}{'lines':>8}{'run':>8}{'share':>9}")
for key in sorted(total, key=lambda k: (k == "all", k)):
    share = 100.0 * covered[key] / total[key] if total[key] else 100.0
    print(f"{key:<24}{total[key]:>8}{covered[key]:>8}{share:>8.1f}%")
EOF
