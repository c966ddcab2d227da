#include "speeditem.h"

#include "formloading.h"
#include "hinttext.h"
#include "speedbar.h"
#include "speedbarsection.h"

#include <QWidget>

namespace widgets {

TSpeedItem::TSpeedItem(QObject *owner) : QObject(owner), m_button(new TSpeedbarButton(this))
{
    m_button->resize(24, 23);
    m_button->SetShowHint(true);
    m_button->SetParentShowHint(true);
}

TSpeedItem::~TSpeedItem()
{
    m_visible = false;
    if (m_bar)
        m_bar->DetachItem(this);
    if (m_section)
        m_section->remove(this);
    delete m_button.data();
}

bool TSpeedItem::ownerLoading() const
{
    return qobject_cast<const QWidget *>(parent()) && IsLoading(parent());
}

void TSpeedItem::SetCaption(const QString &value)
{
    const QString oldHint = Hint();
    // An owner window's item keeps a hint of its own unless the hint simply
    // repeated the caption; a declaration being loaded sets both as given.
    const bool hintFollows = qobject_cast<const QWidget *>(parent())
                                 ? !ownerLoading() && m_caption == GetShortHint(oldHint)
                                 : true;
    m_caption = value;
    if (!hintFollows)
        return;
    const QChar bar = QLatin1Char('|');
    if (value.contains(bar)) {
        SetHint(GetLongHint(value).isEmpty() ? GetShortHint(value) + bar + GetLongHint(oldHint) : value);
    } else if (oldHint.contains(bar)) {
        SetHint(value + bar + GetLongHint(oldHint));
    } else {
        SetHint(value + bar);
    }
}

void TSpeedItem::SetName(const QString &value)
{
    const bool captionFollows = m_caption == objectName() && !ownerLoading();
    setObjectName(value);
    if (captionFollows)
        SetCaption(value);
}

void TSpeedItem::SetEnabled(bool value)
{
    const bool buttonEnabled = !m_button->testAttribute(Qt::WA_ForceDisabled);
    if (value == buttonEnabled && value == m_enabled)
        return;
    m_enabled = value;
    applyEnabled();
}

void TSpeedItem::applyEnabled()
{
    if (m_editMode)
        return;
    m_button->setEnabled(m_enabled && (!m_bar || m_bar->Enabled()));
}

void TSpeedItem::SetVisible(bool value)
{
    const bool buttonVisible = !m_button->isHidden();
    if (value == buttonVisible && value == m_visible && (!value || m_button->parentWidget()))
        return;
    m_visible = value;
    applyVisible();
}

void TSpeedItem::applyVisible()
{
    if (!m_visible) {
        m_button->hide();
        return;
    }
    if (m_bar && m_button->parentWidget() != m_bar)
        m_button->setParent(m_bar);
    // A button without a bar would become a window of its own: it stays hidden.
    m_button->setVisible(m_bar && m_bar->Visible());
}

void TSpeedItem::SetTag(int value)
{
    m_tag = value;
    m_button->setProperty("Tag", value);
}

void TSpeedItem::SetImageIndex(int value)
{
    if (m_imageIndex == value)
        return;
    m_imageIndex = value;
    m_button->InvalidateImages();
}

QString TSpeedItem::SectionName() const
{
    if (m_bar && m_sectionIndex >= 0 && m_sectionIndex < m_bar->SectionCount())
        return m_bar->Section(m_sectionIndex)->Caption();
    return m_sectionName;
}

void TSpeedItem::SetSectionName(const QString &value) { m_sectionName = value; }

void TSpeedItem::SetSpeedBar(TSpeedBar *bar)
{
    int index = m_sectionIndex;
    if (m_bar)
        m_bar->DetachItem(this);
    if (!bar)
        return;
    if (!m_sectionName.isEmpty()) {
        const int found = bar->FindSection(m_sectionName);
        if (found >= 0)
            index = found;
    }
    bar->AttachItem(this, index);
}

void TSpeedItem::PerformClick() { m_button->Click(); }

void TSpeedItem::SetLeft(int value) { m_button->SetBounds(value, Top(), m_button->width(), m_button->height()); }

void TSpeedItem::SetTop(int value) { m_button->SetBounds(Left(), value, m_button->width(), m_button->height()); }

} // namespace widgets
