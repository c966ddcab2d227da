#pragma once
// A hint holds a short part (tool tips, the tray tip) and a long part,
// separated by the first "|".

#include <QString>

namespace widgets {

// The text before the first "|", or the whole hint when it has none.
QString GetShortHint(const QString &hint);
// The text after the first "|", or the whole hint when it has none.
QString GetLongHint(const QString &hint);

} // namespace widgets
