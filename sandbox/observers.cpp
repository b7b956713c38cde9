#include "sandbox/observers.h"

#include <windows.h>

#include <cstring>
#include <set>
#include <utility>

#include "host/win/unique.h"
#include "sandbox/pictures.h"

namespace sandbox {

namespace {

std::vector<SeenMessageBox>& Boxes() {
  static std::vector<SeenMessageBox> boxes;
  return boxes;
}

// The picture still to take of the next message box; empty when none is.
std::wstring& PictureToTake() {
  static std::wstring name;
  return name;
}

host::Text WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return host::win::FromWide(text);
}

host::Text ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return host::win::FromWide(name);
}

struct Reading {
  SeenMessageBox box;
  int buttons = 0;
  bool ok = false;
};

BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
  auto& reading = *reinterpret_cast<Reading*>(param);
  const LONG style = GetWindowLongW(child, GWL_STYLE);
  if (!(style & WS_VISIBLE)) return TRUE;
  const auto kind = ClassOf(child);
  if (kind == u"Button") {
    ++reading.buttons;
    reading.ok = reading.ok || GetDlgCtrlID(child) == IDOK;
  } else if (kind == u"Static") {
    if ((style & SS_TYPEMASK) == SS_ICON) {
      // Wine keeps the icon control in every message box; an icon is one that holds an icon.
      reading.box.icon = reading.box.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
    } else if (const auto text = WindowText(child); text.size() > reading.box.text.size()) {
      reading.box.text = text;
    }
  }
  return TRUE;
}

BOOL CALLBACK CloseMessageBox(HWND window, LPARAM) {
  if (ClassOf(window) != u"#32770" || !IsWindowVisible(window)) return TRUE;
  Reading reading;
  reading.box.title = WindowText(window);
  reading.box.owner = reinterpret_cast<std::uintptr_t>(GetWindow(window, GW_OWNER));
  EnumChildWindows(window, ReadChild, reinterpret_cast<LPARAM>(&reading));
  reading.box.okOnly = reading.ok && reading.buttons == 1;
  Boxes().push_back(reading.box);
  if (!PictureToTake().empty()) SaveWindowPicture(window, std::exchange(PictureToTake(), {}));
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ShowWindow(window, SW_HIDE);  // seen once, even if the next tick comes before it closes
  return TRUE;
}

// Runs inside the message box's own modal loop.
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), CloseMessageBox, 0);
}

std::vector<std::string>& Sounds() {
  static std::vector<std::string> sounds;
  return sounds;
}

using SndPlaySound = BOOL(WINAPI*)(LPCSTR, UINT);
SndPlaySound realSndPlaySound = nullptr;
using SetTimerCall = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC);
SetTimerCall realSetTimer = nullptr;
using KillTimerCall = BOOL(WINAPI*)(HWND, UINT_PTR);
KillTimerCall realKillTimer = nullptr;

std::set<UINT_PTR>& Timers() {
  static std::set<UINT_PTR> timers;
  return timers;
}

unsigned& LastInterval() {
  static unsigned interval = 0;
  return interval;
}

BOOL WINAPI RecordSound(LPCSTR path, UINT flags) {
  std::string name = path ? path : "";
  name = name.substr(name.find_last_of('\\') + 1);
  Sounds().push_back(name + (flags == 0 ? "" : " (flags " + std::to_string(flags) + ")"));
  return realSndPlaySound ? realSndPlaySound(path, flags) : FALSE;
}

UINT_PTR WINAPI RecordSetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC tick) {
  const UINT_PTR timer = realSetTimer(window, id, milliseconds, tick);
  if (timer && !window) {
    Timers().insert(timer);
    LastInterval() = milliseconds;
  }
  return timer;
}

BOOL WINAPI RecordKillTimer(HWND window, UINT_PTR id) {
  const BOOL killed = realKillTimer(window, id);
  if (killed && !window) Timers().erase(id);
  return killed;
}

// Points the DLL's import of `function` from `from` at `replacement`; keeps the real one.
template <typename Function>
void HookImport(BYTE* base, const char* from, const char* function, Function replacement,
                Function& real) {
  const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return;
  for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       import->Name; ++import) {
    if (_stricmp(reinterpret_cast<char*>(base + import->Name), from) != 0) continue;
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
    auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(
        base + (import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk));
    for (; name->u1.AddressOfData; ++name, ++slot) {
      if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      if (slot->u1.Function == reinterpret_cast<ULONG_PTR>(replacement)) return;  // already watched
      DWORD protection = 0;
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection);
      real = reinterpret_cast<Function>(slot->u1.Function);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
      return;
    }
  }
}

}  // namespace

MessageBoxWatch::MessageBoxWatch(std::wstring picture) : timer_(SetTimer(nullptr, 0, 20, Tick)) {
  Boxes().clear();
  PictureToTake() = std::move(picture);
}
MessageBoxWatch::~MessageBoxWatch() {
  KillTimer(nullptr, static_cast<UINT_PTR>(timer_));
  PictureToTake().clear();
}
std::vector<SeenMessageBox> MessageBoxWatch::Seen() const { return Boxes(); }

void WatchCallsOf(const std::wstring& dllName) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(dllName.c_str()));
  if (!base) return;
  HookImport<SndPlaySound>(base, "winmm.dll", "sndPlaySoundA", RecordSound, realSndPlaySound);
  HookImport<SetTimerCall>(base, "user32.dll", "SetTimer", RecordSetTimer, realSetTimer);
  HookImport<KillTimerCall>(base, "user32.dll", "KillTimer", RecordKillTimer, realKillTimer);
}

std::size_t LiveTimers() { return Timers().size(); }
unsigned LastTimerInterval() { return LastInterval(); }

void PumpMessages(unsigned milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= milliseconds) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

std::vector<std::string> TakePlayedSounds() {
  auto sounds = std::move(Sounds());
  Sounds().clear();
  return sounds;
}

ShiftHeld::ShiftHeld() {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
}

ShiftHeld::~ShiftHeld() {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
}

}  // namespace sandbox
