#!/usr/bin/python3
"""How far from its target second the shutdown request comes, for real countdowns under Wine.

Not a test: it runs the program, arms a countdown of 30 s (the present minute) and of a few
minutes (a time later today), waits for ExitWindowsEx in Wine's trace, and prints the figures.
Under Wine the request ends only the session of the benchmark's own prefix.

    /usr/bin/python3 tests/bench/shutdown_accuracy.py [minutes ahead ...]   (default: 3)

Set XIUHE_WINDOWS_BUILD=build/<name>/windows to measure another build tree.
The arming click is placed early in a second, so the arming second is known. The countdown ticks
keep the phase of the arming, so an on-time request comes exactly the countdown's length after
the click, a fraction of a second into its target second. The time from the click (the arm
button's release) to the request is taken from Wine's trace timestamps, not from polling.
"""

from __future__ import annotations

import datetime
import math
import re
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))

from harness import TITLE, Desktop, make_template_prefix  # noqa: E402
from shutdown_page import ShutdownPage, exit_windows_requests, relay_timestamps  # noqa: E402

CLICK_PHASE = 0.3
STAMPED_RELEASE = re.compile(r"^(\d+\.\d+):.*:Call window proc .*msg=WM_LBUTTONUP")


def release_stamps(program) -> list[float]:
    """Wine's timestamps of the button releases the program's windows received (traced window procs)."""
    return [float(m.group(1)) for m in map(STAMPED_RELEASE.match, program.output().splitlines()) if m]


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

        deadline = target + 30
        while not exit_windows_requests(desktop):
            if time.time() > deadline:
                raise TimeoutError("no shutdown request")
            time.sleep(0.2)
        # Wine's own timestamps: from the arm button's release (the click's end) to the request.
        program = desktop.programs[0]
        request_stamp = relay_timestamps(program, "user32.ExitWindowsEx")[0]
        release_stamp = max(t for t in release_stamps(program) if t < request_stamp)
        countdown = int(target - armed_second)
        # Ticks keep the phase of the arming, so an on-time request comes `countdown` s after it.
        after_tick = (request_stamp - release_stamp) - countdown
        return {"countdown": countdown, "first caption": shown,
                "target": datetime.datetime.fromtimestamp(target).strftime("%H:%M:%S"),
                "after target": (clicked - armed_second) + after_tick, "after tick": after_tick}
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
                  f"request {r['after target']:+.3f} s after the target second began, "
                  f"{r['after tick']:+.3f} s after the on-time tick", flush=True)
        worst = max(abs(r["after tick"]) for r in results)
        print(f"worst distance from the on-time tick: {worst:.3f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
