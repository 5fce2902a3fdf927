// Exchanging lists of paths through the clipboard.
#include "app/form1.h"

void Form1::mnCopyList_Click() {}
void Form1::mnPasteList_Click() {}
