#include "support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

namespace testfiles {

void write(const QString& folder, const QString& name, const QByteArray& bytes) {
    QFile file(QDir(folder).filePath(name));
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(file.fileName()));
    QCOMPARE(file.write(bytes), bytes.size());
    // Dated back: a file its writer is done with (see TestFiles.h).
    QVERIFY(file.flush());
    QVERIFY(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-10),
                             QFileDevice::FileModificationTime));
}

QByteArray read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QByteArray bytes = file.readAll();
    if (bytes.isNull())
        bytes = QByteArray("");
    return bytes;
}

void writeRawSettings(const QString& iniPath, const QByteArray& text) {
    QFile file(iniPath);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QStringLiteral("pdftotext failed: ") + process.errorString() +
               process.readAllStandardError();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace testfiles
