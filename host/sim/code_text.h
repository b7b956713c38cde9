#pragma once
// How the editor reads procedures out of a module's text: where each procedure's lines begin and
// end, and which line holds its declaration.

#include <cstdint>
#include <vector>

#include "host/editor.h"
#include "host/text.h"

namespace host::sim {

struct Procedure {
  Text name;
  ProcKind kind = ProcKind::Proc;
  std::int32_t firstLine = 0;  // first line the editor counts as the procedure's
  std::int32_t bodyLine = 0;   // the declaration statement
  std::int32_t lastLine = 0;   // the End statement
};

// A procedure's lines start right after the end of the previous one (for the first, right after
// the last statement of the declarations section), so comments and blank lines above a
// declaration belong to it. Lines after the last End statement belong to no procedure.
std::vector<Procedure> FindProcedures(const std::vector<Text>& lines);

// A text as the editor stores it: each line feed, and each of its own line breaks, ends a line.
std::vector<Text> SplitLines(const Text& text);

}  // namespace host::sim
