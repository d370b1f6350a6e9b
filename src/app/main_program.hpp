// The main program: start-up, the main menu and the command loop.
#pragma once

namespace polarsketch::app {

// Runs the whole program on the console units; returns the exit status
// (0 after a quit, 1 after a stop on error, 2 when console input ended).
int run_program();

}  // namespace polarsketch::app
