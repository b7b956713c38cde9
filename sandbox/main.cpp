// The editor sandbox: plays the VBA editor for the add-ins, runs a scenario script and prints
// what happened. Exit code 0 when every expectation held.

#include <windows.h>

#include <fstream>
#include <iostream>
#include <vector>

#include "host/win/boundary.h"
#include "sandbox/scenario.h"

namespace {

std::wstring ExeDirectory() {
  std::vector<wchar_t> path(MAX_PATH);
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring full(path.data(), length);
  return full.substr(0, full.find_last_of(L"\\/"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: sandbox <scenario file>\n";
    return 2;
  }
  std::ifstream script(argv[1]);
  if (!script) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 2;
  }
  // Unbuffered: a crash of an add-in still leaves the transcript up to it.
  std::cout.setf(std::ios::unitbuf);
  if (FAILED(OleInitialize(nullptr))) {
    std::cerr << "OLE could not start\n";
    return 2;
  }
  sandbox::ScenarioResult result;
  const std::string path = argv[1];
  const auto slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  { result = sandbox::RunScenario(script, ExeDirectory(), folder, std::cout); }
  CoFreeUnusedLibraries();
  OleUninitialize();
  return result.failed == 0 && result.passed > 0 ? 0 : 1;
}
