// The select-all toggle and moving an entry.
#include "app/form1.h"

void Form1::Command3_Click() {}
void Form1::Command11_Click() {}
