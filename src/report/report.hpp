// Typed messages of the library: a note, a warning or an error, the routine
// it came from and its text lines, whose numbers keep their values until a
// reporter renders them. The interactive program's console renders each as
// its frame; a batch session collects them. This room is below every other,
// so any routine can report without knowing who listens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace polarsketch::report {

enum class Level { note, warning, error };

// What the console asks after an error's lines: nothing (the frame closes),
// or whether to resume (a recoverable error; no closing rule follows).
enum class Escalation { none, resume_advised };

// A number in a fixed-width field, formatted by the reporter: an integer in
// `width` columns, a real in `width` columns with `decimals` digits in fixed
// or general notation.
struct Number {
  enum class Form { integer, fixed, general };
  Form form = Form::integer;
  std::int64_t integer = 0;
  float real = 0.0f;
  int width = 0;
  int decimals = 0;
  friend bool operator==(const Number&, const Number&) = default;
};

// One part of a line: text, or a number when `is_number`.
struct Part {
  bool is_number = false;
  std::string text;
  Number number;
  friend bool operator==(const Part&, const Part&) = default;
};

// A text line built from parts, e.g. Line().text("x = ").fixed(x, 8, 4).
class Line {
 public:
  Line() = default;
  Line(std::string_view text) { this->text(text); }  // NOLINT: a plain text line
  Line& text(std::string_view t);
  Line& integer(std::int64_t v, int width);
  Line& fixed(float v, int width, int decimals);
  Line& general(float v, int width, int decimals);
  const std::vector<Part>& parts() const { return parts_; }
  friend bool operator==(const Line&, const Line&) = default;

 private:
  std::vector<Part> parts_;
};

struct Message {
  Level level = Level::warning;
  std::string where;  // the routine's name, without padding
  std::vector<Line> lines;
  Escalation escalation = Escalation::none;
  friend bool operator==(const Message&, const Message&) = default;
};

// An empty warning or error from the routine `where` (trailing blanks of a
// fixed-width name dropped), its lines to be added.
Message warning(std::string_view where);
Message error(std::string_view where);

// Where messages go.
class Reporter {
 public:
  virtual ~Reporter() = default;
  virtual void report(const Message& message) = 0;
};

// Sends a message to the installed reporter, or, with none installed, to the
// fallback (the console's frames, set up by the console itself).
void report(const Message& message);

// Installs `r` (nullptr: back to the fallback) and returns the one before.
Reporter* install(Reporter* r);
// The installed reporter; nullptr when messages go to the fallback.
Reporter* installed();
// The reporter used while none is installed.
void set_fallback(Reporter* r);

// Keeps every message it receives.
class Collector final : public Reporter {
 public:
  void report(const Message& message) override { messages_.push_back(message); }
  const std::vector<Message>& messages() const { return messages_; }

 private:
  std::vector<Message> messages_;
};

// Installs a reporter for the life of the object, then puts back the one before.
class Installed {
 public:
  explicit Installed(Reporter& r) : before_(install(&r)) {}
  ~Installed() { install(before_); }
  Installed(const Installed&) = delete;
  Installed& operator=(const Installed&) = delete;

 private:
  Reporter* before_;
};

}  // namespace polarsketch::report
