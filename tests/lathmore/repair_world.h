#pragma once
// A workbook whose references went missing on the way to this computer, and the repair command on
// the editor's Tools menu. Budget_07 refers to Outlook 9.6, Word 8.7 and a vendor's library 1.0,
// all missing here, and to Scripting 1.0; this computer has Outlook 9.5 and 9.4 for the editor's
// bitness, Word for the other bitness only, and the vendor's library nowhere.

#include <memory>
#include <string>
#include <vector>

#include "host/sim/builder.h"
#include "lathmore/repair_command.h"

namespace lathmore::testing {

inline constexpr char16_t kOutlook[] = u"{00062FFF-0000-0000-C000-000000000046}";
inline constexpr char16_t kWord[] = u"{00020905-0000-0000-C000-000000000046}";
inline constexpr char16_t kVendor[] = u"{7C0E3F5A-2B6D-4E61-9A8C-51D2F0B3C4E7}";
inline constexpr char16_t kScripting[] = u"{420B2830-E718-11CF-893D-00A0C9054228}";

inline host::sim::ReferenceShown TypeLib(const char16_t* guid, host::LibraryVersion version,
                                         const char16_t* name, bool broken) {
  return {host::kReferenceTypeLibrary, guid, version, name, broken};
}

struct RepairWorld {
  explicit RepairWorld(host::Bitness bitness = host::Bitness::Win64)
      : host(host::sim::SimHostBuilder()
                 .ExistingBar(u"Tools")
                 .ExistingButton(942, u"&References...")
                 .ExistingButton(3021, u"Additional Contro&ls...")
                 .ExistingButton(186, u"&Macros...")
                 .ExistingButton(522, u"&Options...")
                 .ExistingButton(2578, u"VBAProject Propert&ies...")
                 .ExistingButton(3927, u"Di&gital Signature...")
                 .Project(u"Budget_07", u"C:\\Work\\Budget_07.xlsm")
                 .Module(u"Module1")
                 .Build()),
        libraries(std::make_shared<host::sim::SimTypeLibraries>(host.calls)),
        repair(*host.messages, *libraries, bitness) {
    host.editor->SetMainWindow(0x1234);
    host.editor->SetLibrarySource(
        {[l = libraries](const host::Text& guid) { return l->Lookup(guid); }, bitness});
    const auto other = host::OtherBitness(bitness);
    libraries->Register(kOutlook, {9, 5}, u"Microsoft Outlook 9.5 Object Library", u"0", bitness,
                        u"C:\\Office\\MSOUTL.OLB");
    libraries->Register(kOutlook, {9, 4}, u"Microsoft Outlook 9.4 Object Library", u"0", bitness,
                        u"C:\\Office14\\MSOUTL.OLB");
    libraries->Register(kWord, {8, 7}, u"Microsoft Word 8.7 Object Library", u"0", other,
                        u"C:\\Office\\MSWORD.OLB");
    libraries->Register(kScripting, {1, 0}, u"Microsoft Scripting Runtime", u"0", bitness,
                        u"C:\\Windows\\System32\\scrrun.dll");
    auto& list = *Project()->ReferenceList();
    list.Append(TypeLib(kOutlook, {9, 6}, u"Outlook", true));
    list.Append(TypeLib(kWord, {8, 7}, u"Word", true));
    list.Append(TypeLib(kVendor, {1, 0}, u"Ledgerline", true));
    list.Append(TypeLib(kScripting, {1, 0}, u"Scripting", false));
  }

  std::shared_ptr<host::sim::SimProject> Project() const { return host.editor->Projects()[0]; }
  std::shared_ptr<host::sim::SimCommandBar> Tools() const { return host.Bar(u"Tools"); }
  std::vector<host::sim::ReferenceShown> References() const {
    return Project()->ReferenceList()->Shown();
  }
  // "Outlook 9.5", "Word 8.7 MISSING": the list as the References dialog shows it.
  std::vector<std::string> Listed() const {
    std::vector<std::string> listed;
    for (const auto& r : References())
      listed.push_back(host::ToUtf8(r.name + u" " + host::DecimalVersion(r.version)) +
                       (r.broken ? " MISSING" : ""));
    return listed;
  }
  void AddCommand() { repair.Add(*host.Control(u"Tools", 1), host.editor); }
  std::shared_ptr<host::sim::SimControl> Command() const { return host.Control(u"Tools", 2); }
  // The one message the last click showed, or "" for none.
  std::string Message() const {
    const auto& shown = host.messages->Shown();
    return shown.empty() ? std::string() : host::ToUtf8(shown.back().text);
  }

  host::sim::SimHost host;
  std::shared_ptr<host::sim::SimTypeLibraries> libraries;
  RepairCommand repair;
};

}  // namespace lathmore::testing
