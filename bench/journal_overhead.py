#!/usr/bin/env python3
"""Times what the undo journal costs: a content mode over one large file, and the rename
of a folder of files, each run alternately with the journal and without it (a journal
folder that cannot be made turns it off).

Usage: journal_overhead.py TESSALY BIG_FILE [RUNS]
  BIG_FILE  a large text file (the 1 GiB GBK text of the shared workloads); it is
            copied into a scratch folder, and the runs delete its second line again
            and again
  RUNS      timed runs of each side (default 5); medians are reported
"""
import os
import shutil
import sys
import tempfile

from timing import medians, run


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    tessaly, big = sys.argv[1], sys.argv[2]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    with tempfile.TemporaryDirectory(dir=os.path.dirname(os.path.abspath(big))) as scratch:
        folder = os.path.join(scratch, "files")
        os.mkdir(folder)
        shutil.copy(big, os.path.join(folder, "big.txt"))
        script = os.path.join(scratch, "job.tsl")
        with open(script, "w", encoding="utf-8") as job:
            job.write("\n".join([f"set edFolder {folder}", "set cmbFileType big.txt",
                                 "click cbSearch", "click btnSelAll", "select cmbOpt 9",
                                 "set edtDelLineNo 2", "uncheck chkDelLine",
                                 "click btnDelLine"]) + "\n")
        journal = os.path.join(scratch, "journal")
        sides = {"with the journal": journal, "without": "/proc/no-journal"}
        results = {name: [] for name in sides}
        for _ in range(runs):
            for name, folder_of_journal in sides.items():
                env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
                           TESSALY_JOURNAL_DIR=folder_of_journal)
                results[name].append(run([tessaly, "--script", script], env=env))
        for name, values in results.items():
            seconds, peak, cpu = medians(values)
            print(f"delete a line of {os.path.basename(big)}, {name:17} "
                  f"median {seconds:.3f} s  cpu {cpu:.3f} s  peak {peak // 1024} MiB")
        with_journal = medians(results["with the journal"])[0]
        without = medians(results["without"])[0]
        print(f"ratio (with / without): {with_journal / without:.2f}")


if __name__ == "__main__":
    main()
