#pragma once
// Small helpers for window tests: files in a temporary folder and a settings store of
// the test's own.

#include <QByteArray>
#include <QString>

namespace testfiles {

// Writes bytes to folder/name, creating or replacing the file, dated ten seconds back (a
// file changed in the last second is one still being written, which commands leave
// alone); fails the test on error.
void write(const QString& folder, const QString& name, const QByteArray& bytes);
// The bytes of a file, or a null QByteArray when it cannot be read.
QByteArray read(const QString& path);
// The text a PDF reader finds in the PDF at path (pdftotext, its layout kept), or
// "pdftotext failed: " and why.
QString pdfText(const QString& path);
// Writes raw text as the whole settings file (for values no program would write).
void writeRawSettings(const QString& iniPath, const QByteArray& text);

} // namespace testfiles
