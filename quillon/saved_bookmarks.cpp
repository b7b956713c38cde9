#include "quillon/saved_bookmarks.h"

#include <optional>
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

static_assert(std::tuple_size_v<decltype(AddinState::UnrestoredBookmarks)> == kNumberedButtons);

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
                          record.size() > kLongestSavedRecord ? host::Text() : record);
  });
}

std::optional<BookmarkText> SavedBookmarks::Read(std::int32_t place, bool& refused) {
  refused = false;
  try {
    const auto value = settings_.GetSetting(host::Text(kSettingsApplication),
                                            state_.BookmarksSection, KeyOf(place), {});
    if (value.size() > kLongestSavedRecord) return std::nullopt;
    return BookmarkOfRecord(value);
  } catch (const host::HostError&) {
    refused = true;
    return std::nullopt;
  }
}

bool SavedBookmarks::Show(host::CommandBarButton& button, const BookmarkText& bookmark,
                          std::int32_t place) {
  try {
    button.SetCaption(bookmark.caption);
    button.SetDescriptionText(bookmark.record);
    button.SetState(host::kStateDown);
  } catch (const host::HostError&) {
    // Half a bookmark on a button would be taken for a free one and set over: free it all.
    host::Ignore([&] { button.SetDescriptionText({}); });
    host::Ignore([&] { button.SetCaption(host::Text(kBookmarksBar.unusedCaption)); });
    host::Ignore([&] { button.SetState(host::kStateUp); });
    return false;
  }
  ShowTooltip(button, WithKeyLine(BookmarkTooltip(bookmark.caption), state_, kBookmarksBar, place));
  return true;
}

Restored SavedBookmarks::RestoreButton(host::CommandBarButton& button, std::int32_t place) {
  bool refused = false;
  const auto bookmark = Read(place, refused);
  if (!bookmark) return refused ? Restored::kRefused : Restored::kFree;
  return Show(button, *bookmark, place) ? Restored::kShown : Restored::kRefused;
}

void SavedBookmarks::Restore(host::CommandBar& bar) {
  state_.UnrestoredBookmarks.fill(false);
  if (state_.BookmarksSection.empty()) return;
  for (std::int32_t place = 1; place <= kNumberedButtons; ++place) {
    bool refused = false;
    const auto bookmark = Read(place, refused);
    // The button is asked for only when there is a bookmark to show on it.
    const bool shown =
        !refused && (!bookmark || host::Ignore([&] {
                                    return Show(*bar.Controls()->Item(place)->AsButton(),
                                                *bookmark, place);
                                  }).value_or(false));
    state_.UnrestoredBookmarks[static_cast<std::size_t>(place - 1)] = !shown;
  }
}

}  // namespace quillon
