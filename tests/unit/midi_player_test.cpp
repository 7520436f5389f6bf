#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "platform/midi_player.h"
#include "tests/support/midi_builder.h"

namespace xiuhe {
namespace {

using namespace test;
using namespace std::chrono_literals;

// Records what the playing thread asks of it, on a virtual clock: a sequence takes its own length,
// a wait its own duration, and no real time passes. Plays or waits can be held until a stop comes.
class RecordingOutput : public MidiOutput {
 public:
  struct Log {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> lines;  // "play 60 at 1500", "wait 300 at 2000", "close", ...
    std::uint64_t nowMs = 0;
    bool interrupted = false;
    int interrupts = 0;
    int freePlays = 1 << 30;  // plays after these are held until a stop
    bool holdWaits = false;
    std::set<int> unplayable;  // first notes of sequences that cannot be started

    std::vector<std::string> Lines() {
      std::lock_guard lock(mutex);
      return lines;
    }
    // Blocks until `ready` holds; false after a generous time so that a fault fails, not hangs.
    bool WaitUntil(const std::function<bool()>& ready) {
      std::unique_lock lock(mutex);
      return changed.wait_for(lock, 10s, ready);
    }
    bool WaitForLine(const std::string& line) {
      return WaitUntil([&] { return std::find(lines.begin(), lines.end(), line) != lines.end(); });
    }
  };

  explicit RecordingOutput(std::shared_ptr<Log> log) : log_(std::move(log)) {}

  bool Play(const MidiSequence& sequence) override {
    int note = sequence.events.empty() ? -1 : static_cast<int>(sequence.events.front().message >> 8 & 0x7F);
    std::unique_lock lock(log_->mutex);
    if (log_->unplayable.count(note)) {
      Add("refused " + std::to_string(note));
      return false;
    }
    Add("play " + std::to_string(note) + " at " + std::to_string(log_->nowMs));
    if (log_->freePlays-- <= 0) {
      log_->changed.wait(lock, [&] { return log_->interrupted; });
      Add("stopped " + std::to_string(note));
    } else if (!log_->interrupted) {
      log_->nowMs += sequence.endMicroseconds / 1000;
    }
    return true;
  }

  void Wait(std::chrono::milliseconds duration) override {
    std::unique_lock lock(log_->mutex);
    Add("wait " + std::to_string(duration.count()) + " at " + std::to_string(log_->nowMs));
    if (log_->holdWaits) {
      log_->changed.wait(lock, [&] { return log_->interrupted; });
      Add("wait ended");
    } else if (!log_->interrupted) {
      log_->nowMs += static_cast<std::uint64_t>(duration.count());
    }
  }

  void Close() override {
    std::lock_guard lock(log_->mutex);
    Add("close");
  }

  void Interrupt() override {
    std::lock_guard lock(log_->mutex);
    log_->interrupted = true;
    ++log_->interrupts;
    log_->changed.notify_all();
  }

  void Resume() override {
    std::lock_guard lock(log_->mutex);
    log_->interrupted = false;
  }

 private:
  void Add(std::string line) {
    log_->lines.push_back(std::move(line));
    log_->changed.notify_all();
  }
  std::shared_ptr<Log> log_;
};

struct MidiPlayerTest : ::testing::Test {
  std::shared_ptr<RecordingOutput::Log> log = std::make_shared<RecordingOutput::Log>();
  ThreadedMidiPlayer player{std::make_unique<RecordingOutput>(log)};

  // Tunes told apart by their note: 60 lasts 1 s, 62 half a second.
  Bytes tune60 = OneNoteTune(60, 2);
  Bytes tune62 = OneNoteTune(62, 1);

  static ByteBlock Block(const Bytes& bytes) { return {bytes.data(), bytes.size()}; }

  // The thread sets the state last as it ends; this gives it the moment it needs.
  bool WaitForIdle() {
    for (int i = 0; i < 10000; ++i) {
      if (player.state() == MidiPlayer::State::Idle) return true;
      std::this_thread::sleep_for(1ms);
    }
    return false;
  }
};

TEST_F(MidiPlayerTest, PlaysEachSequenceInTurnWithThePauseAfterEachForTheCount) {
  player.PlayMidi(2, 3, {Block(tune60), Block(tune62)});
  ASSERT_TRUE(log->WaitForLine("close"));
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{
      "play 60 at 0", "wait 300 at 1000", "play 62 at 1300", "wait 300 at 1800",
      "play 60 at 2100", "wait 300 at 3100", "play 62 at 3400", "wait 300 at 3900", "close"}));
  player.StopPlaying();  // clears the finished playback only
  EXPECT_EQ(log->Lines().size(), 9u);
  EXPECT_EQ(player.state(), MidiPlayer::State::Idle);
}

TEST_F(MidiPlayerTest, OnePassWithoutPauseWaitsNothing) {
  player.PlayMidi(1, 0, {Block(tune62)});
  ASSERT_TRUE(log->WaitForLine("close"));
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{"play 62 at 0", "close"}));
  ASSERT_TRUE(WaitForIdle());
}

TEST_F(MidiPlayerTest, NegativePauseCountsAsNone) {
  player.PlayMidi(2, -7, {Block(tune62)});
  ASSERT_TRUE(log->WaitForLine("close"));
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{"play 62 at 0", "play 62 at 500", "close"}));
}

// Minus one and anything below it loop without a gap until stopped; the stop leaves no thread.
TEST_F(MidiPlayerTest, EndlessLoopRepeatsWithoutGapUntilStopped) {
  for (int count : {-1, -5, -2147483647 - 1}) {
    SCOPED_TRACE(count);
    log = std::make_shared<RecordingOutput::Log>();
    log->freePlays = 5;
    ThreadedMidiPlayer endless{std::make_unique<RecordingOutput>(log)};
    endless.PlayMidi(count, 0, {Block(tune60)});
    ASSERT_TRUE(log->WaitForLine("play 60 at 5000"));
    EXPECT_EQ(endless.state(), MidiPlayer::State::Playing);
    endless.StopPlaying();
    EXPECT_EQ(endless.state(), MidiPlayer::State::Idle);
    EXPECT_EQ(log->Lines(), (std::vector<std::string>{"play 60 at 0", "play 60 at 1000", "play 60 at 2000",
                                                      "play 60 at 3000", "play 60 at 4000", "play 60 at 5000",
                                                      "stopped 60", "close"}));
  }
}

TEST_F(MidiPlayerTest, StopEndsThePauseToo) {
  log->holdWaits = true;
  player.PlayMidi(3, 600, {Block(tune62)});  // a minute's pause
  ASSERT_TRUE(log->WaitForLine("wait 60000 at 500"));
  player.StopPlaying();
  EXPECT_EQ(player.state(), MidiPlayer::State::Idle);
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{"play 62 at 0", "wait 60000 at 500", "wait ended", "close"}));
}

TEST_F(MidiPlayerTest, ANewTuneStopsTheOneInProgressBeforeItBegins) {
  log->freePlays = 0;
  player.PlayMidi(-1, 0, {Block(tune60)});
  ASSERT_TRUE(log->WaitForLine("play 60 at 0"));
  player.PlayMidi(1, 0, {Block(tune62)});
  EXPECT_EQ(player.state(), MidiPlayer::State::Playing);
  ASSERT_TRUE(log->WaitForLine("play 62 at 0"));
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{"play 60 at 0", "stopped 60", "close", "play 62 at 0"}));
  player.StopPlaying();
  EXPECT_EQ(player.state(), MidiPlayer::State::Idle);
}

TEST_F(MidiPlayerTest, CallsWithNothingToPlayLeaveTheRunningTuneAlone) {
  log->freePlays = 0;
  player.PlayMidi(-1, 0, {Block(tune60)});
  ASSERT_TRUE(log->WaitForLine("play 60 at 0"));
  const Bytes fourBytes{'M', 'T', 'h', 'd'};
  const Bytes riff{'R', 'I', 'F', 'F', 0, 0, 0, 4, 'M', 'T', 'h', 'd'};
  player.PlayMidi(0, 0, {Block(tune62)});
  player.PlayMidi(1, 0, {});
  player.PlayMidi(1, 0, {ByteBlock{}, Block(fourBytes), Block(riff)});
  EXPECT_EQ(player.state(), MidiPlayer::State::Playing);
  EXPECT_EQ(log->interrupts, 0);
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{"play 60 at 0"}));
  player.StopPlaying();
}

TEST_F(MidiPlayerTest, SequencesThatCannotBeReadOrStartedAreDropped) {
  log->unplayable = {62};
  const Bytes brokenHeader{'M', 'T', 'h', 'd', 0, 0, 0, 2, 0, 0};
  player.PlayMidi(3, 0, {Block(brokenHeader), Block(tune62), Block(tune60)});
  ASSERT_TRUE(log->WaitForLine("close"));
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{"refused 62", "play 60 at 0", "play 60 at 1000",
                                                    "play 60 at 2000", "close"}));
}

// With a device that cannot be opened an endless loop must end by itself, not spin.
TEST_F(MidiPlayerTest, EndlessLoopWithNothingPlayableEndsByItself) {
  log->unplayable = {60, 62};
  const Bytes silence = MidiFile(0, 480, {EndOfTrack()});  // takes no time at all
  player.PlayMidi(-1, 0, {Block(tune60), Block(silence), Block(tune62)});
  ASSERT_TRUE(log->WaitForLine("close"));
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{"refused 60", "refused 62", "close"}));
}

TEST_F(MidiPlayerTest, StopWhileIdleDoesNothing) {
  player.StopPlaying();
  player.StopPlaying();
  EXPECT_EQ(player.state(), MidiPlayer::State::Idle);
  EXPECT_TRUE(log->Lines().empty());
}

TEST_F(MidiPlayerTest, PlaysItsOwnCopyOfTheData) {
  Bytes callers = tune62;
  player.PlayMidi(1, 0, {Block(callers)});
  std::fill(callers.begin(), callers.end(), 0);
  callers.clear();
  callers.shrink_to_fit();
  ASSERT_TRUE(log->WaitForLine("close"));
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{"play 62 at 0", "close"}));
}

TEST_F(MidiPlayerTest, DestroyingThePlayerStopsIt) {
  log->freePlays = 0;
  {
    ThreadedMidiPlayer shortLived{std::make_unique<RecordingOutput>(log)};
    shortLived.PlayMidi(-1, 0, {Block(tune60)});
    ASSERT_TRUE(log->WaitForLine("play 60 at 0"));
  }
  EXPECT_EQ(log->Lines(), (std::vector<std::string>{"play 60 at 0", "stopped 60", "close"}));
}

}  // namespace
}  // namespace xiuhe
