#include "app/messageboxreporter.h"

#include <QMessageBox>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace qiravon {

void MessageBoxReporter::report(const RuntimeError& error)
{
    const QByteArray line = error.message().toUtf8();
    std::fprintf(stderr, "qiravon: %s\n", line.constData());
    std::fflush(stderr);
    QMessageBox box(QMessageBox::Critical, u"Qiravon"_s, error.message(), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace qiravon
