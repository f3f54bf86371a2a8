#!/usr/bin/env python3
"""Times renaming every file of one flat folder through `tessaly --script` against a
plain Python loop of os.rename over the same files (the system-call limit).

Usage: rename_vs_python.py TESSALY [DIR] [RUNS] [N]
  TESSALY  the program (build/release/bin/tessaly)
  DIR      the folder; made afresh with gen_flat.py before every timed run
           (default /tmp/tessaly-flat)
  RUNS     timed runs of each side, the median is reported (default 3)
  N        files in the folder (default 100000)

Our side is a batch script: search the folder for *.*, mark every row, rename with
${filename}_${sn(1,6)}. It is timed twice: the whole script, and the same script
without the rename (start, search, marks), so that the difference is the rename run
alone. The preview of the same rename (every new name worked out and checked against
the others and the disk, one printed line per file) is timed the same way. The Python side lists the folder, sorts it and renames each file to
base_NNNNNN.ext, which is the same work as our rename on the same names.
Both sides run warm and alternately; the machine is noisy, so only the ratio of the
medians means much.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SHARED = os.environ.get("TESSALY_SHARED", os.path.join(HERE, "..", "..", "shared"))

PYTHON_LOOP = r"""
import os, sys
folder = sys.argv[1]
names = sorted(os.listdir(folder), key=str.lower)
for number, name in enumerate(names, 1):
    base, dot, ext = name.rpartition(".")
    if not dot:
        base, ext = name, ""
    new = f"{base}_{number:06d}" + (dot + ext if dot else "")
    os.rename(os.path.join(folder, name), os.path.join(folder, new))
"""


def make_folder(folder, count):
    subprocess.run([sys.executable, os.path.join(SHARED, "bench", "gen_flat.py"), folder,
                    str(count)], check=True)


def timed(command, **kwargs):
    start = time.perf_counter()
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True,
                            **kwargs)
    return time.perf_counter() - start, result.stdout.decode()


def write_script(lines):
    with tempfile.NamedTemporaryFile("w", suffix=".tsl", delete=False, encoding="utf-8") as job:
        job.write("\n".join(lines) + "\n")
    return job.name


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    tessaly = sys.argv[1]
    folder = sys.argv[2] if len(sys.argv) > 2 else "/tmp/tessaly-flat"
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    count = int(sys.argv[4]) if len(sys.argv) > 4 else 100_000

    prepare = [f"set edFolder {folder}", "set cmbFileType *.*", "click cbSearch",
               "click btnSelAll", "select cmbOpt 1", "get stSrcCount"]
    rename = ["set edtNewFilename ${filename}_${sn(1,6)}", "click btnFilename"]
    with_rename = write_script(prepare + rename)
    without_rename = write_script(prepare)
    with_preview = write_script(prepare + [rename[0], "click btnPreview"])
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")

    whole, base, python, preview = [], [], [], []
    for _ in range(runs):
        make_folder(folder, count)
        seconds, out = timed([tessaly, "--script", with_rename], env=env)
        if f"成功处理文件总数量：{count}" not in out:
            sys.exit(f"the rename run did not rename {count} files:\n{out}")
        whole.append(seconds)
        make_folder(folder, count)
        seconds, _ = timed([tessaly, "--script", without_rename], env=env)
        base.append(seconds)
        seconds, out = timed([tessaly, "--script", with_preview], env=env)
        if f"[preview] summary: {count} 更改, 0 不变, 0 跳过" not in out:
            sys.exit(f"the preview did not list {count} renames:\n{out[-2000:]}")
        preview.append(seconds)
        make_folder(folder, count)
        seconds, _ = timed([sys.executable, "-c", PYTHON_LOOP, folder])
        python.append(seconds)
    os.unlink(with_rename)
    os.unlink(without_rename)
    os.unlink(with_preview)

    def show(values):
        return f"median {statistics.median(values):.3f} s  (runs {', '.join(f'{s:.3f}' for s in values)})"

    rename_alone = statistics.median(whole) - statistics.median(base)
    loop = statistics.median(python)
    print(f"tessaly, whole script:        {show(whole)}")
    print(f"tessaly, without the rename:  {show(base)}")
    print(f"tessaly, rename run alone:    {rename_alone:.3f} s")
    print(f"tessaly, preview script:      {show(preview)}")
    print(f"tessaly, preview alone:       {statistics.median(preview) - statistics.median(base):.3f} s")
    print(f"python os.rename loop:        {show(python)}")
    print(f"ratio (rename run / loop):    {rename_alone / loop:.2f}")
    print(f"ratio (whole script / loop):  {statistics.median(whole) / loop:.2f}")


if __name__ == "__main__":
    main()
