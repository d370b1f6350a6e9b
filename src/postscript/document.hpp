// The PostScript driver at document level: its state record, the settings
// file, the prolog of each dialect, page breaks, the trailer, and the two
// state operations every writer shares (stroking a path, writing a colour).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "console/fixed_text.hpp"
#include "console/indexed.hpp"

namespace polarsketch::postscript {

// Driver state: plot file unit, dialect, page, open path, font and text height.
struct Psparams {
  std::int32_t lun = 50;                  // plot (and settings) file unit
  std::int32_t ipsfont = 1;               // font number 1..16
  std::int32_t ips = 2;                   // dialect 1..3
  std::int32_t npage = 0;                 // current page, from 1
  bool lopenpath = false;                 // a path is open in the file
  float pstxtheight = 0.0f;               // text height, device units
  Indexed<FixedText<22>, 1, 16> fonts{};  // font names as the dialect writes them
  FixedText<3> sys{"P  "};                // orientation: "P  ", "LUS", "LA4"
};

inline Psparams psparams;

void reset_psparams();
// Program-start state of the whole driver: record reset, nothing open.
void reset_postscript();

// The settings file and its built-in defaults.
inline constexpr const char* kSettingsFile = "quill7_ini.txt";

struct DriverSettings {
  bool ovly = false;         // overlay
  std::int32_t ncopies = 1;  // copies
  FixedText<3> sys{"P  "};   // orientation code
  std::int32_t ips = 2;      // dialect
};

// Reads the first line of the settings file by its columns. A line shorter
// than the 14 columns is read as if padded with blanks: a missing number
// reads as 0 and a missing orientation as blanks. Returns false (and leaves
// `s` at the defaults) when the file is missing or empty, or a field cannot
// be read: an overlay flag that is not T or F (a blank one included) or a
// number with other characters than a sign and digits. A file that is not a
// regular file (a FIFO, a device) is not read, with a warning.
bool read_settings_file(DriverSettings& s);
// Reads the settings from the first line of the settings file as above;
// false (and `s` at the defaults) when a field cannot be read.
bool parse_settings_line(std::string line, DriverSettings& s);
// The settings line, e.g. "  F   1 P    2".
std::string settings_line(const DriverSettings& s);
// Writes the settings line and a blank line to a new file that replaces the
// settings file whole. Returns false on failure.
bool write_settings_file(const DriverSettings& s);

// Opens the plot file `pfile` after the settings dialog and writes the prolog.
void intplinit(std::string& pfile, std::int32_t intera);
template <std::size_t N>
void intplinit(FixedText<N>& pfile, std::int32_t intera) {
  std::string name = pfile.str();
  intplinit(name, intera);
  pfile = name;
}

// Opens the plot file `path` with the given settings, without the settings
// file, its dialog or the file-name dialog, and writes the prolog (`title`
// is the name the document gives itself). Returns false when the file
// cannot be opened or the dialect is not 1..3.
bool open_document(const std::string& path, const std::string& title, const DriverSettings& s);
// Writes the trailer and closes the plot file without a question. Returns
// false when a write failed. Does nothing when no file is open.
bool close_document();

// Ends the page and starts the next.
void intnewpage();
// Asks for a return, then writes the trailer and closes the file.
void intplend();
// Writes the trailer of the dialect and closes the plot file; a failed write
// has been reported in an error frame by the writer, and the session goes on.
void psend();
// For an orderly stop: writes the trailer and closes an open plot file without
// any question or pause. Returns false when the file could not be written
// (the error frame has then been printed). Does nothing when no file is open.
bool finish_on_stop();

// Strokes the open path, if any.
void psstrokepath();
// Writes a colour line when needed: 1 line, 2 fill, 3 text colour, 0 repeat
// the current colour, -1 reset to colour slot 1.
void psrgbcolor(std::int32_t itypea);

}  // namespace polarsketch::postscript
