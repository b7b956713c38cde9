#include "host/win/platform.h"

#include <windows.h>

#include <mmsystem.h>

#include <string>

#include "host/win/unique.h"

namespace host::win {

namespace {

class Sound : public SoundPlayer {
 public:
  bool OrdinaryFileExists(const Text& path) override {
    const DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes &
            (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY)) == 0;
  }
  void Play(const Text& path) override {
    const int size = WideCharToMultiByte(CP_ACP, 0, Wide(path), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, Wide(path), -1, ansi.data(), size, nullptr, nullptr);
    sndPlaySoundA(ansi.c_str(), 0);  // its result is of no use: a sound that cannot play is silence
  }
};

class Keys : public Keyboard {
 public:
  std::int16_t GetKeyState(std::int32_t virtualKey) override { return ::GetKeyState(virtualKey); }
};

class Messages : public MessageBoxes {
 public:
  void Show(const Text& text, const Text& title, WindowHandle owner) override {
    const HWND window = owner != 0 ? reinterpret_cast<HWND>(owner) : GetActiveWindow();
    MessageBoxW(window, Wide(text), Wide(title), MB_OK);
  }
};

}  // namespace

std::shared_ptr<SoundPlayer> WinSound() { return std::make_shared<Sound>(); }
std::shared_ptr<Keyboard> WinKeyboard() { return std::make_shared<Keys>(); }
std::shared_ptr<MessageBoxes> WinMessageBoxes() { return std::make_shared<Messages>(); }

}  // namespace host::win
