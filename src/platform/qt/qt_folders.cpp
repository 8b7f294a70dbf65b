#include "platform/qt/qt_folders.h"

#include <QCoreApplication>
#include <QStandardPaths>

#include <unistd.h>

namespace tarmacia::platform::qt {
namespace fs = std::filesystem;

namespace {

// A program started from the build tree uses the data generated there; an
// installed one the shared data folder beside its prefix.
fs::path findProgramFolder() {
    const fs::path exe = QCoreApplication::applicationDirPath().toStdString();
    const fs::path build = TARMACIA_BUILD_DIR;
    std::error_code ec;
    if (fs::equivalent(exe, build, ec)) return TARMACIA_BUILD_DATA_DIR;
    const fs::path installed = exe.parent_path() / "share" / "tarmacia";
    if (fs::is_directory(installed, ec)) return installed;
    return TARMACIA_INSTALL_DATA_DIR;
}

} // namespace

QtFolders::QtFolders(fs::path documentsOverride)
    : documents_(std::move(documentsOverride)), program_(findProgramFolder()) {
    if (documents_.empty()) {
        documents_ =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    }
}

fs::path QtFolders::executable() const {
    return QCoreApplication::applicationFilePath().toStdString();
}

bool QtFolders::programWritable() const { return ::access(program_.c_str(), W_OK) == 0; }

} // namespace tarmacia::platform::qt
