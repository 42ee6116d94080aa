"""Ctrl-C stops a long fit at once: SIGINT sent to the process during a fit raises
KeyboardInterrupt within a fraction of a second, not once the fit is done."""

import os
import signal
import threading
import time

import pytest

import erosion_thermal as et
from conftest import ROOT

# Fits that run on: a sweep of 9500 rates (some 15 s on two cores), and the sampler over
# 100000 steps (hours).
LONG_FITS = [
    lambda: et.fit_rate(ROOT / "examples" / "observed_ages.csv", rates=(0.1, 2.0, 0.0002),
                        mean_elevation_m=2000),
    lambda: et.fit_history(ROOT / "examples" / "history_ages.csv", "30:0.1", 3, steps=100000),
]
SIGNAL_AFTER_S = 0.5
# Time for the engines to reach their next check, and for a loaded machine.
STOPPED_WITHIN_S = 1.5


@pytest.mark.parametrize("fit", LONG_FITS, ids=["fit_rate", "fit_history"])
def test_sigint_during_a_fit_raises_keyboard_interrupt_at_once(fit):
    timer = threading.Timer(SIGNAL_AFTER_S, os.kill, (os.getpid(), signal.SIGINT))
    start = time.monotonic()
    timer.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            fit()
    finally:
        timer.cancel()
    assert time.monotonic() - start < SIGNAL_AFTER_S + STOPPED_WITHIN_S
