// Starts a program and watches its top-level windows from the X server's side, as a user
// sees them: when the first one is mapped, whether a mapped one is destroyed again (a window
// that flashes and may be placed anew), and what the process tree costs once it has settled.
// Optionally it then clicks (or double-clicks) into the main window and times until a pixel
// there turns a given colour, or until a new window is mapped, and takes the figures again.
//
//   startup_probe [--settle S] [--after S] [--click X,Y] [--double] [--watch X,Y,RRGGBB]
//                 [--new-window] -- program [arguments]
//
// Prints one line of key=value pairs; times are milliseconds from the fork, sizes kB.
// Coordinates are in the main window's device pixels.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <poll.h>
#include <set>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

// A window that shows nothing new this long after it was mapped is not watched any more.
constexpr double kPaintWatchMs = 3000;

struct Window
{
    xcb_window_t id = 0;
    int width = 0;
    int height = 0;
    bool ours = false;
    bool checked = false;
    bool mapped = false;
    // What the screen showed in the window's middle as it was mapped.
    std::optional<std::uint32_t> under;
    std::optional<double> firstMap;
    std::optional<double> firstPaint;
    std::optional<double> destroyed;
};

struct Options
{
    double settle = 8.0;
    double after = 5.0;
    std::optional<std::pair<int, int>> click;
    std::optional<std::pair<int, int>> watchAt;
    std::uint32_t watchRgb = 0;
    bool newWindow = false;
    bool doubleClick = false;
    std::vector<char*> command;
};

[[noreturn]] void usage()
{
    std::fprintf(stderr, "usage: startup_probe [--settle S] [--after S] [--click X,Y] [--double] "
                         "[--watch X,Y,RRGGBB] [--new-window] -- program [arguments]\n");
    std::exit(2);
}

std::pair<int, int> parsePoint(const std::string& text)
{
    int x = 0;
    int y = 0;
    if (std::sscanf(text.c_str(), "%d,%d", &x, &y) != 2)
        usage();
    return {x, y};
}

Options parseOptions(int argc, char** argv)
{
    Options o;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                usage();
            return argv[++i];
        };
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg == "--settle") {
            o.settle = std::stod(value());
        } else if (arg == "--after") {
            o.after = std::stod(value());
        } else if (arg == "--click") {
            o.click = parsePoint(value());
        } else if (arg == "--watch") {
            const std::string v = value();
            const auto last = v.rfind(',');
            if (last == std::string::npos)
                usage();
            o.watchAt = parsePoint(v.substr(0, last));
            o.watchRgb = static_cast<std::uint32_t>(std::stoul(v.substr(last + 1), nullptr, 16));
        } else if (arg == "--new-window") {
            o.newWindow = true;
        } else if (arg == "--double") {
            o.doubleClick = true;
        } else {
            usage();
        }
    }
    for (; i < argc; ++i)
        o.command.push_back(argv[i]);
    if (o.command.empty())
        usage();
    o.command.push_back(nullptr);
    return o;
}

class Probe
{
public:
    explicit Probe(Options options) : m_o(std::move(options)) {}
    int run();

private:
    double now() const
    {
        return std::chrono::duration<double, std::milli>(Clock::now() - m_start).count();
    }
    //! Handles events until `untilMs`; `tick`, when given, runs after each batch and at least
    //! every few milliseconds while it returns true.
    void pump(double untilMs, const std::function<bool()>& tick = {});
    bool watchPaint();
    void handle(xcb_generic_event_t* event);
    Window& window(xcb_window_t id) { return m_windows[id]; }
    bool isOurs(Window& w);
    Window* mainWindow();
    std::optional<std::uint32_t> pixel(int x, int y);
    std::pair<int, int> toRoot(xcb_window_t w, int x, int y);
    void runQuiet(std::vector<std::string> args);
    std::string restingFigures(const std::string& prefix);
    int destroyedAfterMap(double fromMs) const;

    Options m_o;
    xcb_connection_t* m_c = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_pidAtom = 0;
    pid_t m_pid = 0;
    Clock::time_point m_start;
    std::map<xcb_window_t, Window> m_windows;
};

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : 0;
    std::free(reply);
    return atom;
}

bool Probe::isOurs(Window& w)
{
    if (w.checked)
        return w.ours;
    w.checked = true;
    const auto cookie = xcb_get_property(m_c, 0, w.id, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(m_c, cookie, nullptr);
    if (reply && xcb_get_property_value_length(reply) == 4) {
        std::uint32_t pid = 0;
        std::memcpy(&pid, xcb_get_property_value(reply), 4);
        w.ours = static_cast<pid_t>(pid) == m_pid;
    }
    std::free(reply);
    return w.ours;
}

void Probe::handle(xcb_generic_event_t* event)
{
    const double t = now();
    switch (event->response_type & 0x7f) {
    case XCB_CREATE_NOTIFY: {
        const auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
        if (e->parent != m_root || e->override_redirect)
            return;
        Window& w = window(e->window);
        w.id = e->window;
        w.width = e->width;
        w.height = e->height;
        // Under a window manager the window is reparented before it is mapped; its own
        // structure events still reach us.
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, e->window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_c);
        return;
    }
    case XCB_MAP_NOTIFY: {
        const auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
        auto it = m_windows.find(e->window);
        if (it == m_windows.end() || it->second.mapped || !isOurs(it->second))
            return;
        it->second.mapped = true;
        if (!it->second.firstMap) {
            it->second.firstMap = t;
            // A window shows what lay beneath it until the program first draws into it;
            // a re-created window lies where its predecessor was, so the look is taken now.
            const auto middle = toRoot(e->window, it->second.width / 2, it->second.height / 2);
            it->second.under = pixel(middle.first, middle.second);
        }
        return;
    }
    case XCB_UNMAP_NOTIFY: {
        const auto* e = reinterpret_cast<xcb_unmap_notify_event_t*>(event);
        if (auto it = m_windows.find(e->window); it != m_windows.end())
            it->second.mapped = false;
        return;
    }
    case XCB_CONFIGURE_NOTIFY: {
        const auto* e = reinterpret_cast<xcb_configure_notify_event_t*>(event);
        if (auto it = m_windows.find(e->window); it != m_windows.end()) {
            it->second.width = e->width;
            it->second.height = e->height;
        }
        return;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* e = reinterpret_cast<xcb_destroy_notify_event_t*>(event);
        if (auto it = m_windows.find(e->window); it != m_windows.end() && !it->second.destroyed)
            it->second.destroyed = t;
        return;
    }
    default:
        return;
    }
}

void Probe::pump(double untilMs, const std::function<bool()>& tick)
{
    while (true) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_c)) {
            handle(event);
            std::free(event);
        }
        const bool busy = watchPaint() | (tick && tick());
        const double left = untilMs - now();
        if (left <= 0)
            return;
        pollfd fd{xcb_get_file_descriptor(m_c), POLLIN, 0};
        // A pixel watch has no event to wait on, so it looks again after a short step.
        const int wait = static_cast<int>(left) + 1;
        ::poll(&fd, 1, busy ? std::min(2, wait) : wait);
    }
}

// The first time the middle of a mapped window shows something other than what was there
// before: the first frame the program drew into it.
bool Probe::watchPaint()
{
    bool busy = false;
    for (auto& [id, w] : m_windows) {
        if (!w.ours || !w.mapped || w.firstPaint || w.destroyed || !w.under ||
            now() - *w.firstMap > kPaintWatchMs)
            continue;
        const auto middle = toRoot(id, w.width / 2, w.height / 2);
        if (pixel(middle.first, middle.second) != w.under)
            w.firstPaint = now();
        else
            busy = true;
    }
    return busy;
}

Window* Probe::mainWindow()
{
    Window* best = nullptr;
    for (auto& [id, w] : m_windows) {
        if (!w.ours || !w.mapped || w.destroyed)
            continue;
        if (!best || w.width * w.height > best->width * best->height)
            best = &w;
    }
    return best;
}

int Probe::destroyedAfterMap(double fromMs) const
{
    int n = 0;
    for (const auto& [id, w] : m_windows) {
        if (w.ours && w.firstMap && w.destroyed && *w.destroyed >= fromMs)
            ++n;
    }
    return n;
}

std::pair<int, int> Probe::toRoot(xcb_window_t w, int x, int y)
{
    const auto cookie = xcb_translate_coordinates(m_c, w, m_root, static_cast<std::int16_t>(x),
                                                  static_cast<std::int16_t>(y));
    xcb_translate_coordinates_reply_t* reply =
        xcb_translate_coordinates_reply(m_c, cookie, nullptr);
    std::pair<int, int> result{x, y};
    if (reply)
        result = {reply->dst_x, reply->dst_y};
    std::free(reply);
    return result;
}

std::optional<std::uint32_t> Probe::pixel(int x, int y)
{
    const auto cookie =
        xcb_get_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), 1, 1, ~0U);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(m_c, cookie, nullptr);
    if (!reply)
        return std::nullopt;
    std::optional<std::uint32_t> rgb;
    // A 24-bit screen stores a pixel as 32 bits, blue first.
    if (xcb_get_image_data_length(reply) >= 4) {
        const std::uint8_t* p = xcb_get_image_data(reply);
        rgb = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
    }
    std::free(reply);
    return rgb;
}

void Probe::runQuiet(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// The process and every process it started, by walking /proc's children lists.
std::vector<pid_t> processTree(pid_t root)
{
    std::vector<pid_t> all{root};
    for (std::size_t i = 0; i < all.size(); ++i) {
        std::set<pid_t> children;
        std::ifstream tasks("/proc/" + std::to_string(all[i]) + "/task/" + std::to_string(all[i]) +
                            "/children");
        pid_t child = 0;
        while (tasks >> child)
            children.insert(child);
        // Other threads may have started children too.
        for (pid_t c : children)
            if (std::find(all.begin(), all.end(), c) == all.end())
                all.push_back(c);
    }
    return all;
}

struct Memory
{
    long pss = 0;
    long dirty = 0;
};

// PSS divides a page among every process that maps it, other users' too, and a clean page
// counts as private while no other process maps it; so both move with what else runs on the
// machine. Private dirty pages (heap, written data) are the process's own whatever runs.
Memory memoryKb(pid_t pid)
{
    Memory m;
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Pss:", 0) == 0)
            m.pss = std::atol(line.c_str() + 4);
        else if (line.rfind("Private_Dirty:", 0) == 0)
            m.dirty = std::atol(line.c_str() + 14);
    }
    return m;
}

bool mapsWebEngine(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("libQt6WebEngine") != std::string::npos)
            return true;
    }
    return false;
}

std::string Probe::restingFigures(const std::string& prefix)
{
    Memory sum;
    const std::vector<pid_t> tree = processTree(m_pid);
    for (pid_t p : tree) {
        const Memory m = memoryKb(p);
        sum.pss += m.pss;
        sum.dirty += m.dirty;
    }
    std::ostringstream out;
    out << ' ' << prefix << "pss_kb=" << sum.pss << ' ' << prefix << "dirty_kb=" << sum.dirty << ' '
        << prefix << "procs=" << tree.size() << ' ' << prefix
        << "webengine=" << (mapsWebEngine(m_pid) ? 1 : 0);
    return out.str();
}

int Probe::run()
{
    // A virtual server resets when its last client leaves and refuses connections meanwhile.
    for (int attempt = 0; attempt < 40; ++attempt) {
        m_c = xcb_connect(nullptr, nullptr);
        if (!xcb_connection_has_error(m_c))
            break;
        xcb_disconnect(m_c);
        ::usleep(50000);
    }
    if (xcb_connection_has_error(m_c)) {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 1;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
    m_pidAtom = internAtom(m_c, "_NET_WM_PID");
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_c, m_root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr));

    m_start = Clock::now();
    m_pid = ::fork();
    if (m_pid == 0) {
        // Its own group, so the helpers it starts end with it.
        ::setpgid(0, 0);
        ::execvp(m_o.command[0], m_o.command.data());
        std::perror("startup_probe: exec");
        ::_exit(127);
    }
    ::setpgid(m_pid, m_pid);

    std::ostringstream out;
    pump(m_o.settle * 1000);
    Window* main = mainWindow();
    const Window* first = nullptr;
    for (const auto& [id, w] : m_windows) {
        if (w.ours && w.firstMap && (!first || *w.firstMap < *first->firstMap))
            first = &w;
    }
    const auto ms = [](const std::optional<double>& t) { return t ? static_cast<long>(*t) : -1; };
    out << "first_ms=" << (first ? ms(first->firstMap) : -1)
        << " first_paint_ms=" << (first ? ms(first->firstPaint) : -1)
        << " stable_ms=" << (main ? ms(main->firstMap) : -1)
        << " stable_paint_ms=" << (main ? ms(main->firstPaint) : -1)
        << " recreated=" << destroyedAfterMap(0);
    if (main)
        out << " size=" << main->width << 'x' << main->height;
    out << restingFigures("");

    if (main && m_o.click) {
        const xcb_window_t mainId = main->id;
        const auto at = toRoot(mainId, m_o.click->first, m_o.click->second);
        std::optional<std::pair<int, int>> watch;
        if (m_o.watchAt)
            watch = toRoot(mainId, m_o.watchAt->first, m_o.watchAt->second);
        std::set<xcb_window_t> before;
        for (const auto& [id, w] : m_windows)
            before.insert(id);
        runQuiet({"xdotool", "mousemove", "--sync", std::to_string(at.first),
                  std::to_string(at.second)});
        const double clicked = now();
        if (m_o.doubleClick)
            runQuiet({"xdotool", "click", "--repeat", "2", "--delay", "80", "1"});
        else
            runQuiet({"xdotool", "click", "1"});
        std::optional<double> seen;
        xcb_window_t opened = 0;
        pump(clicked + m_o.after * 1000, [&] {
            if (seen)
                return false;
            if (watch) {
                if (pixel(watch->first, watch->second) == m_o.watchRgb)
                    seen = now();
                return !seen;
            }
            if (m_o.newWindow) {
                for (const auto& [id, w] : m_windows) {
                    if (!before.count(id) && w.ours && w.firstMap) {
                        seen = *w.firstMap;
                        opened = id;
                    }
                }
            }
            return false;
        });
        out << " action_ms=" << (seen ? static_cast<long>(*seen - clicked) : -1)
            << " main_kept=" << (m_windows[mainId].destroyed ? 0 : 1)
            << " recreated_after=" << destroyedAfterMap(clicked);
        if (opened) {
            const Window& w = m_windows[opened];
            out << " opened_paint_ms=" << (w.firstPaint ? ms(*w.firstPaint - clicked) : -1)
                << " opened_kept=" << (w.destroyed ? 0 : 1) << " opened_size=" << w.width << 'x'
                << w.height;
        }
        out << restingFigures("after_");
    }
    std::printf("%s\n", out.str().c_str());
    std::fflush(stdout);

    ::kill(-m_pid, SIGTERM);
    for (int i = 0; i < 40; ++i) {
        if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid)
            break;
        ::usleep(50000);
    }
    ::kill(-m_pid, SIGKILL);
    ::waitpid(m_pid, nullptr, 0);
    xcb_disconnect(m_c);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return Probe(parseOptions(argc, argv)).run();
}
