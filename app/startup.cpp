#include "alarms/alarm_clock.h"
#include "app/program.h"
#include "settings/settings_file.h"
#include "shutdown/scheduler.h"
#include "ui/chrome.h"

namespace xiuhe {
namespace {

void ExitHook(void* context) { ReleaseCapturedTexts(*static_cast<Program*>(context)); }

// Opens first and creates after; a creation that finds the mark already there means that
// another copy passed the open at the same instant, and counts as a running copy too.
bool AnotherCopyRuns(Services& sys) {
  return sys.OpenInstanceMark(kInstanceMarkName) || sys.CreateInstanceMark(kInstanceMarkName);
}

}  // namespace

void PrepareProgram(Program& program) {
  program.exitHooks.Add(ExitHook, &program);
  BindHandlers(program);
}

void RunStartUp(Program& program) {
  if (AnotherCopyRuns(program.sys)) {
    program.sys.ShowMessageBox(kAlreadyRunningMessage, 0, std::nullopt);
    program.sys.CloseForm();
    return;
  }
  LoadSettings(program);
  ChooseTune(program);
  PutUpTrayIcon(program);
}

void EndProgram(Program& program) {
  program.exitHooks.RunOnce();
  program.sys.StopPlaying();
}

}  // namespace xiuhe
