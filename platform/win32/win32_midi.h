#pragma once
#include <memory>

#include "platform/midi_player.h"

namespace xiuhe::win32 {

// The sound player on the system's MIDI mapper, through the MIDI stream functions.
std::unique_ptr<MidiPlayer> MakeMidiPlayer();

}  // namespace xiuhe::win32
