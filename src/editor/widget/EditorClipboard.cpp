// TEditor: cut, copy and paste through the system clipboard, box paste, and the X11 primary selection.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "editor/widget/Editor.h"
#include "text/SjisCodec.h"

namespace {

// "？", the full-width question mark, for characters that have no Shift-JIS code.
constexpr char kNoCodeMark[] = "\x81\x48";

QString ToClipboardText(const std::string& bytes) {
    // Other programs expect LF line ends.
    QString text = SjisCodec::ToUnicode(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

}  // namespace

std::string TEditor::EncodeForPaste(QStringView text, int* replaced) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()) * 2);
    int lost = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch < 0x80) {
            out += static_cast<char>(ch);
            continue;
        }
        if (QChar::isHighSurrogate(ch) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            // A character outside the BMP: no Shift-JIS code, one mark for the pair.
            ++i;
            out += kNoCodeMark;
            ++lost;
            continue;
        }
        const int code = SjisCodec::Encode(ch);
        if (code < 0) {
            out += kNoCodeMark;
            ++lost;
        } else if (code > 0xFF) {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        } else {
            out += static_cast<char>(code);
        }
    }
    if (replaced) *replaced = lost;
    return out;
}

std::string TEditor::ClipboardBytes(const QMimeData* data, bool* box, int* replaced) {
    if (box) *box = false;
    if (replaced) *replaced = 0;
    if (!data) return {};
    if (box) *box = data->hasFormat(QLatin1String(kBoxMimeType));
    if (data->hasFormat(QLatin1String(kSjisMimeType))) {
        const QByteArray bytes = data->data(QLatin1String(kSjisMimeType));
        return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    }
    if (!data->hasText()) return {};
    return EncodeForPaste(data->text(), replaced);
}

QMimeData* TEditor::MimeFor(const std::string& bytes, bool box) {
    auto* data = new QMimeData;
    data->setText(ToClipboardText(bytes));
    const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
    data->setData(QLatin1String(kSjisMimeType), raw);
    if (box) data->setData(QLatin1String(kBoxMimeType), raw);
    return data;
}

void TEditor::CopyToClipboard() {
    if (!SelAvail()) return;
    // The box text is the selection's text in box mode: each row's box bytes with CR LF.
    QApplication::clipboard()->setMimeData(MimeFor(SelText(), BoxSelectMode()), QClipboard::Clipboard);
}

void TEditor::CutToClipboard() {
    if (!SelAvail()) return;
    CopyToClipboard();
    DeleteSelection();
}

void TEditor::PasteBytes(const std::string& bytes, bool box) {
    if (ReadOnly()) return;
    if (box) {
        BoxPaste(bytes);
    } else {
        SetSelText(bytes);
    }
}

void TEditor::PasteFromClipboard() {
    const QMimeData* data = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !(data->hasText() || data->hasFormat(QLatin1String(kSjisMimeType)))) return;
    bool box = false;
    int replaced = 0;
    const std::string bytes = ClipboardBytes(data, &box, &replaced);
    if (bytes.empty() || ReadOnly()) return;
    PasteBytes(bytes, box);
    if (replaced > 0 && OnPasteLoss) OnPasteLoss(this, replaced);
}

void TEditor::BoxPasteFromClipboard() {
    const QMimeData* data = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    int replaced = 0;
    const std::string bytes = ClipboardBytes(data, nullptr, &replaced);
    if (bytes.empty() || ReadOnly()) return;
    BoxPaste(bytes);
    if (replaced > 0 && OnPasteLoss) OnPasteLoss(this, replaced);
}

void TEditor::PastePrimarySelection(const QPoint& at) {
    QClipboard* clipboard = QApplication::clipboard();
    if (ReadOnly() || !clipboard->supportsSelection()) return;
    int replaced = 0;
    const std::string bytes = ClipboardBytes(clipboard->mimeData(QClipboard::Selection), nullptr, &replaced);
    // The text goes in at the point; a selection there stays in the text (as a middle click does
    // everywhere).
    CancelSelection();
    const TRowCol rc = PointToRowCol(at.x(), at.y(), true);
    SetRowCol(rc.row, rc.col);
    if (bytes.empty()) return;
    InsertText(bytes);
    if (replaced > 0 && OnPasteLoss) OnPasteLoss(this, replaced);
}

void TEditor::SchedulePrimarySelection(int delayMs) {
    if (!QApplication::clipboard()->supportsSelection()) return;
    FPrimaryTimer.start(delayMs);
}

void TEditor::PutPrimarySelection() {
    if (!SelAvail() || SelLength() == 0) return;
    QApplication::clipboard()->setMimeData(MimeFor(SelText(), BoxSelectMode()), QClipboard::Selection);
}
