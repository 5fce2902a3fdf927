// Putting the display into its low-power state.
#include "app/form1.h"

void Form1::mnCloseScreen_Click() {}
void Form1::mnCloseScreenMin_Click() {}
