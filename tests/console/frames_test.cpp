// Frames, tails, the pause, escalation, the range checkers and the start-up report.
#include "console/frames.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "console/stop.hpp"
#include "support/frame_text.hpp"
#include "support/test_support.hpp"

namespace polarsketch::console {
namespace {

using testing::ConsoleCapture;
using testing::stop_status;
using testing::frames::concat;
using testing::frames::error_head;
using testing::frames::error_tail;
using Lines = std::vector<std::string>;

const std::string kStars = " " + std::string(43, '*');
const std::string kSlashes = " " + std::string(43, '/');
const std::string kAts = " " + std::string(43, '@');
const std::string kDots = " " + std::string(42, '.');

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// The sad face as printed: six blanks, 18 art lines, six blanks.
Lines sad_face() {
  const char* art[] = {
      "            &&&&&&&&&&&&            ", "        &&                &&        ",
      "     &&                      &&     ", "   &&                          &&   ",
      "  &&                            &&  ", " &&                              && ",
      " &        &&&          &&&        & ", "&&        &&&          &&&        &&",
      "&&                                &&", "&&                                &&",
      "&&                                &&", " &          &&&&&&&&&&&&          & ",
      " &&      &&&            &&&      && ", "  &&   &&                  &&   &&  ",
      "   &&                          &&   ", "     &&                      &&     ",
      "        &&                &&        ", "            &&&&&&&&&&&&            ",
  };
  Lines l{blanks(6)};
  for (const char* a : art) l.push_back(blanks(4) + a + blanks(4));
  l.push_back(blanks(6));
  return l;
}

// The yes/no question of the escalation routines, always with its help lines.
Lines stop_question(const std::string& q, const std::string& def, const std::string& echo) {
  return {kDots,
          " " + q + " ?",
          " Enter (0/1)(n/y)(N/Y)",
          " or return for default value or h for help",
          " Default = " + def,
          " New value =  " + echo,
          kDots};
}

TEST(Frames, MenuFrames) {
  ConsoleCapture cap;
  submenuhead("sspro", "1.0", "2001-01-01");
  menutail();
  subtail("sspro");  // maximum output is off: nothing
  iocom.lwito(3) = true;
  subtail("averyveryverylongname");
  EXPECT_EQ(cap.lines(), (Lines{kAts, " @ subroutine sspro      ", " @" + std::string(42, '='),
                                kAts, kAts, " @ exiting averyveryve", kAts}));
}

TEST(Frames, ErrorAndWarningFramesPause) {
  ConsoleCapture cap("\nanything\n");
  errorhead("inintegvindef");
  errortail00();
  warninghead("crevin");
  warningtail00();
  EXPECT_EQ(cap.lines(), concat({error_head("inintegvind"),
                                 error_tail(),
                                 {kSlashes, " ///        subroutine crevin" + blanks(11) + " ///",
                                  " ///               WARNING               ///", kSlashes,
                                  " ===> HIT RETURN TO CONTINUE", kSlashes}}));
}

TEST(Frames, TailsWithoutPauseOrWithCommandFile) {
  ConsoleCapture cap("\n");
  iocom.lcrerr = false;
  errortail00();
  warningtail00();
  EXPECT_EQ(cap.lines(), (Lines{kStars, kSlashes}));
  cap.take();
  iocom.lcrerr = true;
  iocom.locom = true;
  errortail00();
  EXPECT_EQ(cap.lines(), (Lines{" ===> HIT RETURN TO RESUME COMMANDS", kStars}));
}

TEST(Frames, OutdatedTails) {
  ConsoleCapture cap("\n\n");
  errortail0(3);
  const Lines block_top = {" " + std::string(24, '@'),
                           "   " + std::string(20, '@') + "  ",
                           "     " + std::string(16, '@') + "    ",
                           "       " + std::string(12, '@') + "      ",
                           "         " + std::string(8, '@') + "        ",
                           "           " + std::string(4, '@') + "          ",
                           " " + std::string(24, '@')};
  Lines block_bottom(block_top.rbegin(), block_top.rend());
  EXPECT_EQ(cap.lines(),
            concat({block_top, {" OUTDATED    errortail0  "}, block_bottom, error_tail()}));
  cap.take();
  warningtail0();
  const Lines lines = cap.lines();
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[7], " OUTDATED    warningtail0");
  EXPECT_EQ(lines[16], kSlashes);
}

TEST(Frames, PauseStopsAtEndOfInput) {
  ConsoleCapture cap("");
  EXPECT_EQ(stop_status([] { warningtail00(); }), kExitEndOfInput);
  EXPECT_EQ(cap.lines(),
            (Lines{" ===> HIT RETURN TO CONTINUE", " ===> END OF INPUT: STOPPING EXECUTION"}));
}

TEST(Frames, ErrorstopLevels) {
  {
    ConsoleCapture cap("\n");
    errorstop(0);  // default Yes: resume
    EXPECT_EQ(cap.lines(), concat({{" RECOVERABLE ERROR ==> RESUMING EXECUTION ADVISED"},
                                   stop_question("RESUME", "Yes", "Yes"),
                                   {" RESUMING EXECUTION"}}));
  }
  {
    ConsoleCapture cap("n\n");
    EXPECT_EQ(stop_status([] { errorstop(0); }), kExitError);
    EXPECT_EQ(cap.lines(),
              concat({{" RECOVERABLE ERROR ==> RESUMING EXECUTION ADVISED"},
                      stop_question("RESUME", "Yes", "No"),
                      {" EXECUTION STOPPED BY USER", " AFTER RECOVERABLE ERROR", kStars}}));
  }
  {
    ConsoleCapture cap("\n");
    EXPECT_EQ(stop_status([] { errorstop(1); }), kExitError);  // default Yes: stop
    EXPECT_EQ(cap.lines(),
              concat({sad_face(),
                      {" UNRECOVERABLE ERROR ==> QUITTING ADVISED"},
                      stop_question("STOP", "Yes", "Yes"),
                      {" EXECUTION STOPPED BY USER", " AFTER UNRECOVERABLE ERROR",
                       " Copying the above information", " and sending it to the program author",
                       " might be helpful", kStars}}));
  }
  {
    ConsoleCapture cap("0\n");
    errorstop(1);
    const Lines l = cap.lines();
    EXPECT_EQ(Lines(l.end() - 3, l.end()),
              (Lines{" ENTERING THE TWILIGHT ZONE OF COMPUTING !",
                     " THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE", " RESUMING EXECUTION"}));
  }
  {
    ConsoleCapture cap;
    EXPECT_EQ(stop_status([] { errorstop(2); }), kExitError);
    EXPECT_EQ(cap.lines(),
              concat({sad_face(),
                      {" UNRECOVERABLE ERROR", " EXECUTION STOPPED BY PROGRAM",
                       " Copying the above information", " and sending it to the program author",
                       " might be helpful", kStars}}));
  }
  {
    ConsoleCapture cap;
    errorstop(5);
    errorstop(-1);
    EXPECT_TRUE(cap.text().empty());
  }
}

TEST(Frames, ErrortailWithEscalation) {
  {
    ConsoleCapture cap("\n\n");
    iocom.lcrerr = false;  // the pause comes anyway
    errortail01(0);        // default No: resume
    EXPECT_EQ(cap.lines(),
              concat({{" RECOVERABLE ERROR ====> CAN RESUME EXECUTION"},
                      stop_question("STOP", "No ", "No"),
                      {" RESUMING EXECUTION", " ===> HIT RETURN TO CONTINUE", kStars}}));
  }
  {
    ConsoleCapture cap("n\n\n");
    errortail01(1);
    EXPECT_EQ(cap.lines(), concat({sad_face(),
                                   {" UNRECOVERABLE ERROR =====> QUITTING ADVISED"},
                                   stop_question("STOP", "Yes", "No"),
                                   {" ENTERING THE TWILIGHT ZONE OF COMPUTING !",
                                    " THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE",
                                    " ===> HIT RETURN TO CONTINUE", kStars}}));
  }
  {
    ConsoleCapture cap("y\n");
    EXPECT_EQ(stop_status([] { errortail01(0); }), kExitError);
    const Lines l = cap.lines();
    EXPECT_EQ(Lines(l.end() - 2, l.end()), (Lines{" EXECUTION STOPPED AFTER ERROR", kStars}));
  }
  {
    ConsoleCapture cap("n\n");  // the pause meets the end of input
    EXPECT_EQ(stop_status([] { errortail01(2); }), kExitEndOfInput);
    EXPECT_EQ(cap.lines().back(), " ===> END OF INPUT: STOPPING EXECUTION");
  }
}

TEST(Frames, IntegerRangeCheck) {
  ConsoleCapture cap("n\n\n");
  std::int32_t ierr = 5;
  cinvin(3, 1, 3, "scolornb", "nb of colors", ierr);
  EXPECT_EQ(ierr, 0);
  EXPECT_TRUE(cap.text().empty());
  cinvin(-4, 0, 12, "  scolornb ", " nb of colors ", ierr);
  EXPECT_EQ(ierr, 1);
  EXPECT_EQ(cap.lines(), concat({error_head("cinvin     "),
                                 {" nb of colors = " + blanks(10) + "-4",
                                  " outside [ " + blanks(11) + "0 , " + blanks(10) + "12 ]",
                                  " Problem originated in :", " subroutine: scolornb"},
                                 sad_face(),
                                 {" UNRECOVERABLE ERROR =====> QUITTING ADVISED"},
                                 stop_question("STOP", "Yes", "No"),
                                 {" ENTERING THE TWILIGHT ZONE OF COMPUTING !",
                                  " THE VALIDITY OF WHAT FOLLOWS IS QUESTIONABLE",
                                  " ===> HIT RETURN TO CONTINUE", kStars}}));
}

TEST(Frames, RealRangeCheckByGravity) {
  {
    ConsoleCapture cap("\n");
    std::int32_t ierr = 7;
    float v = 0.5f;
    crevin2("scale", v, 0.0f, 1.0f, "sus2cm1", 0, ierr);
    EXPECT_EQ(ierr, 0);
    EXPECT_TRUE(cap.text().empty());
    v = 2.5f;
    crevin2(" scale ", v, 0.0f, 1.0f, " sus2cm1 ", 0, ierr);
    EXPECT_EQ(ierr, 1);
    EXPECT_EQ(v, 1.0f);
    EXPECT_EQ(cap.lines(), (Lines{kSlashes, " ///        subroutine crevin" + blanks(11) + " ///",
                                  " ///               WARNING               ///", kSlashes,
                                  " Problem in subroutine: sus2cm1",
                                  " scale =        2.500000 outside [        0.000000 ,        "
                                  "1.000000 ]",
                                  " ==> RESET scale =        1.000000",
                                  " ===> HIT RETURN TO CONTINUE", kSlashes}));
  }
  {
    ConsoleCapture cap("\n");
    std::int32_t ierr = 0;
    float v = -3.0f;
    crevin2("x", v, -1.0f, 1.0f, "r", 1, ierr);
    EXPECT_EQ(v, -1.0f);
    const Lines l = cap.lines();
    EXPECT_EQ(Lines(l.begin(), l.begin() + 9), error_head("crevin     "));
    EXPECT_EQ(l.back(), kStars);
  }
  {
    ConsoleCapture cap;
    std::int32_t ierr = 0;
    float v = 9.0f;
    EXPECT_EQ(stop_status([&] { crevin2("x", v, -1.0f, 1.0f, "r", 4, ierr); }), kExitError);
    EXPECT_EQ(v, 9.0f);  // not clamped before the stop
    EXPECT_EQ(cap.lines()[10],
              " x =        9.000000 outside [       -1.000000 ,        1.000000 ]");
    EXPECT_EQ(cap.lines()[11], blanks(6));  // the sad face follows at once
  }
  {
    // An unknown gravity is reported and treated as 3: the stop question.
    ConsoleCapture cap("n\n\n");
    std::int32_t ierr = 0;
    float v = 9.0f;
    crevin2("x", v, -1.0f, 1.0f, "r", 7, ierr);
    EXPECT_EQ(v, 1.0f);
    const Lines l = cap.lines();
    EXPECT_EQ(l[12], " unknown  gravity = " + blanks(11) + "7");
    EXPECT_EQ(l[13], " ==> RESET gravity = " + blanks(11) + "3");
    EXPECT_EQ(l[14], blanks(6));
    EXPECT_EQ(Lines(l.end() - 3, l.end()),
              (Lines{" RESUMING EXECUTION", " ===> HIT RETURN TO CONTINUE", kStars}));
  }
}

TEST(Iocom, StartupReport) {
  ConsoleCapture cap;
  iocom.iti = 1;
  iocom.lop = true;
  iocom.lwito(3) = true;
  initsio();
  EXPECT_EQ(iocom.iti, 5);
  EXPECT_FALSE(iocom.lop);
  EXPECT_FALSE(iocom.lwito(3));
  EXPECT_EQ(cap.lines(),
            (Lines{kAts, " @ subroutine initsio    ", " @" + std::string(42, '='),
                   " INITIALIZING INPUT/OUTPUT", " standard  input unit        =  5",
                   " standard output unit        =  6", " error     input unit        =  5",
                   " error    output unit        =  6", " minimum output enabled      :  T",
                   " more    output enabled      :  T", " maximum output enabled      :  F",
                   " command file open status    :  F", " plot    file open status    :  F",
                   " pause after warning or error:  T", kAts}));
}

}  // namespace
}  // namespace polarsketch::console
