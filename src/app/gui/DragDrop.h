// Dragging a node out of the tree as a file.
//
// TDragFolder is a folder of this program's own for the files of outgoing drags: created on first use under
// the user's runtime directory (or the cache directory where there is none), readable by the user alone
// (0700), removed with everything in it when its owner (the main window) goes. No other user can place a
// link where we write, and two running programs never share a file.
//
// TDragMimeData offers one file as a file URL (text/uri-list, which the platform turns into its own file
// list). The file is written only when a receiver asks for the data, which it does at the drop: a cancelled
// drag writes nothing.
#pragma once

#include <QMimeData>
#include <QString>
#include <functional>
#include <memory>

class QTemporaryDir;

class TDragFolder {
public:
    TDragFolder();
    ~TDragFolder();
    TDragFolder(const TDragFolder&) = delete;
    TDragFolder& operator=(const TDragFolder&) = delete;

    // The path of a file named name in the folder (created now when needed); empty when no folder can be
    // made.
    QString FilePath(const QString& name);
    // The folder, or empty before the first FilePath (or when it could not be made).
    QString Path() const;

private:
    std::unique_ptr<QTemporaryDir> FDir;
};

class TDragMimeData : public QMimeData {
public:
    // Writes the file; returns an error text, empty on success. Called at most once.
    using TRender = std::function<QString()>;

    TDragMimeData(const QString& filePath, TRender render);

    bool Rendered() const { return FRendered; }
    // The error of the writing, empty when it succeeded (or did not happen).
    const QString& RenderError() const { return FError; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    TRender FRender;
    mutable bool FRendered = false;
    mutable QString FError;
};
