// The program's identity towards the desktop: the icon that its windows and the taskbar show,
// and the desktop entry that menus, docks and task switchers match its window to.
#pragma once

namespace desktop {

// Gives the application its window icon (the PNGs embedded in the program, one per size, so
// no SVG support is needed at run time) and the name of its desktop entry
// (io.github.vexilo.Vexilo, the id that the entry, the icon and the metainfo share).
// Call after the application object is made and before the first window is shown.
void InstallIdentity();

}  // namespace desktop
