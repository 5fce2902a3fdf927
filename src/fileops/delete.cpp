// Deleting the selected files.
#include "app/form1.h"

void Form1::Command1_Click() {}
