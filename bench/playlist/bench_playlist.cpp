// Times the playlist reader on the worst 512 KiB bodies we know of, next to a plain scan of
// the same bytes (counting its line ends and tags), the floor no reader can beat. Run by hand:
//   bench_playlist [runs=9]

#include "hosted/gst/playlistfetcher.h"
#include "hosted/gst/playlistparser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;
using namespace qiravon;

namespace {

constexpr qsizetype kBody = PlaylistFetcher::kMaxBytes;

QByteArray repeatTo(const QByteArray& head, const QByteArray& unit, const QByteArray& tail)
{
    QByteArray body = head;
    while (body.size() + unit.size() + tail.size() <= kBody)
        body += unit;
    return body + tail;
}

struct Case
{
    const char* what;
    PlaylistKind kind;
    QByteArray body;
};

std::vector<Case> worstCases()
{
    // What the issue measured: an internal DTD entity of 4,000 characters, referenced over and
    // over inside one address.
    QByteArray entity = "<?xml version=\"1.0\"?><!DOCTYPE playlist [<!ENTITY e \"" +
                        QByteArray(4000, 'a') +
                        "\">]><playlist xmlns=\"http://xspf.org/ns/0/\"><trackList><track>"
                        "<location>http://h/";
    const QByteArray tail = "</location></track></trackList></playlist>";
    return {
        {"m3u: 512 KiB of short entries", PlaylistKind::M3u,
         repeatTo("#EXTM3U\n", "http://h.example/s\n", {})},
        {"m3u: 512 KiB of refused entries", PlaylistKind::M3u,
         repeatTo({}, "file:///etc/passwd\n", {})},
        {"m3u: entries with no host", PlaylistKind::M3u, repeatTo({}, "http:///\n", {})},
        {"m3u: entries with a bad host", PlaylistKind::M3u, repeatTo({}, "http://%/\n", {})},
        {"m3u: one 512 KiB line", PlaylistKind::M3u, "http://h/" + QByteArray(kBody - 9, 'a')},
        {"m3u: 512 KiB of line ends", PlaylistKind::M3u, QByteArray(kBody, '\r')},
        {"pls: one number over and over", PlaylistKind::Pls,
         repeatTo("[playlist]\n", "File1=file:///x\n", {})},
        {"pls: distinct numbers", PlaylistKind::Pls,
         [] {
             QByteArray body = "[playlist]\n";
             for (int n = 1; body.size() < kBody - 40; ++n)
                 body += "File" + QByteArray::number(n) + "=http://h/s\n";
             return body;
         }()},
        {"asx: 512 KiB of refs", PlaylistKind::Asx,
         repeatTo("<asx>", "<ref href=\"http://h/a?x=1&amp;y=2\"/>", "</asx>")},
        {"asx: refs that never close", PlaylistKind::Asx, repeatTo({}, "<ref ", {})},
        {"asx: quotes that never close", PlaylistKind::Asx, repeatTo({}, "<ref href=\"", {})},
        {"asx: one href of entities", PlaylistKind::Asx,
         repeatTo("<ref href=\"http://h/", "&amp;", "\">")},
        {"xspf: 512 KiB of tracks", PlaylistKind::Xspf,
         repeatTo("<playlist xmlns=\"http://xspf.org/ns/0/\"><trackList>",
                  "<track><location>http://h/s</location></track>", "</trackList></playlist>")},
        {"xspf: DTD entity referenced throughout", PlaylistKind::Xspf,
         repeatTo(entity, "&e;", tail)},
        {"xspf: one 512 KiB location", PlaylistKind::Xspf,
         repeatTo("<playlist><trackList><track><location>http://h/", "a", tail)},
        {"xspf: elements nested 512 KiB deep", PlaylistKind::Xspf, repeatTo({}, "<a>", {})},
        {"xspf: 512 KiB of empty elements", PlaylistKind::Xspf,
         repeatTo("<playlist><trackList><track>", "<a/>", "</track></trackList></playlist>")},
        {"xspf: 512 KiB of bad locations", PlaylistKind::Xspf,
         repeatTo("<playlist><trackList>", "<track><location>http://%/</location></track>",
                  "</trackList></playlist>")},
    };
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// The floor: touching every byte once, as any reader must.
qsizetype floorScan(const Case& c)
{
    return c.body.count('\n') + c.body.count('<');
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 9;
    const QUrl base(u"http://radio.example/list"_s);
    std::printf("%-40s %9s %10s %8s %12s %8s\n", "512 KiB body", "floor ms", "player ms", "/floor",
                "uncapped ms", "entries");
    double worstPlayer = 0, worstUncapped = 0;
    for (const Case& c : worstCases()) {
        std::vector<double> floor, capped, uncapped;
        qsizetype sink = 0, entries = 0;
        for (int run = 0; run < runs; ++run) {
            floor.push_back(timeMs([&] { sink += floorScan(c); }));
            // What the player runs: the reader stops at the entries it would ever try.
            capped.push_back(timeMs([&] {
                sink +=
                    readPlaylist(c.kind, c.body, base, PlaylistFetcher::kMaxEntries).entries.size();
            }));
            uncapped.push_back(
                timeMs([&] { entries = parsePlaylist(c.kind, c.body, base).size(); }));
        }
        const double f = median(floor), p = median(capped), u = median(uncapped);
        worstPlayer = std::max(worstPlayer, p);
        worstUncapped = std::max(worstUncapped, u);
        std::printf("%-40s %9.2f %10.2f %8.1f %12.2f %8lld%s\n", c.what, f, p,
                    p / std::max(f, 1e-3), u, static_cast<long long>(entries), sink < 0 ? "!" : "");
    }
    std::printf("\nworst case as the player reads (at most %lld entries): %.2f ms (target: under "
                "50 ms)\nworst case of parsePlaylist() with no cap: %.2f ms\n",
                static_cast<long long>(PlaylistFetcher::kMaxEntries), worstPlayer, worstUncapped);
    return 0;
}
