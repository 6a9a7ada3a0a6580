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

bool CAbstractDatabase::GetColumnNames(const QString& table, QStringList& columns, QString& error)
{
    CAbstractRecordset* opened = nullptr;
    const bool ok = OpenRecordset(QStringLiteral("SELECT * FROM ") + table, error, opened);
    CRecordsetPtr recordset(opened); // one left behind by a failed execute is ours as well
    if (!ok)
        return false;
    const int count = recordset->GetColumnCount();
    for (int i = 0; i < count; ++i)
        columns.append(recordset->GetColumnName(i));
    return true;
}
