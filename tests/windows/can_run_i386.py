#!/usr/bin/env python3
"""Tells whether this machine executes 32-bit x86 code.

A 64-bit x86 kernel may be built or booted without its 32-bit layer, and
then no 32-bit program runs at all, Wine's included. The probe is a
96-byte i386 ELF program that does nothing but exit with status 42: if it
runs, 32-bit code runs. Exit status 0 and "yes" when it does, 1 and the
reason when it does not.
"""
import os
import struct
import subprocess
import sys
import tempfile

LOAD_ADDRESS = 0x08048000
HEADER_SIZE = 52
PROGRAM_HEADER_SIZE = 32
# mov ebx, 42; mov eax, 1 (exit); int 0x80
CODE = bytes([0xBB, 42, 0, 0, 0, 0xB8, 1, 0, 0, 0, 0xCD, 0x80])


def probe_program():
    size = HEADER_SIZE + PROGRAM_HEADER_SIZE + len(CODE)
    ident = b"\x7fELF" + bytes([1, 1, 1, 0]) + bytes(8)  # 32-bit, little-endian, SysV
    header = ident + struct.pack(
        "<HHIIIIIHHHHHH",
        2,  # executable
        3,  # i386
        1,
        LOAD_ADDRESS + HEADER_SIZE + PROGRAM_HEADER_SIZE,  # entry: the code
        HEADER_SIZE,  # program headers follow the header
        0, 0, HEADER_SIZE, PROGRAM_HEADER_SIZE, 1, 0, 0, 0)
    segment = struct.pack(
        "<IIIIIIII",
        1,  # loadable
        0, LOAD_ADDRESS, LOAD_ADDRESS, size, size,
        5,  # read and execute
        0x1000)
    return header + segment + CODE


def main():
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "probe")
        with open(path, "wb") as file:
            file.write(probe_program())
        os.chmod(path, 0o755)
        try:
            status = subprocess.run([path], timeout=10).returncode
        except OSError as error:
            print(f"the 32-bit probe cannot start: {error.strerror}")
            return 1
        except subprocess.TimeoutExpired:
            print("the 32-bit probe did not end")
            return 1
    if status != 42:
        print(f"the 32-bit probe ended with status {status}, not 42")
        return 1
    print("yes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
