#pragma once

// The modal "DB Connection" dialog, in which a profile is created or changed.
// It edits the profile held in Connection: the caller fills it before the
// dialog opens and reads it when the dialog ends with OK; Cancel leaves it as
// it was. Only the rows the chosen type uses are shown, the address label
// names what the type expects there, and every field explains itself in a
// tooltip. Nothing is validated.
//
// Around that: for SQLite, "Browse..." picks an existing database file and
// "New..." makes a new empty one; a relative path is made absolute on OK, so
// that the profile does not depend on the folder the program starts in. For
// ODBC, the path field offers "DSN=name" for every data source the driver
// manager knows, by completion and from the "Data Sources" button. With a
// tester (SetTester), "Test Connection" tries the entered settings, asking
// for the login first as Connect would, and says how it went; the same
// button stops a test that waits.
//
// Controls are found by their ids (common/ControlName.h, resources/ConnectionDialog.h).

#include "profiles/Connection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QPushButton;

class CConnectionTester;

class CConnectionDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CConnectionDlg(QWidget* parent = nullptr);
    ~CConnectionDlg() override;

    // Puts Connection into the controls, every field including those of
    // other types, and lays the dialog out for its type. Runs when the
    // dialog opens.
    void FillControls();
    // Reads every control back into Connection, hidden ones included; the
    // type is -1 when none is selected. Runs when OK is pressed.
    void ReadControls();
    // Lays the dialog out for the type selected in the type list: the
    // address label's text and which rows are shown. With no type selected
    // only the name and type rows stay and the address label keeps its text.
    void OnTypeChanged();

    // Gives the dialog its Test Connection button; the dialog owns tester.
    void SetTester(CConnectionTester* tester);
    // The settings as the controls hold them, Connection left as it is.
    CConnection EnteredSettings();

    void setVisible(bool visible) override;
    void accept() override;

    CConnection Connection; // the profile being edited

private:
    void BuildControls();
    void AddToolTips();
    QLayout* BuildPathRow();
    void OnBrowse();
    void OnNewFile();
    void OnDataSources();
    void OnTest();
    void OnTestFinished(bool connected, const QString& text);
    // The data sources as "DSN=name", read once when first needed.
    const QStringList& DataSources();
    QCompleter* DataSourceCompleter(); // made when first needed

    QComboBox* TypeList = nullptr;
    QCheckBox* RememberBox = nullptr;
    QLineEdit* NameEdit_ = nullptr;
    QLineEdit* AliasEdit_ = nullptr;
    QLineEdit* PathEdit_ = nullptr;
    QLineEdit* LoginEdit_ = nullptr;
    QLineEdit* PasswordEdit_ = nullptr;
    QLabel* PathLabel_ = nullptr; // its text follows the type
    QPushButton* BrowseButton_ = nullptr;
    QPushButton* NewFileButton_ = nullptr;
    QPushButton* DataSourcesButton_ = nullptr;
    QLabel* FileError_ = nullptr; // why the new file could not be made
    QStringList DataSources_;
    bool DataSourcesRead_ = false;
    QCompleter* DataSourceCompleter_ = nullptr;
    CConnectionTester* Tester_ = nullptr;
    QPushButton* TestButton_ = nullptr;
    QLabel* TestResult_ = nullptr;
};
