#include "profiles/ConnectionsFrame.h"

CConnectionsFrame::~CConnectionsFrame() = default;
