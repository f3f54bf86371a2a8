#!/usr/bin/env python3
"""Times a search of the benchmark tree through `tessaly --script` against find.

Usage: search_vs_find.py TESSALY [ROOT] [RUNS]
  TESSALY  the program (build/release/bin/tessaly)
  ROOT     the tree; made with gen_tree.py when it does not exist (default /tmp/tessaly-tree)
  RUNS     runs of each command, the median is reported (default 5)

Both run warm, in the same session, alternately; the machine is noisy, so only the
ratio of the medians means much.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SHARED = os.environ.get("TESSALY_SHARED", os.path.join(HERE, "..", "..", "shared"))


def timed(command, **kwargs):
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True, **kwargs)
    return time.perf_counter() - start, result.stdout


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    tessaly = sys.argv[1]
    root = sys.argv[2] if len(sys.argv) > 2 else "/tmp/tessaly-tree"
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    if not os.path.isdir(root):
        subprocess.run([sys.executable, os.path.join(SHARED, "bench", "gen_tree.py"), root], check=True)

    script = f"set edFolder {root}\nset cmbFileType *.txt\nclick cbSearch\nget stSrcCount\n"
    with tempfile.NamedTemporaryFile("w", suffix=".tsl", delete=False) as job:
        job.write(script)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    find = ["find", root, "-iname", "*.txt", "-printf", "%s %T@ %C@\n"]

    ours, theirs = [], []
    timed(find)  # warm the cache
    for _ in range(runs):
        seconds, out = timed([tessaly, "--script", job.name], env=env)
        ours.append(seconds)
        seconds, found = timed(find)
        theirs.append(seconds)
    os.unlink(job.name)
    count = out.decode().strip()
    print(f"tessaly: {count}, median {statistics.median(ours):.3f} s  (runs {', '.join(f'{s:.3f}' for s in ours)})")
    print(f"find:    {len(found.splitlines())} lines, median {statistics.median(theirs):.3f} s")
    print(f"ratio:   {statistics.median(ours) / statistics.median(theirs):.2f}")


if __name__ == "__main__":
    main()
