// UTF-8 as the window model takes it from the user: any bytes, with each
// ill-formed sequence read as one U+FFFD so that stored text is always valid.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavolen {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

struct DecodedChar {
  char32_t code;
  std::size_t length;  // bytes taken from the text, at least 1
};

// The code point at the start of a non-empty text. An ill-formed sequence
// gives U+FFFD for its longest valid-looking prefix (at least one byte).
[[nodiscard]] DecodedChar DecodeUtf8(std::string_view text);

void AppendUtf8(std::string& out, char32_t code);

[[nodiscard]] std::size_t CountCodePoints(std::string_view text);

// At most limit code points of text, with every ill-formed sequence replaced.
[[nodiscard]] std::string ValidUtf8Prefix(std::string_view text, std::size_t limit);

// Appends valid UTF-8 text as a JSON string: only what JSON requires is
// escaped, a carriage return, line feed or tab by its short form.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace tavolen
