// Character and paragraph formatting and the font dialog.

#include "ui/kartolinounit.h"

#include "platform/richedit.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QLayout>
#include <QPushButton>

namespace ui {

using platform::TFontStyles;

platform::TTextAttributes TfrmMain::CurrentAttributes() const
{
    return m_editor->SelectionLength() > 0 ? m_editor->SelectionAttributes() : m_editor->DefaultAttributes();
}

// The flags the command does not toggle are written back as reported, so a
// selection whose characters differ in them becomes uniform (the editor
// reports the first selected character's flags).
void TfrmMain::toggleStyle(TFontStyles flag)
{
    const TFontStyles style = CurrentAttributes().Style();
    CurrentAttributes().SetStyle((style & flag) ? (style & ~flag) : (style | flag));
}

void TfrmMain::spBoldClick(QObject *) { toggleStyle(platform::fsBold); }
void TfrmMain::spItalicClick(QObject *) { toggleStyle(platform::fsItalic); }
void TfrmMain::spUnderlineClick(QObject *) { toggleStyle(platform::fsUnderline); }

void TfrmMain::spLeftClick(QObject *) { m_editor->ParagraphAttributes().SetAlignment(platform::taLeftJustify); }
void TfrmMain::spCenterClick(QObject *) { m_editor->ParagraphAttributes().SetAlignment(platform::taCenter); }
void TfrmMain::spRightClick(QObject *) { m_editor->ParagraphAttributes().SetAlignment(platform::taRightJustify); }

void TfrmMain::spBulletClick(QObject *)
{
    platform::TParaAttributes paragraphs = m_editor->ParagraphAttributes();
    paragraphs.SetNumbering(paragraphs.Numbering() == platform::nsNone ? platform::nsBullet : platform::nsNone);
}

void TfrmMain::mnuSchriftClick(QObject *)
{
    if (m_editor->SelectionLength() == 0)
        return;
    TDialogFont font;
    font.name = CurrentAttributes().Name();
    font.size = CurrentAttributes().Size();
    font.style = CurrentAttributes().Style();
    font.color = CurrentAttributes().Color();
    if (!runFontDialog(font))
        return;
    // Four writes even when nothing changed: a selection of mixed fonts
    // becomes uniform. The character set is not transferred.
    CurrentAttributes().SetName(font.name);
    CurrentAttributes().SetSize(font.size);
    CurrentAttributes().SetStyle(font.style);
    CurrentAttributes().SetColor(font.color);
}

namespace {

QFont toQFont(const TDialogFont &font)
{
    QFont f(font.name);
    if (font.size > 0)
        f.setPointSize(font.size);
    f.setBold(font.style & platform::fsBold);
    f.setItalic(font.style & platform::fsItalic);
    f.setUnderline(font.style & platform::fsUnderline);
    f.setStrikeOut(font.style & platform::fsStrikeOut);
    return f;
}

TFontStyles stylesOf(const QFont &f)
{
    TFontStyles style = 0;
    style |= f.bold() ? platform::fsBold : 0;
    style |= f.italic() ? platform::fsItalic : 0;
    style |= f.underline() ? platform::fsUnderline : 0;
    style |= f.strikeOut() ? platform::fsStrikeOut : 0;
    return style;
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
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QFont chosen = dialog.selectedFont();
    font.name = chosen.family();
    font.size = chosen.pointSize();
    font.style = stylesOf(chosen);
    font.color = colour;
    return true;
}

} // namespace ui
