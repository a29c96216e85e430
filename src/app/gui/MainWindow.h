// TfrmMain: the program's main window.
//
// Left the document tree, right the editor of the selected node, above them three dockable toolbars, below
// the status bar. The window binds the selected node's record to the editor and the two toolbar fields
// (loading on a selection change, storing back before it), keeps the list's modified state, runs the file,
// document, group and edit commands, and is the list file's host (message boxes, status text, progress,
// busy cursor).
//
// The class is split by concern: MainWindow.cpp (construction, menus, toolbars, enabling, start-up and
// shut-down), MainWindowBinding.cpp (the record binding, the forbidden-word rules and the document and
// group commands), MainWindowFile.cpp (the file, print and edit commands and the list file host).
#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/DocumentTree.h"
#include "app/ForbiddenWords.h"
#include "app/ListFile.h"
#include "app/ListFileHost.h"
#include "editor/search/SearchText.h"
#include "app/gui/RecoveryManager.h"
#include "printing/StringsPrinter.h"

class QAction;
class QDrag;
class QLabel;
class QMimeData;
class QLineEdit;
class QMenu;
class QProgressBar;
class QSessionManager;
class QSplitter;
class QStatusBar;
class QToolBar;
class TAboutDialog;
class TDocumentModel;
class TDocumentTreeView;
class TDragFolder;
class TEditor;
class TEditorScreenStrings;
class TFindDialog;
class TReplaceDialog;
class TInit;
class TMainWindowDialogs;

struct TfrmMainOptions {
    std::filesystem::path IniFile;          // empty: the file beside the executable
    QString CommandLineFile;                // the first argument; empty for none
    TMainWindowDialogs* Dialogs = nullptr;  // null: message boxes, file dialogs and the desktop
};

class TfrmMain : public QMainWindow, public TListFileHost {
public:
    explicit TfrmMain(TfrmMainOptions options = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // ---- Controls -----------------------------------------------------------------------------------------
    TDocumentTreeView* treDocument = nullptr;
    TEditor* txtDocument = nullptr;
    QSplitter* splitter = nullptr;
    QLineEdit* edtDocumentName = nullptr;
    QLineEdit* edtDocumentAddr = nullptr;
    QLineEdit* edtEditFind = nullptr;
    QToolBar* barStandard = nullptr;
    QToolBar* barDocument = nullptr;
    QToolBar* barFind = nullptr;
    QStatusBar* barStatus = nullptr;
    QLabel* pnlStatus[3] = {};
    QProgressBar* barProgress = nullptr;
    TInit* objInit = nullptr;
    TAboutDialog* objAboutDialog = nullptr;
    // The printer of the Print and Preview commands; its page settings stay from one job to the next.
    TStringsPrinter objStringsPrinter;

    // Menus and their items.
    QMenu* mnuGrpFile = nullptr;
    QMenu* mnuGrpEdit = nullptr;
    QMenu* mnuGrpDocument = nullptr;
    QMenu* mnuGrpSetting = nullptr;
    QMenu* mnuGrpHelp = nullptr;
    QMenu* objPopup = nullptr;     // the edit menu of the editor and the fields
    QMenu* objPopupDoc = nullptr;  // the tree menu
    struct TMenuItems {
        QAction *FileNew, *FileOpen, *FileImport, *FileExport, *FileSave, *FileSaveAs, *FilePrint,
            *FilePreview, *FileQuit;
        QAction *EditUndo, *EditCut, *EditPaste, *EditCopy, *EditDelete, *EditSelectAll, *EditFind,
            *EditReplace, *EditGroupFind;
        QAction *DocPrev, *DocNext, *DocNew, *DocDelete;
        QAction *Settings, *HelpContents, *HelpSearch, *HelpAbout;
        QAction *PopFind, *PopReplace;                                                     // objPopup's own
        QAction *PopDocNew, *PopDocDelete, *PopDocFind, *PopDocGroupFind, *PopDocReplace;  // the tree menu
    } mnu{};
    // Toolbar buttons, left to right.
    struct TButtons {
        QAction *New, *Open, *Save, *Print, *Cut, *Copy, *Paste, *Delete, *Undo, *Move1st, *MoveEnd;
        QAction *DocumentNew, *Import, *Export, *GroupNew, *Prev, *Next, *SortAsc, *SortDsc, *Info;
        QAction* Find;
    } btn{};

    // ---- State --------------------------------------------------------------------------------------------
    bool Modified() const { return FModified; }
    bool Updating() const { return FUpdating; }
    bool NoDocuments() const { return FNoDocuments; }
    const QString& FileName() const { return FFileName; }
    TDocumentTree& Tree() { return FTree; }
    TDocumentModel& Model() { return *FModel; }
    // The selected node (the current document), or null.
    TDocumentNode* SelectedNode() const;
    // Selects node through the tree's selection rules (which may refuse); true when it is selected then.
    bool SelectNode(TDocumentNode* node);

    // ---- The document tree's operations
    // --------------------------------------------------------------------
    TDocumentRecord GetNodeRecord(const TDocumentNode* node) const;
    // Overwrites the node's record (not its label: the caller decides).
    void SetNodeRecord(TDocumentNode* node, TDocumentRecord record);
    static bool IsGroupNode(const TDocumentNode* node) { return TDocumentTree::IsGroupNode(node); }
    TDocumentNode* AddDocumentNode(TDocumentRecord record);
    void DeleteDocumentNode(TDocumentNode* node);
    // Stores the editor's text into the selected node's record when it was edited since it was loaded (the
    // fields store their texts at each change). An unedited document keeps its bytes exactly.
    void StoreCurrentDocument();
    // Searches text for the forbidden words; on a find shows the warning once.
    TForbiddenWordMatch FindForbiddenWord(std::string_view text);
    void SetModified(bool value) override;

    // ---- Commands -----------------------------------------------------------------------------------------
    void onClick_DocumentClear();
    void onClick_DocumentLoad();
    void onClick_DocumentSave();
    void onClick_DocumentSaveAs();
    void onClick_DocumentPrint();
    void onClick_DocumentPreview();
    void onClick_DocumentInport();
    void onClick_DocumentExport();
    void onClick_Quit();
    void onClick_EditUndo();
    void onClick_EditCut();
    void onClick_EditCopy();
    void onClick_EditPaste();
    void onClick_EditDelete();
    void onClick_EditSelectAll();
    void onClick_EditMove1st();
    void onClick_EditMoveEnd();
    void onClick_FindDialog();
    void onClick_ReplaceDialog();
    void onClick_GroupFind();
    void onClick_EditFind();
    void onClick_DocumentNew();
    void onClick_GroupNew();
    void onClick_DocumentDelete();
    void onClick_DocumentSortAsc();
    void onClick_DocumentSortDsc();
    void onClick_DocumentPrev();
    void onClick_DocumentNext();
    void onDblClick_edtDocumentAddr();
    void onClick_HelpAbout();

    // Menu opening: the items' enabling.
    void onClick_mnuGrpFile();
    void onClick_mnuGrpEdit();
    void onClick_mnuGrpDocument();
    void onPopup_objPopup();
    void onPopup_objPopupDoc();

    // May the window close (asks to save a modified list).
    bool onCloseQ_frmMain();

    // ---- Import, export, drag and drop (MainWindowImport.cpp) ---------------------------------------------
    // Imports one file next to the selected node: a list file (".vlt" or ".vlp", compared case-sensitively)
    // is merged after the selected node's last sibling; any other file becomes one document, named
    // documentName (empty: "無題"), its text converted to Shift-JIS when it is Unicode. Folders, devices
    // and files over the size limit are refused with a message. False when the user cancelled the import.
    bool ImportFile(const QString& fileName, const QString& documentName = {});
    // The files of a drop from outside, in the order given: each imported and named after its file.
    void ImportDroppedFiles(const QStringList& fileNames);
    // Runs an outgoing drag and returns its result; tests replace it (the offscreen platform has no drag
    // loop). The default runs QDrag::exec.
    std::function<Qt::DropAction(QDrag& drag)> ExecDrag;
    // True exactly while a drag that started in the tree runs.
    bool Dragging() const { return FDragging; }
    // The file the last drag offered (in the private drag folder), empty before the first drag.
    const QString& DragFileName() const { return FDragFileName; }
    // The private folder of the drag files, empty until the first drag.
    QString DragFolderPath() const;

private:
    void ConnectDragDrop();
    void onMouseMove_treDocument();
    // Writes the dragged node to FDragFileName; returns an error text, empty on success.
    QString WriteDragFile();
    Qt::DropAction DragOverTree(const QMimeData* data, const QPoint& pos);
    void DropFiles(const QMimeData* data, const QPoint& pos);
    void MoveDraggedNode(TDocumentNode* target);
    // The editor's text (or the unedited record) holds a forbidden word; no warning is shown.
    bool HoldsForbiddenWord() const;
    std::unique_ptr<TDragFolder> FDragFolder;
    TDocumentNode* FDragNode = nullptr;
    QString FDragFileName;
    QString FDragError;
    bool FDragging = false;

public:
    // ---- TListFileHost ------------------------------------------------------------------------------------
    void ShowWarning(std::string_view pattern, const std::filesystem::path& file) override;
    void ShowIoError(const std::filesystem::path& file, std::string_view reason) override;
    void ReportDamage(const std::filesystem::path& file, long firstBadLine) override;
    void SetStatusText(std::string_view text) override;
    void SetProgressMax(int max) override;
    void SetProgressMin(int min) override;
    void SetProgressPosition(int position) override;
    void SetProgressVisible(bool visible) override;
    void SetBusyCursor(bool busy) override;
    void DocumentsArrived() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction (MainWindow.cpp).
    void CreateControls();
    void CreateActions();
    void CreateMenus();
    void CreateToolbars();
    void CreateStatusBar();
    void ConnectControls();
    void onCreate_frmMain();
    void onClose_frmMain();
    // Writes the tree width, the ruler, the editor font and the window position.
    void SaveSettings();
    void OpenCommandLine();
    void onCommitData_frmMain(QSessionManager& manager);
    // Enabling of the menu items and the edit buttons from the present state.
    void UpdateCommandStates();
    // The text control the edit commands act on (editor, name, address, find field), or null.
    QWidget* FocusedEditControl() const;

    // Binding (MainWindowBinding.cpp).
    bool onChanging_treDocument(TDocumentNode* target);
    void onChange_treDocument(TDocumentNode* node);
    void onChange_txtDocument();
    void onCaretMoved_txtDocument();
    void onDblClick_txtDocument();
    void onChange_edtDocumentName();
    void onChange_edtDocumentAddr();
    void onEnter_edtDocumentName();
    void onEdited_treDocument(TDocumentNode* node, const QString& label);
    void onDblClick_treDocument();
    void onExpanded_treDocument(TDocumentNode* node, bool expanded);
    void onMouseDown_treDocument(const QPoint& pos);
    void onKeyUp_treDocument(int key);
    // The name rules on bytes: a forbidden word puts the stored name back, else the name is stored.
    void ApplyDocumentName(std::string bytes);
    void UpdateEditorScrollBars();
    // Selects the word in the editor when the editor's text has one of the forbidden words; true then.
    bool RefuseForbiddenEditorText();
    void SortSelectedChildren(int direction);
    void SetDocumentControlsEnabled(bool enabled);
    // Deletes every node (New, Open, closing).
    void ClearList();
    // Empties the editor and the two fields without marking anything modified.
    void ClearDocumentControls();

    // Files (MainWindowFile.cpp).
    // Yes/No/Cancel question before the list is discarded; true when the command may go on.
    bool ConfirmDiscard(bool skipWithoutDocuments);
    // Stores the current document and writes the list: to FFileName, or (askName or no name) to a file
    // chosen in the save dialog. False when a forbidden word, a cancelled dialog or a failed write stops it.
    bool SaveList(bool askName);
    bool WriteList(const QString& fileName);
    TListReadResult ReadList(const QString& fileName);
    // The list file's size and modification time when this window last read or wrote it. Saving over a file
    // whose size or time differ asks first: another window or program changed it since.
    struct TDiskStamp {
        QString File;
        std::uintmax_t Size = 0;
        std::filesystem::file_time_type Time;
        bool Valid = false;
    };
    void RememberDiskStamp(const QString& fileName);
    bool ConfirmOverwriteChangedFile(const QString& fileName);
    TDiskStamp FDiskStamp;
    void SelectFirstNode();
    void ShowFileNotFound(const QString& fileName);
    // Stores the current document and gives the printer its file name, the document's name in the header,
    // the page number in the footer, and the editor's font and colour (Print and Preview).
    void PreparePrinter();
    QMessageBox::StandardButton Message(QMessageBox::Icon icon, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton);
    TMainWindowDialogs& Dialogs() const;
    // A message box with an OK button; while a whole list is read, it is shown after the reading.
    void Inform(QMessageBox::Icon icon, const QString& text);
    struct TDeferredMessage {
        QMessageBox::Icon Icon;
        QString Text;
    };
    std::vector<TDeferredMessage>* FDeferredMessages = nullptr;

    // Sets FUpdating for a scope and puts the previous value back.
    class TUpdating {
    public:
        explicit TUpdating(TfrmMain& window) : FWindow(window), FWas(window.FUpdating) {
            FWindow.FUpdating = true;
        }
        ~TUpdating() { FWindow.FUpdating = FWas; }
        TUpdating(const TUpdating&) = delete;
        TUpdating& operator=(const TUpdating&) = delete;

    private:
        TfrmMain& FWindow;
        bool FWas;
    };

    TfrmMainOptions FOptions;
    std::unique_ptr<TMainWindowDialogs> FDefaultDialogs;
    TDocumentTree FTree;
    TDocumentModel* FModel = nullptr;
    bool FModified = false;
    bool FUpdating = false;
    bool FNoDocuments = true;
    bool FFirstShow = true;
    bool FClosed = false;
    bool FTextEdited = false;  // the editor's text differs from the record it was loaded from
    int FBusy = 0;
    QString FFileName;
    int FTreeWidth = 100;
    std::string FFontName;  // the settings' font name and size, written back as they were read
    int FFontSize = 9;

    // Find and replace (MainWindowFind.cpp).
public:
    TFindDialog* objFindDialog = nullptr;
    TReplaceDialog* objReplaceDialog = nullptr;
    // Searches the editor's text from the position record (pos, len) with SearchText; a match becomes the
    // selection and is scrolled to about a third down the window when it lies near the top or bottom edge.
    // False (nothing changed) when there is no match.
    bool FindInEditor(int pos, int len, TSearchFlags flags, const std::string& findText);
    void onFind_objFindDialog(TFindDialog& dialog);
    void onReplace_objReplaceDialog(bool all);
    void onShow_objFindDialog();
    void onShow_objReplaceDialog();
    void onClose_objFindDialog();
    void onClose_objReplaceDialog();
    bool GroupFind() const { return FGroupFind; }

private:
    void CreateFindDialogs();
    // The dialog's or field's Unicode find text as Shift-JIS; false when a character has no Shift-JIS form.
    static bool EncodeFindText(const QString& text, std::string& bytes);
    // The length of the current match that a search skips: the find text's length after a selection, 0
    // from a bare caret (a match right at the caret is found).
    int SkipLength(const std::string& findText) const;
    void ReplaceAll(TSearchFlags flags, const std::string& findText, const std::string& replaceText);
    // The editor's text for a search, copied from its rows only when they changed since the last search.
    const std::string& SearchedText();
    // Frees that copy (another document is shown, or the text was replaced).
    void DropSearchedText();
    struct TSearchedText {
        std::string Text;
        const TEditorScreenStrings* Rows = nullptr;
        std::uint64_t Stamp = 0;
    } FSearched;
    // The edit items whose shortcuts the dialogs take while they are shown, and their keys.
    void SetEditShortcuts(bool on);
    // "見つかりません" in the status bar's text panel, and a beep.
    void ReportNotFound();
    bool FGroupFind = false;

    // Crash recovery and backups ----------------------------------------------------------------------------
    // While the list is modified, snapshots go to a recovery file in the user's data folder; start-up and
    // Open offer a recovery file that is newer than its list. Before a save replaces a list file, the old
    // file is kept among the rotated backups. The "Application" settings "Recovery" and "Backups" switch
    // the two off. A data folder that cannot be written never stops a save: it is reported once.
public:
    TRecoveryManager& Recovery() { return *FRecovery; }
    // The folder holding recovery/ and backups/ (the application's data location, read at creation).
    const std::filesystem::path& DataDirectory() const { return FDataDir; }
    bool BackupsEnabled() const { return FBackupsEnabled; }
    // The recovery file of the list fileName ("" = untitled).
    std::filesystem::path RecoveryFileFor(const QString& fileName) const;

private:
    void SetUpRecovery();
    TRecoveryManager::TSnapshot TakeRecoverySnapshot();
    // Asks whether to restore the recovery file of the list in the window when there is a newer one.
    void OfferRecovery();
    bool RestoreRecovery(const std::filesystem::path& recovery);
    // The list was written to fileName, or its changes were discarded: its recovery file goes.
    void DropRecovery(const QString& fileName);
    void WarnDataFolder(const QString& reason);
    std::unique_ptr<TRecoveryManager> FRecovery;
    std::filesystem::path FDataDir;
    std::filesystem::path FLastRecoveryFile;  // where the last snapshot went
    // A recovery file the user chose to decide on later: neither written over nor removed in this session.
    std::filesystem::path FRecoveryDeferred;
    bool FBackupsEnabled = true;
    bool FDataFolderWarned = false;
};
