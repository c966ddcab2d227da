#pragma once
// The customisation window of a speed bar: the bar's sections, and per
// section its items with their faces. While it is open the bar is in edit
// mode; items are dragged from its list onto the bar, and buttons are
// dragged on the bar or off it (which hides them).

#include "speedbar.h"

#include <QDialog>
#include <QPointer>

class QListWidget;

namespace widgets {

class TSpeedbarCustomize : public QDialog, public TSpeedbarEditor {
    Q_OBJECT
public:
    using BarNotify = std::function<void(TSpeedbarCustomize *sender, TSpeedbarNotification code, TSpeedItem *item)>;

    // Attaches itself to the bar as its editor.
    explicit TSpeedbarCustomize(TSpeedBar *bar, QWidget *parent = nullptr);
    // Ends the bar's edit mode.
    ~TSpeedbarCustomize() override;

    TSpeedBar *SpeedBar() const { return m_bar; }
    QListWidget *SectionList() const { return m_sections; }
    QListWidget *ItemList() const { return m_items; }
    // The items of the section that the list shows, in its order.
    TSpeedItem *ListedItem(int row) const;
    void SelectSection(int index);

    void SpeedbarNotify(TSpeedBar *bar, TSpeedbarNotification code, TSpeedItem *item) override;
    // Raised after the window has handled a notification of its bar.
    BarNotify OnBarNotify;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillSections();
    void fillItems();
    void selectItem(TSpeedItem *item);
    bool listMouseEvent(QEvent *event);

    QPointer<TSpeedBar> m_bar;
    QListWidget *m_sections;
    QListWidget *m_items;
    QPointer<TSpeedItem> m_pressedItem;
    QPoint m_pressPoint;
    bool m_dragging = false;
};

} // namespace widgets
