// The written forms of one angle in a measurement file: decimal numbers,
// quadrant bearings (N30E) and dips or plunges with quadrant letters (45NW).
// Each reader returns the value in degrees or the reason it was rejected.
#pragma once

#include <optional>
#include <string_view>

namespace polarsketch::data::notation {

struct Reading {
  double value = 0;             // degrees
  bool has_letters = false;     // a dip or plunge followed by quadrant letters
  double toward = 0;            // azimuth the letters name (N 0, NE 45, ... NW 315)
  const char* error = nullptr;  // why the text was rejected; null when accepted
  bool ok() const { return error == nullptr; }
};

// A strike, dip direction or trend: a number (taken modulo 360) or a
// quadrant bearing (N30E, S45W, N, E, N90W); the value is in [0, 360).
Reading read_azimuth(std::string_view text);
// A dip in [0, 90], optionally followed by quadrant letters (45NW).
Reading read_dip(std::string_view text);
// A plunge in [-90, 90], optionally followed by quadrant letters when not negative.
Reading read_plunge(std::string_view text);
// A rake in [-180, 180].
Reading read_rake(std::string_view text);
// A pitch in [0, 90] followed by the quadrant letters of the strike end it is
// measured from (35SW, 74E); the letters are required.
Reading read_pitch(std::string_view text);

// The sense of a slip as a field notebook writes it.
enum class Sense { none, unknown, normal, reverse, dextral, sinistral };

struct SenseReading {
  Sense sense = Sense::none;    // none: the field is empty
  const char* error = nullptr;  // why the text was rejected; null when accepted
  bool ok() const { return error == nullptr; }
};

// N, R or I, D, S, U (any case) or the words normal, reverse, inverse,
// thrust, dextral, sinistral, right-lateral, left-lateral, unknown. Numbers
// are refused: programs disagree on the meaning of their signs.
SenseReading read_sense(std::string_view text);

// True when the text reads as some value (a number, a bearing, a number with
// letters): a line of such fields is data, not a header.
bool looks_like_value(std::string_view text);

// Of the two ends of the horizontal line of azimuth `azimuth`, the one within
// 90 degrees of `toward`, in [0, 360); none when both are at right angles to it.
std::optional<double> end_toward(double azimuth, double toward);

// The angle between two azimuths, in [0, 180].
double azimuth_difference(double a, double b);

}  // namespace polarsketch::data::notation
