// The main program: start-up, the main menu and the command loop.
#pragma once

#include <cstdint>

#include "app/params.hpp"
#include "render/siblings.hpp"

namespace polarsketch::app {

// Runs the whole program on the console units; returns the exit status
// (0 after a quit, 1 after a stop on error, 2 when console input ended).
int run_program();
// The same, and every plot file gets, when it is closed, its sibling files
// in the formats asked for (see render/siblings.hpp for their names).
int run_program(const render::SiblingFormats& also);

// Start-up: the console units, banners and run information, every component's
// start settings, the three plot size types, and the parameters' start values.
void startup(MainParams& p);

// The main menu with the current parameter values, inside its frame.
void print_main_menu(const MainParams& p);

// Stage 1: the commands that change a parameter or open a settings menu.
// Other numbers change nothing.
void settings_stage(std::int32_t irep, MainParams& p);

// Stage 3: 9999 ends the loop; 999 asks for confirmation, and an answer other
// than 999 replaces irep as the command for the drawing stage. Returns true
// when the loop ends.
bool quit_stage(std::int32_t& irep);

// The closing art and the goodbye lines.
void goodbye();

}  // namespace polarsketch::app
