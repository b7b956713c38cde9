#include "host/type_libraries.h"

#include <algorithm>

namespace host {

namespace {
// A version part: one to four hexadecimal digits, as a 16-bit version number is stored.
std::optional<std::int32_t> HexPart(std::u16string_view digits) {
  if (digits.empty() || digits.size() > 4) return std::nullopt;
  std::int32_t value = 0;
  for (const char16_t c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + digit;
  }
  return value;
}

bool LoadableBy(const RegisteredVersion& version, Bitness bitness) {
  return std::any_of(version.locales.begin(), version.locales.end(), [&](const auto& locale) {
    const auto& file = bitness == Bitness::Win64 ? locale.win64 : locale.win32;
    return file && file->exists;
  });
}
}  // namespace

std::optional<LibraryVersion> ParseVersionKey(const Text& key) {
  const auto dot = key.find(u'.');
  if (dot == Text::npos) return std::nullopt;
  const std::u16string_view text(key);
  const auto major = HexPart(text.substr(0, dot));
  const auto minor = HexPart(text.substr(dot + 1));
  if (!major || !minor) return std::nullopt;
  return LibraryVersion{*major, *minor};
}

Text DecimalVersion(LibraryVersion version) {
  const auto digits = [](std::int32_t n) { return FromUtf8(std::to_string(n)); };
  return digits(version.major) + u"." + digits(version.minor);
}

std::vector<RegisteredVersion> Loadable(std::vector<RegisteredVersion> registered,
                                        Bitness bitness) {
  std::erase_if(registered, [&](const auto& version) { return !LoadableBy(version, bitness); });
  std::stable_sort(registered.begin(), registered.end(),
                   [](const auto& a, const auto& b) { return a.version > b.version; });
  return registered;
}

}  // namespace host
