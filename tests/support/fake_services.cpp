#include "tests/support/fake_services.h"

#include <algorithm>

namespace xiuhe::testing {

Text FakeServices::GetSpecialFolder(int kind) {
  Record("GetSpecialFolder");
  return kind == 1 ? documents : Text();
}

// The file system folds a doubled backslash into one separator.
static Text Canonical(Text path) {
  for (std::size_t at; (at = path.find("\\\\")) != Text::npos;) path.erase(at, 1);
  return path;
}

bool FakeServices::FileExists(const Text& path) {
  Record("FileExists");
  return files.files.count(Canonical(path)) > 0;
}

Text FakeServices::ReadIniValue(const Text& file, const Text& section, const Text& key, const Text& defaultValue) {
  Record("ReadIniValue");
  return xiuhe::ReadIniValue(files, Canonical(file), section, key, defaultValue);
}

bool FakeServices::WriteIniValue(const Text& file, const Text& section, const Text& key, const Text& value) {
  Record("WriteIniValue");
  return xiuhe::WriteIniValue(files, Canonical(file), section, key, value);
}

std::optional<std::string> FakeServices::SettingsFile() const {
  auto found = files.files.find(Canonical(SettingsFilePath()));
  if (found == files.files.end()) return std::nullopt;
  return found->second;
}

int FakeServices::ShellOpen(const ShellRequest& request) {
  Record("ShellOpen");
  shellRequests.push_back(request);
  return 42;
}

bool FakeServices::ShutDownSystem(int mode, bool) {
  Record("ShutDownSystem");
  if (mode != kShutDownAndPowerOff) return false;
  shutdownRequests.push_back(clock.Now());
  return shutdownAccepted;
}

bool FakeServices::IsOnline() {
  Record("IsOnline");
  return online;
}

void FakeServices::PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) {
  Record("PlayMidi");
  plays.push_back({count, pause, sequences});
  playing = count != 0;
}

void FakeServices::StopPlaying() {
  Record("StopPlaying");
  playing = false;
}

void FakeServices::SeedRandom(std::optional<int> value) {
  Record("SeedRandom");
  seed = value;
}

int FakeServices::RandomInRange(int low, int high) {
  Record("RandomInRange");
  return std::clamp(randomAnswer, std::min(low, high), std::max(low, high));
}

int FakeServices::ShowMessageBox(const Text& text, int buttonCode, const std::optional<Text>& caption) {
  Record("ShowMessageBox");
  messageBoxes.push_back({text, buttonCode, caption});
  if (whileMessageBoxOpen) whileMessageBoxOpen(messageBoxes.back());
  return 0;
}

void FakeServices::SetTrayIcon(ByteBlock icon, const Text& tip) {
  Record("SetTrayIcon");
  if (icon.empty())
    trayTip.reset();
  else
    trayTip = tip;
}

void FakeServices::RemoveTrayIcon() {
  Record("RemoveTrayIcon");
  trayTip.reset();
}

std::intptr_t FakeServices::SendWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  Record("SendWindowMessage");
  sentMessages.insert(sentMessages.end(), {static_cast<std::intptr_t>(message),
                                           static_cast<std::intptr_t>(wParam), lParam});
  return 0;
}

void FakeServices::CloseForm() { Record("CloseForm"); }

void FakeServices::ExitProgram(int code) {
  Record("ExitProgram");
  exitCode = code;
}

bool FakeServices::OpenInstanceMark(const Text&) {
  Record("OpenInstanceMark");
  return markExists;
}

bool FakeServices::CreateInstanceMark(const Text&) {
  Record("CreateInstanceMark");
  bool existed = markExists || markAppearsAtCreate;
  markExists = true;
  return existed;
}

void FakeServices::Record(const std::string& operation) {
  calls.push_back(operation);
  if (onCall) onCall(operation);
}

int FakeServices::Count(const std::string& operation) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), operation));
}

}  // namespace xiuhe::testing
