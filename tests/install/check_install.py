#!/usr/bin/env python3
"""Installs the build into a staging folder and checks what a desktop sees.

The system layout goes to <tmp>/stage with `cmake --install --prefix /usr` and
DESTDIR; the portable layout to <tmp>/portable with `--component portable`.
The staged desktop entry, AppStream metainfo and MIME type are run through the
freedesktop validators, every file they name must exist in the staging tree,
and the MIME type is compiled with update-mime-database: its magic has to match
the first bytes of real form files, and (when the Qt probe is built) a real
resolver has to tell a form from another program's .ref.

Exit status: 0 passed, 1 failed, 77 skipped because a validator is missing.
"""

import argparse
import configparser
import gzip
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

APP_ID = "io.github.kelvaro.Kelvaro"
MIME_TYPE = "application/x-kelvaro-form"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
MIME_NS = "{http://www.freedesktop.org/standards/shared-mime-info}"
XML_LANG = "{http://www.w3.org/XML/1998/namespace}lang"
SKIP = 77


class Checks:
    """Collects failures so that one run reports every problem it finds."""

    def __init__(self):
        self.failures = []

    def expect(self, condition, message):
        if not condition:
            self.failures.append(message)
        return condition

    def run_validator(self, name, command):
        """Runs a validator; it fails on a non-zero exit or an error line."""
        result = subprocess.run(command, capture_output=True, text=True)
        output = (result.stdout + result.stderr).strip()
        if output:
            print(f"[{name}] " + output.replace("\n", f"\n[{name}] "))
        error_line = re.search(r"(^E: |: error: )", output, re.MULTILINE)
        self.expect(result.returncode == 0 and not error_line,
                    f"{name} rejected {command[-1]} (exit {result.returncode})")


def run(command, **kwargs):
    return subprocess.run(command, check=True, capture_output=True, text=True, **kwargs)


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def read_desktop_entry(path):
    parser = configparser.RawConfigParser(interpolation=None, strict=True)
    parser.optionxform = str  # keys are case-sensitive: Name[ja], MimeType
    with open(path, encoding="utf-8") as f:
        parser.read_file(f)
    return parser["Desktop Entry"]


def split_list(value):
    return [item for item in value.split(";") if item]


def read_magic(path):
    """Parses a compiled shared-MIME magic file into {type: [(priority, rules)]},
    each rule an (indent, offset, value, mask, range) tuple."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b"MIME-Magic\0\n"):
        raise ValueError("not a MIME-Magic file")
    sections = {}
    pos = len(b"MIME-Magic\0\n")
    rules = None
    while pos < len(data):
        if data[pos:pos + 1] == b"[":
            end = data.index(b"]\n", pos)
            priority, mime = data[pos + 1:end].decode().split(":", 1)
            rules = []
            sections.setdefault(mime, []).append((int(priority), rules))
            pos = end + 2
            continue
        gt = data.index(b">", pos)
        indent = int(data[pos:gt]) if gt > pos else 0
        eq = data.index(b"=", gt)
        offset = int(data[gt + 1:eq])
        (length,) = struct.unpack(">H", data[eq + 1:eq + 3])
        pos = eq + 3
        value = data[pos:pos + length]
        pos += length
        mask = None
        range_length = 1
        while data[pos:pos + 1] != b"\n":
            marker = data[pos:pos + 1]
            if marker == b"&":
                mask = data[pos + 1:pos + 1 + length]
                pos += 1 + length
            elif marker in (b"~", b"+"):
                m = re.match(rb"[~+](\d+)", data[pos:])
                if marker == b"+":
                    range_length = int(m.group(1))
                pos += m.end()
            else:
                raise ValueError(f"unexpected byte {marker!r} in a magic rule")
        pos += 1
        rules.append((indent, offset, value, mask, range_length))
    return sections


def magic_matches(rules, head):
    """Whether a section's top-level rules (children ignored) match the data."""
    for indent, offset, value, mask, range_length in rules:
        if indent != 0:
            continue
        def masked(data):
            return data if mask is None else bytes(a & b for a, b in zip(data, mask))

        for start in range(offset, offset + range_length):
            chunk = head[start:start + len(value)]
            if len(chunk) == len(value) and masked(chunk) == masked(value):
                return True
    return False


def check_system_layout(c, root, args, templates):
    usr = os.path.join(root, "usr")
    share = os.path.join(usr, "share")
    programs = ["kelvaro-compose"] + (["kelvaro"] if args.gui else [])
    for program in programs:
        path = os.path.join(usr, "bin", program)
        if c.expect(os.path.isfile(path) and os.access(path, os.X_OK), f"{path} missing or not executable"):
            # The installed copy runs (no build-tree library path left behind).
            said = subprocess.run([path, "--version"], capture_output=True, text=True).stdout.strip()
            c.expect(said == f"{program} {args.version}", f"installed {program} --version says {said!r}")

    template_dir = os.path.join(share, "kelvaro", "Templates")
    staged = sorted(os.listdir(template_dir)) if os.path.isdir(template_dir) else []
    c.expect(staged == templates, f"staged templates {staged} differ from data/Templates {templates}")
    c.expect("Version.txt" in staged, "Templates/Version.txt is not installed")

    doc = os.path.join(share, "doc", "kelvaro")
    c.expect(os.path.isfile(os.path.join(doc, "guide.html")), "the user guide is not in share/doc/kelvaro")
    copyright_path = os.path.join(doc, "copyright")
    if c.expect(os.path.isfile(copyright_path), "share/doc/kelvaro/copyright is missing"):
        with open(copyright_path, encoding="utf-8") as f:
            first = f.readline().strip()
        c.expect(first == "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/",
                 "the copyright file is not in the machine-readable format")
    # The Debian changelog belongs to the .deb alone.
    c.expect(not os.path.exists(os.path.join(doc, "changelog.Debian.gz")),
             "a plain install put the Debian changelog in share/doc/kelvaro")

    for program in programs:
        page = os.path.join(share, "man", "man1", program + ".1.gz")
        if c.expect(os.path.isfile(page), f"manual page {page} is missing"):
            with open(page, "rb") as f:
                raw = f.read()
            # gzip -n: no file name flag and no time stamp, as Debian wants.
            c.expect(raw[3] & 0x08 == 0 and raw[4:8] == b"\0\0\0\0",
                     f"{page} carries a name or time stamp")
            text = gzip.decompress(raw).decode("utf-8")
            c.expect(re.match(r"\.TH " + re.escape(program.upper().replace("-", "\\-")) + r" 1 ", text),
                     f"{page} does not start with its .TH line")

    # Nothing of the portable layout or outside the prefix.
    c.expect(sorted(os.listdir(root)) == ["usr"], f"files installed outside /usr: {os.listdir(root)}")
    c.expect(sorted(os.listdir(usr)) == ["bin", "share"], f"unexpected folders in /usr: {os.listdir(usr)}")
    c.expect(sorted(os.listdir(os.path.join(usr, "bin"))) == sorted(programs),
             f"unexpected programs: {os.listdir(os.path.join(usr, 'bin'))}")
    if not args.gui:
        c.expect(not os.path.exists(os.path.join(share, "applications")),
                 "without the window program no desktop entry may be installed")


def check_desktop_files(c, root, args, work):
    usr = os.path.join(root, "usr")
    share = os.path.join(usr, "share")
    desktop_path = os.path.join(share, "applications", APP_ID + ".desktop")
    metainfo_path = os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")
    mime_path = os.path.join(share, "mime", "packages", APP_ID + ".xml")
    for path in (desktop_path, metainfo_path, mime_path):
        if not c.expect(os.path.isfile(path), f"{path} is not installed"):
            return

    c.run_validator("desktop-file-validate", ["desktop-file-validate", desktop_path])
    c.run_validator("appstreamcli", ["appstreamcli", "validate", "--no-net", metainfo_path])
    c.run_validator("xmllint", ["xmllint", "--noout", metainfo_path])
    c.run_validator("xmllint", ["xmllint", "--noout", mime_path])

    # The icon in every size, each PNG of the size its folder says.
    icons = os.path.join(share, "icons", "hicolor")
    c.expect(os.path.isfile(os.path.join(icons, "scalable", "apps", APP_ID + ".svg")), "the scalable icon is missing")
    for size in ICON_SIZES:
        png = os.path.join(icons, f"{size}x{size}", "apps", APP_ID + ".png")
        if c.expect(os.path.isfile(png), f"the {size}x{size} icon is missing"):
            c.expect(png_size(png) == (size, size), f"{png} is {png_size(png)}, not {size}x{size}")

    # What the desktop entry names.
    entry = read_desktop_entry(desktop_path)
    exec_line = entry.get("Exec", "").split()
    c.expect(exec_line[:1] == ["kelvaro"] and "%f" in exec_line, f"Exec is {entry.get('Exec')!r}")
    if exec_line:
        c.expect(os.access(os.path.join(usr, "bin", exec_line[0]), os.X_OK),
                 f"Exec names {exec_line[0]}, which is not installed in bin")
    c.expect(entry.get("Icon") == APP_ID, f"Icon is {entry.get('Icon')!r}, not {APP_ID}")
    c.expect(split_list(entry.get("MimeType", "")) == [MIME_TYPE], f"MimeType is {entry.get('MimeType')!r}")
    for key in ("Name", "Comment", "GenericName", "Keywords"):
        c.expect(entry.get(key) and entry.get(key + "[ja]"), f"the desktop entry lacks {key} or {key}[ja]")

    # What the metainfo names.
    component = ET.parse(metainfo_path).getroot()
    c.expect(component.findtext("id") == APP_ID, f"metainfo id is {component.findtext('id')!r}")
    launchable = component.find("launchable[@type='desktop-id']")
    c.expect(launchable is not None and launchable.text == os.path.basename(desktop_path),
             "the metainfo launchable does not name the installed desktop entry")
    for binary in component.findall("provides/binary"):
        c.expect(os.access(os.path.join(usr, "bin", binary.text), os.X_OK),
                 f"metainfo provides binary {binary.text}, which is not installed")
    c.expect(sorted(b.text for b in component.findall("provides/binary")) == ["kelvaro", "kelvaro-compose"],
             "metainfo does not provide both programs")
    c.expect([m.text for m in component.findall("provides/mediatype")] == [MIME_TYPE],
             "metainfo does not provide the form's media type")
    releases = component.findall("releases/release")
    c.expect(len(releases) >= 1 and releases[0].get("version") == args.version,
             f"the newest metainfo release is not {args.version}")
    c.expect(releases and re.fullmatch(r"\d{4}-\d{2}-\d{2}", releases[0].get("date", "")),
             "the newest metainfo release has no ISO date")
    for tag in ("summary", "description/p"):
        langs = {e.get(XML_LANG) for e in component.findall(tag)}
        c.expect({None, "ja"} <= langs, f"metainfo {tag} is not in English and Japanese")
    c.expect(component.find("content_rating[@type='oars-1.1']") is not None, "metainfo has no OARS rating")
    screenshot = component.findtext("screenshots/screenshot/image") or ""
    c.expect(screenshot.startswith("https://"), f"screenshot address {screenshot!r} is not https")

    # The MIME type the entry and the metainfo name is the one the package defines.
    mime_info = ET.parse(mime_path).getroot()
    types = [t.get("type") for t in mime_info.findall(MIME_NS + "mime-type")]
    c.expect(types == [MIME_TYPE], f"the MIME package defines {types}")
    comments = {e.get(XML_LANG) for e in mime_info.iter(MIME_NS + "comment")}
    c.expect({None, "ja"} <= comments, "the MIME type has no English and Japanese comment")

    check_mime_database(c, mime_path, args, work)


def sample_forms(args, work):
    """Real forms: the checked-in fixture and one the built command writes now."""
    forms = [os.path.join(args.source_dir, "tests", "data", "fresh_form.ref")]
    written = os.path.join(work, "written.ref")
    run([args.compose, "--new-form", written])
    forms.append(written)
    return forms


def check_mime_database(c, mime_path, args, work):
    db = os.path.join(work, "mime-db")
    packages = os.path.join(db, "mime", "packages")
    os.makedirs(packages)
    shutil.copy(mime_path, packages)
    env = dict(os.environ, XDG_DATA_DIRS=db + ":" + os.environ.get("XDG_DATA_DIRS", "/usr/local/share:/usr/share"))
    result = subprocess.run(["update-mime-database", os.path.join(db, "mime")],
                            capture_output=True, text=True, env=env)
    output = (result.stdout + result.stderr).strip()
    if output:
        print("[update-mime-database] " + output.replace("\n", "\n[update-mime-database] "))
    # It reports a bad package file on stderr but may still exit 0.
    if not c.expect(result.returncode == 0 and not result.stderr.strip(),
                    "update-mime-database did not accept the MIME package"):
        return

    with open(os.path.join(db, "mime", "globs2"), encoding="utf-8") as f:
        globs = [line.strip().split(":", 2) for line in f if line.strip() and not line.startswith("#")]
    ours = [g for g in globs if g[1] == MIME_TYPE]
    c.expect([g[2] for g in ours] == ["*.ref"], f"globs2 has {ours} for {MIME_TYPE}")
    # The default weight: lower would lose every .ref to another type by name.
    c.expect(all(g[0] == "50" for g in ours), f"the *.ref glob weight is not 50: {ours}")

    with open(os.path.join(db, "mime", "types"), encoding="utf-8") as f:
        c.expect(MIME_TYPE in f.read().split(), "the compiled types list lacks the form type")
    with open(os.path.join(db, "mime", "icons"), encoding="utf-8") as f:
        c.expect(f"{MIME_TYPE}:{APP_ID}\n" in f.read(), "the form type does not use the program's icon")

    sections = read_magic(os.path.join(db, "mime", "magic")).get(MIME_TYPE, [])
    if not c.expect(sections, "the compiled magic has no rule for the form type"):
        return
    for priority, rules in sections:
        c.expect(priority >= 80, f"magic priority {priority} is below 80")
    for form in sample_forms(args, work):
        with open(form, "rb") as f:
            head = f.read(4096)
        c.expect(any(magic_matches(rules, head) for _, rules in sections),
                 f"the magic does not match the start of the form {form}")
    # A .ref of another program, and a form whose first line was edited.
    for other in (b"ProjectName=demo\r\nAuthor=someone\r\n", b"### " + b"x" * 80 + b" ###\r\n"):
        c.expect(not any(magic_matches(rules, other) for _, rules in sections),
                 f"the magic matches data that is no form: {other[:20]!r}")

    if args.mime_probe:
        check_with_resolver(c, db, args, work)


def check_with_resolver(c, db, args, work):
    """Asks Qt's resolver, over the compiled database, which type it sees."""
    # A second program that also claims *.ref for plain text files.
    rival_db = os.path.join(work, "rival-db")
    shutil.copytree(db, rival_db)
    with open(os.path.join(rival_db, "mime", "packages", "x-rival.xml"), "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">\n'
                '  <mime-type type="application/x-rival-ref">\n'
                '    <comment>Another program\'s reference</comment>\n'
                '    <sub-class-of type="text/plain"/>\n'
                '    <glob pattern="*.ref"/>\n'
                '  </mime-type>\n'
                '</mime-info>\n')
    run(["update-mime-database", os.path.join(rival_db, "mime")],
        env=dict(os.environ, XDG_DATA_DIRS=rival_db))

    files = os.path.join(work, "probe")
    os.makedirs(files)
    forms = []
    for i, form in enumerate(sample_forms(args, work)):
        forms.append(os.path.join(files, f"form{i}.ref"))
        shutil.copy(form, forms[-1])
    other = os.path.join(files, "other.ref")
    with open(other, "wb") as f:
        f.write(b"ProjectName=demo\r\nAuthor=another program\r\n")

    def resolve(database):
        # The system database comes after ours for text/plain and the rest.
        env = dict(os.environ, XDG_DATA_HOME=os.path.join(work, "no-home"),
                   XDG_DATA_DIRS=database + ":" + os.environ.get("XDG_DATA_DIRS", "/usr/local/share:/usr/share"))
        out = run([args.mime_probe] + forms + [other], env=env).stdout
        return dict(line.split("\t") for line in out.splitlines())

    alone = resolve(db)
    for form in forms:
        c.expect(alone.get(form) == MIME_TYPE, f"Qt sees {form} as {alone.get(form)!r}")
    contested = resolve(rival_db)
    for form in forms:
        c.expect(contested.get(form) == MIME_TYPE,
                 f"with another *.ref type installed Qt sees {form} as {contested.get(form)!r}")
    c.expect(contested.get(other) == "application/x-rival-ref",
             f"another program's .ref is taken as {contested.get(other)!r}, not left to its own type")


def check_portable_layout(c, root, args, templates):
    programs = ["kelvaro-compose"] + (["kelvaro"] if args.gui else [])
    expected = sorted(programs + ["Templates", "guide.html"])
    c.expect(sorted(os.listdir(root)) == expected, f"the portable folder holds {sorted(os.listdir(root))}")
    for program in programs:
        c.expect(os.access(os.path.join(root, program), os.X_OK), f"portable {program} is not executable")
    staged = sorted(os.listdir(os.path.join(root, "Templates")))
    c.expect(staged == templates, "the portable Templates folder differs from data/Templates")
    version = run([os.path.join(root, "kelvaro-compose"), "--version"]).stdout.strip()
    c.expect(version == f"kelvaro-compose {args.version}", f"portable kelvaro-compose says {version!r}")


def check_package_depends(c, args):
    """The .deb depends on the package that holds the Qt translations the
    window loads (qtbase_ja), as CPack is told in the build's configuration."""
    config = os.path.join(args.build_dir, "CPackConfig.cmake")
    if not c.expect(os.path.isfile(config), f"{config} is missing"):
        return
    with open(config, encoding="utf-8") as f:
        m = re.search(r'^set\(CPACK_DEBIAN_PACKAGE_DEPENDS "([^"]*)"\)', f.read(), re.MULTILINE)
    depends = [re.split(r"[ (]", d.strip())[0] for d in m.group(1).split(",")] if m else []
    c.expect("qt6-translations-l10n" in depends, f"the package depends on {depends}, not on qt6-translations-l10n")
    # The package named is the one that holds the translations (where dpkg knows).
    owner = subprocess.run(["dpkg", "-S", "qtbase_ja.qm"], capture_output=True, text=True)
    if owner.returncode == 0:
        holders = {line.split(":")[0] for line in owner.stdout.splitlines()}
        c.expect(holders & set(depends), f"qtbase_ja.qm comes from {sorted(holders)}, which the package does not depend on")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cmake", required=True)
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--source-dir", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--compose", required=True, help="the built kelvaro-compose")
    parser.add_argument("--gui", type=int, choices=(0, 1), required=True)
    parser.add_argument("--mime-probe", default="")
    args = parser.parse_args()

    if args.gui:
        missing = [tool for tool in ("desktop-file-validate", "appstreamcli", "xmllint", "update-mime-database")
                   if shutil.which(tool) is None]
        if missing:
            print("skipped: not installed: " + ", ".join(missing))
            return SKIP

    templates = sorted(os.listdir(os.path.join(args.source_dir, "data", "Templates")))
    c = Checks()
    with tempfile.TemporaryDirectory(prefix="kelvaro-install-") as work:
        stage = os.path.join(work, "stage")
        result = subprocess.run([args.cmake, "--install", args.build_dir, "--prefix", "/usr"],
                                capture_output=True, text=True, env=dict(os.environ, DESTDIR=stage))
        if result.returncode != 0:
            print(result.stdout + result.stderr)
            print("FAILED: cmake --install")
            return 1
        check_system_layout(c, stage, args, templates)
        if args.gui:
            check_desktop_files(c, stage, args, work)
            check_package_depends(c, args)

        portable = os.path.join(work, "portable")
        result = subprocess.run([args.cmake, "--install", args.build_dir, "--component", "portable",
                                 "--prefix", portable], capture_output=True, text=True)
        if c.expect(result.returncode == 0, "cmake --install --component portable failed: " + result.stderr):
            check_portable_layout(c, portable, args, templates)

    for failure in c.failures:
        print("FAILED: " + failure)
    if not c.failures:
        print("install checks passed")
    return 1 if c.failures else 0


if __name__ == "__main__":
    sys.exit(main())
