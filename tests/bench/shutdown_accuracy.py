#!/usr/bin/python3
"""How far from its target second the shutdown request comes, for real countdowns under Wine.

Not a test: it runs the program, arms a countdown of 30 s (the present minute) and of a few
minutes (a time later today), waits for ExitWindowsEx in Wine's trace, and prints the figures.
Under Wine the request ends only the session of the benchmark's own prefix.

    /usr/bin/python3 tests/bench/shutdown_accuracy.py [minutes ahead ...]   (default: 3)

Set XIUHE_WINDOWS_BUILD=build/<name>/windows to measure another build tree.
The arming click is placed 0.3 s into a second, so the arming second is known; the countdown
ticks keep that phase, and a request on time comes 0.3 s after its target second began.
"""

from __future__ import annotations

import datetime
import math
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))

from harness import TITLE, Desktop, make_template_prefix  # noqa: E402
from shutdown_page import ShutdownPage, exit_windows_requests  # noqa: E402

CLICK_PHASE = 0.3


def click_at_phase(page: ShutdownPage, look) -> float:
    """Clicks the arm button CLICK_PHASE seconds into a wall-clock second; returns the click time."""
    now = time.time()
    time.sleep((math.floor(now) + 1 + CLICK_PHASE - now) % 1.0)
    return page.click("图形按钮_立即启用", look)


def measure(template: Path, workdir: Path, minutes_ahead: int) -> dict:
    desktop = Desktop(template, workdir, f"bench-{minutes_ahead}")
    try:
        desktop.enable_relay(calls=("user32.ExitWindowsEx",))
        desktop.launch()
        page = ShutdownPage(desktop, desktop.wait_window(TITLE))
        now = page.wait_for_a_fresh_minute(20)
        when = now + datetime.timedelta(minutes=minutes_ahead)
        look = page.set_time(when.hour, when.minute)
        if minutes_ahead == 0:
            assert look.clock.minute == now.minute, "the minute turned while setting the time"

        clicked = click_at_phase(page, look)
        armed_second = math.floor(clicked)
        if minutes_ahead == 0:
            target = armed_second + 30
        else:
            armed = datetime.datetime.fromtimestamp(armed_second)
            target = armed.replace(hour=when.hour, minute=when.minute).timestamp()
        shown = page.look()["透明标签_倒计时"].text

        # Poll the trace finely: the request time is taken when its line appears.
        deadline = target + 30
        while not exit_windows_requests(desktop):
            if time.time() > deadline:
                raise TimeoutError("no shutdown request")
            time.sleep(0.02)
        requested = time.time()
        return {"countdown": int(target - armed_second), "first caption": shown,
                "target": datetime.datetime.fromtimestamp(target).strftime("%H:%M:%S"),
                "late": requested - target}
    finally:
        desktop.close()


def main() -> int:
    ahead = [int(a) for a in sys.argv[1:]] or [3]
    with tempfile.TemporaryDirectory(prefix="shutdown-bench-") as root:
        root = Path(root)
        template = make_template_prefix(root / "template")
        results = []
        for i, minutes in enumerate([0] + ahead):
            workdir = root / f"run-{i}"
            workdir.mkdir()
            results.append(measure(template, workdir, minutes))
            r = results[-1]
            print(f"countdown {r['countdown']:5d} s  first caption {r['first caption']:>6}  target {r['target']}  "
                  f"request {r['late']:+.3f} s after the target second began "
                  f"({r['late'] - CLICK_PHASE:+.3f} s from the arming phase)", flush=True)
        worst = max(abs(r["late"] - CLICK_PHASE) for r in results)
        print(f"worst distance from the on-time tick: {worst:.3f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
