#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"
#include "tests/support/fake_clock.h"
#include "tests/support/memory_files.h"

namespace xiuhe::testing {

// A Services that records every request and keeps its files in memory.
class FakeServices : public Services {
 public:
  struct MessageBox {
    Text text;
    int buttonCode;
    std::optional<Text> caption;
  };
  struct PlayCall {
    int count;
    int pause;
    std::vector<ByteBlock> sequences;
  };

  TimeValue CurrentTime() override { return clock.Now(); }

  Text GetSpecialFolder(int kind) override;
  bool FileExists(const Text& path) override;
  Text ReadIniValue(const Text& file, const Text& section, const Text& key, const Text& defaultValue) override;
  bool WriteIniValue(const Text& file, const Text& section, const Text& key, const Text& value) override;

  int ShellOpen(const ShellRequest& request) override;
  bool ShutDownSystem(int mode, bool force) override;
  bool IsOnline() override;

  void PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) override;
  void StopPlaying() override;
  void SeedRandom(std::optional<int> seed) override;
  int RandomInRange(int low, int high) override;

  int ShowMessageBox(const Text& text, int buttonCode, const std::optional<Text>& caption) override;
  void SetTrayIcon(ByteBlock icon, const Text& tip) override;
  void RemoveTrayIcon() override;
  std::intptr_t SendWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
  void CloseForm() override;
  void ExitProgram(int exitCode) override;

  bool OpenInstanceMark(const Text& name) override;
  bool CreateInstanceMark(const Text& name) override;

  // The settings file's bytes, or nullopt when it does not exist.
  std::optional<std::string> SettingsFile() const;
  Text SettingsFilePath() const { return documents + "\\配置.ini"; }
  // How many of the calls so far were to the named operation ("WriteIniValue", "PlayMidi", ...).
  int Count(const std::string& operation) const;

  FakeClock clock;
  MemoryFiles files;
  Text documents = "C:\\users\\tester\\Documents\\";

  // What the system answers.
  bool online = false;
  bool shutdownAccepted = true;
  bool markExists = false;         // another copy's mark is there before the guard opens it
  bool markAppearsAtCreate = false; // another copy creates it between the open and the create
  int randomAnswer = 3;

  // Runs at every call, before the operation does anything.
  std::function<void(const std::string& operation)> onCall;
  // Runs while a message box is open, as the box's own loop would (advance the clock, tick timers).
  std::function<void(const MessageBox&)> whileMessageBoxOpen;

  // What the program asked for, in order.
  std::vector<std::string> calls;
  std::vector<MessageBox> messageBoxes;
  std::vector<ShellRequest> shellRequests;
  std::vector<TimeValue> shutdownRequests;  // the clock at each request
  std::vector<PlayCall> plays;
  std::optional<Text> trayTip;  // the tray icon's tip while one is up
  std::vector<std::intptr_t> sentMessages;
  std::optional<int> exitCode;
  bool playing = false;
  std::optional<std::optional<int>> seed;

 private:
  void Record(const std::string& operation);
};

}  // namespace xiuhe::testing
