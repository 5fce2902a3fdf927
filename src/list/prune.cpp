// Pruning the rename list.
#include "app/form1.h"

void Form1::Command6_Click() {}
void Form1::Command10_Click() {}
void Form1::Command13_Click() {}
void Form1::Command14_Click() {}
