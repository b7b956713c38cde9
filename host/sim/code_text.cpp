#include "host/sim/code_text.h"

#include <optional>

#include "host/sim/ignore_case.h"

namespace host::sim {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

bool IsIdentifierChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c > 0x7F;
}

// Splits a statement into words, stopping at the first character that cannot be in a word.
std::vector<Text> LeadingWords(const Text& statement) {
  std::vector<Text> words;
  std::size_t i = 0;
  while (i < statement.size()) {
    while (i < statement.size() && IsSpace(statement[i])) ++i;
    const std::size_t start = i;
    while (i < statement.size() && IsIdentifierChar(statement[i])) ++i;
    if (i == start) break;
    words.push_back(statement.substr(start, i - start));
  }
  return words;
}

bool Is(const Text& word, const char16_t* keyword) { return EqualsIgnoringCase(word, keyword); }

bool IsCodeLine(const Text& line) {
  std::size_t i = 0;
  while (i < line.size() && IsSpace(line[i])) ++i;
  if (i == line.size() || line[i] == u'\'') return false;
  const auto words = LeadingWords(line.substr(i));
  return words.empty() || !Is(words.front(), u"Rem");
}

struct Declaration {
  Text name;
  ProcKind kind;
};

std::optional<Declaration> ParseDeclaration(const Text& statement) {
  const auto words = LeadingWords(statement);
  std::size_t w = 0;
  if (w < words.size() &&
      (Is(words[w], u"Public") || Is(words[w], u"Private") || Is(words[w], u"Friend")))
    ++w;
  if (w < words.size() && Is(words[w], u"Static")) ++w;
  if (w + 1 >= words.size()) return std::nullopt;
  if (Is(words[w], u"Sub") || Is(words[w], u"Function"))
    return Declaration{words[w + 1], ProcKind::Proc};
  if (!Is(words[w], u"Property") || w + 2 >= words.size()) return std::nullopt;
  if (Is(words[w + 1], u"Get")) return Declaration{words[w + 2], ProcKind::Get};
  if (Is(words[w + 1], u"Let")) return Declaration{words[w + 2], ProcKind::Let};
  if (Is(words[w + 1], u"Set")) return Declaration{words[w + 2], ProcKind::Set};
  return std::nullopt;
}

bool IsEndOfProcedure(const Text& statement) {
  const auto words = LeadingWords(statement);
  return words.size() >= 2 && Is(words[0], u"End") &&
         (Is(words[1], u"Sub") || Is(words[1], u"Function") || Is(words[1], u"Property"));
}

bool ContinuesOnNextLine(const Text& line) {
  std::size_t end = line.size();
  while (end > 0 && IsSpace(line[end - 1])) --end;
  return end >= 2 && line[end - 1] == u'_' && IsSpace(line[end - 2]);
}

}  // namespace

std::vector<Procedure> FindProcedures(const std::vector<Text>& lines) {
  std::vector<Procedure> procedures;
  std::optional<Procedure> open;
  std::int32_t lastStatementEnd = 0;  // last line of the latest statement outside procedures
  const auto count = static_cast<std::int32_t>(lines.size());
  for (std::int32_t line = 1; line <= count; ++line) {
    const std::int32_t first = line;
    Text statement = lines[line - 1];
    while (ContinuesOnNextLine(lines[line - 1]) && line < count) statement += lines[line++];
    if (!IsCodeLine(lines[first - 1])) continue;
    if (open) {
      if (IsEndOfProcedure(statement)) {
        open->lastLine = line;
        procedures.push_back(*open);
        open.reset();
        lastStatementEnd = line;
      }
      continue;
    }
    if (auto declaration = ParseDeclaration(statement)) {
      open = Procedure{declaration->name, declaration->kind, lastStatementEnd + 1, first, 0};
    } else {
      lastStatementEnd = line;
    }
  }
  if (open) {  // no End statement: the procedure runs to the end of the module
    open->lastLine = count;
    procedures.push_back(*open);
  }
  return procedures;
}

std::vector<Text> SplitLines(const Text& text) {
  std::vector<Text> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

}  // namespace host::sim
