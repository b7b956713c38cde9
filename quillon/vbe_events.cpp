#include "quillon/vbe_events.h"

#include "host/error.h"

namespace quillon {

namespace {

enum class Route { BookmarkClick, ResetBookmarks, CopyBufferClick, ClearCopyBuffers };

// Where each slot's clicks go, slot by slot.
constexpr std::array<Route, kEventSlotCount> kRoutes{{
    Route::BookmarkClick, Route::BookmarkClick, Route::BookmarkClick, Route::BookmarkClick,
    Route::BookmarkClick, Route::ResetBookmarks,  // BM1Event to BM5Event, ClearBMsEvent
    Route::CopyBufferClick, Route::CopyBufferClick, Route::CopyBufferClick, Route::CopyBufferClick,
    Route::CopyBufferClick, Route::ClearCopyBuffers,  // CP1Event to CP5Event, ClearCPsEvent
}};

}  // namespace

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
  switch (kRoutes[static_cast<std::size_t>(slot)]) {
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
