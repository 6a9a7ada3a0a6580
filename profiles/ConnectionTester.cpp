#include "profiles/ConnectionTester.h"

CConnectionTester::~CConnectionTester() = default;
