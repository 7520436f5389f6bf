#include <gtest/gtest.h>

#include "platform/midi_stream_buffer.h"
#include "tests/support/midi_builder.h"

namespace xiuhe {
namespace {

using namespace test;
using Words = std::vector<std::uint32_t>;

MidiSequence Read(const Bytes& file) { return *ReadMidiFile(file.data(), file.size()); }

Words Concatenated(const std::vector<StreamBuffer>& buffers) {
  Words all;
  for (const StreamBuffer& buffer : buffers) all.insert(all.end(), buffer.begin(), buffer.end());
  return all;
}

TEST(MidiStreamBuffer, EventsFollowTheTempoWithDeltasAndEndWithANoOpAtTheEndTick) {
  auto buffers = MakeStreamBuffers(Read(MidiFile(1, 96, {
      Join({Tempo(0, 600000), Tempo(192, 300000), EndOfTrack()}),
      Join({NoteOn(0, 60), NoteOff(96, 60), Event(0, {0xC3, 9}), NoteOn(200, 64), EndOfTrack(50)}),
  })));
  ASSERT_EQ(buffers.size(), 1u);
  EXPECT_EQ(buffers[0], (Words{
      0, 0, kStreamTempo | 600000,        // the tempo set at tick 0 is the one it starts in
      0, 0, kStreamTempo | 600000,
      0, 0, kStreamShortMessage | 0x643C90,
      96, 0, kStreamShortMessage | 0x003C80,
      0, 0, kStreamShortMessage | 0x0009C3,
      96, 0, kStreamTempo | 300000,
      104, 0, kStreamShortMessage | 0x644090,
      50, 0, kStreamNop,
  }));
}

TEST(MidiStreamBuffer, SysExBecomesALongMessagePaddedToWholeWords) {
  auto buffers = MakeStreamBuffers(Read(MidiFile(0, 480, {Join({
      Event(10, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}),
      Event(0, {0xF7, 0x02, 0x11, 0x22}),
      EndOfTrack()})})));
  ASSERT_EQ(buffers.size(), 1u);
  EXPECT_EQ(buffers[0], (Words{
      0, 0, kStreamTempo | 500000,
      10, 0, kStreamLongMessage | 6, 0x097F7EF0, 0x0000F701,
      0, 0, kStreamLongMessage | 2, 0x00002211,
      0, 0, kStreamNop,
  }));
}

TEST(MidiStreamBuffer, SplitsIntoBuffersOfTheGivenSizeWithoutSplittingEvents) {
  Bytes track;
  for (std::uint8_t note = 0; note < 100; ++note) track = Join({track, NoteOn(1, note)});
  track = Join({track, Event(1, {0xF0, 0x09, 1, 2, 3, 4, 5, 6, 7, 8, 0xF7}), EndOfTrack()});
  const MidiSequence sequence = Read(MidiFile(0, 480, {track}));
  const Words whole = Concatenated(MakeStreamBuffers(sequence));
  for (std::size_t maxBytes : {48u, 52u, 100u, 4096u}) {
    auto buffers = MakeStreamBuffers(sequence, maxBytes);
    EXPECT_EQ(Concatenated(buffers), whole) << maxBytes;
    for (const StreamBuffer& buffer : buffers) {
      EXPECT_LE(buffer.size() * 4, maxBytes);
      EXPECT_FALSE(buffer.empty());
    }
  }
}

TEST(MidiStreamBuffer, LeavesOutASysExTooLongForABufferButKeepsTheTiming) {
  Bytes longSysEx = {0xF0, 0x20};
  longSysEx.resize(2 + 0x20, 0x55);
  auto buffers = MakeStreamBuffers(
      Read(MidiFile(0, 480, {Join({NoteOn(0, 60), Event(7, longSysEx), NoteOff(3, 60), EndOfTrack()})})),
      32);
  EXPECT_EQ(Concatenated(buffers), (Words{0, 0, kStreamTempo | 500000, 0, 0, 0x643C90, 10, 0, 0x003C80,
                                          0, 0, kStreamNop}));
}

TEST(MidiStreamBuffer, GapsLongerThanADeltaHoldsAreBridgedWithNoOps) {
  MidiSequence sequence;
  sequence.ticksPerQuarter = 480;
  MidiEvent note;
  note.tick = 0x1'0000'0005;
  note.message = 0x643C90;
  sequence.events.push_back(note);
  sequence.endTick = note.tick;
  EXPECT_EQ(Concatenated(MakeStreamBuffers(sequence)),
            (Words{0, 0, kStreamTempo | 500000, kLongestStreamDelta, 0, kStreamNop, kLongestStreamDelta, 0,
                   kStreamNop, 7, 0, 0x643C90, 0, 0, kStreamNop}));
}

}  // namespace
}  // namespace xiuhe
