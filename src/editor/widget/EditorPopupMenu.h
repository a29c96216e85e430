// TEditorPopupMenu: the editor's own popup menu, twelve items (three of them separators) with their
// shortcuts, enabled afresh every time it pops up.
//
// Its actions are also the editor's (Qt::WidgetWithChildrenShortcut), so that the shortcuts work without
// the menu open while this menu is the editor's installed one; an owner that installs another menu or
// takes the context menu over (Qt::CustomContextMenu) turns them off, so that they never compete with the
// owner's own shortcuts.
#pragma once

#include <QMenu>
#include <QPointer>

class QAction;
class TEditor;

class TEditorPopupMenu : public QMenu {
public:
    explicit TEditorPopupMenu(TEditor* editor);

    TEditor* Editor() const { return FEditor; }
    // The twelve items in menu order.
    const QList<QAction*>& Items() const { return FItems; }
    QAction* UndoItem() const { return FItems[0]; }
    QAction* RedoItem() const { return FItems[1]; }
    QAction* CutItem() const { return FItems[3]; }
    QAction* CopyItem() const { return FItems[4]; }
    QAction* PasteItem() const { return FItems[5]; }
    QAction* BoxPasteItem() const { return FItems[6]; }
    QAction* DeleteItem() const { return FItems[7]; }
    QAction* SelectAllItem() const { return FItems[9]; }
    QAction* BoxModeItem() const { return FItems[11]; }

    // Enables the items for the editor's state and the clipboard (also before a shortcut is matched).
    virtual void UpdateItems();

protected:
    virtual void UndoClick();
    virtual void RedoClick();
    virtual void CutClick();
    virtual void CopyClick();
    virtual void PasteClick();
    virtual void BoxPasteClick();
    virtual void DeleteClick();
    virtual void SelectAllClick();
    virtual void BoxModeClick();
    virtual void CreateItems();
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Installed() const;

    QPointer<TEditor> FEditor;
    QList<QAction*> FItems;
};
