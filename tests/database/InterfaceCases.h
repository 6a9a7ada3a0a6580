#pragma once

// The behaviour that every backend shares through the database interface:
// the error-text convention, reading rows, column lookup, transactions
// through the interface, parameters, BLOBs and the text export. Run by each
// backend's test program with that backend's fixture.

#include "database/BackendFixture.h"

#include <QObject>
#include <QTemporaryDir>

class CInterfaceCases : public QObject
{
    Q_OBJECT

public:
    explicit CInterfaceCases(CBackendFixture& fixture) : Fixture(fixture) {}

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void errorTextIsKeptOnSuccess();
    void failedPrepareLeavesNoRecordset();
    void readsRowsInOrder();
    void readsNullAsEmpty();
    void findColumn_data();
    void findColumn();
    void readersAnswerBadColumnsWithEmptyValues();
    void closedRecordsetReadsEmpty();
    void isNullOnlyOfAValue();
    void cleanEndIsNoFetchError();
    void failedFetchStaysFailed();
    void listsUserTables();
    void columnNamesOfAnyTableName();
    void viewsAndDeclaredTypes_data();
    void viewsAndDeclaredTypes();
    void identifierRules();
    void endTransactionMatchesCommitAndRollback_data();
    void endTransactionMatchesCommitAndRollback();
    void transactionCanBeRolledBack();
    void parametersRunAgainAfterCloseCursor();
    void blobRoundTrip();
    void blobOfNullGivesNoData();
    void blobOfBadSizeIsRefused_data();
    void blobOfBadSizeIsRefused();
    void disconnect();

    void exportWritesExactBytes_data();
    void exportWritesExactBytes();
    void exportReplacesExistingFile();
    void exportOfNoRowsRemovesFile();
    void exportReportsUnwritableFile();
    void exportReportsBadQuery();

private:
    void CreateTable(); // t (a INTEGER, b VARCHAR(200), c DOUBLE PRECISION)
    void Run(const QString& sql);
    CRecordsetPtr Query(const QString& sql);
    int CountRows(const QString& table);
    // Which of the backends the fixture reaches: 0 SQLite, 1 FireBird, and
    // through ODBC 2 PostgreSQL, 3 SQLite, 4 MariaDB.
    int BackendColumn() const;

    CBackendFixture& Fixture;
    CDatabasePtr Db;
    QTemporaryDir Dir; // export files
};
