// velloria-icon-png OUTDIR SIZE...: writes OUTDIR/velloria-SIZE.png for each size, the program icon drawn by
// the same code as the window icon. Run at build time for the installed hicolor PNG files.
#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "app/gui/Icons.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: velloria-icon-png OUTDIR SIZE...\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 1 || size > 1024) {
            std::fprintf(stderr, "velloria-icon-png: bad size %s\n", argv[i]);
            return 2;
        }
        const QString file = dir + QStringLiteral("/velloria-%1.png").arg(size);
        if (!icons::ProgramImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "velloria-icon-png: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
