#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/midi_file.h"

namespace xiuhe {

// The event words of a MIDI stream buffer as midiStreamOut takes them: per event the ticks since
// the previous event, a stream id of 0, and the event code; a long event's bytes follow, padded
// to whole words.
using StreamBuffer = std::vector<std::uint32_t>;

inline constexpr std::uint32_t kStreamShortMessage = 0x00000000;  // MEVT_SHORTMSG << 24
inline constexpr std::uint32_t kStreamTempo = 0x01000000;         // MEVT_TEMPO << 24
inline constexpr std::uint32_t kStreamNop = 0x02000000;           // MEVT_NOP << 24
inline constexpr std::uint32_t kStreamLongMessage = 0x80000000;   // MEVT_LONGMSG << 24
inline constexpr std::uint32_t kLongestStreamDelta = 0x7FFFFFFF;
// The system takes stream buffers below 64 KB.
inline constexpr std::size_t kStreamBufferBytes = 60000;

// The sequence as stream buffers in ticks of its own division: its initial tempo first, then every
// event in order, then a no-op at the end tick so that the last buffer is done when the sequence
// has played out. Events are never split across buffers; a system-exclusive message too long for
// one buffer is left out.
std::vector<StreamBuffer> MakeStreamBuffers(const MidiSequence& sequence,
                                            std::size_t maxBytes = kStreamBufferBytes);

}  // namespace xiuhe
