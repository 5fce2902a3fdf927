#include "platform/displaypower.h"

bool requestDisplayStandby(QWidget *)
{
    return false;
}
