#!/usr/bin/env python3
"""Two builds of one commit give the same nitscope.exe, zip and digest file: two copies of the
source in folders of different names, built one after the other with the README's two commands
under a different time zone, umask and locale. The zip's entries carry the commit's time,
SOURCE_DATE_EPOCH when it is set, and a fixed time in a source tree without git; no path of a
build folder reaches the output."""

import argparse
import os
import shutil
import subprocess
import sys
import time
import zipfile

FALLBACK_EPOCH = 315576060  # 1980-01-01 12:01:00 UTC


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def git(source, *args):
    return subprocess.run(["git", "-C", source, *args], check=True, stdout=subprocess.PIPE,
                          stdin=subprocess.DEVNULL).stdout.decode()


def copy_source(source, destination):
    """A clone of the source's commit with the source's uncommitted changes on top, so that
    the copy holds exactly the tree being tested."""
    subprocess.run(["git", "clone", "--quiet", "--no-hardlinks", source, destination], check=True,
                   stdin=subprocess.DEVNULL)
    changed = git(source, "ls-files", "--modified", "--others", "--exclude-standard", "-z").split("\0")
    for name in filter(None, changed):
        if os.path.isfile(os.path.join(source, name)):
            os.makedirs(os.path.dirname(os.path.join(destination, name)), exist_ok=True)
            shutil.copy2(os.path.join(source, name), os.path.join(destination, name))
    for name in filter(None, git(source, "ls-files", "--deleted", "-z").split("\0")):
        os.remove(os.path.join(destination, name))


def build(tree, log_path, **environment):
    """The README's two commands, in a clean environment plus `environment` (umask included)."""
    env = {k: v for k, v in os.environ.items() if k not in ("SOURCE_DATE_EPOCH", "TZ", "LC_ALL", "LANG")}
    umask = environment.pop("umask", 0o022)
    env.update(environment)
    with open(log_path, "ab") as log:
        for command in (["cmake", "--preset", "windows"], ["cmake", "--build", "--preset", "windows"]):
            result = subprocess.run(command, cwd=tree, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                    stderr=subprocess.STDOUT, timeout=900, preexec_fn=lambda: os.umask(umask))
            check(result.returncode == 0, f"{' '.join(command)} failed in {tree}; see {log_path}")


def outputs(tree, version):
    build_dir = os.path.join(tree, "build", "windows")
    zip_name = f"nitscope-{version}-win64.zip"
    return {
        "nitscope.exe": os.path.join(build_dir, "nitscope.exe"),
        zip_name: os.path.join(build_dir, "package", zip_name),
        zip_name + ".sha256": os.path.join(build_dir, "package", zip_name + ".sha256"),
    }


def read(path):
    with open(path, "rb") as file:
        return file.read()


def entry_times(zip_path):
    with zipfile.ZipFile(zip_path) as archive:
        return {info.filename: info.date_time for info in archive.infolist()}


def dos_time(epoch):
    """A zip entry's time as the DOS fields hold it: UTC here, in steps of two seconds."""
    moment = time.gmtime(epoch)
    return moment[:5] + (moment.tm_sec - moment.tm_sec % 2,)


def check_entry_times(zip_path, epoch, what):
    times = entry_times(zip_path)
    check(times and set(times.values()) == {dos_time(epoch)},
          f"{what}: entry times {sorted(set(times.values()))}, not {dos_time(epoch)} ({epoch})")


def check_no_build_paths(paths, trees):
    """Neither the exe nor anything in the zip names a folder of either build."""
    for path in paths:
        blobs = [read(path)]
        if path.endswith(".zip"):
            with zipfile.ZipFile(path) as archive:
                blobs += [archive.read(name) for name in archive.namelist()] + [" ".join(archive.namelist()).encode()]
        for tree in trees:
            for needle in (tree.encode(), os.path.basename(tree).encode()):
                check(not any(needle in blob for blob in blobs), f"{path} holds {needle!r}")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--source", required=True)
    parser.add_argument("--work-dir", required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()
    shutil.rmtree(args.work_dir, ignore_errors=True)
    os.makedirs(args.work_dir)
    log_path = os.path.join(args.work_dir, "build.log")
    first = os.path.join(args.work_dir, "first-clone")
    second = os.path.join(args.work_dir, "elsewhere", "another-name")
    try:
        copy_source(args.source, first)
        copy_source(args.source, second)
        commit_time = int(git(args.source, "log", "-1", "--format=%ct"))

        build(first, log_path, TZ="UTC", LC_ALL="C", umask=0o022)
        # Later, so that every file of the second build is at least two seconds younger.
        time.sleep(2.5)
        build(second, log_path, TZ="Pacific/Kiritimati", LC_ALL="C.UTF-8", umask=0o002)

        first_outputs, second_outputs = outputs(first, args.version), outputs(second, args.version)
        digests = {}
        for name, path in first_outputs.items():
            check(read(path) == read(second_outputs[name]), f"{name} differs between the two builds")
            digests[name] = subprocess.run(["sha256sum", path], check=True, stdout=subprocess.PIPE).stdout.split()[0]
        zip_path = first_outputs[f"nitscope-{args.version}-win64.zip"]
        check_entry_times(zip_path, commit_time, "a build of a commit")
        with zipfile.ZipFile(zip_path) as archive:
            names = archive.namelist()
        check(names == sorted(names), f"zip entries are not in name order: {names}")
        check_no_build_paths(list(first_outputs.values()), [first, second])

        # Built again (only the package step has work to do): the convention's variable wins;
        # without git, the fixed time.
        build(first, log_path, SOURCE_DATE_EPOCH="1700000000")
        check_entry_times(zip_path, 1700000000, "SOURCE_DATE_EPOCH=1700000000")
        shutil.rmtree(os.path.join(second, ".git"))
        build(second, log_path)
        check_entry_times(second_outputs[f"nitscope-{args.version}-win64.zip"], FALLBACK_EPOCH,
                          "a source tree without git (inside another repository's folder)")
        check(read(first_outputs["nitscope.exe"]) == read(second_outputs["nitscope.exe"]),
              "repackaging changed nitscope.exe")
    except (Failure, subprocess.SubprocessError, OSError) as error:
        print(f"FAIL: {error}")
        print(f"(builds and log in {args.work_dir})")
        return 1
    for name, digest in digests.items():
        print(f"ok {name} {digest.decode()}")
    shutil.rmtree(args.work_dir, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
