#pragma once

#include <QString>
#include <QStringList>

// Appends to list the pieces of text separated by delimiter wherever the
// delimiter stands outside double quotes. Pieces are neither trimmed nor
// dropped when empty; a text that ends with the delimiter gives no empty last
// piece. Only the double quote protects: a delimiter between apostrophes
// splits.
void SplitDelimited(const QString& text, QStringList& list, QChar delimiter);
