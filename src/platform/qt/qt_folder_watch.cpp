#include "platform/qt/qt_folder_watch.h"

#include "platform/guard.h"

#include <QSocketNotifier>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <set>
#include <system_error>

namespace tarmacia::platform::qt {
namespace {

constexpr std::uint32_t kMask = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_DELETE_SELF |
                                IN_MOVED_FROM | IN_MOVED_TO | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

struct QtFolderWatch::Impl {
    struct Folder {
        std::filesystem::path path;
        std::filesystem::path root; // the watched folder it lies under
    };

    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    std::map<int, Folder> folders; // by inotify watch descriptor
    Handler handler;

    Impl() {
        fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd < 0) return;
        notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] { guarded([this] { drain(); }); });
    }
    ~Impl() {
        notifier.reset();
        if (fd >= 0) ::close(fd);
    }

    void add(const std::filesystem::path& folder, const std::filesystem::path& root) {
        int wd = inotify_add_watch(fd, folder.c_str(), kMask);
        if (wd >= 0) folders[wd] = {folder, root};
    }

    // The folder and every folder below it; links are not followed, so a
    // link loop cannot make the walk endless.
    void addTree(const std::filesystem::path& folder, const std::filesystem::path& root) {
        add(folder, root);
        std::error_code ec;
        for (std::filesystem::recursive_directory_iterator it(folder, std::filesystem::directory_options::skip_permission_denied, ec), end;
             !ec && it != end; it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec)) add(it->path(), root);
        }
    }

    void drain() {
        // A burst of events (one file written in many blocks) is one change
        // per watched folder.
        std::set<std::filesystem::path> changed;
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            for (char* p = buffer; p < buffer + got;) {
                auto* event = reinterpret_cast<inotify_event*>(p);
                p += sizeof(inotify_event) + event->len;
                auto it = folders.find(event->wd);
                if (it == folders.end()) continue;
                const Folder folder = it->second;
                if (event->mask & IN_IGNORED) {
                    folders.erase(it);
                    continue;
                }
                if ((event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)) && event->len > 0)
                    addTree(folder.path / event->name, folder.root);
                changed.insert(folder.root);
            }
        }
        if (!handler) return;
        for (const auto& root : changed) guarded([&] { handler(root); });
    }
};

QtFolderWatch::QtFolderWatch() : impl_(std::make_unique<Impl>()) {}
QtFolderWatch::~QtFolderWatch() = default;

bool QtFolderWatch::watch(const std::filesystem::path& folder) {
    std::error_code ec;
    if (impl_->fd < 0 || !std::filesystem::is_directory(folder, ec)) return false;
    impl_->addTree(folder, folder);
    return true;
}

void QtFolderWatch::onChanged(Handler handler) { impl_->handler = std::move(handler); }

void QtFolderWatch::clear() {
    for (const auto& [wd, folder] : impl_->folders) inotify_rm_watch(impl_->fd, wd);
    impl_->folders.clear();
}

} // namespace tarmacia::platform::qt
