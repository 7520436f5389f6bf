#!/usr/bin/python3
"""Writes the five alarm tunes, tune1.mid ... tune5.mid, next to this script.

Run it with Debian's python3 (standard library only). The output is the same
bytes on every run. Each file must have an exact size; the music is written
first, and the size is then met by spelling out the status byte of some
events that could use running status, which changes no sound.
"""

import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

PERCUSSION = 9  # channel 10 in the musicians' count

NOTE_OFFSETS = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    """'C4' is 60; accidentals '#' and 'b' follow the letter."""
    if isinstance(name, int):
        return name
    value = NOTE_OFFSETS[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        value += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return value + 12 * (int(rest) + 1)


def chord_pitches(names):
    return [pitch(n) for n in names.split()]


class Part:
    """One track of notes on one channel; program and mix are set only by the
    first track of a channel."""

    def __init__(self, name, channel, program=None, volume=None, pan=64, reverb=40):
        self.name = name
        self.channel = channel
        self.program = program
        self.volume = volume
        self.pan = pan
        self.reverb = reverb
        self.notes = []  # (start beat, length in beats, key, velocity)
        self.controls = []  # (beat, controller, value)

    def note(self, start, length, key, velocity):
        for k in key if isinstance(key, list) else [key]:
            self.notes.append((start, length, pitch(k), velocity))

    def line(self, start, steps, velocity, gate=0.9, last_gate=None):
        """A melody: steps are (key or chord list or None for a rest, beats)."""
        beat = start
        for i, (key, length) in enumerate(steps):
            g = last_gate if (last_gate is not None and i == len(steps) - 1) else gate
            if key is not None:
                vel = velocity(i) if callable(velocity) else velocity
                self.note(beat, length * g, key, vel)
            beat += length
        return beat

    def pedal(self, beat, down):
        self.controls.append((beat, 64, 127 if down else 0))


def melody(text):
    """'G5:1 B5:.5 r:.5 C5+E5:1' -> steps; '+' joins a chord, 'r' rests."""
    steps = []
    for item in text.split():
        key, length = item.split(":")
        if key == "r":
            steps.append((None, float(length)))
        elif "+" in key:
            steps.append((key.split("+"), float(length)))
        else:
            steps.append((key, float(length)))
    return steps


def transpose(steps, semitones):
    def move(key):
        if key is None:
            return None
        if isinstance(key, list):
            return [pitch(k) + semitones for k in key]
        return pitch(key) + semitones
    return [(move(key), length) for key, length in steps]


def varlen(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return bytes([0xFF, kind]) + varlen(len(data)) + data


class Tune:
    def __init__(self, number, target_size, fmt, division, bpm, beats, title, about=None,
                 names=True, mix=True):
        self.number = number
        self.target_size = target_size
        self.format = fmt
        self.division = division
        self.tempo = round(60_000_000 / bpm)
        self.beats = beats  # playing length; every track ends here
        self.title = title
        self.about = about
        self.names = names  # a name event at the top of every instrument track
        self.mix = mix  # pan and reverb besides the channel volume
        self.parts = []

    def part(self, *args, **kwargs):
        p = Part(*args, **kwargs)
        self.parts.append(p)
        return p

    def ticks(self, beats):
        return round(beats * self.division)

    def end_tick(self):
        return self.ticks(self.beats)

    # Each event: (tick, sort rank, kind, payload). kind "meta" payload = bytes
    # of the whole meta event; kind "midi" payload = (status, data bytes).
    def conductor_events(self):
        events = []
        if self.title:
            events.append((0, 0, "meta", meta(0x03, self.title.encode("ascii"))))
        if self.about:
            events.append((0, 0, "meta", meta(0x02, b"Written for the Xiuhe assistant; free to use")))
            events.append((0, 0, "meta", meta(0x01, self.about.encode("ascii"))))
        events.append((0, 1, "meta", meta(0x51, struct.pack(">I", self.tempo)[1:])))
        events.append((0, 1, "meta", meta(0x58, bytes([4, 2, 24, 8]))))
        return events

    def part_events(self, p, with_name=True):
        events = []
        if with_name:
            events.append((0, 0, "meta", meta(0x03, p.name.encode("ascii"))))
        status = lambda high: high | p.channel
        if p.program is not None:
            events.append((0, 2, "midi", (status(0xC0), bytes([p.program]))))
        if p.volume is not None:
            mix = ((7, p.volume), (10, p.pan), (91, p.reverb)) if self.mix else ((7, p.volume),)
            for controller, value in mix:
                events.append((0, 2, "midi", (status(0xB0), bytes([controller, value]))))
        for beat, controller, value in p.controls:
            events.append((self.ticks(beat), 4, "midi", (status(0xB0), bytes([controller, value]))))
        end = self.end_tick()
        for start, length, key, velocity in p.notes:
            on = self.ticks(start)
            off = min(max(self.ticks(start + length), on + 1), end)
            assert on < end, (p.name, start)
            assert 1 <= velocity <= 127 and 0 <= key <= 127
            # Note-offs first at a shared tick, so a repeated key is not cut.
            events.append((on, 5, "midi", (status(0x90), bytes([key, velocity]))))
            events.append((off, 3, "midi", (status(0x90), bytes([key, 0]))))
        return events

    def check_overlaps(self):
        """A key struck again on its channel before its note-off would have
        that note-off cut the new note short."""
        sounding = {}
        for p in self.parts:
            for start, length, key, _ in p.notes:
                sounding.setdefault((p.channel, key), []).append(
                    (self.ticks(start), self.ticks(start + length), p.name))
        for (channel, key), spans in sounding.items():
            spans.sort()
            for (a_on, a_off, a_name), (b_on, _, b_name) in zip(spans, spans[1:]):
                assert b_on >= a_off, "tune%d: key %d on channel %d overlaps at tick %d (%s, %s)" % (
                    self.number, key, channel, b_on, a_name, b_name)

    def tracks(self):
        end = self.end_tick()
        if self.format == 0:
            events = self.conductor_events()
            for p in self.parts:
                events += self.part_events(p, with_name=False)
            return [(events, end)]
        tracks = [(self.conductor_events(), end)]
        for p in self.parts:
            tracks.append((self.part_events(p, self.names), end))
        return tracks

    def encode(self, explicit_budget):
        """Returns the file bytes; the first explicit_budget events that could
        use running status spell out their status byte instead."""
        chunks = []
        budget = explicit_budget
        for events, end in self.tracks():
            events = sorted(events, key=lambda e: (e[0], e[1]))
            body = bytearray()
            last_tick = 0
            running = None
            for tick, _, kind, payload in events:
                body += varlen(tick - last_tick)
                last_tick = tick
                if kind == "meta":
                    body += payload
                    running = None
                    continue
                status, data = payload
                if status == running and budget > 0:
                    budget -= 1
                    body += bytes([status])
                elif status != running:
                    body += bytes([status])
                body += data
                running = status
            body += varlen(end - last_tick) + meta(0x2F, b"")
            chunks.append(b"MTrk" + struct.pack(">I", len(body)) + bytes(body))
        header = b"MThd" + struct.pack(">IHHH", 6, self.format, len(chunks), self.division)
        return header + b"".join(chunks), budget

    def build(self):
        self.check_overlaps()
        shortest, _ = self.encode(0)
        slack = self.target_size - len(shortest)
        data, unused = self.encode(slack)
        if slack < 0 or unused:
            sys.exit("tune%d: %d bytes with running status everywhere, %d without; target %d"
                     % (self.number, len(shortest), len(self.encode(10**9)[0]), self.target_size))
        assert len(data) == self.target_size
        return data


# ---------------------------------------------------------------------------
# Tune 1: a two-bar banjo roll in G with a vibraphone tune over it; the
# last bar's D chord turns back to G at the top of the loop.

def tune1():
    t = Tune(1, 1257, 1, 480, 120, 8, "Porch Sunrise",
             "Banjo roll, vibraphone and overdriven guitar in G major; a two-bar loop.")
    banjo = t.part("Banjo", 0, 105, 120, pan=44)
    vibes = t.part("Vibraphone", 1, 11, 124, pan=84, reverb=60)
    guitar = t.part("Overdriven Guitar", 2, 29, 100, pan=64, reverb=30)

    voicings = {"G": "B3 D4 G4 B4", "C": "C4 E4 G4 C5", "D": "A3 D4 F#4 A4"}
    roll = [0, 1, 3, 0, 2, 3, 1, 3]  # thumb-index-middle forward roll
    for half, name in enumerate("GGCD"):
        v = chord_pitches(voicings[name])
        for i, which in enumerate(roll):
            banjo.note(half * 2 + i * 0.25, 0.25, v[which], 108 if i in (0, 3, 6) else 92)
        banjo.note(half * 2, 0.25, {"G": "G3", "C": "G3", "D": "D3"}[name], 100)  # bass-string pinch

    tune = melody("G5:1 B5:.5 A5:.5 G5:.5 D5:.5 E5:.5 D5:.5 "
                  "E5:.5 G5:.5 C6:1 B5:.5 A5:.5 F#5:.5 A5:.5")
    below = melody("E5:1 G5:.5 D5:.5 E5:.5 B4:.5 B4:.5 B4:.5 "
                   "C5:.5 E5:.5 A5:1 G5:.5 F#5:.5 D5:.5 F#5:.5")
    vibes.line(0, tune, lambda i: 112 if i % 2 == 0 else 102, gate=0.95, last_gate=1.0)
    vibes.line(0, below, 90, gate=0.95, last_gate=1.0)
    for beat in (0, 2, 4, 6):
        vibes.pedal(beat + 0.05, True)
        vibes.pedal(beat + 2, False)

    roots = {"G": ["G2", "D3", "G3"], "C": ["C3", "G3", "C4"], "D": ["D3", "A3", "D4"]}
    for half, name in enumerate("GGCD"):
        for i in range(4):
            last = half == 3 and i == 3
            guitar.note(half * 2 + i * 0.5, 0.5 if last else 0.3, roots[name],
                        100 if i % 2 == 0 else 86)
    return t


# ---------------------------------------------------------------------------
# Tune 4: a bouncy piece in F for square lead, glockenspiel, clavinets and
# marimba, opened and closed by a ringing telephone. Each staff has its own
# track; staves that share an instrument share its channel and keep to
# separate registers.

def tune4():
    length = 115.4  # the last chord rings on for 3.4 beats
    t = Tune(4, 6826, 1, 480, 120, length, "Telephone Polka",
             "Polka in F major; a telephone rings it in and out.")
    lead = t.part("Square Lead", 0, 80, 92, pan=64, reverb=40)
    harmony = t.part("Square Harmony", 0)
    lead_low = t.part("Square Lead Low", 0)
    glock = t.part("Glockenspiel", 1, 9, 100, pan=80, reverb=60)
    sparkle = t.part("Glockenspiel 2", 1)
    clav = t.part("Clavinet", 2, 7, 84, pan=40, reverb=30)
    clav_low = t.part("Clavinet LH", 2)
    marimba = t.part("Marimba", 3, 12, 100, pan=88, reverb=50)
    marimba_low = t.part("Marimba LH", 3)
    bass = t.part("Bass Clavinet", 4, 7, 104, pan=64, reverb=20)
    bass_pop = t.part("Bass Octaves", 4)
    phone = t.part("Telephone", 5, 124, 90, pan=70, reverb=40)
    answer = t.part("Telephone Answer", 5)

    # chord name: (bass root, clavinet triad, marimba arpeggio tones)
    chords = {
        "F": ("F2", "A4 C5 F5", "F5 A5 C6"), "Dm": ("D2", "A4 D5 F5", "D5 F5 A5"),
        "Bb": ("Bb1", "Bb4 D5 F5", "D5 F5 Bb5"), "C": ("C2", "G4 C5 E5", "C5 E5 G5"),
        "Am": ("A1", "A4 C5 E5", "C5 E5 A5"), "Gm": ("G1", "G4 Bb4 D5", "D5 G5 Bb5"),
        "C7": ("C2", "G4 Bb4 E5", "C5 E5 Bb5"),
    }
    intro = [["F"], ["C7"]]
    verse = [["F"], ["Dm"], ["Bb"], ["C"], ["F"], ["Dm"], ["Bb", "C"], ["F"]]
    bridge = [["Bb"], ["C"], ["Am"], ["Dm"], ["Gm"], ["C"], ["F"], ["C7"]]
    outro = [["Bb"], ["C"]]
    bars = intro + verse + bridge + verse + outro

    tune = melody(
        "A4:.5 C5:.5 F5:.5 A5:.5 G5:.5 F5:.5 C5:1 "
        "D5:.5 F5:.5 A5:1 G5:.5 F5:.5 D5:.5 A4:.5 "
        "D5:.5 F5:.5 Bb5:1 F5:.5 G5:.5 F5:.5 D5:.5 "
        "E5:1.5 G5:.5 C6:1 Bb5:1 "
        "A5:.5 C6:.5 A5:.5 F5:.5 G5:.5 A5:.5 F5:1 "
        "D5:.5 F5:.5 A5:.5 D6:.5 C6:.5 A5:.5 F5:1 "
        "D5:.5 F5:.5 Bb5:1 C6:.5 Bb5:.5 G5:.5 E5:.5 "
        "F5:1.5 C5:.5 F5:1 r:1")
    thirds = melody(
        "F4:.5 A4:.5 C5:.5 F5:.5 C5:.5 D5:.5 A4:1 "
        "A4:.5 D5:.5 F5:1 E5:.5 D5:.5 A4:.5 F4:.5 "
        "Bb4:.5 D5:.5 F5:1 D5:.5 D5:.5 D5:.5 Bb4:.5 "
        "C5:1.5 E5:.5 G5:1 G5:1 "
        "F5:.5 A5:.5 F5:.5 C5:.5 C5:.5 F5:.5 C5:1 "
        "A4:.5 D5:.5 F5:.5 A5:.5 A5:.5 F5:.5 D5:1 "
        "Bb4:.5 D5:.5 F5:1 G5:.5 G5:.5 E5:.5 C5:.5 "
        "A4:1.5 A4:.5 A4:1 r:1")
    first_verse, second_verse = 8, 72
    lead.line(first_verse, tune, lambda i: 104 if i % 4 == 0 else 90, gate=0.8)
    lead.line(second_verse, tune, lambda i: 108 if i % 4 == 0 else 94, gate=0.8)
    harmony.line(second_verse, thirds, 76, gate=0.8)
    lead_low.line(second_verse, transpose(tune, -12), 70, gate=0.8)
    glock.line(first_verse + 16, transpose(tune[25:], 12), 84, gate=0.9)  # bells join halfway

    bridge_tune = melody(
        "D6:1 F6:1 Bb6:1.5 F6:.5 G6:1 E6:1 C6:2 "
        "C6:1 E6:1 A6:1.5 G6:.5 F6:1 D6:1 A5:2 "
        "Bb5:1 D6:1 G6:1.5 F6:.5 E6:1 G6:1 C7:1 Bb6:1 "
        "A6:1.5 G6:.5 F6:1 C6:1 E6:1 G6:1 Bb6:1 G6:1")
    glock.line(40, bridge_tune, lambda i: 108 if i % 2 == 0 else 96, gate=0.95)
    counter = {"Bb": "D5 F5", "C": "E5 G5", "Am": "C5 E5", "Dm": "D5 F5",
               "Gm": "D5 Bb4", "F": "C5 A4", "C7": "E5 Bb4"}
    for i, (name,) in enumerate(bridge):
        first, second = counter[name].split()
        harmony.note(40 + i * 4, 1.9, first, 80)
        harmony.note(42 + i * 4, 1.9, second, 80)

    for bar, names in enumerate(bars):
        start = bar * 4
        span = 4 / len(names)
        for half, name in enumerate(names):
            root, triad, arp = chords[name]
            at = start + half * span
            # Bass: root on the beat, octave pop after it.
            for beat in range(int(span)):
                step = pitch(root) + (7 if beat % 2 else 0)
                bass.note(at + beat, 0.45, step, 100 if beat % 2 == 0 else 88)
                if beat % 2:
                    bass_pop.note(at + beat + 0.5, 0.25, pitch(root) + 12, 76)
            if 2 <= bar < 26:
                for beat in range(int(span)):  # off-beat clavinet chops
                    clav.note(at + beat + 0.5, 0.25, chord_pitches(triad)[1:], 80)
                clav_low.note(at, 0.4, pitch(root) + 12, 84)
                tones = chord_pitches(arp)
                pattern = [0, 1, 2, 1] * 2
                step = 1 if bar < 10 else 0.5  # quarters in the first verse, eighths after
                for i in range(int(span / step)):
                    marimba.note(at + i * step, step * 0.9, tones[pattern[i]], 92 if i % 2 == 0 else 78)
                marimba_low.note(at, span * 0.9, pitch(root) + 24, 84)
    # Sparkle: a falling bell figure at the end of each verse phrase.
    for verse in (first_verse, second_verse):
        sparkle.line(verse + 15, melody("Bb6:.25 G6:.25 E6:.25 C6:.25"), 70, gate=0.9)  # over C7
        sparkle.line(verse + 31, melody("C7:.25 A6:.25 F6:.25 C6:.25"), 70, gate=0.9)  # over F

    # The phone rings twice, the answer rings back, at the start and at the end.
    for base in (0, 104):
        for ring in (0, 1):
            phone.note(base + ring * 2, 1.5, "E5", 96)
        answer.note(base + 4, 1.5, "A5", 88)
        answer.note(base + 6, 1.0, "A5", 80)

    end = 112
    hold = length - end
    lead.note(end, hold, "F5", 100)
    harmony.note(end, hold, "C5", 84)
    glock.note(end, hold, "F6", 96)
    clav.note(end, hold, chord_pitches("A4 C5 F5"), 88)
    marimba.note(end, hold, chord_pitches("F5 A5 C6"), 92)
    marimba_low.note(end, hold, "F4", 84)
    bass.note(end, hold, "F2", 104)
    return t


# ---------------------------------------------------------------------------
# Tune 5: a square-wave call in D over driving guitars, phrased in five
# dotted quarters so the 7.5-beat loop runs on without a stumble; the A chord
# at the end falls back to D.

def tune5():
    t = Tune(5, 577, 1, 480, 120, 7.5, None, names=False, mix=False)
    lead = t.part("Square Lead", 0, 80, 100, pan=64, reverb=30)
    chug = t.part("Guitar", 1, 29, 80, pan=40, reverb=20)
    hits = t.part("Orchestra Hit", 2, 55, 90, pan=64, reverb=50)
    power = t.part("Guitar 2", 3, 29, 76, pan=88, reverb=20)

    lead.line(0, melody("D5:.5 F#5:.5 A5:.5 D6:.5 A5:.5 F#5:.5 G5:.5 B5:.5 D6:.5 "
                        "C#6:.5 B5:.5 A5:.5 A5:.5 G5:.5 E5:.5"),
              lambda i: 108 if i % 3 == 0 else 92, gate=0.85, last_gate=1.0)
    chords = ["D", "D", "G", "A", "A"]
    low = {"D": ["D2", "A2"], "G": ["G2", "D3"], "A": ["A2", "E3"]}
    high = {"D": ["D3", "A3", "D4"], "G": ["G3", "D4", "G4"], "A": ["A3", "E4", "A4"]}
    for group, name in enumerate(chords):
        start = group * 1.5
        for i in range(3):
            chug.note(start + i * 0.5, 0.3, low[name], 96 if i == 0 else 80)
        power.note(start, 1.5, high[name], 84)
        if group in (0, 2, 3):
            hits.note(start, 0.4, high[name], 100)
    return t


# ---------------------------------------------------------------------------
# Tune 2: a brass-band march in B flat. A drum roll and a trumpet call, the
# trumpet tune, a lighter trio in E flat with the piccolo on top, a short
# return to B flat and a final chord.

def tune2():
    length = 8000 / 96  # the final chord dies away just after 49 seconds
    t = Tune(2, 6735, 0, 96, 102, length, "Morning Parade",
             "A march in B flat for trumpets, trombone, tuba, muted trumpet, horn, piccolo and drums.")
    trumpet = t.part("Trumpet", 0, 56, 110, pan=70, reverb=40)
    trombone = t.part("Trombone", 1, 57, 96, pan=44, reverb=40)
    tuba = t.part("Tuba", 2, 58, 110, pan=58, reverb=30)
    muted = t.part("Muted Trumpet", 3, 59, 100, pan=84, reverb=40)
    horn = t.part("French Horn", 4, 60, 96, pan=52, reverb=50)
    piccolo = t.part("Piccolo", 5, 72, 96, pan=76, reverb=40)
    drums = t.part("Drums", PERCUSSION, None, 104, pan=64, reverb=30)

    # One chord name per bar (two where a bar has two halves).
    chords = {
        "Bb": "Bb F D", "F7": "F C A Eb", "Eb": "Eb Bb G", "Ab": "Ab Eb C", "Bb7": "Bb F D Ab",
    }
    bars = (["F7", "F7"]                                        # intro
            + ["Bb", "Bb", "F7", "Bb", "Eb", "Bb", "F7", "Bb"]  # tune
            + ["Eb", "Eb", "Bb7", "Eb", "Ab", "Eb", "Bb7", "Eb"]  # trio
            + [("Eb", "F7"), "F7"])                             # return
    accent = lambda i: 112 if i % 4 == 0 else 98

    # Trumpet call, tune and return.
    trumpet.line(4, melody("F4:.5 F4:.25 F4:.25 A4:.5 A4:.25 A4:.25 C5:.5 C5:.25 C5:.25 F5:1"),
                 accent, gate=0.8)
    tune = ("F4:1 Bb4:.75 C5:.25 D5:1 Bb4:1 F5:1.5 D5:.5 Bb4:1 D5:1 "
            "C5:1 A4:.75 Bb4:.25 C5:1 Eb5:1 D5:1.5 C5:.5 Bb4:1 F4:1 "
            "G4:1 Bb4:.75 Eb5:.25 G5:1.5 F5:.5 F5:1 D5:.75 Bb4:.25 F5:1 D5:1 "
            "C5:1 Eb5:.75 D5:.25 C5:1 A4:1 Bb4:1.5 F4:.5 Bb4:1 r:1")
    second = ("D4:1 F4:.75 A4:.25 Bb4:1 F4:1 D5:1.5 Bb4:.5 F4:1 Bb4:1 "
              "A4:1 F4:.75 F4:.25 A4:1 C5:1 Bb4:1.5 A4:.5 F4:1 D4:1 "
              "Eb4:1 G4:.75 Bb4:.25 Eb5:1.5 D5:.5 D5:1 Bb4:.75 F4:.25 D5:1 Bb4:1 "
              "A4:1 C5:.75 Bb4:.25 A4:1 F4:1 F4:1.5 D4:.5 F4:1 r:1")
    trumpet.line(8, melody(tune), accent, gate=0.85)
    trumpet.line(8, melody(second), lambda i: accent(i) - 14, gate=0.85)
    coda = "G5:1 Eb5:1 F5:1 A5:1 F5:1.5 Eb5:.5 C5:1 A4:1"
    coda2 = "Eb5:1 Bb4:1 C5:1 F5:1 C5:1.5 A4:.5 A4:1 F4:1"
    trumpet.line(72, melody(coda), accent, gate=0.85)
    trumpet.line(72, melody(coda2), lambda i: accent(i) - 14, gate=0.85)

    # Trio: piccolo tune over a muted-trumpet counter line.
    trio = ("Bb5:1 Eb6:.75 F6:.25 G6:1 Eb6:1 Bb6:1.5 G6:.5 Eb6:2 "
            "F6:1 D6:.75 Eb6:.25 F6:1 Ab6:1 G6:1.5 F6:.5 Eb6:1 Bb5:1 "
            "C6:1 Eb6:.75 Ab6:.25 C7:1.5 Bb6:.5 G6:1 Eb6:.75 G6:.25 Bb6:1 G6:1 "
            "F6:1 Ab6:.75 G6:.25 F6:1 D6:1 Eb6:2 r:2")
    piccolo.line(40, melody(trio), accent, gate=0.85)
    piccolo.line(72, melody("G6:1 Eb6:1 F6:1 A6:1 F6:.25 G6:.25 F6:.25 G6:.25 "
                            "F6:.25 G6:.25 F6:.25 Eb6:.25 C6:1 A5:1"), accent, gate=0.9)
    muted.line(40, melody("G4:2 Bb4:2 Eb5:2 Bb4:2 Ab4:2 F4:2 G4:2 Bb4:2 "
                          "Ab4:2 C5:2 Bb4:2 G4:2 Ab4:1 F4:1 D4:1 Bb3:1 Eb4:2 r:2"), 92, gate=0.95)
    run_into_trio = melody("r:3 F4:.25 G4:.25 A4:.25 Bb4:.25")
    muted.line(36, run_into_trio, 90, gate=0.9)
    piccolo.line(36, transpose(run_into_trio, 24), 84, gate=0.9)
    muted.line(72, melody("Bb4:2 C5:2 A4:1 C5:1 Eb5:1 C5:1"), 90, gate=0.9)
    # The piccolo joins two octaves up for the second half of the tune.
    piccolo.line(24, transpose(melody(tune)[18:], 24), lambda i: accent(i) - 10, gate=0.8)

    # Oom-pah: tuba on the beats, horns after them, trombone holding chord tones.
    low = {"Bb": ("Bb1", "F2"), "F7": ("F2", "C2"), "Eb": ("Eb2", "Bb1"),
           "Ab": ("Ab1", "Eb2"), "Bb7": ("Bb1", "F2")}
    after = {"Bb": "F3 Bb3 D4 F4", "F7": "F3 A3 C4 Eb4", "Eb": "G3 Bb3 Eb4 G4",
             "Ab": "Ab3 C4 Eb4 Ab4", "Bb7": "F3 Ab3 Bb3 D4"}
    held = {"Bb": "D3 F3", "F7": "C3 A3", "Eb": "Eb3 G3", "Ab": "C3 Ab3", "Bb7": "D3 Ab3"}
    for bar, names in enumerate(bars):
        start = bar * 4
        halves = names if isinstance(names, tuple) else (names, names)
        for half, name in enumerate(halves):
            beat = start + half * 2
            if bar >= 1:
                tuba.note(beat, 0.9, low[name][half if halves[0] == halves[1] else 0], 108)
                horn.note(beat + 1, 0.5, chord_pitches(after[name]), 88)
            if not 2 <= bar < 10:
                trombone.note(beat, 1.9, chord_pitches(held[name]), 82 if 10 <= bar < 18 else 94)
    trombone.line(8, melody("D3:2 F3:1 D3:1 Bb2:1 C3:1 D3:1 C3:1 F3:2 Eb3:1 C3:1 "
                            "D3:1.5 C3:.5 Bb2:2 Eb3:1 G3:1 Bb3:1 G3:1 F3:2 D3:1 F3:1 "
                            "A3:1 G3:.5 F3:.5 Eb3:1 C3:1 D3:2 F3:.5 G3:.5 F3:1"),
                  lambda i: 100 if i % 3 == 0 else 90, gate=0.9)
    horn.note(0, 3.9, chord_pitches("F3 A3 C4 Eb4"), 70)  # swelling under the roll
    tuba.note(0, 3.9, "F2", 80)

    # Drums: a street beat, rolls into each section, lighter in the trio.
    kick, side_stick, snare, crash, splash = 36, 37, 38, 49, 55
    for i in range(32):
        drums.note(i * 0.125, 0.1, snare, 48 + i * 2)  # roll that opens the march
    drums.note(4, 0.5, crash, 110)
    for bar in range(1, 20):
        start = bar * 4
        trio_bar = 10 <= bar < 18
        for beat in (0, 2):
            drums.note(start + beat, 0.4, kick, 100 if beat == 0 else 90)
            if not trio_bar:
                drums.note(start + beat, 0.4, splash, 64)
        if bar in (9, 17):
            hits = [0, .5, .75, 1, 1.5, 1.75, 2, 2.25, 2.5, 2.75, 3, 3.25, 3.5, 3.75]
        else:
            hits = [0, .5, .75, 1, 1.5, 1.75, 2, 2.5, 2.75, 3, 3.5, 3.75]
        for h in hits:
            strong = h in (1, 3)
            if trio_bar and bar != 17:  # lighter: rim clicks on the backbeat, soft taps between
                drums.note(start + h, 0.2, side_stick if strong else snare, 96 if strong else 52)
            else:
                drums.note(start + h, 0.2, snare, 104 if strong else 80)
    drums.note(40, 0.5, crash, 100)
    drums.note(72, 0.5, crash, 100)

    # Final chord, everyone.
    end = 80
    hold = length - end
    trumpet.note(end, hold, ["D5", "Bb4"], 110)
    piccolo.note(end, hold, "Bb6", 100)
    muted.note(end, hold, "F4", 90)
    horn.note(end, hold, chord_pitches("F3 Bb3 D4"), 96)
    trombone.note(end, hold, chord_pitches("Bb2 F3"), 96)
    tuba.note(end, hold, "Bb1", 110)
    drums.note(end, 1, [kick, crash], 112)
    return t


# ---------------------------------------------------------------------------
# Tune 3: a four-bar trumpet fanfare in C with orchestra hits, crystal
# arpeggios and a pop beat; bar four ends on G with a drum fill into the top.

def tune3():
    t = Tune(3, 2389, 1, 480, 110, 16, "Rise and Shine",
             "Trumpet fanfare with orchestra hits, crystal and drums in C major.")
    trumpet = t.part("Trumpet", 0, 56, 104, pan=64, reverb=50)
    hits = t.part("Orchestra Hit", 1, 55, 88, pan=54, reverb=50)
    crystal = t.part("Crystal", 2, 98, 92, pan=80, reverb=70)
    drums = t.part("Drums", PERCUSSION, None, 100, pan=64, reverb=30)

    trumpet.line(0, melody(
        "C5:1 E5:.5 G5:.5 C6:1.5 G5:.5 "
        "A5:1 F5:.5 A5:.5 C6:1.5 A5:.5 "
        "F5:.5 E5:.5 D5:.5 F5:.5 A5:1.5 F5:.5 "
        "G5:.75 F5:.25 E5:.5 D5:.5 B4:1 G4:.5 B4:.5"),
        lambda i: 110 if i % 4 == 0 else 96, gate=0.88)
    trumpet.line(0, melody(  # second trumpet, a chord tone below
        "G4:1 C5:.5 E5:.5 G5:1.5 E5:.5 "
        "F5:1 C5:.5 F5:.5 A5:1.5 F5:.5 "
        "D5:.5 C5:.5 A4:.5 D5:.5 F5:1.5 D5:.5 "
        "D5:.75 B4:.25 G4:.5 B4:.5 G4:1 D4:.5 G4:.5"),
        lambda i: 96 if i % 4 == 0 else 84, gate=0.88)

    bars = [("C3 C4 E4 G4 C5", "C5 E5 G5 C6"), ("F3 C4 F4 A4 C5", "F5 A5 C6 F6"),
            ("D3 D4 F4 A4 D5", "D5 F5 A5 D6"), ("G2 D4 G4 B4 D5", "G5 B5 D6 G6")]
    arpeggio = [0, 1, 2, 3, 2, 1, 2, 3, 0, 1, 2, 3, 2, 1, 2, 1]
    for bar, (hit_chord, arp_chord) in enumerate(bars):
        start = bar * 4
        hits.note(start, 0.5, chord_pitches(hit_chord), 104)
        hits.note(start + 2.5, 0.4, chord_pitches(hit_chord), 92)
        tones = chord_pitches(arp_chord)
        for i, which in enumerate(arpeggio):
            crystal.note(start + i * 0.25, 0.25, tones[which], 90 if i % 4 == 0 else 72)

    kick, snare, clap, closed_hat, open_hat, crash, tambourine = 36, 38, 39, 42, 46, 49, 54
    low_tom, mid_tom, high_tom = 45, 47, 50
    for bar in range(4):
        start = bar * 4
        for i in range(16):
            if bar == 3 and i >= 12:
                break
            drums.note(start + i * 0.25, 0.2, open_hat if i == 14 else closed_hat,
                       88 if i % 2 == 0 else 64)
        for beat in (0, 1.5, 2, 2.75):
            drums.note(start + beat, 0.2, kick, 110)
        for beat in (1, 3):
            if not (bar == 3 and beat == 3):
                drums.note(start + beat, 0.2, [snare, clap, tambourine], 108)
    drums.note(0, 0.5, crash, 100)
    fill = [(snare, 96), (snare, 84), (high_tom, 100), (high_tom, 90),
            (mid_tom, 100), (mid_tom, 92), (low_tom, 104), (snare, 112)]
    for i, (key, velocity) in enumerate(fill):
        drums.note(15 + i * 0.125, 0.125, key, velocity)
    return t


TUNES = [tune1, tune2, tune3, tune4, tune5]


def main():
    for make in TUNES:
        tune = make()
        data = tune.build()
        path = os.path.join(HERE, "tune%d.mid" % tune.number)
        with open(path, "wb") as f:
            f.write(data)
        print("%s: %d bytes" % (os.path.basename(path), len(data)))


if __name__ == "__main__":
    main()
