#include <gtest/gtest.h>

#include <array>
#include <random>
#include <sstream>
#include <string>

#include "app/replay.h"
#include "runtime/utf8.h"

namespace tavolen {
namespace {

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome Replay(const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunReplay(in, out, err);
  return {status, out.str(), err.str()};
}

bool IsValidUtf8(std::string_view text) {
  return ValidUtf8Prefix(text, text.size()) == text;
}

// Scripts of likely words, field texts and raw bytes in random order: whatever
// they hold, the tool ends with 0 or 2 and writes only whole, valid lines.
TEST(Replay, AnyBytesEndCleanly) {
  const std::array<std::string, 16> kPieces{
      "click Command1", "click Option1(3)", "focus Text1(2)",    "focus Text2(0)",
      "type 9999",      "type -",           "type \xff\xc0\x80", "key Tab",
      "key Shift+Tab",  "key Left",         "menu FileBer",      "erase",
      "state",          "type \x01\"\\",    "click Option2(1)",  "click Command2"};
  std::mt19937 random(20261206);
  for (int round = 0; round < 300; ++round) {
    std::string script = "focus Text1(1)\n";
    const int lines = std::uniform_int_distribution(1, 40)(random);
    for (int i = 0; i < lines; ++i) {
      const auto roll = random() % 64;
      if (roll == 0) {
        script += static_cast<char>(random() % 256);  // most likely a refused line
      } else if (roll < 8) {
        script += "type ";
        script.append(1 + random() % 4, static_cast<char>(random() % 256));
      } else {
        script += kPieces.at(random() % kPieces.size());
      }
      script += random() % 5 == 0 ? "\r\n" : "\n";
    }
    const Outcome run = Replay(script);
    EXPECT_TRUE(run.status == 0 || run.status == 2) << script;
    EXPECT_EQ(run.status == 2, run.err.starts_with("line ")) << script;
    EXPECT_TRUE(IsValidUtf8(run.out)) << script;
    EXPECT_TRUE(run.out.empty() || (run.out.starts_with("{") && run.out.ends_with("}\n")));
  }
}

TEST(Replay, LastLineNeedsNoLineEnd) {
  const Outcome run = Replay("focus Text1(0)\ntype 7\nstate");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find(R"("Text1":["7","",""])"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace tavolen
