#pragma once
// The program's icon: a small stack of index cards, the top one with a blue
// header band and a gold stripe, in the nine square sizes 256, 128, 96, 72,
// 64, 48, 32, 24 and 16 pixels, 32 bits per pixel. Each size is drawn for
// itself, so the small ones stay crisp instead of being scaled down.

#include <QIcon>
#include <QImage>
#include <QList>

namespace ui {

inline const QList<int> kProgramIconSizes = {256, 128, 96, 72, 64, 48, 32, 24, 16};

// The icon with all nine sizes.
QIcon ProgramIcon();

// One size of it (ARGB32, transparent around the cards).
QImage ProgramIconImage(int size);

} // namespace ui
