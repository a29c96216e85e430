// What the list file reader and writer need of the user interface, without knowing it: message boxes,
// the status text, the progress bar, the busy cursor and the modified state. The main window implements
// it; velloria-cli prints; tests record the calls. Every method has an empty default.
//
// Texts are Shift-JIS bytes. File names are passed as paths so that the implementation converts them for
// display in its own way.
#pragma once

#include <filesystem>
#include <string_view>

class TListFileHost {
public:
    virtual ~TListFileHost() = default;

    // A warning box with an OK button. pattern is one of the ListFile.h message texts and holds "%s" where
    // the file name goes (on its own line).
    virtual void ShowWarning(std::string_view pattern, const std::filesystem::path& file) {}
    // An input or output error ended the operation. reason is the system's description (ASCII).
    virtual void ShowIoError(const std::filesystem::path& file, std::string_view reason) {}
    // The file is damaged; called at most once per read, with the first bad line (1-based). The records that
    // were intact are in the tree.
    virtual void ReportDamage(const std::filesystem::path& file, long firstBadLine) {}

    // Status panel 2, repainted at once ("" clears it).
    virtual void SetStatusText(std::string_view text) {}
    // The progress bar.
    virtual void SetProgressMax(int max) {}
    virtual void SetProgressMin(int min) {}
    virtual void SetProgressPosition(int position) {}
    virtual void SetProgressVisible(bool visible) {}
    // The hourglass cursor on and off; always called in pairs.
    virtual void SetBusyCursor(bool busy) {}

    // The list's modified state (SetModified of the window).
    virtual void SetModified(bool modified) {}
    // A read has finished: when the tree was empty before, the window enables its document controls.
    virtual void DocumentsArrived() {}
};
