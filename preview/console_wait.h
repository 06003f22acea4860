#ifndef LXPREVIEW_CONSOLE_WAIT_H
#define LXPREVIEW_CONSOLE_WAIT_H

// One key press without echo on a terminal; otherwise one byte of standard
// input, or its end.
void WaitForKeyPress();

#endif  // LXPREVIEW_CONSOLE_WAIT_H
