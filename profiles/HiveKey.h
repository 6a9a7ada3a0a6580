#pragma once

// One key of a hive: its name, its values in the order they were first set,
// and its sub-keys in the order they were created. Names are looked up
// without regard to letter case, as registry names are, and keep the case
// they were given.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringView>
#include <deque>
#include <memory>
#include <vector>

// Registry type codes of the values the hive itself writes; any other code is
// kept as it is.
enum EHiveType : quint32
{
    HiveTypeString = 1, // UTF-16LE text
    HiveTypeBinary = 3,
    HiveTypeDword = 4, // 32-bit number, little-endian
};

// Text as the data of a HiveTypeString value: its UTF-16 code units,
// little-endian, without a terminating NUL.
QByteArray HiveStringData(QStringView text);
// The UTF-16 code units of string data, every one of them; an odd last byte
// is left out.
QString HiveDataString(QByteArrayView data);

class CHiveKey
{
public:
    struct CValue
    {
        QString Name;
        quint32 Type = 0; // EHiveType or any other registry type code
        QByteArray Data;

        bool operator==(const CValue& other) const = default;
    };

    // Limits of the platform registry, kept so that every key and value the
    // hive accepts can be written to its file and read back.
    static constexpr qsizetype MaxKeyNameLength = 255;
    static constexpr qsizetype MaxValueNameLength = 16383;
    static constexpr qsizetype MaxDepth = 512; // keys on a path below the root
    static constexpr qsizetype MaxValueSize = 1024 * 1024;
    // Limits of our own, far above what the profiles need. One section line
    // of a store file names every missing key on its path, so without them a
    // file of a few megabytes could build a tree of gigabytes.
    static constexpr qsizetype MaxKeyCount = 16384;    // in one hive, the root not counted
    static constexpr qsizetype MaxValueCount = 131072; // in one hive

    explicit CHiveKey(QString name = {});

    const QString& Name() const { return Name_; }

    qsizetype SubKeyCount() const { return qsizetype(SubKeys_.size()); }
    // index must lie in 0 .. SubKeyCount() - 1.
    const std::shared_ptr<CHiveKey>& SubKey(qsizetype index) const { return SubKeys_[index]; }
    // Null when there is no sub-key of that name.
    std::shared_ptr<CHiveKey> FindSubKey(const QString& name) const;
    // Appends a new empty sub-key; the caller has made sure the name is free.
    std::shared_ptr<CHiveKey> AddSubKey(const QString& name);
    // False when there is no sub-key of that name.
    bool RemoveSubKey(const QString& name);

    const std::vector<CValue>& Values() const { return Values_; }
    // Null when there is no value of that name.
    const CValue* FindValue(const QString& name) const;
    // Replaces the value of that name in its place, or appends a new one;
    // true when it is new.
    bool SetValue(const QString& name, quint32 type, const QByteArray& data);

    // Adds the number of keys below this one to keys, and the number of
    // values of this key and of every key below it to values.
    void Count(qsizetype& keys, qsizetype& values) const;

    // The same names, exactly, the same values and the same sub-keys in the
    // same order, all the way down.
    bool operator==(const CHiveKey& other) const;

    // Text that a name may hold and the store file can carry on one line:
    // no control characters and no unpaired surrogates.
    static bool IsPlainText(QStringView text);
    static bool IsValidKeyName(const QString& name);
    static bool IsValidValueName(const QString& name);

private:
    static QString Folded(const QString& name);

    QString Name_;
    std::vector<CValue> Values_;
    QHash<QString, size_t> ValueIndex_; // folded name -> position in Values_
    std::deque<std::shared_ptr<CHiveKey>> SubKeys_;
    QHash<QString, std::shared_ptr<CHiveKey>> SubKeyIndex_; // folded name -> one of SubKeys_
};
