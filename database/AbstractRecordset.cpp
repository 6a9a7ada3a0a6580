#include "database/AbstractRecordset.h"

bool CAbstractRecordset::GetBlob(const QString& name, unsigned char*& data, int& size)
{
    return GetBlob(FindColumn(name), data, size);
}

QString CAbstractRecordset::GetString(const QString& name)
{
    return GetString(FindColumn(name));
}

int CAbstractRecordset::GetInt(const QString& name)
{
    return GetInt(FindColumn(name));
}

double CAbstractRecordset::GetDouble(const QString& name)
{
    return GetDouble(FindColumn(name));
}

int CAbstractRecordset::FindColumn(const QString& name)
{
    if (!IsOpen())
        return -1;
    const int count = GetColumnCount();
    for (int i = 0; i < count; ++i)
        if (GetColumnName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void CRecordsetCloser::operator()(CAbstractRecordset* recordset) const
{
    if (!recordset)
        return;
    recordset->Close();
    delete recordset;
}

QByteArrayView CAbstractRecordset::GetUtf8(int column, QByteArray& scratch)
{
    scratch = GetString(column).toUtf8();
    return scratch;
}
