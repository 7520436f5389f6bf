#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "assets/assets.h"
#include "platform/text.h"
#include "platform/time_value.h"

namespace xiuhe {

// One request to the shell; a field left empty is an argument left out.
struct ShellRequest {
  std::optional<int> verb;  // 1 edit, 2 explore, 3 find, 4 open, 5 print; else the default action
  Text target;
  std::optional<Text> parameters;
  std::optional<Text> directory;
  std::optional<int> showMode;  // SW_SHOWNORMAL when left out
  bool operator==(const ShellRequest&) const = default;
};

inline constexpr int kShutDownAndPowerOff = 1;

// What the features ask of the operating system and the window system. The Win32 layer
// implements it for real; the unit tests replace it with fakes.
class Services {
 public:
  virtual ~Services() = default;

  // Clock.
  virtual TimeValue CurrentTime() = 0;

  // Files and settings.
  virtual Text GetSpecialFolder(int kind) = 0;  // ends in "\"; empty on failure
  virtual bool FileExists(const Text& path) = 0;
  virtual Text ReadIniValue(const Text& file, const Text& section, const Text& key,
                            const Text& defaultValue) = 0;
  virtual bool WriteIniValue(const Text& file, const Text& section, const Text& key,
                             const Text& value) = 0;

  // Shell, shutdown, network.
  virtual int ShellOpen(const ShellRequest& request) = 0;
  virtual bool ShutDownSystem(int mode, bool force) = 0;
  virtual bool IsOnline() = 0;

  // Sound: count 1 when left out, -1 for an endless loop; pause in tenths of a second.
  virtual void PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) = 0;
  virtual void StopPlaying() = 0;

  // Random numbers.
  virtual void SeedRandom(std::optional<int> seed) = 0;
  virtual int RandomInRange(int low, int high) = 0;

  // Window and program operations on the main window.
  virtual int ShowMessageBox(const Text& text, int buttonCode, const std::optional<Text>& caption) = 0;
  virtual void SetTrayIcon(ByteBlock icon, const Text& tip) = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual std::intptr_t SendWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual void CloseForm() = 0;
  virtual void ExitProgram(int exitCode) = 0;  // the real one does not return

  // The running-copy mark, a named kernel event.
  virtual bool OpenInstanceMark(const Text& name) = 0;    // true: the mark exists (another copy runs)
  virtual bool CreateInstanceMark(const Text& name) = 0;  // true: it already existed
};

// Defaults of the operations whose arguments may be left out.
inline constexpr int kDefaultPlayCount = 1;
inline constexpr int kDefaultPause = 0;
inline const Text kDefaultMessageCaption = "信息：";

}  // namespace xiuhe
