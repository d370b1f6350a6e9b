// The unit table and the line reader.
#include "console/units.hpp"

#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>

#include "console/stop.hpp"

namespace polarsketch::console {
namespace {

struct Unit {
  std::istream* in = nullptr;
  std::ostream* out = nullptr;
  std::unique_ptr<std::fstream> file;  // set for file units
};

std::map<int, Unit>& table() {
  static std::map<int, Unit> units = [] {
    std::map<int, Unit> u;
    u[kUnitIn].in = &std::cin;
    u[kUnitOut].out = &std::cout;
    return u;
  }();
  return units;
}

volatile std::sig_atomic_t g_interrupted = 0;

// Only async-signal-safe work here: note the interrupt and close standard
// input, so that a read in progress (or the next one) fails at once.
extern "C" void on_interrupt(int) {
  g_interrupted = 1;
  ::close(0);
}

[[noreturn]] void stop_on_console_end() {
  put_line(kUnitOut, g_interrupted ? kInterruptedLine : kEndOfInputLine);
  output(kUnitOut).flush();
  stop_run(g_interrupted ? kExitInterrupted : kExitEndOfInput);
}

std::ostream& null_stream() {
  static std::ofstream sink;  // never opened: writes are discarded
  return sink;
}

}  // namespace

void bind_input(int unit, std::istream& in) {
  Unit& u = table()[unit];
  u.file.reset();
  u.in = &in;
}

void bind_output(int unit, std::ostream& out) {
  Unit& u = table()[unit];
  u.file.reset();
  u.out = &out;
}

void bind_console(std::istream& in, std::ostream& out) {
  bind_input(kUnitIn, in);
  bind_output(kUnitOut, out);
}

void reset_units() {
  table().clear();
  table()[kUnitIn].in = &std::cin;
  table()[kUnitOut].out = &std::cout;
}

std::ostream& output(int unit) {
  auto it = table().find(unit);
  if (it == table().end() || it->second.out == nullptr) return null_stream();
  return *it->second.out;
}

void put_line(int unit, std::string_view text) {
  std::ostream& o = output(unit);
  o.put(' ');
  o.write(text.data(), static_cast<std::streamsize>(text.size()));
  o.put('\n');
}

void put_raw_line(int unit, std::string_view text) {
  std::ostream& o = output(unit);
  o.write(text.data(), static_cast<std::streamsize>(text.size()));
  o.put('\n');
}

void flush_outputs() {
  for (auto& [n, u] : table()) {
    if (u.out != nullptr && !u.file) u.out->flush();
  }
}

void install_interrupt_handlers() {
  struct sigaction sa {};
  sa.sa_handler = on_interrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESETHAND;  // a second interrupt takes the default action
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

bool interrupted() { return g_interrupted != 0; }

bool read_line(int unit, std::string& line, OnEnd on_end) {
  line.clear();
  auto it = table().find(unit);
  bool is_file = it != table().end() && it->second.file != nullptr;
  // After an interrupt no more console input is taken, not even what is
  // still buffered.
  if (!is_file && g_interrupted) stop_on_console_end();
  if (!is_file) flush_outputs();
  bool ok = it != table().end() && it->second.in != nullptr &&
            static_cast<bool>(std::getline(*it->second.in, line));
  if (ok) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }
  line.clear();
  if (is_file || (on_end == OnEnd::report && !g_interrupted)) return false;
  stop_on_console_end();
}

bool open_file(int unit, const std::string& path, FileStatus status) {
  close_file(unit);
  auto f = std::make_unique<std::fstream>();
  switch (status) {
    case FileStatus::old_file:
      f->open(path, std::ios::in);
      break;
    case FileStatus::new_file: {
      std::ifstream probe(path);
      if (probe.is_open()) return false;
      f->open(path, std::ios::out | std::ios::trunc);
      break;
    }
    case FileStatus::unknown:
      f->open(path, std::ios::out | std::ios::trunc);
      break;
  }
  if (!f->is_open()) return false;
  Unit& u = table()[unit];
  u.in = f.get();
  u.out = f.get();
  u.file = std::move(f);
  return true;
}

bool close_file(int unit) {
  auto it = table().find(unit);
  if (it == table().end() || !it->second.file) return true;
  std::fstream& f = *it->second.file;
  f.flush();
  bool good = !f.bad() && !(f.fail() && !f.eof());
  f.clear();
  f.close();
  good = good && !f.fail();
  table().erase(it);
  return good;
}

bool is_file_open(int unit) {
  auto it = table().find(unit);
  return it != table().end() && it->second.file != nullptr;
}

bool unit_good(int unit) {
  auto it = table().find(unit);
  if (it == table().end() || it->second.out == nullptr) return false;
  return !it->second.out->bad();
}

}  // namespace polarsketch::console
