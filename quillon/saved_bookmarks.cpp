#include "quillon/saved_bookmarks.h"

#include <string>

#include "host/error.h"
#include "quillon/bookmark_record.h"
#include "quillon/settings_keys.h"
#include "quillon/toolbar_layout.h"
#include "quillon/tooltips.h"

namespace quillon {

namespace {

host::Text KeyOf(std::int32_t place) {
  const auto digits = std::to_string(place);
  return host::Text(digits.begin(), digits.end());
}

}  // namespace

host::Text BookmarksSectionOf(const host::Text& programPath) {
  const auto slash = programPath.find_last_of(u"\\/:");
  host::Text name = slash == host::Text::npos ? programPath : programPath.substr(slash + 1);
  name = name.substr(0, name.rfind(u'.'));
  if (name.empty()) return {};
  // Capitals of the ASCII letters only, as the application names are written.
  for (auto& c : name)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return host::Text(kBookmarksSection) + u"\\" + name;
}

void SavedBookmarks::Save(std::int32_t place, const host::Text& record) {
  if (state_.BookmarksSection.empty()) return;
  host::Ignore([&] {
    settings_.SaveSetting(host::Text(kSettingsApplication), state_.BookmarksSection, KeyOf(place),
                          record);
  });
}

void SavedBookmarks::Restore(host::CommandBar& bar) {
  if (state_.BookmarksSection.empty()) return;
  for (std::int32_t place = 1; place <= kNumberedButtons; ++place) {
    host::Ignore([&] {
      const auto value = settings_.GetSetting(host::Text(kSettingsApplication),
                                              state_.BookmarksSection, KeyOf(place), {});
      if (value.size() > kLongestSavedRecord) return;
      const auto bookmark = BookmarkOfRecord(value);
      if (!bookmark) return;
      const auto button = bar.Controls()->Item(place)->AsButton();
      button->SetCaption(bookmark->caption);
      button->SetDescriptionText(bookmark->record);
      button->SetState(host::kStateDown);
      ShowTooltip(*button,
                  WithKeyLine(BookmarkTooltip(bookmark->caption), state_, kBookmarksBar, place));
    });
  }
}

}  // namespace quillon
