#pragma once
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace xiuhe::test {

// Small Standard MIDI Files put together byte by byte for the tests.
using Bytes = std::vector<std::uint8_t>;

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

inline Bytes VariableLength(std::uint32_t value) {
  Bytes bytes{static_cast<std::uint8_t>(value & 0x7F)};
  while (value >>= 7) bytes.insert(bytes.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  return bytes;
}

inline Bytes BigEndian(std::uint32_t value, int size) {
  Bytes bytes;
  for (int i = size - 1; i >= 0; --i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  return bytes;
}

inline Bytes Chunk(std::string_view id, const Bytes& body) {
  return Join({Bytes(id.begin(), id.end()), BigEndian(static_cast<std::uint32_t>(body.size()), 4), body});
}

inline Bytes Header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
  return Chunk("MThd", Join({BigEndian(format, 2), BigEndian(tracks, 2), BigEndian(division, 2)}));
}

// A whole file: the header, then each body as an MTrk chunk.
inline Bytes MidiFile(std::uint16_t format, std::uint16_t division, std::initializer_list<Bytes> tracks) {
  Bytes file = Header(format, static_cast<std::uint16_t>(tracks.size()), division);
  for (const Bytes& track : tracks) file = Join({file, Chunk("MTrk", track)});
  return file;
}

// Track events, each with its delta time.
inline Bytes Event(std::uint32_t delta, Bytes body) { return Join({VariableLength(delta), body}); }
inline Bytes NoteOn(std::uint32_t delta, std::uint8_t note, std::uint8_t channel = 0) {
  return Event(delta, {static_cast<std::uint8_t>(0x90 | channel), note, 100});
}
inline Bytes NoteOff(std::uint32_t delta, std::uint8_t note, std::uint8_t channel = 0) {
  return Event(delta, {static_cast<std::uint8_t>(0x80 | channel), note, 0});
}
inline Bytes Tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter) {
  return Event(delta, Join({{0xFF, 0x51, 0x03}, BigEndian(microsecondsPerQuarter, 3)}));
}
inline Bytes EndOfTrack(std::uint32_t delta = 0) { return Event(delta, {0xFF, 0x2F, 0x00}); }

// A one-note tune at 120 beats a minute, 480 ticks a quarter: `quarters` long, told apart by its note.
inline Bytes OneNoteTune(std::uint8_t note, std::uint32_t quarters = 2) {
  return MidiFile(0, 480, {Join({NoteOn(0, note), NoteOff(480 * quarters, note), EndOfTrack()})});
}

}  // namespace xiuhe::test
