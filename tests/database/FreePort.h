#pragma once

// A TCP port on 127.0.0.1 that nothing listens on right now, for a test
// server of our own; 0 when none could be had.

#include <QtGlobal>

quint16 FreePort();

// Whether something accepts connections on 127.0.0.1:port.
bool PortAnswers(quint16 port);
