#include "profiles/LoginDlg.h"

#include "common/ControlName.h"
#include "common/DialogUnits.h"
#include "common/SvgPicture.h"
#include "resources/LoginDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CLoginDlg::CLoginDlg(QWidget* parent) : QDialog(parent)
{
    Q_INIT_RESOURCE(dialogs);
    setWindowTitle(QString::fromUtf8(LoginDialogCaption));

    // Created in tab order; the labels and the picture take no focus.
    NameEdit_ = new QLineEdit(this);
    NameEdit_->setObjectName(ControlName(IdcLoginUserName));
    PasswordEdit_ = new QLineEdit(this);
    PasswordEdit_->setObjectName(ControlName(IdcLoginPassword));
    PasswordEdit_->setEchoMode(QLineEdit::Password);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(ControlName(IdcLoginOk));
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(ControlName(IdcLoginCancel));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* text = new QLabel(QString::fromUtf8(LoginDialogText), this);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setMinimumWidth(DialogUnitsX(this, 196));
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* picture = new QLabel(this);
    // The picture grows with the font, never below its own size.
    const int side = qMax(KeysBitmapSize, DialogUnitsY(this, 24));
    picture->setPixmap(
        RenderSvg(QString::fromUtf8(KeysBitmapFile), QSize(side, side), devicePixelRatioF()));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // The picture beside the text; under them the two fields, and the
    // buttons one above the other at the fields' right edge.
    auto* top = new QHBoxLayout;
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addSpacing(DialogUnitsX(this, 6));
    top->addWidget(text, 1);

    auto* fields = new QGridLayout;
    fields->setContentsMargins(DialogUnitsX(this, 6), 0, 0, 0);
    fields->addWidget(new QLabel(QString::fromUtf8(LoginUserNameLabel), this), 0, 0);
    fields->addWidget(NameEdit_, 0, 1);
    fields->addWidget(new QLabel(QString::fromUtf8(LoginPasswordLabel), this), 1, 0);
    fields->addWidget(PasswordEdit_, 1, 1);
    fields->setColumnMinimumWidth(0, DialogUnitsX(this, 97));
    fields->setColumnMinimumWidth(1, DialogUnitsX(this, 124));
    fields->setColumnStretch(1, 1);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {ok, cancel}) {
        button->setMinimumWidth(DialogUnitsX(this, 50));
        buttons->addWidget(button, 0, Qt::AlignRight);
    }

    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addSpacing(DialogUnitsY(this, 4));
    page->addLayout(fields);
    page->addLayout(buttons);
    page->addStretch(1);
}

CLoginDlg::~CLoginDlg() = default;

void CLoginDlg::FillControls()
{
    NameEdit_->setText(UserName);
    PasswordEdit_->setText(UserPassword);
}

void CLoginDlg::ReadControls()
{
    UserName = NameEdit_->text();
    UserPassword = PasswordEdit_->text();
}

void CLoginDlg::setVisible(bool visible)
{
    const bool opening = visible && !isVisible();
    if (opening)
        FillControls();
    QDialog::setVisible(visible);
    if (opening)
        NameEdit_->setFocus(Qt::OtherFocusReason);
}

void CLoginDlg::accept()
{
    ReadControls();
    QDialog::accept();
}
