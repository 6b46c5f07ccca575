#!/usr/bin/env python3
"""Checks the manifest embedded in a shipped exe, as Windows reads it.

    check-manifest.py EXE

Reads the RT_MANIFEST resources straight from the PE file and checks that
there is exactly one, with id 1 (the one the loader takes), and that it:
  - asks for asInvoker through trustInfo in the asm.v2 namespace
    (the form Windows XP reads; without a namespace of its own XP refuses
    to start the program),
  - lists the supportedOS ids of Vista, 7, 8, 8.1 and 10/11,
  - declares DPI awareness,
  - depends on the common controls 6,
  - declares no namespace twice on one element (Windows XP SP2 without
    hotfix 921337 restarts the machine on that).
Exits 1 with every fault found, 0 with one summary line.
"""
import re
import struct
import sys
import xml.etree.ElementTree as ET

RT_MANIFEST = 24
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V2 = "urn:schemas-microsoft-com:asm.v2"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPAT = "urn:schemas-microsoft-com:compatibility.v1"
SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
SUPPORTED_OS = {
    "Vista": "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
    "7": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "8": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "8.1": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "10/11": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
}


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not a PE file (no MZ header)")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file (no PE signature)")
        sections, optional_size = struct.unpack_from("<2xH12xH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (96 if magic == 0x10B else 112)
        self.resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            vsize, rva, raw_size, raw = struct.unpack_from("<8xIIII", data, table + 40 * i)
            self.sections.append((rva, max(vsize, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("RVA 0x%x lies in no section" % rva)

    def entries(self, directory):
        """(id or name, is_directory, offset from the resource root) of one directory."""
        base = self.offset(self.resource_rva)
        named, numbered = struct.unpack_from("<12xHH", self.data, base + directory)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
            key = name if not name & 0x80000000 else "#name"
            yield key, bool(target & 0x80000000), target & 0x7FFFFFFF

    def manifests(self):
        """[(id, language, bytes)] of every RT_MANIFEST resource."""
        found = []
        if not self.resource_rva:
            return found
        base = self.offset(self.resource_rva)
        for kind, _, types in self.entries(0):
            if kind != RT_MANIFEST:
                continue
            for ident, _, languages in self.entries(types):
                for language, _, leaf in self.entries(languages):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(rva)
                    found.append((ident, language, self.data[start:start + size]))
        return found


def doubled_namespaces(text):
    """Start tags that declare one namespace URI twice."""
    faults = []
    for tag in re.finditer(r"<([A-Za-z_][\w.:-]*)((?:\s+[\w.:-]+\s*=\s*(?:\"[^\"]*\"|'[^']*'))*)\s*/?>", text):
        uris = re.findall(r"\bxmlns(?::[\w.-]+)?\s*=\s*[\"']([^\"']*)[\"']", tag.group(2))
        for uri in set(uris):
            if uris.count(uri) > 1:
                faults.append("<%s> declares %s %d times" % (tag.group(1), uri, uris.count(uri)))
    return faults


def check_manifest(text):
    faults = doubled_namespaces(text)
    root = ET.fromstring(text)
    if root.tag != "{%s}assembly" % ASM_V1:
        return faults + ["the root is %s, not an asm.v1 assembly" % root.tag]

    trust = [e for e in root if e.tag.endswith("}trustInfo") or e.tag == "trustInfo"]
    if not trust:
        faults.append("no trustInfo: Windows Vista to 11 run the program as a legacy program")
    for t in trust:
        if t.tag != "{%s}trustInfo" % ASM_V2:
            faults.append("trustInfo in %s, not in the asm.v2 form Windows XP reads" % t.tag.split("}")[0][1:])
            continue
        levels = t.findall("{0}security/{0}requestedPrivileges/{0}requestedExecutionLevel".format("{%s}" % ASM_V2))
        if [e.get("level") for e in levels] != ["asInvoker"]:
            faults.append("requestedExecutionLevel is %s, not asInvoker" % [e.get("level") for e in levels])
        elif levels[0].get("uiAccess", "false") != "false":
            faults.append("uiAccess is not false")

    ids = {e.get("Id", "").lower() for e in root.iter("{%s}supportedOS" % COMPAT)}
    for name, guid in SUPPORTED_OS.items():
        if guid not in ids:
            faults.append("no supportedOS for Windows %s" % name)

    aware = [e.text.strip().lower() for e in root.iter("{%s}dpiAware" % SETTINGS_2005) if e.text]
    settings = root.findall("{0}application/{0}windowsSettings".format("{%s}" % ASM_V3))
    if not settings or aware not in (["true"], ["true/pm"], ["per monitor"]):
        faults.append("not declared DPI aware (asm.v3 application/windowsSettings/dpiAware true)")

    controls = [
        a for a in root.iter("{%s}assemblyIdentity" % ASM_V1)
        if a.get("name") == "Microsoft.Windows.Common-Controls" and a.get("version", "").startswith("6.")
        and a.get("publicKeyToken") == "6595b64144ccf1df"
    ]
    if not controls:
        faults.append("no dependency on the common controls 6")
    return faults


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: check-manifest.py EXE")
    exe = sys.argv[1]
    with open(exe, "rb") as f:
        pe = PeFile(f.read())
    manifests = pe.manifests()
    if len(manifests) != 1 or manifests[0][0] != 1:
        print("%s: %d manifest resources %s; the loader wants exactly one, id 1"
              % (exe, len(manifests), [(i, l) for i, l, _ in manifests]))
        sys.exit(1)
    text = manifests[0][2].decode("utf-8-sig")
    faults = check_manifest(text)
    if faults:
        print("%s: manifest faults:\n  %s" % (exe, "\n  ".join(faults)))
        sys.exit(1)
    print("%s: manifest checked: asm.v2 trustInfo asInvoker, supportedOS Vista to 10/11, "
          "DPI aware, common controls 6" % exe)


if __name__ == "__main__":
    main()
