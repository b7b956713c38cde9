#include "quillon/copy_buffers.h"

#include <limits>

#include "host/error.h"
#include "quillon/messages.h"
#include "quillon/tooltips.h"

namespace quillon {

namespace {

constexpr std::size_t kCaptionLength = 20;
constexpr char16_t kEllipsis = u'\u2026';

[[noreturn]] void InvalidCall() {
  throw host::HostError(host::codes::kInvalidArgument, u"Invalid procedure call or argument");
}

// The first `count` characters (all of them when there are fewer).
host::Text Left(const host::Text& text, std::int64_t count) {
  if (count < 0) InvalidCall();
  return text.substr(0, static_cast<std::size_t>(std::min<std::int64_t>(count, text.size())));
}

// The text from 1-based column `column` on (empty past the end).
host::Text From(const host::Text& text, std::int64_t column) {
  if (column < 1) InvalidCall();
  if (column > static_cast<std::int64_t>(text.size())) return {};
  return text.substr(static_cast<std::size_t>(column - 1));
}

bool NothingSelected(const host::Selection& s) {
  return s.startLine == s.endLine && s.startColumn == s.endColumn;
}

// The editor takes several lines as one text with CR LF between them; buffers keep LF.
host::Text EditorLines(const host::Text& text) {
  host::Text lines;
  lines.reserve(text.size());
  for (const char16_t c : text) {
    if (c == u'\n') lines += u'\r';
    lines += c;
  }
  return lines;
}

// Lines as one text for the editor.
host::Text Joined(std::vector<host::Text>::const_iterator first,
                  std::vector<host::Text>::const_iterator last) {
  host::Text text;
  for (auto line = first; line != last; ++line) {
    if (line != first) text += u"\r\n";
    text += *line;
  }
  return text;
}

}  // namespace

LineFeeds CountLineFeeds(const host::Text& text) {
  std::int32_t count = 0;
  std::size_t last = 0;  // 1-based position of the last line feed
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n') {
      ++count;
      last = i + 1;
    }
  }
  return {count, static_cast<std::int32_t>(text.size() - last)};
}

host::Text SummaryCaption(const host::Text& firstPiece, bool severalLines) {
  const auto first = firstPiece.find_first_not_of(u' ');
  const host::Text trimmed =
      first == host::Text::npos
          ? host::Text()
          : firstPiece.substr(first, firstPiece.find_last_not_of(u' ') - first + 1);
  host::Text caption = trimmed.substr(0, host::CutPoint(trimmed, kCaptionLength));
  if (trimmed.size() > kCaptionLength || severalLines) caption += kEllipsis;
  return caption;
}

host::VBE& mCopyPaste::Editor() const {
  if (!state_.EditorVBE)
    throw host::HostError(host::codes::kFail, u"Object variable or With block variable not set");
  return *state_.EditorVBE;
}

std::size_t mCopyPaste::BufferOf(host::CommandBarButton& button) {
  // The button's place on the bar picks the buffer, never its caption.
  const std::int32_t index = button.Index();
  if (index < 1 || index > kNumberedButtons)
    throw host::HostError(host::codes::kNotFound, u"Subscript out of range");
  return static_cast<std::size_t>(index - 1);
}

void mCopyPaste::CopyBufferClick(const std::shared_ptr<host::CommandBarButton>& button) {
  const host::Text caption = button->Caption();
  if (caption == kCopyBufferBar.unusedCaption || feedback_.ShiftKeyDown())
    CaptureSelection(button, caption);
  else
    PasteBuffer(button);
}

void mCopyPaste::CaptureSelection(const std::shared_ptr<host::CommandBarButton>& button,
                                  const host::Text& captionBefore) {
  try {
    const std::size_t buffer = BufferOf(*button);
    const auto pane = Editor().ActiveCodePane();
    const auto s = pane->GetSelection();
    // Nothing selected: the buffer keeps what it holds, so its button still tells the truth.
    if (NothingSelected(s)) return;
    const auto lines = SelectedLines(*pane->CodeModule(), s);
    host::Text text;
    host::Text caption;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      host::Text piece = lines[i];
      if (i + 1 == lines.size()) piece = Left(piece, std::int64_t{s.endColumn} - 1);
      if (i == 0) {
        piece = From(piece, s.startColumn);
        caption = SummaryCaption(piece, s.endLine > s.startLine);
      }
      text += piece;
      text += u'\n';
    }
    // The last separator goes, and with it every empty piece at the end of the selection.
    while (!text.empty() && text.back() == u'\n') text.pop_back();
    // Whole lines (a selection that ends in column 1 of a later line) keep their last line break,
    // so that they paste as whole lines again.
    if (s.endColumn == 1 && s.endLine > s.startLine) text += u'\n';
    // The pressed state first, then the caption, which alone tells a filled button from a free
    // one. A refused caption leaves the button as it was: a filled one is pressed already, a free
    // one is drawn up again, by a call the editor has just taken.
    button->SetState(host::kStateDown);
    try {
      button->SetCaption(caption);
    } catch (const host::HostError&) {
      if (captionBefore == kCopyBufferBar.unusedCaption)
        host::Ignore([&] { button->SetState(host::kStateUp); });
      throw;
    }
    ShowTooltip(*button, WithKeyLine(BufferTooltip(text), state_, kCopyBufferBar,
                                     static_cast<std::int32_t>(buffer) + 1));
    // Kept only now that the capture is complete: one cut short leaves the old text, and the
    // button never tells of a text the buffer does not hold.
    CopyBuffers[buffer] = std::move(text);
    feedback_.PlayZoomInSound();
  } catch (const host::HostError&) {
  }
}

void mCopyPaste::PasteBuffer(const std::shared_ptr<host::CommandBarButton>& button) {
  std::shared_ptr<host::CodePane> pane;
  host::Selection s;
  host::Text text;
  try {
    text = CopyBuffers[BufferOf(*button)];
    pane = Editor().ActiveCodePane();
    s = pane->GetSelection();
    switch (ReplaceSelection(*pane->CodeModule(), s, text)) {
      case Replaced::kDone:
        break;
      case Replaced::kNothing:
      case Replaced::kUndone:
        return;
      case Replaced::kHalfDone:
        feedback_.ShowMessage(host::Text(kPasteNotCompletedMessage));
        return;
    }
  } catch (const host::HostError&) {
    return;
  }
  // Every edit is done: from here on a refused step leaves the pasted text where it is.
  const auto feeds = CountLineFeeds(text);
  const std::int64_t line = std::int64_t{s.startLine} + feeds.count;
  const std::int64_t column =
      feeds.count == 0 ? std::int64_t{s.startColumn} + static_cast<std::int64_t>(text.size())
                       : feeds.after + 1;
  if (line <= std::numeric_limits<std::int32_t>::max() &&
      column <= std::numeric_limits<std::int32_t>::max()) {
    const auto l = static_cast<std::int32_t>(line);
    const auto c = static_cast<std::int32_t>(column);
    host::Ignore([&] { pane->SetSelection(l, c, l, c); });
  }
  feedback_.PlayRedoSound();
}

mCopyPaste::Replaced mCopyPaste::ReplaceSelection(host::CodeModule& module,
                                                   const host::Selection& s,
                                                   const host::Text& text) {
  // Everything an undo needs is read before the first edit.
  if (s.startLine > module.CountOfLines()) {
    // No line SL (an empty module): the text becomes new lines of its own, in one write.
    if (s.endLine != s.startLine) InvalidCall();
    if (!text.empty()) module.InsertLines(s.startLine, EditorLines(text));
    return Replaced::kDone;
  }
  const auto lines = SelectedLines(module, s);
  if (lines.empty()) return Replaced::kNothing;
  // Line SL as it stands once the selected text is gone, then the buffer at column SC in it.
  const host::Text line =
      Left(lines.front(), std::int64_t{s.startColumn} - 1) + From(lines.back(), s.endColumn);
  const host::Text newText = EditorLines(Left(line, std::int64_t{s.startColumn} - 1) + text +
                                         From(line, s.startColumn));
  // One line: one write, done or refused.
  if (s.endLine == s.startLine) {
    module.ReplaceLine(s.startLine, newText);
    return Replaced::kDone;
  }
  // Several lines: the lines below SL go first (refused, nothing has changed), then line SL takes
  // the new text. Should that be refused, the lines go back by another kind of write than the
  // one refused; only when that fails too, and the rewrite of line SL once more, is the module
  // left as the last write that went through made it.
  module.DeleteLines(s.startLine + 1, s.endLine - s.startLine);
  try {
    module.ReplaceLine(s.startLine, newText);
  } catch (const host::HostError&) {
    const host::Text below = Joined(lines.begin() + 1, lines.end());
    try {
      module.InsertLines(s.startLine + 1, below);
    } catch (const host::HostError&) {
      try {
        module.ReplaceLine(s.startLine, Joined(lines.begin(), lines.end()));
      } catch (const host::HostError&) {
        return Replaced::kHalfDone;
      }
    }
    return Replaced::kUndone;
  }
  return Replaced::kDone;
}

std::vector<host::Text> mCopyPaste::SelectedLines(host::CodeModule& module,
                                                  const host::Selection& s) {
  std::vector<host::Text> lines;
  if (s.endLine < s.startLine) return lines;
  const std::int64_t count = std::int64_t{s.endLine} - s.startLine + 1;
  if (count > std::numeric_limits<std::int32_t>::max()) InvalidCall();
  // One call for the whole selection: the editor joins the lines with CR LF, and no line of code
  // holds one itself.
  const host::Text joined = module.Lines(s.startLine, static_cast<std::int32_t>(count));
  std::size_t start = 0;
  for (auto end = joined.find(u"\r\n"); end != host::Text::npos;
       end = joined.find(u"\r\n", start)) {
    lines.push_back(joined.substr(start, end - start));
    start = end + 2;
  }
  lines.push_back(joined.substr(start));
  return lines;
}

void mCopyPaste::ClearCopyBuffers() {
  if (!state_.CPToolbar)
    throw host::HostError(host::codes::kFail, u"Object variable or With block variable not set");
  const auto controls = state_.CPToolbar->Controls();
  for (std::int32_t i = 1; i <= kNumberedButtons; ++i) {
    const auto button = controls->Item(i)->AsButton();
    button->SetCaption(host::Text(kCopyBufferBar.unusedCaption));
    button->SetState(host::kStateUp);
    ShowTooltip(*button,
                WithKeyLine(host::Text(kCopyBufferBar.unusedTooltip), state_, kCopyBufferBar, i));
  }
  CopyBuffers.fill({});
  feedback_.PlayCancelSound();
}

}  // namespace quillon
