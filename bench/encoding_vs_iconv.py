#!/usr/bin/env python3
"""Times the encoding page on a 500 MiB GBK text file through `tessaly --script`, to
UTF-8 and back, against `iconv -f GBK -t UTF-8` and `iconv -f UTF-8 -t GBK`, and checks
that the round trip gives the original bytes back (every line break made CR LF, as the
page writes them).

Usage: encoding_vs_iconv.py TESSALY [FILE] [RUNS]
  TESSALY  the program (build/release/bin/tessaly)
  FILE     the GBK text; made when it does not exist from the first 500 MiB of
           /tmp/tessaly-bench/big.txt, cut after a line break (big.txt itself made, when
           missing, with gen_lines.py | iconv -f UTF-8 -t GBK)
           (default /tmp/tessaly-bench/gbk-500m.txt)
  RUNS     runs of each command, the median is reported (default 3)

Every command starts from the same state: a fresh copy of its input, written and flushed
(not timed). To UTF-8 both start from FILE; back to GBK both start from the program's
UTF-8 file. The program converts the copy in place (through a new sibling file, flushed
to the disk before it replaces the copy); iconv writes a new file beside it (not
flushed). The runs take turns (program, iconv) and medians are given: on a virtual
machine the same command varies a lot from run to run. Peak memory is the largest
resident size of the timed process; the file's own pages, mapped, count in it. This
script reads the files in small blocks, so the children do not inherit a large peak
from it. The backup box is cleared.
"""
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from timing import medians, run  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SHARED = os.environ.get("TESSALY_SHARED", os.path.join(HERE, "..", "..", "shared"))
BIG = "/tmp/tessaly-bench/big.txt"
SIZE = 500 * 2**20
BLOCK = 8 * 2**20

SEARCH = "set edFolder {folder}\nset cmbFileType work.txt\nclick cbSearch\nclick btnSelAll\n"
PAGE = "select cmbOpt 15\nuncheck chkCharset\nset edtCharset ${{{item}()}}\nclick btnCharset\n"
DONE = "[info] 成功处理完成,共处理 1 个文件!"


def blocks(path):
    with open(path, "rb") as f:
        while block := f.read(BLOCK):
            yield block


def make_source(path):
    if not os.path.exists(BIG):
        os.makedirs(os.path.dirname(BIG), exist_ok=True)
        gen = os.path.join(SHARED, "bench", "gen_lines.py")
        subprocess.run(f"python3 {gen} | iconv -f UTF-8 -t GBK > {BIG}", shell=True, check=True)
    with open(BIG, "rb") as src, open(path, "wb") as dst:
        left = SIZE
        while left > 0 and (block := src.read(min(BLOCK, left))):
            dst.write(block)
            left -= len(block)
    with open(path, "rb+") as f:  # cut after the last line break, so no character is cut
        f.seek(max(0, os.path.getsize(path) - 2**20))
        tail = f.read()
        f.truncate(os.path.getsize(path) - len(tail) + tail.rfind(b"\n") + 1)


def crlf_digest(path):
    """SHA-256 of the file with every line break (CR LF, LF, lone CR) made CR LF and a
    last line without one given one: the text the program writes."""
    digest = hashlib.sha256()
    carry, last = b"", b""
    for block in blocks(path):
        data = carry + block
        carry = b""
        if data.endswith(b"\r"):  # it may be the first half of a CR LF
            carry, data = b"\r", data[:-1]
        data = data.replace(b"\r\n", b"\n").replace(b"\r", b"\n").replace(b"\n", b"\r\n")
        if data:
            digest.update(data)
            last = data[-1:]
    if carry:
        digest.update(b"\r\n")
    elif last not in (b"", b"\n"):
        digest.update(b"\r\n")
    return digest.hexdigest()


def file_digest(path):
    digest = hashlib.sha256()
    for block in blocks(path):
        digest.update(block)
    return digest.hexdigest()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    tessaly = os.path.abspath(sys.argv[1])
    source = sys.argv[2] if len(sys.argv) > 2 else "/tmp/tessaly-bench/gbk-500m.txt"
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    if not os.path.exists(source):
        make_source(source)
    size = os.path.getsize(source)
    folder = tempfile.mkdtemp(dir=os.path.dirname(os.path.abspath(source)), prefix="work-")
    work = os.path.join(folder, "work.txt")
    out = os.path.join(folder, "out.txt")
    utf8 = os.path.join(folder, "utf8.txt")  # the program's UTF-8 file, input of the way back
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LC_ALL="C")

    def fresh(path):
        for stale in (work, out):
            if os.path.exists(stale):
                os.unlink(stale)
        shutil.copyfile(path, work)

    def ours(item, start):
        fresh(start)
        with tempfile.NamedTemporaryFile("w", suffix=".tsl", delete=False, encoding="utf-8") as job:
            job.write(SEARCH.format(folder=folder) + PAGE.format(item=item))
        try:
            with tempfile.TemporaryFile() as said:
                result = run([tessaly, "--script", job.name], stdout=said, env=env)
                said.seek(0)
                lines = said.read().decode("utf-8", "replace").splitlines()
        finally:
            os.unlink(job.name)
        if DONE not in lines:
            sys.exit(f"{item}: the program said {lines!r}")
        return result

    def iconv(source_code, target_code, start):
        fresh(start)
        with open(out, "wb") as sink:
            return run(["iconv", "-f", source_code, "-t", target_code, work], stdout=sink, env=env)

    try:
        expected = crlf_digest(source)
        results = {key: [] for key in ("ours to", "iconv to", "ours back", "iconv back")}
        for turn in range(runs):
            results["ours to"].append(ours("ToUtf8", source))
            if turn == 0:
                shutil.copyfile(work, utf8)
            results["iconv to"].append(iconv("GBK", "UTF-8", source))
            if turn == 0 and crlf_digest(out) != file_digest(utf8):
                sys.exit("the program's UTF-8 differs from iconv's")
            results["ours back"].append(ours("ToAnsi", utf8))
            if turn == 0 and file_digest(work) != expected:
                sys.exit("the round trip did not give the original text back")
            results["iconv back"].append(iconv("UTF-8", "GBK", utf8))
        print(f"file: {size / 2**20:.0f} MiB GBK, {runs} runs each, medians; round trip checked")
        print(f"{'direction':14} {'ours s':>7} {'iconv s':>7} {'ratio':>6} {'ours MB/s':>9} "
              f"{'iconv MB/s':>10} | {'ours cpu':>8} {'iconv cpu':>9} | {'peak/size':>9} "
              f"{'iconv peak':>10}")
        for name, key in (("GBK -> UTF-8", "to"), ("UTF-8 -> GBK", "back")):
            input_size = size if key == "to" else os.path.getsize(utf8)
            our_wall, our_kb, our_cpu = medians(results[f"ours {key}"])
            peer_wall, peer_kb, peer_cpu = medians(results[f"iconv {key}"])
            print(f"{name:14} {our_wall:7.2f} {peer_wall:7.2f} {our_wall / peer_wall:6.2f} "
                  f"{input_size / our_wall / 1e6:9.0f} {input_size / peer_wall / 1e6:10.0f} | "
                  f"{our_cpu:8.2f} {peer_cpu:9.2f} | {our_kb * 1024 / input_size:9.2f} "
                  f"{peer_kb / 1024:8.0f} MB")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
