#include "platform/AppID.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QPointer>
#include <QWindow>

#include <xcb/xcb.h>

namespace {

// Writes the window class on each top-level window as the window system makes
// it, before it is shown: the window manager reads it when the window maps.
class CWindowClassWriter : public QObject {
public:
    CWindowClassWriter(xcb_connection_t& connection, const QString& windowClass, QObject* parent)
        : QObject(parent), m_connection(connection)
    {
        // The instance part names the program, as the toolkit's own does.
        const QString instance = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        m_value = instance.toLocal8Bit() + '\0' + windowClass.toLatin1() + '\0';
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::PlatformSurface ||
            static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() != QPlatformSurfaceEvent::SurfaceCreated)
            return false;
        const auto* window = qobject_cast<const QWindow*>(watched);
        if (window && !window->parent())
            xcb_change_property(&m_connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                                XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, static_cast<uint32_t>(m_value.size()),
                                m_value.constData());
        return false;
    }

private:
    xcb_connection_t& m_connection;
    QByteArray m_value;  // instance and class, each ending in a zero byte
};

}  // namespace

void SetAppID(const QString& id)
{
    QGuiApplication::setDesktopFileName(id);
    // Other window systems take the application's id from the desktop file name.
    static QPointer<CWindowClassWriter> writer;  // one, also when called again
    delete writer.data();
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->connection() != nullptr) {
        writer = new CWindowClassWriter(*x11->connection(), id, qApp);
        qApp->installEventFilter(writer);
    }
}
