#pragma once
// Every fake in one place: a test builds FakePorts and hands ports() to the
// core, then drives and inspects the fakes it needs.

#include "app/ports.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_folder_watch.h"
#include "platform/fake/fake_http.h"
#include "platform/fake/fake_ini_files.h"
#include "platform/fake/fake_main_view.h"
#include "platform/fake/fake_network.h"
#include "platform/fake/fake_process_memory.h"
#include "platform/fake/fake_processes.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_sound.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_windows.h"

namespace tarmacia::platform::fake {

struct FakePorts {
    FakeClock clock;
    FakeNetwork network;
    FakeDialogs dialogs;
    FakeWindowSystem windows;
    FakeAppControl app;
    FakeFolders folders;
    FakeRegistry registry;
    FakeHostsFile hosts;
    FakeIniFiles ini;
    FakeHttpGet http;
    FakeSound sound;
    FakeFolderWatch folderWatch;
    FakeProcessTable processes;
    FakeLauncher launcher{&processes};
    FakeWindowList desktopWindows;
    FakeProcessMemory memory;
    FakeMainView view;

    app::Ports ports() {
        return {clock, network, dialogs, windows, app, folders, registry, hosts, ini, http, sound, folderWatch, launcher, processes, desktopWindows, memory, view};
    }
};

} // namespace tarmacia::platform::fake
