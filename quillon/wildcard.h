#pragma once
// Wildcard matching as the editor's language does it: "*" any run of characters, "?" any one,
// "#" one digit, "[...]" one character from a list with ranges ("[a-z]"), "[!...]" one not in it.
// Case-sensitive, over the whole name, in time proportional to name length times pattern length.

#include <cstddef>

#include "host/text.h"

namespace quillon {

// Throws host::HostError for a malformed pattern (an unclosed "[" or a reversed range). `steps`,
// when given, receives the work done: one step per character of the name per pattern element.
bool MatchesWildcard(const host::Text& name, const host::Text& pattern,
                     std::size_t* steps = nullptr);

// `text` as a pattern that matches exactly itself.
host::Text LiteralPattern(const host::Text& text);

}  // namespace quillon
