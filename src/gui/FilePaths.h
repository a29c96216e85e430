#pragma once
// File names between Qt and the standard library: QFile's encoding of names for the file system, so a
// name the user picked in a dialog reaches the same file when opened with std::filesystem.

#include <QFile>
#include <QString>

#include <filesystem>

inline std::filesystem::path ToPath(const QString& s) {
#if defined(_WIN32)
    return std::filesystem::path(s.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(s).toStdString());
#endif
}

inline QString FromPath(const std::filesystem::path& p) {
#if defined(_WIN32)
    return QString::fromStdWString(p.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(p.string()));
#endif
}
