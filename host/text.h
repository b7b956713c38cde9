#pragma once
// Texts travel as UTF-16 code units, exactly as the editor counts them. These convert at the
// edges (transcripts, test output, file names) and nowhere else.

#include <string>
#include <string_view>

namespace host {

using Text = std::u16string;

std::string ToUtf8(std::u16string_view text);
Text FromUtf8(std::string_view text);

}  // namespace host
