// The music's text scores and the General MIDI files made from them.
//
// A score is words separated by spaces and line ends; a word that starts with
// '#' comments out the rest of its line. At the top:
//   name WORDS...            the piece's name (the rest of the line)
//   tempo BPM                quarter notes a minute
//   time N/D                 the bar, checked by every '|' (default 4/4)
//   define NAME { ... }      a phrase that tracks play by name
//   track NAME channel C [program P] [volume V] [pan P]   on one line, then the track's music
// Channels count 1..16 and channel 10 is the drums; programs are numbered as in
// the General MIDI list, 1 = Acoustic Grand Piano; volume and pan 0..127.
// The music of a track (and of a phrase):
//   C4 F#3 Bb5:8             a note, middle C is C4; ':' and a length, else the last length again
//   kick snare hat ...       on channel 10, drum names instead (see kDrums in score.cpp)
//   <C4 E4 G4>:2             a chord
//   r:4                      a rest
//   lengths                  1 2 4 8 16 32, '.' adds half, 't' makes a triplet, '~' ties: 4.  8t  2~8
//   |                        a bar line: an error unless it falls on a bar
//   repeat N { ... }         plays its contents N times
//   play NAME                plays a phrase
//   transpose N              semitones for the notes that follow, to the end of the enclosing { } or
//                            phrase; inside a phrase or repeat it adds to the transpose around it
//   v N                      velocity 1..127 from here on (default 90)
//   gate N                   notes sound N percent of their length (default 100)
//   program P  volume V  pan P  tempo BPM   changes from this point on
// Every track must end on the same beat; give a short one a rest.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace bd::sound {

struct ScoreError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline constexpr int kTicksPerQuarter = 480;
inline constexpr int kDrumChannel = 10;

struct Note {
  uint32_t tick = 0;
  uint32_t length = 0;  // ticks the note sounds (the gate applied)
  int key = 60;
  int velocity = 90;
};

enum class ControlKind { kProgram, kVolume, kPan };
struct Control {
  uint32_t tick = 0;
  ControlKind kind = ControlKind::kProgram;
  int value = 0;  // a program counts from 0 here, as MIDI sends it
};

struct Track {
  std::string name;
  int channel = 1;  // 1..16
  std::vector<Note> notes;
  std::vector<Control> controls;
};

struct TempoChange {
  uint32_t tick = 0;
  double bpm = 120;
};

struct Score {
  std::string name;
  int beats = 4, beat_unit = 4;
  std::vector<TempoChange> tempos;  // in tick order, the first at 0
  std::vector<Track> tracks;
  uint32_t end = 0;  // the tick every track ends on
};

// Errors name the source and line.
Score ParseScore(const std::string& text, const std::string& source);

double Seconds(const Score& score);

// A format 1 standard MIDI file: a conductor track, then one track a score track.
std::vector<uint8_t> MidiFile(const Score& score);

}  // namespace bd::sound
