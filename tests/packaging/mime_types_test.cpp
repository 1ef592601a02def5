#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The file types as a desktop sees them once the package is installed: one database built by
// update-mime-database from the system's types and the package's, as the package's installation
// rebuilds it.
class MimeTypesTest : public QObject {
    Q_OBJECT
  private Q_SLOTS:
    void initTestCase();
    void filesMapToTheProgramsTypes_data();
    void filesMapToTheProgramsTypes();
    void desktopEntryOpensExactlyTheseTypes();
    void everyTypeHasItsIcon();

  private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir data_dir_;
    QTemporaryDir files_;
};

namespace {

const QString packaging = QStringLiteral(OSTRIVANE_PACKAGING_DIR);
const QString app_id = QStringLiteral("org.ostrivane.Ostrivane");
const QStringList types = {QStringLiteral("application/x-ostrivane-program"),
                           QStringLiteral("application/x-ostrivane-profile"),
                           QStringLiteral("application/x-ostrivane-tooth-file")};

}  // namespace

void MimeTypesTest::initTestCase() {
    const QString update = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    const QString system_types = QStandardPaths::locate(
        QStandardPaths::GenericDataLocation, QStringLiteral("mime/packages/freedesktop.org.xml"));
    if (update.isEmpty() || system_types.isEmpty())
        QSKIP("needs update-mime-database and the system's types (shared-mime-info)");
    const QString mime = data_dir_.path() + "/mime";
    QVERIFY(QDir().mkpath(mime + "/packages"));
    QVERIFY(QFile::copy(system_types, mime + "/packages/freedesktop.org.xml"));
    QVERIFY(
        QFile::copy(packaging + "/" + app_id + ".mime.xml", mime + "/packages/" + app_id + ".xml"));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), data_dir_.path());  // no note about the path
    env.insert(QStringLiteral("PKGSYSTEM_ENABLE_FSYNC"), QStringLiteral("0"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(update, {mime});
    QVERIFY(process.waitForFinished(60000));
    // It complains about a bad definition on its output even when it exits with 0.
    const QByteArray complaints = process.readAll();
    QVERIFY2(process.exitCode() == 0 && complaints.isEmpty(), complaints.constData());
    // Only this database, before the first look-up: the database reads the folders once.
    qputenv("XDG_DATA_HOME", (data_dir_.path() + "/none").toUtf8());
    qputenv("XDG_DATA_DIRS", data_dir_.path().toUtf8());
}

QString MimeTypesTest::write(const QString& name, const QByteArray& bytes) {
    QFile file(files_.path() + "/" + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

void MimeTypesTest::filesMapToTheProgramsTypes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("type");  // empty: none of the program's types
    // A state file: its length in 7-bit groups, then JSON text.
    QTest::newRow("program") << "Vase.gof" << QByteArray("\x02{}", 3) << types[0];
    QTest::newRow("profile") << "Vase.spl" << QByteArray("\x88\x27\x5c\x03\0\0\0\0", 8) << types[1];
    // A point section without the marker, as older profiles have: the version word tells it.
    QTest::newRow("older profile") << "Old.spl" << QByteArray("\x88\x27\x00\x00", 4) << types[1];
    // Flash movies used .spl too; their own signature keeps them theirs.
    QTest::newRow("flash movie") << "movie.spl" << QByteArray("FWS\x05", 4) << QString();
    QTest::newRow("tooth file") << "Zwaluw.tnd" << QByteArray("1\r\n 0.00000000000000E+0000\r\n")
                                << types[2];
    QTest::newRow("G-code") << "Vase.ngc" << QByteArray("G21\r\n") << QString();
}

void MimeTypesTest::filesMapToTheProgramsTypes() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, type);
    const QMimeType found = QMimeDatabase().mimeTypeForFile(write(name, bytes));
    if (type.isEmpty())
        QVERIFY2(!types.contains(found.name()), qPrintable(found.name()));
    else
        QCOMPARE(found.name(), type);
}

void MimeTypesTest::desktopEntryOpensExactlyTheseTypes() {
    QFile entry(packaging + "/" + app_id + ".desktop");
    QVERIFY(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    QStringList listed;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith(QStringLiteral("MimeType=")))
            listed = line.mid(9).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    QCOMPARE(QSet<QString>(listed.begin(), listed.end()),
             QSet<QString>(types.begin(), types.end()));
    // The tooth file is text, so text editors offer to open it too.
    QVERIFY(QMimeDatabase().mimeTypeForName(types[2]).inherits(QStringLiteral("text/plain")));
}

void MimeTypesTest::everyTypeHasItsIcon() {
    for (const QString& type : types) {
        const QString icon = QMimeDatabase().mimeTypeForName(type).iconName();
        QVERIFY2(QFile::exists(packaging + "/icons/" + icon + ".svg"), qPrintable(icon));
        QVERIFY2(QFile::exists(packaging + "/icons/hicolor/48x48/mimetypes/" + icon + ".png"),
                 qPrintable(icon));
    }
}

QTEST_GUILESS_MAIN(MimeTypesTest)
#include "mime_types_test.moc"
