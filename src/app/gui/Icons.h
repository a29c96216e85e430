// The images of the main window: tree node images, the marker, the toolbar and menu icons, the program icon.
//
// Icons come from the desktop's icon theme where it has them, else from the style's standard icons, else
// they are drawn here; the marker and the program icon are always our own drawings.
#pragma once

#include <QIcon>

class QImage;
class QPainter;

enum class TCommandIcon {
    New,
    Open,
    Save,
    Print,
    Cut,
    Copy,
    Paste,
    Delete,
    Undo,
    MoveFirst,
    MoveEnd,
    DocumentNew,
    Import,
    Export,
    GroupNew,
    Previous,
    Next,
    SortAsc,
    SortDsc,
    Info,
    Find,
};

namespace icons {

QIcon Command(TCommandIcon which);

// Node images: document, closed group, open group, and a document with the marker (a small red check mark
// in the lower left of the cell, drawn over the document image).
QIcon Document();
QIcon Group();
QIcon GroupOpen();
QIcon Marked();

// The program's icon (window and About box), drawn on a 32 x 32 grid; the installed PNG files are rendered
// at build time from the same drawing.
void PaintProgram(QPainter& p);
QImage ProgramImage(int size);
QIcon Program();

}  // namespace icons
