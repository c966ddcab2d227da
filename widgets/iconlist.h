#pragma once
// TIconList: an ordered list of icons that it owns, belonging to a component
// (the tray icon's animation frames). Every change notifies the owner through
// OnChange, except while an update is open (BeginUpdate/EndUpdate): then one
// notification goes out when the last EndUpdate closes it.
//
// Slots may be empty (a null QIcon). Icons are Qt values, so an icon changes
// only through this list's operations, and each of those notifies.
//
// Stream format (SaveToStream/LoadFromStream): a 32-bit little-endian count n,
// then n entries, each a 32-bit little-endian size s followed by s bytes of the
// icon as an .ico file; an empty slot is written with s = 0.

#include <QIcon>
#include <QList>
#include <QString>
#include <functional>

class QIODevice;

namespace widgets {

class TIconList {
public:
    TIconList() = default;
    TIconList(const TIconList &) = delete;
    TIconList &operator=(const TIconList &) = delete;
    virtual ~TIconList() = default;

    // The owner's notification; the sender is this list.
    std::function<void(TIconList *sender)> OnChange;

    // Notifies the owner unless an update is open.
    virtual void Changed();
    // The icon at index (a null icon for an empty slot). Throws
    // platform::Exception for an index outside 0 .. count - 1.
    virtual QIcon GetIcon(int index) const;
    virtual int GetCount() const;
    // Copies the icon into the slot; index = count appends.
    virtual void PutIcon(int index, const QIcon &icon);
    // Adds a copy and returns its index.
    virtual int Add(const QIcon &icon);
    // Adds the icon stored under a resource or file path (":/icons/frame1.ico");
    // .ico data and the image formats Qt reads are accepted. Throws
    // platform::Exception when the resource is missing or not an image.
    virtual int AddResource(const QString &resourcePath);
    // Deletes from the last to the first, with one notification.
    virtual void Clear();
    virtual void Delete(int index);
    virtual void Exchange(int index1, int index2);
    // The index of the slot holding this very icon (or a copy of it), else -1.
    virtual int IndexOf(const QIcon &icon) const;
    virtual void Insert(int index, const QIcon &icon);
    virtual void InsertResource(int index, const QString &resourcePath);
    // Replaces the list with the stream's entries, with one notification.
    // Truncated or malformed data throws platform::Exception and leaves the
    // list as it was.
    virtual void LoadFromStream(QIODevice &stream);
    virtual void Move(int from, int to);
    // Throws platform::Exception when the stream refuses the data.
    virtual void SaveToStream(QIODevice &stream) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }

    // Copies all icons of another list.
    void Assign(const TIconList &source);
    // Makes a list of this one icon.
    void Assign(const QIcon &icon);

    int Count() const { return GetCount(); }
    QIcon Icon(int index) const { return GetIcon(index); }

private:
    void CheckIndex(int index, int limit) const;
    static QIcon LoadResourceIcon(const QString &resourcePath);

    QList<QIcon> m_icons;
    int m_updateCount = 0;
};

} // namespace widgets
