#include "platform/midi_file.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>

namespace xiuhe {
namespace {

// Reads forward through a run of bytes and never past its end.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : next_(data), end_(data + size) {}

  bool AtEnd() const { return next_ == end_; }
  std::size_t Left() const { return static_cast<std::size_t>(end_ - next_); }

  std::optional<std::uint8_t> Byte() {
    if (AtEnd()) return std::nullopt;
    return *next_++;
  }

  std::optional<std::uint32_t> BigEndian(int bytes) {
    if (Left() < static_cast<std::size_t>(bytes)) return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | *next_++;
    return value;
  }

  // A variable-length quantity: at most four bytes, seven bits each, high bit = more follow.
  std::optional<std::uint32_t> VariableLength() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      auto byte = Byte();
      if (!byte) return std::nullopt;
      value = value << 7 | (*byte & 0x7F);
      if (!(*byte & 0x80)) return value;
    }
    return std::nullopt;
  }

  // The next `count` bytes, or nothing (and the reader at its end) when fewer are left.
  const std::uint8_t* Take(std::size_t count) {
    if (Left() < count) {
      next_ = end_;
      return nullptr;
    }
    const std::uint8_t* taken = next_;
    next_ += count;
    return taken;
  }

 private:
  const std::uint8_t* next_;
  const std::uint8_t* end_;
};

struct Track {
  std::vector<MidiEvent> events;
  std::uint64_t endTick = 0;
};

bool IsChannelStatus(std::uint8_t byte) { return byte >= 0x80 && byte < 0xF0; }
int DataBytes(std::uint8_t status) { return (status & 0xE0) == 0xC0 ? 1 : 2; }  // Cn, Dn: one

// Reads one MTrk body. The first event that cannot be read ends the track.
Track ReadTrack(Reader in, std::uint64_t startTick, bool keepTempo) {
  Track track;
  std::uint64_t tick = startTick;
  track.endTick = startTick;
  std::uint8_t running = 0;
  while (!in.AtEnd()) {
    auto delta = in.VariableLength();
    auto first = in.Byte();
    if (!delta || !first) break;
    tick += *delta;
    MidiEvent event;
    event.tick = tick;
    if (IsChannelStatus(*first) || (*first < 0x80 && running)) {
      // A data byte where a status belongs repeats the last channel status.
      std::uint8_t status = *first < 0x80 ? running : *first;
      auto data1 = *first < 0x80 ? first : in.Byte();
      auto data2 = DataBytes(status) == 2 ? in.Byte() : std::optional<std::uint8_t>(0);
      if (!data1 || !data2) break;
      running = status;
      event.message = status | (*data1 & 0x7Fu) << 8 | (*data2 & 0x7Fu) << 16;
    } else if (*first == 0xF0 || *first == 0xF7) {
      auto length = in.VariableLength();
      const std::uint8_t* body = length ? in.Take(*length) : nullptr;
      if (!body) break;
      event.kind = MidiEvent::Kind::SysEx;
      if (*first == 0xF0) event.bytes.push_back(0xF0);
      event.bytes.insert(event.bytes.end(), body, body + *length);
      if (event.bytes.empty()) {
        track.endTick = tick;
        continue;
      }
    } else if (*first == 0xFF) {
      auto type = in.Byte();
      auto length = type ? in.VariableLength() : std::nullopt;
      const std::uint8_t* body = length ? in.Take(*length) : nullptr;
      if (!body) break;
      if (*type == 0x2F) {
        track.endTick = tick;
        return track;
      }
      track.endTick = tick;
      if (*type != 0x51 || *length < 3 || !keepTempo) continue;
      event.kind = MidiEvent::Kind::Tempo;
      event.message = std::max<std::uint32_t>(body[0] << 16 | body[1] << 8 | body[2], kMinimumTempo);
    } else {
      break;  // a data byte with no status before it, or a status a file may not hold
    }
    track.endTick = tick;
    track.events.push_back(std::move(event));
  }
  return track;
}

std::uint64_t TicksToMicroseconds(std::uint64_t ticks, std::uint32_t tempo, std::uint16_t division) {
  unsigned __int128 product = static_cast<unsigned __int128>(ticks) * tempo / division;
  constexpr auto kMax = std::numeric_limits<std::uint64_t>::max();
  return product > kMax ? kMax : static_cast<std::uint64_t>(product);
}

std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b) {
  return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max()
                                                            : a + b;
}

// Ticks per quarter note and the tempo that stands for an SMPTE division.
bool ApplyDivision(std::uint16_t division, MidiSequence& sequence) {
  if (!(division & 0x8000)) {
    sequence.ticksPerQuarter = division;
    return division != 0;
  }
  int framesPerSecond = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
  int ticksPerFrame = division & 0xFF;
  if (ticksPerFrame == 0) return false;
  // 29 means 29.97 frames a second: 30 frames' worth of ticks in 1.001 seconds.
  bool dropFrame = framesPerSecond == 29;
  sequence.ticksPerQuarter = static_cast<std::uint16_t>((dropFrame ? 30 : framesPerSecond) * ticksPerFrame);
  sequence.initialTempo = dropFrame ? 1001000 : 1000000;
  return true;
}

}  // namespace

std::optional<MidiSequence> ReadMidiFile(const std::uint8_t* data, std::size_t size) {
  Reader file(data, size);
  const std::uint8_t* id = file.Take(4);
  auto headerLength = file.BigEndian(4);
  if (!id || std::memcmp(id, "MThd", 4) != 0 || !headerLength || *headerLength < 6) return std::nullopt;
  auto format = file.BigEndian(2);
  auto trackCount = file.BigEndian(2);
  auto division = file.BigEndian(2);
  if (!format || !trackCount || !division) return std::nullopt;
  file.Take(std::min<std::size_t>(*headerLength - 6, file.Left()));

  MidiSequence sequence;
  sequence.format = static_cast<int>(*format);
  if (!ApplyDivision(static_cast<std::uint16_t>(*division), sequence)) return std::nullopt;
  bool smpte = *division & 0x8000;

  std::vector<MidiEvent> merged;
  while (sequence.tracks < static_cast<int>(*trackCount) && file.Left() >= 8) {
    const std::uint8_t* chunkId = file.Take(4);
    std::uint32_t declared = *file.BigEndian(4);
    std::size_t length = std::min<std::size_t>(declared, file.Left());
    const std::uint8_t* body = file.Take(length);
    if (std::memcmp(chunkId, "MTrk", 4) != 0) continue;
    std::uint64_t start = sequence.format == 2 ? sequence.endTick : 0;
    Track track = ReadTrack(Reader(body, length), start, !smpte);
    ++sequence.tracks;
    sequence.endTick = std::max(sequence.endTick, track.endTick);
    std::move(track.events.begin(), track.events.end(), std::back_inserter(merged));
  }
  std::stable_sort(merged.begin(), merged.end(),
                   [](const MidiEvent& a, const MidiEvent& b) { return a.tick < b.tick; });

  // A tempo set at tick 0 is the tempo the sequence starts in.
  for (auto event = merged.begin(); event != merged.end() && event->tick == 0; ++event)
    if (event->kind == MidiEvent::Kind::Tempo) sequence.initialTempo = event->message;

  // The tempo map: each event's time is the time of the last tempo change plus the ticks since.
  std::uint64_t tempoTick = 0, tempoTime = 0;
  std::uint32_t tempo = sequence.initialTempo;
  auto timeAt = [&](std::uint64_t tick) {
    return SaturatingAdd(tempoTime, TicksToMicroseconds(tick - tempoTick, tempo, sequence.ticksPerQuarter));
  };
  for (MidiEvent& event : merged) {
    event.microseconds = timeAt(event.tick);
    if (event.kind == MidiEvent::Kind::Tempo) {
      tempoTick = event.tick;
      tempoTime = event.microseconds;
      tempo = event.message;
    }
  }
  sequence.endMicroseconds = timeAt(sequence.endTick);
  sequence.events = std::move(merged);
  return sequence;
}

}  // namespace xiuhe
