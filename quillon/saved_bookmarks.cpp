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

void SavedBookmarks::Save(std::int32_t place, const host::Text& record) {
  host::Ignore([&] {
    settings_.SaveSetting(host::Text(kSettingsApplication), host::Text(kBookmarksSection),
                          KeyOf(place), record);
  });
}

void SavedBookmarks::Save(host::CommandBarButton& button, const host::Text& record) {
  if (const auto place = host::Ignore([&] { return button.Index(); })) Save(*place, record);
}

void SavedBookmarks::Restore(host::CommandBar& bar) {
  for (std::int32_t place = 1; place <= kNumberedButtons; ++place) {
    host::Ignore([&] {
      const auto bookmark = BookmarkOfRecord(settings_.GetSetting(
          host::Text(kSettingsApplication), host::Text(kBookmarksSection), KeyOf(place), {}));
      if (!bookmark) return;
      const auto button = bar.Controls()->Item(place)->AsButton();
      button->SetCaption(bookmark->caption);
      button->SetDescriptionText(bookmark->record);
      button->SetState(host::kStateDown);
      ShowTooltip(*button, BookmarkTooltip(bookmark->caption));
    });
  }
}

}  // namespace quillon
