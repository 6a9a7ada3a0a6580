#include "shell/AboutDlg.h"

#include "common/BoldFont.h"
#include "common/ControlName.h"
#include "common/DialogUnits.h"
#include "common/SvgPicture.h"
#include "resources/AboutDialog.h"
#include "shell/HyperlinkStatic.h"
#include "shell/ProductVersion.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* NewText(const QString& text, int id, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    if (id)
        label->setObjectName(ControlName(id));
    return label;
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    Q_INIT_RESOURCE(shell);
    setWindowTitle(QString::fromUtf8(AboutDialogCaption));

    auto* ok = new QPushButton(QString::fromUtf8(AboutOkText), this);
    ok->setObjectName(ControlName(IdcAboutOk));
    ok->setDefault(true);
    ok->setMinimumWidth(DialogUnitsX(this, 50));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // The icon grows with the font, never below the usual 32 pixels.
    const int iconSide = qMax(32, DialogUnitsY(this, 20));
    auto* icon = new QLabel(this);
    icon->setPixmap(RenderSvg(QString::fromUtf8(ApplicationIconFile), QSize(iconSide, iconSide),
                              devicePixelRatioF()));
    auto* product = NewText(QString::fromUtf8(AboutProductName), IdcAboutProductName, this);
    SetBoldFont(product);
    auto* version = NewText(QString::fromUtf8(AboutVersionPrefix) + ProductVersionText(),
                            IdcAboutVersion, this);
    Link_ = new CHyperlinkStatic(IdcAboutLink, QString::fromUtf8(AboutLinkText), this);
    Link_->Url = QString::fromUtf8(AboutLinkUrl);

    // The icon to the left of the lines of text, OK below them on the right.
    auto* lines = new QVBoxLayout;
    lines->setSpacing(DialogUnitsY(this, 3));
    lines->addWidget(product);
    lines->addWidget(version);
    lines->addSpacing(DialogUnitsY(this, 3));
    lines->addWidget(NewText(QString::fromUtf8(AboutMakerLine), 0, this));
    lines->addWidget(Link_);

    auto* body = new QHBoxLayout;
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addSpacing(DialogUnitsX(this, 8));
    body->addLayout(lines, 1);

    auto* page = new QVBoxLayout(this);
    page->addLayout(body);
    page->addStretch(1);
    page->addSpacing(DialogUnitsY(this, 6));
    page->addWidget(ok, 0, Qt::AlignRight);
    setMinimumWidth(DialogUnitsX(this, 201));
}

CAboutDlg::~CAboutDlg() = default;
