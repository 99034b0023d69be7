#!/usr/bin/env python3
"""Writes Lumeo's administrative templates: Lumeo.admx and one Lumeo.adml per language.

Every policy comes from the table Lumeo reads its policies by (job/policy/policy_table.h),
so a template can offer no name, type, range or keyword that Lumeo does not read. The
texts come from section [POLICY_TEMPLATES] of the UI string sources; the names of the
choices from the sections the sheet shows them by.

  gen-policy-templates.py [--out DIR]   write DIR/Lumeo.admx and DIR/<culture>/Lumeo.adml
                                        (DIR: resources/policy)
  gen-policy-templates.py --check       fail when resources/policy differs from the table
"""
import argparse
import configparser
import pathlib
import re
import sys
from xml.sax.saxutils import escape, quoteattr

ROOT = pathlib.Path(__file__).resolve().parent.parent
TABLE = ROOT / "job" / "policy" / "policy_table.h"
LANG_SRC = ROOT / "resources" / "lang" / "src"
DEFAULT_OUT = ROOT / "resources" / "policy"

KEY = r"Software\Policies\Lumeo"
NAMESPACE = "Lumeo.Policies.Lumeo"
SCHEMA = "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"
# Language code of the string file -> culture folder of its .adml.
CULTURES = {"EN": "en-US", "GR": "de-DE", "FN": "fr-FR", "JP": "ja-JP", "KR": "ko-KR"}

ROW = re.compile(r'^LUMEO_POLICY\((\w+), (Text|Keyword|Number|Switch), (\d+), (\d+), "([^"]*)", [^)]+\)$')


def read_table():
    rows = []
    for line in TABLE.read_text(encoding="utf-8").splitlines():
        if line.startswith("//") or not line.strip():
            continue
        match = ROW.match(line)
        if not match:
            sys.exit(f"{TABLE}: a row not in the table's form: {line}")
        name, kind, low, high, keywords = match.groups()
        rows.append({"name": name, "kind": kind, "low": int(low), "high": int(high), "keywords": keywords})
    if not rows:
        sys.exit(f"{TABLE}: no policy")
    return rows


def read_texts(code):
    ini = configparser.ConfigParser(interpolation=None, comment_prefixes=(";",), strict=True)
    ini.optionxform = str
    ini.read(LANG_SRC / f"LOCAL_{code}.ini", encoding="utf-8")
    return ini


# The choices of a Keyword row and where each one's name is: (section, key).
def choices(row, english):
    keywords = row["keywords"]
    if keywords in ("@PaperSizes", "@PaperTypes"):
        prefix, key = ("PAPER_INFO_", "NAME") if keywords == "@PaperSizes" else ("PAPERTYPE_INFO_", "TYPE")
        return [(s[len(prefix):], s, key) for s in english.sections() if s.startswith(prefix)]
    places = {
        "Duplex": lambda k: ("UI_ADVANCED_TAB", "IDC_RADIO_DUPLEX_" + k.upper()),
        "Color": lambda k: ("UI_ADVANCED_TAB", "IDC_RADIO_COLORMODE_" + k.upper()),
        "Language": lambda k: ("POLICY_TEMPLATES", "LANGUAGE_" + k.upper()),
        "IppCertificates": lambda k: ("POLICY_TEMPLATES", "IPPCERT_" + k.upper().replace("-", "_")),
    }
    if row["name"] not in places:
        sys.exit(f"no names for the choices of {row['name']}")
    return [(k, *places[row["name"]](k)) for k in keywords.split()]


def admx(rows, english):
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           f'<policyDefinitions xmlns="{SCHEMA}" revision="1.0" schemaVersion="1.0">',
           "  <policyNamespaces>",
           f'    <target prefix="lumeo" namespace="{NAMESPACE}" />',
           "  </policyNamespaces>",
           '  <resources minRequiredRevision="1.0" />',
           "  <supportedOn>",
           "    <definitions>",
           '      <definition name="SUPPORTED_Lumeo1" displayName="$(string.SUPPORTED_Lumeo1)" />',
           "    </definitions>",
           "  </supportedOn>",
           "  <categories>",
           '    <category name="Lumeo" displayName="$(string.Lumeo)" />',
           "  </categories>",
           "  <policies>"]
    for row in rows:
        name = row["name"]
        switch = row["kind"] == "Switch"
        head = (f'    <policy name="{name}" class="Both" displayName="$(string.{name})" '
                f'explainText="$(string.{name}_Help)" key={quoteattr(KEY)}')
        out.append(head + (f' valueName="{name}">' if switch else f' presentation="$(presentation.{name})">'))
        out += ['      <parentCategory ref="Lumeo" />', '      <supportedOn ref="SUPPORTED_Lumeo1" />']
        if switch:
            out += [f'      <enabledValue><decimal value="{row["high"]}" /></enabledValue>',
                    f'      <disabledValue><decimal value="{row["low"]}" /></disabledValue>']
        else:
            out.append("      <elements>")
            if row["kind"] == "Text":
                out.append(f'        <text id="{name}" valueName="{name}" maxLength="{row["high"]}" required="true" />')
            elif row["kind"] == "Number":
                out.append(f'        <decimal id="{name}" valueName="{name}" minValue="{row["low"]}" '
                           f'maxValue="{row["high"]}" required="true" />')
            else:
                out.append(f'        <enum id="{name}" valueName="{name}" required="true">')
                for keyword, _, _ in choices(row, english):
                    out.append(f'          <item displayName="$(string.{name}_{keyword.replace("-", "_")})">'
                               f"<value><string>{escape(keyword)}</string></value></item>")
                out.append("        </enum>")
            out.append("      </elements>")
        out.append("    </policy>")
    out += ["  </policies>", "</policyDefinitions>"]
    return "\n".join(out) + "\n"


def without_access_key(label):
    """A button's text as it reads: "&Long Edge" and "長辺とじ(&L)" without their keys, "&&" as "&"."""
    label = re.sub(r"\(&[^&]\)$", "", label)
    if not re.search(r"&[^&\s]", label):
        return label
    return re.sub(r"&(.)", r"\1", label)


def adml(rows, english, texts, code):
    def text(section, key):
        if not texts.has_option(section, key):
            sys.exit(f"LOCAL_{code}.ini has no [{section}] {key}")
        return texts.get(section, key)

    def string(sid, value):
        return f'      <string id="{sid}">{escape(value)}</string>'

    strings = [string("Lumeo", text("POLICY_TEMPLATES", "CATEGORY")),
               string("SUPPORTED_Lumeo1", text("POLICY_TEMPLATES", "SUPPORTED"))]
    presentations = []
    for row in rows:
        name = row["name"]
        strings.append(string(name, text("POLICY_TEMPLATES", name)))
        strings.append(string(name + "_Help", text("POLICY_TEMPLATES", name + "_HELP")))
        label = escape(text("POLICY_TEMPLATES", name + "_LABEL")) if row["kind"] != "Switch" else ""
        if row["kind"] == "Keyword":
            for keyword, section, key in choices(row, english):
                strings.append(string(f"{name}_{keyword.replace('-', '_')}", without_access_key(text(section, key))))
            control = f'<dropdownList refId="{name}" noSort="true" defaultItem="0">{label}</dropdownList>'
        elif row["kind"] == "Number":
            control = (f'<decimalTextBox refId="{name}" defaultValue="{row["low"]}" '
                       f'spinStep="1">{label}</decimalTextBox>')
        elif row["kind"] == "Text":
            control = f'<textBox refId="{name}"><label>{label}</label></textBox>'
        else:
            continue
        presentations.append(f'      <presentation id="{name}">{control}</presentation>')
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           f'<policyDefinitionResources xmlns="{SCHEMA}" revision="1.0" schemaVersion="1.0">',
           f"  <displayName>{escape(text('POLICY_TEMPLATES', 'CATEGORY'))}</displayName>",
           f"  <description>{escape(text('POLICY_TEMPLATES', 'DESCRIPTION'))}</description>",
           "  <resources>",
           "    <stringTable>", *strings, "    </stringTable>",
           "    <presentationTable>", *presentations, "    </presentationTable>",
           "  </resources>",
           "</policyDefinitionResources>"]
    return "\n".join(out) + "\n"


def templates():
    """(relative path, text) of every file."""
    rows = read_table()
    english = read_texts("EN")
    files = [("Lumeo.admx", admx(rows, english))]
    for code, culture in CULTURES.items():
        files.append((f"{culture}/Lumeo.adml", adml(rows, english, read_texts(code), code)))
    return files


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", type=pathlib.Path, default=DEFAULT_OUT)
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    stale = []
    for relative, text in templates():
        target = args.out / relative
        data = text.encode("utf-8")
        if args.check:
            if not target.exists() or target.read_bytes() != data:
                stale.append(relative)
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        if not target.exists() or target.read_bytes() != data:
            target.write_bytes(data)
    if stale:
        print("out of date (run tools/gen-policy-templates.py): " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
