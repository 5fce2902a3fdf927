// The batch rename.
#include "app/form1.h"

void Form1::Command2_Click() {}
