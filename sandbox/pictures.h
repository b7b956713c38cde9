#pragma once
// Pictures from the sandbox, for the README: a real window as it stands on the screen, and the
// simulated toolbars drawn as the editor would show them, a tooltip with them. Saved as 24-bit BMP
// files.

#include <windows.h>

#include <memory>
#include <string>

#include "host/sim/command_bars.h"

namespace sandbox {

// The folder pictures go to; empty while pictures are off.
std::wstring& PictureFolder();

void SaveWindowPicture(HWND window, const std::wstring& name);
// With `hovered`, that button's tooltip shows under it, as Office shows it on hover.
void SaveToolbarsPicture(const std::shared_ptr<host::sim::SimCommandBars>& bars,
                         const std::wstring& name, const host::sim::SimControl* hovered = nullptr);

}  // namespace sandbox
