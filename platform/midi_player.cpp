#include "platform/midi_player.h"

#include <cstring>
#include <optional>
#include <system_error>

namespace xiuhe {
namespace {

bool LooksLikeMidiFile(const ByteBlock& block) {
  return block.size > 4 && block.data && std::memcmp(block.data, "MThd", 4) == 0;
}

}  // namespace

ThreadedMidiPlayer::ThreadedMidiPlayer(std::unique_ptr<MidiOutput> output) : output_(std::move(output)) {}

ThreadedMidiPlayer::~ThreadedMidiPlayer() { StopPlaying(); }

MidiPlayer::State ThreadedMidiPlayer::state() const {
  std::lock_guard lock(mutex_);
  return state_;
}

bool ThreadedMidiPlayer::StopRequested() const { return state() == State::StopRequested; }

void ThreadedMidiPlayer::PlayMidi(int count, int pause, const std::vector<ByteBlock>& sequences) {
  if (count == 0) return;
  std::vector<std::vector<std::uint8_t>> files;
  for (const ByteBlock& block : sequences)
    if (LooksLikeMidiFile(block)) files.emplace_back(block.data, block.data + block.size);
  if (files.empty()) return;

  StopPlaying();
  output_->Resume();
  {
    std::lock_guard lock(mutex_);
    state_ = State::Playing;
  }
  try {
    thread_ = std::thread(&ThreadedMidiPlayer::PlayThread, this, count < -1 ? -1 : count,
                          std::chrono::milliseconds(pause > 0 ? pause * 100LL : 0), std::move(files));
  } catch (const std::system_error&) {
    std::lock_guard lock(mutex_);
    state_ = State::Idle;
  }
}

void ThreadedMidiPlayer::StopPlaying() {
  {
    std::lock_guard lock(mutex_);
    if (state_ == State::Playing) state_ = State::StopRequested;
  }
  if (!thread_.joinable()) return;
  output_->Interrupt();
  thread_.join();
}

void ThreadedMidiPlayer::PlayThread(int count, std::chrono::milliseconds pause,
                                    std::vector<std::vector<std::uint8_t>> files) {
  std::vector<MidiSequence> playlist;
  for (const auto& file : files) {
    auto sequence = ReadMidiFile(file.data(), file.size());
    // A sequence that takes no time would turn an endless loop into a busy one.
    if (sequence && sequence->endMicroseconds > 0) playlist.push_back(std::move(*sequence));
  }
  files.clear();

  while (!playlist.empty() && !StopRequested()) {
    for (std::size_t i = 0; i < playlist.size() && !StopRequested();) {
      if (!output_->Play(playlist[i])) {
        playlist.erase(playlist.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      if (pause.count() > 0 && !StopRequested()) output_->Wait(pause);
      ++i;
    }
    if (count > 0 && --count == 0) break;
  }
  output_->Close();
  std::lock_guard lock(mutex_);
  state_ = State::Idle;
}

}  // namespace xiuhe
