#pragma once
// The system's display control panel, dealt with at both ends of a run:
// closed before an earlier screen saver is replaced, opened on its
// screen-saver page at the end. Neither operation reports anything.
//
// The panel is found by its whole window title: the catalogue's "Display
// Properties", then the same text written here (a panel in another language
// is not found).

// Presses the Cancel button (dialog item 2) of an open panel window. Does
// not wait for the window to close.
void closeDisplayProperties();

// When the package offers the panel: starts
//   rundll32.exe shell32.dll,Control_RunDLL desk.cpl,,1
// under the hourglass and looks for the panel's window up to 1,000 times
// in a row, then restores the cursor. Does nothing when the package does
// not offer it.
void openDisplayControlPanel();
