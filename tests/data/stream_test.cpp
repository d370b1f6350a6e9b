// A measurement file read piece by piece reads as the whole text does,
// wherever the pieces end; a comment of any length costs nothing, a line
// longer than the limit is a fault of the file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/measurements.hpp"

namespace polarsketch::data {
namespace {

using namespace std::string_literals;

// What a result says, as one text.
std::string summary(const ReadResult& r) {
  std::string s = r.fatal + "|" + std::to_string(r.error_count) + "|" + r.data.notation + "|";
  for (const DataError& e : r.errors) s += e.message() + ";";
  for (const Vector3& v : r.data.unit_vectors())
    s += std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]) + ";";
  for (const std::string& l : r.data.labels) s += l + ";";
  return s;
}

ReadResult streamed(std::string_view text, std::size_t piece, const ReadOptions& options) {
  MeasurementStream stream("f.csv", options);
  for (std::size_t at = 0; at < text.size(); at += piece) stream.feed(text.substr(at, piece));
  return stream.finish();
}

TEST(MeasurementStream, PiecesOfAnySizeReadAsTheWholeText) {
  ReadOptions columns;
  columns.columns = {"dipdir", "dip"};
  const struct {
    std::string text;
    ReadOptions options;
  } cases[] = {
      {"dipdir,dip\n30,40\n120,60\n", {}},
      {"dipdir,dip\r\n30,40\r\n120,60", {}},  // CRLF, no line end at the end
      {"dipdir,dip\r30,40\r\r120,60\r", {}},  // lone CRs
      {"dipdir,dip\n\r30,40\n\r", {}},
      {"\xEF\xBB\xBF# title, \"quoted\"\ndipdir,dip,label\n30,40,\"a # b\" # note\n", {}},
      {"dipdir,dip\n30,400\nx,40\n# \"\n120,60,1\n", {}},  // errors keep their lines
      {"30 40\n120 60\n", columns},
      {"strike dip\n30 40\n", columns},
      {"no,header\n1,2\n", {}},
      {"\n\n# only comments\n", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    const std::string whole = summary(read_measurements(c.text, "f.csv", c.options));
    for (std::size_t piece = 1; piece <= c.text.size() + 1; ++piece)
      EXPECT_EQ(summary(streamed(c.text, piece, c.options)), whole)
          << "pieces of " << piece << " of '" << c.text << "'";
  }
}

TEST(MeasurementStream, ALineLongerThanTheLimitIsAFaultButAComment) {
  const std::string piece(1 << 20, '7');
  MeasurementStream longest("f.csv", {});
  longest.feed("dipdir,dip\n30,40\n");
  for (int i = 0; i <= 64 && !longest.done(); ++i) longest.feed(piece);
  EXPECT_TRUE(longest.done());
  EXPECT_EQ(longest.finish().fatal.rfind("f.csv:3: a line longer than 64 MiB", 0), 0u);

  MeasurementStream comment("f.csv", {});
  comment.feed("dipdir,dip\n30,40 #");
  for (int i = 0; i <= 64; ++i) comment.feed(piece);
  comment.feed("\n120,60\n");
  const ReadResult r = comment.finish();
  EXPECT_TRUE(r.ok()) << r.fatal;
  EXPECT_EQ(r.data.size(), 2u);
}

}  // namespace
}  // namespace polarsketch::data
