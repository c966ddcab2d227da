#pragma once
// The card tab row: tabs along the top, one per card, and a display area
// below them that one widget (the editor) fills. It holds no pages.

#include <QAccessible>
#include <QStringList>
#include <QStyleOption>
#include <QVector>
#include <QWidget>
#include <functional>

class QPainter;
class QShortcut;

namespace controls {

// Where the item at index stands after the item at from moved to to: the
// moved one goes along, the ones between close up behind it.
inline int IndexAfterMove(int index, int from, int to)
{
    if (index == from)
        return to;
    if (from < index && index <= to)
        return index - 1;
    if (to <= index && index < from)
        return index + 1;
    return index;
}

enum TTabStyle : int { tsTabs = 0, tsButtons = 1, tsFlatButtons = 2 };

// Everything one tab is drawn from, in the manner of QStyleOptionTab: the
// control fills it in one place (TTabControl::TabOption) and painting reads
// nothing else. The QStyleOption part holds the control's palette, state
// and direction, as initFrom() gives them.
struct TTabOption : QStyleOption {
    int index = -1;
    QString caption;              // as set, "&" marking the mnemonic
    TTabStyle tabStyle = tsTabs;
    bool selected = false;
    bool hot = false;             // under the mouse, with hot tracking on
    bool focused = false;         // selected, and the control has the focus
    bool separatorAfter = false;  // flat buttons: the next tab follows on this row
};

class TTabControl : public QWidget {
    Q_OBJECT
public:
    explicit TTabControl(QWidget *parent = nullptr);

    // The captions. Failures throw with the control's messages.
    int TabCount() const { return int(m_tabs.size()); }
    QStringList Tabs() const { return m_tabs; }
    QString Tab(int index) const;                     // "Registerseite mit Index %d konnte nicht gelesen werden"
    void PutTab(int index, const QString &caption);   // "Registerseite '%s' mit Index %d konnte nicht gesetzt werden"
    void DeleteTab(int index);                        // "Registerseite mit Index %d konnte nicht gelöscht werden"
    void AddTab(const QString &caption);
    // The tab goes before the one at index (at the end for TabCount()); the
    // selected tab stays selected, under its new index.
    void InsertTab(int index, const QString &caption);
    // "Registerseite mit Index %d konnte nicht verschoben werden"; the
    // selected tab stays selected, under its new index.
    void MoveTab(int from, int to);
    void AssignTabs(const QStringList &captions);     // clear, then add each in order
    void ClearTabs();

    // -1 when no tab is selected. Setting it from code raises no event.
    int TabIndex() const { return m_tabIndex; }
    void SetTabIndex(int index);

    // A pick by the user: OnChanging (which may refuse), then the selection
    // moves, then OnChange. Returns whether the selection moved.
    bool SelectByUser(int index);

    TTabStyle Style() const { return m_style; }
    void SetStyle(TTabStyle style);
    bool MultiLine() const { return m_multiLine; }
    void SetMultiLine(bool on);
    bool HotTrack() const { return m_hotTrack; }
    void SetHotTrack(bool on);
    bool RaggedRight() const { return m_raggedRight; }
    void SetRaggedRight(bool on);

    // The widget that fills the display area.
    void SetDisplayWidget(QWidget *widget);
    QRect DisplayRect() const;
    // Where tab index is drawn (empty when scrolled out of a single row).
    QRect TabRect(int index) const;
    // Rows shown; when the rows would take more than about half of the
    // control, only some show and the others scroll (RowsScroll), the row
    // with the selected tab always among those shown.
    int RowCount() const { return m_rowCount; }
    bool RowsScroll() const { return m_layout.rowsScroll; }
    // Scrolls the hidden rows by steps rows (negative: up); the selected tab's row stays.
    void ScrollRows(int steps);
    int TabAt(const QPoint &pos) const;
    // How tab index would be drawn now.
    TTabOption TabOption(int index) const;

    // A number that stays with a tab while others come and go, never 0 (0
    // for an index out of range); IndexOfTabKey finds the tab again, -1 once
    // it is gone.
    quint64 TabKey(int index) const { return m_keys.value(index); }
    int IndexOfTabKey(quint64 key) const { return key ? int(m_keys.indexOf(key)) : -1; }

    std::function<void(QObject *sender, bool &allowChange)> OnChanging;
    std::function<void(QObject *sender)> OnChange;

signals:
    // The current tab is another one, or its caption changed, whoever did it.
    void CurrentTabChanged();

public:

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Where the tabs go, computed when tabs, selection, style or size change
    // and kept: painting and hit tests only read it.
    struct Layout {
        QVector<QRect> rects; // per tab, empty when hidden
        int rows = 0;
        int stripHeight = 0;
        bool scrolls = false;
        QRect scrollLeft, scrollRight;
        // Multi-line rows beyond what fits: the arrows that scroll them, the
        // first of the scrolling rows shown and the last it can be.
        bool rowsScroll = false;
        QRect scrollUp, scrollDown;
        int firstRow = 0;
        int lastFirstRow = 0;
    };
    // The measures of a row in the current style and width, shared by the
    // layouts and by scrolling the selected tab into view.
    struct RowMetrics {
        int height = 0; // of a row
        int gap = 0;    // between two tabs (and two rows of buttons)
        int left = 0;   // where the first tab of a row starts
        int avail = 1;  // the width the tabs of a row may take
    };
    using Rows = QVector<QVector<int>>; // tab indices, row by row from the top

    // What the current tab is, to tell afterwards whether it changed.
    struct Current {
        quint64 key = 0;
        QString caption;
        bool operator==(const Current &) const = default;
    };
    Current current() const { return {TabKey(m_tabIndex), m_tabs.value(m_tabIndex)}; }
    // Tells assistive tools and CurrentTabChanged what became of the
    // current tab since before (tabcontrolaccessible.cpp).
    void currentMoved(const Current &before);
    // An accessibility event about tab index, or about every tab.
    void announce(QAccessible::Event type, int index);
    void announceAll(QAccessible::Event type);
    quint64 newKey() { return m_nextKey++; }

    void tabsChanged();
    void relayout();
    RowMetrics rowMetrics() const;
    Layout computeLayout() const;
    Layout layoutOneRow(const RowMetrics &m) const;
    Layout layoutRows(const RowMetrics &m, int rowGap) const;
    int rowsThatFit(const RowMetrics &m, int rowGap) const;
    Rows breakIntoRows(const RowMetrics &m) const;
    void placeRows(Layout &layout, const Rows &rows, const RowMetrics &m, int rowGap) const;
    int tabWidth(const QString &caption) const;
    void measureTabs();
    int rowHeight() const;
    void ensureSelectedVisible();
    void rebuildMnemonics();
    void selectRelative(int step);
    void setHot(int index);
    void paintTab(QPainter &p, const TTabOption &tab) const;
    QRect paintTabShape(QPainter &p, const TTabOption &tab) const;
    QRect paintButtonShape(QPainter &p, const TTabOption &tab) const;
    void paintScrollButtons(QPainter &p, const QRect &back, const QRect &forward, bool vertical) const;

    QStringList m_tabs;
    QVector<quint64> m_keys; // beside m_tabs
    quint64 m_nextKey = 1;
    int m_tabIndex = -1;
    int m_hotIndex = -1;
    int m_firstVisible = 0;
    int m_firstRow = 0; // of the rows that scroll, the first shown
    TTabStyle m_style = tsTabs;
    bool m_multiLine = false;
    bool m_hotTrack = false;
    bool m_raggedRight = false;
    QWidget *m_display = nullptr;
    Layout m_layout;
    int m_rowCount = 0;
    QVector<QShortcut *> m_mnemonics;
    // Caption widths, measured when the captions or the font change: a
    // layout runs on every selection and resize.
    QVector<int> m_widths;
};

} // namespace controls
