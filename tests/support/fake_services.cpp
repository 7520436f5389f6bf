#include "tests/support/fake_services.h"

#include <algorithm>

namespace xiuhe::testing {

Text FakeServices::GetSpecialFolder(int kind) {
  calls.push_back("GetSpecialFolder");
  return kind == 1 ? documents : Text();
}

// The file system folds a doubled backslash into one separator.
static Text Canonical(Text path) {
  for (std::size_t at; (at = path.find("\\\\")) != Text::npos;) path.erase(at, 1);
  return path;
}

bool FakeServices::FileExists(const Text& path) {
  calls.push_back("FileExists");
  return files.files.count(Canonical(path)) > 0;
}

Text FakeServices::ReadIniValue(const Text& file, const Text& section, const Text& key, const Text& defaultValue) {
  calls.push_back("ReadIniValue");
  return xiuhe::ReadIniValue(files, Canonical(file), section, key, defaultValue);
}

bool FakeServices::WriteIniValue(const Text& file, const Text& section, const Text& key, const Text& value) {
  calls.push_back("WriteIniValue");
  return xiuhe::WriteIniValue(files, Canonical(file), section, key, value);
}

std::optional<std::string> FakeServices::SettingsFile() const {
  auto found = files.files.find(Canonical(SettingsFilePath()));
  if (found == files.files.end()) return std::nullopt;
  return found->second;
}

int FakeServices::ShellOpen(const ShellRequest& request) {
  calls.push_back("ShellOpen");
  shellRequests.push_back(request);
  return 42;
}

bool FakeServices::ShutDownSystem(int mode, bool) {
  calls.push_back("ShutDownSystem");
  if (mode != kShutDownAndPowerOff) return false;
  shutdownRequests.push_back(clock.Now());
  return shutdownAccepted;
}

bool FakeServices::IsOnline() {
  calls.push_back("IsOnline");
  return online;
}

void FakeServices::PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) {
  calls.push_back("PlayMidi");
  plays.push_back({count, pause, sequences});
  playing = count != 0;
}

void FakeServices::StopPlaying() {
  calls.push_back("StopPlaying");
  playing = false;
}

void FakeServices::SeedRandom(std::optional<int> value) {
  calls.push_back("SeedRandom");
  seed = value;
}

int FakeServices::RandomInRange(int low, int high) {
  calls.push_back("RandomInRange");
  return std::clamp(randomAnswer, std::min(low, high), std::max(low, high));
}

int FakeServices::ShowMessageBox(const Text& text, int buttonCode, const std::optional<Text>& caption) {
  calls.push_back("ShowMessageBox");
  messageBoxes.push_back({text, buttonCode, caption});
  if (whileMessageBoxOpen) whileMessageBoxOpen(messageBoxes.back());
  return 0;
}

void FakeServices::SetTrayIcon(ByteBlock icon, const Text& tip) {
  calls.push_back("SetTrayIcon");
  if (icon.empty())
    trayTip.reset();
  else
    trayTip = tip;
}

void FakeServices::RemoveTrayIcon() {
  calls.push_back("RemoveTrayIcon");
  trayTip.reset();
}

std::intptr_t FakeServices::SendWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  calls.push_back("SendWindowMessage");
  sentMessages.insert(sentMessages.end(), {static_cast<std::intptr_t>(message),
                                           static_cast<std::intptr_t>(wParam), lParam});
  return 0;
}

void FakeServices::CloseForm() { calls.push_back("CloseForm"); }

void FakeServices::ExitProgram(int code) {
  calls.push_back("ExitProgram");
  exitCode = code;
}

bool FakeServices::OpenInstanceMark(const Text&) {
  calls.push_back("OpenInstanceMark");
  return markExists;
}

bool FakeServices::CreateInstanceMark(const Text&) {
  calls.push_back("CreateInstanceMark");
  bool existed = markExists || markAppearsAtCreate;
  markExists = true;
  return existed;
}

int FakeServices::Count(const std::string& operation) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), operation));
}

}  // namespace xiuhe::testing
