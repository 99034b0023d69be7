#!/usr/bin/env python3
"""The administrative templates in resources/policy: what the generator makes of the
policy table today, well-formed XML, and every name the .admx uses defined in each .adml.
test_policy_templates.py <source root>"""
import pathlib
import re
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET

ROOT = pathlib.Path(sys.argv.pop(1) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2])
FOLDER = ROOT / "resources" / "policy"
NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
CULTURES = ["en-US", "de-DE", "fr-FR", "ja-JP", "ko-KR"]


class PolicyTemplates(unittest.TestCase):
    def test_they_are_what_the_table_makes(self):
        check = subprocess.run([sys.executable, str(ROOT / "tools" / "gen-policy-templates.py"), "--check"],
                               capture_output=True, text=True)
        self.assertEqual(check.returncode, 0, check.stderr)

    def test_every_name_the_admx_uses_is_in_every_adml(self):
        admx = ET.parse(FOLDER / "Lumeo.admx").getroot()
        text = (FOLDER / "Lumeo.admx").read_text(encoding="utf-8")
        strings = set(re.findall(r"\$\(string\.(\w+)\)", text))
        presentations = set(re.findall(r"\$\(presentation\.(\w+)\)", text))
        element_ids = {e.get("id") for e in admx.iterfind(".//p:elements/*", NS)}
        self.assertTrue(admx.findall(".//p:policy", NS))
        for culture in CULTURES:
            adml = ET.parse(FOLDER / culture / "Lumeo.adml").getroot()
            ids = [s.get("id") for s in adml.iterfind(".//p:stringTable/p:string", NS)]
            self.assertEqual(len(ids), len(set(ids)), culture)
            self.assertEqual(set(ids), strings, culture)
            shown = adml.findall(".//p:presentationTable/p:presentation", NS)
            self.assertEqual({p.get("id") for p in shown}, presentations, culture)
            self.assertEqual({c.get("refId") for p in shown for c in p}, element_ids, culture)


if __name__ == "__main__":
    unittest.main()
