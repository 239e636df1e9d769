#pragma once
// Names and paths are bytes in the core: the file system's own encoding on POSIX (as
// the locale gives it), UTF-8 on Windows, where the core speaks the wide API in UTF-8.
// These turn them into text for the user and back.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

inline QString textOfBytes(const std::string& bytes) {
#ifdef _WIN32
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
#else
    return QFile::decodeName(QByteArray::fromStdString(bytes));
#endif
}

inline std::string bytesOfText(const QString& text) {
#ifdef _WIN32
    return text.toUtf8().toStdString();
#else
    return QFile::encodeName(text).toStdString();
#endif
}
