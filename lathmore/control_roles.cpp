#include "lathmore/control_roles.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <string_view>

#include "host/text.h"
#include "lathmore/control_moves.h"

namespace lathmore {

namespace {

// Where each role stands among the layout's moves.
enum Role : std::size_t {
  kOk,
  kCancel,
  kBrowse,
  kHelp,
  kFrame,
  kUp,
  kDown,
  kPriority,
  kLocation,
  kLocationValue,
  kLanguage,
  kLanguageValue,
  kList,
};
static_assert(std::u16string_view(kControlMoves[kOk].caption) == u"OK");
static_assert(std::u16string_view(kControlMoves[kHelp].caption) == u"&Help");
static_assert(kControlMoves[kFrame].after == Anchor::Help);
static_assert(std::u16string_view(kControlMoves[kUp].caption) == u"&U");
static_assert(std::u16string_view(kControlMoves[kPriority].caption) == u"Priority");
static_assert(kControlMoves[kLocationValue].keepAs == Anchor::LocationValue);
static_assert(std::u16string_view(kControlMoves[kLanguage].caption) == u"Language:");
static_assert(kControlMoves[kList].className == u"Listbox");
static_assert(kList + 1 == kControlMoves.size());

constexpr std::int32_t kButtonTypeMask = 0x0F;  // BS_TYPEMASK
constexpr std::int32_t kPushButton = 0x0;
constexpr std::int32_t kDefaultPushButton = 0x1;
constexpr std::int32_t kGroupBox = 0x7;
constexpr std::int32_t kOwnerDrawn = 0xB;  // a push button that draws itself, as an arrow may

using Controls = std::vector<const ChildControl*>;

bool Inside(const host::Rect& inner, const host::Rect& outer) {
  return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
         inner.bottom <= outer.bottom;
}

bool OverlapVertically(const ChildControl& one, const ChildControl& other) {
  return one.rect.top < other.rect.bottom && other.rect.top < one.rect.bottom;
}

// Sorted from the top; false when two start at the same height, as neither is then above.
bool FromTheTop(Controls& controls) {
  std::sort(controls.begin(), controls.end(),
            [](const ChildControl* a, const ChildControl* b) { return a->rect.top < b->rect.top; });
  return std::adjacent_find(controls.begin(), controls.end(), [](auto* a, auto* b) {
           return a->rect.top == b->rect.top;
         }) == controls.end();
}

// The four statics in the frame as two rows, each a label and then its value on its right.
bool TwoRows(Controls& inFrame, LaidOutControls& roles) {
  std::sort(inFrame.begin(), inFrame.end(),
            [](const ChildControl* a, const ChildControl* b) { return a->rect.top < b->rect.top; });
  const auto row = [&roles](const ChildControl* a, const ChildControl* b, Role label, Role value) {
    if (!OverlapVertically(*a, *b) || a->rect.left == b->rect.left) return false;
    if (b->rect.left < a->rect.left) std::swap(a, b);
    roles[label] = a->window;
    roles[value] = b->window;
    return true;
  };
  // The upper row ends before the lower one starts.
  const std::int32_t upperEnd = std::max(inFrame[0]->rect.bottom, inFrame[1]->rect.bottom);
  return upperEnd <= inFrame[2]->rect.top &&
         row(inFrame[0], inFrame[1], kLocation, kLocationValue) &&
         row(inFrame[2], inFrame[3], kLanguage, kLanguageValue);
}

// No control carries the English caption of a role other than its own. The arrows' captions are
// one accelerator letter, which names another direction in another language ("&U", unten, is
// down in German): they confirm nothing.
bool CaptionsAgree(const std::vector<ChildControl>& children, const LaidOutControls& roles) {
  for (std::size_t role = 0; role < roles.size(); ++role) {
    const auto child = std::find_if(children.begin(), children.end(),
                                    [&](const ChildControl& c) { return c.window == roles[role]; });
    for (std::size_t other = 0; other < kControlMoves.size(); ++other) {
      const char16_t* english = kControlMoves[other].caption;
      if (other == role || other == kUp || other == kDown || english == nullptr) continue;
      if (host::EqualsIgnoringAsciiCase(child->caption, english)) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<LaidOutControls> RecogniseControls(const std::vector<ChildControl>& children) {
  const ChildControl* list = nullptr;
  Controls pushButtons;
  Controls frames;
  Controls statics;
  for (const auto& child : children) {
    if (host::EqualsIgnoringAsciiCase(child.className, u"ListBox")) {
      if (list != nullptr) return std::nullopt;
      list = &child;
    } else if (host::EqualsIgnoringAsciiCase(child.className, u"Button")) {
      const std::int32_t type = child.style & kButtonTypeMask;
      if (type == kPushButton || type == kDefaultPushButton || type == kOwnerDrawn)
        pushButtons.push_back(&child);
      else if (type == kGroupBox)
        frames.push_back(&child);
      else
        return std::nullopt;
    } else if (host::EqualsIgnoringAsciiCase(child.className, u"Static")) {
      statics.push_back(&child);
    } else {
      return std::nullopt;
    }
  }
  if (list == nullptr || frames.size() != 1 || pushButtons.size() != 6 || statics.size() != 5)
    return std::nullopt;
  const ChildControl& frame = *frames.front();
  if (frame.rect.top < list->rect.bottom) return std::nullopt;

  // The push buttons by column, each right of the list: the arrows nearer it, then the commands.
  std::map<std::int32_t, Controls> columns;
  for (const auto* button : pushButtons) {
    if (button->rect.left < list->rect.right) return std::nullopt;
    columns[button->rect.left].push_back(button);
  }
  if (columns.size() != 2) return std::nullopt;
  Controls& arrows = columns.begin()->second;
  Controls& commands = std::next(columns.begin())->second;
  if (arrows.size() != 2 || commands.size() != 4 || !FromTheTop(arrows) || !FromTheTop(commands))
    return std::nullopt;

  LaidOutControls roles{};
  roles[kList] = list->window;
  roles[kFrame] = frame.window;
  for (std::size_t i = 0; i < commands.size(); ++i) roles[kOk + i] = commands[i]->window;
  roles[kUp] = arrows[0]->window;
  roles[kDown] = arrows[1]->window;

  // The arrows' label right of the list and between them; the rest inside the frame.
  const ChildControl* priority = nullptr;
  Controls inFrame;
  for (const auto* label : statics) {
    if (Inside(label->rect, frame.rect)) {
      inFrame.push_back(label);
    } else if (priority == nullptr && label->rect.left >= list->rect.right &&
               label->rect.top >= arrows[0]->rect.top &&
               label->rect.bottom <= arrows[1]->rect.bottom) {
      priority = label;
    } else {
      return std::nullopt;
    }
  }
  if (priority == nullptr || inFrame.size() != 4 || !TwoRows(inFrame, roles)) return std::nullopt;
  roles[kPriority] = priority->window;
  if (!CaptionsAgree(children, roles)) return std::nullopt;
  return roles;
}

}  // namespace lathmore
