// A local radio for the start-up benchmark's playing figures: a looping 128 kbps MP3 test tone
// served at its real rate on 127.0.0.1. Prints the stream's address on its first line, then
// serves until it is ended; with --log FILE it writes how many times the stream was asked for
// there, so the benchmark can tell that the player really listened.

#include "streamserver/localradio.h"
#include "streamserver/mediafixtures.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace qiravon::test;

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"A local MP3 radio on 127.0.0.1"_s);
    const QCommandLineOption logOption(u"log"_s, u"Where to write the request count."_s, u"file"_s);
    parser.addOption(logOption);
    parser.process(app);

    QTextStream out(stdout);
    QTemporaryDir dir;
    MediaFixtures media;
    if (const QString error = makeMediaFixtures(dir.path(), media); !error.isEmpty()) {
        out << "fixtures: " << error << Qt::endl;
        return 1;
    }
    QFile mp3(media.mp3);
    if (!mp3.open(QIODevice::ReadOnly)) {
        out << "cannot read " << media.mp3 << Qt::endl;
        return 1;
    }
    LocalRadio radio;
    radio.addStream(u"/live.mp3"_s, {mp3.readAll(), "audio/mpeg", 16000, 16000, {}, -1});
    if (!radio.start()) {
        out << "cannot listen on 127.0.0.1" << Qt::endl;
        return 1;
    }
    out << radio.url(u"/live.mp3"_s).toString() << Qt::endl;

    QTimer logTimer;
    int logged = -1;
    if (parser.isSet(logOption)) {
        QObject::connect(&logTimer, &QTimer::timeout, [&] {
            const int requests = radio.requests(u"/live.mp3"_s);
            if (requests == logged)
                return;
            logged = requests;
            QFile log(parser.value(logOption));
            if (log.open(QIODevice::WriteOnly | QIODevice::Truncate))
                log.write(QByteArray::number(requests) + '\n');
        });
        logTimer.start(200);
    }
    return app.exec();
}
