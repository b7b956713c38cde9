#include "quillon/tooltips.h"

#include <string>

#include "host/error.h"
#include "quillon/messages.h"

namespace quillon {

namespace {
constexpr char16_t kEllipsis = u'\u2026';
}  // namespace

host::Text BookmarkTooltip(const host::Text& caption) {
  return caption + u"\n" + host::Text(kUsedBookmarkHint);
}

host::Text BufferTooltip(const host::Text& text) {
  std::size_t lines = 1;
  std::size_t end = text.size();  // where the preview stops
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\n') continue;
    if (lines == kPreviewLines && end == text.size()) end = i;
    ++lines;
  }
  if (end > kPreviewCharacters) end = kPreviewCharacters;
  host::Text preview = text.substr(0, end);
  if (end < text.size()) preview += kEllipsis;
  const auto count = std::to_string(lines) + (lines == 1 ? " line" : " lines");
  return preview + u"\n(" + host::Text(count.begin(), count.end()) + u")";
}

void ShowTooltip(host::CommandBarButton& button, const host::Text& tooltip) {
  host::Ignore([&] { button.SetTooltipText(tooltip); });
}

}  // namespace quillon
