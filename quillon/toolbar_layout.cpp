#include "quillon/toolbar_layout.h"

namespace quillon {

const ToolbarLayout kBookmarksBar{
    u"Quillon",
    &AddinState::BMToolbar,
    u"Unused bookmark",
    u"Click to remember where the caret is",
    {71, 72, 73, 74, 75},
    u"Reset bookmarks",
    47,
    {EventSlot::BM1Event, EventSlot::BM2Event, EventSlot::BM3Event, EventSlot::BM4Event,
     EventSlot::BM5Event, EventSlot::ClearBMsEvent},
    0,
    u"Bookmark",
    {u"Ctrl+1", u"Ctrl+2", u"Ctrl+3", u"Ctrl+4", u"Ctrl+5"},
};

const ToolbarLayout kCopyBufferBar{
    u"RIDAridAviri",
    &AddinState::CPToolbar,
    u"Unused copy buffer",
    u"Click to copy the selected code into this buffer",
    {80, 81, 82, 83, 84},
    u"Clear copy buffers",
    47,
    {EventSlot::CP1Event, EventSlot::CP2Event, EventSlot::CP3Event, EventSlot::CP4Event,
     EventSlot::CP5Event, EventSlot::ClearCPsEvent},
    kNumberedButtons,
    u"CopyBuffer",
    {u"Ctrl+6", u"Ctrl+7", u"Ctrl+8", u"Ctrl+9", u"Ctrl+0"},
};

}  // namespace quillon
