#include "dialoglayout.h"

#include "dialogs.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

const DialogButton kButtons[] = {
    {mbYes, "&Ja", "Yes", mrYes},
    {mbNo, "&Nein", "No", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Abbrechen", "Cancel", mrCancel},
    {mbAbort, "&Abbrechen", "Abort", mrAbort},
    {mbRetry, "&Wiederholen", "Retry", mrRetry},
    {mbIgnore, "&Ignorieren", "Ignore", mrIgnore},
    {mbAll, "&Alle", "All", mrAll},
    {mbNoToAll, "&Alle Nein", "NoToAll", mrNoToAll},
    {mbYesToAll, "A&lle Ja", "YesToAll", mrYesToAll},
    {mbHelp, "&Hilfe", "Help", mrHelp},
};

unsigned firstPresent(unsigned buttons, std::initializer_list<unsigned> candidates)
{
    for (unsigned bit : candidates)
        if (buttons & bit)
            return bit;
    return 0;
}

// Margins and spacings of the message dialog, in dialog units.
constexpr double kHorzMargin = 2.0;
constexpr double kVertMargin = 1.0;
constexpr double kIconTextSpacing = 2.5;
constexpr double kButtonRowSpacing = 1.25;
constexpr double kButtonWidth = 12.5;
constexpr double kButtonHeight = 1.75;
constexpr double kButtonSpacing = 1.0;
constexpr int kIconSize = 32;
// A caption needs this much room beside its text.
constexpr int kCaptionPadding = 8;

} // namespace

int DialogUnits::h(double units) const { return static_cast<int>(std::lround(units * x)); }
int DialogUnits::v(double units) const { return static_cast<int>(std::lround(units * y)); }

DialogUnits DialogUnitsOf(const QFontMetrics &metrics)
{
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {metrics.horizontalAdvance(letters) / 52.0, static_cast<double>(metrics.height())};
}

QFont DialogFont() { return QApplication::font("QMessageBox"); }

QString StripMnemonic(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // "&x" shows x (underlined); "&&" shows one "&"; a lone trailing "&" shows nothing.
        if (caption[i] == QLatin1Char('&')) {
            if (++i < caption.size())
                shown += caption[i];
        } else {
            shown += caption[i];
        }
    }
    return shown;
}

QList<DialogButton> ButtonsOf(unsigned buttons)
{
    QList<DialogButton> result;
    for (const DialogButton &b : kButtons)
        if (buttons & b.bit)
            result.append(b);
    return result;
}

unsigned DefaultButtonOf(unsigned buttons) { return firstPresent(buttons, {mbOK, mbYes, mbRetry}); }

unsigned CancelButtonOf(unsigned buttons) { return firstPresent(buttons, {mbCancel, mbNo, mbOK}); }

int MessageTextFlags() { return Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs; }

QString NormalizeLineBreaks(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

namespace {

// Word wrap breaks a line at its blanks; a word wider than a line of its
// own gets a break where the line is full, so no line runs past width.
QString breakLongWords(const QFontMetrics &metrics, const QString &paragraph, int width)
{
    QString out;
    QString line;
    qsizetype breakAt = -1; // just behind the last blank of line
    for (const QChar c : paragraph) {
        line += c;
        if (c == QLatin1Char(' ')) {
            breakAt = line.size();
            continue;
        }
        while (line.size() > 1 && metrics.horizontalAdvance(line) > width) {
            if (breakAt > 0) {
                // Word wrap breaks here by itself.
                out += line.left(breakAt);
                line = line.mid(breakAt);
                breakAt = -1;
            } else {
                out += line.left(line.size() - 1) + QLatin1Char('\n');
                line = line.right(1);
            }
        }
    }
    return out + line;
}

} // namespace

QString WrapMessageText(const QFontMetrics &metrics, const QString &text, int width)
{
    QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (QString &paragraph : paragraphs)
        paragraph = breakLongWords(metrics, paragraph, std::max(width, 1));
    return paragraphs.join(QLatin1Char('\n'));
}

MessageLayout LayoutMessageDialog(const QFontMetrics &metrics, const QString &text, bool hasIcon,
                                  const QStringList &captions, int wrapWidth)
{
    const DialogUnits du = DialogUnitsOf(metrics);
    const int horzMargin = du.h(kHorzMargin);
    const int vertMargin = du.v(kVertMargin);
    const int iconTextSpacing = du.h(kIconTextSpacing);
    const int buttonSpacing = du.h(kButtonSpacing);
    const int buttonHeight = du.v(kButtonHeight);

    MessageLayout layout;
    layout.shownText = WrapMessageText(metrics, text, wrapWidth);
    QRect textRect = metrics.boundingRect(QRect(0, 0, std::max(wrapWidth, 1), 0), MessageTextFlags(), layout.shownText);
    textRect.moveTopLeft(QPoint(0, 0));

    int iconTextWidth = textRect.width();
    int iconTextHeight = textRect.height();
    if (hasIcon) {
        iconTextWidth += kIconSize + iconTextSpacing;
        iconTextHeight = std::max(iconTextHeight, kIconSize);
        layout.icon = QRect(horzMargin, vertMargin, kIconSize, kIconSize);
    }

    int buttonWidth = du.h(kButtonWidth);
    for (const QString &caption : captions)
        buttonWidth = std::max(buttonWidth, metrics.horizontalAdvance(StripMnemonic(caption)) + kCaptionPadding);
    const int count = static_cast<int>(captions.size());
    const int groupWidth = count > 0 ? buttonWidth * count + buttonSpacing * (count - 1) : 0;

    layout.client = QSize(std::max(iconTextWidth, groupWidth) + 2 * horzMargin,
                          iconTextHeight + du.v(kButtonRowSpacing) + buttonHeight + 2 * vertMargin);
    layout.text = textRect.translated(horzMargin + iconTextWidth - textRect.width(), vertMargin);

    const int buttonTop = vertMargin + iconTextHeight + du.v(kButtonRowSpacing);
    int left = (layout.client.width() - groupWidth) / 2;
    for (int i = 0; i < count; ++i) {
        layout.buttons.append(QRect(left, buttonTop, buttonWidth, buttonHeight));
        left += buttonWidth + buttonSpacing;
    }
    return layout;
}

InputLayout LayoutInputDialog(const DialogUnits &du, int editHeight)
{
    InputLayout layout;
    layout.client = QSize(du.h(45), du.v(7.875));
    layout.prompt = QPoint(du.h(2), du.v(1));
    layout.edit = QRect(du.h(2), du.v(2.375), du.h(41), editHeight);
    const int buttonTop = du.v(5.125);
    const QSize button(du.h(kButtonWidth), du.v(kButtonHeight));
    layout.ok = QRect(QPoint(du.h(9.5), buttonTop), button);
    layout.cancel = QRect(QPoint(du.h(23), buttonTop), button);
    return layout;
}

} // namespace platform
