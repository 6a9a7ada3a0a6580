// Speed of the database layer over SQLite: reading rows through the
// interface against the raw library loop, cutting a script into statements,
// and exporting rows to a text file.

#include "BenchTable.h"
#include "database/SQLiteDatabase.h"
#include "database/SplitDelimited.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace {

constexpr int Rows = 100000;
constexpr int Columns = 10;

bool Fill(CAbstractDatabase& db)
{
    QString error;
    QString create = QStringLiteral("CREATE TABLE t (");
    for (int c = 0; c < Columns; ++c)
        create +=
            QStringLiteral("%1c%2 %3").arg(c ? ", " : "").arg(c).arg(c % 2 ? "TEXT" : "INTEGER");
    create += u')';
    if (!db.ExecuteSQL(create, error))
        return false;
    db.BeginTransaction(error);
    CAbstractRecordset* raw = nullptr;
    if (!db.Prepare(QStringLiteral("INSERT INTO t VALUES (?,?,?,?,?,?,?,?,?,?)"), error, raw))
        return false;
    CRecordsetPtr insert(raw);
    for (int r = 0; r < Rows; ++r) {
        for (int c = 0; c < Columns; ++c) {
            if (c % 2)
                db.SetParamString(raw, c, QStringLiteral("value %1 of row %2").arg(c).arg(r),
                                  error);
            else
                db.SetParamInt(raw, c, r * Columns + c, error);
        }
        insert->MoveNext();
        db.CloseCursor(raw, error);
    }
    insert.reset();
    return db.CommitTransaction(error);
}

size_t ReadThroughInterface(CAbstractDatabase& db)
{
    QString error;
    CAbstractRecordset* raw = nullptr;
    db.OpenRecordset(QStringLiteral("SELECT * FROM t"), error, raw);
    CRecordsetPtr recordset(raw);
    size_t characters = 0;
    while (recordset->MoveNext())
        for (int c = 0; c < Columns; ++c)
            characters += size_t(recordset->GetString(c).size());
    return characters;
}

size_t ReadRaw(const QString& path)
{
    sqlite3* handle = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(handle, "SELECT * FROM t", -1, &statement, nullptr);
    size_t bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW)
        for (int c = 0; c < Columns; ++c)
            if (sqlite3_column_text(statement, c))
                bytes += size_t(sqlite3_column_bytes(statement, c));
    sqlite3_finalize(statement);
    sqlite3_close(handle);
    return bytes;
}

QString Script(qsizetype bytes)
{
    const QString statement =
        QStringLiteral("INSERT INTO people (name, note) VALUES (\"O;Brien\", 'a;b');\n");
    QString script;
    script.reserve(bytes + statement.size());
    while (script.size() < bytes)
        script += statement;
    return script;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.sqlite"));
    CSQLiteDatabase db;
    QString error;
    if (!db.Connect(path, {}, {}, error) || !Fill(db)) {
        std::fprintf(stderr, "cannot build the benchmark database: %s\n", qPrintable(error));
        return 1;
    }

    CBenchTable table("Database layer, SQLite");
    size_t sink = 0;
    const double viaInterface = BestSeconds(5, [&] { sink += ReadThroughInterface(db); });
    const double viaLibrary = BestSeconds(5, [&] { sink += ReadRaw(path); });
    table.Row("read 100,000 x 10 through the interface", viaInterface * 1000, "ms", "");
    table.Row("read 100,000 x 10 with sqlite3_step + column_text", viaLibrary * 1000, "ms", "");
    table.Row("interface / raw loop", viaInterface / viaLibrary, "ratio", "<= 1.5");

    const QString script = Script(5 * 1024 * 1024); // 10 MB of UTF-16
    const double split = BestSeconds(3, [&] {
        QStringList pieces;
        SplitDelimited(script, pieces, u';');
        sink += size_t(pieces.size());
    });
    table.Row("SplitDelimited of a 10 MB script", 10.0 / split, "MB/s", "");

    const QString file = dir.filePath(QStringLiteral("export.txt"));
    const double exported = BestSeconds(1, [&] {
        db.ExportToTextFile(QStringLiteral("SELECT * FROM t"), error, file, QStringLiteral(";"));
    });
    table.Row("ExportToTextFile of 100,000 x 10 (a file open per row)", Rows / exported, "rows/s",
              "");
    return sink == 0;
}
