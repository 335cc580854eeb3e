"""Reads a nitscope report line by line, checking every line's label, indentation and value
format, and returns what it found as plain dictionaries."""

import re

HEX = r"[0-9a-f]"
G_NUMBER = r"-?(?:inf|nan|\d+(?:\.\d+)?(?:e[+-]\d{2,})?)"
FIXED3 = r"-?\d+\.\d{3}"
COORD = r"-?\d+"

ADAPTER_LINES = [
    ("index", rf"^Adapter (\d+):$"),
    ("name", r"^  Device Name: (.*)$"),
    ("device_id", rf"^  Device ID: ({HEX}{{4,}}:{HEX}{{4,}}) \(rev ({HEX}{{2,}})\)$"),
    ("subsystem_id", rf"^  Subsystem ID: ({HEX}{{4,}}:{HEX}{{4,}})$"),
    ("luid", rf"^  LUID: ({HEX}{{16}})$"),
]

OUTPUT_LINES = [
    ("index", r"^    Output (\d+):$"),
    ("name", r"^      Device Name: (.*)$"),
    ("coordinates", rf"^      Coordinates: ({COORD})x({COORD})([+-]\d+)([+-]\d+)$"),
    ("attached", r"^      Attached to desktop: (TRUE|FALSE)$"),
    ("bits_per_color", r"^      Bits-per-color: (\d+)$"),
    ("color_space", r"^      Color space: (DXGI_COLOR_SPACE_[A-Z0-9_]+|Unknown) \((\d+)\)$"),
    ("red", rf"^      Red primary: ({FIXED3}), ({FIXED3})$"),
    ("green", rf"^      Green primary: ({FIXED3}), ({FIXED3})$"),
    ("blue", rf"^      Blue primary: ({FIXED3}), ({FIXED3})$"),
    ("white", rf"^      White point: ({FIXED3}), ({FIXED3})$"),
    ("min_luminance", rf"^      Min luminance: ({G_NUMBER}) nits$"),
    ("max_luminance", rf"^      Max luminance: ({G_NUMBER}) nits$"),
    ("max_full_frame_luminance", rf"^      Max full-frame luminance: ({G_NUMBER}) nits$"),
]

DESKTOP_MODE = re.compile(r"^      Desktop mode: (DXGI_FORMAT_[A-Z0-9_]+|Unknown) \((\d+)\)$")


class ShapeError(Exception):
    pass


def _take_block(lines, at, layout):
    block = {}
    for key, pattern in layout:
        if at >= len(lines):
            raise ShapeError(f"report ends where the {key} line should be")
        match = re.match(pattern, lines[at])
        if not match:
            raise ShapeError(f"line {at + 1} is not the {key} line: {lines[at]!r}")
        groups = match.groups()
        block[key] = groups[0] if len(groups) == 1 else groups
        at += 1
    return block, at


def parse_report(text):
    """Returns a list of adapters, each with its "outputs"; raises ShapeError on any line that
    does not have its exact form, or on indices that do not count up from 0."""
    if text == "":
        return []
    if not text.endswith("\n"):
        raise ShapeError("report does not end with a line end")
    lines = text[:-1].split("\n")
    adapters = []
    at = 0
    while at < len(lines):
        adapter, at = _take_block(lines, at, ADAPTER_LINES)
        if int(adapter["index"]) != len(adapters):
            raise ShapeError(f"adapter {adapter['index']} where {len(adapters)} was due")
        adapter["outputs"] = []
        while at < len(lines) and lines[at].startswith("    Output "):
            output, at = _take_block(lines, at, OUTPUT_LINES)
            if int(output["index"]) != len(adapter["outputs"]):
                raise ShapeError(f"output {output['index']} where {len(adapter['outputs'])} was due")
            width, height, top, left = (int(v) for v in output["coordinates"])
            output.update(width=width, height=height, top=top, left=left)
            output["desktop_mode"] = None
            if at < len(lines):
                match = DESKTOP_MODE.match(lines[at])
                if match:
                    output["desktop_mode"] = match.groups()
                    at += 1
            adapter["outputs"].append(output)
        if at < len(lines) and not lines[at].startswith("Adapter "):
            raise ShapeError(f"line {at + 1} belongs to no block: {lines[at]!r}")
        adapters.append(adapter)
    return adapters
