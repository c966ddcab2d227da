#include "documentresources.h"

#include <QTextDocument>

namespace platform {

namespace {

class TResourceGuard : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE QVariant loadResource(int, const QUrl &name) { return NoOutsideResource(name); }
};

} // namespace

QVariant NoOutsideResource(const QUrl &name)
{
    if (name.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) == 0)
        return {};
    return QVariant(QByteArray());
}

QObject *ResourceGuard()
{
    static TResourceGuard guard;
    return &guard;
}

std::unique_ptr<QTextDocument> CopyDocument(const QTextDocument &document)
{
    return std::unique_ptr<QTextDocument>(document.clone(ResourceGuard()));
}

} // namespace platform

#include "documentresources.moc"
