#pragma once

// What the empty workspace says while there are no connection profiles: the
// two ways to start, as buttons. One makes a new connection profile; the
// other opens an SQLite database file (which may also be dropped on the
// window).

#include <QWidget>

class QCommandLinkButton;

class CStartHint : public QWidget
{
    Q_OBJECT

public:
    explicit CStartHint(QWidget* parent = nullptr);

    QCommandLinkButton* NewConnectionButton = nullptr;
    QCommandLinkButton* OpenFileButton = nullptr;

signals:
    void NewConnectionRequested();
    // The user chose an SQLite database file to open.
    void FileChosen(const QString& file);

private:
    void OnOpenFile();
};
