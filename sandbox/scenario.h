#pragma once
// Scenario scripts: one command a line, the editor's side of a session (open projects, select,
// click, connect, disconnect) and expectations about what the add-ins did. The run is told as a
// transcript; the same scripts are the end-to-end tests and the demo.

#include <iosfwd>
#include <string>
#include <vector>

namespace sandbox {

struct ScenarioResult {
  int passed = 0;
  int failed = 0;
};

// `directory` is where the DLLs named in the script are found; `scriptFolder` the script's own
// folder, where the scripts it hands to another program are.
ScenarioResult RunScenario(std::istream& script, const std::wstring& directory,
                           const std::string& scriptFolder, std::ostream& transcript);

// A line split into words; double quotes keep spaces, and inside them \n, \" and \\ are escapes.
std::vector<std::string> SplitWords(const std::string& line);

}  // namespace sandbox
