#!/usr/bin/env python3
"""Times two builds of the program on the same batch jobs, taking turns, so that a
change to the code can be shown to keep (or win) its speed on this noisy machine.

Usage: compare_builds.py BEFORE AFTER [RUNS] [CASE...]
  BEFORE, AFTER  two programs (for example a release build of main in a git worktree,
                 and build/release/bin/tessaly)
  RUNS           runs of each build per case, medians reported (default 5)
  CASE           only the cases whose names start with one of these words

The jobs: the line modes on the 1 GiB GBK text (/tmp/tessaly-bench/big.txt, made with
gen_lines.py | iconv when missing; the backup box cleared), renaming, dating and
giving attributes to 100,000 files of one folder (gen_flat.py), and a search of the
200,000-file tree (gen_tree.py, /tmp/tessaly-tree). Every run of a job starts from the
same state: a fresh copy of the text, a fresh folder. Wall seconds move with whatever
else the machine does; processor seconds (user + system) are the steadier figure.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SHARED = os.environ.get("TESSALY_SHARED", os.path.join(HERE, "..", "..", "shared"))
TEXT = "/tmp/tessaly-bench/big.txt"
FLAT = "/tmp/tessaly-flat"
TREE = "/tmp/tessaly-tree"
FLAT_FILES = 100_000

LINE_SEARCH = "set edFolder {folder}\nset cmbFileType work.txt\nclick cbSearch\nclick btnSelAll\n"
FLAT_SEARCH = f"set edFolder {FLAT}\nset cmbFileType *.*\nclick cbSearch\nclick btnSelAll\n"

# name, kind of workload, the script after the search
CASES = [
    ("delete-numbers", "text",
     "select cmbOpt 9\nuncheck chkDelLine\ncheck rbDelLineNo\nset edtDelLineNo 3,5-8\nclick btnDelLine\n"),
    ("delete-interval", "text",
     "select cmbOpt 9\nuncheck chkDelLine\ncheck rbDelLine\nset edtLines 2\nset edtLineNum 1\n"
     "click btnDelLine\n"),
    ("delete-keywords", "text",
     "select cmbOpt 9\nuncheck chkDelLine\ncheck rbDelKeys\nset edtDelKeys ERROR;密码\nclick btnDelLine\n"),
    ("delete-empty", "text",
     "select cmbOpt 9\nuncheck chkDelLine\ncheck rbDelEmpty\nclick btnDelLine\n"),
    ("cut", "text",
     "select cmbOpt 6\nuncheck chkCutBak\ncheck rbKeepCut\ncheck rbCutAllLine\n"
     "set edtCutFormat ${GetLeft(2)}\nclick btnCut\n"),
    ("insert", "text",
     "select cmbOpt 7\nuncheck chkInsBak\ncheck rbAllLine\nset edtInsFormat ${AddLeft(X)}\nclick btnIns\n"),
    ("insert-numbered", "text",
     "select cmbOpt 7\nuncheck chkInsBak\ncheck rbAllLine\nset edtInsFormat ${AddLeft(${SN(1,6)} )}\n"
     "click btnIns\n"),
    ("rename", "flat", "select cmbOpt 1\nset edtNewFilename ${filename}_${sn(1,6)}\nclick btnFilename\n"),
    ("extension", "flat", "select cmbOpt 0\nset edtNewExt ${ext}.x\nclick btnExt\n"),
    ("dates", "flat", "select cmbOpt 2\ncheck ckModify\nclick btnDate\n"),
    ("attributes", "flat", "select cmbOpt 3\ncheck ckHidden\nclick btnProp\n"),
    ("search", "tree", f"set edFolder {TREE}\nset cmbFileType *.txt\nclick cbSearch\nget stSrcCount\n"),
    # The search and the marks alone, which the four jobs on the folder start with.
    ("flat-search", "flat", "get stSrcCount\n"),
]


def run(command, env):
    """Wall and processor seconds of one run; the disk work of earlier runs is done first."""
    os.sync()
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    out = process.stdout.read().decode()
    err = process.stderr.read().decode()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{command!r} failed: {err[-2000:]}")
    return seconds, usage.ru_utime + usage.ru_stime, out


def prepare(kind, work):
    if kind == "text":
        shutil.copyfile(TEXT, work)
    elif kind == "flat":
        subprocess.run([sys.executable, os.path.join(SHARED, "bench", "gen_flat.py"), FLAT,
                        str(FLAT_FILES)], check=True, stdout=subprocess.DEVNULL)


def make_workloads(kinds):
    if "text" in kinds and not os.path.exists(TEXT):
        os.makedirs(os.path.dirname(TEXT), exist_ok=True)
        gen = os.path.join(SHARED, "bench", "gen_lines.py")
        subprocess.run(f"python3 {gen} | iconv -f UTF-8 -t GBK > {TEXT}", shell=True, check=True)
    if "tree" in kinds and not os.path.isdir(TREE):
        subprocess.run([sys.executable, os.path.join(SHARED, "bench", "gen_tree.py"), TREE], check=True)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    builds = [os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])]
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    chosen = sys.argv[4:]
    cases = [c for c in CASES if not chosen or any(c[0].startswith(w) for w in chosen)]
    make_workloads({kind for _, kind, _ in cases})
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C")
    folder = tempfile.mkdtemp(dir=os.path.dirname(TEXT), prefix="compare-")
    work = os.path.join(folder, "work.txt")
    print(f"{runs} runs of each build per case, medians; ratio = after / before")
    print(f"{'case':16} {'wall before':>11} {'after':>7} {'ratio':>6} | {'cpu before':>10} {'after':>7} {'ratio':>6}")
    try:
        for name, kind, script in cases:
            search = {"text": LINE_SEARCH.format(folder=folder), "flat": FLAT_SEARCH, "tree": ""}[kind]
            with tempfile.NamedTemporaryFile("w", suffix=".tsl", delete=False, encoding="utf-8") as job:
                job.write(search + script)
            results = [[], []]
            outputs = [set(), set()]
            for _ in range(runs):
                for which in (0, 1):
                    prepare(kind, work)
                    wall, cpu, out = run([builds[which], "--script", job.name], env)
                    results[which].append((wall, cpu))
                    outputs[which].add(out)
            os.unlink(job.name)
            if outputs[0] != outputs[1]:
                print(f"{name}: the two builds printed different lines:\n{outputs}")
            walls = [statistics.median(r[0] for r in rs) for rs in results]
            cpus = [statistics.median(r[1] for r in rs) for rs in results]
            print(f"{name:16} {walls[0]:11.3f} {walls[1]:7.3f} {walls[1] / walls[0]:6.2f} | "
                  f"{cpus[0]:10.3f} {cpus[1]:7.3f} {cpus[1] / cpus[0]:6.2f}", flush=True)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
