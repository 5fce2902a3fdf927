// The help menu: About, the homepage, the recommendation page.
#include "app/form1.h"

void Form1::mnvisithomepage_Click() {}
void Form1::mnTuijian_Click() {}
void Form1::mnabout_Click() {}
