#include "gui/FontSubstitutes.h"

#include <QFont>
#include <QFontDatabase>

QStringList FixedJapaneseFontFamilies() {
    return {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
            QStringLiteral("VL Gothic")};
}

QStringList ProportionalJapaneseFontFamilies() {
    return {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
            QStringLiteral("IPAGothic")};
}

namespace {

// Only installed families are registered, so that Qt's own fallback still applies when none is there.
QStringList Installed(const QStringList& families) {
    const QStringList all = QFontDatabase::families();
    QStringList result;
    for (const QString& family : families) {
        if (all.contains(family, Qt::CaseInsensitive)) result << family;
    }
    return result;
}

void Substitute(const QString& name, const QStringList& families) {
    const QStringList installed = Installed(families);
    if (installed.isEmpty()) return;
    QFont::removeSubstitutions(name);
    QFont::insertSubstitutions(name, installed);
}

}  // namespace

void RegisterFontSubstitutes() {
    const QStringList fixed = FixedJapaneseFontFamilies();
    const QStringList proportional = ProportionalJapaneseFontFamilies();
    Substitute(QStringLiteral("ＭＳ ゴシック"), fixed);
    Substitute(QStringLiteral("MS Gothic"), fixed);
    Substitute(QStringLiteral("FixedSys"), fixed);
    Substitute(QStringLiteral("ＭＳ Ｐゴシック"), proportional);
    Substitute(QStringLiteral("MS PGothic"), proportional);
    Substitute(QStringLiteral("ＭＳ 明朝"),
               {QStringLiteral("IPAMincho"), QStringLiteral("Noto Serif CJK JP")});
}

QString InstalledFixedJapaneseFamily() {
    const QStringList installed = Installed(FixedJapaneseFontFamilies());
    return installed.isEmpty() ? QString() : installed.first();
}
