#include "sandbox/references_dialog.h"

#include <cstring>

#include "host/win/unique.h"
#include "sandbox/pictures.h"

namespace sandbox {

namespace {

enum : WORD { kButton = 0x0080, kStatic = 0x0082, kListBox = 0x0083 };

// Which way a control goes in the larger dialog: with its right-hand column, or wider with it.
enum Larger : BYTE { kStaysPut, kShifts, kWidens };

struct Item {
  const char* name;
  WORD atom;
  const wchar_t* text;
  short x, y, cx, cy;  // pixels at 96 DPI in the client area, for a dialog of 460 x 360
  WORD id;
  DWORD style;
  Larger larger;
};

// In the order the editor's dialog creates its controls, placed in pixels (scaled by the dialog's
// DPI) rather than dialog units, so that the geometry is the same whatever fonts the machine
// has: the dialog the fixed moves were made for, every control inside 720 x 470 with a margin
// once they are applied. The list keeps the height it is given (no integral height): user32
// would otherwise round it to whole items, whose height comes from the fonts too.
constexpr int kDialogWidth = 460;
constexpr int kDialogHeight = 360;
constexpr int kLargerBy = 36;
const Item kItems[] = {
    {"list", kListBox, L"", 9, 24, 290, 160, 200,
     LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP, kStaysPut},
    {"OK", kButton, L"OK", 330, 9, 90, 23, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, kShifts},
    {"Cancel", kButton, L"Cancel", 330, 37, 90, 23, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, kShifts},
    {"Browse", kButton, L"&Browse...", 330, 70, 90, 23, 101, BS_PUSHBUTTON | WS_TABSTOP, kShifts},
    {"Help", kButton, L"&Help", 330, 98, 90, 23, 102, BS_PUSHBUTTON | WS_TABSTOP, kShifts},
    {"frame", kButton, L"", 9, 190, 420, 112, 103, BS_GROUPBOX, kWidens},
    {"Up", kButton, L"&U", 302, 100, 22, 22, 104, BS_PUSHBUTTON, kShifts},
    {"Down", kButton, L"&D", 302, 143, 22, 22, 105, BS_PUSHBUTTON, kShifts},
    {"Priority", kStatic, L"Priority", 300, 126, 40, 13, 106, SS_LEFT, kShifts},
    {"Location", kStatic, L"Location:", 40, 202, 58, 13, 107, SS_LEFT, kStaysPut},
    {"location-value", kStatic,
     L"C:\\Program Files\\Common Files\\Microsoft Shared\\VBA\\VBA7.1\\VBE7.DLL", 100, 202, 300, 13,
     108, SS_LEFTNOWORDWRAP, kStaysPut},
    {"Language", kStatic, L"Language:", 40, 282, 58, 13, 109, SS_LEFT, kStaysPut},
    {"language-value", kStatic, L"Standard", 108, 282, 180, 13, 110, SS_LEFT, kStaysPut},
};
// The captions of kItems in the other display languages, in the same order; and each title's
// first word with its separator.
const wchar_t* const kGerman[] = {
    L"",
    L"OK",
    L"Abbrechen",
    L"&Durchsuchen...",
    L"&Hilfe",
    L"",
    L"&O",
    L"&U",
    L"Priorit\u00e4t",
    L"Pfad:",
    L"C:\\Programme\\Gemeinsame Dateien\\Microsoft Shared\\VBA\\VBA7.1\\VBE7.DLL",
    L"Sprache:",
    L"Standard"};
const wchar_t* const kPseudo[] = {
    L"",
    L"[\u00d6\u0136 \u0167]",
    L"[\u00c7\u00e5\u00f1\u00e7\u00e9\u013c \u0167\u0167\u0167]",
    L"[&\u0181r\u00f6\u0175\u0161\u00e9... \u0167\u0167\u0167]",
    L"[&\u0124\u00e9\u013c\u00fe]",
    L"",
    L"[&\u00dc]",
    L"[&\u00d0]",
    L"[\u00der\u00ee\u00f6r\u00ee\u0163\u00fd \u0167\u0167\u0167]",
    L"[\u013b\u00f6\u00e7\u00e5\u0163\u00ee\u00f6\u00f1: \u0167]",
    L"C:\\Program Files\\Common Files\\Microsoft Shared\\VBA\\VBA7.1\\VBE7.DLL",
    L"[\u013b\u00e5\u00f1\u011d\u00fb\u00e5\u011d\u00e9: \u0167]",
    L"[\u0160\u0163\u00e5\u00f1d\u00e5rd]"};
static_assert(std::size(kGerman) == std::size(kItems) && std::size(kPseudo) == std::size(kItems));
constexpr WORD kHelpId = 102;

const wchar_t* Caption(const DialogPlan& plan, std::size_t item) {
  switch (plan.language) {
    case DialogLanguage::German:
      return kGerman[item];
    case DialogLanguage::Pseudo:
      return kPseudo[item];
    case DialogLanguage::English:
      break;
  }
  return kItems[item].text;
}

const wchar_t* TitleStart(DialogLanguage language) {
  switch (language) {
    case DialogLanguage::German:
      return L"Verweise - ";
    case DialogLanguage::Pseudo:
      return L"[\u0158\u00e9f\u00e9r\u00e9\u00f1\u00e7\u00e9\u0161 \u0167\u0167] - ";
    case DialogLanguage::English:
      break;
  }
  return L"References - ";
}

bool Shown(const DialogPlan& plan, const Item& item) {
  return !(plan.withoutHelp && item.id == kHelpId);
}

constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMs = 20;
constexpr DWORD kPaintedMs = 120;  // the dialog is on the screen by then

class Template {
 public:
  void Word(WORD w) {
    bytes_.insert(bytes_.end(), reinterpret_cast<BYTE*>(&w), reinterpret_cast<BYTE*>(&w) + 2);
  }
  void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
  void Text(const wchar_t* text) {
    for (; *text; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  void AlignToDword() {
    while (bytes_.size() % 4) bytes_.push_back(0);
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  std::vector<BYTE> bytes_;
};

struct Watch {
  const DialogPlan* plan = nullptr;
  DialogReport report;
  DWORD opened = 0;
  unsigned limitMs = 0;
  bool pictured = false;
  bool recorded = false;
  bool planDone = false;
  DWORD closeAtMs = 0;
  std::vector<HWND> controls;
};

RECT ClientRect(HWND dialog, HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void Record(HWND dialog, Watch& watch) {
  GetWindowRect(dialog, &watch.report.after);
  GetClientRect(dialog, &watch.report.clientAfter);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  watch.report.workArea = monitor.rcWork;
  for (std::size_t i = 0; i < watch.controls.size(); ++i) {
    watch.report.controls[i].after = ClientRect(dialog, watch.controls[i]);
    watch.report.controls[i].styleAfter = GetWindowLongW(watch.controls[i], GWL_STYLE);
  }
  watch.recorded = true;
}

void Close(HWND dialog) {
  KillTimer(dialog, kWatchTimer);
  EndDialog(dialog, 0);
}

// The dialog and its controls at their pixel places, scaled by its DPI.
void Place(HWND dialog, const DialogPlan& plan) {
  const int dpi = static_cast<int>(GetDpiForWindow(dialog));
  const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi > 0 ? dpi : 96, 96); };
  const int more = plan.larger ? kLargerBy : 0;
  RECT r{};
  GetWindowRect(dialog, &r);
  SetWindowPos(dialog, nullptr, r.left, r.top, scaled(kDialogWidth + more), scaled(kDialogHeight),
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (const auto& item : kItems) {
    if (!Shown(plan, item)) continue;
    const int x = item.x + (item.larger == kShifts ? more : 0);
    const int cx = item.cx + (item.larger == kWidens ? more : 0);
    MoveWindow(GetDlgItem(dialog, item.id), scaled(x), scaled(item.y), scaled(cx), scaled(item.cy),
               FALSE);
  }
}

void Open(HWND dialog, Watch& watch) {
  Place(dialog, *watch.plan);
  GetWindowRect(dialog, &watch.report.before);
  for (const auto& item : kItems) {
    if (!Shown(*watch.plan, item)) continue;
    HWND control = GetDlgItem(dialog, item.id);
    watch.controls.push_back(control);
    watch.report.controls.push_back(
        {item.name, ClientRect(dialog, control), {}, GetWindowLongW(control, GWL_STYLE), 0});
  }
  // Some of the references a workbook has, long names and all.
  for (const wchar_t* reference :
       {L"Visual Basic For Applications", L"Microsoft Excel 16.0 Object Library", L"OLE Automation",
        L"Microsoft Office 16.0 Object Library",
        L"Microsoft Visual Basic for Applications Extensibility 5.3",
        L"Microsoft Scripting Runtime", L"Microsoft ActiveX Data Objects 6.1 Library"})
    SendDlgItemMessageW(dialog, 200, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(reference));
  watch.opened = GetTickCount();
  SetTimer(dialog, kWatchTimer, kWatchMs, nullptr);
}

// The watch whose plan a thread timer carries out: one dialog is open at a time.
Watch* planned = nullptr;

void CALLBACK PlanTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (!planned) return;
  planned->plan->whileOpen();
  planned->planDone = true;
  planned = nullptr;
}

// Whether the plan's call has been made; false while it waits for its own message.
bool CarryOutPlan(Watch& watch) {
  const DialogPlan& plan = *watch.plan;
  if (watch.planDone) return true;
  if (plan.whileOpen && !plan.fromDialog) {
    if (planned != &watch) {
      planned = &watch;
      SetTimer(nullptr, 0, 0, PlanTimerProc);
    }
    return false;
  }
  if (plan.whileOpen) plan.whileOpen();
  watch.planDone = true;
  return true;
}

void Resize(HWND dialog, const Watch& watch) {
  if (const auto& size = watch.plan->resize)
    SetWindowPos(dialog, nullptr, 0, 0, size->cx, size->cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Tick(HWND dialog, Watch& watch) {
  const DWORD elapsed = GetTickCount() - watch.opened;
  if (!watch.pictured && (elapsed >= kPaintedMs || watch.recorded)) {  // as the editor drew it
    watch.pictured = true;
    SaveWindowPicture(dialog, L"references-before.bmp");
  }
  if (watch.recorded) {
    // Kept open a little longer only to picture it once everything has repainted.
    if (elapsed >= watch.closeAtMs) {
      SaveWindowPicture(dialog, watch.plan->closingPicture);
      Close(dialog);
    }
    return;
  }
  RECT now{};
  GetWindowRect(dialog, &now);
  const RECT& before = watch.report.before;
  const bool resized = (now.right - now.left) != (before.right - before.left) ||
                       (now.bottom - now.top) != (before.bottom - before.top);
  if (resized && watch.report.laidOutAfterMs < 0)
    watch.report.laidOutAfterMs = static_cast<long>(elapsed);
  if (!resized && elapsed <= watch.limitMs) return;
  if (resized) {
    if (!CarryOutPlan(watch)) return;  // its call comes first
    Resize(dialog, watch);
  }
  Record(dialog, watch);
  if (PictureFolder().empty())
    Close(dialog);
  else
    watch.closeAtMs = elapsed + 400;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    Open(dialog, *reinterpret_cast<Watch*>(lParam));
    return TRUE;
  }
  auto* watch = reinterpret_cast<Watch*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!watch) return FALSE;
  if (message == WM_TIMER && wParam == kWatchTimer) {
    Tick(dialog, *watch);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (!watch->recorded) Record(dialog, *watch);
    Close(dialog);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

DialogReport ShowReferencesDialog(const host::Text& projectName, unsigned limitMs,
                                  const DialogPlan& plan) {
  const std::wstring title =
      TitleStart(plan.language) +
      (plan.titleProject.empty() ? std::wstring(host::win::Wide(projectName)) : plan.titleProject);
  std::size_t shown = 0;
  for (const auto& item : kItems) shown += Shown(plan, item) ? 1 : 0;
  Template t;
  t.Dword(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
  t.Dword(plan.mirrored ? WS_EX_LAYOUTRTL : 0);
  t.Word(static_cast<WORD>(shown));
  t.Word(20), t.Word(20), t.Word(280), t.Word(206);
  t.Word(0);  // no menu
  t.Word(0);  // the dialog class
  t.Text(title.c_str());
  t.Word(8);
  t.Text(L"MS Shell Dlg");
  for (std::size_t i = 0; i < std::size(kItems); ++i) {
    const Item& item = kItems[i];
    if (!Shown(plan, item)) continue;
    t.AlignToDword();
    t.Dword(WS_CHILD | WS_VISIBLE | item.style);
    t.Dword(0);
    t.Word(static_cast<WORD>(item.x)), t.Word(static_cast<WORD>(item.y));
    t.Word(static_cast<WORD>(item.cx)), t.Word(static_cast<WORD>(item.cy));
    t.Word(item.id);
    t.Word(0xFFFF), t.Word(item.atom);
    t.Text(Caption(plan, i));
    t.Word(0);  // no creation data
  }
  Watch watch;
  watch.plan = &plan;
  watch.limitMs = limitMs;
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.Get(), plan.owner, DialogProc,
                          reinterpret_cast<LPARAM>(&watch));
  planned = nullptr;
  return watch.report;
}

}  // namespace sandbox
