"""The module `curvex` against the `curvex` tool: the same files give the same numbers."""

import csv
import gc
import io
import os
import subprocess
import sys

import numpy as np
import pytest

import curvex

CURVEX = os.path.join(os.environ.get("PLOTWELL_BIN", "build/dev/bin"), "curvex")

RECORD_FIELDS = ["toolNo", "blockNo", "motionCode", "x", "y", "z", "orgFeed", "removalKind",
                 "removal", "optFeed"]


def run_curvex(*arguments):
    return subprocess.run([CURVEX, *map(str, arguments)], check=True, capture_output=True,
                          text=True).stdout


def csv_rows(text):
    return list(csv.DictReader(io.StringIO(text)))


@pytest.fixture(scope="module")
def files(tmp_path_factory):
    folder = tmp_path_factory.mktemp("files")
    made = {}
    for name, extra in [("random.txt", []), ("random.bin", []),
                        ("part.TXT", ["--paths", "part"])]:
        path = folder / name
        run_curvex("synth", "--seed", 4, "--blocks", 20000, *extra, "-o", path)
        made[name] = str(path)
    return made


@pytest.mark.parametrize("name", ["random.txt", "random.bin", "part.TXT"])
def test_load_gives_the_columns_of_dump(files, name):
    data = curvex.load(files[name])
    dump = np.genfromtxt(io.StringIO(run_curvex("dump", files[name])), delimiter=",",
                         names=True, dtype=None)
    assert len(data) == len(dump) > 1000
    np.testing.assert_array_equal(dump["i"], np.arange(len(data)))
    for field in RECORD_FIELDS:
        np.testing.assert_array_equal(data.records[field], dump[field].astype(
            data.records.dtype[field]), err_msg=field)
    np.testing.assert_array_equal(data.total_distance, dump["totalDistance"].astype(np.float32))
    np.testing.assert_array_equal(data.cut_distance, dump["cutDistance"].astype(np.float32))
    np.testing.assert_array_equal(data.block_numbers, dump["blockNo"])
    for mode in range(3):
        np.testing.assert_array_equal(curvex.series(data, mode),
                                      dump[f"series{mode}"].astype(np.float32))


def test_a_g00_feed_changes_the_series_as_in_dump(files):
    data = curvex.load(files["random.bin"])
    dump = np.genfromtxt(io.StringIO(run_curvex("dump", "--g00", 6000, files["random.bin"])),
                         delimiter=",", names=True)
    for mode in range(3):
        np.testing.assert_array_equal(curvex.series(data, mode, g00=6000.0),
                                      dump[f"series{mode}"].astype(np.float32))


def test_maxima_are_those_of_info(files):
    data = curvex.load(files["random.txt"])
    info = dict(line.split(": ") for line in run_curvex("info", files["random.txt"]).splitlines())
    assert data.maxima.shape == (16,)
    assert data.maxima[0] == np.float32(info["max removal"])
    assert data.maxima[1] == np.float32(info["max removal rate with programmed feed"])
    assert data.maxima[2] == np.float32(info["max removal rate with optimised feed"])


def stats_as_csv(row):
    """One row of curvex.stats() in the text of `curvex stats --csv`."""
    percent = row["saved_percent"]
    return {"tool": str(row["tool"]), "records": str(row["records"]),
            "cut_mm": f"{row['cut_mm']:.3f}", "rapid_mm": f"{row['rapid_mm']:.3f}",
            "programmed_s": f"{row['programmed_s']:.3f}",
            "optimised_s": f"{row['optimised_s']:.3f}", "saved_s": f"{row['saved_s']:.3f}",
            "saved_percent": "" if percent is None else f"{percent:.2f}",
            "no_feed_programmed": str(row["no_feed_programmed"]),
            "no_feed_optimised": str(row["no_feed_optimised"]),
            "air_mm": f"{row['air_mm']:.3f}", "air_programmed_s": f"{row['air_programmed_s']:.3f}",
            "air_optimised_s": f"{row['air_optimised_s']:.3f}"}


@pytest.mark.parametrize("options, keywords", [
    ([], {}),
    (["--g00", 6000], {"g00": 6000.0}),
    (["--range", 20, 70], {"range": (20, 70)}),
    (["--range", 5, 30, "--dist", 1], {"range": (5, 30), "dist": 1}),
    (["--range", 40, 90, "--dist", 2, "--g00", 2500], {"range": (40, 90), "dist": 2, "g00": 2500}),
])
@pytest.mark.parametrize("name", ["random.bin", "part.TXT"])
def test_stats_are_those_of_the_stats_command(files, name, options, keywords):
    expected = csv_rows(run_curvex("stats", "--csv", *options, files[name]))
    rows = curvex.stats(curvex.load(files[name]), **keywords)
    assert [stats_as_csv(row) for row in rows] == expected
    assert rows[-1]["tool"] == "total" and len(rows) >= 2


@pytest.mark.parametrize("options, keywords", [
    ([], {}),
    (["--func", 1, "--top", 7, "--gap", 500], {"func": 1, "top": 7, "gap": 500}),
    (["--func", 2, "--range", 30, 60, "--dist", 1], {"func": 2, "range": (30, 60), "dist": 1}),
    (["--compare", "feeds", "--g00", 7000], {"compare": "feeds", "g00": 7000}),
    (["--compare", "change", "--top", 30, "--gap", 10], {"compare": "change", "top": 30, "gap": 10}),
])
def test_peaks_are_those_of_the_peaks_command(files, options, keywords):
    expected = csv_rows(run_curvex("peaks", "--csv", *options, files["random.txt"]))
    peaks = curvex.peaks(curvex.load(files["random.txt"]), **keywords)
    assert len(peaks) == len(expected) > 0
    for peak, line in zip(peaks, expected):
        for key in ["rank", "index", "blockNo", "toolNo", "orgFeed", "optFeed"]:
            assert str(peak[key]) == line[key], key
        for key in ["value", "removal"]:
            assert np.float32(peak[key]) == np.float32(line[key]), key


def test_the_format_flag_and_any_thread_count_load_the_same(files):
    by_ending = curvex.load(files["random.txt"])
    for other in [curvex.load(files["random.txt"], format="text", threads=1),
                  curvex.load(files["random.txt"], threads=3)]:
        assert other.records.tobytes() == by_ending.records.tobytes()
        assert other.total_distance.tobytes() == by_ending.total_distance.tobytes()
        assert other.cut_distance.tobytes() == by_ending.cut_distance.tobytes()


def test_records_lie_over_the_loaded_memory(files):
    data = curvex.load(files["random.bin"])
    records = data.records
    assert records.dtype.itemsize == 40
    assert records.dtype.names == tuple(RECORD_FIELDS)
    assert [records.dtype.fields[f][1] for f in RECORD_FIELDS] == [0, 4, 8, 12, 16, 20, 24, 28,
                                                                   32, 36]
    assert records.ctypes.data == data.records.ctypes.data
    assert data.total_distance.ctypes.data == data.total_distance.ctypes.data


def test_arrays_are_read_only_and_outlive_the_data(files):
    data = curvex.load(files["random.bin"])
    arrays = [data.records, data.total_distance, data.cut_distance, data.block_numbers,
              data.maxima]
    copies = [a.copy() for a in arrays]
    for array in arrays:
        assert not array.flags.writeable
        with pytest.raises(ValueError):
            array[0] = array[1]
    del data
    gc.collect()
    curvex.load(files["random.txt"])  # memory to reuse, if the data had been freed
    for array, copy in zip(arrays, copies):
        np.testing.assert_array_equal(array, copy)


@pytest.fixture
def bad_files(tmp_path):
    (tmp_path / "empty.txt").write_bytes(b"")
    (tmp_path / "short.bin").write_bytes(b"0123456789")
    (tmp_path / "cut.bin").write_bytes(bytes([0, 0, 0x80, 0x3f, 0, 0, 0, 0x40, 0, 0, 0x40, 0x40,
                                              0x40, 0, 1, 0]))
    (tmp_path / "k.dat").write_bytes(b"T1\r\n")
    os.mkfifo(tmp_path / "pipe.txt")
    (tmp_path / "folder.txt").mkdir()
    return tmp_path


@pytest.mark.parametrize("name, error, reason", [
    ("none.txt", FileNotFoundError, "cannot open the file"),
    ("folder.txt", OSError, "cannot"),
    ("pipe.txt", OSError, "not a regular file"),
    ("empty.txt", ValueError, "the file is empty"),
    ("short.bin", ValueError, "the file is shorter than its 12-byte header"),
    ("cut.bin", ValueError, "truncated entry at byte offset 14"),
    ("k.dat", ValueError, "cannot tell the format"),
])
def test_failed_loads_raise_with_the_loaders_reason(bad_files, name, error, reason):
    with pytest.raises(error, match=reason):
        curvex.load(str(bad_files / name))


def test_wrong_arguments_raise_value_errors(files):
    with pytest.raises(ValueError, match="format must be"):
        curvex.load(files["random.txt"], format="csv")
    data = curvex.load(files["random.txt"])
    for call in [lambda: curvex.series(data, 3), lambda: curvex.stats(data, g00=0),
                 lambda: curvex.peaks(data, gap=0), lambda: curvex.peaks(data, compare="both")]:
        with pytest.raises(ValueError):
            call()


RENDER_OPTIONS = [
    ([], {}),
    (["--size", "640x360", "--func", 1, "--dist", 2], {"size": (640, 360), "func": 1, "dist": 2}),
    (["--range", 20, 45, "--g00", 2500, "--fit-height"],
     {"range": (20, 45), "g00": 2500, "fit_height": True}),
    (["--compare", "rates", "--colour-by", "tool", "--legend"],
     {"compare": "rates", "colour_by": "tool", "legend": True}),
    (["--compare", "feeds", "--dist", 1], {"compare": "feeds", "dist": 1}),
    (["--compare", "change", "--legend", "--fit-height", "--range", 10, 60],
     {"compare": "change", "legend": True, "fit_height": True, "range": (10, 60)}),
]


@pytest.mark.parametrize("ending", ["png", "svg"])
@pytest.mark.parametrize("options,keywords", RENDER_OPTIONS)
def test_render_draws_what_the_render_command_draws(files, tmp_path, ending, options, keywords):
    data = curvex.load(files["part.TXT"])
    ours = tmp_path / f"module.{ending}"
    theirs = tmp_path / f"command.{ending}"
    curvex.render(data, str(ours), **keywords)
    run_curvex("render", *options, "-o", theirs, files["part.TXT"])
    assert ours.read_bytes() == theirs.read_bytes()


def test_render_takes_the_titles_and_colours_of_a_settings_file(files, tmp_path):
    for name in ("module.ini", "command.ini"):
        (tmp_path / name).write_text("[Property]\nDrawing Color 1=255\n[Y Title]\nY1=Rate\n")
    data = curvex.load(files["random.bin"])
    curvex.render(data, str(tmp_path / "module.png"), func=1, ini=str(tmp_path / "module.ini"))
    run_curvex("render", "--func", 1, "--ini", tmp_path / "command.ini", "-o",
               tmp_path / "command.png", files["random.bin"])
    assert (tmp_path / "module.png").read_bytes() == (tmp_path / "command.png").read_bytes()
    assert (tmp_path / "module.ini").read_text() == (tmp_path / "command.ini").read_text()


def test_render_refuses_wrong_options_and_its_own_input(files, tmp_path):
    data = curvex.load(files["random.txt"])
    for keywords, error in [({"compare": "both"}, ValueError), ({"size": (0, 10)}, ValueError),
                            ({"colour_by": "feed"}, ValueError), ({"dist": 3}, ValueError),
                            ({"range": (60, 20)}, ValueError)]:
        with pytest.raises(error):
            curvex.render(data, str(tmp_path / "out.png"), **keywords)
    with pytest.raises(ValueError, match="must end in"):
        curvex.render(data, str(tmp_path / "out.bmp"))
    link = tmp_path / "data.png"
    os.symlink(files["random.txt"], link)
    before = open(files["random.txt"], "rb").read()
    with pytest.raises(OSError, match="it is the input"):
        curvex.render(data, str(link))
    assert open(files["random.txt"], "rb").read() == before
    with pytest.raises(OSError, match="cannot write"):
        curvex.render(data, str(tmp_path / "no such folder" / "out.png"))
    assert not list(tmp_path.glob("out.*"))


def test_import_loads_no_qt():
    maps = subprocess.run([sys.executable, "-c",
                           "import curvex, numpy; print(open('/proc/self/maps').read())"],
                          check=True, capture_output=True, text=True).stdout
    assert "curvex" in maps and "libQt" not in maps


def test_the_example_of_the_python_page_runs(tmp_path):
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    with open(os.path.join(root, "docs", "python.md"), encoding="utf-8") as page:
        example = page.read().split("```python\n", 1)[1].split("```", 1)[0]
    os.symlink(os.path.join(root, "samples"), tmp_path / "samples")
    result = subprocess.run([sys.executable, "-c", example], cwd=tmp_path, capture_output=True,
                            text=True, env=dict(os.environ, MPLCONFIGDIR=str(tmp_path),
                                                 PYTHONPATH=os.path.dirname(curvex.__file__)))
    assert result.returncode == 0, result.stderr
    assert "samples/PARTDATA.txt:" in result.stdout
    assert (tmp_path / "rate.png").stat().st_size > 1000
