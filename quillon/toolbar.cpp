#include "quillon/toolbar.h"

#include <array>
#include <utility>

#include "host/error.h"
#include "quillon/settings_keys.h"
#include "quillon/stored_values.h"
#include "quillon/tooltips.h"

namespace quillon {

namespace {

constexpr std::u16string_view kPosKey = u"Pos";
constexpr std::u16string_view kTopKey = u"Top";
constexpr std::u16string_view kRowIndexKeyPrefix = u"RowIndex";  // followed by the editor version
constexpr std::u16string_view kLeftKey = u"Left";
constexpr std::u16string_view kWidthKey = u"Width";
constexpr std::u16string_view kHeightKey = u"Height";
constexpr std::u16string_view kVisibleKey = u"Visible";

constexpr std::int32_t kDefaultPlace = 1;  // Pos (docked at the top), Top, Left, Width, Height

using NumberGetter = std::int32_t (host::CommandBar::*)();
using NumberSetter = void (host::CommandBar::*)(std::int32_t);

}  // namespace

host::VBE& Toolbar::Editor() const {
  if (!state_.EditorVBE)
    throw host::HostError(host::codes::kFail, u"Object variable or With block variable not set");
  return *state_.EditorVBE;
}

host::CommandBar& Toolbar::Bar() const {
  const auto& bar = state_.*layout_.reference;
  if (!bar)
    throw host::HostError(host::codes::kFail, u"Object variable or With block variable not set");
  return *bar;
}

host::Text Toolbar::RowIndexKey() const {
  const int version = state_.VBEVersion;
  return host::Text(kRowIndexKeyPrefix) + FormatWholeNumber(version < 0 ? -version : version);
}

void Toolbar::Build() {
  Remove();
  state_.*layout_.reference =
      Editor().CommandBars()->Add(host::Text(layout_.name), host::kBarTop, false, true);
  AddButtons();
  Restore();
}

void Toolbar::AddButtons() {
  const auto controls = Bar().Controls();
  for (std::size_t place = 0; place < layout_.slots.size(); ++place) {
    const auto button = controls->Add(host::kControlButton, host::kCustomControlId)->AsButton();
    if (place < layout_.faceIds.size()) {
      button->SetCaption(host::Text(layout_.unusedCaption));
      button->SetFaceId(layout_.faceIds[place]);
      ShowTooltip(*button, WithKeyLine(host::Text(layout_.unusedTooltip), state_, layout_,
                                       static_cast<std::int32_t>(place) + 1));
    } else {
      button->SetCaption(host::Text(layout_.clearCaption));
      button->SetFaceId(layout_.clearFaceId);
      button->SetBeginGroup(true);
    }
    state_.VBEEvents->SetSource(layout_.slots[place], Editor().Events()->CommandBarEvents(button));
  }
}

void Toolbar::Remove() {
  // Looked up by name, not through the stored reference, so a bar that this connection did not
  // build is saved and removed too. Without it, every later statement would fail: none runs.
  const auto found =
      host::Ignore([&] { return Editor().CommandBars()->Item(host::Text(layout_.name)); });
  if (!found || !*found) return;
  host::CommandBar& bar = **found;
  const std::array<std::pair<host::Text, NumberGetter>, 6> numbers{{
      {host::Text(kPosKey), &host::CommandBar::Position},
      {host::Text(kTopKey), &host::CommandBar::Top},
      {RowIndexKey(), &host::CommandBar::RowIndex},
      {host::Text(kLeftKey), &host::CommandBar::Left},
      {host::Text(kWidthKey), &host::CommandBar::Width},
      {host::Text(kHeightKey), &host::CommandBar::Height},
  }};
  for (const auto& number : numbers)
    host::Ignore([&] { Save(number.first, FormatWholeNumber((bar.*number.second)())); });
  host::Ignore([&] { Save(host::Text(kVisibleKey), FormatFlag(bar.Visible())); });
  host::Ignore([&] { bar.Delete(); });
}

void Toolbar::Restore() {
  host::CommandBar& bar = Bar();
  const auto apply = [&bar](NumberSetter set, std::int32_t value) {
    host::Ignore([&] { (bar.*set)(value); });
  };
  apply(&host::CommandBar::SetPosition, StoredNumber(host::Text(kPosKey), host::kBarTop));
  apply(&host::CommandBar::SetRowIndex,
        StoredNumber(RowIndexKey(), state_.VBEVersion == 6 ? 6 : 5));
  apply(&host::CommandBar::SetLeft, StoredNumber(host::Text(kLeftKey), kDefaultPlace));
  apply(&host::CommandBar::SetTop, StoredNumber(host::Text(kTopKey), kDefaultPlace));
  if (bar.Position() == host::kBarFloating) {
    apply(&host::CommandBar::SetWidth, StoredNumber(host::Text(kWidthKey), kDefaultPlace));
    apply(&host::CommandBar::SetHeight, StoredNumber(host::Text(kHeightKey), kDefaultPlace));
  }
  const bool visible = StoredFlag(host::Text(kVisibleKey), true);
  host::Ignore([&] { bar.SetVisible(visible); });
}

host::Text Toolbar::Stored(const host::Text& key) const {
  return host::Ignore([&] {
           return settings_.GetSetting(host::Text(kSettingsApplication), host::Text(layout_.name),
                                       key, {});
         })
      .value_or(host::Text{});
}

std::int32_t Toolbar::StoredNumber(const host::Text& key, std::int32_t defaultValue) const {
  return ParseWholeNumber(Stored(key)).value_or(defaultValue);
}

bool Toolbar::StoredFlag(const host::Text& key, bool defaultValue) const {
  return ParseFlag(Stored(key)).value_or(defaultValue);
}

void Toolbar::Save(const host::Text& key, const host::Text& value) {
  settings_.SaveSetting(host::Text(kSettingsApplication), host::Text(layout_.name), key, value);
}

}  // namespace quillon
