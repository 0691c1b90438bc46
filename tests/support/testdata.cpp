#include "support/testdata.h"

#include "navigation/regions.h"

#include <QFile>
#include <QStringEncoder>
#include <QtTest>

namespace qiravon::test {

QByteArray gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        qWarning("text not representable in GBK: %s", qPrintable(text));
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

bool writeCatalogue(const QString& path, const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += gbk(line) + "\r\n";
    return writeFile(path, bytes);
}

bool writeRegionMap(const QString& path)
{
    QStringList regions;
    for (int i = 1; i <= static_cast<int>(regions::kCount); ++i)
        regions << QStringLiteral("地区%1").arg(i);
    return writeCatalogue(path, regions);
}

QString shippedDataDir()
{
    return qEnvironmentVariable("QIRAVON_SOURCE_DIR") + QStringLiteral("/data/");
}

} // namespace qiravon::test
