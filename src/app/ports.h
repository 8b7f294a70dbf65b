#pragma once
// Every outside service the core uses, handed in once at start. The program
// passes the real adapters; tests pass the fakes (platform/fake/fake_ports.h).

#include "app/main_view.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/folder_watch.h"
#include "platform/folders.h"
#include "platform/hosts_file.h"
#include "platform/http_get.h"
#include "platform/launcher.h"
#include "platform/process_memory.h"
#include "platform/process_table.h"
#include "platform/window_list.h"
#include "platform/ini_file.h"
#include "platform/registry.h"
#include "platform/sound.h"
#include "platform/tcp_client.h"
#include "platform/windows.h"

namespace tarmacia::app {

struct Ports {
    platform::Clock& clock;
    platform::Network& network;
    platform::Dialogs& dialogs;
    platform::WindowSystem& windows;
    platform::AppControl& app;
    platform::Folders& folders;
    platform::Registry& registry;
    platform::HostsFile& hosts;
    platform::IniFiles& ini;
    platform::HttpGet& http;
    platform::Sound& sound;
    platform::FolderWatch& folderWatch;
    platform::Launcher& launcher;
    platform::ProcessTable& processes;
    platform::WindowList& desktopWindows;
    platform::ProcessMemory& memory;
    MainView& view;
};

} // namespace tarmacia::app
