#pragma once

// The application object: names the program for the desktop and the profile
// store, gives every window the application icon, and runs the About
// command. The main frame is created by main().

#include <QApplication>

class CTablescopeApp : public QApplication
{
    Q_OBJECT

public:
    CTablescopeApp(int& argc, char** argv);

    // The organisation and application names under which the profile store
    // lives ($XDG_CONFIG_HOME/Brevan/Tablescope.reg), and the window icon.
    static void SetUp();
    // The About command: the About box, modal over parent.
    static void RunAboutBox(QWidget* parent);
};
