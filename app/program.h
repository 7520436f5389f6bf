#pragma once
#include <array>
#include <optional>

#include "platform/exit_hooks.h"
#include "platform/services.h"
#include "platform/text.h"
#include "ui/window_model.h"

namespace xiuhe {

// Everything a handler works with: the window, the system, and the few program-wide values.
struct Program {
  WindowModel& window;
  Services& sys;
  ExitHooks& exitHooks;

  // The tune both alarms play, drawn once at start-up (0 until then).
  int selectedTune = 0;

  // The clock's hour and minute as taken at the last arming or wait tick.
  std::optional<Text> capturedHourText{};
  std::optional<Text> capturedMinuteText{};
  // The moment an armed countdown reaches zero.
  std::optional<TimeValue> countdownTarget{};

  // For each alarm, the minute (as a whole-minute TimeValue) in which it last fired.
  std::array<std::optional<TimeValue>, 2> lastAlarmFire{};
};

// Binds every handler of the program to its control and event.
void BindHandlers(Program& program);

// What the program entry does before it creates the window: adds the exit hook, binds the handlers.
void PrepareProgram(Program& program);

// The created event of the main window: single-instance guard, settings, tune, tray icon.
void RunStartUp(Program& program);

// The one way every end of the program goes: exit hooks once, then the sound player stops.
void EndProgram(Program& program);

inline constexpr const char* kInstanceMarkName = "近在眼前";
inline constexpr const char* kAlreadyRunningMessage = "程序已经运行！（桌面右下角）";
inline constexpr const char* kTrayTip = "岫禾小助理";

}  // namespace xiuhe
