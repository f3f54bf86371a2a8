#!/usr/bin/env python3
"""Times the content modes on a 1 GiB GBK text file through `tessaly --script` against
the classic line tools doing the same job, and against `cat FILE > OUT`, the cost of
reading and writing the file once.

Usage: content_vs_peers.py TESSALY [FILE] [RUNS] [CASE...]
  TESSALY  the program (build/release/bin/tessaly)
  FILE     the text; made when it does not exist with
           gen_lines.py | iconv -f UTF-8 -t GBK   (default /tmp/tessaly-bench/big.txt)
  RUNS     runs of each command, the median is reported (default 3)
  CASE     only the modes whose names start with one of these words

The pattern modes work on lines of fields instead: fields.txt beside FILE, made when it
does not exist with gen_fields.py | iconv -f UTF-8 -t GBK; the contact-card conversion
on vcf.txt, 100,000 cards made the same way with gen_vcf.py.

Every command starts from the same state: a fresh copy of FILE, written and flushed
(not timed), and no output file. The program saves over the copy through a new sibling
file; the tools and cat read the copy and write a new file in the same folder. The runs
of one mode take turns (cat, program, tool) and medians are given: on a virtual machine
whose host takes back freed memory, the same command varies by a factor of two or more
from run to run, depending on whether the memory it fills was just freed.

The program's save is durable (flushed to the disk before it replaces the file), the
tools' output and cat's are not: on a slow disk that flush, not the work on the lines,
sets the pace; the header also gives the time of `dd ... conv=fsync`, a copy flushed to
the disk. Peak memory is the largest resident size of the timed process (the file's own
pages, mapped, count in it). The tools run with LC_ALL=C, so they match bytes, as the
modes do. The backup box is cleared: the ".bak" copy is the cost of one more write and
is not what is compared.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from timing import medians, run  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SHARED = os.environ.get("TESSALY_SHARED", os.path.join(HERE, "..", "..", "shared"))
KEYWORD2 = "密码"

SEARCH = "set edFolder {folder}\nset cmbFileType work.txt\nclick cbSearch\nclick btnSelAll\n"

PATTERN = "select cmbOpt 8\nuncheck chkModeBak\ntext mmPattern\n{}\n.\nclick btnReplace\n"
EXTRACT = "select cmbOpt 10\nuncheck chkGetLine\n"
CONVERT = "select cmbOpt 14\nset edtFileFormat {}\nclick btnConvert\n"
INSERT = "select cmbOpt 12\nuncheck chkInsLine\ntext mmoNewCont\nX\n.\n"

# name, the page part of the script, the peer command (bytes arguments), the workload
# ("lines" unless given)
CASES = [
    ("delete lines 3,5-8",
     "select cmbOpt 9\nuncheck chkDelLine\ncheck rbDelLineNo\nset edtDelLineNo 3,5-8\nclick btnDelLine\n",
     [b"sed", b"3d;5,8d"]),
    ("delete by interval 2/1",
     "select cmbOpt 9\nuncheck chkDelLine\ncheck rbDelLine\nset edtLines 2\nset edtLineNum 1\n"
     "click btnDelLine\n",
     [b"awk", b"NR%2!=1"]),
    ("delete by two keywords",
     "select cmbOpt 9\nuncheck chkDelLine\ncheck rbDelKeys\nset edtDelKeys ERROR;" + KEYWORD2 +
     "\nclick btnDelLine\n",
     [b"grep", b"-v", b"-F", b"-e", b"ERROR", b"-e", KEYWORD2.encode("gbk")]),
    ("delete empty lines",
     "select cmbOpt 9\nuncheck chkDelLine\ncheck rbDelEmpty\nclick btnDelLine\n",
     [b"grep", b"-v", b"^[[:space:]]*$"]),
    ("cut ${GetLeft(2)}",
     "select cmbOpt 6\nuncheck chkCutBak\ncheck rbKeepCut\ncheck rbCutAllLine\n"
     "set edtCutFormat ${GetLeft(2)}\nclick btnCut\n",
     [b"awk", b"{print substr($0,1,2)}"]),
    ("insert ${AddLeft(X)}",
     "select cmbOpt 7\nuncheck chkInsBak\ncheck rbAllLine\nset edtInsFormat ${AddLeft(X)}\n"
     "click btnIns\n",
     [b"sed", b"s/^/X/"]),
    ("pattern $2=$1", PATTERN.format("$2=$1"), [b"awk", b"-F;", b'NF{print $2"="$1}'], "fields"),
    ("pattern ${AddLeft(<)}$1", PATTERN.format("${AddLeft(<)}$1"),
     [b"awk", b"-F;", b'NF{print "<"$1}'], "fields"),
    ("extract lines 3,5-8",
     EXTRACT + "check rbGeLineNo\nset edtGetLineNum 3,5-8\nclick btnGetLine\n",
     [b"sed", b"-n", b"3p;5,8p"]),
    ("extract by interval 2/1",
     EXTRACT + "check rbGetLine\nset edtGetLines 2\nset edtGetLineNo 1\nclick btnGetLine\n",
     [b"awk", b"NR%2==1"]),
    ("extract by two keywords",
     EXTRACT + "check rbGetKeys\nset edtGetKeys ERROR;" + KEYWORD2 + "\nclick btnGetLine\n",
     [b"grep", b"-F", b"-e", b"ERROR", b"-e", KEYWORD2.encode("gbk")]),
    ("insert lines every 2nd",
     INSERT + "check rbIntLine\nset edtInsPers 2\nset edtInsNum 1\nclick btnInsLine\n",
     [b"awk", b'NR%2==1{print "X"}1']),
    ("insert lines by keyword",
     INSERT + "check rbKeyLine\nset edtLineKey ERROR\nclick btnInsLine\n",
     [b"awk", b'/ERROR/{print "X"}1']),
    ("insert lines at 0",
     INSERT + "check rbNewLineNo\nset edtNewLineNo 0\nclick btnInsLine\n",
     [b"sed", b"1i X"]),
    # The conversions write a new file beside the text (work.csv) instead of over it.
    ("text to csv", CONVERT.format("${TxtTo(csv)}"), [b"sh", b"-c", b"tr '\\t' ',' < \"$0\""]),
    ("contact cards to csv", CONVERT.format("${VcfTo(csv)}"), [b"cat"], "vcf"),
]


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    tessaly = os.path.abspath(sys.argv[1])
    source = sys.argv[2] if len(sys.argv) > 2 else "/tmp/tessaly-bench/big.txt"
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    chosen = [c for c in CASES if len(sys.argv) <= 4 or any(c[0].startswith(w) for w in sys.argv[4:])]
    sources = {"lines": source, "fields": os.path.join(os.path.dirname(source), "fields.txt"),
               "vcf": os.path.join(os.path.dirname(source), "vcf.txt")}
    for kind, path in sources.items():
        if any((c[3] if len(c) > 3 else "lines") == kind for c in chosen) and not os.path.exists(path):
            os.makedirs(os.path.dirname(path), exist_ok=True)
            gen = os.path.join(SHARED, "bench", f"gen_{kind}.py")
            subprocess.run(f"python3 {gen} | iconv -f UTF-8 -t GBK > {path}", shell=True, check=True)
    size = os.path.getsize(source)
    folder = tempfile.mkdtemp(dir=os.path.dirname(os.path.abspath(source)), prefix="work-")
    work = os.path.join(folder, "work.txt")
    out = os.path.join(folder, "out.txt")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C")

    def prepare(kind):
        if os.path.exists(out):
            os.unlink(out)
        shutil.copyfile(sources[kind], work)

    def tessaly_once(script, kind):
        prepare(kind)
        with tempfile.NamedTemporaryFile("w", suffix=".tsl", delete=False, encoding="utf-8") as job:
            job.write(SEARCH.format(folder=folder) + script)
        try:
            return run([tessaly, "--script", job.name], env=env)
        finally:
            os.unlink(job.name)

    def to_file(command, kind):
        prepare(kind)
        with open(out, "wb") as sink:
            return run(command + [work.encode()], stdout=sink, env=env, ok=(0, 1))  # grep: 1, no line

    try:
        run(["cat", source])  # warm the cache
        dd_seconds, _, _ = run(["dd", f"if={source}", f"of={out}", "bs=1M", "conv=fsync", "status=none"])
        print(f"file: {size / 2**30:.2f} GiB, {runs} runs each, medians; "
              f"dd conv=fsync: {dd_seconds:.2f} s")
        print("wall and cpu (user + system) seconds; on a busy machine cpu is the steadier")
        print(f"{'mode':26} {'ours':>6} {'peer':>6} {'cat':>6} {'ratio':>6} {'/cat':>6} | "
              f"{'ours cpu':>8} {'peer cpu':>8} {'cat cpu':>8} {'ratio':>6} {'/cat':>6} | {'peak/size':>9}")
        for name, script, peer, *workload in chosen:
            kind = workload[0] if workload else "lines"
            size = os.path.getsize(sources[kind])
            cats, ours, theirs = [], [], []
            for _ in range(runs):
                cats.append(to_file([b"cat"], kind))
                ours.append(tessaly_once(script, kind))
                theirs.append(to_file(peer, kind))
            cat_wall, _, cat_cpu = medians(cats)
            our_wall, peak_kb, our_cpu = medians(ours)
            peer_wall, _, peer_cpu = medians(theirs)
            print(f"{name:26} {our_wall:6.2f} {peer_wall:6.2f} {cat_wall:6.2f} {our_wall / peer_wall:6.2f} "
                  f"{our_wall / cat_wall:6.2f} | {our_cpu:8.2f} {peer_cpu:8.2f} {cat_cpu:8.2f} "
                  f"{our_cpu / peer_cpu:6.2f} {our_cpu / cat_cpu:6.2f} | {peak_kb * 1024 / size:9.2f}   "
                  f"({peer[0].decode()})", flush=True)
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
