"""A copy of the source tree with a build directory of its own.

Mutants are written only here, never into a developer's working tree. The
copy is kept between runs: files whose content did not change keep their
times, so a later run rebuilds only what changed.
"""

import fcntl
import json
import os
import re
import shutil
import signal
import subprocess
import time
from pathlib import Path

CPU_LOCK = "/tmp/vesktext-cpu.lock"


class CpuLock:
    """The machine-wide lock every build and test run holds; counts the waits."""

    def __init__(self):
        self.waited = 0.0

    def __enter__(self):
        self._file = open(CPU_LOCK, "a")
        start = time.monotonic()
        fcntl.flock(self._file, fcntl.LOCK_EX)
        self.waited += time.monotonic() - start
        return self

    def __exit__(self, *exc):
        fcntl.flock(self._file, fcntl.LOCK_UN)
        self._file.close()


def run(command, cwd=None, timeout=None):
    """Runs a command in a process group of its own, so a timeout ends all of it.

    Returns (exit code or None on timeout, combined output)."""
    process = subprocess.Popen(
        command,
        cwd=cwd,
        stdout=subprocess.PIPE,
        stderr=subprocess.STDOUT,
        text=True,
        errors="replace",
        start_new_session=True,
    )
    try:
        output, _ = process.communicate(timeout=timeout)
        return process.returncode, output
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        output, _ = process.communicate()
        return None, output
    except BaseException:
        os.killpg(process.pid, signal.SIGKILL)
        raise


def tracked_files(root):
    """Files git tracks or would track, as they are in the working tree."""
    listing = subprocess.run(
        ["git", "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
        cwd=root,
        check=True,
        capture_output=True,
    ).stdout.decode()
    return sorted(name for name in set(listing.split("\0")) if name and (root / name).is_file())


class ScratchTree:
    def __init__(self, source, scratch):
        self.source = source
        self.src = scratch / "src"
        self.build = scratch / "build"
        self.files = []

    def sync(self):
        """Makes src/ an exact copy of the source's files, touching only what differs."""
        self.src.mkdir(parents=True, exist_ok=True)
        self.files = tracked_files(self.source)
        wanted = set(self.files)
        for name in self.files:
            source, copy = self.source / name, self.src / name
            if not copy.is_file() or copy.read_bytes() != source.read_bytes():
                copy.parent.mkdir(parents=True, exist_ok=True)
                shutil.copyfile(source, copy)
                shutil.copymode(source, copy)
        for copy in sorted(self.src.rglob("*"), reverse=True):
            name = copy.relative_to(self.src).as_posix()
            if copy.is_file() and name not in wanted:
                copy.unlink()
            elif copy.is_dir() and not any(copy.iterdir()):
                copy.rmdir()

    def configure(self):
        """The default preset's settings, without benchmarks, sanitizers or fuzzers;
        a configured build is brought up to date with the CMake files."""
        if (self.build / "build.ninja").exists():
            return self.ninja(["build.ninja"])
        return run(
            [
                "cmake", "-S", str(self.src), "-B", str(self.build), "-G", "Ninja",
                "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DVESKTEXT_WERROR=OFF",
                "-DVESKTEXT_BENCH=OFF", "-DVESKTEXT_SANITIZE=OFF", "-DVESKTEXT_FUZZ=OFF",
            ]
        )

    def ninja(self, targets, timeout=600):
        return run(["ninja", "-C", str(self.build), *targets], timeout=timeout)

    def list_tests(self, label):
        code, output = run(
            ["ctest", "--test-dir", str(self.build), "-N", "-L", f"^{label}$",
             "--show-only=json-v1"]
        )
        if code != 0:
            raise RuntimeError(output)
        return json.loads(output)["tests"]

    def artifacts(self, test):
        """What a test needs built: its programs in the build directory, by their
        paths there; before they are built, the target named like the test."""
        if not test.get("command"):
            return [test["name"].removesuffix("_NOT_BUILT")]
        found = []
        for argument in test.get("command", []):
            path = Path(argument)
            if path.is_absolute() and path.is_relative_to(self.build):
                found.append(path.relative_to(self.build).as_posix())
        return found

    def run_tests(self, label, names, per_test_timeout, timeout):
        """(exit code or None on timeout, output) of the label's tests, or of the
        named ones among them."""
        command = ["ctest", "--test-dir", str(self.build), "-L", f"^{label}$", "-j2",
                   "--timeout", str(per_test_timeout), "--stop-on-failure", "--no-tests=error"]
        if names is not None:
            command += ["-R", "^(" + "|".join(re.sub(r"([][.*+?^$()|\\{}])", r"\\\1", n)
                                               for n in names) + ")$"]
        return run(command, timeout=timeout)

    def sources_of(self, artifacts):
        """The files of src/ that the artifacts are built from, headers included."""
        objects_deps = self._header_deps()
        code, output = run(["ninja", "-C", str(self.build), "-t", "inputs", *artifacts])
        if code != 0:
            raise RuntimeError(output)
        found = set()
        for line in output.splitlines():
            for path in [line, *objects_deps.get(line, ())]:
                path = Path(path)
                path = path if path.is_absolute() else self.build / path
                if path.is_relative_to(self.src):
                    found.add(path.relative_to(self.src).as_posix())
        return found

    def built_sources(self):
        """The files of src/ that anything in this build is made from; code for
        another system or processor is not among them."""
        if not hasattr(self, "_built"):
            self._built = self.sources_of(["all"])
        return self._built

    def _header_deps(self):
        if not hasattr(self, "_deps"):
            code, output = run(["ninja", "-C", str(self.build), "-t", "deps"])
            self._deps, current = {}, None
            for line in output.splitlines():
                if line and not line[0].isspace():
                    current = self._deps.setdefault(line.split(":", 1)[0], [])
                elif line.strip() and current is not None:
                    current.append(line.strip())
        return self._deps

    def forget_deps(self):
        self.__dict__.pop("_deps", None)
