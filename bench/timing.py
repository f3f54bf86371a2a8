"""What the benchmark scripts share: timing one run of a command, and the medians of
several."""
import os
import statistics
import subprocess
import sys
import time


def run(command, stdout=subprocess.DEVNULL, env=None, ok=(0,)):
    """Wall seconds, peak resident kilobytes and processor seconds (user + system, of the
    process and the children it waited for) of one run. Dirty pages of earlier runs are
    written out first, so that no run pays for the disk work of another. An exit status
    not in `ok` ends the script."""
    os.sync()
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=stdout, stderr=subprocess.PIPE, env=env)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    err = process.stderr.read()
    process.stderr.close()
    if code not in ok:
        sys.exit(f"{command!r} failed ({code}): {err[-2000:]!r}")
    return seconds, usage.ru_maxrss, usage.ru_utime + usage.ru_stime


def medians(results):
    """Median wall seconds, largest peak, median processor seconds of several runs."""
    return (statistics.median(r[0] for r in results), max(r[1] for r in results),
            statistics.median(r[2] for r in results))
