// Putting the display into its low-power state.
#include "app/form1.h"

#include "platform/desktop.h"

// Whether the display reacts is its own affair; neither command reports it.
void Form1::mnCloseScreen_Click()
{
    desktop().displayStandby(this);
}

void Form1::mnCloseScreenMin_Click()
{
    desktop().displayStandby(this);
    desktop().minimise(this);
}
