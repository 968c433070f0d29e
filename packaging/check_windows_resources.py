#!/usr/bin/python3
"""Checks lumeno's Windows resources, compiled from the resource script or read from lumeno.exe.

    check_windows_resources.py (--rc lumeno.rc | --exe lumeno.exe --arch x64|x86) \
        --ico lumeno.ico --picture picture.bmp --numeric-version 1.0.0.0 --version 1.00

With --rc the script is compiled with windres to a .res file (the 32-bit resource file
format), which is read entry by entry; with --exe the resources are read from the program's
resource section with pefile. Either way the version record must carry the numeric and the
displayed version and the product's names, the one icon group must list the icon's three
images, each stored as an RT_ICON entry with the icon file's bytes, the built-in picture
must be there whole under the name the program loads it by, and the application manifest
must ask for common controls version 6 and per-monitor DPI awareness and name Windows 7 to
11 as supported. A program must also be a desktop (GUI) program for the architecture --arch
names, the manifest's, that imports nothing but Windows' own DLLs, so that it runs wherever it
is copied, and no function that Windows 7 SP1 lacks, so that it starts there: none that
MinGW-w64's headers declare only for a Windows newer than 7 (the headers preprocessed for
Windows 7 and for Windows 10 with the program's MinGW-w64 compiler, and the names compared),
and none of a few named ones (the density functions of Windows 10 that the program looks up
at run time among them). For --rc the host's C preprocessor stands in for a MinGW compiler,
so binutils-mingw-w64 alone is enough. Exits with 77 (skipped) where windres or pefile is
not installed.
"""

import argparse
import re
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

WINDRES = "x86_64-w64-mingw32-windres"
# Per architecture: the PE machine type, the manifest's processorArchitecture and the
# MinGW-w64 target.
ARCHITECTURES = {"x64": (0x8664, "amd64", "x86_64-w64-mingw32"), "x86": (0x14C, "x86", "i686-w64-mingw32")}
# The headers that declare what the program imports from Windows' DLLs.
WINDOWS_HEADERS = ["windows.h", "commctrl.h", "ole2.h", "oleacc.h"]
WINDOWS_7, WINDOWS_10 = "0x0601", "0x0A00"
# user32's functions of Windows 10 1607 that the program calls only through GetProcAddress, and
# kernel32's GetSystemTimePreciseAsFileTime (Windows 8), which the headers declare for every
# Windows and threads run-times like to use.
NEWER_FUNCTIONS_NAMED = {"GetDpiForWindow", "AdjustWindowRectExForDpi", "GetSystemMetricsForDpi",
                         "SystemParametersInfoForDpi", "GetSystemTimePreciseAsFileTime"}
SUPPORTED_OS = {"Windows 7": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                "Windows 8": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                "Windows 8.1": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                "Windows 10 and 11": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
RT_ICON, RT_RCDATA, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 10, 14, 16, 24
# Size, palette colours and bits per pixel of each image, in the icon's order.
ICON_IMAGES = [(32, 2, 1), (32, 16, 4), (16, 16, 4)]
STRINGS = {"ProductName": "lumeno", "InternalName": "lumeno", "OriginalFilename": "lumeno.exe"}
STRING_BLOCK = "040904B0"
# The DLLs of Windows itself that the program may import (msvcrt.dll is the C run-time
# that every Windows has).
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "ole32.dll", "oleacc.dll",
                "oleaut32.dll", "msvcrt.dll"}


def align4(n):
    return (n + 3) & ~3


def read_id(data, pos):
    """A resource type or name: an ordinal (0xFFFF, number) or a NUL-ended UTF-16 string."""
    if struct.unpack_from("<H", data, pos)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while data[end : end + 2] != b"\0\0":
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def resources(data):
    """(type, name, language, data) of each entry of a .res file, the empty first one skipped."""
    entries, pos = [], 0
    while pos < len(data):
        size, header_size = struct.unpack_from("<II", data, pos)
        kind, p = read_id(data, pos + 8)
        name, p = read_id(data, p)
        language = struct.unpack_from("<H", data, align4(p) + 6)[0]
        body = data[pos + header_size : pos + header_size + size]
        if (size, kind, name) != (0, 0, 0):
            entries.append((kind, name, language, body))
        pos = align4(pos + header_size + size)
    return entries


def version_node(data, pos=0):
    """One node of a VS_VERSIONINFO tree: (key, value, children); text values decoded."""
    length, value_length, kind = struct.unpack_from("<HHH", data, pos)
    key, p = read_id(data, pos + 6)
    p = align4(p)
    if kind == 1:
        value = data[p : p + 2 * value_length].decode("utf-16-le").rstrip("\0")
        p += 2 * value_length
    else:
        value = data[p : p + value_length]
        p += value_length
    children, p, end = [], align4(p), pos + length
    while p < end:
        child = version_node(data, p)
        children.append(child[:3])
        p = align4(child[3])
    return key, value, children, end


def dotted(ms, ls):
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def check_version(check, entries, numeric_version, version):
    records = [body for kind, _, _, body in entries if kind == RT_VERSION]
    if len(records) != 1:
        return check(False, f"{len(records)} version records, expected one")
    key, fixed, children, _ = version_node(records[0])
    check(key == "VS_VERSION_INFO", f"version record is keyed {key!r}")
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    check(signature == 0xFEEF04BD, "VS_FIXEDFILEINFO signature is wrong")
    check(dotted(file_ms, file_ls) == numeric_version, f"FILEVERSION is {dotted(file_ms, file_ls)}")
    check(dotted(product_ms, product_ls) == numeric_version, f"PRODUCTVERSION is {dotted(product_ms, product_ls)}")
    blocks = {k: kids for k, _, kids in children}
    tables = {k: {name: text for name, text, _ in kids} for k, _, kids in blocks.get("StringFileInfo", [])}
    if not check(list(tables) == [STRING_BLOCK], f"string blocks {list(tables)}, expected [{STRING_BLOCK!r}]"):
        return
    strings = tables[STRING_BLOCK]
    for name, expected in {**STRINGS, "FileVersion": version, "ProductVersion": version}.items():
        check(strings.get(name) == expected, f"{name} is {strings.get(name)!r}, expected {expected!r}")
    # The translation declares the string block's language and code page.
    translation = {k: v for k, v, _ in blocks.get("VarFileInfo", [])}.get("Translation", b"")
    declared = "%04X%04X" % struct.unpack("<HH", translation) if len(translation) == 4 else None
    check(declared == STRING_BLOCK, f"Translation is {declared}, the string block {STRING_BLOCK}")


def check_icons(check, entries, ico):
    groups = [body for kind, _, _, body in entries if kind == RT_GROUP_ICON]
    icons = {name: body for kind, name, _, body in entries if kind == RT_ICON}
    if len(groups) != 1:
        return check(False, f"{len(groups)} icon groups, expected one")
    _, kind, count = struct.unpack_from("<HHH", groups[0])
    check(kind == 1, f"icon group of type {kind}")
    check(count == len(ICON_IMAGES) and len(icons) == count, f"{count} images in the group, {len(icons)} RT_ICON")
    file_data = Path(ico).read_bytes()
    for i in range(min(count, len(ICON_IMAGES))):
        w, h, colours, _, _, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", groups[0], 6 + 14 * i)
        size_expected, colours_expected, bits_expected = ICON_IMAGES[i]
        listed = ((w, h, colours, bits), (size_expected, size_expected, colours_expected, bits_expected))
        check(listed[0] == listed[1], f"group image {i} is {listed[0]}, expected {listed[1]}")
        image = icons.get(icon_id)
        if not check(image is not None, f"group image {i} names RT_ICON {icon_id}, which is absent"):
            continue
        # The stored image itself: its bitmap header and its bytes, as in the icon file.
        _, dib_w, dib_h, _, dib_bits = struct.unpack_from("<IiiHH", image)
        stored = (dib_w, dib_h // 2, dib_bits)
        check(stored == (size_expected, size_expected, bits_expected), f"RT_ICON {icon_id} bitmap is {stored}")
        check(len(image) == size, f"RT_ICON {icon_id} holds {len(image)} bytes, the group says {size}")
        length, offset = struct.unpack_from("<II", file_data, 6 + 16 * i + 8)
        check(image == file_data[offset : offset + length], f"RT_ICON {icon_id} differs from image {i} of {ico}")


def manifest_text(entries):
    manifests = [body for kind, name, _, body in entries if (kind, name) == (RT_MANIFEST, 1)]
    return manifests[0].decode("utf-8") if len(manifests) == 1 else None


def check_picture_and_manifest(check, entries, picture):
    pictures = [body for kind, name, _, body in entries if (kind, name) == (RT_RCDATA, "PICTURE")]
    check(pictures == [Path(picture).read_bytes()], f"no RCDATA PICTURE with the bytes of {picture}")
    manifests = [body for kind, name, _, body in entries if (kind, name) == (RT_MANIFEST, 1)]
    if not check(len(manifests) == 1, f"{len(manifests)} manifests with id 1, expected one"):
        return
    text = manifests[0].decode("utf-8")
    for wanted in ('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', ">PerMonitorV2, PerMonitor<"):
        check(wanted in text, f"the manifest lacks {wanted}")
    for system, guid in SUPPORTED_OS.items():
        check(f'<supportedOS Id="{guid}"/>' in text, f"the manifest does not name {system} as supported")


def compiled_script(rc):
    """The entries of the resource script compiled by windres, or an exit status."""
    rc = Path(rc).resolve()
    with tempfile.TemporaryDirectory(prefix="lumeno-res-") as tmp:
        res = Path(tmp) / "lumeno.res"
        try:
            done = subprocess.run(
                [WINDRES, "--preprocessor=cpp", "-I", rc.parent, "-i", rc, "-O", "res", "-o", res],
                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
            )  # fmt: skip
        except FileNotFoundError:
            print(f"{WINDRES} is not installed (binutils-mingw-w64-x86-64): skipped")
            return 77
        if done.returncode != 0:
            print(f"windres exited with {done.returncode}:\n{done.stdout}")
            return 1
        return resources(res.read_bytes())


def program_resources(pe):
    """The entries of a program's resource section, in the form resources() gives."""
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return []

    def key(entry):
        return entry.id if entry.name is None else str(entry.name)

    return [
        (key(kind), key(name), language.id,
         pe.get_data(language.data.struct.OffsetToData, language.data.struct.Size))
        for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries
        for name in kind.directory.entries
        for language in name.directory.entries
    ]  # fmt: skip


def declared_names(compiler, windows_version):
    """Every name in what the Windows headers declare for that Windows version."""
    source = "".join(f"#include <{header}>\n" for header in WINDOWS_HEADERS)
    done = subprocess.run(
        [compiler, "-E", "-P", "-x", "c", f"-D_WIN32_WINNT={windows_version}", f"-DWINVER={windows_version}",
         "-DUNICODE", "-"],
        input=source, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, check=True,
    )  # fmt: skip
    return set(re.findall(r"[A-Za-z_]\w*", done.stdout))


def newer_than_windows_7(compiler):
    """The functions that Windows 7 SP1 lacks, as far as MinGW-w64's headers tell."""
    return declared_names(compiler, WINDOWS_10) - declared_names(compiler, WINDOWS_7) | NEWER_FUNCTIONS_NAMED


def check_program(check, pe, entries, arch):
    machine_expected, manifest_arch, target = ARCHITECTURES[arch]
    machine, subsystem = pe.FILE_HEADER.Machine, pe.OPTIONAL_HEADER.Subsystem
    check(machine == machine_expected, f"machine type 0x{machine:04x}, expected {arch} (0x{machine_expected:04x})")
    check(subsystem == 2, f"subsystem {subsystem}, expected a desktop program (2, IMAGE_SUBSYSTEM_WINDOWS_GUI)")
    text = manifest_text(entries) or ""
    wanted = f'name="lumeno" version="1.0.0.0" processorArchitecture="{manifest_arch}"'
    check(wanted in text, f"the manifest's identity is not {wanted}")
    imports = getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])
    others = sorted({entry.dll.decode().lower() for entry in imports} - WINDOWS_DLLS)
    check(not others, f"imports DLLs that are not Windows' own: {others}")
    names = {f.name.decode() for entry in imports for f in entry.imports if f.name}
    newer = sorted(names & newer_than_windows_7(target + "-gcc"))
    check(not newer, f"imports functions that Windows 7 SP1 lacks: {newer}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    source = parser.add_mutually_exclusive_group(required=True)
    source.add_argument("--rc")
    source.add_argument("--exe")
    parser.add_argument("--arch", choices=ARCHITECTURES, help="the program's architecture (with --exe)")
    for option in ("ico", "picture", "numeric-version", "version"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    pe = None
    if args.rc:
        entries = compiled_script(args.rc)
        if isinstance(entries, int):
            return entries
    else:
        try:
            import pefile
        except ImportError:
            print("pefile is not installed (python3-pefile): skipped")
            return 77
        pe = pefile.PE(args.exe)
        entries = program_resources(pe)

    failures = []

    def check(ok, message):
        if not ok:
            failures.append(message)
        return ok

    check_version(check, entries, args.numeric_version, args.version)
    check_icons(check, entries, args.ico)
    check_picture_and_manifest(check, entries, args.picture)
    if pe is not None:
        check_program(check, pe, entries, args.arch)
    for message in failures:
        print(f"FAIL: {message}")
    print(f"windows resources of {args.rc or args.exe}: {'FAILED' if failures else 'ok'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
