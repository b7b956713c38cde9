#pragma once
// The simulated sound files, keyboard and message boxes: what the add-in played and showed is
// recorded, and which files exist and whether Shift is held is set by the test.

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "host/platform.h"
#include "host/sim/host_calls.h"

namespace host::sim {

class SimSound : public SoundPlayer {
 public:
  explicit SimSound(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}
  bool OrdinaryFileExists(const Text& path) override;
  void Play(const Text& path) override;

  // Paths compare as Windows compares them, without regard to ASCII case.
  void AddFile(const Text& path);
  void RemoveFile(const Text& path);
  const std::vector<Text>& Played() const { return played_; }
  void ClearPlayed() { played_.clear(); }

 private:
  std::shared_ptr<HostCalls> calls_;
  std::set<Text> files_;
  std::vector<Text> played_;
};

class SimKeyboard : public Keyboard {
 public:
  explicit SimKeyboard(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}
  std::int16_t GetKeyState(std::int32_t virtualKey) override;
  bool shiftDown = false;
  bool shiftToggled = false;
  bool ctrlDown = false;
  bool altDown = false;

 private:
  std::shared_ptr<HostCalls> calls_;
};

struct ShownMessage {
  Text text;
  Text title;
  WindowHandle owner = 0;
  bool operator==(const ShownMessage&) const = default;
};

class SimMessageBoxes : public MessageBoxes {
 public:
  explicit SimMessageBoxes(std::shared_ptr<HostCalls> calls) : calls_(std::move(calls)) {}
  void Show(const Text& text, const Text& title, WindowHandle owner) override;
  const std::vector<ShownMessage>& Shown() const { return shown_; }
  void Clear() { shown_.clear(); }
  // What the user does while a box is up, before closing it: its modal loop runs keys and clicks.
  std::function<void()> whileShown;

 private:
  std::shared_ptr<HostCalls> calls_;
  std::vector<ShownMessage> shown_;
};

}  // namespace host::sim
