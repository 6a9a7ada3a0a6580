#pragma once

// The modal "Database Login" dialog, which asks for the user name and the
// password with which a profile without stored credentials is connected. The
// caller fills UserName and UserPassword before the dialog opens and reads
// them when it ends with OK; Cancel leaves them as they were.
//
// Controls are found by their ids (common/ControlName.h, resources/LoginDialog.h).

#include <QDialog>
#include <QString>

class QLineEdit;

class CLoginDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLoginDlg(QWidget* parent = nullptr);
    ~CLoginDlg() override;

    // Puts the members into the controls; runs when the dialog opens.
    void FillControls();
    // Reads the controls back into the members; runs when OK is pressed.
    void ReadControls();

    void setVisible(bool visible) override;
    void accept() override;

    QString UserName;
    QString UserPassword;

private:
    QLineEdit* NameEdit_ = nullptr;
    QLineEdit* PasswordEdit_ = nullptr;
};
