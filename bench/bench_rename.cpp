// Figures of the rename commands.
#include "benchmark.h"
