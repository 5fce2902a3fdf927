// Figures of the fileops commands.
#include "benchmark.h"
