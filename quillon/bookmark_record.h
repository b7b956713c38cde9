#pragma once
// The bookmark as text: the record kept in a button's DescriptionText and the caption shown on
// it, in three forms (D designer, P procedure, M module line); reading a record back; matching a
// recorded file against an open project; the version pattern that follows a renumbered workbook.

#include <cstdint>
#include <optional>
#include <vector>

#include "host/text.h"

namespace quillon {

inline constexpr char16_t kDesignerField[] = u"Designer";

struct BookmarkText {
  host::Text caption;
  host::Text record;
};

BookmarkText DesignerBookmark(const host::Text& file, const host::Text& component);
BookmarkText ProcedureBookmark(const host::Text& file, const host::Text& component,
                               const host::Text& procedure, std::int32_t offset);
BookmarkText ModuleBookmark(const host::Text& file, const host::Text& component, std::int32_t line);

// The text after the last backslash of a project's FileName (all of it when there is none).
host::Text FileField(const host::Text& fileName);

// The bookmark a record stands for, with the caption setting it gave; nullopt for a text that is
// not a well-formed record (one that would not be written again exactly as it is).
std::optional<BookmarkText> BookmarkOfRecord(const host::Text& record);

// A record's fields, split at every "|".
std::vector<host::Text> SplitRecord(const host::Text& record);
// True when the fields are enough for their form: a designer's three, or a line that is a
// number in the fourth. Fields after those do not matter.
bool LeadsSomewhere(const std::vector<host::Text>& fields);
// Field `index`; throws host::HostError when the record has too few fields.
const host::Text& Field(const std::vector<host::Text>& fields, std::size_t index);
// A recorded line as a 32-bit whole number; throws host::HostError for anything else.
std::int32_t RecordedLine(const host::Text& field);

// The project's document is the recorded file: the same name, or a path ending in it.
bool ProjectMatches(const host::Text& fileName, const host::Text& fileField);

// A pattern that also matches the other numbered versions of the file (Budget_07.xlsm gives
// Budget_*.xlsm); empty when the name carries no number before its extension. Only the "*" is a
// wildcard: the name's own characters stand for themselves.
host::Text VersionPattern(const host::Text& fileName);

// Every occurrence of `from`, left to right and without overlap, replaced by `to`.
host::Text ReplaceAll(const host::Text& text, const host::Text& from, const host::Text& to);

}  // namespace quillon
