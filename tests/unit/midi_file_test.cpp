#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "assets/assets.h"
#include "platform/midi_file.h"
#include "tests/support/midi_builder.h"

namespace xiuhe {
namespace {

using namespace test;

std::optional<MidiSequence> Read(const Bytes& file) { return ReadMidiFile(file.data(), file.size()); }

// "tick:microseconds what", e.g. "480:500000 90 3c 64", "0:0 tempo 250000", "0:0 sysex f0 7e f7".
std::string Describe(const MidiEvent& event) {
  char text[64];
  std::snprintf(text, sizeof text, "%llu:%llu ", static_cast<unsigned long long>(event.tick),
                static_cast<unsigned long long>(event.microseconds));
  std::string line = text;
  switch (event.kind) {
    case MidiEvent::Kind::Channel:
      std::snprintf(text, sizeof text, "%02x %02x %02x", event.message & 0xFF, event.message >> 8 & 0xFF,
                    event.message >> 16 & 0xFF);
      break;
    case MidiEvent::Kind::Tempo:
      std::snprintf(text, sizeof text, "tempo %u", event.message);
      break;
    case MidiEvent::Kind::SysEx:
      std::snprintf(text, sizeof text, "sysex");
      for (std::uint8_t byte : event.bytes) std::snprintf(text + std::strlen(text), 4, " %02x", byte);
      break;
  }
  return line + text;
}

std::vector<std::string> Describe(const MidiSequence& sequence) {
  std::vector<std::string> lines;
  for (const MidiEvent& event : sequence.events) lines.push_back(Describe(event));
  return lines;
}

TEST(MidiFile, TimesFollowTheDivisionAndEveryTempoChange) {
  // Track 0 holds the tempo map, track 1 the notes: a quarter at 120 bpm, then twice as fast.
  auto sequence = Read(MidiFile(1, 480, {
      Join({Tempo(0, 500000), Tempo(960, 250000), EndOfTrack(960)}),
      Join({NoteOn(0, 60), NoteOff(480, 60), NoteOn(960, 62), NoteOff(480, 62), EndOfTrack(120)}),
  }));
  ASSERT_TRUE(sequence);
  EXPECT_EQ(sequence->format, 1);
  EXPECT_EQ(sequence->tracks, 2);
  EXPECT_EQ(sequence->ticksPerQuarter, 480);
  EXPECT_EQ(Describe(*sequence), (std::vector<std::string>{
      "0:0 tempo 500000",
      "0:0 90 3c 64",
      "480:500000 80 3c 00",
      "960:1000000 tempo 250000",
      "1440:1250000 90 3e 64",
      "1920:1500000 80 3e 00",
  }));
  EXPECT_EQ(sequence->endTick, 2040u);
  EXPECT_EQ(sequence->endMicroseconds, 1562500u);
}

TEST(MidiFile, ReadsVariableLengthDeltasOfOneToFourBytes) {
  struct Case { Bytes delta; std::uint64_t tick; };
  for (const Case& c : std::vector<Case>{
           {{0x00}, 0}, {{0x7F}, 127}, {{0x81, 0x00}, 128}, {{0xFF, 0x7F}, 16383},
           {{0x81, 0x80, 0x00}, 16384}, {{0xFF, 0xFF, 0xFF, 0x7F}, 0x0FFFFFFF}}) {
    auto sequence = Read(MidiFile(0, 96, {Join({c.delta, {0x90, 60, 1}, EndOfTrack()})}));
    ASSERT_TRUE(sequence);
    ASSERT_EQ(sequence->events.size(), 1u);
    EXPECT_EQ(sequence->events[0].tick, c.tick);
    EXPECT_EQ(sequence->endTick, c.tick);
  }
}

TEST(MidiFile, RunningStatusRepeatsTheLastChannelStatusAcrossMetaAndSysEx) {
  auto sequence = Read(MidiFile(0, 480, {Join({
      Event(0, {0x90, 60, 100}), Event(0, {64, 100}),       // note on, twice
      Event(0, {0xC1, 5}), Event(10, {6}),                  // program change: one data byte
      Event(0, {0xFF, 0x01, 0x02, 'h', 'i'}),               // a text event
      Event(0, {0xF0, 0x03, 0x7E, 0x7F, 0xF7}),             // system exclusive
      Event(0, {0xF7, 0x02, 0x01, 0x02}),                   // an escape: sent as it stands
      Event(5, {7}),                                        // still program change on channel 2
      EndOfTrack()})}));
  ASSERT_TRUE(sequence);
  EXPECT_EQ(Describe(*sequence), (std::vector<std::string>{
      "0:0 90 3c 64",
      "0:0 90 40 64",
      "0:0 c1 05 00",
      "10:10416 c1 06 00",
      "10:10416 sysex f0 7e 7f f7",
      "10:10416 sysex 01 02",
      "15:15625 c1 07 00",
  }));
}

TEST(MidiFile, MergesTracksByTimeKeepingTrackOrderAtEqualTimes) {
  auto sequence = Read(MidiFile(1, 480, {
      Join({NoteOn(0, 1), NoteOn(10, 2), NoteOn(10, 3), EndOfTrack()}),
      Join({NoteOn(0, 11), NoteOn(10, 12), NoteOn(5, 13), EndOfTrack()}),
      Join({NoteOn(10, 21), NoteOn(0, 22), EndOfTrack(100)}),
  }));
  ASSERT_TRUE(sequence);
  std::vector<int> notes;
  for (const MidiEvent& event : sequence->events) notes.push_back(event.message >> 8 & 0x7F);
  EXPECT_EQ(notes, (std::vector<int>{1, 11, 2, 12, 21, 22, 13, 3}));
  EXPECT_EQ(sequence->endTick, 110u);  // the longest track
}

TEST(MidiFile, FormatTwoPlaysItsTracksOneAfterAnother) {
  auto sequence = Read(MidiFile(2, 480, {
      Join({NoteOn(0, 1), NoteOff(480, 1), EndOfTrack(480)}),
      Join({NoteOn(0, 2), NoteOff(480, 2), EndOfTrack()}),
  }));
  ASSERT_TRUE(sequence);
  EXPECT_EQ(Describe(*sequence), (std::vector<std::string>{
      "0:0 90 01 64", "480:500000 80 01 00", "960:1000000 90 02 64", "1440:1500000 80 02 00"}));
  EXPECT_EQ(sequence->endMicroseconds, 1500000u);
}

TEST(MidiFile, SmpteDivisionsCountFramesAndIgnoreTempoEvents) {
  struct Case { std::uint8_t frames; std::uint8_t ticksPerFrame; std::uint64_t ticks; std::uint64_t micros; };
  for (const Case& c : std::vector<Case>{{25, 40, 1000, 1000000},   // 1000 ticks a second
                                         {24, 4, 96, 1000000},
                                         {30, 80, 2400, 1000000},
                                         {29, 100, 3000, 1001000}}) {  // 29.97 frames a second
    std::uint16_t division = static_cast<std::uint16_t>((256 - c.frames) << 8 | c.ticksPerFrame);
    auto sequence = Read(MidiFile(0, division, {Join({Tempo(0, 250000), NoteOn(static_cast<std::uint32_t>(c.ticks), 60),
                                                      EndOfTrack()})}));
    ASSERT_TRUE(sequence) << int(c.frames);
    ASSERT_EQ(sequence->events.size(), 1u) << "the tempo event is dropped";
    EXPECT_EQ(sequence->events[0].microseconds, c.micros) << int(c.frames);
    EXPECT_EQ(sequence->endMicroseconds, c.micros);
  }
}

TEST(MidiFile, ZeroTempoCountsAsTheMinimum) {
  auto sequence = Read(MidiFile(0, 100, {Join({Tempo(0, 0), NoteOn(100, 60), EndOfTrack()})}));
  ASSERT_TRUE(sequence);
  EXPECT_EQ(sequence->events.back().microseconds, kMinimumTempo);
}

TEST(MidiFile, DamagedFilesAreReadAsFarAsTheyGo) {
  const Bytes notes = Join({NoteOn(0, 60), NoteOff(480, 60)});
  const Bytes track = Join({notes, EndOfTrack(480)});
  struct Case {
    const char* what;
    Bytes file;
    int tracks;
    std::size_t events;
    std::uint64_t endTick;
  };
  Bytes cutChunk = MidiFile(0, 480, {track});
  cutChunk.resize(cutChunk.size() - 4);  // its length runs past the end
  Bytes longHeader = Join({Chunk("MThd", Join({BigEndian(0, 2), BigEndian(1, 2), BigEndian(480, 2), {9, 9}})),
                           Chunk("MTrk", track)});
  for (const Case& c : std::vector<Case>{
           {"chunk of unknown type", Join({Header(1, 1, 480), Chunk("XFih", {1, 2, 3}), Chunk("MTrk", track)}), 1, 2, 960},
           {"longer header", longHeader, 1, 2, 960},
           {"absurd track count", Join({Header(1, 65535, 480), Chunk("MTrk", track)}), 1, 2, 960},
           {"more chunks than counted", Join({Header(1, 1, 480), Chunk("MTrk", track), Chunk("MTrk", track)}), 1, 2, 960},
           {"no end of track", MidiFile(0, 480, {notes}), 1, 2, 480},
           {"chunk cut short", cutChunk, 1, 2, 480},
           {"events after end of track", MidiFile(0, 480, {Join({track, NoteOn(0, 70)})}), 1, 2, 960},
           {"data byte with no status", MidiFile(0, 480, {Join({Event(0, {60, 100}), notes})}), 1, 0, 0},
           {"undefined status", MidiFile(0, 480, {Join({notes, Event(0, {0xF4}), NoteOn(0, 70)})}), 1, 2, 480},
           {"meta length past the end", MidiFile(0, 480, {Join({notes, Event(0, {0xFF, 0x01, 0x7F, 'x'})})}), 1, 2, 480},
           {"sysex length past the end", MidiFile(0, 480, {Join({notes, Event(0, {0xF0, 0x8F, 0xFF, 0xFF, 0x7F})})}), 1, 2, 480},
           {"delta of five bytes", MidiFile(0, 480, {Join({notes, {0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 1, 1}})}), 1, 2, 480},
           {"note cut in its data", MidiFile(0, 480, {Join({notes, {0x00, 0x90, 60}})}), 1, 2, 480},
           {"no tracks", Header(0, 0, 480), 0, 0, 0},
       }) {
    auto sequence = Read(c.file);
    ASSERT_TRUE(sequence) << c.what;
    EXPECT_EQ(sequence->tracks, c.tracks) << c.what;
    EXPECT_EQ(sequence->events.size(), c.events) << c.what;
    EXPECT_EQ(sequence->endTick, c.endTick) << c.what;
  }
}

TEST(MidiFile, RejectsWhatIsNoMidiFile) {
  const Bytes track = Chunk("MTrk", Join({NoteOn(0, 60), EndOfTrack()}));
  Bytes shortHeader = Join({Chunk("MThd", {0, 0, 0, 1}), track});
  Bytes cutHeader = Header(0, 1, 480);
  cutHeader.resize(12);
  for (const Bytes& file : std::vector<Bytes>{
           {}, {'M', 'T', 'h', 'd'}, cutHeader,
           shortHeader, Join({Chunk("RIFF", {0, 0, 0, 1, 1, 224}), track}),
           Join({Header(0, 1, 0), track}),          // zero ticks per quarter
           Join({Header(0, 1, 0xE700), track})})    // zero ticks per frame
    EXPECT_FALSE(Read(file)) << ::testing::PrintToString(file);
}

// Every cut and many corruptions of a real-looking file: nothing crashes, times never go back.
TEST(MidiFile, AnyBytesAreReadSafely) {
  const Bytes file = MidiFile(1, 480, {
      Join({Tempo(0, 500000), Event(0, {0xFF, 0x58, 0x04, 4, 2, 24, 8}), Tempo(960, 400000), EndOfTrack()}),
      Join({Event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7}), Event(0, {0xC0, 10}), NoteOn(0, 60),
            Event(240, {62, 90}), NoteOff(240, 60), Event(0, {0xE0, 0, 64}), NoteOff(960, 62), EndOfTrack()}),
  });
  auto check = [](const Bytes& bytes) {
    // Copied to a buffer of its exact size so that a sanitizer sees any read past it.
    std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    auto sequence = ReadMidiFile(exact.get(), bytes.size());
    if (!sequence) return;
    for (std::size_t i = 1; i < sequence->events.size(); ++i) {
      ASSERT_LE(sequence->events[i - 1].tick, sequence->events[i].tick);
      ASSERT_LE(sequence->events[i - 1].microseconds, sequence->events[i].microseconds);
    }
    if (!sequence->events.empty()) {
      ASSERT_LE(sequence->events.back().tick, sequence->endTick);
    }
  };
  for (std::size_t size = 0; size <= file.size(); ++size) check(Bytes(file.begin(), file.begin() + size));
  std::mt19937 random(20261211);
  for (int round = 0; round < 3000; ++round) {
    Bytes damaged = file;
    for (int flips = 1 + round % 4; flips > 0; --flips)
      damaged[14 + random() % (damaged.size() - 14)] = static_cast<std::uint8_t>(random());
    check(damaged);
  }
}

TEST(MidiFile, ReadsTheBuiltInTunes) {
  struct Tune { const char* name; int format; int tracks; int division; double seconds; int bpm; };
  int found = 0;
  for (const Tune& tune : {Tune{"tune1.mid", 1, 4, 480, 4.0, 120}, Tune{"tune2.mid", 0, 1, 96, 49.0, 102},
                           Tune{"tune3.mid", 1, 5, 480, 8.7, 110}, Tune{"tune4.mid", 1, 14, 480, 57.7, 120},
                           Tune{"tune5.mid", 1, 5, 480, 3.75, 120}}) {
    ByteBlock bytes = AssetBytes(tune.name);
    if (bytes.empty()) continue;
    ++found;
    auto sequence = ReadMidiFile(bytes.data, bytes.size);
    ASSERT_TRUE(sequence) << tune.name;
    EXPECT_EQ(sequence->format, tune.format) << tune.name;
    EXPECT_EQ(sequence->tracks, tune.tracks) << tune.name;
    EXPECT_EQ(sequence->ticksPerQuarter, tune.division) << tune.name;
    EXPECT_NEAR(sequence->endMicroseconds / 1e6, tune.seconds, 0.06) << tune.name;
    EXPECT_EQ(std::lround(60e6 / sequence->initialTempo), tune.bpm) << tune.name;  // starts in its own tempo
    EXPECT_GT(sequence->events.size(), 10u) << tune.name;
  }
  if (found == 0) GTEST_SKIP() << "no tunes in this build";
}

}  // namespace
}  // namespace xiuhe
