#pragma once
#include "app/program.h"
#include "tests/support/fake_loop.h"
#include "tests/support/fake_services.h"

namespace xiuhe::testing {

// The whole program on fakes: the window model, the services, the loop's timers, every handler bound.
struct ProgramHarness {
  WindowModel window;
  FakeServices sys;
  ExitHooks exitHooks;
  Program program{window, sys, exitHooks};
  FakeLoop loop{window, sys.clock};

  explicit ProgramHarness(const DateTime& now = {2016, 1, 13, 9, 0, 0}) {
    sys.clock.Set(now);
    window.SetTimerHost(&loop);
    PrepareProgram(program);
  }

  // Creating the window raises its created event, which runs the start-up routine.
  void Start() { window.RaiseWindow(Event::Created); window.SetWindowVisible(true); }
};

}  // namespace xiuhe::testing
