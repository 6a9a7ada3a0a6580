#include "profiles/HiveKey.h"

#include <QtEndian>
#include <algorithm>

QByteArray HiveStringData(QStringView text)
{
    QByteArray data(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<quint16>(text[i].unicode(), data.data() + 2 * i);
    return data;
}

QString HiveDataString(QByteArrayView data)
{
    QString text(data.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<quint16>(data.data() + 2 * i));
    return text;
}

CHiveKey::CHiveKey(QString name) : Name_(std::move(name)) {}

QString CHiveKey::Folded(const QString& name)
{
    return name.toCaseFolded();
}

std::shared_ptr<CHiveKey> CHiveKey::FindSubKey(const QString& name) const
{
    return SubKeyIndex_.value(Folded(name));
}

std::shared_ptr<CHiveKey> CHiveKey::AddSubKey(const QString& name)
{
    auto key = std::make_shared<CHiveKey>(name);
    SubKeys_.push_back(key);
    SubKeyIndex_.insert(Folded(name), key);
    return key;
}

bool CHiveKey::RemoveSubKey(const QString& name)
{
    const std::shared_ptr<CHiveKey> key = SubKeyIndex_.take(Folded(name));
    if (!key)
        return false;
    // Keys are mostly removed from the front (a tree is deleted by taking its
    // first sub-key again and again), where a deque removes in constant time.
    SubKeys_.erase(std::find(SubKeys_.begin(), SubKeys_.end(), key));
    return true;
}

const CHiveKey::CValue* CHiveKey::FindValue(const QString& name) const
{
    const auto found = ValueIndex_.constFind(Folded(name));
    return found == ValueIndex_.constEnd() ? nullptr : &Values_[*found];
}

bool CHiveKey::SetValue(const QString& name, quint32 type, const QByteArray& data)
{
    const QString folded = Folded(name);
    const auto found = ValueIndex_.constFind(folded);
    if (found != ValueIndex_.constEnd()) {
        CValue& value = Values_[*found];
        value.Type = type;
        value.Data = data;
        return false;
    }
    ValueIndex_.insert(folded, Values_.size());
    Values_.push_back({name, type, data});
    return true;
}

void CHiveKey::Count(qsizetype& keys, qsizetype& values) const
{
    keys += SubKeyCount();
    values += qsizetype(Values_.size());
    for (const std::shared_ptr<CHiveKey>& sub : SubKeys_)
        sub->Count(keys, values);
}

bool CHiveKey::operator==(const CHiveKey& other) const
{
    if (Name_ != other.Name_ || Values_ != other.Values_ ||
        SubKeys_.size() != other.SubKeys_.size())
        return false;
    for (size_t i = 0; i < SubKeys_.size(); ++i)
        if (!(*SubKeys_[i] == *other.SubKeys_[i]))
            return false;
    return true;
}

bool CHiveKey::IsPlainText(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f))
            return false;
        if (QChar::isHighSurrogate(u)) {
            if (i + 1 == text.size() || !QChar::isLowSurrogate(text[i + 1].unicode()))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(u)) {
            return false;
        }
    }
    return true;
}

bool CHiveKey::IsValidKeyName(const QString& name)
{
    return !name.isEmpty() && name.size() <= MaxKeyNameLength && !name.contains(u'\\') &&
           IsPlainText(name);
}

bool CHiveKey::IsValidValueName(const QString& name)
{
    return name.size() <= MaxValueNameLength && IsPlainText(name);
}
