#include "browse/patterns.h"
