#include "platform/win32/win32_midi.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>

#include "platform/midi_stream_buffer.h"

namespace xiuhe::win32 {
namespace {

// Plays sequences through a MIDI stream on the MIDI mapper. The stream stays open from one
// sequence to the next, so a loop goes on without reopening the device.
class StreamOutput final : public MidiOutput {
 public:
  StreamOutput()
      : done_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
        stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  ~StreamOutput() override {
    Close();
    if (done_) CloseHandle(done_);
    if (stop_) CloseHandle(stop_);
  }

  bool Play(const MidiSequence& sequence) override {
    if (!done_ || !stop_) return false;
    if (WaitForSingleObject(stop_, 0) == WAIT_OBJECT_0) return true;  // stopped before it began
    if (!Open()) return false;
    std::vector<StreamBuffer> buffers = MakeStreamBuffers(sequence);
    std::vector<MIDIHDR> headers(buffers.size());
    if (!Start(sequence, buffers, headers)) {
      Halt(headers);
      return false;
    }
    switch (WaitForEnd(headers)) {
      case End::PlayedOut:
        Unprepare(headers);
        return true;
      case End::Stopped:
        Halt(headers);
        return true;
      case End::WaitFailed:
        break;
    }
    Halt(headers);
    return false;  // dropped, so that a broken wait cannot turn a loop into a busy one
  }

  void Wait(std::chrono::milliseconds duration) override {
    for (auto left = duration.count(); left > 0 && stop_;) {
      DWORD part = static_cast<DWORD>(std::min<long long>(left, 0x7FFFFFFF));
      if (WaitForSingleObject(stop_, part) != WAIT_TIMEOUT) return;
      left -= part;
    }
  }

  void Close() override {
    if (stream_) midiStreamClose(stream_);
    stream_ = nullptr;
  }

  void Interrupt() override {
    if (stop_) SetEvent(stop_);
  }

  void Resume() override {
    if (stop_) ResetEvent(stop_);
  }

 private:
  bool Open() {
    if (stream_) return true;
    UINT device = MIDI_MAPPER;
    HMIDISTRM stream = nullptr;
    // On failure the system may still write a handle value: only the result counts.
    if (midiStreamOpen(&stream, &device, 1, reinterpret_cast<DWORD_PTR>(done_), 0, CALLBACK_EVENT) !=
        MMSYSERR_NOERROR)
      return false;
    stream_ = stream;
    return true;
  }

  HMIDIOUT Out() const { return reinterpret_cast<HMIDIOUT>(stream_); }

  bool Start(const MidiSequence& sequence, std::vector<StreamBuffer>& buffers, std::vector<MIDIHDR>& headers) {
    // The time division may only change while the stream is stopped.
    midiStreamStop(stream_);
    MIDIPROPTIMEDIV division{sizeof(MIDIPROPTIMEDIV), sequence.ticksPerQuarter};
    MIDIPROPTEMPO tempo{sizeof(MIDIPROPTEMPO), sequence.initialTempo};
    if (midiStreamProperty(stream_, reinterpret_cast<LPBYTE>(&division), MIDIPROP_SET | MIDIPROP_TIMEDIV) !=
            MMSYSERR_NOERROR ||
        midiStreamProperty(stream_, reinterpret_cast<LPBYTE>(&tempo), MIDIPROP_SET | MIDIPROP_TEMPO) !=
            MMSYSERR_NOERROR)
      return false;
    for (std::size_t i = 0; i < buffers.size(); ++i) {
      MIDIHDR& header = headers[i];
      header.lpData = reinterpret_cast<LPSTR>(buffers[i].data());
      header.dwBufferLength = header.dwBytesRecorded = static_cast<DWORD>(buffers[i].size() * 4);
      if (midiOutPrepareHeader(Out(), &header, sizeof(MIDIHDR)) != MMSYSERR_NOERROR) return false;
    }
    ResetEvent(done_);  // the open signals it too
    for (MIDIHDR& header : headers)
      if (midiStreamOut(stream_, &header, sizeof(MIDIHDR)) != MMSYSERR_NOERROR) return false;
    return midiStreamRestart(stream_) == MMSYSERR_NOERROR;
  }

  static bool AllDone(const std::vector<MIDIHDR>& headers) {
    return std::all_of(headers.begin(), headers.end(), [](const MIDIHDR& header) {
      return (*static_cast<const volatile DWORD*>(&header.dwFlags) & MHDR_DONE) != 0;
    });
  }

  enum class End { PlayedOut, Stopped, WaitFailed };

  End WaitForEnd(const std::vector<MIDIHDR>& headers) {
    const HANDLE handles[] = {stop_, done_};
    while (!AllDone(headers)) {
      DWORD woken = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
      if (woken == WAIT_OBJECT_0) return End::Stopped;
      if (woken != WAIT_OBJECT_0 + 1) return End::WaitFailed;
    }
    return End::PlayedOut;
  }

  // Silences the stream and takes every buffer back from it.
  void Halt(std::vector<MIDIHDR>& headers) {
    midiStreamStop(stream_);
    midiOutReset(Out());
    Unprepare(headers);
  }

  void Unprepare(std::vector<MIDIHDR>& headers) {
    for (MIDIHDR& header : headers)
      if (header.dwFlags & MHDR_PREPARED) midiOutUnprepareHeader(Out(), &header, sizeof(MIDIHDR));
  }

  HANDLE done_;  // signalled by the stream when a buffer is done
  HANDLE stop_;  // set by a stop request until the next playback
  HMIDISTRM stream_ = nullptr;
};

}  // namespace

std::unique_ptr<MidiPlayer> MakeMidiPlayer() {
  return std::make_unique<ThreadedMidiPlayer>(std::make_unique<StreamOutput>());
}

}  // namespace xiuhe::win32
