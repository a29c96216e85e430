#include "gui/FilePaths.h"
#include "app/gui/Init.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

namespace {

// "設定ファイル" (settings file): the comment of a new component.
constexpr const char* kDefaultComment = "\x90\xDD\x92\xE8\x83\x74\x83\x40\x83\x43\x83\x8B";

}  // namespace

TInit::TInit(QWidget* owner) : QObject(owner), FOwner(owner), FComment(kDefaultComment) {
    // The owner's border style: a window whose size is fixed cannot be resized by the stored values.
    FSizeable = owner->minimumSize() != owner->maximumSize() &&
                !owner->windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
    FStartTop = owner->y();
    FStartLeft = owner->x();
    FStartHeight = owner->height();
    FStartWidth = owner->width();
}

TInit::~TInit() = default;

std::filesystem::path TInit::DefaultFileName() {
    std::filesystem::path beside =
        TIniFile::PathForExecutable(ToPath(QCoreApplication::applicationFilePath()));
    QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    std::filesystem::path chosen = TIniFile::ChooseWritable(beside, ToPath(config));
    if (chosen != beside) QDir().mkpath(config);
    return chosen;
}

TIniFile& TInit::Ini() const {
    if (!FIni) {
        auto* self = const_cast<TInit*>(this);
        if (self->FFileName.empty()) self->FFileName = DefaultFileName();
        FIni = std::make_unique<TIniFile>(FFileName);
        FIni->SetOnError([](const std::string& message) { qWarning("%s", message.c_str()); });
    }
    return *FIni;
}

void TInit::OpenIniFile() {
    TIniFile& ini = Ini();
    if (ini.SectionExists("Application")) return;
    ini.WriteString("Application", "Project", FProject);
    ini.WriteString("Application", "Comment", FComment);
    ini.WriteString("Application", "Version", FVersion);
    ini.WriteString("Application", "Exists", "false");
}

void TInit::RestorePosition() {
    const int height = ReadInteger("Position", "PH", FStartHeight);
    const int width = ReadInteger("Position", "PW", FStartWidth);
    const int top = ReadInteger("Position", "PT", FStartTop);
    const int left = ReadInteger("Position", "PL", FStartLeft);
    // The position is the outer frame's, the size the client area's, the same as SavePosition stores.
    FOwner->move(left, top);
    if (FSizeable) FOwner->resize(width, height);
    FOwner->show();
    FOwner->raise();
}

void TInit::SavePosition() {
    int left = FOwner->x(), top = FOwner->y(), width = FOwner->width(), height = FOwner->height();
    if (FOwner->isMaximized()) {
        QScreen* screen = FOwner->screen();
        QSize size = screen ? screen->geometry().size() : QSize(width + 100, height + 100);
        width = size.width() - 100;
        height = size.height() - 100;
        top = 0;
        left = 0;
    }
    WriteInteger("Position", "PH", height);
    WriteInteger("Position", "PW", width);
    WriteInteger("Position", "PT", top);
    WriteInteger("Position", "PL", left);
}

int TInit::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
    return Ini().ReadInteger(section, key, defaultValue);
}
std::string TInit::ReadString(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const {
    return Ini().ReadString(section, key, defaultValue);
}
bool TInit::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return Ini().ReadBool(section, key, defaultValue);
}
bool TInit::WriteInteger(std::string_view section, std::string_view key, int value) {
    return Ini().WriteInteger(section, key, value);
}
bool TInit::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    return Ini().WriteString(section, key, value);
}
bool TInit::WriteBool(std::string_view section, std::string_view key, bool value) {
    return Ini().WriteBool(section, key, value);
}
