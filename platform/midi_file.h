#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace xiuhe {

// One event of a sequence, placed on the merged time line.
struct MidiEvent {
  enum class Kind : std::uint8_t {
    Channel,  // a channel message; `message` packs status | data1 << 8 | data2 << 16
    Tempo,    // `message` is microseconds per quarter note
    SysEx,    // `bytes` are sent as they stand (F0 events begin with F0)
  };
  std::uint64_t tick = 0;
  std::uint64_t microseconds = 0;
  Kind kind = Kind::Channel;
  std::uint32_t message = 0;
  std::vector<std::uint8_t> bytes;
};

inline constexpr std::uint32_t kDefaultTempo = 500000;  // 120 beats a minute until a tempo event
// A zero or near-zero tempo would make time stand still; slower than this is kept as it is.
inline constexpr std::uint32_t kMinimumTempo = 1000;

// A Standard MIDI File, read and scheduled: every track's events merged into one time line.
struct MidiSequence {
  int format = 0;
  int tracks = 0;                  // MTrk chunks read
  std::uint16_t ticksPerQuarter = 0;
  std::uint32_t initialTempo = kDefaultTempo;  // in force from tick 0 until the first tempo event
  std::vector<MidiEvent> events;   // by tick; equal ticks keep track order, then file order
  std::uint64_t endTick = 0;       // the latest end of a track
  std::uint64_t endMicroseconds = 0;
};

// Reads a Standard MIDI File. Formats 0 and 1 merge their tracks; format 2 plays its tracks one
// after another. A time division in SMPTE frames counts frames × ticks per second (29 is 29.97
// drop-frame) and is turned into an equal division in ticks per quarter note at a fixed tempo;
// tempo events are then ignored. Damaged files are read as far as they make sense: chunks of
// unknown type are skipped, a chunk cut short is read up to the end of the data, a track without
// end-of-track ends at its last event. Nothing is read past `size`.
// Empty result: no "MThd" header of at least 6 bytes, or a time division of zero ticks.
std::optional<MidiSequence> ReadMidiFile(const std::uint8_t* data, std::size_t size);

}  // namespace xiuhe
