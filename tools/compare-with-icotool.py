#!/usr/bin/env python3
"""Compares every image tessel-iconinfo --images writes with what icoutils
(wrestool, icotool) extracts from the same files: same sizes, and every pixel
within a tolerance per channel. Pixels both call fully transparent match
whatever colour they carry. A check by hand against a reader that is not ours.

usage: compare-with-icotool.py TESSEL_ICONINFO [--tolerance N] FILE...
Prints one line per image that differs and a summary; exit status 1 when any does.
"""
import os
import re
import subprocess
import sys
import tempfile


def rgba(png):
    """The PNG's size and its pixels as straight RGBA bytes, read by ImageMagick."""
    size = subprocess.run(["identify", "-format", "%w %h", png], capture_output=True, text=True, check=True).stdout
    w, h = (int(v) for v in size.split())
    data = subprocess.run(["convert", png, "-depth", "8", "rgba:-"], capture_output=True, check=True).stdout
    return w, h, data


def icoutils_images(path, work):
    """{(icon, k): png} as icotool extracts them; icons numbered in the order of the resource directory."""
    groups = []
    if path.lower().endswith((".ico", ".cur")):
        groups = [path]
    else:
        listing = subprocess.run(["wrestool", "-l", "-t14", path], capture_output=True, text=True).stdout
        for n, line in enumerate(l for l in listing.splitlines() if "--type=14" in l):
            name = re.search(r"--name=(\S+)", line).group(1).strip("'")
            lang = re.search(r"--language=(\S+)", line).group(1)
            out = os.path.join(work, "group%d.ico" % n)
            with open(out, "wb") as f:
                subprocess.run(["wrestool", "-x", "-t14", "--name=" + name, "--language=" + lang, path],
                               stdout=f, check=True)
            groups.append(out)
    images = {}
    for n, group in enumerate(groups):
        folder = os.path.join(work, "icotool%d" % n)
        os.makedirs(folder)
        subprocess.run(["icotool", "-x", "-o", folder, group], capture_output=True)
        for png in os.listdir(folder):
            m = re.search(r"_(\d+)_\d+x\d+x\d+\.png$", png)
            if m:
                images[(n, int(m.group(1)) - 1)] = os.path.join(folder, png)
    return images


def ours(iconinfo, path, work):
    folder = os.path.join(work, "ours")
    os.makedirs(folder)
    subprocess.run([iconinfo, "--images", folder, path], capture_output=True)
    base = re.escape(os.path.basename(path))
    images = {}
    for png in os.listdir(folder):
        m = re.match(base + r"\.(\d+)-(\d+)\.png$", png)
        if m:
            images[(int(m.group(1)), int(m.group(2)))] = os.path.join(folder, png)
    return images


def differs(a, b, tolerance):
    """Why two images differ, or None."""
    (wa, ha, pa), (wb, hb, pb) = rgba(a), rgba(b)
    if (wa, ha) != (wb, hb):
        return "size %dx%d, icotool %dx%d" % (wa, ha, wb, hb)
    worst = 0
    for i in range(0, len(pa), 4):
        if pa[i + 3] == 0 and pb[i + 3] == 0:
            continue
        worst = max(worst, *(abs(pa[i + c] - pb[i + c]) for c in range(4)))
    return "a channel %d apart" % worst if worst > tolerance else None


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    iconinfo, files, tolerance = argv[1], argv[2:], 2
    if files[0] == "--tolerance":
        tolerance, files = int(files[1]), files[2:]
    compared = bad = 0
    for path in files:
        with tempfile.TemporaryDirectory() as work:
            theirs, mine = icoutils_images(path, work), ours(iconinfo, path, work)
            for key in sorted(set(theirs) | set(mine)):
                name = "%s icon %d image %d" % (path, key[0], key[1])
                if key not in mine:
                    print(name + ": only icotool has it")
                    bad += 1
                elif key not in theirs:
                    continue  # icotool skips images it cannot read; ours are checked by the tests
                else:
                    compared += 1
                    why = differs(mine[key], theirs[key], tolerance)
                    if why:
                        print("%s: %s" % (name, why))
                        bad += 1
    print("%d images compared, %d differ (tolerance %d per channel)" % (compared, bad, tolerance))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
