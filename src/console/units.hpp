// The unit table: console and files addressed by unit numbers (5 in, 6 out,
// 20 colour-table file, 50 settings/plot file), and the one line reader.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace polarsketch::console {

inline constexpr int kUnitIn = 5;
inline constexpr int kUnitOut = 6;
inline constexpr int kUnitColorFile = 20;
inline constexpr int kUnitPlotFile = 50;

// The line printed when console input ends; the run then stops with status 2.
inline constexpr std::string_view kEndOfInputLine = "===> END OF INPUT: STOPPING EXECUTION";
// The line printed when the run is interrupted; it then stops with status 3.
inline constexpr std::string_view kInterruptedLine = "===> INTERRUPTED: STOPPING EXECUTION";

// Makes an interrupt (SIGINT, SIGTERM, SIGHUP) end the run in order: the
// next console read stops the run, so an open plot file is completed first.
// A second interrupt ends the program at once.
void install_interrupt_handlers();
// A console that goes away (SIGPIPE) or a file-size limit (SIGXFSZ) must not
// kill the program halfway through a plot file: both signals are ignored, so
// the write fails instead and is reported.
void ignore_write_signals();
// True once an interrupt has arrived.
bool interrupted();

// Binds a unit to a caller-owned stream (tests bind string streams).
void bind_input(int unit, std::istream& in);
void bind_output(int unit, std::ostream& out);
// Binds units 5 and 6 to the given streams.
void bind_console(std::istream& in, std::ostream& out);
// Closes every file unit and binds 5 and 6 to standard input and output.
void reset_units();

// The output stream of a unit; an unbound unit writes nowhere.
std::ostream& output(int unit);
// Writes one line: one leading blank, the text, a line end.
void put_line(int unit, std::string_view text);
// Lets `observer` see every line put_line writes from now on (nullptr: none).
using LineObserver = void (*)(int unit, std::string_view text);
void observe_lines(LineObserver observer);
// Writes one line exactly as given (the caller supplies any leading blank).
void put_raw_line(int unit, std::string_view text);
// Flushes every bound output (done before every console read).
void flush_outputs();

enum class OnEnd {
  stop,    // console: print the end-of-input line and stop the run (status 2)
  report,  // return false and let the caller decide
};

// The longest line kept by the line reader; the rest of a longer line is
// read and dropped up to its end.
inline constexpr std::size_t kMaxLineLength = std::size_t{64} * 1024;

// The one line reader. Reads a line (without its line end and without a
// trailing carriage return), at most kMaxLineLength characters of it. Console
// outputs are flushed first. At end of input a console unit stops the run
// (OnEnd::stop); a file unit always returns false.
bool read_line(int unit, std::string& line, OnEnd on_end = OnEnd::stop);

enum class FileStatus {
  old_file,          // must exist; opened for reading
  old_regular_file,  // must exist and be a regular file; opened for reading
                     // without waiting for a writer (a FIFO or device is
                     // refused with a reason, a directory without one)
  new_file,          // must not exist; created for writing
  unknown,           // created or truncated for writing
};

// Why an open failed; empty when the reason is the common one (the file is
// missing, or cannot be created or opened).
struct OpenFailure {
  std::string reason;
};

// Opens a named file on a unit (closing what was there). Returns false on
// failure, with the reason in `failure` when one is given. A file opened for
// writing is locked (an exclusive advisory lock) before it is truncated, so
// a file another process is writing is a failed open, never a mixed file.
bool open_file(int unit, const std::string& path, FileStatus status,
               OpenFailure* failure = nullptr);
// Closes a file unit. Returns false if a write to it failed.
bool close_file(int unit);
bool is_file_open(int unit);
// True while every write to the unit has succeeded.
bool unit_good(int unit);

}  // namespace polarsketch::console
