// Stands in for the 32-bit regsvr32 (SysWOW64\regsvr32.exe) in the zip scripts' tests on a machine
// that runs no 32-bit programs: "regsvr32 /s [/u] <dll>". It answers as regsvr32 does for what the
// scripts can meet: 0 when the file is a 32-bit DLL, 3 (the DLL could not be loaded) when it is
// missing or not one, 1 for a command line regsvr32 would not take. Each call it accepts is
// appended to regsvr32.log beside this program ("register <dll>" or "unregister <dll>"), which
// the tests read back.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr std::uint16_t kMachineI386 = 0x14c;

bool IsDll32(const wchar_t* path) {
  FILE* file = _wfopen(path, L"rb");
  if (file == nullptr) return false;
  unsigned char header[4096] = {};
  const size_t size = std::fread(header, 1, sizeof header, file);
  std::fclose(file);
  if (size < 64 || header[0] != 'M' || header[1] != 'Z') return false;
  const std::uint32_t pe = header[60] | header[61] << 8 | header[62] << 16 |
                           static_cast<std::uint32_t>(header[63]) << 24;
  if (pe > size - 24) return false;
  const unsigned char* signature = header + pe;
  if (signature[0] != 'P' || signature[1] != 'E' || signature[2] != 0 || signature[3] != 0) {
    return false;
  }
  const std::uint16_t machine = signature[4] | signature[5] << 8;
  const std::uint16_t characteristics = signature[22] | signature[23] << 8;
  return machine == kMachineI386 && (characteristics & IMAGE_FILE_DLL) != 0;
}

void Log(const wchar_t* action, const wchar_t* dll) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length == 0 || length == MAX_PATH) return;
  std::wstring log(self, length);
  log.erase(log.find_last_of(L'\\') + 1);
  log += L"regsvr32.log";
  FILE* file = _wfopen(log.c_str(), L"a");
  if (file == nullptr) return;
  std::fwprintf(file, L"%ls %ls\n", action, dll);
  std::fclose(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  bool unregister = false;
  const wchar_t* dll = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (_wcsicmp(argv[i], L"/s") == 0) continue;
    if (_wcsicmp(argv[i], L"/u") == 0) {
      unregister = true;
    } else if (argv[i][0] == L'/' || dll != nullptr) {
      return 1;
    } else {
      dll = argv[i];
    }
  }
  if (dll == nullptr) return 1;
  if (!IsDll32(dll)) return 3;
  Log(unregister ? L"unregister" : L"register", dll);
  return 0;
}
