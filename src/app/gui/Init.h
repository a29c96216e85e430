// TInit: the settings component of a top-level window. It owns the program's INI file, writes an
// identification section on first use, restores the window's position and size at creation and saves them
// at closing, and offers typed reads and writes for the window's own settings.
//
// The INI file is the executable's path with ".ini". When the executable's folder cannot be written (an
// installed program), the file of the same name in the user's configuration folder is used instead.
#pragma once

#include <QObject>
#include <filesystem>
#include <memory>
#include <string>

#include "app/IniFile.h"

class QWidget;

class TInit : public QObject {
public:
    // owner is the window (a top-level widget); the component is freed with it. The four Start values are
    // taken from the owner's current bounds; set them afterwards to override.
    explicit TInit(QWidget* owner);
    ~TInit() override;

    // What identifies the program in its INI file (Shift-JIS texts).
    const std::string& Project() const { return FProject; }
    void SetProject(std::string value) { FProject = std::move(value); }
    const std::string& Comment() const { return FComment; }
    void SetComment(std::string value) { FComment = std::move(value); }
    const std::string& Version() const { return FVersion; }
    void SetVersion(std::string value) { FVersion = std::move(value); }
    int StartTop() const { return FStartTop; }
    void SetStartTop(int value) { FStartTop = value; }
    int StartLeft() const { return FStartLeft; }
    void SetStartLeft(int value) { FStartLeft = value; }
    int StartHeight() const { return FStartHeight; }
    void SetStartHeight(int value) { FStartHeight = value; }
    int StartWidth() const { return FStartWidth; }
    void SetStartWidth(int value) { FStartWidth = value; }

    // The INI file to use instead of the one beside the executable (tests); call before OpenIniFile.
    void SetFileName(std::filesystem::path file) { FFileName = std::move(file); }
    const std::filesystem::path& FileName() const { return FFileName; }
    // The file beside the executable, or in the configuration folder when that folder is read-only.
    static std::filesystem::path DefaultFileName();

    // Opens the file; when it has no "Application" section, writes Project, Comment, Version and
    // Exists=false into one. An existing section is never rewritten.
    void OpenIniFile();
    // Moves and sizes the owner from "Position" (PL, PT, PW, PH; the Start values by default), shows it
    // and brings it to the front. A window that cannot be resized is only moved.
    void RestorePosition();
    // Stores the owner's bounds in "Position" (PH, PW, PT, PL). A maximized window stores the screen size
    // less 100 in each direction at 0, 0, so that the next start opens a normal window of that size.
    void SavePosition();

    int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    bool WriteInteger(std::string_view section, std::string_view key, int value);
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

private:
    TIniFile& Ini() const;

    QWidget* FOwner;
    bool FSizeable;
    std::string FProject;
    std::string FComment;
    std::string FVersion = "1.00";
    int FStartTop, FStartLeft, FStartHeight, FStartWidth;
    std::filesystem::path FFileName;
    mutable std::unique_ptr<TIniFile> FIni;
};
