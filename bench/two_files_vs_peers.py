#!/usr/bin/env python3
"""Times the modes that work on two or more files (keyword merge, line sync, combine)
and the file statistics through `tessaly --script` against awk, cat and wc doing the
same job, and checks that both give the same result.

Usage: two_files_vs_peers.py TESSALY [WORKDIR] [RUNS] [CASE...]
  TESSALY  the program (build/release/bin/tessaly)
  WORKDIR  where the workloads are kept and the runs happen (default /tmp/tessaly-bench)
  RUNS     runs of each command, the median is reported (default 3)
  CASE     only the cases whose names start with one of these words

Workloads, made in WORKDIR when they do not exist:
  big.txt        gen_lines.py | iconv -f UTF-8 -t GBK                 (~1 GiB, 20M lines)
  big2.txt       gen_lines.py 20000000 999999 | iconv -f UTF-8 -t GBK (other lines, same count)
  kv-N-*.txt     gen_kv.py SOURCE TARGET N                            (UTF-8, CR LF)
The combine case cuts the first 1,000 MiB of big.txt at line ends into 1,000 files.

Every run starts from the same state: a fresh copy of the file that gets rewritten,
flushed before the clock starts, and no output file. The program saves over its target;
the peers write a new file beside it (the combine peer cats into a temporary file and
moves it over the last one). The program and its peers take turns, medians are given.
On the first round the program's result is compared byte for byte with the peer's (the
combined file after turning the peer's line breaks into CR LF, as the program writes
them); the statistics figures are compared with awk's on every round. Peak memory is the
largest resident size of the program (never below this script's own, which a started
process inherits; the script keeps it small). The peers run with LC_ALL=C, so they match
bytes and fold the letter case of ASCII letters only; the program folds every character
with a letter case, of which the workloads hold no other.
"""
import atexit
import os
import resource
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from timing import medians, run  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SHARED = os.environ.get("TESSALY_SHARED", os.path.join(HERE, "..", "..", "shared"))
GEN = os.path.join(SHARED, "bench")
KEYWORD2 = "密码"
DONE = "[info] 成功"
FIGURES = ["edtFileSize", "edtAllLine", "edtEmptyLine", "edtDataLine", "edtCharMax",
           "edtCharMin", "edtCharAve"]

# The first source line of a key gives the value; each source line of the key rewrites
# the target's first line of that key (the same line again, so the last spelling of the
# key stays) or, when the value is empty, deletes the target's then-first line of it.
MERGE_AWK = r"""BEGIN { ORS = "\r\n" }
{ sub(/\r$/, "") }
NR == FNR {
  p = index($0, "="); if (p <= 1) next
  key = substr($0, 1, p - 1); k = tolower(key)
  if (!(k in value)) value[k] = substr($0, p + 1)
  uses[k]++; spelt[k] = key
  next
}
{
  p = index($0, "=")
  if (p > 1 && (k = tolower(substr($0, 1, p - 1))) in uses) {
    if (value[k] == "") { if (uses[k] > 0) { uses[k]--; next } }
    else if (!(k in done)) { done[k] = 1; print spelt[k] "=" value[k]; next }
  }
  print
}"""

# The target is the input, the source is read beside it line by line.
SYNC_AWK = r"""BEGIN { ORS = "\r\n"; k1 = tolower(K1); k2 = tolower(K2) }
{
  sub(/\r$/, "")
  if ((getline s < SRC) > 0) {
    sub(/\r$/, "", s); l = tolower(s)
    if (index(l, k1) || index(l, k2)) { print s; next }
  }
  print
}"""

STATS_AWK = r"""{
  size += length($0) + 1; sub(/\r$/, ""); n = length($0)
  if (n == 0) empty++
  else { data++; if (n > longest) longest = n; if (shortest == "" || n < shortest) shortest = n }
}
END {
  printf "edtFileSize=%.0f\nedtAllLine=%.0f\nedtEmptyLine=%.0f\nedtDataLine=%.0f\n", size, NR, empty, data
  printf "edtCharMax=%.0f\nedtCharMin=%.0f\nedtCharAve=%.0f\n", longest, shortest + 0,
    data ? int(size / data) : 0
}"""

SEARCH = "set edFolder {folder}\nset cmbFileType {pattern}\nclick cbSearch\ndump\nclick btnSelAll\n"
MERGE = "select cmbOpt 5\nuncheck chkSynBak\nclick btnSyn\n"
SYNC = f"select cmbOpt 11\nset edtLineKeys ERROR;{KEYWORD2}\nuncheck chkKeysSyn\nclick btnLineSyn\n"
COMBINE = "select cmbOpt 13\nuncheck chkFileCombine\nclick btnFileCombine\n"
STATS = "select cmbOpt 4\ncurrent 1 0\nclick btnFileInfo\n" + "".join(f"get {n}\n" for n in FIGURES)


def make(path, shell_command):
    if not os.path.exists(path):
        print(f"making {path} ...", flush=True)
        subprocess.run(shell_command + f" > {path}.part && mv {path}.part {path}", shell=True, check=True)


def same_files(ours, theirs, what):
    """cmp of the two files; on a difference, the first differing line of each."""
    result = subprocess.run(["cmp", ours, theirs], capture_output=True)
    if result.returncode == 0:
        print(f"  check {what}: identical ({os.path.getsize(ours)} bytes)", flush=True)
        return True
    print(f"  CHECK {what}: DIFFERENT: {(result.stdout + result.stderr).decode(errors='replace').strip()}")
    with open(ours, "rb") as a, open(theirs, "rb") as b:
        for number, (x, y) in enumerate(zip(a, b), 1):
            if x != y:
                print(f"    line {number}: ours {x!r}\n    line {number}: peer {y!r}")
                break
    return False


def crlf_copy(source, target):
    """`source` with every line break (CR LF, LF, lone CR) written as CR LF. Small blocks:
    a started process inherits this one's peak resident size as its own (the kernel keeps
    the larger one over fork and exec), so this process must stay smaller than ours."""
    with open(source, "rb") as src, open(target, "wb") as out:
        carry = b""
        while chunk := src.read(1 << 20):
            chunk = carry + chunk
            carry = b"\r" if chunk.endswith(b"\r") else b""
            chunk = chunk[:len(chunk) - len(carry)]
            out.write(chunk.replace(b"\r\n", b"\n").replace(b"\r", b"\n").replace(b"\n", b"\r\n"))
        out.write(b"\r\n" if carry else b"")


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    tessaly = os.path.abspath(sys.argv[1])
    workdir = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else "/tmp/tessaly-bench")
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    words = sys.argv[4:]
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C")
    os.makedirs(workdir, exist_ok=True)
    folder = tempfile.mkdtemp(dir=workdir, prefix="two-files-")
    log = os.path.join(workdir, os.path.basename(folder) + ".log")
    atexit.register(lambda: (shutil.rmtree(folder, ignore_errors=True),
                             os.path.exists(log) and os.unlink(log)))

    def ours_once(script, rows):
        """Runs the program on `script`; checks the list it searched and its closing box."""
        with tempfile.NamedTemporaryFile("w", suffix=".tsl", delete=False, encoding="utf-8") as job:
            job.write(script)
        try:
            with open(log, "wb") as sink:
                result = run([tessaly, "--script", job.name], stdout=sink, env=env)
        finally:
            os.unlink(job.name)
        with open(log, encoding="utf-8", errors="replace") as text:
            lines = text.read().splitlines()
        listed = [line.split("\t")[2] for line in lines if line[:1].isdigit() and line.split("\t")[0] != "0"]
        boxes = [line for line in lines if line.startswith("[")]
        if listed != rows or not any(b.startswith(DONE) for b in boxes) or any(
                b.startswith(("[error]", "[exception]")) for b in boxes):
            sys.exit(f"unexpected answer of the program (rows {listed[:5]}...):\n" + "\n".join(lines[-20:]))
        return result, lines

    def chosen(name):
        return not words or any(name.startswith(w) for w in words)

    rows = []  # name, ours, peer, peer's name

    def merge(name, nkeys):
        src, tgt = (os.path.join(workdir, f"kv-{nkeys}-{part}.txt") for part in ("source", "target"))
        if not (os.path.exists(src) and os.path.exists(tgt)):
            subprocess.run([sys.executable, os.path.join(GEN, "gen_kv.py"), src, tgt, str(nkeys)], check=True)
        case = os.path.join(folder, "merge")
        os.makedirs(case, exist_ok=True)
        work_src, work_tgt, out = (os.path.join(case, n) for n in ("src.txt", "tgt.txt", "out.txt"))
        shutil.copyfile(src, work_src)
        script = SEARCH.format(folder=case, pattern="src.txt;tgt.txt") + MERGE
        ours, theirs = [], []
        for round_ in range(runs):
            shutil.copyfile(tgt, work_tgt)
            ours.append(ours_once(script, ["src.txt", "tgt.txt"])[0])
            if round_ == 0:
                os.replace(work_tgt, work_tgt + ".ours")
            shutil.copyfile(tgt, work_tgt)
            with open(out, "wb") as sink:
                theirs.append(run(["awk", MERGE_AWK, work_src, work_tgt], stdout=sink, env=env))
            if round_ == 0:
                same_files(work_tgt + ".ours", out, name)
        rows.append((name, medians(ours), medians(theirs), "awk hash join"))

    if chosen("merge 1M keys"):
        merge("merge 1M keys", 1_000_000)
    if chosen("merge 100k keys"):
        merge("merge 100k keys", 100_000)

    big = os.path.join(workdir, "big.txt")
    if any(chosen(n) for n in ("sync 1 GiB", "combine 1000x1MiB", "statistics 1 GiB")):
        make(big, f"python3 {os.path.join(GEN, 'gen_lines.py')} | iconv -f UTF-8 -t GBK")

    if chosen("sync 1 GiB"):
        big2 = os.path.join(workdir, "big2.txt")
        make(big2, f"python3 {os.path.join(GEN, 'gen_lines.py')} 20000000 999999 | iconv -f UTF-8 -t GBK")
        case = os.path.join(folder, "sync")
        os.makedirs(case, exist_ok=True)
        work_src, work_tgt, out = (os.path.join(case, n) for n in ("src.txt", "tgt.txt", "out.txt"))
        shutil.copyfile(big, work_src)
        script = SEARCH.format(folder=case, pattern="src.txt;tgt.txt") + SYNC
        peer = [b"awk", b"-v", b"SRC=" + work_src.encode(), b"-v", b"K1=ERROR", b"-v",
                b"K2=" + KEYWORD2.encode("gbk"), SYNC_AWK.encode(), work_tgt.encode()]
        ours, theirs = [], []
        for round_ in range(runs):
            shutil.copyfile(big2, work_tgt)
            ours.append(ours_once(script, ["src.txt", "tgt.txt"])[0])
            if round_ == 0:
                os.replace(work_tgt, work_tgt + ".ours")
            shutil.copyfile(big2, work_tgt)
            with open(out, "wb") as sink:
                theirs.append(run(peer, stdout=sink, env=env))
            if round_ == 0:
                same_files(work_tgt + ".ours", out, "sync 1 GiB")
                os.unlink(work_tgt + ".ours")
        rows.append(("sync 1 GiB", medians(ours), medians(theirs), "awk by line number"))

    if chosen("combine 1000x1MiB"):
        case = os.path.join(folder, "combine")
        os.makedirs(case, exist_ok=True)
        names = [f"f{i:04d}.txt" for i in range(1, 1001)]
        with open(big, "rb") as text:
            for n in names:
                chunk = text.read(1 << 20)
                cut = chunk.rfind(b"\n") + 1
                text.seek(cut - len(chunk), os.SEEK_CUR)
                with open(os.path.join(case, n), "wb") as part:
                    part.write(chunk[:cut])
        last = os.path.join(case, names[-1])
        pristine, tmp = os.path.join(folder, "last.orig"), os.path.join(folder, "cat.tmp")
        shutil.copyfile(last, pristine)
        script = SEARCH.format(folder=case, pattern="*.txt") + COMBINE
        peer = ["sh", "-c", f'cat "$@" > {tmp} && mv {tmp} {last}', "sh"]
        peer += [os.path.join(case, n) for n in names]
        ours, theirs = [], []
        for round_ in range(runs):
            shutil.copyfile(pristine, last)
            ours.append(ours_once(script, names)[0])
            if round_ == 0:
                os.replace(last, os.path.join(folder, "combined.ours"))
            shutil.copyfile(pristine, last)
            theirs.append(run(peer, env=env))
            if round_ == 0:
                crlf_copy(last, os.path.join(folder, "combined.peer"))
                same_files(os.path.join(folder, "combined.ours"), os.path.join(folder, "combined.peer"),
                           "combine 1000x1MiB (peer's line breaks as CR LF)")
                os.unlink(os.path.join(folder, "combined.ours"))
                os.unlink(os.path.join(folder, "combined.peer"))
        rows.append(("combine 1000x1MiB", medians(ours), medians(theirs), "cat > tmp && mv"))
        peaks = [r[1] / 1024 for r in ours]
        print(f"  check combine peak memory: {', '.join(f'{p:.1f}' for p in peaks)} MB "
              f"{'< 100 MB' if max(peaks) < 100 else '>= 100 MB: TOO MUCH'}")

    if chosen("statistics 1 GiB"):
        case = os.path.join(folder, "stats")
        os.makedirs(case, exist_ok=True)
        work = os.path.join(case, "big.txt")
        shutil.copyfile(big, work)
        script = SEARCH.format(folder=case, pattern="big.txt") + STATS
        answer = os.path.join(folder, "stats.out")
        ours, by_wc, by_awk, agree = [], [], [], True
        for _ in range(runs):
            result, lines = ours_once(script, ["big.txt"])
            ours.append(result)
            figures = {n: v for n, _, v in (line.partition("=") for line in lines) if n in FIGURES}
            with open(answer, "wb") as sink:
                by_wc.append(run(["wc", "-l", work], stdout=sink, env=env))
            with open(answer, "rb") as text:
                wc_lines = text.read().split()[0].decode()
            with open(answer, "wb") as sink:
                by_awk.append(run(["awk", STATS_AWK, work], stdout=sink, env=env))
            with open(answer, encoding="ascii") as text:
                expected = dict(line.partition("=")[::2] for line in text.read().splitlines())
            if expected["edtFileSize"] != str(os.path.getsize(work)):
                sys.exit(f"awk counted {expected['edtFileSize']} bytes: the file does not end in LF")
            if figures != expected or figures.get("edtAllLine") != wc_lines:
                agree = False
                print(f"  CHECK statistics: DIFFERENT: ours {figures}\n    awk {expected}, wc -l {wc_lines}")
        if agree:
            print(f"  check statistics: ours = awk on every run "
                  f"({', '.join(f'{n}={v}' for n, v in figures.items())}); wc -l {wc_lines}", flush=True)
        rows.append(("statistics 1 GiB", medians(ours), medians(by_wc), "wc -l"))
        rows.append(("statistics 1 GiB", medians(ours), medians(by_awk), "awk, 7 figures"))

    print(f"\n{runs} runs each, medians; wall and cpu (user + system) seconds; peak RSS of our program")
    print(f"{'case':20} {'ours':>7} {'peer':>7} {'ratio':>6} | {'ours cpu':>8} {'peer cpu':>8} | "
          f"{'peak MB':>8}  peer")
    for name, (ow, orss, oc), (pw, _, pc), peer in rows:
        print(f"{name:20} {ow:7.2f} {pw:7.2f} {ow / pw:6.2f} | {oc:8.2f} {pc:8.2f} | "
              f"{orss / 1024:8.1f}  {peer}")
    merged = {name: (o[0], o[2], p[0], p[2]) for name, o, p, _ in rows if name.startswith("merge")}
    if len(merged) == 2:
        wall, cpu, peer_wall, peer_cpu = (
            a / b for a, b in zip(merged["merge 1M keys"], merged["merge 100k keys"]))
        print(f"merge 1M / 100k keys: ours {wall:.1f}x the wall time, {cpu:.1f}x the cpu for 10x "
              f"the keys ({'linear' if max(wall, cpu) <= 12 else 'MORE THAN LINEAR'}); "
              f"awk {peer_wall:.1f}x, {peer_cpu:.1f}x")
    own = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024
    print(f"(every peak includes this script's own, {own:.1f} MB, which a started process inherits)")


if __name__ == "__main__":
    main()
