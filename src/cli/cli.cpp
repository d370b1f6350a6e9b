// The command line: arguments to a request, the request run.
#include "cli/cli.hpp"

#include <exception>
#include <new>
#include <ostream>
#include <type_traits>
#include <variant>

#include "app/main_program.hpp"
#include "cli/commands.hpp"
#include "cli/request.hpp"
#include "console/units.hpp"

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
        } else if constexpr (std::is_same_v<T, InteractiveRequest>) {
          console::install_interrupt_handlers();
          return app::run_program(r.also);
        } else {
          return run_stats(r, in, out, err);
        }
      },
      request);
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        std::istream& in) {
  try {
    const int status = run_request(parse_arguments(args), out, err, in);
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

}  // namespace polarsketch::cli
