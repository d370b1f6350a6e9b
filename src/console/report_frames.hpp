// The console's side of typed messages: a message rendered as its frame (a
// note under a menu header, a warning or an error frame), a message as one
// line of text, and the frames printed by the frame routines themselves
// turned into typed messages while another reporter listens.
#pragma once

#include <string>

#include "report/report.hpp"

namespace polarsketch::console {

// A line with its numbers in their fixed-width fields.
std::string line_text(const report::Line& line);

// "warning in NAME: first line; second line" (lines without their
// surrounding blanks; empty lines left out). A note reads "note in NAME: ...".
std::string one_line(const report::Message& message);

// Renders messages as console frames: a note is the routine's menu header
// and its lines; a warning or error is its frame, closed by its tail (or,
// for an error whose resumption is advised, by the question to resume).
class FrameReporter final : public report::Reporter {
 public:
  void report(const report::Message& message) override;
};

// The frame reporter every run starts with as the fallback.
FrameReporter& frame_reporter();

// Frames printed with the frame routines (warninghead ... warningtail00)
// while a reporter is installed become typed messages as well: the head
// gives the level and the routine, each console line written before the tail
// a text line, and the tail sends the message. The frame open now, if any
// (a run stopped inside a frame leaves one open).
const report::Message* open_frame();
// Forgets the frame open now, if any, without sending it.
void discard_open_frame();

}  // namespace polarsketch::console
