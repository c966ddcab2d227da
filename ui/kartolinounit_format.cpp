// Character and paragraph formatting and the font dialog.

#include "kartolinounit.h"

#include "richedit.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGroupBox>
#include <QLayout>
#include <QPushButton>

#include <cstdlib>

namespace ui {

using controls::TFontStyles;

controls::TTextAttributes TfrmMain::CurrentAttributes() const
{
    return m_editor->SelectionLength() > 0 ? m_editor->SelectionAttributes() : m_editor->DefaultAttributes();
}

// The flags the command does not toggle are written back as reported, so a
// selection whose characters differ in them becomes uniform (the editor
// reports the first selected character's flags).
// Nothing changes while the editor holds no card to type into (it is
// read-only then): not even the format the next card's text would take.
void TfrmMain::toggleStyle(TFontStyles flag)
{
    if (!m_editor->isReadOnly())
        controls::ToggleStyle(CurrentAttributes(), flag);
}

void TfrmMain::spBoldClick(QObject *) { toggleStyle(controls::fsBold); }
void TfrmMain::spItalicClick(QObject *) { toggleStyle(controls::fsItalic); }
void TfrmMain::spUnderlineClick(QObject *) { toggleStyle(controls::fsUnderline); }

void TfrmMain::align(controls::TAlignment alignment)
{
    if (!m_editor->isReadOnly())
        m_editor->ParagraphAttributes().SetAlignment(alignment);
}

void TfrmMain::spLeftClick(QObject *) { align(controls::taLeftJustify); }
void TfrmMain::spCenterClick(QObject *) { align(controls::taCenter); }
void TfrmMain::spRightClick(QObject *) { align(controls::taRightJustify); }

void TfrmMain::spBulletClick(QObject *)
{
    if (m_editor->isReadOnly())
        return;
    controls::TParaAttributes paragraphs = m_editor->ParagraphAttributes();
    paragraphs.SetNumbering(paragraphs.Numbering() == controls::nsNone ? controls::nsBullet : controls::nsNone);
}

void TfrmMain::mnuSchriftClick(QObject *)
{
    if (m_editor->SelectionLength() == 0)
        return;
    TDialogFont opened;
    opened.name = CurrentAttributes().Name();
    opened.size = CurrentAttributes().Size();
    opened.style = CurrentAttributes().Style();
    opened.color = CurrentAttributes().Color();
    TDialogFont font = opened;
    if (!runFontDialog(font))
        return;
    // Only the fields the user changed are written, in this order: OK
    // without a change leaves the selection as it was (a font the dialog
    // showed under another family, a size between whole points, mixed
    // styles). The character set is not transferred.
    if (font.name != opened.name)
        CurrentAttributes().SetName(font.name);
    if (font.size != opened.size)
        CurrentAttributes().SetSize(font.size);
    if (font.style != opened.style)
        CurrentAttributes().SetStyle(font.style);
    if (font.color != opened.color)
        CurrentAttributes().SetColor(font.color);
}

namespace {

// The family's style entry that is upright or slanted and bold or not as
// asked, of normal width and the weight nearest to normal or bold.
QString closestStyleName(const QString &family, TFontStyles style)
{
    const bool bold = style & controls::fsBold;
    const bool slanted = style & controls::fsItalic;
    const int wantedWeight = bold ? QFont::Bold : QFont::Normal;
    QString best;
    int bestScore = 0;
    for (const QString &name : QFontDatabase::styles(family)) {
        const QFont candidate = QFontDatabase::font(family, name, 10);
        if ((candidate.style() != QFont::StyleNormal) != slanted || (candidate.weight() >= QFont::DemiBold) != bold)
            continue;
        const int score = std::abs(candidate.weight() - wantedWeight) + std::abs(candidate.stretch() - QFont::Unstretched) * 10;
        if (best.isEmpty() || score < bestScore) {
            best = name;
            bestScore = score;
        }
    }
    return best;
}

QFont toQFont(const TDialogFont &font)
{
    QFont f(font.name);
    if (font.size > 0)
        f.setPointSize(font.size);
    f.setBold(font.style & controls::fsBold);
    f.setItalic(font.style & controls::fsItalic);
    f.setUnderline(font.style & controls::fsUnderline);
    f.setStrikeOut(font.style & controls::fsStrikeOut);
    // The dialog picks its style entry by name; a family whose upright style
    // is called "Book" rather than "Regular" would otherwise open on the
    // first entry of its list, which may well be the oblique one.
    const QString style = closestStyleName(font.name, font.style);
    if (!style.isEmpty())
        f.setStyleName(style);
    return f;
}

} // namespace

bool TfrmMain::runFontDialog(TDialogFont &font)
{
    if (m_fontDialogStep)
        return m_fontDialogStep(font, this);
    QFontDialog dialog(this);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setCurrentFont(toQFont(font));
    // Qt's dialog has no colour among its effects; the button adds it.
    platform::TColor colour = font.color;
    if (auto *effects = dialog.findChild<QGroupBox *>(); effects && effects->layout()) {
        auto *button = new QPushButton(QStringLiteral("&Farbe …"), effects);
        effects->layout()->addWidget(button);
        connect(button, &QPushButton::clicked, &dialog, [&] {
            const QColor chosen = QColorDialog::getColor(platform::ToQColor(colour), &dialog);
            if (chosen.isValid())
                colour = platform::FromQColor(chosen);
        });
    }
    // What the dialog opened on, in its own terms: a family that is not
    // installed shows as the one it maps to.
    const QFont shown = dialog.currentFont();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QFont chosen = dialog.selectedFont();
    if (chosen.family() != shown.family())
        font.name = chosen.family();
    if (chosen.pointSize() != shown.pointSize())
        font.size = chosen.pointSize();
    if (controls::StyleOfFont(chosen) != controls::StyleOfFont(shown))
        font.style = controls::StyleOfFont(chosen);
    font.color = colour;
    return true;
}

} // namespace ui
