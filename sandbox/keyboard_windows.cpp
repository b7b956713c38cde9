#include "sandbox/keyboard_windows.h"

#include <cstdio>
#include <cstdlib>

namespace sandbox {

namespace {

constexpr wchar_t kEditorClass[] = L"wndclass_desked_gsk";
constexpr wchar_t kCodeClass[] = L"VbaWindow";
constexpr wchar_t kToolClass[] = L"SandboxToolWindow";
constexpr wchar_t kHostClass[] = L"XLMAIN";
constexpr wchar_t kDialogClass[] = L"SandboxModalDialog";

// What reached each window, and the key-ups this thread took from its queue (whichever window
// they went to, a message box's too): the last of a typed sequence ends the wait for it.
std::map<HWND, std::string>& Received() {
  static std::map<HWND, std::string> received;
  return received;
}
std::map<WORD, long>& KeyUpsTaken() {
  static std::map<WORD, long> taken;
  return taken;
}

bool Modifier(WPARAM key) { return key == VK_CONTROL || key == VK_SHIFT || key == VK_MENU; }

LRESULT CALLBACK Taken(int code, WPARAM key, LPARAM flags) {
  if (code == HC_ACTION && (flags & (LPARAM{1} << 31)) != 0) ++KeyUpsTaken()[LOWORD(key)];
  return CallNextHookEx(nullptr, code, key, flags);
}
HHOOK& TakenHook() {
  static HHOOK hook = nullptr;
  return hook;
}

}  // namespace

LRESULT CALLBACK KeyboardWindows::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && !Modifier(wParam)) {
    auto& keys = Received()[window];
    if (!keys.empty()) keys += ' ';
    keys += KeyNameOf(LOWORD(wParam));
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

KeyboardWindows::KeyboardWindows() {
  for (const wchar_t* name : {kEditorClass, kCodeClass, kToolClass, kHostClass, kDialogClass}) {
    WNDCLASSW type{};
    type.lpfnWndProc = Procedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = name;
    type.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    RegisterClassW(&type);
  }
  // Before any add-in's hook, so an add-in's is asked first, as it would be in Office.
  if (!TakenHook())
    TakenHook() = SetWindowsHookExW(WH_KEYBOARD, Taken, nullptr, GetCurrentThreadId());
  host_ = Make(kHostClass, L"Book1 - Excel", WS_OVERLAPPEDWINDOW, nullptr, 0, 0);
  editor_ = Make(kEditorClass, L"Microsoft Visual Basic for Applications - Book1",
                 WS_OVERLAPPEDWINDOW, nullptr, 40, 40);
  code_ = Make(kCodeClass, L"Book1 - Module1 (Code)", WS_CHILD | WS_BORDER, editor_, 10, 10);
  // Owned by the editor's main window: it floats over it and goes with it.
  tool_ = Make(kToolClass, L"Immediate", WS_POPUP | WS_CAPTION, editor_, 300, 300);
}

KeyboardWindows::~KeyboardWindows() {
  for (HWND window : {dialog_, tool_, editor_, host_})
    if (window) DestroyWindow(window);
  Received().clear();
}

HWND KeyboardWindows::Make(const wchar_t* className, const wchar_t* title, DWORD style, HWND parent,
                           int x, int y) {
  HWND window = CreateWindowExW(0, className, title, style, x, y, 320, 200, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}

HWND KeyboardWindows::Named(const std::string& name) const {
  if (name == "editor") return editor_;
  if (name == "code") return code_;
  if (name == "tool") return tool_;
  if (name == "host") return host_;
  if (name == "dialog") return dialog_;
  return nullptr;
}

std::string KeyboardWindows::NameOf(HWND window) const {
  for (const char* name : {"editor", "code", "tool", "host", "dialog"})
    if (window && Named(name) == window) return name;
  return "another window";
}

bool KeyboardWindows::Focus(HWND window) {
  if (!window) return false;
  SetForegroundWindow(GetAncestor(window, GA_ROOT));
  SetFocus(window);
  return GetFocus() == window;
}

void KeyboardWindows::OpenDialog() {
  if (dialog_) return;
  dialog_ = Make(kDialogClass, L"References - VBAProject", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                 editor_, 100, 100);
  EnableWindow(editor_, FALSE);
  Focus(dialog_);
}

void KeyboardWindows::CloseDialog() {
  if (!dialog_) return;
  // The owner first, as a modal dialog's end does, so that it can take the activation back.
  EnableWindow(editor_, TRUE);
  DestroyWindow(dialog_);
  dialog_ = nullptr;
  Focus(code_);
}

bool KeyboardWindows::Type(WORD virtualKey, bool ctrl, bool shift, bool alt, int downs) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  std::vector<WORD> held;
  if (ctrl) held.push_back(VK_CONTROL);
  if (alt) held.push_back(VK_MENU);
  if (shift) held.push_back(VK_SHIFT);
  for (WORD key : held) add(key, false);
  for (int i = 0; i < downs; ++i) add(virtualKey, false);
  add(virtualKey, true);
  for (auto key = held.rbegin(); key != held.rend(); ++key) add(*key, true);

  const WORD last = held.empty() ? virtualKey : held.front();
  const long before = KeyUpsTaken()[last];
  if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size())
    return false;
  const DWORD start = GetTickCount();
  while (KeyUpsTaken()[last] == before) {
    if (GetTickCount() - start > 5000) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

std::map<std::string, std::string> KeyboardWindows::TakeReceived() {
  std::map<std::string, std::string> named;
  for (const auto& [window, keys] : Received())
    if (!keys.empty()) named[NameOf(window)] += keys;
  Received().clear();
  return named;
}

WORD VirtualKeyNamed(const std::string& name) {
  if (name.size() == 1) {
    const char c = name[0];
    if (c >= '0' && c <= '9') return static_cast<WORD>(c);
    if (c >= 'a' && c <= 'z') return static_cast<WORD>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<WORD>(c);
    return 0;
  }
  if (name == "Enter") return VK_RETURN;
  if (name == "Space") return VK_SPACE;
  if (name.size() <= 3 && name[0] == 'F') {
    const int number = std::atoi(name.c_str() + 1);
    if (number >= 1 && number <= 12) return static_cast<WORD>(VK_F1 + number - 1);
  }
  return 0;
}

std::string KeyNameOf(WORD virtualKey) {
  if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
    return std::string(1, static_cast<char>(virtualKey));
  if (virtualKey == VK_RETURN) return "Enter";
  if (virtualKey == VK_SPACE) return "Space";
  char text[8];
  if (virtualKey >= VK_F1 && virtualKey <= VK_F12)
    std::snprintf(text, sizeof text, "F%d", virtualKey - VK_F1 + 1);
  else
    std::snprintf(text, sizeof text, "0x%02X", virtualKey);
  return text;
}

}  // namespace sandbox
