#pragma once

// One yield to the event loop: pending paint and input events are handled, so the window
// repaints and stays responsive while a command walks a list.
void yieldToEventLoop();
