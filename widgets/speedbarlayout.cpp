// Saving and restoring a speed bar's layout (edge, thickness, button size
// and which buttons stand where) through a form-placement storage.

#include "exception.h"
#include "formstorage.h"
#include "speedbar.h"
#include "speedbarerror.h"
#include "speeditem.h"

#include <QRegularExpression>

namespace widgets {

using platform::StrToIntChecked;
using platform::TIniFile;

namespace {
const QString kPosition = QStringLiteral("Position");
const QString kWidth = QStringLiteral("Width");
const QString kVersion = QStringLiteral("Version");
const QString kPixelsPerInch = QStringLiteral("PixelsPerInch");
const QString kBtnWidth = QStringLiteral("BtnWidth");
const QString kBtnHeight = QStringLiteral("BtnHeight");
const QString kCount = QStringLiteral("Count");
QString buttonKey(int n) { return QStringLiteral("Button%1").arg(n); }

// The window's class without a namespace, as the layout section names it.
QString windowClassName(const QWidget *window)
{
    const QString name = QString::fromLatin1(window->metaObject()->className());
    const qsizetype colons = name.lastIndexOf(QLatin1String("::"));
    return colons < 0 ? name : name.mid(colons + 2);
}

// A stored coordinate; anything but a number keeps the current one.
int coordinate(const QStringList &fields, int index, int current)
{
    int value = 0;
    return index < fields.size() && StrToIntChecked(fields[index], value) ? value : current;
}
} // namespace

void TSpeedBar::SetIniStorage(TFormStorage *storage)
{
    if (storage == m_storage)
        return;
    if (m_storage)
        m_storage->Unhook(this);
    m_storage = storage;
    if (m_storage)
        m_storage->Hook(this, [this] { SaveLayout(); }, [this] { RestoreLayout(); });
}

TFormStorage *TSpeedBar::IniStorage() const { return m_storage; }

int TSpeedBar::PixelsPerInch() const { return logicalDpiY(); }

QString TSpeedBar::LayoutSection() const
{
    const QString rest = windowClassName(window()) + objectName();
    return m_storage ? m_storage->SectionFor(rest) : rest;
}

void TSpeedBar::SaveLayout()
{
    if (!m_storage)
        return;
    const TIniFile ini = m_storage->IniFile();
    const QString section = LayoutSection();
    ini.WriteInteger(section, kPosition, int(m_align));
    ini.WriteInteger(section, kWidth, Thickness());
    ini.WriteInteger(section, kVersion, m_version);
    ini.WriteInteger(section, kPixelsPerInch, PixelsPerInch());
    ini.WriteInteger(section, kBtnWidth, m_btnWidth);
    ini.WriteInteger(section, kBtnHeight, m_btnHeight);
    int count = 0;
    VisitItems([&](TSpeedItem *item) {
        if (!item->Visible() || !item->Stored())
            return;
        ++count;
        ini.WriteString(section, buttonKey(count),
                        QStringLiteral("%1,%2,%3").arg(item->objectName()).arg(item->Left()).arg(item->Top()));
    });
    ini.WriteInteger(section, kCount, count);
}

void TSpeedBar::RestoreLayout()
{
    if (!m_storage)
        return;
    const TIniFile ini = m_storage->IniFile();
    const QString section = LayoutSection();
    if (ini.ReadInteger(section, kVersion, m_version) < m_version)
        return;
    const TAlign before = m_align;
    if (m_options.testFlag(sbAllowDrag)) {
        const QString stored = ini.ReadString(section, kPosition, QString());
        if (!stored.isEmpty()) {
            int value = -1;
            const bool known = StrToIntChecked(stored, value) && value >= alNone && value <= alClient;
            try {
                SetAlign(known ? TAlign(value) : alTop);
            } catch (const ESpeedbarError &) {
                SetAlign(alTop);
            }
        }
    }
    if (ini.ReadInteger(section, kPixelsPerInch, 0) == PixelsPerInch()) {
        SetBtnWidth(ini.ReadInteger(section, kBtnWidth, m_btnWidth));
        SetBtnHeight(ini.ReadInteger(section, kBtnHeight, m_btnHeight));
        if (m_options.testFlag(sbAllowResize)) {
            const int thickness = ini.ReadInteger(section, kWidth, Thickness());
            if (m_align == alLeft || m_align == alRight)
                resize(thickness, height());
            else
                resize(width(), thickness);
            dock();
        }
        const int count = ini.ReadInteger(section, kCount, 0);
        if (count > 0) {
            VisitItems([](TSpeedItem *item) { item->SetVisible(false); });
            static const QRegularExpression separators(QStringLiteral("[ ,]+"));
            for (int n = 1; n <= count; ++n) {
                const QStringList fields =
                    ini.ReadString(section, buttonKey(n), QString()).split(separators, Qt::SkipEmptyParts);
                TSpeedItem *item = fields.isEmpty() ? nullptr : FindItemByName(fields[0]);
                if (!item)
                    continue;
                const int left = std::max(coordinate(fields, 1, item->Left()), m_offsetHorz);
                const int top = std::max(coordinate(fields, 2, item->Top()), m_offsetVert);
                item->Button()->SetBounds(left, top, m_btnWidth, m_btnHeight);
                item->SetVisible(true);
            }
        }
    }
    if (m_align != before && OnPosChanged)
        OnPosChanged(this);
}

} // namespace widgets
