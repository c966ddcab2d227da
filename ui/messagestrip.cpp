#include "messagestrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace ui {

TMessageStrip::TMessageStrip(QWidget *parent) : QFrame(parent), m_text(new QLabel(this)), m_close(new QToolButton(this))
{
    setObjectName(QStringLiteral("MessageStrip"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    // Nothing here may take the focus from the editor, not even a click.
    setFocusPolicy(Qt::NoFocus);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setTextInteractionFlags(Qt::NoTextInteraction);
    m_close->setFocusPolicy(Qt::NoFocus);
    m_close->setAutoRaise(true);
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setToolTip(QStringLiteral("Schließen (Esc)"));
    m_close->setAccessibleName(QStringLiteral("Meldung schließen"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 3, 3);
    row->addWidget(m_text, 1);
    row->addWidget(m_close, 0, Qt::AlignTop);
    connect(m_close, &QToolButton::clicked, this, &TMessageStrip::Close);
    hide();
}

void TMessageStrip::Show(const QString &text, Kind kind)
{
    if (!m_lines.contains(text))
        m_lines.append(text);
    m_problem = m_problem || kind == Kind::Problem;
    m_text->setText(Text());
    setAccessibleDescription(Text());
    applyColours();
    show();
}

void TMessageStrip::Close()
{
    hide();
    m_lines.clear();
    m_problem = false;
    m_text->clear();
}

void TMessageStrip::applyColours()
{
    // The tool tip colours follow the palette, dark ones too; a problem
    // takes the palette's highlight so it stands out from a notice.
    QPalette p = palette();
    const QPalette base = parentWidget() ? parentWidget()->palette() : QPalette();
    p.setColor(QPalette::Window, base.color(m_problem ? QPalette::Highlight : QPalette::ToolTipBase));
    p.setColor(QPalette::WindowText, base.color(m_problem ? QPalette::HighlightedText : QPalette::ToolTipText));
    setPalette(p);
}

} // namespace ui
