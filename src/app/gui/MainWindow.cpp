// TfrmMain: construction, menus, toolbars, status bar, enabling, start-up and shut-down.
#include "app/gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSessionManager>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/gui/AboutDialog.h"
#include "app/gui/DocumentModel.h"
#include "app/gui/DocumentTreeView.h"
#include "app/gui/DragDrop.h"
#include "app/gui/EditCommands.h"
#include "app/gui/Icons.h"
#include "app/gui/Init.h"
#include "app/gui/MainWindowDialogs.h"
#include "app/gui/MainWindowSettings.h"
#include "editor/widget/Editor.h"
#include "text/SjisCodec.h"

namespace {

const QString kCaption = QStringLiteral("Velloria ver 2.10");
// "ＭＳ ゴシック", the editor font of a first start (Shift-JIS, as the settings file holds it).
constexpr std::string_view kDefaultFontName = "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E";
// "Velloria の設定" (the comment of the settings file's identification section).
constexpr std::string_view kIniComment = "Velloria \x82\xCC\x90\xDD\x92\xE8";

}  // namespace

TfrmMain::TfrmMain(TfrmMainOptions options, QWidget* parent)
    : QMainWindow(parent), FOptions(std::move(options)) {
    if (!FOptions.Dialogs) {
        FDefaultDialogs = std::make_unique<TMainWindowDialogs>();
        FOptions.Dialogs = FDefaultDialogs.get();
    }
    setWindowTitle(kCaption);
    setWindowIcon(icons::Program());
    setGeometry(258, 153, 500, 297);
    CreateControls();
    CreateActions();
    CreateMenus();
    CreateToolbars();
    CreateStatusBar();
    ConnectControls();
    onCreate_frmMain();
}

TfrmMain::~TfrmMain() {
    // The controls are destroyed after this part of the window: nothing may call back into it then.
    disconnect(qApp, nullptr, this, nullptr);
    QApplication::clipboard()->disconnect(this);
    txtDocument->OnChange = nullptr;
    txtDocument->OnCaretMoved = nullptr;
    txtDocument->OnSelectionChange = nullptr;
    txtDocument->viewport()->removeEventFilter(this);
    for (QLineEdit* e : {edtDocumentName, edtDocumentAddr, edtEditFind}) {
        e->disconnect(this);
        e->removeEventFilter(this);
    }
    // The model and the views go before the tree they show.
    treDocument->setModel(nullptr);
    delete FModel;
    FModel = nullptr;
}

TMainWindowDialogs& TfrmMain::Dialogs() const {
    return *FOptions.Dialogs;
}

// ---- Construction ----------------------------------------------------------------------------------------

void TfrmMain::CreateControls() {
    FModel = new TDocumentModel(FTree, TDocumentModel::TImages{icons::Document(), icons::Group(),
                                                               icons::GroupOpen(), icons::Marked()});
    treDocument = new TDocumentTreeView;
    treDocument->setObjectName(QStringLiteral("treDocument"));
    treDocument->SetDocumentModel(FModel);

    txtDocument = new TEditor;
    txtDocument->setObjectName(QStringLiteral("txtDocument"));
    ApplyMainWindowSettings(*txtDocument);
    txtDocument->setContextMenuPolicy(Qt::CustomContextMenu);

    splitter = new QSplitter(Qt::Horizontal);
    splitter->setHandleWidth(3);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(treDocument);
    splitter->addWidget(txtDocument);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    const auto field = [this](const char* name, int width) {
        auto* e = new QLineEdit;
        e->setObjectName(QString::fromLatin1(name));
        e->setFixedWidth(width);
        e->setContextMenuPolicy(Qt::CustomContextMenu);
        e->installEventFilter(this);
        return e;
    };
    edtDocumentName = field("edtDocumentName", 121);
    edtDocumentAddr = field("edtDocumentAddr", 121);
    QFont underlined = edtDocumentAddr->font();
    underlined.setUnderline(true);
    edtDocumentAddr->setFont(underlined);
    edtEditFind = field("edtEditFind", 121);
    txtDocument->viewport()->installEventFilter(this);
    SetDocumentControlsEnabled(false);
}

void TfrmMain::CreateActions() {
    const auto item = [this](const QString& text, void (TfrmMain::*slot)(), const QKeySequence& key = {}) {
        auto* a = new QAction(text, this);
        if (!key.isEmpty()) a->setShortcut(key);
        if (slot) connect(a, &QAction::triggered, this, slot);
        return a;
    };
    // Commands that are in place but not offered (no settings form, no help file).
    const auto later = [](QAction* a) {
        a->setEnabled(false);
        return a;
    };
    mnu.FileNew = item(QStringLiteral("新規作成(&N)"), &TfrmMain::onClick_DocumentClear);
    mnu.FileOpen = item(QStringLiteral("開く(&O)..."), &TfrmMain::onClick_DocumentLoad);
    mnu.FileImport = item(QStringLiteral("ｲﾝﾎﾟｰﾄ(&I)"), &TfrmMain::onClick_DocumentInport);
    mnu.FileExport = item(QStringLiteral("ｴｸｽﾎﾟｰﾄ(&E)"), &TfrmMain::onClick_DocumentExport);
    mnu.FileSave = item(QStringLiteral("上書き保存(&S)"), &TfrmMain::onClick_DocumentSave);
    mnu.FileSaveAs = item(QStringLiteral("名前を付けて保存(&A)..."), &TfrmMain::onClick_DocumentSaveAs);
    mnu.FilePrint = item(QStringLiteral("印刷(&P)"), &TfrmMain::onClick_DocumentPrint);
    mnu.FilePreview = item(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&P)..."), &TfrmMain::onClick_DocumentPreview);
    mnu.FileQuit = item(QStringLiteral("終了(&Q)"), &TfrmMain::onClick_Quit);

    mnu.EditUndo =
        item(QStringLiteral("元に戻す(&U)"), &TfrmMain::onClick_EditUndo, QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnu.EditCut =
        item(QStringLiteral("切り取り(&C)"), &TfrmMain::onClick_EditCut, QKeySequence(Qt::CTRL | Qt::Key_X));
    mnu.EditPaste = item(QStringLiteral("貼り付け(&P)"), &TfrmMain::onClick_EditPaste,
                         QKeySequence(Qt::CTRL | Qt::Key_V));
    mnu.EditCopy =
        item(QStringLiteral("ｺﾋﾟｰ(&O)"), &TfrmMain::onClick_EditCopy, QKeySequence(Qt::CTRL | Qt::Key_C));
    mnu.EditDelete = item(QStringLiteral("削除(&D)"), &TfrmMain::onClick_EditDelete);
    mnu.EditSelectAll = item(QStringLiteral("すべて選択(&A)"), &TfrmMain::onClick_EditSelectAll,
                             QKeySequence(Qt::CTRL | Qt::Key_A));
    mnu.EditFind = item(QStringLiteral("検索(&F)..."), &TfrmMain::onClick_FindDialog,
                        QKeySequence(Qt::CTRL | Qt::Key_F));
    mnu.EditReplace = item(QStringLiteral("置換(&R)..."), &TfrmMain::onClick_ReplaceDialog,
                           QKeySequence(Qt::CTRL | Qt::Key_R));
    mnu.EditGroupFind = item(QStringLiteral("検索(ｸﾞﾙｰﾌﾟ内)(&G)"), &TfrmMain::onClick_GroupFind);

    mnu.DocPrev = item(QStringLiteral("戻る(&P)"), &TfrmMain::onClick_DocumentPrev, QKeySequence(Qt::Key_F9));
    mnu.DocNext =
        item(QStringLiteral("進む(&N)"), &TfrmMain::onClick_DocumentNext, QKeySequence(Qt::Key_F10));
    mnu.DocNew = item(QStringLiteral("新規作成(&N)..."), &TfrmMain::onClick_DocumentNew);
    mnu.DocDelete = item(QStringLiteral("削除(&D)"), &TfrmMain::onClick_DocumentDelete);

    // The settings form has no behaviour of its own yet: the item stays disabled.
    mnu.Settings = later(item(QStringLiteral("設定(&I)..."), nullptr));
    mnu.HelpContents = later(item(QStringLiteral("目次(&C)..."), nullptr));
    mnu.HelpSearch = later(item(QStringLiteral("ﾄﾋﾟｯｸの検索(&S)..."), nullptr));
    mnu.HelpAbout = item(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&V)..."), &TfrmMain::onClick_HelpAbout);

    // The context menus show the Edit menu's keys, which the Edit menu's items carry.
    const auto popupKey = [](QAction* a, const QKeySequence& key) {
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        return a;
    };
    mnu.PopFind = popupKey(item(QStringLiteral("検索(&F)"), &TfrmMain::onClick_FindDialog),
                           QKeySequence(Qt::CTRL | Qt::Key_F));
    mnu.PopReplace = popupKey(item(QStringLiteral("置換(&R)"), &TfrmMain::onClick_ReplaceDialog),
                              QKeySequence(Qt::CTRL | Qt::Key_R));
    mnu.PopDocNew = item(QStringLiteral("追加(&A)"), &TfrmMain::onClick_DocumentNew);
    mnu.PopDocDelete = item(QStringLiteral("削除(&D)"), &TfrmMain::onClick_EditDelete);
    mnu.PopDocFind = item(QStringLiteral("検索(&F)"), &TfrmMain::onClick_FindDialog);
    mnu.PopDocGroupFind = item(QStringLiteral("検索_ｸﾞﾙｰﾌﾟ内(&G)"), &TfrmMain::onClick_GroupFind);
    mnu.PopDocReplace = item(QStringLiteral("置換(&R)"), &TfrmMain::onClick_ReplaceDialog);

    // Toolbar buttons: their tooltips are the command names.
    const auto button = [&item](TCommandIcon icon, const QString& tip, void (TfrmMain::*slot)()) {
        QAction* a = item(tip, slot);
        a->setIcon(icons::Command(icon));
        a->setToolTip(tip);
        return a;
    };
    btn.New = button(TCommandIcon::New, QStringLiteral("新規作成"), &TfrmMain::onClick_DocumentClear);
    btn.Open = button(TCommandIcon::Open, QStringLiteral("開く"), &TfrmMain::onClick_DocumentLoad);
    btn.Save = button(TCommandIcon::Save, QStringLiteral("上書き保存"), &TfrmMain::onClick_DocumentSave);
    btn.Print = button(TCommandIcon::Print, QStringLiteral("印刷"), &TfrmMain::onClick_DocumentPrint);
    btn.Cut = button(TCommandIcon::Cut, QStringLiteral("切り取り"), &TfrmMain::onClick_EditCut);
    btn.Copy = button(TCommandIcon::Copy, QStringLiteral("コピー"), &TfrmMain::onClick_EditCopy);
    btn.Paste = button(TCommandIcon::Paste, QStringLiteral("貼り付け"), &TfrmMain::onClick_EditPaste);
    btn.Delete = button(TCommandIcon::Delete, QStringLiteral("削除"), &TfrmMain::onClick_EditDelete);
    btn.Undo = button(TCommandIcon::Undo, QStringLiteral("元に戻す"), &TfrmMain::onClick_EditUndo);
    btn.Move1st =
        button(TCommandIcon::MoveFirst, QStringLiteral("先頭へ移動"), &TfrmMain::onClick_EditMove1st);
    btn.MoveEnd = button(TCommandIcon::MoveEnd, QStringLiteral("最後へ移動"), &TfrmMain::onClick_EditMoveEnd);
    btn.DocumentNew =
        button(TCommandIcon::DocumentNew, QStringLiteral("新規ドキュメント"), &TfrmMain::onClick_DocumentNew);
    btn.Import = button(TCommandIcon::Import, QStringLiteral("インポート"), &TfrmMain::onClick_DocumentInport);
    btn.Export = button(TCommandIcon::Export, QStringLiteral("エクスポート"), &TfrmMain::onClick_DocumentExport);
    btn.GroupNew =
        button(TCommandIcon::GroupNew, QStringLiteral("新規グループ"), &TfrmMain::onClick_GroupNew);
    btn.Prev = button(TCommandIcon::Previous, QStringLiteral("戻る"), &TfrmMain::onClick_DocumentPrev);
    btn.Next = button(TCommandIcon::Next, QStringLiteral("進む"), &TfrmMain::onClick_DocumentNext);
    btn.SortAsc =
        button(TCommandIcon::SortAsc, QStringLiteral("昇順に並べ替え"), &TfrmMain::onClick_DocumentSortAsc);
    btn.SortDsc =
        button(TCommandIcon::SortDsc, QStringLiteral("降順に並べ替え"), &TfrmMain::onClick_DocumentSortDsc);
    btn.Info = later(button(TCommandIcon::Info, QStringLiteral("情報"), nullptr));
    btn.Find = button(TCommandIcon::Find, QStringLiteral("検索"), &TfrmMain::onClick_EditFind);
}

void TfrmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    mnuGrpFile = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuGrpFile->addAction(mnu.FileNew);
    mnuGrpFile->addAction(mnu.FileOpen);
    QMenu* external = mnuGrpFile->addMenu(QStringLiteral("外部ﾌｧｲﾙ(&A)"));
    external->addAction(mnu.FileImport);
    external->addAction(mnu.FileExport);
    mnuGrpFile->addSeparator();
    mnuGrpFile->addAction(mnu.FileSave);
    mnuGrpFile->addAction(mnu.FileSaveAs);
    mnuGrpFile->addSeparator();
    mnuGrpFile->addAction(mnu.FilePrint);
    mnuGrpFile->addAction(mnu.FilePreview);
    mnuGrpFile->addSeparator();
    mnuGrpFile->addAction(mnu.FileQuit);

    mnuGrpEdit = bar->addMenu(QStringLiteral("編集(&E)"));
    mnuGrpEdit->addAction(mnu.EditUndo);
    mnuGrpEdit->addSeparator();
    mnuGrpEdit->addActions({mnu.EditCut, mnu.EditPaste, mnu.EditCopy, mnu.EditDelete});
    mnuGrpEdit->addSeparator();
    mnuGrpEdit->addAction(mnu.EditSelectAll);
    mnuGrpEdit->addSeparator();
    mnuGrpEdit->addActions({mnu.EditFind, mnu.EditReplace, mnu.EditGroupFind});

    mnuGrpDocument = bar->addMenu(QStringLiteral("文書(&D)"));
    mnuGrpDocument->addActions({mnu.DocPrev, mnu.DocNext, mnu.DocNew});
    mnuGrpDocument->addSeparator();
    mnuGrpDocument->addAction(mnu.DocDelete);

    mnuGrpSetting = bar->addMenu(QStringLiteral("設定(&C)"));
    mnuGrpSetting->addAction(mnu.Settings);

    mnuGrpHelp = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuGrpHelp->addActions({mnu.HelpContents, mnu.HelpSearch});
    mnuGrpHelp->addSeparator();
    mnuGrpHelp->addAction(mnu.HelpAbout);

    objPopup = new QMenu(this);
    objPopup->addAction(mnu.EditUndo);
    objPopup->addSeparator();
    objPopup->addActions({mnu.EditCut, mnu.EditPaste, mnu.EditCopy, mnu.EditDelete});
    objPopup->addSeparator();
    objPopup->addAction(mnu.EditSelectAll);
    objPopup->addSeparator();
    objPopup->addActions({mnu.PopFind, mnu.PopReplace});

    objPopupDoc = new QMenu(this);
    objPopupDoc->addActions({mnu.PopDocNew, mnu.PopDocDelete});
    objPopupDoc->addSeparator();
    objPopupDoc->addActions({mnu.PopDocFind, mnu.PopDocGroupFind, mnu.PopDocReplace});

    connect(mnuGrpFile, &QMenu::aboutToShow, this, &TfrmMain::onClick_mnuGrpFile);
    connect(mnuGrpEdit, &QMenu::aboutToShow, this, &TfrmMain::onClick_mnuGrpEdit);
    connect(mnuGrpDocument, &QMenu::aboutToShow, this, &TfrmMain::onClick_mnuGrpDocument);
    connect(objPopup, &QMenu::aboutToShow, this, &TfrmMain::onPopup_objPopup);
    connect(objPopupDoc, &QMenu::aboutToShow, this, &TfrmMain::onPopup_objPopupDoc);
}

void TfrmMain::CreateToolbars() {
    const auto toolbar = [this](const QString& caption, const char* name) {
        QToolBar* bar = addToolBar(caption);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setMovable(true);
        bar->setFloatable(true);
        bar->setIconSize(QSize(16, 16));
        return bar;
    };
    barStandard = toolbar(QStringLiteral("標準"), "barStandard");
    barStandard->addActions({btn.New, btn.Open, btn.Save});
    barStandard->addSeparator();
    barStandard->addAction(btn.Print);
    barStandard->addSeparator();
    barStandard->addActions({btn.Cut, btn.Copy, btn.Paste, btn.Delete});
    barStandard->addSeparator();
    barStandard->addAction(btn.Undo);
    barStandard->addSeparator();
    barStandard->addActions({btn.Move1st, btn.MoveEnd});

    barFind = toolbar(QStringLiteral("検索"), "barFind");
    barFind->addWidget(edtEditFind);
    barFind->addSeparator();
    barFind->addAction(btn.Find);

    // The document toolbar with its two fields is the widest: it gets a row of its own.
    addToolBarBreak();
    barDocument = toolbar(QStringLiteral("ﾄﾞｷｭﾒﾝﾄ"), "barDocument");
    barDocument->addActions({btn.DocumentNew, btn.Import, btn.Export});
    barDocument->addSeparator();
    barDocument->addAction(btn.GroupNew);
    barDocument->addSeparator();
    barDocument->addActions({btn.Prev, btn.Next, btn.SortAsc, btn.SortDsc});
    barDocument->addSeparator();
    barDocument->addWidget(edtDocumentName);
    barDocument->addSeparator();
    barDocument->addWidget(edtDocumentAddr);
    barDocument->addSeparator();
    barDocument->addAction(btn.Info);
}

void TfrmMain::CreateStatusBar() {
    barStatus = statusBar();
    barStatus->setObjectName(QStringLiteral("barStatus"));
    barStatus->setSizeGripEnabled(true);
    const int widths[3] = {65, 33, 50};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QLabel(barStatus);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i < 2) {
            panel->setFixedWidth(widths[i]);
            panel->setAlignment(Qt::AlignCenter);
        } else {
            panel->setMinimumWidth(widths[i]);
        }
        barStatus->addWidget(panel, i == 2 ? 1 : 0);
        pnlStatus[i] = panel;
    }
    barProgress = new QProgressBar(barStatus);
    barProgress->setObjectName(QStringLiteral("barProgress"));
    barProgress->setTextVisible(false);
    barProgress->setGeometry(0, 2, 65, 17);
    barProgress->hide();
}

void TfrmMain::ConnectControls() {
    TDocumentSelectionModel* selection = treDocument->DocumentSelection();
    selection->OnChanging = [this](const QModelIndex& to) {
        return onChanging_treDocument(FModel->Node(to));
    };
    connect(selection, &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { onChange_treDocument(FModel->Node(current)); });
    FModel->OnLabelEdited = [this](TDocumentNode* node, const QString& label) {
        onEdited_treDocument(node, label);
    };
    connect(treDocument, &QTreeView::expanded, this,
            [this](const QModelIndex& index) { onExpanded_treDocument(FModel->Node(index), true); });
    connect(treDocument, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { onExpanded_treDocument(FModel->Node(index), false); });
    treDocument->OnTreeMenu = [this](const QPoint& pos) { onMouseDown_treDocument(pos); };
    treDocument->OnDblClick = [this] { onDblClick_treDocument(); };
    treDocument->OnKeyUp = [this](int key) { onKeyUp_treDocument(key); };
    ConnectDragDrop();

    txtDocument->OnChange = [this](TEditor*) { onChange_txtDocument(); };
    txtDocument->OnCaretMoved = [this](TEditor*) { onCaretMoved_txtDocument(); };
    txtDocument->OnSelectionChange = [this](TEditor*, bool) { UpdateCommandStates(); };
    connect(edtDocumentName, &QLineEdit::textChanged, this, &TfrmMain::onChange_edtDocumentName);
    connect(edtDocumentAddr, &QLineEdit::textChanged, this, &TfrmMain::onChange_edtDocumentAddr);

    const auto popup = [this](QWidget* w) {
        connect(w, &QWidget::customContextMenuRequested, this, [this, w](const QPoint& pos) {
            w->setFocus(Qt::PopupFocusReason);
            objPopup->popup(w->mapToGlobal(pos));
        });
    };
    for (QWidget* w : {static_cast<QWidget*>(txtDocument), static_cast<QWidget*>(edtDocumentName),
                       static_cast<QWidget*>(edtDocumentAddr), static_cast<QWidget*>(edtEditFind)})
        popup(w);

    // The edit buttons follow the focused control, its selection and undo state, and the clipboard.
    connect(qApp, &QApplication::focusChanged, this, [this] { UpdateCommandStates(); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateCommandStates(); });
    for (QLineEdit* e : {edtDocumentName, edtDocumentAddr, edtEditFind}) {
        connect(e, &QLineEdit::selectionChanged, this, [this] { UpdateCommandStates(); });
        connect(e, &QLineEdit::textChanged, this, [this] { UpdateCommandStates(); });
    }
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(FModel, signal, this, [this] { UpdateCommandStates(); });
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] { UpdateCommandStates(); });
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TfrmMain::onCommitData_frmMain);
    CreateFindDialogs();
}

// ---- Start-up and shut-down
// --------------------------------------------------------------------------------

void TfrmMain::onCreate_frmMain() {
    objInit = new TInit(this);
    objInit->SetProject("Velloria for Windows");
    objInit->SetComment(std::string(kIniComment));
    objInit->SetVersion("2.10");
    objInit->SetStartTop(153);
    objInit->SetStartLeft(258);
    objInit->SetStartHeight(297);
    objInit->SetStartWidth(500);
    if (!FOptions.IniFile.empty()) objInit->SetFileName(FOptions.IniFile);
    objAboutDialog = new TAboutDialog(this);
    objAboutDialog->ProjectName = QStringLiteral("Velloria for windows");
    objAboutDialog->ProjectVersion = QStringLiteral("version 2.10");
    objAboutDialog->Copyright = QStringLiteral("Copyright (C) Velloria developers");
    objAboutDialog->MailAddress = QStringLiteral("velloria@example.org");
    objAboutDialog->SetDialogs(FOptions.Dialogs);
    // Header left, footer centred, margins 15/15/10/10 mm; the font is the editor's at each job.
    objStringsPrinter.SetDocumentDefaults();

    objInit->OpenIniFile();
    SetUpRecovery();
    FFirstShow = true;
    FUpdating = false;
    FNoDocuments = true;
    FTreeWidth = objInit->ReadInteger("Default", "TreeSize", 100);
    txtDocument->Ruler().SetVisible(objInit->ReadBool("Default", "Ruler", true));
    FFontName = objInit->ReadString("Default", "FontName", kDefaultFontName);
    FFontSize = objInit->ReadInteger("Default", "FontSize", 9);
    QFont font(SjisCodec::ToUnicode(FFontName));
    if (FFontSize > 0) font.setPointSize(FFontSize);
    txtDocument->setFont(font);
    splitter->setSizes({FTreeWidth, std::max(1, width() - FTreeWidth)});
    UpdateCommandStates();
    // Moves, sizes and shows the window.
    objInit->RestorePosition();
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!FFirstShow) return;
    FFirstShow = false;
    // The layout is in place now: give the tree its width.
    splitter->setSizes({FTreeWidth, std::max(1, splitter->width() - FTreeWidth - splitter->handleWidth())});
    // The command line is read once the window has painted itself.
    if (!FOptions.CommandLineFile.isEmpty()) QTimer::singleShot(0, this, [this] { OpenCommandLine(); });
    else QTimer::singleShot(0, this, [this] { OfferRecovery(); });  // the untitled list's work
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (FClosed) {
        event->accept();
        return;
    }
    if (!onCloseQ_frmMain()) {
        event->ignore();
        return;
    }
    onClose_frmMain();
    event->accept();
}

void TfrmMain::onClose_frmMain() {
    FClosed = true;
    SaveSettings();
    ClearList();
}

void TfrmMain::SaveSettings() {
    FTreeWidth = treDocument->width();
    objInit->WriteInteger("Default", "TreeSize", FTreeWidth);
    objInit->WriteBool("Default", "Ruler", txtDocument->Ruler().Visible());
    objInit->WriteString("Default", "FontName", FFontName);
    objInit->WriteInteger("Default", "FontSize", FFontSize);
    objInit->SavePosition();
}

void TfrmMain::onCommitData_frmMain(QSessionManager& manager) {
    // The desktop session ends: a modified list gets the same question as closing the window, and the
    // settings are stored as at closing (the program may not get to close its window). The window stays as
    // it is, in case the session goes on after all.
    if (FClosed) return;
    bool mayEnd = true;
    if (FModified && manager.allowsInteraction()) {
        mayEnd = onCloseQ_frmMain();
        manager.release();
    }
    if (mayEnd) {
        SaveSettings();
    } else {
        manager.cancel();
    }
}

void TfrmMain::onClick_Quit() {
    close();
}

// ---- Enabling ---------------------------------------------------------------------------------------------

QWidget* TfrmMain::FocusedEditControl() const {
    QWidget* w = focusWidget();
    if (!w) return nullptr;
    if (w == txtDocument || w == txtDocument->viewport()) return txtDocument;
    if (w == edtDocumentName || w == edtDocumentAddr || w == edtEditFind) return w;
    return nullptr;
}

void TfrmMain::UpdateCommandStates() {
    if (!FModel) return;
    const bool any = !FTree.Empty();
    mnu.FileSave->setEnabled(any);
    mnu.FileSaveAs->setEnabled(any);
    mnu.FileExport->setEnabled(any);
    mnu.FilePrint->setEnabled(any);
    mnu.FilePreview->setEnabled(any);
    mnu.DocPrev->setEnabled(any);
    mnu.DocNext->setEnabled(any);
    mnu.DocDelete->setEnabled(any);

    QWidget* control = FocusedEditControl();
    const bool selection = editcmd::HasSelection(control);
    const bool undo = editcmd::CanUndo(control);
    const bool paste = control && editcmd::ClipboardHasText();
    // Delete also deletes the selected node while the tree has the focus.
    const bool treeDelete = focusWidget() == treDocument && SelectedNode();
    for (QAction* a : {mnu.EditCut, mnu.EditCopy, btn.Cut, btn.Copy}) a->setEnabled(selection);
    for (QAction* a : {mnu.EditDelete, btn.Delete}) a->setEnabled(selection || treeDelete);
    for (QAction* a : {mnu.EditPaste, btn.Paste}) a->setEnabled(paste);
    for (QAction* a : {mnu.EditUndo, btn.Undo}) a->setEnabled(undo);

    const bool group = IsGroupNode(SelectedNode());
    mnu.EditGroupFind->setVisible(group);
    mnu.PopDocGroupFind->setVisible(group);
}

void TfrmMain::onClick_mnuGrpFile() {
    UpdateCommandStates();
}
void TfrmMain::onClick_mnuGrpEdit() {
    UpdateCommandStates();
}
void TfrmMain::onClick_mnuGrpDocument() {
    UpdateCommandStates();
}
void TfrmMain::onPopup_objPopup() {
    UpdateCommandStates();
}
void TfrmMain::onPopup_objPopupDoc() {
    UpdateCommandStates();
}

// ---- Event filter: the fields and the editor's double click
// ---------------------------------------------------

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edtDocumentName && event->type() == QEvent::FocusIn) {
        onEnter_edtDocumentName();
    } else if (watched == edtDocumentAddr && event->type() == QEvent::MouseButtonDblClick) {
        onDblClick_edtDocumentAddr();
    } else if (watched == txtDocument->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // After the editor has handled the click itself.
        QTimer::singleShot(0, this, [this] { onDblClick_txtDocument(); });
    }
    return QMainWindow::eventFilter(watched, event);
}
