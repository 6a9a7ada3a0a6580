#include "shell/StartHint.h"

#include "profiles/DatabaseFileDialog.h"

#include <QCommandLinkButton>
#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

CStartHint::CStartHint(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("start-hint"));
    setAutoFillBackground(true); // readable on the workspace's grey
    auto* title = new QLabel(QStringLiteral("There are no database connections yet."), this);
    QFont bigger = title->font();
    bigger.setPointSizeF(bigger.pointSizeF() * 1.3);
    bigger.setBold(true);
    title->setFont(bigger);
    NewConnectionButton = new QCommandLinkButton(
        QStringLiteral("New Database Connection..."),
        QStringLiteral("Describe a database: an SQLite file, a FireBird database or an ODBC "
                       "data source."),
        this);
    NewConnectionButton->setObjectName(QStringLiteral("start-new-connection"));
    OpenFileButton =
        new QCommandLinkButton(QStringLiteral("Open SQLite Database File..."),
                               QStringLiteral("Choose a file, or drop one on this window."), this);
    OpenFileButton->setObjectName(QStringLiteral("start-open-file"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addSpacing(title->fontMetrics().height() / 2);
    layout->addWidget(NewConnectionButton);
    layout->addWidget(OpenFileButton);
    setMaximumWidth(title->fontMetrics().averageCharWidth() * 60);

    connect(NewConnectionButton, &QCommandLinkButton::clicked, this,
            &CStartHint::NewConnectionRequested);
    connect(OpenFileButton, &QCommandLinkButton::clicked, this, &CStartHint::OnOpenFile);
}

void CStartHint::OnOpenFile()
{
    const QString file = AskDatabaseFile(window(), QDir::homePath());
    if (!file.isEmpty())
        emit FileChosen(file);
}
