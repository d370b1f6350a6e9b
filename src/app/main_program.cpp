// The main program (placeholder until the command loop lands).
#include "app/main_program.hpp"

#include "console/stop.hpp"

namespace polarsketch::app {

int run_program() {
  try {
    return console::kExitQuit;
  } catch (const console::OrderlyStop& s) {
    return s.status;
  }
}

}  // namespace polarsketch::app
