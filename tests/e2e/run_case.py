#!/usr/bin/env python3
"""Runs one end-to-end case: builds its files in a fresh temporary folder, runs the
program's batch script against them and compares standard output, the exit status,
chosen lines of standard error and, when the case lists it, the file tree afterwards.

    run_case.py TESSALY_BINARY CASE_FILE

A case file is UTF-8 text made of sections, each opened by a line holding only its
name in brackets. Text before the first section is a comment.

[files]   One entry per line, created before the run (blank and "#" lines skipped):
              PATH                      an empty file
              PATH = CONTENT            a file with these bytes
              PATH [OPTIONS] = CONTENT  the same with options
              PATH [size=N]             a file of N bytes ("x" repeated)
              DIR/                      an empty folder
          PATH is relative to the temporary folder, "/" between folders; CONTENT is the
          rest of the line after " = "; both take the escapes \\n \\r \\t \\\\ and \\xHH (a
          name that is not UTF-8 is written with \\xHH). OPTIONS are
          comma-separated: size=N, mode=0444 (octal), mtime=YYYY-MM-DD hh:mm:ss and
          atime=... (local time; atime defaults to mtime). A creation (birth) time cannot
          be set on this platform.
[script]  The batch script, kept as written; $TMP becomes the temporary folder.
[stdout]  The exact expected standard output, $TMP replaced ($BINDIR too: the program's
          folder). In a line that holds tabs (a dump row), a field that is exactly "*"
          matches any field: use it for the creation-time column.
[stderr]  Lines that must each appear as a whole line of standard error ($TMP replaced).
          Other lines (warnings of the window toolkit) are allowed. The single word
          "empty" instead requires standard error to be empty.
[exit]    The expected exit status; 0 when the section is left out.
[tree]    When present, the exact set of files and folders under the temporary folder
          afterwards ($TMP replaced), in the syntax of [files]: "PATH = CONTENT" checks the bytes,
          [size=N] and [mode=...] and [mtime=...] check those, a bare PATH only that the
          file exists. Folders that hold a listed file need no line of their own.
[args]    The program's arguments, one per line; $SCRIPT is the script's file and $TMP
          the temporary folder. Default: "--script" and "$SCRIPT". The script is also
          given on standard input, so "--script" with "-" reads it from there.
[env]     Changes to the program's environment, one per line: "NAME=VALUE" ($TMP
          replaced) sets a variable, a bare "NAME" removes it, so that the program meets
          it unset (XDG_RUNTIME_DIR, which every case otherwise sets).
[filesize] The largest file in bytes that the program may write (ulimit -f), to stand
          for a disk that fills up during a save.

The tips download. Every case points TESSALY_TIPS_URL at 127.0.0.1, never further: by
default at a port where nothing listens, so a download fails at once. The sections
below are allowed only in cases named tips_*.case, which ctest runs one at a time,
because the tips file lands beside the program, a folder all cases share.

[serve]   Starts an HTTP server on 127.0.0.1 for the run and points TESSALY_TIPS_URL at
          its /tipsupd.dat. Each line "PATH = CONTENT" (as in [files]; "PATH =" for
          an empty body) serves CONTENT at /PATH; every other path answers 404. The
          single word "none" starts no server and keeps the port where nothing listens.
[requests] The exact requests the server received, one per line: method, path and
          User-Agent header, separated by blanks.
[beside]  Files put beside the program before the run, as in [files]; only
          "tipsupd.dat" is allowed. The tips file beside the program is removed before
          a tips case and again after it.
[besideafter] The tips file beside the program after the run, as in [tree]: a line
          "tipsupd.dat = CONTENT" checks its bytes; an empty section says there is none.

The program runs with the temporary folder as its current directory, so the search
folder starts there. Any sanitizer report on standard error fails the case. The folder
is removed after a passing case and kept (its path printed) after a failing one.
"""

import difflib
import http.server
import os
import re
import shutil
import socket
import resource
import subprocess
import sys
import tempfile
import threading
import time

SECTIONS = ("files", "script", "stdout", "stderr", "exit", "tree", "args", "env", "filesize",
            "serve", "requests", "beside", "besideafter")
TIPS_SECTIONS = ("serve", "requests", "beside", "besideafter")
TIPS_FILE = "tipsupd.dat"
SANITIZER_MARKS = ("runtime error:", "ERROR: AddressSanitizer", "ERROR: LeakSanitizer")


class CaseError(Exception):
    """The case file itself is malformed."""


def read_sections(path):
    sections = {}
    current = None
    with open(path, encoding="utf-8", newline="") as stream:
        text = stream.read()
    for line in text.split("\n"):
        if line.endswith("\r"):
            line = line[:-1]
        header = re.fullmatch(r"\[([a-z]+)\]", line)
        if header and header.group(1) in SECTIONS:
            current = header.group(1)
            if current in sections:
                raise CaseError(f"section [{current}] appears twice")
            sections[current] = []
        elif current is not None:
            sections[current].append(line)
    for name, lines in sections.items():
        while lines and lines[-1] == "":
            lines.pop()
    return sections


def unescape(text):
    out = bytearray()
    raw = text.encode("utf-8")
    i = 0
    while i < len(raw):
        c = raw[i]
        if c != 0x5C:  # backslash
            out.append(c)
            i += 1
            continue
        if i + 1 >= len(raw):
            raise CaseError(f"a lone backslash ends {text!r}")
        code = chr(raw[i + 1])
        if code in "nrt\\":
            out += {"n": b"\n", "r": b"\r", "t": b"\t", "\\": b"\\"}[code]
            i += 2
        elif code == "x" and re.fullmatch(rb"[0-9A-Fa-f]{2}", raw[i + 2:i + 4]):
            out.append(int(raw[i + 2:i + 4], 16))
            i += 4
        else:
            raise CaseError(f"unknown escape \\{code} in {text!r}")
    return bytes(out)


def local_timestamp(text):
    try:
        return time.mktime(time.strptime(text, "%Y-%m-%d %H:%M:%S"))
    except ValueError as error:
        raise CaseError(f"bad time {text!r}: {error}") from None


def parse_entries(lines):
    """[files]/[tree] lines -> list of dicts: path, is_dir, content (bytes or None), options."""
    entries = []
    for line in lines:
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        content = None
        if " = " in line:
            head, content_text = line.split(" = ", 1)
            content = unescape(content_text)
        elif line.endswith(" ="):
            head, content = line[:-2], b""
        else:
            head = line
        options = {}
        match = re.fullmatch(r"(.*?) \[([^\]]*)\]", head)
        if match:
            head = match.group(1)
            for option in match.group(2).split(","):
                key, sep, value = option.strip().partition("=")
                if not sep or key not in ("size", "mode", "mtime", "atime"):
                    raise CaseError(f"bad option {option.strip()!r} in {line!r}")
                options[key] = value.strip()
        # A path may hold \xHH escapes too, for names that are not UTF-8 (surrogate
        # escapes stand for their bytes, as in the names os.walk gives back).
        path = os.fsdecode(unescape(head.strip()))
        if not path or path.startswith("/") or ".." in path.split("/"):
            raise CaseError(f"bad path in {line!r}")
        is_dir = path.endswith("/")
        if "size" in options:
            if content is not None:
                raise CaseError(f"both size and content in {line!r}")
            options["size"] = int(options["size"])
        if "mode" in options:
            options["mode"] = int(options["mode"], 8)
        entries.append({"path": path.rstrip("/"), "is_dir": is_dir, "content": content,
                        "options": options})
    return entries


def create_files(root, entries):
    for entry in entries:
        full = os.path.join(root, entry["path"])
        if entry["is_dir"]:
            os.makedirs(full, exist_ok=True)
            continue
        os.makedirs(os.path.dirname(full), exist_ok=True)
        content = entry["content"]
        if content is None:
            content = b"x" * entry["options"].get("size", 0)
        with open(full, "wb") as stream:
            stream.write(content)
    # Times and modes last: creating a file changes its folder's times.
    for entry in sorted(entries, key=lambda e: -e["path"].count("/")):
        full = os.path.join(root, entry["path"])
        options = entry["options"]
        if "mtime" in options:
            modified = local_timestamp(options["mtime"])
            accessed = local_timestamp(options["atime"]) if "atime" in options else modified
            os.utime(full, (accessed, modified))
        if "mode" in options:
            os.chmod(full, options["mode"])


def substitute(lines, values):
    out = []
    for line in lines:
        for key, value in values.items():
            line = line.replace(key, value)
        out.append(line)
    return out


def line_matches(expected, actual):
    if expected == actual:
        return True
    if "\t" not in expected:
        return False
    wanted, got = expected.split("\t"), actual.split("\t")
    return len(wanted) == len(got) and all(w in ("*", g) for w, g in zip(wanted, got))


def compare_stdout(expected, actual):
    if len(expected) == len(actual) and all(map(line_matches, expected, actual)):
        return []
    # Lines that match through a "*" field are shown as they came, so the diff shows
    # only real differences.
    shown = [a if a is not None and line_matches(e, a) else e
             for e, a in zip(expected, actual + [None] * len(expected))]
    diff = difflib.unified_diff(shown, actual, "expected stdout", "actual stdout", lineterm="")
    return ["standard output differs:", *diff]


def check_tree(root, entries):
    problems = []
    expected_files = {e["path"]: e for e in entries if not e["is_dir"]}
    expected_dirs = {e["path"] for e in entries if e["is_dir"]}
    for path in expected_files:
        parts = path.split("/")
        expected_dirs.update("/".join(parts[:i]) for i in range(1, len(parts)))
    actual_files, actual_dirs = set(), set()
    for folder, dirs, files in os.walk(root):
        relative = os.path.relpath(folder, root)
        prefix = "" if relative == "." else relative.replace(os.sep, "/") + "/"
        actual_dirs.update(prefix + d for d in dirs)
        actual_files.update(prefix + f for f in files)
    for path in sorted(actual_files - set(expected_files)):
        problems.append(f"unexpected file {path}")
    for path in sorted(set(expected_files) - actual_files):
        problems.append(f"missing file {path}")
    for path in sorted(actual_dirs - expected_dirs):
        problems.append(f"unexpected folder {path}/")
    for path in sorted(expected_dirs - actual_dirs):
        problems.append(f"missing folder {path}/")
    for path in sorted(set(expected_files) & actual_files):
        entry = expected_files[path]
        full = os.path.join(root, path)
        info = os.stat(full)
        if entry["content"] is not None:
            with open(full, "rb") as stream:
                data = stream.read()
            if data != entry["content"]:
                problems.append(f"{path}: content {data!r}, expected {entry['content']!r}")
        options = entry["options"]
        if "size" in options and info.st_size != options["size"]:
            problems.append(f"{path}: size {info.st_size}, expected {options['size']}")
        if "mode" in options and (info.st_mode & 0o7777) != options["mode"]:
            problems.append(f"{path}: mode {info.st_mode & 0o7777:o}, expected {options['mode']:o}")
        if "mtime" in options and int(info.st_mtime) != int(local_timestamp(options["mtime"])):
            shown = time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(info.st_mtime))
            problems.append(f"{path}: mtime {shown}, expected {options['mtime']}")
    return problems


def child_environment(home):
    env = dict(os.environ)
    for key, value in (("QT_QPA_PLATFORM", "offscreen"), ("TZ", "Asia/Shanghai"),
                       ("LC_ALL", "C.UTF-8"), ("ASAN_OPTIONS", "detect_leaks=0")):
        env.setdefault(key, value)
    # The toolkit's per-user runtime folder, kept inside the test's own space.
    runtime = os.path.join(home, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env["XDG_RUNTIME_DIR"] = runtime
    # The journal (records of rewrites in place), also the test's own.
    env["TESSALY_JOURNAL_DIR"] = os.path.join(home, "journal")
    # The tips server is local: a proxy from the environment must not be asked for it.
    env["no_proxy"] = ",".join(filter(None, [env.get("no_proxy"), "127.0.0.1"]))
    return env


class TipsServer:
    """The [serve] section: a one-thread HTTP server on 127.0.0.1, or none, plus a bound
    socket that never listens, so connections to its port are refused."""

    def __init__(self, lines):
        self.closed = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.closed.bind(("127.0.0.1", 0))
        self.url = f"http://127.0.0.1:{self.closed.getsockname()[1]}/{TIPS_FILE}"
        self.requests = []
        self.server = None
        if lines is None or [line.strip() for line in lines] == ["none"]:
            return
        bodies = {}
        for entry in parse_entries(lines):
            if entry["is_dir"] or entry["options"] or entry["content"] is None:
                raise CaseError(f"[serve] takes PATH = CONTENT, not {entry['path']!r}")
            bodies["/" + entry["path"]] = entry["content"]
        requests = self.requests

        class Handler(http.server.BaseHTTPRequestHandler):
            timeout = 10  # a client that stops talking cannot hold the case

            def do_GET(self):
                requests.append(f"GET {self.path} {self.headers.get('User-Agent', '')}")
                body = bodies.get(self.path)
                self.send_response(404 if body is None else 200)
                self.send_header("Content-Length", str(len(body or b"")))
                self.end_headers()
                self.wfile.write(body or b"")

            def log_message(self, *args):
                pass

        self.server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/{TIPS_FILE}"
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def close(self):
        if self.server is not None:
            self.server.shutdown()
            self.server.server_close()
            self.thread.join()
        self.closed.close()


def beside_entries(sections, name):
    entries = parse_entries(sections.get(name, []))
    for entry in entries:
        if entry["path"] != TIPS_FILE:
            raise CaseError(f"[{name}] takes only {TIPS_FILE}, not {entry['path']!r}")
    return entries


def check_beside(folder, entries):
    path = os.path.join(folder, TIPS_FILE)
    if not entries:
        return [f"{TIPS_FILE} beside the program exists"] if os.path.exists(path) else []
    if not os.path.exists(path):
        return [f"{TIPS_FILE} beside the program is missing"]
    with open(path, "rb") as stream:
        data = stream.read()
    expected = entries[0]["content"]
    if expected is not None and data != expected:
        return [f"{TIPS_FILE} beside the program: content {data!r}, expected {expected!r}"]
    return []


def remove_tips_file(folder):
    try:
        os.remove(os.path.join(folder, TIPS_FILE))
    except FileNotFoundError:
        pass


def run_case(binary, case_path):
    sections = read_sections(case_path)
    if "script" not in sections and "args" not in sections:
        raise CaseError("the case has neither [script] nor [args]")
    tips_case = any(name in sections for name in TIPS_SECTIONS)
    if tips_case and not os.path.basename(case_path).startswith("tips_"):
        raise CaseError("only tips_*.case files may use "
                        + ", ".join(f"[{name}]" for name in TIPS_SECTIONS))
    no_server = [line.strip() for line in sections.get("serve", ["none"])] == ["none"]
    if "requests" in sections and no_server:
        raise CaseError("[requests] needs a server in [serve]")
    program_folder = os.path.dirname(binary)
    beside = beside_entries(sections, "beside")
    beside_after = beside_entries(sections, "besideafter")
    server = TipsServer(sections.get("serve"))
    try:
        if tips_case:
            remove_tips_file(program_folder)
            create_files(program_folder, beside)
        return run_program(binary, case_path, sections, server, program_folder,
                           beside_after if "besideafter" in sections else None)
    finally:
        server.close()
        if tips_case:
            remove_tips_file(program_folder)


def run_program(binary, case_path, sections, server, program_folder, beside_after):
    base = tempfile.mkdtemp(prefix="tessaly-e2e-")
    root = os.path.join(base, "tmp")
    os.mkdir(root)
    env = child_environment(base)
    env["TESSALY_TIPS_URL"] = server.url
    os.environ["TZ"] = env["TZ"]
    time.tzset()

    create_files(root, parse_entries(sections.get("files", [])))
    values = {"$TMP": root, "$BINDIR": os.path.realpath(program_folder)}
    for line in substitute(sections.get("env", []), values):
        name, assigned, value = line.partition("=")
        if not re.fullmatch(r"[A-Za-z_][A-Za-z0-9_]*", name):
            raise CaseError(f"bad [env] line {line!r}")
        if assigned:
            env[name] = value
        else:
            env.pop(name, None)
    script = "\n".join(substitute(sections.get("script", []), values)) + "\n"
    script_path = os.path.join(base, "case.tsl")
    with open(script_path, "w", encoding="utf-8", newline="") as stream:
        stream.write(script)
    arguments = substitute(sections.get("args", ["--script", "$SCRIPT"]),
                           {"$SCRIPT": script_path, **values})

    limit = int("".join(sections["filesize"]).strip()) if "filesize" in sections else None

    def limit_file_size():
        if limit is not None:
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

    result = subprocess.run([binary, *arguments], cwd=root, env=env,
                            input=script.encode("utf-8"), capture_output=True, check=False,
                            preexec_fn=limit_file_size)
    stdout = result.stdout.decode("utf-8", errors="backslashreplace").split("\n")
    if stdout and stdout[-1] == "":
        stdout.pop()
    stderr = result.stderr.decode("utf-8", errors="backslashreplace").split("\n")

    problems = compare_stdout(substitute(sections.get("stdout", []), values), stdout)
    expected_exit = int("".join(sections.get("exit", ["0"])).strip())
    if result.returncode != expected_exit:
        problems.append(f"exit status {result.returncode}, expected {expected_exit}")
    expected_stderr = substitute(sections.get("stderr", []), values)
    if expected_stderr == ["empty"]:
        if result.stderr:
            problems.append("standard error is not empty")
    else:
        for line in expected_stderr:
            if line not in stderr:
                problems.append(f"standard error lacks the line {line!r}")
    if any(mark in line for line in stderr for mark in SANITIZER_MARKS):
        problems.append("a sanitizer reported an error")
    if "tree" in sections:
        problems += check_tree(root, parse_entries(substitute(sections["tree"], values)))
    if beside_after is not None:
        problems += check_beside(program_folder, beside_after)
    if "requests" in sections and server.requests != sections["requests"]:
        diff = difflib.unified_diff(sections["requests"], server.requests, "expected requests",
                                    "received requests", lineterm="")
        problems += ["the server's requests differ:", *diff]

    if problems:
        print(f"FAILED {case_path}")
        print("\n".join(problems))
        print("standard error was:\n" + result.stderr.decode("utf-8", "backslashreplace"))
        print(f"files kept in {base}")
        return 1
    shutil.rmtree(base)
    return 0


def main():
    # Names that are not UTF-8 reach the messages as surrogate escapes.
    sys.stdout.reconfigure(errors="backslashreplace")
    sys.stderr.reconfigure(errors="backslashreplace")
    if len(sys.argv) != 3:
        print("usage: run_case.py TESSALY_BINARY CASE_FILE", file=sys.stderr)
        return 2
    try:
        return run_case(os.path.abspath(sys.argv[1]), sys.argv[2])
    except CaseError as error:
        print(f"{sys.argv[2]}: {error}", file=sys.stderr)
        return 2


if __name__ == "__main__":
    sys.exit(main())
