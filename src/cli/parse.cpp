// The arguments of the command line mapped to a request with CLI11.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>

#include "cli/output_file.hpp"
#include "cli/request.hpp"
#include "cli/usage_checks.hpp"
#include "cli/usage_errors.hpp"
#include "console/identity.hpp"
#include "data/measurements.hpp"
#include "files/atomic_file.hpp"
#include "math/decimal.hpp"

namespace polarsketch::cli {

namespace {

constexpr std::string_view kUsage =
    R"(polarsketch: stereonets from measurement files, or an interactive session.

Usage:
  polarsketch                          the interactive program (numbered menus)
  polarsketch -h | --help              this text
  polarsketch --version                the program's version
@ALSO@the interactive program; each plot file it
                                       closes is also written as @SIBLING_NAMES@
                                       (@SIBLING_FILES@)
                                       cropped to the net and its labels; with
                                       --page the whole page
  polarsketch plot [OPTIONS] FILE...   draw the data sets of the files on one stereonet
  polarsketch stats [OPTIONS] FILE...  what each file holds and its statistics
  polarsketch rose [OPTIONS] FILE... -o FILE
                                       a rose diagram of strikes, dip directions
                                       or trends of all files together
  polarsketch kinematics [OPTIONS] FILE...
                                       slope kinematics: planes and pairs that
                                       can slide or topple out of a slope face
  polarsketch rotate [OPTIONS] FILE... the data rotated, written as a measurement file
  polarsketch sets --k N [OPTIONS] FILE...
                                       the data split into N sets (axial k-means),
                                       written with a column set
  polarsketch faults [OPTIONS] FILE... each fault's slip, P, T, B and misfit, and
                                       the stress tensor inverted from them
  polarsketch plot --help              the options of a form (also for stats, rose,
                                       kinematics, rotate, sets, faults)

FILE is a measurement file (planes, lines or slips; a header names the
columns); "-" reads standard input.

Options of plot, stats, rose, kinematics and faults (rose has no --by):
  --columns LIST      column names of files without a header, e.g. dipdir,dip
  --skip-bad          skip bad lines (and say how many) instead of stopping
  --where EXPR        keep the rows meeting EXPR (repeatable: all must hold):
                      COL=V, COL!=V (text, any case), COL<N, COL<=N, COL>N,
                      COL>=N (numbers); dipdir, dip, trend, plunge and rake
                      name the orientation; how many rows each file kept is
                      said on standard error
  --by COLUMN         a data set per value of COLUMN in each file, in order of
                      first appearance; an empty value is the set (none)

Options of plot:
  -o, --output FILE   the plot file (default: the first FILE with .ps;
                      stdin.ps when it is "-"); its extension chooses the
@FORMATS@  --page              .eps, .pdf, .svg, .png: the whole page, not the
                      drawing cropped to its ink plus 2 mm
  --dpi N             .png: pixels per inch (default 150)
  --dialect 1|2|3     PostScript dialect (default 2)
  --landscape letter|a4
                      landscape page (default: portrait)
  --projection equal-area|equal-angle
                      (default equal-area); North at the top, East right
  --net STEP          a standard net under the data, every STEP degrees
  --polar-net STEP    a polar net under the data, every STEP degrees
  --planes great-circles|poles|both
                      how planes are drawn (default great-circles); over
                      10,000 great circles a note says that poles or the
                      density alone (--contour --hide-data) read better
  --hemisphere lower|upper
                      (default lower)
  --view TREND/PLUNGE the net centred on this direction (trend 0 to 360,
                      plunge 0 to 90; default 000/90): all data turned
                      about the horizontal line at right angles to TREND by
                      90 - PLUNGE; N marks north (S when north is on the
                      far side); not with --slope
  --run-info          write the program and run information on the page
  --stats [LIST]      draw statistics marks of each data set and print the
                      statistics on standard error; LIST of mean, cone,
                      eigen, girdle, bingham (95 % ellipse about v1), all
                      (default: mean and cone for a cluster, girdle and beta
                      axis for a girdle, by Woodcock's K)
  --symbol-size MM    data symbols' size (default: 12 mm n^-0.4 for n
                      symbols, from 2.5 down to 0.2 mm)
  --name NAME         the legend's name of a file, once per file in order
  --title TEXT        a line of text above the net
  --contour [METHOD]  density contours of all data sets together under the
@METHODS@  --sigma S           counting area of the Kamb methods, 0.001 to 1000
                      (default 3)
  --units mud|sigma   multiples of a uniform distribution (default) or
                      standard deviations (Kamb methods)
  --levels LIST       contour levels, e.g. 2,4,8 (default: automatic; at
                      most 1000 levels)
  --density-out FILE  write the density grid as CSV: trend,plunge,density
  --hide-data         draw no symbol or great circle per measurement
  --label COLUMN      write each measurement's text of COLUMN beside it
  --slope DD/DIP      slope kinematics over the data (with --friction,
                      --lateral, --limits as kinematics has them)
  --kinematic planar|wedge|flexural|direct
                      the failure mode drawn (default planar): the face,
                      friction cone or plane, daylight envelope, lateral
                      limits, the critical zone shaded, the critical poles
                      or intersections in red, a legend line
  --cone-fit          draw each data set's fitted cone (the small circle of
                      stats --cone) and its axis as an open circle
  --fault-plot angelier|hoeppener|tangent-lineation
                      slips of known sense: an arrow of the hanging wall's
                      slip at the slip point (default), or at the pole
  --pt [b]            each fault's P and T axes (and B)
  --pt-angle THETA    angle between P and the plane (default 45)
  --stress [angelier|michael]
                      the principal stress axes 1, 2, 3 with Phi and R
  --dihedra           the right-dihedra field, % of faults compressional
  --contour-of p|t|data
                      what --contour contours (default: the data)

Options of stats:
  --csv               one CSV line per data set (with a header line)
  --cone              fit a small circle (cone) and the best great circle to
                      each set, with the F test of the small circle at 95 %

Options of rose (besides -o, --page, --dpi, --dialect and --landscape as
for plot; -o may be left out with --csv):
  --of strike|dipdir|trend
                      what is counted (default: strike for planes and slips,
                      trend for lines)
  --axial             count an azimuth and its opposite once, both petals
                      drawn (default for strikes)
  --directional       the full circle (default for dip directions, trends)
  --bin W             bin width in degrees (default 10); it must divide 180
                      (axial) or 360 (directional)
  --start S           bins are [S + kW, S + (k+1)W) (default 0)
  --scale area|linear petal radius by the square root of the share (equal
                      area, default) or by the share
  --weight terzaghi:TREND/PLUNGE
                      Terzaghi weights for a scanline or borehole
  --min-bias DEG      planes closer to the scanline weigh as at DEG (default 15)
  --dips MIN-MAX      keep planes dipping MIN to MAX degrees
  --csv               the bins and statistics as CSV on standard output

Options of kinematics:
  --slope DD/DIP      the slope face's dip direction and dip (required)
  --friction PHI      friction angle, degrees (default 30)
  --lateral LAMBDA    lateral limit, degrees (default 20)
  --limits straight|curved
                      lateral limits on the dip direction (default) or on
                      the angle to the vertical plane through the slope's
                      dip direction
  --csv FILE          write every critical plane and pair as CSV:
                      mode,zone,label_a,label_b,trend,plunge
Options of faults (one inversion per data set; compression positive, sigma1
the most compressive; slips of unknown sense are skipped and counted):
  --method angelier|michael
                      Angelier (1990) direct inversion (default) or Michael
                      (1984) linear inversion
  --iterate           re-weight each fault by its resolved shear until the
                      weights settle (Mostafa 2005)
  --pt-angle THETA    angle between P and the plane (default 45)
  --csv               the faults as CSV on standard output, the result on
                      standard error
  --result-csv FILE   the result as CSV into FILE

Options of rotate and sets (besides --columns, --skip-bad and --where; the
files must hold one kind, written to one file):
  -o, --output FILE   the measurement file written (default: standard output)
  --axis TREND/PLUNGE --angle A
                      rotate: by A degrees about the axis, clockwise looking
                      along it (right-hand rule, north-east-down)
  --unfold DD/DIP     rotate: about the strike line of the plane DD/DIP until
                      it is horizontal; steps apply in the order given
  --k N               sets: the number of sets
  --seed TREND/PLUNGE sets: a starting centre, given N times (default: the
                      principal axis, then the datum farthest from the seeds)

Exit statuses: 0 done, 64 wrong usage, 65 bad data, 66 an input file
cannot be opened, 70 a fault of the program, 73 the output file cannot be
written.

Examples:
  polarsketch plot examples/fold_bedding.csv --net 10 --planes both
  polarsketch plot -o faults.ps --projection equal-angle examples/faults.csv
  polarsketch plot --contour --stats --planes poles examples/fold_bedding.csv
  polarsketch plot --by set --where 'dip>=30' --label station \
      examples/field_app_mixed.txt
  polarsketch stats examples/*.csv
  polarsketch rose -o strikes.pdf examples/fold_bedding.csv
  polarsketch kinematics --slope 120/65 examples/slope_joints.csv
  polarsketch rotate --unfold 120/35 -o restored.csv examples/fold_bedding.csv
  polarsketch sets --k 3 -o sets.csv examples/fold_bedding.csv
  polarsketch faults --iterate examples/quarry_faults.csv
)";

// The words one after another, `separator` between them.
std::string joined(const std::vector<std::string>& words, const std::string& separator) {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : separator) + w;
  return text;
}

// Words filled into lines of the usage text's option column.
std::string option_column(const std::string& words) {
  constexpr std::size_t kColumn = 22, kWidth = 79;
  std::string text, line;
  std::size_t start = 0;
  while (start < words.size()) {
    std::size_t end = words.find(' ', start);
    if (end == std::string::npos) end = words.size();
    const std::string word = words.substr(start, end - start);
    if (!line.empty() && kColumn + line.size() + 1 + word.size() > kWidth) {
      text += std::string(kColumn, ' ') + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  return text + std::string(kColumn, ' ') + line + "\n";
}

// The density methods of --contour, as the options and messages name them.
std::vector<std::string> method_names() {
  std::vector<std::string> names;
  for (const analysis::DensityMethodEntry& m : analysis::density_methods())
    names.emplace_back(m.name);
  return names;
}

// The names of the interactive program's sibling formats.
std::vector<std::string> sibling_names() {
  std::vector<std::string> names;
  for (const figure::FigureFormat* f : figure::sibling_formats()) names.emplace_back(f->extension);
  return names;
}

// The usage text with the lists of the formats' and methods' tables.
std::string usage_text() {
  std::vector<std::string> upper, files, formats, methods;
  for (const figure::FigureFormat* f : figure::sibling_formats()) {
    std::string u(f->extension), e(f->extension);
    for (char& c : u) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    upper.push_back(u);
    switch (f->siblings) {
      case figure::SiblingNames::one_file:
        files.push_back("NAME." + e);
        break;
      case figure::SiblingNames::numbered_after_first:
        files.push_back("NAME." + e + ", NAME-2." + e + "...");
        break;
      default:
        files.push_back("NAME-1." + e + "...");
    }
  }
  const std::string last = upper.empty() ? "" : upper.back();
  if (!upper.empty()) upper.pop_back();
  const std::string sibling_names_text =
      upper.empty() ? last : joined(upper, ", ") + " and/or " + last;
  for (const figure::FigureFormat& f : figure::figure_formats())
    formats.push_back("." + std::string(f.extension) +
                      (f.help_note.empty() ? "" : " " + std::string(f.help_note)));
  const analysis::DensityMethod default_method = analysis::DensityOptions{}.method;
  for (const analysis::DensityMethodEntry& m : analysis::density_methods())
    methods.push_back(std::string(m.name) + (m.method == default_method ? " (default)" : ""));
  std::string also = "  polarsketch --also " + joined(sibling_names(), ",");
  also += std::string(also.size() < 39 ? 39 - also.size() : 1, ' ');
  std::string text(kUsage);
  const std::pair<std::string, std::string> fills[] = {
      {"@ALSO@", also},
      {"@SIBLING_NAMES@", sibling_names_text},
      {"@SIBLING_FILES@", joined(files, "; ")},
      {"@FORMATS@", option_column("format: " + joined(formats, ", "))},
      {"@METHODS@", option_column("data: " + joined(methods, ", "))},
  };
  for (const auto& [mark, fill] : fills) text.replace(text.find(mark), mark.size(), fill);
  return text;
}

std::string see_help(const std::string& form) {
  return "see 'polarsketch " + (form.empty() ? std::string() : form + " ") + "--help'";
}

Answer usage_error(const std::string& form, const std::string& what) {
  const std::string who = form.empty() ? "polarsketch" : "polarsketch " + form;
  return Answer{kExitUsage, "", who + ": " + what + " (" + see_help(form) + ")\n"};
}

// Choosing measurements by their columns: --where (each condition parsed as
// it is read, a bad one wrong usage) and --by.
void add_selection_options(CLI::App& form, InputOptions& input) {
  const CLI::Validator condition(
      [&input](const std::string& text) {
        std::string error;
        const std::optional<data::Condition> c = data::parse_condition(text, error);
        if (c) input.where.push_back(*c);
        return error;
      },
      "");
  form.add_option_function<std::vector<std::string>>(
          "--where", [](const std::vector<std::string>&) {},
          "keep the rows meeting every condition: COL=V, COL!=V, COL<N, COL<=N, COL>N, COL>=N")
      ->check(condition)
      ->allow_extra_args(false)  // one condition each: the FILEs after it stay FILEs
      ->type_name("EXPR");
  form.add_option("--by", input.by, "a data set per value of COLUMN in each file")
      ->check(CLI::Validator(
          [](const std::string& text) {
            return text.empty() ? std::string("names no column") : std::string();
          },
          ""))
      ->type_name("COLUMN");
}

void add_input_options(CLI::App& form, InputOptions& input) {
  form.add_option("FILE", input.files, "measurement files (\"-\" for standard input)")
      ->required()
      ->type_name("");
  form.add_option("--columns", input.columns,
                  "column names of files without a header, e.g. dipdir,dip")
      ->delimiter(',')
      ->allow_extra_args(false)  // one list: the FILEs after it stay FILEs
      ->type_name("LIST");
  form.add_flag("--skip-bad", input.skip_bad, "skip bad lines instead of stopping");
  add_selection_options(form, input);
}

// An integer option within [low, high]. The value is passed on in plain
// decimals: CLI11 would read "010" as octal.
void add_integer(CLI::App& form, const std::string& name, int& value, int low, int high,
                 const std::string& type_name, const std::string& help) {
  // A value that is no whole number is named as such, not as out of range.
  const CLI::Validator whole_in_range(
      [low, high](std::string& text) {
        const std::size_t sign = text.starts_with('-') || text.starts_with('+') ? 1 : 0;
        const bool digits =
            text.size() > sign && std::all_of(text.begin() + sign, text.end(),
                                              [](char c) { return c >= '0' && c <= '9'; });
        if (!digits) return text + " is not a whole number";
        long long number = 0;
        const char* first = text.data() + (text.starts_with('+') ? 1 : 0);
        const auto [end, ec] = std::from_chars(first, text.data() + text.size(), number);
        if (ec != std::errc() || number < low || number > high)
          return text + " is not in the range " + std::to_string(low) + " to " +
                 std::to_string(high);
        text = std::to_string(number);
        return std::string();
      },
      "");
  form.add_option(name, value, help)->transform(whole_in_range)->type_name(type_name);
}

// A word out of a few: anything else is named with the words allowed.
CLI::Validator one_of(const std::vector<std::string>& words) {
  const std::string list = joined(words, ", ");
  return CLI::Validator(
      [words, list](const std::string& text) {
        return std::find(words.begin(), words.end(), text) != words.end()
                   ? std::string()
                   : "'" + text + "' is not one of " + list;
      },
      "");
}

// Steps run once parsing has succeeded.
using Finishers = std::vector<std::function<void()>>;

// An option whose value is one of a few words, mapped to an enumeration
// once parsing is done.
template <class E>
void add_choice(CLI::App& form, const std::string& name, E& value,
                const std::map<std::string, E>& choices, const std::string& help,
                Finishers& finish) {
  auto word = std::make_shared<std::string>();
  std::vector<std::string> words;
  for (const auto& [k, v] : choices) words.push_back(k);
  form.add_option(name, *word, help)->check(one_of(words))->type_name(joined(words, "|"));
  finish.push_back([word, &value, choices] {
    if (!word->empty()) value = choices.at(*word);
  });
}

CLI::App* add_plot_form(CLI::App& app, PlotRequest& plot, std::string& output, Finishers& finish) {
  CLI::App* form = app.add_subcommand("plot", "draw the data sets of the files on one stereonet");
  form->set_help_flag("-h,--help", "this text");
  add_input_options(*form, plot.input);
  form->add_option("-o,--output", output,
                   "the plot file (default: the first FILE with .ps); its extension chooses "
                   "the format: " +
                       extension_list(", "))
      ->type_name("FILE");
  add_integer(*form, "--dialect", plot.dialect, 1, 3, "1|2|3", "PostScript dialect (default 2)");
  form->add_flag("--page", plot.whole_page, "figures: the whole page, not the ink plus 2 mm");
  add_integer(*form, "--dpi", plot.dpi, 10, 2400, "N", ".png: pixels per inch (default 150)");
  add_choice(*form, "--landscape", plot.paper,
             {{"letter", Paper::landscape_letter}, {"a4", Paper::landscape_a4}},
             "landscape page (default: portrait)", finish);
  add_choice(*form, "--projection", plot.projection,
             {{"equal-area", Projection::equal_area}, {"equal-angle", Projection::equal_angle}},
             "default equal-area", finish);
  add_integer(*form, "--net", plot.net_step, 1, 90, "STEP",
              "a standard net under the data, every STEP degrees");
  add_integer(*form, "--polar-net", plot.polar_net_step, 1, 90, "STEP",
              "a polar net under the data, every STEP degrees");
  add_choice(*form, "--planes", plot.planes,
             {{"great-circles", PlaneStyle::great_circles},
              {"poles", PlaneStyle::poles},
              {"both", PlaneStyle::both}},
             "how planes are drawn (default great-circles; over 10,000 great circles a note "
             "says poles or --contour --hide-data read better)",
             finish);
  add_choice(*form, "--hemisphere", plot.hemisphere,
             {{"lower", Hemisphere::lower}, {"upper", Hemisphere::upper}}, "default lower", finish);
  form->add_flag("--run-info", plot.run_info, "write the run information on the page");
  form->add_option("--label", plot.label, "write each measurement's text of COLUMN beside it")
      ->type_name("COLUMN");
  form->footer(
      "\nExamples:\n"
      "  polarsketch plot examples/fold_bedding.csv --net 10 --planes both\n"
      "  polarsketch plot -o faults.ps --projection equal-angle examples/faults.csv\n"
      "  cat data.txt | polarsketch plot --columns dipdir,dip -o data.ps -\n"
      "  polarsketch plot --contour kamb --units sigma --stats examples/fold_bedding.csv\n"
      "  polarsketch plot --by set --where 'dip>=30' --label station \\\n"
      "      examples/field_app_mixed.txt\n");
  return form;
}

CLI::App* add_stats_form(CLI::App& app, StatsRequest& stats) {
  CLI::App* form = app.add_subcommand("stats", "what each file holds and its statistics");
  form->set_help_flag("-h,--help", "this text");
  add_input_options(*form, stats.input);
  form->add_flag("--csv", stats.csv, "one CSV line per data set, after a header line");
  form->add_flag("--cone", stats.cone,
                 "fit a small circle (cone) and a great circle to each set; F test at 95 %");
  form->footer(
      "\nExamples:\n  polarsketch stats examples/*.csv\n"
      "  polarsketch stats --csv examples/*.csv > statistics.csv\n"
      "  polarsketch stats --by set --where 'dip>=30' examples/field_app_mixed.txt\n");
  return form;
}

// The plot request completed: choices mapped, the plot file named and its
// format known.
Request finish_plot(PlotRequest& plot, const std::string& output, const Finishers& finish) {
  for (const auto& f : finish) f();
  plot.output = output.empty() ? default_output_name(plot.input.files) : output;
  const FormatChoice format = output_format(plot.output);
  if (!format) return usage_error("plot", "cannot write '" + plot.output + "': " + format.error);
  plot.format = *format;
  return plot;
}

// "--contour" takes its method only when the next argument names one, so
// that "--contour FILE" keeps FILE: both become "--contour=METHOD".
std::vector<std::string> with_contour_method(std::vector<std::string> args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    if (args[i] != "--contour") continue;
    if (i + 1 < args.size() && analysis::parse_method(args[i + 1])) {
      args[i] += "=" + args[i + 1];
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    } else {
      args[i] += "=" + std::string(analysis::method_name(analysis::DensityOptions{}.method));
    }
  }
  return args;
}

// A word after "--contour" that is neither a method nor an existing file is
// most likely a mistyped method: say both, instead of "cannot open" it.
std::string contour_word_error(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i + 1 < args.size() && args[i] != "--"; ++i) {
    const std::string& word = args[i + 1];
    if (args[i] != "--contour" || word == "-" || word.starts_with('-')) continue;
    std::error_code ignored;
    if (analysis::parse_method(word) || std::filesystem::exists(word, ignored)) continue;
    return "--contour: '" + word + "' is not a method (" + joined(method_names(), ", ") +
           ") nor a file";
  }
  return "";
}

// The contour levels of "--levels a,b,c": numbers above 0, in any order
// (they are sorted when drawn), or why the list is not one.
std::string parse_levels(const std::string& list, std::vector<double>& levels) {
  const std::string fault = "--levels '" + list + "': ";
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    // Blanks around an item are dropped: "2, 4, 8" as well as "2,4,8".
    std::string item = list.substr(start, comma - start);
    item.erase(0, item.find_first_not_of(' '));
    item.erase(item.find_last_not_of(' ') + 1);
    double level = 0;
    const auto [end, ec] = math::read_double(item.data(), item.data() + item.size(), level);
    if (item.empty() || ec != std::errc() || end != item.data() + item.size() ||
        !std::isfinite(level))
      return fault + "'" + item + "' is not a number (levels are numbers above 0, e.g. 2,4,8)";
    if (level <= 0) return fault + "'" + item + "' is not above 0 (a density is never below 0)";
    levels.push_back(level);
    if (levels.size() > kMaxLevels) {
      const auto items = std::count(list.begin(), list.end(), ',') + 1;
      return "--levels: " + std::to_string(items) + " levels; at most " +
             std::to_string(kMaxLevels) + " are drawn";
    }
    if (comma == list.size()) return "";
    start = comma + 1;
  }
}

// The contour request of the parsed options, or why they do not fit.
struct ContourOptions {
  std::string method;
  double sigma = 3;
  analysis::DensityUnits units = analysis::DensityUnits::mud;
  std::string levels;
  std::string density_out;
};

std::string contour_request(const CLI::App& form, const ContourOptions& o,
                            std::optional<ContourRequest>& request) {
  if (o.method.empty()) {
    for (const char* name : {"--sigma", "--units", "--levels", "--density-out"})
      if (form.count(name) > 0) return std::string(name) + " needs --contour";
    return "";
  }
  const auto method = analysis::parse_method(o.method);
  if (o.units == analysis::DensityUnits::sigma && !analysis::has_sigma_units(*method))
    return "the " + o.method + " method has no sigma units; use --units mud";
  std::vector<double> levels;
  if (form.count("--levels") > 0) {
    if (const std::string why = parse_levels(o.levels, levels); !why.empty()) return why;
  }
  request = ContourRequest{{*method, o.sigma, o.units}, levels, o.density_out};
  return "";
}

// ---- plot: presentation ----------------------------------------------------

std::optional<double> number_of(std::string_view text);  // below, with the rose form's

// The words of --stats, in the order of the help.
std::vector<std::string> stats_words() { return {"mean", "cone", "eigen", "girdle", "bingham", "all"}; }
// What a plain --stats becomes: the marks by each set's shape.
constexpr const char* kStatsByShape = "by-shape";

// The marks a comma-separated list of --stats words chooses; empty when a
// word is none of them (or the list is empty).
std::optional<figure::StatisticsMarks> stats_marks_of(std::string_view list) {
  figure::StatisticsMarks m;
  if (list.empty()) return std::nullopt;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view word = list.substr(0, comma);
    if (word == "mean") m.mean = true;
    else if (word == "cone") m.cone = true;
    else if (word == "eigen") m.eigen = true;
    else if (word == "girdle") m.girdle = true;
    else if (word == "bingham") m.bingham = true;
    else if (word == "all") m = {true, true, true, true, true};
    else return std::nullopt;
    if (comma == std::string_view::npos) return m;
    list.remove_prefix(comma + 1);
  }
}

// "--stats" takes its list only when the next argument is one, so that
// "--stats FILE" keeps FILE: both become "--stats=LIST". A next argument
// that looks like a list of words (it has a comma) but is no file and no
// list is named as a mistyped list rather than opened as a file.
std::vector<std::string> with_stats_list(std::vector<std::string> args, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    if (args[i] != "--stats") continue;
    const bool list = i + 1 < args.size() && stats_marks_of(args[i + 1]).has_value();
    if (!list && i + 1 < args.size() && args[i + 1].find(',') != std::string::npos &&
        !args[i + 1].starts_with('-')) {
      std::error_code ignored;
      if (!std::filesystem::exists(args[i + 1], ignored))
        error = "--stats: '" + args[i + 1] + "' is not a list of " +
                joined(stats_words(), ", ") + " nor a file";
    }
    args[i] += "=" + (list ? args[i + 1] : std::string(kStatsByShape));
    if (list) args.erase(args.begin() + static_cast<std::ptrdiff_t>(i) + 1);
  }
  return args;
}

// The presentation options of plot as parsed, before they complete the request.
struct PresentationOptions {
  std::string stats, symbol_size;
};

// The presentation options written into the request, or why they do not fit.
std::string presentation_request(const CLI::App& form, const PresentationOptions& o,
                                 PlotRequest& r) {
  r.stats = !o.stats.empty();
  if (r.stats && o.stats != kStatsByShape) r.stats_marks = stats_marks_of(o.stats);
  if (form.count("--symbol-size") > 0) {
    const auto v = number_of(o.symbol_size);
    if (!v || *v < 0.1 || *v > 20)
      return "--symbol-size '" + o.symbol_size + "' is not a size from 0.1 to 20 (mm)";
    r.symbol_size_mm = *v;
  }
  if (!r.names.empty() && r.names.size() != r.input.files.size())
    return "--name is given " + std::to_string(r.names.size()) + " time(s) for " +
           std::to_string(r.input.files.size()) +
           " file(s); give one --name per file, in the order of the files";
  return "";
}

// Whether two names are one file (the second may not exist yet).
bool same_file(const std::string& a, const std::string& b) { return files::same_file(a, b); }

// An output that would overwrite a measurement file or the other output:
// the data read would be lost, or one output replaced by the other.
std::string output_clash(const PlotRequest& plot) {
  const std::string density_out = plot.contour ? plot.contour->density_out : "";
  if (!density_out.empty() && same_file(density_out, plot.output))
    return "--density-out '" + density_out + "' is the plot file too";
  if (std::string why = overwrites_input(plot.output, "the plot file", plot.input.files);
      !why.empty())
    return why;
  return overwrites_input(density_out, "--density-out", plot.input.files);
}

// The options of the statistics and density layers of plot.
void add_analysis_options(CLI::App& form, PlotRequest& plot, ContourOptions& contour,
                          PresentationOptions& presentation, Finishers& finish) {
  form.add_option("--stats", presentation.stats,
                  "draw each set's statistics marks (default: by its shape, see the manual); "
                  "the statistics on standard error")
      ->check(CLI::Validator(
          [](const std::string& text) {
            return text == kStatsByShape || stats_marks_of(text)
                       ? std::string()
                       : "'" + text + "' is not a list of " + joined(stats_words(), ", ");
          },
          ""))
      ->type_name("[" + joined(stats_words(), ",") + "]");
  form.add_option("--symbol-size", presentation.symbol_size,
                  "data symbols' size in mm (default: by their count, 2.5 to 0.2)")
      ->type_name("MM");
  form.add_option("--title", plot.title, "a line of text above the net")->type_name("TEXT");
  form.add_option("--name", plot.names, "the legend's name of a file (once per file, in order)")
      ->allow_extra_args(false)  // one name each: the FILEs after it stay FILEs
      ->type_name("NAME");
  form.add_option("--contour", contour.method,
                  "density contours of all data sets under the data (default exp-kamb)")
      ->check(one_of(method_names()))
      ->type_name("[" + joined(method_names(), "|") + "]");
  form.add_option("--sigma", contour.sigma,
                  "counting area of the Kamb methods, 0.001 to 1000 (default 3)")
      ->check(CLI::Validator(
          [](std::string& v) {
            char* end = nullptr;
            const double sigma = std::strtod(v.c_str(), &end);
            const bool ok = end != v.c_str() && *end == '\0' && sigma >= analysis::kMinSigma &&
                            sigma <= analysis::kMaxSigma;
            return ok ? std::string() : "'" + v + "' is not a number from 0.001 to 1000";
          },
          "", ""))
      ->type_name("S");
  add_choice(form, "--units", contour.units,
             {{"mud", analysis::DensityUnits::mud}, {"sigma", analysis::DensityUnits::sigma}},
             "multiples of a uniform distribution (default) or standard deviations", finish);
  form.add_option("--levels", contour.levels,
                  "contour levels (default: automatic; at most 1000 levels)")
      ->type_name("LIST");
  form.add_option("--density-out", contour.density_out, "the density grid as CSV")
      ->type_name("FILE");
  form.add_flag("--hide-data", plot.hide_data, "no symbol or great circle per measurement");
  form.add_flag("--cone-fit", plot.cone_fit,
                "draw each set's fitted cone (small circle, as stats --cone) and its axis");
}

// ---- polarsketch rose ----------------------------------------------------

// The rose form's options as parsed, before they become a RoseRequest.
struct RoseForm {
  RoseRequest request;
  std::string of, scale, weight, dips, bin, start, min_bias;
  bool axial = false, directional = false;
  Finishers finish;
};

// A decimal number, whole text; nullopt when it is none.
std::optional<double> number_of(std::string_view text) {
  double value = 0;
  const char* first = text.data() + (text.starts_with('+') ? 1 : 0);
  const auto [end, ec] = math::read_double(first, text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    return std::nullopt;
  return value;
}

CLI::App* add_rose_form(CLI::App& app, RoseForm& f) {
  CLI::App* form =
      app.add_subcommand("rose", "a rose diagram of strikes, dip directions or trends");
  form->set_help_flag("-h,--help", "this text");
  RoseRequest& r = f.request;
  add_input_options(*form, r.input);
  // One rose counts every row kept: a set per value would not be drawn apart.
  form->remove_option(form->get_option("--by"));
  form->add_option("-o,--output", r.output,
                   "the plot file; its extension chooses the format: " + extension_list(", "))
      ->type_name("FILE");
  form->add_option("--of", f.of, "what is counted (default: strike for planes, trend for lines)")
      ->check(one_of({"strike", "dipdir", "trend"}))
      ->type_name("strike|dipdir|trend");
  form->add_flag("--axial", f.axial,
                 "count an azimuth and its opposite once (default for strikes)");
  form->add_flag("--directional", f.directional,
                 "the full circle (default for dip directions and trends)");
  form->add_option("--bin", f.bin, "bin width in degrees, dividing 180 (axial) or 360 (default 10)")
      ->type_name("W");
  form->add_option("--start", f.start, "the first bin's start, degrees (default 0)")
      ->type_name("S");
  form->add_option("--scale", f.scale,
                   "petal radius by the square root of the share (default) or the share")
      ->check(one_of({"area", "linear"}))
      ->type_name("area|linear");
  form->add_option("--weight", f.weight, "Terzaghi weights for a scanline or borehole")
      ->type_name("terzaghi:TREND/PLUNGE");
  form->add_option("--min-bias", f.min_bias,
                   "smallest angle between plane and scanline in the weights (default 15)")
      ->type_name("DEG");
  form->add_option("--dips", f.dips, "keep planes dipping MIN to MAX degrees")
      ->type_name("MIN-MAX");
  form->add_flag("--csv", r.csv, "the bins and statistics as CSV on standard output");
  add_integer(*form, "--dialect", r.dialect, 1, 3, "1|2|3", "PostScript dialect (default 2)");
  form->add_flag("--page", r.whole_page, "figures: the whole page, not the ink plus 2 mm");
  add_integer(*form, "--dpi", r.dpi, 10, 2400, "N", ".png: pixels per inch (default 150)");
  add_choice(*form, "--landscape", r.paper,
             {{"letter", Paper::landscape_letter}, {"a4", Paper::landscape_a4}},
             "landscape page (default: portrait)", f.finish);
  form->footer(
      "\nExamples:\n"
      "  polarsketch rose -o strikes.pdf examples/fold_bedding.csv\n"
      "  polarsketch rose --of dipdir --bin 15 --scale linear -o dipdirs.svg "
      "examples/fold_bedding.csv\n"
      "  polarsketch rose --csv --weight terzaghi:000/90 examples/fold_bedding.csv\n");
  return form;
}

// "terzaghi:TREND/PLUNGE" as the scanline, or why it is not one.
std::string parse_scanline(const std::string& text, std::optional<data::Line>& scanline) {
  const std::string fault = "--weight '" + text + "': ";
  constexpr std::string_view kMethod = "terzaghi:";
  if (!text.starts_with(kMethod))
    return fault + "the weighting is terzaghi:TREND/PLUNGE, e.g. terzaghi:000/90";
  const std::string_view rest = std::string_view(text).substr(kMethod.size());
  const std::size_t slash = rest.find('/');
  const auto trend = number_of(rest.substr(0, slash));
  const auto plunge =
      slash == std::string_view::npos ? std::nullopt : number_of(rest.substr(slash + 1));
  if (!trend || !plunge || *trend < 0 || *trend > 360 || *plunge < 0 || *plunge > 90)
    return fault + "the scanline is TREND/PLUNGE, trend 0 to 360 and plunge 0 to 90";
  scanline = data::Line{*trend == 360 ? 0 : *trend, *plunge};
  return "";
}

// "MIN-MAX" as a range of dips, or why it is not one.
std::string parse_dips(const std::string& text, std::optional<std::pair<double, double>>& dips) {
  const std::size_t dash = text.find('-', 1);
  const auto low = number_of(std::string_view(text).substr(0, dash));
  const auto high =
      dash == std::string::npos ? std::nullopt : number_of(std::string_view(text).substr(dash + 1));
  if (!low || !high || *low < 0 || *high > 90 || *low > *high)
    return "--dips '" + text + "': the range is MIN-MAX with 0 <= MIN <= MAX <= 90, e.g. 30-60";
  dips = std::pair{*low, *high};
  return "";
}

// The rose request completed, or the usage error its options make.
Request finish_rose(RoseForm& f, const CLI::App& form) {
  for (const auto& step : f.finish) step();
  RoseRequest& r = f.request;
  const auto fail = [](const std::string& why) { return usage_error("rose", why); };
  if (!f.of.empty())
    r.count = f.of == "strike"   ? analysis::RoseCount::strike
              : f.of == "dipdir" ? analysis::RoseCount::dip_direction
                                 : analysis::RoseCount::trend;
  if (f.axial && f.directional) return fail("--axial and --directional exclude each other");
  if (f.axial) r.symmetry = analysis::RoseSymmetry::axial;
  if (f.directional) r.symmetry = analysis::RoseSymmetry::directional;
  if (f.scale == "linear") r.scale = figure::RoseScale::linear;
  const struct {
    const char* name;
    const std::string& text;
    double& value;
    double low, high;
  } numbers[] = {{"--bin", f.bin, r.bin, 0, 360},
                 {"--start", f.start, r.start, -360, 360},
                 {"--min-bias", f.min_bias, r.min_bias, 1, 90}};
  for (const auto& n : numbers) {
    if (form.count(n.name) == 0) continue;
    const auto v = number_of(n.text);
    if (!v || *v < n.low || *v > n.high)
      return fail(std::string(n.name) + " '" + n.text + "' is not a number from " +
                  std::to_string(static_cast<int>(n.low)) + " to " +
                  std::to_string(static_cast<int>(n.high)));
    n.value = *v;
  }
  // The width is checked here when the symmetry is known, else once the data are read.
  if (const auto sym = r.symmetry ? r.symmetry
                       : r.count  ? std::optional(analysis::default_symmetry(*r.count))
                                  : std::nullopt) {
    if (const std::string why = analysis::bin_width_error(r.bin, *sym); !why.empty())
      return fail("--bin " + f.bin + ": " + why);
  }
  if (!f.weight.empty()) {
    if (const std::string why = parse_scanline(f.weight, r.scanline); !why.empty())
      return fail(why);
  } else if (form.count("--min-bias") > 0) {
    return fail("--min-bias needs --weight");
  }
  if (!f.dips.empty()) {
    if (const std::string why = parse_dips(f.dips, r.dips); !why.empty()) return fail(why);
  }
  if (r.output.empty() && !r.csv) return fail("say where the rose goes: -o FILE, or --csv");
  if (!r.output.empty()) {
    const FormatChoice format = output_format(r.output);
    if (!format) return fail("cannot write '" + r.output + "': " + format.error);
    r.format = *format;
    if (const std::string why = overwrites_input(r.output, "the plot file", r.input.files);
        !why.empty())
      return fail(why);
  }
  return r;
}

// ---- end of polarsketch rose ---------------------------------------------

// The slope of kinematics (and of plot's kinematic layer) as given.
struct SlopeOptions {
  std::string slope;  // "DD/DIP"
  analysis::Slope values;
};

void add_slope_options(CLI::App& form, SlopeOptions& o, Finishers& finish) {
  form.add_option("--slope", o.slope, "the slope face's dip direction and dip, e.g. 120/65")
      ->type_name("DD/DIP");
  form.add_option("--friction", o.values.friction, "friction angle, degrees (default 30)")
      ->type_name("PHI");
  form.add_option("--lateral", o.values.lateral, "lateral limit, degrees (default 20)")
      ->type_name("LAMBDA");
  add_choice(form, "--limits", o.values.limits,
             {{"straight", analysis::LateralLimits::straight},
              {"curved", analysis::LateralLimits::curved}},
             "lateral limits on the dip direction (default) or the angle to the slope's "
             "dip plane",
             finish);
}

// The slope of the options, or why it is none: "DD/DIP" two numbers, the dip
// direction from 0 to 360, the values in their ranges.
std::string slope_of(SlopeOptions& o) {
  const std::string& t = o.slope;
  const std::size_t slash = t.find('/');
  double dd = 0, dip = 0;
  const char* end = t.data() + t.size();
  const auto first = math::read_double(t.data(), t.data() + std::min(slash, t.size()), dd);
  const bool read =
      slash != std::string::npos && first.ec == std::errc() && first.ptr == t.data() + slash &&
      math::read_double(t.data() + slash + 1, end, dip).ptr == end && slash + 1 < t.size();
  if (!read || !(dd >= 0 && dd <= 360))
    return "--slope '" + t + "' is not DD/DIP (a dip direction from 0 to 360, a dip), e.g. 120/65";
  o.values.dip_direction = dd == 360 ? 0 : dd;
  o.values.dip = dip;
  if (const std::string_view why = analysis::slope_error(o.values); !why.empty())
    return "--slope, --friction, --lateral: " + std::string(why);
  return "";
}

CLI::App* add_kinematics_form(CLI::App& app, KinematicsRequest& request, SlopeOptions& slope,
                              Finishers& finish) {
  std::vector<std::string> modes;
  for (const analysis::KinematicModeEntry& m : analysis::kinematic_modes())
    modes.push_back(std::string(m.name) + " (" + std::string(m.description) + ")");
  CLI::App* form = app.add_subcommand(
      "kinematics", "slope kinematics: planes and pairs that can slide or topple out of a slope");
  form->set_help_flag("-h,--help", "this text");
  add_input_options(*form, request.input);
  add_slope_options(*form, slope, finish);
  form->add_option("--csv", request.csv,
                   "write every critical item: mode,zone,label_a,label_b,trend,plunge")
      ->type_name("FILE");
  form->footer("\nModes: " + joined(modes, "; ") +
               ".\n\nExamples:\n"
               "  polarsketch kinematics --slope 120/65 examples/slope_joints.csv\n"
               "  polarsketch kinematics --slope 120/65 --friction 35 --limits curved "
               "--csv critical.csv examples/slope_joints.csv\n");
  return form;
}

// The kinematics request completed, or why the options do not fit.
Request finish_kinematics(const CLI::App& form, KinematicsRequest& request, SlopeOptions& slope,
                          const Finishers& finish) {
  for (const auto& f : finish) f();
  if (form.count("--slope") == 0)
    return usage_error("kinematics", "--slope DD/DIP is required (the slope face)");
  if (const std::string why = slope_of(slope); !why.empty()) return usage_error("kinematics", why);
  request.slope = slope.values;
  if (const std::string why = overwrites_input(request.csv, "--csv", request.input.files);
      !why.empty())
    return usage_error("kinematics", why);
  return request;
}

// The slope kinematics drawn by plot: --slope, --friction, --lateral,
// --limits and --kinematic MODE.
struct PlotSlopeOptions {
  SlopeOptions slope;
  std::string mode;
};

void add_plot_slope_options(CLI::App& form, PlotSlopeOptions& o, Finishers& finish) {
  add_slope_options(form, o.slope, finish);
  std::vector<std::string> names;
  for (const analysis::KinematicModeEntry& m : analysis::kinematic_modes())
    names.emplace_back(m.name);
  form.add_option("--kinematic", o.mode,
                  "with --slope: the failure mode drawn (default " + names.front() + ")")
      ->check(one_of(names))
      ->type_name(joined(names, "|"));
}

// The kinematic picture of plot's options, or why they do not fit. Planar
// sliding and flexural toppling are judged on poles: drawn as poles unless
// --planes says otherwise.
std::string plot_kinematics(const CLI::App& form, PlotSlopeOptions& o, PlotRequest& plot) {
  if (form.count("--slope") == 0) {
    for (const char* name : {"--friction", "--lateral", "--limits", "--kinematic"})
      if (form.count(name) > 0) return std::string(name) + " needs --slope";
    return "";
  }
  if (const std::string why = slope_of(o.slope); !why.empty()) return why;
  KinematicPicture picture{o.slope.values};
  if (!o.mode.empty()) picture.mode = *analysis::parse_kinematic_mode(o.mode);
  const bool on_poles = picture.mode == analysis::KinematicMode::planar ||
                        picture.mode == analysis::KinematicMode::flexural;
  if (on_poles && form.count("--planes") == 0) plot.planes = PlaneStyle::poles;
  plot.kinematics = picture;
  return "";
}

// plot --view TREND/PLUNGE: the direction at the net's centre.
void add_view_option(CLI::App& form, std::string& text) {
  form.add_option("--view", text,
                  "centre the net on this direction: trend 0 to 360, plunge 0 to 90 "
                  "(default 000/90, the vertical)")
      ->type_name("TREND/PLUNGE");
}

// The view of the options in the request, or why it does not fit. A view
// whose plunge is 90 is the ordinary net and is left out.
std::string plot_view(const CLI::App& form, const std::string& text, PlotRequest& plot) {
  if (form.count("--view") == 0) return "";
  const std::size_t slash = text.find('/');
  const auto trend = number_of(std::string_view(text).substr(0, slash));
  const auto plunge = slash == std::string::npos
                          ? std::nullopt
                          : number_of(std::string_view(text).substr(slash + 1));
  if (!trend || !plunge || *trend < 0 || *trend > 360 || *plunge < 0 || *plunge > 90)
    return "--view '" + text + "': the view is TREND/PLUNGE, trend 0 to 360 and plunge 0 to 90, "
           "e.g. 090/30";
  if (*plunge == 90) return "";
  if (plot.kinematics)
    return "--view and --slope exclude each other: the slope's construction is drawn on the "
           "ordinary net (leave out --view, or give --view 000/90)";
  // Adding 0 makes a "-0" zero: the caption writes no sign.
  plot.view = analysis::TrendPlunge{*trend == 360 ? 0 : *trend + 0.0, *plunge + 0.0};
  return "";
}

// ---- polarsketch faults --------------------------------------------------

// The faults form's options as parsed, before they become a FaultsRequest.
struct FaultsForm {
  FaultsRequest request;
  std::string method, pt_angle;
};

std::vector<std::string> stress_method_names() {
  std::vector<std::string> names;
  for (const analysis::StressMethodInfo& m : analysis::stress_methods())
    names.emplace_back(m.name);
  return names;
}

CLI::App* add_faults_form(CLI::App& app, FaultsForm& f) {
  CLI::App* form = app.add_subcommand(
      "faults", "the P, T, B axes and misfit of each fault and the stress tensor they give");
  form->set_help_flag("-h,--help", "this text");
  FaultsRequest& r = f.request;
  add_input_options(*form, r.input);
  std::string methods;
  for (const analysis::StressMethodInfo& m : analysis::stress_methods())
    methods += (methods.empty() ? "" : "; ") + std::string(m.name) + ": " +
               std::string(m.description);
  form->add_option("--method", f.method, "the stress inversion (default angelier); " + methods)
      ->check(one_of(stress_method_names()))
      ->type_name(joined(stress_method_names(), "|"));
  form->add_flag("--iterate", r.iterate,
                 "re-weight each fault by its resolved shear until it settles (Mostafa 2005)");
  form->add_option("--pt-angle", f.pt_angle,
                   "angle between P and the fault plane in the movement plane (default 45)")
      ->type_name("THETA");
  form->add_flag("--csv", r.csv,
                 "the faults as CSV on standard output, the result on standard error");
  form->add_option("--result-csv", r.result_csv, "the result as CSV into FILE")
      ->type_name("FILE");
  form->footer(
      "\nStresses are compression positive: sigma1 is the most compressive.\n"
      "\nExamples:\n"
      "  polarsketch faults examples/fault_notebook.csv\n"
      "  polarsketch faults --method michael --iterate --csv --result-csv stress.csv \\\n"
      "      examples/fault_notebook.csv > faults.csv\n");
  return form;
}

// The faults request completed, or the usage error its options make.
Request finish_faults(FaultsForm& f, const CLI::App& form) {
  FaultsRequest& r = f.request;
  for (const analysis::StressMethodInfo& m : analysis::stress_methods())
    if (f.method == m.name) r.method = m.method;
  if (form.count("--pt-angle") > 0) {
    const auto v = number_of(f.pt_angle);
    if (!v || *v <= 0 || *v >= 90)
      return usage_error("faults", "--pt-angle '" + f.pt_angle +
                                       "' is not a number between 0 and 90 (exclusive)");
    r.pt_angle = *v;
  }
  if (const std::string why = overwrites_input(r.result_csv, "--result-csv", r.input.files);
      !why.empty())
    return usage_error("faults", why);
  return r;
}

// ---- end of polarsketch faults -------------------------------------------

// ---- plot: fault marks -----------------------------------------------------

// The fault options of plot as parsed, before they complete the PlotRequest.
struct FaultMarkOptions {
  std::string fault_plot, pt, stress, pt_angle, contour_of;
  bool dihedra = false;
};

void add_fault_mark_options(CLI::App& form, FaultMarkOptions& o) {
  std::vector<std::string> plots;
  for (const figure::FaultPlotInfo& p : figure::fault_plots()) plots.emplace_back(p.name);
  form.add_option("--fault-plot", o.fault_plot,
                  "how slips of known sense are drawn (default angelier)")
      ->check(one_of(plots))
      ->type_name(joined(plots, "|"));
  form.add_option("--pt", o.pt, "each fault's P and T axes (and B with 'b')")
      ->check(one_of({"pt", "b"}))
      ->type_name("[b]");
  form.add_option("--pt-angle", o.pt_angle, "angle between P and the plane (default 45)")
      ->type_name("THETA");
  form.add_option("--stress", o.stress,
                  "the principal stress axes of the faults' inversion (default angelier)")
      ->check(one_of({"angelier", "michael"}))
      ->type_name("[angelier|michael]");
  form.add_option("--contour-of", o.contour_of,
                  "what --contour contours: the data (default) or the faults' P or T axes")
      ->check(one_of({"p", "t", "data"}))
      ->type_name("p|t|data");
  form.add_flag("--dihedra", o.dihedra,
                "the right-dihedra field: % of faults whose compressional dihedron holds "
                "each direction");
}

// "--pt" and "--stress" take their word only when the next argument is one
// of theirs, so that "--pt FILE" keeps FILE.
std::vector<std::string> with_fault_mark_words(std::vector<std::string> args) {
  const struct {
    const char* option;
    std::vector<std::string> words;
  } options[] = {{"--pt", {"b"}}, {"--stress", {"angelier", "michael"}}};
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--") break;
    for (const auto& o : options) {
      if (args[i] != o.option) continue;
      const bool word = i + 1 < args.size() &&
                        std::find(o.words.begin(), o.words.end(), args[i + 1]) != o.words.end();
      args[i] += "=" + (word ? args[i + 1] : std::string(o.option == std::string("--pt") ? "pt"
                                                                                  : "angelier"));
      if (word) args.erase(args.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
  }
  return args;
}

// The fault options written into the request, or why they do not fit.
std::string fault_mark_request(const CLI::App& form, const FaultMarkOptions& o, PlotRequest& r) {
  for (const figure::FaultPlotInfo& p : figure::fault_plots())
    if (o.fault_plot == p.name) r.fault_plot = p.plot;
  r.pt = !o.pt.empty();
  r.dihedra = o.dihedra;
  if (r.dihedra && r.contour) return "--dihedra and --contour exclude each other";
  if (!o.contour_of.empty()) {
    if (!r.contour) return "--contour-of needs --contour";
    r.contour_of = o.contour_of == "p"   ? PlotRequest::ContourOf::p
                   : o.contour_of == "t" ? PlotRequest::ContourOf::t
                                         : PlotRequest::ContourOf::data;
  }
  r.pt_b = o.pt == "b";
  if (!o.stress.empty())
    r.stress = o.stress == "michael" ? analysis::StressMethod::michael
                                     : analysis::StressMethod::angelier;
  if (form.count("--pt-angle") > 0) {
    const auto v = number_of(o.pt_angle);
    if (!v || *v <= 0 || *v >= 90)
      return "--pt-angle '" + o.pt_angle + "' is not a number between 0 and 90 (exclusive)";
    if (!r.pt && r.contour_of == PlotRequest::ContourOf::data)
      return "--pt-angle needs --pt or --contour-of p|t";
    r.pt_angle = *v;
  }
  return "";
}

// ---- end of plot: fault marks -----------------------------------------------

// ---- polarsketch rotate and sets -------------------------------------------

// The options of rotate and sets as parsed: the repeatable orientation
// options (--axis, --angle, --unfold, --seed) as name and text in the order
// given, since the order of the steps is their meaning.
struct DataForm {
  std::vector<std::pair<std::string, std::string>> ordered;
};

void add_ordered(CLI::App& form, const std::string& name, DataForm& f, const std::string& type,
                 const std::string& help) {
  form.add_option_function<std::string>(
          name, [&f, name](const std::string& v) { f.ordered.emplace_back(name, v); }, help)
      ->trigger_on_parse()
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)
      ->allow_extra_args(false)
      ->type_name(type);
}

// The options shared by rotate and sets: the input (without --by: one file
// is written) and -o.
void add_data_output_options(CLI::App& form, InputOptions& input, std::string& output) {
  add_input_options(form, input);
  form.remove_option(form.get_option("--by"));
  form.add_option("-o,--output", output, "the measurement file written (default: standard output)")
      ->type_name("FILE");
}

CLI::App* add_rotate_form(CLI::App& app, RotateRequest& r, DataForm& f) {
  CLI::App* form = app.add_subcommand("rotate", "the data rotated, written as a measurement file");
  form->set_help_flag("-h,--help", "this text");
  add_data_output_options(*form, r.input, r.output);
  add_ordered(*form, "--axis", f, "TREND/PLUNGE",
              "the axis of the next rotation (a negative plunge points up)");
  add_ordered(*form, "--angle", f, "A",
              "degrees about the last --axis: positive clockwise looking along the axis");
  add_ordered(*form, "--unfold", f, "DD/DIP",
              "rotate about the strike line of the plane DD/DIP to make it horizontal");
  form->footer(
      "\nSteps are applied in the order given.\n\nExamples:\n"
      "  polarsketch rotate --unfold 120/35 -o restored.csv examples/fold_bedding.csv\n"
      "  polarsketch rotate --axis 000/90 --angle 30 --unfold 090/20 examples/faults.csv\n");
  return form;
}

CLI::App* add_sets_form(CLI::App& app, SetsRequest& s, DataForm& f) {
  CLI::App* form = app.add_subcommand("sets", "the data split into N sets by axial k-means");
  form->set_help_flag("-h,--help", "this text");
  add_data_output_options(*form, s.input, s.output);
  add_integer(*form, "--k", s.k, 1, 100, "N", "the number of sets");
  form->get_option("--k")->required();
  add_ordered(*form, "--seed", f, "TREND/PLUNGE",
              "a starting centre (given N times; default: the principal axis, then each time "
              "the datum farthest from the centres chosen)");
  form->footer(
      "\nExamples:\n"
      "  polarsketch sets --k 3 -o sets.csv examples/fold_bedding.csv\n"
      "  polarsketch sets --k 2 --seed 160/45 --seed 320/35 examples/fold_bedding.csv\n");
  return form;
}

// "A/B" as two numbers, A an azimuth [0, 360] and B in [low, high]; 360 is 0.
std::optional<std::pair<double, double>> direction_of(const std::string& text, double low,
                                                      double high) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return std::nullopt;
  const auto a = number_of(std::string_view(text).substr(0, slash));
  const auto b = number_of(std::string_view(text).substr(slash + 1));
  if (!a || !b || *a < 0 || *a > 360 || *b < low || *b > high) return std::nullopt;
  return std::pair{*a == 360 ? 0.0 : *a, *b};
}

// The measurement file written may not be one of the files read.
std::string data_output_clash(const std::string& output, const InputOptions& input) {
  return overwrites_input(output, "the output file", input.files);
}

Request finish_rotate(RotateRequest& r, const DataForm& f) {
  const auto fail = [](const std::string& why) { return usage_error("rotate", why); };
  bool pending = false;  // an --axis waiting for its --angle
  std::pair<double, double> axis{0, 0};
  for (const auto& [name, text] : f.ordered) {
    if (name == "--axis") {
      if (pending) return fail("--axis " + text + ": the --axis before it has no --angle");
      const auto given = direction_of(text, -90, 90);
      if (!given)
        return fail("--axis '" + text +
                    "': the axis is TREND/PLUNGE, trend 0 to 360, plunge -90 to 90");
      axis = *given;
      pending = true;
    } else if (name == "--angle") {
      const auto angle = number_of(text);
      if (!pending) return fail("--angle " + text + " needs an --axis before it");
      if (!angle || std::abs(*angle) > 360)
        return fail("--angle '" + text + "' is not a number from -360 to 360");
      r.steps.push_back(RotationStep{RotationStep::Kind::axis, axis.first, axis.second, *angle});
      pending = false;
    } else {
      if (pending) return fail("--unfold " + text + ": the --axis before it has no --angle");
      const auto bed = direction_of(text, 0, 90);
      if (!bed) return fail("--unfold '" + text + "': the plane is DD/DIP, dip 0 to 90");
      r.steps.push_back(RotationStep{RotationStep::Kind::unfold, bed->first, bed->second, 0});
    }
  }
  if (pending) return fail("the last --axis has no --angle");
  if (r.steps.empty())
    return fail("no rotation given: --axis TREND/PLUNGE --angle A or --unfold DD/DIP");
  if (const std::string why = data_output_clash(r.output, r.input); !why.empty()) return fail(why);
  return r;
}

Request finish_sets(SetsRequest& s, const DataForm& f) {
  const auto fail = [](const std::string& why) { return usage_error("sets", why); };
  for (const auto& [name, text] : f.ordered) {
    const auto seed = direction_of(text, -90, 90);
    if (!seed)
      return fail("--seed '" + text + "': a seed is TREND/PLUNGE, trend 0 to 360, plunge -90 to 90");
    s.seeds.push_back(data::Line{seed->first, seed->second});
  }
  if (!s.seeds.empty() && s.seeds.size() != static_cast<std::size_t>(s.k))
    return fail("--k " + std::to_string(s.k) + " needs " + std::to_string(s.k) + " --seed, not " +
                std::to_string(s.seeds.size()));
  if (const std::string why = data_output_clash(s.output, s.input); !why.empty()) return fail(why);
  return s;
}

// ---- end of polarsketch rotate and sets ------------------------------------

// A form of the command line: its subcommand, where its measurement files
// go, and how its parsed options become the request.
struct Form {
  CLI::App* command;
  InputOptions* input;
  std::function<Request()> finish;
};

// The form parsed, or nullptr.
const Form* parsed_form(const std::vector<Form>& forms) {
  for (const Form& f : forms)
    if (f.command->parsed()) return &f;
  return nullptr;
}

}  // namespace

Request parse_arguments(const std::vector<std::string>& args) {
  CLI::App app{"polarsketch", "polarsketch"};
  app.set_help_flag("-h,--help");
  bool version = false;
  app.add_flag("--version", version);
  std::string also;
  app.add_option("--also", also, "sibling formats of the interactive program's plot files")
      ->type_name(joined(sibling_names(), ","));
  bool also_page = false;
  app.add_flag("--page", also_page, "--also: the whole page, not the net and its labels");

  PlotRequest plot;
  std::string output;
  Finishers finish;
  CLI::App* plot_form = add_plot_form(app, plot, output, finish);
  ContourOptions contour;
  PresentationOptions presentation;
  add_analysis_options(*plot_form, plot, contour, presentation, finish);
  PlotSlopeOptions plot_slope;
  add_plot_slope_options(*plot_form, plot_slope, finish);
  std::string view;
  add_view_option(*plot_form, view);
  FaultMarkOptions fault_marks;
  add_fault_mark_options(*plot_form, fault_marks);
  StatsRequest stats;
  CLI::App* stats_form = add_stats_form(app, stats);
  RoseForm rose;
  CLI::App* rose_form = add_rose_form(app, rose);
  KinematicsRequest kinematics;
  SlopeOptions slope;
  Finishers kinematics_finish;
  CLI::App* kinematics_form = add_kinematics_form(app, kinematics, slope, kinematics_finish);
  RotateRequest rotate;
  DataForm rotate_steps;
  CLI::App* rotate_form = add_rotate_form(app, rotate, rotate_steps);
  SetsRequest sets;
  DataForm set_seeds;
  CLI::App* sets_form = add_sets_form(app, sets, set_seeds);

  FaultsForm faults;
  CLI::App* faults_form = add_faults_form(app, faults);

  // Every form, in the order of the usage text.
  const std::vector<Form> forms = {
      {plot_form, &plot.input,
       [&]() -> Request {
         Request request = finish_plot(plot, output, finish);
         auto* done = std::get_if<PlotRequest>(&request);
         if (done == nullptr) return request;
         std::string fault = contour_request(*plot_form, contour, done->contour);
         if (fault.empty()) fault = plot_kinematics(*plot_form, plot_slope, *done);
         if (fault.empty()) fault = plot_view(*plot_form, view, *done);
         if (fault.empty()) fault = output_clash(*done);
         if (fault.empty()) fault = fault_mark_request(*plot_form, fault_marks, *done);
         if (fault.empty()) fault = presentation_request(*plot_form, presentation, *done);
         return fault.empty() ? request : usage_error("plot", fault);
       }},
      {stats_form, &stats.input, [&]() -> Request { return stats; }},
      {rose_form, &rose.request.input, [&] { return finish_rose(rose, *rose_form); }},
      {kinematics_form, &kinematics.input,
       [&] { return finish_kinematics(*kinematics_form, kinematics, slope, kinematics_finish); }},
      {rotate_form, &rotate.input, [&] { return finish_rotate(rotate, rotate_steps); }},
      {sets_form, &sets.input, [&] { return finish_sets(sets, set_seeds); }},
      {faults_form, &faults.request.input, [&] { return finish_faults(faults, *faults_form); }},
  };
  const auto form_named = [&forms](std::string_view word) -> const Form* {
    for (const Form& f : forms)
      if (f.command->get_name() == word) return &f;
    return nullptr;
  };

  // One command at most: a command's name among its FILEs is a file.
  app.require_subcommand(0, 1);
  // An unknown form is named as such, not as an unexpected argument.
  if (const std::string why = unknown_command(args, app); !why.empty()) return usage_error("", why);

  // The form is named by the first argument that names one.
  const auto form_word = std::find_if(args.begin(), args.end(), [&](const std::string& word) {
    return form_named(word) != nullptr;
  });
  if (form_word != args.end() && *form_word == "plot") {
    if (const std::string why = contour_word_error(args); !why.empty())
      return usage_error("plot", why);
  }
  if (form_word != args.end()) {
    if (const std::string why = empty_file_name(args, *form_word); !why.empty())
      return usage_error(*form_word, why);
  }
  // The arguments after the command's "--" are FILEs, whatever they look
  // like. CLI11 takes them only while no FILE came before, so they are set
  // aside and added after the others.
  const auto mark = std::find(form_word, args.end(), "--");
  const std::vector<std::string> marked_files(mark == args.end() ? mark : mark + 1, args.end());
  if (!marked_files.empty()) {
    for (const Form& f : forms) f.command->get_option("FILE")->required(false);
  }
  std::string stats_error;
  const std::vector<std::string> normalised = with_stats_list(
      with_fault_mark_words(with_contour_method(std::vector<std::string>(args.begin(), mark))),
      stats_error);
  if (!stats_error.empty()) return usage_error("plot", stats_error);
  const CLI::App& command = form_word == args.end() ? app : *form_named(*form_word)->command;
  if (const std::string why = option_taken_as_value(normalised, command); !why.empty())
    return usage_error(&command == &app ? "" : command.get_name(), why);
  std::vector<std::string> reversed(normalised.rbegin(), normalised.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    // The form's usage line names the program too: "Usage: polarsketch plot ...".
    if (const Form* f = parsed_form(forms))
      return Answer{kExitOk, f->command->help(app.get_name()), ""};
    return Answer{kExitOk, usage_text(), ""};
  } catch (const CLI::ParseError& e) {
    const Form* f = parsed_form(forms);
    const CLI::App* parsed = f != nullptr ? f->command : &app;
    return usage_error(parsed == &app ? "" : parsed->get_name(),
                       plain_usage_error(e, *parsed, app));
  }

  const Form* parsed = parsed_form(forms);
  if (app.count("--also") > 0 && parsed != nullptr)
    return usage_error("", "--also is an option of the interactive program, not of a command");
  // --page before any command belongs to the interactive program's --also;
  // elsewhere it is most likely plot's, given too early.
  if (also_page && (parsed != nullptr || app.count("--also") == 0))
    return usage_error("", "'--page' goes after a command: polarsketch plot --page ...");
  if (version)
    return Answer{kExitOk, std::string(console::kProgname) + " " + console::kVersion + "\n", ""};
  // A --columns list that names no sound set of columns is wrong usage.
  const std::string form = parsed != nullptr ? parsed->command->get_name() : "stats";
  InputOptions& input = parsed != nullptr ? *parsed->input : stats.input;
  input.files.insert(input.files.end(), marked_files.begin(), marked_files.end());
  if (const std::string why = input.columns.empty() ? "" : data::columns_error(input.columns);
      !why.empty()) {
    return usage_error(form, "--columns: " + why);
  }
  // Standard input is read once: a second "-" would be an empty data set.
  if (std::count(input.files.begin(), input.files.end(), "-") > 1)
    return usage_error(form, "'-' (standard input) is given more than once");
  if (parsed != nullptr) return parsed->finish();
  if (app.count("--also") > 0) {
    const auto formats = figure::parse_format_list(also);
    if (!formats) {
      std::vector<std::string> names = sibling_names();
      const std::string example = joined(names, ",");
      const std::string last = names.back();
      names.pop_back();
      return usage_error("", "--also takes a list of " + joined(names, ", ") + " and " + last +
                                 ", e.g. " + example);
    }
    return InteractiveRequest{*formats, also_page};
  }
  return usage_error("", "no command given");
}

}  // namespace polarsketch::cli
