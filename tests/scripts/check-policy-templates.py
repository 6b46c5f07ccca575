#!/usr/bin/env python3
"""Checks the administrative templates against Group Policy's schema and
against the program's own table of policies.

usage: check-policy-templates.py POLICY_TABLE_PROGRAM TEMPLATES_DIR SCHEMA_DIR

- Ferlane.admx and each language's Ferlane.adml follow the schema (xmllint);
- every value the ADMX writes is one the program reads, with the same kind
  and range, and every value the program reads is in the ADMX;
- every $(string.X) and $(presentation.X) of the ADMX resolves in every
  language, and each presentation's controls name the policy's elements.
"""
import re
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

NS = {"pd": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
KEY = r"Software\Policies\Ferlane"
LANGUAGES = ("fr-FR", "en-US")

failures = []


def fail(message):
    failures.append(message)


def program_table(program):
    out = subprocess.run([program], check=True, capture_output=True, text=True).stdout
    table = {}
    for line in out.splitlines():
        name, kind, low, high = line.split()
        table[name] = (kind, int(low), int(high)) if kind == "number" else (kind,)
    return table


def template_values(admx):
    """What each policy writes: value name -> (kind, min, max) or (text,)."""
    values = {}
    for policy in admx.iterfind(".//pd:policies/pd:policy", NS):
        name = policy.get("name")
        if policy.get("key") != KEY:
            fail(f"policy {name}: key {policy.get('key')!r}, the program reads {KEY!r}")
        if policy.get("class") != "Both":
            fail(f"policy {name}: class {policy.get('class')!r}, the program reads the machine's and the user's")
        if policy.get("valueName"):
            numbers = [int(d.get("value")) for d in policy.iterfind("pd:enabledValue/pd:decimal", NS)]
            numbers += [int(d.get("value")) for d in policy.iterfind("pd:disabledValue/pd:decimal", NS)]
            if not numbers:
                fail(f"policy {name}: no decimal enabled or disabled value")
                continue
            values[policy.get("valueName")] = ("number", min(numbers), max(numbers))
        for element in policy.iterfind("pd:elements/*", NS):
            tag = element.tag.split("}")[1]
            value = element.get("valueName")
            if element.get("key") not in (None, KEY):
                fail(f"policy {name}: element {value} under another key")
            if tag == "text":
                values[value] = ("text",)
            elif tag == "decimal":
                values[value] = ("number", int(element.get("minValue", "0")), int(element.get("maxValue", "9999")))
            else:
                fail(f"policy {name}: element <{tag}> that the program does not read")
    return values


def references(path, kind):
    return set(re.findall(r"\$\(" + kind + r"\.([A-Za-z0-9_]+)\)", path.read_text(encoding="utf-8")))


def main():
    program, templates, schema = sys.argv[1], Path(sys.argv[2]), Path(sys.argv[3])
    admx_path = templates / "Ferlane.admx"
    adml_paths = [templates / lang / "Ferlane.adml" for lang in LANGUAGES]
    xsd = schema / "PolicyDefinitionFiles.xsd"
    if not xsd.is_file():
        print(f"FAIL: Group Policy's schema is not at {xsd}")
        return 1
    checked = subprocess.run(["xmllint", "--noout", "--schema", str(xsd), str(admx_path)] + [str(p) for p in adml_paths],
                             capture_output=True, text=True)
    if checked.returncode != 0:
        fail("the templates do not follow the schema:\n" + checked.stderr)

    admx = ET.parse(admx_path).getroot()
    table = program_table(program)
    written = template_values(admx)
    for name in sorted(set(written) - set(table)):
        fail(f"the templates write {name}, which the program does not read")
    for name in sorted(set(table) - set(written)):
        fail(f"the program reads {name}, which no template writes")
    for name in sorted(set(table) & set(written)):
        if table[name] != written[name]:
            fail(f"{name}: the program reads {table[name]}, the templates write {written[name]}")

    strings, presentations = references(admx_path, "string"), references(admx_path, "presentation")
    elements = {p.get("name"): {e.get("id") for e in p.iterfind("pd:elements/*", NS)}
                for p in admx.iterfind(".//pd:policies/pd:policy", NS)}
    for adml_path in adml_paths:
        adml = ET.parse(adml_path).getroot()
        ids = {s.get("id") for s in adml.iterfind(".//pd:stringTable/pd:string", NS)}
        for missing in sorted(strings - ids):
            fail(f"{adml_path.parent.name}: no string {missing}")
        shown = {p.get("id"): p for p in adml.iterfind(".//pd:presentationTable/pd:presentation", NS)}
        for missing in sorted(presentations - set(shown)):
            fail(f"{adml_path.parent.name}: no presentation {missing}")
        for policy in admx.iterfind(".//pd:policies/pd:policy", NS):
            ref = re.fullmatch(r"\$\(presentation\.(\w+)\)", policy.get("presentation") or "")
            if not ref or ref.group(1) not in shown:
                if elements[policy.get("name")]:
                    fail(f"{adml_path.parent.name}: policy {policy.get('name')} has elements but no presentation")
                continue
            refs = {c.get("refId") for c in shown[ref.group(1)] if c.get("refId")}
            if refs != elements[policy.get("name")]:
                fail(f"{adml_path.parent.name}: presentation {ref.group(1)} shows {sorted(refs)}, "
                     f"the policy has {sorted(elements[policy.get('name')])}")

    for message in failures:
        print("FAIL:", message)
    if not failures:
        print(f"ok: {len(table)} policies in the program and the templates, {len(LANGUAGES)} languages")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
