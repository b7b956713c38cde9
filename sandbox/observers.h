#pragma once
// What the sandbox watches while an add-in handles a click, so that nothing waits for a person:
// real message boxes, read and closed by the sandbox itself; the sounds the add-in plays; and the
// Shift key, held down by setting the thread's keyboard state.

#include <cstdint>
#include <string>
#include <vector>

#include "host/text.h"

namespace sandbox {

struct SeenMessageBox {
  host::Text title;
  host::Text text;
  bool okOnly = false;
  bool icon = false;
  std::uintptr_t owner = 0;  // the window that owns it
};

// While alive, closes every message box that the thread shows and records it; with a picture
// name, pictures the first one before closing it, when pictures are on.
class MessageBoxWatch {
 public:
  explicit MessageBoxWatch(std::wstring picture = {});
  ~MessageBoxWatch();
  MessageBoxWatch(const MessageBoxWatch&) = delete;
  MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;
  std::vector<SeenMessageBox> Seen() const;

 private:
  unsigned long long timer_;
};

// Records each sndPlaySoundA call the named DLL makes (it still plays), and the window timers it
// sets and kills. Call after every load of the DLL.
void WatchCallsOf(const std::wstring& dllName);
std::vector<std::string> TakePlayedSounds();
// Thread timers the watched DLLs set and have not killed.
std::size_t LiveTimers();
// The interval the add-in asked for when it last started a thread timer, in milliseconds.
unsigned LastTimerInterval();

// Runs this thread's message loop for a while, as the editor's idle loop does.
void PumpMessages(unsigned milliseconds);

// Holds Shift down for this thread while alive.
class ShiftHeld {
 public:
  ShiftHeld();
  ~ShiftHeld();
  ShiftHeld(const ShiftHeld&) = delete;
  ShiftHeld& operator=(const ShiftHeld&) = delete;
};

}  // namespace sandbox
