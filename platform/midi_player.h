#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "assets/assets.h"
#include "platform/midi_file.h"

namespace xiuhe {

// The program's one sound player: plays Standard MIDI Files on a thread of its own.
class MidiPlayer {
 public:
  enum class State { Idle, Playing, StopRequested };

  virtual ~MidiPlayer() = default;
  // count: 0 does nothing, below -1 counts as -1 (endless); pause in tenths of a second.
  virtual void PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) = 0;
  // Returns when the playing thread has ended; the player is idle then.
  virtual void StopPlaying() = 0;
};

// Where the playing thread sends its sequences and spends its waits: the system's MIDI stream in
// the program, a recording with virtual time in the tests.
class MidiOutput {
 public:
  virtual ~MidiOutput() = default;

  // Playing thread. Plays the sequence and returns when it has played out, or soon after
  // Interrupt(). false: it could not be started (nothing sounds).
  virtual bool Play(const MidiSequence& sequence) = 0;
  // Playing thread. Waits, returning soon after Interrupt().
  virtual void Wait(std::chrono::milliseconds duration) = 0;
  // Playing thread, as it ends: lets go of the device.
  virtual void Close() = 0;

  // Any thread: ends the current wait or play, and every later one until Resume().
  virtual void Interrupt() = 0;
  // Called while no playing thread exists, before a new one starts.
  virtual void Resume() = 0;
};

// The player's logic over any output: the count, the pause, the thread, stopping and the states.
class ThreadedMidiPlayer : public MidiPlayer {
 public:
  explicit ThreadedMidiPlayer(std::unique_ptr<MidiOutput> output);
  ~ThreadedMidiPlayer() override;

  void PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) override;
  void StopPlaying() override;
  State state() const;

 private:
  void PlayThread(int count, std::chrono::milliseconds pause,
                  std::vector<std::vector<std::uint8_t>> files);
  bool StopRequested() const;

  std::unique_ptr<MidiOutput> output_;
  mutable std::mutex mutex_;
  State state_ = State::Idle;
  std::thread thread_;
};

}  // namespace xiuhe
