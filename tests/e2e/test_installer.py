"""The Windows packages as a user gets them: the zip, and the installer under Wine.

    test_installer.py --windows win64|win32 --runs-x86 0|1 --cpack CPACK --config CPackConfig.cmake \
        --zip-config CPackConfig.cmake --wine-prefix-script SCRIPT --version V --picture BMP \
        --screenshots DIR --work-dir DIR

Makes the installer (--config, the 64-bit build's) and the zip of the program for that
Windows (--zip-config, the build's of that architecture) with cpack in the work folder and
checks that the zip holds the program, the README and the licence. Then, in a new Wine
prefix there of a 64-bit or a 32-bit Windows (a clean Windows, nothing shared with the other
tests): installs silently (/S); checks the installed files, that the program is the one for
that Windows, the Start menu shortcut and the entry under Settings > Apps, in the registry
view of the program's architecture; starts the program the shortcut points to in Xvfb and
waits for its window, showing the picture; uninstalls
silently with the entry's QuietUninstallString; restarts Wine's Windows, and checks that no
file, no folder of the program, no shortcut and no entry is left behind. The installer is a
32-bit program: with --runs-x86 0 it stops after the zip and exits 77 (skipped). The work folder
(some 700 MB) is emptied first and deleted at the end.
Standard library only; run with /usr/bin/python3.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import zipfile
from pathlib import Path

import harness
import platform_wine

UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\lumeno"
INSTALL_DIR = r"C:\Program Files\lumeno"
SHORTCUT = "ProgramData/Microsoft/Windows/Start Menu/Programs/lumeno.lnk"
PACKAGE_FILES = {"lumeno.exe", "README.md", "LICENSE"}
# Per Windows: the PE machine type of its program, and the options of reg.exe that read the
# registry view the program's entry is in (Wine's plain reg.exe is the 32-bit one).
WINDOWS = {"win64": (0x8664, ["/reg:64"]), "win32": (0x14C, [])}
SKIPPED = 77  # the test's SKIP_RETURN_CODE


def wine_environment(prefix):
    env = dict(os.environ, WINEPREFIX=str(prefix), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)  # a silent installer shows nothing
    return env


def wine(prefix, *command, check=True):
    """Runs a Wine command and waits for every process it started (an NSIS uninstaller
    runs on in a copy of itself); returns its exit status and output."""
    env = wine_environment(prefix)
    done = subprocess.run(command, env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, errors="replace", timeout=120)
    subprocess.run(["wineserver", "-w"], env=env, check=True, timeout=120)
    if check and done.returncode != 0:
        raise AssertionError("%s exited with %d:\n%s" % (" ".join(map(str, command)), done.returncode, done.stdout))
    return done.returncode, done.stdout


def uninstall_entry(prefix, windows):
    """The values of the uninstall registry key, or None when there is no such key."""
    code, output = wine(prefix, "wine", "reg", "query", UNINSTALL_KEY, *WINDOWS[windows][1], check=False)
    if code != 0:
        return None
    values = {}
    for line in output.splitlines():
        fields = line.strip().split(None, 2)
        if len(fields) == 3 and fields[1].startswith("REG_"):
            values[fields[0]] = fields[2]
    return values


def shortcut_target(path):
    """The local path a shell link (.lnk) points to."""
    data = path.read_bytes()
    flags = struct.unpack_from("<I", data, 0x14)[0]
    offset = 0x4C
    if flags & 0x1:  # HasLinkTargetIDList
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    if not flags & 0x2:  # HasLinkInfo
        raise AssertionError("%s has no link information" % path)
    base = offset + struct.unpack_from("<I", data, offset + 16)[0]  # LocalBasePathOffset
    return data[base : data.index(b"\0", base)].decode("latin-1")


def files_under(folder):
    return {str(p.relative_to(folder)) for p in folder.rglob("*") if not p.is_dir()}


def machine(program):
    """The machine type in a PE file's header."""
    data = program.read_bytes()
    return struct.unpack_from("<H", data, struct.unpack_from("<I", data, 0x3C)[0] + 4)[0]


def check_zip(packages, version, windows):
    archive = packages / f"lumeno-{version}-{windows}.zip"
    names = set(zipfile.ZipFile(archive).namelist())
    expected = {f"lumeno-{version}-{windows}/{name}" for name in PACKAGE_FILES}
    assert names == expected, "%s holds %s, expected %s" % (archive.name, sorted(names), sorted(expected))


def check_installed(prefix, version, windows):
    drive = prefix / "drive_c"
    folder = drive / "Program Files/lumeno"
    found = files_under(folder) if folder.is_dir() else set()
    assert found == PACKAGE_FILES | {"uninstall.exe"}, "installed %s" % sorted(found)
    installed, expected_machine = machine(folder / "lumeno.exe"), WINDOWS[windows][0]
    assert installed == expected_machine, "installed a program for machine 0x%04x on %s, expected 0x%04x" % (
        installed, windows, expected_machine)
    target = shortcut_target(drive / SHORTCUT)
    assert target == INSTALL_DIR + r"\lumeno.exe", "the Start menu shortcut points to %r" % target
    entry = uninstall_entry(prefix, windows)
    assert entry is not None, "no uninstall entry %s" % UNINSTALL_KEY
    uninstaller = '"%s\\uninstall.exe"' % INSTALL_DIR
    expected = {"DisplayName": "lumeno", "DisplayVersion": version, "Publisher": "lumeno developers",
                "DisplayIcon": target, "UninstallString": uninstaller,
                "QuietUninstallString": uninstaller + " /S"}
    wrong = {k: entry.get(k) for k, v in expected.items() if entry.get(k) != v}
    assert not wrong, "uninstall entry has %s, expected %s" % (wrong, expected)
    kib = sum((folder / name).stat().st_size for name in found) // 1024
    assert int(entry.get("EstimatedSize", "0"), 16) == kib, "EstimatedSize %s, the files take %d KiB" % (
        entry.get("EstimatedSize"), kib)
    return target, entry["QuietUninstallString"]


def check_runs(prefix, program, picture, screenshots, windows):
    """The installed program shows its window with the picture in both boxes."""
    harness.config.platform = "wine"
    harness.config.wine_prefix = str(prefix)
    harness.config.lumeno = program
    harness.config.screenshots = screenshots
    name = "installed-" + windows
    with platform_wine.Session(name).start() as session:
        session.wait_for_client_area(harness.picture_shown(harness.read_bmp(picture)), name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--windows", choices=WINDOWS, required=True)
    parser.add_argument("--runs-x86", type=int, choices=(0, 1), required=True,
                        help="1 when this machine runs 32-bit x86 programs, as the installer is")
    for option in ("cpack", "config", "zip-config", "wine-prefix-script", "version", "picture", "screenshots",
                   "work-dir"):
        parser.add_argument("--" + option, required=True)
    args = parser.parse_args()
    os.makedirs(args.screenshots, exist_ok=True)
    work = Path(args.work_dir)
    shutil.rmtree(work, ignore_errors=True)
    packages = work / "packages"
    prefix = work / "prefix"
    try:
        for generator, config in (("NSIS", args.config), ("ZIP", args.zip_config)):
            subprocess.run([args.cpack, "-G", generator, "--config", config, "-B", packages],
                           stdout=subprocess.DEVNULL, check=True)
        check_zip(packages, args.version, args.windows)
        if not args.runs_x86:
            print("Skipped: the installer is a 32-bit x86 program, which this machine cannot run; the zip is as it should be")
            return SKIPPED
        subprocess.run([args.wine_prefix_script, prefix, "make", args.windows], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
        before = files_under(prefix / "drive_c")
        wine(prefix, "wine", packages / f"lumeno-{args.version}-setup.exe", "/S")
        program, quiet_uninstall = check_installed(prefix, args.version, args.windows)
        check_runs(prefix, program, args.picture, args.screenshots, args.windows)
        # The command line as Windows runs it: the quoted uninstaller, then /S.
        uninstaller, switch = quiet_uninstall.rsplit(" ", 1)
        wine(prefix, "wine", uninstaller.strip('"'), switch)
        # The uninstaller runs from a copy of itself in Temp, which Windows deletes at its
        # next start (leaving the copy's empty folder, as on Windows).
        wine(prefix, "wine", "wineboot", "--restart")
        left = files_under(prefix / "drive_c") - before
        assert not left, "the uninstaller left %s" % sorted(left)
        assert not (prefix / "drive_c/Program Files/lumeno").exists(), "the uninstaller left its folder"
        assert uninstall_entry(prefix, args.windows) is None, "the uninstaller left %s" % UNINSTALL_KEY
    finally:
        if prefix.exists():
            subprocess.run([args.wine_prefix_script, prefix, "stop"], check=False)
        shutil.rmtree(work, ignore_errors=True)
    print("installer: ok")


if __name__ == "__main__":
    sys.exit(main())
