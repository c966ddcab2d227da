#include "windowkeys.h"

namespace ui {

namespace {

constexpr TShortCut kF1 = 0x70;
constexpr TShortCut kF10 = 0x79;
constexpr TShortCut kMenuKey = 0x5D;

const struct {
    TShortCut key;
    TWindowCommand command;
} kWindowKeys[] = {
    {kF10, TWindowCommand::MenuBar},
    {TShortCut(kF10 | scShift), TWindowCommand::ContextMenu},
    {kMenuKey, TWindowCommand::ContextMenu},
    {ShortCut('N', scCtrl), TWindowCommand::NewCard},
    {ShortCut('S', scCtrl), TWindowCommand::SavePoint},
    {ShortCut('Q', scCtrl), TWindowCommand::Quit},
    {kF1, TWindowCommand::Help},
    {kBulletKey, TWindowCommand::Bullet},
    {kTimeStampKey, TWindowCommand::TimeStamp},
    {kCloseKey, TWindowCommand::Close},
};

} // namespace

TWindowCommand WindowCommandOf(TShortCut key)
{
    for (const auto &entry : kWindowKeys)
        if (entry.key == key)
            return entry.command;
    return TWindowCommand::None;
}

QString TipWithKey(const QString &tip, TShortCut key) { return QStringLiteral("%1 (%2)").arg(tip, ShortCutToText(key)); }

} // namespace ui
