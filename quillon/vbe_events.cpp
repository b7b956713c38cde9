#include "quillon/vbe_events.h"

#include "host/error.h"

namespace quillon {

namespace {

enum class Route { BookmarkClick, ResetBookmarks, CopyBufferClick, ClearCopyBuffers };

struct SlotInfo {
  std::u16string_view name;
  Route route;
};

constexpr std::array<SlotInfo, kEventSlotCount> kSlots{{
    {u"BM1Event", Route::BookmarkClick},
    {u"BM2Event", Route::BookmarkClick},
    {u"BM3Event", Route::BookmarkClick},
    {u"BM4Event", Route::BookmarkClick},
    {u"BM5Event", Route::BookmarkClick},
    {u"ClearBMsEvent", Route::ResetBookmarks},
    {u"CP1Event", Route::CopyBufferClick},
    {u"CP2Event", Route::CopyBufferClick},
    {u"CP3Event", Route::CopyBufferClick},
    {u"CP4Event", Route::CopyBufferClick},
    {u"CP5Event", Route::CopyBufferClick},
    {u"ClearCPsEvent", Route::ClearCopyBuffers},
}};

const SlotInfo& Info(EventSlot slot) { return kSlots[static_cast<std::size_t>(slot)]; }

}  // namespace

std::u16string_view EventSlotName(EventSlot slot) { return Info(slot).name; }

clsVBE_Events::clsVBE_Events(std::shared_ptr<ButtonActions> actions)
    : actions_(std::move(actions)) {}

void clsVBE_Events::SetSource(EventSlot slot, std::shared_ptr<host::CommandBarEvents> source) {
  std::unique_ptr<host::EventConnection> connection;
  if (source) {
    // The binding lives in this sink's slot, so the handler never outlives the sink.
    connection =
        source->AdviseClick([this, slot](const std::shared_ptr<host::CommandBarControl>& ctrl,
                                         bool&, bool&) { Click(slot, ctrl); });
  }
  auto& binding = slots_[static_cast<std::size_t>(slot)];
  binding.connection = std::move(connection);
  binding.source = std::move(source);
}

std::shared_ptr<host::CommandBarEvents> clsVBE_Events::Source(EventSlot slot) const {
  return slots_[static_cast<std::size_t>(slot)].source;
}

// handled and CancelDefault are left as the host passed them.
void clsVBE_Events::Click(EventSlot slot, const std::shared_ptr<host::CommandBarControl>& ctrl) {
  const auto button = [&ctrl] {
    if (!ctrl) throw host::HostError(host::codes::kNoInterface, u"The clicked control is missing.");
    return ctrl->AsButton();
  };
  switch (Info(slot).route) {
    case Route::BookmarkClick:
      actions_->BookmarkClick(button());
      break;
    case Route::ResetBookmarks:
      actions_->ResetBookmarks();
      break;
    case Route::CopyBufferClick:
      actions_->CopyBufferClick(button());
      break;
    case Route::ClearCopyBuffers:
      actions_->ClearCopyBuffers();
      break;
  }
}

}  // namespace quillon
