#include "profiles/Hive.h"

#include "profiles/HiveText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemMessage(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool Stat(const QString& path, struct stat& info)
{
    return ::stat(QFile::encodeName(path).constData(), &info) == 0;
}

// Why files cannot be made in folder; empty when they can.
QString WhyNotWritableFolder(const QString& folder)
{
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0)
        return {};
    return QStringLiteral("the folder \"%1\" cannot be written: %2")
        .arg(QDir::toNativeSeparators(folder), SystemMessage(errno));
}

// The key names of path, or false when one of them is empty.
bool SplitPath(const QString& path, QStringList& names)
{
    names.clear();
    if (path.isEmpty())
        return true;
    names = path.split(u'\\');
    for (const QString& name : names)
        if (name.isEmpty())
            return false;
    return true;
}

} // namespace

CHive::CHive(QString fileName) : FileName_(std::move(fileName)) {}

CHive::~CHive()
{
    if (Root_ && Dirty_ && Batches_ == 0) {
        QString reason;
        Write(reason);
    }
}

QString CHive::CurrentUserFileName()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config) + QStringLiteral("/Brevan/Tablescope.reg");
}

std::shared_ptr<CHive> CHive::CurrentUser()
{
    static std::weak_ptr<CHive> shared;
    const QString fileName = CurrentUserFileName();
    std::shared_ptr<CHive> hive = shared.lock();
    if (!hive || hive->FileName() != fileName) {
        hive = std::make_shared<CHive>(fileName);
        shared = hive;
    }
    return hive;
}

CHiveKey& CHive::Root()
{
    if (!Root_)
        Load();
    return *Root_;
}

QString CHive::LoadProblem()
{
    Root();
    return Problem_;
}

void CHive::Load()
{
    Root_ = std::make_shared<CHiveKey>(HiveRootName);
    Dirty_ = false;
    ReadOnlyReason_.clear();
    Problem_.clear();
    AsideName_.clear();

    const QString shown = QDir::toNativeSeparators(FileName_);
    const auto unreadable = [&](const QString& why) {
        ReadOnlyReason_ = QStringLiteral("the file \"%1\" could not be read").arg(shown);
        Problem_ = QStringLiteral("The registry store \"%1\" could not be read: %2. Nothing was "
                                  "loaded from it, and it will not be replaced.")
                       .arg(shown, why);
    };
    struct stat info;
    if (!Stat(FileName_, info)) {
        if (errno == ENOENT || errno == ENOTDIR)
            ReadOnlyReason_ = WhyNotCreatable();
        else
            unreadable(SystemMessage(errno));
        return;
    }
    if (!S_ISREG(info.st_mode))
        return unreadable(QStringLiteral("it is not a regular file"));
    if (info.st_size > MaxHiveTextSize)
        return unreadable(QStringLiteral("it is larger than 16 MB"));
    QFile file(FileName_);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
    const QByteArray bytes = file.read(MaxHiveTextSize + 1);
    if (file.error() != QFileDevice::NoError)
        return unreadable(file.errorString());

    int line = 0;
    QString reason;
    if (ReadHiveText(bytes, *Root_, line, reason)) {
        ReadOnlyReason_ = WhyNotWritable();
        return;
    }
    // Nothing of a file that could not be parsed is used, and nothing of it
    // is lost: it is kept under another name before it is replaced.
    Root_ = std::make_shared<CHiveKey>(HiveRootName);
    AsideName_ = FreeAsideName();
    ReadOnlyReason_ = AsideName_.isEmpty()
                          ? QStringLiteral("there is no free name to keep it under")
                          : WhyNotWritable();
    Problem_ = QStringLiteral("The registry store \"%1\" could not be read: line %2: %3. Nothing "
                              "was loaded from it. ")
                   .arg(shown, QString::number(line), reason);
    Problem_ += Writable() ? QStringLiteral("When the store is next saved, the unreadable file "
                                            "will be kept as \"%1\".")
                                 .arg(QDir::toNativeSeparators(AsideName_))
                           : QStringLiteral("It will not be replaced: %1.").arg(ReadOnlyReason_);
}

// For an existing store file: why it may not be replaced; empty when it may.
// A file whose owner has taken away its write permission is never replaced,
// even where the process could do so.
QString CHive::WhyNotWritable() const
{
    struct stat info;
    if (Stat(FileName_, info) && !(info.st_mode & S_IWUSR))
        return QStringLiteral("the file \"%1\" is read-only")
            .arg(QDir::toNativeSeparators(FileName_));
    const QString target = QFileInfo(FileName_).canonicalFilePath();
    return WhyNotWritableFolder(QFileInfo(target.isEmpty() ? FileName_ : target).absolutePath());
}

// For a store file that does not exist yet: why it cannot be made; empty
// when its folder exists and can be written, or can be created.
QString CHive::WhyNotCreatable() const
{
    QString path = QFileInfo(FileName_).absolutePath();
    for (;;) {
        struct stat info;
        if (Stat(path, info)) {
            if (S_ISDIR(info.st_mode))
                return WhyNotWritableFolder(path);
            return QStringLiteral("\"%1\" is not a folder").arg(QDir::toNativeSeparators(path));
        }
        if (errno != ENOENT && errno != ENOTDIR)
            return QStringLiteral("the folder \"%1\" cannot be reached: %2")
                .arg(QDir::toNativeSeparators(path), SystemMessage(errno));
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QStringLiteral("no folder on the path exists");
        path = parent;
    }
}

QString CHive::FreeAsideName() const
{
    for (int i = 1; i < 100; ++i) {
        QString name = FileName_ + QStringLiteral(".unreadable");
        if (i > 1)
            name += u'-' + QString::number(i);
        struct stat info;
        if (::lstat(QFile::encodeName(name).constData(), &info) != 0 && errno == ENOENT)
            return name;
    }
    return {};
}

bool CHive::MakeFolder(QString& reason) const
{
    const QString folder = QFileInfo(FileName_).absolutePath();
    QStringList missing;
    struct stat info;
    for (QString path = folder; !Stat(path, info) && errno == ENOENT;) {
        missing.prepend(path);
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    for (const QString& path : missing) {
        if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST) {
            reason = QStringLiteral("the folder \"%1\" cannot be created: %2")
                         .arg(QDir::toNativeSeparators(path), SystemMessage(errno));
            return false;
        }
    }
    // The file holds passwords; a folder that others may list is tightened.
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    return true;
}

bool CHive::Write(QString& reason)
{
    if (!Writable()) {
        reason = ReadOnlyReason_;
        return false;
    }
    qsizetype keys = 0;
    qsizetype values = 0;
    Root().Count(keys, values);
    if (keys > CHiveKey::MaxKeyCount) {
        reason =
            QStringLiteral("the store would hold more than %1 keys").arg(CHiveKey::MaxKeyCount);
        return false;
    }
    if (values > CHiveKey::MaxValueCount) {
        reason =
            QStringLiteral("the store would hold more than %1 values").arg(CHiveKey::MaxValueCount);
        return false;
    }
    const QByteArray text = WriteHiveText(Root());
    if (text.size() > MaxHiveTextSize) {
        reason = QStringLiteral("the store would be larger than 16 MB");
        return false;
    }
    if (!MakeFolder(reason))
        return false;
    if (!AsideName_.isEmpty()) {
        if (!QFile::copy(FileName_, AsideName_)) {
            reason = QStringLiteral("the unreadable file could not be kept as \"%1\"")
                         .arg(QDir::toNativeSeparators(AsideName_));
            return false;
        }
        QFile::setPermissions(AsideName_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    QSaveFile file(FileName_);
    bool written = file.open(QIODevice::WriteOnly);
    if (written && ::fchmod(file.handle(), 0600) != 0) {
        reason = SystemMessage(errno);
        written = false;
    } else if (!written || file.write(text) != text.size() || !file.commit()) {
        reason = file.errorString();
        written = false;
    }
    if (!written) {
        if (!AsideName_.isEmpty())
            QFile::remove(AsideName_);
        return false;
    }
    AsideName_.clear();
    Problem_.clear();
    Dirty_ = false;
    return true;
}

std::shared_ptr<CHiveKey> CHive::Find(const QStringList& names)
{
    Root();
    std::shared_ptr<CHiveKey> key = Root_;
    for (const QString& name : names) {
        key = key->FindSubKey(name);
        if (!key)
            return nullptr;
    }
    return key;
}

bool CHive::OpenKey(const QString& path, CHiveHandle& key)
{
    QStringList names;
    const std::shared_ptr<CHiveKey> found = SplitPath(path, names) ? Find(names) : nullptr;
    if (!found)
        return false;
    key = found;
    return true;
}

bool CHive::CreateKey(const QString& path, CHiveHandle& key)
{
    QStringList names;
    if (!SplitPath(path, names) || names.size() > CHiveKey::MaxDepth)
        return false;
    for (const QString& name : names)
        if (!CHiveKey::IsValidKeyName(name))
            return false;
    Root();
    std::shared_ptr<CHiveKey> at = Root_;
    qsizetype i = 0;
    for (; i < names.size(); ++i) {
        std::shared_ptr<CHiveKey> sub = at->FindSubKey(names[i]);
        if (!sub)
            break;
        at = sub;
    }
    if (i < names.size()) {
        if (!Writable())
            return false;
        for (; i < names.size(); ++i)
            at = at->AddSubKey(names[i]);
        Dirty_ = true;
    }
    key = at;
    return true;
}

bool CHive::FlushKey(const CHiveHandle& key)
{
    if (key.expired())
        return false;
    if (Batches_ > 0 || !Dirty_)
        return true;
    QString reason;
    return Write(reason);
}

void CHive::CloseKey(CHiveHandle& key)
{
    key.reset();
}

bool CHive::QuerySubKeyCount(const CHiveHandle& key, quint32& count)
{
    const std::shared_ptr<CHiveKey> open = key.lock();
    if (!open)
        return false;
    count = quint32(open->SubKeyCount());
    return true;
}

bool CHive::EnumKey(const CHiveHandle& key, quint32 index, QString& name, quint32 capacity)
{
    const std::shared_ptr<CHiveKey> open = key.lock();
    if (!open || index >= quint64(open->SubKeyCount()))
        return false;
    const QString& found = open->SubKey(index)->Name();
    if (quint64(found.size()) + 1 > capacity)
        return false;
    name = found;
    return true;
}

bool CHive::QueryValue(const CHiveHandle& key, const QString& name, quint32* type, char* data,
                       quint32& size)
{
    const std::shared_ptr<CHiveKey> open = key.lock();
    const CHiveKey::CValue* value = open ? open->FindValue(name) : nullptr;
    if (!value)
        return false;
    if (type)
        *type = value->Type;
    const quint32 needed = quint32(value->Data.size());
    const bool fits = !data || size >= needed;
    if (data && fits)
        std::memcpy(data, value->Data.constData(), needed);
    size = needed;
    return fits;
}

bool CHive::SetValue(const CHiveHandle& key, const QString& name, quint32 type,
                     const QByteArray& data)
{
    const std::shared_ptr<CHiveKey> open = key.lock();
    if (!open || !Writable() || !CHiveKey::IsValidValueName(name) ||
        data.size() > CHiveKey::MaxValueSize)
        return false;
    open->SetValue(name, type, data);
    Dirty_ = true;
    return true;
}

bool CHive::DeleteKey(const QString& path)
{
    QStringList names;
    if (!SplitPath(path, names) || names.isEmpty())
        return false;
    const QString name = names.takeLast();
    const std::shared_ptr<CHiveKey> parent = Find(names);
    const std::shared_ptr<CHiveKey> key = parent ? parent->FindSubKey(name) : nullptr;
    if (!key || key->SubKeyCount() > 0 || !Writable())
        return false;
    parent->RemoveSubKey(name);
    Dirty_ = true;
    return true;
}

CHive::CBatch::CBatch(std::shared_ptr<CHive> hive) : Hive_(std::move(hive))
{
    ++Hive_->Batches_;
}

CHive::CBatch::~CBatch()
{
    if (!Committed_) {
        Hive_->Root_.reset();
        Hive_->Dirty_ = false;
    }
    --Hive_->Batches_;
}

bool CHive::CBatch::Commit(QString& reason)
{
    Hive_->Root();
    Committed_ = (Hive_->Writable() && !Hive_->Dirty_) || Hive_->Write(reason);
    return Committed_;
}
