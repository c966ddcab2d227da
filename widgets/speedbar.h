#pragma once
// A panel docked to an edge of its parent that carries the buttons of speed
// bar items. It places each item's button at the item's coordinates, gives
// all of them one size, derives a placement grid from that size, passes its
// visibility and enabled state on to the buttons and paints its own bevels,
// wallpaper and bound lines.

#include "imagelist.h"

#include <QFlags>
#include <QImage>
#include <QCursor>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace widgets {

class TSpeedItem;
class TSpeedbarSection;
class TFormStorage;
class TDragOutline;
class TBtnControl;
class TSpeedbarButton;

enum TSpeedbarOption {
    sbAllowDrag = 0x01,
    sbAllowResize = 0x02,
    sbFlatBtns = 0x04,
    sbGrayedBtns = 0x08,
    sbTransparentBtns = 0x10,
    sbStretchBitmap = 0x20,
};
Q_DECLARE_FLAGS(TSpeedbarOptions, TSpeedbarOption)

enum TBoundLine { blTop = 0x1, blBottom = 0x2, blLeft = 0x4, blRight = 0x8 };
Q_DECLARE_FLAGS(TBoundLines, TBoundLine)

enum class TBarPosition { bpAuto, bpCustom };
// Numbered as a stored layout numbers them.
enum TAlign { alNone = 0, alTop = 1, alBottom = 2, alLeft = 3, alRight = 4, alClient = 5 };
enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBarOrientation { boHorizontal, boVertical };

// What a customisation editor hears from the bar it edits.
enum TSpeedbarNotification {
    snDragEnded = 0,    // an item drag ended without a placement
    snBarDestroyed = 1, // the bar is going; forget it
    snItemPlaced = 2,   // an item was placed on the bar (the item goes along)
    snButtonsChanged = 3, // the button size or the bar's axis changed
};

// A customisation editor attached to a bar. While one is attached every item
// is in edit mode: its button stays enabled and raised, and a left press
// drags it on or off the bar.
class TSpeedbarEditor {
public:
    virtual void SpeedbarNotify(class TSpeedBar *bar, TSpeedbarNotification code, TSpeedItem *item) = 0;

protected:
    ~TSpeedbarEditor() = default;
};

// The edge a dragged bar would dock to with the pointer at p in its parent's
// client area of the given size: the two diagonals cut it into four triangles.
TAlign DockTargetAt(QPoint p, QSize client);

// The edge a sibling of a bar is docked to: a speed bar's Align, or the
// widget's "Align" property (a TAlign number) for other widgets.
TAlign DockedEdgeOf(const QWidget *widget);

class TSpeedBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
public:
    using Notify = std::function<void(QObject *sender)>;
    using ApplyAlignEvent = std::function<void(QObject *sender, TAlign align, bool &apply)>;

    explicit TSpeedBar(QWidget *parent = nullptr);
    // Destroys every section and item, whoever owns them.
    ~TSpeedBar() override;

    // Declaration order: properties first, then sections and items, then
    // EndLoad(), which sizes and shows the buttons.
    void BeginLoad() { m_loading = true; }
    void EndLoad();
    bool Loading() const { return m_loading; }

    // [sbAllowDrag, sbGrayedBtns] by default.
    TSpeedbarOptions Options() const { return m_options; }
    void SetOptions(TSpeedbarOptions value);
    // Origin of the button grid in the client area; never below MinButtonOffset().
    int BtnOffsetHorz() const { return m_offsetHorz; }
    void SetBtnOffsetHorz(int value);
    int BtnOffsetVert() const { return m_offsetVert; }
    void SetBtnOffsetVert(int value);
    // The size of every item's button; 24 x 23 by default.
    int BtnWidth() const { return m_btnWidth; }
    void SetBtnWidth(int value);
    int BtnHeight() const { return m_btnHeight; }
    void SetBtnHeight(int value);
    // bpAuto (default): the axis follows the edge, and only edges are allowed.
    TBarPosition Position() const { return m_position; }
    void SetPosition(TBarPosition value) { m_position = value; }
    // The docking edge, alTop by default.
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign value);
    TBoundLines BoundLines() const { return m_boundLines; }
    void SetBoundLines(TBoundLines value);
    const QImage &Wallpaper() const { return m_wallpaper; }
    void SetWallpaper(const QImage &value);
    // Pictures for items whose ImageIndex is 0 or more; forgotten when destroyed.
    TImageList *Images() const { return m_images; }
    void SetImages(TImageList *value);
    int Version() const { return m_version; }
    void SetVersion(int value) { m_version = value; }

    // The panel frame: outer bevel, border, inner bevel.
    TPanelBevel BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int value);

    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value) { m_showHint = value; }
    // Visible unless explicitly hidden (the window need not be shown yet).
    bool Visible() const;
    bool Enabled() const;
    void setVisible(bool visible) override;

    TBarOrientation Orientation() const { return m_orientation; }
    int GridStepX() const { return m_stepX; }
    int GridStepY() const { return m_stepY; }
    // 2 unless buttons are flat, plus the border and both bevels.
    int MinButtonOffset() const;
    // The bar's extent across its edge, for placing the parent's other children.
    int Thickness() const;
    QRect InnerRect() const;

    // Sections.
    virtual int AppendSection(TSpeedbarSection *section);
    int AddSectionNamed(const QString &caption);
    int FindSection(const QString &caption) const;
    void RemoveSection(int index);
    int SectionCount() const { return int(m_sections.size()); }
    TSpeedbarSection *Section(int index) const;
    int IndexOfSection(const TSpeedbarSection *section) const;
    void MoveSection(int from, int to);

    // Items.
    void AttachItem(TSpeedItem *item, int section);
    void DetachItem(TSpeedItem *item);
    // During loading: attaches a declared item to its named section, or the first.
    void LoadItem(TSpeedItem *item);
    std::optional<std::pair<int, int>> LocateItem(const TSpeedItem *item) const;
    TSpeedItem *FindItemByName(const QString &name) const;
    virtual void VisitItems(const std::function<void(TSpeedItem *)> &visit) const;
    // Snaps the point to the grid and moves the item there; true (and the
    // item shown) when the point lies in the client area, else it is hidden.
    bool PlaceItemAt(TSpeedItem *item, int x, int y);
    QPoint SnapToGrid(QPoint p) const;

    virtual void ApplySystemFont();
    // Scales sizes, offsets and children by m / d, then snaps visible items.
    void ScaleBy(int m, int d);
    // Keeps a button within the rows: its coordinate across the axis is at
    // least the offset on that axis.
    QRect ConstrainButtonRect(QRect bounds) const;

    // Re-docking by dragging (with sbAllowDrag, while docked to an edge).
    bool IsDragging() const { return m_drag.dragging; }
    // The outline of the drop, in screen coordinates; empty unless dragging.
    QRect DragOutline() const { return m_drag.dragging ? m_drag.outline : QRect(); }
    // The last accepted target, or the alignment at the drag's start.
    TAlign DragAlign() const { return m_drag.align; }
    // Where the bar would lie when docked to edge: the parent's client area
    // less the siblings docked before it, cut to the bar's present
    // thickness; in the parent's coordinates.
    QRect DockOutline(TAlign edge) const;
    const TDragOutline *OutlineWindow() const { return m_outlineWindow; }

    // Customisation. The editor is told of placements, size changes and the
    // bar's end; nullptr ends edit mode.
    TSpeedbarEditor *EditorWindow() const { return m_editor; }
    void SetEditorWindow(TSpeedbarEditor *editor);
    bool IsResizing() const { return m_drag.resizing; }
    // Drops an item dragged by the pointer at global, held at hotSpot within
    // its button: placed on the grid when the pointer is over the bar,
    // hidden otherwise. The editor hears snItemPlaced or snDragEnded.
    bool DropItem(TSpeedItem *item, QPoint global, QPoint hotSpot);
    // The floating image of an item being dragged, if any.
    const TBtnControl *DragImage() const { return m_dragImage; }
    // Starts, moves and ends the floating image of an item drag; used by the
    // bar for its own buttons and by an editor for its item list.
    void BeginItemDrag(TSpeedItem *item, QPoint global, QPoint hotSpot);
    void MoveItemDrag(QPoint global);
    bool EndItemDrag(QPoint global);

    // Layout persistence through the storage set here.
    TFormStorage *IniStorage() const;
    void SetIniStorage(TFormStorage *storage);
    // "<storage section>\<window class><bar name>".
    QString LayoutSection() const;
    void SaveLayout();
    void RestoreLayout();
    // The screen resolution a stored layout must match.
    virtual int PixelsPerInch() const;

    ApplyAlignEvent OnApplyAlign;
    Notify OnPosChanged;
    Notify OnVisibleChanged;
    Notify OnCustomize;             // for a customisation editor's owner to raise

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Hooks for re-docking by dragging and for a customisation editor.
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void configureItem(TSpeedItem *item, bool resize);
    void updateGridStep();
    static QFont systemFont();
    void realign();
    void dock();
    void watchParent();
    void switchAxis(TBarOrientation axis);
    void sizeButtons();
    void moveButtons(int dx, int dy);
    void renumberItems();
    void growToButtons();
    void paintBevels(QPainter &p, QRect &r);
    void paintWallpaper(QPainter &p, const QRect &inner);
    void paintBoundLines(QPainter &p, const QRect &inner);
    // Dragging the bar and resizing it in edit mode.
    bool canDrag() const;
    bool nearInnerEdge(QPoint p) const;
    void startDrag();
    void dragTo(QPoint global);
    void dropAt(QPoint global);
    void showOutline(const QRect &screenRect);
    void showSizeCursor(bool show);
    void restoreCursor();
    void resizeTo(QPoint p);
    TAlign askApplyAlign(TAlign target);
    void notifyEditor(TSpeedbarNotification code, TSpeedItem *item = nullptr);
    void setItemEditMode(TSpeedItem *item);
    bool buttonMouseEvent(TSpeedbarButton *button, QEvent *event);

    std::vector<TSpeedbarSection *> m_sections;
    TSpeedbarOptions m_options;
    int m_offsetHorz = 3;
    int m_offsetVert = 3;
    int m_btnWidth = 24;
    int m_btnHeight = 23;
    TBarPosition m_position = TBarPosition::bpAuto;
    TAlign m_align = alNone;
    TBoundLines m_boundLines;
    QImage m_wallpaper;
    QPointer<TImageList> m_images;
    int m_version = 0;
    TPanelBevel m_bevelInner = bvNone;
    TPanelBevel m_bevelOuter = bvRaised;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    bool m_showHint = true;

    TBarOrientation m_orientation = TBarOrientation::boHorizontal;
    int m_stepX = 1;
    int m_stepY = 1;
    struct {
        bool offsetHorz = false, offsetVert = false, btnWidth = false, btnHeight = false;
    } m_marks;
    bool m_loading = false;
    bool m_paintSuspended = false;
    bool m_realignSuspended = false;
    bool m_destroying = false;
    QPointer<QWidget> m_watchedParent;

    struct {
        bool pressed = false;   // the left button went down on the bar's surface
        bool dragging = false;
        bool resizing = false;
        QPoint pressPoint;      // in the bar's coordinates
        QRect outline;          // screen coordinates
        TAlign align = alNone;  // remembered at the start, then each accepted target
        bool sizeCursor = false; // the resize cursor shows over the inner edge
        bool hadCursor = false; // the bar's own cursor, back after the drag
        QCursor cursor;
    } m_drag;
    TDragOutline *m_outlineWindow = nullptr;
    TSpeedbarEditor *m_editor = nullptr;
    TBtnControl *m_dragImage = nullptr;
    QPointer<TSpeedItem> m_draggedItem;
    QPoint m_dragHotSpot;
    QPointer<TFormStorage> m_storage;
};

// The grid step along an axis for a button extent.
int SpeedbarGridStep(int extent);

} // namespace widgets

Q_DECLARE_OPERATORS_FOR_FLAGS(widgets::TSpeedbarOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(widgets::TBoundLines)
