#include "database/AbstractDatabase.h"

bool CAbstractDatabase::EndTransaction(bool commit, QString& error)
{
    return commit ? CommitTransaction(error) : RollbackTransaction(error);
}

bool CAbstractDatabase::GetTableNamesByQuery(const QString& query, QStringList& names,
                                             QString& error)
{
    CAbstractRecordset* opened = nullptr;
    const bool ok = OpenRecordset(query, error, opened);
    CRecordsetPtr recordset(opened);
    if (!ok)
        return false;
    while (recordset->MoveNext())
        names.append(recordset->GetString(0));
    return !recordset->GetFetchError(error); // a lost connection is no short list
}
