// The manual page: groff formats it without a warning, and it describes
// every option the program's help texts name.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>

#include "analysis/density_methods.hpp"
#include "analysis/kinematics.hpp"
#include "cli/cli_run.hpp"
#include "figure/formats.hpp"
#include "postscript/ps_test_support.hpp"

namespace polarsketch::cli {
namespace {

const std::string kManual = std::string(POLARSKETCH_SOURCE_DIR) + "/man/polarsketch.1";

TEST(Manual, GroffFormatsItWithoutWarnings) {
  if (std::system("command -v groff >/dev/null 2>&1") != 0) GTEST_SKIP() << "groff absent";
  const std::string cmd = "groff -ww -man -Tutf8 '" + kManual + "' 2>&1 >/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string warnings;
  char buf[256];
  while (std::fgets(buf, sizeof buf, p) != nullptr) warnings += buf;
  EXPECT_EQ(pclose(p), 0);
  EXPECT_EQ(warnings, "");
}

TEST(Manual, DescribesEveryOptionOfTheHelpTexts) {
  // In roff source a hyphen of an option is written "\-".
  const std::string manual =
      std::regex_replace(testing::read_file(kManual), std::regex(R"(\\-)"), "-");
  ASSERT_FALSE(manual.empty());
  std::set<std::string> options;
  for (const auto& args : {std::vector<std::string>{"--help"},
                           {"plot", "--help"},
                           {"stats", "--help"},
                           {"rose", "--help"},
                           {"kinematics", "--help"}}) {
    const CliRun r = run_cli(args);
    ASSERT_EQ(r.status, 0);
    const std::string& help = r.out;
    const std::regex option(R"(--[a-z][a-z-]*)");
    for (auto it = std::sregex_iterator(help.begin(), help.end(), option);
         it != std::sregex_iterator(); ++it)
      options.insert(it->str());
  }
  EXPECT_GT(options.size(), 10u);
  for (const std::string& o : options) EXPECT_NE(manual.find(o), std::string::npos) << o;
}

TEST(Manual, GivesTheCommandLinesExitStatusesAsTheHelpDoes) {
  const CliRun r = run_cli({"--help"});
  ASSERT_EQ(r.status, 0);
  const std::string& help = r.out;
  const std::size_t from = help.find("Exit statuses:");
  ASSERT_NE(from, std::string::npos);
  std::set<std::string> in_help;
  const std::regex number(R"(\b[0-9]+\b)");
  const std::string said = help.substr(from, help.find("\n\n", from) - from);
  for (auto it = std::sregex_iterator(said.begin(), said.end(), number);
       it != std::sregex_iterator(); ++it)
    in_help.insert(it->str());
  // The page's statuses of the command line: the ".B N" after "The command line:".
  const std::string manual = testing::read_file(kManual);
  const std::size_t list = manual.find("The command line:");
  ASSERT_NE(list, std::string::npos);
  const std::string section = manual.substr(list, manual.find(".SH", list) - list);
  std::set<std::string> in_manual;
  const std::regex bold(R"(\.B ([0-9]+))");
  for (auto it = std::sregex_iterator(section.begin(), section.end(), bold);
       it != std::sregex_iterator(); ++it)
    in_manual.insert((*it)[1].str());
  EXPECT_EQ(in_manual, in_help);
}

TEST(Manual, TheManualAndTheReadmeNameEveryMethodAndFormat) {
  // Names stand as words: "kamb" inside "exp-kamb" does not count.
  std::vector<std::string> names;
  for (const auto& m : analysis::density_methods()) names.emplace_back(m.name);
  for (const auto& f : figure::figure_formats()) names.push_back("." + std::string(f.extension));
  for (const auto& m : analysis::kinematic_modes()) names.emplace_back(m.name);
  for (const std::string& file : {kManual, std::string(POLARSKETCH_SOURCE_DIR) + "/README.md"}) {
    const std::string text =
        std::regex_replace(testing::read_file(file), std::regex(R"(\\-)"), "-");
    ASSERT_FALSE(text.empty()) << file;
    for (const std::string& name : names) {
      const std::regex word("(^|[^a-z.-])" +
                            std::regex_replace(name, std::regex(R"(\.)"), R"(\.)") + "([^a-z-]|$)");
      EXPECT_TRUE(std::regex_search(text, word)) << file << " does not name " << name;
    }
  }
}

}  // namespace
}  // namespace polarsketch::cli
