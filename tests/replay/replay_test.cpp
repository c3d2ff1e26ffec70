#include <gtest/gtest.h>

#include <array>
#include <random>
#include <sstream>
#include <string>

#include "replay/replay.h"
#include "runtime/utf8.h"

namespace tavolen {
namespace {

// Scripts of likely words, field texts and raw bytes in random order: whatever
// they hold, the tool ends with 0 or 2 and writes only whole, valid lines.
TEST(Replay, AnyBytesEndCleanly) {
  const std::array<std::string, 17> kPieces{
      "click Command1", "click Option1(3)", "focus Text1(2)",    "focus Text2(0)",
      "type 9999",      "type -",           "type \xff\xc0\x80", "key Tab",
      "key Shift+Tab",  "key Left",         "menu FileBer",      "erase",
      "state",          "type \x01\"\\",    "click Option2(1)",  "click Command2",
      "working"};
  std::mt19937 random(20261206);
  for (int round = 0; round < 300; ++round) {
    std::string script = "focus Text1(1)\n";
    for (int i = std::uniform_int_distribution(1, 40)(random); i > 0; --i) {
      const auto roll = random() % 64;
      if (roll == 0) {
        script += static_cast<char>(random() % 256);  // most likely a refused line
      } else if (roll < 8) {
        script.append("type ").append(1 + random() % 4, static_cast<char>(random() % 256));
      } else {
        script += kPieces.at(random() % kPieces.size());
      }
      script += random() % 5 == 0 ? "\r\n" : "\n";
    }
    std::istringstream in(script);
    std::ostringstream written;
    std::ostringstream errors;
    const int status = RunReplay(in, written, errors);
    const std::string out = written.str();
    EXPECT_TRUE(status == 0 || status == 2) << script;
    EXPECT_EQ(status == 2, errors.str().starts_with("line ")) << script;
    EXPECT_EQ(ValidUtf8Prefix(out, out.size()), out) << script;
    EXPECT_TRUE(out.empty() || (out.starts_with("{") && out.ends_with("}\n"))) << script;
  }
}

}  // namespace
}  // namespace tavolen
