#pragma once

class QWidget;

// Asks the display that shows the window for its standby (low-power) state.
// True when the request reached a display-power interface.
bool requestDisplayStandby(QWidget *window);
