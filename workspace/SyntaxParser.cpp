#include "workspace/SyntaxParser.h"

void CSyntaxParser::AppendBlock(QList<ColourBlock>& blockList, qint32 start, qint32 colourIndex)
{
    if (!blockList.isEmpty() && start < blockList.constLast().Start)
        return;
    blockList.append(ColourBlock{start, colourIndex});
}
