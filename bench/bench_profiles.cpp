// Speed of the profile store: saving and loading lists of profiles through
// the connections window as the main frame does at shut-down and start-up,
// and reading and writing the store file's text.

#include "BenchTable.h"
#include "profiles/Connection.h"
#include "profiles/ConnectionsWnd.h"
#include "profiles/HiveText.h"

#include <QApplication>
#include <QTemporaryDir>

namespace {

void Fill(CConnectionsWnd& window, int count)
{
    window.DeleteAllConnections();
    for (int i = 0; i < count; ++i) {
        CConnection profile;
        profile.Name = QStringLiteral("Profile number %1").arg(i);
        profile.Type = i % 3;
        profile.Path = QStringLiteral("/srv/databases/customer-%1/data.fdb").arg(i);
        profile.Alias = QStringLiteral("alias%1").arg(i);
        profile.Login = QStringLiteral("user%1").arg(i);
        profile.Password = QStringLiteral("secret \"%1\"").arg(i);
        profile.RememberAuth = i % 2;
        window.AddConnection(profile);
    }
}

// A store of about bytes with keys, text, numbers and binary values.
CHiveKey BigHive(qsizetype bytes)
{
    CHiveKey root;
    CHiveKey& connections = *root.AddSubKey(QStringLiteral("Connections"));
    QByteArray binary(64, '\x5a');
    for (int i = 0; WriteHiveText(root).size() < bytes; ++i) {
        for (int j = 0; j < 500; ++j, ++i) {
            CHiveKey& key = *connections.AddSubKey(QStringLiteral("Connection %1").arg(i));
            key.SetValue(QStringLiteral("Name"), HiveTypeString,
                         HiveStringData(QStringLiteral("name \u0416 %1").arg(i)));
            key.SetValue(QStringLiteral("Type"), HiveTypeDword, QByteArray("\x01\0\0\0", 4));
            key.SetValue(QStringLiteral("Blob"), HiveTypeBinary, binary);
        }
    }
    return root;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);

    CBenchTable table("Profile store (best of 5 runs)");
    CConnectionsWnd window;
    for (const int count : {10, 100, 1000}) {
        QString error;
        Fill(window, count);
        const double save = BestSeconds(5, [&] { SaveConnections(window, error); });
        const double load = BestSeconds(5, [&] { LoadConnections(window, error); });
        if (window.GetConnectionCount() != count)
            table.Note("round trip", "FAILED: " + error.toStdString());
        const std::string what = std::to_string(count) + " profiles";
        table.Row("SaveConnections, " + what, save * 1000, "ms",
                  count <= 100 ? "< 50 ms" : "< 500 ms");
        table.Row("LoadConnections, " + what, load * 1000, "ms",
                  count <= 100 ? "< 50 ms" : "< 500 ms");
    }

    const CHiveKey hive = BigHive(4 * 1024 * 1024);
    QByteArray text;
    const double write = BestSeconds(5, [&] { text = WriteHiveText(hive); });
    const double megabytes = double(text.size()) / (1024 * 1024);
    bool same = true;
    const double read = BestSeconds(5, [&] {
        CHiveKey root;
        int line = 0;
        QString reason;
        same = ReadHiveText(text, root, line, reason) && root == hive;
    });
    table.Row("WriteHiveText, " + std::to_string(text.size() / 1024) + " KB store",
              megabytes / write, "MB/s", "> 20 MB/s");
    table.Row("ReadHiveText, same text", megabytes / read, "MB/s", "> 20 MB/s");
    if (!same)
        table.Note("ReadHiveText", "FAILED: the text did not read back to the same keys");
    return 0;
}
