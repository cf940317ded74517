#!/usr/bin/env python3
"""The real program in a folder where no picture can be loaded: a FIFO, a
directory, a link to an endless device, a missing file, a few kilobytes of
run-length data claiming a 16384 by 16384 picture, and a text file. It must
not block or balloon: it draws its frames and ends as usual, and says on
standard error, one line a picture, which file it could not load and why.

Usage: hostile_pictures.py SAMPLE_REPLAY
"""
import os
import resource
import struct
import subprocess
import sys
import tempfile

# Far below the gigabytes the huge claim would cost if it were allocated,
# with room for the sanitizers' own memory.
PEAK_LIMIT_KIB = 256 * 1024


def run_length_claim(width, height, data_bytes):
    data = bytearray(data_bytes)
    data[1] = 1  # end of bitmap at once
    offset = 14 + 40 + 256 * 4
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, len(data), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + bytes(1024) + bytes(data)


def main():
    replay = os.path.abspath(sys.argv[1])
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        os.mkfifo(os.path.join(folder, "bg01.bmp"))
        os.mkdir(os.path.join(folder, "bg02.bmp"))
        os.symlink("/dev/zero", os.path.join(folder, "ch01.bmp"))
        with open(os.path.join(folder, "mul.bmp"), "wb") as file:
            file.write(run_length_claim(16384, 16384, 4096))
        with open(os.path.join(folder, "chn.bmp"), "w") as file:
            file.write("not a picture\n")
        try:
            run = subprocess.run([replay], input="frame 2\n", capture_output=True, text=True, cwd=folder, timeout=20)
        except subprocess.TimeoutExpired:
            print("FAIL: sample-replay did not end within 20 s (blocked on a picture?)")
            return 1
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss

    if run.returncode != 0 or run.stdout.splitlines() != ["frames 2", "exit 0"]:
        failures.append(f"expected 'frames 2', 'exit 0' and status 0, got {run.stdout!r}, status {run.returncode}")
    expected = [
        "platform: LoadImageA: bg01.bmp: not a regular file (a FIFO)",
        "platform: LoadImageA: bg02.bmp: not a regular file (a directory)",
        "platform: LoadImageA: ch01.bmp: not a regular file (a device)",
        "platform: LoadImageA: koke.bmp: missing",
        "platform: LoadImageA: mul.bmp: too large (at most 16384 pixels a side and 16 Mi pixels in all)",
        "platform: LoadImageA: chn.bmp: not a Windows bitmap",
    ]
    said = [line for line in run.stderr.splitlines() if line.startswith("platform: LoadImageA")]
    if said != expected:
        failures.append("standard error said:\n  " + "\n  ".join(run.stderr.splitlines()))
    if peak > PEAK_LIMIT_KIB:
        failures.append(f"peak resident size {peak} KiB, more than {PEAK_LIMIT_KIB} KiB")

    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print(f"hostile pictures: refused with six lines, frames drawn, peak {peak} KiB")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
