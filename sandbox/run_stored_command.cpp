// Runs a command line stored in the registry exactly as Apps & features and deployment tools run
// an UninstallString or QuietUninstallString: the text handed to CreateProcess unchanged, with no
// shell in between to split or quote it; then waits for that process and exits with its exit code.
//   run_stored_command <key under HKEY_CURRENT_USER> <value name>
// Exits 100 when the value cannot be read or the process cannot be started (and says why).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kCannotRun = 100;

class Handle {
 public:
  explicit Handle(HANDLE value) : value_(value) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { CloseHandle(value_); }
  HANDLE get() const { return value_; }

 private:
  HANDLE value_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fwprintf(stderr, L"usage: run_stored_command <key under HKCU> <value name>\n");
    return kCannotRun;
  }
  DWORD bytes = 0;
  LSTATUS status =
      RegGetValueW(HKEY_CURRENT_USER, argv[1], argv[2], RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
  std::wstring command(bytes / sizeof(wchar_t) + 1, L'\0');
  if (status == ERROR_SUCCESS) {
    status = RegGetValueW(HKEY_CURRENT_USER, argv[1], argv[2], RRF_RT_REG_SZ, nullptr,
                          command.data(), &bytes);
  }
  if (status == ERROR_SUCCESS && bytes < sizeof(wchar_t)) status = ERROR_INVALID_DATA;
  if (status != ERROR_SUCCESS) {
    std::fwprintf(stderr, L"cannot read HKCU\\%ls, value %ls (error %ld)\n", argv[1], argv[2],
                  status);
    return kCannotRun;
  }
  command.resize(bytes / sizeof(wchar_t) - 1);
  std::wprintf(L"running: %ls\n", command.c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fwprintf(stderr, L"cannot start it (error %lu)\n", GetLastError());
    return kCannotRun;
  }
  const Handle thread(process.hThread);
  const Handle child(process.hProcess);
  DWORD code = kCannotRun;
  if (WaitForSingleObject(child.get(), INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(child.get(), &code)) {
    std::fwprintf(stderr, L"cannot wait for it (error %lu)\n", GetLastError());
    return kCannotRun;
  }
  return static_cast<int>(code);
}
