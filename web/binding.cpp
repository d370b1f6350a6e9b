// The library's binding for the web page: the measurement files the page
// holds are files of an in-memory folder, a figure or table is the command
// line run on them (the page's controls are its arguments), and a file read
// on its own gives the page what the file holds and what is wrong with it.
#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "analysis/density_methods.hpp"
#include "analysis/faults.hpp"
#include "analysis/kinematics.hpp"
#include "cli/cli.hpp"
#include "cli/inputs.hpp"
#include "data/measurements.hpp"
#include "figure/page.hpp"

namespace {

using emscripten::val;
namespace fs = std::filesystem;

// The in-memory folder the page's files live in; the command line runs in
// it, so its messages name the files as the user named them.
constexpr const char* kFolder = "/files";

void enter_folder() {
  static const bool entered = [] {
    std::setlocale(LC_ALL, "C");
    // The files written are the user's to read and write again: the
    // runtime's initial mask would leave them with no permissions at all.
    ::umask(022);
    fs::create_directories(kFolder);
    return ::chdir(kFolder) == 0;
  }();
  if (!entered) throw std::runtime_error("cannot enter the in-memory folder");
}

// A name the page may use for a file: a plain name inside the folder.
bool plain_name(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name != "-" &&
         name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

// Stores `text` as the file `name` (replacing one of the same name).
bool put_file(const std::string& name, const std::string& text) {
  enter_folder();
  if (!plain_name(name)) return false;
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  return static_cast<bool>(file.flush());
}

void remove_file(const std::string& name) {
  enter_folder();
  if (!plain_name(name)) return;
  std::error_code ec;
  fs::remove(name, ec);
}

// The text of the file `name`, removed from the folder (an output of a
// run); null when there is no such file or it cannot be read.
val take_file(const std::string& name) {
  enter_folder();
  if (!plain_name(name)) return val::null();
  std::ifstream file(name, std::ios::binary);
  std::ostringstream text;
  bool read = file.is_open();
  if (read) {
    text << file.rdbuf();
    read = !file.bad();
  }
  file.close();
  std::error_code ec;
  const bool existed = fs::remove(name, ec);
  if (!existed || !read) return val::null();
  return val(text.str());
}

// Runs the command line on `args` (without the program name):
// {status, out, err}.
val run(const val& args) {
  enter_folder();
  const std::vector<std::string> arguments = emscripten::vecFromJSArray<std::string>(args);
  std::ostringstream out, err;
  std::istringstream in;
  const int status = polarsketch::cli::run(arguments, out, err, in);
  val result = val::object();
  result.set("status", status);
  result.set("out", out.str());
  result.set("err", err.str());
  return result;
}

// What the file `name` holds, read as the command line reads it:
// {sets: [{kind, notation, count}], columns, errors: [{file, line, column,
// text, reason, message}], errorCount, fatal, warnings}. Columns are the
// text columns --by, --where and --label can name.
val read_file(const std::string& name, const val& columns) {
  enter_folder();
  std::ifstream file(name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  polarsketch::data::ReadOptions options;
  options.columns = emscripten::vecFromJSArray<std::string>(columns);
  const polarsketch::data::ReadResult r =
      polarsketch::data::read_measurements(text.str(), name, options);
  val sets = val::array();
  val names = val::array();
  std::vector<std::string> seen;
  auto add_set = [&](const polarsketch::data::DataSet& set) {
    val s = val::object();
    s.set("kind", std::string(polarsketch::data::kind_name(set.kind)));
    s.set("notation", set.notation);
    s.set("count", static_cast<double>(set.size()));
    sets.call<void>("push", s);
    for (const std::string& column : set.attribute_names) {
      if (std::find(seen.begin(), seen.end(), column) != seen.end()) continue;
      seen.push_back(column);
      names.call<void>("push", column);
    }
  };
  if (r.fatal.empty()) {
    add_set(r.data);
    for (const polarsketch::data::DataSet& more : r.more_data) add_set(more);
  }
  val errors = val::array();
  for (const polarsketch::data::DataError& e : r.errors) {
    val error = val::object();
    error.set("file", e.file);
    error.set("line", static_cast<double>(e.line));
    error.set("column", static_cast<double>(e.column));
    error.set("text", e.text);
    error.set("reason", e.reason);
    error.set("message", e.message());
    errors.call<void>("push", error);
  }
  val warnings = val::array();
  for (const std::string& w : r.warnings) warnings.call<void>("push", w);
  val result = val::object();
  result.set("sets", sets);
  result.set("columns", names);
  result.set("errors", errors);
  result.set("errorCount", static_cast<double>(r.error_count));
  result.set("fatal", r.fatal);
  result.set("warnings", warnings);
  return result;
}

// A table of choices as [{name, description}].
template <class Table>
val choices(const Table& table) {
  val list = val::array();
  for (const auto& entry : table) {
    val choice = val::object();
    choice.set("name", std::string(entry.name));
    choice.set("description", std::string(entry.description));
    list.call<void>("push", choice);
  }
  return list;
}

// The choices the page's menus offer, from the tables the command line
// reads: density methods, slope failure modes, stress inversions, fault plots.
val tables() {
  val t = val::object();
  t.set("densityMethods", choices(polarsketch::analysis::density_methods()));
  t.set("kinematicModes", choices(polarsketch::analysis::kinematic_modes()));
  t.set("stressMethods", choices(polarsketch::analysis::stress_methods()));
  t.set("faultPlots", choices(polarsketch::figure::fault_plots()));
  return t;
}

// The data sets the arguments of a plot draw (after --where and --by), kept
// for describe() until the next call.
std::vector<polarsketch::data::DataSet>& located() {
  static std::vector<polarsketch::data::DataSet> sets;
  return sets;
}

// Where the measurements a plot draws are: per data set, its name, kind
// and the trend and plunge of each measurement's symbol (a plane's pole, a
// line, a slip's line) as one array [trend, plunge, trend, plunge, ...].
// Empty when the arguments are no plot or its files cannot be read.
val locate(const val& args) {
  namespace data = polarsketch::data;
  enter_folder();
  located().clear();
  const polarsketch::cli::Request request =
      polarsketch::cli::request_of(emscripten::vecFromJSArray<std::string>(args));
  val result = val::array();
  const auto* plot = std::get_if<polarsketch::cli::PlotRequest>(&request);
  if (plot == nullptr) return result;
  std::istringstream in;
  std::ostringstream err;
  polarsketch::cli::LoadedInputs inputs = polarsketch::cli::load_inputs(plot->input, in, err);
  if (inputs.status != polarsketch::cli::kExitOk) return result;
  located() = std::move(inputs.sets);
  for (const data::DataSet& set : located()) {
    std::vector<double> points;
    points.reserve(2 * set.size());
    auto add = [&points](const data::Line& l) {
      points.push_back(l.trend);
      points.push_back(l.plunge);
    };
    for (const data::Plane& p : set.planes) add(data::pole_of(p));
    for (const data::Line& l : set.lines) add(l);
    for (const data::Slip& s : set.slips) add(s.line);
    val entry = val::object();
    entry.set("name", set.name);
    entry.set("kind", std::string(data::kind_name(set.kind)));
    entry.set("points", val::global("Float64Array")
                            .new_(emscripten::typed_memory_view(points.size(), points.data())));
    result.call<void>("push", entry);
  }
  return result;
}

std::string degrees(double v, int width) {
  char text[32];
  std::snprintf(text, sizeof text, "%0*.0f", width, v);
  return text;
}

// One measurement of a located set, as the page shows it when pointed at:
// its file and line, its orientation and its other columns (a label
// column among them).
std::string describe(int set, int index) {
  namespace data = polarsketch::data;
  if (set < 0 || static_cast<std::size_t>(set) >= located().size()) return "";
  const data::DataSet& s = located()[static_cast<std::size_t>(set)];
  if (index < 0 || static_cast<std::size_t>(index) >= s.size()) return "";
  const auto i = static_cast<std::size_t>(index);
  std::string text = s.name;
  if (i < s.line_numbers.size()) text += ", line " + std::to_string(s.line_numbers[i]);
  auto plane = [](const data::Plane& p) {
    return "plane " + degrees(p.dip_direction, 3) + "/" + degrees(p.dip, 2) + " (dip direction/dip)";
  };
  auto line = [](const data::Line& l) {
    return "line " + degrees(l.trend, 3) + "/" + degrees(l.plunge, 2) + " (trend/plunge)";
  };
  if (s.kind == data::Kind::planes) text += "\n" + plane(s.planes[i]);
  if (s.kind == data::Kind::lines) text += "\n" + line(s.lines[i]);
  if (s.kind == data::Kind::slips) {
    const data::Slip& slip = s.slips[i];
    text += "\n" + plane(slip.plane) + "\nslip " + line(slip.line) + ", rake " +
            degrees(slip.rake, 1) + (slip.sense_known ? "" : " (sense unknown)");
  }
  for (std::size_t c = 0; c < s.attribute_names.size(); ++c)
    text += "\n" + s.attribute_names[c] + ": " + s.attribute(i, c);
  return text;
}

}  // namespace

EMSCRIPTEN_BINDINGS(polarsketch) {
  emscripten::function("putFile", &put_file);
  emscripten::function("removeFile", &remove_file);
  emscripten::function("takeFile", &take_file);
  emscripten::function("run", &run);
  emscripten::function("readFile", &read_file);
  emscripten::function("tables", &tables);
  emscripten::function("locate", &locate);
  emscripten::function("describe", &describe);
}
