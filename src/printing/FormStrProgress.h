// The progress window of a layout: "処理中..." with a bar and a Cancel button, shown without blocking
// while the strings printer lays pages out. It is application-modal, so nothing else can start a job or
// change the text while the layout lets events run. Cancel, Escape and closing the window only set the
// cancelled flag; the layout reads it and closes the window itself.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

class TFormStrProgress : public QDialog {
public:
    explicit TFormStrProgress(QWidget* parent = nullptr);

    // Shows the window centred on the screen, position 0, caption as the title ("処理中..." when empty).
    void Open(const QString& caption = QString());
    // Position round(index / lastIndex * 100) (both 1 when lastIndex is 0); repaints only on a change.
    void UpdateProgress(int lastIndex, int index);
    // Lets the application process pending events once: this is where a click on Cancel arrives.
    void ProcessEvents();
    bool Cancelled() const { return FCancelled; }
    int Position() const;

    QLabel* Label1;
    QProgressBar* ProgressBar1;
    QPushButton* Button1;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Button1Click() { FCancelled = true; }

    bool FCancelled = false;
};
