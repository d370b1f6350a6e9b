// A session of the plot library without a console: every settings routine
// has taken its default, nothing is asked, no pause is made, the driver's
// settings file is neither read nor written, what the library would print
// is kept aside, and its warnings and errors are collected as typed messages.
// The session owns the device the library draws on: its own PostScript
// device writing a plot file, or a device it is given (e.g. the cairo device
// of a figure), with no plot file at all.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "postscript/document.hpp"
#include "render/device.hpp"
#include "report/report.hpp"

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
  // Opens the session on `device` with no plot file: page 1 begins in
  // `orientation` and the plot settings are prepared as at an opening. The
  // device must outlive the session's drawing (until close or destruction).
  void open_on(render::Device& device, render::Orientation orientation);
  // Ends the drawing: writes the trailer and closes the plot file, or ends
  // the device's page. False when a write failed.
  bool close();

  // The warnings and errors the library reported so far, in order (a frame
  // left open by a stop included).
  std::vector<report::Message> reports() const;
  // One line per warning or error, e.g.
  // "warning in psmoveto: x in meters = ...; ==> reset to xmax = ...".
  std::vector<std::string> messages() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace polarsketch::stereonet
