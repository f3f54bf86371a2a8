#!/usr/bin/env python3
"""Times 20 workbooks converted to csv by `tessaly --script` against 20 starts of soffice.

Usage: spreadsheets_vs_soffice.py TESSALY [FOLDER] [RUNS]
  TESSALY  the program (build/release/bin/tessaly)
  FOLDER   where the workbooks are made; emptied first (default /tmp/tessaly-sheets-bench)
  RUNS     runs of each side, the median is reported (default 3)

The set-up (not timed) writes 20 comma-separated files with Chinese text and has one
start of LibreOffice make them into xls workbooks. Our side runs the format page with
${XlsTo(csv)} over the folder's *.xls; the peer converts the same files with one
`soffice --convert-to` start per file, as a shell loop would, on a warm private profile.
Both sides' csv files must be the same bytes. Target: ours within 2 s for the 20.
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

FILES = 20
TARGET_SECONDS = 2.0
CSV_OUT = "csv:Text - txt - csv (StarCalc):44,34,85"  # GB18030, as our program writes it
SUCCESS = f"[info] 成功处理完成,共处理 {FILES} 个文件!"
CITIES = ["北京", "上海", "广州", "深圳", "杭州", "成都", "武汉", "西安"]


def soffice_command(profile, *arguments):
    return ["soffice", "--headless", "--norestore", f"-env:UserInstallation=file://{profile}", *arguments]


def make_workbooks(folder, profile):
    """The 20 xls files, made by LibreOffice from csv files that are then removed."""
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    sources = []
    for n in range(FILES):
        path = os.path.join(folder, f"报表_{n:02d}.csv")
        with open(path, "w", encoding="utf-8") as out:
            out.write("序号,城市,金额,备注\n")
            for row in range(200):
                out.write(f'{row},{CITIES[(row + n) % len(CITIES)]},{row * 17 % 1000}.5,"第{row}行, 备注"\n')
        sources.append(path)
    subprocess.run(soffice_command(profile, "--infilter=CSV:44,34,76,1", "--convert-to", "xls",
                                   "--outdir", folder, *sources),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    for path in sources:
        os.unlink(path)
    workbooks = sorted(name for name in os.listdir(folder) if name.endswith(".xls"))
    if len(workbooks) != FILES:
        sys.exit(f"set-up made {len(workbooks)} workbooks, not {FILES}")
    return workbooks


def remove_csv(folder):
    for name in os.listdir(folder):
        if name.endswith(".csv"):
            os.unlink(os.path.join(folder, name))


def csv_bytes(folder):
    result = {}
    for name in sorted(os.listdir(folder)):
        if name.endswith(".csv"):
            with open(os.path.join(folder, name), "rb") as f:
                result[name] = f.read()
    return result


def run_ours(tessaly, script, env):
    start = time.perf_counter()
    result = subprocess.run([tessaly, "--script", script], stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    seconds = time.perf_counter() - start
    out = result.stdout.decode("utf-8", "replace")
    if result.returncode != 0 or SUCCESS not in out:
        sys.exit(f"tessaly did not convert the {FILES} files:\n{out}{result.stderr.decode('utf-8', 'replace')}")
    return seconds


def run_peer(folder, workbooks, profile, outdir):
    start = time.perf_counter()
    for name in workbooks:
        subprocess.run(soffice_command(profile, "--convert-to", CSV_OUT, "--outdir", outdir,
                                       os.path.join(folder, name)),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    return time.perf_counter() - start


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    tessaly = os.path.abspath(sys.argv[1])
    folder = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "/tmp/tessaly-sheets-bench")
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    if shutil.which("soffice") is None:
        sys.exit("no soffice on PATH")

    with tempfile.TemporaryDirectory(prefix="tessaly-sheets-bench-") as scratch:
        profile = os.path.join(scratch, "profile")
        peer_out = os.path.join(scratch, "peer")
        workbooks = make_workbooks(folder, profile)
        script = os.path.join(scratch, "job.tsl")
        with open(script, "w", encoding="utf-8") as job:
            job.write(f"set edFolder {folder}\nset cmbFileType *.xls\nclick cbSearch\nclick btnSelAll\n"
                      "select cmbOpt 14\nset edtFileFormat ${XlsTo(csv)}\nclick btnConvert\n")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")

        ours, theirs = [], []
        for _ in range(runs):
            remove_csv(folder)
            ours.append(run_ours(tessaly, script, env))
            shutil.rmtree(peer_out, ignore_errors=True)
            theirs.append(run_peer(folder, workbooks, profile, peer_out))

        made, expected = csv_bytes(folder), csv_bytes(peer_out)
        if made != expected:
            differing = sorted(set(made) ^ set(expected) | {n for n in made if made.get(n) != expected.get(n)})
            sys.exit(f"our csv files differ from soffice's: {', '.join(differing[:5])}")

    mine, peer = statistics.median(ours), statistics.median(theirs)
    print(f"tessaly: {FILES} xls -> csv, median {mine:.3f} s  (runs {', '.join(f'{s:.3f}' for s in ours)})")
    print(f"soffice: {FILES} starts, median {peer:.3f} s  (runs {', '.join(f'{s:.3f}' for s in theirs)})")
    print(f"ratio:   {mine / peer:.2f}")
    print(f"target:  {'met' if mine <= TARGET_SECONDS else 'MISSED'} (within {TARGET_SECONDS:.0f} s)")


if __name__ == "__main__":
    main()
