#pragma once
// A named group of speed bar items, as a customisation editor would list
// them. Sections catalogue items; they do not decide where buttons stand.

#include <QObject>
#include <QString>
#include <vector>

namespace widgets {

class TSpeedBar;
class TSpeedItem;

class TSpeedbarSection : public QObject {
    Q_OBJECT
public:
    explicit TSpeedbarSection(QObject *owner = nullptr);
    // Destroys its items, each once, then leaves its bar.
    ~TSpeedbarSection() override;

    // Unique among the sections of one bar (exact comparison); outside
    // loading a duplicate raises ESpeedbarError.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &value);
    // Position in the bar's list, -1 when detached; setting it moves the
    // section, clamped to the list.
    int Index() const;
    void SetIndex(int value);

    int ItemCount() const { return int(m_items.size()); }
    TSpeedItem *Item(int index) const;
    TSpeedBar *SpeedBar() const { return m_bar; }

private:
    friend class TSpeedBar;
    friend class TSpeedItem;
    void append(TSpeedItem *item);
    void remove(TSpeedItem *item);

    QString m_caption;
    std::vector<TSpeedItem *> m_items;
    TSpeedBar *m_bar = nullptr;
};

} // namespace widgets
