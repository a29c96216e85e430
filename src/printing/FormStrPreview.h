// The print preview: a modal window that shows one laid-out page at a time as a white sheet of paper, with
// page navigation, the zoom buttons "標準" (whole sheet height) and "拡大" (actual size), and the page
// status "  n /   m". The page list belongs to the caller.
#pragma once

#include <QDialog>

class QLabel;
class QScrollArea;
class QStatusBar;
class QToolButton;
class QFrame;
class TMetaFileList;
class TStringsPrinter;

class TFormStrPreview : public QDialog {
public:
    enum TZoomMode { zmActualSize = 0, zmPageWidth = 1, zmPageHeight = 2 };

    TFormStrPreview(TStringsPrinter& printer, const TMetaFileList& pages, QWidget* parent = nullptr);

    // Creates the window on the pages, shows page 1 at actual size, runs it modally.
    static void ShowPreview(TStringsPrinter& printer, const TMetaFileList& pages, QWidget* parent = nullptr);

    // Shows page n (clamped to the pages) in the current zoom mode.
    void ShowPage(int n);
    // Sizes the sheet for the mode (TZoomMode) and draws the current page on it.
    void SetZoom(int mode);
    // Scrolls to the top-left corner; a sheet smaller than the view is centred in it.
    void CentreImage();

    int CurrentPage() const { return FPage; }
    int ZoomMode() const { return FZoomMode; }
    QString StatusText() const;

    QWidget* Panel1;
    QToolButton* SpeedButton1;  // first page (hidden)
    QToolButton* SpeedButton2;  // previous page
    QToolButton* SpeedButton3;  // next page
    QToolButton* SpeedButton4;  // last page (hidden)
    QToolButton* SpeedButton5;  // "標準": whole sheet height
    QToolButton* SpeedButton6;  // "Adjust Width": sheet width (hidden)
    QToolButton* SpeedButton7;  // "拡大": actual size
    QToolButton* SpeedButton8;  // "閉じる"
    QStatusBar* StatusBar1;
    QLabel* StatusPanel0;
    QLabel* StatusPanel1;
    QFrame* Panel2;
    QScrollArea* ScrollBox1;
    QLabel* Image1;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TStringsPrinter& FPrinter;
    const TMetaFileList& FPages;
    int FPage = 0;
    int FZoomMode = zmActualSize;
    int FScrollBarWidth = 0;
    int FScrollBarHeight = 0;
};
