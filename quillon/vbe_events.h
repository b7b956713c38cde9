#pragma once
// clsVBE_Events: the one sink that holds the editor's click sources for all twelve buttons and
// hands each click to its entry point. Its handlers only forward; they trap nothing.

#include <array>
#include <cstdint>
#include <memory>

#include "host/editor.h"
#include "quillon/button_actions.h"

namespace quillon {

// The twelve event-source slots, in the order the add-in's type library numbers them.
enum class EventSlot : std::uint8_t {
  BM1Event,
  BM2Event,
  BM3Event,
  BM4Event,
  BM5Event,
  ClearBMsEvent,
  CP1Event,
  CP2Event,
  CP3Event,
  CP4Event,
  CP5Event,
  ClearCPsEvent,
};
inline constexpr std::size_t kEventSlotCount = 12;

class clsVBE_Events {
 public:
  explicit clsVBE_Events(std::shared_ptr<ButtonActions> actions);
  clsVBE_Events(const clsVBE_Events&) = delete;
  clsVBE_Events& operator=(const clsVBE_Events&) = delete;

  // Setting a slot replaces the source it held: the old source no longer reaches the handler.
  void SetSource(EventSlot slot, std::shared_ptr<host::CommandBarEvents> source);
  std::shared_ptr<host::CommandBarEvents> Source(EventSlot slot) const;

 private:
  void Click(EventSlot slot, const std::shared_ptr<host::CommandBarControl>& ctrl);

  struct Binding {
    std::shared_ptr<host::CommandBarEvents> source;
    std::unique_ptr<host::EventConnection> connection;
  };
  std::shared_ptr<ButtonActions> actions_;
  std::array<Binding, kEventSlotCount> slots_;
};

}  // namespace quillon
