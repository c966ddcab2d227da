// Writes the program icon as the PNG files of the hicolor icon theme:
// <folder>/<n>x<n>/apps/<name>.png for every size the program draws.

#include "programicon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER ICON-NAME\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : ui::kProgramIconSizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(dir, name);
        if (!QDir().mkpath(dir) || !ui::ProgramIconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
