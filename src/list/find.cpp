// The find dialog.
#include "app/form1.h"

void Form1::Command12_Click() {}
