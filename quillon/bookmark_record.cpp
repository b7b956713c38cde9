#include "quillon/bookmark_record.h"

#include "host/error.h"
#include "quillon/stored_values.h"
#include "quillon/wildcard.h"

namespace quillon {

BookmarkText DesignerBookmark(const host::Text& file, const host::Text& component) {
  return {file + u" - Userform: " + component, file + u"|" + component + u"|" + kDesignerField};
}

BookmarkText ProcedureBookmark(const host::Text& file, const host::Text& component,
                               const host::Text& procedure, std::int32_t offset) {
  const auto number = FormatWholeNumber(offset);
  return {file + u" - " + component + u" - " + procedure + u" - Line " + number,
          file + u"|" + component + u"|" + procedure + u"|" + number};
}

BookmarkText ModuleBookmark(const host::Text& file, const host::Text& component,
                            std::int32_t line) {
  const auto number = FormatWholeNumber(line);
  // Two spaces before "Line" here, one in the procedure form; and an empty procedure field.
  return {file + u" - " + component + u" -  Line " + number,
          file + u"|" + component + u"||" + number};
}

host::Text FileField(const host::Text& fileName) {
  // A workbook opened from OneDrive or SharePoint is named by an address with forward slashes.
  const auto slash = fileName.find_last_of(u"\\/");
  return slash == host::Text::npos ? fileName : fileName.substr(slash + 1);
}

std::vector<host::Text> SplitRecord(const host::Text& record) {
  std::vector<host::Text> fields(1);
  for (const char16_t c : record) {
    if (c == u'|')
      fields.emplace_back();
    else
      fields.back() += c;
  }
  return fields;
}

std::optional<BookmarkText> BookmarkOfRecord(const host::Text& record) {
  const auto fields = SplitRecord(record);
  if (fields.size() < 3 || fields[0].empty() || fields[1].empty()) return std::nullopt;
  std::optional<BookmarkText> bookmark;
  if (fields.size() == 3 && fields[2] == kDesignerField) {
    bookmark = DesignerBookmark(fields[0], fields[1]);
  } else if (fields.size() == 4) {
    const auto line = ParseWholeNumber(fields[3]);
    if (!line) return std::nullopt;
    bookmark = fields[2].empty() ? ModuleBookmark(fields[0], fields[1], *line)
                                 : ProcedureBookmark(fields[0], fields[1], fields[2], *line);
  }
  if (!bookmark || bookmark->record != record) return std::nullopt;
  return bookmark;
}

bool LeadsSomewhere(const std::vector<host::Text>& fields) {
  if (fields.size() < 3) return false;
  return fields[2] == kDesignerField ||
         (fields.size() >= 4 && ParseWholeNumber(fields[3]).has_value());
}

const host::Text& Field(const std::vector<host::Text>& fields, std::size_t index) {
  if (index >= fields.size())
    throw host::HostError(host::codes::kNotFound, u"The bookmark record has too few fields.");
  return fields[index];
}

std::int32_t RecordedLine(const host::Text& field) {
  const auto line = ParseWholeNumber(field);
  if (!line)
    throw host::HostError(host::codes::kTypeMismatch, u"The bookmark's line is not a number.");
  return *line;
}

bool ProjectMatches(const host::Text& fileName, const host::Text& fileField) {
  if (fileName == fileField) return true;
  if (fileName.size() <= fileField.size()) return false;
  const std::size_t start = fileName.size() - fileField.size();
  const char16_t separator = fileName[start - 1];
  return (separator == u'\\' || separator == u'/') &&
         fileName.compare(start, host::Text::npos, fileField) == 0;
}

host::Text VersionPattern(const host::Text& fileName) {
  const auto dot = fileName.rfind(u'.');
  host::Text base = dot == host::Text::npos ? fileName : fileName.substr(0, dot);
  const host::Text extension = dot == host::Text::npos ? host::Text() : fileName.substr(dot);
  while (!base.empty() && base.back() >= u'0' && base.back() <= u'9') base.pop_back();
  if (base + extension == fileName) return {};
  return LiteralPattern(base) + u"*" + LiteralPattern(extension);
}

host::Text ReplaceAll(const host::Text& text, const host::Text& from, const host::Text& to) {
  if (from.empty()) return text;
  host::Text result;
  std::size_t at = 0;
  for (auto found = text.find(from); found != host::Text::npos; found = text.find(from, at)) {
    result.append(text, at, found - at);
    result += to;
    at = found + from.size();
  }
  result.append(text, at, host::Text::npos);
  return result;
}

}  // namespace quillon
