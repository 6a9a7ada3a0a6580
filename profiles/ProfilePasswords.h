#pragma once

// Where the remembered passwords of the profiles live: in the desktop's
// keyring when one answers, one entry per profile, and in the profile store
// file otherwise.
//
// A profile's entry is labelled "Tablescope: " and the profile's name (with
// " (2)", " (3)" and so on for a later profile whose name is taken already),
// with the login as its key. The store file keeps no stable identity of a
// profile, so the entries follow the names: a renamed profile's password is
// written under the new name and the old entry removed, like the entry of a
// deleted profile or of one that no longer remembers its credentials.
//
// Saving goes in two steps around the writing of the store file: Check reads
// what the keyring holds now and tells whether it can be used at all; Apply
// changes it, all or nothing; Undo puts it back when the file then cannot be
// written.

#include "profiles/Connection.h"

#include <QList>
#include <QString>
#include <optional>

class CPasswordStore;

class CProfilePasswords
{
public:
    struct CEntry
    {
        QString Service; // the label the keyring shows
        QString Key;     // the login
        QString Name;    // the profile's name, for messages
    };

    explicit CProfilePasswords(CPasswordStore& store) : Store_(store) {}

    // The entry of every profile, in list order.
    static QList<CEntry> Entries(const QList<CConnection>& profiles);

    // Gives every profile whose store file holds no password the one in its
    // entry; one found makes the profile remember its credentials. False
    // with reason when the keyring could not be asked: the profiles not read
    // keep empty passwords, and a later save leaves their entries alone.
    bool Read(QList<CConnection>& profiles, QString& reason);
    // Whether the keyring answers, asked about the first profile's entry.
    bool Answers(const QList<CConnection>& profiles, QString& reason);

    // Reads the entries of the profiles to be saved and of those stored
    // before, which the save replaces. False with reason when the keyring
    // could not be asked: the passwords then go to the store file.
    bool Check(const QList<CConnection>& before, const QList<CConnection>& profiles,
               QString& reason);
    // Makes every entry hold what the save asks for: the password of each
    // profile that remembers one, none for the others and for the entries
    // of profiles stored before that are gone. On failure the entries
    // changed are put back and error holds the message for the user.
    bool Apply(QString& error);
    // Puts back the entries Apply changed. False with reason when one of
    // them cannot be put back.
    bool Undo(QString& reason);

private:
    struct CChange
    {
        CEntry Entry;
        std::optional<QString> Wanted; // none: no entry
        std::optional<QString> Before; // what the keyring held at Check
    };

    // Sets the entry to password, or removes it when there is none.
    bool Set(const CEntry& entry, const std::optional<QString>& password, QString& reason);

    CPasswordStore& Store_;
    QList<CChange> Changes_;
    qsizetype Applied_ = 0; // the changes that Apply has made
};
