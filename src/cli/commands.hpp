// The forms of the command line, each run on its request.
#pragma once

#include <iosfwd>

#include "cli/request.hpp"

namespace polarsketch::cli {

// Draws the data sets on one stereonet page into the request's plot file.
int run_plot(const PlotRequest& request, std::istream& in, std::ostream& out, std::ostream& err);

// Prints, per data set, its file, count, kind and notation, and its statistics
// (a table, or CSV with --csv).
int run_stats(const StatsRequest& request, std::istream& in, std::ostream& out, std::ostream& err);

// Counts the azimuths of all data sets together into one rose: the figure
// into the request's plot file, the bins and statistics as CSV with --csv.
int run_rose(const RoseRequest& request, std::istream& in, std::ostream& out, std::ostream& err);

// Per data set, the table of its faults of known sense (P, T, B and misfit)
// and the stress inversion's result; CSV with --csv and --result-csv.
int run_faults(const FaultsRequest& request, std::istream& in, std::ostream& out,
               std::ostream& err);
// Prints, per failure mode of the slope, the critical and secondary counts,
// their percentages and the denominator; writes the critical items as CSV
// with --csv.
int run_kinematics(const KinematicsRequest& request, std::istream& in, std::ostream& out,
                   std::ostream& err);

// Rotates the data sets by the steps in order and writes them as one
// measurement file; the net rotation on standard error.
int run_rotate(const RotateRequest& request, std::istream& in, std::ostream& out,
               std::ostream& err);

// Splits the data into sets by axial k-means and writes them as one
// measurement file with a set column; each set's summary on standard error.
int run_sets(const SetsRequest& request, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace polarsketch::cli
