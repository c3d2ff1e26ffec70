// UTF-8 (the model's texts) and UTF-16 (the system's W functions) meet here
// and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace tavolen {

[[nodiscard]] std::wstring WideOf(std::string_view text);
[[nodiscard]] std::string Utf8Of(std::wstring_view text);

// A prompt's lone carriage returns as CR LF, the line break every control draws.
[[nodiscard]] std::wstring WithWindowsLineBreaks(std::string_view prompt);

}  // namespace tavolen
