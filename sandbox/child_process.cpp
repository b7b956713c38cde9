#include "sandbox/child_process.h"

#include <windows.h>

#include <vector>

#include "host/error.h"
#include "host/win/unique.h"

namespace sandbox {

unsigned long RunToEnd(const host::Text& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(0);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &started))
    throw host::HostError(HRESULT_FROM_WIN32(GetLastError()), u"Starting " + commandLine);
  const host::win::UniqueHandle process(started.hProcess);
  const host::win::UniqueHandle thread(started.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.Get(), &code);
  return code;
}

}  // namespace sandbox
