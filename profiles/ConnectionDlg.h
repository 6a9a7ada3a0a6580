#pragma once

// The modal "DB Connection" dialog, in which a profile is created or changed.
// It edits the profile held in Connection: the caller fills it before the
// dialog opens and reads it when the dialog ends with OK; Cancel leaves it as
// it was. Only the rows the chosen type uses are shown, the address label
// names what the type expects there, and every field explains itself in a
// tooltip. Nothing is validated.
//
// Controls are found by their ids (common/ControlName.h, resources/ConnectionDialog.h).

#include "profiles/Connection.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

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

    void setVisible(bool visible) override;
    void accept() override;

    CConnection Connection; // the profile being edited

private:
    void BuildControls();
    void AddToolTips();

    QComboBox* TypeList = nullptr;
    QCheckBox* RememberBox = nullptr;
    QLineEdit* NameEdit_ = nullptr;
    QLineEdit* AliasEdit_ = nullptr;
    QLineEdit* PathEdit_ = nullptr;
    QLineEdit* LoginEdit_ = nullptr;
    QLineEdit* PasswordEdit_ = nullptr;
    QLabel* PathLabel_ = nullptr; // its text follows the type
};
