// Notifications through the freedesktop notification service on the session bus. Every call is
// asynchronous and every failure is dropped: without a bus or a service an arrival only beeps, and a slow
// service never holds up the window (or, through it, the messenger's poller).
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QIcon>
#include <QImage>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>
#include <optional>
#include <utility>

#include "app/MemoNotifier.h"

namespace {

const QString ServiceName = QStringLiteral("org.freedesktop.Notifications");
const QString ServicePath = QStringLiteral("/org/freedesktop/Notifications");
const QString DefaultAction = QStringLiteral("default");
const QString HistoryAction = QStringLiteral("history");
constexpr int ShownLines = 5;  // a notification is a glance, not a reader
constexpr int ShownCharacters = 400;
constexpr int IconPixels = 48;

QString Body(const QString& text, bool markup) {
    QStringList lines = text.split(u'\n');
    QString body = lines.mid(0, ShownLines).join(u'\n');
    if (lines.size() > ShownLines || body.size() > ShownCharacters) {
        body = body.left(ShownCharacters) + QStringLiteral("\u2026");
    }
    // A service that reads markup would take a memo's "<b>" or "&amp;" as its own.
    return markup ? body.replace(u'&', QStringLiteral("&amp;"))
                        .replace(u'<', QStringLiteral("&lt;"))
                        .replace(u'>', QStringLiteral("&gt;"))
                  : body;
}

// The icon as pixels (the hint "image-data", iiibiiay), so that it shows even where the program is not
// installed and the icon name finds nothing.
QVariant ImageData(const QIcon& icon) {
    const QImage image = icon.pixmap(IconPixels).toImage().convertToFormat(QImage::Format_RGBA8888);
    if (image.isNull()) {
        return {};
    }
    QDBusArgument data;
    data.beginStructure();
    data << image.width() << image.height() << static_cast<int>(image.bytesPerLine()) << true << 8 << 4
         << QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
    data.endStructure();
    return QVariant::fromValue(data);
}

}  // namespace

class TMemoNotifier::TService : public QObject {
    Q_OBJECT

public:
    TService(QWidget& window, std::function<void()> openHistory)
        : Window(window), OpenHistory(std::move(openHistory)), Bus(QDBusConnection::sessionBus()) {
        if (!Bus.isConnected()) {
            return;
        }
        Bus.connect(ServiceName, ServicePath, ServiceName, QStringLiteral("ActionInvoked"), this,
                    SLOT(OnAction(uint, QString)));
        Bus.connect(ServiceName, ServicePath, ServiceName, QStringLiteral("ActivationToken"), this,
                    SLOT(OnToken(uint, QString)));
        const auto call = QDBusMessage::createMethodCall(ServiceName, ServicePath, ServiceName,
                                                         QStringLiteral("GetCapabilities"));
        Await(Bus.asyncCall(call), [this](QDBusPendingCallWatcher& reply) {
            const QDBusPendingReply<QStringList> capabilities = reply;
            Markup = !capabilities.isValid() || capabilities.value().contains(QStringLiteral("body-markup"));
        });
    }

    void Show(const QString& summary, const QString& text) {
        if (!Bus.isConnected()) {
            return;
        }
        // One call at a time: while the service has not answered, only the latest arrival waits, so a flood
        // of memos never floods the bus or the service.
        if (Sending) {
            Waiting = {summary, text};
            return;
        }
        Sending = true;
        if (!Icon.isValid()) {
            Icon = ImageData(QApplication::windowIcon());
        }
        QVariantMap hints{{QStringLiteral("category"), QStringLiteral("im.received")},
                          {QStringLiteral("desktop-entry"), QStringLiteral("org.example.kestrin")}};
        if (Icon.isValid()) {
            hints.insert(QStringLiteral("image-data"), Icon);
        }
        auto call =
            QDBusMessage::createMethodCall(ServiceName, ServicePath, ServiceName, QStringLiteral("Notify"));
        // One notification, replaced by each next one: the window too shows only the last message.
        call << QStringLiteral("Kestrin") << Shown << QStringLiteral("kestrin")
             << summary << Body(text, Markup)
             << QStringList{DefaultAction, QCoreApplication::translate("TMemoNotifier", "Show"),
                            HistoryAction, QCoreApplication::translate("TMemoNotifier", "History")}
             << hints
             << -1;
        Await(Bus.asyncCall(call), [this](QDBusPendingCallWatcher& reply) {
            if (const QDBusPendingReply<uint> id = reply; id.isValid()) {
                Shown = id.value();
            }
            Sending = false;
            if (Waiting) {
                const auto [nextSummary, nextText] = *std::exchange(Waiting, std::nullopt);
                Show(nextSummary, nextText);
            }
        });
    }

private slots:
    // Sent before ActionInvoked by a service that can hand over the right to come forward (xdg-activation).
    void OnToken(uint id, const QString& token) {
        if (id == Shown) {
            Token = token;
        }
    }

    void OnAction(uint id, const QString& action) {
        if (id != Shown || (action != DefaultAction && action != HistoryAction)) {
            return;
        }
        if (Window.isMinimized()) {
            Window.showNormal();
        }
        Window.show();
        Window.raise();
        // The user asked for the window, so it takes the focus. Qt's Wayland platform hands the token in
        // this variable to the compositor when the window asks to be activated, and then drops it; here it
        // is dropped in any case, so that no program started later inherits it.
        if (!Token.isEmpty()) {
            qputenv("XDG_ACTIVATION_TOKEN", Token.toUtf8());
        }
        if (action == HistoryAction) {
            // The History window takes the focus: the main window activated would mark every memo seen before
            // the History window showed which were unread.
            OpenHistory();
        } else {
            Window.activateWindow();
        }
        qunsetenv("XDG_ACTIVATION_TOKEN");
        Token.clear();
    }

private:
    template <typename TOnReply>
    void Await(const QDBusPendingCall& call, TOnReply onReply) {
        auto* watcher = new QDBusPendingCallWatcher(call, this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [onReply](QDBusPendingCallWatcher* reply) {
            onReply(*reply);
            reply->deleteLater();
        });
    }

    QWidget& Window;
    std::function<void()> OpenHistory;
    QDBusConnection Bus;
    uint Shown = 0;      // the notification on screen, which the next one replaces
    bool Markup = true;  // until the service says otherwise; most read markup
    QString Token;
    QVariant Icon;  // the icon's pixels, made once
    bool Sending = false;
    std::optional<std::pair<QString, QString>>
        Waiting;  // summary and text of the arrival after the one on its way
};

TMemoNotifier::TMemoNotifier(QWidget& window, std::function<void()> openHistory)
    : Service(std::make_unique<TService>(window, std::move(openHistory))) {}

TMemoNotifier::~TMemoNotifier() = default;

void TMemoNotifier::Show(const QString& summary, const QString& text) {
    Service->Show(summary, text);
}

#include "MemoNotifier_dbus.moc"
