#pragma once

// A small wrapper over one hive (the current user's registry) that holds at
// most one open key at a time. Every path is relative to the hive's root.
//
// Strings are stored as their UTF-16LE code units without a terminating NUL
// (an empty string has no data); numbers as four little-endian bytes.

#include "profiles/Hive.h"

#include <QString>
#include <QStringList>
#include <memory>

class CRegistry
{
public:
    // No key is open.
    explicit CRegistry(std::shared_ptr<CHive> root);
    // Opens the existing key path; IsOpen tells whether that worked.
    CRegistry(std::shared_ptr<CHive> root, const QString& path);
    virtual ~CRegistry();

    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    bool IsOpen() const { return IsOpen_; }
    const std::shared_ptr<CHive>& Root() const { return Root_; }

    // Flushes and closes the open key, if any.
    void Close();
    // Closes the open key, then opens the existing key path.
    bool Open(const QString& path);
    // Closes the open key, then opens path, creating it and every missing
    // key on the way; it becomes the open key.
    bool CreateKey(const QString& path);
    // Deletes path with everything below it; the open key stays open. Gives
    // up with false when a key below cannot be deleted.
    bool DeleteKeyTree(const QString& path);
    // Appends the names of the open key's sub-keys in the hive's order.
    // False only when no key is open.
    bool EnumSubKeys(QStringList& names);
    // Empties text, then reads it from the value; the text ends at the first
    // NUL unit, so data stored with or without one reads the same. False
    // when no key is open or the value is missing or empty.
    bool ReadString(const QString& name, QString& text);
    // A little-endian signed number from the value's first four bytes. False,
    // with number unchanged, when no key is open or the value is missing or
    // shorter than four bytes.
    bool ReadDword(const QString& name, qint32& number);
    bool WriteString(const QString& name, const QString& text);
    bool WriteDword(const QString& name, qint32 number);

private:
    // The value's data; false when it is missing or cannot be read.
    bool ReadData(const QString& name, QByteArray& data);

    bool IsOpen_ = false; // Key_ holds an open key
    CHiveHandle Key_;
    std::shared_ptr<CHive> Root_;
};
