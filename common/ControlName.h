#pragma once

// Every control of a dialog that the dialog's design gives an id is named
// after that id: its object name is the id in decimal ("1000"; the OK button
// is "1", Cancel "2"). Tests and callers find controls by it.

#include <QString>
#include <QWidget>

inline QString ControlName(int id)
{
    return QString::number(id);
}

// The control of dialog with the given id, or null when there is none of
// that kind.
template <class TControl> TControl* FindControl(const QWidget* dialog, int id)
{
    return dialog->findChild<TControl*>(ControlName(id));
}
