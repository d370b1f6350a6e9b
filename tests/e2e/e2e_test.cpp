// Scripted console sessions of the whole program: the main menu, the
// parameter commands, quitting, and input that ends anywhere.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "console/runinfo.hpp"
#include "e2e/session.hpp"
#include "support/test_support.hpp"

namespace polarsketch::e2e {
namespace {

// Script lines that answer the start-up dialog (the start banner's pause).
const std::string kStart = "\n";

// Runs a script and compares the whole console text and the exit status.
void expect_session(const std::string& script, const Expected& expected, int status) {
  const SessionResult r = run_session(kStart + script);
  EXPECT_EQ(mask_session(r.output), expected.text());
  EXPECT_EQ(r.status, status) << "in " << r.directory;
}

TEST(EndToEndSession, MenuAtStartAndFastQuit) {
  Expected e;
  e.startup().main_menu().your_choice(9999).goodbye();
  expect_session("9999\n", e, 0);
}

TEST(EndToEndSession, QuitConfirmedByDefaultOrByTyping999) {
  Expected e;
  e.startup().main_menu().your_choice(999);
  e.ask_int_default("999 to confirm quit", 999, 999).goodbye();
  expect_session("999\n\n", e, 0);
  expect_session("999\n999\n", e, 0);
}

TEST(EndToEndSession, CancelledQuitAndUnknownCommandsShowTheMenuAgain) {
  Expected e;
  e.startup().main_menu().your_choice(999);
  e.ask_int_default("999 to confirm quit", 999, 0);
  e.main_menu().your_choice(7);
  e.main_menu().your_choice(-3);
  e.main_menu().your_choice(9999).goodbye();
  expect_session("999\n0\n7\n-3\n9999\n", e, 0);
}

TEST(EndToEndSession, OrientationAndSmallCircleParameters) {
  Expected e;
  MenuValues v;
  e.startup().main_menu(v).your_choice(60);
  e.ask_real("azimuth in degrees", " 90.0000    ", " 123.456    ");
  v.az = "  123.46";
  e.main_menu(v).your_choice(61);
  e.ask_real("dip or plunge in degrees", " 45.0000    ", "-.500000    ");
  v.dip = "   -0.50";
  e.main_menu(v).your_choice(62);
  e.ask_real("rake in degrees", "-90.0000    ", "-90.0000    ");  // empty answer keeps it
  e.main_menu(v).your_choice(63);
  e.ask_real("cone half angle in degrees", " 30.0000    ", "0.123457E+07");
  v.scang = "********";  // 1234567 does not fit 8 columns with 2 decimals
  e.main_menu(v).your_choice(64);
  e.line("Setting arc of small circle")
      .line("initial & final angles from dip")
      .line("NB: lower sphere in [90,270]");
  e.ask_real("intial angle in degrees", " 90.0000    ", " 100.000    ");
  e.ask_real("final angle in degrees", " 270.000    ", " 260.500    ");
  v.ang01 = "  100.00";
  v.ang02 = "  260.50";
  e.main_menu(v).your_choice(9999).goodbye();
  expect_session("60\n123.456\n61\n-.5\n62\n\n63\n1234567\n64\n100\n260.5\n9999\n", e, 0);
}

TEST(EndToEndSession, StereonetParameters) {
  Expected e;
  MenuValues v;
  e.startup().main_menu(v).your_choice(70);
  e.ask_int_default("great circle increments (deg & integer)", 5, 10);
  v.idg = "   10";
  e.main_menu(v).your_choice(71);
  e.line("Setting bounding great circle").line("initial & final dip angles");
  e.ask_real("1st great circle dip (deg)", " 10.0000    ", " 20.0000    ");
  e.ask_real("2nd great circle dip (deg)", " 80.0000    ", " 70.2500    ");
  v.d1 = "   20.00";
  v.d2 = "   70.25";
  e.main_menu(v).your_choice(80);
  e.ask_int_default("small circle increments (deg & integer)", 5, -15);
  v.ids = "  -15";
  e.main_menu(v).your_choice(81);
  e.line("Setting bounding small circle").line("initial & final 1/2 angles");
  e.ask_real("1st small circle 1/2 angle (deg)", " 10.0000    ", " 0.00000    ");
  e.ask_real("2nd small circle 1/2 angle (deg)", " 80.0000    ", " 80.0000    ");
  v.ang1 = "    0.00";
  e.main_menu(v).your_choice(90);
  // 3 is outside the bounds: the error frame, then the question again.
  e.ask_int_range_prompt("Full(1) or half sphere(2) (1/2)?", 2, 1, 2);
  e.int_out_of_range("inintegvind", "Full(1) or half sphere(2) (1/2)?", 3, 1, 2);
  e.ask_int_range("Full(1) or half sphere(2) (1/2)?", 2, 1, 2, 1);
  v.isp = "    1";
  e.main_menu(v).your_choice(9999).goodbye();
  expect_session("70\n10\n71\n20\n70.25\n80\n-15\n81\n0\n\n90\n3\n\n1\n9999\n", e, 0);
}

TEST(EndToEndSession, PlotSizeFileNameAndFrameSettings) {
  Expected e;
  MenuValues v;
  e.startup().main_menu(v).your_choice(11);
  const std::string rule(43, '-');
  e.line(rule).line("Change plot size type for...Command");
  e.line("Adjustable scale ................ 1")
      .line("Fsa small stereo ................ 2")
      .line("Fsa large stereo ................ 3")
      .line(rule);
  e.ask_int_range("command", 1, 1, 3, 2);
  v.size = "Fsa small stereo";
  v.size_type_1 = false;
  e.main_menu(v).your_choice(18);
  e.line("enter plot file name (character*10)");
  v.fname = "  my net.ps";  // the whole line, leading blanks included
  e.main_menu(v).your_choice(41);
  e.ask_yes_no("whether to draw stereo frame", true, false);
  v.frame = "F";
  e.main_menu(v).your_choice(41);
  e.ask_yes_no("whether to draw stereo frame", false, false);  // empty answer keeps No
  e.main_menu(v).your_choice(9999).goodbye();
  expect_session("11\n2\n18\n  my net.ps\n41\nn\n41\n\n9999\n", e, 0);
}

TEST(EndToEndSession, LongPlotFileNameIsCutAt50Characters) {
  const std::string name(60, 'x');
  Expected e;
  MenuValues v;
  e.startup().main_menu(v).your_choice(18);
  e.line("enter plot file name (character*10)");
  v.fname = name.substr(0, 50);
  e.main_menu(v).your_choice(9999).goodbye();
  expect_session("18\n" + name + "\n9999\n", e, 0);
}

TEST(EndToEndSession, UnreadableCommandIsAskedAgain) {
  Expected e;
  e.startup().main_menu();
  e.line(std::string(42, '.')).line("Enter your choice");
  e.could_not_read("ininteg1", "your choice");
  e.ask_int("your choice", 9999).goodbye();
  expect_session("x7\n\n9999\n", e, 0);
}

// Input that ends anywhere stops the run at once with status 2.
TEST(EndToEndEndOfInput, AtTheMenu) {
  Expected e;
  e.startup().main_menu();
  e.line(std::string(42, '.')).line("Enter your choice").end_of_input();
  expect_session("", e, 2);
}

TEST(EndToEndEndOfInput, AtTheStartBannerThenAtTheMenu) {
  // The banner's pause lets a failed read pass; the menu's read then stops.
  Expected e;
  e.startup().main_menu();
  e.line(std::string(42, '.')).line("Enter your choice").end_of_input();
  const SessionResult r = run_session("");
  EXPECT_EQ(mask_session(r.output), e.text());
  EXPECT_EQ(r.status, 2);
}

TEST(EndToEndEndOfInput, AtANumberPrompt) {
  Expected e;
  e.startup().main_menu().your_choice(999);
  e.line(std::string(42, '.'))
      .line("Enter 999 to confirm quit")
      .line("or return for default value")
      .line("Default =          999")
      .end_of_input();
  expect_session("999\n", e, 2);
}

TEST(EndToEndEndOfInput, AtAYesNoPrompt) {
  Expected e;
  e.startup().main_menu().your_choice(41);
  e.ask_yes_no_prompt("whether to draw stereo frame", true).end_of_input();
  expect_session("41\n", e, 2);
}

TEST(EndToEndEndOfInput, AtAPause) {
  Expected e;
  e.startup().main_menu().your_choice(90);
  e.ask_int_range_prompt("Full(1) or half sphere(2) (1/2)?", 2, 1, 2);
  e.error_head("inintegvind")
      .line("Full(1) or half sphere(2) (1/2)? =            5")
      .line("outside [1,2]")
      .pause()
      .end_of_input();
  expect_session("90\n5\n", e, 2);
}

TEST(EndToEndEndOfInput, AtThePlotFileNameWithoutLineEnd) {
  // A last line without its line end is still a whole line.
  Expected e;
  MenuValues v;
  e.startup().main_menu(v).your_choice(18);
  e.line("enter plot file name (character*10)");
  v.fname = "net.ps";
  e.main_menu(v).line(std::string(42, '.')).line("Enter your choice").end_of_input();
  expect_session("18\nnet.ps", e, 2);
}

TEST(EndToEndSession, CarriageReturnsAreDropped) {
  Expected e;
  MenuValues v;
  e.startup().main_menu(v).your_choice(60);
  e.ask_real("azimuth in degrees", " 90.0000    ", " 10.0000    ");
  v.az = "   10.00";
  e.main_menu(v).your_choice(999);
  e.ask_int_default("999 to confirm quit", 999, 999).goodbye();
  expect_session("60\r\n10\r\n999\r\n\r\n", e, 0);
}

}  // namespace
}  // namespace polarsketch::e2e

namespace polarsketch::e2e {
namespace {

// The harness's own check of the closing picture, against the end banner of
// every units digit of the seconds; it must also notice a wrong picture.
TEST(EndToEndHarness, ClosingPictureOfEverySecondsDigitIsRecognised) {
  for (int s = 0; s < 10; ++s) {
    testing::ConsoleCapture cap;
    testing::FixedClock clock(2010, 2, 3, 9, 5, 10 + s);
    console::maintail("polarsketch", "11.3", "10-10-2009");
    Expected e;
    e.line(std::string(43, '@'))
        .line("@ PROGRAM polarsketch")
        .line("@ Version: 11.3")
        .line("@ EXECUTION TERMINATED AT: hh:mm:ss")
        .line("@" + std::string(42, '-'))
        .line("<closing picture>")
        .line(std::string(43, '@'));
    EXPECT_EQ(mask_session(cap.text()), e.text()) << "seconds " << 10 + s;
  }
}

TEST(EndToEndHarness, WrongClosingPictureIsReported) {
  testing::ConsoleCapture cap;
  testing::FixedClock clock(2010, 2, 3, 9, 5, 11);  // sator
  console::maintail("polarsketch", "11.3", "10-10-2009");
  std::string text = cap.text();
  text.replace(text.find("S A T O R"), 9, "R O T A S");
  EXPECT_NONFATAL_FAILURE(mask_session(text), "closing picture for seconds ending in 1");
}

}  // namespace
}  // namespace polarsketch::e2e
