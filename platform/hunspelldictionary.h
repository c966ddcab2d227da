#pragma once
// One Hunspell dictionary (an .aff and a .dic file of one language) and where
// the system keeps them: /usr/share/hunspell and hunspell/ under each folder
// of $XDG_DATA_DIRS. Words cross into Hunspell in the dictionary's own
// encoding (its SET line); Hunspell itself knows umlauts, ß and compounds.

#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

namespace platform {

// The folders searched for dictionaries, in order, as the system has them.
QStringList SystemDictionaryFolders();
// The languages ("de_DE", "en_US") with both files in one of folders,
// sorted, each once.
QStringList InstalledDictionaries(const QStringList &folders);
// The languages a user of localeName ("de_AT.UTF-8", "de_CH", "C") checks by
// default, of those installed: the locale's own dictionary, else another of
// its language (de_DE first for German), plus en_US. A locale without a
// language counts as German, the program's language.
QStringList DefaultDictionaries(const QString &localeName, const QStringList &installed);

class THunspellDictionary {
public:
    // Loads language from the first of folders that has it; IsLoaded() says
    // whether it was found.
    THunspellDictionary(const QString &language, const QStringList &folders);
    ~THunspellDictionary();
    THunspellDictionary(const THunspellDictionary &) = delete;
    THunspellDictionary &operator=(const THunspellDictionary &) = delete;

    bool IsLoaded() const { return m_hunspell != nullptr; }
    const QString &Language() const { return m_language; }
    // Whether the dictionary accepts word. A word the encoding cannot carry
    // is not accepted.
    bool Spell(const QString &word) const;
    // Hunspell's suggestions, best first.
    QStringList Suggest(const QString &word) const;

private:
    bool encode(const QString &word, std::string &out) const;
    QString decode(const std::string &bytes) const;

    QString m_language;
    std::unique_ptr<Hunspell> m_hunspell;
    QByteArray m_encoding; // as the SET line names it; empty for UTF-8
};

} // namespace platform
