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

QString CAbstractDatabase::QuoteIdentifier(const QString& name, const QString& quote)
{
    QString doubled = name;
    doubled.replace(quote, quote + quote);
    return quote + doubled + quote;
}

CRecordsetPtr CAbstractDatabase::PrepareSelectAll(const QString& table, QString& error)
{
    CAbstractRecordset* prepared = nullptr;
    const bool ok =
        Prepare(QStringLiteral("SELECT * FROM ") + QuoteIdentifier(table, QStringLiteral("\"")),
                error, prepared);
    CRecordsetPtr recordset(prepared);
    if (!ok)
        recordset.reset();
    return recordset;
}

bool CAbstractDatabase::GetColumnNames(const QString& table, QStringList& columns, QString& error)
{
    const CRecordsetPtr recordset = PrepareSelectAll(table, error);
    if (!recordset)
        return false;
    const int count = recordset->GetColumnCount();
    for (int column = 0; column < count; ++column)
        columns.append(recordset->GetColumnName(column));
    return true;
}

EScriptDialect CAbstractDatabase::GetScriptDialect() const
{
    return ScriptDialectStandard;
}

bool CAbstractDatabase::BeginScript(QString&)
{
    return true;
}

bool CAbstractDatabase::EndScript(CAbstractRecordset*, QString&)
{
    return true;
}

void CAbstractDatabase::Interrupt() {}

bool CAbstractDatabase::GetViewNames(QStringList&, QString&)
{
    return true;
}

bool CAbstractDatabase::GetColumns(const QString& table, QStringList& columns, QStringList& types,
                                   QString& error)
{
    QStringList names;
    if (!GetColumnNames(table, names, error))
        return false;
    columns += names;
    for (qsizetype i = 0; i < names.size(); ++i)
        types.append(QString());
    return true;
}

QString CAbstractDatabase::GetIdentifierQuote() const
{
    return QStringLiteral("\"");
}

EIdentifierCase CAbstractDatabase::GetIdentifierCase() const
{
    return IdentifierCaseUpper;
}
