#pragma once

namespace lumeno {

// The mouse pointers a window can show, by their run-time codes.
enum class MousePointer { Default = 0, Busy = 11 };

} // namespace lumeno
