#include "spellwords.h"

#include <QRegularExpression>

namespace platform {

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c.isMark(); }

bool isJoiner(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('\'') || c == QLatin1Char('.') || c == QChar(0x2019) ||
           c == QChar(0x00AD);
}

// The stretches of text that are addresses; none in most paragraphs, so the
// expressions run only when a sign of one is there.
QList<TWordRange> addresses(QStringView text)
{
    QList<TWordRange> found;
    const bool maybeUrl = text.contains(QLatin1String("://")) || text.contains(QLatin1String("www."), Qt::CaseInsensitive) ||
                          text.contains(QLatin1String("mailto:"), Qt::CaseInsensitive);
    const bool maybeMail = text.contains(QLatin1Char('@'));
    if (!maybeUrl && !maybeMail)
        return found;
    static const QRegularExpression url(QStringLiteral(R"((?:\b[A-Za-z][A-Za-z0-9+.\-]*://|\bwww\.|\bmailto:)\S*)"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression mail(QStringLiteral(R"([^\s@<>()\[\]"',;:]+@[^\s@<>()\[\]"',;:]+)"));
    for (const QRegularExpression *expression : {&url, &mail}) {
        if ((expression == &url && !maybeUrl) || (expression == &mail && !maybeMail))
            continue;
        auto it = expression->globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            found.append({int(m.capturedStart()), int(m.capturedLength()), false});
        }
    }
    return found;
}

bool skipped(QStringView word)
{
    if (word.size() < 2)
        return true;
    bool lower = false;
    for (const QChar c : word) {
        if (c.isDigit())
            return true;
        if (c.isLower())
            lower = true;
    }
    // All capitals: an abbreviation.
    return !lower;
}

} // namespace

QList<TWordRange> CheckableWords(QStringView text)
{
    const QList<TWordRange> skip = addresses(text);
    QList<TWordRange> words;
    const int n = int(text.size());
    int i = 0;
    while (i < n) {
        if (!isWordChar(text[i])) {
            ++i;
            continue;
        }
        const int start = i;
        while (i < n && (isWordChar(text[i]) || (isJoiner(text[i]) && i + 1 < n && isWordChar(text[i + 1]))))
            ++i;
        const TWordRange word{start, i - start, i < n && text[i] == QLatin1Char('.')};
        if (skipped(text.mid(word.start, word.length)))
            continue;
        const bool inAddress = std::any_of(skip.begin(), skip.end(), [&](const TWordRange &a) {
            return word.start < a.end() && a.start < word.end();
        });
        if (!inAddress)
            words.append(word);
    }
    return words;
}

} // namespace platform
