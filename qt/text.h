// The model's UTF-8 texts as Qt strings.
#pragma once

#include <string_view>

#include <QString>

namespace tavolen {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tavolen
