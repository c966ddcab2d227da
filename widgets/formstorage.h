#pragma once
// Where a window's components keep their placement between runs: an INI
// file and a section name within it. Components that store their layout
// hook onto it (a speed bar through its IniStorage); the window asks the
// storage to save or restore, and every hooked component does its part.

#include "profile.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

namespace widgets {

class TFormStorage : public QObject {
    Q_OBJECT
public:
    explicit TFormStorage(QObject *owner = nullptr);

    QString IniFileName() const { return m_fileName; }
    void SetIniFileName(const QString &value) { m_fileName = value; }
    // Prefix of every section this storage writes; empty: none.
    QString IniSection() const { return m_section; }
    void SetIniSection(const QString &value) { m_section = value; }

    // The section for one component: "<IniSection>\<rest>", or just rest.
    QString SectionFor(const QString &rest) const;
    platform::TIniFile IniFile() const { return platform::TIniFile(m_fileName); }

    // A component's part in saving and restoring; dropped when the
    // component is destroyed or unhooks itself.
    void Hook(QObject *component, std::function<void()> save, std::function<void()> restore);
    void Unhook(QObject *component);

    // Runs every hooked component's part in hooking order. A failure (an
    // unwritable file) propagates to the caller.
    void SaveFormPlacement();
    void RestoreFormPlacement();

private:
    struct Link {
        QPointer<QObject> component;
        std::function<void()> save, restore;
    };
    std::vector<Link> liveLinks();

    QString m_fileName;
    QString m_section;
    std::vector<Link> m_links;
};

} // namespace widgets
