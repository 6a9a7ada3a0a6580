#pragma once

#include <QString>
#include <QStringList>

// Appends to list the pieces of text separated by delimiter wherever the
// delimiter stands in the SQL itself: a delimiter inside double quotes, inside
// a string in apostrophes, in a "--" comment (to the end of its line) or in a
// "/* */" comment does not split, because cutting there would run data or a
// comment as a statement of its own. Inside a comment no quote opens
// anything; inside a string the other kind of quote opens nothing; a doubled
// quote stays inside its string. An unclosed string or comment runs to the end
// of the text.
//
// Pieces are neither trimmed nor dropped when empty; a text that ends with the
// delimiter gives no empty last piece.
void SplitDelimited(const QString& text, QStringList& list, QChar delimiter);
