#pragma once

namespace lumeno::qt {

// Makes Qt describe the window and its picture boxes to assistive technology through
// FormAccessible and PictureBoxAccessible, and its announcements as notifications. Installing it
// again changes nothing.
void installAccessibleFactory();

} // namespace lumeno::qt
