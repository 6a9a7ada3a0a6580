#pragma once

#include <QString>

// The program's version as the About box shows it: the major, minor and
// build parts of the version the build stamps in, as "%d.%d.%d"; the fourth
// part is not shown. "0.0.0" when the build stamped none.
QString ProductVersionText();

// The same for a version text of one to four parts, each a number from 0 to
// 65535 ("1.0.3.0" gives "1.0.3", "2" gives "2.0.0"); anything else, the
// empty text included, gives "0.0.0".
QString ProductVersionText(const QString& version);
