// The program: real adapters wired to the core, then the event loop.

#include "app/main_form.h"
#include "app/pending.h"
#include "platform/guard.h"
#include "platform/paths.h"
#include "platform/linux/hosts_file.h"
#include "platform/linux/launcher.h"
#include "platform/linux/process_memory.h"
#include "platform/linux/process_table.h"
#include "platform/linux/window_list.h"
#include "platform/linux/ini_file.h"
#include "platform/linux/wine_registry.h"
#include "platform/qt/qt_app_control.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_folder_watch.h"
#include "platform/qt/qt_folders.h"
#include "platform/qt/qt_http.h"
#include "platform/qt/qt_network.h"
#include "platform/qt/qt_sound.h"
#include "ui/game_editor_page.h"
#include "ui/awards_panel.h"
#include "ui/forms.h"
#include "ui/login_page.h"
#include "ui/race_creation_panel.h"
#include "ui/race_strip.h"
#include "ui/scan_page.h"
#include "ui/user_list.h"
#include "ui/question_windows.h"
#include "ui/options_page.h"
#include "ui/qt_window_system.h"
#include "ui/sound_page.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

using namespace tarmacia;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarmacia"));
    QApplication::setApplicationVersion(QStringLiteral("5.43"));
    QApplication::setQuitOnLastWindowClosed(false);

    // Only what differs between machines; everything else lives in the
    // client's own settings files.
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Tarmacia racing lobby client"));
    options.addHelpOption();
    options.addVersionOption();
    QCommandLineOption hostsOption(
        QStringLiteral("hosts-file"),
        QStringLiteral("The HOSTS file that points the race host name (default /etc/hosts)."),
        QStringLiteral("file"), QStringLiteral("/etc/hosts"));
    QCommandLineOption documentsOption(
        QStringLiteral("documents"),
        QStringLiteral("Use this folder instead of the documents folder for the client folder."),
        QStringLiteral("folder"));
    options.addOption(hostsOption);
    options.addOption(documentsOption);
    options.process(application);

    platform::qt::QtClock clock;
    platform::qt::QtNetwork network;
    platform::qt::QtDialogs dialogs;
    platform::qt::QtAppControl control;
    platform::qt::QtFolders folders(options.value(documentsOption).toStdString());
    platform::os::WineRegistry registry(platform::os::defaultWinePrefix());
    platform::os::LinuxHostsFile hosts(options.value(hostsOption).toStdString());
    platform::os::DiskIniFiles ini;
    platform::qt::QtHttpGet http;
    platform::qt::QtSound sound;
    platform::qt::QtFolderWatch folderWatch;
    platform::os::LinuxLauncher launcher("wine", registry.prefix());
    platform::os::ProcProcessTable processes;
    platform::os::X11WindowList desktopWindows;
    platform::os::ProcProcessMemory memory;
    ui::QtWindowSystem windows;

    ui::MainWindow* mainWindow = windows.mainWindow();
    dialogs.setMainWindow(mainWindow);
    app::MainForm form(
        {clock, network, dialogs, windows, control, folders, registry, hosts, ini, http, sound, folderWatch,
         launcher, processes, desktopWindows, memory, *mainWindow});

    bool activatedOnce = false;
    mainWindow->activated = [&] {
        activatedOnce = true;
        form.oldButton9Click();
    };
    mainWindow->minimisedChanged = [&](bool minimised) {
        form.WMSysCommand(minimised ? app::SysCommand::Minimize : app::SysCommand::Restore);
    };
    mainWindow->screenChanged = [&](const settings::ScreenSettings& s) { form.screenChanged(s); };
    mainWindow->masterReset = [&] { form.MasterResetClick(); };
    mainWindow->loginButton = [&] { form.JvImgBtn1Click(); };
    auto* raceWindow = static_cast<ui::RaceWindow*>(windows.widget("TForm11"));
    mainWindow->monitorText = [raceWindow](const std::string& text) {
        raceWindow->setText(QString::fromStdString(text));
    };
    mainWindow->chatPageLoaded = [&] { form.chatPageLoaded(); };
    mainWindow->chatLinkClicked = [&](const std::string& url) { form.chatLinkClicked(url); };
    mainWindow->chatKey = [&](app::ChatKey key) { form.chatKeyPress(key); };
    mainWindow->copyChat = [&] { form.Copy1Click(); };
    mainWindow->pasteChat = [&](const std::string& text) { form.Paste1Click(text); };
    mainWindow->smileyPicked = [&](int number) { form.ImageClick(number); };
    mainWindow->smileyPicture = [&](int number) {
        return platform::resolvePath(form.clientFolder(), "smileybmp\\" + std::to_string(number) + ".bmp");
    };
    static_cast<ui::SecurityQuestion*>(windows.widget("TForm4"))->answered =
        [&](const std::string& answer) { form.securityAnswer(answer); };
    static_cast<ui::AutoLogout*>(windows.widget("TForm7"))->answered =
        [&](bool stay) { form.autoLogoutAnswer(stay); };
    // The pages of the options panel.
    // (each page registers itself here)
    auto* loginPage = new ui::LoginPage(form);
    mainWindow->addPage(
        QStringLiteral("Login"), QStringLiteral("Servers"), loginPage, [loginPage] { loginPage->refresh(); },
        [&form] { form.openServersPage(); });
    auto* gamePage = new ui::GameEditorPage(form);
    mainWindow->addPage(QStringLiteral("Settings"), QStringLiteral("Games"), gamePage,
                        [gamePage] { gamePage->refresh(); });
    auto* optionsPage = new ui::OptionsPageWidget(form);
    mainWindow->addPage(QStringLiteral("Settings"), QStringLiteral("Options"), optionsPage,
                        [optionsPage] { optionsPage->refresh(); });
    auto* soundPage = new ui::SoundPageWidget(form, [mainWindow] { mainWindow->closePages(); });
    mainWindow->addPage(
        QStringLiteral("Sounds"), QStringLiteral("Sounds"), soundPage, [soundPage] { soundPage->refresh(); },
        [&form] {
            if (auto* page = form.soundPage()) page->open();
        });
    auto* scanPage = new ui::ScanPage(form);
    mainWindow->addPage(QStringLiteral("Scans"), QStringLiteral("Scans"), scanPage,
                        [scanPage] { scanPage->refresh(); });
    // The lobby's players and races.
    ui::UserList* users = mainWindow->userList();
    users->describe = [&form](const std::string& item) { return form.presence().userRow(item); };
    users->whisper = [&form](const std::string& item) { form.Whisper1Click(item); };
    users->nudge = [&form](const std::string& item) { form.Nudge1Click(item); };
    mainWindow->awardsPanel()->openPage = [&form](const std::string& page) {
        form.ports().app.openUrl(form.websiteAddress() + page);
    };
    auto* raceDetails = new ui::RaceDetailsPanel(form.races());
    raceDetails->join = [&form] { form.JoinClick(form.races().selectedRaceId()); };
    raceDetails->doorbell = [&form] { form.JvImgBtn39Click(); };
    mainWindow->setRaceWidgets(new ui::RaceStrip(form.races()), raceDetails);
    mainWindow->setCreationPanel(new ui::RaceCreationPanel(form.creation()));
    mainWindow->createRaceButton = [&form] { form.creation().createRaceButtonClick(); };

    form.form("TForm1").show();
    // Without a window manager the main window may never be activated; the
    // start-up must run all the same.
    QTimer::singleShot(0, [&] {
        if (!activatedOnce) platform::guarded([&] { form.oldButton9Click(); });
    });
    return QApplication::exec();
}
