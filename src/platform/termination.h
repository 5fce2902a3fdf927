#pragma once

#include <functional>

class QObject;

// Runs handler on the event loop, in context's thread, each time the process is asked to end
// by a signal (SIGTERM at logout or from `kill`, SIGINT from a terminal, SIGHUP when its
// terminal goes). The signals no longer end the process by themselves: the handler decides.
void onTerminationRequest(QObject *context, std::function<void()> handler);
