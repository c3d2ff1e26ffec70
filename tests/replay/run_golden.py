#!/usr/bin/env python3
"""run_golden.py REPLAY [ARG...] NAME.script

Runs the replay command (tavolen-replay, or node with its WebAssembly build)
on NAME.script and compares what it writes with
NAME.jsonl, the exit status with NAME.status (0 when absent) and standard
error with NAME.stderr (empty when absent).

With TAVOLEN_UPDATE_GOLDEN=1 the expected files are rewritten from the run
instead; review their diff by hand before committing them.
"""
import difflib
import os
import subprocess
import sys
from pathlib import Path


def read(path: Path, default: bytes = b"") -> bytes:
    return path.read_bytes() if path.exists() else default


def show(data: bytes) -> list[str]:
    return data.decode("utf-8", errors="backslashreplace").splitlines(keepends=True)


def main() -> int:
    replay, script = sys.argv[1:-1], Path(sys.argv[-1])
    stem = script.with_suffix("")
    golden = {ext: Path(f"{stem}.{ext}") for ext in ("jsonl", "status", "stderr")}
    run = subprocess.run([*replay, str(script)], capture_output=True, timeout=60)
    status = f"{run.returncode}\n".encode()

    if os.environ.get("TAVOLEN_UPDATE_GOLDEN") == "1":
        golden["jsonl"].write_bytes(run.stdout)
        for ext, data, usual in (("status", status, b"0\n"), ("stderr", run.stderr, b"")):
            if data == usual:
                golden[ext].unlink(missing_ok=True)
            else:
                golden[ext].write_bytes(data)
        print(f"rewrote the expected files of {script.name}")
        return 0

    failed = False
    for ext, actual, default in (("jsonl", run.stdout, b""), ("status", status, b"0\n"),
                                 ("stderr", run.stderr, b"")):
        expected = read(golden[ext], default)
        if actual != expected:
            failed = True
            sys.stdout.writelines(difflib.unified_diff(
                show(expected), show(actual), f"expected {golden[ext].name}", "actual", n=1))
            print()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
