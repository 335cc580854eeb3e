#!/usr/bin/env python3
"""The Wine tests read nitscope's report with report_shape; it must refuse every malformed line,
or those tests would pass on a broken report."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from report_shape import ShapeError, parse_report  # noqa: E402

ADAPTER = (
    "Adapter 0:\n"
    "  Device Name: Example Adapter\n"
    "  Device ID: 0abc:001f (rev a1)\n"
    "  Subsystem ID: 00ad:00de\n"
    "  LUID: 000000000000c2f1\n"
)
OUTPUT = (
    "    Output 0:\n"
    "      Device Name: Example Output\n"
    "      Coordinates: 800x600+60-800\n"
    "      Attached to desktop: TRUE\n"
    "      Bits-per-color: 10\n"
    "      Color space: DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020 (12)\n"
    "      Red primary: 0.640, 0.330\n"
    "      Green primary: 0.300, 0.600\n"
    "      Blue primary: 0.150, 0.060\n"
    "      White point: 0.313, 0.329\n"
    "      Min luminance: 1e-05 nits\n"
    "      Max luminance: 600 nits\n"
    "      Max full-frame luminance: 400 nits\n"
)
MODE = "      Desktop mode: DXGI_FORMAT_R10G10B10A2_UNORM (24)\n"
REPORT = ADAPTER + OUTPUT + MODE + OUTPUT.replace("Output 0", "Output 1")


class ReportShape(unittest.TestCase):
    def test_reads_blocks_values_and_optional_desktop_mode(self):
        adapters = parse_report(REPORT + ADAPTER.replace("Adapter 0", "Adapter 1"))
        self.assertEqual(len(adapters), 2)
        first, second = adapters[0]["outputs"]
        self.assertEqual((first["width"], first["height"], first["top"], first["left"]), (800, 600, 60, -800))
        self.assertEqual(first["desktop_mode"], ("DXGI_FORMAT_R10G10B10A2_UNORM", "24"))
        self.assertIsNone(second["desktop_mode"])
        self.assertEqual(adapters[1]["outputs"], [])
        self.assertEqual(parse_report(""), [])

    def test_refuses_every_malformed_report(self):
        broken = {
            "short LUID": REPORT.replace("LUID: 0000", "LUID: 000"),
            "output index out of order": REPORT.replace("Output 0", "Output 2"),
            "adapter index out of order": REPORT.replace("Adapter 0", "Adapter 1"),
            "trailing blank": REPORT.replace("(rev a1)", "(rev a1) "),
            "missing space before nits": REPORT.replace("600 nits", "600nits"),
            "wrong indentation": REPORT.replace("      Bits", "     Bits"),
            "two decimals": REPORT.replace("0.640", "0.64"),
            "one-digit exponent": REPORT.replace("1e-05", "1e-5"),
            "missing line": REPORT.replace("      Bits-per-color: 10\n", "", 1),
            "unknown line": REPORT + "extra\n",
            "no final line end": REPORT[:-1],
            "CR left in": REPORT.replace("\n", "\r\n"),
        }
        for what, text in broken.items():
            with self.subTest(what):
                with self.assertRaises(ShapeError):
                    parse_report(text)


if __name__ == "__main__":
    unittest.main()
