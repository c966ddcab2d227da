#include "speedbarcustomize.h"

#include "guarded.h"
#include "buttonimage.h"
#include "speedbarsection.h"
#include "speeditem.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace widgets {

namespace {
QString displayName(const TSpeedItem *item)
{
    return item->Caption().isEmpty() ? item->objectName() : item->Caption();
}
} // namespace

TSpeedbarCustomize::TSpeedbarCustomize(TSpeedBar *bar, QWidget *parent)
    : QDialog(parent), m_bar(bar), m_sections(new QListWidget(this)), m_items(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Anpassen"));
    // Each label names its list, for the access letter and screen readers.
    auto *sectionLabel = new QLabel(QStringLiteral("&Kategorien:"), this);
    sectionLabel->setBuddy(m_sections);
    m_sections->setAccessibleName(QStringLiteral("Kategorien"));
    auto *sectionColumn = new QVBoxLayout;
    sectionColumn->addWidget(sectionLabel);
    sectionColumn->addWidget(m_sections);
    auto *itemLabel = new QLabel(QStringLiteral("&Schaltflächen:"), this);
    itemLabel->setBuddy(m_items);
    m_items->setAccessibleName(QStringLiteral("Schaltflächen"));
    auto *itemColumn = new QVBoxLayout;
    itemColumn->addWidget(itemLabel);
    itemColumn->addWidget(m_items);
    auto *columns = new QHBoxLayout(this);
    columns->addLayout(sectionColumn);
    columns->addLayout(itemColumn);

    m_items->viewport()->installEventFilter(this);
    connect(m_sections, &QListWidget::currentRowChanged, this, [this] { fillItems(); });
    fillSections();
    if (m_bar)
        m_bar->SetEditorWindow(this);
}

TSpeedbarCustomize::~TSpeedbarCustomize()
{
    if (m_bar && m_bar->EditorWindow() == this)
        m_bar->SetEditorWindow(nullptr);
}

void TSpeedbarCustomize::fillSections()
{
    m_sections->clear();
    if (!m_bar)
        return;
    for (int i = 0; i < m_bar->SectionCount(); ++i)
        m_sections->addItem(m_bar->Section(i)->Caption());
    if (m_bar->SectionCount() > 0)
        m_sections->setCurrentRow(0);
}

void TSpeedbarCustomize::fillItems()
{
    const int keep = m_items->currentRow();
    m_items->clear();
    const TSpeedbarSection *section = m_bar ? m_bar->Section(m_sections->currentRow()) : nullptr;
    if (!section)
        return;
    m_items->setIconSize(QSize(m_bar->BtnWidth(), m_bar->BtnHeight()));
    for (int i = 0; i < section->ItemCount(); ++i) {
        const TSpeedItem *item = section->Item(i);
        m_items->addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(ButtonImageOf(item).Render(devicePixelRatioF()))),
                                             displayName(item)));
    }
    m_items->setCurrentRow(std::min(keep, m_items->count() - 1));
}

TSpeedItem *TSpeedbarCustomize::ListedItem(int row) const
{
    const TSpeedbarSection *section = m_bar ? m_bar->Section(m_sections->currentRow()) : nullptr;
    return section && row >= 0 && row < section->ItemCount() ? section->Item(row) : nullptr;
}

void TSpeedbarCustomize::SelectSection(int index) { m_sections->setCurrentRow(index); }

void TSpeedbarCustomize::selectItem(TSpeedItem *item)
{
    const auto where = m_bar ? m_bar->LocateItem(item) : std::nullopt;
    if (!where)
        return;
    SelectSection(where->first);
    m_items->setCurrentRow(where->second);
}

void TSpeedbarCustomize::SpeedbarNotify(TSpeedBar *bar, TSpeedbarNotification code, TSpeedItem *item)
{
    if (bar != m_bar)
        return;
    switch (code) {
    case snBarDestroyed:
        m_bar = nullptr;
        fillSections();
        m_items->clear();
        hide();
        break;
    case snItemPlaced: selectItem(item); break;
    case snButtonsChanged: fillItems(); break;
    case snDragEnded: break;
    }
    if (OnBarNotify)
        OnBarNotify(this, code, item);
}

bool TSpeedbarCustomize::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_items->viewport() && listMouseEvent(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

// An item leaves the list like a button leaves the bar: its face follows the
// pointer, and the bar decides on the drop.
bool TSpeedbarCustomize::listMouseEvent(QEvent *event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint pos = mouse->position().toPoint();
    const QPoint global = mouse->globalPosition().toPoint();
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
        const QListWidgetItem *row = m_items->itemAt(pos);
        m_pressedItem = row ? ListedItem(m_items->row(row)) : nullptr;
        m_pressPoint = pos;
        m_dragging = false;
        return false; // the list still selects the row
    }
    if (!m_bar || !m_pressedItem)
        return false;
    if (type == QEvent::MouseMove && mouse->buttons().testFlag(Qt::LeftButton)) {
        if (!m_dragging && (pos - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
            m_dragging = true;
            m_bar->BeginItemDrag(m_pressedItem, global, QPoint(m_bar->BtnWidth() / 2, m_bar->BtnHeight() / 2));
        } else if (m_dragging) {
            m_bar->MoveItemDrag(global);
        }
        return m_dragging;
    }
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        const bool wasDragging = m_dragging;
        m_dragging = false;
        m_pressedItem = nullptr;
        if (wasDragging)
            m_bar->EndItemDrag(global);
        return wasDragging;
    }
    return false;
}

} // namespace widgets
