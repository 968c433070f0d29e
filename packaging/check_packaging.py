#!/usr/bin/python3
"""Checks lumeno's installation and its Debian package from a build folder.

    check_packaging.py --build-dir B --cmake C --cpack P --ico ICO --appstream-id ID \
        --version V --metainfo-template IN --metainfo-script CMAKE --screenshot-url URL \
        install|deb

install  installs into a fresh temporary prefix with `cmake --install`, then checks the
         installed files, validates the desktop entry and the AppStream metainfo (with
         the screenshot address the build was given, if any, and once more written with
         a sample address) and compares the PNG icons with the Windows icon they are
         made from.
deb      builds the Debian package with `cpack -G DEB` into a fresh temporary folder,
         checks its control fields, its file list and that its changelog is of its
         version, and runs lintian on it, which must find no error and no warning.
Each run works in a temporary folder of its own, so the two may run at the same time.
"""

import argparse
import configparser
import gzip
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
from pathlib import Path

ICON_SIZES = (16, 32)


def installed_files(appstream_id):
    """Every file the installation holds, relative to the prefix."""
    return {
        "bin/lumeno",
        "share/man/man1/lumeno.1.gz",
        "share/doc/lumeno/copyright",
        "share/doc/lumeno/changelog.gz",
        "share/applications/lumeno.desktop",
        *(f"share/icons/hicolor/{s}x{s}/apps/lumeno.png" for s in ICON_SIZES),
        f"share/metainfo/{appstream_id}.metainfo.xml",
    }


class Failures:
    def __init__(self):
        self.messages = []

    def check(self, ok, message):
        if not ok:
            self.messages.append(message)
        return ok

    def finish(self, what):
        for message in self.messages:
            print(f"FAIL: {message}")
        print(f"{what}: {'FAILED' if self.messages else 'ok'}")
        return 1 if self.messages else 0


def run(command, **kwargs):
    """Runs a command, returning (exit code, stdout and stderr together)."""
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kwargs)
    return done.returncode, done.stdout


def run_or_die(command, **kwargs):
    code, output = run(command, **kwargs)
    if code != 0:
        sys.exit(f"{' '.join(map(str, command))} exited with {code}:\n{output}")
    return output


def ico_frame(ico, size, bits):
    """Index of the SIZE x SIZE image at BITS bits per pixel in the icon's directory."""
    data = Path(ico).read_bytes()
    count = struct.unpack_from("<H", data, 4)[0]
    for i in range(count):
        w, h, _, _, _, b = struct.unpack_from("<BBBBHH", data, 6 + 16 * i)
        if (w, h, b) == (size, size, bits):
            return i
    sys.exit(f"{ico} has no {size}x{size} image at {bits} bits")


def rgba(image):
    """The image's pixels as 8-bit RGBA, decoded by ImageMagick."""
    return subprocess.run(["convert", image, "-depth", "8", "rgba:-"], stdout=subprocess.PIPE, check=True).stdout


def check_desktop_entry(f, prefix, path):
    code, output = run(["desktop-file-validate", path])
    f.check(code == 0 and not output.strip(), f"desktop-file-validate {path}:\n{output}")
    entry = configparser.ConfigParser(interpolation=None)
    entry.optionxform = str
    entry.read(path, encoding="utf-8")
    keys = entry["Desktop Entry"] if entry.has_section("Desktop Entry") else {}
    f.check(keys.get("Name") == "lumeno", f"desktop entry Name is {keys.get('Name')!r}")
    f.check("Graphics" in keys.get("Categories", "").split(";"), "desktop entry is not in Graphics")
    command = keys.get("Exec", "").split(" ")[0]
    f.check((prefix / "bin" / command).is_file(), f"desktop entry runs {command!r}, which is not installed")
    icon = keys.get("Icon", "")
    for s in ICON_SIZES:
        f.check(
            (prefix / f"share/icons/hicolor/{s}x{s}/apps/{icon}.png").is_file(),
            f"desktop entry icon {icon!r} has no installed {s}x{s} image",
        )


def check_screenshot(f, path, url):
    """The metainfo shows the screenshot at `url`, or none when `url` is empty."""
    images = [i.text for i in ET.parse(path).getroot().findall("screenshots/screenshot/image")]
    f.check(images == ([url] if url else []), f"{path.name} has screenshots {images}, expected {url or 'none'}")


def check_metainfo_template(f, args, folder):
    """A build configured with a screenshot address gives valid metainfo showing it."""
    url = "https://example.org/lumeno/screenshot.png"
    path = folder / f"{args.appstream_id}.metainfo.xml"
    run_or_die([args.cmake, f"-DMETAINFO_IN={args.metainfo_template}", f"-DMETAINFO_OUT={path}",
                f"-DSCREENSHOT_URL={url}", "-P", args.metainfo_script])
    code, output = run(["appstreamcli", "validate", "--no-net", path])
    f.check(code == 0, f"appstreamcli validate {path}:\n{output}")
    check_screenshot(f, path, url)


def check_metainfo(f, prefix, path, appstream_id, version):
    code, output = run(["appstreamcli", "validate", "--no-net", path])
    f.check(code == 0, f"appstreamcli validate {path}:\n{output}")
    # The whole tree as a software centre reads it: this finds a launchable desktop entry
    # that is not installed.
    code, output = run(["appstreamcli", "validate-tree", "--no-net", prefix])
    f.check(code == 0, f"appstreamcli validate-tree {prefix}:\n{output}")
    root = ET.parse(path).getroot()
    f.check(root.findtext("id") == appstream_id, f"metainfo id is {root.findtext('id')!r}")
    binary = root.findtext("provides/binary")
    f.check(binary is not None and (prefix / "bin" / binary).is_file(), f"metainfo provides {binary!r}, not installed")
    releases = [r.get("version") for r in root.findall("releases/release")]
    f.check(releases[:1] == [version], f"metainfo's latest release is {releases[:1]}, expected {version}")


def check_icons(f, prefix, ico):
    for s in ICON_SIZES:
        png = prefix / f"share/icons/hicolor/{s}x{s}/apps/lumeno.png"
        description = run_or_die(["file", "-b", png])
        f.check(description.startswith(f"PNG image data, {s} x {s},"), f"{png.name} at {s}: {description.strip()}")
        f.check(rgba(png) == rgba(f"{ico}[{ico_frame(ico, s, 4)}]"), f"{s}x{s} PNG differs from the icon's image")


def check_install(args):
    f = Failures()
    with tempfile.TemporaryDirectory(prefix="lumeno-install-") as tmp:
        prefix = Path(tmp)
        run_or_die([args.cmake, "--install", args.build_dir, "--prefix", prefix])
        found = {str(p.relative_to(prefix)) for p in prefix.rglob("*") if not p.is_dir()}
        expected = installed_files(args.appstream_id)
        f.check(found == expected, f"installed {sorted(found - expected)} too many, {sorted(expected - found)} missing")
        if not expected <= found:
            return f.finish("install")
        f.check(os.access(prefix / "bin/lumeno", os.X_OK), "bin/lumeno is not executable")
        check_desktop_entry(f, prefix, prefix / "share/applications/lumeno.desktop")
        metainfo = prefix / f"share/metainfo/{args.appstream_id}.metainfo.xml"
        check_metainfo(f, prefix, metainfo, args.appstream_id, args.version)
        check_screenshot(f, metainfo, args.screenshot_url)
        check_icons(f, prefix, args.ico)
    with tempfile.TemporaryDirectory(prefix="lumeno-metainfo-") as tmp:
        check_metainfo_template(f, args, Path(tmp))
    return f.finish("install")


def control_fields(deb):
    """The package's control fields; continuation lines are dropped."""
    fields = {}
    for line in run_or_die(["dpkg-deb", "-f", deb]).splitlines():
        match = re.match(r"^([A-Za-z0-9-]+): ?(.*)$", line)
        if match:
            fields[match[1]] = match[2]
    return fields


def depended_packages(depends):
    """Package names in a Depends field, alternatives included."""
    return {alt.split()[0] for item in depends.split(",") for alt in item.split("|") if alt.strip()}


def check_changelog(f, deb, folder, version):
    """The changelog's latest entry is the package's version."""
    run_or_die(["dpkg-deb", "-x", deb, folder / "root"])
    changelog = folder / "changelog"
    with gzip.open(folder / "root/usr/share/doc/lumeno/changelog.gz") as packed:
        changelog.write_bytes(packed.read())
    latest = run_or_die(["dpkg-parsechangelog", "-l", changelog, "-S", "Version"]).strip()
    f.check(latest == version, f"the changelog's latest entry is {latest}, the package {version}")


def check_deb(args):
    f = Failures()
    arch = run_or_die(["dpkg", "--print-architecture"]).strip()
    with tempfile.TemporaryDirectory(prefix="lumeno-deb-") as tmp:
        config = Path(args.build_dir) / "CPackConfig.cmake"
        run_or_die([args.cpack, "-G", "DEB", "--config", config, "-B", tmp], cwd=args.build_dir)
        debs = sorted(Path(tmp).glob("*.deb"))
        names = [d.name for d in debs]
        if not f.check(names == [f"lumeno_{args.version}_{arch}.deb"], f"cpack made {names}"):
            return f.finish("deb")
        fields = control_fields(debs[0])
        for key, value in (("Package", "lumeno"), ("Version", args.version), ("Architecture", arch), ("Section", "graphics")):
            f.check(fields.get(key) == value, f"{key} is {fields.get(key)!r}, expected {value!r}")
        for key in ("Maintainer", "Description"):
            f.check(fields.get(key, "").strip(), f"{key} is empty")
        missing = {"libc6", "libqt6widgets6"} - depended_packages(fields.get("Depends", ""))
        f.check(not missing, f"Depends: {fields.get('Depends')!r} lacks {sorted(missing)}")
        recommends = fields.get("Recommends", "")
        f.check("qt6-wayland" in depended_packages(recommends), f"Recommends: {recommends!r} lacks qt6-wayland")
        listing = [line.split() for line in run_or_die(["dpkg-deb", "-c", debs[0]]).splitlines()]
        files = {cols[-1]: cols for cols in listing if not cols[0].startswith("d")}
        expected = {"./usr/" + p for p in installed_files(args.appstream_id)}
        found = set(files)
        f.check(found == expected, f"package holds {sorted(found - expected)} too many, {sorted(expected - found)} missing")
        binary = files.get("./usr/bin/lumeno")
        f.check(binary is not None and binary[:2] == ["-rwxr-xr-x", "root/root"], f"usr/bin/lumeno is {binary}")
        if "./usr/share/doc/lumeno/changelog.gz" in found:
            check_changelog(f, debs[0], Path(tmp), args.version)
        # Debian's own package checks; what they only note (informational tags) is shown.
        code, output = run(["lintian", "--fail-on", "error,warning", "--display-info", debs[0]])
        if f.check(code == 0, f"lintian {debs[0].name}:\n{output}"):
            print(output, end="")
    return f.finish("deb")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    for option in ("build-dir", "cmake", "cpack", "ico", "appstream-id", "version",
                   "metainfo-template", "metainfo-script", "screenshot-url"):
        parser.add_argument("--" + option, required=True)
    parser.add_argument("what", choices=("install", "deb"))
    args = parser.parse_args()
    return check_install(args) if args.what == "install" else check_deb(args)


if __name__ == "__main__":
    sys.exit(main())
