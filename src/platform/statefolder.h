#pragma once

#include <QString>

// The folder where the program keeps what it must remember of its work between sessions:
// $XDG_STATE_HOME/quillmere, by default ~/.local/state/quillmere. It may not exist yet.
QString appStateFolder();
