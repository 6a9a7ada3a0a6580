#pragma once

// The state of the keyboard's Caps Lock, Num Lock and Scroll Lock as the
// desktop reports it. Only the X11 desktop (and programs run through XWayland)
// tells it to an ordinary program; elsewhere the state is unknown and the
// indicators showing it stay blank.

#include <QObject>
#include <optional>

class CLockKeys : public QObject
{
    Q_OBJECT

public:
    struct CState
    {
        bool Caps = false;
        bool Num = false;
        bool Scroll = false;
        bool operator==(const CState&) const = default;
    };

    // Reads the state now; nothing when the platform cannot tell it.
    static std::optional<CState> Read();

    // Watches the application's key presses and releases and its
    // activation, and reads the state again after each (at most once per
    // turn of the event loop). Emits Changed with the first state read and
    // after every change; never when the platform cannot tell.
    explicit CLockKeys(QObject* parent = nullptr);

signals:
    void Changed(CLockKeys::CState state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Poll();

    std::optional<CState> Last_;
    bool Pending_ = false;
};
