#pragma once
// Texts travel as UTF-16 code units, exactly as the editor counts them. These convert at the
// edges (transcripts, test output, file names) and nowhere else.

#include <string>
#include <string_view>

namespace host {

using Text = std::u16string;

std::string ToUtf8(std::u16string_view text);
Text FromUtf8(std::string_view text);

// Where a text cut after `count` code units ends: one sooner when that would part a surrogate
// pair, so a character is kept whole or not at all.
std::size_t CutPoint(std::u16string_view text, std::size_t count);

// The letter in lower case when it is an ASCII capital; any other unit as it is.
char16_t LowerAscii(char16_t c);
// The value of a hexadecimal digit (either case), or -1 for anything else.
int HexDigitValue(char16_t c);

// Whether two names are the same with ASCII letters folded, as Windows and the editor compare
// class names, identifiers and keys.
bool EqualsIgnoringAsciiCase(std::u16string_view one, std::u16string_view other);

}  // namespace host
