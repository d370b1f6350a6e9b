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

#include "app/params.hpp"
#include "cli/output_file.hpp"
#include "cli/request.hpp"
#include "cli/usage_checks.hpp"
#include "cli/usage_errors.hpp"
#include "data/measurements.hpp"
#include "files/atomic_file.hpp"

namespace polarsketch::cli {

namespace {

constexpr std::string_view kUsage =
    R"(polarsketch: stereonets from measurement files, or an interactive session.

Usage:
  polarsketch                          the interactive program (numbered menus)
  polarsketch -h | --help              this text
  polarsketch --version                the program's version
  polarsketch --also pdf,svg,png       the interactive program; each plot file it
                                       closes is also written as PDF, SVG and/or PNG
                                       (NAME.pdf; NAME.svg, NAME-2.svg...; NAME-1.png...)
  polarsketch plot [OPTIONS] FILE...   draw the data sets of the files on one stereonet
  polarsketch stats [OPTIONS] FILE...  what each file holds and its statistics
  polarsketch plot --help              the options of a form (also for stats)

FILE is a measurement file (planes, lines or slips; a header names the
columns); "-" reads standard input.

Options of plot and stats:
  --columns LIST      column names of files without a header, e.g. dipdir,dip
  --skip-bad          skip bad lines (and say how many) instead of stopping

Options of plot:
  -o, --output FILE   the plot file (default: the first FILE with .ps;
                      stdin.ps when it is "-"); its extension chooses the
                      format: .ps PostScript, .eps (one page), .pdf, .svg, .png
  --page              .eps, .pdf, .svg, .png: the whole page, not the
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
                      how planes are drawn (default great-circles)
  --hemisphere lower|upper
                      (default lower)
  --run-info          write the program and run information on the page
  --stats             draw each data set's mean direction with its 95 % cone,
                      the eigenvectors 1, 2, 3 and (planes) the girdle; print
                      the statistics on standard error
  --contour [METHOD]  density contours of all data sets together under the
                      data: exp-kamb (default), kamb, linear-kamb, schmidt
  --sigma S           counting area of the Kamb methods, 0.001 to 1000
                      (default 3)
  --units mud|sigma   multiples of a uniform distribution (default) or
                      standard deviations (Kamb methods)
  --levels LIST       contour levels, e.g. 2,4,8 (default: automatic; at
                      most 1000 levels)
  --density-out FILE  write the density grid as CSV: trend,plunge,density
  --hide-data         draw no symbol or great circle per measurement

Options of stats:
  --csv               one CSV line per data set (with a header line)

Exit statuses: 0 done, 64 wrong usage, 65 bad data, 66 an input file
cannot be opened, 70 a fault of the program, 73 the output file cannot be
written.

Examples:
  polarsketch plot examples/fold_bedding.csv --net 10 --planes both
  polarsketch plot -o faults.ps --projection equal-angle examples/faults.csv
  polarsketch plot --contour --stats --planes poles examples/fold_bedding.csv
  polarsketch stats examples/*.csv
)";

std::string see_help(const std::string& form) {
  return "see 'polarsketch " + (form.empty() ? std::string() : form + " ") + "--help'";
}

Answer usage_error(const std::string& form, const std::string& what) {
  const std::string who = form.empty() ? "polarsketch" : "polarsketch " + form;
  return Answer{kExitUsage, "", who + ": " + what + " (" + see_help(form) + ")\n"};
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

// The words one after another, `separator` between them.
std::string joined(const std::vector<std::string>& words, const std::string& separator) {
  std::string text;
  for (const std::string& w : words) text += (text.empty() ? "" : separator) + w;
  return text;
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
                   "the format: .ps, .eps, .pdf, .svg, .png")
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
             "how planes are drawn (default great-circles)", finish);
  add_choice(*form, "--hemisphere", plot.hemisphere,
             {{"lower", Hemisphere::lower}, {"upper", Hemisphere::upper}}, "default lower", finish);
  form->add_flag("--run-info", plot.run_info, "write the run information on the page");
  form->footer(
      "\nExamples:\n"
      "  polarsketch plot examples/fold_bedding.csv --net 10 --planes both\n"
      "  polarsketch plot -o faults.ps --projection equal-angle examples/faults.csv\n"
      "  cat data.txt | polarsketch plot --columns dipdir,dip -o data.ps -\n"
      "  polarsketch plot --contour kamb --units sigma --stats examples/fold_bedding.csv\n");
  return form;
}

CLI::App* add_stats_form(CLI::App& app, StatsRequest& stats) {
  CLI::App* form = app.add_subcommand("stats", "what each file holds and its statistics");
  form->set_help_flag("-h,--help", "this text");
  add_input_options(*form, stats.input);
  form->add_flag("--csv", stats.csv, "one CSV line per data set, after a header line");
  form->footer(
      "\nExamples:\n  polarsketch stats examples/*.csv\n"
      "  polarsketch stats --csv examples/*.csv > statistics.csv\n");
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

// The density methods of --contour, as the options and messages name them.
std::vector<std::string> method_names() { return {"exp-kamb", "kamb", "linear-kamb", "schmidt"}; }

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
      args[i] += "=" + std::string(analysis::method_name(analysis::DensityMethod::exp_kamb));
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
    const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), level);
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

// Whether two names are one file (the second may not exist yet).
bool same_file(const std::string& a, const std::string& b) { return files::same_file(a, b); }

// An output that would overwrite a measurement file or the other output:
// the data read would be lost, or one output replaced by the other.
std::string output_clash(const PlotRequest& plot) {
  const std::string density_out = plot.contour ? plot.contour->density_out : "";
  if (!density_out.empty() && same_file(density_out, plot.output))
    return "--density-out '" + density_out + "' is the plot file too";
  for (const std::string& input : plot.input.files) {
    if (input == "-") {
      if (files::is_standard_input(plot.output))
        return "the plot file '" + plot.output + "' is the file standard input reads";
      if (!density_out.empty() && files::is_standard_input(density_out))
        return "--density-out '" + density_out + "' is the file standard input reads";
      continue;
    }
    if (same_file(plot.output, input))
      return "the plot file '" + plot.output + "' would overwrite the input file";
    if (!density_out.empty() && same_file(density_out, input))
      return "--density-out '" + density_out + "' would overwrite the input file";
  }
  return "";
}

// The options of the statistics and density layers of plot.
void add_analysis_options(CLI::App& form, PlotRequest& plot, ContourOptions& contour,
                          Finishers& finish) {
  form.add_flag("--stats", plot.stats,
                "draw each set's mean, 95 % cone, eigenvectors and girdle; "
                "the statistics on standard error");
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
}

// Forms named by the first argument that is not an option.
bool is_form(std::string_view word) { return word == "plot" || word == "stats"; }

}  // namespace

Request parse_arguments(const std::vector<std::string>& args) {
  CLI::App app{"polarsketch", "polarsketch"};
  app.set_help_flag("-h,--help");
  bool version = false;
  app.add_flag("--version", version);
  std::string also;
  app.add_option("--also", also, "sibling formats of the interactive program's plot files")
      ->type_name("pdf,svg,png");

  PlotRequest plot;
  std::string output;
  Finishers finish;
  CLI::App* plot_form = add_plot_form(app, plot, output, finish);
  ContourOptions contour;
  add_analysis_options(*plot_form, plot, contour, finish);
  StatsRequest stats;
  CLI::App* stats_form = add_stats_form(app, stats);

  // One command at most: a command's name among its FILEs is a file.
  app.require_subcommand(0, 1);
  // An unknown form is named as such, not as an unexpected argument.
  if (const std::string why = unknown_command(args, app); !why.empty()) return usage_error("", why);

  const auto form_word = std::find_if(args.begin(), args.end(), is_form);
  if (form_word != args.end() && *form_word == "plot") {
    if (const std::string why = contour_word_error(args); !why.empty())
      return usage_error("plot", why);
    if (const std::string why = empty_file_name(args); !why.empty())
      return usage_error("plot", why);
  }
  // The arguments after the command's "--" are FILEs, whatever they look
  // like. CLI11 takes them only while no FILE came before, so they are set
  // aside and added after the others.
  const auto mark = std::find(form_word, args.end(), "--");
  const std::vector<std::string> marked_files(mark == args.end() ? mark : mark + 1, args.end());
  if (!marked_files.empty()) {
    for (CLI::App* form : {plot_form, stats_form}) form->get_option("FILE")->required(false);
  }
  const std::vector<std::string> normalised =
      with_contour_method(std::vector<std::string>(args.begin(), mark));
  const CLI::App& command = form_word == args.end() ? app
                            : *form_word == "plot"  ? *plot_form
                                                    : *stats_form;
  if (const std::string why = option_taken_as_value(normalised, command); !why.empty())
    return usage_error(&command == &app ? "" : command.get_name(), why);
  std::vector<std::string> reversed(normalised.rbegin(), normalised.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    // The form's usage line names the program too: "Usage: polarsketch plot ...".
    if (plot_form->parsed()) return Answer{kExitOk, plot_form->help(app.get_name()), ""};
    if (stats_form->parsed()) return Answer{kExitOk, stats_form->help(app.get_name()), ""};
    return Answer{kExitOk, std::string(kUsage), ""};
  } catch (const CLI::ParseError& e) {
    const CLI::App* parsed = plot_form->parsed()    ? plot_form
                             : stats_form->parsed() ? stats_form
                                                    : &app;
    return usage_error(parsed == &app ? "" : parsed->get_name(),
                       plain_usage_error(e, *parsed, app));
  }

  if (app.count("--also") > 0 && (plot_form->parsed() || stats_form->parsed()))
    return usage_error("", "--also is an option of the interactive program, not of a command");
  if (version) return Answer{kExitOk, std::string(app::kProgname) + " " + app::kVersion + "\n", ""};
  // A --columns list that names no sound set of columns is wrong usage.
  const std::string form = plot_form->parsed() ? "plot" : "stats";
  InputOptions& input = plot_form->parsed() ? plot.input : stats.input;
  input.files.insert(input.files.end(), marked_files.begin(), marked_files.end());
  if (const std::string why = input.columns.empty() ? "" : data::columns_error(input.columns);
      !why.empty()) {
    return usage_error(form, "--columns: " + why);
  }
  // Standard input is read once: a second "-" would be an empty data set.
  if (std::count(input.files.begin(), input.files.end(), "-") > 1)
    return usage_error(form, "'-' (standard input) is given more than once");
  if (plot_form->parsed()) {
    Request request = finish_plot(plot, output, finish);
    auto* done = std::get_if<PlotRequest>(&request);
    if (done == nullptr) return request;
    std::string fault = contour_request(*plot_form, contour, done->contour);
    if (fault.empty()) fault = output_clash(*done);
    return fault.empty() ? request : usage_error("plot", fault);
  }
  if (stats_form->parsed()) return stats;
  if (app.count("--also") > 0) {
    const auto formats = render::parse_sibling_formats(also);
    if (!formats) return usage_error("", "--also takes a list of pdf, svg and png, e.g. pdf,svg,png");
    return InteractiveRequest{*formats};
  }
  return usage_error("", "no command given");
}

}  // namespace polarsketch::cli
