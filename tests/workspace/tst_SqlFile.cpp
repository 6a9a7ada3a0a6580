// SQL files and drafts on real files: every encoding the editor reads, what
// it writes back, what it refuses, and that a failed save (a read-only file,
// a full disk) leaves the old file exactly as it was.

#include "workspace/DraftStore.h"
#include "workspace/SqlFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Utf16(const QString& text, bool bigEndian)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray{&high, 1} + QByteArray{&low, 1}
                           : QByteArray{&low, 1} + QByteArray{&high, 1};
    }
    return bytes;
}

} // namespace

class CSqlFileTests : public QObject
{
    Q_OBJECT

private slots:
    void readEditSave_data();
    void readEditSave();
    void refused_data();
    void refused();
    void readOnlyFileStaysWhole();
    void fullDiskLeavesOldFile();
    void drafts();

private:
    QTemporaryDir Dir;
};

void CSqlFileTests::readEditSave_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("saved"); // after " -- edited" is added at the end
    const QString russian = QStringLiteral("select 'Проба' from t;\nselect 2;");
    const QByteArray utf8 = russian.toUtf8();
    QTest::newRow("UTF-8") << utf8 << russian << utf8 + " -- edited";
    QTest::newRow("UTF-8 with a mark, kept")
        << "\xEF\xBB\xBF" + utf8 << russian << "\xEF\xBB\xBF" + utf8 + " -- edited";
    QTest::newRow("UTF-16LE with a mark, saved as UTF-8 with a mark")
        << "\xFF\xFE" + Utf16(russian, false) << russian << "\xEF\xBB\xBF" + utf8 + " -- edited";
    QTest::newRow("UTF-16BE with a mark")
        << "\xFE\xFF" + Utf16(russian, true) << russian << "\xEF\xBB\xBF" + utf8 + " -- edited";
    QTest::newRow("CRLF kept throughout")
        << QByteArray("select 1;\r\nselect 2;\r\n") << QStringLiteral("select 1;\nselect 2;\n")
        << QByteArray("select 1;\r\nselect 2;\r\n -- edited");
    QTest::newRow("LF file with a stray CR: LF")
        << QByteArray("select 1;\nselect\r2;") << QStringLiteral("select 1;\nselect\n2;")
        << QByteArray("select 1;\nselect\n2; -- edited");
    QTest::newRow("empty") << QByteArray() << QString() << QByteArray(" -- edited");
    QTest::newRow("a character beyond 16 bits")
        << QByteArray("select '\xF0\x9F\x98\x80';") << QStringLiteral("select '\U0001F600';")
        << QByteArray("select '\xF0\x9F\x98\x80'; -- edited");
}

void CSqlFileTests::readEditSave()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QByteArray, saved);
    const QString path = Dir.filePath(QStringLiteral("script.sql"));
    QVERIFY(Put(path, bytes));
    CSqlFile file;
    QString error;
    QVERIFY2(file.Read(path, error), qPrintable(error));
    QCOMPARE(file.Text, text);
    QCOMPARE(file.Stamp, CSqlFile::StampOf(path));

    file.Text += QStringLiteral(" -- edited");
    QVERIFY2(file.Write(path, error), qPrintable(error));
    QCOMPARE(Contents(path), saved);
    QCOMPARE(file.Stamp, CSqlFile::StampOf(path));
    // And read again, the text is what was written.
    CSqlFile again;
    QVERIFY(again.Read(path, error));
    QCOMPARE(again.Text, text + QStringLiteral(" -- edited"));
}

void CSqlFileTests::refused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("Latin-1, not UTF-8")
        << QByteArray("select 'caf\xE9';") << QStringLiteral("the byte at offset 11 is not valid");
    QTest::newRow("overlong UTF-8") << QByteArray("a\xC0\xAF") << QStringLiteral("offset 1");
    QTest::newRow("a surrogate in UTF-8")
        << QByteArray("ab\xED\xA0\x80") << QStringLiteral("offset 2");
    QTest::newRow("cut short at the end")
        << QByteArray("abc\xE2\x82") << QStringLiteral("offset 3");
    QTest::newRow("UTF-16 of odd length")
        << QByteArray("\xFF\xFE\x41\x00\x42", 5) << QStringLiteral("byte-order mark names");
    QTest::newRow("a lone surrogate in UTF-16")
        << QByteArray("\xFF\xFE\x00\xD8\x41\x00", 6) << QStringLiteral("byte-order mark names");
    QTest::newRow("an SQLite database")
        << QByteArray("SQLite format 3\0\x10\x00", 19) << QStringLiteral("NUL characters");
}

void CSqlFileTests::refused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const QString path = Dir.filePath(QStringLiteral("bad.sql"));
    QVERIFY(Put(path, bytes));
    CSqlFile file;
    file.Text = QStringLiteral("untouched");
    QString error;
    QVERIFY(!file.Read(path, error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(file.Text, QStringLiteral("untouched"));
    QCOMPARE(Contents(path), bytes);

    QVERIFY(!file.Read(Dir.filePath(QStringLiteral("missing.sql")), error));
    QVERIFY(error.startsWith(QStringLiteral("Cannot open")));
    QVERIFY(!file.Read(Dir.path(), error));
    QVERIFY(error.contains(QStringLiteral("folder")));
}

void CSqlFileTests::readOnlyFileStaysWhole()
{
    const QString path = Dir.filePath(QStringLiteral("read-only.sql"));
    QVERIFY(Put(path, "select 1;"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    CSqlFile file;
    file.Text = QStringLiteral("select 2;");
    QString error;
    QVERIFY(!file.Write(path, error));
    QVERIFY2(error.contains(QStringLiteral("read-only")), qPrintable(error));
    QCOMPARE(Contents(path), QByteArray("select 1;"));
}

// A child process that may write no file larger than a few bytes, as on a
// full disk: the save fails with a message and the old file is whole.
void CSqlFileTests::fullDiskLeavesOldFile()
{
    const QString path = Dir.filePath(QStringLiteral("full.sql"));
    const QByteArray old = "select 'the old text';\n";
    QVERIFY(Put(path, old));
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        CSqlFile file;
        file.Text = QString(10000, u'x');
        QString error;
        const bool written = file.Write(path, error);
        ::_exit(!written && error.contains(QStringLiteral("as it was")) ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(Contents(path), old);
    // No temporary file is left beside it.
    QCOMPARE(QDir(Dir.path()).entryList({QStringLiteral("full.sql*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("full.sql")});
}

void CSqlFileTests::drafts()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(Dir.filePath(QStringLiteral("config"))));
    CDraft first;
    first.Text = QStringLiteral("select 'one';\n\nselect 2;");
    first.FilePath = QStringLiteral("/some where/a&b.sql");
    first.Modified = true;
    first.Stamp = QByteArray("\x01\x02\xFF", 3);
    first.Crlf = true;
    CDraft second;
    second.Text = QStringLiteral("Header: not a header\n\nline");
    QString error;
    QVERIFY2(CDraftStore::Write(QStringLiteral("Проба/1"), first, error), qPrintable(error));
    QVERIFY(CDraftStore::Write(QStringLiteral("two"), second, error));

    CDraft read;
    QVERIFY(CDraftStore::Read(QStringLiteral("Проба/1"), read));
    QCOMPARE(read.Text, first.Text);
    QCOMPARE(read.FilePath, first.FilePath);
    QCOMPARE(read.Modified, true);
    QCOMPARE(read.Stamp, first.Stamp);
    QCOMPARE(read.Crlf, true);
    QCOMPARE(read.Bom, false);
    QVERIFY(CDraftStore::Read(QStringLiteral("two"), read));
    QCOMPARE(read.Text, second.Text);
    QVERIFY(!CDraftStore::Read(QStringLiteral("three"), read));

    // Readable by the user alone.
    struct stat info;
    QCOMPARE(::stat(QFile::encodeName(CDraftStore::Folder()).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0700u);
    QCOMPARE(
        ::stat(QFile::encodeName(CDraftStore::DraftFileName(QStringLiteral("two"))).constData(),
               &info),
        0);
    QCOMPARE(info.st_mode & 0777, 0600u);

    CDraftStore::Remove(QStringLiteral("two"));
    QVERIFY(!CDraftStore::Read(QStringLiteral("two"), read));

    for (int i = 1; i <= 6; ++i)
        CDraftStore::AddRecentFile(Dir.filePath(QStringLiteral("f%1.sql").arg(i)));
    CDraftStore::AddRecentFile(Dir.filePath(QStringLiteral("f4.sql")));
    QCOMPARE(CDraftStore::RecentFiles(),
             (QStringList{Dir.filePath("f4.sql"), Dir.filePath("f6.sql"), Dir.filePath("f5.sql"),
                          Dir.filePath("f3.sql")}));
}

QTEST_GUILESS_MAIN(CSqlFileTests)
#include "tst_SqlFile.moc"
