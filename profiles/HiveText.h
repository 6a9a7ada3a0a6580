#pragma once

// The store file of a hive, in the text syntax of registry export files:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Brevan\Tablescope\Connections\Connection 1]
//   "Name"="Local files"
//   "Type"=dword:00000000
//   "Blob"=hex:01,02,03
//   "Other"=hex(7):41,00,00,00
//
// UTF-8. A text value whose data the quoted form cannot carry exactly (odd
// length, control characters, NUL, unpaired surrogates) is written as
// hex(1):, a number whose data is not four bytes as hex(4):. Every key gets a
// section, parents before their sub-keys and sub-keys in their order, so
// reading the text gives back the same tree in the same order.

#include "profiles/HiveKey.h"

#include <QByteArray>
#include <QString>

// Larger store files are refused on reading and never written.
constexpr qsizetype MaxHiveTextSize = 16 * 1024 * 1024;

// The root key's name in section lines; every section lies below it.
extern const QString HiveRootName;

// Builds the keys and values of bytes below root, which should be empty.
// On failure returns false with line (1-based) and reason set; root may then
// hold part of the tree and is to be thrown away. Any bytes give one or the
// other.
bool ReadHiveText(const QByteArray& bytes, CHiveKey& root, int& line, QString& reason);

// The text of root and everything below it. The keys and values must be
// ones CHiveKey accepts (valid names, data and counts within the limits).
QByteArray WriteHiveText(const CHiveKey& root);
