#include "namedicon.h"

#include <QIconEngine>
#include <QPainter>

namespace platform {

namespace {

class NamedIconEngine : public QIconEngine {
public:
    NamedIconEngine(QIcon icon, QString name) : m_icon(std::move(icon)), m_name(std::move(name)) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        m_icon.paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_icon.pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_icon.actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return m_icon.availableSizes(mode, state);
    }
    QString iconName() override { return m_name; }
    bool isNull() override { return m_icon.isNull(); }
    QString key() const override { return QStringLiteral("NamedIconEngine"); }
    QIconEngine *clone() const override { return new NamedIconEngine(m_icon, m_name); }

private:
    QIcon m_icon;
    QString m_name;
};

} // namespace

QIcon IconNamed(const QIcon &icon, const QString &name)
{
    if (icon.isNull() || !icon.name().isEmpty() || name.isEmpty())
        return icon;
    return QIcon(new NamedIconEngine(icon, name));
}

} // namespace platform
