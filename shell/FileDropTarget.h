#pragma once

// Lets a window take files dropped on it from a file manager: installed as
// an event filter on the window (which it makes accept drops), it accepts a
// drag that carries local files and hands their paths on when dropped.
// Children that take drops of their own (the SQL editor) keep them.

#include <QObject>
#include <QStringList>

class QWidget;

class CFileDropTarget : public QObject
{
    Q_OBJECT

public:
    explicit CFileDropTarget(QWidget* window);

signals:
    void FilesDropped(const QStringList& files);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
