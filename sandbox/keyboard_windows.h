#pragma once
// The sandbox's own windows on the editor's thread, as the keyboard meets them in Office: the
// editor's main window (class wndclass_desked_gsk) with a code window in it and a tool window
// floating over it, the host application's window, and a modal dialog that disables the editor.
// Each records the keys that reach it; keystrokes are typed through SendInput, as a user types
// them, and this thread's message loop runs until they have all arrived.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace sandbox {

class KeyboardWindows {
 public:
  KeyboardWindows();
  ~KeyboardWindows();
  KeyboardWindows(const KeyboardWindows&) = delete;
  KeyboardWindows& operator=(const KeyboardWindows&) = delete;

  HWND EditorMainWindow() const { return editor_; }
  // "editor", "code", "tool", "host", "dialog" (while the dialog is open); null for another.
  HWND Named(const std::string& name) const;
  // Makes the window's top-level window the foreground window and gives the window the focus.
  bool Focus(HWND window);
  // The modal dialog over the editor: opened with the editor disabled and the focus in it,
  // closed with the editor enabled again and the focus back in the code window.
  void OpenDialog();
  void CloseDialog();

  // Presses the key with the modifiers, `downs` key-downs (more than one is an auto-repeat),
  // then releases it all. False when the keystrokes did not all arrive within a few seconds.
  bool Type(WORD virtualKey, bool ctrl, bool shift, bool alt, int downs);
  // The key-downs other than Ctrl, Shift and Alt that reached each window since the last take:
  // "1", "X", "F9", separated by spaces; windows that got none are not listed.
  std::map<std::string, std::string> TakeReceived();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND Make(const wchar_t* className, const wchar_t* title, DWORD style, HWND parent, int x, int y);
  std::string NameOf(HWND window) const;

  HWND editor_ = nullptr;
  HWND code_ = nullptr;
  HWND tool_ = nullptr;
  HWND host_ = nullptr;
  HWND dialog_ = nullptr;
};

// A key as a scenario writes it: "1", "x", "F9", "Enter". Zero for a name it does not know.
WORD VirtualKeyNamed(const std::string& name);
std::string KeyNameOf(WORD virtualKey);

}  // namespace sandbox
