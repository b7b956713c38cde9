#pragma once
// The handlers bound to one simulated event source. A binding removes its handler when it is
// destroyed, so a replaced or released binding is never reached again.

#include <map>
#include <memory>
#include <vector>

#include "host/command_bars.h"

namespace host::sim {

template <typename Handler>
class HandlerList : public std::enable_shared_from_this<HandlerList<Handler>> {
 public:
  std::unique_ptr<EventConnection> Add(Handler handler) {
    const int id = nextId_++;
    handlers_.emplace(id, std::move(handler));
    return std::make_unique<Binding>(this->weak_from_this(), id);
  }

  // Handlers as they are now: one that a handler removes while the event runs is still called
  // this once, as with a real connection point.
  std::vector<Handler> Current() const {
    std::vector<Handler> current;
    for (const auto& [id, handler] : handlers_) current.push_back(handler);
    return current;
  }

  std::size_t Size() const { return handlers_.size(); }

 private:
  class Binding : public EventConnection {
   public:
    Binding(std::weak_ptr<HandlerList> list, int id) : list_(std::move(list)), id_(id) {}
    ~Binding() override {
      if (auto list = list_.lock()) list->handlers_.erase(id_);
    }

   private:
    std::weak_ptr<HandlerList> list_;
    int id_;
  };

  std::map<int, Handler> handlers_;
  int nextId_ = 1;
};

}  // namespace host::sim
