#pragma once
// One command of a speed bar. The window declares items, not buttons: each
// item owns exactly one button and forwards its look and events to it, so a
// handler receives the button as sender. The item itself keeps its display
// name, its section and whether it is shown and enabled.

#include "speedbarbutton.h"

#include <QObject>
#include <QPointer>

namespace widgets {

class TSpeedBar;

class TSpeedItem : public QObject {
    Q_OBJECT
public:
    // The owner is normally the window; it destroys the item unless the bar
    // does so first.
    explicit TSpeedItem(QObject *owner = nullptr);
    ~TSpeedItem() override;

    TSpeedbarButton *Button() const { return m_button; }

    // The item's display name for an editor; never drawn. A change may carry
    // the hint along (see SetCaption in the source).
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value);
    // Renames the item; a caption equal to the old name follows the name.
    void SetName(const QString &value);

    // Enabled by default; the button is enabled only while the bar is too.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    // Hidden at construction; the button shows only while the bar shows.
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    bool Stored() const { return m_stored; }
    void SetStored(bool value) { m_stored = value; }
    int Tag() const { return m_tag; }
    void SetTag(int value);
    // -1 (default): the item's own glyph; otherwise a picture of the bar's Images.
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value);
    // The caption of the item's section.
    QString SectionName() const;
    void SetSectionName(const QString &value);
    // The position of the item's section in its bar; -1 when detached.
    int Section() const { return m_sectionIndex; }
    TSpeedBar *SpeedBar() const { return m_bar; }
    bool EditMode() const { return m_editMode; }

    // Hands the item to a bar (nullptr: detaches it), as a declaration does
    // outside loading: first detached from any bar, then attached to the
    // section of its SectionName, or to its earlier section index.
    void SetSpeedBar(TSpeedBar *bar);

    // Clicks the button exactly as a user's release does.
    virtual void PerformClick();

    // Forwarded to the button.
    QAction *Action() const { return m_button->Action(); }
    void SetAction(QAction *action) { m_button->SetAction(action); }
    QString Hint() const { return m_button->Hint(); }
    void SetHint(const QString &value) { m_button->SetHint(value); }
    QString BtnCaption() const { return m_button->Caption(); }
    void SetBtnCaption(const QString &value) { m_button->SetCaption(value); }
    const QImage &Glyph() const { return m_button->Glyph(); }
    void SetGlyph(const QImage &value) { m_button->SetGlyph(value); }
    int NumGlyphs() const { return m_button->NumGlyphs(); }
    void SetNumGlyphs(int value) { m_button->SetNumGlyphs(value); }
    bool AllowAllUp() const { return m_button->AllowAllUp(); }
    void SetAllowAllUp(bool value) { m_button->SetAllowAllUp(value); }
    bool AllowTimer() const { return m_button->AllowTimer(); }
    void SetAllowTimer(bool value) { m_button->SetAllowTimer(value); }
    bool Down() const { return m_button->Down(); }
    void SetDown(bool value) { m_button->SetDown(value); }
    int GroupIndex() const { return m_button->GroupIndex(); }
    void SetGroupIndex(int value) { m_button->SetGroupIndex(value); }
    QMenu *DropDownMenu() const { return m_button->DropDownMenu(); }
    void SetDropDownMenu(QMenu *menu) { m_button->SetDropDownMenu(menu); }
    bool MarkDropDown() const { return m_button->MarkDropDown(); }
    void SetMarkDropDown(bool value) { m_button->SetMarkDropDown(value); }
    TButtonLayout Layout() const { return m_button->Layout(); }
    void SetLayout(TButtonLayout value) { m_button->SetLayout(value); }
    int Margin() const { return m_button->Margin(); }
    void SetMargin(int value) { m_button->SetMargin(value); }
    int Spacing() const { return m_button->Spacing(); }
    void SetSpacing(int value) { m_button->SetSpacing(value); }
    bool WordWrap() const { return m_button->WordWrap(); }
    void SetWordWrap(bool value) { m_button->SetWordWrap(value); }
    bool ShowHint() const { return m_button->ShowHint(); }
    void SetShowHint(bool value) { m_button->SetShowHint(value); }
    bool ParentShowHint() const { return m_button->ParentShowHint(); }
    void SetParentShowHint(bool value) { m_button->SetParentShowHint(value); }
    bool ParentFont() const { return m_button->ParentFont(); }
    void SetParentFont(bool value) { m_button->SetParentFont(value); }
    void SetFont(const QFont &font) { m_button->SetButtonFont(font); }
    void SetCursor(const QCursor &cursor) { m_button->setCursor(cursor); }
    int Left() const { return m_button->x(); }
    void SetLeft(int value);
    int Top() const { return m_button->y(); }
    void SetTop(int value);

    // The button's events; the sender is the button.
    void SetOnClick(TAbstractButton::TNotifyEvent handler) { m_button->OnClick = std::move(handler); }
    void SetOnDblClick(TAbstractButton::TNotifyEvent handler) { m_button->OnDblClick = std::move(handler); }
    void SetOnMouseEnter(TAbstractButton::TNotifyEvent handler) { m_button->OnMouseEnter = std::move(handler); }
    void SetOnMouseLeave(TAbstractButton::TNotifyEvent handler) { m_button->OnMouseLeave = std::move(handler); }
    void SetOnMouseDown(TAbstractButton::TMouseEvent handler) { m_button->OnMouseDown = std::move(handler); }
    void SetOnMouseUp(TAbstractButton::TMouseEvent handler) { m_button->OnMouseUp = std::move(handler); }
    void SetOnMouseMove(TAbstractButton::TMouseMoveEvent handler) { m_button->OnMouseMove = std::move(handler); }

private:
    friend class TSpeedBar;
    friend class TSpeedbarSection;

    bool ownerLoading() const;
    // Shows the button exactly when the item and its bar are visible.
    void applyVisible();
    void applyEnabled();

    QPointer<TSpeedbarButton> m_button;
    QString m_caption;
    bool m_enabled = true;
    bool m_visible = false;
    bool m_stored = true;
    int m_tag = 0;
    int m_imageIndex = -1;
    QString m_sectionName;
    int m_sectionIndex = -1;
    TSpeedBar *m_bar = nullptr;
    class TSpeedbarSection *m_section = nullptr;
    bool m_editMode = false;
};

} // namespace widgets
