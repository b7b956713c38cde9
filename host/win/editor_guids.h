#pragma once
// Interface identifiers of the editor and of Office that the add-ins rely on.

#include <windows.h>

namespace host::win {

// The editor's dual interface _VBE: how an application object is recognised as the editor.
inline constexpr GUID kIidVBE = {
    0x0002E166, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// Office's _CommandBarButton.
inline constexpr GUID kIidCommandBarButton = {
    0x000C030E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// Events of the editor's CommandBarEvents: Click(CommandBarControl, handled, CancelDefault).
inline constexpr GUID kDiidCommandBarEvents = {
    0x0002E131, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// Events of an Office command-bar button: Click(Ctrl, CancelDefault).
inline constexpr GUID kDiidCommandBarButtonEvents = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr DISPID kDispidClick = 1;

}  // namespace host::win
