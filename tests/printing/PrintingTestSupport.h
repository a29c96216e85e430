// Helpers of the printing tests: Shift-JIS from UTF-8, a PDF printer on A4, the sample list's documents.
#pragma once

#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "app/DocumentTree.h"
#include "app/ListFile.h"
#include "printing/StringsPrinter.h"
#include "text/SjisCodec.h"

inline std::string S(const char* utf8) {
    return SjisCodec::FromUnicode(QString::fromUtf8(utf8));
}

// The main window's printer settings with the editor's default font, printing A4 to outputFile.
inline void SetUpPdfPrinter(TStringsPrinter& printer, const QString& outputFile, int points = 9) {
    printer.SetDocumentDefaults();
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPointSize(points);
    printer.SetFont(font);
    QPrinter& p = printer.Printer();
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(outputFile);
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageOrientation(QPageLayout::Portrait);
}

struct TSampleDocument {
    std::string Name;  // Shift-JIS
    std::string Text;
};

// The documents of examples/sample.vlt in tree order.
inline std::vector<TSampleDocument> SampleDocuments() {
    TDocumentTree tree;
    TListFileHost host;
    TListFile(tree, host)
        .ReadListFile(std::filesystem::path(VELLORIA_SOURCE_DIR) / "examples" / "sample.vlt");
    std::vector<TSampleDocument> out;
    tree.ForEachPreOrder(nullptr, [&](TDocumentNode* node, int) {
        if (!node->IsGroup()) out.push_back({node->Record().Name, node->Record().Text});
    });
    return out;
}
