#include "app/form2.h"

#include "common/twips.h"

#include <QMenu>

using namespace Qt::StringLiterals;

namespace qiravon {

Form2::Form2(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"Form2"_s);
    resize(twipsToPx(4680), twipsToPx(3090));

    pop = new QMenu(u"popup"_s, this);
    pop->setObjectName(u"pop"_s);
    free = pop->addAction(u"恢复窗口"_s);
    free->setObjectName(u"free"_s);
    a1 = pop->addSeparator();
    // Its caption "-" only ever meant "a separator"; some styles would print it on the line.
    a1->setObjectName(u"a1"_s);
    exit = pop->addAction(u"退出"_s);
    exit->setObjectName(u"exit"_s);
}

Form2::~Form2() = default;

} // namespace qiravon
