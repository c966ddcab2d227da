#include "iconlist.h"

#include "exception.h"
#include "icofile.h"

#include <QFile>
#include <QIODevice>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

namespace widgets {

namespace {

const QString kReadError = QStringLiteral("Stream-Lesefehler");
const QString kWriteError = QStringLiteral("Stream-Schreibfehler");
const QString kInvalidIcon = QStringLiteral("Ungültiges Symbol");
constexpr qint64 kChunk = 64 * 1024;

// Reads exactly size bytes, in chunks, so that a size field from a damaged
// stream cannot make us allocate gigabytes before the data runs out.
QByteArray ReadExactly(QIODevice &stream, qint64 size)
{
    QByteArray bytes;
    while (bytes.size() < size) {
        const QByteArray chunk = stream.read(qMin(kChunk, size - bytes.size()));
        if (chunk.isEmpty())
            throw platform::Exception(kReadError);
        bytes.append(chunk);
    }
    return bytes;
}

quint32 ReadU32(QIODevice &stream)
{
    return qFromLittleEndian<quint32>(ReadExactly(stream, 4).constData());
}

void WriteBytes(QIODevice &stream, const QByteArray &bytes)
{
    if (stream.write(bytes) != bytes.size())
        throw platform::Exception(kWriteError);
}

void WriteU32(QIODevice &stream, quint32 value)
{
    char b[4];
    qToLittleEndian(value, b);
    WriteBytes(stream, QByteArray(b, 4));
}

QIcon ReadEntry(QIODevice &stream)
{
    const quint32 size = ReadU32(stream);
    if (size == 0)
        return {};
    const QIcon icon = IconFromIcoData(ReadExactly(stream, size));
    if (icon.isNull())
        throw platform::Exception(kInvalidIcon);
    return icon;
}

} // namespace

void TIconList::Changed()
{
    if (m_updateCount == 0 && OnChange)
        OnChange(this);
}

QIcon TIconList::GetIcon(int index) const
{
    CheckIndex(index, m_icons.size() - 1);
    return m_icons[index];
}

int TIconList::GetCount() const
{
    return int(m_icons.size());
}

void TIconList::PutIcon(int index, const QIcon &icon)
{
    CheckIndex(index, m_icons.size());
    if (index == m_icons.size())
        m_icons.append(QIcon());
    m_icons[index] = icon;
    Changed();
}

int TIconList::Add(const QIcon &icon)
{
    const int index = GetCount();
    Insert(index, icon);
    return index;
}

int TIconList::AddResource(const QString &resourcePath)
{
    return Add(LoadResourceIcon(resourcePath));
}

void TIconList::Clear()
{
    BeginUpdate();
    for (int i = GetCount() - 1; i >= 0; --i)
        Delete(i);
    EndUpdate();
}

void TIconList::Delete(int index)
{
    CheckIndex(index, m_icons.size() - 1);
    m_icons.removeAt(index);
    Changed();
}

void TIconList::Exchange(int index1, int index2)
{
    CheckIndex(index1, m_icons.size() - 1);
    CheckIndex(index2, m_icons.size() - 1);
    m_icons.swapItemsAt(index1, index2);
    Changed();
}

int TIconList::IndexOf(const QIcon &icon) const
{
    if (icon.isNull())
        return -1;
    for (int i = 0; i < m_icons.size(); ++i) {
        if (!m_icons[i].isNull() && m_icons[i].cacheKey() == icon.cacheKey())
            return i;
    }
    return -1;
}

void TIconList::Insert(int index, const QIcon &icon)
{
    CheckIndex(index, m_icons.size());
    m_icons.insert(index, icon);
    Changed();
}

void TIconList::InsertResource(int index, const QString &resourcePath)
{
    Insert(index, LoadResourceIcon(resourcePath));
}

void TIconList::LoadFromStream(QIODevice &stream)
{
    const quint32 count = ReadU32(stream);
    QList<QIcon> loaded;
    for (quint32 i = 0; i < count; ++i)
        loaded.append(ReadEntry(stream));
    BeginUpdate();
    m_icons = std::move(loaded);
    EndUpdate();
}

void TIconList::Move(int from, int to)
{
    if (from == to)
        return;
    CheckIndex(from, m_icons.size() - 1);
    CheckIndex(to, m_icons.size() - 1);
    m_icons.move(from, to);
    Changed();
}

void TIconList::SaveToStream(QIODevice &stream) const
{
    WriteU32(stream, quint32(m_icons.size()));
    for (const QIcon &icon : m_icons) {
        const QByteArray data = IcoDataFromIcon(icon);
        WriteU32(stream, quint32(data.size()));
        WriteBytes(stream, data);
    }
}

void TIconList::BeginUpdate()
{
    ++m_updateCount;
}

void TIconList::EndUpdate()
{
    if (m_updateCount == 0)
        return;
    if (--m_updateCount == 0)
        Changed();
}

void TIconList::Assign(const TIconList &source)
{
    if (&source == this)
        return;
    BeginUpdate();
    Clear();
    for (int i = 0; i < source.GetCount(); ++i)
        Add(source.GetIcon(i));
    EndUpdate();
}

void TIconList::Assign(const QIcon &icon)
{
    BeginUpdate();
    Clear();
    Add(icon);
    EndUpdate();
}

void TIconList::CheckIndex(int index, int limit) const
{
    if (index < 0 || index > limit)
        throw platform::Exception(QStringLiteral("Listenindex überschreitet das Maximum (%1)").arg(index));
}

QIcon TIconList::LoadResourceIcon(const QString &resourcePath)
{
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::Exception(QStringLiteral("Ressource %1 nicht gefunden").arg(resourcePath));
    const QByteArray data = file.readAll();
    QIcon icon = IconFromIcoData(data);
    if (icon.isNull()) {
        const QImage image = QImage::fromData(data);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    if (icon.isNull())
        throw platform::Exception(kInvalidIcon);
    return icon;
}

} // namespace widgets
