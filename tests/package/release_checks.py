#!/usr/bin/env python3
"""Checks of the release files that need a parser, for the package tests.

  release_checks.py manifests DIST VERSION RELEASE_URL MARKER
      the Scoop and winget manifests in DIST against the packages beside them; MARKER is the
      file that makes the program keep its data in %APPDATA%
  release_checks.py same-image UNSIGNED STRIPPED
      STRIPPED (a signed exe whose signature was removed) is UNSIGNED but for the PE checksum

Prints each fault and exits 1 when there is one.
"""
import hashlib
import json
import os
import re
import struct
import sys
import zipfile

import yaml

faults = []


def expect(condition, message):
    if not condition:
        faults.append(message)
    return condition


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def package_names(version):
    return {"x64": f"Brisvane-{version}-x64.zip", "x86": f"Brisvane-{version}-x86.zip",
            "setup": f"Brisvane-{version}-setup.exe"}


PROGRAMS = {"Brisvane.exe", "brisvane-report.exe"}


def check_scoop(dist, version, url, marker):
    path = os.path.join(dist, "scoop", "brisvane.json")
    with open(path, encoding="utf-8") as f:
        manifest = json.load(f)
    names = package_names(version)
    expect(manifest.get("version") == version, f"scoop: version {manifest.get('version')}")
    for key in ("description", "homepage", "license"):
        expect(manifest.get(key), f"scoop: no {key}")
    for scoop_arch, arch in (("64bit", "x64"), ("32bit", "x86")):
        entry = manifest.get("architecture", {}).get(scoop_arch, {})
        expect(entry.get("url") == f"{url}/{names[arch]}", f"scoop: {scoop_arch} url {entry.get('url')}")
        expect(entry.get("hash") == sha256(os.path.join(dist, names[arch])),
               f"scoop: {scoop_arch} hash is not the one of {names[arch]}")
    expect(set(manifest.get("bin", [])) == PROGRAMS, f"scoop: bin {manifest.get('bin')}")
    expect("persist" not in manifest, "scoop: persist would leave replaced files behind")
    pre_install = manifest.get("pre_install", "")
    pre_install = "\n".join(pre_install) if isinstance(pre_install, list) else pre_install
    expect(f'"$dir\\{marker}"' in pre_install, f"scoop: pre_install does not make {marker}: {pre_install}")


def load_yaml(path):
    with open(path, encoding="utf-8") as f:
        return yaml.safe_load(f)


def check_winget(dist, version, url):
    folder = os.path.join(dist, "winget")
    identifier = "Brisvane.Brisvane"
    files = {"version": f"{identifier}.yaml", "installer": f"{identifier}.installer.yaml",
             "defaultLocale": f"{identifier}.locale.en-US.yaml"}
    expect(sorted(os.listdir(folder)) == sorted(files.values()), f"winget: {os.listdir(folder)}")
    manifests = {kind: load_yaml(os.path.join(folder, name)) for kind, name in files.items()}
    schema_versions = set()
    for kind, manifest in manifests.items():
        expect(manifest.get("PackageIdentifier") == identifier, f"winget {kind}: identifier")
        expect(manifest.get("PackageVersion") == version, f"winget {kind}: version")
        expect(manifest.get("ManifestType") == kind, f"winget {kind}: ManifestType")
        schema_versions.add(str(manifest.get("ManifestVersion")))
    # One schema for the set, and one that has the nested installers of ZIPs.
    expect(len(schema_versions) == 1, f"winget: schema versions {schema_versions}")
    schema = schema_versions.pop() if len(schema_versions) == 1 else "0"
    expect(re.fullmatch(r"1\.\d+\.0", schema) and int(schema.split(".")[1]) >= 4,
           f"winget: schema {schema}")
    expect(re.fullmatch(r"[^.\s\\/:*?\"<>|]{1,32}(\.[^.\s\\/:*?\"<>|]{1,32}){1,7}", identifier),
           "winget: identifier pattern")

    locale = manifests["defaultLocale"]
    expect(manifests["version"].get("DefaultLocale") == locale.get("PackageLocale"),
           "winget: the default locale is not the locale file's")
    for key in ("Publisher", "PackageName", "License", "ShortDescription", "PackageUrl"):
        expect(locale.get(key), f"winget defaultLocale: no {key}")

    names = package_names(version)
    found = set()
    for installer in manifests["installer"].get("Installers", []):
        arch, kind = installer.get("Architecture"), installer.get("InstallerType")
        found.add((arch, kind))
        name = names["setup"] if kind == "nullsoft" else names.get(arch, "?")
        expect(installer.get("InstallerUrl") == f"{url}/{name}", f"winget {arch} {kind}: url")
        expect(installer.get("InstallerSha256") == sha256(os.path.join(dist, name)).upper(),
               f"winget {arch} {kind}: InstallerSha256 is not the one of {name}")
        if kind == "nullsoft":
            expect(installer.get("InstallerSwitches", {}).get("Silent") == "/S",
                   f"winget {arch}: silent switch")
        else:
            expect(installer.get("NestedInstallerType") == "portable", f"winget {arch} zip: nested type")
            nested = installer.get("NestedInstallerFiles", [])
            paths = {entry.get("RelativeFilePath") for entry in nested}
            aliases = [entry.get("PortableCommandAlias") for entry in nested]
            expect(paths == PROGRAMS, f"winget {arch} zip: nested files {paths}")
            expect(len(set(aliases)) == len(aliases), f"winget {arch} zip: aliases {aliases}")
            with zipfile.ZipFile(os.path.join(dist, name)) as archive:
                expect(paths <= set(archive.namelist()), f"winget {arch} zip: files not in {name}")
    expect(found == {(a, k) for a in ("x64", "x86") for k in ("nullsoft", "zip")},
           f"winget: installers {sorted(found)}")


def same_image(unsigned, stripped):
    with open(unsigned, "rb") as f:
        a = bytearray(f.read())
    with open(stripped, "rb") as f:
        b = bytearray(f.read())
    # The optional header's CheckSum: 4 + 20 + 64 bytes past the PE signature, in PE32 and PE32+.
    at = struct.unpack_from("<I", a, 0x3C)[0] + 88
    a[at:at + 4] = b[at:at + 4] = b"\0\0\0\0"
    expect(len(a) == len(b), f"{stripped}: {len(b)} bytes instead of {len(a)}")
    if len(a) == len(b):
        differ = [i for i in range(len(a)) if a[i] != b[i]]
        expect(not differ, f"{stripped}: {len(differ)} bytes differ from {unsigned}, the first at {differ[:1]}")


if __name__ == "__main__":
    if sys.argv[1:2] == ["manifests"] and len(sys.argv) == 6:
        dist, version, url, marker = sys.argv[2:]
        check_scoop(dist, version, url, marker)
        check_winget(dist, version, url)
    elif sys.argv[1:2] == ["same-image"] and len(sys.argv) == 4:
        same_image(*sys.argv[2:])
    else:
        sys.exit(__doc__)
    for fault in faults:
        print("FAILED:", fault)
    sys.exit(1 if faults else 0)
