// Arbitrary bytes as a replay script: performed or refused, never a crash.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz/support.h"
#include "replay/replay.h"

namespace tavolen::fuzz {
namespace {

void CheckLines(const std::string& out) {
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    Check(line.size() >= 2 && line.front() == '{' && line.back() == '}',
          "every output line is one JSON object", line);
  }
}

void Run(std::string_view script) {
  std::istringstream in{std::string(script)};
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunReplay(in, out, err);
  Check(status == 0 || status == 2, "the exit status is 0 or 2", std::to_string(status));
  Check((status == 2) == !err.str().empty(), "a refusal, and only a refusal, names its line",
        err.str());
  CheckLines(out.str());
}

}  // namespace
}  // namespace tavolen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavolen::fuzz::Run({reinterpret_cast<const char*>(data), size});
  return 0;
}
