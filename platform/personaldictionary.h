#pragma once
// The user's own words: a UTF-8 list, one word a line, replaced atomically
// at each addition so that it is always whole.

#include <QSet>
#include <QString>

namespace platform {

// The file's name in the user's data folder (beside Kartolino.ini when
// portable).
inline constexpr auto kPersonalDictionaryName = "Woerterbuch.txt";

class TPersonalDictionary {
public:
    // Reads path; a missing or unreadable file is an empty list.
    explicit TPersonalDictionary(QString path);

    const QString &Path() const { return m_path; }
    // word as it stands, or with a capital first letter for a listed word in
    // small letters (the start of a sentence).
    bool Contains(const QString &word) const;
    // Adds word and writes the list. Throws "Datei %s kann nicht erstellt
    // werden (Fehler …)" when the file cannot be written; the list is then
    // as before.
    void Add(const QString &word);

private:
    QString m_path;
    QSet<QString> m_words;
};

} // namespace platform
