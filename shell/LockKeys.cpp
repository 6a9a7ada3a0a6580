#include "shell/LockKeys.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>

#if defined(TABLESCOPE_HAVE_XKB) && QT_CONFIG(xcb)
#define TABLESCOPE_READ_XKB 1
#include <X11/XKBlib.h>
#include <X11/keysym.h>
// Xlib's macros that would stand in for Qt's names below.
#undef KeyPress
#undef KeyRelease
#endif

namespace {

#ifdef TABLESCOPE_READ_XKB
// The state of the keyboard indicator named name ("Caps Lock"); nothing
// when the keyboard has no indicator of that name.
std::optional<bool> NamedIndicator(Display* display, const char* name)
{
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    if (atom == 0 || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != False;
}

// The lock's state from the locked modifiers: for keyboards that name no
// indicator of the lock.
bool LockedModifier(Display* display, unsigned int lockedMods, KeySym key)
{
    const unsigned int mask = key == XK_Caps_Lock ? LockMask : XkbKeysymToModifiers(display, key);
    return mask != 0 && (lockedMods & mask) != 0;
}
#endif

} // namespace

std::optional<CLockKeys::CState> CLockKeys::Read()
{
#ifdef TABLESCOPE_READ_XKB
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    // The indicators are what the desktop lights; the locked modifiers stand
    // in where a keyboard names none.
    CState locks;
    locks.Caps = NamedIndicator(display, "Caps Lock")
                     .value_or(LockedModifier(display, state.locked_mods, XK_Caps_Lock));
    locks.Num = NamedIndicator(display, "Num Lock")
                    .value_or(LockedModifier(display, state.locked_mods, XK_Num_Lock));
    locks.Scroll = NamedIndicator(display, "Scroll Lock")
                       .value_or(LockedModifier(display, state.locked_mods, XK_Scroll_Lock));
    return locks;
#else
    return std::nullopt;
#endif
}

CLockKeys::CLockKeys(QObject* parent) : QObject(parent)
{
    if (!Read())
        return; // nothing to watch for
    if (QCoreApplication* application = QCoreApplication::instance())
        application->installEventFilter(this);
    Pending_ = true;
    QTimer::singleShot(0, this, &CLockKeys::Poll);
}

bool CLockKeys::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ApplicationStateChange: // the keys may have changed elsewhere
        // One key event passes through several objects; one read follows.
        if (!Pending_) {
            Pending_ = true;
            QTimer::singleShot(0, this, &CLockKeys::Poll);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CLockKeys::Poll()
{
    Pending_ = false;
    const std::optional<CState> state = Read();
    if (!state || state == Last_)
        return;
    Last_ = state;
    emit Changed(*state);
}
