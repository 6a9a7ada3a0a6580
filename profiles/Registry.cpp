#include "profiles/Registry.h"

#include <QtEndian>

namespace {

constexpr quint32 NameCapacity = 1024; // characters, the terminating NUL included

} // namespace

CRegistry::CRegistry(std::shared_ptr<CHive> root) : Root_(std::move(root)) {}

CRegistry::CRegistry(std::shared_ptr<CHive> root, const QString& path) : Root_(std::move(root))
{
    IsOpen_ = Root_->OpenKey(path, Key_);
}

CRegistry::~CRegistry()
{
    Close();
}

void CRegistry::Close()
{
    if (IsOpen_) {
        Root_->FlushKey(Key_);
        Root_->CloseKey(Key_);
    }
    IsOpen_ = false;
}

bool CRegistry::Open(const QString& path)
{
    Close();
    IsOpen_ = Root_->OpenKey(path, Key_);
    return IsOpen_;
}

bool CRegistry::CreateKey(const QString& path)
{
    Close();
    IsOpen_ = Root_->CreateKey(path, Key_);
    return IsOpen_;
}

bool CRegistry::DeleteKeyTree(const QString& path)
{
    CHiveHandle key;
    if (!Root_->OpenKey(path, key))
        return false;
    bool deleted = true;
    QString name;
    while (deleted && Root_->EnumKey(key, 0, name, NameCapacity))
        deleted = DeleteKeyTree(path + u'\\' + name);
    deleted = deleted && Root_->DeleteKey(path);
    Root_->FlushKey(key);
    Root_->CloseKey(key);
    return deleted;
}

bool CRegistry::EnumSubKeys(QStringList& names)
{
    if (!IsOpen_)
        return false;
    quint32 count = 0;
    if (!Root_->QuerySubKeyCount(Key_, count))
        return true;
    // One index past the end is asked for as well; that call fails and is
    // skipped like any other failure.
    for (quint64 index = 0; index <= count; ++index) {
        QString name;
        if (Root_->EnumKey(Key_, quint32(index), name, NameCapacity))
            names.append(name);
    }
    return true;
}

bool CRegistry::ReadData(const QString& name, QByteArray& data)
{
    quint32 size = 0;
    if (!Root_->QueryValue(Key_, name, nullptr, nullptr, size) || size == 0)
        return false;
    data.resize(size);
    if (!Root_->QueryValue(Key_, name, nullptr, data.data(), size) || size == 0)
        return false;
    data.resize(size);
    return true;
}

bool CRegistry::ReadString(const QString& name, QString& text)
{
    text.clear();
    QByteArray data;
    if (!IsOpen_ || !ReadData(name, data))
        return false;
    text = HiveDataString(data);
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        text.truncate(nul);
    return true;
}

bool CRegistry::ReadDword(const QString& name, qint32& number)
{
    QByteArray data;
    if (!IsOpen_ || !ReadData(name, data) || data.size() < 4)
        return false;
    number = qFromLittleEndian<qint32>(data.constData());
    return true;
}

bool CRegistry::WriteString(const QString& name, const QString& text)
{
    if (!IsOpen_)
        return false;
    return Root_->SetValue(Key_, name, HiveTypeString, HiveStringData(text));
}

bool CRegistry::WriteDword(const QString& name, qint32 number)
{
    if (!IsOpen_)
        return false;
    QByteArray data(4, Qt::Uninitialized);
    qToLittleEndian<qint32>(number, data.data());
    return Root_->SetValue(Key_, name, HiveTypeDword, data);
}
