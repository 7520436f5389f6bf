import fcntl
import os
import re
import shutil

import pytest

from harness import ARTIFACTS, Desktop, make_template_prefix

TEMPLATE_DIR = "wine-template"


def _template_root(tmp_path_factory):
    # xdist workers get <run's basetemp>/popen-gwN, so the parent is shared by the whole run.
    base = tmp_path_factory.getbasetemp()
    return (base.parent if os.environ.get("PYTEST_XDIST_WORKER") else base) / TEMPLATE_DIR


@pytest.fixture(scope="session")
def wine_template(tmp_path_factory):
    """A booted Wine prefix made once per run (shared by xdist workers); each test gets its own copy."""
    root = _template_root(tmp_path_factory)
    with open(root.with_name(TEMPLATE_DIR + ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not (root / "ready").exists():
            shutil.rmtree(root, ignore_errors=True)
            make_template_prefix(root)
            (root / "ready").touch()
    yield root / "prefix"


def pytest_sessionfinish(session):
    # Only the controlling process (or a run without xdist) removes the template, after every worker is done.
    if os.environ.get("PYTEST_XDIST_WORKER"):
        return
    factory = getattr(session.config, "_tmp_path_factory", None)
    if factory is not None:
        shutil.rmtree(factory.getbasetemp() / TEMPLATE_DIR, ignore_errors=True)


@pytest.hookimpl(tryfirst=True, hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    setattr(item, "report_" + report.when, report)


@pytest.fixture
def desktop(request, wine_template, tmp_path):
    """A private screen (Xvfb 1024x768), Wine prefix copy, HOME and Documents folder for one test."""
    name = re.sub(r"[^\w.-]+", "_", request.node.name).strip("_")
    desk = Desktop(wine_template, tmp_path, name)
    try:
        yield desk
    finally:
        failed = getattr(request.node, "report_call", None)
        try:
            if failed is not None and failed.failed:
                shot = desk.screenshot("failure")
                print(f"\nscreen at failure: {shot.path.relative_to(ARTIFACTS.parents[1])}")
                for program in desk.programs:
                    print(f"--- output of {program.log.name} (exit {program.proc.poll()}):\n"
                          + program.output()[-4000:])
        finally:
            desk.close()
