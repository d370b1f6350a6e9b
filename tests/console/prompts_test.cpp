// The prompt routines: exact prompt lines, defaults, free-format reading,
// error frames with re-asking, yes/no answers, text answers, end of input.
#include "console/prompts.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
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
const std::string kDots = " " + std::string(42, '.');
const std::string kAts = " " + std::string(43, '@');

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

Lines error_frame(const std::string& name11, const Lines& body) {
  return concat({error_head(name11), body, error_tail()});
}

// The prompt of inintegvindef for "nb of points", range 1..1000, default 40.
const Lines kPointsPrompt = {kDots, " Enter nb of points", " inside  [1,1000]",
                             " or return for default value", " Default =           40"};

std::int32_t ask_points(std::int32_t def = 40) {
  std::int32_t iv = -1, ierr = 9;
  inintegvindef(iv, " nb of points   ", def, 1, 1000, ierr);
  EXPECT_EQ(ierr, 0);
  return iv;
}

TEST(Prompts, IntegerWithDefaultAndRange) {
  {
    ConsoleCapture cap("\n");
    EXPECT_EQ(ask_points(), 40);
    EXPECT_EQ(cap.lines(), concat({kPointsPrompt, {" New value =            40", kDots}}));
  }
  {
    ConsoleCapture cap(" 7\n");  // a leading blank selects the default
    EXPECT_EQ(ask_points(), 40);
  }
  for (const char* answer : {"7 8\n", "7,8\n", "7/8\n", "+7\n", "7\r\n", "7\t8\n"}) {
    ConsoleCapture cap(answer);
    EXPECT_EQ(ask_points(), 7) << answer;
  }
  {
    // Cut to 20 characters: the digits beyond are ignored.
    ConsoleCapture cap("00000000000000000012345\n");
    EXPECT_EQ(ask_points(), 12);
  }
}

TEST(Prompts, IntegerUnreadableAndOutOfRange) {
  ConsoleCapture cap("x7\n\n2000\n\n5\n");
  EXPECT_EQ(ask_points(), 5);
  EXPECT_EQ(cap.lines(),
            concat({kPointsPrompt,
                    error_frame("inintegvind", {" could not read nb of points", " ==> RETRYING"}),
                    kPointsPrompt,
                    error_frame("inintegvind",
                                {" nb of points = " + blanks(8) + "2000", " outside [1,1000]"}),
                    kPointsPrompt,
                    {" New value =             5", kDots}}));
}

TEST(Prompts, IntegerDefaultOutsideRangeIsRejected) {
  ConsoleCapture cap("\n\n3\n");
  EXPECT_EQ(ask_points(0), 3);
  const Lines l = cap.lines();
  EXPECT_EQ(l[14], " nb of points = " + blanks(11) + "0");
}

TEST(Prompts, RangeLineWidths) {
  ConsoleCapture cap("\n");
  std::int32_t iv = 0, ierr = 0;
  inintegvindef(iv, "dip", 0, -90, 90, ierr);
  EXPECT_EQ(cap.lines()[2], " inside  [-90,90]");
  cap.take();
  cap.set_input("\n");
  inintegvindef(iv, "dip", 2, 0, 5, ierr);
  EXPECT_EQ(cap.lines()[2], " inside  [0,5]");
}

TEST(Prompts, StrictNumberReading) {
  std::int32_t i = 0;
  EXPECT_TRUE(read_free_int("  -2147483648", i));
  EXPECT_EQ(i, std::numeric_limits<std::int32_t>::min());
  for (const char* bad : {"2147483648", "7.0", "7.5", "0x10", "7x", "-", "", ",7", "1e3", "3*7"})
    EXPECT_FALSE(read_free_int(bad, i)) << bad;

  float v = 0.0f;
  const std::pair<const char*, float> good[] = {
      {"1.5", 1.5f},     {"-.5", -0.5f}, {"5.", 5.0f},    {"2e3", 2000.0f},  {"2.5D-1", 0.25f},
      {"+1E+2", 100.0f}, {"3,4", 3.0f},  {"1e-50", 0.0f}, {"12 junk", 12.0f}};
  for (auto [text, value] : good) {
    EXPECT_TRUE(read_free_real(text, v)) << text;
    EXPECT_EQ(v, value) << text;
  }
  for (const char* bad : {"nan", "inf", "-Infinity", "0x1p3", "1e39", "-4e38", ".", "e5", "1e",
                          "1.2.3", "1e+", "--1", "5q"})
    EXPECT_FALSE(read_free_real(bad, v)) << bad;
}

TEST(Prompts, IntegerWithoutOptionalLines) {
  ConsoleCapture cap("12\n");
  iocom.lwito(2) = false;
  std::int32_t iv = 0, ierr = 0;
  inintegdef(iv, "count", 3, ierr);
  EXPECT_EQ(iv, 12);
  EXPECT_EQ(cap.lines(), (Lines{" Enter count", " New value =            12"}));
}

TEST(Prompts, DirectReadPassesOverEmptyLines) {
  {
    ConsoleCapture cap("\n   \n\n42\n");
    std::int32_t iv = 0, ierr = 0;
    ininteg1(iv, "your choice", ierr);
    EXPECT_EQ(iv, 42);
    EXPECT_EQ(cap.lines(),
              (Lines{kDots, " Enter your choice", " New value =            42", kDots}));
  }
  {
    ConsoleCapture cap("\n9\n\n x\n\n 3 4\n");
    std::int32_t iv = 0, ierr = 0;
    inintegvin1(iv, "index of color to modify", 0, 5, ierr);
    EXPECT_EQ(iv, 3);
    const Lines prompt = {kDots, " Enter index of color to modify", " inside  [0,5]"};
    EXPECT_EQ(cap.lines(),
              concat({prompt,
                      error_frame("inintegvin1",
                                  {" index of color to modify =            9", " outside [0,5]"}),
                      prompt,
                      error_frame("inintegvin1",
                                  {" could not read index of color to modify", " ==> RETRYING"}),
                      prompt,
                      {" New value =             3", kDots}}));
  }
}

TEST(Prompts, IntegerNoTrimVariant) {
  ConsoleCapture cap("abc\n\n\n");
  iocom.lwito(2) = false;  // shows every line anyway
  std::int32_t iv = 0, ierr = 0;
  inintegdefnp(iv, "your choice ", 99, ierr);
  EXPECT_EQ(iv, 99);
  const Lines prompt = {" Enter your choice ", " or return for default value",
                        " Default =           99"};
  Lines outdated = {" " + std::string(24, '@'),
                    "   " + std::string(20, '@') + "  ",
                    "     " + std::string(16, '@') + "    ",
                    "       " + std::string(12, '@') + "      ",
                    "         " + std::string(8, '@') + "        ",
                    "           " + std::string(4, '@') + "          ",
                    " " + std::string(24, '@')};
  Lines bottom(outdated.rbegin(), outdated.rend());
  outdated.push_back(" OUTDATED    errortail0  ");
  outdated.insert(outdated.end(), bottom.begin(), bottom.end());
  Lines frame = error_frame(
      "inintegdefn", {" could not read your choice ", "              RETRYING              "});
  frame.insert(frame.end() - 2, outdated.begin(), outdated.end());
  EXPECT_EQ(cap.lines(), concat({{kDots}, prompt, frame, prompt, {kDots}}));
}

TEST(Prompts, RealWithDefault) {
  ConsoleCapture cap("\n");
  float v = 10.0f;
  std::int32_t ierr = 0;
  inrealdef(v, "azimuth in degrees", v, ierr);
  EXPECT_EQ(v, 10.0f);
  EXPECT_EQ(cap.lines(), (Lines{kDots, " Enter azimuth in degrees", " or return for default value",
                                " Default =  10.0000    ", " New value =   10.0000    ", kDots}));
  cap.take();
  cap.set_input("1234567\n");
  inrealdef(v, "azimuth in degrees", v, ierr);
  EXPECT_EQ(v, 1234567.0f);
  EXPECT_EQ(cap.lines()[4], " New value =  0.123457E+07");
  cap.take();
  cap.set_input("nan\n\n-0.5d0\n");
  inrealdef(v, "azimuth in degrees", v, ierr);
  EXPECT_EQ(v, -0.5f);
  EXPECT_EQ(cap.lines()[13], " could not read azimuth in degrees");
  EXPECT_EQ(cap.lines().end()[-2], " New value =  -.500000    ");
}

TEST(Prompts, RealWithRange) {
  ConsoleCapture cap("150\n\n55.5\n");
  float v = 50.0f;
  std::int32_t ierr = 0;
  inrealvindef(v, "red component (%)", v, 0.0f, 100.0f, ierr);
  EXPECT_EQ(v, 55.5f);
  const Lines prompt = {kDots, " Enter red component (%)", " inside  [   0.00, 100.00]",
                        " or return for default value", " Default =   50.00"};
  EXPECT_EQ(cap.lines(), concat({prompt,
                                 error_frame("inrealvinde", {" red component (%) =  150.000    ",
                                                             " outside [   0.00, 100.00]"}),
                                 prompt,
                                 {" New value =   55.5000    ", kDots}}));
}

TEST(Prompts, RealRangeAndDefaultFormatsByMagnitude) {
  struct Case {
    float lo, hi, def;
    std::string range;
    std::string deflt;
  };
  const Case cases[] = {
      {-1.0f, 1.0f, 0.5f, " inside  [-1.000, 1.000]", " Default =  0.500"},
      {0.0f, 90.0f, 45.0f, " inside  [  0.000, 90.000]", " Default =  45.000"},
      {1.0f, 5000.0f, 2.0f, " inside  [      1.0,5000.00]", " Default = " + blanks(14) + "2.    "},
      {0.0f, 2.0e6f, 3.0f, " inside  [" + blanks(10) + "0.0," + blanks(3) + "2000000.]",
       " Default = " + blanks(14) + "3.    "},
      {0.0f, 1.0e11f, 3.0f, " inside  [ 0.00000    ,0.100000E+12]",
       " Default = " + blanks(14) + "3.    "},
  };
  for (const Case& c : cases) {
    ConsoleCapture cap("\n");
    float v = c.def;
    std::int32_t ierr = 0;
    inrealvindef(v, "x", c.def, c.lo, c.hi, ierr);
    EXPECT_EQ(cap.lines()[2], c.range);
    EXPECT_EQ(cap.lines()[4], c.deflt);
  }
  // The value passed in widens the default's field.
  ConsoleCapture cap("\n");
  float v = 500.0f;
  std::int32_t ierr = 0;
  inrealvindef(v, "x", 1.5f, 0.0f, 10.0f, ierr);
  EXPECT_EQ(cap.lines()[4], " Default =    1.50");
  EXPECT_EQ(v, 1.5f);
}

TEST(Prompts, RealDefaultNotANumberIsRejected) {
  ConsoleCapture cap("\n\n2\n");
  float v = 0.0f;
  std::int32_t ierr = 0;
  inrealvindef(v, "x", std::numeric_limits<float>::quiet_NaN(), 0.0f, 5.0f, ierr);
  EXPECT_EQ(v, 2.0f);
  EXPECT_EQ(cap.lines()[14], " x = " + blanks(9) + "NaN");
}

const Lines kYesNoHelp = {kAts,
                          " @ subroutine inlogicdef ",
                          " @" + std::string(42, '='),
                          "    To         type           ",
                          " -----------------------------",
                          " get help      h or H         ",
                          " answer Yes    y or Y or 1    ",
                          " answer No     n or N or 0    ",
                          " use default   Carriage Return",
                          kAts};

TEST(Prompts, YesNoAnswers) {
  const std::pair<const char*, bool> answers[] = {{"y\n", true},  {"Yes\n", true}, {"Y\n", true},
                                                  {"1\n", true},  {"n\n", false},  {"N\n", false},
                                                  {"0\n", false}, {"\n", false},   {" y\n", false}};
  for (auto [answer, expected] : answers) {
    ConsoleCapture cap(answer);
    bool l = !expected;
    std::int32_t ierr = 3;
    inlogicdef(l, " whether to draw stereo frame ", false, ierr);
    EXPECT_EQ(l, expected) << answer;
    EXPECT_EQ(ierr, 0);
    EXPECT_EQ(cap.lines(),
              (Lines{kDots, " whether to draw stereo frame ?", " Enter (0/1)(n/y)(N/Y)",
                     " or return for default value or h for help", " Default = No ",
                     expected ? " New value =  Yes" : " New value =  No", kDots}))
        << answer;
  }
}

TEST(Prompts, YesNoHelpAndWrongAnswer) {
  ConsoleCapture cap("h\nq\n\n\n");
  bool l = false;
  std::int32_t ierr = 0;
  inlogicdef(l, "draw", true, ierr);
  EXPECT_TRUE(l);
  const Lines ask = {kDots, " draw ?", " Enter (0/1)(n/y)(N/Y)",
                     " or return for default value or h for help", " Default = Yes"};
  EXPECT_EQ(
      cap.lines(),
      concat({ask,
              kYesNoHelp,
              ask,
              error_frame("inlogicdef ", {" incorrect answer: q", " ==> WILL ASK QUESTION AGAIN"}),
              kYesNoHelp,
              ask,
              {" New value =  Yes", kDots}}));
}

TEST(Prompts, YesNoOnGivenUnitsAlwaysShowsEverything) {
  ConsoleCapture cap("H\nn\n");
  iocom.lwito(2) = false;
  bool l = true;
  std::int32_t ierr = 0;
  inlogicdef2(l, "STOP", true, 5, 6, ierr);
  EXPECT_FALSE(l);
  const Lines ask = {" STOP ?", " Enter (0/1)(n/y)(N/Y)",
                     " or return for default value or h for help", " Default = Yes"};
  Lines help = kYesNoHelp;
  help[1] = " @ subroutine inlogicdef2";
  EXPECT_EQ(cap.lines(), concat({{kDots}, ask, help, ask, {" New value =  No", kDots}}));
}

TEST(Prompts, TextAnswers) {
  {
    ConsoleCapture cap("\n");
    std::string v(10, ' ');
    std::int32_t ierr = 0;
    inchardef(v, "new color name", "  red     ", ierr);
    EXPECT_EQ(v, "  red     ");
    EXPECT_EQ(cap.lines(), (Lines{kDots, " Enter new color name", " or return for default value",
                                  " Default = red", " ichar =  32 => use default value",
                                  " New value =   red     ", kDots}));
  }
  {
    ConsoleCapture cap(" blue\n");  // a leading blank selects the default too
    std::string v(10, ' ');
    std::int32_t ierr = 0;
    inchardef(v, "name", "red", ierr);
    EXPECT_EQ(v, "red       ");
    EXPECT_EQ(cap.lines()[4], " ichar =  32 => use default value");
  }
  {
    ConsoleCapture cap("a much longer name than fits\n");
    std::string v(6, ' ');
    std::int32_t ierr = 0;
    inchardef(v, "name", "red", ierr);
    EXPECT_EQ(v, "a much");
    EXPECT_EQ(cap.lines()[4], " New value = a much");
  }
  {
    ConsoleCapture cap(std::string(90, 'z') + "\n");  // the buffer keeps 80 characters
    std::string v(100, ' ');
    std::int32_t ierr = 0;
    inchardef(v, "name", "red", ierr);
    EXPECT_EQ(v, std::string(80, 'z') + blanks(20));
  }
  {
    ConsoleCapture cap("\n");
    std::string v(5, 'q');
    std::int32_t ierr = 0;
    inchar1(v, " file name ", ierr);
    EXPECT_EQ(v, blanks(5));
    EXPECT_EQ(cap.lines(), (Lines{kDots, " Enter file name", " New value =      ", kDots}));
  }
}

TEST(Prompts, EndOfInputStopsTheRun) {
  const std::vector<std::function<void()>> asks = {
      [] {
        std::int32_t iv = 0, e = 0;
        inintegdef(iv, "n", 1, e);
      },
      [] {
        std::int32_t iv = 0, e = 0;
        ininteg1(iv, "your choice", e);
      },
      [] {
        float v = 0.0f;
        std::int32_t e = 0;
        inrealvindef(v, "x", 1.0f, 0.0f, 2.0f, e);
      },
      [] {
        bool l = false;
        std::int32_t e = 0;
        inlogicdef(l, "q", true, e);
      },
      [] {
        std::string v(4, ' ');
        std::int32_t e = 0;
        inchardef(v, "t", "d", e);
      },
  };
  for (const auto& ask : asks) {
    ConsoleCapture cap("\n\n");  // empty lines only: the direct read keeps waiting
    if (stop_status(ask) == kExitEndOfInput) {
      EXPECT_EQ(cap.lines().back(), " ===> END OF INPUT: STOPPING EXECUTION");
      continue;
    }
    cap.set_input("");
    EXPECT_EQ(stop_status(ask), kExitEndOfInput);
    EXPECT_EQ(cap.lines().back(), " ===> END OF INPUT: STOPPING EXECUTION");
  }
  // At the pause after an error frame.
  ConsoleCapture cap("5000\n");
  EXPECT_EQ(stop_status([] { ask_points(); }), kExitEndOfInput);
  const Lines l = cap.lines();
  EXPECT_EQ(Lines(l.end() - 2, l.end()),
            (Lines{" ===> HIT RETURN TO CONTINUE", " ===> END OF INPUT: STOPPING EXECUTION"}));
}

}  // namespace
}  // namespace polarsketch::console
