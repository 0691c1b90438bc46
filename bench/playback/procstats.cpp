#include "procstats.h"

#include <QDir>
#include <QFile>

namespace qiravon::bench {

namespace {

QByteArray readProc(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

double cpuSecondsOf(qint64 pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    const QStringList threads = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (threads.isEmpty())
        return -1;
    qint64 ns = 0;
    for (const QString& thread : threads)
        ns += readProc(tasks.filePath(thread + QStringLiteral("/schedstat")))
                  .split(' ')[0]
                  .toLongLong();
    return double(ns) / 1e9;
}

qint64 pssKbOf(qint64 pid)
{
    const QByteArray rollup = readProc(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    for (const QByteArray& line : rollup.split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

QList<qint64> processTree(qint64 pid)
{
    // Parent of every process, from field 4 of its stat (after the parenthesised name).
    QMultiHash<qint64, qint64> children;
    const QStringList all = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& name : all) {
        bool ok = false;
        const qint64 child = name.toLongLong(&ok);
        if (!ok)
            continue;
        const QByteArray stat = readProc(QStringLiteral("/proc/%1/stat").arg(child));
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children.insert(fields[1].toLongLong(), child);
    }
    QList<qint64> tree{pid};
    for (qsizetype i = 0; i < tree.size(); ++i)
        tree += children.values(tree[i]);
    return tree;
}

} // namespace qiravon::bench
