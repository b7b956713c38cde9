#include "quillon/bookmarks.h"

#include <algorithm>
#include <limits>

#include "host/error.h"
#include "quillon/messages.h"
#include "quillon/toolbar_layout.h"
#include "quillon/tooltips.h"
#include "quillon/wildcard.h"

namespace quillon {

namespace {

// Asked once per change of a button, for its tooltip's key and its saved value alike.
std::optional<std::int32_t> PlaceOf(host::CommandBarButton& button) {
  return host::Ignore([&] { return button.Index(); });
}

// The editor's own answer that a component or procedure of that name is not there, as opposed
// to a call it refused (a busy editor, a protected project): only that answer frees a bookmark.
bool SaysNotThere(const host::HostError& error) {
  return error.Code() == host::codes::kSubscriptOutOfRange ||
         error.Code() == host::codes::kSubOrFunctionNotDefined ||
         error.Code() == host::codes::kNotFound;
}

}  // namespace

host::VBE& mBookmarks::Editor() const {
  if (!state_.EditorVBE)
    throw host::HostError(host::codes::kFail, u"Object variable or With block variable not set");
  return *state_.EditorVBE;
}

void mBookmarks::ResetButton(host::CommandBarButton& button) {
  button.SetCaption(host::Text(kBookmarksBar.unusedCaption));
  button.SetDescriptionText({});
  button.SetState(host::kStateUp);
  const auto place = PlaceOf(button);
  ShowTooltip(button,
              WithKeyLine(host::Text(kBookmarksBar.unusedTooltip), state_, kBookmarksBar, place));
  if (place) saved_.Save(*place, {});
}

bool mBookmarks::RestoredFirst(host::CommandBarButton& button) {
  const auto& unrestored = state_.UnrestoredBookmarks;
  if (std::find(unrestored.begin(), unrestored.end(), true) == unrestored.end()) return true;
  const auto place = PlaceOf(button);
  if (!place || *place < 1 || *place > kNumberedButtons) return true;
  auto& mark = state_.UnrestoredBookmarks[static_cast<std::size_t>(*place - 1)];
  if (!mark) return true;
  if (saved_.RestoreButton(button, *place) == Restored::kRefused) {
    feedback_.ShowMessage(host::Text(kBookmarkNotRestoredMessage));
    return false;
  }
  mark = false;
  return true;
}

void mBookmarks::BookmarkClick(const std::shared_ptr<host::CommandBarButton>& button) {
  // A saved bookmark the connection could not show comes back before anything is set over it.
  if (!RestoredFirst(*button)) return;
  if (button->DescriptionText().empty() || feedback_.ShiftKeyDown())
    SetBookmark(button);
  else
    GoToBookmark(button);
}

std::optional<BookmarkText> mBookmarks::ComposeBookmark(std::u16string_view& why) {
  // Trapped: without a saved project and a selected component there is nothing to record.
  host::Text file;
  host::Text component;
  try {
    file = FileField(Editor().ActiveVBProject()->FileName());
    component = Editor().SelectedVBComponent()->Name();
  } catch (const host::HostError&) {
    why = kSelectComponentMessage;
    return std::nullopt;
  }

  // Not trapped.
  if (Editor().ActiveWindow()->Type() == host::kDesignerWindow)
    return DesignerBookmark(file, component);

  // Trapped: without the caret's line the bookmark would record a place the caret is not at.
  std::shared_ptr<host::CodePane> pane;
  std::int32_t startLine = 0;
  try {
    pane = Editor().ActiveCodePane();
    startLine = pane->GetSelection().startLine;
  } catch (const host::HostError&) {
    why = kCaretUnreadMessage;
    return std::nullopt;
  }

  // Ignored: without its procedure the line is kept as the module's, which is still the place.
  host::Text procedure;
  std::int32_t declarationLine = 0;
  host::Ignore([&] { procedure = pane->CodeModule()->ProcOfLine(startLine).name; });
  if (!procedure.empty()) {
    // Always the plain-procedure kind, whatever kind the line's procedure is.
    host::Ignore([&] {
      declarationLine = pane->CodeModule()->ProcBodyLine(procedure, host::ProcKind::Proc);
    });
  }
  if (procedure.empty() || declarationLine == 0) return ModuleBookmark(file, component, startLine);
  return ProcedureBookmark(file, component, procedure, startLine - declarationLine);
}

void mBookmarks::SetBookmark(const std::shared_ptr<host::CommandBarButton>& button) {
  std::u16string_view why;
  const auto bookmark = ComposeBookmark(why);
  if (!bookmark) {
    feedback_.ShowMessage(host::Text(why));
    return;
  }
  button->SetCaption(bookmark->caption);
  button->SetDescriptionText(bookmark->record);
  button->SetState(host::kStateDown);
  const auto place = PlaceOf(*button);
  ShowTooltip(*button,
              WithKeyLine(BookmarkTooltip(bookmark->caption), state_, kBookmarksBar, place));
  if (place) saved_.Save(*place, bookmark->record);
  feedback_.PlayZoomInSound();
}

void mBookmarks::GoToBookmark(const std::shared_ptr<host::CommandBarButton>& button) {
  bool rematched = false;
  for (;;) {
    switch (LocateBookmark(button)) {
      case LocateOutcome::Reached:
        rematched ? feedback_.PlayReminderSound() : feedback_.PlayRedoSound();
        return;
      case LocateOutcome::Failed:
        feedback_.ShowMessage(host::Text(kModuleGoneMessage));
        ResetButton(*button);
        return;
      case LocateOutcome::Refused:
        feedback_.ShowMessage(host::Text(kGoToRefusedMessage));
        return;
      case LocateOutcome::NoProject:
        // One re-match per go-to: a record just pointed at an open file that still finds no
        // project would otherwise be pointed again and again, and the editor would hang.
        if (!rematched && RetargetBookmark(button)) {
          rematched = true;
          continue;
        }
        // Not open yet (Office just started, another instance has it) is no answer that the
        // place is gone: the bookmark stays.
        feedback_.ShowMessage(host::Text(kWorkbookGoneMessage) + host::Text(kBookmarkKeptSuffix));
        return;
      case LocateOutcome::ProcedureGone: {
        const auto fields = SplitRecord(button->DescriptionText());
        feedback_.ShowMessage(Field(fields, 2) + host::Text(kProcedureGoneSuffix));
        ResetButton(*button);
        return;
      }
    }
    return;
  }
}

LocateOutcome mBookmarks::LocateBookmark(const std::shared_ptr<host::CommandBarButton>& button) {
  // Before the trap: reading and splitting the record. A record that can lead nowhere is as
  // gone as its place.
  const auto fields = SplitRecord(button->DescriptionText());
  if (!LeadsSomewhere(fields)) return LocateOutcome::Failed;
  const host::Text& file = fields.front();
  try {
    std::shared_ptr<host::VBProject> project;
    for (const auto& candidate : Editor().VBProjects()) {
      // A project whose file name cannot be read is passed over.
      const auto fileName = host::Ignore([&] { return candidate->FileName(); });
      if (fileName && ProjectMatches(*fileName, file)) {
        project = candidate;
        break;
      }
    }
    if (!project) return LocateOutcome::NoProject;

    std::shared_ptr<host::VBComponent> component;
    try {
      component = project->VBComponents()->Item(Field(fields, 1));
    } catch (const host::HostError& error) {
      return SaysNotThere(error) ? LocateOutcome::Failed : LocateOutcome::Refused;
    }
    const host::Text& procedure = Field(fields, 2);
    if (procedure == kDesignerField) {
      component->Activate();
      return LocateOutcome::Reached;
    }
    const auto module = component->CodeModule();
    const auto pane = module->CodePane();
    pane->Show();
    std::int64_t target = RecordedLine(Field(fields, 3));
    if (!procedure.empty()) {
      try {
        target += module->ProcBodyLine(procedure, host::ProcKind::Proc);
      } catch (const host::HostError& error) {
        if (SaysNotThere(error)) return LocateOutcome::Failed;
        throw;
      }
      if (target == 0) return LocateOutcome::ProcedureGone;
      if (target > std::numeric_limits<std::int32_t>::max() ||
          target < std::numeric_limits<std::int32_t>::min())
        throw host::HostError(host::codes::kOverflow, u"Overflow");
    }
    // On the pane just shown: the editor does not always make it the active one.
    const auto line = static_cast<std::int32_t>(target);
    pane->SetSelection(line, 1, line, 1);
    return LocateOutcome::Reached;
  } catch (const host::HostError&) {
    return LocateOutcome::Refused;
  }
}

void mBookmarks::ListOpenProjectFiles() {
  OpenProjectFileCount = 0;
  OpenProjectFiles.clear();
  for (const auto& project : Editor().VBProjects()) {
    const auto fileName = host::Ignore([&] { return project->FileName(); });
    if (!fileName) continue;
    if (OpenProjectFileCount == std::numeric_limits<std::int16_t>::max())
      throw host::HostError(host::codes::kOverflow, u"Overflow");
    ++OpenProjectFileCount;
    OpenProjectFiles.push_back(FileField(*fileName));
  }
}

bool mBookmarks::RetargetBookmark(const std::shared_ptr<host::CommandBarButton>& button) {
  ListOpenProjectFiles();
  const host::Text record = button->DescriptionText();
  const host::Text oldFile = SplitRecord(record).front();
  const host::Text pattern = VersionPattern(oldFile);
  if (pattern.empty()) return false;
  const std::int16_t count = OpenProjectFileCount;
  for (std::int16_t i = 0; i < count; ++i) {
    const host::Text& candidate = OpenProjectFiles[static_cast<std::size_t>(i)];
    if (!MatchesWildcard(candidate, pattern)) continue;
    const host::Text followed = ReplaceAll(record, oldFile, candidate);
    button->SetDescriptionText(followed);
    const host::Text caption = ReplaceAll(button->Caption(), oldFile, candidate);
    button->SetCaption(caption);
    const auto place = PlaceOf(*button);
    ShowTooltip(*button, WithKeyLine(BookmarkTooltip(caption), state_, kBookmarksBar, place));
    if (place) saved_.Save(*place, followed);
    return true;
  }
  return false;
}

void mBookmarks::ResetBookmarks() {
  if (!state_.BMToolbar)
    throw host::HostError(host::codes::kFail, u"Object variable or With block variable not set");
  const auto controls = state_.BMToolbar->Controls();
  for (std::int32_t i = 1; i <= kNumberedButtons; ++i) ResetButton(*controls->Item(i)->AsButton());
  feedback_.PlayCancelSound();
}

}  // namespace quillon
