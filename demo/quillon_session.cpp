// A short session of Quillon in the simulated editor, told step by step: the bars built and
// placed, clicks routed to their entry points, the places saved and restored.

#include <iostream>
#include <string>

#include "host/sim/builder.h"
#include "quillon/addin.h"
#include "quillon/button_actions.h"

namespace {

using host::ToUtf8;

constexpr char16_t kBookmarks[] = u"Quillon";
constexpr char16_t kCopyBuffers[] = u"RIDAridAviri";

std::string Quoted(const host::Text& text) { return "\"" + ToUtf8(text) + "\""; }

std::string ButtonName(const std::shared_ptr<host::CommandBarButton>& button) {
  return "button " + std::to_string(button->Index()) + " (" + Quoted(button->Caption()) + ")";
}

// The entry points of the bookmark and copy-buffer logic are not part of this demo; it shows
// that each click arrives at the right one, with the right button.
class TellingActions : public quillon::ButtonActions {
 public:
  void BookmarkClick(const std::shared_ptr<host::CommandBarButton>& button) override {
    std::cout << "   -> routed to BookmarkClick with " << ButtonName(button) << "\n";
  }
  void ResetBookmarks() override { std::cout << "   -> routed to ResetBookmarks\n"; }
  void CopyBufferClick(const std::shared_ptr<host::CommandBarButton>& button) override {
    std::cout << "   -> routed to CopyBufferClick with " << ButtonName(button) << "\n";
  }
  void ClearCopyBuffers() override { std::cout << "   -> routed to ClearCopyBuffers\n"; }
};

void DescribeBar(const host::sim::SimHost& host, const host::Text& name, bool withButtons = false) {
  const auto bar = host.Bar(name);
  if (!bar) {
    std::cout << "   bar " << Quoted(name) << ": not present\n";
    return;
  }
  const auto& p = bar->Place();
  std::cout << "   bar " << Quoted(name) << ": "
            << (p.position == host::kBarFloating ? "floating" : "docked at the top") << ", row "
            << p.rowIndex << ", left " << p.left << ", top " << p.top;
  if (p.position == host::kBarFloating) std::cout << ", " << p.width << " x " << p.height;
  std::cout << ", " << (p.visible ? "visible" : "hidden") << "\n";
  if (!withButtons) return;
  for (const auto& control : bar->ControlList()) {
    std::cout << "     " << (control->BeginGroupShown() ? "| " : "  ")
              << Quoted(control->CaptionShown()) << ", icon " << control->FaceIdShown() << "\n";
  }
}

void Step(int number, const std::string& what) {
  std::cout << "\n" << number << ". " << what << "\n";
}

}  // namespace

int main() {
  auto host = host::sim::SimHostBuilder()
                  .Version(u"7.01")
                  .Env(u"windir", u"C:\\Windows")
                  .Setting(u"Razurid", kBookmarks, u"Pos", u"4")
                  .Setting(u"Razurid", kBookmarks, u"Left", u"300")
                  .Setting(u"Razurid", kBookmarks, u"Top", u"200")
                  .Setting(u"Razurid", kBookmarks, u"Width", u"260")
                  .Setting(u"Razurid", kBookmarks, u"Height", u"60")
                  .Setting(u"Razurid", kCopyBuffers, u"Left", u"not a number")
                  .Project(u"VBAProject", u"C:\\Work\\Budget_07.xlsm")
                  .Module(u"Module1", u"Sub Main()\nEnd Sub")
                  .Build();
  quillon::dsrQuillon addin({host.settings, host.environment}, std::make_shared<TellingActions>());

  std::cout << "Quillon in the simulated editor, version 7.01.\n"
            << "Stored from an earlier run: the bookmarks bar floating at 300, 200, 260 x 60;\n"
            << "a damaged Left value for the copy-buffer bar.\n";

  Step(1, "The editor connects Quillon.");
  addin.AddinInstance_OnConnection(host.editor);
  DescribeBar(host, kBookmarks, true);
  DescribeBar(host, kCopyBuffers, true);
  std::cout << "   editor version " << addin.State().VBEVersion << ", Windows drive "
            << ToUtf8(addin.State().WinDrive) << "; the damaged Left gave its default, 1\n";

  Step(2, "The user clicks bookmark button 3.");
  host.Control(kBookmarks, 3)->Click();
  Step(3, "The user clicks copy-buffer button 5, then \"Clear copy buffers\".");
  host.Control(kCopyBuffers, 5)->Click();
  host.Control(kCopyBuffers, 6)->Click();

  Step(4,
       "The user drags the copy-buffer bar away to float at 640, 90 and hides the bookmarks bar.");
  host.Bar(kCopyBuffers)->Place() = {host::kBarFloating, 5, 90, 640, 230, 58, true};
  host.Bar(kBookmarks)->Place().visible = false;

  Step(5, "The editor disconnects Quillon.");
  host.settings->ClearWrites();
  addin.AddinInstance_OnDisconnection();
  for (const auto& w : host.settings->Writes())
    std::cout << "   saved " << ToUtf8(w.application) << "\\" << ToUtf8(w.section) << "\\"
              << ToUtf8(w.key) << " = " << Quoted(w.value) << "\n";
  DescribeBar(host, kBookmarks);
  DescribeBar(host, kCopyBuffers);

  Step(6, "The editor connects Quillon again.");
  addin.AddinInstance_OnConnection(host.editor);
  DescribeBar(host, kBookmarks);
  DescribeBar(host, kCopyBuffers);
  std::cout << "   bars in the editor: " << host.editor->Bars()->Bars().size() << "\n";

  Step(7,
       "The user shows the bookmarks bar again and clicks \"Reset bookmarks\": the new sink "
       "answers.");
  host.Bar(kBookmarks)->Place().visible = true;
  host.Control(kBookmarks, 6)->Click();
  return 0;
}
