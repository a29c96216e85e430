#include "app/gui/DragDrop.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

TDragFolder::TDragFolder() = default;
TDragFolder::~TDragFolder() = default;  // QTemporaryDir removes the folder and its files

QString TDragFolder::FilePath(const QString& name) {
    if (!FDir) {
        QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (base.isEmpty() || !QDir(base).exists())
            base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        if (base.isEmpty()) base = QDir::tempPath();
        QDir().mkpath(base);
        auto dir = std::make_unique<QTemporaryDir>(QDir(base).filePath(QStringLiteral("velloria-drag-XXXXXX")));
        if (!dir->isValid()) return QString();
        // QTemporaryDir makes the folder for the owner alone; say so explicitly all the same.
        QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        FDir = std::move(dir);
    }
    return FDir->filePath(name);
}

QString TDragFolder::Path() const {
    return FDir ? FDir->path() : QString();
}

TDragMimeData::TDragMimeData(const QString& filePath, TRender render) : FRender(std::move(render)) {
    setUrls({QUrl::fromLocalFile(filePath)});
}

QVariant TDragMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    // The receiver wants the data: the drop is happening. An error does not stop it (the receiver finds no
    // file or an old one); the window reports it after the drag.
    if (!FRendered) {
        FRendered = true;
        if (FRender) FError = FRender();
    }
    return QMimeData::retrieveData(mimeType, type);
}
