#!/usr/bin/env python3
"""sample-replay's files and streams where they go wrong: captures and
recordings onto a FIFO, a device, and existing files a write fails half way
through; scripts from endless devices and at their size limit; standard
output on a full device. Nothing may block, balloon, or destroy a file; each
problem ends the run with status 2 and a line on standard error.

Usage: files_and_streams.py SAMPLE_REPLAY
"""
import os
import resource
import stat
import subprocess
import sys
import tempfile
import time

SCRIPT_LIMIT = 4 * 1024 * 1024
TOO_LARGE = "it is larger than 4 MiB, the most a script may hold"
TIMEOUT = 20

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(replay, folder, script=None, argument=None, stdout=subprocess.PIPE, preexec_fn=None):
    """Runs sample-replay in `folder` on `script` (bytes) or nothing as its
    standard input; None when it had to be stopped."""
    command = [replay] + ([argument] if argument else [])
    source = {"input": script} if script is not None else {"stdin": subprocess.DEVNULL}
    try:
        return subprocess.run(command, stdout=stdout, stderr=subprocess.PIPE, cwd=folder, timeout=TIMEOUT,
                              preexec_fn=preexec_fn, **source)
    except subprocess.TimeoutExpired:
        return None


def stderr_of(result):
    return result.stderr.decode("utf-8", "replace") if result else "(stopped after %d s)" % TIMEOUT


def refused(result, fragment):
    return result is not None and result.returncode == 2 and fragment in stderr_of(result)


def small_file_limit():
    # The program ignores SIGXFSZ itself; the limit alone must not kill it.
    # Below any picture file's size: a PNG's signature and first chunk, or a
    # WebP's RIFF header and first chunk, already take more.
    resource.setrlimit(resource.RLIMIT_FSIZE, (16, 16))


def existing_files_survive_failed_writes(replay, folder):
    shot = os.path.join(folder, "shot.png")
    wave = os.path.join(folder, "wave.webp")
    for path in (shot, wave):
        with open(path, "w") as file:
            file.write("the old content of " + os.path.basename(path))
    before = sorted(os.listdir(folder))
    script = ("frame 2\ncapture %s\nrecord %s 2\n" % (shot, wave)).encode()
    result = run(replay, folder, script, preexec_fn=small_file_limit)
    check(refused(result, "line 2: cannot write %s: File too large" % shot)
          and "line 3: cannot write %s: File too large" % wave in stderr_of(result),
          "writes past a file size limit: expected status 2 naming both lines, got %s: %s"
          % (result and result.returncode, stderr_of(result)))
    for path in (shot, wave):
        with open(path, "rb") as file:
            check(file.read() == b"the old content of " + os.path.basename(path).encode(), path + " lost its content")
    check(sorted(os.listdir(folder)) == before, "files left behind: %s" % sorted(os.listdir(folder)))


def special_targets_are_refused(replay, folder):
    fifo = os.path.join(folder, "pipe.png")
    os.mkfifo(fifo)
    script = ("frame 1\ncapture %s\ncapture /dev/null\nrecord %s 1\n" % (fifo, folder)).encode()
    result = run(replay, folder, script)
    text = stderr_of(result)
    check(refused(result, "line 2: cannot write %s: not a regular file (a FIFO)" % fifo)
          and "line 3: cannot write /dev/null: not a regular file (a device)" in text
          and "line 4: cannot write %s: not a regular file (a directory)" % folder in text,
          "a FIFO, a device and a folder as targets: expected three refusals and status 2, got %s: %s"
          % (result and result.returncode, text))
    check(stat.S_ISFIFO(os.lstat(fifo).st_mode), "the FIFO is gone")
    check(stat.S_ISCHR(os.stat("/dev/null").st_mode), "/dev/null is no longer a device")


def endless_scripts_are_refused(replay, folder):
    for device in ("/dev/zero", "/dev/urandom"):
        started = time.monotonic()
        result = run(replay, folder, argument=device)
        took = time.monotonic() - started
        check(refused(result, "cannot read %s: %s" % (device, TOO_LARGE)),
              "%s as the script: expected status 2, got %s: %s" % (device, result and result.returncode,
                                                                  stderr_of(result)[:200]))
        check(took < 5, "%s took %.1f s to refuse" % (device, took))
    with open("/dev/zero", "rb") as zero:
        try:
            result = subprocess.run([replay], stdin=zero, capture_output=True, cwd=folder, timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            result = None
    check(refused(result, "cannot read the script from standard input: " + TOO_LARGE),
          "an endless standard input: expected status 2, got %s" % stderr_of(result)[:200])


def scripts_at_the_limit(replay, folder):
    head = b"frame 1\n"
    padding = SCRIPT_LIMIT - len(head) - 1
    at_limit = head + b"#" * padding + b"\n"
    assert len(at_limit) == SCRIPT_LIMIT
    result = run(replay, folder, at_limit)
    check(result is not None and result.returncode == 0 and result.stdout.split() == [b"frames", b"1", b"exit", b"0"],
          "a script of exactly 4 MiB: expected it to run, got %s: %s" % (result and result.returncode,
                                                                        stderr_of(result)[:200]))
    path = os.path.join(folder, "over.script")
    with open(path, "wb") as file:
        file.write(at_limit + b"\n")
    result = run(replay, folder, argument=path)
    check(refused(result, "cannot read %s: %s" % (path, TOO_LARGE)),
          "a script one byte over 4 MiB: expected status 2, got %s" % stderr_of(result)[:200])
    os.remove(path)


def full_standard_output(replay, folder):
    with open("/dev/full", "w") as full:
        result = run(replay, folder, b"frame 1\n", stdout=full)
    check(refused(result, "cannot write standard output: No space left on device"),
          "standard output on /dev/full: expected status 2, got %s: %s" % (result and result.returncode,
                                                                          stderr_of(result)))


def main():
    replay = os.path.abspath(sys.argv[1])
    for case in (existing_files_survive_failed_writes, special_targets_are_refused, endless_scripts_are_refused,
                 scripts_at_the_limit, full_standard_output):
        with tempfile.TemporaryDirectory() as folder:
            case(replay, folder)
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    # The 4 MiB script and the program's own pictures and screens, with room.
    check(peak < 128 * 1024, "peak resident size %d KiB" % peak)
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("files and streams: every target kept, every endless script refused, peak %d KiB" % peak)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
