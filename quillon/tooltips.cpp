#include "quillon/tooltips.h"

#include <algorithm>
#include <string>

#include "host/error.h"
#include "quillon/messages.h"

namespace quillon {

namespace {

constexpr char16_t kEllipsis = u'\u2026';

// The start of a tooltip the editor would not take: its first line, at most 80 characters.
host::Text Shortened(const host::Text& tooltip) {
  const std::size_t line = std::min(tooltip.find(u'\n'), tooltip.size());
  const std::size_t end = host::CutPoint(tooltip, std::min(line, kShortTooltipCharacters));
  return end == tooltip.size() ? tooltip : tooltip.substr(0, end) + kEllipsis;
}

}  // namespace

host::Text BookmarkTooltip(const host::Text& caption) {
  return caption + u"\n" + host::Text(kUsedBookmarkHint);
}

host::Text BufferTooltip(const host::Text& buffer) {
  // A copy of whole lines ends in a line break, which starts no line of its own.
  const std::u16string_view text(buffer.data(), !buffer.empty() && buffer.back() == u'\n'
                                                    ? buffer.size() - 1
                                                    : buffer.size());
  std::size_t lines = 1;
  std::size_t end = text.size();  // where the preview stops
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\n') continue;
    if (lines == kPreviewLines && end == text.size()) end = i;
    ++lines;
  }
  end = host::CutPoint(text, std::min(end, kPreviewCharacters));
  host::Text preview(text.substr(0, end));
  if (end < text.size()) preview += kEllipsis;
  const auto count = std::to_string(lines) + (lines == 1 ? " line" : " lines");
  return preview + u"\n(" + host::Text(count.begin(), count.end()) + u")";
}

host::Text WithKeyLine(const host::Text& tooltip, const AddinState& state, const ToolbarLayout& bar,
                       std::optional<std::int32_t> place) {
  if (!place || *place < 1 || *place > kNumberedButtons) return tooltip;
  const auto slot = bar.firstKeySlot + static_cast<std::size_t>(*place - 1);
  const auto& key = state.Keys[slot];
  if (!key) return tooltip;
  host::Text line = tooltip + u"\n" + KeyName(*key) + host::Text(kKeyHintClick);
  if (!ShiftFormTakenByWindows(*key))
    line += host::Text(kKeyHintMiddle) + KeyName(*key, true) + host::Text(kKeyHintEnd);
  if (const auto& refused = state.RefusedKeys[slot])
    line += u"\n" + KeyName(*refused) + host::Text(kKeyRefusedHint);
  return line;
}

void ShowTooltip(host::CommandBarButton& button, const host::Text& tooltip) {
  // Refused, the old tooltip would tell of the button's old state: a shorter one, else none.
  const host::Text shortened = Shortened(tooltip);
  const host::Text none;
  for (const host::Text* attempt : {&tooltip, &shortened, &none}) {
    if (attempt != &tooltip && *attempt == tooltip) continue;
    try {
      button.SetTooltipText(*attempt);
      return;
    } catch (const host::HostError&) {
    }
  }
}

}  // namespace quillon
