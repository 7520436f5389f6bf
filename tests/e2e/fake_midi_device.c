/* A stand-in for winmm's MIDI stream functions, loaded by the program in place of the system's
   (Wine here has no MIDI device). It plays stream buffers in real time on a thread of its own and
   appends one line per call and per sounded event to the file named by FAKE_MIDI_LOG:
   "<Unix time in seconds> <what>". One stream at a time. */
#define WIN32_LEAN_AND_MEAN /* keeps the system's own declarations of these functions out */
#include <windows.h>

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define EXPORT __declspec(dllexport)
#define HEADER_DONE 1
#define HEADER_PREPARED 2
#define HEADER_IN_QUEUE 4
#define ERROR_BAD_STATE 11
#define ERROR_UNPREPARED 64
#define ERROR_STILL_PLAYING 65

typedef struct Header {
  LPSTR data;
  DWORD bufferLength, bytesRecorded;
  DWORD_PTR user;
  DWORD flags;
  struct Header* next;
  DWORD_PTR reserved;
  DWORD offset;
  DWORD_PTR reserved2[8];
} Header;

static CRITICAL_SECTION lock;
static HANDLE callbackEvent, wake, worker;
static Header* queue[256];
static int queued, running, closing, stops;
static DWORD timeDivision = 96, tempo = 500000;
static FILE* logFile;

static double UnixSeconds(void) {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  ULONGLONG ticks = ((ULONGLONG)now.dwHighDateTime << 32) | now.dwLowDateTime;
  return (ticks - 116444736000000000ULL) / 1e7;
}

static void Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  EnterCriticalSection(&lock);
  if (logFile) {
    fprintf(logFile, "%.4f ", UnixSeconds());
    vfprintf(logFile, format, args);
    fputc('\n', logFile);
    fflush(logFile);
  }
  LeaveCriticalSection(&lock);
  va_end(args);
}

static int StoppedSince(int generation) {
  EnterCriticalSection(&lock);
  int stopped = generation != stops || closing;
  LeaveCriticalSection(&lock);
  return stopped;
}

/* Waits the event's delta time at the present tempo; false when a stop came first. */
static int WaitDelta(DWORD delta, int generation) {
  ULONGLONG until = GetTickCount64() + (ULONGLONG)((double)delta * tempo / timeDivision / 1000.0 + 0.5);
  for (ULONGLONG now; (now = GetTickCount64()) < until;) {
    WaitForSingleObject(wake, (DWORD)(until - now));
    if (StoppedSince(generation)) return 0;
  }
  return !StoppedSince(generation);
}

static void PlayBuffer(Header* header, int generation) {
  DWORD* words = (DWORD*)header->data;
  DWORD count = header->bytesRecorded / 4;
  for (DWORD i = 0; i + 3 <= count; i += 3) {
    DWORD event = words[i + 2];
    if (words[i] && !WaitDelta(words[i], generation)) return;
    if (event & 0x80000000) {
      Log("long %lu", event & 0xFFFFFF);
      i += ((event & 0xFFFFFF) + 3) / 4;
    } else if (event >> 24 == 0) {
      Log("short %06lx", event & 0xFFFFFF);
    } else if (event >> 24 == 1) {
      tempo = event & 0xFFFFFF;
      Log("tempo event %lu", tempo);
    }
  }
  EnterCriticalSection(&lock);
  if (generation == stops && queued && queue[0] == header) {
    header->flags = (header->flags | HEADER_DONE) & ~HEADER_IN_QUEUE;
    memmove(queue, queue + 1, --queued * sizeof queue[0]);
    SetEvent(callbackEvent);
  }
  LeaveCriticalSection(&lock);
}

static DWORD WINAPI Player(LPVOID unused) {
  (void)unused;
  for (;;) {
    EnterCriticalSection(&lock);
    Header* next = running && queued ? queue[0] : NULL;
    int generation = stops, leave = closing;
    LeaveCriticalSection(&lock);
    if (leave) return 0;
    if (next)
      PlayBuffer(next, generation);
    else
      WaitForSingleObject(wake, INFINITE);
  }
}

EXPORT UINT WINAPI midiStreamOpen(HANDLE* stream, UINT* device, DWORD count, DWORD_PTR callback,
                                  DWORD_PTR instance, DWORD flags) {
  (void)instance;
  static int ready;
  if (!ready) {
    InitializeCriticalSection(&lock);
    const char* path = getenv("FAKE_MIDI_LOG");
    logFile = path ? fopen(path, "a") : NULL;
    ready = 1;
  }
  callbackEvent = (HANDLE)callback;
  wake = CreateEventW(NULL, FALSE, FALSE, NULL);
  closing = running = queued = 0;
  worker = CreateThread(NULL, 0, Player, NULL, 0, NULL);
  *stream = (HANDLE)(ULONG_PTR)0x5EED;
  Log("open %d %lu %lx", (int)*device, count, flags);
  SetEvent(callbackEvent);
  return 0;
}

EXPORT UINT WINAPI midiStreamProperty(HANDLE stream, BYTE* data, DWORD property) {
  (void)stream;
  DWORD value = ((DWORD*)data)[1];
  if (running) {
    Log("property while running");
    return ERROR_BAD_STATE;
  }
  if (property & 1) timeDivision = value; else tempo = value;
  Log("%s %lu", property & 1 ? "timediv" : "tempo", value);
  return 0;
}

EXPORT UINT WINAPI midiOutPrepareHeader(HANDLE out, Header* header, UINT size) {
  (void)out, (void)size;
  header->flags = HEADER_PREPARED;
  Log("prepare %lu", header->bytesRecorded);
  return 0;
}

EXPORT UINT WINAPI midiOutUnprepareHeader(HANDLE out, Header* header, UINT size) {
  (void)out, (void)size;
  if (header->flags & HEADER_IN_QUEUE) {
    Log("unprepare while queued");
    return ERROR_STILL_PLAYING;
  }
  header->flags &= ~HEADER_PREPARED;
  Log("unprepare");
  return 0;
}

EXPORT UINT WINAPI midiStreamOut(HANDLE stream, Header* header, UINT size) {
  (void)stream, (void)size;
  if (!(header->flags & HEADER_PREPARED)) return ERROR_UNPREPARED;
  EnterCriticalSection(&lock);
  header->flags = (header->flags & ~HEADER_DONE) | HEADER_IN_QUEUE;
  queue[queued++] = header;
  LeaveCriticalSection(&lock);
  Log("out");
  SetEvent(wake);
  return 0;
}

EXPORT UINT WINAPI midiStreamRestart(HANDLE stream) {
  (void)stream;
  EnterCriticalSection(&lock);
  running = 1;
  LeaveCriticalSection(&lock);
  Log("restart");
  SetEvent(wake);
  return 0;
}

EXPORT UINT WINAPI midiStreamStop(HANDLE stream) {
  (void)stream;
  EnterCriticalSection(&lock);
  running = 0;
  ++stops;
  for (int i = 0; i < queued; ++i) queue[i]->flags = (queue[i]->flags | HEADER_DONE) & ~HEADER_IN_QUEUE;
  queued = 0;
  LeaveCriticalSection(&lock);
  Log("stop");
  SetEvent(wake);
  SetEvent(callbackEvent);
  return 0;
}

EXPORT UINT WINAPI midiOutReset(HANDLE out) {
  (void)out;
  Log("reset");
  return 0;
}

EXPORT UINT WINAPI midiStreamClose(HANDLE stream) {
  (void)stream;
  EnterCriticalSection(&lock);
  closing = 1;
  LeaveCriticalSection(&lock);
  SetEvent(wake);
  WaitForSingleObject(worker, INFINITE);
  CloseHandle(worker);
  CloseHandle(wake);
  Log("close");
  SetEvent(callbackEvent);
  return 0;
}
