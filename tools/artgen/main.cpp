// Writes every picture of the window design into one folder, at 1x and, where the window
// shows it at its natural size, at 2x for HiDPI screens. Output depends only on this code
// and the Qt version (no fonts, no clocks), so a rerun reproduces the checked-in files.
//
//   qiravon_artgen <output folder>

#include "canvas.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>
#include <cstdio>

using namespace artgen;

namespace {

bool write(const QImage& image, const QString& path)
{
    QImageWriter writer(path, "png");
    // The files are checked in: the smallest (Qt's PNG writer takes 0..100 here, and PNG
    // is lossless at every level).
    writer.setCompression(100);
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        return 1;

    std::vector<Item> items = skinItems();
    for (auto& group : {controlItems(), iconItems()})
        items.insert(items.end(), group.begin(), group.end());

    int written = 0;
    for (const Item& item : items) {
        if (!write(render(item, 1), out.filePath(item.name + QStringLiteral(".png"))))
            return 1;
        ++written;
        if (item.hiDpi) {
            if (!write(render(item, 2), out.filePath(item.name + QStringLiteral("@2x.png"))))
                return 1;
            ++written;
        }
    }
    std::printf("wrote %d pictures to %s\n", written, qPrintable(out.absolutePath()));
    return 0;
}
