#include "sandbox/child_process.h"

#include <windows.h>

#include <vector>

#include "host/error.h"

namespace sandbox {

namespace {

struct ProcessHandles {
  PROCESS_INFORMATION info{};
  ~ProcessHandles() {
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
  }
};

}  // namespace

unsigned long RunToEnd(const host::Text& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(0);
  ProcessHandles process;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process.info))
    throw host::HostError(HRESULT_FROM_WIN32(GetLastError()), u"Starting " + commandLine);
  WaitForSingleObject(process.info.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.info.hProcess, &code);
  return code;
}

}  // namespace sandbox
