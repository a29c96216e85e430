#include "app/gui/MainWindowSettings.h"

#include <QFont>

#include "editor/widget/Editor.h"

void ApplyMainWindowSettings(TEditor& editor) {
    TEditorCaret& caret = editor.Caret();
    {
        TNotifyPersistent::Update update(caret);
        caret.SetAutoCursor(true);
        caret.SetAutoIndent(true);
        caret.SetBackSpaceUnIndent(true);
        caret.SetKeepCaret(true);
        caret.SetPrevSpaceIndent(true);
        caret.SetRowSelect(true);
        caret.SetSelMove(true);
        caret.SetFreeCaret(false);
        caret.SetInTab(false);
        caret.SetLockScroll(false);
        caret.SetNextLine(false);
        caret.SetSoftTab(false);
        caret.SetTabIndent(false);
        caret.SetSelDragMode(dmAutomatic);
        caret.SetStyle(csDefault);
        caret.SetTabSpaceCount(8);
        TEditorCursors& cursors = caret.Cursors();
        cursors.SetDefaultCursor(crIBeam);
        cursors.SetDragSelCursor(crDrag);
        cursors.SetDragSelCopyCursor(2);
        cursors.SetInSelCursor(crDefault);
        cursors.SetLeftMarginCursor(1);
    }
    {
        TEditorMarks& marks = editor.Marks();
        TNotifyPersistent::Update update(marks);
        for (TEditorMark* mark : {&marks.EofMark(), &marks.RetMark(), &marks.Underline()}) {
            mark->SetVisible(false);
            mark->SetColor(clGray);
        }
    }
    {
        TEditorMargin& margin = editor.Margin();
        TNotifyPersistent::Update update(margin);
        margin.SetCharacter(0);
        margin.SetLeft(5);
        margin.SetLine(0);
        margin.SetTop(5);
    }
    {
        TEditorLeftbar& bar = editor.Leftbar();
        TNotifyPersistent::Update update(bar);
        bar.SetVisible(true);
        bar.SetColumn(4);
        bar.SetEdge(true);
        bar.SetLeftMargin(4);
        bar.SetRightMargin(4);
        bar.SetShowNumber(true);
        bar.SetShowNumberMode(nmLine);
        bar.SetZeroBase(false);
        bar.SetZeroLead(true);
        bar.SetBkColor(clBtnFace);
        bar.SetColor(clWindowText);
    }
    {
        TEditorRuler& ruler = editor.Ruler();
        TNotifyPersistent::Update update(ruler);
        ruler.SetVisible(true);
        ruler.SetEdge(true);
        ruler.SetGaugeRange(10);
        ruler.SetBkColor(clBtnFace);
        ruler.SetColor(clBtnText);
        ruler.SetMarkColor(clBtnText);
    }
    {
        TEditorViewInfo& view = editor.View();
        TNotifyPersistent::Update update(view);
        view.SetMail(true);
        view.SetUrl(true);
        view.SetControlCode(false);
    }
    editor.SetReadOnly(false);
    editor.SetScrollBars(ssBoth);
    editor.SetUndoListMax(64);
    editor.SetWantReturns(true);
    editor.SetWantTabs(true);
    editor.SetWordWrap(false);
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(12);
    editor.setFont(font);
}
