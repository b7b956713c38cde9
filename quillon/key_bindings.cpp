#include "quillon/key_bindings.h"

#include <vector>

#include "host/error.h"
#include "quillon/settings_keys.h"
#include "quillon/stored_values.h"
#include "quillon/toolbar_layout.h"

namespace quillon {

namespace {

constexpr std::int32_t kVirtualKeyF1 = 0x70;
constexpr int kFunctionKeys = 12;

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool SameWord(const host::Text& part, std::u16string_view word) {
  if (part.size() != word.size()) return false;
  for (std::size_t i = 0; i < part.size(); ++i)
    if (Upper(part[i]) != Upper(word[i])) return false;
  return true;
}

host::Text Trimmed(const host::Text& part) {
  const auto first = part.find_first_not_of(u' ');
  if (first == host::Text::npos) return {};
  return part.substr(first, part.find_last_not_of(u' ') - first + 1);
}

std::optional<std::int32_t> VirtualKeyOf(const host::Text& key) {
  if (key.size() == 1) {
    const char16_t c = Upper(key[0]);
    if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) return c;
    return std::nullopt;
  }
  if (key.size() < 2 || key.size() > 3 || Upper(key[0]) != u'F') return std::nullopt;
  int number = 0;
  for (std::size_t i = 1; i < key.size(); ++i) {
    if (key[i] < u'0' || key[i] > u'9') return std::nullopt;
    number = number * 10 + (key[i] - u'0');
  }
  if (key[1] == u'0' || number < 1 || number > kFunctionKeys) return std::nullopt;
  return kVirtualKeyF1 + number - 1;
}

// The keys whose Ctrl form or Ctrl+Shift form is one of the editor's own documented shortcuts
// (Ctrl+F9 Set Next Statement, Ctrl+Shift+F9 Clear All Breakpoints, Ctrl+G the Immediate window,
// Ctrl+Shift+J List Constants, ...).
constexpr std::int32_t kEditorKeys[] = {'A', 'C', 'E', 'F', 'G', 'H', 'I', 'J', 'L', 'M',
                                        'N', 'P', 'R', 'S', 'T', 'V', 'W', 'X', 'Y', 'Z',
                                        0x71 /* F2 */, 0x73 /* F4 */, 0x75 /* F6 */,
                                        0x77 /* F8 */, 0x78 /* F9 */};

}  // namespace

bool IsEditorsOwnKey(const KeyBinding& key) {
  if (key.alt) return false;
  for (const std::int32_t own : kEditorKeys)
    if (own == key.virtualKey) return true;
  return false;
}

bool ShiftFormTakenByWindows(const KeyBinding& key) { return !key.alt && key.virtualKey == '0'; }

std::optional<KeyBinding> ParseKeyBinding(const host::Text& value) {
  std::vector<host::Text> parts;
  std::size_t start = 0;
  for (auto plus = value.find(u'+'); plus != host::Text::npos; plus = value.find(u'+', start)) {
    parts.push_back(Trimmed(value.substr(start, plus - start)));
    start = plus + 1;
  }
  parts.push_back(Trimmed(value.substr(start)));
  if (parts.size() < 2 || parts.size() > 3 || !SameWord(parts.front(), u"Ctrl"))
    return std::nullopt;
  const bool alt = parts.size() == 3;
  if (alt && !SameWord(parts[1], u"Alt")) return std::nullopt;
  const auto key = VirtualKeyOf(parts.back());
  if (!key) return std::nullopt;
  return KeyBinding{*key, alt};
}

host::Text KeyName(const KeyBinding& key, bool shift) {
  host::Text name = u"Ctrl+";
  if (key.alt) name += u"Alt+";
  if (shift) name += u"Shift+";
  if (key.virtualKey >= kVirtualKeyF1 && key.virtualKey < kVirtualKeyF1 + kFunctionKeys)
    return name + u"F" + FormatWholeNumber(key.virtualKey - kVirtualKeyF1 + 1);
  return name + static_cast<char16_t>(key.virtualKey);
}

KeyBindings ReadKeyBindings(host::SettingsStore& settings, KeyBindings& refused) {
  KeyBindings keys;
  refused = {};
  for (const ToolbarLayout* layout : {&kBookmarksBar, &kCopyBufferBar}) {
    for (std::int32_t place = 1; place <= kNumberedButtons; ++place) {
      const auto fallback = host::Text(layout->defaultKeys[static_cast<std::size_t>(place - 1)]);
      // A missing value reads as the default; one that cannot be read keeps it too.
      const host::Text value =
          host::Ignore([&] {
            return settings.GetSetting(
                host::Text(kSettingsApplication), host::Text(kKeysSection),
                host::Text(layout->keyValuePrefix) + FormatWholeNumber(place), fallback);
          }).value_or(fallback);
      auto& slot = keys[layout->firstKeySlot + static_cast<std::size_t>(place - 1)];
      if (Trimmed(value).empty()) continue;
      slot = ParseKeyBinding(value);
      if (slot && IsEditorsOwnKey(*slot)) {
        refused[layout->firstKeySlot + static_cast<std::size_t>(place - 1)] = slot;
        slot.reset();
      }
      if (!slot) slot = ParseKeyBinding(fallback);
    }
  }
  // A key given twice: the first button of the ten keeps it.
  for (std::size_t i = 0; i < keys.size(); ++i)
    for (std::size_t earlier = 0; earlier < i && keys[i]; ++earlier)
      if (keys[earlier] == keys[i]) keys[i].reset();
  return keys;
}

}  // namespace quillon
