import re
import shutil

import pytest

from harness import ARTIFACTS, Desktop, make_template_prefix


@pytest.fixture(scope="session")
def wine_template(tmp_path_factory):
    """A booted Wine prefix made once per test process; each test gets its own copy."""
    root = tmp_path_factory.mktemp("wine-template")
    yield make_template_prefix(root)
    shutil.rmtree(root, ignore_errors=True)


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
