#include "platform/midi_stream_buffer.h"

#include <algorithm>

namespace xiuhe {
namespace {

class BufferWriter {
 public:
  explicit BufferWriter(std::size_t maxBytes) : maxWords_(std::max<std::size_t>(maxBytes / 4, 3)) {}

  // Places an event `tick` ticks after the start; longer gaps than one delta holds become no-ops.
  void Add(std::uint64_t tick, std::uint32_t code, const std::vector<std::uint8_t>& bytes = {}) {
    std::size_t words = 3 + (bytes.size() + 3) / 4;
    if (words > maxWords_) return;
    while (tick - lastTick_ > kLongestStreamDelta) {
      Put(kLongestStreamDelta, kStreamNop, {});
      lastTick_ += kLongestStreamDelta;
    }
    Put(static_cast<std::uint32_t>(tick - lastTick_), code, bytes);
    lastTick_ = tick;
  }

  std::vector<StreamBuffer> Finish() { return std::move(buffers_); }

 private:
  void Put(std::uint32_t delta, std::uint32_t code, const std::vector<std::uint8_t>& bytes) {
    std::size_t words = 3 + (bytes.size() + 3) / 4;
    if (buffers_.empty() || buffers_.back().size() + words > maxWords_) buffers_.emplace_back();
    StreamBuffer& buffer = buffers_.back();
    buffer.insert(buffer.end(), {delta, 0u, code});
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
      std::uint32_t word = 0;
      for (std::size_t j = 0; j < 4 && i + j < bytes.size(); ++j)
        word |= static_cast<std::uint32_t>(bytes[i + j]) << (8 * j);  // bytes in memory order
      buffer.push_back(word);
    }
  }

  std::size_t maxWords_;
  std::uint64_t lastTick_ = 0;
  std::vector<StreamBuffer> buffers_;
};

}  // namespace

std::vector<StreamBuffer> MakeStreamBuffers(const MidiSequence& sequence, std::size_t maxBytes) {
  BufferWriter writer(maxBytes);
  writer.Add(0, kStreamTempo | (sequence.initialTempo & 0xFFFFFF));
  for (const MidiEvent& event : sequence.events) {
    switch (event.kind) {
      case MidiEvent::Kind::Channel:
        writer.Add(event.tick, kStreamShortMessage | event.message);
        break;
      case MidiEvent::Kind::Tempo:
        writer.Add(event.tick, kStreamTempo | (event.message & 0xFFFFFF));
        break;
      case MidiEvent::Kind::SysEx:
        if (event.bytes.size() <= 0xFFFFFF)
          writer.Add(event.tick, kStreamLongMessage | static_cast<std::uint32_t>(event.bytes.size()),
                     event.bytes);
        break;
    }
  }
  writer.Add(sequence.endTick, kStreamNop);
  return writer.Finish();
}

}  // namespace xiuhe
