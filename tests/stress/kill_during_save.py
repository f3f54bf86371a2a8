#!/usr/bin/env python3
"""Kills a line-mode run at random moments while it saves a large file, and checks after
each kill, once the program has started again, that the file holds exactly its old or its
new bytes and that nothing is left beside it or in the journal. Every other kill is of a
file with a second hard link, which is rewritten in place and must be finished or
discarded by the next start. Then `tessaly --undo` must bring back the old bytes, under
both names, whatever the kill left.

Usage: kill_during_save.py TESSALY [KILLS] [MEGABYTES]
  TESSALY    the program (build/release/bin/tessaly)
  KILLS      how many runs to kill (default 50)
  MEGABYTES  the size of the file (default 150)

Exit status 0 when every kill left old or new bytes and nothing else and the undo
brought the old ones back, 1 otherwise.
"""
import hashlib
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SCRIPT = """set edFolder {folder}
set cmbFileType work.txt
click cbSearch
click btnSelAll
select cmbOpt 7
uncheck chkInsBak
check rbAllLine
set edtInsFormat ${{AddLeft(X)}}
click btnIns
"""


def make_text(path, megabytes):
    line = "2026-12-08 20:31:07 INFO 处理 file_%06d.txt 完成 ok\n".encode("gbk")
    with open(path, "wb") as out:
        written, number = 0, 0
        while written < megabytes << 20:
            chunk = b"".join(line.replace(b"%06d", b"%06d" % (number + i)) for i in range(4096))
            out.write(chunk)
            written += len(chunk)
            number += 4096


def digest(path):
    sha = hashlib.sha256()
    with open(path, "rb") as stream:
        for block in iter(lambda: stream.read(1 << 20), b""):
            sha.update(block)
    return sha.hexdigest()


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    tessaly = os.path.abspath(sys.argv[1])
    kills = int(sys.argv[2]) if len(sys.argv) > 2 else 50
    megabytes = int(sys.argv[3]) if len(sys.argv) > 3 else 150
    base = tempfile.mkdtemp(prefix="tessaly-kill-")
    source = os.path.join(base, "source.txt")
    folder = os.path.join(base, "work")
    journal = os.path.join(base, "journal")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", TESSALY_JOURNAL_DIR=journal)
    script = os.path.join(base, "job.tsl")
    with open(script, "w", encoding="utf-8") as job:
        job.write(SCRIPT.format(folder=folder))
    start_only = os.path.join(base, "start.tsl")
    with open(start_only, "w", encoding="utf-8") as job:
        job.write("get stSrcCount\n")
    failures = 0
    try:
        make_text(source, megabytes)
        old = digest(source)
        os.makedirs(folder)
        work = os.path.join(folder, "work.txt")
        shutil.copyfile(source, work)
        began = time.perf_counter()
        subprocess.run([tessaly, "--script", script], env=env, check=True, capture_output=True)
        whole = time.perf_counter() - began
        new = digest(work)
        began = time.perf_counter()
        subprocess.run([tessaly, "--script", start_only], env=env, check=True, capture_output=True)
        start = time.perf_counter() - began
        print(f"{megabytes} MiB, a whole run takes {whole:.2f} s, starting {start:.2f} s; "
              f"killing {kills} runs")
        seen = {"old": 0, "new": 0}
        settled = 0  # kills that left a rewrite in place for the next start to finish
        for round_ in range(kills):
            shutil.rmtree(folder)
            os.makedirs(folder)
            shutil.copyfile(source, work)
            if os.path.exists(os.path.join(base, "other-link.txt")):
                os.unlink(os.path.join(base, "other-link.txt"))
            linked = round_ % 2 == 1
            if linked:
                os.link(work, os.path.join(base, "other-link.txt"))
            process = subprocess.Popen([tessaly, "--script", script], env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # Most kills fall while the file is read and saved, after the program's start.
            time.sleep(random.uniform(start * 0.8, whole * 1.2))
            process.send_signal(signal.SIGKILL)
            process.wait()
            rewrites = os.path.join(journal, "rewrites")
            if os.path.isdir(rewrites) and os.listdir(rewrites):
                settled += 1
            # The next start settles what the killed run left.
            subprocess.run([tessaly, "--script", start_only], env=env, check=True,
                           capture_output=True)
            now = digest(work)
            left = sorted(os.listdir(folder))
            records = os.listdir(os.path.join(journal, "rewrites")) if os.path.isdir(
                os.path.join(journal, "rewrites")) else []
            state = "old" if now == old else "new" if now == new else "MIXED"
            problem = state == "MIXED" or left != ["work.txt"] or records
            if linked:
                other = digest(os.path.join(base, "other-link.txt"))
                problem = problem or other != now
            # Whatever the kill left, the undo brings back the old bytes.
            subprocess.run([tessaly, "--undo"], env=env, capture_output=True)
            undone = digest(work)
            problem = problem or undone != old
            if linked:
                problem = problem or digest(os.path.join(base, "other-link.txt")) != old
            if problem:
                failures += 1
                print(f"kill {round_ + 1} ({'hard-linked' if linked else 'plain'}): {state}, "
                      f"folder {left}, journal {records}, "
                      f"after undo {'old' if undone == old else 'not old'}")
            else:
                seen[state] += 1
        print(f"old {seen['old']}, new {seen['new']}, rewrites finished by the next start "
              f"{settled}, failures {failures}")
    finally:
        shutil.rmtree(base, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
