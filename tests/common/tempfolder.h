#pragma once
// A temporary folder for one test, removed afterwards.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "qtprinters.h"

namespace testing_support {

class TempFolder {
public:
    TempFolder() { m_dir.setAutoRemove(true); }
    // The folder's path with a trailing "/".
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QString file(const QString &name) const { return path() + name; }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(file(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString &name) const { return QFileInfo::exists(file(name)); }
    void mkdir(const QString &name) const { QDir().mkpath(file(name)); }

private:
    QTemporaryDir m_dir;
};

} // namespace testing_support
