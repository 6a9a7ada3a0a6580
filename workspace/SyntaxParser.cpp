#include "workspace/SyntaxParser.h"

// Defined here so that the class's virtual table has one home.
CSyntaxParser::~CSyntaxParser() = default;
