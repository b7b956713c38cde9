// Stands in for ping.exe in the release tests, where the uninstallers' clean-up waits with
// "ping -n N 127.0.0.1": it waits N - 1 seconds, as ping does, and first for as long as a file
// ping.hold lies beside it (two minutes at the most), so that a test can do what must happen
// before that clean-up, however slow the machine, and then let it go on.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring HoldFile() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return {};
  std::wstring hold(self, length);
  hold.erase(hold.find_last_of(L'\\') + 1);
  return hold + L"ping.hold";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring hold = HoldFile();
  for (int waited = 0; !hold.empty() && waited < 1200 &&
                       GetFileAttributesW(hold.c_str()) != INVALID_FILE_ATTRIBUTES;
       ++waited) {
    Sleep(100);
  }
  long count = 4;
  for (int i = 1; i + 1 < argc; ++i) {
    if (_wcsicmp(argv[i], L"-n") == 0) count = std::wcstol(argv[i + 1], nullptr, 10);
  }
  if (count > 1) Sleep(static_cast<DWORD>(count - 1) * 1000);
  return 0;
}
