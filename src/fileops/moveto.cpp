// Moving and copying the selected files to a folder.
#include "app/form1.h"

void Form1::mnMoveTo_Click() {}
void Form1::mnCopyTo_Click() {}
