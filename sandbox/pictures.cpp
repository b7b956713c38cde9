#include "sandbox/pictures.h"

#include <algorithm>
#include <vector>

#include "host/win/unique.h"

namespace sandbox {

namespace {

// A device context drawing into a bitmap of its own; written out as a BMP file.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC Dc() const { return dc_; }

  void Save(const std::wstring& name) const {
    if (PictureFolder().empty()) return;
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width_) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(height_);
    BITMAPFILEHEADER file{
        0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0,
        0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER header{
        sizeof(BITMAPINFOHEADER), width_, -height_, 1, 24, BI_RGB, size, 0, 0, 0, 0};
    const std::wstring path = PictureFolder() + L"\\" + name;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(out, &file, sizeof file, &written, nullptr);
    WriteFile(out, &header, sizeof header, &written, nullptr);
    WriteFile(out, bits_, size, &written, nullptr);
    CloseHandle(out);
  }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  void* bits_ = nullptr;
};

}  // namespace

std::wstring& PictureFolder() {
  static std::wstring folder;
  return folder;
}

void SaveWindowPicture(HWND window, const std::wstring& name) {
  if (PictureFolder().empty()) return;
  RECT r{};
  GetWindowRect(window, &r);
  // As it stands on the screen, painted through, children included.
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GdiFlush();
  Canvas canvas(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(canvas.Dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  canvas.Save(name);
}

void SaveToolbarsPicture(const std::shared_ptr<host::sim::SimCommandBars>& bars,
                         const std::wstring& name, const host::sim::SimControl* hovered) {
  if (PictureFolder().empty()) return;
  constexpr int kButtonHeight = 24, kGap = 8, kTitle = 18, kMargin = 6, kPadding = 16;
  constexpr int kTipWidest = 420, kTipPadding = 4;
  std::vector<std::shared_ptr<host::sim::SimCommandBar>> shown;
  for (const auto& bar : bars->Bars())
    if (bar->Temporary()) shown.push_back(bar);
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                           CLEARTYPE_QUALITY, 0, L"Tahoma");
  // Where everything goes: buttons as wide as their captions, as the editor draws them, and the
  // tooltip a little below and right of the hovered button's corner.
  struct Placed {
    RECT rect;
    bool separated;
    const host::sim::SimControl* control;
  };
  std::vector<std::vector<Placed>> rows;
  RECT tip{};
  std::wstring tipText;
  int width = 0;
  int height = kMargin;
  {
    Canvas measure(1, 1);
    HGDIOBJ old = SelectObject(measure.Dc(), font);
    for (const auto& bar : shown) {
      height += kTitle;
      auto& row = rows.emplace_back();
      int x = kMargin;
      for (const auto& control : bar->ControlList()) {
        const bool separated = control->BeginGroupShown();
        if (separated) x += kGap;
        SIZE size{};
        const auto& caption = control->CaptionShown();
        GetTextExtentPoint32W(measure.Dc(), host::win::Wide(caption),
                              static_cast<int>(caption.size()), &size);
        const int buttonWidth = size.cx + kPadding;
        row.push_back(
            {{x, height, x + buttonWidth - 2, height + kButtonHeight}, separated, control.get()});
        if (control.get() == hovered) {
          tipText = std::wstring(host::win::Wide(control->TooltipShown()));
          RECT text{0, 0, kTipWidest, 0};
          DrawTextW(measure.Dc(), tipText.c_str(), -1, &text, DT_CALCRECT | DT_WORDBREAK);
          const int left = x + buttonWidth / 2, top = height + kButtonHeight + 4;
          tip = {left, top, left + text.right + 2 * kTipPadding,
                 top + text.bottom + 2 * kTipPadding};
        }
        x += buttonWidth;
      }
      width = std::max(width, x + kMargin);
      height += kButtonHeight + kMargin;
    }
    SelectObject(measure.Dc(), old);
  }
  width = std::max(width, static_cast<int>(tip.right) + kMargin);
  height = std::max(height, static_cast<int>(tip.bottom) + kMargin);
  Canvas canvas(width, height);
  const HDC dc = canvas.Dc();
  RECT all{0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, font);
  for (std::size_t b = 0; b < shown.size(); ++b) {
    const int top = rows[b].empty() ? 0 : static_cast<int>(rows[b].front().rect.top);
    RECT title{kMargin, top - kTitle, width - kMargin, top};
    const std::wstring label =
        L"Toolbar \"" + std::wstring(host::win::Wide(shown[b]->Name())) + L"\"";
    DrawTextW(dc, label.c_str(), -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    for (const auto& placed : rows[b]) {
      RECT button = placed.rect;
      if (placed.separated) {
        RECT line{button.left - kGap / 2 - 1, button.top + 2, button.left - kGap / 2 + 1,
                  button.bottom - 2};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
      }
      const bool pressed = placed.control->StateShown() == host::kStateDown;
      if (pressed) FillRect(dc, &button, GetSysColorBrush(COLOR_3DLIGHT));
      DrawEdge(dc, &button, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
      RECT text{button.left + kPadding / 2, button.top, button.right, button.bottom};
      DrawTextW(dc, host::win::Wide(placed.control->CaptionShown()), -1, &text,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
  }
  if (hovered) {
    FillRect(dc, &tip, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(dc, &tip, GetSysColorBrush(COLOR_INFOTEXT));
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    RECT text{tip.left + kTipPadding, tip.top + kTipPadding, tip.right - kTipPadding,
              tip.bottom - kTipPadding};
    DrawTextW(dc, tipText.c_str(), -1, &text, DT_LEFT | DT_WORDBREAK);
  }
  SelectObject(dc, oldFont);
  DeleteObject(font);
  canvas.Save(name);
}

}  // namespace sandbox
