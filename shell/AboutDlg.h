#pragma once

// The About box: the application icon, the product name in bold, the
// program's version, a line about the maker and a link to the maker's site.
//
// Controls are found by their ids (common/ControlName.h, resources/AboutDialog.h).

#include <QDialog>

class CHyperlinkStatic;

class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    CHyperlinkStatic* Link() const { return Link_; }

private:
    CHyperlinkStatic* Link_ = nullptr;
};
