#pragma once
// The DPI the program draws at. The program is system DPI aware: every one of its
// windows has the screen's DPI as it was when the process started, so there is one
// value per process, whatever the window. Windows build only.

// The screen's DPI, read once per process (96 when it cannot be read).
int SystemDpi();
