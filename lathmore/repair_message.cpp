#include "lathmore/repair_message.h"

namespace lathmore {

namespace {

using host::Text;

// "Outlook 9.6 {0006...}": what the editor calls it, its version and, for a library, its GUID.
Text Named(const RepairEntry& entry) {
  Text text = entry.name.empty() ? Text(u"Library") : entry.name;
  text.append(u" ").append(host::DecimalVersion(entry.from));
  if (!entry.guid.empty()) text.append(u" ").append(entry.guid);
  return text;
}

Text Moved(const RepairEntry& entry) {
  return entry.movedToEnd ? Text(u", now at the end of the list") : Text();
}

Text Line(const RepairEntry& entry) {
  switch (entry.outcome) {
    case RepairOutcome::Repaired: {
      Text text = u"Repaired: " + (entry.name.empty() ? entry.guid : entry.name) + u" " +
                  host::DecimalVersion(entry.from) + u" \u2192 " +
                  (entry.to ? host::DecimalVersion(*entry.to) : Text(u"the newest version"));
      if (!entry.toName.empty()) text += u" (" + entry.toName + u")";
      return text + Moved(entry) + u".";
    }
    case RepairOutcome::PutBack:
      return u"Not repaired: " + Named(entry) +
             u". No version of it could be added, so it was added back as it was" + Moved(entry) +
             u".";
    case RepairOutcome::Lost:
      return u"NOT REPAIRED AND REMOVED: " + Named(entry) +
             u". Tick a version of it again in Tools > References, or type in the Immediate "
             u"window: Application.VBE.ActiveVBProject.References.AddFromGuid \"" +
             entry.guid + u"\", 0, 0. Nothing else was changed for it.";
    case RepairOutcome::NotInstalled:
      if (entry.onlyFor) {
        const bool only32 = *entry.onlyFor == host::Bitness::Win32;
        return Text(u"Not installed on this computer for ") + (only32 ? u"64" : u"32") +
               u"-bit Office, only for " + (only32 ? u"32" : u"64") + u"-bit Office: " +
               Named(entry) + u", left as it is.";
      }
      return u"Not installed on this computer: " + Named(entry) + u", left as it is.";
    case RepairOutcome::ProjectNotOpen:
      return u"A project that is not open: " +
             (entry.name.empty() ? Text(u"(no name)") : entry.name) + u", left as it is.";
    case RepairOutcome::BuiltIn:
      return u"Built into the application: " + Named(entry) + u", left as it is.";
    case RepairOutcome::RemoveRefused:
      return u"Not repaired: " + Named(entry) +
             u". The editor refused to remove it; left as it is.";
    case RepairOutcome::RegistryUnreadable:
      return u"Not repaired: " + Named(entry) +
             u". Its versions on this computer could not be read; left as it is.";
    case RepairOutcome::Unreadable:
      return u"Reference " + host::FromUtf8(std::to_string(entry.place)) +
             (entry.name.empty() ? Text() : u" (" + entry.name + u")") +
             u" could not be read; left as it is.";
  }
  return {};
}

}  // namespace

Text RepairMessage(const Text& project, const std::vector<RepairEntry>& entries) {
  if (entries.empty()) return u"No missing references in " + project + u".";
  Text text = u"Missing references in " + project + u":";
  for (const bool lost : {true, false})
    for (const auto& entry : entries)
      if ((entry.outcome == RepairOutcome::Lost) == lost) text.append(u"\n").append(Line(entry));
  return text;
}

Text LockedMessage(const Text& project) {
  return project +
         u" is locked. Unlock it first (expand it in the Project Explorer and enter its "
         u"password), then repair its references.";
}

Text UnreadableMessage(const Text& project) {
  return u"The references of " + project + u" could not be read. Nothing was changed.";
}

}  // namespace lathmore
