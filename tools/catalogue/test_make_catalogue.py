"""Checks that make_catalogue.py writes what the player reads and refuses what it would misread."""

import contextlib
import io
import tempfile
import unittest
from pathlib import Path

import make_catalogue

REGIONS = ["安徽", "北京"] + [f"区{i}" for i in range(3, 19)] + ["吉林"] + [f"区{i}" for i in range(20, 36)]


class Source:
    """A complete, valid source folder that a test may spoil one file of."""

    def __init__(self):
        self._dir = tempfile.TemporaryDirectory()
        self.path = Path(self._dir.name)
        # Lines 2 and 8 name web-player regions and need no stations.
        listed = [r for i, r in enumerate(REGIONS, 1) if i not in (2, 8)]
        self.files = {
            "regions.txt": "\n".join(REGIONS) + "\n",
            "stations.tsv": "".join(f"{r}\t{r}台\thttp://s/{i}\t说明\n" for i, r in enumerate(listed)),
            "featured.tsv": "#精品\thttp://f/1\t井号在这里只是文字\n",
            "net.tsv": "网台\thttp://n/1\t网络\n",
            "foreign.tsv": "BBC\thttp://b/1\t英语\n",
        }

    def write(self):
        for name, text in self.files.items():
            (self.path / name).write_text(text, encoding="utf-8")
        return self.path

    def close(self):
        self._dir.cleanup()


class MakeCatalogueTest(unittest.TestCase):
    def setUp(self):
        self.source = Source()
        self.out = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.source.close()
        self.out.cleanup()

    def run_tool(self, *extra):
        return make_catalogue.main([str(self.source.write()), "--out", self.out.name, *extra])

    def assertRefused(self, needle):
        with _Stderr() as err:
            self.assertEqual(self.run_tool(), 1)
        self.assertIn(needle, err.text)
        self.assertEqual(list(Path(self.out.name).iterdir()), [], "wrote files despite the error")

    def test_writes_gbk_crlf_files_the_player_reads(self):
        self.assertEqual(self.run_tool(), 0)
        out = Path(self.out.name)
        raw = (out / "radiolist.cdb").read_bytes()
        self.assertTrue(raw.endswith(b"\r\n"))
        self.assertNotIn(b"\n", raw.replace(b"\r\n", b""))
        lines = raw.decode("gbk").split("\r\n")[:-1]
        self.assertEqual(lines[:2], ["#安徽", "安徽台|http://s/0|说明"])
        self.assertEqual((out / "map.cdb").read_bytes().decode("gbk").split("\r\n")[:-1], REGIONS)
        self.assertEqual((out / "fine.cdb").read_bytes(),
                         "#精品|http://f/1|井号在这里只是文字\r\n".encode("gbk"))
        self.assertEqual(self.run_tool("--check"), 0)

    def test_check_notices_stale_output(self):
        self.assertEqual(self.run_tool(), 0)
        (Path(self.out.name) / "forin.cdb").write_bytes(b"old\r\n")
        with _Stderr() as err:
            self.assertEqual(self.run_tool("--check"), 1)
        self.assertIn("forin.cdb", err.text)

    def test_refuses_a_separator_inside_a_field(self):
        self.source.files["net.tsv"] = "网|台\thttp://n/1\t网络\n"
        self.assertRefused("'|'")

    def test_refuses_text_not_in_gbk(self):
        self.source.files["foreign.tsv"] = "Radio 🎵\thttp://b/1\t英语\n"
        self.assertRefused("not representable in GBK")

    def test_refuses_a_hash_in_a_master_record(self):
        # It would turn the station into a category line.
        self.source.files["stations.tsv"] += "安徽\tFM#1\thttp://s/x\t说明\n"
        self.assertRefused("category line")

    def test_refuses_a_region_without_stations(self):
        self.source.files["stations.tsv"] = "".join(
            line + "\n" for line in self.source.files["stations.tsv"].splitlines()
            if not line.startswith("区3\t"))
        self.assertRefused("区3")

    def test_refuses_a_wrong_row_start(self):
        regions = REGIONS.copy()
        regions[18], regions[19] = regions[19], regions[18]
        self.source.files["regions.txt"] = "\n".join(regions) + "\n"
        self.assertRefused("row start")

    def test_refuses_blanks_that_would_break_exact_matching(self):
        self.source.files["stations.tsv"] += "安徽 \tX\thttp://s/x\t说明\n"
        self.assertRefused("blanks")

    def test_refuses_a_missing_column(self):
        self.source.files["featured.tsv"] = "只有名称\thttp://f/1\n"
        self.assertRefused("2 fields")


class _Stderr:
    """Captures what the tool prints to stderr."""

    def __enter__(self):
        self._buffer = io.StringIO()
        self._redirect = contextlib.redirect_stderr(self._buffer)
        self._redirect.__enter__()
        return self

    def __exit__(self, *exc):
        self._redirect.__exit__(*exc)
        self.text = self._buffer.getvalue()
        return False


if __name__ == "__main__":
    unittest.main()
