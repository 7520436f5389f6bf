// The five alarm tunes as embedded in the program, read with a small
// Standard MIDI File walker of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "assets/assets.h"

namespace xiuhe {
namespace {

struct TuneRow {
  const char* file;
  std::size_t bytes;
  int format;
  int tracks;
  int division;
  std::uint32_t microsecondsPerQuarter;
  double seconds;
  double tolerance;
  std::vector<int> programs;  // 0-based General MIDI numbers, in any order
  bool percussion;            // notes on channel 10
};

void PrintTo(const TuneRow& row, std::ostream* out) { *out << row.file; }

const TuneRow kTunes[] = {
    {"tune1.mid", 1257, 1, 4, 480, 500000, 4.0, 0.001, {105, 11, 29}, false},
    {"tune2.mid", 6735, 0, 1, 96, 588235, 49.0, 0.05, {56, 57, 58, 59, 60, 72}, true},
    {"tune3.mid", 2389, 1, 5, 480, 545455, 8.7, 0.05, {56, 55, 98}, true},
    {"tune4.mid", 6826, 1, 14, 480, 500000, 57.7, 0.05, {80, 9, 7, 12, 7, 124}, false},
    {"tune5.mid", 577, 1, 5, 480, 500000, 3.75, 0.001, {80, 29, 55, 29}, false},
};

struct TimedValue {
  int track;
  std::uint32_t tick;
  std::uint32_t value;
};

struct Track {
  std::uint32_t endTick = 0;  // tick of the End of Track event
  bool endsWithEndOfTrack = false;
  int noteOns = 0;
};

// What the walker gathers from a whole file; error is set on the first
// malformed byte and the rest is then incomplete.
struct Summary {
  std::string error;
  int format = -1;
  int trackCount = -1;
  int division = -1;
  std::vector<Track> tracks;
  std::vector<TimedValue> tempos;
  std::vector<TimedValue> timeSignatures;  // value = numerator << 8 | denominator power
  std::vector<int> programs;
  std::map<int, int> velocitySumByChannel, noteOnsByChannel;
  std::map<int, std::uint32_t> firstNoteTickByChannel, volumeTickByChannel;
  int hangingNotes = 0;          // note-ons never released before their track ends
  std::uint32_t lastNoteOff = 0;
};

class Reader {
 public:
  explicit Reader(ByteBlock bytes) : data_(bytes.data), size_(bytes.size) {}
  bool has(std::size_t n) const { return size_ - pos_ >= n; }
  std::size_t pos() const { return pos_; }
  std::uint8_t byte() { return data_[pos_++]; }
  std::uint8_t peek() const { return data_[pos_]; }
  std::uint32_t big(int n) {
    std::uint32_t v = 0;
    while (n--) v = v << 8 | byte();
    return v;
  }
  std::string text(std::size_t n) {
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  bool varlen(std::uint32_t* out) {
    *out = 0;
    for (int i = 0; i < 4; ++i) {
      if (!has(1)) return false;
      std::uint8_t b = byte();
      *out = *out << 7 | (b & 0x7F);
      if (!(b & 0x80)) return true;
    }
    return false;
  }
  void skip(std::size_t n) { pos_ += n; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

void WalkTrack(Reader& in, std::size_t end, int trackIndex, Summary& s) {
  Track track;
  std::uint32_t tick = 0;
  std::uint8_t running = 0;
  std::map<std::pair<int, int>, int> sounding;  // (channel, key) -> open note-ons
  auto fail = [&](const char* what) { s.error = what + (" in track " + std::to_string(trackIndex)); };
  while (in.pos() < end) {
    if (track.endsWithEndOfTrack) return fail("events after End of Track");
    std::uint32_t delta;
    if (!in.varlen(&delta)) return fail("bad delta time");
    tick += delta;
    if (in.pos() >= end) return fail("event cut off");
    std::uint8_t status = in.peek() & 0x80 ? in.byte() : running;
    if (status == 0xFF) {
      running = 0;
      if (in.pos() + 1 > end) return fail("meta cut off");
      std::uint8_t type = in.byte();
      std::uint32_t length;
      if (!in.varlen(&length) || in.pos() + length > end) return fail("meta length");
      std::string body = in.text(length);
      auto u = [&](int i) { return static_cast<std::uint8_t>(body[i]); };
      if (type == 0x51 && length == 3)
        s.tempos.push_back({trackIndex, tick, std::uint32_t(u(0)) << 16 | u(1) << 8 | u(2)});
      if (type == 0x58 && length == 4) s.timeSignatures.push_back({trackIndex, tick, std::uint32_t(u(0)) << 8 | u(1)});
      if (type == 0x2F) {
        track.endsWithEndOfTrack = true;
        track.endTick = tick;
      }
      continue;
    }
    if (status == 0xF0 || status == 0xF7) {
      running = 0;
      std::uint32_t length;
      if (!in.varlen(&length) || in.pos() + length > end) return fail("sysex length");
      in.skip(length);
      continue;
    }
    if (!(status & 0x80) || status >= 0xF0) return fail("data byte without a status");
    running = status;
    int kind = status >> 4, channel = status & 0x0F;
    int dataBytes = (kind == 0xC || kind == 0xD) ? 1 : 2;
    if (in.pos() + dataBytes > end) return fail("channel event cut off");
    int a = in.byte(), b = dataBytes == 2 ? in.byte() : 0;
    if (a > 127 || b > 127) return fail("data byte above 127");
    bool noteOn = kind == 0x9 && b > 0;
    bool noteOff = kind == 0x8 || (kind == 0x9 && b == 0);
    if (noteOn) {
      ++track.noteOns;
      ++sounding[{channel, a}];
      s.velocitySumByChannel[channel] += b;
      ++s.noteOnsByChannel[channel];
      s.firstNoteTickByChannel.try_emplace(channel, tick);
    } else if (noteOff) {
      if (sounding[{channel, a}] > 0) --sounding[{channel, a}];
      s.lastNoteOff = std::max(s.lastNoteOff, tick);
    } else if (kind == 0xC) {
      s.programs.push_back(a);
    } else if (kind == 0xB && a == 7 && b >= 64) {
      s.volumeTickByChannel.try_emplace(channel, tick);
    }
  }
  for (const auto& [key, open] : sounding) s.hangingNotes += open;
  s.tracks.push_back(track);
}

Summary Walk(ByteBlock bytes) {
  Summary s;
  Reader in(bytes);
  if (!in.has(14) || in.text(4) != "MThd" || in.big(4) != 6) {
    s.error = "no MThd chunk of length 6 at the start";
    return s;
  }
  s.format = int(in.big(2));
  s.trackCount = int(in.big(2));
  s.division = int(in.big(2));
  while (in.has(1) && s.error.empty()) {
    if (!in.has(8) || in.text(4) != "MTrk") {
      s.error = "a chunk other than MTrk, or bytes after the last track";
      break;
    }
    std::uint32_t length = in.big(4);
    if (!in.has(length)) {
      s.error = "track chunk runs past the end of the file";
      break;
    }
    WalkTrack(in, in.pos() + length, int(s.tracks.size()), s);
  }
  return s;
}

class Tune : public ::testing::TestWithParam<TuneRow> {};

TEST_P(Tune, HasTheHeaderAndChunksOfItsRow) {
  const TuneRow& row = GetParam();
  ByteBlock bytes = AssetBytes(row.file);
  ASSERT_EQ(bytes.size, row.bytes);
  Summary s = Walk(bytes);
  ASSERT_EQ(s.error, "");
  EXPECT_EQ(s.format, row.format);
  EXPECT_EQ(s.trackCount, row.tracks);
  EXPECT_EQ(int(s.tracks.size()), row.tracks);
  EXPECT_EQ(s.division, row.division);
  for (std::size_t i = 0; i < s.tracks.size(); ++i)
    EXPECT_TRUE(s.tracks[i].endsWithEndOfTrack) << "track " << i;
}

TEST_P(Tune, KeepsOneTempoAndFourFourTimeInItsFirstTrack) {
  const TuneRow& row = GetParam();
  Summary s = Walk(AssetBytes(row.file));
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.tempos.size(), 1u);
  EXPECT_EQ(s.tempos[0].track, 0);
  EXPECT_EQ(s.tempos[0].tick, 0u);
  EXPECT_EQ(s.tempos[0].value, row.microsecondsPerQuarter);
  ASSERT_EQ(s.timeSignatures.size(), 1u);
  EXPECT_EQ(s.timeSignatures[0].track, 0);
  EXPECT_EQ(s.timeSignatures[0].tick, 0u);
  EXPECT_EQ(s.timeSignatures[0].value, (4u << 8) | 2u) << "numerator 4, denominator 2^2";
  if (row.format == 1) {
    EXPECT_EQ(s.tracks.at(0).noteOns, 0) << "the first track is for tempo and metre only";
  }
}

TEST_P(Tune, PlaysItsInstrumentsLoudEnough) {
  const TuneRow& row = GetParam();
  Summary s = Walk(AssetBytes(row.file));
  ASSERT_EQ(s.error, "");
  std::vector<int> expected = row.programs, actual = s.programs;
  std::sort(expected.begin(), expected.end());
  std::sort(actual.begin(), actual.end());
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(s.noteOnsByChannel.count(9) == 1, row.percussion) << "notes on channel 10";
  for (const auto& [channel, count] : s.noteOnsByChannel) {
    SCOPED_TRACE("channel " + std::to_string(channel + 1));
    ASSERT_TRUE(s.volumeTickByChannel.count(channel)) << "channel volume never set";
    EXPECT_LE(s.volumeTickByChannel[channel], s.firstNoteTickByChannel[channel]);
    EXPECT_GE(s.velocitySumByChannel[channel] / count, 70) << "mean velocity";
  }
}

// The alarm repeats a tune without a pause, so its length is where the
// music stops: no note left hanging and no silent tail after the last one.
TEST_P(Tune, LastsItsPlayingTimeAndEndsWithTheMusic) {
  const TuneRow& row = GetParam();
  Summary s = Walk(AssetBytes(row.file));
  ASSERT_EQ(s.error, "");
  ASSERT_FALSE(s.tracks.empty());
  std::uint32_t end = 0;
  for (const Track& t : s.tracks) end = std::max(end, t.endTick);
  double seconds = double(end) * row.microsecondsPerQuarter / row.division / 1e6;
  EXPECT_NEAR(seconds, row.seconds, row.tolerance);
  EXPECT_EQ(s.lastNoteOff, end);
  EXPECT_EQ(s.hangingNotes, 0);
}

INSTANTIATE_TEST_SUITE_P(Alarm, Tune, ::testing::ValuesIn(kTunes),
                         [](const auto& param) { return std::string(param.param.file).substr(0, 5); });

// The walker itself must reject what it is meant to catch.
TEST(TuneWalker, RejectsMalformedFiles) {
  const std::string good("MThd\0\0\0\6\0\0\0\1\0\x60" "MTrk\0\0\0\4\0\xFF\x2F\0", 26);
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"bytes after the last track", good + "x"},
      {"chunk shorter than its length", good.substr(0, 25)},
      {"header of another length", std::string("MThd\0\0\0\7", 8) + good.substr(8)},
      {"data byte without status", std::string(good).replace(22, 4, std::string("\0\x40\x40\0", 4))},
  };
  auto walk = [](const std::string& b) {
    return Walk({reinterpret_cast<const unsigned char*>(b.data()), b.size()});
  };
  EXPECT_EQ(walk(good).error, "");
  for (const Case& c : cases) EXPECT_NE(walk(c.bytes).error, "") << c.what;
}

}  // namespace
}  // namespace xiuhe
