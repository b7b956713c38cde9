#include "quillon/stored_values.h"

#include <limits>

#include "host/error.h"

namespace quillon {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view Trimmed(const host::Text& text) {
  std::u16string_view view(text);
  while (!view.empty() && (view.front() == u' ' || view.front() == u'\t')) view.remove_prefix(1);
  while (!view.empty() && (view.back() == u' ' || view.back() == u'\t')) view.remove_suffix(1);
  return view;
}

// Sign and digits at the front of `view`; consumes them. nullopt when there is no digit or the
// magnitude passes `limit`.
std::optional<std::int64_t> TakeInteger(std::u16string_view& view, std::int64_t limit) {
  bool negative = false;
  if (!view.empty() && (view.front() == u'-' || view.front() == u'+')) {
    negative = view.front() == u'-';
    view.remove_prefix(1);
  }
  if (view.empty() || !IsDigit(view.front())) return std::nullopt;
  std::int64_t magnitude = 0;
  while (!view.empty() && IsDigit(view.front())) {
    magnitude = magnitude * 10 + (view.front() - u'0');
    if (magnitude > limit) return std::nullopt;
    view.remove_prefix(1);
  }
  return negative ? -magnitude : magnitude;
}

bool EqualsAsciiIgnoringCase(std::u16string_view text, std::u16string_view word) {
  if (text.size() != word.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != word[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<std::int32_t> ParseWholeNumber(const host::Text& text) {
  auto view = Trimmed(text);
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  const auto value = TakeInteger(view, kLimit);
  if (!value || !view.empty() || *value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

std::optional<bool> ParseFlag(const host::Text& text) {
  const auto view = Trimmed(text);
  if (EqualsAsciiIgnoringCase(view, u"true")) return true;
  if (EqualsAsciiIgnoringCase(view, u"false")) return false;
  const auto number = ParseWholeNumber(text);
  if (!number) return std::nullopt;
  return *number != 0;
}

host::Text FormatWholeNumber(std::int64_t value) {
  const auto digits = std::to_string(value);
  return host::Text(digits.begin(), digits.end());
}

host::Text FormatFlag(bool value) { return value ? u"True" : u"False"; }

std::int16_t EditorVersionNumber(const host::Text& version) {
  auto view = Trimmed(version);
  constexpr std::int64_t kLimit = 1'000'000;
  const auto whole = TakeInteger(view, kLimit);
  if (!whole) throw host::HostError(host::codes::kTypeMismatch, u"Type mismatch: " + version);
  const bool negative = !version.empty() && Trimmed(version).front() == u'-';
  // Round the fraction: above a half away from zero, a half exactly to the even neighbour.
  int roundUp = 0;
  if (!view.empty() && (view.front() == u'.' || view.front() == u',')) {
    view.remove_prefix(1);
    if (!view.empty() && IsDigit(view.front())) {
      const int first = view.front() - u'0';
      view.remove_prefix(1);
      bool restNonZero = false;
      while (!view.empty() && IsDigit(view.front())) {
        restNonZero = restNonZero || view.front() != u'0';
        view.remove_prefix(1);
      }
      const bool odd = (*whole % 2) != 0;
      roundUp = first > 5 || (first == 5 && (restNonZero || odd)) ? 1 : 0;
    }
  }
  if (!view.empty())
    throw host::HostError(host::codes::kTypeMismatch, u"Type mismatch: " + version);
  const std::int64_t rounded = *whole + (negative ? -roundUp : roundUp);
  if (rounded < std::numeric_limits<std::int16_t>::min() ||
      rounded > std::numeric_limits<std::int16_t>::max())
    throw host::HostError(host::codes::kOverflow, u"Overflow: " + version);
  return static_cast<std::int16_t>(rounded);
}

}  // namespace quillon
