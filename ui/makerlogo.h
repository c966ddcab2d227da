#pragma once
// The maker's logo (270 x 100, 24 bits per pixel), shown by the splash window
// and the about window, and the maker's names and addresses.

#include <QImage>
#include <QString>

namespace ui {

inline const QString kMakerName = QStringLiteral("Fennwick Software");
inline const QString kMakerTagline = QStringLiteral("Notizen, die bleiben");
inline const QString kMakerWebAddress = QStringLiteral("https://www.fennwick.example/");
inline const QString kMakerWebHost = QStringLiteral("www.fennwick.example");
inline const QString kMakerMailAddress = QStringLiteral("kartolino@fennwick.example");

QImage MakerLogo();

} // namespace ui
