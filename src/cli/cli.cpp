// The command line: arguments to a request, the request run.
#include "cli/cli.hpp"

#include <exception>
#include <new>
#include <ostream>
#include <type_traits>
#include <variant>

#include "cli/commands.hpp"

namespace polarsketch::cli {

namespace {

int run_request(const Request& request, std::ostream& out, std::ostream& err, std::istream& in) {
  return std::visit(
      [&](const auto& r) -> int {
        using T = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<T, Answer>) {
          out << r.out;
          err << r.err;
          return r.status;
        } else if constexpr (std::is_same_v<T, PlotRequest>) {
          return run_plot(r, in, out, err);
        } else if constexpr (std::is_same_v<T, RoseRequest>) {
          return run_rose(r, in, out, err);
        } else if constexpr (std::is_same_v<T, RotateRequest>) {
          return run_rotate(r, in, out, err);
        } else if constexpr (std::is_same_v<T, SetsRequest>) {
          return run_sets(r, in, out, err);
        } else if constexpr (std::is_same_v<T, FaultsRequest>) {
          return run_faults(r, in, out, err);
        } else if constexpr (std::is_same_v<T, InteractiveRequest>) {
          err << "polarsketch: internal error: the interactive program is started by main\n";
          return kExitSoftware;
        } else if constexpr (std::is_same_v<T, KinematicsRequest>) {
          return run_kinematics(r, in, out, err);
        } else {
          return run_stats(r, in, out, err);
        }
      },
      request);
}

}  // namespace

Request request_of(const std::vector<std::string>& args) {
  try {
    return parse_arguments(args);
  } catch (const std::exception& e) {
    return Answer{kExitSoftware, "", "polarsketch: " + std::string(e.what()) + "\n"};
  }
}

int run(const Request& request, std::ostream& out, std::ostream& err, std::istream& in) {
  try {
    const int status = run_request(request, out, err, in);
    // Results that never reached standard output (a full disk, a closed
    // pipe) are a failure, not a success.
    if (!out.flush()) {
      err << "polarsketch: cannot write standard output\n";
      return status == kExitOk ? kExitCantCreate : status;
    }
    return status;
  } catch (const std::bad_alloc&) {
    err << "polarsketch: out of memory\n";
    return kExitSoftware;
  } catch (const std::exception& e) {
    // A fault of the system below: said, never a crash.
    err << "polarsketch: " << e.what() << '\n';
    return kExitSoftware;
  }
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        std::istream& in) {
  return run(request_of(args), out, err, in);
}

}  // namespace polarsketch::cli
