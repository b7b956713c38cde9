#pragma once
// Conversions between the texts of the settings store and the editor, and the numbers and flags
// behind them. A text that does not convert gives nullopt; callers decide what that means.

#include <cstdint>
#include <optional>

#include "host/text.h"

namespace quillon {

// Decimal whole number, surrounding spaces allowed; nullopt outside 32 bits.
std::optional<std::int32_t> ParseWholeNumber(const host::Text& text);
// "True"/"False" in any case, or a whole number (0 is false).
std::optional<bool> ParseFlag(const host::Text& text);
host::Text FormatWholeNumber(std::int64_t value);
host::Text FormatFlag(bool value);

// The editor's version text ("6.00", "7.01", or "7,01" under a decimal comma) to the nearest
// whole number, halves to even; throws host::HostError for a text that is no number or lies
// outside 16 bits, as the conversion the editor's own language makes.
std::int16_t EditorVersionNumber(const host::Text& version);

}  // namespace quillon
