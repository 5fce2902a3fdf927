// Figures of the list commands.
#include "benchmark.h"
