#!/usr/bin/env python3
"""Builds Qiravon's shipped catalogue (data/*.cdb) from the UTF-8 station lists.

Usage:
    make_catalogue.py SOURCE_DIR [--out DATA_DIR] [--check]

SOURCE_DIR holds regions.txt, stations.tsv, featured.tsv, net.tsv and foreign.tsv (UTF-8,
tab-separated). The output files are GBK with CR LF line ends, as the player reads them.
With --check nothing is written; the exit status says whether DATA_DIR is up to date.

Everything is validated before anything is written, so a bad source never leaves a
half-updated data folder behind.
"""

import argparse
import os
import sys
import tempfile
from pathlib import Path

ENCODING = "gbk"
LINE_END = b"\r\n"
MAP_LINES = 35
# The bar covers the starts of its two rows with fixed links of these names, so the file must
# carry the same names there to keep the covered links as wide as the ones over them.
ROW_STARTS = {1: "安徽", 19: "吉林"}
# Regions whose stations play through their own web players: only shown, never listed.
WEB_PLAYER_LINES = (2, 8)
# Positions in a line were 16-bit once; a separator further along is never seen by the reader.
MAX_LINE_CHARS = 32767

REPO_DATA = Path(__file__).resolve().parents[2] / "data"


class CatalogueError(Exception):
    pass


def read_rows(path, columns):
    """The non-empty lines of a UTF-8 TSV file, each split into exactly `columns` fields."""
    try:
        text = path.read_text(encoding="utf-8-sig")
    except FileNotFoundError:
        raise CatalogueError(f"{path}: file not found")
    except UnicodeDecodeError as e:
        raise CatalogueError(f"{path}: not UTF-8 ({e})")
    rows = []
    for number, line in enumerate(text.split("\n"), 1):
        if line.endswith("\r"):
            line = line[:-1]
        if not line.strip():
            continue
        fields = line.split("\t")
        where = f"{path.name}:{number}"
        if len(fields) != columns:
            raise CatalogueError(f"{where}: {len(fields)} fields, expected {columns}")
        rows.append((where, fields))
    return rows


def check_field(where, field, what, allow_hash=True):
    if not field:
        raise CatalogueError(f"{where}: empty {what}")
    if field != field.strip():
        # Captions and categories are compared exactly; a stray blank silently unlinks them.
        raise CatalogueError(f"{where}: blanks around the {what} {field!r}")
    if "|" in field:
        raise CatalogueError(f"{where}: '|' inside the {what} {field!r} would split the record")
    if "\r" in field or "\n" in field:
        raise CatalogueError(f"{where}: line break inside the {what}")
    if not allow_hash and "#" in field:
        raise CatalogueError(f"{where}: '#' in the {what} {field!r} would make a category line")
    try:
        field.encode(ENCODING)
    except UnicodeEncodeError as e:
        bad = field[e.start:e.end]
        raise CatalogueError(
            f"{where}: {what} {field!r} has {bad!r} (U+{ord(bad[0]):04X}), not representable in GBK")


def record_line(where, name, url, description, allow_hash):
    check_field(where, name, "name", allow_hash)
    check_field(where, url, "stream address", allow_hash)
    check_field(where, description, "description", allow_hash)
    line = f"{name}|{url}|{description}"
    if len(line) > MAX_LINE_CHARS:
        raise CatalogueError(f"{where}: line of {len(line)} characters, limit {MAX_LINE_CHARS}")
    return line


def build(source):
    """Returns {file name: list of lines} for the five catalogue files."""
    regions = [fields[0] for _, fields in read_rows(source / "regions.txt", 1)]
    stations = read_rows(source / "stations.tsv", 4)

    by_region = {}
    for where, (region, name, url, description) in stations:
        check_field(where, region, "region")
        # radiolist.cdb treats any line with '#' as a category line, so no record may hold one.
        line = record_line(where, name, url, description, allow_hash=False)
        by_region.setdefault(region, []).append(line)

    if len(regions) != MAP_LINES:
        raise CatalogueError(f"regions.txt: {len(regions)} regions, the bar has {MAP_LINES} places")
    for number, region in enumerate(regions, 1):
        check_field(f"regions.txt:{number}", region, "region")
    for number, name in ROW_STARTS.items():
        if regions[number - 1] != name:
            raise CatalogueError(
                f"regions.txt:{number}: {regions[number - 1]!r}, must be {name!r} (row start)")
    for number, region in enumerate(regions, 1):
        if number not in WEB_PLAYER_LINES and region not in by_region:
            raise CatalogueError(
                f"regions.txt:{number}: region {region!r} has no station in stations.tsv")
    if len(set(regions)) != len(regions):
        raise CatalogueError("regions.txt: a region is listed twice")

    # Bar order first, so the master table reads like the bar; regions only in stations.tsv
    # follow in the order they first appear.
    order = [r for r in regions if r in by_region] + [r for r in by_region if r not in regions]
    radiolist = []
    for region in order:
        radiolist.append("#" + region)
        radiolist.extend(by_region[region])

    files = {"map.cdb": regions, "radiolist.cdb": radiolist}
    for target, source_name in (("fine.cdb", "featured.tsv"), ("NetRadio.cdb", "net.tsv"),
                                ("forin.cdb", "foreign.tsv")):
        rows = read_rows(source / source_name, 3)
        if not rows:
            raise CatalogueError(f"{source_name}: no stations")
        # These files have no category lines; '#' is plain text there.
        files[target] = [record_line(where, *fields, allow_hash=True) for where, fields in rows]
    return files


def encode(lines):
    return b"".join(line.encode(ENCODING) + LINE_END for line in lines)


def write_atomically(path, data):
    fd, temp = tempfile.mkstemp(dir=path.parent, prefix="." + path.name)
    try:
        with os.fdopen(fd, "wb") as f:
            f.write(data)
        os.chmod(temp, 0o644)
        os.replace(temp, path)
    except BaseException:
        os.unlink(temp)
        raise


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("source", type=Path, help="folder with regions.txt and the .tsv files")
    parser.add_argument("--out", type=Path, default=REPO_DATA, help="data folder to write")
    parser.add_argument("--check", action="store_true",
                        help="write nothing; fail when the data folder differs")
    args = parser.parse_args(argv)

    try:
        files = {name: encode(lines) for name, lines in build(args.source).items()}
    except CatalogueError as e:
        print(f"make_catalogue: {e}", file=sys.stderr)
        return 1

    if args.check:
        stale = [n for n, data in files.items()
                 if not (args.out / n).is_file() or (args.out / n).read_bytes() != data]
        for name in stale:
            print(f"make_catalogue: {args.out / name} is out of date", file=sys.stderr)
        return 1 if stale else 0

    args.out.mkdir(parents=True, exist_ok=True)
    for name, data in files.items():
        write_atomically(args.out / name, data)
        print(f"{args.out / name}: {data.count(LINE_END)} lines")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
