#!/usr/bin/python3
"""Test: the two packages hold what a player needs, and their pieces agree with each other.

    check_packages.py PACKAGES_DIR VERSION DESKTOP_ID ICON_SIZES CXX_FLAGS

ICON_SIZES: the icon's sizes separated by commas (VEXILO_ICON_SIZES of CMakeLists.txt).
CXX_FLAGS: the flags the program was compiled with (the build's CMAKE_CXX_FLAGS).

The .deb: its control fields (version, section, a description, dependencies computed from
the binary plus Qt's platform plugins), exactly the expected files, the command linking to
the program, and the desktop entry, icon, metainfo and manual page naming one another
correctly. The archive: one folder with the program, the README and the icon, its program
the very binary of the .deb. Prints each check; exits 1 when any fails.
"""
import configparser
import io
import os
import subprocess
import sys
import tarfile
import tempfile
import xml.etree.ElementTree as ET

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what, flush=True)
    if not condition:
        failures.append(what)


def run(*args):
    return subprocess.run(args, check=True, stdout=subprocess.PIPE).stdout


def deb_members(deb):
    """The data archive's members by path (without the leading './')."""
    data = run("dpkg-deb", "--fsys-tarfile", deb)
    with tarfile.open(fileobj=io.BytesIO(data)) as tar:
        members = {m.name.lstrip("./").rstrip("/"): m for m in tar.getmembers()}
        contents = {name: tar.extractfile(m).read()
                    for name, m in members.items() if m.isfile()}
    members.pop("", None)
    return members, contents


def check_hardening(binary, cxx_flags):
    """The program was built with Debian's flags (dpkg-buildflags, hardening=+all): a
    position-independent executable, read-only relocations resolved at start (RELRO and
    BIND_NOW), the stack protector, and _FORTIFY_SOURCE among the flags it was compiled
    with (`cxx_flags`, the build's CMAKE_CXX_FLAGS: the binary shows fortified calls only
    where the compiler knew a buffer's size)."""
    with tempfile.NamedTemporaryFile(suffix=".elf") as f:
        f.write(binary)
        f.flush()
        header = run("readelf", "-h", "-W", f.name).decode()
        dynamic = run("readelf", "-d", "-W", f.name).decode()
        segments = run("readelf", "-l", "-W", f.name).decode()
        symbols = [s.split("@")[0] for s in run("nm", "-D", f.name).decode().split()]
    check("DYN (" in header, "the program is a position-independent executable (PIE)")
    check("GNU_RELRO" in segments, "the program has a RELRO segment")
    check("BIND_NOW" in dynamic or " NOW" in dynamic, "the program binds every symbol at start")
    check("__stack_chk_fail" in symbols, "the program is built with the stack protector")
    fortified = sorted({s for s in symbols if s.startswith("__") and s.endswith("_chk")}
                       - {"__stack_chk_fail"})
    check("-D_FORTIFY_SOURCE=2" in cxx_flags and "-fstack-protector-strong" in cxx_flags,
          f"compiled with _FORTIFY_SOURCE and the stack protector (fortified calls in the "
          f"binary: {fortified[:4] or 'none'})")


def main():
    packages, version, desktop_id = sys.argv[1:4]
    arch = run("dpkg", "--print-architecture").decode().strip()
    deb = os.path.join(packages, f"vexilo_{version}_{arch}.deb")
    portable = f"vexilo-{version}-linux-{os.uname().machine}"
    archive = os.path.join(packages, portable + ".tar.gz")
    check(os.path.isfile(deb), f"the .deb is there: {deb}")
    check(os.path.isfile(archive), f"the portable archive is there: {archive}")
    if failures:
        return 1

    # -- control fields ----------------------------------------------------------------------
    field = {}
    for name in ("Package", "Version", "Architecture", "Section", "Priority", "Maintainer",
                 "Depends", "Recommends", "Description", "Homepage"):
        field[name] = run("dpkg-deb", "--field", deb, name).decode().strip()
    check(field["Package"] == "vexilo" and field["Version"] == version
          and field["Architecture"] == arch,
          f"package vexilo, version {version}, architecture {arch} ({field['Package']}, "
          f"{field['Version']}, {field['Architecture']})")
    check(field["Section"] == "utils" and field["Priority"] == "optional",
          f"section utils, priority optional ({field['Section']}, {field['Priority']})")
    check("<" in field["Maintainer"] and field["Maintainer"].endswith(">"),
          f"a maintainer with an address ({field['Maintainer']})")
    synopsis, _, extended = field["Description"].partition("\n")
    check(0 < len(synopsis) <= 80 and len(extended.split()) > 20,
          f"a synopsis and an extended description ({synopsis!r}, "
          f"{len(extended.split())} words)")
    depends = [d.strip().split(" ")[0] for d in field["Depends"].split(",")]
    # From dpkg-shlibdeps: the libraries the binary links, with versions.
    for lib in ("libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6",
                "libqt6network6"):
        check(lib in depends, f"Depends names {lib} (computed from the binary)")
    for pkg in ("qt6-qpa-plugins", "qt6-translations-l10n", "fonts-liberation", "fonts-dejavu-extra"):
        check(pkg in depends, f"Depends names {pkg}")
    check(field.get("Recommends") == "fonts-ipafont-gothic",
          f"Recommends names the Japanese label face ({field.get('Recommends')})")

    # -- files -----------------------------------------------------------------------------
    members, contents = deb_members(deb)
    files = {n for n, m in members.items() if not m.isdir()}
    sizes = tuple(int(s) for s in sys.argv[4].split(","))
    expected = {
        "usr/lib/vexilo/Vexilo", "usr/bin/vexilo",
        f"usr/share/applications/{desktop_id}.desktop",
        f"usr/share/metainfo/{desktop_id}.metainfo.xml",
        f"usr/share/icons/hicolor/scalable/apps/{desktop_id}.svg",
        "usr/share/man/man1/vexilo.1.gz",
        "usr/share/doc/vexilo/copyright", "usr/share/doc/vexilo/changelog.gz",
    } | {f"usr/share/icons/hicolor/{s}x{s}/apps/{desktop_id}.png" for s in sizes}
    check(files == expected, "the .deb holds exactly the expected files"
          + (f"; missing {sorted(expected - files)}" if expected - files else "")
          + (f"; unexpected {sorted(files - expected)}" if files - expected else ""))
    if files != expected:
        return 1
    program = members["usr/lib/vexilo/Vexilo"]
    check(program.isfile() and program.mode == 0o755 and
          contents["usr/lib/vexilo/Vexilo"][:4] == b"\x7fELF",
          f"usr/lib/vexilo/Vexilo is an executable ELF file (mode {program.mode:o})")
    check_hardening(contents["usr/lib/vexilo/Vexilo"], sys.argv[5] if len(sys.argv) > 5 else "")
    link = members["usr/bin/vexilo"]
    target = os.path.normpath(os.path.join("usr/bin", link.linkname)) if link.issym() else None
    check(target == "usr/lib/vexilo/Vexilo",
          f"usr/bin/vexilo links to the program ({link.linkname if link.issym() else 'no link'})")
    check(all(m.uid == 0 and m.gid == 0 for m in members.values()),
          "every file belongs to root")
    check(all(m.mode == 0o644 for n, m in members.items()
              if m.isfile() and n != "usr/lib/vexilo/Vexilo"), "the other files are 0644")

    # -- desktop entry, icon, metainfo, manual page name one another -------------------------
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read_string(contents[f"usr/share/applications/{desktop_id}.desktop"].decode())
    desktop = entry["Desktop Entry"]
    command = desktop["Exec"].split()[0]
    check(f"usr/bin/{command}" in members,
          f"the entry's Exec command {command} is in usr/bin")
    check(f"usr/share/man/man1/{command}.1.gz" in members,
          f"the command {command} has its manual page")
    check(desktop["Icon"] == desktop_id, f"the entry's icon is {desktop_id} ({desktop['Icon']})")
    check(all(k in desktop for k in ("Name", "Name[ru]", "Comment", "Comment[ru]")),
          "the entry has English and Russian Name and Comment")
    for s in sizes:
        png = contents[f"usr/share/icons/hicolor/{s}x{s}/apps/{desktop_id}.png"]
        width = int.from_bytes(png[16:20], "big")
        height = int.from_bytes(png[20:24], "big")
        check(png[:8] == b"\x89PNG\r\n\x1a\n" and (width, height) == (s, s),
              f"the {s}x{s} icon is a {width}x{height} PNG")
    meta = ET.fromstring(contents[f"usr/share/metainfo/{desktop_id}.metainfo.xml"])
    check(meta.findtext("id") == desktop_id, f"the metainfo's id is {desktop_id}")
    check(meta.findtext("launchable") == f"{desktop_id}.desktop",
          "the metainfo launches the desktop entry")
    releases = [r.get("version") for r in meta.iter("release")]
    check(releases[:1] == [version], f"the metainfo's newest release is {version} ({releases})")
    check(meta.find("content_rating") is not None and
          meta.find("screenshots/screenshot/image") is not None,
          "the metainfo has a content rating and a screenshot")
    check(b"/usr/share/doc/" not in contents["usr/share/doc/vexilo/copyright"] and
          contents["usr/share/doc/vexilo/copyright"].startswith(
              b"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"),
          "the copyright file is in the machine-readable format")

    # -- the portable archive --------------------------------------------------------------
    with tarfile.open(archive) as tar:
        names = {m.name.rstrip("/"): m for m in tar.getmembers()}
        tops = {n.split("/")[0] for n in names}
        check(tops == {portable}, f"the archive holds one folder, {portable} ({sorted(tops)})")
        inside = {n[len(portable) + 1:] for n, m in names.items() if not m.isdir()}
        check(inside == {"Vexilo", "README.txt", "vexilo.png"},
              f"the folder holds the program, README.txt and vexilo.png ({sorted(inside)})")
        if inside == {"Vexilo", "README.txt", "vexilo.png"}:
            binary = names[f"{portable}/Vexilo"]
            check(binary.mode & 0o111 == 0o111, f"its program is executable ({binary.mode:o})")
            check(tar.extractfile(binary).read() == contents["usr/lib/vexilo/Vexilo"],
                  "its program is the .deb's program, byte for byte")
    print(f"{len(failures)} failed" if failures else "all package checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
