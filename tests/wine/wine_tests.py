#!/usr/bin/env python3
"""Runs the cross-compiled nitscope.exe under Wine with a virtual X display, one set-up per
call, and checks the report against what the test set up (the screen sizes given to Xvfb) and
against a second view of the monitors (user32, through the monitors.exe helper). Values that
Wine makes up (adapter names, ids, LUIDs) are only checked for their form."""

import argparse
import glob
import os
import re
import select
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from report_shape import ShapeError, parse_report  # noqa: E402

RUN_TIMEOUT = 90
BOOT_TIMEOUT = 300
NOT_AVAILABLE = "DXGI_ERROR_NOT_AVAILABLE"


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def find_wine():
    for candidate in ("/usr/lib/wine/wine64", shutil.which("wine64"), shutil.which("wine")):
        if candidate and os.access(candidate, os.X_OK):
            return candidate
    raise Failure("no wine64 loader found (Debian: apt-get install wine64)")


def find_wineserver(wine):
    sibling = os.path.join(os.path.dirname(wine), "wineserver")
    if os.access(sibling, os.X_OK):
        return sibling
    found = shutil.which("wineserver")
    if not found:
        raise Failure("no wineserver found next to " + wine)
    return found


class Xvfb:
    """A virtual X server on a display number it picks itself."""

    def __init__(self, screens, xinerama, log_path):
        read_end, write_end = os.pipe()
        args = ["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-noreset"]
        if xinerama:
            args.append("+xinerama")
        for number, (width, height) in enumerate(screens):
            args += ["-screen", str(number), f"{width}x{height}x24"]
        self.log = open(log_path, "wb")
        self.process = subprocess.Popen(args, pass_fds=(write_end,), stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=subprocess.STDOUT)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], 30)
            chunk = os.read(read_end, 16) if ready else b""
            if not chunk:
                self.stop()
                raise Failure("Xvfb did not start; see " + log_path)
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
        self.log.close()


class WinePrefix:
    """A private Wine prefix of its own, so set-ups never share a wineserver or a desktop."""

    def __init__(self, work_dir, wine):
        self.wine = wine
        self.wineserver = find_wineserver(wine)
        self.path = os.path.join(work_dir, "prefix")
        self.work_dir = work_dir
        self.base_env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        self.base_env.update(WINEPREFIX=self.path, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                             WINEARCH="win64")
        self.call(["wineboot", "-i"], "wineboot", BOOT_TIMEOUT)

    def env(self, display=None, extra=None):
        env = dict(self.base_env)
        if display:
            env["DISPLAY"] = display
        env.update(extra or {})
        return env

    def call(self, args, log_name, timeout):
        log_path = os.path.join(self.work_dir, log_name + ".log")
        with open(log_path, "wb") as log:
            result = subprocess.run([self.wine] + args, env=self.env(), stdin=subprocess.DEVNULL,
                                    stdout=log, stderr=subprocess.STDOUT, timeout=timeout)
        self.wait_idle()
        check(result.returncode == 0, f"{' '.join(args)} failed ({result.returncode}); see {log_path}")

    def set_registry_value(self, key, name, value):
        self.call(["reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", value, "/f"], "reg", BOOT_TIMEOUT)

    def wait_idle(self):
        subprocess.run([self.wineserver, "-w"], env=self.env(), timeout=BOOT_TIMEOUT)

    def run(self, exe, name, display=None, extra_env=None, traced=False):
        """Runs `exe` with its stdout and stderr in files (Wine's helper processes inherit the
        handles, so a pipe might never see its end). Returns (exit status, stdout, stderr)."""
        out_path = os.path.join(self.work_dir, name + ".out")
        with open(out_path, "wb") as out:
            status, err = self.run_into(exe, out.fileno(), name, display, extra_env, traced)
        with open(out_path, "rb") as out:
            return status, text_mode_lines(out.read(), name + " stdout"), err

    def run_into(self, exe, stdout, name, display=None, extra_env=None, traced=False):
        """Runs `exe` with standard output going to `stdout` (a file descriptor) and its stderr
        in a file. Returns (exit status, stderr). When `traced`, Wine's debug trace shares
        stderr, with its own plain line ends, and stderr comes back as it is."""
        err_path = os.path.join(self.work_dir, name + ".err")
        with open(err_path, "wb") as err:
            try:
                result = subprocess.run([self.wine, exe], env=self.env(display, extra_env),
                                        cwd=os.path.dirname(exe), stdin=subprocess.DEVNULL,
                                        stdout=stdout, stderr=err, timeout=RUN_TIMEOUT)
            except subprocess.TimeoutExpired:
                raise Failure(f"{name} did not return within {RUN_TIMEOUT} s (waiting for a key?)")
        with open(err_path, "rb") as err:
            data = err.read()
        return result.returncode, data.decode("utf-8") if traced else text_mode_lines(data, name + " stderr")

    def close(self):
        subprocess.run([self.wineserver, "-k"], env=self.env(), timeout=60)


def text_mode_lines(data, what):
    """A Windows program's stdio is in text mode: every line end arrives as CR LF. Checks that,
    and gives the text with plain line ends."""
    text = data.decode("utf-8")
    check("\n" not in text.replace("\r\n", ""), f"{what} has a line end without CR: {text!r}")
    check("\r" not in text.replace("\r\n", ""), f"{what} has a stray CR: {text!r}")
    return text.replace("\r\n", "\n")


def user32_monitors(prefix, helpers, display):
    status, out, err = prefix.run(os.path.join(helpers, "monitors.exe"), "monitors", display)
    check(status == 0 and err == "", f"monitors.exe failed ({status}): {err}")
    monitors = {}
    for line in out.splitlines():
        device, left, top, right, bottom = line.rsplit(" ", 4)
        monitors[device] = (int(left), int(top), int(right), int(bottom))
    return monitors


def all_outputs(adapters):
    return [output for adapter in adapters for output in adapter["outputs"]]


def check_outputs_agree_with_user32(adapters, monitors):
    outputs = all_outputs(adapters)
    check(len(outputs) == len(monitors),
          f"{len(outputs)} outputs in the report, {len(monitors)} monitors in user32: {sorted(monitors)}")
    for output in outputs:
        name = output["name"]
        check(name in monitors, f"output {name!r} is not a user32 monitor ({sorted(monitors)})")
        left, top, right, bottom = monitors[name]
        check((output["left"], output["top"], output["width"], output["height"])
              == (left, top, right - left, bottom - top),
              f"{name}: report {output['coordinates']} but user32 has {monitors[name]}")


def run_display_setup(args, screens, xinerama=False, registry=None, extra_env=None, exe=None):
    """Boots a prefix, starts Xvfb with `screens`, runs nitscope and the monitor helper, and
    returns (status, adapters, stderr, monitors, stdout)."""
    wine = find_wine()
    prefix = WinePrefix(args.work_dir, wine)
    xvfb = None
    try:
        for key, name, value in registry or []:
            prefix.set_registry_value(key, name, value)
        xvfb = Xvfb(screens, xinerama, os.path.join(args.work_dir, "xvfb.log"))
        status, out, err = prefix.run(exe or args.exe, "nitscope", xvfb.display, extra_env)
        try:
            adapters = parse_report(out)
        except ShapeError as error:
            raise Failure(f"report shape: {error}\n{out}")
        check("Press any key" not in out, "nitscope paused although Wine gives it no console window of its own")
        monitors = user32_monitors(prefix, args.helpers, xvfb.display)
        return status, adapters, err, monitors, out
    finally:
        prefix.close()
        if xvfb:
            xvfb.stop()


def run_without_display(args, exe, name):
    """Boots a prefix of its own and runs `exe` there with no X display. Returns (exit status,
    stdout, stderr)."""
    prefix = WinePrefix(args.work_dir, find_wine())
    try:
        return prefix.run(exe, name)
    finally:
        prefix.close()


def check_clean_exit(status, err):
    check(status == 0, f"exit status {status}, stderr {err!r}")
    check(err == "", f"stderr is not empty: {err!r}")


def check_one_screen_report(status, adapters, err, monitors, screen):
    check_clean_exit(status, err)
    check(len(adapters) == 1, f"{len(adapters)} adapters")
    outputs = adapters[0]["outputs"]
    check(len(outputs) == 1, f"{len(outputs)} outputs")
    output = outputs[0]
    check(output["name"] == "\\\\.\\DISPLAY1", f"output name {output['name']!r}")
    check((output["width"], output["height"]) == screen, f"coordinates {output['coordinates']} for screen {screen}")
    check(output["attached"] == "TRUE", "output not attached to the desktop")
    check(output["desktop_mode"] is not None, "no desktop-mode line although Direct3D is available")
    check(adapters[0]["name"] != "", "adapter has no name")
    check_outputs_agree_with_user32(adapters, monitors)


def one_screen(args):
    screen = (1366, 768)
    status, adapters, err, monitors, _ = run_display_setup(args, [screen])
    check_one_screen_report(status, adapters, err, monitors, screen)


def no_direct3d(args):
    screen = (1024, 768)
    status, adapters, err, monitors, _ = run_display_setup(
        args, [screen], extra_env={"WINE_D3D_CONFIG": "renderer=no3d"})
    check_clean_exit(status, err)
    check(len(adapters) >= 1, "no adapter block")
    outputs = all_outputs(adapters)
    check(len(outputs) >= 1, "no output block")
    check(all(output["desktop_mode"] is None for output in outputs),
          "a desktop-mode line although no Direct3D device can be made")
    check((outputs[0]["width"], outputs[0]["height"]) == screen, f"coordinates {outputs[0]['coordinates']}")
    check_outputs_agree_with_user32(adapters, monitors)


def no_display(args):
    status, out, err = run_without_display(args, args.exe, "nitscope")
    check(out == "", f"stdout is not empty: {out!r}")
    check(err == "Failed to create DXGI factory: 0x887a0004\n", f"stderr: {err!r}")
    check(status == 1, f"exit status {status}")


def unwritable_stdout(args):
    """A report that cannot be written is a failed run on the real C runtime too: a full disk
    (/dev/full) and a pipe whose reader has gone."""
    wine = find_wine()
    prefix = WinePrefix(args.work_dir, wine)
    xvfb = Xvfb([(800, 600)], False, os.path.join(args.work_dir, "xvfb.log"))
    try:
        with open("/dev/full", "wb") as full:
            status, err = prefix.run_into(args.exe, full.fileno(), "full-disk", xvfb.display)
        check((status, err) == (1, "Failed to write report\n"), f"full disk: exit {status}, stderr {err!r}")

        read_end, write_end = os.pipe()
        os.close(read_end)
        try:
            status, err = prefix.run_into(args.exe, write_end, "closed-pipe", xvfb.display)
        finally:
            os.close(write_end)
        check((status, err) == (1, "Failed to write report\n"), f"closed pipe: exit {status}, stderr {err!r}")
    finally:
        prefix.close()
        xvfb.stop()


def two_screens(args):
    screens = [(1024, 768), (800, 600)]
    status, adapters, err, monitors, _ = run_display_setup(
        args, screens, xinerama=True, registry=[("HKCU\\Software\\Wine\\X11 Driver", "UseXRandR", "N")])
    check_clean_exit(status, err)
    outputs = all_outputs(adapters)
    check([output["name"] for output in outputs] == ["\\\\.\\DISPLAY1", "\\\\.\\DISPLAY2"],
          f"outputs {[output['name'] for output in outputs]}")
    check([int(output["index"]) for output in outputs] == [0, 1], "outputs are not 0 and 1 of one adapter")
    for output, screen in zip(outputs, screens):
        check((output["width"], output["height"]) == screen,
              f"{output['name']}: coordinates {output['coordinates']} for screen {screen}")
        check(output["attached"] == "TRUE", f"{output['name']} not attached")
    check_outputs_agree_with_user32(adapters, monitors)


def report_bytes(args):
    """The report pieces for fixed records must be the same bytes from the Windows build as
    from the host build."""
    host = subprocess.run([args.host_probe], stdout=subprocess.PIPE, check=True, timeout=60).stdout.decode("utf-8")
    status, windows, err = run_without_display(args, os.path.join(args.helpers, "report_probe.exe"), "report_probe")
    check(status == 0 and err == "", f"report_probe.exe failed ({status}): {err}")
    if windows != host:
        for number, (a, b) in enumerate(zip(host.splitlines(), windows.splitlines()), 1):
            check(a == b, f"line {number} differs: host {a!r}, Windows {b!r}")
        raise Failure(f"different lengths: host {len(host)} bytes, Windows {len(windows)} bytes")
    check(len(host) > 0, "the probe printed nothing")


def files_below(top):
    return sorted(os.path.relpath(os.path.join(root, name), top) for root, _, names in os.walk(top) for name in names)


def packaged_zip(args):
    """`cmake --install` and the release zip both hold the exe, README and licence in one
    folder, and the zipped exe runs."""
    installed = os.path.join(args.work_dir, "installed")
    subprocess.run(["cmake", "--install", args.windows_build_dir, "--prefix", installed], check=True,
                   stdout=subprocess.DEVNULL, timeout=60)
    check(files_below(installed) == ["LICENSE", "README.md", "nitscope.exe"],
          f"cmake --install lays out {files_below(installed)}")

    folder = f"nitscope-{args.version}-win64"
    archive = os.path.join(args.windows_build_dir, "package", folder + ".zip")
    check(os.path.isfile(archive), f"no package at {archive}")
    unpacked = os.path.join(args.work_dir, "unpacked")
    os.makedirs(unpacked)
    subprocess.run(["cmake", "-E", "tar", "xf", archive], cwd=unpacked, check=True, timeout=60)
    found = files_below(unpacked)
    check(found == sorted(f"{folder}/{name}" for name in ("LICENSE", "README.md", "nitscope.exe")),
          f"zip holds {found}")
    screen = (1280, 1024)
    status, adapters, err, monitors, _ = run_display_setup(
        args, [screen], exe=os.path.join(unpacked, folder, "nitscope.exe"))
    check_one_screen_report(status, adapters, err, monitors, screen)


def lavapipe_icd():
    found = sorted(glob.glob("/usr/share/vulkan/icd.d/lvp_icd.*.json"))
    check(found, "no lavapipe Vulkan driver (Debian: apt-get install mesa-vulkan-drivers)")
    return found[0]


def vulkan_devices(icd):
    """The devices Vulkan itself lists with only `icd` loaded, from vulkaninfo --summary."""
    vulkaninfo = shutil.which("vulkaninfo")
    check(vulkaninfo, "no vulkaninfo (Debian: apt-get install vulkan-tools)")
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env["VK_ICD_FILENAMES"] = icd
    result = subprocess.run([vulkaninfo, "--summary"], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=60)
    text = result.stdout.decode("utf-8", "replace")
    check(result.returncode == 0, f"vulkaninfo failed ({result.returncode}): {text}")
    devices = []
    for line in text.splitlines():
        if re.match(r"^GPU\d+:$", line):
            devices.append({})
        match = re.match(r"^\s+(\w+)\s+= (.*)$", line)
        if match and devices:
            devices[-1][match.group(1)] = match.group(2).strip()
    return devices


def vulkan(args):
    """wined3d on Vulkan, with Mesa's software driver: a second real renderer, whose vendor id
    (0x10005) is wider than its padded width."""
    icd = lavapipe_icd()
    devices = vulkan_devices(icd)
    check(len(devices) == 1, f"vulkaninfo lists {len(devices)} devices with {icd} alone")
    device = devices[0]
    screen = (1600, 900)
    status, adapters, err, monitors, _ = run_display_setup(
        args, [screen], extra_env={"WINE_D3D_CONFIG": "renderer=vulkan", "VK_ICD_FILENAMES": icd})
    check_one_screen_report(status, adapters, err, monitors, screen)
    adapter = adapters[0]
    check(adapter["name"] == device["deviceName"],
          f"adapter {adapter['name']!r}, but Vulkan calls the device {device['deviceName']!r}")
    ids = f"{int(device['vendorID'], 16):04x}:{int(device['deviceID'], 16):04x}"
    check(adapter["device_id"][0] == ids, f"Device ID {adapter['device_id'][0]}, but Vulkan has {ids}")


RELAY_CALL = re.compile(r"^([0-9a-f]+):Call (KERNEL32\.WriteFile|dxgi\.CreateDXGIFactory1)\(([^)]*)\)")


def main_thread_write_sizes(trace):
    """The byte counts of the WriteFile calls of the thread that created the DXGI factory, from
    a relay trace."""
    calls = [match.groups() for match in map(RELAY_CALL.match, trace.splitlines()) if match]
    threads = {thread for thread, function, _ in calls if function == "dxgi.CreateDXGIFactory1"}
    check(len(threads) == 1, f"CreateDXGIFactory1 called on threads {sorted(threads)}")
    return [int(arguments.split(",")[2], 16) for thread, function, arguments in calls
            if function == "KERNEL32.WriteFile" and thread in threads]


def piece_sizes(report):
    """The sizes of the report's pieces as they reach the file: adapter block, output block and
    desktop-mode line, each line ending in CR LF."""
    sizes = []
    for line in report.splitlines(keepends=True):
        size = len(line.encode("utf-8")) + 1
        if not sizes or line.startswith(("Adapter ", "    Output ", "      Desktop mode: ")):
            sizes.append(size)
        else:
            sizes[-1] += size
    return sizes


def ends_of(sizes):
    ends, total = set(), 0
    for size in sizes:
        total += size
        ends.add(total)
    return ends


def whole_writes(args):
    """Each report piece reaches the system whole: no WriteFile ends inside a piece. Wine's
    relay trace shows every WriteFile of the thread that made the DXGI factory, with its size."""
    wine = find_wine()
    prefix = WinePrefix(args.work_dir, wine)
    xvfb = None
    try:
        prefix.set_registry_value("HKCU\\Software\\Wine\\Debug", "RelayInclude",
                                  "KERNEL32.WriteFile;dxgi.CreateDXGIFactory1")
        relay = {"WINEDEBUG": "-all,+relay"}
        # Without a display: the failure line alone.
        status, out, trace = prefix.run(args.exe, "no-display", extra_env=relay, traced=True)
        line = "Failed to create DXGI factory: 0x887a0004\r\n"
        check((status, out) == (1, ""), f"no display: exit {status}, stdout {out!r}")
        check(line in trace, f"no failure line in stderr: {trace[-2000:]!r}")
        sizes = main_thread_write_sizes(trace)
        check(sizes == [len(line)], f"the failure line took writes of {sizes} bytes")
        # A running wineserver keeps the desktop of its first run, which had no display.
        prefix.close()

        xvfb = Xvfb([(1280, 720)], False, os.path.join(args.work_dir, "xvfb.log"))
        status, out, trace = prefix.run(args.exe, "nitscope", xvfb.display, relay, traced=True)
        check(status == 0, f"exit status {status}")
        adapters = parse_report(out)
        pieces = piece_sizes(out)
        check(len(adapters) == 1 and len(pieces) == 3, f"expected one adapter, one output and its mode:\n{out}")
        sizes = main_thread_write_sizes(trace)
        check(sum(sizes) == sum(pieces), f"writes of {sum(sizes)} bytes in all for a report of {sum(pieces)}")
        split = sorted(ends_of(sizes) - ends_of(pieces))
        check(not split, f"{len(sizes)} writes ({sizes}) for pieces of {pieces}: writes end inside a piece "
                         f"at bytes {split}")
    finally:
        prefix.close()
        if xvfb:
            xvfb.stop()


def dpi_manifest(args):
    """The manifest the loader reads (nitscope's, in a helper that reports what it got): both DPI
    settings come through, and the process is per-monitor aware (2)."""
    status, out, err = run_without_display(args, os.path.join(args.helpers, "dpi_awareness.exe"), "dpi_awareness")
    check_clean_exit(status, err)
    check(out == "dpiAwareness: PerMonitorV2, PerMonitor\ndpiAware: true/pm\nawareness: 2\n",
          f"the loader read: {out!r}")


SETUPS = {
    "one-screen": one_screen,
    "no-direct3d": no_direct3d,
    "no-display": no_display,
    "two-screens": two_screens,
    "unwritable-stdout": unwritable_stdout,
    "report-bytes": report_bytes,
    "zip": packaged_zip,
    "vulkan": vulkan,
    "whole-writes": whole_writes,
    "dpi-manifest": dpi_manifest,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("setup", choices=sorted(SETUPS))
    parser.add_argument("--windows-build-dir", required=True)
    parser.add_argument("--work-dir", required=True)
    parser.add_argument("--version", default="")
    parser.add_argument("--host-probe", default="")
    args = parser.parse_args()
    args.exe = os.path.join(args.windows_build_dir, "nitscope.exe")
    args.helpers = os.path.join(args.windows_build_dir, "tests", "wine", "helpers")
    if not os.path.isfile(args.exe):
        print(f"FAIL: {args.exe} is not built (cmake --build --preset windows)")
        return 1
    shutil.rmtree(args.work_dir, ignore_errors=True)
    os.makedirs(args.work_dir)
    try:
        SETUPS[args.setup](args)
    except (Failure, subprocess.SubprocessError, OSError) as error:
        print(f"FAIL {args.setup}: {error}")
        print(f"(logs and captured output in {args.work_dir})")
        return 1
    print(f"ok {args.setup}")
    shutil.rmtree(args.work_dir, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
