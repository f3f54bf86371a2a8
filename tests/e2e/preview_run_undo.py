#!/usr/bin/env python3
"""Previews every batch mode, runs it on the same files and undoes the run, through the
program's batch scripts and `tessaly --undo`: the preview must leave the disk exactly as
it was (names, bytes, times, mode bits, extended attributes), the run must then do what
the preview said, row by row (for the line modes each row's differences must turn the
old lines into the saved ones), and the undo must bring back the disk as it was before.

    preview_run_undo.py TESSALY_BINARY

A delete from the list is run and undone the same way, and three runs are undone by
number and in turn from the command line.
"""

import os
import re
import subprocess
import sys
import tempfile

LAST_OUTPUT = []  # what the last preview printed, shown when its mode fails
GBK_NAME = "数据".encode("gbk") + b".txt"  # a name that is not UTF-8

# Every mode: its files, the lines that set up its page (after the search and the marks),
# its start button, and what NEW says (name, lines, dates, attributes, new file).
MODES = [
    ("extension", {"a.txt": b"1\n", "a.log": b"x", "b.txt": b"2\n", GBK_NAME: b"3\n"},
     ["select cmbOpt 0", "set edtNewExt log"], "btnExt", "name"),
    ("rename", {"ab.txt": b"1\n", "ac.txt": b"2\n", "c.txt": b"3\n", "cz.txt": b"",
                GBK_NAME: b"4\n"},
     ["select cmbOpt 1", "set edtNewFilename ${GetLeft(1)}z"], "btnFilename", "name"),
    ("dates", {"a.txt": b"1\n", "b.txt": b"2\n"},
     ["select cmbOpt 2", "check ckModify", "set dtModify 2020-01-02"], "btnDate", "dates"),
    ("dates of folders", {"a.txt": b"1\n", "b.txt": b"2\n"},
     ["select cmbOpt 2", "check ckModify", "check chkDirDate", "set dtModify 2020-01-02"],
     "btnDate", "dates"),
    ("attributes", {"a.txt": b"1\n", "b.txt": b"2\n"},
     ["select cmbOpt 3", "check ckReadonly"], "btnProp", "attributes"),
    ("merge", {"a.txt": b"k=new\r\nz=1\r\n", "b.txt": b"k=old\r\nq=2\r\n"},
     ["select cmbOpt 5"], "btnSyn", "lines"),
    ("cut", {"a.txt": b"abcdef\r\nxy\r\n", "b.txt": b"a\r\n", "c.txt": b"zero\x00byte"},
     ["select cmbOpt 6", "set edtCutFormat ${GetLeft(2)}"], "btnCut", "lines"),
    ("insert", {"a.txt": b"one\ntwo\n\nthree", GBK_NAME: "汉字\r\n".encode("gbk")},
     ["select cmbOpt 7", "set edtInsFormat ${AddLeft(${Sn(1,2)}.)}"], "btnIns", "lines"),
    ("pattern", {"a.txt": b"a,b\r\nc,d\r\n", "b.txt": b"plain\r\n"},
     ["select cmbOpt 8", "set mmPattern $2,$1"], "btnReplace", "lines"),
    ("delete", {"a.txt": b"1\n2\n3\n4\n", "b.txt": b"only\r\n", "c.txt": (b"1\n2\n", 0o444),
                "d.txt": b"1\n2\n"},
     ["select cmbOpt 9", "set edtDelLineNo 2"], "btnDelLine", "lines"),
    ("extract", {"a.txt": b"x1\r\nab\r\nx2\r\n", "b.txt": b"none\r\n"},
     ["select cmbOpt 10", "check rbGetKeys", "set edtGetKeys x"], "btnGetLine", "lines"),
    ("sync", {"a.txt": b"hit 1\r\nmiss\r\n", "b.txt": b"t1\r\nt2\r\nt3\r\n"},
     ["select cmbOpt 11", "set edtLineKeys hit"], "btnLineSyn", "lines"),
    ("insert lines", {"a.txt": b"1\r\n2\r\n3\r\n", "b.txt": b""},
     ["select cmbOpt 12", "set mmoNewCont new", "set edtNewLineNo 2"], "btnInsLine", "lines"),
    ("combine", {"a.txt": b"a1\r\n", "b.txt": b"b1\nb2\n", "c.txt": b"c1\r\n"},
     ["select cmbOpt 13"], "btnFileCombine", "lines"),
    ("convert", {"a.txt": b"x\ty\r\n", "b.txt": b"1\t2\r\n", "b.csv": b"old"},
     ["select cmbOpt 14", "set edtFileFormat ${TxtTo(csv)}"], "btnConvert", "new file"),
    ("encoding", {"a.txt": "中文\r\n".encode("gbk"), "b.txt": "中文\r\n".encode("utf-8")},
     ["select cmbOpt 15", "set edtCharset ${ToUtf8()}"], "btnCharset", "bytes"),
]


def read_quietly(path):
    """The file's bytes, its access time left as it was."""
    with os.fdopen(os.open(path, os.O_RDONLY | os.O_NOATIME), "rb") as file:
        return file.read()


def snapshot(folder, folder_times=True):
    """Everything a run may change, for every entry under `folder`."""
    state = {}
    top = os.fsencode(folder)
    for root, dirs, files in os.walk(top):
        for path in [os.path.join(root, name) for name in dirs + files] + [top] * (root == top):
            st = os.lstat(path)
            xattrs = {key: os.getxattr(path, key, follow_symlinks=False)
                      for key in os.listxattr(path, follow_symlinks=False)}
            data = read_quietly(path) if os.path.isfile(path) else None
            # A folder's access time is the search's: it reads the folder; its
            # modification time changes with every name made or taken in it.
            atime = st.st_atime_ns if data is not None else None
            mtime = st.st_mtime_ns if data is not None or folder_times else None
            state[path] = (data, st.st_mode, mtime, atime, xattrs)
    return state


def snapshot_before(before, folder_times):
    """The snapshot `before` as snapshot(folder, folder_times) would have taken it."""
    return {path: (data, mode, mtime if data is not None or folder_times else None, atime, xattrs)
            for path, (data, mode, mtime, atime, xattrs) in before.items()}


def lines_of(data):
    """The lines as the program splits them: CR LF, LF or CR; a final break adds none."""
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    lines = re.split(rb"\r\n|\n|\r", data)
    if lines and lines[-1] == b"":
        lines.pop()
    return lines


def run(binary, script, journal, arguments=("--script", "-"), status=0):
    env = dict(os.environ, TESSALY_JOURNAL_DIR=journal)
    result = subprocess.run([binary, *arguments], input=script.encode(), env=env,
                            capture_output=True, timeout=120)
    if result.returncode != status:
        raise AssertionError(f"exit {result.returncode}: {result.stderr.decode(errors='replace')}")
    return result.stdout.decode("utf-8").splitlines()


def apply_diff(old, diff_lines):
    """The old lines with a -U0 unified diff applied."""
    new, at, hunk = [], 0, None
    for line in diff_lines:
        match = re.match(r"@@ -(\d+),(\d+) \+(\d+),(\d+) @@$", line)
        if match:
            start, count = int(match[1]), int(match[2])
            first = start - 1 if count > 0 else start
            new.extend(old[at:first])
            at = first + count
        elif line[:1] == "-":
            pass
        elif line[:1] == "+":
            new.append(line[1:])
        else:
            raise AssertionError(f"not a diff line: {line!r}")
    return new + old[at:]


def disk_path(shown, before):
    """The bytes of the path the program shows as `shown` (names that are not UTF-8 are
    shown decoded from GBK)."""
    for path in before:
        for encoding in ("utf-8", "gbk"):
            try:
                if path.decode(encoding) == shown:
                    return path
            except UnicodeDecodeError:
                pass
    raise AssertionError(f"no file is shown as {shown}")


def check_mode(binary, name, files, setup, start, kind):
    with tempfile.TemporaryDirectory() as folder, tempfile.TemporaryDirectory() as journal:
        for path, data in files.items():
            data, mode = data if isinstance(data, tuple) else (data, 0o644)
            full = os.path.join(os.fsencode(folder), os.fsencode(path))
            with open(full, "wb") as out:
                out.write(data)
            os.chmod(full, mode)
            os.utime(full, ns=(1_500_000_000_000_000_000, 1_500_000_000_000_000_000))
        head = [f"set edFolder {folder}", "set cmbFileType *.txt", "click cbSearch",
                "click btnSelAll"] + setup
        before = snapshot(folder)
        rows = sum(1 for path in files if os.fsencode(path).endswith(b".txt"))
        script = head + ["dump", "click btnPreview"]
        for row in range(1, rows + 1):
            script += [f"preview-diff {row}", "get btnPreview.enabled"]
        output = run(binary, "\n".join(script), journal)
        LAST_OUTPUT[:] = output
        during = snapshot(folder)
        if during != before:
            changes = {os.fsdecode(p) for p in before.keys() | during.keys()
                       if before.get(p) != during.get(p)}
            raise AssertionError(f"the preview changed {sorted(changes)}")
        # The grid rows' full paths, the preview's rows, and each grid row's differences.
        shown = {}
        for line in output:
            cells = line.split("\t")
            if len(cells) == 8 and cells[0].isdigit() and cells[0] != "0":
                shown[cells[3] + "/" + cells[2]] = int(cells[0])
        table = [line.split("\t") for line in output if line.startswith("[preview] ")
                 and not line.startswith("[preview] summary")]
        if not table:
            raise AssertionError(f"no preview rows: {output}")
        summary = next(line for line in output if line.startswith("[preview] summary"))
        diffs, row = {}, 1
        for line in output[output.index(summary) + 1:]:
            if line.startswith("btnPreview.enabled="):
                row += 1
            else:
                diffs.setdefault(row, []).append(line)
        run(binary, "\n".join(head + [f"click {start}"]), journal)
        after = snapshot(folder)
        named = set()
        for status, old, new, *reason in table:
            status = status.removeprefix("[preview] ")
            check_row(kind, status, disk_path(old, before), new, reason, before, after,
                      diffs.get(shown.get(old), []), name)
            named.add(disk_path(old, before))
            if kind in ("name", "new file"):
                named.add(os.fsencode(new))
        # What the preview does not list (sources, rows after a stop) the run leaves alone.
        for path in before.keys() - named:
            if after.get(path, (None,))[0] != before[path][0]:
                raise AssertionError(f"{name}: {os.fsdecode(path)} changed, yet no row named it")
        if (table[-1][0] == "[preview] 停止") != summary.endswith(", 运行将在此停止"):
            raise AssertionError(f"{name}: the summary does not say whether the run stops")
        folder_times = kind == "dates"
        undone = run(binary, "", journal, ["--undo"])
        if snapshot(folder, folder_times) != snapshot_before(before, folder_times):
            now = snapshot(folder, folder_times)
            then = snapshot_before(before, folder_times)
            changes = {os.fsdecode(p) for p in now.keys() | then.keys() if now.get(p) != then.get(p)}
            raise AssertionError(f"the undo ({undone}) did not bring back {sorted(changes)}")


def check_row(kind, status, old, new, reason, before, after, diff, mode):
    changed = status == "更改"
    what = f"{mode}: {os.fsdecode(old)} {status} {new} {reason}"
    if kind == "name":
        if (old not in after) != changed:
            raise AssertionError(f"{what}, but the file did {'not ' if changed else ''}move")
        if changed and after.get(disk_path(new, after), (None,))[0] != before[old][0]:
            raise AssertionError(f"{what}, but the new name does not hold the old bytes")
        return
    if kind == "new file":
        target = disk_path(new, after)
        if changed and after[target] == before.get(target):
            raise AssertionError(f"{what}, but the new file was not written")
        return
    column = {"dates": 2, "attributes": 1}.get(kind, 0)
    if (after[old][column] != before[old][column]) != changed:
        raise AssertionError(f"{what}, but the run did otherwise")
    if kind == "attributes" and changed and \
            ("R" in new.split(" -> ")[1]) == bool(after[old][1] & 0o200):
        raise AssertionError(f"{what}, but the write permission says otherwise")
    if kind == "lines" and changed:
        saved = lines_of(after[old][0])
        if f"{len(lines_of(before[old][0]))} -> {len(saved)}" != new:
            raise AssertionError(f"{what}, but {len(saved)} lines were saved")
        old_lines = [line.decode("gbk") for line in lines_of(before[old][0])]
        if apply_diff(old_lines, diff) != [line.decode("gbk") for line in saved]:
            raise AssertionError(f"{what}, but its differences {diff} are not what was saved")


def check_delete_then_undo(binary):
    """A delete from the list moves the files into the journal; undo brings them back,
    and undoing again finds nothing to undo."""
    with tempfile.TemporaryDirectory() as folder, tempfile.TemporaryDirectory() as journal:
        for name, data in (("a.txt", b"1"), ("b.txt", b"2"), (GBK_NAME, b"3")):
            with open(os.path.join(os.fsencode(folder), os.fsencode(name)), "wb") as out:
                out.write(data)
        before = snapshot(folder, False)
        run(binary, "\n".join([f"set edFolder {folder}", "set cmbFileType *.txt",
                               "click cbSearch", "click btnSelAll", "answer yes",
                               "click cbDel"]), journal)
        if len(snapshot(folder, False)) != 1:
            raise AssertionError("the files were not deleted")
        history = run(binary, "", journal, ["--history"])
        if len(history) != 1 or not history[0].split("\t")[2:] == ["删除", "3", "可撤销"]:
            raise AssertionError(f"history: {history}")
        undone = run(binary, "", journal, ["--undo"])
        if undone != ["[info] 成功撤销 3 个文件"] or snapshot(folder, False) != before:
            raise AssertionError(f"the undo ({undone}) did not bring the files back")


def check_history_and_undo_by_id(binary):
    """Three runs in the journal: --history lists them newest first, --undo ID undoes that
    run and the later ones, --undo the one left, and then there is nothing to undo."""
    with tempfile.TemporaryDirectory() as folder, tempfile.TemporaryDirectory() as journal:
        for name in ("a.txt", "b.txt"):
            with open(os.path.join(folder, name), "wb") as out:
                out.write(b"1\r\n2\r\n")
        before = snapshot(folder, False)
        head = [f"set edFolder {folder}", "set cmbFileType *.txt", "click cbSearch",
                "click btnSelAll"]
        for page in (["select cmbOpt 9", "set edtDelLineNo 1", "click btnDelLine"],
                     ["select cmbOpt 3", "check ckReadonly", "click btnProp"],
                     ["select cmbOpt 0", "set edtNewExt log", "click btnExt"]):
            run(binary, "\n".join(head + page), journal)
        history = [line.split("\t") for line in run(binary, "", journal, ["--history"])]
        if [(row[2], row[3], row[4]) for row in history] != [
                ("更改文件扩展名", "2", "可撤销"), ("更改文件或目录属性", "2", "可撤销"),
                ("内容按行删除", "4", "可撤销")] or \
                not all(re.fullmatch(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", row[1]) for row in history):
            raise AssertionError(f"history: {history}")
        ids = [row[0] for row in history]
        if run(binary, "", journal, ["--undo", ids[1]]) != ["[info] 成功撤销 4 个文件"]:
            raise AssertionError("--undo ID did not undo the extensions and the attributes")
        states = [line.split("\t")[4] for line in run(binary, "", journal, ["--history"])]
        if states != ["已撤销", "已撤销", "可撤销"]:
            raise AssertionError(f"states after --undo {ids[1]}: {states}")
        run(binary, "", journal, ["--undo"])
        if snapshot(folder, False) != before:
            raise AssertionError("the three runs undone did not bring the files back")
        if run(binary, "", journal, ["--undo"], status=1) != ["[info] 没有可撤销的批处理"]:
            raise AssertionError("--undo with nothing to undo")


def main():
    binary = sys.argv[1]
    failed = 0
    for name, check in (("delete from the list", check_delete_then_undo),
                        ("history and undo by number", check_history_and_undo_by_id)):
        try:
            check(binary)
            print(f"ok    {name}")
        except Exception as error:
            failed += 1
            print(f"FAIL  {name}: {error}")
    for name, files, setup, start, kind in MODES:
        try:
            check_mode(binary, name, files, setup, start, kind)
            print(f"ok    {name}")
        except Exception as error:  # report every mode, then fail
            failed += 1
            print(f"FAIL  {name}: {error}", "what the preview printed:", *LAST_OUTPUT, sep="\n")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
