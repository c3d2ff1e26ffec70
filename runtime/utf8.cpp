#include "runtime/utf8.h"

#include <cstdint>

namespace tavolen {

namespace {

struct LeadByte {
  std::size_t length;  // 0: not a lead byte
  char32_t bits;
  std::uint8_t low;   // the range of the second byte, which rules out overlong
  std::uint8_t high;  // forms, surrogates and values above U+10FFFF
};

constexpr LeadByte Classify(std::uint8_t b) {
  if (b < 0x80) {
    return {1, b, 0, 0};
  }
  if (b >= 0xC2 && b <= 0xDF) {
    return {2, b & 0x1Fu, 0x80, 0xBF};
  }
  if (b >= 0xE0 && b <= 0xEF) {
    const std::uint8_t low = b == 0xE0 ? 0xA0 : 0x80;
    const std::uint8_t high = b == 0xED ? 0x9F : 0xBF;
    return {3, b & 0x0Fu, low, high};
  }
  if (b >= 0xF0 && b <= 0xF4) {
    const std::uint8_t low = b == 0xF0 ? 0x90 : 0x80;
    const std::uint8_t high = b == 0xF4 ? 0x8F : 0xBF;
    return {4, b & 0x07u, low, high};
  }
  return {0, 0, 0, 0};
}

}  // namespace

DecodedChar DecodeUtf8(std::string_view text) {
  const LeadByte lead = Classify(static_cast<std::uint8_t>(text.front()));
  if (lead.length == 0) {
    return {kReplacementCharacter, 1};
  }
  char32_t code = lead.bits;
  for (std::size_t i = 1; i < lead.length; ++i) {
    if (i >= text.size()) {
      return {kReplacementCharacter, i};
    }
    const auto b = static_cast<std::uint8_t>(text[i]);
    const std::uint8_t low = i == 1 ? lead.low : std::uint8_t{0x80};
    const std::uint8_t high = i == 1 ? lead.high : std::uint8_t{0xBF};
    if (b < low || b > high) {
      return {kReplacementCharacter, i};
    }
    code = (code << 6) | (b & 0x3Fu);
  }
  return {code, lead.length};
}

void AppendUtf8(std::string& out, char32_t code) {
  const auto byte = [&out](char32_t value) { out += static_cast<char>(value); };
  if (code < 0x80) {
    byte(code);
  } else if (code < 0x800) {
    byte(0xC0 | (code >> 6));
    byte(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    byte(0xE0 | (code >> 12));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  } else {
    byte(0xF0 | (code >> 18));
    byte(0x80 | ((code >> 12) & 0x3F));
    byte(0x80 | ((code >> 6) & 0x3F));
    byte(0x80 | (code & 0x3F));
  }
}

std::size_t CountCodePoints(std::string_view text) {
  std::size_t count = 0;
  while (!text.empty()) {
    text.remove_prefix(DecodeUtf8(text).length);
    ++count;
  }
  return count;
}

std::string ValidUtf8Prefix(std::string_view text, std::size_t limit) {
  std::string out;
  for (std::size_t count = 0; count < limit && !text.empty(); ++count) {
    const DecodedChar c = DecodeUtf8(text);
    AppendUtf8(out, c.code);
    text.remove_prefix(c.length);
  }
  return out;
}

void AppendJsonString(std::string& out, const std::string_view text) {
  static constexpr std::string_view kHex = "0123456789abcdef";
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\\u00";
          out += kHex[static_cast<unsigned char>(c) >> 4];
          out += kHex[static_cast<unsigned char>(c) & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

}  // namespace tavolen
