// The launcher of the programs kept beside this one.
#include "app/form1.h"

void Form1::mnVarrowSoft_Click() {}
