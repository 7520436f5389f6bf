"""Runs each Windows check program (tests/windows/*_check.cpp, built as build/windows/*_check.exe) under Wine."""

import pytest

from harness import BUILD

CHECKS = sorted(BUILD.glob("*_check.exe"))


@pytest.mark.parametrize("exe", CHECKS, ids=[p.stem for p in CHECKS])
def test_windows_check_passes(desktop, exe):
    result = desktop.run_console(exe)
    output = result.stdout.decode("gbk", "replace")  # the programs print ANSI (GBK) texts
    assert result.returncode == 0, f"{exe.name} exited with {result.returncode}:\n{output}"
