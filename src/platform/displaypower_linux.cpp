#include "platform/displaypower.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/extensions/dpms.h>

namespace {

constexpr int kBusTimeoutMs = 2000;

// Xlib's default handler ends the process on any protocol error; a display that refuses
// the request must not take the program with it.
bool g_xFailed = false;
int noteXError(Display *, XErrorEvent *)
{
    g_xFailed = true;
    return 0;
}

bool x11Standby()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display *dpy = x11 ? x11->display() : nullptr;
    if (!dpy)
        return false;
    int event = 0, error = 0;
    if (!DPMSQueryExtension(dpy, &event, &error) || !DPMSCapable(dpy))
        return false;
    CARD16 level = 0;
    BOOL enabled = False;
    // Forcing a level needs DPMS switched on; switching it on ourselves would also start the
    // idle timeouts the user turned off, so a display with DPMS off is left alone.
    if (!DPMSInfo(dpy, &level, &enabled) || !enabled)
        return false;
    g_xFailed = false;
    XSync(dpy, False);
    const auto previous = XSetErrorHandler(noteXError);
    DPMSForceLevel(dpy, DPMSModeStandby);
    XSync(dpy, False);
    XSetErrorHandler(previous);
    return !g_xFailed;
}

bool serviceOnBus(const QDBusConnection &bus, const QString &service)
{
    return bus.isConnected() && bus.interface()
        && bus.interface()->isServiceRegistered(service).value();
}

bool replied(const QDBusConnection &bus, const QDBusMessage &call)
{
    return bus.call(call, QDBus::Block, kBusTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

// GNOME: the compositor's own display configuration has a power-save mode (1 = standby).
bool mutterStandby(const QDBusConnection &bus)
{
    const QString service = QStringLiteral("org.gnome.Mutter.DisplayConfig");
    if (!serviceOnBus(bus, service))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QStringLiteral("/org/gnome/Mutter/DisplayConfig"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    call << service << QStringLiteral("PowerSaveMode") << QVariant::fromValue(QDBusVariant(1));
    return replied(bus, call);
}

// Plasma: the power manager turns the screens off through its own shortcut action.
bool plasmaStandby(const QDBusConnection &bus)
{
    if (!serviceOnBus(bus, QStringLiteral("org.kde.Solid.PowerManagement"))
        || !serviceOnBus(bus, QStringLiteral("org.kde.kglobalaccel")))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.kglobalaccel"), QStringLiteral("/component/org_kde_powerdevil"),
        QStringLiteral("org.kde.kglobalaccel.Component"), QStringLiteral("invokeShortcut"));
    call << QStringLiteral("Turn Off Screen");
    return replied(bus, call);
}

} // namespace

bool requestDisplayStandby(QWidget *)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb"))
        return x11Standby();
    if (platform.startsWith(QLatin1String("wayland"))) {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        return mutterStandby(bus) || plasmaStandby(bus);
    }
    // offscreen, minimal, vnc…: there is no display of ours to put to sleep.
    return false;
}
