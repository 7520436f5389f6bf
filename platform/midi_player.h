#pragma once
#include <vector>

#include "assets/assets.h"

namespace xiuhe {

// The program's one sound player: plays Standard MIDI Files on a thread of its own.
class MidiPlayer {
 public:
  enum class State { Idle, Playing, StopRequested };

  virtual ~MidiPlayer() = default;
  // count: 0 does nothing, below -1 counts as -1 (endless); pause in tenths of a second.
  virtual void PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) = 0;
  // Returns when the playing thread has ended; the player is idle then.
  virtual void StopPlaying() = 0;
};

}  // namespace xiuhe
