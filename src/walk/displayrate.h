#pragma once

#include <QtGlobal>

// Lets a display follow a change that a walk makes tens of thousands of times a second at the
// rate a screen refreshes (every 16 ms or so), instead of repainting at every step.
class DisplayRate {
public:
    // A display that follows at a slower pace than the screen's takes a longer period.
    explicit DisplayRate(qint64 periodMs = 20) : periodMs_(periodMs) {}

    // Whether the display is due again; true on the first call.
    bool due();
    // The display was just brought up to date.
    void shown();

private:
    qint64 periodMs_;
    qint64 shownAtMs_ = -1;
};
