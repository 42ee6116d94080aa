"""What the user wrote comes back into Python whatever its bytes: a sample name in Latin-1, a
comma in a sample name of a DataFrame."""

import warnings

import pytest

import erosion_thermal as et
from conftest import ROOT

OBSERVED = ROOT / "examples" / "observed_ages.csv"
HISTORY_AGES = ROOT / "examples" / "history_ages.csv"
FITS = [lambda observed: et.fit_rate(observed, rates=(0.4, 0.8, 0.1), mean_elevation_m=2000),
        lambda observed: et.fit_history(observed, "30:0.1", 1)]


def quietly(fit, observed):
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        return fit(observed)


@pytest.mark.parametrize("fit, source", zip(FITS, (OBSERVED, HISTORY_AGES)),
                         ids=["fit_rate", "fit_history"])
def test_a_latin1_sample_name_comes_back_with_its_bytes_replaced(fit, source, tmp_path):
    # "Gneiß" saved by a spreadsheet in Latin-1: the byte 0xDF is not UTF-8.
    lines = source.read_bytes().splitlines(keepends=True)
    header = next(k for k, line in enumerate(lines) if not line.startswith(b"#"))
    first = lines[header + 1]
    lines[header + 1] = "Gneiß".encode("latin-1") + first[first.index(b","):]
    observed = tmp_path / "latin1.csv"
    observed.write_bytes(b"".join(lines))
    result = quietly(fit, observed)
    assert result["residuals"]["sample"][0] == "Gnei\ufffd"


def test_latin1_in_a_refusal_is_replaced(tmp_path):
    observed = tmp_path / "latin1.csv"
    observed.write_bytes("sample,system,age_ma,sigma_ma\nGneiß,AHß,5,1\n".encode("latin-1"))
    with pytest.raises(ValueError, match="line 2: unknown system 'AH\ufffd'"):
        et.fit_rate(observed, rates=(0.4, 0.8, 0.1))


@pytest.mark.parametrize("fit, source", zip(FITS, (OBSERVED, HISTORY_AGES)),
                         ids=["fit_rate", "fit_history"])
def test_a_comma_in_a_sample_name_of_a_dataframe_is_kept(fit, source):
    pandas = pytest.importorskip("pandas")
    frame = pandas.read_csv(source, comment="#")
    frame["sample"] = frame["sample"] + ", ridge"
    renamed = quietly(fit, frame)
    plain = quietly(fit, source)
    assert list(renamed["residuals"]["sample"]) == [name + ", ridge"
                                                    for name in plain["residuals"]["sample"]]
    expected = plain["summary"].replace(str(source), "DataFrame")
    for name in set(plain["residuals"]["sample"]):  # samples a warning names
        expected = expected.replace(f"{name} (", f"{name}, ridge (")
    assert renamed["summary"] == expected
