#include "menushortcut.h"

#include <QKeyEvent>

namespace ui {

namespace {
// Virtual-key codes of the keys a menu shortcut may name, with their German names.
QString keyName(std::uint8_t vk)
{
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return QString(QChar(vk));
    if (vk >= 0x70 && vk <= 0x87)
        return QStringLiteral("F%1").arg(vk - 0x6F);
    switch (vk) {
    case 0x08: return QStringLiteral("Rück");
    case 0x09: return QStringLiteral("Tab");
    case 0x0D: return QStringLiteral("Eingabe");
    case 0x1B: return QStringLiteral("Esc");
    case 0x20: return QStringLiteral("Leer");
    case 0x21: return QStringLiteral("Bild auf");
    case 0x22: return QStringLiteral("Bild ab");
    case 0x23: return QStringLiteral("Ende");
    case 0x24: return QStringLiteral("Pos1");
    case 0x25: return QStringLiteral("Links");
    case 0x26: return QStringLiteral("Auf");
    case 0x27: return QStringLiteral("Rechts");
    case 0x28: return QStringLiteral("Ab");
    case 0x2D: return QStringLiteral("Einfg");
    case 0x2E: return QStringLiteral("Entf");
    default: return QString();
    }
}

std::uint8_t virtualKey(int qtKey)
{
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return std::uint8_t(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return std::uint8_t(0x70 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Menu: return 0x5D;
    default: return 0;
    }
}
} // namespace

QString ShortCutToText(TShortCut shortcut)
{
    const QString key = keyName(std::uint8_t(shortcut & 0xFF));
    if (key.isEmpty())
        return QString();
    QString text;
    if (shortcut & scShift)
        text += QStringLiteral("Umsch+");
    if (shortcut & scCtrl)
        text += QStringLiteral("Strg+");
    if (shortcut & scAlt)
        text += QStringLiteral("Alt+");
    return text + key;
}

TShortCut ShortCutFromKeyEvent(const QKeyEvent &event)
{
    const std::uint8_t vk = virtualKey(event.key());
    if (vk == 0)
        return 0;
    TShortCut value = vk;
    const Qt::KeyboardModifiers m = event.modifiers();
    if (m & Qt::ShiftModifier)
        value |= scShift;
    if (m & Qt::ControlModifier)
        value |= scCtrl;
    if (m & Qt::AltModifier)
        value |= scAlt;
    return value;
}

} // namespace ui
