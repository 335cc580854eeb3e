#!/usr/bin/env python3
"""Checks the built nitscope.exe itself with a PE reader: PE32+ x64 console program, imports
from Windows system DLLs only, the embedded manifest, the version resource, no build time
anywhere in the file, and the size of the stripped file."""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

import pefile

SYSTEM_DLLS = {"dxgi.dll", "d3d11.dll", "kernel32.dll", "user32.dll", "msvcrt.dll"}
REQUIRED_DLLS = {"dxgi.dll", "d3d11.dll", "msvcrt.dll"}
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  # Vista
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # 10 and 11
}
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
DPI_AWARENESS = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness"
DPI_AWARE = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware"
# The dpiAwareness values Windows knows; it takes the first of the list that it knows.
DPI_AWARENESS_VALUES = ("unaware", "system", "permonitor", "permonitorv2")
RT_MANIFEST = 24
SIZE_BUDGET = 64 * 1024

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def resource_data(pe, type_id, name_id):
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    if resources is None:
        return None
    for type_entry in resources.entries:
        if type_entry.id != type_id:
            continue
        for name_entry in type_entry.directory.entries:
            if name_entry.id != name_id:
                continue
            for language in name_entry.directory.entries:
                rva, size = language.data.struct.OffsetToData, language.data.struct.Size
                return pe.get_data(rva, size)
    return None


def check_headers(pe):
    check(pe.FILE_HEADER.Machine == pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"], "not an x64 image")
    check(pe.OPTIONAL_HEADER.Magic == pefile.OPTIONAL_HEADER_MAGIC_PE_PLUS, "not PE32+")
    check(pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_CUI"],
          f"subsystem {pe.OPTIONAL_HEADER.Subsystem}, not the console subsystem")
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    for name in ("IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE", "IMAGE_DLLCHARACTERISTICS_NX_COMPAT"):
        check(flags & pefile.DLL_CHARACTERISTICS[name], f"{name} is not set")


def check_imports(pe):
    imported = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    check(imported <= SYSTEM_DLLS, f"imports beyond the Windows system DLLs: {sorted(imported - SYSTEM_DLLS)}")
    check(REQUIRED_DLLS <= imported, f"missing imports: {sorted(REQUIRED_DLLS - imported)}")


def check_manifest(pe):
    data = resource_data(pe, RT_MANIFEST, 1)
    check(data is not None, "no manifest resource (type 24, id 1)")
    if data is None:
        return
    try:
        root = ElementTree.fromstring(data)
    except ElementTree.ParseError as error:
        check(False, f"the manifest is not XML: {error}")
        return
    levels = [element.get("level") for element in root.iter() if element.tag.endswith("}requestedExecutionLevel")]
    check(levels == ["asInvoker"], f"requestedExecutionLevel {levels}")
    ids = {element.get("Id").lower() for element in root.iter() if element.tag.endswith("}supportedOS")}
    check(ids == SUPPORTED_OS, f"supportedOS {sorted(ids)}")
    check_dpi_settings(root)


def check_dpi_settings(root):
    """Per-monitor DPI awareness, in both elements, where and as the loader reads them: in the
    asm.v3 windowsSettings of the application, in their own namespaces."""
    settings = root.findall(f"{ASM_V3}application/{ASM_V3}windowsSettings")
    check(len(settings) == 1, f"{len(settings)} asm.v3 application/windowsSettings elements")
    if len(settings) != 1:
        return
    awareness = settings[0].findall(DPI_AWARENESS)
    aware = settings[0].findall(DPI_AWARE)
    check(len(awareness) == 1, f"{len(awareness)} dpiAwareness elements in the 2016 namespace")
    check(len(aware) == 1, f"{len(aware)} dpiAware elements in the 2005 namespace")
    if awareness:
        values = [value.strip().lower() for value in (awareness[0].text or "").split(",")]
        known = [value for value in values if value in DPI_AWARENESS_VALUES]
        check(known[:1] == ["permonitorv2"], f"dpiAwareness {awareness[0].text!r} does not start with PerMonitorV2")
        # Windows 10 1607 knows PerMonitor but not yet PerMonitorV2.
        check(known[1:2] == ["permonitor"], f"dpiAwareness {awareness[0].text!r} has no PerMonitor after it")
    if aware:
        check((aware[0].text or "").strip().lower() == "true/pm", f"dpiAware {aware[0].text!r}, not true/pm")


def check_no_time(pe):
    """Nothing in the file says when it was built, so two builds of one commit are the same
    bytes: no link time in the PE header, none in the resource directories, no file date."""
    check(pe.FILE_HEADER.TimeDateStamp == 0, f"PE header TimeDateStamp {pe.FILE_HEADER.TimeDateStamp}")
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    stamps = []
    if resources is not None:
        stamps.append(resources.struct.TimeDateStamp)
        for type_entry in resources.entries:
            stamps.append(type_entry.directory.struct.TimeDateStamp)
            stamps += [name_entry.directory.struct.TimeDateStamp for name_entry in type_entry.directory.entries]
    check(set(stamps) <= {0}, f"resource directory times {sorted(set(stamps))}")
    check(not hasattr(pe, "DIRECTORY_ENTRY_DEBUG"), "a debug directory, which carries its own time")
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    if fixed is not None:
        check((fixed.FileDateMS, fixed.FileDateLS) == (0, 0), "the fixed file info has a file date")


def copyright_line(license_path):
    with open(license_path, encoding="utf-8") as license_file:
        return next((line.strip() for line in license_file if line.startswith("Copyright ")), None)


def check_version(pe, version, license_path):
    strings = {}
    for info in getattr(pe, "FileInfo", []):
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    check(strings.get("FileVersion") == version, f"FileVersion {strings.get('FileVersion')!r}")
    check(strings.get("ProductVersion") == version, f"ProductVersion {strings.get('ProductVersion')!r}")
    check(strings.get("ProductName") == "nitscope", f"ProductName {strings.get('ProductName')!r}")
    check(strings.get("OriginalFilename") == "nitscope.exe", f"OriginalFilename {strings.get('OriginalFilename')!r}")
    expected_copyright = copyright_line(license_path)
    check(expected_copyright and strings.get("LegalCopyright") == expected_copyright,
          f"LegalCopyright {strings.get('LegalCopyright')!r}, but LICENSE has {expected_copyright!r}")
    description = strings.get("FileDescription", "")
    check(description != "" and "\n" not in description, f"FileDescription {description!r}")
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    check(fixed is not None, "no fixed file info")
    if fixed is not None:
        major, minor, patch = (int(part) for part in version.split("."))
        numbers = ((major << 16) | minor, patch << 16)
        check((fixed.FileVersionMS, fixed.FileVersionLS) == numbers, "fixed file version does not match")
        check((fixed.ProductVersionMS, fixed.ProductVersionLS) == numbers, "fixed product version does not match")


def check_stripped_size(exe, strip):
    with tempfile.TemporaryDirectory() as scratch:
        copy = os.path.join(scratch, "nitscope.exe")
        shutil.copyfile(exe, copy)
        subprocess.run([strip, copy], check=True)
        size = os.path.getsize(copy)
    check(size <= SIZE_BUDGET, f"stripped size {size} bytes is over the {SIZE_BUDGET}-byte budget")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("exe")
    parser.add_argument("--version", required=True)
    parser.add_argument("--license", required=True)
    parser.add_argument("--strip", default="x86_64-w64-mingw32-strip")
    args = parser.parse_args()
    if not os.path.isfile(args.exe):
        print(f"FAIL: {args.exe} is not built (cmake --build --preset windows)")
        return 1
    pe = pefile.PE(args.exe)
    check_headers(pe)
    check_imports(pe)
    check_manifest(pe)
    check_version(pe, args.version, args.license)
    check_no_time(pe)
    check_stripped_size(args.exe, args.strip)
    for failure in failures:
        print("FAIL:", failure)
    if not failures:
        print("ok", args.exe)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
