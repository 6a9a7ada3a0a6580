#pragma once

// Dispatches every user-interface event that is waiting and returns as soon
// as the queue is empty; never waits. Long loops on the interface thread
// call it so that the window repaints and stays responsive.
void PumpMessages();
