#include "toolbar.h"

#include "formloading.h"
#include "glyphspeedbutton.h"
#include "speedbar.h"
#include "speedbarsection.h"
#include "speeditem.h"
#include "windowkeys.h"

#include <QFont>
#include <QWidget>

namespace ui {

namespace {

using widgets::TSpeedBar;
using widgets::TSpeedItem;

struct ItemDeclaration {
    const char *name;
    const char *caption;
    const char *hint;
    int left;
    GlyphMotif motif;
    ToolbarHandlers::Handler ToolbarHandlers::*onClick;
};

const QString kSectionCaption = QStringLiteral("Untitled (0)");
constexpr int kItemTop = 4;

// In declaration order; the positions group the commands with gaps between groups.
const ItemDeclaration kItems[] = {
    {"spClose", "spClose", "Beenden", 4, GlyphMotif::Door, &ToolbarHandlers::mnuBeendenClick},
    {"Drucken", "Drucken", "Drucken", 34, GlyphMotif::Printer, &ToolbarHandlers::spDruckenClick},
    {"Undo", "Undo", "Rückgängig", 64, GlyphMotif::UndoArrow, &ToolbarHandlers::mnuUnDOClick},
    {"Cut", "Cut", "Ausschneiden", 84, GlyphMotif::Scissors, &ToolbarHandlers::ppAusschneidenClick},
    {"Copy", "Copy", "Kopieren", 104, GlyphMotif::TwoPages, &ToolbarHandlers::ppKopierenClick},
    {"Insert", "Insert", "Einfügen", 124, GlyphMotif::Clipboard, &ToolbarHandlers::ppEinfuegenClick},
    {"Neu", "Neu", "Neue Karte", 164, GlyphMotif::BlankPage, &ToolbarHandlers::mnuNeuClick},
    {"Delete", "Delete", "Karte löschen", 184, GlyphMotif::RedCross, &ToolbarHandlers::mnuDeleteClick},
    {"spRename", "spRename", "Karte umbenennen", 204, GlyphMotif::RenameAB, &ToolbarHandlers::mnuRenameClick},
    {"Schrift", "Schrift", "Schrift", 234, GlyphMotif::LetterA, &ToolbarHandlers::mnuSchriftClick},
    {"Fett", "Fett", "Fett|Fett", 264, GlyphMotif::BoldF, &ToolbarHandlers::spBoldClick},
    {"Kursiv", "Kursiv", "Kursiv|", 284, GlyphMotif::ItalicK, &ToolbarHandlers::spItalicClick},
    {"Underline", "Underline", "Unterstrichen", 304, GlyphMotif::UnderlineU, &ToolbarHandlers::spUnderlineClick},
    {"Links", "Links", "Linksbündig|", 334, GlyphMotif::AlignLeft, &ToolbarHandlers::spLeftClick},
    {"Zentriert", "Zentriert", "Zentriert|", 354, GlyphMotif::AlignCenter, &ToolbarHandlers::spCenterClick},
    {"Rechts", "Rechts", "Rechtsbündig|", 374, GlyphMotif::AlignRight, &ToolbarHandlers::spRightClick},
    {"Bullet", "Bullet", "Aufzählung", 404, GlyphMotif::Bullets, &ToolbarHandlers::spBulletClick},
    {"TimeStamp", "TimeStamp", "Zeitstempel", 434, GlyphMotif::Stopwatch, &ToolbarHandlers::spZeitStempelClick},
};

// Binds a handler by value, so the bar does not depend on the caller's struct.
ToolbarHandlers::Handler forward(const ToolbarHandlers::Handler &handler)
{
    return [handler](QObject *sender) {
        if (handler)
            handler(sender);
    };
}

void setBarProperties(TSpeedBar *bar)
{
    bar->setObjectName(QStringLiteral("SpeedBar1"));
    bar->setAccessibleName(QStringLiteral("Werkzeugleiste"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(9);
    bar->setFont(font);
    bar->SetOptions(widgets::TSpeedbarOptions(widgets::sbFlatBtns) | widgets::sbGrayedBtns);
    bar->SetBevelInner(widgets::bvRaised);
    bar->SetBevelOuter(widgets::bvLowered);
    bar->SetBtnOffsetHorz(4);
    bar->SetBtnOffsetVert(4);
    bar->SetBtnWidth(20);
    bar->SetBtnHeight(20);
    bar->resize(bar->width(), 28);
}

void addCloseButton(TSpeedBar *bar, const ToolbarHandlers &handlers)
{
    auto *close = new widgets::TGlyphSpeedButton(bar);
    close->setObjectName(QStringLiteral("sbClose"));
    close->setGeometry(469, 3, 76, 22);
    close->SetFlat(true);
    close->SetCaption(QStringLiteral("Schließen"));
    close->SetHint(TipWithKey(QStringLiteral("Schließen"), kCloseKey));
    close->OnClick = forward(handlers.sbCloseClick);
}

// The commands that are on no menu tell their key in the tool tip.
QString hintOf(const ItemDeclaration &d)
{
    const QString hint = QString::fromUtf8(d.hint);
    if (d.onClick == &ToolbarHandlers::spBulletClick)
        return TipWithKey(hint, kBulletKey);
    if (d.onClick == &ToolbarHandlers::spZeitStempelClick)
        return TipWithKey(hint, kTimeStampKey);
    return hint;
}

void addItem(TSpeedBar *bar, QWidget *owner, const ItemDeclaration &d, const ToolbarHandlers &handlers)
{
    auto *item = new TSpeedItem(owner);
    item->setObjectName(QString::fromLatin1(d.name));
    item->SetCaption(QString::fromUtf8(d.caption));
    item->SetHint(hintOf(d));
    item->SetGlyph(ToolbarGlyph(d.motif, bar->palette()));
    item->SetSpacing(1);
    item->SetLeft(d.left);
    item->SetTop(kItemTop);
    item->SetVisible(true);
    item->SetSectionName(kSectionCaption);
    item->SetOnClick(forward(handlers.*d.onClick));
    bar->LoadItem(item);
}

} // namespace

TSpeedBar *BuildSpeedBar1(QWidget *owner, const ToolbarHandlers &handlers, QWidget *parent)
{
    widgets::TLoadingScope loading(owner);
    auto *bar = new TSpeedBar(parent ? parent : owner);
    bar->BeginLoad();
    setBarProperties(bar);
    addCloseButton(bar, handlers);

    auto *section = new widgets::TSpeedbarSection(owner);
    section->setObjectName(QStringLiteral("SpeedbarSection1"));
    bar->AppendSection(section);
    section->SetCaption(kSectionCaption);

    for (const ItemDeclaration &d : kItems)
        addItem(bar, owner, d, handlers);
    bar->EndLoad();
    return bar;
}

void SetToolbarGlyphs(TSpeedBar *bar)
{
    for (const ItemDeclaration &d : kItems)
        if (TSpeedItem *item = bar->FindItemByName(QString::fromLatin1(d.name)))
            item->SetGlyph(ToolbarGlyph(d.motif, bar->palette()));
}

} // namespace ui
