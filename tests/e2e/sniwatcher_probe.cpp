// A StatusNotifierItem host for the end-to-end test: owns the watcher's name
// on the session bus, and for the first item that registers prints its
// IconName and tool tip title, then activates it (as a panel does on a click),
// at once or once the file named by SNI_ACTIVATE_WHEN exists.
// Output lines: "IconName=...", "ToolTip=...", "activated".

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

QVariant itemProperty(const QString &service, const QString &path, const char *name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << QStringLiteral("org.kde.StatusNotifierItem") << QString::fromLatin1(name);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get);
    return reply.arguments().isEmpty() ? QVariant() : reply.arguments().first().value<QDBusVariant>().variant();
}

void activate(const QString &service, const QString &path)
{
    QDBusInterface item(service, path, QStringLiteral("org.kde.StatusNotifierItem"));
    item.call(QStringLiteral("Activate"), 10, 10);
    say(QStringLiteral("activated"));
}

void inspect(const QString &service, const QString &path)
{
    say(QStringLiteral("IconName=") + itemProperty(service, path, "IconName").toString());
    // ToolTip: (icon name, icon pixmaps, title, text).
    const QDBusArgument tip = itemProperty(service, path, "ToolTip").value<QDBusArgument>();
    QString iconName, title, text;
    tip.beginStructure();
    tip >> iconName;
    tip.beginArray();
    while (!tip.atEnd()) {
        int w = 0, h = 0;
        QByteArray bytes;
        tip.beginStructure();
        tip >> w >> h >> bytes;
        tip.endStructure();
    }
    tip.endArray();
    tip >> title >> text;
    tip.endStructure();
    say(QStringLiteral("ToolTip=") + title);
    // A panel's click comes once the user sees the program: where the test
    // names a file, the click waits until that file exists.
    const QString when = qEnvironmentVariable("SNI_ACTIVATE_WHEN");
    if (when.isEmpty()) {
        activate(service, path);
        return;
    }
    auto *poll = new QTimer;
    poll->setInterval(50);
    QObject::connect(poll, &QTimer::timeout, [poll, when, service, path] {
        if (!QFileInfo::exists(when))
            return;
        poll->deleteLater();
        activate(service, path);
    });
    poll->start();
}

class Watcher : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    explicit Watcher(QObject *parent) : QDBusAbstractAdaptor(parent) {}
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_items; }

public slots:
    void RegisterStatusNotifierItem(const QString &serviceOrPath, const QDBusMessage &message)
    {
        // Either a bus name (the item at /StatusNotifierItem) or a path on the caller's connection.
        const bool isPath = serviceOrPath.startsWith(QLatin1Char('/'));
        const QString service = isPath ? message.service() : serviceOrPath;
        const QString path = isPath ? serviceOrPath : QStringLiteral("/StatusNotifierItem");
        m_items << service + path;
        emit StatusNotifierItemRegistered(service + path);
        if (m_items.size() == 1)
            QTimer::singleShot(0, this, [service, path] { inspect(service, path); });
    }
    void RegisterStatusNotifierHost(const QString &) {}

signals:
    void StatusNotifierItemRegistered(const QString &item);
    void StatusNotifierItemUnregistered(const QString &item);
    void StatusNotifierHostRegistered();

private:
    QStringList m_items;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QObject root;
    new Watcher(&root);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &root, QDBusConnection::ExportAdaptors)
        || !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
        std::fprintf(stderr, "cannot own org.kde.StatusNotifierWatcher\n");
        return 1;
    }
    say(QStringLiteral("ready"));
    return app.exec();
}

#include "sniwatcher_probe.moc"
