#pragma once

class QWidget;

// Gives window the one bold font of the process. The font is made on the first
// call from that window's own font with weight 700 and kept until the process
// ends; every later call hands out the same font, whatever the window.
void SetBoldFont(QWidget* window);
