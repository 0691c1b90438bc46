#include "widgets/linklabelaccessible.h"

#include "widgets/linklabel.h"

#include <QAccessibleWidget>

using namespace Qt::StringLiterals;

namespace qiravon {

namespace {

//! The link with its text folded in: the label inside is how the caption is drawn, not a
//! second thing for a screen reader to read out.
class LinkLabelAccessible final : public QAccessibleWidget
{
public:
    explicit LinkLabelAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    [[nodiscard]] LinkLabel* link() const { return static_cast<LinkLabel*>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = link()->GetCaption();
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State st = QAccessibleWidget::state();
        st.linked = true;
        return st;
    }

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& actionName) override
    {
        if (actionName == pressAction())
            link()->click();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface* createInterface(const QString& className, QObject* object)
{
    if (className == "qiravon::LinkLabel"_L1) {
        if (auto* link = qobject_cast<LinkLabel*>(object))
            return new LinkLabelAccessible(link);
    }
    return nullptr;
}

} // namespace

void installLinkLabelAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(createInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace qiravon
