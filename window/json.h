// JSON text written member by member: the window's state and the page's
// replies are each one text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/utf8.h"

namespace tavolen {

// One JSON object or array.
class Json {
 public:
  static Json Object() { return {'{', '}'}; }
  static Json Array() { return {'[', ']'}; }

  Json& Text(const std::string_view key, const std::string_view value) {
    Key(key);
    AppendJsonString(text_, value);
    return *this;
  }
  Json& Number(const std::string_view key, const int value) {
    return Raw(key, std::to_string(value));
  }
  Json& Flag(const std::string_view key, const bool value) {
    return Raw(key, value ? "true" : "false");
  }
  Json& Raw(const std::string_view key, const std::string_view json) {
    Key(key);
    text_ += json;
    return *this;
  }
  Json& Element(const std::string_view json) {
    Separate();
    text_ += json;
    return *this;
  }
  Json& TextElement(const std::string_view text) {
    Separate();
    AppendJsonString(text_, text);
    return *this;
  }
  [[nodiscard]] std::string Close() const { return text_ + close_; }

 private:
  Json(const char open, const char close) : text_(1, open), close_(close) {}
  void Separate() {
    if (text_.size() > 1) {
      text_ += ',';
    }
  }
  void Key(const std::string_view key) {
    Separate();
    AppendJsonString(text_, key);
    text_ += ':';
  }

  std::string text_;
  char close_;
};

}  // namespace tavolen
