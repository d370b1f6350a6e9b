// The orderly stop: thrown where the run must end, caught in main().
#pragma once

namespace polarsketch::console {

enum ExitStatus : int {
  kExitQuit = 0,          // the user quit from the main menu
  kExitError = 1,         // stopped after an error (user's choice or an unopenable file)
  kExitEndOfInput = 2,    // console input ended before a quit
  kExitInterrupted = 3,   // interrupted by a signal (Ctrl-C, kill, a closed terminal)
  kExitWriteFailed = 74,  // an output file could not be written (overrides the others)
};

// Not derived from std::exception so that no generic handler swallows it.
struct OrderlyStop {
  int status;
};

[[noreturn]] inline void stop_run(int status) { throw OrderlyStop{status}; }

// Set once an output file could not be written: the run goes on, but its exit
// status becomes kExitWriteFailed whatever else ends it.
inline bool write_failed = false;

// The exit status of a run that ended with `status`.
inline int final_status(int status) { return write_failed ? kExitWriteFailed : status; }

}  // namespace polarsketch::console
