#include "platform/win32/win32_midi.h"

namespace xiuhe::win32 {
namespace {

// Placeholder until the player lands: silent.
class SilentPlayer : public MidiPlayer {
 public:
  void PlayMidi(int, int, const std::vector<ByteBlock>&) override {}
  void StopPlaying() override {}
};

}  // namespace

std::unique_ptr<MidiPlayer> MakeMidiPlayer() { return std::make_unique<SilentPlayer>(); }

}  // namespace xiuhe::win32
