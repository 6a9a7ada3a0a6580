#include "shell/HelpPage.h"

#include "resources/MainMenu.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// A menu text as the user reads it: without the "&" marks and the keys.
QString PlainMenuText(const char* text)
{
    QString plain = QString::fromUtf8(text).section(u'\t', 0, 0);
    plain.remove(u'&');
    return plain;
}

} // namespace

QString HelpPageText()
{
    QString html = QStringLiteral(
        "<h3>Tablescope</h3>"
        "<p>Keep your database connections in the list at the upper left; select one and connect "
        "(double-click it, or Connection, Connect Database). Its tables and columns appear below "
        "the list, and its window on the right: type SQL into the upper part and press Ctrl+F5. "
        "The grid shows the rows of the last query of the script (at most 1000), or a log of "
        "every statement with its outcome. Select part of the text to run only that part.</p>"
        "<table cellspacing='0' cellpadding='3' border='1'>"
        "<tr><th align='left'>Menu</th><th align='left'>Command</th><th align='left'>Keys</th>"
        "<th align='left'>What it does</th></tr>");
    for (const CMainCommand& command : MainCommands) {
        if (command.Command == 0)
            continue;
        const QString popup =
            command.Popup < PopupNone ? PlainMenuText(MainMenuPopups[command.Popup]) : QString();
        QString what = QString::fromUtf8(command.Prompt).section(u'\n', 0, 0);
        if (command.Command == CommandHelp || command.Command == CommandContextHelp)
            what = QStringLiteral("Shows this page");
        else if (command.Command == CommandNextPane)
            what = QStringLiteral("Moves the keyboard focus to the next pane");
        else if (command.Command == CommandPreviousPane)
            what = QStringLiteral("Moves the keyboard focus to the previous pane");
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td><td>%4</td></tr>")
                    .arg(popup.toHtmlEscaped(), PlainMenuText(command.Text).toHtmlEscaped(),
                         QString::fromLatin1(command.Keys).replace(u';', u',').toHtmlEscaped(),
                         what.toHtmlEscaped());
    }
    return html + QStringLiteral("</table>");
}

void ShowHelpPage(QWidget* parent)
{
    QDialog page(parent);
    page.setObjectName(QStringLiteral("help-page"));
    page.setWindowTitle(QStringLiteral("Tablescope Help"));
    auto* text = new QTextBrowser(&page);
    text->setHtml(HelpPageText());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &page);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &page, &QDialog::reject);
    auto* layout = new QVBoxLayout(&page);
    layout->addWidget(text);
    layout->addWidget(buttons);
    page.resize(page.fontMetrics().averageCharWidth() * 110, page.fontMetrics().height() * 34);
    page.exec();
}
