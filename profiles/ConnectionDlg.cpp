#include "profiles/ConnectionDlg.h"

#include "common/BoldFont.h"
#include "common/ControlName.h"
#include "common/DialogUnits.h"
#include "common/WrappedToolTip.h"
#include "database/OdbcDatabase.h"
#include "profiles/ConnectionTester.h"
#include "profiles/DatabaseFileDialog.h"
#include "profiles/LoginDlg.h"
#include "resources/ConnectionDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

namespace {

// The controls whose visibility follows the type, in the order they are
// shown or hidden.
constexpr int TypeRowControls[] = {
    IdcConnectionPathLabel,     IdcConnectionPath,       IdcConnectionAliasLabel,
    IdcConnectionAlias,         IdcConnectionLoginLabel, IdcConnectionLogin,
    IdcConnectionPasswordLabel, IdcConnectionPassword,   IdcConnectionRemember,
};
constexpr int TypeRowCount = int(std::size(TypeRowControls));

struct CTypeLayout
{
    const char* PathLabel; // null leaves the label as it is
    bool Shown[TypeRowCount];
};

// One layout per type code; the last one for no type.
constexpr CTypeLayout TypeLayouts[] = {
    {"Database File Path:", {true, true, false, false, false, false, false, false, false}},
    {"FireBird Server Address:", {true, true, true, true, true, true, true, true, true}},
    {"ODBC Connect String:", {true, true, false, false, true, true, true, true, true}},
    {nullptr, {}},
};
constexpr int NoTypeLayout = int(std::size(TypeLayouts)) - 1;

struct CToolTip
{
    int Control;
    const char* Text;
};

constexpr CToolTip ToolTips[] = {
    {IdcConnectionName,
     "The program will show this name on the screen among other database connections"},
    {IdcConnectionType, "Connection type explains the program what interface functions it "
                        "should use to connect to the database"},
    {IdcConnectionAlias, "FireBird database alias FireBird uses to address the database"},
    {IdcConnectionPath,
     "The path to the database file for SQLite databases, FireBird server name in literal or "
     "dotted notation for FireBird databases or the string that will be used to ODBC driver to "
     "connect to database, e.g. \"DSN=YourDsnName;\""},
    {IdcConnectionLogin, "User name that will be used to log into the database"},
    {IdcConnectionPassword, "Password that will be used to log into the database"},
    {IdcConnectionRemember, "Please click this option if you wish the program to save "
                            "authentication information when exiting and restore it when "
                            "launching"},
    {IdcConnectionBrowse, ConnectionBrowseTip},
    {IdcConnectionNewFile, ConnectionNewFileTip},
    {IdcConnectionDataSources, ConnectionDataSourcesTip},
    {IdcConnectionTest, ConnectionTestTip},
};

constexpr int ToolTipWidth = 200; // long tips wrap at this width, in pixels

template <class TWidget> TWidget* Named(TWidget* widget, int id)
{
    widget->setObjectName(ControlName(id));
    return widget;
}

QLabel* NewLabel(const char* text, int id, QWidget* parent)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    return id ? Named(label, id) : label;
}

QLineEdit* NewEdit(int id, QWidget* parent)
{
    return Named(new QLineEdit(parent), id);
}

} // namespace

CConnectionDlg::CConnectionDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(ConnectionDialogCaption));
    BuildControls();
    AddToolTips();
    // Room for every row, whichever the type: rows that a type hides leave
    // the dialog its size.
    setMinimumSize(sizeHint());
}

CConnectionDlg::~CConnectionDlg() = default;

void CConnectionDlg::BuildControls()
{
    // Created in tab order; the labels take no focus.
    auto* intro = NewLabel(ConnectionDialogIntro, 0, this);
    intro->setWordWrap(true);
    NameEdit_ = NewEdit(IdcConnectionName, this);
    TypeList = Named(new QComboBox(this), IdcConnectionType);
    for (const char* name : ConnectionTypeNames)
        TypeList->addItem(QString::fromUtf8(name));
    AliasEdit_ = NewEdit(IdcConnectionAlias, this);
    PathEdit_ = NewEdit(IdcConnectionPath, this);
    LoginEdit_ = NewEdit(IdcConnectionLogin, this);
    PasswordEdit_ = NewEdit(IdcConnectionPassword, this);
    PasswordEdit_->setEchoMode(QLineEdit::Password);
    RememberBox = Named(new QCheckBox(QString::fromUtf8(ConnectionRememberText), this),
                        IdcConnectionRemember);
    auto* ok = Named(new QPushButton(tr("OK"), this), IdcConnectionOk);
    ok->setDefault(true);
    auto* cancel = Named(new QPushButton(tr("Cancel"), this), IdcConnectionCancel);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(TypeList, &QComboBox::currentIndexChanged, this, &CConnectionDlg::OnTypeChanged);
    BrowseButton_ =
        Named(new QPushButton(QString::fromUtf8(ConnectionBrowseText), this), IdcConnectionBrowse);
    NewFileButton_ = Named(new QPushButton(QString::fromUtf8(ConnectionNewFileText), this),
                           IdcConnectionNewFile);
    DataSourcesButton_ = Named(new QPushButton(QString::fromUtf8(ConnectionDataSourcesText), this),
                               IdcConnectionDataSources);
    for (QPushButton* button : {BrowseButton_, NewFileButton_, DataSourcesButton_})
        button->setAutoDefault(false); // Enter in a field still means OK
    connect(BrowseButton_, &QPushButton::clicked, this, &CConnectionDlg::OnBrowse);
    connect(NewFileButton_, &QPushButton::clicked, this, &CConnectionDlg::OnNewFile);
    connect(DataSourcesButton_, &QPushButton::clicked, this, &CConnectionDlg::OnDataSources);
    QWidget* tabOrder[] = {NameEdit_,
                           TypeList,
                           AliasEdit_,
                           PathEdit_,
                           BrowseButton_,
                           NewFileButton_,
                           DataSourcesButton_,
                           LoginEdit_,
                           PasswordEdit_,
                           RememberBox,
                           ok,
                           cancel};
    for (int i = 1; i < int(std::size(tabOrder)); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    auto* nameLabel = NewLabel(ConnectionNameLabel, IdcConnectionNameLabel, this);
    auto* typeLabel = NewLabel(ConnectionTypeLabel, IdcConnectionTypeLabel, this);
    PathLabel_ = NewLabel(ConnectionPathLabel, IdcConnectionPathLabel, this);
    for (QWidget* bold : {static_cast<QWidget*>(NameEdit_), static_cast<QWidget*>(TypeList),
                          static_cast<QWidget*>(nameLabel), static_cast<QWidget*>(typeLabel)})
        SetBoldFont(bold);

    // A label column and a field column; the name and type rows stand apart
    // from the rows that follow the type.
    auto* form = new QGridLayout;
    form->addWidget(nameLabel, 0, 0);
    form->addWidget(NameEdit_, 0, 1);
    form->addWidget(typeLabel, 1, 0);
    form->addWidget(TypeList, 1, 1);
    form->addItem(
        new QSpacerItem(0, DialogUnitsY(this, 8), QSizePolicy::Minimum, QSizePolicy::Fixed), 2, 0);
    form->addWidget(NewLabel(ConnectionAliasLabel, IdcConnectionAliasLabel, this), 3, 0);
    form->addWidget(AliasEdit_, 3, 1);
    form->addWidget(PathLabel_, 4, 0);
    form->addLayout(BuildPathRow(), 4, 1);
    form->addWidget(NewLabel(ConnectionLoginLabel, IdcConnectionLoginLabel, this), 5, 0);
    form->addWidget(LoginEdit_, 5, 1);
    form->addWidget(NewLabel(ConnectionPasswordLabel, IdcConnectionPasswordLabel, this), 6, 0);
    form->addWidget(PasswordEdit_, 6, 1);
    form->addWidget(RememberBox, 7, 0, 1, 2);
    form->setColumnMinimumWidth(0, DialogUnitsX(this, 115));
    form->setColumnMinimumWidth(1, DialogUnitsX(this, 120));
    form->setColumnStretch(1, 1);

    TestButton_ =
        Named(new QPushButton(QString::fromUtf8(ConnectionTestText), this), IdcConnectionTest);
    TestButton_->setAutoDefault(false);
    TestButton_->hide(); // until a tester is given
    connect(TestButton_, &QPushButton::clicked, this, &CConnectionDlg::OnTest);
    TestResult_ = Named(new QLabel(this), IdcConnectionTestResult);
    TestResult_->setWordWrap(true);
    TestResult_->setTextFormat(Qt::PlainText);
    TestResult_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(TestButton_);
    buttons->addStretch(1);
    for (QPushButton* button : {ok, cancel}) {
        button->setMinimumWidth(DialogUnitsX(this, 50));
        buttons->addWidget(button);
    }

    auto* page = new QVBoxLayout(this);
    page->addWidget(intro);
    page->addSpacing(DialogUnitsY(this, 4));
    page->addLayout(form);
    page->addStretch(1);
    page->addWidget(TestResult_);
    page->addSpacing(DialogUnitsY(this, 6));
    page->addLayout(buttons);
}

QLayout* CConnectionDlg::BuildPathRow()
{
    FileError_ = Named(new QLabel(this), IdcConnectionFileError);
    FileError_->setWordWrap(true);
    FileError_->setTextFormat(Qt::PlainText);
    FileError_->hide();
    QPalette colours = FileError_->palette();
    colours.setColor(QPalette::WindowText, Qt::darkRed);
    FileError_->setPalette(colours);
    auto* row = new QHBoxLayout;
    row->addWidget(PathEdit_, 1);
    row->addWidget(BrowseButton_);
    row->addWidget(NewFileButton_);
    row->addWidget(DataSourcesButton_);
    auto* column = new QVBoxLayout;
    column->addLayout(row);
    column->addWidget(FileError_);
    return column;
}

void CConnectionDlg::AddToolTips()
{
    for (const CToolTip& tip : ToolTips)
        FindControl<QWidget>(this, tip.Control)
            ->setToolTip(WrappedToolTip(QString::fromUtf8(tip.Text), ToolTipWidth));
}

void CConnectionDlg::FillControls()
{
    NameEdit_->setText(Connection.Name);
    PathEdit_->setText(Connection.Path);
    AliasEdit_->setText(Connection.Alias);
    LoginEdit_->setText(Connection.Login);
    PasswordEdit_->setText(Connection.Password);
    RememberBox->setChecked(Connection.RememberAuth);
    // A code outside the list selects nothing.
    const QSignalBlocker quiet(TypeList);
    TypeList->setCurrentIndex(
        Connection.Type >= 0 && Connection.Type < TypeList->count() ? Connection.Type : -1);
    OnTypeChanged();
}

void CConnectionDlg::ReadControls()
{
    Connection.Name = NameEdit_->text();
    Connection.Path = PathEdit_->text();
    Connection.Alias = AliasEdit_->text();
    Connection.Login = LoginEdit_->text();
    Connection.Password = PasswordEdit_->text();
    Connection.RememberAuth = RememberBox->isChecked();
    Connection.Type = TypeList->currentIndex();
    if (Connection.Type == DatabaseTypeSQLite && !Connection.Path.isEmpty() &&
        Connection.Path != u":memory:" && !Connection.Path.startsWith(u"file:") &&
        QFileInfo(Connection.Path).isRelative())
        Connection.Path = QDir::toNativeSeparators(
            QDir::cleanPath(QFileInfo(Connection.Path).absoluteFilePath()));
}

void CConnectionDlg::OnTypeChanged()
{
    const int type = TypeList->currentIndex();
    const CTypeLayout& layout = TypeLayouts[type >= 0 && type < NoTypeLayout ? type : NoTypeLayout];
    if (layout.PathLabel)
        PathLabel_->setText(QString::fromUtf8(layout.PathLabel));
    for (int i = 0; i < TypeRowCount; ++i)
        FindControl<QWidget>(this, TypeRowControls[i])->setHidden(!layout.Shown[i]);
    BrowseButton_->setVisible(type == DatabaseTypeSQLite);
    NewFileButton_->setVisible(type == DatabaseTypeSQLite);
    DataSourcesButton_->setVisible(type == DatabaseTypeOdbc);
    FileError_->hide();
    // Only a connect string is completed with the data sources.
    PathEdit_->setCompleter(type == DatabaseTypeOdbc ? DataSourceCompleter() : nullptr);
}

QCompleter* CConnectionDlg::DataSourceCompleter()
{
    if (!DataSourceCompleter_) {
        DataSourceCompleter_ = new QCompleter(DataSources(), this);
        DataSourceCompleter_->setCaseSensitivity(Qt::CaseInsensitive);
        DataSourceCompleter_->setFilterMode(Qt::MatchContains);
    }
    return DataSourceCompleter_;
}

const QStringList& CConnectionDlg::DataSources()
{
    if (!DataSourcesRead_) {
        DataSourcesRead_ = true;
        for (const QString& name : COdbcDatabase::GetDataSourceNames())
            DataSources_.append(QStringLiteral("DSN=") + name);
    }
    return DataSources_;
}

void CConnectionDlg::OnBrowse()
{
    const QString file = AskDatabaseFile(this, PathEdit_->text());
    if (!file.isEmpty())
        PathEdit_->setText(QDir::toNativeSeparators(file));
    FileError_->hide();
}

// An existing file is kept as it is: only a file that is not there yet is
// made, empty, which SQLite opens as an empty database.
void CConnectionDlg::OnNewFile()
{
    const QString file = AskNewDatabaseFile(this, PathEdit_->text());
    if (file.isEmpty())
        return;
    QFile created(file);
    if (!QFileInfo::exists(file) && !created.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        FileError_->setText(
            QStringLiteral("Cannot create \"%1\": %2").arg(file, created.errorString()));
        FileError_->show();
        return;
    }
    FileError_->hide();
    PathEdit_->setText(QDir::toNativeSeparators(file));
}

void CConnectionDlg::OnDataSources()
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("data-sources"));
    for (const QString& source : DataSources())
        menu.addAction(source);
    if (menu.isEmpty())
        menu.addAction(QStringLiteral("(no data sources are set up)"))->setEnabled(false);
    const QAction* chosen =
        menu.exec(DataSourcesButton_->mapToGlobal(QPoint(0, DataSourcesButton_->height())));
    if (chosen) {
        PathEdit_->setText(chosen->text());
        PathEdit_->setFocus(Qt::OtherFocusReason);
    }
}

void CConnectionDlg::SetTester(CConnectionTester* tester)
{
    delete Tester_;
    Tester_ = tester;
    TestButton_->setVisible(Tester_ != nullptr);
    if (!Tester_)
        return;
    Tester_->setParent(this);
    connect(Tester_, &CConnectionTester::Finished, this, &CConnectionDlg::OnTestFinished);
}

CConnection CConnectionDlg::EnteredSettings()
{
    const CConnection kept = Connection;
    ReadControls();
    CConnection entered = Connection;
    Connection = kept;
    return entered;
}

void CConnectionDlg::OnTest()
{
    if (!Tester_)
        return;
    if (Tester_->IsRunning()) {
        Tester_->Stop();
        return;
    }
    CConnection settings = EnteredSettings();
    // As Connect asks: every type but SQLite, unless remembered. What is
    // typed there serves the test only.
    if (!settings.RememberAuth && settings.Type != DatabaseTypeSQLite) {
        CLoginDlg login(this);
        login.UserName = settings.Login;
        login.UserPassword = settings.Password;
        if (login.exec() != QDialog::Accepted)
            return;
        settings.Login = login.UserName;
        settings.Password = login.UserPassword;
    }
    TestResult_->setText(QStringLiteral("Connecting..."));
    TestButton_->setText(QString::fromUtf8(ConnectionStopTestText));
    Tester_->Start(settings);
}

void CConnectionDlg::OnTestFinished(bool connected, const QString& text)
{
    Q_UNUSED(connected)
    TestResult_->setText(text);
    TestButton_->setText(QString::fromUtf8(ConnectionTestText));
}

void CConnectionDlg::setVisible(bool visible)
{
    const bool opening = visible && !isVisible();
    if (opening)
        FillControls();
    QDialog::setVisible(visible);
    if (opening)
        NameEdit_->setFocus(Qt::OtherFocusReason);
}

void CConnectionDlg::accept()
{
    ReadControls();
    QDialog::accept();
}
