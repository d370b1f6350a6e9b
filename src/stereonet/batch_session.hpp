// A session of the plot library without a console: every settings routine
// has taken its default, nothing is asked, no pause is made, the driver's
// settings file is neither read nor written, and what the library would
// print is kept aside; its warning and error frames come back as one line each.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "postscript/document.hpp"

namespace polarsketch::stereonet {

class BatchSession {
 public:
  // Resets every record of the plot library to its program-start state and
  // runs the start-up settings silently (projection, frame, colour table,
  // axis symbols, great-circle points); the run information names the
  // program, version and date given.
  BatchSession(std::string_view progname, std::string_view version, std::string_view date);
  // Completes a plot file still open and gives the console back.
  ~BatchSession();
  BatchSession(const BatchSession&) = delete;
  BatchSession& operator=(const BatchSession&) = delete;

  // Opens the plot file `path` with the driver settings given and prepares
  // the plot settings as the interactive program does at opening; `title`
  // is the name the document gives itself. False when it cannot be opened.
  bool open(const std::string& path, const std::string& title,
            const postscript::DriverSettings& driver);
  // Writes the trailer and closes the plot file. False when a write failed.
  bool close();

  // One line per warning or error frame the library printed so far, e.g.
  // "warning in spron: x in meters = ...; ==> reset to xmax = ...".
  std::vector<std::string> messages() const;

 private:
  struct Streams;
  std::unique_ptr<Streams> streams_;
};

// One line per warning or error frame found in a console text.
std::vector<std::string> frame_messages(const std::string& console_text);

}  // namespace polarsketch::stereonet
